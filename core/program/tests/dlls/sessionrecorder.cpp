// A plug-in for the program's tests: every Enable and Disable is appended as a
// line to the file the environment variable QORN_PLUGIN_LOG names (the test sets
// it before it starts the program), so the test sees what the real host did.
#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace {
void Note(const char* what) {
  const char* file = std::getenv("QORN_PLUGIN_LOG");
  if (!file || !*file) return;
  std::ofstream(file, std::ios::app | std::ios::binary) << what << '\n';
}
}  // namespace

extern "C" {
__declspec(dllexport) const char* __stdcall GetName() { return "Session Recorder"; }
__declspec(dllexport) std::uint8_t __stdcall Enable() {
  Note("Enable");
  return 1;
}
__declspec(dllexport) std::uint8_t __stdcall Disable() {
  Note("Disable");
  return 1;
}
}
