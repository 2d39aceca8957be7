#include "actions/ActionExecutors.h"

const char* ActionFamilyName(TActionFamily family) {
  static constexpr const char* names[ActionFamilyCount] = {
      "Winamp", "volume", "media players", "folders", "programs", "power",
      "web", "windows", "audio CD", "other tools", "documents", "keys and layouts",
      "scrolling", "quick macros", "network", "cursor", "wallpaper", "display brightness"};
  const auto i = static_cast<std::size_t>(family);
  return i < ActionFamilyCount ? names[i] : "?";
}

TRecordingExecutors::TRecordingExecutors() {
  for (std::size_t i = 0; i < ActionFamilyCount; ++i)
    recorders_.push_back(std::make_unique<Recorder>(static_cast<TActionFamily>(i), log_));
}

void TRecordingExecutors::InstallInto(TActionExecutors& executors) {
  for (auto& r : recorders_) executors.Set(r->family(), r.get());
}

void TRecordingExecutors::Recorder::Execute(int subCode, int held, TActionContext& context) {
  log_.push_back({family_, subCode, held, context.Params});
}
