#include "controls/visual/FlatProgressGeometry.h"

#include <algorithm>
#include <cmath>

namespace Flat {

int SnapProgressLength(int length) {
  return length > 11 ? kProgressPitch * ((length - 3) / kProgressPitch) + 3 : 12;
}

int ProgressBlockCount(int length, int position, int min, int max) {
  const int total = (length - 3) / kProgressPitch;
  if (total <= 0 || max <= min) return 0;
  const double perBlock = static_cast<double>(max - min) / total;
  // The small addend keeps a position exactly on a block's boundary from losing it to rounding.
  const int count = static_cast<int>(std::trunc((position - min) / perBlock + 0.00000001));
  return std::clamp(count, 0, total);
}

int ProgressSmoothLength(int span, int position, int min, int max) {
  if (max <= min || span <= 0) return 0;
  const long long filled = static_cast<long long>(span) * (std::clamp(position, min, max) - min) / (max - min);
  return static_cast<int>(filled);
}

}  // namespace Flat
