// A program the user types into, for the tests that show displays over another
// program's window: a window with an edit box that has the keyboard focus, in front
// when it starts. What was typed is the edit box's text (WM_GETTEXT from the test).
// It ends when its window is closed, or after two minutes should the test die.
// test-tool: no-console
#include "vcl/Win.h"

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_SETFOCUS) {
    // The focus goes on to the edit box, as in any program's window.
    if (HWND edit = GetDlgItem(w, 1)) SetFocus(edit);
    return 0;
  }
  if (m == WM_TIMER) DestroyWindow(w);
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

int main() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QornTypingWindow";
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, wc.lpszClassName, L"Qorn typing window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                              420, 160, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 380, 28, main,
                  reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
  SetTimer(main, 1, 120000, nullptr);
  SetForegroundWindow(main);
  SetFocus(GetDlgItem(main, 1));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
