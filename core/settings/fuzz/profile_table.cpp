// Any bytes read as "profile.db" must give a table of at most 64 profiles whose
// names and kinds stay inside their fields, and whose rewrite reads back the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/Profiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TProfileTable table = LoadProfileTable(bytes);
  if (table.Count > TProfileTable::MaxProfiles) __builtin_trap();
  for (std::size_t i = 0; i <= table.Count; ++i) {
    if (table.Entries[i].Name.size() > 25) __builtin_trap();
    IsValidProfileName(table.Entries[i].Name.view());
  }
  const std::string written = StoreProfileTable(table, table.Count);
  const TProfileTable again = LoadProfileTable(written);
  if (again.Count != table.Count || StoreProfileTable(again, again.Count) != written) __builtin_trap();
  return 0;
}
