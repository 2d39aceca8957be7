#include "controls/visual/PngPixelMath.h"

namespace Flat {

namespace {

// n / d rounded half to even, for n >= 0 and d > 0.
int RoundHalfEven(int n, int d) {
  const int q = n / d, r = n % d;
  if (2 * r > d) return q + 1;
  if (2 * r == d) return q + (q & 1);
  return q;
}

}  // namespace

std::uint8_t ScaleByAmount(int x, int amount) { return std::uint8_t(RoundHalfEven(x * (amount + 1), 256)); }

void BlendAlpha(PngImageData& image, int amount) {
  if (image.colorType == PngColorType::Palette) {
    // Entries past the stored alpha are opaque: they get an alpha of their own now.
    image.paletteAlpha.resize(image.palette.size(), 255);
    for (std::uint8_t& a : image.paletteAlpha) a = ScaleByAmount(a, amount);
    return;
  }
  for (std::uint8_t& a : image.alpha) a = ScaleByAmount(a, amount);
}

namespace {

std::uint8_t Grayed(int c, int gray, int amount) {
  return std::uint8_t(RoundHalfEven(c * (255 - amount), 256) + RoundHalfEven(gray * (amount + 1), 256));
}

void GrayBGR(std::uint8_t& b, std::uint8_t& g, std::uint8_t& r, int amount) {
  const int gray = RoundHalfEven(30 * r + 59 * g + 11 * b, 100);
  b = Grayed(b, gray, amount);
  g = Grayed(g, gray, amount);
  r = Grayed(r, gray, amount);
}

}  // namespace

void MakeGray(PngImageData& image, int amount) {
  switch (image.colorType) {
    case PngColorType::Grayscale:
    case PngColorType::GrayscaleAlpha:
      return;
    case PngColorType::Palette:
      for (PngRGB& e : image.palette) GrayBGR(e.b, e.g, e.r, amount);
      return;
    case PngColorType::RGB:
    case PngColorType::RGBAlpha:
      for (std::size_t i = 0; i + 2 < image.pixels.size(); i += 3)
        GrayBGR(image.pixels[i], image.pixels[i + 1], image.pixels[i + 2], amount);
      return;
  }
}

PixelBuffer IconPixels(const PixelBuffer& image, bool alphaIcons, std::uint32_t backgroundRGB) {
  if (alphaIcons) return image;
  PixelBuffer out = image;
  const std::uint8_t bb = backgroundRGB & 0xFF, bg = (backgroundRGB >> 8) & 0xFF, br = (backgroundRGB >> 16) & 0xFF;
  for (std::size_t i = 0; i + 3 < out.bytes.size(); i += 4) {
    std::uint8_t* p = &out.bytes[i];
    const int a = p[3];
    p[0] = BlendChannel(p[0], bb, a);
    p[1] = BlendChannel(p[1], bg, a);
    p[2] = BlendChannel(p[2], br, a);
    p[3] = a == 0 ? 0 : 255;
  }
  return out;
}

}  // namespace Flat
