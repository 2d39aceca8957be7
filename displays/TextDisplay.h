// The text display. Until it is built: an empty window of its class.
#pragma once
#include "vcl/Forms.h"

class TOSDtForm : public TForm {
  QORN_CLASS(TOSDtForm, TForm)
 public:
  explicit TOSDtForm(TComponent* AOwner) : TForm(AOwner) {}
};

inline TOSDtForm* OSDtForm = nullptr;
