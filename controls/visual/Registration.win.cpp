// The visual component set's classes that form resources may name.
#include "controls/visual/FlatProgressBar.h"
#include "controls/visual/GlProgress.h"
#include "controls/visual/PngButtons.h"
#include "controls/visual/PngImageList.h"

void RegisterClassesOf_controls_visual() {
  RegisterClasses<Flat::TglProgress, Flat::TFlatProgressBar>();
  RegisterClasses<Flat::TPngImageList, Flat::TPngImageCollection>();
  RegisterClasses<Flat::TPngSpeedButton, Flat::TPngBitBtn>();
}
