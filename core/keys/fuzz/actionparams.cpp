// Any parameter string, name and value: a write that is accepted reads back, fits
// the record's field and leaves every other readable entry as it was.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/keys/ActionParams.h"

namespace {

// The names the action frames use, so collisions between them get exercised.
constexpr std::string_view names[] = {"click", "dblclick", "exefile", "a", "x", "params", "k"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string_view name = names[data[0] % std::size(names)];
  const std::size_t split = size > 2 ? 2 + data[1] % (size - 2) : 2;
  const std::string_view params(reinterpret_cast<const char*>(data) + 2, split - 2);
  const std::string_view value(reinterpret_cast<const char*>(data) + split, size - split);

  IsParamOnAct(params);
  const auto written = SetParamOnAct(params, name, value);
  if (!written) return 0;
  if (written->size() > ParamsCapacity) __builtin_trap();
  if (GetParamOnAct(*written, name, "\x01") != value) __builtin_trap();
  for (std::string_view other : names) {
    if (other == name) continue;
    const std::string before = GetParamOnAct(params, other, "\x01");
    if (before != "\x01" && GetParamOnAct(*written, other, "\x01") != before) __builtin_trap();
  }
  return 0;
}
