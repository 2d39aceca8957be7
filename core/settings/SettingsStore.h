// Moving the settings records and the extended settings lists to and from the
// settings folder: "stg.db" and "stgex.ini". Both files are replaced whole and
// safely on every save; reading either never depends on the other.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/settings/ExtSettings.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFileGuard.h"
#include "core/settings/SettingsReporter.h"

inline constexpr std::string_view SettingsFileName = "stg.db";
inline constexpr std::uint32_t SaveEveryKeyPresses = 1000;

// What applying the settings needs to know of the machine (given by the main window).
struct TSettingsEnvironment {
  int ScreenWidth = 0;
  int ScreenHeight = 0;
  int PixelsPerInch = 96;
  std::filesystem::path ProgramFolder;
  bool PortableMarkerExists = false;  // "AppData\portable_on" beside the program
  std::string StartupLanguage;        // the language chosen at start-up (first run)
  std::function<std::string()> MakeInstallationId;
};

// What the settings pages do with the records once their values are filled in.
struct TAppliedSettings {
  bool FirstRun = false;
  std::string LanguageToSelect;                  // then the language change handler runs
  std::vector<std::uint16_t> HotKeysToRegister;  // non-zero words, in slot order
};

class TSettingsStore {
 public:
  TSettingsStore(std::filesystem::path folder, TSettingsRecords& records, TExtSettings& ext,
                 ISettingsReporter& reporter);

  const std::filesystem::path& Folder() const { return folder_; }
  void SetFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
  std::filesystem::path SettingsFilePath() const { return folder_ / SettingsFileName; }
  std::filesystem::path ExtFilePath() const { return folder_ / ExtSettingsFileName; }

  // Reads "stg.db" over the records (a missing file is created empty, which marks
  // a first run until the first save) and the four sections of "stgex.ini" into
  // their lists. SettingsLoading is set meanwhile. A file that cannot be read is
  // reported once and left alone by every later save; a damaged "stg.db" keeps
  // its original beside it.
  void LoadMainSetingsFromFile();

  // A first run: "stg.db" is missing or empty.
  bool IsFirstRun() const;

  // The record side of applying the settings: first-run positions and folder
  // choice, the list values split into their lists, the installation id, fonts
  // for every slot. The controls take the records afterwards.
  TAppliedSettings ApplyMainSettings(const TSettingsEnvironment& env);

  // How long a locked file is tried at loading.
  void SetReadRetry(TReadRetry retry) { guard_.SetReadRetry(retry); }

  // Writes "stg.db" (created when missing) and "stgex.ini", except a file that
  // could not be read at loading. On a failure reports "Error #101" and returns
  // false; the file that failed keeps its old contents.
  bool saveprogramsetting(std::int32_t liveKeyPressCount);

  // The save after every 1000 key presses.
  void KeyPressCounted(std::uint32_t liveKeyPressCount);

 private:
  std::filesystem::path folder_;
  TSettingsRecords& records_;
  TExtSettings& ext_;
  ISettingsReporter& reporter_;
  TSettingsFileGuard guard_{reporter_};
};

// Whole-number division rounded to nearest, halves to even.
int RoundDivHalfEven(long long numerator, long long denominator);

// Whether `folder` is `parent` or lies inside it, comparing whole path components
// without regard to case ("C:\Q" is not a parent of "C:\Qorn data").
bool IsFolderInside(const std::filesystem::path& folder, const std::filesystem::path& parent);
