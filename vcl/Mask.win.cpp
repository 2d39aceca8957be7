#include "vcl/Mask.h"

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::Publish(TPublisher<TCustomMaskEdit>& p) {
  p.Property(L"EditMask", &TCustomMaskEdit::GetEditMask, &TCustomMaskEdit::SetEditMask);
  p.Property(L"AutoSelect", &TCustomMaskEdit::GetAutoSelect, &TCustomMaskEdit::SetAutoSelect).Default(true);
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError(L"Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::DoEnter() {
  // Entering by keyboard or code selects the whole text, ready to be replaced.
  if (FAutoSelect && HandleAllocated() && !(GetKeyState(VK_LBUTTON) & 0x8000)) SelectAll();
  TCustomEdit::DoEnter();
}

QORN_REGISTER_CLASS(TMaskEdit);
