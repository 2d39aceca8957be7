#include <memory>

#include "core/keys/KeyEngineWin.h"
#include "services/ProcessList.h"
#include "vcl/ScopeGuards.h"

namespace {

// The hook library's callbacks carry no context: the one engine of the program.
TKeyEngine* hookEngine = nullptr;

// The desktop and the shell's own window count as no program in front.
bool isDesktop(HWND window) {
  if (!window || window == GetDesktopWindow()) return true;
  wchar_t className[16] = {};
  wchar_t title[32] = {};
  GetClassNameW(window, className, 16);
  GetWindowTextW(window, title, 32);
  return std::wstring_view(className) == L"Progman" && std::wstring_view(title) == L"Program Manager";
}

// Compares the foreground window with the monitor it is on.
bool coversScreen(bool exactly) {
  HWND window = GetForegroundWindow();
  if (isDesktop(window)) return false;
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
  const long width = rect.right - rect.left;
  const long height = rect.bottom - rect.top;
  const long screenWidth = monitor.rcMonitor.right - monitor.rcMonitor.left;
  const long screenHeight = monitor.rcMonitor.bottom - monitor.rcMonitor.top;
  if (exactly) return width == screenWidth && height == screenHeight;
  return width >= screenWidth && height >= screenHeight;
}

}  // namespace

void ConnectKeyEngine(TKeyEngine& engine, HWND window) {
  engine.SetWakeUp([window] { PostMessageW(window, WM_KEYENGINE_RUN, 0, 0); });
}

void SetHookEngine(TKeyEngine* engine) {
  if (hookEngine && hookEngine != engine) hookEngine->SetKeysToAskSink({});
  hookEngine = engine;
  if (!engine) {
    SetKeysToAsk(nullptr, nullptr);
    return;
  }
  engine->SetKeysToAskSink([](const TKeysToAsk& keys) {
    if (keys.All) {
      SetKeysToAsk(nullptr, nullptr);
      return;
    }
    std::uint8_t downs[TENVORA_KEY_SET_BYTES] = {}, ups[TENVORA_KEY_SET_BYTES] = {};
    for (std::size_t vk = 0; vk < 256; ++vk) {
      const auto bit = static_cast<std::uint8_t>(1u << (vk % 8));
      if (keys.Downs.test(vk)) downs[vk / 8] |= bit;
      if (keys.Ups.test(vk)) ups[vk / 8] |= bit;
    }
    SetKeysToAsk(downs, ups);
  });
}

extern "C" std::int32_t TENVORA_CALL KeyCallback(std::int32_t vk, std::int32_t code2, std::int32_t extra,
                                                 std::int32_t msg) {
  if (!hookEngine) return KeyPassed;
  // Nothing may unwind into the hook library; a key the engine could not judge passes.
  try {
    return hookEngine->KeyCallback(vk, code2, extra, msg);
  } catch (...) {
    return KeyPassed;
  }
}

extern "C" void TENVORA_CALL ModifierCallback(std::int32_t code) {
  if (hookEngine) hookEngine->ModifierCallback(code);
}

void TTimerRepeatTimer::Start(unsigned intervalMs) {
  timer_.SetInterval(intervalMs ? intervalMs : 1);
  timer_.SetEnabled(true);
}

void TTimerRepeatTimer::Stop() { timer_.SetEnabled(false); }

void TTimerRepeatTimer::ConnectTo(TKeyEngine& engine) {
  timer_.OnTimer = [&engine](TObject*) { engine.RepeatTimerTimer(); };
}

bool HandleKeyEngineMessage(TKeyEngine& engine, UINT msg) {
  if (msg != WM_KEYENGINE_RUN) return false;
  engine.RunPending();
  return true;
}

std::uintptr_t TWinForeground::Window() { return reinterpret_cast<std::uintptr_t>(GetForegroundWindow()); }

// The process list answers from what it holds, or reads this one process alone.
std::string TWinForeground::ExePath(std::uintptr_t window) {
  std::wstring path = Processes().ProcessPathOfWindow(reinterpret_cast<HWND>(window));
  if (path.empty()) return {};
  CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  // Profiles name their programs in the system code page, as their files store them.
  return StringToAnsi(path);
}

bool TWinForeground::CoversScreenExactly() { return coversScreen(true); }
bool TWinForeground::CoversScreenAtLeast() { return coversScreen(false); }

bool TWinLockKeys::IsToggled(std::uint8_t vk) { return (GetKeyState(vk) & 1) != 0; }
