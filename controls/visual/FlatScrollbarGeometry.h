// Where the flat scroll bar's thumb sits for a position, and the position a
// dragged thumb stands for. The thumb runs over the track's length less its own;
// a range or a run of nothing (Max = Min, a track no longer than the thumb) puts
// the thumb at the start and gives Min, never a division by zero. A Min other
// than 0 shifts both ways alike, so the thumb's start is always Min.
#pragma once

namespace Flat {

// The thumb's offset from the track's start, rounded to nearest, ties to even.
int FlatThumbOffset(int trackLength, int thumbLength, int min, int max, int position);

// The position for a thumb at offset (held within the run), rounded likewise.
int FlatPositionForOffset(int offset, int trackLength, int thumbLength, int min, int max);

}  // namespace Flat
