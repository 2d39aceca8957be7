#include "core/mainwindow/MainForm.h"

#include "core/utils/myUtils.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>

std::optional<std::string> ReadPluginKeyName(LPARAM lParam) {
  const auto* p = reinterpret_cast<const char*>(lParam);
  if (!p) return std::nullopt;
  std::string name;
  // The text may cross into the next region; each region is checked before it is read.
  while (name.size() < PluginKeyNameMax) {
    MEMORY_BASIC_INFORMATION mbi{};
    if (VirtualQuery(p, &mbi, sizeof mbi) != sizeof mbi) return std::nullopt;
    constexpr DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                               PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    if (mbi.State != MEM_COMMIT || !(mbi.Protect & readable) || (mbi.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
      return std::nullopt;
    const char* end = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
    const std::size_t room = std::min<std::size_t>(static_cast<std::size_t>(end - p), PluginKeyNameMax - name.size());
    for (std::size_t i = 0; i < room; ++i) {
      if (p[i] == '\0') return name + std::string(p, i);
    }
    name.append(p, room);
    p += room;
  }
  return name;
}

std::string F_Genuid() {
  return MakeInstallationId(GetComputerNameStr(), GetUserNameStr(), GetWindowsProductId(), GetSystemVolumeSerial(),
                            GetBiosDate());
}

std::int64_t GetFileSize(const std::wstring& fileName) {
  const TUniqueHandle f(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.get() == INVALID_HANDLE_VALUE) return -1;
  LARGE_INTEGER size{};
  return GetFileSizeEx(f.get(), &size) ? size.QuadPart : -1;
}

int GetSystemFontSize() {
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return dpi;
}
