// The executor of the volume family (codes 21-24): raises, lowers, mutes or sets
// the volume of one mixer line for a key, and shows the result as the settings
// say: the volume display, the volume popup or the mute picture.
//
// It works from the binding's parameters alone, whether or not a settings page
// exists, on the mixer and the displays it is given.
#pragma once
#include "actions/ActionExecutors.h"
#include "actions/VolumeCommand.h"
#include "services/VolumeMixer.h"

// Where the volume action shows what it did.
class IVolumeDisplays {
 public:
  virtual ~IVolumeDisplays() = default;
  // The option "show the volume level" is on, and no full-screen program in
  // front keeps the displays away.
  virtual bool ShowsVolume() = 0;
  // The option: the level as the volume display (true) or as the popup.
  virtual bool VolumeAsDisplay() = 0;
  virtual void ShowVolumeDisplay(int percent) = 0;
  virtual void ShowVolumePopup(TVolumeCode code, int percent) = 0;
  // audible: the line plays now (the "sound on" picture), else it is muted.
  virtual void ShowMutePicture(bool audible) = 0;
};

class TVolumeExecutor : public IActionExecutor {
 public:
  TVolumeExecutor(IVolumeMixer& mixer, IVolumeDisplays& displays) : mixer_(mixer), displays_(displays) {}

  // subCode = code - 20 (TVolumeCode).
  void Execute(int subCode, int held, TActionContext& context) override;

  // Set while a volume change runs; a press that comes in meanwhile (from a
  // message pumped inside a display) changes nothing.
  bool Running() const { return running_; }

 private:
  void change(TVolumeCode code, const TVolumeParams& p, const TLineVolume& before);

  IVolumeMixer& mixer_;
  IVolumeDisplays& displays_;
  bool running_ = false;
};
