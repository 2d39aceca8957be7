#include "core/keys/KeyEngine.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/keys/tests/EngineFakes.h"
#include "core/utils/Trace.h"

namespace {

using F = TActionFamily;
using Log = std::vector<TRecordedAction>;

struct Engine : ::testing::Test {
  fakes::EngineOptions options;
  fakes::Foreground foreground;
  fakes::Profiles profiles;
  fakes::RepeatTimer timer;
  fakes::LockKeys locks;
  fakes::Language language;
  fakes::Displays displays;
  fakes::Capture capture;
  fakes::KeyTest keyTest;
  fakes::Esc esc;
  fakes::Counter counter;
  TActionExecutors executors;
  TRecordingExecutors recorder;
  TKeyEngine engine{{options, foreground, profiles, timer, locks, language, displays, capture, keyTest, esc,
                     counter, executors, fakes::widen}};
  int wakeUps = 0;

  Engine() {
    recorder.InstallInto(executors);
    engine.SetWakeUp([this] { ++wakeUps; });
  }

  static TKeyRecord binding(std::uint8_t vk, int code, std::string_view params = "",
                            std::int32_t msg = KeyMsgDown, std::string_view modifiers = NoModifiers) {
    TKeyRecord r;
    r.Vk = vk;
    r.Code2 = 0x20;
    r.Msg = msg;
    r.Modifiers = modifiers;
    r.ActionCode = static_cast<TActionCode>(code);
    r.Params = params;
    r.Name = params;
    return r;
  }
  void bind(const TKeyRecord& r) { ASSERT_TRUE(engine.GlobalTable().Add(r)); }

  std::int32_t down(std::uint8_t vk) { return engine.KeyCallback(vk, 0x20, 0, KeyMsgDown); }
  std::int32_t up(std::uint8_t vk) { return engine.KeyCallback(vk, 0x20, 0, KeyMsgUp); }
};

TEST_F(Engine, BoundKeysAreTakenAndRunAfterTheCallbackReturned) {
  bind(binding(176, 21, "vol"));
  EXPECT_EQ(down(176), KeyTaken);
  EXPECT_TRUE(recorder.Log().empty()) << "no action may run inside the hook callback";
  EXPECT_EQ(wakeUps, 1);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "vol"}}));
  EXPECT_FALSE(engine.HasPending());
}

TEST_F(Engine, UnboundKeysPass) {
  bind(binding(176, 21));
  EXPECT_EQ(down(177), KeyPassed);
  EXPECT_EQ(up(176), KeyPassed) << "a key-down binding does not take the key-up";
  engine.RunPending();
  EXPECT_TRUE(recorder.Log().empty());
}

TEST_F(Engine, QueuedActionsRunInOrderWithTheirOwnRecords) {
  bind(binding(176, 21, "first"));
  bind(binding(177, 42, "second"));
  down(176);
  down(177);
  down(176);
  engine.GlobalTable().Clear();  // e.g. a profile switch before the queue ran
  engine.RunPending();
  EXPECT_EQ(recorder.Log(),
            (Log{{F::Volume, 1, 0, "first"}, {F::Folders, 2, 0, "second"}, {F::Volume, 1, 0, "first"}}));
}

// An action that pumps messages (a confirmation window, a dial-up) lets further keys
// in; their work must wait until the running action has finished.
struct Pumping : IActionExecutor {
  TKeyEngine* engine = nullptr;
  std::vector<std::string>* order = nullptr;
  void Execute(int, int, TActionContext& context) override {
    order->push_back("start " + context.Params);
    if (context.Params == "slow") {
      EXPECT_EQ(engine->KeyCallback(177, 0x20, 0, KeyMsgDown), KeyTaken);
      engine->RunPending();  // the modal loop dispatches the posted message
    }
    order->push_back("end " + context.Params);
  }
};

TEST_F(Engine, WorkNeverReentersARunningAction) {
  std::vector<std::string> order;
  Pumping pumping;
  pumping.engine = &engine;
  pumping.order = &order;
  executors.Set(F::Power, &pumping);
  bind(binding(176, 61, "slow"));
  bind(binding(177, 61, "quick"));
  down(176);
  engine.RunPending();
  EXPECT_EQ(order, (std::vector<std::string>{"start slow", "end slow", "start quick", "end quick"}));
}

