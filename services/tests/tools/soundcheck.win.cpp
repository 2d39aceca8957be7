// The audio mixer and the volume action on wine's real sound stack, in the sound
// environment the driving script made (services/tests/sound-env.sh):
//   soundcheck.exe none     no sound server: no device on either path, nothing fails
//   soundcheck.exe device   a PulseAudio null sink: wine has a default output device
// Prints one line per check ("ok", "FAIL", or "wine" for what wine does not carry)
// and exits 1 when a check failed.
#include "actions/VolumeAction.h"
#include "services/AudioMixer.h"
#include "vcl/ComObj.h"
#include "vcl/WinVersion.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  if (!ok) ++failures;
}

std::string Str(const TLineVolume& v) {
  return "left " + std::to_string(v.Left) + " right " + std::to_string(v.Right) + " mute " + std::to_string(v.Mute);
}

const TWindowsVersion kXp{5, 1, 2600};
const TWindowsVersion kTen{10, 0, 19045};

class RecordingDisplays : public IVolumeDisplays {
 public:
  std::vector<std::string> shown;
  bool ShowsVolume() override { return true; }
  bool VolumeAsDisplay() override { return true; }
  void ShowVolumeDisplay(int percent) override { shown.push_back("display " + std::to_string(percent)); }
  void ShowVolumePopup(TVolumeCode, int percent) override { shown.push_back("popup " + std::to_string(percent)); }
  void ShowMutePicture(bool audible) override { shown.push_back(audible ? "sound on" : "sound off"); }
};

void Press(TVolumeExecutor& executor, TVolumeCode code, const char* params) {
  TActionContext context{params, {}};
  executor.Execute(static_cast<int>(code), 0, context);
}

// Whatever the machine: a line that is not there reads the defaults and changes nothing.
void CheckMissingLines(TAudioMixer& mixer, const char* path) {
  TLineVolume v;
  v.Left = 5;
  int newVolume = 77;
  const bool read = mixer.GetVolume(40, -1, v);
  Check(mixer.EndpointMode() || (!read && v == TLineVolume{}),
        std::string(path) + ": a missing line reads the defaults");
  Check(mixer.EndpointMode() || !mixer.StepVolume(40, -1, 100, 100, -1, 2, true, newVolume),
        std::string(path) + ": a step on a missing line fails");
  Check(mixer.EndpointMode() || !mixer.GetVolume(0, 40, v), std::string(path) + ": a missing source line fails");
  Check(newVolume == 77, std::string(path) + ": a failed step leaves the new volume alone");
}

void NoDevice() {
  {
    const TWindowsVersionOverride xp(kXp);
    TAudioMixer mixer(nullptr);
    Check(!mixer.EndpointMode(), "winmm: chosen on XP");
    Check(mixer.GetMixerCount() == 0, "winmm: no mixer device (" + std::to_string(mixer.GetMixerCount()) + ")");
    Check(mixer.GetMixerId() == -1 && mixer.Destinations().empty(), "winmm: nothing open, no lines");
    mixer.SetMixerId(0);
    Check(mixer.GetMixerId() == -1, "winmm: device 0 cannot be chosen");
    TLineVolume v;
    v.Mute = 4;
    const bool read = mixer.GetVolume(0, -1, v);
    Check(!read && v == TLineVolume{}, "winmm: a read gives the defaults: " + Str(v));
    Check(!mixer.SetVolume(0, -1, 1000, 1000, 1), "winmm: a set fails");
    CheckMissingLines(mixer, "winmm");
  }
  const TWindowsVersionOverride ten(kTen);
  TAudioMixer mixer(nullptr);
  Check(mixer.EndpointMode(), "endpoint: chosen after XP");
  Check(!mixer.HasEndpoint(), "endpoint: no default output device");
  TLineVolume v;
  v.Left = 3;
  const bool read = mixer.GetVolume(0, -1, v);
  Check(!read && v == TLineVolume{}, "endpoint: a read gives the defaults: " + Str(v));
  int newVolume = 77;
  const bool stepped = mixer.StepVolume(0, -1, 0, 0, 0, 2, true, newVolume);
  Check(!stepped && newVolume == 77, "endpoint: a step fails");
  Check(!mixer.SetVolume(0, -1, 0, 0, 1), "endpoint: a set fails");
  RecordingDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  Press(executor, TVolumeCode::Up, "00000002");
  Press(executor, TVolumeCode::Mute, "00000002");
  Press(executor, TVolumeCode::Set, "00000050");
  Check(displays.shown.empty() && !executor.Running(), "volume keys without a device change and show nothing");
}

