// Hidden windows bound to a method, for components that need a window to receive
// timer, tray, broadcast or posted messages without being a control.
//
//   HWND wnd = AllocateHWnd([this](TMessage& m) { WndProc(m); });
//   ...
//   DeallocateHWnd(wnd);
//
// The window is a hidden top-level window (not message-only), so broadcasts such as
// "TaskbarCreated" and WM_DEVICECHANGE reach it. As with any window procedure the
// method decides what to do with messages it does not handle: pass them to
// DefaultWindowMessage (DefWindowProc) and keep its result.
#pragma once

#include "vcl/Messages.h"
#include "vcl/Win.h"

#include <functional>


using TWndMethod = std::function<void(TMessage&)>;

HWND AllocateHWnd(TWndMethod method);
// Destroys the window; messages still queued for it reach nothing. Safe with nullptr
// and from inside the window's own method.
void DeallocateHWnd(HWND wnd);
// Runs DefWindowProcW for a message of a hidden window and stores the result.
void DefaultWindowMessage(HWND wnd, TMessage& message);

// Every window, timer and hook procedure of the library runs its body through this:
// a C++ exception must never unwind through a Win32 frame. EAbort ends silently, any
// other exception goes to Application->HandleException (a message box, or the test
// hook). Returns false when the body threw.
// Reports the exception being handled (call only inside a catch block) to the
// handler the application object installs; without one EAbort is dropped and
// anything else shown in a message box.
void HandleCurrentException() noexcept;
using TCallbackExceptionHandler = void (*)();
void SetCallbackExceptionHandler(TCallbackExceptionHandler handler);

template <class F>
bool GuardCallback(F&& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    HandleCurrentException();
    return false;
  }
}