TEST_F(Engine, AFailureInOneStepDoesNotLoseTheNext) {
  capture.throwOnSetk = true;
  bind(binding(177, 21, "after"));
  engine.SetCaptureMode(true);
  EXPECT_EQ(down(176), KeyTaken);
  EXPECT_EQ(down(177), KeyTaken);
  EXPECT_NO_THROW(engine.RunPending());
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "after"}}));
  EXPECT_FALSE(engine.HasPending());
}

TEST_F(Engine, FullScreenGatePassesEveryKeyUncounted) {
  bind(binding(176, 21));
  bind(binding(176, 21, "", KeyMsgUp));
  foreground.exactly = true;
  struct Case {
    bool optexceptonfullscreen;
    bool fullScreen;
    std::int32_t result;
    int counted;
  };
  const Case cases[] = {{true, true, KeyPassed, 0}, {true, false, KeyTaken, 1}, {false, true, KeyTaken, 1}};
  for (const auto& c : cases) {
    options.value.optexceptonfullscreen = c.optexceptonfullscreen;
    foreground.exactly = c.fullScreen;
    counter.count = 0;
    recorder.ClearLog();
    EXPECT_EQ(down(176), c.result);
    EXPECT_EQ(up(176), c.result);
    engine.RunPending();
    EXPECT_EQ(counter.count, c.counted);
    EXPECT_EQ(recorder.Log().size(), c.result == KeyTaken ? 2u : 0u);
  }
}

TEST_F(Engine, NoNoticesOverFullScreenButTheActionRuns) {
  options.value.osdshfs = true;
  options.value.osdkeyspressed = true;
  foreground.exactly = true;
  bind(binding(176, 83));
  EXPECT_EQ(down(176), KeyTaken);
  engine.RunPending();
  EXPECT_EQ(recorder.Log().size(), 1u);
  EXPECT_TRUE(displays.shown.empty());
  foreground.exactly = false;
  down(176);
  engine.RunPending();
  EXPECT_EQ(displays.shown.size(), 1u);
}

TEST_F(Engine, PerProgramProfileShadowsTheGlobalOneEvenWithMultiAction) {
  options.value.optmultiact = true;
  bind(binding(176, 21, "g1"));
  bind(binding(176, 22, "g2"));
  TKeyTable game;
  game.Add(binding(176, 83, "p1"));
  game.Add(binding(176, 84, "p2"));
  profiles.profiles["game"] = game;
  profiles.profileOfExe["c:\\games\\game.exe"] = "game";
  foreground.exes[2] = "c:\\games\\game.exe";

  down(176);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "g1"}, {F::Volume, 2, 0, "g2"}}));

  recorder.ClearLog();
  foreground.window = 2;
  down(176);
  engine.RunPending();
  EXPECT_EQ(engine.ActivePerProgramProfile(), "game");
  EXPECT_EQ(recorder.Log(), (Log{{F::Windows, 83, 0, "p1"}, {F::Windows, 84, 0, "p2"}}));

  recorder.ClearLog();
  foreground.window = 1;  // back to a program without a profile
  down(176);
  engine.RunPending();
  EXPECT_EQ(engine.ActivePerProgramProfile(), "");
  EXPECT_EQ(recorder.Log().size(), 2u);
  EXPECT_EQ(recorder.Log()[0].Params, "g1");
}

TEST_F(Engine, ForegroundIsLookedAtOnlyWhenItChanges) {
  profiles.profileOfExe["c:\\a.exe"] = "a";
  foreground.exes[2] = "c:\\a.exe";
  foreground.exes[3] = "c:\\a.exe";
  foreground.window = 2;
  for (int i = 0; i < 3; ++i) down(10);
  EXPECT_EQ(foreground.exeQueries, 1);
  EXPECT_EQ(profiles.loads, std::vector<std::string>{"a"});
  foreground.window = 3;  // another window of the same program: same profile, no reload
  down(10);
  EXPECT_EQ(foreground.exeQueries, 2);
  EXPECT_EQ(profiles.loads, std::vector<std::string>{"a"});
  EXPECT_EQ(engine.ForegroundExe(), "c:\\a.exe");
}

TEST_F(Engine, IgnoredProgramsGetNoKeyHandling) {
  bind(binding(176, 21));
  profiles.ignored = {"c:\\games\\game.exe"};
  foreground.exes[2] = "c:\\games\\game.exe";
  foreground.window = 2;
  EXPECT_EQ(down(176), KeyPassed);
  EXPECT_EQ(up(176), KeyPassed);
  engine.RunPending();
  EXPECT_TRUE(recorder.Log().empty());
  EXPECT_EQ(counter.count, 1) << "the press still counts";
  foreground.window = 1;
  EXPECT_EQ(down(176), KeyTaken);
}

