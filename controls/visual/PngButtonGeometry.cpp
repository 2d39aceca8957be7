#include "controls/visual/PngButtonGeometry.h"

namespace Flat {

namespace {

// The glyph across the layout: centred, rounding towards the far edge, and one
// more when it overhangs by two or more with the client's parity.
int CentreGlyph(int client, int glyph) {
  int pos = (client - glyph + 1) / 2;
  if (glyph >= client + 2 && (glyph - client) % 2 == 0) ++pos;
  return pos;
}

}  // namespace

TButtonPlacement PlaceButtonContent(const TRect& client, TSize glyph, TSize text, TGlyphSide side, int margin,
                                    int spacing, bool pressed) {
  const TSize c{client.Width(), client.Height()};
  TButtonPlacement out;
  const bool horizontal = side == TGlyphSide::Left || side == TGlyphSide::Right;
  if (horizontal) {
    out.glyph.Y = CentreGlyph(c.cy, glyph.cy);
    out.text.Y = (c.cy - text.cy) / 2;
  } else {
    out.glyph.X = CentreGlyph(c.cx, glyph.cx);
    out.text.X = (c.cx - text.cx) / 2;
  }
  if (text.cx == 0 || glyph.cx == 0) spacing = 0;
  const int along = horizontal ? c.cx : c.cy;
  const int glyphAlong = horizontal ? glyph.cx : glyph.cy;
  const int textAlong = horizontal ? text.cx : text.cy;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (along - (glyphAlong + textAlong)) / 3;
      spacing = margin;
    } else {
      margin = (along - (glyphAlong + textAlong + spacing)) / 2;
    }
  } else if (spacing == -1) {
    // A fixed margin: the caption sits in the middle of the room after the glyph.
    spacing = (along - (margin + glyphAlong + textAlong)) / 2;
  }
  switch (side) {
    case TGlyphSide::Left:
      out.glyph.X = margin;
      out.text.X = margin + glyph.cx + spacing;
      break;
    case TGlyphSide::Right:
      out.glyph.X = c.cx - margin - glyph.cx;
      out.text.X = out.glyph.X - spacing - text.cx;
      break;
    case TGlyphSide::Top:
      out.glyph.Y = margin;
      out.text.Y = margin + glyph.cy + spacing;
      break;
    case TGlyphSide::Bottom:
      out.glyph.Y = c.cy - margin - glyph.cy;
      out.text.Y = out.glyph.Y - spacing - text.cy;
      break;
  }
  const int shift = pressed ? 1 : 0;
  out.glyph.X += client.Left + shift;
  out.glyph.Y += client.Top + shift;
  out.text.X += client.Left + shift;
  out.text.Y += client.Top + shift;
  return out;
}

}  // namespace Flat
