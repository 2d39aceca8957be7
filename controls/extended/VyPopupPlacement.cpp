#include "controls/extended/VyPopupPlacement.h"

namespace Vy {

TRect PlacePopup(const TRect& control, int width, int height, TVyPopupAlign align, const TRect& workArea) {
  int x = control.Left;
  if (align == TVyPopupAlign::Right) x = control.Right - width;
  else if (align == TVyPopupAlign::Centre) x = (control.Left + control.Right - width) / 2;
  int y = control.Bottom;
  if (x + width > workArea.Right) x = workArea.Right - width;
  if (y + height > workArea.Bottom) y = control.Top - height;
  if (x < workArea.Left) x = workArea.Left;
  if (y < workArea.Top) y = workArea.Top;
  return Bounds(x, y, width, height);
}

}  // namespace Vy
