#include "services/SimpleTimer.h"

#include "vcl/Clock.h"
#include "vcl/WindowHost.h"

#include <algorithm>

#include <map>

// The hidden window of every simple timer and the table from timer ids to live
// timers. It exists while at least one timer does.
class TSimpleTimerHandler {
 public:
  static TSimpleTimerHandler* Instance;

  TSimpleTimerHandler() { window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); }); }
  ~TSimpleTimerHandler() { DeallocateHWnd(window_); }

  UINT_PTR Add(TSimpleTimer* timer) {
    // Ids start at 1 and are not reused while the handler lives, so a stale
    // tick can never reach a newer timer that took its number.
    const UINT_PTR id = nextId_++;
    timers_[id] = timer;
    return id;
  }
  // True when the last timer went (the handler is then to be freed).
  bool Remove(UINT_PTR id) {
    timers_.erase(id);
    return timers_.empty();
  }
  HWND Window() const { return window_; }
  int running = 0;

 private:
  void WndProc(TMessage& m) {
    if (m.Msg != WM_TIMER) return DefaultWindowMessage(window_, m);
    m.Result = 0;
    const auto it = timers_.find(static_cast<UINT_PTR>(m.WParam));
    if (it == timers_.end()) return;  // queued before its timer was destroyed
    it->second->Tick();
  }

  HWND window_ = nullptr;
  UINT_PTR nextId_ = 1;
  std::map<UINT_PTR, TSimpleTimer*> timers_;
};

TSimpleTimerHandler* TSimpleTimerHandler::Instance = nullptr;

TSimpleTimer::TSimpleTimer() {
  if (!TSimpleTimerHandler::Instance) TSimpleTimerHandler::Instance = new TSimpleTimerHandler();
  FId = TSimpleTimerHandler::Instance->Add(this);
}

TSimpleTimer::TSimpleTimer(std::uint32_t Interval, TNotifyEvent OnTimer) : TSimpleTimer() {
  FInterval = Interval;
  FOnTimer = std::move(OnTimer);
}

TSimpleTimer::~TSimpleTimer() {
  if (FEnabled) Stop(true);
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance;
  if (handler && handler->Remove(FId)) {
    TSimpleTimerHandler::Instance = nullptr;
    delete handler;
  }
}

void TSimpleTimer::SetEnabled(bool Value) {
  if (Value)
    Start();
  else
    Stop(true);
}

void TSimpleTimer::SetInterval(std::uint32_t Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  if (!FEnabled) return;
  if (Value != 0)
    Start();
  else
    Stop(false);
}

void TSimpleTimer::SetOnTimer(TNotifyEvent Value) {
  FOnTimer = std::move(Value);
  if (!FOnTimer && FEnabled) Stop(false);
}

bool TSimpleTimer::Start() {
  if (FInterval == 0) return false;
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance;
  // Starting again restarts the count; a timer still known to the system is
  // replaced by SetTimer with the same id, so it is counted once.
  if (FEnabled) Stop(false);
  // Under a test's clock, look often and fire when that clock reaches the deadline.
  FOnTestClock = &CurrentClock() != &SystemClock();
  FDueMs = ClockNowMs() + FInterval;
  constexpr std::uint32_t testClockPollMs = 10;
  const std::uint32_t period = FOnTestClock ? std::min(FInterval, testClockPollMs) : FInterval;
  if (!SetTimer(handler->Window(), FId, period, nullptr)) return false;
  FEnabled = true;
  ++handler->running;
  return true;
}

bool TSimpleTimer::Stop(bool ClearEnabled) {
  if (ClearEnabled) FEnabled = false;
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance;
  if (!handler || !KillTimer(handler->Window(), FId)) return false;
  if (handler->running > 0) --handler->running;
  return true;
}

void TSimpleTimer::Tick() {
  if (FOnTestClock) {
    const std::uint64_t now = ClockNowMs();
    if (now < FDueMs) return;
    FDueMs = now + FInterval;
  }
  if (AutoDisable) Stop(true);
  // A copy: the event may destroy this timer.
  const TNotifyEvent handler = FOnTimer;
  if (handler) handler(this);
}

HWND TSimpleTimer::HandlerWindow() {
  return TSimpleTimerHandler::Instance ? TSimpleTimerHandler::Instance->Window() : nullptr;
}

int TSimpleTimer::RunningCount() { return TSimpleTimerHandler::Instance ? TSimpleTimerHandler::Instance->running : 0; }
