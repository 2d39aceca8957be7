#include "controls/extended/VyGrafxGlyphs.h"

#include "vcl/Bitmap.h"

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

void FillChecker(TCanvas* canvas, const TRect& rect, TColor even, TColor odd) {
  TBitmap pattern(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.SetPixel(x, y, (x % 2) == (y % 2) ? ColorToRGB(even) : ColorToRGB(odd));
  HBRUSH brush = CreatePatternBrush(pattern.GetHandle());
  RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
  FillRect(canvas->GetHandle(), &r, brush);
  DeleteObject(brush);
}

bool PointerOver(TControl* control) {
  if (!control->GetParent() || !control->GetParent()->HandleAllocated()) return false;
  POINT screen{};
  GetCursorPos(&screen);
  const TPoint p = control->ScreenToClient(TPoint{screen.x, screen.y});
  return p.X >= 0 && p.Y >= 0 && p.X < control->GetWidth() && p.Y < control->GetHeight();
}

void TellGroup(TControl* sender, unsigned msg, int group) {
  TWinControl* parent = sender->GetParent();
  if (group == 0 || !parent) return;
  TMessage m{};
  m.Msg = msg;
  m.WParam = static_cast<uintptr_t>(group);
  m.LParam = reinterpret_cast<intptr_t>(sender);
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (TControl* c = parent->Controls(i); c != sender) c->WindowProc(m);
}

}  // namespace Vy
