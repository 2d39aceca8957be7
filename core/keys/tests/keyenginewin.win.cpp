// ctest-lock: keyboard
// ctest-serial: it needs the foreground window, which a test showing a window could take
#include "core/keys/KeyEngineWin.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "core/keys/tests/WinEngineParts.h"
#include "testing/WinTesting.h"

namespace {

using namespace std::chrono_literals;
using F = TActionFamily;
using Log = std::vector<TRecordedAction>;

// The window the main form will be: its procedure hands the engine's messages on.
struct EngineWindow {
  TKeyEngine* engine = nullptr;
  HWND hwnd = nullptr;

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<EngineWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && self->engine && HandleKeyEngineMessage(*self->engine, msg)) return 0;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  EngineWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QornKeyEngineTest";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~EngineWindow() { DestroyWindow(hwnd); }
};

void pump(std::chrono::milliseconds time) {
  qorn::testing::WaitFor([] { return false; }, time);
}

struct WinEngine : ::testing::Test, WinEngineParts {
  EngineWindow window;

  WinEngine() {
    recorder.InstallInto(executors);
    window.engine = &engine;
    repeatTimer.SetEnabled(false);
    timer.ConnectTo(engine);
    ConnectKeyEngine(engine, window.hwnd);
    SetHookEngine(&engine);
  }
  ~WinEngine() override { SetHookEngine(nullptr); }

  void bind(std::uint8_t vk, int code, const char* params, std::uint8_t rate = 0) {
    TKeyRecord r;
    r.Vk = vk;
    r.Code2 = 0x20;
    r.Msg = KeyMsgDown;
    r.Modifiers = NoModifiers;
    r.ActionCode = static_cast<TActionCode>(code);
    r.Params = params;
    r.RepeatRate = rate;
    engine.GlobalTable().Add(r);
  }
};

TEST_F(WinEngine, TheHookCallbackAnswersAndTheWindowRunsTheAction) {
  bind(176, 21, "vol");
  EXPECT_EQ(KeyCallback(176, 0x20, 0, KeyMsgDown), KeyTaken);
  EXPECT_EQ(KeyCallback(177, 0x20, 0, KeyMsgDown), KeyPassed);
  EXPECT_TRUE(recorder.Log().empty());
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return !recorder.Log().empty(); }, 2000ms));
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "vol"}}));
  EXPECT_FALSE(engine.HasPending());
}

TEST_F(WinEngine, KeyUpsAreCountedFromTheQueue) {
  KeyCallback(65, 0x1e, 0, KeyMsgUp);
  KeyCallback(65, 0x1e, 0, KeyMsgUp);
  EXPECT_EQ(counter.count, 0);
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return counter.count == 2; }, 2000ms));
}

TEST_F(WinEngine, ModifierCallbackReachesTheEngine) {
  ModifierCallback(21);
  EXPECT_EQ(engine.ModifierStateStr(), "01000000");
  ModifierCallback(20);
  EXPECT_EQ(engine.ModifierStateStr(), "00000000");
}

TEST_F(WinEngine, WithoutAnEngineEveryKeyPasses) {
  bind(176, 21, "vol");
  SetHookEngine(nullptr);
  EXPECT_EQ(KeyCallback(176, 0x20, 0, KeyMsgDown), KeyPassed);
}

TEST_F(WinEngine, RepeatTimerRunsTheActionAtItsRate) {
  bind(176, 21, "rep", 10);  // every 100 ms
  EXPECT_EQ(KeyCallback(176, 0x20, 0, KeyMsgDown), KeyTaken);
  EXPECT_TRUE(timer.Running());
  pump(650ms);
  const std::size_t runs = recorder.Log().size();
  EXPECT_GE(runs, 3u);
  EXPECT_LE(runs, 8u);  // once at the key-down, then about every 100 ms
  EXPECT_EQ(KeyCallback(176, 0x20, 0, KeyMsgUp), KeyPassed);
  EXPECT_FALSE(timer.Running());
  pump(300ms);
  EXPECT_EQ(recorder.Log().size(), runs) << "no run after the key-up";
}

// A real top-level window of this test program in front.
struct FrontWindow {
  HWND hwnd = nullptr;
  FrontWindow(int x, int y, int w, int h) {
    hwnd = CreateWindowExW(0, L"STATIC", L"front", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    qorn::testing::BringToFront(hwnd);
  }
  ~FrontWindow() { DestroyWindow(hwnd); }
};

TEST_F(WinEngine, ForegroundProgramIsThisTestWithItsLowerCasedPath) {
  FrontWindow front(10, 10, 200, 100);
  ASSERT_EQ(reinterpret_cast<HWND>(foreground.Window()), front.hwnd);
  const std::string exe = foreground.ExePath(foreground.Window());
  const std::string name = "test_core_keys_keyenginewin.exe";
  ASSERT_GE(exe.size(), name.size()) << exe;
  EXPECT_EQ(exe.substr(exe.size() - name.size()), name);
  EXPECT_EQ(exe.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos) << exe;
  EXPECT_FALSE(foreground.CoversScreenExactly());
  EXPECT_FALSE(foreground.CoversScreenAtLeast());
}

TEST_F(WinEngine, AWindowCoveringItsMonitorIsFullScreen) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& m = monitor.rcMonitor;
  {
    FrontWindow front(m.left, m.top, m.right - m.left, m.bottom - m.top);
    ASSERT_EQ(reinterpret_cast<HWND>(foreground.Window()), front.hwnd);
    EXPECT_TRUE(foreground.CoversScreenExactly());
    EXPECT_TRUE(foreground.CoversScreenAtLeast());
    options.value.optexceptonfullscreen = true;
    bind(176, 21, "vol");
    EXPECT_EQ(KeyCallback(176, 0x20, 0, KeyMsgDown), KeyPassed);
  }
  {
    FrontWindow bigger(m.left - 5, m.top - 5, m.right - m.left + 10, m.bottom - m.top + 10);
    ASSERT_EQ(reinterpret_cast<HWND>(foreground.Window()), bigger.hwnd);
    EXPECT_FALSE(foreground.CoversScreenExactly());
    EXPECT_TRUE(foreground.CoversScreenAtLeast());
  }
}

TEST(RecordText, SystemCodePageToUi) {
  EXPECT_EQ(RecordTextToUi(""), L"");
  EXPECT_EQ(RecordTextToUi("C:\\Music|a"), L"C:\\Music|a");
}

}  // namespace
