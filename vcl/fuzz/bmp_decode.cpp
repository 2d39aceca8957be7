// Any bytes given to the bitmap decoder either decode into a picture, which
// if opaque writes and reads back unchanged, or raise EInvalidGraphic.
#include <cstdint>
#include <cstdlib>

#include "vcl/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const DecodedBitmap bmp = DecodeBmp(data, size);
    const std::vector<std::uint8_t> again = EncodeBmp(bmp.pixels, 32);
    // Opaque pictures must come back byte for byte (the alpha rules of 32-bit
    // files make a wholly transparent one opaque on reading).
    if (!bmp.pixels.hasTransparency() && DecodeBmp(again.data(), again.size()).pixels.bytes != bmp.pixels.bytes)
      std::abort();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
