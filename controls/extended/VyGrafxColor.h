// Colour arithmetic and the layout sums of the extended controls' painting, free of
// any device so they run (and are tested) in the native build too.
//
// Hue, saturation and luminance use a 0..240 scale. Amounts and weights outside
// their documented range, and results that do not fit a byte, raise ERangeError:
// nothing here wraps around silently.
#pragma once
#include "vcl/Color.h"
#include "vcl/Types.h"

#include <cstdint>

namespace Vy {

struct THueSatLum {
  int Hue = 0;
  int Sat = 0;
  int Lum = 0;
  friend bool operator==(const THueSatLum&, const THueSatLum&) = default;
};

THueSatLum ColorToHueSatLum(TColor color);
// Luminance may reach 255 (LightenColor goes past 240); the channels are capped at 255.
// The hue is read on a 0..239 scale, so hue 239 comes back as hue 0: a conversion
// there and back is not exact, and callers rely on that look.
TColor HueSatLumToColor(int hue, int sat, int lum);
int HueOfColor(TColor color);
// amount 0..255.
TColor DarkenColor(TColor color, int amount);
TColor LightenColor(TColor color, int amount);
// amount -255..255: lighter above 0, darker below.
TColor AdjustColorBy(TColor color, int amount);
// weight 0..255: 255 gives the first colour, 0 the second.
TColor BlendColors(TColor first, TColor second, int weight);
bool ColorsNearlyEqual(TColor a, TColor b);

// The gradient ramps' minimum band thickness for a band setting ("smooth factor").
// A setting of 0 or below counts as 1, so no ramp ever divides by it.
int GradientBandSize(int bandSetting);

// Segments of an LED-style bar along a length.
struct TSegmentLayout {
  int Size = 0;    // pixels per segment, the gap included; 0 when nothing fits
  int Count = 0;   // segments drawn
  int Margin = 0;  // back-colour margin before the first segment (and after the last)
};
// count 0 or a length too short for one segment gives Size 0 and Count 0.
TSegmentLayout LayoutSegments(int length, int count);
// Segments in the bar colour for a percent; never more than the layout holds.
int FilledSegments(int percent, int count);

TRect CenteredBounds(const TRect& r, int width, int height);

}  // namespace Vy
