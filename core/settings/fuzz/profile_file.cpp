// Any bytes read as a profile file must fill a binding table within its capacity,
// and the table written back must read to the same bindings.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/Profiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static TKeyTable table, again;  // large: kept out of the stack
  table.Clear();
  LoadProfileFile(bytes, table);
  if (table.Count > TKeyTable::MaxBindings) __builtin_trap();
  if (table.Count != std::min(size / TKeyRecord::StoredSize, TKeyTable::MaxBindings)) __builtin_trap();
  const std::string written = StoreProfileFile(table);
  again.Clear();
  LoadProfileFile(written, again);
  if (again.Count != table.Count || StoreProfileFile(again) != written) __builtin_trap();
  return 0;
}
