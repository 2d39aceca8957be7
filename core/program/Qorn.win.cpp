// The program body: one instance per session, the settings folder, the main
// window of class "TMainForm" titled "Qorn" (so other instances and plug-ins find
// it), the keyboard hook and the main window's private messages.
#include "core/MainForm.h"
#include "core/KeyEngineWin.h"
#include "core/SettingsFolder.h"
#include "tenvora/Tenvora.h"
#include "vcl/Win.h"

#include <wtsapi32.h>

#include <optional>

namespace {
// When the bound Sleep key last ran (GetTickCount64); the engine's power actions set it.
std::optional<std::uint64_t> sleepKeyRanAt;
bool sessionNotifyRegistered = false;
HWND mainWindow = nullptr;

void ErrorMsg(int kind) {
  if (kind == 1) MessageBoxW(mainWindow, L"Unable to set hook", L"Critical ERROR !", MB_OK);
  if (kind == 2) MessageBoxW(mainWindow, L"Can`t load plugin", L"Error !", MB_OK);
}

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_RESTOREMAIN:
      ShowWindow(wnd, IsIconic(wnd) ? SW_RESTORE : SW_SHOW);
      SetForegroundWindow(wnd);
      return 0;
    case WM_PLUGINKEY: {
      if (wp != PluginKeyEvent) return 0;
      // A post from anywhere may carry any address: a bad one is dropped.
      if (!ReadPluginKeyName(lp)) return 0;
      return KeyCallback(1, 1, 0, 0);
    }
    case WM_GETKEYCALLBACK:
      return reinterpret_cast<LRESULT>(&KeyCallback);
    case WM_POWERBROADCAST:
      return RefusePowerBroadcast(wp, sleepKeyRanAt, GetTickCount64()) ? BROADCAST_QUERY_DENY : TRUE;
    case WM_WTSSESSION_CHANGE:
      // Keys must not be taken while the session is locked or away from the console.
      if (wp == WTS_CONSOLE_DISCONNECT || wp == WTS_SESSION_LOCK) RemoveKeyboardHook();
      if ((wp == WTS_CONSOLE_CONNECT || wp == WTS_SESSION_UNLOCK) && !SetKeyboardHook(KeyCallback, ModifierCallback))
        ErrorMsg(1);
      return 0;
    case WM_DESTROY:
      RemoveKeyboardHook();
      if (sessionNotifyRegistered) WTSUnRegisterSessionNotification(wnd);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

// Another instance holds the mutex: show its window, bounded so a hung instance
// never hangs this one.
void RestoreRunningInstance() {
  for (int tries = 0; tries < 50; ++tries) {
    if (HWND other = FindWindowW(L"TMainForm", L"Qorn")) {
      DWORD_PTR result = 0;
      SendMessageTimeoutW(other, WM_RESTOREMAIN, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &result);
      return;
    }
    // The first instance may not have made its window yet.
    Sleep(100);
  }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  // Creating and testing in one step: two quick starts can never both win.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"QornMutex");
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
    RestoreRunningInstance();
    if (mutex) CloseHandle(mutex);
    return 0;
  }
  InitSettingsPath();

  WNDCLASSW wc{};
  wc.lpfnWndProc = MainWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"TMainForm";
  RegisterClassW(&wc);
  mainWindow = CreateWindowExW(0, L"TMainForm", L"Qorn", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                               nullptr, nullptr, instance, nullptr);
  sessionNotifyRegistered = WTSRegisterSessionNotification(mainWindow, NOTIFY_FOR_THIS_SESSION);
  if (!SetKeyboardHook(KeyCallback, ModifierCallback)) ErrorMsg(1);
  ShowWindow(mainWindow, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  CloseHandle(mutex);
  return 0;
}
