// Profiles: named sets of key bindings, one file each in the "profiles" folder of
// the settings folder (".gpf" global, ".lpf" per-program: plain sequences of
// 613-byte binding records), and the profile table "profile.db" (303-byte
// entries: the header entry, then the profiles).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/keys/KeyRecord.h"
#include "core/settings/ProfilesKeyList.h"
#include "core/settings/SettingsFileGuard.h"
#include "core/settings/SettingsReporter.h"
#include "vcl/ShortString.h"

inline constexpr std::string_view ProfileTableFileName = "profile.db";
inline constexpr std::string_view ProfilesFolderName = "profiles";
inline constexpr std::string_view GlobalProfileKind = "-";
inline constexpr std::string_view FirstRunProfileName = "firstrun";
inline constexpr std::size_t MaxProfileNameLength = 25;

// One entry of "profile.db". In the header entry Name is the active global
// profile and Kind the profile last taken into the edit list.
struct TProfileEntry {
  static constexpr std::size_t StoredSize = 303;

  TShortString<25> Name;
  TShortString<255> Kind;  // "-" global; else the program's full path
  std::array<std::uint8_t, 21> Reserved{};

  void Store(std::uint8_t* out) const;
  static TProfileEntry Load(const std::uint8_t* in);
};

struct TProfileTable {
  static constexpr std::size_t EntryCount = 65;  // the header and 64 profiles
  static constexpr std::size_t MaxProfiles = EntryCount - 1;

  std::array<TProfileEntry, EntryCount> Entries{};
  std::uint8_t Count = 0;  // profiles in entries 1..Count

  void Clear() { *this = TProfileTable{}; }
};

// Which profile each binding table holds, and whether the edit list has unsaved changes.
struct TProfileState {
  std::string ActiveGlobalProfile;      // in the live global table
  std::string ActivePerProgramProfile;  // in the live per-program table
  std::string EditedProfile;            // in the edit list
  std::uint8_t ProfileModified = 0;     // 1 when the edit list differs from its file
};

extern TProfileState ProfileState;
inline std::string& ActiveGlobalProfile = ProfileState.ActiveGlobalProfile;
inline std::string& ActivePerProgramProfile = ProfileState.ActivePerProgramProfile;
inline std::string& EditedProfile = ProfileState.EditedProfile;
inline std::uint8_t& ProfileModified = ProfileState.ProfileModified;

// A name that can be a file name in the "profiles" folder and stay there: 1 to 25
// bytes of the system code page (the code page the names are stored in), every
// one of them a character of that code page, no path separators, reserved or
// control characters, no "..", no trailing dot or blank, no device name (CON,
// NUL, COM1 ...).
bool IsValidProfileName(std::string_view name);

// The file name the profile's name stands for: its characters read in the
// system code page.
std::wstring ProfileFileStem(std::string_view name);

// The three binding tables the profiles are loaded into.
struct TBindingTables {
  TKeyTable& LiveGlobal;
  TKeyTable& LivePerProgram;
  TKeyTable& EditList;
};

class TProfileStore {
 public:
  TProfileStore(std::filesystem::path folder, TBindingTables tables, TProfileState& state, IKeyListView& keyList,
                ISettingsReporter& reporter);

  const std::filesystem::path& Folder() const { return folder_; }
  void SetFolder(std::filesystem::path folder) { folder_ = std::move(folder); }
  std::filesystem::path ProfileFilePath(std::string_view name, bool global) const;
  std::filesystem::path TablePath() const { return folder_ / ProfileTableFileName; }

  TProfileTable& Table() { return table_; }
  const TProfileTable& Table() const { return table_; }

  // How long a locked file is tried at loading.
  void SetReadRetry(TReadRetry retry) { guard_.SetReadRetry(retry); }

  // Loads "profiles\Name.gpf" (global 1) or ".lpf" (global 0) into the edit list
  // (target 1; the key list is filled too) or the live table of that kind. A
  // missing file or a name that cannot be a file changes nothing; a file that
  // cannot be read is reported once and changes nothing either.
  void loadpfl(const std::string& name, int global, std::uint8_t target);
  // Writes the live global table (source 1) or the edit list (source 2) as the
  // profile Name of that kind ("-" = global). A new name gets an entry and
  // "profile.db" is saved. False when the name is refused (the user is told), the
  // table is full, the file could not be read at loading (it is left as it is),
  // or a file cannot be written (the caller reports it).
  bool savepfl(const std::string& name, const std::string& kind, std::uint8_t source);
  // Removes the first entry of that name and its file; only while more than one profile exists.
  void deletepfl(const std::string& name);
  bool ispflexists(const std::string& name) const;
  // Kind of the last entry with that name; "-" when there is none.
  std::string getprofiletipe(const std::string& name) const;
  // An unreadable "profile.db" is reported once and left alone by saveprofilesbd
  // for the rest of the run; a damaged one keeps its original beside it.
  void loadprofilesbd();
  bool saveprofilesbd();
  // 0 the live per-program table, 1 the live global table, 2 the edit list and the key list.
  void clearpfl(std::uint8_t which);

  // The per-program profile bound to a program (lower-cased full path); empty when none.
  std::string ProfileForProgram(std::string_view exePath) const;

 private:
  std::filesystem::path folder_;
  TBindingTables tables_;
  TProfileState& state_;
  IKeyListView& keyList_;
  ISettingsReporter& reporter_;
  TSettingsFileGuard guard_{reporter_};
  TProfileTable table_;
};

// The bytes of a profile file: the table's bindings in order.
std::string StoreProfileFile(const TKeyTable& table);
// Fills a cleared table from a profile file: whole records up to the table's
// capacity; a trailing partial record and records beyond 255 are left out.
void LoadProfileFile(std::string_view bytes, TKeyTable& table);

// "profile.db": the header entry then the profiles.
std::string StoreProfileTable(const TProfileTable& table, std::size_t profileCount);
// Whole entries up to 65; the count is the entries read minus the header.
TProfileTable LoadProfileTable(std::string_view bytes);
