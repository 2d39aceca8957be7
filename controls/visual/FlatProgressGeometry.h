// Geometry of the flat progress bar: its length snapped to whole blocks, and how
// much of it a position fills. Pure arithmetic, shared by painting and tests.
#pragma once

namespace Flat {

// Block length and pitch (block plus gap) of a bar that is not smooth.
inline constexpr int kProgressBlock = 8;
inline constexpr int kProgressPitch = kProgressBlock + 1;

// The length along the bar that holds whole blocks: 9k + 3 (2 border pixels before,
// 1 after), and 12 for anything smaller.
int SnapProgressLength(int length);

// Blocks shown at `position` in a bar of `length` pixels along its direction; 0 when
// the range is empty (Max = Min) or no block fits.
int ProgressBlockCount(int length, int position, int min, int max);

// Pixels of a smooth bar of `span` pixels filled at `position`, counted from `min`.
int ProgressSmoothLength(int span, int position, int min, int max);

}  // namespace Flat
