#include "core/settings/SettingsFolder.h"

#include "vcl/Win.h"

#include <shlobj.h>

namespace {
std::filesystem::path ProgramFolder() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  return std::filesystem::path(buf).parent_path();
}

std::optional<std::filesystem::path> AppDataFolder() {
  wchar_t buf[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf)) || !buf[0])
    return std::nullopt;
  return std::filesystem::path(buf);
}
}  // namespace

std::wstring InitSettingsPath() {
  SettingsFolder = FolderText(ChooseSettingsFolder(ProgramFolder(), AppDataFolder()));
  return SettingsFolder;
}
