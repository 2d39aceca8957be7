#include "core/settings/SettingsFolder.h"

#include <cstdio>
#include <system_error>

namespace fs = std::filesystem;

namespace {
bool IsFolder(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

// Creates the folder when missing; false when it is not a folder afterwards (a file
// in its place, no rights, no drive).
bool EnsureFolder(const fs::path& p) {
  std::error_code ec;
  if (IsFolder(p)) return true;
  fs::create_directories(p, ec);
  return IsFolder(p);
}

fs::path Portable(const fs::path& programFolder) { return programFolder / L"AppData"; }
}  // namespace

fs::path ChooseSettingsFolder(const fs::path& programFolder, const std::optional<fs::path>& appData) {
  std::error_code ec;
  fs::path folder;
  if (fs::exists(programFolder / L"AppData" / L"portable_on", ec)) {
    folder = Portable(programFolder);
  } else if (appData && !appData->empty() && EnsureFolder(*appData / L"Qorn")) {
    folder = *appData / L"Qorn";
  } else {
    folder = Portable(programFolder);
    if (EnsureFolder(folder) && !fs::exists(folder / L"portable_on", ec)) {
      // An empty flag file; a failure only means the next start asks again.
      std::FILE* f = nullptr;
#ifdef _WIN32
      f = _wfopen((folder / L"portable_on").c_str(), L"wb");
#else
      f = std::fopen((folder / L"portable_on").c_str(), "wb");
#endif
      if (f) std::fclose(f);
    }
  }
  EnsureFolder(folder / L"macros");
  EnsureFolder(folder / L"profiles");
  return folder;
}

std::wstring FolderText(const fs::path& folder) {
  std::wstring text = folder.wstring();
#ifdef _WIN32
  for (auto& c : text)
    if (c == L'/') c = L'\\';
#endif
  if (text.empty() || (text.back() != L'\\' && text.back() != L'/')) text += fs::path::preferred_separator;
  return text;
}

std::wstring SettingsFolder;
