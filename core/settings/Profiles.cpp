#include "core/settings/Profiles.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <system_error>

#include "core/settings/SafeFile.h"
#include "vcl/System.h"

TProfileState ProfileState;

namespace {
constexpr std::size_t MaxProfileFileBytes = TKeyTable::MaxBindings * TKeyRecord::StoredSize;
constexpr std::size_t MaxProfileTableBytes = TProfileTable::EntryCount * TProfileEntry::StoredSize;

bool IsDeviceName(std::wstring_view base) {
  std::wstring upper(base);
  for (wchar_t& c : upper)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  // Blanks before the extension do not make the name another one for Windows.
  while (!upper.empty() && upper.back() == L' ') upper.pop_back();
  static constexpr std::wstring_view fixed[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (std::wstring_view d : fixed)
    if (upper == d) return true;
  return upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) && upper[3] >= L'0' &&
         upper[3] <= L'9';
}
}  // namespace

std::wstring ProfileFileStem(std::string_view name) { return AnsiToString(name); }

bool IsValidProfileName(std::string_view name) {
  if (name.empty() || name.size() > MaxProfileNameLength) return false;
  // The checks read characters, not bytes: in a double-byte code page a second
  // byte may look like a separator, and a byte the code page has no character
  // for cannot name a file that reads back as the same name.
  const std::wstring stem = ProfileFileStem(name);
  if (StringToAnsi(stem) != name) return false;
  for (wchar_t c : stem) {
    if (c < 32 || c == 127 || c == 0xFFFD) return false;
    if (c < 128 && std::strchr("\\/:*?\"<>|", static_cast<char>(c)) != nullptr) return false;
  }
  if (stem.find(L"..") != std::wstring::npos) return false;
  if (stem.back() == L'.' || stem.back() == L' ') return false;
  return !IsDeviceName(std::wstring_view(stem).substr(0, stem.find(L'.')));
}

namespace {
// Whole records and no more than the table holds: anything else was cut or grown.
bool IsWholeRecords(std::size_t size, std::size_t recordSize, std::size_t maxRecords) {
  return size % recordSize == 0 && size / recordSize <= maxRecords;
}
}  // namespace

void TProfileEntry::Store(std::uint8_t* out) const {
  Name.store(out);
  Kind.store(out + decltype(Name)::StoredSize);
  std::memcpy(out + decltype(Name)::StoredSize + decltype(Kind)::StoredSize, Reserved.data(), Reserved.size());
}

TProfileEntry TProfileEntry::Load(const std::uint8_t* in) {
  TProfileEntry e;
  e.Name.load(in);
  e.Kind.load(in + decltype(Name)::StoredSize);
  std::memcpy(e.Reserved.data(), in + decltype(Name)::StoredSize + decltype(Kind)::StoredSize, e.Reserved.size());
  return e;
}
static_assert(TShortString<25>::StoredSize + TShortString<255>::StoredSize + 21 == TProfileEntry::StoredSize);

std::string StoreProfileFile(const TKeyTable& table) {
  std::string bytes(static_cast<std::size_t>(table.Count) * TKeyRecord::StoredSize, '\0');
  for (std::size_t i = 0; i < table.Count; ++i)
    table.Slots[i].Store(reinterpret_cast<std::uint8_t*>(bytes.data()) + i * TKeyRecord::StoredSize);
  return bytes;
}

void LoadProfileFile(std::string_view bytes, TKeyTable& table) {
  const std::size_t records = std::min(bytes.size() / TKeyRecord::StoredSize, TKeyTable::MaxBindings);
  for (std::size_t i = 0; i < records; ++i)
    table.Add(TKeyRecord::Load(reinterpret_cast<const std::uint8_t*>(bytes.data()) + i * TKeyRecord::StoredSize));
}

std::string StoreProfileTable(const TProfileTable& table, std::size_t profileCount) {
  const std::size_t entries = 1 + std::min(profileCount, TProfileTable::MaxProfiles);
  std::string bytes(entries * TProfileEntry::StoredSize, '\0');
  for (std::size_t i = 0; i < entries; ++i)
    table.Entries[i].Store(reinterpret_cast<std::uint8_t*>(bytes.data()) + i * TProfileEntry::StoredSize);
  return bytes;
}

