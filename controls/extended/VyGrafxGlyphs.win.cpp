#include "controls/extended/VyGrafxGlyphs.h"

namespace Vy {

void PaintDropDownArrow(TCanvas* canvas, const TRect& rect, bool xpStyle, bool enabled, bool pressed) {
  const int w = rect.Width(), h = rect.Height(), push = pressed ? 1 : 0;
  const int cx = rect.Left + w / 2 + push;
  const int cy = rect.Top + h / 2 + (h % 2) - 2 + push + (xpStyle ? 2 : 0);
  TBrush* brush = canvas->GetBrush();
  TPen* pen = canvas->GetPen();
  const TColor oldBrush = brush->GetColor();
  const TPenStyle oldPen = pen->GetStyle();
  brush->SetStyle(bsSolid);
  brush->SetColor(enabled ? clBlack : clBtnShadow);
  pen->SetStyle(psClear);
  if (xpStyle)
    canvas->Polygon({{cx, cy + 3}, {cx - 4, cy - 2}, {cx - 3, cy - 4}, {cx, cy}, {cx + 3, cy - 4}, {cx + 5, cy - 2}});
  else canvas->Polygon({{cx, cy + 3}, {cx - 3, cy - 1}, {cx + 4, cy - 1}});
  pen->SetStyle(oldPen);
  brush->SetColor(oldBrush);
}

void PaintNonClientFrame(TCanvas* canvas, int width, int height, bool keepRing, TSides sides, TColor frameColor,
                         TColor controlColor, TFrameStyle style) {
  TRect r = Rect(0, 0, width, height);
  if (!keepRing) PaintBevel(canvas, r, controlColor, AllSides, 2, controlColor);
  switch (style) {
    case fsFlat: PaintSides(canvas, r, frameColor, sides, frameColor); break;
    case fsFlatBold: PaintBevel(canvas, r, frameColor, sides, 2, frameColor); break;
    default:
      if (controlColor == clWindow) PaintFrame(canvas, r, style, sides);
      else PaintColorFrame(canvas, r, controlColor, style, sides);
  }
}

}  // namespace Vy