TEST_F(Engine, MultiActionRunsEveryMatchInTableOrder) {
  options.value.optmultiact = true;
  bind(binding(176, 21, "a"));
  bind(binding(177, 21, "other key"));
  bind(binding(176, 42, "b"));
  bind(binding(176, 83, "c"));
  down(176);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "a"}, {F::Folders, 2, 0, "b"}, {F::Windows, 83, 0, "c"}}));
  options.value.optmultiact = false;
  recorder.ClearLog();
  down(176);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "a"}}));
}

TEST_F(Engine, RepeatIntervalIsRoundedFromTheRate) {
  const std::pair<int, unsigned> cases[] = {{1, 1000}, {3, 333}, {4, 250}, {6, 167}, {7, 143}, {255, 4}};
  for (const auto& [rate, interval] : cases) {
    engine.GlobalTable().Clear();
    TKeyRecord r = binding(176, 21);
    r.RepeatRate = static_cast<std::uint8_t>(rate);
    bind(r);
    timer.starts.clear();
    EXPECT_EQ(down(176), KeyTaken);
    ASSERT_EQ(timer.starts.size(), 1u) << rate;
    EXPECT_EQ(timer.starts[0], interval) << rate;
    up(176);
    EXPECT_FALSE(timer.running) << rate;
  }
}

TEST_F(Engine, RepeatRunsAtKeyDownThenOnEveryTickUntilTheKeyUp) {
  TKeyRecord r = binding(176, 21, "rep");
  r.RepeatRate = 4;
  bind(r);
  EXPECT_EQ(down(176), KeyTaken);
  engine.RunPending();
  EXPECT_EQ(recorder.Log().size(), 1u) << "a tap runs at once";
  EXPECT_TRUE(timer.running);
  engine.RepeatTimerTimer();
  engine.RepeatTimerTimer();
  EXPECT_EQ(recorder.Log().size(), 3u);
  EXPECT_EQ(up(176), KeyPassed);
  EXPECT_FALSE(timer.running);
  EXPECT_FALSE(engine.RepeatPending());
  engine.RepeatTimerTimer();  // a tick already queued when the timer stopped
  EXPECT_EQ(recorder.Log(), Log(3, {F::Volume, 1, 0, "rep"}));
}

TEST_F(Engine, TheKeyboardsOwnRepeatsDoNotChangeTheRate) {
  TKeyRecord r = binding(176, 21, "rep");
  r.RepeatRate = 4;
  bind(r);
  down(176);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(down(176), KeyTaken) << "the held key stays taken";
  engine.RunPending();
  EXPECT_EQ(recorder.Log().size(), 1u);
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.starts.size(), 1u);
  engine.RepeatTimerTimer();
  EXPECT_EQ(recorder.Log().size(), 2u);
}

TEST_F(Engine, AnotherKeyEndsTheRepeat) {
  TKeyRecord r = binding(176, 21, "rep");
  r.RepeatRate = 4;
  bind(r);
  bind(binding(177, 42, "other"));
  down(176);
  EXPECT_EQ(down(177), KeyTaken);
  EXPECT_FALSE(timer.running);
  engine.RepeatTimerTimer();
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "rep"}, {F::Folders, 2, 0, "other"}}));

  down(176);
  EXPECT_EQ(down(65), KeyPassed) << "an unbound key";
  EXPECT_FALSE(timer.running);
}

TEST_F(Engine, APluginButtonRepeatsOnlyWhileItsRepeatsKeepComing) {
  TKeyRecord r = binding(1, 21, "ir", 0);
  r.Code2 = 1;
  r.PluginKeyName = "KEY_VOLUMEUP";
  r.RepeatRate = 10;  // every 100 ms; the button counts as released after 300 ms of silence
  bind(r);
  engine.KeyCallback(1, 1, 0, 0, "KEY_VOLUMEUP");
  for (int i = 0; i < 2; ++i) engine.RepeatTimerTimer();
  EXPECT_EQ(engine.KeyCallback(1, 1, 0, 0, "KEY_VOLUMEUP"), KeyTaken);  // a repeat of the held button
  for (int i = 0; i < 10; ++i) engine.RepeatTimerTimer();
  engine.RunPending();
  EXPECT_FALSE(timer.running);
  // At the press, two ticks, then three ticks within 300 ms of the last repeat.
  EXPECT_EQ(recorder.Log().size(), 6u);
}

