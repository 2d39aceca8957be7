// A plug-in for the host's tests: answers like a real one and counts the calls
// of Enable and Disable; a test reads the counts through CallCount.
#include <cstdint>

namespace {
int g_enables = 0;
int g_disables = 0;
}  // namespace

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Fake Plugin"; }
__declspec(dllexport) const char* __stdcall GetVer() { return "1.2"; }
__declspec(dllexport) const char* __stdcall GetInfo() { return "A plug-in of the tests"; }
__declspec(dllexport) const char* __stdcall GetAuthor() { return "Tests"; }
__declspec(dllexport) std::uint8_t __stdcall IsHaveSettings() { return 1; }
__declspec(dllexport) std::uint8_t __stdcall Enable() { ++g_enables; return 1; }
__declspec(dllexport) std::uint8_t __stdcall Disable() { ++g_disables; return 1; }
__declspec(dllexport) int __stdcall CallCount(int which) { return which == 0 ? g_enables : g_disables; }
}
