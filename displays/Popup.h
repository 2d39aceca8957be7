// The popup window. Until it is built: an empty window of its class.
#pragma once
#include "vcl/Forms.h"

class TPopupForm : public TForm {
  QORN_CLASS(TPopupForm, TForm)
 public:
  explicit TPopupForm(TComponent* AOwner) : TForm(AOwner) {}
};

inline TPopupForm* PopupForm = nullptr;
