// The global hot keys dialog. Until it is built: an empty window of its class.
#pragma once
#include "vcl/Forms.h"

class TSettingsHKForm : public TForm {
  QORN_CLASS(TSettingsHKForm, TForm)
 public:
  explicit TSettingsHKForm(TComponent* AOwner) : TForm(AOwner) {}
};

inline TSettingsHKForm* SettingsHKForm = nullptr;
