// PNG files to and from the picture model the PNG image keeps: the file's own
// colour type with 8 bits per sample, the palette and its transparency, a single
// transparent colour, and the alpha channel as a plane of its own. Gamma is not
// applied (the pictures are drawn as their bytes say).
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/PixelBuffer.h"

enum class PngColorType : std::uint8_t {
  Grayscale = 0,
  RGB = 2,
  Palette = 3,
  GrayscaleAlpha = 4,
  RGBAlpha = 6,
};

struct PngRGB {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const PngRGB&, const PngRGB&) = default;
};

struct PngImageData {
  int width = 0;
  int height = 0;
  PngColorType colorType = PngColorType::RGB;
  // Rows from the top: one byte per pixel (grey level or palette index) for grey
  // and palette types, three bytes blue, green, red for the RGB types.
  std::vector<std::uint8_t> pixels;
  // One byte per pixel for the alpha types, empty otherwise.
  std::vector<std::uint8_t> alpha;
  std::vector<PngRGB> palette;
  // Alpha per palette entry (may be shorter than the palette: the rest is opaque).
  std::vector<std::uint8_t> paletteAlpha;
  // Grey and RGB types: pixels of this colour are transparent.
  bool hasTransparentColor = false;
  PngRGB transparentColor;

  bool empty() const { return width <= 0 || height <= 0; }
  int bytesPerPixel() const;
  bool hasAlphaChannel() const {
    return colorType == PngColorType::GrayscaleAlpha || colorType == PngColorType::RGBAlpha;
  }
  // A blank picture of that type, all samples 0 (alpha 0 for alpha types).
  static PngImageData Blank(PngColorType type, int width, int height);
  // The picture as blue, green, red, alpha with every kind of transparency applied.
  PixelBuffer toPixels() const;
  // An RGB-with-alpha picture of these pixels.
  static PngImageData FromPixels(const PixelBuffer& pixels);
};

// Throws EInvalidGraphic for data that is not a readable PNG.
PngImageData DecodePng(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> EncodePng(const PngImageData& image);
