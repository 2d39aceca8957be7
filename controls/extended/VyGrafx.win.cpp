#include "controls/extended/VyGrafx.h"

#include "vcl/Bitmap.h"
#include "vcl/Forms.h"
#include "vcl/Picture.h"
#include "vcl/Themes.h"
#include "vcl/Win.h"

#include <algorithm>
#include <cmath>

namespace Vy {
namespace {

void Line(TCanvas* canvas, int x1, int y1, int x2, int y2) {
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void SetPixelIf(TCanvas* canvas, bool cond, int x, int y, TColor color) {
  if (cond) canvas->SetPixel(x, y, color);
}

// The groove and bump look: two offset rings with their corners mended.
TRect PaintEtchedEdge(TCanvas* canvas, TRect r, TColor ul, TColor lr, TSides sides) {
  const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop), right = sides.Contains(sdRight),
             bottom = sides.Contains(sdBottom);
  SetPixelIf(canvas, right, r.Right - 1, r.Top, lr);
  SetPixelIf(canvas, top && !right, r.Right - 1, r.Top, ul);
  SetPixelIf(canvas, bottom, r.Left, r.Bottom - 1, lr);
  SetPixelIf(canvas, left && !bottom, r.Left, r.Bottom - 1, ul);
  SetPixelIf(canvas, top && !left, r.Left, r.Top + 1, lr);
  SetPixelIf(canvas, left && !top, r.Left + 1, r.Top, lr);
  SetPixelIf(canvas, bottom && !right, r.Right - 1, r.Bottom - 2, ul);
  SetPixelIf(canvas, right && !bottom, r.Right - 2, r.Bottom - 1, ul);
  PaintSides(canvas, Rect(r.Left + 1, r.Top + 1, r.Right, r.Bottom), lr, sides, lr);
  PaintSides(canvas, Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1), ul, sides, ul);
  if (left) r.Left += 2;
  if (top) r.Top += 2;
  if (right) r.Right -= 2;
  if (bottom) r.Bottom -= 2;
  return r;
}

TRect Shrink(TRect r, TSides sides, int by) {
  if (sides.Contains(sdLeft)) r.Left += by;
  if (sides.Contains(sdTop)) r.Top += by;
  if (sides.Contains(sdRight)) r.Right -= by;
  if (sides.Contains(sdBottom)) r.Bottom -= by;
  return r;
}

void FillSolid(TCanvas* canvas, const TRect& r, TColor color) {
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(color);
  canvas->FillRect(r);
}

// One colour ramp in 16.16 fixed point: stepping pixel by pixel from `from`, bands of
// at least `band` pixels that grow while the stepped colour stays the same.
class TRamp {
 public:
  TRamp(TColor from, TColor to, int pixels) {
    const TColor a = ColorToRGB(from), b = ColorToRGB(to);
    const int fa[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
    const int fb[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
    for (int i = 0; i < 3; ++i) {
      value_[i] = std::int64_t(fa[i]) << 16;
      step_[i] = ((std::int64_t(fb[i]) << 16) - (std::int64_t(fa[i]) << 16)) / (pixels + 1);
    }
  }
  TColor Color() const { return RGBToColor(Channel(0), Channel(1), Channel(2)); }
  void Step() {
    for (int i = 0; i < 3; ++i) value_[i] += step_[i];
  }

 private:
  std::uint8_t Channel(int i) const { return std::uint8_t(std::clamp<std::int64_t>(value_[i] >> 16, 0, 255)); }
  std::int64_t value_[3];
  std::int64_t step_[3];
};

// Calls fill(start, end, colour) for each band of a ramp over `pixels`.
template <class Fill>
void ForEachBand(TColor from, TColor to, int pixels, int band, Fill fill) {
  TRamp ramp(from, to, pixels);
  int pos = 0;
  while (pos < pixels) {
    const TColor color = ramp.Color();
    const int start = pos;
    while (pos < pixels && (pos - start < band || ramp.Color() == color)) {
      ramp.Step();
      ++pos;
    }
    fill(start, pos, color);
  }
}

void FillLinear(TCanvas* c, int w, int h, bool vertical, int band, TColor from, TColor to) {
  ForEachBand(from, to, vertical ? h : w, band, [&](int a, int b, TColor color) {
    FillSolid(c, vertical ? Rect(0, a, w, b) : Rect(a, 0, b, h), color);
  });
}

// `from` on the middle row (column), `to` at both edges.
void FillCentred(TCanvas* c, int w, int h, bool vertical, int band, TColor from, TColor to) {
  const int length = vertical ? h : w;
  const int half = (length + 1) / 2;
  ForEachBand(to, from, half, band, [&](int a, int b, TColor color) {
    if (vertical) {
      FillSolid(c, Rect(0, a, w, b), color);
      FillSolid(c, Rect(0, h - b, w, h - a), color);
    } else {
      FillSolid(c, Rect(a, 0, b, h), color);
      FillSolid(c, Rect(w - b, 0, w - a, h), color);
    }
  });
}

// Concentric rectangles from `from` at the outside to `to` around a core of
// (2 * coreX) x (2 * coreY) pixels at the centre.
void FillBox(TCanvas* c, int w, int h, int coreX, int coreY, int band, TColor from, TColor to) {
  const int spanX = std::max(w / 2 - coreX, 0), spanY = std::max(h / 2 - coreY, 0);
  const int rings = std::max({spanX, spanY, 1});
  FillSolid(c, Rect(0, 0, w, h), ColorToRGB(from));
  ForEachBand(from, to, rings, band, [&](int a, int, TColor color) {
    const int dx = a * spanX / rings, dy = a * spanY / rings;
    FillSolid(c, Rect(dx, dy, w - dx, h - dy), color);
  });
}

// Lines at 45 degrees, `from` in the start corner (bottom-left rising, top-left
// falling), `to` in the opposite one.
void FillDiagonal(TCanvas* c, int w, int h, bool rising, int band, TColor from, TColor to) {
  c->GetPen()->SetWidth(1);
  c->GetPen()->SetStyle(psSolid);
  ForEachBand(from, to, w + h - 1, band, [&](int a, int b, TColor color) {
    c->GetPen()->SetColor(color);
    for (int d = a; d < b; ++d) {
      // The pixels with x + y = d (falling) or x + (h - 1 - y) = d (rising).
      if (rising)
        Line(c, d - h, -1, d + 2, h + 1);
      else
        Line(c, d + 1, -1, d - h - 1, h + 1);
    }
  });
}

}  // namespace

TRect PaintSides(TCanvas* canvas, TRect r, TColor ul, TSides sides, TColor lr) {
  TPen* pen = canvas->GetPen();
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  if (ul != clNone) {
    pen->SetColor(ul);
    if (sides.Contains(sdLeft)) Line(canvas, r.Left, r.Top, r.Left, r.Bottom);
    if (sides.Contains(sdTop)) Line(canvas, r.Left, r.Top, r.Right, r.Top);
  }
  if (lr != clNone) {
    pen->SetColor(lr);
    if (sides.Contains(sdRight)) Line(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    if (sides.Contains(sdBottom)) Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  }
  return Shrink(r, sides, 1);
}

TRect PaintBevel(TCanvas* canvas, TRect r, TColor ul, TSides sides, int rings, TColor lr) {
  canvas->GetPen()->SetWidth(1);
  for (int i = 0; i < rings; ++i) r = PaintSides(canvas, r, ul, sides, lr);
  return r;
}

TRect Paint3DEdgeSides(TCanvas* canvas, TRect r, bool sunken, TSides sides) {
  if (sunken) {
    r = PaintSides(canvas, r, clBtnShadow, sides, clBtnHighlight);
    return PaintSides(canvas, r, cl3DDkShadow, sides, cl3DLight);
  }
  r = PaintSides(canvas, r, cl3DLight, sides, cl3DDkShadow);
  return PaintSides(canvas, r, clBtnHighlight, sides, clBtnShadow);
}

TRect PaintButtonEdge(TCanvas* canvas, TRect r, bool down, TSides sides) {
  if (down) {
    r = PaintSides(canvas, r, clBtnText, sides, clBtnText);
    return PaintSides(canvas, r, clBtnShadow, sides, clBtnShadow);
  }
  r = PaintSides(canvas, r, clBtnHighlight, sides, cl3DDkShadow);
  return PaintSides(canvas, r, cl3DLight, sides, clBtnShadow);
}

TRect PaintColorButtonEdge(TCanvas* canvas, TRect r, TColor base, bool down, TSides sides) {
  if (down) {
    r = PaintSides(canvas, r, DarkenColor(base, 100), sides, DarkenColor(base, 100));
    return PaintSides(canvas, r, DarkenColor(base, 50), sides, DarkenColor(base, 50));
  }
  r = PaintSides(canvas, r, LightenColor(base, 100), sides, DarkenColor(base, 100));
  return PaintSides(canvas, r, LightenColor(base, 40), sides, DarkenColor(base, 50));
}

TRect PaintFrame(TCanvas* canvas, TRect r, TFrameStyle style, TSides sides) {
  switch (style) {
    case fsFlat: return PaintSides(canvas, r, cl3DDkShadow, sides, cl3DDkShadow);
    case fsGroove: return PaintEtchedEdge(canvas, r, clBtnShadow, clBtnHighlight, sides);
    case fsBump: return PaintEtchedEdge(canvas, r, clBtnHighlight, clBtnShadow, sides);
    case fsLowered: return Paint3DEdgeSides(canvas, r, true, sides);
    case fsRaised: return Paint3DEdgeSides(canvas, r, false, sides);
    case fsButtonDown: return PaintButtonEdge(canvas, r, true, sides);
    case fsButtonUp: return PaintButtonEdge(canvas, r, false, sides);
    case fsStatus: return PaintSides(canvas, r, clBtnShadow, sides, clBtnHighlight);
    case fsPopup: return PaintSides(canvas, r, clBtnHighlight, sides, clBtnShadow);
    case fsFlatBold: return PaintBevel(canvas, r, clBtnShadow, sides, 2, clBtnShadow);
    default: return r;
  }
}

TRect PaintColorFrame(TCanvas* canvas, TRect r, TColor base, TFrameStyle style, TSides sides) {
  auto D = [&](int n) { return DarkenColor(base, n); };
  auto L = [&](int n) { return LightenColor(base, n); };
  switch (style) {
    case fsNone: return r;
    case fsFlat: return PaintSides(canvas, r, D(50), sides, D(50));
    case fsGroove: return PaintEtchedEdge(canvas, r, D(50), L(100), sides);
    case fsLowered:
      r = PaintSides(canvas, r, D(50), sides, L(100));
      return PaintSides(canvas, r, D(100), sides, L(50));
    case fsRaised:
      r = PaintSides(canvas, r, L(50), sides, D(100));
      return PaintSides(canvas, r, L(100), sides, D(50));
    case fsButtonDown: return PaintColorButtonEdge(canvas, r, base, true, sides);
    case fsButtonUp: return PaintColorButtonEdge(canvas, r, base, false, sides);
    case fsStatus: return PaintSides(canvas, r, D(50), sides, L(100));
    case fsPopup: return PaintSides(canvas, r, L(100), sides, D(50));
    case fsFlatBold: return PaintBevel(canvas, r, D(50), sides, 2, D(50));
    default: return PaintEtchedEdge(canvas, r, L(100), D(50), sides);  // fsBump and beyond
  }
}

TRect PaintRoundedFlatFrame(TCanvas* canvas, TRect r, TColor color, TSides sides) {
  const bool left = sides.Contains(sdLeft), top = sides.Contains(sdTop), right = sides.Contains(sdRight),
             bottom = sides.Contains(sdBottom);
  TPen* pen = canvas->GetPen();
  pen->SetWidth(1);
  pen->SetStyle(psSolid);
  pen->SetColor(color);
  const int y1 = r.Top + (top ? 2 : 0), y2 = r.Bottom - (bottom ? 2 : 0);
  const int x1 = r.Left + (left ? 2 : 0), x2 = r.Right - (right ? 2 : 0);
  if (left) Line(canvas, r.Left, y1, r.Left, y2);
  if (top) Line(canvas, x1, r.Top, x2, r.Top);
  if (right) Line(canvas, r.Right - 1, y1, r.Right - 1, y2);
  if (bottom) Line(canvas, x1, r.Bottom - 1, x2, r.Bottom - 1);
  SetPixelIf(canvas, left && top, r.Left + 1, r.Top + 1, color);
  SetPixelIf(canvas, right && top, r.Right - 2, r.Top + 1, color);
  SetPixelIf(canvas, right && bottom, r.Right - 2, r.Bottom - 2, color);
  SetPixelIf(canvas, left && bottom, r.Left + 1, r.Bottom - 2, color);
  return Shrink(r, sides, 2);
}

void PaintNonClientFrame(TCanvas* canvas, int width, int height, bool keepRing, TSides sides, TColor frameColor,
                         TColor controlColor, TFrameStyle style) {
  TRect r(0, 0, width, height);
  if (!keepRing) {
    TRect ring = PaintSides(canvas, r, controlColor, AllSides, controlColor);
    PaintSides(canvas, ring, controlColor, AllSides, controlColor);
  }
  switch (style) {
    case fsFlat: PaintSides(canvas, r, frameColor, sides, frameColor); break;
    case fsFlatBold: PaintBevel(canvas, r, frameColor, sides, 2, frameColor); break;
    default:
      if (controlColor == clWindow)
        PaintFrame(canvas, r, style, sides);
      else
        PaintColorFrame(canvas, r, controlColor, style, sides);
  }
}

int FrameStyleWidth(TFrameStyle style, int bevelWidth) {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return bevelWidth;
    default: return 2;
  }
}

TRect PaintBevelBorder(TCanvas* canvas, TRect r, const TBevelBorder& b) {
  const TColor flat = AdjustColorBy(b.FlatColor, b.FlatColorAdjustment);
  const bool banded = b.BorderWidth > 0 || b.Inner != fsNone;
  const TSides sides = b.Sides;
  switch (b.Outer) {
    case fsFlat: r = PaintSides(canvas, r, flat, sides, flat); break;
    case fsFlatBold: r = PaintBevel(canvas, r, flat, sides, 2, flat); break;
    case fsFlatRounded: {
      // The rings under the cut corners: what the corners show, then the band's colour
      // (or the control's when there is no band) in the one pixel inside them.
      if (!b.TransparentCorners) {
        const TRect in = PaintSides(canvas, r, b.ParentColor, sides, b.ParentColor);
        const TColor ring = banded ? b.BorderColor : b.ControlColor;
        PaintSides(canvas, in, ring, sides, ring);
      } else if (banded) {
        TRect in = r;
        InflateRect(in, -1, -1);
        PaintSides(canvas, in, b.BorderColor, sides, b.BorderColor);
      }
      r = PaintRoundedFlatFrame(canvas, r, flat, sides);
      break;
    }
    case fsPopup: r = PaintBevel(canvas, r, b.HighlightColor, sides, b.BevelWidth, b.ShadowColor); break;
    case fsStatus: r = PaintBevel(canvas, r, b.ShadowColor, sides, b.BevelWidth, b.HighlightColor); break;
    default: r = PaintFrame(canvas, r, b.Outer, sides); break;
  }
  if (b.BorderWidth > 0) r = PaintBevel(canvas, r, b.BorderColor, sides, b.BorderWidth, b.BorderColor);
  switch (b.Inner) {
    case fsFlat:
      if (b.CutCorners) {
        TPen* pen = canvas->GetPen();
        pen->SetWidth(1);
        pen->SetColor(flat);
        if (sides.Contains(sdLeft)) Line(canvas, r.Left, r.Top + 1, r.Left, r.Bottom - 1);
        if (sides.Contains(sdTop)) Line(canvas, r.Left + 1, r.Top, r.Right - 1, r.Top);
        if (sides.Contains(sdRight)) Line(canvas, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        if (sides.Contains(sdBottom)) Line(canvas, r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
        InflateRect(r, -1, -1);
      } else {
        r = PaintSides(canvas, r, flat, sides, flat);
      }
      break;
    case fsFlatBold: r = PaintBevel(canvas, r, flat, sides, 2, flat); break;
    case fsFlatRounded: {
      const TRect in = PaintSides(canvas, r, b.BorderColor, sides, b.BorderColor);
      if (!b.TransparentCorners) PaintSides(canvas, in, b.ControlColor, sides, b.ControlColor);
      r = PaintRoundedFlatFrame(canvas, r, flat, sides);
      break;
    }
    case fsPopup: r = PaintBevel(canvas, r, b.HighlightColor, sides, b.BevelWidth, b.ShadowColor); break;
    case fsStatus: r = PaintBevel(canvas, r, b.ShadowColor, sides, b.BevelWidth, b.HighlightColor); break;
    default: r = PaintFrame(canvas, r, b.Inner, sides); break;
  }
  return r;
}

void PaintGradient(TCanvas* canvas, const TRect& rect, TGradientDirection direction, int bandSetting, TColor first,
                   TColor second) {
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  TBitmap bitmap;
  bitmap.SetSize(w, h);
  TCanvas* c = bitmap.GetCanvas();
  c->GetPen()->SetStyle(psClear);
  const int band = GradientBandSize(bandSetting);
  if (ColorToRGB(first) == ColorToRGB(second)) {
    FillSolid(c, Rect(0, 0, w, h), first);
  } else {
    switch (direction) {
      case gdDiagonalUp: FillDiagonal(c, w, h, true, band, first, second); break;
      case gdDiagonalDown: FillDiagonal(c, w, h, false, band, first, second); break;
      case gdHorizontalEnd: FillLinear(c, w, h, true, band, second, first); break;
      case gdHorizontalCenter: FillCentred(c, w, h, true, band, first, second); break;
      case gdVerticalEnd: FillLinear(c, w, h, false, band, second, first); break;
      case gdVerticalCenter: FillCentred(c, w, h, false, band, first, second); break;
      case gdHorizontalBox: FillBox(c, w, h, w / 4, 0, band, first, second); break;
      case gdVerticalBox: FillBox(c, w, h, 0, h / 4, band, first, second); break;
      case gdSquareBox: FillBox(c, w, h, 0, 0, band, first, second); break;
      case gdBigSquareBox: FillBox(c, w, h, w / 4, h / 4, band, first, second); break;
    }
  }
  canvas->Draw(rect.Left, rect.Top, &bitmap);
  canvas->GetBrush()->SetStyle(bsSolid);
}

void PaintSegmentedProgress(TCanvas* canvas, const TRect& rect, bool vertical, bool themed, int percent, int count,
                            TColor backColor, TColor barColor) {
  if (rect.IsEmpty()) return;
  const int length = vertical ? rect.Height() : rect.Width();
  if (themed && ThemeServices().ThemesEnabled()) {
    TRect chunk = rect;
    InflateRect(chunk, -1, -1);
    const int filled = int(std::lround(std::clamp(percent, 0, 100) * std::max(length - 2, 0) / 100.0));
    if (vertical)
      chunk.Top = chunk.Bottom - filled;
    else
      chunk.Right = chunk.Left + filled;
    if (!chunk.IsEmpty()) {
      const TThemedElementDetails part = ThemeServices().GetElementDetails(L"PROGRESS", vertical ? 4 : 3, 1);
      ThemeServices().DrawElement(canvas->GetHandle(), part, chunk);
    }
    return;
  }
  const TSegmentLayout layout = LayoutSegments(length, count);
  // Along the bar: [a, b) from the start (the bottom when vertical).
  auto along = [&](int a, int b) {
    return vertical ? Rect(rect.Left, rect.Bottom - b, rect.Right, rect.Bottom - a)
                    : Rect(rect.Left + a, rect.Top, rect.Left + b, rect.Bottom);
  };
  const int used = layout.Size * layout.Count;
  FillSolid(canvas, along(0, layout.Margin), backColor);
  FillSolid(canvas, along(layout.Margin + used, length), backColor);
  const int filled = FilledSegments(percent, layout.Count);
  canvas->GetPen()->SetStyle(psSolid);
  canvas->GetPen()->SetWidth(1);
  canvas->GetPen()->SetColor(backColor);
  canvas->GetBrush()->SetStyle(bsSolid);
  for (int i = 0; i < layout.Count; ++i) {
    canvas->GetBrush()->SetColor(i < filled ? barColor : backColor);
    const int start = layout.Margin + layout.Size * i;
    canvas->Rectangle(along(start, start + layout.Size));
  }
}

void PaintTraditionalProgress(TCanvas* canvas, const TRect& rect, bool vertical, bool showPercent, int percent,
                              TColor backColor, TColor barColor) {
  if (rect.IsEmpty()) return;
  const int p = std::clamp(percent, 0, 100);
  const std::wstring text = showPercent ? std::to_wstring(p) + L"%" : std::wstring();
  TRect bar = rect, rest;
  if (p >= 100) {
    rest = Rect(rect.Right, rect.Top, rect.Right, rect.Bottom);
  } else if (vertical) {
    bar.Top = rect.Bottom - int(std::lround(p * rect.Height() / 100.0));
    rest = Rect(rect.Left, rect.Top, rect.Right, bar.Top);
  } else {
    bar.Right = rect.Left + int(std::lround(p * rect.Width() / 100.0));
    rest = Rect(bar.Right, rect.Top, rect.Right, rect.Bottom);
  }
  HDC dc = canvas->GetHandle();
  const UINT oldAlign = SetTextAlign(dc, TA_CENTER);
  const int y = rect.Top + (rect.Height() - canvas->TextHeight(L"X")) / 2;
  const int x = (rect.Left + rect.Right) / 2;
  canvas->GetBrush()->SetStyle(bsSolid);
  // The text shows in the back colour over the bar and in the bar colour over the rest.
  if (!bar.IsEmpty()) {
    canvas->GetBrush()->SetColor(barColor);
    canvas->GetFont()->SetColor(backColor);
    canvas->TextRect(bar, x, y, text);
  }
  if (!rest.IsEmpty()) {
    canvas->GetBrush()->SetColor(backColor);
    canvas->GetFont()->SetColor(barColor);
    canvas->TextRect(rest, x, y, text);
  }
  SetTextAlign(canvas->GetHandle(), oldAlign);
}

bool HasTrueColorScreen() {
  HDC dc = GetDC(nullptr);
  const int colors = GetDeviceCaps(dc, NUMCOLORS);
  ReleaseDC(nullptr, dc);
  return colors == -1;
}

void TileImage(TCanvas* canvas, TGraphic* graphic, const TRect& rect) {
  if (!graphic || graphic->Empty()) return;
  const int w = graphic->GetWidth(), h = graphic->GetHeight();
  if (w <= 0 || h <= 0 || rect.IsEmpty()) return;
  HDC dc = canvas->GetHandle();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
  for (int y = rect.Top; y < rect.Bottom; y += h)
    for (int x = rect.Left; x < rect.Right; x += w) canvas->Draw(x, y, graphic);
  RestoreDC(dc, saved);
  canvas->Refresh();
}

void DottedHorzLine(TCanvas* canvas, int y, int from, int to, TColor color) {
  for (int x = from + 1; x < to; x += 2) canvas->SetPixel(x, y, color);
}

void DottedVertLine(TCanvas* canvas, int x, int from, int to, TColor color) {
  for (int y = from + 1; y < to; y += 2) canvas->SetPixel(x, y, color);
}

void DottedHorzLine(TCanvas* canvas, int y, int from, int to) { DottedHorzLine(canvas, y, from, to, clBlack); }
void DottedVertLine(TCanvas* canvas, int x, int from, int to) { DottedVertLine(canvas, x, from, to, clBlack); }

TRect PaintFocusRect(TCanvas* canvas, TRect r) {
  DottedVertLine(canvas, r.Left, r.Top, r.Bottom);
  DottedVertLine(canvas, r.Right - 1, r.Top, r.Bottom);
  DottedHorzLine(canvas, r.Top, r.Left, r.Right);
  DottedHorzLine(canvas, r.Bottom - 1, r.Left, r.Right);
  InflateRect(r, -1, -1);
  return r;
}

TGdiHandle<HFONT> CreateRotatedFont(TFont* font, int angle) {
  LOGFONTW lf{};
  lf.lfHeight = font->GetHeight();
  lf.lfWidth = 0;
  lf.lfEscapement = angle * 10;
  lf.lfOrientation = 0;
  const TFontStyles style = font->GetStyle();
  lf.lfWeight = style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.Contains(fsItalic);
  lf.lfUnderline = style.Contains(fsUnderline);
  lf.lfStrikeOut = style.Contains(fsStrikeOut);
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  switch (font->GetPitch()) {
    case fpVariable: lf.lfPitchAndFamily = VARIABLE_PITCH; break;
    case fpFixed: lf.lfPitchAndFamily = FIXED_PITCH; break;
    default: lf.lfPitchAndFamily = DEFAULT_PITCH; break;
  }
  const std::wstring& name = font->GetName();
  lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
  return TGdiHandle<HFONT>(CreateFontIndirectW(&lf));
}

bool IsTrueTypeFont(TFont* font) { return font->IsTrueType(); }

int FontLineHeight(TCanvas* canvas) { return canvas->TextHeight(L"Wg") + 2; }

int AverageCharWidth(TCanvas* canvas) {
  const int w = canvas->TextWidth(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  return int(std::nearbyint(w / 52.0));
}

void ExpandStrip(HDC dc, int width, int height, int tileWidth, int tileHeight) {
  if (tileWidth <= 0 || tileHeight <= 0 || width <= 0 || height <= 0) return;
  // Doubling: each copy takes what is already there, so the area fills in log steps.
  for (int w = std::min(tileWidth, width); w < width; w *= 2)
    BitBlt(dc, w, 0, std::min(w, width - w), std::min(tileHeight, height), dc, 0, 0, SRCCOPY);
  for (int h = std::min(tileHeight, height); h < height; h *= 2)
    BitBlt(dc, 0, h, width, std::min(h, height - h), dc, 0, 0, SRCCOPY);
}

void PaintParentBackground(TControl* control, HDC dc, bool invalidateParent) {
  TWinControl* parent = control ? control->GetParent() : nullptr;
  if (!parent || !dc) return;
  const int saved = SaveDC(dc);
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - control->GetLeft(), origin.y - control->GetTop(), nullptr);
  const TRect client = parent->GetClientRect();
  IntersectClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), reinterpret_cast<intptr_t>(dc));
  parent->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
  RestoreDC(dc, saved);
  if (invalidateParent && !dynamic_cast<TCustomControl*>(parent) && !dynamic_cast<TCustomForm*>(parent))
    parent->Invalidate();
}

}  // namespace Vy
