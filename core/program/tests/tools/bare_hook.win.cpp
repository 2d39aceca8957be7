// For the key road benchmark: a program of nothing but an empty low-level keyboard
// hook that hands every key on, so the cost of any second hook in another process
// shows beside Qorn's.
//   bare_hook EVENT-NAME
// A thread message WM_APP puts the hook in, WM_APP + 1 takes it out; the named
// event is signalled once the program runs and after each of them. WM_QUIT ends it.
#include "vcl/Win.h"

namespace {
LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) { return CallNextHookEx(nullptr, code, wParam, lParam); }
}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return 2;
  HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[1]);
  if (!done) return 4;
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists from here
  SetEvent(done);
  HHOOK hook = nullptr;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == WM_APP && !hook) {
      hook = SetWindowsHookExW(WH_KEYBOARD_LL, Hook, GetModuleHandleW(nullptr), 0);
      SetEvent(done);
    } else if (msg.hwnd == nullptr && msg.message == WM_APP + 1) {
      if (hook) UnhookWindowsHookEx(hook);
      hook = nullptr;
      SetEvent(done);
    }
    DispatchMessageW(&msg);
  }
  if (hook) UnhookWindowsHookEx(hook);
  return 0;
}