TEST_F(Engine, AKeyboardKeyRepeatsUntilItsKeyUpHoweverLong) {
  TKeyRecord r = binding(176, 21, "rep");
  r.RepeatRate = 10;
  bind(r);
  down(176);
  for (int i = 0; i < 50; ++i) engine.RepeatTimerTimer();
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(recorder.Log().size(), 51u);
}

TEST_F(Engine, StopRepeatEndsAHeldKeyWhoseKeyUpWillNeverCome) {
  TKeyRecord r = binding(176, 21);
  r.RepeatRate = 10;
  bind(r);
  down(176);
  engine.RunPending();
  engine.StopRepeat();
  EXPECT_FALSE(timer.running);
  engine.RepeatTimerTimer();
  engine.RunPending();
  EXPECT_EQ(recorder.Log().size(), 1u);
}

TEST_F(Engine, RavodOzezadoriChordIsTakenAndRunsNothing) {
  options.value.optmb = true;
  TKeyRecord r = binding(176, 21, "previous");
  r.RepeatRate = 5;
  bind(r);
  down(176);
  up(176);
  engine.RunPending();
  recorder.ClearLog();
  timer.starts.clear();
  engine.ModifierCallback(21);
  engine.ModifierCallback(71);
  EXPECT_EQ(engine.KeyCallback('5', 0x20, 0, KeyMsgDown), KeyTaken);
  engine.RunPending();
  EXPECT_TRUE(recorder.Log().empty()) << "the previous binding must not run again";
  EXPECT_TRUE(timer.starts.empty()) << "nor start its repeat";
}

TEST_F(Engine, ModifierCodesSetTheirPosition) {
  struct Case {
    std::int32_t code;
    const char* state;
  };
  const Case cases[] = {{11, "10000000"}, {21, "11000000"}, {81, "11000001"}, {10, "01000001"},
                        {51, "01001001"}, {12, "01001001"}, {0, "01001001"},  {91, "01001001"},
                        {-11, "01001001"}, {1, "01001001"}, {811, "01001001"}, {80, "01001000"}};
  for (const auto& c : cases) {
    engine.ModifierCallback(c.code);
    EXPECT_EQ(engine.ModifierStateStr(), c.state) << c.code;
  }
}

TEST_F(Engine, EventsCarryTheModifiersHeldWhenTheyArrived) {
  bind(binding(176, 21, "ctrl", KeyMsgDown, "01000000"));
  engine.ModifierCallback(71);  // right Ctrl
  EXPECT_EQ(down(176), KeyPassed);
  options.value.optlrmodif = true;
  EXPECT_EQ(down(176), KeyTaken);
  EXPECT_EQ(engine.CurrentKeyEvent().Modifiers, "00000010");
}

TEST_F(Engine, UnboundWinLAndCtrlAltDelResetTheModifiers) {
  struct Case {
    std::vector<std::int32_t> pressed;
    std::uint8_t vk;
    bool reset;
  };
  const std::vector<Case> cases = {
      {{31}, 76, true}, {{61}, 76, true}, {{21}, 46, true}, {{71}, 46, true},
      {{41}, 46, true}, {{51}, 46, true}, {{21}, 76, false}, {{31}, 46, false}, {{11}, 76, false},
  };
  for (const auto& c : cases) {
    engine.ResetModifierState();
    for (auto code : c.pressed) engine.ModifierCallback(code);
    const std::string before = engine.ModifierStateStr();
    down(c.vk);
    EXPECT_EQ(engine.ModifierStateStr(), c.reset ? "00000000" : before) << before << " " << int(c.vk);
  }
  // A bound Win+L is the user's own key: the state stays.
  engine.ResetModifierState();
  bind(binding(76, 21, "", KeyMsgDown, "00100000"));
  engine.ModifierCallback(31);
  EXPECT_EQ(down(76), KeyTaken);
  EXPECT_EQ(engine.ModifierStateStr(), "00100000");
}

TEST_F(Engine, KeyPressesAreCounted) {
  struct Case {
    std::int32_t msg;
    std::int32_t extra;
    int counted;
  };
  const Case cases[] = {{KeyMsgUp, 0, 1},   {KeyMsgSysUp, 0, 1}, {KeyMsgDown, 0, 0},
                        {KeyMsgSysDown, 0, 0}, {KeyMsgUp, KeyMsgUp, 2}, {KeyMsgDown, KeyMsgDown, 1},
                        {0, 0, 1}};
  for (const auto& c : cases) {
    counter.count = 0;
    engine.KeyCallback(65, 0x1e, c.extra, c.msg);
    EXPECT_EQ(counter.count, 0) << "counting waits for the queue";
    engine.RunPending();
    EXPECT_EQ(counter.count, c.counted) << c.msg << "/" << c.extra;
  }
}

