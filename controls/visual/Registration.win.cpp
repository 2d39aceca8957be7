// The component classes of the flat control set.
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "vcl/ClassRegistry.h"

void RegisterClassesOf_controls_visual() {
  RegisterClasses<Flat::TFlatCheckBox, Flat::TFlatRadioButton>();
}
