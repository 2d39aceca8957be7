#include "displays/DisplayPlacement.h"

#include <cmath>

namespace Displays {

int KeepInside(int stored, int size, int screenSize) {
  int pos = stored;
  if (stored + size > screenSize) pos = screenSize - size;
  if (stored < 0 || pos < 0) pos = 0;
  return pos;
}

int HalfFrame(int outerSize, int clientSize) {
  return static_cast<int>(std::nearbyint((outerSize - clientSize) / 2.0));
}

}  // namespace Displays
