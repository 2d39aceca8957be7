// The arithmetic behind the disabled look of PNG glyphs and the icons an image
// list hands to the system: plain code on the PNG picture model, so it is tested
// natively under the sanitizers. The Windows side (PngFunctions.h) wraps it for
// TPngImage.
#pragma once
#include <cstdint>

#include "vcl/PngCodec.h"

namespace Flat {

// x * (amount + 1) / 256, rounded half to even (255 with 127 gives 128, 1 gives 0).
std::uint8_t ScaleByAmount(int x, int amount);

// Scales the alpha plane (or, for palette pictures, the palette's alpha) by
// (amount + 1) / 256: 127 halves it. Pictures of other types are left alone: the
// caller gives them an alpha plane first.
void BlendAlpha(PngImageData& image, int amount);

// Moves every colour towards its grey level g = 0.30 r + 0.59 g + 0.11 b by
// amount (255: pure grey); palette pictures change their palette. Grey
// pictures are left as they are.
void MakeGray(PngImageData& image, int amount);

// The pixels an image-list icon is built from. Common controls 6 take the
// picture's alpha as it is; older ones know only a mask, so the picture is drawn
// over the background colour (0x00RRGGBB) and only fully transparent pixels stay
// transparent.
PixelBuffer IconPixels(const PixelBuffer& image, bool alphaIcons, std::uint32_t backgroundRGB);

}  // namespace Flat