TEST_F(Engine, PluginButtonsAreLookedUpByName) {
  TKeyRecord r = binding(1, 21, "ir", 0);
  r.Code2 = 1;
  r.PluginKeyName = "KEY_VOLUMEUP";
  bind(r);
  EXPECT_EQ(engine.KeyCallback(1, 1, 0, 0, "KEY_VOLUMEDOWN"), KeyPassed);
  EXPECT_EQ(engine.KeyCallback(1, 1, 0, 0, "KEY_VOLUMEUP"), KeyTaken);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "ir"}}));
  EXPECT_EQ(counter.count, 2);
}

TEST_F(Engine, CaptureTakesTheNextEventWithoutLookingItUp) {
  bind(binding(176, 21));
  engine.ModifierCallback(21);
  engine.SetCaptureMode(true);
  EXPECT_EQ(engine.KeyCallback(176, 0x20, 0x1234, KeyMsgUp), KeyTaken);
  EXPECT_FALSE(engine.CaptureMode());
  EXPECT_EQ(engine.CapturedKeyEvent().Vk, 176);
  EXPECT_EQ(engine.CapturedKeyEvent().Extra, 0x34);
  EXPECT_EQ(engine.CapturedKeyEvent().Modifiers, "01000000");
  engine.RunPending();
  ASSERT_EQ(capture.captured.size(), 1u);
  EXPECT_EQ(capture.captured[0].Msg, KeyMsgUp);
  EXPECT_EQ(counter.count, 1);
  EXPECT_TRUE(recorder.Log().empty());
  engine.ModifierCallback(20);
  EXPECT_EQ(down(176), KeyTaken) << "the next event is looked up again";
}

struct LockCase {
  const char* what;
  bool osdshowlocks;
  bool locksAsPopup;
  bool trayshowlocks;
  std::uint8_t vk;
  bool on;
  std::vector<fakes::Shown> shown;
};

TEST_F(Engine, LockKeyNotices) {
  const LockCase cases[] = {
      {"popup", true, true, false, 20, true, {{"popup", L"", L"CAPS LOCK ON"}}},
      {"popup, off", true, true, false, 20, false, {{"popup", L"", L"CAPS LOCK OFF"}}},
      {"popup and tray", true, true, true, 144, true, {{"popup", L"", L"NUM LOCK ON"}, {"tray4000", L"", L"N1"}}},
      {"tray choice", true, false, false, 145, false, {{"tray4000", L"", L"S0"}}},
      {"tray only", false, true, true, 20, false, {{"tray4000", L"", L"C0"}}},
      {"both off", false, true, false, 20, true, {}},
      {"not a lock key", true, true, true, 65, true, {}},
  };
  // Unbound, the lock keys pass at once and the hook reports them marked so.
  for (const std::int32_t passed : {0, KeyAlreadyPassed}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(passed ? "passed already" : "waited for");
      options.value.osdshowlocks = c.osdshowlocks;
      options.value.locksAsPopup = c.locksAsPopup;
      options.value.trayshowlocks = c.trayshowlocks;
      locks.on[c.vk] = c.on;
      displays.shown.clear();
      engine.KeyCallback(c.vk, 0x20, passed, KeyMsgDown);
      engine.RunPending();
      EXPECT_TRUE(displays.shown.empty()) << c.what << ": key-down shows nothing";
      engine.KeyCallback(c.vk, 0x20, passed | 0x80, KeyMsgUp);
      engine.RunPending();
      EXPECT_EQ(displays.shown, c.shown) << c.what;
    }
  }
}

TEST_F(Engine, LockStateIsReadAfterTheKeyWasHandled) {
  options.value.osdshowlocks = true;
  locks.on[20] = false;
  up(20);
  locks.on[20] = true;  // the system switches the lock once the hook let the key go
  engine.RunPending();
  EXPECT_EQ(displays.shown, (std::vector<fakes::Shown>{{"popup", L"", L"CAPS LOCK ON"}}));
}