void WinmmWithDevice() {
  const TWindowsVersionOverride xp(kXp);
  TAudioMixer mixer(nullptr);
  Check(!mixer.EndpointMode(), "winmm: chosen on XP");
  Check(mixer.GetMixerCount() >= 1, "winmm: mixer devices: " + std::to_string(mixer.GetMixerCount()));
  Check(mixer.GetMixerId() == 0 && !mixer.Destinations().empty(),
        "winmm: device 0 open, " + std::to_string(mixer.Destinations().size()) + " destination line(s)");
  if (mixer.Destinations().empty()) return;
  std::printf("info: device \"%ls\", line \"%ls\", %u controls, %u sources\n", mixer.GetProductName().c_str(),
              mixer.Destinations()[0].Name().c_str(), static_cast<unsigned>(mixer.Destinations()[0].Controls.size()),
              static_cast<unsigned>(mixer.Destinations()[0].Connections.size()));
  TLineVolume v;
  const bool read = mixer.GetVolume(0, -1, v);
  Check(read && v.Left >= 0 && v.Mute >= 0, "winmm: the line reads: " + Str(v));

  Check(mixer.SetVolume(0, -1, 30000, 30000, 1), "winmm: set 30000, muted");
  mixer.GetVolume(0, -1, v);
  Check(v.Left == 30000 && v.Right == 30000 && v.Mute == 1, "winmm: reads back 30000, muted: " + Str(v));
  Check(mixer.SetVolume(0, -1, -1, -1, 0), "winmm: unmute alone");
  mixer.GetVolume(0, -1, v);
  Check(v.Left == 30000 && v.Mute == 0, "winmm: unmuted, the volume kept: " + Str(v));

  int newVolume = -1;
  const bool stepped = mixer.StepVolume(0, -1, v.Left, v.Right, v.Mute, 2, true, newVolume);
  Check(stepped && newVolume == 31310, "winmm: a step of 2 % to " + std::to_string(newVolume));
  mixer.GetVolume(0, -1, v);
  Check(v.Left == 31310 && v.Right == 31310, "winmm: reads back the step: " + Str(v));
  const bool set = mixer.StepVolume(0, -1, v.Left, v.Right, v.Mute, 50, false, newVolume);
  Check(set && newVolume == 32767, "winmm: set to 50 % gives " + std::to_string(newVolume));
  mixer.GetVolume(0, -1, v);
  Check(v.Left == 32767, "winmm: reads back 50 %: " + Str(v));
  CheckMissingLines(mixer, "winmm");

  // The executor on the real line: up shows the new level, mute toggles and shows it.
  RecordingDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  Press(executor, TVolumeCode::Up, "00000002");
  Press(executor, TVolumeCode::Mute, "00000002");
  mixer.GetVolume(0, -1, v);
  Check(v.Left == 34077 && v.Mute == 1, "winmm: a volume-up key then a mute key: " + Str(v));
  Press(executor, TVolumeCode::Mute, "00000002");
  mixer.GetVolume(0, -1, v);
  Check(v.Mute == 0, "winmm: a second mute key unmutes: " + Str(v));
  Check(
      displays.shown == std::vector<std::string>{"display 52", "sound off", "sound on"}, "winmm: shown: " + [&] {
        std::string s;
        for (const auto& x : displays.shown) s += x + "; ";
        return s;
      }());
}

void EndpointWithDevice() {
  const TWindowsVersionOverride ten(kTen);
  TAudioMixer mixer(nullptr);
  Check(mixer.EndpointMode(), "endpoint: chosen after XP");
  Check(mixer.HasEndpoint(), "endpoint: the default output device found");
  if (!mixer.HasEndpoint()) return;
  TLineVolume v;
  const bool read = mixer.GetVolume(0, -1, v);
  Check(read && v.Left >= 0 && v.Left == v.Right && v.Stereo && v.Mute >= 0,
        "endpoint: the master volume reads: " + Str(v));
  const bool set = mixer.SetVolume(0, -1, 19661, 19661, 1);
  TLineVolume after;
  mixer.GetVolume(0, -1, after);
  std::printf("%s: endpoint: set 30 %%, muted: %s; reads back %s\n",
              set && after.Left == 19661 && after.Mute == 1 ? "ok" : "wine", set ? "accepted" : "refused",
              Str(after).c_str());
  int newVolume = -1;
  const bool stepped = mixer.StepVolume(0, -1, after.Left, after.Right, after.Mute, 2, true, newVolume);
  mixer.GetVolume(0, -1, after);
  std::printf("%s: endpoint: a step of 2 %%: %s, new volume %d; reads back %s\n",
              stepped && after.Left == newVolume ? "ok" : "wine", stepped ? "accepted" : "refused", newVolume,
              Str(after).c_str());
  mixer.SetVolume(0, -1, v.Left, v.Right, v.Mute);
  RecordingDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  Press(executor, TVolumeCode::Up, "00000002");
  Press(executor, TVolumeCode::Mute, "00000002");
  Check(!executor.Running(), "endpoint: volume keys run to the end on wine's endpoint");
  std::string shown;
  for (const auto& x : displays.shown) shown += x + "; ";
  std::printf("info: endpoint: shown: %s\n", shown.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const TOleInitialization ole;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "none") {
    NoDevice();
  } else if (mode == "device") {
    WinmmWithDevice();
    EndpointWithDevice();
  } else {
    std::printf("usage: soundcheck.exe none|device\n");
    return 2;
  }
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}
