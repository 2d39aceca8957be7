#include "controls/visual/TFlatEditUnit.h"

#include <algorithm>

#include "vcl/Forms.h"

namespace Flat {

TCustomFlatEdit::TCustomFlatEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetParentFont(true);
  SetAutoSize(false);
  SetBorderStyle(bsNone);
  SetBounds(0, 0, 121, 19);
}

void TCustomFlatEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.ExStyle &= ~WS_EX_CLIENTEDGE;
  params.Style &= ~WS_BORDER;
}

void TCustomFlatEdit::SetColorFocused(TColor v) {
  if (v == FColors.Focused) return;
  FColors.Focused = v;
  RedrawBorder();
}
void TCustomFlatEdit::SetColorBorder(TColor v) {
  if (v == FColors.Border) return;
  FColors.Border = v;
  RedrawBorder();
}
void TCustomFlatEdit::SetColorFlat(TColor v) {
  if (v == FColors.Flat && !FColors.ParentColor) return;
  FColors.Flat = v;
  FColors.ParentColor = false;
  RedrawBorder();
}
void TCustomFlatEdit::SetFlatParentColor(bool v) {
  if (v == FColors.ParentColor) return;
  FColors.ParentColor = v;
  if (v) {
    if (GetParent()) FColors.Flat = GetParent()->GetColor();
    RedrawBorder();
  }
}
void TCustomFlatEdit::SetAdvColorFocused(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FColors.AdvFocused) return;
  FColors.AdvFocused = v;
  if (!FColors.UseAdv) return;
  FColors.Recompute();
  RedrawBorder();
}
void TCustomFlatEdit::SetAdvColorBorder(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FColors.AdvBorder) return;
  FColors.AdvBorder = v;
  if (!FColors.UseAdv) return;
  FColors.Recompute();
  RedrawBorder();
}
void TCustomFlatEdit::SetUseAdvColors(bool v) {
  if (v == FColors.UseAdv) return;
  FColors.UseAdv = v;
  SetFlatParentColor(v);
  FColors.Recompute();
  RedrawBorder();
}

bool TCustomFlatEdit::ShowsActiveLook() const {
  if (Focused()) return true;
  return FMouseIn && !FocusIsA<TFlatEdit>();
}

void TCustomFlatEdit::RedrawBorder() { DrawFlatEditFrame(this, FColors, ShowsActiveLook(), false); }

void TCustomFlatEdit::WMNCCalcSize(TMessage& m) {
  QORN_INHERITED(m);
  ShrinkForFlatEditFrame(m);
}

void TCustomFlatEdit::WMNCPaint(TMessage& m) {
  QORN_INHERITED(m);
  RedrawBorder();
}

void TCustomFlatEdit::WMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  RedrawBorder();
}

void TCustomFlatEdit::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (!Application->GetActive()) return;
  FMouseIn = true;
  RedrawBorder();
}

void TCustomFlatEdit::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  FMouseIn = false;
  RedrawBorder();
}

void TCustomFlatEdit::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  RedrawBorder();
}

void TCustomFlatEdit::CMColorsFollow(TMessage& m) {
  (void)m;
  FColors.ParentChanged(this);
  RedrawBorder();
}

void TCustomFlatEdit::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  AdjustHeight();
}

void TCustomFlatEdit::Loaded() {
  TCustomEdit::Loaded();
  FColors.ParentChanged(this);
  AdjustHeight();
}

void TCustomFlatEdit::AdjustHeight() {
  // While reading, the font and the height stored beside it may still come: the
  // end of loading sets the height once.
  if (ComponentState().Contains(csLoading)) return;
  SetHeight(GetFontTextMetrics(GetFont()).tmHeight + 2 * kFlatEditBorder);
}

void TCustomFlatEdit::Publish(TPublisher<TCustomFlatEdit>& p) {
  p.Message(WM_NCCALCSIZE, &TCustomFlatEdit::WMNCCalcSize);
  p.Message(WM_NCPAINT, &TCustomFlatEdit::WMNCPaint);
  p.Message(WM_SETFOCUS, &TCustomFlatEdit::WMFocusChanged);
  p.Message(WM_KILLFOCUS, &TCustomFlatEdit::WMFocusChanged);
  p.Message(CM_MOUSEENTER, &TCustomFlatEdit::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &TCustomFlatEdit::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &TCustomFlatEdit::CMEnabledChanged);
  p.Message(CM_SYSCOLORCHANGE, &TCustomFlatEdit::CMColorsFollow);
  p.Message(CM_PARENTCOLORCHANGED, &TCustomFlatEdit::CMColorsFollow);
  p.Message(CM_FONTCHANGED, &TCustomFlatEdit::CMFontChanged);
  p.Property(L"ColorFocused", &TCustomFlatEdit::GetColorFocused, &TCustomFlatEdit::SetColorFocused)
      .Default(clWhite)
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &TCustomFlatEdit::GetColorBorder, &TCustomFlatEdit::SetColorBorder)
      .Default(0x8396A0)
      .Idents(ColorIdents);
  p.Property(L"ColorFlat", &TCustomFlatEdit::GetColorFlat, &TCustomFlatEdit::SetColorFlat)
      .Default(kFlatDefaultColor)
      .Idents(ColorIdents);
  // On by default, as a new control is: a form that turned it off says so.
  p.Property(L"ParentColor", &TCustomFlatEdit::GetFlatParentColor, &TCustomFlatEdit::SetFlatParentColor)
      .Default(true);
  p.Property(L"AdvColorFocused", &TCustomFlatEdit::GetAdvColorFocused, &TCustomFlatEdit::SetAdvColorFocused)
      .Default(10);
  p.Property(L"AdvColorBorder", &TCustomFlatEdit::GetAdvColorBorder, &TCustomFlatEdit::SetAdvColorBorder)
      .Default(50);
  p.Property(L"UseAdvColors", &TCustomFlatEdit::GetUseAdvColors, &TCustomFlatEdit::SetUseAdvColors)
      .Default(false);
}

}  // namespace Flat
