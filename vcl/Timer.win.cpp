#include "vcl/Timer.h"

#include "vcl/Exceptions.h"
#include "vcl/WindowHost.h"

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
    // The handler may free the timer: Timer() does not touch it afterwards.
    it->second->Timer();
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
  if (!SetTimer(wnd, id, FInterval, nullptr)) {
    table.live.erase(id);
    throw EOutOfResources(L"Not enough timers available");
  }
  FId = id;
}

void TTimer::Timer() {
  // A copy: the handler may free this timer, and the event with it.
  const TNotifyEvent handler = OnTimer;
  if (handler) handler(this);
}

