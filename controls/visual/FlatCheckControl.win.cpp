#include "controls/visual/FlatCheckControl.h"

#include "vcl/Canvas.h"
#include "vcl/Forms.h"

namespace Flat {

TFlatCheckControl::TFlatCheckControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csOpaque;
  SetColor(kFlatDefaultColor);
  SetParentColor(true);
  SetParentFont(true);
  SetBounds(0, 0, 121, 17);
}

TFlatCheckControl::~TFlatCheckControl() = default;

void TFlatCheckControl::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}
void TFlatCheckControl::SetColorFocused(TColor v) {
  FColorFocused = v;
  Invalidate();
}
void TFlatCheckControl::SetColorDown(TColor v) {
  FColorDown = v;
  Invalidate();
}
void TFlatCheckControl::SetColorMark(TColor v) {
  FColorMark = v;
  Invalidate();
}
void TFlatCheckControl::SetColorBorder(TColor v) {
  FColorBorder = v;
  Invalidate();
}
void TFlatCheckControl::SetAdvColorFocused(TAdvColors v) {
  FAdvColorFocused = std::min(v, kMaxAdvColors);
  RecomputeColors();
  Invalidate();
}
void TFlatCheckControl::SetAdvColorDown(TAdvColors v) {
  FAdvColorDown = std::min(v, kMaxAdvColors);
  RecomputeColors();
  Invalidate();
}
void TFlatCheckControl::SetAdvColorBorder(TAdvColors v) {
  FAdvColorBorder = std::min(v, kMaxAdvColors);
  RecomputeColors();
  Invalidate();
}
void TFlatCheckControl::SetUseAdvColors(bool v) {
  if (v == FUseAdvColors) return;
  FUseAdvColors = v;
  SetParentColor(v);
  RecomputeColors();
  Invalidate();
}
void TFlatCheckControl::SetRightLayout(bool v) {
  FRightLayout = v;
  Invalidate();
}

void TFlatCheckControl::RecomputeColors() {
  if (!FUseAdvColors) return;
  FColorFocused = AdjustColorLightness(GetColor(), FColorFocused, FAdvColorFocused, TColorCalcType::Lighten);
  FColorDown = AdjustColorLightness(GetColor(), FColorDown, FAdvColorDown, TColorCalcType::Darken);
  FColorBorder = AdjustColorLightness(GetColor(), FColorBorder, FAdvColorBorder, TColorCalcType::Darken);
}

TColor TFlatCheckControl::IndicatorFill() const {
  if ((FFocused || FMouseIn) && FMouseDown) return FColorDown;
  if (FFocused || FMouseIn) return FColorFocused;
  return GetColor();
}

void TFlatCheckControl::RedrawIndicator() {
  // Drawing on the canvas outside a paint would create the window: before the
  // window exists, or while hidden, the next paint shows the state.
  if (!HandleAllocated() || !GetVisible()) {
    Invalidate();
    return;
  }
  TControlCanvas* canvas = GetCanvas();
  DrawIndicator(canvas);
  canvas->FreeHandle();
}

void TFlatCheckControl::Paint() {
  const TRect client = GetClientRect();
  TCanvas* c = FBuffer.Begin(GetCanvas()->GetHandle(), client);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(client);
  if (FTransparent) PaintParentBehind(this, c);
  DrawIndicator(c);

  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  TRect text = FRightLayout ? TRect{client.Left + 1, client.Top + 1, client.Right - 16, client.Bottom - 1}
                            : TRect{client.Left + 16, client.Top + 1, client.Right - 1, client.Bottom - 1};
  const UINT flags = DT_WORDBREAK | (FRightLayout ? DT_RIGHT : 0);
  const std::wstring caption = GetCaption();
  if (GetEnabled()) {
    c->DrawText(caption, text, flags);
  } else {
    TRect moved{text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1};
    c->GetFont()->SetColor(clBtnHighlight);
    c->DrawText(caption, moved, flags);
    c->GetFont()->SetColor(clBtnShadow);
    c->DrawText(caption, text, flags);
  }
  FBuffer.End();
}

void TFlatCheckControl::MouseEnter() {
  if (GetEnabled() && !FMouseIn) {
    FMouseIn = true;
    RedrawIndicator();
  }
}

void TFlatCheckControl::MouseLeave() {
  // While the button is held the hover look stays until the release.
  if (!GetEnabled() || !FMouseIn || FMouseDown) return;
  FMouseIn = false;
  HoverTimer().Stop(this);
  RedrawIndicator();
}

void TFlatCheckControl::HoverTick() {
  if (ControlUnderCursor() != this) MouseLeave();
}