TEST_F(Engine, KeyTestListKeepsTheLast15Keys) {
  language.texts["Str.ActivateTest"] = L"Start";
  language.texts["Str.CancelTest"] = L"Stop";
  keyTest.rows.push_back({L"old"});
  EXPECT_EQ(engine.FlatSpeedButton6Click(L"Start"), L"Stop");
  EXPECT_TRUE(keyTest.rows.empty());
  for (int i = 0; i < 20; ++i) engine.KeyCallback(65 + i, 30 + i, 0, KeyMsgDown);
  engine.RunPending();
  ASSERT_EQ(keyTest.rows.size(), 15u);
  EXPECT_EQ(keyTest.rows.front()[0], L"70");
  EXPECT_EQ(keyTest.rows.back(), (std::vector<std::wstring>{L"84", L"49", L"T", L""}));

  engine.ModifierCallback(11);
  engine.ModifierCallback(71);
  engine.ModifierCallback(31);
  engine.KeyCallback(255, 101, 0, KeyMsgDown);
  engine.KeyCallback(1, 1, 0, 0, "KEY_OK");
  engine.RunPending();
  const auto n = keyTest.rows.size();
  EXPECT_EQ(keyTest.rows[n - 2], (std::vector<std::wstring>{L"255", L"101", L"MM101", L"LShift LWin RCtrl "}));
  EXPECT_EQ(keyTest.rows[n - 1],
            (std::vector<std::wstring>{L"1", L"1", L"MM1", L"LShift LWin RCtrl ", L"KEY_OK"}));

  EXPECT_EQ(engine.FlatSpeedButton6Click(L"Stop"), L"Start");
  down(65);
  engine.RunPending();
  EXPECT_EQ(keyTest.rows.size(), n);
}

TEST_F(Engine, PlainEscClosesWhatWaitsForIt) {
  capture.showing = true;
  esc.updateInFront = true;
  esc.lastMinute = true;
  bind(binding(27, 21, "esc"));
  EXPECT_EQ(down(27), KeyTaken);
  engine.RunPending();
  EXPECT_EQ(capture.escPresses, 1);
  EXPECT_EQ(esc.updateCloses, 1);
  EXPECT_EQ(esc.offTimerStops, 1);
  EXPECT_EQ(recorder.Log().size(), 1u) << "a binding on plain Esc also runs";

  engine.ModifierCallback(11);
  down(27);
  engine.RunPending();
  EXPECT_EQ(capture.escPresses, 1) << "Shift+Esc is no Esc";

  engine.ResetModifierState();
  capture.showing = esc.updateInFront = esc.lastMinute = false;
  down(27);
  engine.RunPending();
  EXPECT_EQ(capture.escPresses + esc.updateCloses + esc.offTimerStops, 3);
}

TEST_F(Engine, WinampTapChangesTrackOnKeyUpAndHoldSeeks) {
  bind(binding(176, 12, "wa"));
  down(176);
  up(176);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Winamp, 2, 0, "wa"}}));

  recorder.ClearLog();
  for (int i = 0; i < 3; ++i) down(176);  // the keyboard's own repeat while held
  up(176);
  engine.RunPending();
  EXPECT_EQ(recorder.Log(), (Log{{F::Winamp, 2, 1, "wa"}, {F::Winamp, 2, 1, "wa"}}));
}

TEST_F(Engine, CsnStateIsCapsScrollNum) {
  locks.on = {{20, true}, {144, false}, {145, true}};
  EXPECT_EQ(engine.GetCSNstate(), "110");
  locks.on = {{20, false}, {144, true}, {145, false}};
  EXPECT_EQ(engine.GetCSNstate(), "001");
}

TEST_F(Engine, FullScreenAndGameModeTests) {
  struct Case {
    bool osdshfs;
    bool optexceptonfullscreen;
    bool exactly;
    bool atLeast;
    bool fullScreen;
    bool gameMode;
  };
  const Case cases[] = {{false, false, true, true, false, true}, {true, false, true, true, true, true},
                        {false, true, true, true, true, true},   {true, true, false, true, false, true},
                        {true, true, false, false, false, false}};
  for (const auto& c : cases) {
    options.value.osdshfs = c.osdshfs;
    options.value.optexceptonfullscreen = c.optexceptonfullscreen;
    foreground.exactly = c.exactly;
    foreground.atLeast = c.atLeast;
    EXPECT_EQ(engine.isfullscreen(), c.fullScreen);
    EXPECT_EQ(engine.isgamemode(), c.gameMode);
  }
}


