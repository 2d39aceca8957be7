// Hiding another program's window, with the other visible windows of its thread,
// behind a notification-area icon of our own; a click on the icon (left or right,
// single or double) brings them back as they were.
//
// Nothing here waits for the other program: its windows are hidden and shown with
// the asynchronous calls and its icon is asked for with a 100 ms limit, so a hung
// program cannot stop our thread (and with it the keyboard hook). An icon whose
// window has gone is removed within a second.
#pragma once

#include "vcl/Messages.h"
#include "vcl/Win.h"

#include <memory>
#include <string>
#include <vector>

class TTrayedApp;

class TWindowTrayer {
 public:
  TWindowTrayer();
  // Every window still hidden is shown again and its icon removed.
  ~TWindowTrayer();
  TWindowTrayer(const TWindowTrayer&) = delete;
  TWindowTrayer& operator=(const TWindowTrayer&) = delete;

  // Hides Window behind a new icon. Adding a window twice gives two icons.
  void Add(HWND Window);
  // Restores the first hidden entry of Window and removes its icon.
  void Remove(HWND Window);
  bool IsTrayed(HWND Window) const;

  // The window the icons report their clicks to.
  HWND CallbackWindow() const { return FWindow; }
  // The message the icons send (wParam: the hidden window, lParam: the mouse message).
  static constexpr UINT CallbackMessage = WM_USER + 1;

 private:
  void WndProc(TMessage& Message);
  void DropDeadWindows();

  std::vector<std::unique_ptr<TTrayedApp>> FApps;  // in the order added
  HWND FWindow = nullptr;
};

// The program's one trayer.
TWindowTrayer& WindowTrayer();

// The tip of a window's icon: its text, cut to the 63 characters a tip holds.
std::wstring TrayTipOf(const std::wstring& WindowText);
