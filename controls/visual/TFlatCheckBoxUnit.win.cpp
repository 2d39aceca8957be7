#include "controls/visual/TFlatCheckBoxUnit.h"

#include "vcl/Canvas.h"
#include "vcl/StdCtrls.h"

namespace Flat {

THoverTimer& TFlatCheckBox::ClassHoverTimer() {
  static THoverTimer timer;
  return timer;
}

TFlatCheckBox::TFlatCheckBox(TComponent* AOwner) : TFlatCheckControl(AOwner) {
  SetTabStop(true);
  ClassHoverTimer().AddInstance();
}

TFlatCheckBox::~TFlatCheckBox() { ClassHoverTimer().RemoveInstance(this); }

void TFlatCheckBox::SetChecked(bool v) {
  if (v == GetChecked()) return;
  StoreChecked(v);
  TControl::Click();
  RedrawIndicator();
}

TRect TFlatCheckBox::IndicatorRect() const {
  const TRect c = GetClientRect();
  return GetRightLayout() ? TRect{c.Right - 12, c.Top + 3, c.Right - 1, c.Top + 14}
                          : TRect{c.Left + 1, c.Top + 3, c.Left + 12, c.Top + 14};
}

void TFlatCheckBox::DrawIndicator(TCanvas* canvas) {
  const TRect r = IndicatorRect();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(IndicatorFill());
  canvas->FillRect(r);
  if (GetChecked()) {
    canvas->GetPen()->SetStyle(psSolid);
    canvas->GetPen()->SetWidth(1);
    canvas->GetPen()->SetColor(GetEnabled() ? GetColorMark() : clBtnShadow);
    const int l = r.Left, t = r.Top;
    const int tick[6][4] = {{2, 4, 6, 8}, {2, 5, 5, 8}, {2, 6, 5, 9}, {8, 2, 4, 6}, {8, 3, 4, 7}, {8, 4, 5, 7}};
    for (const auto& line : tick) {
      canvas->MoveTo(l + line[0], t + line[1]);
      canvas->LineTo(l + line[2], t + line[3]);
    }
  }
  canvas->GetBrush()->SetColor(GetColorBorder());
  canvas->FrameRect(r);
}

void TFlatCheckBox::ReleasedAt(int x, int y) {
  if (GetClientRect().Contains({x, y})) SetChecked(!GetChecked());
}

void TFlatCheckBox::CMDialogChar(TMessage& m) {
  const auto key = static_cast<wchar_t>(m.WParam);
  if (IsAccel(key, GetCaption()) && CanFocus()) {
    SetFocus();
    SetChecked(!GetChecked());
    m.Result = 1;
  } else if (key == L' ' && Focused()) {
    SetChecked(!GetChecked());
    m.Result = 1;
  } else {
    QORN_INHERITED(m);
  }
}

void TFlatCheckBox::Publish(TPublisher<TFlatCheckBox>& p) {
  p.Message(CM_DIALOGCHAR, &TFlatCheckBox::CMDialogChar);
  p.Property(L"Checked", &TFlatCheckBox::GetChecked, &TFlatCheckBox::SetChecked).Default(false);
  p.Property(L"ColorCheck", &TFlatCheckBox::GetColorMark, &TFlatCheckBox::SetColorMark)
      .Default(clBlack)
      .Idents(ColorIdents);
  p.Property(L"Layout", &TFlatCheckBox::GetLayout, &TFlatCheckBox::SetLayout).Default(checkboxLeft);
  p.Property(L"TabStop", &TFlatCheckBox::GetTabStop, &TFlatCheckBox::SetTabStop).Default(true);
}

}  // namespace Flat
