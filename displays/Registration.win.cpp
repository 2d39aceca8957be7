// The on-screen displays' forms (their resources name them as the root).
#include "displays/DimmingOverlay.h"
#include "displays/InfoDisplay.h"
#include "displays/MutePicture.h"
#include "displays/Popup.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"

void RegisterClassesOf_displays() {
  RegisterClasses<TOSDinfo, TOSDmForm, TOSDtForm, TOSDvForm, TPopupForm, TForm_Fog>();
}
