// Where a button's glyph and caption go, from their sizes alone: the arithmetic of
// the PNG buttons' layout, tested natively.
#pragma once
#include "vcl/Types.h"

namespace Flat {

enum class TGlyphSide { Left, Right, Top, Bottom };

struct TButtonPlacement {
  TPoint glyph;  // top-left corner of the glyph
  TPoint text;   // top-left corner of the caption
};

// Client is the button's inner rectangle; margin -1 centres glyph and caption as
// a group (with spacing -1 too, the free room is shared in three equal gaps);
// spacing counts only when both glyph and caption have a width.
TButtonPlacement PlaceButtonContent(const TRect& client, TSize glyph, TSize text, TGlyphSide side, int margin,
                                    int spacing, bool pressed);

}  // namespace Flat
