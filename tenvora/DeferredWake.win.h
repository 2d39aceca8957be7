// Wakes the owner thread on behalf of the hook thread, a moment later and from a
// thread of its own. Waking another thread is a call into the system that costs
// far more than the rest of a passed key's way through the hook (under wine a
// round trip to the server), and the woken owner then competes with the keys still
// going through the hooks. Keys that passed are only reported, so their wake can
// wait until the keys in flight are through; a key that waits for its answer never
// comes here.
//
// The hook thread only takes a slim lock and signals a condition variable, both of
// which stay inside the process.
#pragma once
#include "vcl/Win.h"

#include <cstdint>

namespace qorn::tenvora {

class DeferredWake {
 public:
  // How long a wake waits after it was asked for.
  static constexpr DWORD DelayMs = 2;

  DeferredWake() = default;
  DeferredWake(const DeferredWake&) = delete;
  DeferredWake& operator=(const DeferredWake&) = delete;

  // Starts the thread the first time; it runs for the rest of the process.
  bool Start();
  // Asks for the drain message to `owner` soon; false when the thread does not run
  // (the caller then sends it itself).
  bool Request(HWND owner, std::uint64_t opened);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();

  SRWLOCK lock_ = SRWLOCK_INIT;
  CONDITION_VARIABLE requested_ = CONDITION_VARIABLE_INIT;
  bool pending_ = false;
  HWND owner_ = nullptr;
  std::uint64_t opened_ = 0;
  HANDLE thread_ = nullptr;
};

// The message that makes the owner window drain the exchange (wParam: the opening).
inline constexpr UINT WM_TENVORA_DRAIN = WM_APP + 2;

}  // namespace qorn::tenvora
