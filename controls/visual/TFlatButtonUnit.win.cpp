#include "controls/visual/TFlatButtonUnit.h"

#include "vcl/StdCtrls.h"

namespace Flat {

THoverTimer& TFlatButton::ClassHoverTimer() {
  static THoverTimer timer;
  return timer;
}

TFlatButton::TFlatButton(TComponent* AOwner) : TFlatButtonCommon<TCustomControl>(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  SetTabStop(true);
  ClassHoverTimer().AddInstance();
}

TFlatButton::~TFlatButton() { ClassHoverTimer().RemoveInstance(this); }

void TFlatButton::SetDefault(bool v) {
  FDefault = v;
  if (HandleAllocated()) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->GetActiveControl()));
    }
  }
  Invalidate();
}

void TFlatButton::Pressed() {
  if (CanFocus()) SetFocus();
}

void TFlatButton::Paint() {
  TCanvas* c = FBuffer.Begin(GetCanvas()->GetHandle(), GetClientRect());
  PaintFace(c, this, FDefault ? 2 : 1);
  FBuffer.End();
}

void TFlatButton::CMDialogChar(TMessage& m) {
  const auto key = static_cast<wchar_t>(m.WParam);
  if (IsAccel(key, GetCaption()) && GetEnabled()) {
    if (FGroupIndex != 0) SetDown(true);
    Click();
    m.Result = 1;
  }
}

void TFlatButton::WMSetFocus(TMessage& m) {
  QORN_INHERITED(m);
  // The focused button looks hot.
  if (GetEnabled()) FFace.MouseOver = true;
  Invalidate();
}

void TFlatButton::WMKillFocus(TMessage& m) {
  QORN_INHERITED(m);
  FSpacePressed = false;
  HoverLeave();
}

// Space presses and releases the button; other keys are left to the form (no
// OnKeyDown of the button's own).
void TFlatButton::WMKeyDown(TMessage& m) {
  if (m.WParam != VK_SPACE || !GetEnabled()) return;
  // Auto-repeat sends more key-downs: one press all the same.
  FSpacePressed = true;
  if (FGroupIndex != 0) {
    SetDown(true);
  } else {
    FFace.State = bsDown;
  }
  Invalidate();
}

void TFlatButton::WMKeyUp(TMessage& m) {
  // A release clicks only after this button's own key-down: a Space pressed
  // elsewhere and released here is not a click.
  if (m.WParam != VK_SPACE || !FSpacePressed) return;
  FSpacePressed = false;
  if (FGroupIndex != 0) {
    SetDown(false);
  } else {
    FFace.State = bsUp;
  }
  Click();
  Invalidate();
}

void TFlatButton::WMSizeOrMove(TMessage& m) {
  QORN_INHERITED(m);
  if (FFace.Mode != tmNone) Invalidate();
}

void TFlatButton::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TFlatButton::Publish(TPublisher<TFlatButton>& p) {
  PublishCommon(p);
  // Actions are the speed button's; the windowed one has none.
  p.Hide(L"Action");
  p.Message(CM_DIALOGCHAR, &TFlatButton::CMDialogChar);
  p.Message(WM_SETFOCUS, &TFlatButton::WMSetFocus);
  p.Message(WM_KILLFOCUS, &TFlatButton::WMKillFocus);
  p.Message(WM_KEYDOWN, &TFlatButton::WMKeyDown);
  p.Message(WM_KEYUP, &TFlatButton::WMKeyUp);
  p.Message(WM_SIZE, &TFlatButton::WMSizeOrMove);
  p.Message(WM_MOVE, &TFlatButton::WMSizeOrMove);
  p.Message(WM_ERASEBKGND, &TFlatButton::WMEraseBkgnd);
  p.Property(L"Default", &TFlatButton::GetDefault, &TFlatButton::SetDefault).Default(false);
  p.Property(L"TabStop", &TFlatButton::GetTabStop, &TFlatButton::SetTabStop).Default(true);
}

}  // namespace Flat
