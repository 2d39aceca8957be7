#include "controls/visual/SevenButtonGradient.h"

#include <cstdint>

namespace Flat {

static int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

std::vector<TGradientRow> SevenGradientRows(int top, int bottom, TColor from, TColor to) {
  std::vector<TGradientRow> rows;
  if (bottom <= top) return rows;  // a border as tall as the button leaves no band
  const auto f = static_cast<std::uint32_t>(from), t = static_cast<std::uint32_t>(to);
  int previous = 0;
  bool any = false;
  for (int i = 0; i <= 255; ++i) {
    const int y = top + (bottom - top) * i / 256;
    if (any && y == previous) continue;
    any = true;
    previous = y;
    std::uint32_t colour = 0;
    for (int shift : {0, 8, 16}) {
      // Integer steps toward `to`, truncated toward zero as the button always drew them.
      const int c = Channel(f, shift) + (Channel(t, shift) - Channel(f, shift)) * i / 255;
      colour |= static_cast<std::uint32_t>(c) << shift;
    }
    rows.push_back({y, static_cast<TColor>(colour)});
  }
  return rows;
}

}  // namespace Flat