TProfileTable LoadProfileTable(std::string_view bytes) {
  TProfileTable table;
  const std::size_t records = std::min(bytes.size() / TProfileEntry::StoredSize, TProfileTable::EntryCount);
  for (std::size_t i = 0; i < records; ++i)
    table.Entries[i] =
        TProfileEntry::Load(reinterpret_cast<const std::uint8_t*>(bytes.data()) + i * TProfileEntry::StoredSize);
  // The header is no profile: a file of the header alone is a table without profiles.
  table.Count = static_cast<std::uint8_t>(records > 0 ? records - 1 : 0);
  return table;
}

TProfileStore::TProfileStore(std::filesystem::path folder, TBindingTables tables, TProfileState& state,
                             IKeyListView& keyList, ISettingsReporter& reporter)
    : folder_(std::move(folder)), tables_(tables), state_(state), keyList_(keyList), reporter_(reporter) {}

std::filesystem::path TProfileStore::ProfileFilePath(std::string_view name, bool global) const {
  // Through UTF-8, the one encoding both builds' paths take without a locale.
  const std::string file = StringToUtf8(ProfileFileStem(name) + (global ? L".gpf" : L".lpf"));
  return folder_ / ProfilesFolderName / std::filesystem::path(std::u8string(file.begin(), file.end()));
}

void TProfileStore::loadpfl(const std::string& name, int global, std::uint8_t target) {
  if (!IsValidProfileName(name)) return;
  const bool isGlobal = global == 1;
  const bool intoEditList = target == 1;
  const std::filesystem::path file = ProfileFilePath(name, isGlobal);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return;

  if (isGlobal && !intoEditList && name == state_.EditedProfile && state_.ProfileModified == 1) {
    // The edit list holds unsaved changes of this very profile, and from now on
    // every edit is mirrored by index into the live table: the live table must be
    // the edit list, not the older file.
    tables_.LiveGlobal = tables_.EditList;
    state_.ActiveGlobalProfile = name;
    return;
  }

  // One byte more than the table takes shows a file that holds more.
  // The per-program profile follows the program in front: no waiting there.
  const bool live = !intoEditList && !isGlobal;
  const auto bytes = guard_.Read(file, MaxProfileFileBytes + 1, !live);
  if (!bytes) return;
  if (!IsWholeRecords(bytes->size(), TKeyRecord::StoredSize, TKeyTable::MaxBindings)) guard_.Damaged(file);
  TKeyTable& table = intoEditList ? tables_.EditList : (isGlobal ? tables_.LiveGlobal : tables_.LivePerProgram);
  table.Clear();
  if (intoEditList) keyList_.Clear();
  LoadProfileFile(*bytes, table);
  if (intoEditList) {
    for (std::size_t i = 0; i < table.Count; ++i) keyList_.Add(table.Slots[i].Name.view());
    state_.EditedProfile = name;
    if (table.Count > 0) keyList_.EnableListButton();
  } else if (isGlobal) {
    state_.ActiveGlobalProfile = name;
  } else {
    state_.ActivePerProgramProfile = name;
  }
}

bool TProfileStore::savepfl(const std::string& name, const std::string& kind, std::uint8_t source) {
  if (!IsValidProfileName(name)) {
    reporter_.ShowLanguageMessage(L"BadProfileName");
    return false;
  }
  const bool isGlobal = kind == GlobalProfileKind;
  const bool isNew = !ispflexists(name);
  if (isNew && table_.Count >= TProfileTable::MaxProfiles) return false;

  const TKeyTable& from = source == 1 ? tables_.LiveGlobal : tables_.EditList;
  const std::filesystem::path file = ProfileFilePath(name, isGlobal);
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (!guard_.MayWrite(file) || !WriteWholeFileSafely(file, StoreProfileFile(from))) return false;

  if (isNew) {
    TProfileEntry& entry = table_.Entries[table_.Count + 1u];
    entry = TProfileEntry{};
    entry.Name = name;
    entry.Kind = kind;
    ++table_.Count;
    if (isGlobal) {
      state_.ActiveGlobalProfile = name;
      // The saved list is now the active profile: the live table must hold the
      // same bindings, or index-mirrored edits would land on other bindings.
      if (source != 1) tables_.LiveGlobal = tables_.EditList;
    }
    state_.EditedProfile = name;
    if (!saveprofilesbd()) return false;
  }
  loadprofilesbd();
  return true;
}

