#include "controls/visual/TFlatEditUnit.h"

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
  if (FColors.SetFocused(v)) RedrawBorder();
}
void TCustomFlatEdit::SetColorBorder(TColor v) {
  if (FColors.SetBorder(v)) RedrawBorder();
}
void TCustomFlatEdit::SetColorFlat(TColor v) {
  if (FColors.SetFlat(v)) RedrawBorder();
}
void TCustomFlatEdit::SetFlatParentColor(bool v) {
  if (FColors.SetParentColor(v, this)) RedrawBorder();
}
void TCustomFlatEdit::SetAdvColorFocused(TAdvColors v) {
  if (FColors.SetAdvFocused(v)) RedrawBorder();
}
void TCustomFlatEdit::SetAdvColorBorder(TAdvColors v) {
  if (FColors.SetAdvBorder(v)) RedrawBorder();
}
void TCustomFlatEdit::SetUseAdvColors(bool v) {
  if (FColors.SetUseAdv(v, this)) RedrawBorder();
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
  PublishFlatEditColors(p);
}

}  // namespace Flat
