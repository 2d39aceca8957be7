// A small pool of repeating timers that other parts start, test and stop by name,
// so they need no timer object of their own ("autochecknewver", "TimerOff",
// "Wallpaper_changer"). All timers run on the main thread's message loop.
#pragma once
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "vcl/Timer.h"

class TNamedTimers {
 public:
  static constexpr int SlotCount = 10;
  using TCallback = std::function<void()>;

  // The timers are owned by owner (the main window) as components.
  explicit TNamedTimers(TComponent* owner);
  ~TNamedTimers();
  TNamedTimers(const TNamedTimers&) = delete;
  TNamedTimers& operator=(const TNamedTimers&) = delete;

  // Takes the lowest free slot and starts its timer. False when all slots are busy
  // (nothing changes then). Names are not unique: a second add takes a second slot.
  bool Timers_Add(const std::wstring& name, int intervalMs, TCallback callback);
  // Stops and frees the first timer of that name; nothing when there is none. A
  // callback may delete (and add again) its own timer: what it runs on is kept
  // alive until it returns.
  void Timers_Del(const std::wstring& name);
  bool Timers_IsActive(const std::wstring& name) const;

 private:
  struct TSlot {
    std::wstring name;
    std::unique_ptr<TTimer> timer;
    bool busy = false;
    std::shared_ptr<TCallback> callback;
  };
  void Timers_OnTimer(TObject* sender);
  int Find(const std::wstring& name) const;

  TComponent* owner_;
  std::array<TSlot, SlotCount> slots_{};
  int running_ = 0;                 // callbacks on the stack
  std::vector<std::unique_ptr<TTimer>> retired_;  // deleted while a callback ran; freed after it
};
