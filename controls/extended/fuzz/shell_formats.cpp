// Any bytes given as a locator's "Pidl" data or as another program's ID-list array
// either read into lists that walk within their bytes, or are refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "controls/extended/VyShellFormats.h"
#include "controls/extended/VyShellIdList.h"
#include "vcl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  try {
    const Vy::TLocatorData read = Vy::DecodeLocator(bytes);
    // What was read writes back to the same bytes.
    if (read.Kind == 0 && Vy::EncodeLocator(0, 0, read.IdList.data()) != bytes) std::abort();
    (void)Vy::IdListItemCount(read.IdList.empty() ? nullptr : read.IdList.data());
  } catch (const EReadError&) {
  }
  // The same bytes as a clipboard block, copied so that a read past them is seen.
  Vy::TIdListArrayView view;
  if (Vy::ParseIdListArray(bytes.data(), bytes.size(), view)) {
    std::vector<const void*> items(view.Items.begin(), view.Items.end());
    const auto again = Vy::BuildIdListArray(view.Parent, items);
    if (!Vy::ParseIdListArray(again.data(), again.size(), view)) std::abort();
  }
  return 0;
}
