#include "displays/SkinImage.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Displays {

namespace {

// Rounding as the rest of the skin arithmetic does it: halves to even.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
std::uint8_t Clamp255(double v) { return static_cast<std::uint8_t>(std::clamp(RoundEven(v), 0, 255)); }

std::uint32_t ColorOf(const std::uint8_t* px) { return px[2] | (px[1] << 8) | (px[0] << 16); }
int RedOf(std::uint32_t c) { return c & 0xFF; }
int GreenOf(std::uint32_t c) { return (c >> 8) & 0xFF; }
int BlueOf(std::uint32_t c) { return (c >> 16) & 0xFF; }
std::uint32_t MakeColor(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

// Where each of d destination pixels takes its source pixel, as offsets into
// the s source pixels (16.16 fixed point, as the skins were always drawn).
std::vector<int> AxisSamples(int s, int d) {
  std::vector<int> at(static_cast<std::size_t>(d));
  auto edge = [](long long k, long long step) { return static_cast<int>(((k + 1) * step + 0x7FFF) >> 16); };
  if (d < s) {
    const long long step = std::llround(static_cast<double>(s) / d * 65536.0);
    const int total = edge(d - 1, step);
    const int first = std::max(0, (s - total) / 2);
    int previous = 0;
    for (int k = 0; k < d; ++k) {
      at[k] = std::min(first + previous, s - 1);
      previous = edge(k, step);
    }
    return at;
  }
  const long long step = std::llround(static_cast<double>(d) / s * 65536.0);
  std::vector<int> repeats(static_cast<std::size_t>(s));
  int previous = 0;
  for (int k = 0; k < s; ++k) {
    const int e = std::min(edge(k, step), d);
    repeats[k] = e - previous;
    previous = e;
  }
  const int missing = d - previous;
  repeats[s - 1] += missing / 2;
  repeats[0] += missing - missing / 2;
  int out = 0;
  for (int k = 0; k < s; ++k)
    for (int n = 0; n < repeats[k] && out < d; ++n) at[out++] = k;
  return at;
}

TSkinRect CutTo(const TSkinRect& r, int width, int height) {
  return {std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, width), std::min(r.Bottom, height)};
}

// Keeps a premultiplied pixel valid after its colour changed.
void StoreColor(std::uint8_t* px, std::uint32_t color) {
  const std::uint8_t a = px[3];
  px[0] = static_cast<std::uint8_t>(std::min(BlueOf(color), int(a)));
  px[1] = static_cast<std::uint8_t>(std::min(GreenOf(color), int(a)));
  px[2] = static_cast<std::uint8_t>(std::min(RedOf(color), int(a)));
}

template <class Change>
void RecolourSkin(PixelBuffer& pixels, Change change) {
  for (int y = 0; y < pixels.height; ++y) {
    std::uint8_t* px = pixels.row(y);
    for (int x = 0; x < pixels.width; ++x, px += 4) {
      const std::uint32_t c = ColorOf(px);
      if (c == kSkinKeyColor || (px[0] == px[1] && px[1] == px[2])) continue;
      StoreColor(px, change(c));
    }
  }
}

}  // namespace

PixelBuffer SkinPictureFromStraight(const PixelBuffer& straight) {
  PixelBuffer out = straight;
  for (int y = 0; y < out.height; ++y) {
    std::uint8_t* px = out.row(y);
    for (int x = 0; x < out.width; ++x, px += 4) {
      const int a = px[3];
      if (a >= 240) {
        px[3] = 255;
        continue;
      }
      const int m = RoundEven(a * 255.0 / 240.0);
      for (int c = 0; c < 3; ++c) px[c] = Clamp255(px[c] * m / 255.0);
      px[3] = static_cast<std::uint8_t>(m);
    }
  }
  return out;
}

