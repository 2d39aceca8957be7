// The test form of the framed lists (TestVyListsForm.form): the settings window's
// key, skin, folder and plug-in lists and its report views, one of each.
#pragma once
#include "controls/extended/tests/VyFormTest.h"

class TTestVyListsForm : public TForm {
  QORN_CLASS(TTestVyListsForm, TForm)
 public:
  explicit TTestVyListsForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestVyListsForm);

using VyListsFormTest = VyFormTestOf<TTestVyListsForm>;
