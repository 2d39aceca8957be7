#include "core/utils/myUtils.h"

#include "vcl/ScopeGuards.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>

namespace {

template <class F>
F SystemFunction(const wchar_t* module, const char* name) {
  HMODULE m = GetModuleHandleW(module);
  if (!m) m = LoadLibraryW(module);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

std::string ToAnsi(const std::wstring& s) {
  if (s.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Paths compared as the file system compares them: any case, either slash.
std::wstring ComparablePath(std::wstring s) {
  CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
  for (auto& c : s)
    if (c == L'/') c = L'\\';
  return s;
}

std::wstring Unquote(std::wstring s) {
  if (s.size() >= 2 && s.front() == L'"' && s.back() == L'"') s = s.substr(1, s.size() - 2);
  return s;
}

std::string RegistryText(HKEY root, const wchar_t* key, const wchar_t* value) {
  wchar_t buf[512];
  DWORD size = sizeof buf;
  if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return {};
  return ToAnsi(buf);
}

}  // namespace

TWinVersionInfo QueryWinVersion() {
  // RtlGetVersion tells the truth whatever the manifest says.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  OSVERSIONINFOEXW v{};
  v.dwOSVersionInfoSize = sizeof v;
  TWinVersionInfo info;
  if (auto rtl = SystemFunction<RtlGetVersionFn>(L"ntdll.dll", "RtlGetVersion"); rtl && rtl(&v) == 0) {
    info.productType = v.wProductType;
  } else {
    v.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&v))) return info;
    info.productType = 0;
  }
  info.nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  info.major = v.dwMajorVersion;
  info.minor = v.dwMinorVersion;
  info.build = v.dwBuildNumber;
  info.servicePack = v.szCSDVersion;
  return info;
}

int GetWinMajorVersion() {
  const auto v = QueryWinVersion();
  return v.nt ? static_cast<int>(v.major) : 0;
}
bool IsWinVersion(std::wstring_view name) { return WinVersionAtLeast(QueryWinVersion(), name); }
std::uint8_t GetWinVersionCode() { return WinVersionCode(QueryWinVersion()); }
std::wstring GetWinVersionName() { return WinVersionName(GetWinVersionCode()); }
std::wstring GetWinVersionString(bool details) { return WinVersionString(QueryWinVersion(), details); }

int IsWow64() {
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = SystemFunction<Fn>(L"kernel32.dll", "IsWow64Process");
  if (!fn) return -1;
  BOOL wow = FALSE;
  if (!fn(GetCurrentProcess(), &wow)) return -1;
  return wow ? 1 : 0;
}

bool Is64BitWindows() {
  SYSTEM_INFO si{};
  GetNativeSystemInfo(&si);
  return si.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64 ||
         si.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

bool MoveFiles(const std::wstring& source, const std::wstring& dest) {
  std::wstring to = dest;
  while (!to.empty() && (to.back() == L'\\' || to.back() == L'/')) to.pop_back();
  // The shell reads lists of names that end with two zeros.
  std::wstring from = source + L'\0';
  to += L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_MOVE;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
  return SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

std::wstring GetEnvVar(const std::wstring& name) {
  const DWORD n = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (n == 0) return {};
  std::wstring v(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(name.c_str(), v.data(), n);
  v.resize(got);
  return v;
}

std::wstring ExpandEnvVars(std::wstring_view text) {
  return ExpandEnvVarsWith(text, [](const std::wstring& name) -> std::optional<std::wstring> {
    if (GetEnvironmentVariableW(name.c_str(), nullptr, 0) == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
      return std::nullopt;
    return GetEnvVar(name);
  });
}

HICON GetFileIcon(const std::wstring& path, int size) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_ICON | (size == 32 ? SHGFI_LARGEICON : SHGFI_SMALLICON);
  if (!SHGetFileInfoW(path.c_str(), 0, &info, sizeof info, flags)) return nullptr;
  return info.hIcon;
}

DWORD GetProcessIdOf(HANDLE process) {
  using Fn = DWORD(WINAPI*)(HANDLE);
  auto fn = SystemFunction<Fn>(L"kernel32.dll", "GetProcessId");
  return fn ? fn(process) : 0;
}

void ForceForegroundWindow(HWND wnd) {
  const DWORD mine = GetCurrentThreadId();
  const DWORD theirs = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  const bool attach = theirs && theirs != mine && AttachThreadInput(mine, theirs, TRUE);
  SetForegroundWindow(wnd);
  BringWindowToTop(wnd);
  SetFocus(wnd);
  if (attach) AttachThreadInput(mine, theirs, FALSE);
}

void RestoreAndActivate(HWND wnd) {
  if (!wnd) return;
  if (IsIconic(wnd) && IsWindowVisible(wnd)) ShowWindow(wnd, SW_RESTORE);
  ForceForegroundWindow(wnd);
}

HWND ActivateRunningProgram(const std::wstring& exePath, DWORD processId) {
  DWORD pid = processId;
  if (pid == 0) {
    const std::wstring want = ComparablePath(Unquote(exePath));
    // A bare name that is no file here names the program by its file name: the
    // whole of it, so "pad.exe" never finds "notepad.exe".
    const bool nameOnly = GetFileAttributesW(want.c_str()) == INVALID_FILE_ATTRIBUTES &&
                          want.find_first_of(L"\\/") == std::wstring::npos;
    for (const auto& p : GetProcessList()) {
      const std::wstring path = ComparablePath(p.path);
      const bool match = nameOnly ? path.substr(path.find_last_of(L'\\') + 1) == want : path == want;
      if (match) {
        pid = p.id;
        break;
      }
    }
    if (pid == 0) return nullptr;
  }
  struct Search { DWORD pid; HWND found; } search{pid, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner != s->pid || !(IsWindowVisible(w) || IsIconic(w))) return TRUE;
        HWND parent = GetWindow(w, GW_OWNER);
        if (parent && parent != GetDesktopWindow()) return TRUE;
        wchar_t title[256];
        const int n = GetWindowTextW(w, title, 256);
        if (n == 0 || std::wstring(title, n) == L"GDI+ Window") return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string GetComputerNameStr() {
  wchar_t buf[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(buf, &n)) return {};
  return ToAnsi(std::wstring(buf, n).substr(0, 15));
}

std::string GetUserNameStr() {
  wchar_t buf[257];
  DWORD n = 257;
  if (!GetUserNameW(buf, &n) || n == 0) return "---";
  return ToAnsi(buf);
}

std::string GetWindowsProductId() {
  return RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"ProductId");
}

std::string GetSystemVolumeSerial() {
  DWORD serial = 0;
  if (!GetVolumeInformationW(L"c:\\", nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) return {};
  return std::to_string(serial);
}

std::string GetBiosDate() {
  return RegistryText(HKEY_LOCAL_MACHINE, L"HARDWARE\\DESCRIPTION\\System", L"SystemBiosDate");
}

int GetUserUILanguage() {
  using Fn = LANGID(WINAPI*)();
  auto fn = SystemFunction<Fn>(L"kernel32.dll", "GetUserDefaultUILanguage");
  return fn ? fn() : 0;
}
