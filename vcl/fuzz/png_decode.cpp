// Any bytes given to the PNG decoder either decode into a consistent picture,
// which then encodes and decodes to the same pixels, or raise EInvalidGraphic.
#include <cstdint>
#include <cstdlib>

#include "vcl/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const PngImageData image = DecodePng(data, size);
    const PixelBuffer pixels = image.toPixels();
    if (pixels.width != image.width || pixels.height != image.height) std::abort();
    const std::vector<std::uint8_t> again = EncodePng(image);
    if (DecodePng(again.data(), again.size()).toPixels().bytes != pixels.bytes) std::abort();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
