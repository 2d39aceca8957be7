// The picture work behind popup skins, on plain pixels (no windows), so the
// native build tests it under the sanitizers: the skin picture's alpha, the
// nearest-pixel stretch, the nine-piece stretch to the popup's size, and the
// saturation and hue passes.
//
// Pixels are PixelBuffer's blue, green, red, alpha; skin pictures hold their
// colours multiplied by alpha (the form the layered window wants), so every pass
// keeps each colour channel at or below its pixel's alpha. Colour values are
// R + 256 G + 65536 B. Magenta (0xFF00FF) is the key colour: the colour passes
// leave it alone, and grey pixels too (they have no hue to change).
#pragma once
#include <cstdint>

#include "vcl/PixelBuffer.h"

namespace Displays {

constexpr std::uint32_t kSkinKeyColor = 0xFF00FF;

// A skin picture decoded with straight alpha made ready for the layered window.
// A skin picture counts every alpha of 240 or more as opaque (its colour is kept);
// alpha 0..239 is stretched onto 0..254 and multiplied into the colours.
PixelBuffer SkinPictureFromStraight(const PixelBuffer& straight);

struct TSkinRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  friend bool operator==(const TSkinRect&, const TSkinRect&) = default;
};

// Copies source's rectangle into dest's, scaled nearest-pixel, each axis on its
// own: a shrunk axis samples evenly spread source pixels with the unused rest
// split around them, a grown axis repeats each source pixel and gives what does
// not come out even to the first and the last. An empty rectangle copies
// nothing; rectangles are cut to their bitmaps.
void StretchRect(const PixelBuffer& source, PixelBuffer& dest, const TSkinRect& sourceRect, const TSkinRect& destRect);

// The fixed border widths of a skin picture's nine pieces.
struct TSkinMargins {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The picture stretched to width x height in nine pieces: the corners as they
// are, the edges stretched along their length, the centre both ways. Margins
// must fit the picture (SkinProblem); a popup narrower or lower than its margins
// leaves the pieces that do not fit out rather than drawing outside.
PixelBuffer NineSliceStretch(const PixelBuffer& picture, int width, int height, const TSkinMargins& margins);

// Moves a colour Amount per cent towards its grey level (100: grey); a negative
// Amount pushes it away. Channels end in 0..255.
std::uint32_t AdjustSaturation(std::uint32_t color, int amount);
// Turns a colour's hue by Shift degrees (either way) and keeps its saturation and
// value; grey stays grey.
std::uint32_t ShiftHue(int shift, std::uint32_t color);

// The skin's saturation setting on every pixel but the key colour and greys:
// Amount > 0 makes it more colourful, -100 grey.
void SaturateSkin(PixelBuffer& pixels, int amount);
// The skin's hue setting on every pixel but the key colour and greys.
void ShiftSkinHue(PixelBuffer& pixels, int shift);

}  // namespace Displays
