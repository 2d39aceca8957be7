#include "actions/VolumeDisplayForms.h"

#include "core/settings/Settings.h"
#include "displays/OnScreenDisplays.h"

bool TVolumeDisplayForms::ShowsVolume() { return MainSettings.osdshw == 1 && !(fullScreen_ && fullScreen_()); }

bool TVolumeDisplayForms::VolumeAsDisplay() { return MainSettings.volshowosd == 1; }

void TVolumeDisplayForms::ShowVolumeDisplay(int percent) { OnScreenDisplays().ShowVolume(percent); }

void TVolumeDisplayForms::ShowVolumePopup(TVolumeCode, int percent) {
  // The popup cannot show a volume bar yet: the volume display shows the level
  // meanwhile, so a volume key never goes unseen.
  ShowVolumeDisplay(percent);
}

void TVolumeDisplayForms::ShowMutePicture(bool audible) { OnScreenDisplays().ShowMute(audible ? 1 : 0); }
