// A plug-in that names itself, then crashes in Enable (a read through a null
// pointer); its Disable counts the calls it should never get.
#include <cstdint>

namespace {
const int* volatile g_nowhere = nullptr;
int g_disables = 0;
}  // namespace

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Crashing Enable"; }
__declspec(dllexport) std::uint8_t __stdcall Enable() { return static_cast<std::uint8_t>(*g_nowhere); }
__declspec(dllexport) std::uint8_t __stdcall Disable() {
  ++g_disables;
  return 1;
}
__declspec(dllexport) int __stdcall CallCount(int) { return g_disables; }
}
