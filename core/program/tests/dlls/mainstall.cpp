// A plug-in for the program's tests: it stalls the program's main thread on
// demand, as a plug-in or an action that hangs would. Enable (on the main thread)
// makes a message-only window "QornTestStall"; a message WM_APP to it sleeps wParam
// milliseconds there, with a line "stall" before and "stall end" after in the file
// that QORN_PLUGIN_LOG names.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace {

HWND g_window = nullptr;

void Note(const char* what) {
  const char* file = std::getenv("QORN_PLUGIN_LOG");
  if (!file || !*file) return;
  std::ofstream(file, std::ios::app | std::ios::binary) << what << '\n';
}

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_APP) {
    Note("stall");
    Sleep(static_cast<DWORD>(wParam));
    Note("stall end");
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Main Stall"; }
__declspec(dllexport) std::uint8_t __stdcall Enable() {
  WNDCLASSW cls{};
  cls.lpfnWndProc = Proc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"QornTestStall";
  RegisterClassW(&cls);
  g_window = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
  Note("Enable");
  return g_window ? 1 : 0;
}
__declspec(dllexport) std::uint8_t __stdcall Disable() {
  if (g_window) DestroyWindow(g_window);
  g_window = nullptr;
  return 1;
}
}
