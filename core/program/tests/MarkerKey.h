// The marker key of the tests that press keys at a real Qorn: Qorn's own input, so
// Qorn's hook lets it through untouched and uncounted. Sent last, it reaches the
// window in front after every key sent before it, so once it is there a key that
// leaked (or came late) is there too.
#pragma once
#include "tenvora/Tenvora.h"
#include "testing/WinTesting.h"
#include "vcl/Win.h"

#include <chrono>

namespace qorn::testing {

inline constexpr WORD MarkerVk = VK_F24;

inline bool SendMarkerKey(bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = MarkerVk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  input.ki.dwExtraInfo = TENVORA_OWN_INPUT;
  return SendInput(1, &input, sizeof input) == 1;
}

inline bool SendMarker() { return SendMarkerKey(false) && SendMarkerKey(true); }

// SendInput returns before the hooks have seen the keys. The hooks take keys in
// turn, and a key shows as down only once they are through with it: once the marker
// does, Qorn has answered every key sent before it, whatever window is in front.
inline bool WaitUntilQornAnsweredTheKeysSent() {
  if (!SendMarkerKey(false)) return false;
  const bool through = WaitFor([] { return (GetAsyncKeyState(MarkerVk) & 0x8000) != 0; }, std::chrono::seconds(30));
  return SendMarkerKey(true) && through;
}

}  // namespace qorn::testing
