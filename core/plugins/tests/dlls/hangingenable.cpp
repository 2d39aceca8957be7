// A plug-in that never returns from Enable.
#include <windows.h>

#include <cstdint>

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Hanging Enable"; }
__declspec(dllexport) std::uint8_t __stdcall Enable() {
  for (;;) Sleep(1000);
}
__declspec(dllexport) std::uint8_t __stdcall Disable() { return 1; }
}
