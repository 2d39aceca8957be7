#include "tenvora/HookThread.win.h"

#include <optional>

#include "tenvora/KeyValues.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace qorn::tenvora {

namespace {

constexpr UINT WM_TENVORA_REQUEST = WM_APP + 1;
constexpr wchar_t ThreadWindowClass[] = L"TenvoraHookThread";
constexpr UINT_PTR WatchdogTimer = 1;
constexpr UINT WatchdogPeriodMs = 500;

HINSTANCE LibraryInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The one hook thread of the process, for the hook procedures (they get no context).
HookThread* g_hookThread = nullptr;

std::optional<std::uint32_t> LowLevelHooksTimeout() {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LowLevelHooksTimeout", RRF_RT_REG_DWORD,
                   nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace

bool HookThread::Start() {
  if (window_) return true;
  // The thread runs code of this library until the process ends: never unload it.
  HMODULE pinned = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                          reinterpret_cast<LPCWSTR>(&HookThread::ThreadMain), &pinned))
    return false;
  if (!requestDone_) requestDone_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!requestDone_) return false;
  g_hookThread = this;
  thread_ = CreateThread(nullptr, 0, &HookThread::ThreadMain, this, 0, nullptr);
  if (!thread_) return false;
  // The thread signals once its window exists (or it gave up).
  const HANDLE waits[] = {requestDone_, thread_};
  if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 || !requestResult_) {
    CloseHandle(thread_);
    thread_ = nullptr;
    return false;
  }
  return true;
}

DWORD WINAPI HookThread::ThreadMain(void* param) {
  auto* self = static_cast<HookThread*>(param);
  // The system gives a low-level hook little time: answer before anything else runs.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &HookThread::WindowProc;
  cls.hInstance = LibraryInstance();
  cls.lpszClassName = ThreadWindowClass;
  RegisterClassExW(&cls);
  HWND wnd = CreateWindowExW(0, ThreadWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             LibraryInstance(), nullptr);
  self->window_ = wnd;
  self->requestResult_ = wnd != nullptr;
  SetEvent(self->requestDone_);
  if (!wnd) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

bool HookThread::Ask(Request request) {
  if (!window_) return false;
  requestResult_ = false;
  if (!PostMessageW(window_, WM_TENVORA_REQUEST, request, 0)) return false;
  // The hook thread never blocks longer than one bounded answer wait.
  WaitForSingleObject(requestDone_, INFINITE);
  return requestResult_;
}

bool HookThread::HookKeyboard() { return Ask(RequestHookKeyboard); }
void HookThread::UnhookKeyboard() { Ask(RequestUnhookKeyboard); }
bool HookThread::BlockMouse(bool on) { return Ask(on ? RequestBlockMouse : RequestFreeMouse); }

bool HookThread::HandleRequest(Request request) {
  switch (request) {
    case RequestHookKeyboard:
      answerBound_ = AnswerWaitBound(LowLevelHooksTimeout());
      if (!InstallKeyboardHook()) return false;
      WatchRawKeyboard(true);
      return true;
    case RequestUnhookKeyboard:
      WatchRawKeyboard(false);
      ReleaseKeyboardHook();
      return true;
    case RequestBlockMouse:
      if (!mouseHook_) mouseHook_ = SetWindowsHookExW(WH_MOUSE_LL, &HookThread::MouseProc, LibraryInstance(), 0);
      return mouseHook_ != nullptr;
    case RequestFreeMouse:
      if (mouseHook_) UnhookWindowsHookEx(mouseHook_);
      mouseHook_ = nullptr;
      return true;
  }
  return false;
}

bool HookThread::InstallKeyboardHook() {
  ReleaseKeyboardHook();
  keyboardHook_ = SetWindowsHookExW(WH_KEYBOARD_LL, &HookThread::KeyboardProc, LibraryInstance(), 0);
  watchdog_.HookInstalled(GetTickCount());
  return keyboardHook_ != nullptr;
}

void HookThread::ReleaseKeyboardHook() {
  // Fails harmlessly when the system has removed the hook already.
  if (keyboardHook_) UnhookWindowsHookEx(keyboardHook_);
  keyboardHook_ = nullptr;
}

void HookThread::WatchRawKeyboard(bool on) {
  RAWINPUTDEVICE device{};
  device.usUsagePage = 0x01;  // generic desktop
  device.usUsage = 0x06;      // keyboard
  device.dwFlags = on ? RIDEV_INPUTSINK : RIDEV_REMOVE;
  device.hwndTarget = on ? window_ : nullptr;
  // Without raw input there is no watchdog, but the hook itself still works.
  RegisterRawInputDevices(&device, 1, sizeof device);
  if (on)
    SetTimer(window_, WatchdogTimer, WatchdogPeriodMs, nullptr);
  else
    KillTimer(window_, WatchdogTimer);
}

void HookThread::OnRawInput(HRAWINPUT input) {
  RAWINPUTHEADER header{};
  UINT size = sizeof header;
  if (GetRawInputData(input, RID_HEADER, &header, &size, sizeof header) == static_cast<UINT>(-1)) return;
  if (header.dwType != RIM_TYPEKEYBOARD || !keyboardHook_) return;
  watchdog_.RawKey(static_cast<std::uint32_t>(GetMessageTime()));
}

void HookThread::CheckKeyboardHook() {
  if (keyboardHook_ && watchdog_.HookMissedKeys(GetTickCount())) InstallKeyboardHook();
}

LRESULT CALLBACK HookThread::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  HookThread* self = g_hookThread;
  switch (msg) {
    case WM_TENVORA_REQUEST:
      self->requestResult_ = self->HandleRequest(static_cast<Request>(wParam));
      SetEvent(self->requestDone_);
      return 0;
    case WM_TIMER:
      if (wParam == WatchdogTimer) self->CheckKeyboardHook();
      return 0;
    case WM_INPUT:
      self->OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
      break;  // the system's own clean-up of the raw input
    case WM_CLOSE:
      return 0;  // lives as long as the process
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK HookThread::KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    HookThread* self = g_hookThread;
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    self->watchdog_.HookCalled(GetTickCount());
    const auto message = static_cast<std::int32_t>(wParam);
    if (key->dwExtraInfo != TENVORA_OWN_INPUT && IsKeyMessage(message)) {
      const KeyEvent event{static_cast<std::int32_t>(key->vkCode & 0xFF), SecondCode(key->scanCode, key->flags),
                           ExtraValue(key->flags), message,
                           ModifierCode(key->vkCode, key->scanCode, key->flags, message)};
      const auto answer = self->exchange_.Submit(event, self->answerBound_);
      if (answer && *answer == TENVORA_TAKE) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK HookThread::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) return 1;  // the hook exists only while the mouse is blocked
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace qorn::tenvora
