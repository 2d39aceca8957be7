#include "controls/visual/FlatScrollbarGeometry.h"

#include <algorithm>
#include <cmath>

namespace Flat {

int FlatThumbOffset(int trackLength, int thumbLength, int min, int max, int position) {
  const double run = static_cast<double>(trackLength) - thumbLength;
  const double range = static_cast<double>(max) - min;
  if (run <= 0 || range <= 0) return 0;
  const double at = std::clamp(static_cast<double>(position) - min, 0.0, range);
  return static_cast<int>(std::nearbyint(run / range * at));
}

int FlatPositionForOffset(int offset, int trackLength, int thumbLength, int min, int max) {
  const double run = static_cast<double>(trackLength) - thumbLength;
  const double range = static_cast<double>(max) - min;
  if (run <= 0 || range <= 0) return min;
  const double at = std::clamp(static_cast<double>(offset), 0.0, run);
  return static_cast<int>(static_cast<double>(min) + std::nearbyint(at / run * range));
}

}  // namespace Flat
