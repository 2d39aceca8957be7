#include "controls/extended/VyBorder.h"

namespace Vy {

TRect ShrinkByBorder(TRect r, TFrameStyleEx outer, TFrameStyleEx inner, TSides sides, int bevelWidth,
                     int borderWidth) {
  InflateRect(r, -borderWidth, -borderWidth);
  for (TFrameStyleEx style : {outer, inner}) {
    const int by = style == fsFlatRounded || style == fsFlatBold ? 2 : FrameStyleWidth(style, bevelWidth);
    if (sides.Contains(sdLeft)) r.Left += by;
    if (sides.Contains(sdTop)) r.Top += by;
    if (sides.Contains(sdRight)) r.Right -= by;
    if (sides.Contains(sdBottom)) r.Bottom -= by;
  }
  if (r.Bottom < r.Top || r.Right < r.Left) return {};
  return r;
}

TVyBorder::TVyBorder(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Exclude(csOpaque);
  SetBounds(0, 0, 50, 50);
}

void TVyBorder::Publish(TPublisher<TVyBorder>& p) {
  p.Message(CM_MOUSEENTER, &TVyBorder::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &TVyBorder::CMMouseLeave);
  p.Property(L"BevelWidth", &TVyBorder::GetBevelWidth, &TVyBorder::SetBevelWidth).Default(1);
  p.Property(L"BorderWidth", &TVyBorder::GetBorderWidth, &TVyBorder::SetBorderWidth).Default(0);
  p.Property(L"BorderColor", &TVyBorder::GetBorderColor, &TVyBorder::SetBorderColor)
      .Default(clBtnFace)
      .Idents(ColorIdents);
  p.Property(L"BorderHighlight", &TVyBorder::GetBorderHighlight, &TVyBorder::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"BorderShadow", &TVyBorder::GetBorderShadow, &TVyBorder::SetBorderShadow)
      .Default(clBtnShadow)
      .Idents(ColorIdents);
  p.Property(L"BorderInner", &TVyBorder::GetBorderInner, &TVyBorder::SetBorderInner).Default(fsNone);
  p.Property(L"BorderOuter", &TVyBorder::GetBorderOuter, &TVyBorder::SetBorderOuter).Default(fsGroove);
  p.Property(L"BorderSides", &TVyBorder::GetBorderSides, &TVyBorder::SetBorderSides).Default(AllSides);
  p.Property(L"FlatColor", &TVyBorder::GetFlatColor, &TVyBorder::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &TVyBorder::GetFlatColorAdjustment, &TVyBorder::SetFlatColorAdjustment)
      .Default(30);
  p.Property(L"OnMouseEnter", &TVyBorder::OnMouseEnter);
  p.Property(L"OnMouseLeave", &TVyBorder::OnMouseLeave);
}

TRect TVyBorder::GetClientRect() const {
  return ShrinkByBorder(TGraphicControl::GetClientRect(), FBorderOuter, FBorderInner, FBorderSides, FBevelWidth,
                        FBorderWidth);
}

void TVyBorder::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TVyBorder::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TVyBorder::Paint() {
  TBevelBorder b;
  b.Outer = FBorderOuter;
  b.Inner = FBorderInner;
  b.CutCorners = false;
  b.TransparentCorners = true;
  b.ParentColor = GetParent() ? GetParent()->GetColor() : GetColor();
  b.ControlColor = GetColor();
  b.FlatColorAdjustment = FFlatColorAdjustment;
  b.FlatColor = FFlatColor;
  b.ShadowColor = FBorderShadow;
  b.HighlightColor = FBorderHighlight;
  b.BorderColor = FBorderColor;
  b.BevelWidth = FBevelWidth;
  b.Sides = FBorderSides;
  b.BorderWidth = FBorderWidth;
  // The canvas is clipped to the control, so a border larger than a tiny control
  // (inverted rectangles inside) never draws over its neighbours.
  PaintBevelBorder(GetCanvas(), Rect(0, 0, GetWidth(), GetHeight()), b);
}

}  // namespace Vy
