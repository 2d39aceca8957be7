// The volume executor against a fake mixer: from a binding's parameter string to
// what happens to the line and what the user is shown.
#include <gtest/gtest.h>

#include "actions/VolumeAction.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct FakeLine {
  std::vector<std::uint32_t> channels;  // none: the line has no volume control
  int mute = MixerNone;                 // -1: no mute control
  friend bool operator==(const FakeLine&, const FakeLine&) = default;
};

// A winmm mixer in miniature: lines by (destination, source), the real arithmetic.
class FakeMixer : public IVolumeMixer {
 public:
  int count = 1;
  std::vector<int> opened;
  std::map<std::pair<int, int>, FakeLine> lines;
  std::vector<int> mutesWritten;

  int GetMixerCount() const override { return count; }
  void SetMixerId(int id) override { opened.push_back(id); }
  bool GetVolume(int dest, int conn, TLineVolume& v) override {
    v = TLineVolume{};
    const FakeLine* line = find(dest, conn);
    if (!line) return false;
    if (!line->channels.empty()) {
      v.Left = static_cast<int>(line->channels[0]);
      v.Stereo = line->channels.size() > 1;
      v.Right = static_cast<int>(line->channels[v.Stereo ? 1 : 0]);
      v.VolumeDisabled = false;
    }
    v.Mute = line->mute;
    v.MuteDisabled = line->mute == MixerNone;
    return true;
  }
  bool SetVolume(int dest, int conn, int left, int right, int mute) override {
    FakeLine* line = find(dest, conn);
    if (!line) return false;
    writeMute(*line, mute);
    if (left != MixerNone && !line->channels.empty()) {
      for (auto& c : line->channels) c = static_cast<std::uint32_t>(left);
      if (line->channels.size() > 1 && right != MixerNone) line->channels[1] = static_cast<std::uint32_t>(right);
    }
    return true;
  }
  bool StepVolume(int dest, int conn, int left, int, int mute, int stepPercent, bool relative,
                  int& newVolume) override {
    FakeLine* line = find(dest, conn);
    if (!line) return false;
    writeMute(*line, mute);
    if (left == MixerNone) return true;
    const TChannelStep s = StepChannelLevels(line->channels, stepPercent, relative);
    if (s.NewVolume == MixerNone) return false;
    if (s.Write) line->channels = s.Values;
    newVolume = s.NewVolume;
    return true;
  }

 private:
  FakeLine* find(int dest, int conn) {
    const auto it = lines.find({dest, conn});
    return it == lines.end() ? nullptr : &it->second;
  }
  void writeMute(FakeLine& line, int mute) {
    if (mute == MixerNone) return;
    mutesWritten.push_back(mute);
    if (line.mute != MixerNone) line.mute = mute;
  }
};

class FakeDisplays : public IVolumeDisplays {
 public:
  bool show = true;
  bool asDisplay = false;
  std::vector<std::string> shown;
  std::function<void()> whileShowing;

  bool ShowsVolume() override { return show; }
  bool VolumeAsDisplay() override { return asDisplay; }
  void ShowVolumeDisplay(int percent) override { note("display " + std::to_string(percent)); }
  void ShowVolumePopup(TVolumeCode code, int percent) override {
    note("popup " + std::to_string(static_cast<int>(code)) + " " + std::to_string(percent));
  }
  void ShowMutePicture(bool audible) override { note(audible ? "sound on" : "sound off"); }

 private:
  void note(std::string s) {
    shown.push_back(std::move(s));
    if (whileShowing) whileShowing();
  }
};

struct Case {
  const char* what;
  int code;  // 21-24
  const char* params;
  FakeLine before;  // the line (0, -1); the source line (0, 0) is always {{20000}, 0}
  FakeLine after;
  std::vector<std::string> shown;
  bool show = true;
  bool asDisplay = false;
};

