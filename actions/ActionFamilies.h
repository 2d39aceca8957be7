// Every action family's executor, made and installed in one place: the program
// installs them all into its TActionExecutors at start. A family whose actions are
// not built yet gets a recording executor that only remembers what it was asked.
#pragma once
#include "actions/ActionExecutors.h"
#include "actions/ProgramsAction.h"

class TActionFamilies {
 public:
  TActionFamilies() = default;
  TActionFamilies(const TActionFamilies&) = delete;
  TActionFamilies& operator=(const TActionFamilies&) = delete;

  void InstallInto(TActionExecutors& executors);
  // Nothing in the program reads the recording executors' log: called now and then
  // so that it does not grow for the whole run.
  void ForgetRecorded();

  TProgramsExecutor& Programs() { return programs_; }

 private:
  TRecordingExecutors recording_;
  TProgramsExecutor programs_;
};
