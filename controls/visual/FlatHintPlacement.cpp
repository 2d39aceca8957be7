#include "controls/visual/FlatHintPlacement.h"

#include <algorithm>

namespace Flat {

THintPlace PlaceFlatHint(TPoint cursor, int w, int h, const TRect& area) {
  const bool left = cursor.X < area.Left + area.Width() / 2;
  const bool upper = cursor.Y < area.Top + area.Height() / 2;
  const THintCorner corner = upper ? (left ? THintCorner::TopLeft : THintCorner::TopRight)
                                   : (left ? THintCorner::BottomLeft : THintCorner::BottomRight);
  // Clear of the cursor's own picture, which hangs down-right from its point.
  const int d = corner == THintCorner::TopLeft ? 12 : 5;
  const int x = left ? cursor.X + d : cursor.X - w - d;
  const int y = upper ? cursor.Y + d : cursor.Y - h - d;
  // Kept on the work area; a box larger than it starts at its top-left.
  const int clampedX = std::max(area.Left, std::min(x, area.Right - w));
  const int clampedY = std::max(area.Top, std::min(y, area.Bottom - h));
  return {corner, TRect{clampedX, clampedY, clampedX + w, clampedY + h}};
}

THintAreas FlatHintAreas(THintCorner corner, const TRect& c) {
  const bool arrowLeft = corner == THintCorner::TopLeft || corner == THintCorner::BottomLeft;
  if (arrowLeft)
    return {TRect{c.Left + 1, c.Top + 1, c.Left + 15, c.Bottom - 1},
            TRect{c.Left + 15, c.Top + 1, c.Right - 1, c.Bottom - 1}};
  return {TRect{c.Right - 15, c.Top + 1, c.Right - 1, c.Bottom - 1},
          TRect{c.Left + 1, c.Top + 1, c.Right - 15, c.Bottom - 1}};
}

std::vector<TPoint> FlatHintArrow(THintCorner corner, const TRect& s) {
  // Drawn for the top-right corner; the others mirror it.
  static const TPoint shape[18] = {{0, 0},  {0, 6},  {-1, 6}, {-1, 0}, {-6, 0}, {-6, 1}, {-2, 1}, {-2, 4}, {-5, 7},
                                   {-6, 7}, {-3, 4}, {-3, 3}, {-6, 6}, {-7, 6}, {-3, 2}, {-4, 2}, {-7, 5}, {-7, 6}};
  const bool mirrorX = corner == THintCorner::TopLeft || corner == THintCorner::BottomLeft;
  const bool mirrorY = corner == THintCorner::BottomRight || corner == THintCorner::BottomLeft;
  const TPoint anchor{mirrorX ? s.Left + 2 : s.Right - 3, mirrorY ? s.Bottom - 3 : s.Top + 2};
  std::vector<TPoint> points;
  points.reserve(18);
  for (const TPoint& p : shape)
    points.push_back({anchor.X + (mirrorX ? -p.X : p.X), anchor.Y + (mirrorY ? -p.Y : p.Y)});
  return points;
}

}  // namespace Flat
