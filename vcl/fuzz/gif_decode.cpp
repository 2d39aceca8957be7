// Any bytes given to the GIF decoder either decode into a picture or raise
// EInvalidGraphic.
#include <cstdint>
#include <cstdlib>

#include "vcl/GifCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const PixelBuffer pixels = DecodeGif(data, size);
    if (pixels.bytes.size() != std::size_t(pixels.width) * pixels.height * 4) std::abort();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
