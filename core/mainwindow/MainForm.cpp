#include "core/mainwindow/MainForm.h"

#include "core/utils/myUtils.h"

std::wstring TKeyPressCounter::WMCount() {
  ++count_;
  for (std::int32_t milestone : {100000, 1000000, 10000000}) {
    if (count_ != donationOffset_ + milestone) continue;
    if (hooks_.isGameMode && hooks_.isGameMode()) {
      donationOffset_ += 10;
    } else {
      if (hooks_.showDonation) hooks_.showDonation();
      donationOffset_ = 0;
    }
  }
  if (count_ % 1000 == 0 && hooks_.saveSettings) hooks_.saveSettings();
  return KeyPressCounterText(count_);
}

bool RefusePowerBroadcast(std::uintptr_t wParam, std::optional<std::uint64_t> sleepKeyRanAtMs, std::uint64_t nowMs) {
  constexpr std::uintptr_t PBT_APMQUERYSUSPEND_ = 0;
  if (wParam != PBT_APMQUERYSUSPEND_ || !sleepKeyRanAtMs) return false;
  return nowMs >= *sleepKeyRanAtMs && nowMs - *sleepKeyRanAtMs <= SleepKeyGuardMs;
}
