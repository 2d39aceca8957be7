#include "core/settings/SettingsStore.h"

#include <cwctype>
#include <system_error>

#include "core/settings/SafeFile.h"
#include "core/settings/SettingsFile.h"

namespace {
// More than any real "stg.db" holds: a larger file is damaged and read only this far.
constexpr std::size_t MaxSettingsFileBytes = 1 << 16;

constexpr std::string_view DefaultLanguage = "Russian";

std::uintmax_t FileSizeOrZero(const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  return ec ? 0 : size;
}

std::filesystem::path::string_type FoldCase(std::filesystem::path::string_type s) {
  for (auto& c : s) {
    if constexpr (sizeof(c) == 1) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    } else {
      c = static_cast<std::filesystem::path::value_type>(std::towlower(static_cast<std::wint_t>(c)));
    }
  }
  return s;
}

std::vector<std::filesystem::path::string_type> FoldedComponents(const std::filesystem::path& p) {
  std::vector<std::filesystem::path::string_type> parts;
  for (const auto& part : p.lexically_normal()) {
    if (part.empty()) continue;  // the trailing separator of a folder
    parts.push_back(FoldCase(part.native()));
  }
  return parts;
}
}  // namespace

int RoundDivHalfEven(long long numerator, long long denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  long long q = numerator / denominator;
  long long r = numerator % denominator;
  if (r < 0) {  // floor division
    q -= 1;
    r += denominator;
  }
  const long long twice = 2 * r;
  if (twice > denominator || (twice == denominator && (q % 2 != 0))) q += 1;
  return static_cast<int>(q);
}

bool IsFolderInside(const std::filesystem::path& folder, const std::filesystem::path& parent) {
  const auto inner = FoldedComponents(folder);
  const auto outer = FoldedComponents(parent);
  if (outer.empty() || outer.size() > inner.size()) return false;
  for (std::size_t i = 0; i < outer.size(); ++i)
    if (inner[i] != outer[i]) return false;
  return true;
}

TSettingsStore::TSettingsStore(std::filesystem::path folder, TSettingsRecords& records, TExtSettings& ext,
                               ISettingsReporter& reporter)
    : folder_(std::move(folder)), records_(records), ext_(ext), reporter_(reporter) {}

bool TSettingsStore::IsFirstRun() const { return FileSizeOrZero(SettingsFilePath()) == 0; }

void TSettingsStore::LoadMainSetingsFromFile() {
  TSettingsLoadingScope loading;
  const std::filesystem::path stg = SettingsFilePath();
  std::error_code ec;
  if (!std::filesystem::exists(stg, ec)) {
    // The empty file marks every start before the first save as a first run.
    WriteWholeFileSafely(stg, {});
  } else if (FileSizeOrZero(stg) > 0) {
    if (const auto bytes = guard_.Read(stg, MaxSettingsFileBytes)) {
      if (!IsWellFormedSettingsFile(*bytes)) guard_.Damaged(stg);
      LoadSettingsFile(*bytes, records_);
    }
  }
  // Read on its own: the lists must not be emptied (and then saved empty) only
  // because "stg.db" was lost. Read whole, whatever its size.
  const auto ini = guard_.Read(ExtFilePath(), SIZE_MAX);
  ext_.ReadFrom(TIniDocument::Parse(ini ? *ini : std::string()));
}

TAppliedSettings TSettingsStore::ApplyMainSettings(const TSettingsEnvironment& env) {
  TSettingsLoadingScope loading;
  TAppliedSettings applied;
  applied.FirstRun = IsFirstRun();
  TMainSettings& m = records_.Main;

  if (applied.FirstRun) {
    m.OsdTextTop = RoundDivHalfEven(env.ScreenHeight, 6) * 5;
    m.OsdTextLeft = RoundDivHalfEven(env.ScreenWidth, 3);
    m.OsdVolTop = RoundDivHalfEven(env.ScreenHeight - 73LL, 6) * 5;
    m.OsdVolLeft = RoundDivHalfEven(env.ScreenWidth - 584LL, 2);
    m.OsdVolHeight = 46;
    m.OsdVolWidth = 576;
    if (!env.ProgramFolder.empty() && IsFolderInside(folder_, env.ProgramFolder)) m.CB_SettingsSave = 1;
    applied.LanguageToSelect = env.StartupLanguage;
  } else {
    if (env.PortableMarkerExists) m.CB_SettingsSave = 1;
    applied.LanguageToSelect =
        records_.Strings.LanguageName.empty() ? std::string(DefaultLanguage) : records_.Strings.LanguageName.str();
    for (std::uint16_t word : {records_.HotKeys.ProgramOnOff, records_.HotKeys.NextGlobalProfile,
                               records_.HotKeys.PrevGlobalProfile})
      if (word != 0) applied.HotKeysToRegister.push_back(word);
  }
  // On a first run too: a "stgex.ini" that outlived "stg.db" must not lose its
  // lists at the next save, which joins them back into the values.
  ext_.SplitListValues();

  if ((applied.FirstRun || records_.Strings.InstallationId.empty()) && env.MakeInstallationId)
    records_.Strings.InstallationId = env.MakeInstallationId();

  FillEmptyFontSlots(records_.Fonts, env.PixelsPerInch);
  return applied;
}

bool TSettingsStore::saveprogramsetting(std::int32_t liveKeyPressCount) {
  records_.Main.KeyPressCount = liveKeyPressCount;
  const std::filesystem::path stg = SettingsFilePath();
  if (guard_.MayWrite(stg) && !WriteWholeFileSafely(stg, StoreSettingsFile(records_))) {
    reporter_.ShowNumberedError(ErrorSaveSettings);
    return false;
  }
  const std::filesystem::path iniFile = ExtFilePath();
  if (!guard_.MayWrite(iniFile)) return true;
  // Sections of other programs or versions in the file are kept, so a file that
  // exists but cannot be read now is not written over.
  std::error_code ec;
  const auto old = ReadWholeFile(iniFile);
  if (!old && std::filesystem::exists(iniFile, ec)) {
    reporter_.ShowNumberedError(ErrorSaveSettings);
    return false;
  }
  TIniDocument ini = TIniDocument::Parse(old ? *old : std::string());
  ext_.WriteTo(ini);
  if (!WriteWholeFileSafely(iniFile, ini.Bytes())) {
    reporter_.ShowNumberedError(ErrorSaveSettings);
    return false;
  }
  return true;
}

void TSettingsStore::KeyPressCounted(std::uint32_t liveKeyPressCount) {
  if (liveKeyPressCount != 0 && liveKeyPressCount % SaveEveryKeyPresses == 0)
    saveprogramsetting(static_cast<std::int32_t>(liveKeyPressCount));
}
