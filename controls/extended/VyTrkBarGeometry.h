// Where the track bar's track, thumb and ticks go, and which position a drag or a
// page click means: plain sums, free of any device, so they are tested natively.
//
// Lengths run along the bar (its width when horizontal, its height when vertical);
// a vertical bar counts upwards, Max at the top.
#pragma once
#include "vcl/Types.h"

#include <optional>
#include <vector>

namespace Vy {

struct TTrackLayout {
  int Width = 200;
  int Height = 35;
  bool Vertical = false;
  int ThumbLength = 11;     // along the bar
  int ThumbThickness = 21;  // across it
  int ThumbShift = 0;       // pointer thumbs stand this far out towards the ticks
  int TrackOffset = 20;
  int TrackWidth = 8;
  int Min = 0;
  int Max = 10;
  // Pixels kept free at each end of the slide range.
  static constexpr int EndMargin = 4;

  // The length the thumb slides over (can be 0 or less on a bar shorter than its thumb).
  int SlideLength() const { return (Vertical ? Height : Width) - ThumbLength - 2 * EndMargin; }
};

TRect TrackRect(const TTrackLayout& l);
// A range of 0 or less (only while a form is still being read) puts the thumb at Min's place.
TRect ThumbRect(const TTrackLayout& l, int position);

struct TTickMark {
  int Value;
  int Offset;  // x of a horizontal bar's tick, y of a vertical one's
};
// Every value from Min to Max that is a multiple of tickStep (below 1 counts as 1).
std::vector<TTickMark> TickMarks(const TTrackLayout& l, int tickStep);

// The position a drag of the thumb to (x, y) means, the point having been grabbed
// (grabX, grabY) from the thumb's centre: rounded half to even and kept in Min..Max.
// Nothing when the track has no length to drag along.
std::optional<int> DragPosition(const TTrackLayout& l, int x, int y, int grabX, int grabY);

// Whether a click on the track at (x, y) pages towards Max (right, or up).
bool PagesUp(const TTrackLayout& l, int position, int x, int y);

}  // namespace Vy
