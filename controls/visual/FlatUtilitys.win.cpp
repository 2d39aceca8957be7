#include "controls/visual/FlatUtilitys.h"

#include "vcl/Bitmap.h"
#include "vcl/Canvas.h"
#include "vcl/Controls.h"
#include "vcl/Font.h"

#include <cmath>

namespace Flat {

void DrawFrame3D(TCanvas* canvas, TRect rect, TColor topColor, TColor bottomColor, int width) {
  canvas->GetPen()->SetWidth(1);
  --rect.Right;
  --rect.Bottom;
  for (int ring = 0; ring < width; ++ring) {
    canvas->GetPen()->SetColor(topColor);
    canvas->Polyline({{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}});
    canvas->GetPen()->SetColor(bottomColor);
    canvas->Polyline({{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}});
    ++rect.Left;
    ++rect.Top;
    --rect.Right;
    --rect.Bottom;
  }
}

void PaintParentBehind(TControl* control, TCanvas* canvas) {
  TWinControl* parent = control->GetParent();
  if (!parent) return;
  HDC dc = canvas->GetHandle();
  const int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->GetLeft(), origin.y - control->GetTop(), nullptr);
  IntersectClipRect(dc, 0, 0, parent->GetClientWidth(), parent->GetClientHeight());
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
  RestoreDC(dc, saved);
}

std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap* glyph, TColor transparent, TColor back, TColor highlight,
                                             TColor shadow, bool drawHighlight) {
  auto result = std::make_unique<TBitmap>();
  if (!glyph || glyph->Empty()) return result;
  const int w = glyph->GetWidth(), h = glyph->GetHeight();
  result->SetSize(w, h);
  TCanvas* out = result->GetCanvas();
  out->GetBrush()->SetColor(back);
  out->FillRect(Rect(0, 0, w, h));

  // One bit per pixel, set where the glyph shows `transparent`: the colour to
  // monochrome copy compares against the source's background colour.
  HDC maskDC = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldMask = SelectObject(maskDC, mask);
  HDC src = glyph->GetCanvas()->GetHandle();
  const COLORREF oldSrcBk = SetBkColor(src, static_cast<COLORREF>(ColorToRGB(transparent)));
  BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
  SetBkColor(src, oldSrcBk);

  HDC dst = out->GetHandle();
  const COLORREF oldText = SetTextColor(dst, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(dst, RGB(255, 255, 255));
  // DSPDxax: the brush where the mask is white, the destination kept where black.
  constexpr DWORD kPaintBrushThroughMask = 0x00E20746;
  auto emboss = [&](TColor colour, int at) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(colour)));
    HGDIOBJ old = SelectObject(dst, brush);
    BitBlt(dst, at, at, w, h, maskDC, 0, 0, kPaintBrushThroughMask);
    SelectObject(dst, old);
    DeleteObject(brush);
  };
  if (drawHighlight) emboss(highlight, 1);
  emboss(shadow, 0);
  SetTextColor(dst, oldText);
  SetBkColor(dst, oldBk);
  SelectObject(maskDC, oldMask);
  DeleteObject(mask);
  DeleteDC(maskDC);
  return result;
}

TGlyphAndCaption LayoutGlyphAndCaption(TCanvas* canvas, const TRect& client, TPoint offset,
                                       const std::wstring& caption, TBitmap* glyph, int cells, int margin,
                                       int spacing, TButtonLayout layout) {
  TSize glyphSize;
  if (glyph && !glyph->Empty()) glyphSize = {glyph->GetWidth() / std::max(1, cells), glyph->GetHeight()};
  TSize textSize;
  if (!caption.empty()) {
    TRect r{0, 0, client.Width(), 0};
    canvas->DrawText(caption, r, DT_CALCRECT | DT_SINGLELINE);
    textSize = {r.Width(), r.Height()};
  }
  return LayoutGlyphAndCaptionSizes(client, offset, glyphSize, textSize, margin, spacing,
                                    static_cast<TGlyphSide>(layout));
}

void DrawFlatCaption(TCanvas* canvas, const std::wstring& text, const TRect& rect, unsigned flags, bool enabled) {
  canvas->GetBrush()->SetStyle(bsClear);
  TRect r = rect;
  if (enabled) {
    canvas->DrawText(text, r, flags);
    return;
  }
  const TColor own = canvas->GetFont()->GetColor();
  TRect moved{rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
  canvas->GetFont()->SetColor(clBtnHighlight);
  canvas->DrawText(text, moved, flags);
  canvas->GetFont()->SetColor(clBtnShadow);
  canvas->DrawText(text, r, flags);
  canvas->GetFont()->SetColor(own);
}

TEXTMETRICW GetFontTextMetrics(TFont* font) {
  TEXTMETRICW tm{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->GetHandle());
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm;
}

int GetFontHeight(TFont* font) {
  const double h = GetFontTextMetrics(font).tmHeight;
  return static_cast<int>(std::nearbyint(h + h / 8));
}

namespace {

void FilledTriangle(HDC dc, const POINT (&points)[3], TColor color) {
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  Polygon(dc, points, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

void DrawFlatArrow(HDC dc, const POINT (&points)[3], TColor color, bool enabled) {
  if (enabled) {
    FilledTriangle(dc, points, color);
    return;
  }
  POINT engraved[3];
  for (int i = 0; i < 3; ++i) engraved[i] = POINT{points[i].x + 1, points[i].y + 1};
  FilledTriangle(dc, engraved, clWhite);
  FilledTriangle(dc, points, static_cast<TColor>(0x808080));
}

}  // namespace Flat
