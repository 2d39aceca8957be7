#include "controls/visual/FlatGroupBoxFrame.h"

namespace Flat {

std::vector<std::vector<TPoint>> GroupBoxFrameLines(const TRect& c, int w, int h, TGroupBoxLines lines,
                                                    bool rightToLeft) {
  const int y = c.Top + h / 2;
  if (lines == TGroupBoxLines::Full) {
    // Round from the caption's near side to its far side: the gap is the caption's.
    const TPoint first = rightToLeft ? TPoint{c.Right - w - 15, y} : TPoint{c.Left + 5, y};
    const TPoint last = rightToLeft ? TPoint{c.Right - 7, y} : TPoint{c.Left + w + 12, y};
    return {{first, {c.Left, y}, {c.Left, c.Bottom - 1}, {c.Right - 1, c.Bottom - 1}, {c.Right - 1, y}, last}};
  }
  if (rightToLeft) return {{{c.Right - 5, y}, {c.Right, y}}, {{c.Left + 1, y}, {c.Right - w - 12, y}}};
  return {{{c.Left + 5, y}, {c.Left, y}}, {{c.Right - 1, y}, {c.Left + w + 12, y}}};
}

}  // namespace Flat
