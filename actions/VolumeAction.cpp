#include "actions/VolumeAction.h"

#include "vcl/ScopeGuards.h"

void TVolumeExecutor::Execute(int subCode, int, TActionContext& context) {
  if (subCode < static_cast<int>(TVolumeCode::Up) || subCode > static_cast<int>(TVolumeCode::Set)) return;
  const auto code = static_cast<TVolumeCode>(subCode);
  // Every field is read before anything changes, so a bad one cannot leave the
  // action half done or marked running.
  const TVolumeParams p = ReadVolumeParams(context.Params, code);
  // The device is opened again on every press: the lines may have changed.
  if (p.Mixer >= 0 && p.Mixer < mixer_.GetMixerCount()) mixer_.SetMixerId(p.Mixer);
  TLineVolume before;
  mixer_.GetVolume(p.Destination, p.Connection, before);
  if (running_) return;
  running_ = true;
  const TOnExit done([this] { running_ = false; });
  change(code, p, before);
}

void TVolumeExecutor::change(TVolumeCode code, const TVolumeParams& p, const TLineVolume& before) {
  const int dest = p.Destination;
  const int conn = p.Connection;
  if (code == TVolumeCode::Mute) {
    // A line without a mute has nothing to toggle, and nothing to show.
    if (before.Mute == MixerNone) return;
    mixer_.SetVolume(dest, conn, before.Left, before.Right, before.Mute == 0 ? 1 : 0);
    if (!displays_.ShowsVolume()) return;
    TLineVolume after;
    mixer_.GetVolume(dest, conn, after);
    if (after.Mute != MixerNone) displays_.ShowMutePicture(after.Mute == 0);
    return;
  }
  int newVolume = MixerNone;
  const int step = code == TVolumeCode::Down ? -p.Step : p.Step;
  const bool relative = code != TVolumeCode::Set;
  // A line that is not there, or has no volume, shows nothing: there is no level to show.
  if (!mixer_.StepVolume(dest, conn, before.Left, before.Right, before.Mute, step, relative, newVolume)) return;
  if (newVolume == MixerNone || !displays_.ShowsVolume()) return;
  const int percent = VolumePercent(newVolume);
  if (displays_.VolumeAsDisplay()) displays_.ShowVolumeDisplay(percent);
  else displays_.ShowVolumePopup(code, percent);
}
