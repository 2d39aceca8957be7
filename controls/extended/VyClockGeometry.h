// Where the clock time picker puts its time box, face and buttons, where the hands,
// numbers and ticks of the face go, and which hour or minute a point on the face
// means: plain sums, free of any device, so they are tested natively.
#pragma once
#include <array>

#include "vcl/Types.h"

namespace Vy {

struct TVyClockLayout {
  TRect TimeBox, AmButton, PmButton, SetButton, Clock;
  TPoint Centre;
  int Radius = 0;  // 0 or less: the picker is too small for a face (nothing drawn or hit)
};

// lineHeight is the font's line height; amWidth and pmWidth the caption widths.
TVyClockLayout ComputeClockLayout(TRect client, int width, int height, int lineHeight, int amWidth, int pmWidth);

// The size the picker wants: charWidth and charHeight of "0", setCaptionLength the
// length of the Set caption (0 without one).
TSize ClockAutoSize(int charWidth, int charHeight, int setCaptionLength);

// The hour (1..12) and the minute (0..59) a point at (dx, dy) from the centre points
// at; restrict snaps the minute to a multiple of five (60 becomes 0).
int ClockHourAt(int dx, int dy);
int ClockMinuteAt(int dx, int dy, bool restrict);

// The point at `distance` from the centre in the direction of `sixtieths` of a turn
// clockwise from 12 (minutes; an hour h is h * 5).
TPoint ClockPoint(TPoint centre, double sixtieths, int distance);
// A hand: the centre, a side point, the tip and the other side point.
std::array<TPoint, 4> ClockHand(TPoint centre, int radius, double sixtieths, bool hourHand);

}  // namespace Vy
