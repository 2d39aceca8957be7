#include "vcl/Mask.h"

TCustomMaskEdit::TCustomMaskEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

void TCustomMaskEdit::Publish(TPublisher<TCustomMaskEdit>& p) {
  p.Property(L"EditMask", &TCustomMaskEdit::GetEditMask, &TCustomMaskEdit::SetEditMask);
}

void TCustomMaskEdit::ValidateError() {
  MessageBeep(0);
  throw EDBEditError(L"Invalid input value.  Use escape key to abandon changes");
}

