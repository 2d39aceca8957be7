// A plug-in that enables fine and never returns from Disable.
#include <windows.h>

#include <cstdint>

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Hanging Disable"; }
__declspec(dllexport) std::uint8_t __stdcall Enable() { return 1; }
__declspec(dllexport) std::uint8_t __stdcall Disable() {
  for (;;) Sleep(1000);
}
}
