// The main window in this process, over a settings folder of its own: the timers
// that keep the monitor off reach only the power seam, a lock or a resume turns
// the monitor back on, a plug-in's button reaches the bindings, closing is
// refused while the settings load, and its save counts the keys pressed just before.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "vcl/Win.h"
#include <wtsapi32.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/mainwindow/MainWindow.h"
#include "core/program/tests/MarkerKey.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsFolder.h"
#include "core/utils/SystemPower.h"
#include "vcl/Clock.h"
#include "testing/TempDir.h"
#include "testing/PumpApplication.h"

namespace {

using namespace std::chrono_literals;

struct PowerCall {
  std::string what;
  std::int64_t value;
  friend bool operator==(const PowerCall&, const PowerCall&) = default;
};

struct RecordingPower : ISystemPower {
  std::vector<PowerCall> calls;
  void MonitorPower(std::uintptr_t, int state) override { calls.push_back({"monitor", state}); }
  void SetExecutionState(std::uint32_t flags) override { calls.push_back({"state", flags}); }
  bool saw(const PowerCall& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
};

struct MainWindowForm : ::testing::Test {
  qorn::testing::TempDir dir{"mainwindowform"};
  RecordingPower power;
  TMainForm* form = nullptr;

  void SetUp() override {
    SetSystemPower(&power);
    SettingsFolder = FolderText(dir.path());
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
  }
  void TearDown() override {
    delete form;
    SetSystemPower(nullptr);
    SettingsFolder.clear();
    SettingsLoading = 0;
    MainSettings = TMainSettings{};  // the next test's first run starts from nothing, its counter too
  }
  LRESULT Send(UINT msg, WPARAM wp, LPARAM lp) { return SendMessageW(form->GetHandle(), msg, wp, lp); }
};

TEST_F(MainWindowForm, TheMonitorOffTimersGoOnlyThroughThePowerSeam) {
  const PowerCall monitorOff{"monitor", 2};
  const PowerCall keepOn{"state", ES_CONTINUOUS};
  const PowerCall keepAwake{"state", ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED};

  // Until the ticks came, with room for a machine ten times slower (the timers
  // run every millisecond and every second).
  auto ticksUntil = [](const std::function<bool()>& done) {
    const std::uint64_t end = ClockNowMs() + 20'000;
    while (!done() && ClockNowMs() < end) Pump(5ms);
    return done();
  };
  form->TimerMonOff->SetEnabled(true);
  EXPECT_TRUE(ticksUntil([&] { return power.saw(monitorOff) && power.saw(keepOn); }))
      << "alone, the monitor timer keeps the continuous state";
  EXPECT_FALSE(power.saw(keepAwake));

  form->TimerSetActive->SetEnabled(true);
  power.calls.clear();
  EXPECT_TRUE(ticksUntil([&] { return power.saw(monitorOff) && power.saw(keepAwake); }));
  EXPECT_FALSE(power.saw(keepOn)) << "the awake timer owns the execution state while it runs";

  // A lock (and likewise a resume) turns the monitor back on and stops both timers.
  form->MonitorIsOff = true;
  power.calls.clear();
  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  EXPECT_TRUE(power.saw({"monitor", -1}));
  EXPECT_FALSE(form->TimerMonOff->GetEnabled());
  EXPECT_FALSE(form->TimerSetActive->GetEnabled());
  EXPECT_FALSE(form->MonitorIsOff);
  Send(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);

  form->MonitorIsOff = true;
  power.calls.clear();
  EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
  EXPECT_EQ(power.calls, (std::vector<PowerCall>{{"monitor", -1}}));
  // With the monitor on, nothing is sent.
  power.calls.clear();
  EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
  EXPECT_TRUE(power.calls.empty());
}

TEST_F(MainWindowForm, APluginButtonReachesItsBindingFromOurOwnMemory) {
  TKeyRecord button;
  button.Name = "Remote power";
  button.Vk = 1;
  button.Code2 = 1;
  button.Msg = 0;
  button.Modifiers = NoModifiers;
  button.ActionCode = 101;
  button.PluginKeyName = "KEY_POWER";
  ASSERT_TRUE(form->Engine().GlobalTable().Add(button));

  static const char bound[] = "KEY_POWER";
  static const char unbound[] = "KEY_MUTE";
  static const char empty[] = "";
  struct Case {
    WPARAM event;
    const char* name;
    LRESULT expected;
  };
  const Case cases[] = {{PluginKeyEvent, bound, KeyTaken},
                        {PluginKeyEvent, unbound, KeyPassed},
                        {PluginKeyEvent, empty, KeyPassed},
                        {1, bound, KeyPassed},
                        {3, bound, KeyPassed}};
  for (const Case& c : cases)
    EXPECT_EQ(Send(WM_PLUGINKEY, c.event, reinterpret_cast<LPARAM>(c.name)), c.expected)
        << "event " << c.event << ", name '" << c.name << "'";
}

TEST_F(MainWindowForm, ClosingIsRefusedWhileTheSettingsLoad) {
  const auto stg = dir.path() / "stg.db";
  ASSERT_TRUE(std::filesystem::exists(stg));
  ASSERT_EQ(std::filesystem::file_size(stg), 0u) << "a first run starts with an empty file";
  SettingsLoading = 1;
  EXPECT_FALSE(form->CloseQuery());
  EXPECT_EQ(std::filesystem::file_size(stg), 0u) << "a refused close saves nothing";
  SettingsLoading = 0;
  EXPECT_TRUE(form->CloseQuery());
  EXPECT_EQ(std::filesystem::file_size(stg), SettingsFileSizeAllFonts);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "profile.db"));
}

TEST_F(MainWindowForm, KeysTakenJustBeforeTheCloseAreInItsSave) {
  // Two key-ups whose counting still waits in the window's queue.
  form->Engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgUp);
  form->Engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgUp);
  ASSERT_TRUE(form->Engine().HasPending());
  ASSERT_TRUE(form->CloseQuery());
  TSettingsRecords saved;
  LoadSettingsFile(qorn::testing::ReadFileBytes(dir.path() / "stg.db"), saved);
  EXPECT_EQ(saved.Main.KeyPressCount, 2);
}

bool SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &input, sizeof input) == 1;
}

TEST_F(MainWindowForm, KeysThatPassedTheHookJustBeforeTheCloseAreInItsSave) {
  // F13 is bound to nothing: the hook lets it pass at once and reports it a moment
  // later, when this thread takes its messages. It takes none here (the keys go
  // from another thread: a thread that sends input takes its sent messages while the
  // hooks see it). Once the marker sent after F13 shows as down, the hook has seen
  // F13 and holds its report.
  bool sent = false, through = false;
  std::thread keyboard([&] {
    sent = SendKey(VK_F13, false) && SendKey(VK_F13, true) && qorn::testing::SendMarkerKey(false);
    const auto markerDown = [] { return (GetAsyncKeyState(qorn::testing::MarkerVk) & 0x8000) != 0; };
    const auto end = std::chrono::steady_clock::now() + 30s;
    while (sent && !markerDown() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(5ms);
    through = markerDown();
    sent = qorn::testing::SendMarkerKey(true) && sent;
  });
  keyboard.join();
  ASSERT_TRUE(sent);
  ASSERT_TRUE(through) << "the marker never came through the hooks";
  ASSERT_TRUE(form->CloseQuery());
  TSettingsRecords saved;
  LoadSettingsFile(qorn::testing::ReadFileBytes(dir.path() / "stg.db"), saved);
  EXPECT_EQ(saved.Main.KeyPressCount, 1) << "a key pressed before the close is counted in its save";
}

}  // namespace
