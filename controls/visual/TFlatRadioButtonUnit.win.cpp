#include "controls/visual/TFlatRadioButtonUnit.h"

#include "vcl/Canvas.h"
#include "vcl/StdCtrls.h"

namespace Flat {

THoverTimer& TFlatRadioButton::ClassHoverTimer() {
  static THoverTimer timer;
  return timer;
}

TFlatRadioButton::TFlatRadioButton(TComponent* AOwner) : TFlatCheckControl(AOwner) {
  ClassHoverTimer().AddInstance();
}

TFlatRadioButton::~TFlatRadioButton() { ClassHoverTimer().RemoveInstance(this); }

void TFlatRadioButton::SetChecked(bool v) {
  if (v == GetChecked()) return;
  SetTabStop(v);
  StoreChecked(v);
  if (v) {
    if (TWinControl* parent = GetParent()) {
      for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* other = dynamic_cast<TFlatRadioButton*>(parent->Controls(i));
        if (other && other != this && other->FGroupIndex == FGroupIndex) other->SetChecked(false);
      }
    }
    TControl::Click();
  }
  RedrawIndicator();
}

void TFlatRadioButton::Click() {
  if (FMouseDown && GetEnabled() && (!GetChecked() || FPressChecked)) return;
  TFlatCheckControl::Click();
}

TRect TFlatRadioButton::IndicatorRect() const {
  const TRect c = GetClientRect();
  return GetRightLayout() ? TRect{c.Right - 11, c.Top + 3, c.Right - 1, c.Top + 13}
                          : TRect{c.Left + 1, c.Top + 3, c.Left + 11, c.Top + 13};
}

void TFlatRadioButton::DrawIndicator(TCanvas* canvas) {
  const TRect r = IndicatorRect();
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetColor(GetColorBorder());
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(IndicatorFill());
  canvas->Ellipse(r);
  if (GetChecked()) {
    const TColor dot = GetEnabled() ? GetColorMark() : clBtnShadow;
    canvas->GetPen()->SetColor(dot);
    canvas->GetBrush()->SetColor(dot);
    canvas->Ellipse(r.Left + 3, r.Top + 3, r.Left + 7, r.Top + 7);
  }
}

void TFlatRadioButton::ReleasedAt(int x, int y) {
  // Edges included, as the original control does.
  if (x >= 0 && x <= GetWidth() && y >= 0 && y <= GetHeight() && !GetChecked()) SetChecked(true);
}

void TFlatRadioButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) FPressChecked = false;
  TFlatCheckControl::MouseDown(button, shift, x, y);
}

void TFlatRadioButton::DoEnter() {
  if (FMouseDown && FMouseIn && !GetChecked()) {
    SetChecked(true);
    FPressChecked = true;
  }
  TFlatCheckControl::DoEnter();
}

void TFlatRadioButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<wchar_t>(m.WParam), GetCaption()) && CanFocus()) {
    SetFocus();
    m.Result = 1;
  } else {
    QORN_INHERITED(m);
  }
}

void TFlatRadioButton::Publish(TPublisher<TFlatRadioButton>& p) {
  p.Message(CM_DIALOGCHAR, &TFlatRadioButton::CMDialogChar);
  p.Property(L"Checked", &TFlatRadioButton::GetChecked, &TFlatRadioButton::SetChecked).Default(false);
  p.Property(L"ColorDot", &TFlatRadioButton::GetColorMark, &TFlatRadioButton::SetColorMark)
      .Default(clBlack)
      .Idents(ColorIdents);
  p.Property(L"GroupIndex", &TFlatRadioButton::GetGroupIndex, &TFlatRadioButton::SetGroupIndex).Default(0);
  p.Property(L"Layout", &TFlatRadioButton::GetLayout, &TFlatRadioButton::SetLayout).Default(radioLeft);
  p.Property(L"TabStop", &TFlatRadioButton::GetTabStop, &TFlatRadioButton::SetTabStop).Default(false);
}

}  // namespace Flat
