#include "controls/extended/VyButtonRules.h"

namespace Vy {

int GlyphCountFor(int width, int height) {
  if (width <= 0 || height <= 0 || width % height != 0) return 1;
  const int count = width / height;
  return count > 4 ? 1 : count;
}

bool WithinRedropGuard(std::uint32_t now, std::uint32_t droppedAt) {
  if (droppedAt == 0) return false;
  return static_cast<std::uint32_t>(now - droppedAt) < kRedropGuardMs;
}

}  // namespace Vy
