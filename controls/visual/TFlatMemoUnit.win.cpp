#include "controls/visual/TFlatMemoUnit.h"

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
  if (FColors.SetFocused(v)) RedrawBorder();
}
void TFlatMemo::SetColorBorder(TColor v) {
  if (FColors.SetBorder(v)) RedrawBorder();
}
void TFlatMemo::SetColorFlat(TColor v) {
  if (FColors.SetFlat(v)) RedrawBorder();
}
void TFlatMemo::SetFlatParentColor(bool v) {
  if (FColors.SetParentColor(v, this)) RedrawBorder();
}
void TFlatMemo::SetAdvColorFocused(TAdvColors v) {
  if (FColors.SetAdvFocused(v)) RedrawBorder();
}
void TFlatMemo::SetAdvColorBorder(TAdvColors v) {
  if (FColors.SetAdvBorder(v)) RedrawBorder();
}
void TFlatMemo::SetUseAdvColors(bool v) {
  if (FColors.SetUseAdv(v, this)) RedrawBorder();
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
  PublishFlatEditColors(p);
}

}  // namespace Flat
