// A plug-in whose Enable says false: the host must leave it disabled.
#include <cstdint>

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Refusing Plugin"; }
__declspec(dllexport) std::uint8_t __stdcall Enable() { return 0; }
__declspec(dllexport) std::uint8_t __stdcall Disable() { return 1; }
}
