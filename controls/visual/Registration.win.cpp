// The flat control set's classes that form resources may name.
#include "controls/visual/FlatProgressBar.h"
#include "controls/visual/GlProgress.h"
#include "controls/visual/HTMLabel.h"
#include "controls/visual/SevenButton.h"
#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatGroupBoxUnit.h"
#include "controls/visual/TFlatHintUnit.h"
#include "controls/visual/TFlatPanelUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "controls/visual/TFlatSpeedButtonUnit.h"
#include "vcl/ClassRegistry.h"

void RegisterClassesOf_controls_visual() {
  RegisterClasses<Flat::TglProgress, Flat::TFlatProgressBar, Flat::TFlatCheckBox, Flat::TFlatRadioButton,
                  Flat::THTMLabel, Flat::TFlatButton, Flat::TFlatSpeedButton, Flat::TFlatPanel,
                  Flat::TFlatGroupBox, Flat::TSevenButton, Flat::TFlatHint>();
}