// A key the hook reports after it passed: it is seen (counted, listed) but runs
// nothing, and it ends a repeat like any other key event, a late key-up above all.
TEST_F(Engine, AKeyThatPassedAlreadyRunsNothingButIsCounted) {
  bind(binding(176, 21, "vol"));
  EXPECT_EQ(engine.KeyCallback(176, 0x20, KeyAlreadyPassed | 0x10, KeyMsgDown), KeyPassed);
  engine.KeyCallback(176, 0x20, KeyAlreadyPassed | 0x90, KeyMsgUp);
  engine.RunPending();
  EXPECT_TRUE(recorder.Log().empty());
  EXPECT_EQ(counter.count, 1) << "the marked key-up counts once, its third value is no key message";
}

TEST_F(Engine, ALateKeyUpEndsTheRepeatAndNoQueuedRunFollowsIt) {
  TKeyRecord r = binding(176, 21, "rep");
  r.RepeatRate = 4;
  bind(r);
  down(176);
  engine.RunPending();
  // The held key's own repeat, late: still the same hold.
  engine.KeyCallback(176, 0x20, KeyAlreadyPassed, KeyMsgDown);
  EXPECT_TRUE(timer.running);
  // A tick whose run is still queued (an action holds the main thread) when the
  // late key-up comes.
  struct Hold : IActionExecutor {
    TKeyEngine* engine;
    int runs = 0;
    void Execute(int, int, TActionContext&) override {
      if (++runs == 1) {
        engine->RepeatTimerTimer();  // queued: the running step is still on
        engine->KeyCallback(176, 0x20, KeyAlreadyPassed | 0x80, KeyMsgUp);
      }
    }
  } hold;
  hold.engine = &engine;
  executors.Set(F::Volume, &hold);
  engine.RepeatTimerTimer();
  engine.RunPending();
  EXPECT_EQ(hold.runs, 1) << "a repeat run came after the key-up";
  EXPECT_FALSE(timer.running);
  EXPECT_FALSE(engine.RepeatPending());
}

