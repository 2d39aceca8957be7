#include "core/mainwindow/NamedTimers.h"

#include "vcl/ScopeGuards.h"
#include "vcl/Timer.h"

TNamedTimers::TNamedTimers(TComponent* owner) : owner_(owner) {}

TNamedTimers::~TNamedTimers() = default;

int TNamedTimers::Find(const std::wstring& name) const {
  for (int i = 0; i < SlotCount; ++i)
    if (slots_[i].busy && slots_[i].name == name) return i;
  return -1;
}

bool TNamedTimers::Timers_Add(const std::wstring& name, int intervalMs, TCallback callback) {
  for (int i = 0; i < SlotCount; ++i) {
    TSlot& s = slots_[i];
    if (s.busy) continue;
    s.name = name;
    s.busy = true;
    s.callback = std::make_shared<TCallback>(std::move(callback));
    s.timer = std::make_unique<TTimer>(owner_);
    s.timer->SetEnabled(false);
    s.timer->SetInterval(intervalMs > 0 ? static_cast<unsigned>(intervalMs) : 1u);
    s.timer->SetTag(i + 1);
    s.timer->OnTimer = TNotifyEvent(this, &TNamedTimers::Timers_OnTimer);
    s.timer->SetEnabled(true);
    return true;
  }
  return false;
}

void TNamedTimers::Timers_Del(const std::wstring& name) {
  const int i = Find(name);
  if (i < 0) return;
  TSlot& s = slots_[i];
  s.timer->SetEnabled(false);
  s.timer->OnTimer = nullptr;
  if (running_ > 0) retired_.push_back(std::move(s.timer));
  s = TSlot{};  // frees a timer no callback runs on
}

bool TNamedTimers::Timers_IsActive(const std::wstring& name) const { return Find(name) >= 0; }

void TNamedTimers::Timers_OnTimer(TObject* sender) {
  auto* timer = static_cast<TTimer*>(sender);
  const auto slot = timer->Tag() - 1;
  if (slot < 0 || slot >= SlotCount || slots_[slot].timer.get() != timer) return;
  // Our own reference: the slot may be cleared or taken again during the call.
  const std::shared_ptr<TCallback> callback = slots_[slot].callback;
  ++running_;
  const TOnExit returned([this] {
    if (--running_ == 0) retired_.clear();
  });
  if (callback && *callback) (*callback)();
}
