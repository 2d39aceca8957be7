#include "core/settings/SettingsClose.h"

TCloseDecision DecideClose(std::uint8_t settingsLoading, int currentPage) {
  if (settingsLoading != 0) return TCloseDecision::Refuse;
  if (currentPage == ProfileManagerPage || currentPage == HistoryPage) return TCloseDecision::ClosePageOnly;
  return TCloseDecision::Proceed;
}

bool SaveBeforeClose(TProfileStore& profiles, TSettingsStore& settings, TProfileState& state,
                     ISettingsReporter& reporter, std::int32_t liveKeyPressCount) {
  const bool tableSaved = profiles.saveprofilesbd();
  // The edited bindings are written even when the table could not be: they are
  // what the user would lose.
  bool listSaved = true;
  if (state.ProfileModified == 1) {
    const std::string name = state.EditedProfile;
    listSaved = profiles.savepfl(name, profiles.getprofiletipe(name), 2);
    if (listSaved) state.ProfileModified = 0;
  }
  const bool profilesSaved = tableSaved && listSaved;
  if (!profilesSaved) reporter.ShowNumberedError(ErrorSaveOnClose);
  const bool settingsSaved = settings.saveprogramsetting(liveKeyPressCount);
  return profilesSaved && settingsSaved;
}
