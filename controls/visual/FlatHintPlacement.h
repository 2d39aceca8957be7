// Where the flat hint goes and how its arrow strip is laid out: the box lies from
// the cursor towards the middle of the cursor's monitor work area, its arrow in
// the corner nearest the cursor, and it is kept inside that work area. Pure
// geometry, so that it is checked natively.
#pragma once
#include <vector>

#include "vcl/Types.h"

namespace Flat {

// The corner of the box that holds the arrow (the one nearest the cursor).
enum class THintCorner { TopRight = 0, TopLeft = 1, BottomRight = 2, BottomLeft = 3 };

struct THintPlace {
  THintCorner Corner;
  TRect Bounds;  // screen coordinates
};

// The box of width x height for the cursor, inside workArea.
THintPlace PlaceFlatHint(TPoint cursor, int width, int height, const TRect& workArea);

struct THintAreas {
  TRect Strip;  // the 15-pixel strip with the arrow
  TRect Text;   // where the text goes
};

// The strip and the text area of a box whose client rectangle is client.
THintAreas FlatHintAreas(THintCorner corner, const TRect& client);

// The arrow's polyline inside strip, pointing out of corner.
std::vector<TPoint> FlatHintArrow(THintCorner corner, const TRect& strip);

}  // namespace Flat
