#include "controls/visual/FlatUtilitys.h"

#include "controls/visual/HSLUtils.h"

namespace Flat {

TColor AdjustColorLightness(TColor base, TColor fallback, std::uint8_t percent, TColorCalcType direction) {
  if (percent == 0) return fallback;
  const THSLRange hsl = RGBToHSLRange(static_cast<std::uint32_t>(ColorToRGB(base)));
  int l = hsl.L + 10;
  // The ceiling is 100 on the 240 scale, not 240 (see the header).
  if (direction == TColorCalcType::Lighten)
    l = l + percent > 100 ? 100 : l + percent;
  else
    l = l - percent < 0 ? 0 : l - percent;
  return static_cast<TColor>(HSLRangeToRGB(hsl.H, hsl.S, l));
}

TGlyphAndCaption LayoutGlyphAndCaptionSizes(const TRect& client, TPoint offset, TSize glyph, TSize text, int margin,
                                            int spacing, TGlyphSide side) {
  const int cw = client.Width(), ch = client.Height();
  TPoint g, t;
  const bool horizontal = side == TGlyphSide::Left || side == TGlyphSide::Right;
  if (horizontal) {
    g.Y = (ch - glyph.cy + 1) / 2;
    t.Y = (ch - text.cy + 1) / 2;
  } else {
    g.X = (cw - glyph.cx + 1) / 2;
    t.X = (cw - text.cx + 1) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  const int clientExtent = horizontal ? cw : ch;
  const int glyphExtent = horizontal ? glyph.cx : glyph.cy;
  const int textExtent = horizontal ? text.cx : text.cy;
  if (margin == -1 && spacing == -1) {
    margin = (clientExtent - (glyphExtent + textExtent)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = (clientExtent - (glyphExtent + spacing + textExtent) + 1) / 2;
  } else if (spacing == -1) {
    const int room = clientExtent - (margin + glyphExtent);
    spacing = (room - textExtent) / 2;
  }
  switch (side) {
    case TGlyphSide::Left:
      g.X = margin;
      t.X = g.X + glyph.cx + spacing;
      break;
    case TGlyphSide::Right:
      g.X = cw - margin - glyph.cx;
      t.X = g.X - spacing - text.cx;
      break;
    case TGlyphSide::Top:
      g.Y = margin;
      t.Y = g.Y + glyph.cy + spacing;
      break;
    case TGlyphSide::Bottom:
      g.Y = ch - margin - glyph.cy;
      t.Y = g.Y - spacing - text.cy;
      break;
  }
  TGlyphAndCaption out;
  out.GlyphPos = {g.X + client.Left + offset.X, g.Y + client.Top + offset.Y};
  const int x = t.X + client.Left + offset.X, y = t.Y + client.Top + offset.Y;
  out.TextRect = {x, y, x + text.cx, y + text.cy};
  return out;
}

std::uint32_t MinWord(std::uint32_t a, std::uint32_t b) { return (a & 0xFFFF) < (b & 0xFFFF) ? a : b; }

bool RectsIntersect(const TRect& a, const TRect& b) {
  return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) && std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

}  // namespace Flat
