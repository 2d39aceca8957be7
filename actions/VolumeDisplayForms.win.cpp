#include "actions/VolumeDisplayForms.h"

#include "core/settings/Settings.h"
#include "displays/OnScreenDisplays.h"

bool TVolumeDisplayForms::ShowsVolume() { return MainSettings.osdshw == 1 && !(fullScreen_ && fullScreen_()); }

bool TVolumeDisplayForms::VolumeAsDisplay() { return MainSettings.volshowosd == 1; }

void TVolumeDisplayForms::ShowVolumeDisplay(int percent) { OnScreenDisplays().ShowVolume(percent); }

// The popup's volume kinds are the sub-codes: 1 up, 2 down, 3 mute, 4 set.
void TVolumeDisplayForms::ShowVolumePopup(TVolumeCode code, int percent) {
  OnScreenDisplays().ShowPopupVolume(static_cast<std::uint8_t>(code), percent);
}

void TVolumeDisplayForms::ShowMutePicture(bool audible) { OnScreenDisplays().ShowMute(audible ? 1 : 0); }
