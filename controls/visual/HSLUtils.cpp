#include "controls/visual/HSLUtils.h"

#include <algorithm>
#include <cmath>

namespace Flat {

namespace {

// A channel in 0..1 as a byte, or -1 when the value is no number.
int ChannelByte(double v) {
  if (!std::isfinite(v)) return -1;
  return static_cast<int>(std::clamp(std::nearbyint(v * 255.0), 0.0, 255.0));
}

double HueToRGB(double m1, double m2, double h) {
  if (h < 0) h += 1;
  if (h > 1) h -= 1;
  if (6 * h < 1) return m1 + (m2 - m1) * h * 6;
  if (2 * h < 1) return m2;
  if (3 * h < 2) return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
  return m1;
}

}  // namespace

TRGBBytes SplitColorBytes(std::uint32_t color) {
  return {static_cast<std::uint8_t>(color & 0xFF), static_cast<std::uint8_t>((color >> 8) & 0xFF),
          static_cast<std::uint8_t>((color >> 16) & 0xFF)};
}

std::uint32_t MakeRGB(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (std::uint32_t(blue) << 16) | (std::uint32_t(green) << 8) | red;
}

std::uint32_t HSLToRGB(double h, double s, double l) {
  double r, g, b;
  if (s == 0) {
    r = g = b = l;
  } else {
    const double m2 = l > 0.5 ? s + l - s * l : l * (s + 1);
    const double m1 = 2 * l - m2;
    r = HueToRGB(m1, m2, h + 1.0 / 3.0);
    g = HueToRGB(m1, m2, h);
    b = HueToRGB(m1, m2, h - 1.0 / 3.0);
  }
  const int rb = ChannelByte(r), gb = ChannelByte(g), bb = ChannelByte(b);
  if (rb < 0 || gb < 0 || bb < 0) return 0;
  return MakeRGB(std::uint8_t(rb), std::uint8_t(gb), std::uint8_t(bb));
}

THSL RGBToHSL(std::uint32_t color) {
  const TRGBBytes c = SplitColorBytes(color);
  const double r = c.Red / 255.0, g = c.Green / 255.0, b = c.Blue / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  THSL out;
  out.L = (mx + mn) / 2;
  if (mx == mn) return out;
  const double d = mx - mn;
  out.S = out.L >= 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
  double h;
  if (mx == r)
    h = (g - b) / d;
  else if (mx == g)
    h = (b - r) / d + 2;
  else
    h = (r - g) / d + 4;
  h /= 6;
  if (h < 0) h += 1;
  out.H = h;
  return out;
}

std::uint32_t HSLRangeToRGB(int h, int s, int l) {
  return HSLToRGB(double(h) / HSLRange, double(s) / HSLRange, double(l) / HSLRange);
}

THSLRange RGBToHSLRange(std::uint32_t color) {
  const THSL v = RGBToHSL(color);
  return {int(std::nearbyint(HSLRange * v.H)), int(std::nearbyint(HSLRange * v.S)),
          int(std::nearbyint(HSLRange * v.L))};
}

}  // namespace Flat
