#include "controls/visual/FlatHoverTimer.h"

#include "vcl/Controls.h"

namespace Flat {

void THoverTimer::AddInstance() {
  if (instances_++ == 0) {
    timer_ = std::make_unique<TTimer>(nullptr);
    timer_->SetEnabled(false);
    timer_->SetInterval(kIntervalMs);
    timer_->OnTimer = [this](TObject*) {
      // The tick may stop the watch: keep the handler alive while it runs.
      if (watched_ && tick_) {
        auto tick = tick_;
        tick();
      }
    };
  }
}

void THoverTimer::RemoveInstance(TControl* control) {
  Stop(control);
  if (--instances_ == 0) {
    timer_.reset();
    watched_ = nullptr;
    tick_ = nullptr;
  }
}

void THoverTimer::Watch(TControl* control, std::function<void()> tick) {
  if (!timer_) return;
  timer_->SetEnabled(false);
  watched_ = control;
  tick_ = std::move(tick);
  timer_->SetEnabled(true);
}

void THoverTimer::Stop(TControl* control) {
  if (!control || watched_ != control) return;
  if (timer_) timer_->SetEnabled(false);
  watched_ = nullptr;
  tick_ = nullptr;
}

TControl* ControlUnderPoint(TPoint screen) { return FindDragTarget(screen, true); }

TControl* ControlUnderCursor() {
  POINT p{};
  GetCursorPos(&p);
  return ControlUnderPoint({p.x, p.y});
}

}  // namespace Flat
