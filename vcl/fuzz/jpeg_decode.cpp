// Any bytes given to the JPEG decoder either decode into opaque pixels or raise
// EInvalidGraphic.
#include <cstdint>
#include <cstdlib>

#include "vcl/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const PixelBuffer pixels = DecodeJpeg(data, size);
    if (pixels.bytes.size() != std::size_t(pixels.width) * pixels.height * 4) std::abort();
    if (pixels.hasTransparency()) std::abort();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
