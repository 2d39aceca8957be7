#include <memory>

#include "core/KeyEngineWin.h"

namespace {

// The hook library's callbacks carry no context: the one engine of the program.
TKeyEngine* hookEngine = nullptr;

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

std::string toSystemCodePage(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

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

void SetHookEngine(TKeyEngine* engine) { hookEngine = engine; }

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

void TWinRepeatTimer::Start(unsigned intervalMs) {
  running_ = SetTimer(window_, id_, intervalMs ? intervalMs : 1, nullptr) != 0;
}

void TWinRepeatTimer::Stop() {
  if (running_) KillTimer(window_, id_);
  running_ = false;
}

bool HandleKeyEngineMessage(TKeyEngine& engine, const TWinRepeatTimer& timer, UINT msg, WPARAM wParam) {
  if (msg == WM_KEYENGINE_RUN) {
    engine.RunPending();
    return true;
  }
  if (msg == WM_TIMER && wParam == timer.Id()) {
    // A tick already queued when the timer was killed finds it stopped and does nothing.
    if (timer.Running()) engine.RepeatTimerTimer();
    return true;
  }
  return false;
}

std::uintptr_t TWinForeground::Window() { return reinterpret_cast<std::uintptr_t>(GetForegroundWindow()); }

std::string TWinForeground::ExePath(std::uintptr_t window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId);
  if (!processId) return {};
  UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD size = static_cast<DWORD>(path.size());
  if (!QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
  path.resize(size);
  CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  return toSystemCodePage(path);
}

bool TWinForeground::CoversScreenExactly() { return coversScreen(true); }
bool TWinForeground::CoversScreenAtLeast() { return coversScreen(false); }

bool TWinLockKeys::IsToggled(std::uint8_t vk) { return (GetKeyState(vk) & 1) != 0; }

std::wstring RecordTextToUi(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}
