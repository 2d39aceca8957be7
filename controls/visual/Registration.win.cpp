// The flat control set's classes that form resources may name.
#include "controls/visual/FlatProgressBar.h"
#include "controls/visual/GlProgress.h"
#include "controls/visual/HTMLPicture.h"
#include "controls/visual/HTMLabel.h"
#include "controls/visual/PngButtons.h"
#include "controls/visual/PngImageList.h"
#include "controls/visual/SevenButton.h"
#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatColorComboBoxUnit.h"
#include "controls/visual/TFlatComboBoxUnit.h"
#include "controls/visual/TFlatEditUnit.h"
#include "controls/visual/TFlatListBoxUnit.h"
#include "controls/visual/TFlatGroupBoxUnit.h"
#include "controls/visual/TFlatHintUnit.h"
#include "controls/visual/TFlatMemoUnit.h"
#include "controls/visual/TFlatPanelUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "controls/visual/TFlatScrollbarUnit.h"
#include "controls/visual/TFlatSpeedButtonUnit.h"
#include "controls/visual/TFlatSpinEditUnit.h"
#include "vcl/ClassRegistry.h"

void RegisterClassesOf_controls_visual() {
  RegisterClasses<Flat::TglProgress, Flat::TFlatProgressBar, Flat::TFlatCheckBox, Flat::TFlatRadioButton>();
  RegisterClasses<Flat::TFlatButton, Flat::TFlatSpeedButton, Flat::TFlatPanel, Flat::TFlatGroupBox,
                  Flat::TSevenButton, Flat::TFlatHint>();
  RegisterClasses<Flat::TFlatEdit, Flat::TFlatMemo, Flat::TFlatSpinEditInteger, Flat::TFlatComboBox,
                  Flat::TFlatListBox, Flat::TFlatScrollbar, Flat::TFlatColorComboBox>();
  RegisterClasses<Flat::THTMLabel, Flat::THTMLPicture, Flat::TPictureItem, Flat::TPictureCollection,
                  Flat::TPictureContainer>();
  RegisterClasses<Flat::TPngImageList, Flat::TPngImageCollection>();
  RegisterClasses<Flat::TPngSpeedButton, Flat::TPngBitBtn>();
}