void TProfileStore::deletepfl(const std::string& name) {
  if (table_.Count <= 1) return;
  std::size_t at = 0;
  for (std::size_t i = 1; i <= table_.Count; ++i) {
    if (table_.Entries[i].Name == name) {
      at = i;
      break;
    }
  }
  if (at == 0) return;
  if (IsValidProfileName(name)) {
    std::error_code ec;
    std::filesystem::remove(ProfileFilePath(name, table_.Entries[at].Kind == GlobalProfileKind), ec);
  }
  for (std::size_t i = at; i < table_.Count; ++i) table_.Entries[i] = table_.Entries[i + 1];
  table_.Entries[table_.Count] = TProfileEntry{};  // the freed slot holds no stale profile
  --table_.Count;
  saveprofilesbd();
}

bool TProfileStore::ispflexists(const std::string& name) const {
  for (std::size_t i = 1; i <= table_.Count; ++i)
    if (table_.Entries[i].Name == name) return true;
  return false;
}

std::string TProfileStore::getprofiletipe(const std::string& name) const {
  std::string kind(GlobalProfileKind);
  for (std::size_t i = 1; i <= table_.Count; ++i)
    if (table_.Entries[i].Name == name) kind = table_.Entries[i].Kind.str();
  return kind;
}

std::string TProfileStore::ProfileForProgram(std::string_view exePath) const {
  if (exePath.empty()) return {};
  for (std::size_t i = 1; i <= table_.Count; ++i)
    if (table_.Entries[i].Kind == exePath) return table_.Entries[i].Name.str();
  return {};
}

void TProfileStore::loadprofilesbd() {
  const std::filesystem::path file = TablePath();
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    table_.Clear();
    WriteWholeFileSafely(file, {});
    return;
  }
  const auto bytes = guard_.Read(file, MaxProfileTableBytes + 1);
  if (!bytes) return;  // reported; the table keeps what it held
  if (!IsWholeRecords(bytes->size(), TProfileEntry::StoredSize, TProfileTable::EntryCount)) guard_.Damaged(file);
  table_ = LoadProfileTable(*bytes);
}

bool TProfileStore::saveprofilesbd() {
  // A table that could not be read is the user's: the run goes on without it.
  if (!guard_.MayWrite(TablePath())) return true;
  if (table_.Count == 0 && state_.ActiveGlobalProfile.empty()) {
    state_.ActiveGlobalProfile = FirstRunProfileName;
    state_.EditedProfile = FirstRunProfileName;
  }
  TProfileEntry& header = table_.Entries[0];
  // A profile that could not be loaded (its file unreadable) leaves the state
  // empty: the header keeps naming it, so the next start loads it again.
  if (!state_.ActiveGlobalProfile.empty() || table_.Count == 0) header.Name = state_.ActiveGlobalProfile;
  if (!state_.EditedProfile.empty() || table_.Count == 0) header.Kind = state_.EditedProfile;
  std::size_t profiles = table_.Count;
  if (profiles == 0) {
    TProfileEntry& only = table_.Entries[1];
    only = TProfileEntry{};
    only.Name = FirstRunProfileName;
    only.Kind = GlobalProfileKind;
    profiles = 1;
  }
  return WriteWholeFileSafely(TablePath(), StoreProfileTable(table_, profiles));
}

void TProfileStore::clearpfl(std::uint8_t which) {
  switch (which) {
    case 0:
      tables_.LivePerProgram.Clear();
      break;
    case 1:
      tables_.LiveGlobal.Clear();
      break;
    case 2:
      tables_.EditList.Clear();
      keyList_.Clear();
      break;
    default:
      break;
  }
}
