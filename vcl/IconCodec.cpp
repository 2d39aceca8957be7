#include "vcl/IconCodec.h"

#include <cstdlib>
#include <cstring>

#include "vcl/BmpCodec.h"
#include "vcl/PngCodec.h"

namespace {

std::uint16_t U16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(std::uint8_t(v));
  out.push_back(std::uint8_t(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

}  // namespace

std::vector<IconEntry> ReadIconDirectory(const std::uint8_t* data, std::size_t size) {
  if (size < 6 || U16(data) != 0 || (U16(data + 2) != 1 && U16(data + 2) != 2))
    throw EInvalidGraphic("Not an icon file");
  const int count = U16(data + 4);
  if (count == 0) throw EInvalidGraphic("The icon file holds no image");
  if (6 + std::size_t(count) * 16 > size) throw EInvalidGraphic("The icon directory is cut short");
  std::vector<IconEntry> entries;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = data + 6 + i * 16;
    IconEntry entry;
    entry.width = e[0] ? e[0] : 256;
    entry.height = e[1] ? e[1] : 256;
    entry.bitCount = U16(e + 6);
    entry.size = U32(e + 8);
    entry.offset = U32(e + 12);
    if (entry.offset > size || entry.size > size - entry.offset || entry.size == 0)
      throw EInvalidGraphic("An icon image lies outside the file");
    entries.push_back(entry);
  }
  return entries;
}

std::size_t ChooseIconEntry(const std::vector<IconEntry>& entries, int wantedSize) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    const IconEntry& a = entries[i];
    const IconEntry& b = entries[best];
    if (wantedSize <= 0) {
      if (a.width > b.width || (a.width == b.width && a.bitCount > b.bitCount)) best = i;
    } else {
      const int da = std::abs(a.width - wantedSize), db = std::abs(b.width - wantedSize);
      if (da < db || (da == db && a.bitCount > b.bitCount)) best = i;
    }
  }
  return best;
}

PixelBuffer DecodeIconImage(const std::uint8_t* data, std::size_t size) {
  if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return DecodePng(data, size).toPixels();
  DecodedBitmap colour = DecodeDib(data, size, true);
  PixelBuffer& pixels = colour.pixels;
  if (colour.alphaValid) return std::move(pixels);
  // Where the colour bits end, the AND mask (1 bit per pixel, bottom-up) begins.
  const std::uint32_t headerSize = U32(data);
  const int bpp = headerSize == 12 ? U16(data + 10) : U16(data + 14);
  std::size_t pos = headerSize;
  if (bpp <= 8) {
    const std::uint32_t used = headerSize >= 40 ? U32(data + 32) : 0;
    std::size_t entries = used ? used : (1u << bpp);
    if (entries > (1u << bpp)) entries = 1u << bpp;
    pos += entries * (headerSize == 12 ? 3 : 4);
  }
  pos += ((std::size_t(pixels.width) * bpp + 31) / 32) * 4 * pixels.height;
  const std::size_t maskStride = ((std::size_t(pixels.width) + 31) / 32) * 4;
  if (pos > size || maskStride * pixels.height > size - pos) return std::move(pixels);  // no mask: opaque
  for (int row = 0; row < pixels.height; ++row) {
    const std::uint8_t* m = data + pos + maskStride * row;
    std::uint8_t* d = pixels.row(pixels.height - 1 - row);
    for (int x = 0; x < pixels.width; ++x) {
      if ((m[x / 8] >> (7 - x % 8)) & 1) d[x * 4 + 3] = 0;
    }
  }
  return std::move(pixels);
}

PixelBuffer DecodeIcon(const std::uint8_t* data, std::size_t size, int wantedSize) {
  const std::vector<IconEntry> entries = ReadIconDirectory(data, size);
  const IconEntry& e = entries[ChooseIconEntry(entries, wantedSize)];
  return DecodeIconImage(data + e.offset, e.size);
}

std::vector<std::uint8_t> EncodeIcon(const PixelBuffer& pixels) {
  CheckPictureSize(pixels.width, pixels.height);
  if (pixels.width > 256 || pixels.height > 256) throw EInvalidGraphic("Icons are at most 256 x 256");
  const std::size_t maskStride = ((std::size_t(pixels.width) + 31) / 32) * 4;
  const std::size_t imageSize = 40 + std::size_t(pixels.width) * pixels.height * 4 + maskStride * pixels.height;
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(std::uint8_t(pixels.width & 0xFF));
  out.push_back(std::uint8_t(pixels.height & 0xFF));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, std::uint32_t(imageSize));
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, std::uint32_t(pixels.width));
  Put32(out, std::uint32_t(pixels.height * 2));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = pixels.height - 1; y >= 0; --y) out.insert(out.end(), pixels.row(y), pixels.row(y) + pixels.width * 4);
  for (int y = pixels.height - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    out.resize(start + maskStride, 0);
    const std::uint8_t* s = pixels.row(y);
    for (int x = 0; x < pixels.width; ++x) {
      if (s[x * 4 + 3] == 0) out[start + x / 8] |= std::uint8_t(0x80 >> (x % 8));
    }
  }
  return out;
}
