// THintWindow: the small topmost box that shows a hint. The application shows
// its hints in one (vcl/Forms.h: HintPause, OnShowHint, CM_HINTSHOW...); controls
// that show hints of their own make one and drive it themselves:
//
//   TRect r = hint->CalcHintRect(300, L"Row 3 of 10", nullptr);
//   OffsetRect(r, cursor.X, cursor.Y + 20);
//   hint->ActivateHint(r, L"Row 3 of 10");
//   ...
//   hint->ReleaseHandle();   // gone until the next ActivateHint
//
// The window never takes the activation or the mouse: clicks fall through to the
// window below it.
#pragma once

#include "vcl/Controls.h"

#include <string>

class THintWindow : public TCustomControl {
  QORN_CLASS(THintWindow, TCustomControl)
  static void Publish(TPublisher<THintWindow>& p);
 public:
  explicit THintWindow(TComponent* AOwner);
  // The client area the text needs, at most maxWidth wide, at (0, 0).
  virtual TRect CalcHintRect(int maxWidth, const std::wstring& hint, void* data);
  // Shows the hint with its client area at rect (screen coordinates, as given by
  // CalcHintRect and moved), kept inside the work area of its monitor: topmost,
  // without activation.
  virtual void ActivateHint(TRect rect, const std::wstring& hint);
  virtual void ActivateHintData(TRect rect, const std::wstring& hint, void*) { ActivateHint(rect, hint); }
  // Hides the hint by freeing its window.
  void ReleaseHandle() { DestroyHandle(); }
  bool IsHintShown() const { return WindowHandle() && IsWindowVisible(WindowHandle()); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // Clicks fall through to the window below, and showing never activates.
  void WMNCHitTest(TMessage& m) { m.Result = HTTRANSPARENT; }
  void WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }
  // Shows the window with these bounds (screen coordinates): topmost, without
  // activation; for hint windows that place themselves.
  void ShowHintWindow(const TRect& bounds);
};

// A rectangle moved (not resized, unless it is larger) to lie inside the work
// area; when it would then cover the point (the cursor), it goes above it.
TRect KeepHintInside(TRect rect, const TRect& workArea, TPoint cursor);
