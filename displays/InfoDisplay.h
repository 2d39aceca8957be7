// The information display. Until it is built: an empty window of its class.
#pragma once
#include "vcl/Forms.h"

class TOSDinfo : public TForm {
  QORN_CLASS(TOSDinfo, TForm)
 public:
  explicit TOSDinfo(TComponent* AOwner) : TForm(AOwner) {}
};

inline TOSDinfo* OSDinfo = nullptr;
