// GIF files to 32-bit pixels: the first frame, placed on the logical screen, with
// its transparent colour as alpha 0. Later frames are not read (pictures here are
// still pictures).
#pragma once
#include <cstdint>

#include "vcl/PixelBuffer.h"

// Throws EInvalidGraphic for data that is not a readable GIF.
PixelBuffer DecodeGif(const std::uint8_t* data, std::size_t size);
