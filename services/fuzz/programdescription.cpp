#include <cstddef>
#include <cstdint>
#include <string_view>

#include "services/ProgramFile.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Files start with "MZ" to reach the header parsers quickly.
  std::string file = "MZ";
  file.append(reinterpret_cast<const char*>(data), size);
  (void)ReadProgramDescription(file);
  (void)ReadProgramDescription(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