TEST_F(Engine, KeysToAskFollowBindingsProfilesCaptureAndOptions) {
  TKeyTable game;
  game.Add(binding(90, 21, "", KeyMsgUp));
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::vector<std::pair<std::uint8_t, std::int32_t>> asked, notAsked;
  } cases[] = {
      {"nothing bound", [] {}, {}, {{176, KeyMsgDown}, {27, KeyMsgDown}, {'5', KeyMsgDown}}},
      {"global bindings by key and message",
       [&] {
         bind(binding(176, 21));
         bind(binding(177, 21, "", KeyMsgSysUp));
       },
       {{176, KeyMsgDown}, {176, KeyMsgSysDown}, {177, KeyMsgUp}},
       {{176, KeyMsgUp}, {177, KeyMsgDown}, {178, KeyMsgDown}}},
      {"every per-program profile, whichever program is in front",
       [&] { profiles.profiles["game"] = game; },
       {{90, KeyMsgUp}},
       {{90, KeyMsgDown}}},
      {"the clipboard chords of optmb", [&] { options.value.optmb = true; }, {{'0', KeyMsgDown}, {'9', KeyMsgUp}},
       {{'A', KeyMsgDown}}},
      {"the capture dialog: every key", [&] { engine.SetCaptureMode(true); },
       {{65, KeyMsgDown}, {27, KeyMsgUp}, {255, KeyMsgSysUp}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    engine.GlobalTable().Clear();
    profiles.profiles.clear();
    options.value = {};
    engine.SetCaptureMode(false);
    c.arrange();
    engine.BindingsChanged();
    const TKeysToAsk keys = engine.KeysToAsk();
    for (const auto& [vk, msg] : c.asked) EXPECT_TRUE(keys.Asks(vk, msg)) << int(vk) << "/" << msg;
    for (const auto& [vk, msg] : c.notAsked) EXPECT_FALSE(keys.Asks(vk, msg)) << int(vk) << "/" << msg;
  }
}

TEST_F(Engine, TheKeysToAskArePublishedWhenTheyChange) {
  std::vector<TKeysToAsk> published;
  engine.SetKeysToAskSink([&](const TKeysToAsk& keys) { published.push_back(keys); });
  ASSERT_EQ(published.size(), 1u);
  EXPECT_FALSE(published.back().Asks(176, KeyMsgDown));
  bind(binding(176, 21));
  engine.BindingsChanged();
  ASSERT_EQ(published.size(), 2u);
  EXPECT_TRUE(published.back().Asks(176, KeyMsgDown));
  engine.BindingsChanged();
  EXPECT_EQ(published.size(), 2u) << "an unchanged set is not sent again";

  engine.SetCaptureMode(true);
  ASSERT_EQ(published.size(), 3u);
  EXPECT_TRUE(published.back().All);
  // The capture takes one key; the hook hears of the smaller set after it.
  EXPECT_EQ(down(65), KeyTaken);
  EXPECT_EQ(published.size(), 3u) << "published inside the callback";
  engine.RunPending();
  ASSERT_EQ(published.size(), 4u);
  EXPECT_FALSE(published.back().All);

  // An option the settings pages change, seen once the queue has run.
  options.value.optmb = true;
  up(65);
  engine.RunPending();
  ASSERT_EQ(published.size(), 5u);
  EXPECT_TRUE(published.back().Asks('1', KeyMsgDown));
}

TEST_F(Engine, AnUnreadableProfileIsReportedOnceFromTheQueueNotInTheCallback) {
  profiles.profileOfExe["c:\\games\\game.exe"] = "game";
  profiles.unreadable = {"game"};
  foreground.exes[2] = "c:\\games\\game.exe";
  foreground.window = 2;
  bind(binding(176, 21, "global"));
  EXPECT_EQ(down(176), KeyTaken) << "the global bindings still work";
  EXPECT_TRUE(profiles.reports.empty()) << "reported inside the callback";
  engine.RunPending();
  EXPECT_EQ(profiles.reports, std::vector<std::string>{"game"});
  down(177);
  foreground.window = 1;
  down(177);
  engine.RunPending();
  EXPECT_EQ(profiles.reports.size(), 1u);
}

TEST_F(Engine, TheKeyTakenNoticeComesBeforeAnyActionRuns) {
  TKeyRecord sleep = binding(95, 0, "nothing");
  bind(sleep);
  std::vector<std::string> order;
  engine.SetOnKeyTaken([&](const TKeyEvent& key, const std::vector<TKeyRecord>& matches) {
    order.push_back("taken " + std::to_string(key.Vk) + " with " + std::to_string(matches.size()));
  });
  EXPECT_EQ(down(95), KeyTaken);
  EXPECT_EQ(order, std::vector<std::string>{"taken 95 with 1"});
  EXPECT_EQ(down(96), KeyPassed);
  engine.KeyCallback(95, 0x20, KeyAlreadyPassed, KeyMsgDown);
  EXPECT_EQ(order.size(), 1u) << "only keys that are taken";
}

TEST(TraceTest, ARoadFailureLeavesALineWithTheExceptionsText) {
  std::vector<std::wstring> lines;
  SetTraceSink([&](std::wstring_view line) { lines.emplace_back(line); });
  fakes::EngineOptions options;
  fakes::Foreground foreground;
  fakes::Profiles profiles;
  fakes::RepeatTimer timer;
  fakes::LockKeys locks;
  fakes::Language language;
  fakes::Displays displays;
  fakes::Capture capture;
  fakes::KeyTest keyTest;
  fakes::Esc esc;
  fakes::Counter counter;
  TActionExecutors executors;
  struct Throwing : IActionExecutor {
    void Execute(int, int, TActionContext&) override { throw std::runtime_error("no such folder"); }
  } throwing;
  executors.Set(F::Folders, &throwing);
  TKeyEngine engine{{options, foreground, profiles, timer, locks, language, displays, capture, keyTest, esc,
                     counter, executors, fakes::widen}};
  TKeyRecord r;
  r.Vk = 176;
  r.Msg = KeyMsgDown;
  r.ActionCode = 42;
  r.Modifiers = NoModifiers;
  engine.GlobalTable().Add(r);
  capture.throwOnSetk = true;
  engine.KeyCallback(176, 0, 0, KeyMsgDown);
  engine.SetCaptureMode(true);
  engine.KeyCallback(65, 0, 0, KeyMsgDown);
  engine.RunPending();
  SetTraceSink({});
  ASSERT_EQ(lines.size(), 2u) << (lines.empty() ? std::string() : std::string(lines[0].begin(), lines[0].end()));
  EXPECT_NE(lines[0].find(L"folders action 2 failed: no such folder"), std::wstring::npos) << lines[0];
  EXPECT_NE(lines[1].find(L"step of the key road failed: dialog gone"), std::wstring::npos) << lines[1];
}

}  // namespace
