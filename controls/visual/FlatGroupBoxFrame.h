// The frame of the flat group box: lines at half the caption's height, broken
// where the caption stands (10 pixels in from the left, or from the right when
// the box reads right to left). Pure geometry, so that it is checked natively.
#pragma once
#include <vector>

#include "vcl/Types.h"

namespace Flat {

enum class TGroupBoxLines { Full, OnlyTopLine };

// Each inner vector is one polyline (its last point is not drawn, as a GDI
// polyline leaves it out). client is the box's client rectangle, captionWidth
// and captionHeight the caption's extent in the box's font.
std::vector<std::vector<TPoint>> GroupBoxFrameLines(const TRect& client, int captionWidth, int captionHeight,
                                                    TGroupBoxLines lines, bool rightToLeft);

}  // namespace Flat
