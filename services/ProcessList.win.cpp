#include "services/ProcessList.h"

#include "services/ProgramFile.h"
#include "vcl/Publisher.h"
#include "vcl/ScopeGuards.h"
#include "vcl/WinVersion.h"

#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

namespace {

std::wstring FileNamePart(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The program of one process, or nothing when it cannot be named.
std::optional<std::wstring> ProgramOf(DWORD id) {
  if (WindowsVersion().AtLeast(6, 0)) {
    const TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) return std::nullopt;
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return std::nullopt;
    path.resize(size);
    return path;
  }
  // Before Vista the limited right does not exist: the module's name instead.
  const TUniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
  if (!process) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameExW(process.get(), nullptr, path, MAX_PATH);
  if (length == 0) return std::nullopt;
  return std::wstring(path, length);
}

// Every process id, however many there are: the buffer grows until it is not full.
std::vector<DWORD> ProcessIds() {
  std::vector<DWORD> ids(1024);
  for (;;) {
    DWORD bytes = 0;
    if (!EnumProcesses(ids.data(), static_cast<DWORD>(ids.size() * sizeof(DWORD)), &bytes)) return {};
    if (bytes < ids.size() * sizeof(DWORD)) {
      ids.resize(bytes / sizeof(DWORD));
      return ids;
    }
    ids.resize(ids.size() * 2);
  }
}

}  // namespace

std::vector<TProcessEntry> GetProcessList() {
  std::vector<TProcessEntry> list;
  if (Win32Platform() == Win32PlatformNT) {
    for (DWORD id : ProcessIds())
      if (auto path = ProgramOf(id)) list.push_back({id, std::move(*path)});
    return list;
  }
  const TUniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) return list;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL ok = Process32FirstW(snapshot.get(), &entry); ok; ok = Process32NextW(snapshot.get(), &entry))
    if (entry.th32ProcessID != 0) list.push_back({entry.th32ProcessID, entry.szExeFile});
  return list;
}

// --- one process

TacProcess::TacProcess(DWORD ProcessID, std::wstring ExePath) : FProcessID(ProcessID), FExePath(std::move(ExePath)) {}

int TacProcess::VisibleWindowCount() const {
  return static_cast<int>(std::count_if(FWindows.begin(), FWindows.end(), [](HWND w) { return IsWindowVisible(w); }));
}

TProcessKind TacProcess::GetKind() {
  if (FKind != TProcessKind::Unknown) return FKind;
  if (FileNamePart(FExePath) == L"explorer.exe")
    FKind = TProcessKind::Explorer;
  else if (VisibleWindowCount() > 0)
    FKind = TProcessKind::VisibleWindow;
  else if (FWindows.empty())
    FKind = TProcessKind::NoWindows;
  else
    FKind = TProcessKind::HiddenWindows;
  return FKind;
}

const std::wstring& TacProcess::GetDescription() {
  if (!FDescription) FDescription = GetProgramDescription(FExePath);
  return *FDescription;
}

std::wstring TacProcess::GetCaption() const {
  const std::wstring name = FileNamePart(FExePath);
  if (name == L"explorer.exe") return L"Windows Explorer";
  if (name == L"systray.exe") return L"System tray";
  for (HWND w : FWindows)
    if (IsWindowVisible(w))
      if (std::wstring text = WindowText(w); !text.empty()) return text;
  for (HWND w : FWindows)
    if (std::wstring text = WindowText(w); !text.empty()) return text;
  return {};
}

// --- the list

TacProcesses& Processes() {
  static TacProcesses list;
  return list;
}

TacProcess* TacProcesses::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
  return FItems[static_cast<std::size_t>(Index)].get();
}

int TacProcesses::Add(std::unique_ptr<TacProcess> Process) {
  if (!Process) return -1;
  const DWORD id = Process->GetProcessID();
  if (std::any_of(FItems.begin(), FItems.end(), [id](const auto& p) { return p->GetProcessID() == id; })) return -1;
  FItems.push_back(std::move(Process));
  return Count() - 1;
}

void TacProcesses::Refresh() {
  Clear();
  for (auto& entry : GetProcessList()) Add(std::make_unique<TacProcess>(entry.id, std::move(entry.path)));
  EnumWindows(
      [](HWND window, LPARAM self) -> BOOL {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        if (TacProcess* process = reinterpret_cast<TacProcesses*>(self)->FindByID(id, false))
          process->FWindows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

TacProcess* TacProcesses::FindByID(DWORD ProcessID, bool Retry) {
  for (const auto& p : FItems)
    if (p->GetProcessID() == ProcessID) return p.get();
  if (!Retry) return nullptr;
  Refresh();
  return FindByID(ProcessID, false);
}

TacProcess* TacProcesses::ListedOwnerOf(HWND Window) const {
  for (const auto& p : FItems)
    if (std::find(p->FWindows.begin(), p->FWindows.end(), Window) != p->FWindows.end()) return p.get();
  return nullptr;
}

std::wstring TacProcesses::FindFileByWindow(HWND Window) {
  if (!Window) return {};
  if (TacProcess* p = ListedOwnerOf(Window)) return p->GetExePath();
  Refresh();
  TacProcess* p = ListedOwnerOf(Window);
  return p ? p->GetExePath() : std::wstring();
}

std::wstring TacProcesses::ProcessPathOfWindow(HWND Window) {
  if (!Window) return {};
  DWORD id = 0;
  GetWindowThreadProcessId(Window, &id);
  if (id == 0) return {};
  // A listed owner counts only while it still owns the window (handles are reused).
  if (TacProcess* p = ListedOwnerOf(Window); p && p->GetProcessID() == id) return p->GetExePath();
  if (TacProcess* p = FindByID(id, false)) {
    p->FWindows.push_back(Window);
    return p->GetExePath();
  }
  auto path = ProgramOf(id);
  if (!path) return {};
  auto process = std::make_unique<TacProcess>(id, *path);
  process->FWindows.push_back(Window);
  Add(std::move(process));
  return *path;
}

// --- the component

void TacProcessList::Publish(TPublisher<TacProcessList>& p) {
  p.Property(L"About", &TacProcessList::FAbout).Stored(false);
}

TacProcessList::TacProcessList(TComponent* AOwner) : TComponent(AOwner) {}

void TacProcessList::Loaded() {
  TComponent::Loaded();
  Refresh();
}

// --- shared routines

HIMAGELIST GetSystemImageList(int Size) {
  SHFILEINFOW info{};
  const UINT flags = SHGFI_SYSICONINDEX | (Size == 32 ? 0 : SHGFI_SMALLICON);
  return reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, flags));
}

int GetFileIconIndex(const std::wstring& Path) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(Path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) return -1;
  return info.iIcon;
}

std::wstring FileDisplayName(const std::wstring& Path) {
  if (GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(Path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) && info.szDisplayName[0])
      return info.szDisplayName;
  }
  return FileNamePart(Path);
}

std::uint32_t FileVersion(const std::wstring& Path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(Path.c_str(), &ignored);
  if (size == 0) return 0;
  std::vector<std::uint8_t> data(size);
  if (!GetFileVersionInfoW(Path.c_str(), 0, size, data.data())) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO))
    return 0;
  return fixed->dwFileVersionMS;
}

std::wstring WindowText(HWND Window) {
  const int length = GetWindowTextLengthW(Window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(Window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}
