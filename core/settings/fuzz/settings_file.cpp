// Any bytes read as "stg.db" must fill the records without reading past the input,
// and what is written from them must read back to the same records.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TSettingsRecords records;
  LoadSettingsFile(bytes, records);
  const std::string written = StoreSettingsFile(records);
  TSettingsRecords again;
  LoadSettingsFile(written, again);
  if (StoreSettingsFile(again) != written) __builtin_trap();
  for (const TFontSlot& slot : again.Fonts)
    if (slot.Present && slot.Font.Face().size() >= TStoredLogFont::FaceSize) __builtin_trap();
  return 0;
}
