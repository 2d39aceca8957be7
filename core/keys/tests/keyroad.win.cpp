// ctest-lock: keyboard
// ctest-serial: it needs the foreground window, which a test showing a window could take
// The whole key road under wine: keys pressed by another process reach the engine
// through the hook library, bound keys are swallowed and run their action, the rest
// arrive at the program in front.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/keys/KeyEngineWin.h"
#include "core/keys/tests/WinEngineParts.h"
#include "testing/WinTesting.h"

namespace {

using namespace std::chrono_literals;
using F = TActionFamily;
using Log = std::vector<TRecordedAction>;

// The program in front: it sees the keys that pass, and runs the engine's work.
struct FrontWindow {
  TKeyEngine* engine = nullptr;
  std::vector<WPARAM> keyDowns;
  HWND hwnd = nullptr;

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<FrontWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
      if (self->engine && HandleKeyEngineMessage(*self->engine, msg)) return 0;
      if (msg == WM_KEYDOWN) self->keyDowns.push_back(wParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  FrontWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QornKeyRoadTest";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"key road", WS_POPUP | WS_VISIBLE, 20, 20, 300, 200, nullptr,
                           nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~FrontWindow() { DestroyWindow(hwnd); }
};

struct HookLibrary {
  using SetHook = std::int32_t(TENVORA_CALL*)(TKeyCallback, TModifierCallback);
  using RemoveHook = void(TENVORA_CALL*)();
  HMODULE module = LoadLibraryW(L"Tenvora.dll");
  SetHook set = module ? reinterpret_cast<SetHook>(reinterpret_cast<void*>(GetProcAddress(module, "SetKeyboardHook"))) : nullptr;
  RemoveHook remove = module ? reinterpret_cast<RemoveHook>(reinterpret_cast<void*>(GetProcAddress(module, "RemoveKeyboardHook"))) : nullptr;
  ~HookLibrary() {
    if (remove) remove();
    if (module) FreeLibrary(module);
  }
};

bool pressFromAnotherProcess(const std::wstring& vks) {
  qorn::testing::Process sender(std::filesystem::path(QORN_BINARY_DIR) / "bin" / "keyroad_sendkeys.exe", vks);
  long code = -1;
  qorn::testing::WaitFor([&] { return !sender.running(); }, 10000ms);
  code = sender.wait(1000ms);
  return code == 0;
}

struct KeyRoad : ::testing::Test, WinEngineParts {
  FrontWindow front;
  HookLibrary hook;

  void SetUp() override {
    repeatTimer.SetEnabled(false);
    recorder.InstallInto(executors);
    front.engine = &engine;
    ConnectKeyEngine(engine, front.hwnd);
    SetHookEngine(&engine);
    ASSERT_TRUE(qorn::testing::BringToFrontWithFocus(front.hwnd));
    ASSERT_NE(hook.set, nullptr);
    ASSERT_NE(hook.set(KeyCallback, ModifierCallback), 0) << "Unable to set hook";
  }
  void TearDown() override {
    if (hook.remove) hook.remove();
    SetHookEngine(nullptr);
  }

  void bind(std::uint8_t vk, int code, const char* params) {
    TKeyRecord r;
    r.Vk = vk;
    r.Code2 = static_cast<std::uint8_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0x7F);
    r.Msg = KeyMsgDown;
    r.Modifiers = NoModifiers;
    r.ActionCode = static_cast<TActionCode>(code);
    r.Params = params;
    engine.GlobalTable().Add(r);
    engine.BindingsChanged();
  }
};

TEST_F(KeyRoad, BoundKeysAreSwallowedAndRunTheOthersArrive) {
  bind('B', 23, "mute");
  ASSERT_TRUE(pressFromAnotherProcess(L"66 67"));  // B (bound), then C
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return !recorder.Log().empty() && !front.keyDowns.empty(); }, 5000ms));
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 3, 0, "mute"}}));
  EXPECT_EQ(front.keyDowns, std::vector<WPARAM>{'C'}) << "the bound key is swallowed, the other arrives";
  EXPECT_EQ(counter.count, 2) << "both key-ups are counted";
}

// An action that takes long (a dial-up, a player that does not answer) must not let
// its own key leak to the program in front, nor cost the hook.
struct Slow : IActionExecutor {
  int runs = 0;
  void Execute(int, int, TActionContext&) override {
    ++runs;
    Sleep(2000);
  }
};

TEST_F(KeyRoad, ASlowActionKeepsItsKeyAndTheHook) {
  Slow slow;
  executors.Set(F::Power, &slow);
  bind('B', 61, "slow");
  ASSERT_TRUE(pressFromAnotherProcess(L"66"));
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return slow.runs == 1 && !engine.HasPending(); }, 30000ms));
  // C, a passed key, comes after B: once it is there, a leaked B would be too.
  ASSERT_TRUE(pressFromAnotherProcess(L"67"));
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return !front.keyDowns.empty(); }, 30000ms));
  EXPECT_EQ(front.keyDowns, std::vector<WPARAM>{'C'}) << "the slow binding's key leaked";

  front.keyDowns.clear();
  bind('D', 21, "after");
  ASSERT_TRUE(pressFromAnotherProcess(L"68 69"));  // D (bound), then E
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return !recorder.Log().empty() && !front.keyDowns.empty(); }, 30000ms));
  EXPECT_EQ(recorder.Log(), (Log{{F::Volume, 1, 0, "after"}})) << "the hook still works";
  EXPECT_EQ(front.keyDowns, std::vector<WPARAM>{'E'});
}

}  // namespace
