// Colour conversion between RGB and hue/saturation/luminance, on reals (0..1)
// and on the integer scale 0..HSLRange the flat controls work with. Colours are
// plain 24-bit values, red in the lowest byte (system colours are resolved by the
// caller). All rounding is to the nearest integer, ties to even.
#pragma once
#include <cstdint>

namespace Flat {

inline constexpr int HSLRange = 240;

struct TRGBBytes {
  std::uint8_t Red = 0, Green = 0, Blue = 0;
};
struct THSL {
  double H = 0, S = 0, L = 0;
};
struct THSLRange {
  int H = 0, S = 0, L = 0;
};

TRGBBytes SplitColorBytes(std::uint32_t color);
std::uint32_t MakeRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// A result that is not a finite number anywhere in the conversion gives black.
std::uint32_t HSLToRGB(double h, double s, double l);
THSL RGBToHSL(std::uint32_t color);
std::uint32_t HSLRangeToRGB(int h, int s, int l);
THSLRange RGBToHSLRange(std::uint32_t color);

}  // namespace Flat
