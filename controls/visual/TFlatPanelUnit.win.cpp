#include "controls/visual/TFlatPanelUnit.h"

#include "vcl/Canvas.h"

namespace Flat {

TFlatPanel::TFlatPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  ControlStyle << csAcceptsControls << csOpaque;
  SetParentFont(true);
  SetParentColor(true);
  SetBounds(0, 0, 185, 41);
}

void TFlatPanel::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}

void TFlatPanel::SetColorHighLight(TColor v) {
  FColorHighLight = v;
  Invalidate();
}

void TFlatPanel::SetColorShadow(TColor v) {
  FColorShadow = v;
  Invalidate();
}

void TFlatPanel::Paint() {
  const TRect client = GetClientRect();
  TCanvas* c = FBuffer.Begin(GetCanvas()->GetHandle(), client);
  if (FTransparent) {
    PaintParentBehind(this, c);
  } else {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(client);
  }
  DrawFrame3D(c, client, FColorHighLight, FColorShadow, 1);
  c->SetFont(GetFont());
  UINT flags = DT_SINGLELINE | DT_VCENTER;
  if (GetAlignment() == taRightJustify) flags |= DT_RIGHT;
  if (GetAlignment() == taCenter) flags |= DT_CENTER;
  DrawFlatCaption(c, GetCaption(), client, flags, GetEnabled());
  FBuffer.End();
}

void TFlatPanel::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatPanel::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatPanel::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TFlatPanel::Publish(TPublisher<TFlatPanel>& p) {
  p.Message(CM_ENABLEDCHANGED, &TFlatPanel::CMEnabledChanged);
  p.Message(CM_TEXTCHANGED, &TFlatPanel::CMTextChanged);
  p.Message(WM_ERASEBKGND, &TFlatPanel::WMEraseBkgnd);
  // The flat frame replaces the panel's bevels and border.
  for (const wchar_t* name :
       {L"BevelInner", L"BevelOuter", L"BevelWidth", L"BorderWidth", L"BorderStyle", L"FullRepaint", L"Locked"})
    p.Hide(name);
  p.Property(L"Transparent", &TFlatPanel::GetTransparent, &TFlatPanel::SetTransparent).Default(false);
  p.Property(L"ColorHighLight", &TFlatPanel::GetColorHighLight, &TFlatPanel::SetColorHighLight)
      .Default(0x8396A0)
      .Idents(ColorIdents);
  p.Property(L"ColorShadow", &TFlatPanel::GetColorShadow, &TFlatPanel::SetColorShadow)
      .Default(0x8396A0)
      .Idents(ColorIdents);
  p.Property(L"ParentColor", &TFlatPanel::GetParentColor, &TFlatPanel::SetParentColor).Default(true);
}

}  // namespace Flat
