#include "vcl/BmpCodec.h"

#include <algorithm>
#include <bit>
#include <cstring>

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

enum : std::uint32_t { kRGB = 0, kRLE8 = 1, kRLE4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One channel of a bit-field pixel scaled to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = std::popcount(m);
    if (bits > 8) {  // keep the 8 most significant bits
      shift += bits - 8;
      bits = 8;
    }
  }
  std::uint8_t get(std::uint32_t v) const {
    if (!mask) return 0;
    const std::uint32_t raw = ((v & mask) >> shift) & ((1u << bits) - 1);
    return std::uint8_t(raw * 255 / ((1u << bits) - 1));
  }
};

struct Header {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kRGB;
  std::uint32_t masks[4] = {};  // red, green, blue, alpha
  std::size_t headerSize = 0;
  std::size_t paletteEntrySize = 4;
  std::uint32_t colorsUsed = 0;
};

Header ReadHeader(const std::uint8_t* data, std::size_t size, std::size_t* afterHeader) {
  if (size < 12) throw EInvalidGraphic("The bitmap header is cut short");
  Header h;
  h.headerSize = U32(data);
  if (h.headerSize == 12) {
    h.width = U16(data + 4);
    h.height = U16(data + 6);
    h.bitCount = U16(data + 10);
    h.paletteEntrySize = 3;
  } else if (h.headerSize >= 40 && h.headerSize <= 124 && size >= h.headerSize) {
    h.width = std::int32_t(U32(data + 4));
    const std::int32_t height = std::int32_t(U32(data + 8));
    if (height == INT32_MIN) throw EInvalidGraphic("Bad bitmap height");
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    h.bitCount = U16(data + 14);
    h.compression = U32(data + 16);
    h.colorsUsed = U32(data + 32);
    if (h.headerSize >= 52) {
      for (int i = 0; i < 3; ++i) h.masks[i] = U32(data + 40 + 4 * i);
    }
    if (h.headerSize >= 56) h.masks[3] = U32(data + 52);
  } else {
    throw EInvalidGraphic("Unknown bitmap header");
  }
  std::size_t pos = h.headerSize;
  if (h.headerSize == 40 && (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
    const int count = h.compression == kAlphaBitFields ? 4 : 3;
    if (size < pos + 4 * count) throw EInvalidGraphic("The bitmap masks are cut short");
    for (int i = 0; i < count; ++i) h.masks[i] = U32(data + pos + 4 * i);
    pos += 4 * count;
  }
  *afterHeader = pos;
  return h;
}

void DecodeRle(const std::uint8_t* src, std::size_t size, const Header& h,
               const std::vector<std::uint32_t>& palette, PixelBuffer& out) {
  // RLE pictures are bottom-up; pixels the codes skip stay transparent.
  int x = 0, y = 0;
  std::size_t i = 0;
  const bool four = h.compression == kRLE4;
  auto put = [&](int index) {
    if (x < h.width && y < h.height) {
      const std::uint32_t c = index < int(palette.size()) ? palette[index] : 0xFF000000u;
      out.set(x, h.height - 1 - y, c);
    }
    ++x;
  };
  while (i + 1 < size && y < h.height) {
    const int count = src[i], value = src[i + 1];
    i += 2;
    if (count > 0) {
      for (int k = 0; k < count; ++k) put(four ? ((k & 1) ? value & 0xF : value >> 4) : value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (i + 1 >= size) return;
      x += src[i];
      y += src[i + 1];
      i += 2;
    } else {
      const std::size_t bytes = four ? (std::size_t(value) + 1) / 2 : std::size_t(value);
      if (i + bytes > size) return;
      for (int k = 0; k < value; ++k) {
        const int b = four ? src[i + k / 2] : src[i + k];
        put(four ? ((k & 1) ? b & 0xF : b >> 4) : b);
      }
      i += (bytes + 1) & ~std::size_t(1);  // runs are padded to a word
    }
  }
}

}  // namespace

DecodedBitmap DecodeDib(const std::uint8_t* data, std::size_t size, bool heightIsDoubled) {
  std::size_t pos = 0;
  Header h = ReadHeader(data, size, &pos);
  if (heightIsDoubled) h.height /= 2;
  CheckPictureSize(h.width, h.height, size);
  const int bpp = h.bitCount;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    throw EInvalidGraphic("Unsupported bitmap colour depth");
  const bool rle = h.compression == kRLE8 || h.compression == kRLE4;
  if (h.compression != kRGB && h.compression != kBitFields && h.compression != kAlphaBitFields && !rle)
    throw EInvalidGraphic("Unsupported bitmap compression");
  if ((h.compression == kRLE8 && bpp != 8) || (h.compression == kRLE4 && bpp != 4) ||
      ((h.compression == kBitFields || h.compression == kAlphaBitFields) && bpp != 16 && bpp != 32))
    throw EInvalidGraphic("Bad bitmap compression for its colour depth");
  if (rle && h.topDown) throw EInvalidGraphic("A compressed bitmap cannot be top-down");

  std::vector<std::uint32_t> palette;
  if (bpp <= 8) {
    std::size_t count = h.colorsUsed ? h.colorsUsed : (1u << bpp);
    count = std::min<std::size_t>(count, 1u << bpp);
    if (pos + count * h.paletteEntrySize > size) throw EInvalidGraphic("The bitmap palette is cut short");
    for (std::size_t k = 0; k < count; ++k) {
      const std::uint8_t* e = data + pos + k * h.paletteEntrySize;
      palette.push_back(0xFF000000u | e[0] | (std::uint32_t(e[1]) << 8) | (std::uint32_t(e[2]) << 16));
    }
    pos += count * h.paletteEntrySize;
  } else if (h.headerSize == 40 && h.colorsUsed) {
    // A colour table before true-colour pixels is only a hint for palette devices.
    pos += std::min<std::size_t>(h.colorsUsed, 256) * 4;
  }
  if (pos > size) throw EInvalidGraphic("The bitmap is cut short");

  const std::uint8_t* bits = data + pos;
  const std::size_t available = size - pos;
  // Uncompressed pixels must all be there before their memory is taken.
  const std::size_t stride = ((std::size_t(h.width) * bpp + 31) / 32) * 4;
  if (!rle && stride * h.height > available) throw EInvalidGraphic("The bitmap pixels are cut short");

  DecodedBitmap result;
  result.bitCount = bpp;
  result.pixels = PixelBuffer(h.width, h.height);
  PixelBuffer& out = result.pixels;
  if (rle) {
    DecodeRle(bits, available, h, palette, out);
    return result;
  }

  std::uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
  const bool fields = h.compression == kBitFields || h.compression == kAlphaBitFields;
  if (!fields) {
    if (bpp == 16) {
      masks[0] = 0x7C00;
      masks[1] = 0x03E0;
      masks[2] = 0x001F;
      masks[3] = 0;
    } else if (bpp == 32) {
      masks[0] = 0x00FF0000;
      masks[1] = 0x0000FF00;
      masks[2] = 0x000000FF;
      masks[3] = 0xFF000000;
    }
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  bool anyAlpha = false;
  for (int row = 0; row < h.height; ++row) {
    const std::uint8_t* s = bits + stride * row;
    std::uint8_t* d = out.row(h.topDown ? row : h.height - 1 - row);
    for (int x = 0; x < h.width; ++x, d += 4) {
      std::uint32_t argb;
      switch (bpp) {
        case 1: argb = palette.size() > std::size_t((s[x / 8] >> (7 - x % 8)) & 1) ? palette[(s[x / 8] >> (7 - x % 8)) & 1] : 0xFF000000u; break;
        case 4: {
          const int index = (x & 1) ? s[x / 2] & 0xF : s[x / 2] >> 4;
          argb = std::size_t(index) < palette.size() ? palette[index] : 0xFF000000u;
          break;
        }
        case 8: argb = s[x] < palette.size() ? palette[s[x]] : 0xFF000000u; break;
        case 24: argb = 0xFF000000u | s[x * 3] | (std::uint32_t(s[x * 3 + 1]) << 8) | (std::uint32_t(s[x * 3 + 2]) << 16); break;
        default: {
          const std::uint32_t v = bpp == 16 ? U16(s + x * 2) : U32(s + x * 4);
          const std::uint8_t a = alpha.mask ? alpha.get(v) : 255;
          if (a) anyAlpha = true;
          argb = (std::uint32_t(a) << 24) | (std::uint32_t(red.get(v)) << 16) | (std::uint32_t(green.get(v)) << 8) | blue.get(v);
        }
      }
      std::memcpy(d, &argb, 4);
    }
  }
  // 32-bit pictures often leave the fourth byte 0: they are opaque, not invisible.
  result.alphaValid = bpp == 32 && alpha.mask && anyAlpha;
  if (!result.alphaValid) MakeOpaque(out);
  return result;
}

DecodedBitmap DecodeBmp(const std::uint8_t* data, std::size_t size) {
  if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') throw EInvalidGraphic("Not a bitmap file");
  const std::uint32_t offBits = U32(data + 10);
  std::size_t headerPos = 14;
  DecodedBitmap result;
  // The pixels start at the file's own offset, which may leave a gap after the
  // palette; rebuild a packed DIB without the gap.
  std::size_t after = 0;
  Header h = ReadHeader(data + headerPos, size - headerPos, &after);
  std::size_t paletteBytes = 0;
  if (h.bitCount <= 8 && h.bitCount > 0) {
    std::size_t count = h.colorsUsed ? h.colorsUsed : (1u << std::min(h.bitCount, 8));
    count = std::min<std::size_t>(count, std::size_t(1) << std::min(h.bitCount, 8));
    paletteBytes = count * h.paletteEntrySize;
  }
  const std::size_t packedHead = after + paletteBytes;
  if (offBits >= 14 + packedHead && offBits < size && offBits != 14 + packedHead) {
    std::vector<std::uint8_t> packed(data + headerPos, data + headerPos + std::min(packedHead, size - headerPos));
    packed.insert(packed.end(), data + offBits, data + size);
    // The colour-used hint of true-colour pictures is dropped with the gap.
    if (h.bitCount > 8 && h.headerSize >= 40 && packed.size() >= 36) std::memset(&packed[32], 0, 4);
    return DecodeDib(packed.data(), packed.size());
  }
  return DecodeDib(data + headerPos, size - headerPos);
}

std::vector<std::uint8_t> EncodeBmp(const PixelBuffer& pixels, int bitCount) {
  CheckPictureSize(pixels.width, pixels.height);
  if (bitCount != 24 && bitCount != 32) throw EInvalidGraphic("Bitmaps are written with 24 or 32 bits");
  const std::size_t stride = ((std::size_t(pixels.width) * bitCount + 31) / 32) * 4;
  const std::size_t imageSize = stride * pixels.height;
  std::vector<std::uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  Put32(out, std::uint32_t(54 + imageSize));
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, std::uint32_t(pixels.width));
  Put32(out, std::uint32_t(pixels.height));  // bottom-up, as most readers expect
  Put16(out, 1);
  Put16(out, std::uint16_t(bitCount));
  Put32(out, kRGB);
  Put32(out, std::uint32_t(imageSize));
  Put32(out, 3780);  // 96 dpi
  Put32(out, 3780);
  Put32(out, 0);
  Put32(out, 0);
  // Rows are written in place: a picture may be tens of millions of pixels.
  const std::size_t bytesPerPixel = std::size_t(bitCount) / 8;
  std::size_t rowStart = out.size();
  out.resize(rowStart + imageSize, 0);
  for (int y = pixels.height - 1; y >= 0; --y, rowStart += stride) {
    const std::uint8_t* s = pixels.row(y);
    std::uint8_t* d = out.data() + rowStart;
    for (int x = 0; x < pixels.width; ++x, s += 4, d += bytesPerPixel) std::memcpy(d, s, bytesPerPixel);
  }
  return out;
}
