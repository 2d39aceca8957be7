#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plugin-ir/LircLines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ranlowe::LineSplitter lines;
  ranlowe::KeyFilter filter;
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  // Two feeds, so lines cut across receives are exercised.
  const size_t cut = size / 2;
  auto sink = [&](std::string_view line) {
    if (auto key = filter.KeyOf(line)) {
      if (key->empty() || key->size() > ranlowe::kMaxKeyName) __builtin_trap();
    }
  };
  lines.Feed(all.substr(0, cut), sink);
  lines.Feed(all.substr(cut), sink);
  return 0;
}
