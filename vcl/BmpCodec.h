// Windows bitmap files and packed DIBs (bitmap resources, icon images) to and
// from 32-bit pixels, without GDI, so damaged files are caught by code that is
// tested and fuzzed natively.
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/PixelBuffer.h"

struct DecodedBitmap {
  PixelBuffer pixels;
  int bitCount = 24;          // bits per pixel in the file (1, 4, 8, 16, 24, 32)
  bool alphaValid = false;    // 32-bit pictures whose fourth byte carries alpha
};

// A whole ".bmp" file. Throws EInvalidGraphic.
DecodedBitmap DecodeBmp(const std::uint8_t* data, std::size_t size);
// A packed DIB: header, colour table, pixels (a BITMAP resource). heightIsDoubled
// is for icon images, whose header counts the AND mask rows too; the mask itself is
// read by DecodeIconImage.
DecodedBitmap DecodeDib(const std::uint8_t* data, std::size_t size, bool heightIsDoubled = false);
// A ".bmp" file of 24 bits (alpha dropped) or 32 bits (alpha kept).
std::vector<std::uint8_t> EncodeBmp(const PixelBuffer& pixels, int bitCount);
