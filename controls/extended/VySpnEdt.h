// TVyRapidFireButton: a speed button that keeps clicking while it is held down (first
// after InitialDelay, then every Delay milliseconds, on the program's clock), and that
// can show a standard scroll arrow as its glyph. The outlook-style groups of the group
// bar scroll their items with two of them.
#pragma once
#include "vcl/Buttons.h"
#include "vcl/Timer.h"

#include <memory>

namespace Vy {

QORN_ENUM(TVyScrollStyle, scsNone, scsLeft, scsUp, scsRight, scsDown);

class TVyRapidFireButton : public TSpeedButton {
  QORN_CLASS(TVyRapidFireButton, TSpeedButton)
 public:
  explicit TVyRapidFireButton(TComponent* AOwner);
  ~TVyRapidFireButton() override;

  WORD GetDelay() const { return FDelay; }
  void SetDelay(WORD v) { FDelay = v; }
  WORD GetInitialDelay() const { return FInitialDelay; }
  void SetInitialDelay(WORD v) { FInitialDelay = v; }
  TVyScrollStyle GetScrollStyle() const { return FScrollStyle; }
  // Rebuilds the arrow glyph from the system's scroll-bar button, pushed while the
  // button is Down and greyed while it is disabled.
  void SetScrollStyle(TVyScrollStyle v);
  // The repeat timer: made on the first press, running only while the button is held.
  TTimer* GetRepeatTimer() const { return FRepeatTimer.get(); }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Paint() override;

 private:
  static void Publish(TPublisher<TVyRapidFireButton>& p);
  void TimerExpired(TObject*);
  void BuildScrollGlyph();

  WORD FDelay = 100;
  WORD FInitialDelay = 400;
  TVyScrollStyle FScrollStyle = scsNone;
  bool FRepeating = true;
  bool FFocusRect = false;
  std::unique_ptr<TTimer> FRepeatTimer;
};

}  // namespace Vy
