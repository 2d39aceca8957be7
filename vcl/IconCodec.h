// ".ico" files to 32-bit pixels with alpha: the directory, and each image as a
// DIB with its AND mask or as embedded PNG data.
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/PixelBuffer.h"

struct IconEntry {
  int width = 0;   // as the directory says (256 for 0)
  int height = 0;
  int bitCount = 0;
  std::size_t offset = 0;
  std::size_t size = 0;
};

// The directory of an icon (or cursor) file. Throws EInvalidGraphic.
std::vector<IconEntry> ReadIconDirectory(const std::uint8_t* data, std::size_t size);
// The entry best for a wanted size (0: the largest), deepest colour first.
std::size_t ChooseIconEntry(const std::vector<IconEntry>& entries, int wantedSize);
// One image of an icon file, given its bytes.
PixelBuffer DecodeIconImage(const std::uint8_t* data, std::size_t size);
// The chosen image of a whole icon file.
PixelBuffer DecodeIcon(const std::uint8_t* data, std::size_t size, int wantedSize = 0);
// A one-image icon file of 32-bit pixels with alpha (and an AND mask from alpha 0).
std::vector<std::uint8_t> EncodeIcon(const PixelBuffer& pixels);
