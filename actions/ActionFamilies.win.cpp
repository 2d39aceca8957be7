#include "actions/ActionFamilies.h"

void TActionFamilies::InstallInto(TActionExecutors& executors) {
  recording_.InstallInto(executors);
  executors.Set(TActionFamily::Programs, &programs_);
}

void TActionFamilies::ForgetRecorded() {
  if (recording_.Log().size() > 1000) recording_.ClearLog();
}
