// Runs the application's own message loop for a while, as a user's session would
// between two actions: timers, posted work and painting all get their turn. Tests
// pump through these two and no copies of their own.
#pragma once
#include <chrono>
#include <functional>
#include <thread>

#include "vcl/Forms.h"
#include "vcl/Timer.h"

inline void Pump(std::chrono::milliseconds duration) {
  using namespace std::chrono_literals;
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(2ms);
  }
}

// Pumps until done holds or the timeout has passed; whether it held. The timeout
// is a bound for a slow machine, never a measure of the behaviour under test.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds timeout = std::chrono::seconds(3)) {
  using namespace std::chrono_literals;
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump(5ms);
  }
  return true;
}

// After a test moved its clock: pumps until every timer whose deadline the clock
// reached has fired (however long a busy machine takes to deliver the ticks), then
// once more for what their handlers posted.
inline bool PumpDueTimers(std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const bool fired = PumpUntil([] { return !TTimer::AnyDue(); }, timeout);
  Application->ProcessMessages();
  return fired;
}
