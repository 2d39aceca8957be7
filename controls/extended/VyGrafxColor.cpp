#include "controls/extended/VyGrafxColor.h"

#include "vcl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace Vy {
namespace {

void CheckRange(int value, int low, int high, const wchar_t* what) {
  if (value < low || value > high)
    throw ERangeError(std::wstring(what) + L" " + std::to_wstring(value) + L" is outside " + std::to_wstring(low) +
                      L".." + std::to_wstring(high));
}

// A scaled channel as a byte; the checks make a bad sum an error, not a wrapped colour.
std::uint8_t ChannelByte(double unit) {
  const long v = std::lround(std::min(unit, 1.0) * 255.0);
  CheckRange(int(v), 0, 255, L"Channel");
  return std::uint8_t(v);
}

// Halves go to the even neighbour, as the colour scale has always been rounded.
int RoundEven(double v) { return int(std::nearbyint(v)); }

}  // namespace

THueSatLum ColorToHueSatLum(TColor color) {
  const TColor c = ColorToRGB(color);
  const double r = GetRValue(c) / 255.0, g = GetGValue(c) / 255.0, b = GetBValue(c) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (mx != mn) {
    const double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx)
      h = (g - b) / d;
    else if (g == mx)
      h = 2 + (b - r) / d;
    else
      h = 4 + (r - g) / d;
    h /= 6;
    if (h < 0) h += 1;
  }
  THueSatLum out{RoundEven(h * 240), RoundEven(s * 240), RoundEven(l * 240)};
  CheckRange(out.Hue, 0, 255, L"Hue");
  CheckRange(out.Sat, 0, 255, L"Saturation");
  CheckRange(out.Lum, 0, 255, L"Luminance");
  return out;
}

TColor HueSatLumToColor(int hue, int sat, int lum) {
  CheckRange(hue, 0, 240, L"Hue");
  CheckRange(sat, 0, 240, L"Saturation");
  CheckRange(lum, 0, 255, L"Luminance");
  const double l = lum / 240.0, s = sat / 240.0;
  const double m2 = l >= 0.5 ? l + s - l * s : l * (1 + s);
  if (m2 <= 0) return clBlack;
  const double h = hue / 239.0 * 6;
  int sector = int(h);
  const double f = h - sector;
  const double m1 = 2 * l - m2;
  const double up = m1 + (m2 - m1) * f, down = m2 - (m2 - m1) * f;
  double r, g, b;
  switch (sector) {
    case 1: r = down, g = m2, b = m1; break;
    case 2: r = m1, g = m2, b = up; break;
    case 3: r = m1, g = down, b = m2; break;
    case 4: r = up, g = m1, b = m2; break;
    case 5: r = m2, g = m1, b = down; break;
    default: r = m2, g = up, b = m1; break;  // sector 0, and 6 (hue 239 and 240) as 0
  }
  return RGBToColor(ChannelByte(r), ChannelByte(g), ChannelByte(b));
}

int HueOfColor(TColor color) { return ColorToHueSatLum(color).Hue; }

TColor DarkenColor(TColor color, int amount) {
  CheckRange(amount, 0, 255, L"Darkening");
  const THueSatLum hsl = ColorToHueSatLum(color);
  return HueSatLumToColor(std::min(hsl.Hue, 240), std::min(hsl.Sat, 240), std::max(hsl.Lum - amount, 0));
}

TColor LightenColor(TColor color, int amount) {
  CheckRange(amount, 0, 255, L"Lightening");
  const THueSatLum hsl = ColorToHueSatLum(color);
  return HueSatLumToColor(std::min(hsl.Hue, 240), std::min(hsl.Sat, 240), std::min(hsl.Lum + amount, 255));
}

TColor AdjustColorBy(TColor color, int amount) {
  CheckRange(amount, -255, 255, L"Adjustment");
  if (amount > 0) return LightenColor(color, amount);
  if (amount < 0) return DarkenColor(color, -amount);
  return color;
}

TColor BlendColors(TColor first, TColor second, int weight) {
  CheckRange(weight, 0, 255, L"Weight");
  const TColor a = ColorToRGB(first), b = ColorToRGB(second);
  const float t = float(weight) / 255.0f;
  auto mix = [&](std::uint8_t x, std::uint8_t y) {
    const long v = std::lround(float(x) * t + float(y) * (1.0f - t));
    CheckRange(int(v), 0, 255, L"Channel");
    return std::uint8_t(v);
  };
  return RGBToColor(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                    mix(GetBValue(a), GetBValue(b)));
}

bool ColorsNearlyEqual(TColor a, TColor b) {
  const THueSatLum x = ColorToHueSatLum(a), y = ColorToHueSatLum(b);
  return std::abs(x.Hue - y.Hue) < 20 && std::abs(x.Lum - y.Lum) < 60;
}

int GradientBandSize(int bandSetting) {
  if (bandSetting <= 0) return 1;
  if (bandSetting <= 8) return bandSetting;
  return 255 / bandSetting + 1;
}

TSegmentLayout LayoutSegments(int length, int count) {
  if (length <= 0 || count <= 0) return {0, 0, std::max(length, 0)};
  int size = length / count;
  if (length <= 80 && count > 10) {
    size = length / 10;
    count = 10;
  }
  if (size <= 0) return {0, 0, length};
  const int extra = (length - size * count) / size;
  if (extra > 0) count += extra;
  return {size, count, (length - size * count) / 2};
}

int FilledSegments(int percent, int count) {
  if (count <= 0) return 0;
  return std::clamp(percent, 0, 100) * count / 100;
}

TRect CenteredBounds(const TRect& r, int width, int height) {
  return Bounds((r.Left + r.Right - width) / 2, (r.Top + r.Bottom - height) / 2, width, height);
}

}  // namespace Vy
