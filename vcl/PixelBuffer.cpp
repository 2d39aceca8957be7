#include "vcl/PixelBuffer.h"

#include <algorithm>
#include <cstring>

void CheckPictureSize(std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) throw EInvalidGraphic("The picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw EInvalidGraphic("The picture is too large");
}

bool PictureSizeAllowed(std::int64_t width, std::int64_t height, std::size_t dataBytes) {
  if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) return false;
  const std::int64_t pixels = width * height;
  if (pixels > kMaxPicturePixels) return false;
  return pixels <= kPixelsWithoutData || pixels / kMaxPixelsPerDataByte <= std::int64_t(dataBytes);
}

void CheckPictureSize(std::int64_t width, std::int64_t height, std::size_t dataBytes) {
  CheckPictureSize(width, height);
  if (!PictureSizeAllowed(width, height, dataBytes))
    throw EInvalidGraphic("The picture declares more pixels than its data can hold");
}

PixelBuffer::PixelBuffer(int w, int h, std::uint32_t fillBGRA) : width(w), height(h) {
  if (w < 0 || h < 0) throw EInvalidGraphic("Negative picture size");
  bytes.resize(std::size_t(w) * std::size_t(h) * 4);
  if (fillBGRA != 0) {
    for (std::size_t i = 0; i < bytes.size(); i += 4) std::memcpy(&bytes[i], &fillBGRA, 4);
  }
}

std::uint32_t PixelBuffer::at(int x, int y) const {
  const std::uint8_t* p = row(y) + std::size_t(x) * 4;
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

void PixelBuffer::set(int x, int y, std::uint32_t argb) {
  std::uint8_t* p = row(y) + std::size_t(x) * 4;
  p[0] = std::uint8_t(argb);
  p[1] = std::uint8_t(argb >> 8);
  p[2] = std::uint8_t(argb >> 16);
  p[3] = std::uint8_t(argb >> 24);
}

bool PixelBuffer::hasTransparency() const {
  for (std::size_t i = 3; i < bytes.size(); i += 4) {
    if (bytes[i] != 255) return true;
  }
  return false;
}

void MakeOpaque(PixelBuffer& pixels) {
  for (std::size_t i = 3; i < pixels.bytes.size(); i += 4) pixels.bytes[i] = 255;
}

void Premultiply(PixelBuffer& pixels) {
  for (std::size_t i = 0; i < pixels.bytes.size(); i += 4) {
    const int a = pixels.bytes[i + 3];
    if (a == 255) continue;
    for (int c = 0; c < 3; ++c) pixels.bytes[i + c] = std::uint8_t((pixels.bytes[i + c] * a + 127) / 255);
  }
}

void BlendOver(PixelBuffer& dst, const PixelBuffer& src, int x, int y, int constantAlpha) {
  constantAlpha = std::clamp(constantAlpha, 0, 255);
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(dst.width, x + src.width), y1 = std::min(dst.height, y + src.height);
  for (int dy = y0; dy < y1; ++dy) {
    const std::uint8_t* s = src.row(dy - y) + std::size_t(x0 - x) * 4;
    std::uint8_t* d = dst.row(dy) + std::size_t(x0) * 4;
    for (int dx = x0; dx < x1; ++dx, s += 4, d += 4) {
      const int a = (s[3] * constantAlpha + 127) / 255;
      if (a == 0) continue;
      d[0] = BlendChannel(s[0], d[0], a);
      d[1] = BlendChannel(s[1], d[1], a);
      d[2] = BlendChannel(s[2], d[2], a);
      d[3] = std::uint8_t(a + (d[3] * (255 - a) + 127) / 255);
    }
  }
}

PixelBuffer ScalePixels(const PixelBuffer& Source, int Width, int Height) {
  if (Source.width == Width && Source.height == Height) return Source;
  PixelBuffer out(Width, Height);
  if (Source.empty()) return out;
  for (int y = 0; y < Height; ++y) {
    const int sy = int(std::int64_t(y) * Source.height / Height);
    for (int x = 0; x < Width; ++x) {
      const int sx = int(std::int64_t(x) * Source.width / Width);
      std::memcpy(out.row(y) + std::size_t(x) * 4, Source.row(sy) + std::size_t(sx) * 4, 4);
    }
  }
  return out;
}