void StretchRect(const PixelBuffer& source, PixelBuffer& dest, const TSkinRect& sourceRect, const TSkinRect& destRect) {
  const TSkinRect from = CutTo(sourceRect, source.width, source.height);
  if (from.Empty() || destRect.Empty()) return;
  const std::vector<int> xs = AxisSamples(from.Width(), destRect.Width());
  const std::vector<int> ys = AxisSamples(from.Height(), destRect.Height());
  for (int j = 0; j < destRect.Height(); ++j) {
    const int dy = destRect.Top + j;
    if (dy < 0 || dy >= dest.height) continue;
    const std::uint8_t* srcRow = source.row(from.Top + ys[j]);
    std::uint8_t* dstRow = dest.row(dy);
    for (int i = 0; i < destRect.Width(); ++i) {
      const int dx = destRect.Left + i;
      if (dx < 0 || dx >= dest.width) continue;
      std::copy_n(srcRow + (from.Left + xs[i]) * 4, 4, dstRow + dx * 4);
    }
  }
}

PixelBuffer NineSliceStretch(const PixelBuffer& picture, int width, int height, const TSkinMargins& m) {
  PixelBuffer out(std::max(width, 0), std::max(height, 0));
  const int sw = picture.width, sh = picture.height;
  const int W = out.width, H = out.height;
  const int L = m.Left, T = m.Top, R = m.Right, B = m.Bottom;
  const TSkinRect pieces[9][2] = {
      {{0, 0, L, T}, {0, 0, L, T}},
      {{0, T, L, sh - B}, {0, T, L, H - B}},
      {{0, sh - B, L, sh}, {0, H - B, L, H}},
      {{L, 0, sw - R, T}, {L, 0, W - R, T}},
      {{L, sh - B, sw - R, sh}, {L, H - B, W - R, H}},
      {{sw - R, 0, sw, T}, {W - R, 0, W, T}},
      {{sw - R, T, sw, sh - B}, {W - R, T, W, H - B}},
      {{sw - R, sh - B, sw, sh}, {W - R, H - B, W, H}},
      {{L, T, sw - R, sh - B}, {L, T, W - R, H - B}},
  };
  for (const auto& [from, to] : pieces) StretchRect(picture, out, from, to);
  return out;
}

std::uint32_t AdjustSaturation(std::uint32_t color, int amount) {
  if (amount == 0) return color;
  const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  const double grey = (r + g + b) / 3.0;
  auto move = [&](int c) { return Clamp255(c + amount * (grey - c) / 100.0); };
  return MakeColor(move(r), move(g), move(b));
}

std::uint32_t ShiftHue(int shift, std::uint32_t color) {
  const double r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
  const double v = std::max({r, g, b});
  const double delta = v - std::min({r, g, b});
  const double s = v == 0 ? 0 : delta / v;
  if (s == 0) return color;
  double hue = r == v ? 60 * (g - b) / delta : g == v ? 120 + 60 * (b - r) / delta : 240 + 60 * (r - g) / delta;
  if (hue < 0) hue += 360;
  // Either way round the circle: a turn back by 100 degrees is a turn on by 260.
  int turned = (RoundEven(shift + hue)) % 360;
  if (turned < 0) turned += 360;
  const int sector = turned / 60;
  const double f = turned / 60.0 - sector;
  auto limit = [](double x) { return std::clamp(x, 0.0, 255.0); };
  const double p = limit(v * (1 - s)), q = limit(v * (1 - f * s)), t = limit(v * (1 - (1 - f) * s));
  double rgb[3];
  switch (sector) {
    case 0: rgb[0] = v, rgb[1] = t, rgb[2] = p; break;
    case 1: rgb[0] = q, rgb[1] = v, rgb[2] = p; break;
    case 2: rgb[0] = p, rgb[1] = v, rgb[2] = t; break;
    case 3: rgb[0] = p, rgb[1] = q, rgb[2] = v; break;
    case 4: rgb[0] = t, rgb[1] = p, rgb[2] = v; break;
    default: rgb[0] = v, rgb[1] = p, rgb[2] = q; break;
  }
  return MakeColor(Clamp255(rgb[0]), Clamp255(rgb[1]), Clamp255(rgb[2]));
}

void SaturateSkin(PixelBuffer& pixels, int amount) {
  RecolourSkin(pixels, [amount](std::uint32_t c) { return AdjustSaturation(c, -amount); });
}

void ShiftSkinHue(PixelBuffer& pixels, int shift) {
  RecolourSkin(pixels, [shift](std::uint32_t c) { return ShiftHue(shift, c); });
}

}  // namespace Displays
