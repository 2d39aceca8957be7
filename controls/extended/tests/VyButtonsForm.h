// The test form of the extended buttons, edits and track bars
// (TestVyButtonsForm.form), shown for each test of those controls.
#pragma once
#include "controls/extended/tests/VyFormTest.h"
#include "vcl/Win.h"

class TTestVyButtonsForm : public TForm {
  QORN_CLASS(TTestVyButtonsForm, TForm)
 public:
  explicit TTestVyButtonsForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestVyButtonsForm);

class VyButtonsFormTest : public VyFormTestOf<TTestVyButtonsForm> {
 protected:
  // A pixel of a window as it shows now, its frame included (window coordinates).
  static TColor WindowPixel(HWND wnd, int x, int y) {
    HDC dc = GetWindowDC(wnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return static_cast<TColor>(c);
  }
  // Posts a key to the focused control through the application's loop, as typing does.
  static void PostKey(HWND wnd, WORD key) {
    PostMessageW(wnd, WM_KEYDOWN, key, 1);
    PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
    Pump(std::chrono::milliseconds(30));
  }
  // Holds the keyboard's modifier for the thread while f runs (then lets it go).
  template <class F>
  static void WithKeyDown(BYTE vk, F f) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[vk] = 0x80;
    SetKeyboardState(keys);
    f();
    keys[vk] = 0;
    SetKeyboardState(keys);
  }
  static void Click(HWND wnd, int x, int y) {
    PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump(std::chrono::milliseconds(30));
  }
};
