// A program with a main window and a tool window of one thread, for the
// window-to-tray tests. "hang": stops handling its messages once both are shown.
// "minimized-tool": the tool window starts minimised.
#include "vcl/Win.h"

#include <string>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(w, m, wp, lp);
}

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QornTrayeeMain";
  wc.hIcon = LoadIconW(nullptr, IDI_WARNING);
  RegisterClassW(&wc);
  const std::wstring title = argc > 2 ? argv[2] : L"Trayee main window";
  HWND main = CreateWindowExW(0, L"QornTrayeeMain", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                              300, nullptr, nullptr, wc.hInstance, nullptr);
  CreateWindowExW(WS_EX_TOOLWINDOW, L"QornTrayeeMain", L"Trayee tool window",
                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | (mode == L"minimized-tool" ? WS_MINIMIZE : 0), 520, 100, 200,
                  200, main, nullptr, wc.hInstance, nullptr);
  MSG msg;
  if (mode == L"hang") {
    for (int i = 0; i < 50 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageW(&msg);
    Sleep(60000);
    return 0;
  }
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
