#include "core/settings/ExtSettings.h"

#include <cctype>

namespace {
constexpr std::string_view SectionWinAmp = "WinAmp";
constexpr std::string_view SectionMain = "QornMain";
constexpr std::string_view SectionMediaPlayers = "MediaPlayers";
constexpr std::string_view SectionWallpapers = "Wallpapers";

bool LineHasName(const std::string& line, std::string_view name) {
  return line.size() > name.size() && line.compare(0, name.size(), name) == 0 && line[name.size()] == '=';
}

std::string EscapeLineBreaks(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char c = value[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string UnescapeLineBreaks(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == 'n' || value[i + 1] == 'N')) {
      out += "\r\n";
      ++i;
    } else {
      out += value[i];
    }
  }
  return out;
}
}  // namespace

bool IsIniTextTemplate(std::string_view name) { return name == "wainfo" || name == "wanotaginfo"; }

std::string GetIniStg(const TSettingsLines* list, std::string_view name) {
  if (list == nullptr) return {};
  std::string result;
  for (const std::string& line : *list)
    if (LineHasName(line, name)) result = line.substr(name.size() + 1);
  return IsIniTextTemplate(name) ? UnescapeLineBreaks(result) : result;
}

void StoreIniValue(TSettingsLines* list, std::string_view name, std::string_view value) {
  if (list == nullptr) return;
  const std::string line = std::string(name) + "=" + EscapeLineBreaks(value);
  bool matched = false;
  for (std::string& l : *list) {
    if (LineHasName(l, name)) {
      l = line;
      matched = true;
    }
  }
  if (!matched) list->push_back(line);
}

void SetIniStg(TExtSettings& settings, TSettingsLines* list, std::string_view name, std::string_view value) {
  StoreIniValue(list, name, value);
  if (settings.OnValueSet) settings.OnValueSet();
}

std::vector<std::string> SplitIniList(std::string_view joined) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= joined.size()) {
    std::size_t end = joined.find(';', start);
    if (end == std::string_view::npos) end = joined.size();
    if (end > start) out.emplace_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

std::string JoinIniList(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) {
    if (item.empty()) continue;
    if (!out.empty()) out += ';';
    out += item;
  }
  return out;
}

void TExtSettings::ReadFrom(const TIniDocument& ini) {
  WinAmpSettings = ini.ReadSection(SectionWinAmp);
  MainSettingsEx = ini.ReadSection(SectionMain);
  MediaPlayerSettings = ini.ReadSection(SectionMediaPlayers);
  WallpaperSettings = ini.ReadSection(SectionWallpapers);
}

void TExtSettings::WriteTo(TIniDocument& ini) {
  ini.WriteSection(SectionWinAmp, WinAmpSettings);
  StoreIniValue(&MainSettingsEx, IgnoredProgramsName, IgnoredProgramsInUse ? JoinIniList(IgnoredPrograms) : "");
  ini.WriteSection(SectionMain, MainSettingsEx);
  StoreIniValue(&WallpaperSettings, WallpapersFoldersListName, JoinIniList(WallpaperFolders));
  ini.WriteSection(SectionWallpapers, WallpaperSettings);
  ini.WriteSection(SectionMediaPlayers, MediaPlayerSettings);
}

void TExtSettings::SplitListValues() {
  const std::string ignored = GetIniStg(&MainSettingsEx, IgnoredProgramsName);
  if (!ignored.empty()) {
    IgnoredProgramsInUse = true;
    IgnoredPrograms = SplitIniList(ignored);
  }
  const std::string folders = GetIniStg(&WallpaperSettings, WallpapersFoldersListName);
  if (!folders.empty()) WallpaperFolders = SplitIniList(folders);
}
