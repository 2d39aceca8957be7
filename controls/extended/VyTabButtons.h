// The two small buttons of the page control's tab strip: a pair of arrows that scrolls a
// row of tabs too long for the strip, and a close button at the row's end. Both capture
// the mouse while pressed and fire only when released over the half (or button) that was
// pressed, so sliding off cancels a click.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/Controls.h"

#include <functional>

namespace Vy {

class TVyTabScroller : public TCustomControl {
  QORN_CLASS(TVyTabScroller, TCustomControl)
 public:
  explicit TVyTabScroller(TComponent* AOwner);

  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v);
  TOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TOrientation v);

  // Whether the arrow of a half may be pressed: half 0 is the left (or bottom) button,
  // half 1 the right (or top) one. The strip answers from its scroll state.
  std::function<bool(int half)> HalfEnabled;
  TNotifyEvent OnUpRightClick;
  TNotifyEvent OnDownLeftClick;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  static void Publish(TPublisher<TVyTabScroller>& p);
  bool InPressedHalf(int x, int y) const;

  TColor FFrameColor = clBtnShadow;
  TOrientation FOrientation = orHorizontal;
  bool FTracking = false;
  bool FDown = false;
  int FPressedHalf = 0;
};

class TVyTabCloseButton : public TCustomControl {
  QORN_CLASS(TVyTabCloseButton, TCustomControl)
 public:
  explicit TVyTabCloseButton(TComponent* AOwner);

  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v);
  // Drawn inactive while the strip has no selected tab; a click still fires.
  std::function<bool()> Active;
  TNotifyEvent OnClose;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  static void Publish(TPublisher<TVyTabCloseButton>& p);

  TColor FFrameColor = clBtnShadow;
  bool FTracking = false;
  bool FDown = false;
};

enum class TVyArrowDirection { adLeft, adRight, adUp, adDown };
// A small filled triangle pointing one way, centred in rect; grey when disabled and
// one pixel further right and down when pressed.
void PaintDirectionArrow(TCanvas* canvas, const TRect& rect, bool enabled, bool pressed, TVyArrowDirection direction);

}  // namespace Vy
