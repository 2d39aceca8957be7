// The visual component set's classes that form resources may name.
#include "controls/visual/FlatProgressBar.h"
#include "controls/visual/GlProgress.h"

void RegisterClassesOf_controls_visual() {
  RegisterClasses<Flat::TglProgress, Flat::TFlatProgressBar>();
}
