// The vertical gradient of the gradient picture button: 256 steps over the band,
// one horizontal line per row that a step reaches first. Pure arithmetic, so that
// it is checked natively.
#pragma once
#include <vector>

#include "vcl/Color.h"

namespace Flat {

struct TGradientRow {
  int Y;
  TColor Color;  // plain RGB
};

// The rows of the band top..bottom (bottom excluded) from `from` to `to`, both
// plain RGB values.
std::vector<TGradientRow> SevenGradientRows(int top, int bottom, TColor from, TColor to);

}  // namespace Flat
