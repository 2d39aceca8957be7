#include "actions/ActionFamilies.h"

#include "actions/VolumeAction.h"
#include "actions/VolumeDisplayForms.h"
#include "services/AudioMixer.h"

TActionFamilies::TActionFamilies() = default;
TActionFamilies::~TActionFamilies() = default;

void TActionFamilies::InstallInto(TActionExecutors& executors, std::function<bool()> fullScreen) {
  recording_.InstallInto(executors);
  executors.Set(TActionFamily::Programs, &programs_);
  mixer_ = std::make_unique<TAudioMixer>(nullptr);
  volumeDisplays_ = std::make_unique<TVolumeDisplayForms>(std::move(fullScreen));
  volume_ = std::make_unique<TVolumeExecutor>(*mixer_, *volumeDisplays_);
  executors.Set(TActionFamily::Volume, volume_.get());
}

void TActionFamilies::ForgetRecorded() {
  if (recording_.Log().size() > 1000) recording_.ClearLog();
}
