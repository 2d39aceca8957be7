// A 32-bit picture in memory: rows from the top, 4 bytes per pixel in the order
// blue, green, red, alpha (the layout of a top-down 32-bit DIB), alpha straight
// (not multiplied into the colours). The decoders produce it and the GDI side
// copies it into DIB sections; the blending here is plain code so it is tested
// natively under the sanitizers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/Exceptions.h"

// Raised for a picture that cannot be read or written: a damaged file, an
// unsupported variant, sizes beyond what a picture of this program can have.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
  // The decoders' own texts are ASCII (libpng, libjpeg and giflib report in English).
  explicit EInvalidGraphic(const std::string& message) : Exception(Utf8ToString(message)) {}
  explicit EInvalidGraphic(const char* message) : Exception(Utf8ToString(message)) {}
};

// Pictures larger than this on either side, or with more pixels in all, are
// refused before any memory is taken for them.
constexpr int kMaxPictureSide = 16384;
constexpr std::int64_t kMaxPicturePixels = 8192LL * 8192LL;

// Throws EInvalidGraphic unless width x height is a picture size we accept.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// A decoder's check before it takes memory for the pixels a file declares. Beyond
// a few million pixels the file must also hold data enough for them: no coding a
// picture comes in packs more than about 8192 pixels into a byte (deflate packs
// 1032 bytes into one, eight one-bit pixels each), so a few bytes that declare a
// huge picture are refused at once, whatever the coding, instead of inventing it.
constexpr std::int64_t kPixelsWithoutData = 2048LL * 2048LL;
constexpr std::int64_t kMaxPixelsPerDataByte = 8192;
void CheckPictureSize(std::int64_t width, std::int64_t height, std::size_t dataBytes);
// The same as a test, for decoders that must not throw (between setjmp and longjmp).
bool PictureSizeAllowed(std::int64_t width, std::int64_t height, std::size_t dataBytes);

struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 4

  PixelBuffer() = default;
  PixelBuffer(int w, int h, std::uint32_t fillBGRA = 0);

  bool empty() const { return width <= 0 || height <= 0; }
  std::uint8_t* row(int y) { return bytes.data() + std::size_t(y) * std::size_t(width) * 4; }
  const std::uint8_t* row(int y) const { return bytes.data() + std::size_t(y) * std::size_t(width) * 4; }
  // 0xAARRGGBB of a pixel (the bytes read as a little-endian word).
  std::uint32_t at(int x, int y) const;
  void set(int x, int y, std::uint32_t argb);
  // True when some pixel is not fully opaque.
  bool hasTransparency() const;
};

// Makes every pixel opaque (alpha 255): for formats without alpha.
void MakeOpaque(PixelBuffer& pixels);

// Multiplies the colours by alpha (rounded), the form AlphaBlend wants.
void Premultiply(PixelBuffer& pixels);

// Draws src (straight alpha, further scaled by constantAlpha 0..255) over dst at
// (x, y), clipped to dst. dst's alpha becomes the combined coverage.
void BlendOver(PixelBuffer& dst, const PixelBuffer& src, int x, int y, int constantAlpha = 255);

// Nearest-pixel scaling (pictures fitted into image-list slots).
PixelBuffer ScalePixels(const PixelBuffer& Source, int Width, int Height);

// Blends one channel value: src over dst with coverage a (0..255), rounded.
constexpr std::uint8_t BlendChannel(std::uint8_t src, std::uint8_t dst, int a) {
  return std::uint8_t((src * a + dst * (255 - a) + 127) / 255);
}
