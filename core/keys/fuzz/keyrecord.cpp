// Any 613 bytes of a damaged profile file load into a record that stays inside its
// fields, writes back to the same record, and can be looked up and named.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/keys/KeyLookup.h"
#include "core/keys/KeyNames.h"
#include "core/keys/KeyRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint8_t bytes[TKeyRecord::StoredSize] = {};
  std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
  const TKeyRecord r = TKeyRecord::Load(bytes);
  if (r.Name.size() > 25 || r.OsdText.size() > 50 || r.Modifiers.size() > 8 || r.Params.size() > 255 ||
      r.PluginKeyName.size() > 255)
    __builtin_trap();
  const auto stored = r.Bytes();
  if (std::memcmp(TKeyRecord::Load(stored.data()).Bytes().data(), stored.data(), stored.size()) != 0)
    __builtin_trap();

  TKeyEvent event;
  event.Vk = r.Vk;
  event.Code2 = r.Code2;
  event.Msg = r.Msg;
  event.Modifiers = r.Modifiers.str();
  event.PluginKeyName = r.PluginKeyName.str();
  const bool valid = r.Modifiers.size() == 8 && r.Modifiers.view().find_first_not_of("01") == std::string_view::npos;
  for (bool sideAgnostic : {false, true})
    if (BindingMatches(r, event, sideAgnostic) != (valid && r.Disabled == 0)) __builtin_trap();
  keyname(r.Vk, r.Code2, r.Modifiers.view(), false);
  keyname(r.Vk, r.Code2, r.Modifiers.view(), true);
  return 0;
}
