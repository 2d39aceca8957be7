// The library's own thread: it holds the low-level keyboard and mouse hooks, so the
// system calls them there, whatever the program's threads are doing, and watches raw
// keyboard input to put the keyboard hook back if the system removed it.
#pragma once
#include "vcl/Win.h"

#include <atomic>
#include <chrono>

#include "tenvora/HookWatchdog.h"
#include "tenvora/KeyExchange.h"

namespace qorn::tenvora {

class HookThread {
 public:
  explicit HookThread(KeyExchange& exchange) : exchange_(exchange) {}
  HookThread(const HookThread&) = delete;
  HookThread& operator=(const HookThread&) = delete;

  // Starts the thread the first time; it then runs for the rest of the process (the
  // library stays loaded while it does). False when it could not start.
  bool Start();
  bool Started() const { return window_ != nullptr; }

  // Installs the keyboard hook afresh (dropping a previous one) and the raw-input watch.
  bool HookKeyboard();
  void UnhookKeyboard();
  // Swallows all mouse input while on.
  bool BlockMouse(bool on);

 private:
  enum Request : WPARAM { RequestHookKeyboard = 1, RequestUnhookKeyboard, RequestBlockMouse, RequestFreeMouse };

  bool Ask(Request request);
  bool HandleRequest(Request request);
  bool InstallKeyboardHook();
  void ReleaseKeyboardHook();
  void WatchRawKeyboard(bool on);
  void OnRawInput(HRAWINPUT input);
  void CheckKeyboardHook();

  static DWORD WINAPI ThreadMain(void* self);
  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);

  KeyExchange& exchange_;
  HANDLE thread_ = nullptr;
  HWND window_ = nullptr;
  // Requests come one at a time (the library serialises its calls).
  HANDLE requestDone_ = nullptr;
  bool requestResult_ = false;
  // Owned by the hook thread.
  HHOOK keyboardHook_ = nullptr;
  HHOOK mouseHook_ = nullptr;
  HookWatchdog watchdog_;
  std::chrono::milliseconds answerBound_{150};
};

}  // namespace qorn::tenvora
