// Where a display goes on the screen: plain geometry, no windows.
#pragma once

namespace Displays {

// One coordinate of a display kept inside the screen: a window that would cross
// the far edge is pulled back to it, one stored before the near edge starts at 0.
// A window larger than the screen starts at 0 too, so that its top-left corner
// (where the text begins) is never off the screen.
int KeepInside(int stored, int size, int screenSize);

// The frame of a framed window: half of what the frame adds to the client size,
// rounded to the nearest integer with halves to even, as the stored client
// position of the volume display expects.
int HalfFrame(int outerSize, int clientSize);

}  // namespace Displays
