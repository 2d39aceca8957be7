// TSimpleTimer: a light window timer that needs no owner or form. Every simple timer
// of the process shares one hidden window, made with the first timer and destroyed
// with the last; WM_TIMER reaches it on the thread that made it (the GUI thread).
//
// The id given to the system is a small number looked up in a table of live timers,
// never the object's address (which a 32-bit id could not hold): a tick the system had already queued when its timer
// was destroyed finds no entry and is ignored.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Win.h"

#include <cstdint>

class TSimpleTimer : public TObject {
  QORN_CLASS(TSimpleTimer, TObject)
 public:
  // Interval 1000 ms, no event, stopped.
  TSimpleTimer();
  TSimpleTimer(std::uint32_t Interval, TNotifyEvent OnTimer);
  ~TSimpleTimer() override;

  // The number the system knows this timer by.
  UINT_PTR GetId() const { return FId; }
  bool GetEnabled() const { return FEnabled; }
  // True starts the timer, false stops it.
  void SetEnabled(bool Value);
  std::uint32_t GetInterval() const { return FInterval; }
  // On a timer meant to run, a new non-zero interval restarts it; 0 stops the ticks
  // but keeps it meant to run, so a later non-zero interval starts it again.
  void SetInterval(std::uint32_t Value);
  // Stop before each event: a one-shot timer whose event may start it again.
  bool AutoDisable = false;
  const TNotifyEvent& GetOnTimer() const { return FOnTimer; }
  // Clearing the event of a running timer stops its ticks (it stays meant to run).
  void SetOnTimer(TNotifyEvent Value);

  // False when Interval is 0 (nothing changes) or the system refuses.
  bool Start();
  // Stops the system timer; ClearEnabled also ends "meant to run". Whether the
  // system had a timer to stop.
  bool Stop(bool ClearEnabled);

  // The shared hidden window (nullptr while no simple timer exists), and how many
  // of the timers are ticking: for tests and diagnostics.
  static HWND HandlerWindow();
  static int RunningCount();

 private:
  friend class TSimpleTimerHandler;
  void Tick();

  UINT_PTR FId = 0;
  bool FEnabled = false;
  std::uint32_t FInterval = 1000;
  TNotifyEvent FOnTimer;
  bool FOnTestClock = false;
  std::uint64_t FDueMs = 0;
};
