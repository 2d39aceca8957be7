// The volume display. Until it is built: an empty window of its class.
#pragma once
#include "vcl/Forms.h"

class TOSDvForm : public TForm {
  QORN_CLASS(TOSDvForm, TForm)
 public:
  explicit TOSDvForm(TComponent* AOwner) : TForm(AOwner) {}
};

inline TOSDvForm* OSDvForm = nullptr;
