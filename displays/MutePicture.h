// The mute picture. Until it is built: an empty window of its class.
#pragma once
#include "vcl/Forms.h"

class TOSDmForm : public TForm {
  QORN_CLASS(TOSDmForm, TForm)
 public:
  explicit TOSDmForm(TComponent* AOwner) : TForm(AOwner) {}
};

inline TOSDmForm* OSDmForm = nullptr;
