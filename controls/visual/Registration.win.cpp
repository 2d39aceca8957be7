// The flat control set's classes that form resources may name.
#include "controls/visual/FlatProgressBar.h"
#include "controls/visual/GlProgress.h"
#include "controls/visual/HTMLabel.h"
#include "controls/visual/PngButtons.h"
#include "controls/visual/PngImageList.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatEditUnit.h"
#include "controls/visual/TFlatMemoUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "controls/visual/TFlatSpinEditUnit.h"
#include "vcl/ClassRegistry.h"

void RegisterClassesOf_controls_visual() {
  RegisterClasses<Flat::TglProgress, Flat::TFlatProgressBar, Flat::TFlatCheckBox, Flat::TFlatRadioButton,
                  Flat::THTMLabel>();
  RegisterClasses<Flat::TFlatEdit, Flat::TFlatMemo, Flat::TFlatSpinEditInteger>();
  RegisterClasses<Flat::TPngImageList, Flat::TPngImageCollection>();
  RegisterClasses<Flat::TPngSpeedButton, Flat::TPngBitBtn>();
}
