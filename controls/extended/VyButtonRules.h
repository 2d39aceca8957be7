// The small sums the extended buttons share, free of any device so they are tested
// natively: how many pictures a glyph strip holds, and whether a press came so soon
// after a menu dropped that it is the click that closed it.
#pragma once
#include <cstdint>

namespace Vy {

// A strip as wide as a whole number (up to 4) of squares holds that many pictures;
// any other strip, and an empty one (a side of 0), holds one.
int GlyphCountFor(int width, int height);

// The time (ms) within which a press after a drop-down counts as the press that
// closed the menu, so it does not drop it again.
inline constexpr std::uint32_t kRedropGuardMs = 100;
// Whether now lies within the guard after droppedAt. The times are 32-bit tick
// counts: the difference is taken unsigned, so it holds across the counter's wrap.
// droppedAt 0 means no drop is remembered.
bool WithinRedropGuard(std::uint32_t now, std::uint32_t droppedAt);

}  // namespace Vy
