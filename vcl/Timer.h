// TTimer: OnTimer every Interval milliseconds while Enabled, over a window timer.
//
// Timers run on the thread that made them (the GUI thread) and fire from its
// message loop. A timer may be disabled or freed from inside its own OnTimer: it
// stops at once and nothing touches it after the handler returns. A WM_TIMER still
// queued for a stopped or freed timer reaches nothing (timers are small ids in a
// table of live timers, never addresses).
//
// Time is the program's clock (vcl/Clock.h). On the system clock the window timer
// paces OnTimer itself. When a test has installed its own clock, the window timer
// only looks every few milliseconds and OnTimer fires once the installed clock has
// reached the next deadline, so a test moves timers on by moving its clock.
#pragma once

#include "vcl/Classes.h"

#include <cstdint>

class TTimer : public TComponent {
  QORN_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool GetEnabled() const { return FEnabled; }
  // A change (also to the same running state) restarts the count.
  void SetEnabled(bool Value);
  unsigned GetInterval() const { return FInterval; }
  void SetInterval(unsigned Value);
  // Whether a window timer runs now (Enabled and Interval > 0). Without OnTimer
  // its ticks do nothing, so a handler assigned later takes the running timer.
  bool Running() const { return FId != 0; }

  TNotifyEvent OnTimer;
  // Starts the count again from now.
  void Restart() { UpdateTimer(); }
  // Whether a timer that follows a test's clock has reached its deadline on that
  // clock and not fired yet: a test that moved its clock pumps until none has.
  static bool AnyDue();

 protected:
  // Fires OnTimer; override for timers with work of their own.
  virtual void Timer();

 private:
  friend struct TTimerTable;
  static void Publish(TPublisher<TTimer>& p);
  void UpdateTimer();
  void StopTimer();
  // One WM_TIMER: fires when the deadline has come.
  void Tick();
  void Loaded() override;

  unsigned FInterval = 1000;
  bool FEnabled = true;
  std::uintptr_t FId = 0;
  bool FOnTestClock = false;  // the clock was a test's when the count started
  std::uint64_t FDueMs = 0;   // the next deadline on that clock
};
