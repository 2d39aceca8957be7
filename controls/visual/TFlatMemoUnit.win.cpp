#include "controls/visual/TFlatMemoUnit.h"

#include <algorithm>

#include "vcl/Forms.h"

namespace Flat {

TFlatMemo::TFlatMemo(TComponent* AOwner) : TCustomMemo(AOwner) {
  SetParentFont(true);
  SetBorderStyle(bsNone);
  SetBounds(0, 0, 185, 89);
}

void TFlatMemo::CreateParams(TCreateParams& params) {
  TCustomMemo::CreateParams(params);
  params.ExStyle &= ~WS_EX_CLIENTEDGE;
  params.Style &= ~WS_BORDER;
}

void TFlatMemo::SetColorFocused(TColor v) {
  if (v == FColors.Focused) return;
  FColors.Focused = v;
  RedrawBorder();
}
void TFlatMemo::SetColorBorder(TColor v) {
  if (v == FColors.Border) return;
  FColors.Border = v;
  RedrawBorder();
}
void TFlatMemo::SetColorFlat(TColor v) {
  if (v == FColors.Flat && !FColors.ParentColor) return;
  FColors.Flat = v;
  FColors.ParentColor = false;
  RedrawBorder();
}
void TFlatMemo::SetFlatParentColor(bool v) {
  if (v == FColors.ParentColor) return;
  FColors.ParentColor = v;
  if (v) {
    if (GetParent()) FColors.Flat = GetParent()->GetColor();
    RedrawBorder();
  }
}
void TFlatMemo::SetAdvColorFocused(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FColors.AdvFocused) return;
  FColors.AdvFocused = v;
  if (!FColors.UseAdv) return;
  FColors.Recompute();
  RedrawBorder();
}
void TFlatMemo::SetAdvColorBorder(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FColors.AdvBorder) return;
  FColors.AdvBorder = v;
  if (!FColors.UseAdv) return;
  FColors.Recompute();
  RedrawBorder();
}
void TFlatMemo::SetUseAdvColors(bool v) {
  if (v == FColors.UseAdv) return;
  FColors.UseAdv = v;
  SetFlatParentColor(v);
  FColors.Recompute();
  RedrawBorder();
}

bool TFlatMemo::ShowsActiveLook() const {
  if (Focused()) return true;
  return FMouseIn && !FocusIsA<TFlatMemo>();
}

void TFlatMemo::RedrawBorder() {
  DrawFlatEditFrame(this, FColors, ShowsActiveLook(), GetScrollBars() == ssBoth);
}

void TFlatMemo::WMNCCalcSize(TMessage& m) {
  QORN_INHERITED(m);
  ShrinkForFlatEditFrame(m);
}

void TFlatMemo::WMNCPaint(TMessage& m) {
  QORN_INHERITED(m);
  RedrawBorder();
}

void TFlatMemo::WMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  RedrawBorder();
}

void TFlatMemo::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (!Application->GetActive()) return;
  FMouseIn = true;
  RedrawBorder();
}

void TFlatMemo::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  FMouseIn = false;
  RedrawBorder();
}

void TFlatMemo::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  RedrawBorder();
}

void TFlatMemo::CMColorsFollow(TMessage& m) {
  (void)m;
  FColors.ParentChanged(this);
  RedrawBorder();
}

void TFlatMemo::Loaded() {
  TCustomMemo::Loaded();
  FColors.ParentChanged(this);
}

void TFlatMemo::Publish(TPublisher<TFlatMemo>& p) {
  p.Message(WM_NCCALCSIZE, &TFlatMemo::WMNCCalcSize);
  p.Message(WM_NCPAINT, &TFlatMemo::WMNCPaint);
  p.Message(WM_SETFOCUS, &TFlatMemo::WMFocusChanged);
  p.Message(WM_KILLFOCUS, &TFlatMemo::WMFocusChanged);
  p.Message(CM_MOUSEENTER, &TFlatMemo::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &TFlatMemo::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &TFlatMemo::CMEnabledChanged);
  p.Message(CM_SYSCOLORCHANGE, &TFlatMemo::CMColorsFollow);
  p.Message(CM_PARENTCOLORCHANGED, &TFlatMemo::CMColorsFollow);
  p.Property(L"ColorFocused", &TFlatMemo::GetColorFocused, &TFlatMemo::SetColorFocused)
      .Default(clWhite)
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &TFlatMemo::GetColorBorder, &TFlatMemo::SetColorBorder)
      .Default(0x8396A0)
      .Idents(ColorIdents);
  p.Property(L"ColorFlat", &TFlatMemo::GetColorFlat, &TFlatMemo::SetColorFlat)
      .Default(kFlatDefaultColor)
      .Idents(ColorIdents);
  // On by default, as a new control is: a form that turned it off says so.
  p.Property(L"ParentColor", &TFlatMemo::GetFlatParentColor, &TFlatMemo::SetFlatParentColor)
      .Default(true);
  p.Property(L"AdvColorFocused", &TFlatMemo::GetAdvColorFocused, &TFlatMemo::SetAdvColorFocused)
      .Default(10);
  p.Property(L"AdvColorBorder", &TFlatMemo::GetAdvColorBorder, &TFlatMemo::SetAdvColorBorder)
      .Default(50);
  p.Property(L"UseAdvColors", &TFlatMemo::GetUseAdvColors, &TFlatMemo::SetUseAdvColors)
      .Default(false);
}

}  // namespace Flat
