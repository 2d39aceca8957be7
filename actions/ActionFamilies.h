// Every action family's executor, made and installed in one place: the program
// installs them all into its TActionExecutors at start. A family whose actions are
// not built yet gets a recording executor that only remembers what it was asked.
#pragma once
#include <functional>
#include <memory>

#include "actions/ActionExecutors.h"
#include "actions/ProgramsAction.h"

class TAudioMixer;
class TVolumeDisplayForms;
class TVolumeExecutor;

class TActionFamilies {
 public:
  TActionFamilies();
  ~TActionFamilies();
  TActionFamilies(const TActionFamilies&) = delete;
  TActionFamilies& operator=(const TActionFamilies&) = delete;

  // fullScreen: whether a full-screen program in front keeps the displays away.
  void InstallInto(TActionExecutors& executors, std::function<bool()> fullScreen);
  // Nothing in the program reads the recording executors' log: called now and then
  // so that it does not grow for the whole run.
  void ForgetRecorded();

  TProgramsExecutor& Programs() { return programs_; }
  // The program's one mixer, made by InstallInto (the volume settings use it too).
  TAudioMixer* Mixer() { return mixer_.get(); }

 private:
  TRecordingExecutors recording_;
  TProgramsExecutor programs_;
  std::unique_ptr<TAudioMixer> mixer_;
  std::unique_ptr<TVolumeDisplayForms> volumeDisplays_;
  std::unique_ptr<TVolumeExecutor> volume_;
};
