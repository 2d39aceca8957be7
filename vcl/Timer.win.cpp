#include "vcl/Timer.h"

#include "vcl/Clock.h"
#include "vcl/Exceptions.h"
#include "vcl/WindowHost.h"

#include <algorithm>
#include <unordered_map>

// The live timers of the GUI thread and the hidden window their WM_TIMERs reach.
struct TTimerTable {
  static TTimerTable& Get() {
    static TTimerTable table;
    return table;
  }

  HWND Window() {
    if (!window) window = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    return window;
  }

  UINT_PTR Add(TTimer* timer) {
    // Ids count up and are not reused soon, so a late WM_TIMER of a dead timer
    // cannot fire a new one.
    do {
      if (++next == 0) next = 1;
    } while (live.count(next));
    live[next] = timer;
    return next;
  }

  void WndProc(TMessage& m) {
    if (m.Msg != WM_TIMER) {
      DefaultWindowMessage(window, m);
      return;
    }
    auto it = live.find(m.WParam);
    if (it == live.end()) {
      KillTimer(window, m.WParam);
      return;
    }
    // The handler may free the timer: Tick() does not touch it afterwards.
    it->second->Tick();
  }

  HWND window = nullptr;
  UINT_PTR next = 0;
  std::unordered_map<UINT_PTR, TTimer*> live;
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() { StopTimer(); }

void TTimer::Publish(TPublisher<TTimer>& p) {
  p.Property(L"Enabled", &TTimer::GetEnabled, &TTimer::SetEnabled).Default(true);
  p.Property(L"Interval", &TTimer::GetInterval, &TTimer::SetInterval).Default(1000u);
  p.Property(L"OnTimer", &TTimer::OnTimer);
}

void TTimer::SetEnabled(bool Value) {
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  // OnTimer is bound after Enabled and Interval were read: start now.
  UpdateTimer();
}

void TTimer::StopTimer() {
  if (!FId) return;
  auto& table = TTimerTable::Get();
  KillTimer(table.window, FId);
  table.live.erase(FId);
  FId = 0;
}

void TTimer::UpdateTimer() {
  StopTimer();
  if (!FEnabled || FInterval == 0) return;
  if (ComponentState().Contains(csLoading)) return;
  auto& table = TTimerTable::Get();
  HWND wnd = table.Window();
  const UINT_PTR id = table.Add(this);
  FOnTestClock = &CurrentClock() != &SystemClock();
  FDueMs = ClockNowMs() + FInterval;
  // A test's clock may jump at any moment: look often enough to follow it.
  constexpr unsigned testClockPollMs = 10;
  const unsigned period = FOnTestClock ? std::min(FInterval, testClockPollMs) : FInterval;
  if (!SetTimer(wnd, id, period, nullptr)) {
    table.live.erase(id);
    throw EOutOfResources(L"Not enough timers available");
  }
  FId = id;
}

bool TTimer::AnyDue() {
  const auto& live = TTimerTable::Get().live;
  return std::any_of(live.begin(), live.end(), [](const auto& entry) {
    const TTimer* t = entry.second;
    return t->FOnTestClock && ClockNowMs() >= t->FDueMs;
  });
}

void TTimer::Tick() {
  if (FOnTestClock) {
    const std::uint64_t now = ClockNowMs();
    if (now < FDueMs) return;
    // A jump over several intervals fires once, as coalesced WM_TIMERs do.
    FDueMs = now + FInterval;
  }
  Timer();
}

void TTimer::Timer() {
  // A copy: the handler may free this timer, and the event with it.
  const TNotifyEvent handler = OnTimer;
  if (handler) handler(this);
}