void TFlatCheckControl::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  THoverTimer& hover = HoverTimer();
  if (ControlUnderPoint(ClientToScreen({x, y})) != this || hover.Watched() == this) return;
  if (auto* old = dynamic_cast<TFlatCheckControl*>(hover.Watched())) old->MouseLeave();
  if (!Application->GetActive()) return;
  hover.Watch(this, [this] { HoverTick(); });
  MouseEnter();
}

void TFlatCheckControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && GetEnabled()) {
    if (CanFocus()) SetFocus();
    FMouseDown = true;
    RedrawIndicator();
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TFlatCheckControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && GetEnabled()) {
    FMouseDown = false;
    ReleasedAt(x, y);
    RedrawIndicator();
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TFlatCheckControl::DoEnter() {
  TCustomControl::DoEnter();
  FFocused = true;
  RedrawIndicator();
}

void TFlatCheckControl::DoExit() {
  TCustomControl::DoExit();
  FFocused = false;
  RedrawIndicator();
}

void TFlatCheckControl::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (!GetEnabled()) {
    FMouseIn = false;
    FMouseDown = false;
    HoverTimer().Stop(this);
  }
  Invalidate();
}

void TFlatCheckControl::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatCheckControl::CNCommand(TMessage& m) {
  if (HIWORD(m.WParam) == 0) Click();
}

void TFlatCheckControl::WMSetFocus(TMessage& m) {
  QORN_INHERITED(m);
  if (GetEnabled()) {
    FFocused = true;
    RedrawIndicator();
  }
}

void TFlatCheckControl::WMKillFocus(TMessage& m) {
  QORN_INHERITED(m);
  if (GetEnabled()) {
    FMouseIn = false;
    FFocused = false;
    RedrawIndicator();
  }
}

void TFlatCheckControl::CMSysColorChange(TMessage& m) {
  (void)m;
  if (FUseAdvColors) {
    SetParentColor(true);
    RecomputeColors();
  }
  Invalidate();
}

void TFlatCheckControl::CMParentColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  CMSysColorChange(m);
}

void TFlatCheckControl::WMSizeOrMove(TMessage& m) {
  QORN_INHERITED(m);
  if (FTransparent) Invalidate();
}

void TFlatCheckControl::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TFlatCheckControl::Publish(TPublisher<TFlatCheckControl>& p) {
  p.Message(CM_ENABLEDCHANGED, &TFlatCheckControl::CMEnabledChanged);
  p.Message(CM_TEXTCHANGED, &TFlatCheckControl::CMTextChanged);
  p.Message(CN_COMMAND, &TFlatCheckControl::CNCommand);
  p.Message(WM_SETFOCUS, &TFlatCheckControl::WMSetFocus);
  p.Message(WM_KILLFOCUS, &TFlatCheckControl::WMKillFocus);
  p.Message(CM_SYSCOLORCHANGE, &TFlatCheckControl::CMSysColorChange);
  p.Message(CM_PARENTCOLORCHANGED, &TFlatCheckControl::CMParentColorChanged);
  p.Message(WM_SIZE, &TFlatCheckControl::WMSizeOrMove);
  p.Message(WM_MOVE, &TFlatCheckControl::WMSizeOrMove);
  p.Message(WM_ERASEBKGND, &TFlatCheckControl::WMEraseBkgnd);
  p.Property(L"Caption", &TFlatCheckControl::GetCaption, &TFlatCheckControl::SetCaption);
  p.Property(L"Transparent", &TFlatCheckControl::GetTransparent, &TFlatCheckControl::SetTransparent).Default(false);
  p.Property(L"ColorFocused", &TFlatCheckControl::GetColorFocused, &TFlatCheckControl::SetColorFocused)
      .Default(clWhite)
      .Idents(ColorIdents);
  p.Property(L"ColorDown", &TFlatCheckControl::GetColorDown, &TFlatCheckControl::SetColorDown)
      .Default(0xC5D6D9)
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &TFlatCheckControl::GetColorBorder, &TFlatCheckControl::SetColorBorder)
      .Default(0x8396A0)
      .Idents(ColorIdents);
  p.Property(L"AdvColorFocused", &TFlatCheckControl::GetAdvColorFocused, &TFlatCheckControl::SetAdvColorFocused)
      .Default(10);
  p.Property(L"AdvColorDown", &TFlatCheckControl::GetAdvColorDown, &TFlatCheckControl::SetAdvColorDown).Default(10);
  p.Property(L"AdvColorBorder", &TFlatCheckControl::GetAdvColorBorder, &TFlatCheckControl::SetAdvColorBorder)
      .Default(50);
  p.Property(L"UseAdvColors", &TFlatCheckControl::GetUseAdvColors, &TFlatCheckControl::SetUseAdvColors)
      .Default(false);
}

}  // namespace Flat
