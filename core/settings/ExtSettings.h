// The extended settings: four lists of name=value lines, one per section of
// "stgex.ini", for the values that do not fit the fixed records (paths, lists,
// text templates). Action frames and executors read and write single values.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/ExtSettingsIni.h"

inline constexpr std::string_view ExtSettingsFileName = "stgex.ini";
inline constexpr std::string_view IgnoredProgramsName = "IgnoredPrograms";
inline constexpr std::string_view WallpapersFoldersListName = "WallpapersFoldersList";

struct TExtSettings {
  TSettingsLines WinAmpSettings;       // section "WinAmp"
  TSettingsLines MainSettingsEx;       // section "QornMain"
  TSettingsLines MediaPlayerSettings;  // section "MediaPlayers"
  TSettingsLines WallpaperSettings;    // section "Wallpapers"

  // The lists that "IgnoredPrograms" and "WallpapersFoldersList" are split into
  // when the settings are applied, and joined from when they are saved.
  bool IgnoredProgramsInUse = false;
  std::vector<std::string> IgnoredPrograms;
  std::vector<std::string> WallpaperFolders;

  // Called by every SetIniStg (the main window enables its Save button).
  std::function<void()> OnValueSet;

  // Every section is read whole into its list, replacing its contents; a missing
  // file leaves all four lists empty.
  void ReadFrom(const TIniDocument& ini);
  // The sections in the order the save writes them: "WinAmp", "QornMain"
  // (after "IgnoredPrograms" is set from its list), "Wallpapers" (after
  // "WallpapersFoldersList"), "MediaPlayers".
  void WriteTo(TIniDocument& ini);

  // Splits the two list values into their lists (when the settings are applied).
  void SplitListValues();
};

// The value of the last line "Name=..." of the list (the whole name must match,
// case-sensitive); empty when there is none or the list is absent. The text
// templates "wainfo" and "wanotaginfo" get their "\n" back as line breaks; every
// other value, paths above all, is returned exactly as stored.
std::string GetIniStg(const TSettingsLines* list, std::string_view name);

// Every line "Name=..." becomes Name=Value, or the line is appended. Line breaks
// in Value are stored as "\n" so that the value stays one line. An absent list is
// left alone. The settings' OnValueSet runs in every case.
void SetIniStg(TExtSettings& settings, TSettingsLines* list, std::string_view name, std::string_view value);
// The same without the notification (the save itself).
void StoreIniValue(TSettingsLines* list, std::string_view name, std::string_view value);

// Whether a value is a multi-line text template whose "\n" means a line break.
bool IsIniTextTemplate(std::string_view name);

// ";"-joined lists: empty parts are dropped on both sides.
std::vector<std::string> SplitIniList(std::string_view joined);
std::string JoinIniList(const std::vector<std::string>& items);
