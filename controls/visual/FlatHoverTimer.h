// The hover timer of one flat control class: every 100 ms it asks the control
// whose hover it watches whether the cursor has left it. The platform's mouse
// leave does not reach a control that never had the capture, so the flat
// controls poll. The first control of the class creates the timer, the last one
// frees it; a control that goes away stops being watched.
#pragma once
#include <functional>
#include <memory>

#include "vcl/Timer.h"
#include "vcl/Types.h"

class TControl;

namespace Flat {

class THoverTimer {
 public:
  static constexpr unsigned kIntervalMs = 100;

  void AddInstance();
  void RemoveInstance(TControl* control);
  // Watches control from now on: tick runs at each interval while it is watched.
  void Watch(TControl* control, std::function<void()> tick);
  // Stops watching control (nothing when another one is watched).
  void Stop(TControl* control);
  TControl* Watched() const { return watched_; }
  bool Running() const { return timer_ && timer_->GetEnabled() && watched_; }

 private:
  std::unique_ptr<TTimer> timer_;
  TControl* watched_ = nullptr;  // not owned
  std::function<void()> tick_;
  int instances_ = 0;
};

// The control under a screen point, disabled ones included.
TControl* ControlUnderPoint(TPoint screen);
// The control under the cursor now.
TControl* ControlUnderCursor();

}  // namespace Flat
