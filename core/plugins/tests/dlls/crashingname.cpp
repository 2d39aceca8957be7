// A plug-in whose GetName writes through a null pointer: the host must live on,
// leave it out and say so.
#include <cstdint>

namespace {
int* volatile g_nowhere = nullptr;
}

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() {
  *g_nowhere = 1;
  return "Crashing Name";
}
__declspec(dllexport) std::uint8_t __stdcall Enable() { return 1; }
__declspec(dllexport) std::uint8_t __stdcall Disable() { return 1; }
}
