// The volume action's displays in the program, through the program's display seam
// (displays/OnScreenDisplays.h), chosen by the settings.
#pragma once
#include <functional>

#include "actions/VolumeAction.h"

class TVolumeDisplayForms : public IVolumeDisplays {
 public:
  // fullScreen: whether a full-screen program in front keeps the displays away.
  explicit TVolumeDisplayForms(std::function<bool()> fullScreen) : fullScreen_(std::move(fullScreen)) {}

  bool ShowsVolume() override;
  bool VolumeAsDisplay() override;
  void ShowVolumeDisplay(int percent) override;
  void ShowVolumePopup(TVolumeCode code, int percent) override;
  void ShowMutePicture(bool audible) override;

 private:
  std::function<bool()> fullScreen_;
};
