// JPEG files to and from 32-bit pixels (always opaque).
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/PixelBuffer.h"

// Throws EInvalidGraphic for data that is not a readable JPEG. Grey, RGB, CMYK and
// YCCK files come back as colour pixels.
PixelBuffer DecodeJpeg(const std::uint8_t* data, std::size_t size);
// quality 1..100 (clamped); alpha is ignored.
std::vector<std::uint8_t> EncodeJpeg(const PixelBuffer& pixels, int quality, bool grayscale = false);
