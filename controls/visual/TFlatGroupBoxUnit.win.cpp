#include "controls/visual/TFlatGroupBoxUnit.h"

#include <algorithm>

#include "vcl/Canvas.h"
#include "vcl/StdCtrls.h"

namespace Flat {

TFlatGroupBox::TFlatGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csAcceptsControls << csOpaque;
  SetColor(clWindow);
  SetParentColor(true);
  SetBounds(0, 0, 185, 105);
}

void TFlatGroupBox::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}

void TFlatGroupBox::SetColorBorder(TColor v) {
  FColorBorder = v;
  Invalidate();
}

void TFlatGroupBox::SetBorder(TGroupBoxBorder v) {
  FBorder = v;
  Invalidate();
}

void TFlatGroupBox::RecomputeBorder() {
  if (FUseAdvColors)
    FColorBorder = AdjustColorLightness(GetColor(), FColorBorder, FAdvColorBorder, TColorCalcType::Darken);
}

void TFlatGroupBox::SetAdvColorBorder(TAdvColors v) {
  FAdvColorBorder = std::min(v, kMaxAdvColors);
  RecomputeBorder();
  Invalidate();
}

void TFlatGroupBox::SetUseAdvColors(bool v) {
  if (v == FUseAdvColors) return;
  FUseAdvColors = v;
  SetParentColor(v);
  RecomputeBorder();
  Invalidate();
}

void TFlatGroupBox::Paint() {
  const TRect client = GetClientRect();
  TCanvas* c = FBuffer.Begin(GetCanvas()->GetHandle(), client);
  c->SetFont(GetFont());
  const std::wstring caption = GetCaption();
  const TSize text = c->TextExtent(caption);
  const bool rightToLeft = GetBiDiMode() == bdRightToLeft;

  if (FTransparent) {
    PaintParentBehind(this, c);
  } else {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(client);
  }

  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetColor(FColorBorder);
  const TGroupBoxLines lines = FBorder == brFull ? TGroupBoxLines::Full : TGroupBoxLines::OnlyTopLine;
  for (const auto& line : GroupBoxFrameLines(client, text.cx, text.cy, lines, rightToLeft)) c->Polyline(line);

  const TRect captionRect{client.Left + 10, client.Top, client.Right - 10, client.Top + text.cy};
  DrawFlatCaption(c, caption, captionRect, DT_SINGLELINE | (rightToLeft ? DT_RIGHT : 0), GetEnabled());
  FBuffer.End();
}

void TFlatGroupBox::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatGroupBox::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatGroupBox::CMDialogChar(TMessage& m) {
  // The caption's accelerator moves the focus into the box; nothing else is taken.
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    m.Result = 1;
  }
}

void TFlatGroupBox::CMSysColorChange(TMessage&) {
  if (FUseAdvColors) {
    SetParentColor(true);
    RecomputeBorder();
  }
  Invalidate();
}

void TFlatGroupBox::CMParentColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  CMSysColorChange(m);
}

void TFlatGroupBox::WMSizeOrMove(TMessage& m) {
  QORN_INHERITED(m);
  if (FTransparent) Invalidate();
}

void TFlatGroupBox::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TFlatGroupBox::Publish(TPublisher<TFlatGroupBox>& p) {
  p.Message(CM_ENABLEDCHANGED, &TFlatGroupBox::CMEnabledChanged);
  p.Message(CM_TEXTCHANGED, &TFlatGroupBox::CMTextChanged);
  p.Message(CM_DIALOGCHAR, &TFlatGroupBox::CMDialogChar);
  p.Message(CM_SYSCOLORCHANGE, &TFlatGroupBox::CMSysColorChange);
  p.Message(CM_PARENTCOLORCHANGED, &TFlatGroupBox::CMParentColorChanged);
  p.Message(WM_SIZE, &TFlatGroupBox::WMSizeOrMove);
  p.Message(WM_MOVE, &TFlatGroupBox::WMSizeOrMove);
  p.Message(WM_ERASEBKGND, &TFlatGroupBox::WMEraseBkgnd);
  p.Property(L"Caption", &TFlatGroupBox::GetCaption, &TFlatGroupBox::SetCaption);
  p.Property(L"Transparent", &TFlatGroupBox::GetTransparent, &TFlatGroupBox::SetTransparent).Default(false);
  p.Property(L"ColorBorder", &TFlatGroupBox::GetColorBorder, &TFlatGroupBox::SetColorBorder)
      .Default(0x8396A0)
      .Idents(ColorIdents);
  p.Property(L"Border", &TFlatGroupBox::GetBorder, &TFlatGroupBox::SetBorder).Default(brFull);
  p.Property(L"AdvColorBorder", &TFlatGroupBox::GetAdvColorBorder, &TFlatGroupBox::SetAdvColorBorder).Default(50);
  p.Property(L"UseAdvColors", &TFlatGroupBox::GetUseAdvColors, &TFlatGroupBox::SetUseAdvColors).Default(false);
  p.Property(L"ParentColor", &TFlatGroupBox::GetParentColor, &TFlatGroupBox::SetParentColor).Default(true);
}

}  // namespace Flat
