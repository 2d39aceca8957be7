// The main window's close request: whether it may close, and the saving that
// comes first. The teardown (hook, plug-ins, tray icons, session notices) belongs
// to the window's destruction, after the request was granted, so that a request
// that is cancelled later (a cancelled log-off) leaves a working program.
#pragma once
#include <cstdint>

#include "core/settings/Profiles.h"
#include "core/settings/SettingsStore.h"

// The settings pages that a close request only closes.
inline constexpr int ProfileManagerPage = 100;
inline constexpr int HistoryPage = 101;

enum class TCloseDecision {
  Refuse,          // the settings are still being loaded
  ClosePageOnly,   // the profile manager or the history page closes instead; nothing is saved
  Proceed,
};

TCloseDecision DecideClose(std::uint8_t settingsLoading, int currentPage);

// The profile table, the edited profile when it is modified (under its own
// kind), then the settings. A profile failure reports "Error #100" and the
// settings are saved all the same. True when everything was written.
bool SaveBeforeClose(TProfileStore& profiles, TSettingsStore& settings, TProfileState& state,
                     ISettingsReporter& reporter, std::int32_t liveKeyPressCount);
