// A plug-in whose GetName never returns.
#include <windows.h>

#include <cstdint>

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() {
  for (;;) Sleep(1000);
}
__declspec(dllexport) std::uint8_t __stdcall Enable() { return 1; }
__declspec(dllexport) std::uint8_t __stdcall Disable() { return 1; }
}