TEST(VolumeAction, ParameterStringToEffect) {
  const Case cases[] = {
      {"up by the step", 21, "00000002", {{30000}, 0}, {{31310}, 0}, {"popup 1 48"}},
      {"down by the step", 22, "00000002", {{30000}, 0}, {{28690}, 0}, {"popup 2 44"}},
      {"set, shown in the volume display", 24, "00000050", {{30000}, 0}, {{32767}, 0}, {"display 50"}, true, true},
      {"set 50 % keeps the balance", 24, "00000050", {{60000, 50000}, 0}, {{32767, 27305}, 0}, {"popup 4 50"}},
      {"set 100 %", 24, "000000100", {{100}, 0}, {{65535}, 0}, {"popup 4 100"}},
      {"step text \"5\" is a step of 1", 21, "0000005", {{30000}, 0}, {{30655}, 0}, {"popup 1 47"}},
      {"step \"50\" is a step of 6", 21, "00000050", {{30000}, 0}, {{33932}, 0}, {"popup 1 52"}},
      {"up at full writes nothing, shows full", 21, "00000002", {{65535}, 0}, {{65535}, 0}, {"popup 1 100"}},
      {"a muted line keeps its mute on a step", 21, "00000002", {{30000}, 1}, {{31310}, 1}, {"popup 1 48"}},
      {"mute", 23, "00000002", {{30000}, 0}, {{30000}, 1}, {"sound off"}},
      {"unmute", 23, "00000002", {{30000}, 1}, {{30000}, 0}, {"sound on"}},
      {"mute with show volume off: toggled, nothing shown", 23, "00000002", {{30000}, 0}, {{30000}, 1}, {}, false},
      {"up with show volume off", 21, "00000002", {{30000}, 0}, {{31310}, 0}, {}, false},
      {"mute on a line without mute: nothing", 23, "00000002", {{30000}, MixerNone}, {{30000}, MixerNone}, {}},
      {"a line without volume: nothing shown", 21, "00000002", {{}, 0}, {{}, 0}, {}},
      {"a missing destination: nothing", 21, "05000002", {{30000}, 0}, {{30000}, 0}, {}},
      {"a missing source line: nothing", 21, "00050002", {{30000}, 0}, {{30000}, 0}, {}},
      {"empty parameters: the defaults", 21, "", {{30000}, 0}, {{31310}, 0}, {"popup 1 48"}},
      {"a bad step: the default step", 21, "000000ab", {{30000}, 0}, {{31310}, 0}, {"popup 1 48"}},
      {"no step at all: the default step", 22, "000000", {{30000}, 0}, {{28690}, 0}, {"popup 2 44"}},
      {"a bad destination: the first", 21, "x0000002", {{30000}, 0}, {{31310}, 0}, {"popup 1 48"}},
  };
  for (const Case& c : cases) {
    FakeMixer mixer;
    mixer.lines[{0, -1}] = c.before;
    mixer.lines[{0, 0}] = {{20000}, 0};
    FakeDisplays displays;
    displays.show = c.show;
    displays.asDisplay = c.asDisplay;
    TVolumeExecutor executor(mixer, displays);
    TActionContext context{c.params, {}};
    executor.Execute(c.code - 20, 0, context);
    const FakeLine after = mixer.lines[{0, -1}];
    EXPECT_EQ(after.channels, c.after.channels) << c.what;
    EXPECT_EQ(after.mute, c.after.mute) << c.what;
    EXPECT_EQ(displays.shown, c.shown) << c.what;
    EXPECT_EQ(mixer.lines[(std::pair{0, 0})], (FakeLine{{20000}, 0})) << c.what << ": the source line stays";
    for (const int m : mixer.mutesWritten) EXPECT_TRUE(m == 0 || m == 1) << c.what << ": mute written " << m;
    EXPECT_FALSE(executor.Running()) << c.what;
  }
}

TEST(VolumeAction, ASourceLineByItsIndexPlusOne) {
  FakeMixer mixer;
  mixer.lines[{0, -1}] = {{30000}, 0};
  mixer.lines[{0, 0}] = {{20000}, 0};
  FakeDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  TActionContext up{"00010005", {}};
  executor.Execute(1, 0, up);
  EXPECT_EQ(mixer.lines[(std::pair{0, 0})].channels, std::vector<std::uint32_t>{23276});
  EXPECT_EQ(mixer.lines[(std::pair{0, -1})].channels, std::vector<std::uint32_t>{30000});
  TActionContext mute{"00010005", {}};
  executor.Execute(3, 0, mute);
  EXPECT_EQ(mixer.lines[(std::pair{0, 0})].mute, 1);
  EXPECT_EQ(displays.shown, (std::vector<std::string>{"popup 1 36", "sound off"}));
}

TEST(VolumeAction, OpensTheDeviceItNamesWhenItExists) {
  FakeMixer mixer;
  mixer.count = 2;
  mixer.lines[{0, -1}] = {{30000}, 0};
  FakeDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  for (const char* params : {"00000102", "00000002", "00000202", "0000xx02"}) {
    TActionContext context{params, {}};
    executor.Execute(1, 0, context);
  }
  // Device 2 does not exist; a bad field is device 0.
  EXPECT_EQ(mixer.opened, (std::vector<int>{1, 0, 0}));
}

TEST(VolumeAction, APressWhileAChangeRunsChangesNothing) {
  FakeMixer mixer;
  mixer.lines[{0, -1}] = {{30000}, 0};
  FakeDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  bool wasRunning = false;
  bool pressedAgain = false;
  displays.whileShowing = [&] {
    if (std::exchange(pressedAgain, true)) return;
    wasRunning = executor.Running();
    TActionContext again{"00000002", {}};
    executor.Execute(1, 0, again);
  };
  TActionContext context{"00000002", {}};
  executor.Execute(1, 0, context);
  EXPECT_TRUE(wasRunning);
  EXPECT_EQ(mixer.lines[(std::pair{0, -1})].channels, std::vector<std::uint32_t>{31310}) << "one step, not two";
  EXPECT_FALSE(executor.Running());
  EXPECT_EQ(displays.shown, std::vector<std::string>{"popup 1 48"});
  // And the next press runs again.
  TActionContext next{"00000002", {}};
  executor.Execute(1, 0, next);
  EXPECT_EQ(mixer.lines[(std::pair{0, -1})].channels, std::vector<std::uint32_t>{32620});
}

TEST(VolumeAction, CodesOutsideTheFamilyDoNothing) {
  FakeMixer mixer;
  mixer.lines[{0, -1}] = {{30000}, 0};
  FakeDisplays displays;
  TVolumeExecutor executor(mixer, displays);
  for (const int sub : {0, 5, -1, 9}) {
    TActionContext context{"00000002", {}};
    executor.Execute(sub, 0, context);
  }
  EXPECT_EQ(mixer.lines[(std::pair{0, -1})].channels, std::vector<std::uint32_t>{30000});
  EXPECT_TRUE(displays.shown.empty());
}

}  // namespace
