// TVyBorder: a windowless control that draws only the bevelled border (outer style,
// border band, inner style) around its area; its client rectangle is what lies inside.
// It fills nothing, so its corners and inside show what lies behind it.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/Controls.h"

namespace Vy {

class TVyBorder : public TGraphicControl {
  QORN_CLASS(TVyBorder, TGraphicControl)
 public:
  explicit TVyBorder(TComponent* AOwner);

  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v) { Change(FBevelWidth, v); }
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v) { Change(FBorderWidth, v); }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Change(FBorderColor, v); }
  TColor GetBorderHighlight() const { return FBorderHighlight; }
  void SetBorderHighlight(TColor v) { Change(FBorderHighlight, v); }
  TColor GetBorderShadow() const { return FBorderShadow; }
  void SetBorderShadow(TColor v) { Change(FBorderShadow, v); }
  TFrameStyleEx GetBorderInner() const { return FBorderInner; }
  void SetBorderInner(TFrameStyleEx v) { Change(FBorderInner, v); }
  TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
  void SetBorderOuter(TFrameStyleEx v) { Change(FBorderOuter, v); }
  TSides GetBorderSides() const { return FBorderSides; }
  void SetBorderSides(TSides v) { Change(FBorderSides, v); }
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v) { Change(FFlatColor, v); }
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v) { Change(FFlatColorAdjustment, v); }

  // The area inside the border; (0, 0, 0, 0) when the border leaves nothing.
  TRect GetClientRect() const override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

 protected:
  void Paint() override;
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);

 private:
  static void Publish(TPublisher<TVyBorder>& p);
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }

  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TColor FBorderColor = clBtnFace;
  TColor FBorderHighlight = clBtnHighlight;
  TColor FBorderShadow = clBtnShadow;
  TFrameStyleEx FBorderInner = fsNone;
  TFrameStyleEx FBorderOuter = fsGroove;
  TSides FBorderSides = AllSides;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
};

// The rectangle inside a border of these styles, band and sides; (0, 0, 0, 0) when
// nothing is left.
TRect ShrinkByBorder(TRect rect, TFrameStyleEx outer, TFrameStyleEx inner, TSides sides, int bevelWidth,
                     int borderWidth);

}  // namespace Vy
