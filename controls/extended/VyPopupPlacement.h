// Where a drop-down goes: under the control it drops from, lined up with it, and kept
// whole on the work area of the monitor it opens on.
#pragma once
#include "vcl/Types.h"

namespace Vy {

enum class TVyPopupAlign { Left, Right, Centre };

// The popup's screen rectangle for a control at `control` (screen coordinates) on a
// monitor whose work area is `workArea`: below the control, or above it when it would
// leave the bottom; shifted left when it would leave the right edge; never above or
// left of the work area.
TRect PlacePopup(const TRect& control, int width, int height, TVyPopupAlign align, const TRect& workArea);

}  // namespace Vy
