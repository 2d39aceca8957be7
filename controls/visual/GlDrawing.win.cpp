#include "controls/visual/GlDrawing.h"

#include <algorithm>

namespace Flat {

namespace {

int gDepthOverride = 0;

RECT ToRect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

void Fill(HDC dc, int l, int t, int r, int b, COLORREF color) {
  if (r <= l || b <= t) return;
  const RECT rc = ToRect(l, t, r, b);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

// One band, solid or hatched (the hatch styles follow bsSolid and bsClear in TBrushStyle).
void FillBand(HDC dc, int l, int t, int r, int b, COLORREF color, TBrushStyle style) {
  if (style == bsSolid) return Fill(dc, l, t, r, b, color);
  if (style == bsClear || r <= l || b <= t) return;
  const RECT rc = ToRect(l, t, r, b);
  HBRUSH brush = CreateHatchBrush(static_cast<int>(style) - 2, color);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  FillRect(dc, &rc, brush);
  SetBkMode(dc, oldMode);
  DeleteObject(brush);
}

// Band i of n between two plain colours; one band is the first colour (no 0 divisor).
COLORREF BandColor(TColor from, TColor to, int i, int n) {
  if (n <= 1) return static_cast<COLORREF>(from & 0xFFFFFF);
  auto channel = [&](int shift) {
    const int f = (from >> shift) & 0xFF, t = (to >> shift) & 0xFF;
    return std::clamp(f + MulDiv(i, t - f, n - 1), 0, 255);
  };
  return RGB(channel(0), channel(8), channel(16));
}

// How many of n bands a filling shows: the first PercentFilling per cent, at least one.
int BandsShown(int n, int percent) {
  if (percent >= 100) return n;
  return std::max(1, (n * percent + 99) / 100);
}

struct TBandRun {
  HDC dc;
  TRect rect;
  TColor from, to;
  TBrushStyle brush;
  int percent;
};

void Horizontal(const TBandRun& r, int steps) {
  const int h = r.rect.Height();
  const int n = std::min(steps, h);
  for (int i = 0, shown = BandsShown(n, r.percent); i < shown; ++i)
    FillBand(r.dc, r.rect.Left, r.rect.Top + MulDiv(i, h, n), r.rect.Right, r.rect.Top + MulDiv(i + 1, h, n),
             BandColor(r.from, r.to, i, n), r.brush);
}

void Vertical(const TBandRun& r, int steps) {
  const int w = r.rect.Width();
  const int n = std::min(steps, w);
  for (int i = 0, shown = BandsShown(n, r.percent); i < shown; ++i)
    FillBand(r.dc, r.rect.Left + MulDiv(i, w, n), r.rect.Top, r.rect.Left + MulDiv(i + 1, w, n), r.rect.Bottom,
             BandColor(r.from, r.to, i, n), r.brush);
}

// Diagonal bands: lines of one slope, each band a run of neighbouring lines.
void Bias(const TBandRun& r, int steps, bool right) {
  const int w = r.rect.Width(), h = r.rect.Height();
  const int n = std::min(steps, w + h);
  const int saved = SaveDC(r.dc);
  IntersectClipRect(r.dc, r.rect.Left, r.rect.Top, r.rect.Right, r.rect.Bottom);
  for (int i = 0, shown = BandsShown(n, r.percent); i < shown; ++i) {
    HPEN pen = CreatePen(PS_SOLID, 1, BandColor(r.from, r.to, i, n));
    HGDIOBJ old = SelectObject(r.dc, pen);
    for (int d = MulDiv(i, w + h, n); d < MulDiv(i + 1, w + h, n); ++d) {
      // Two neighbouring lines per offset leave no holes between the slanted lines.
      for (int k = 0; k < 2; ++k) {
        const int x = right ? r.rect.Right - 1 - d - k : r.rect.Left + d + k;
        MoveToEx(r.dc, x, r.rect.Top, nullptr);
        LineTo(r.dc, right ? x + h + 1 : x - h - 1, r.rect.Bottom + 1);
      }
    }
    SelectObject(r.dc, old);
    DeleteObject(pen);
  }
  RestoreDC(r.dc, saved);
}

void Concentric(const TBandRun& r, int steps) {
  const int m = std::min(r.rect.Width() / 2, r.rect.Height() / 2);
  const int n = std::max(1, std::min(steps, m));
  for (int i = 0, shown = BandsShown(n, r.percent); i < shown; ++i) {
    const int k = MulDiv(i, m, n);
    FillBand(r.dc, r.rect.Left + k, r.rect.Top + k, r.rect.Right - k, r.rect.Bottom - k,
             BandColor(r.from, r.to, i, n), r.brush);
  }
}

void DrawBands(const TBandRun& run, TglGradientDir dir, int steps) {
  switch (dir) {
    case fgdHorizontal: return Horizontal(run, steps);
    case fgdVertical: return Vertical(run, steps);
    case fgdLeftBias: return Bias(run, steps, false);
    case fgdRightBias: return Bias(run, steps, true);
    case fgdRectangle: return Concentric(run, steps);
    case fgdHorzConvergent: {
      TBandRun top = run, bottom = run;
      top.rect.Bottom = bottom.rect.Top = run.rect.Top + run.rect.Height() / 2;
      std::swap(bottom.from, bottom.to);
      Horizontal(top, steps);
      return Horizontal(bottom, steps);
    }
    case fgdVertConvergent: {
      TBandRun left = run, right = run;
      left.rect.Right = right.rect.Left = run.rect.Left + run.rect.Width() / 2;
      std::swap(right.from, right.to);
      Vertical(left, steps);
      return Vertical(right, steps);
    }
  }
}

}  // namespace

int DisplayBitsPerPixel(HDC dc) {
  if (gDepthOverride) return gDepthOverride;
  return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
}

TDisplayDepthOverride::TDisplayDepthOverride(int bits) : saved_(gDepthOverride) { gDepthOverride = bits; }
TDisplayDepthOverride::~TDisplayDepthOverride() { gDepthOverride = saved_; }

void DrawBevelFrame(HDC dc, TRect& rect, unsigned sides, TBevelCut outer, TBevelCut inner, bool bold,
                    bool transparent, TColor background) {
  const COLORREF shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight),
                 dark = ColorToRGB(cl3DDkShadow);
  // One line on each chosen side, in the colour of that side; the side moves in past it.
  auto lines = [&](COLORREF leftTop, COLORREF rightBottom, unsigned which) {
    TRect& r = rect;
    if (r.Right < r.Left || r.Bottom < r.Top) return;
    if (which & sides & glsLeft) Fill(dc, r.Left, r.Top, r.Left + 1, r.Bottom + 1, leftTop);
    if (which & sides & glsTop) Fill(dc, r.Left, r.Top, r.Right + 1, r.Top + 1, leftTop);
    if (which & sides & glsRight) Fill(dc, r.Right, r.Top, r.Right + 1, r.Bottom + 1, rightBottom);
    if (which & sides & glsBottom) Fill(dc, r.Left, r.Bottom, r.Right + 1, r.Bottom + 1, rightBottom);
    if (which & sides & glsLeft) ++r.Left;
    if (which & sides & glsTop) ++r.Top;
    if (which & sides & glsRight) --r.Right;
    if (which & sides & glsBottom) --r.Bottom;
  };
  auto bevel = [&](TBevelCut cut) {
    switch (cut) {
      case bvNone: return;
      case bvSpace: return lines(shadow, shadow, glsAll);
      case bvLowered:
        if (bold) lines(dark, dark, glsLeft | glsTop);
        lines(shadow, light, glsAll);
        return;
      case bvRaised:
        if (bold) lines(dark, dark, glsRight | glsBottom);
        lines(light, shadow, glsAll);
        return;
    }
  };
  bevel(outer);
  bevel(inner);
  if (!transparent) Fill(dc, rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1, ColorToRGB(background));
}

void DrawGradient(HDC dc, const TRect& rect, const TGradient& gradient) {
  if (!gradient.GetActive() || gradient.GetSteps() == 1 || DisplayBitsPerPixel(dc) < 16) return;
  if (rect.IsEmpty()) return;
  TBandRun run{dc, rect, gradient.GetFromRGB(), gradient.GetToRGB(), gradient.GetBrushStyle(),
               gradient.GetPercentFilling()};
  if (!gradient.GetBufferedDraw()) return DrawBands(run, gradient.GetOrientation(), gradient.GetSteps());
  // Buffered: the bands go to a bitmap of the rectangle first and reach the DC in one copy.
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bmp = CreateCompatibleBitmap(dc, rect.Width(), rect.Height());
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, rect.Width(), rect.Height(), dc, rect.Left, rect.Top, SRCCOPY);
  run.dc = mem;
  run.rect = TRect{0, 0, rect.Width(), rect.Height()};
  DrawBands(run, gradient.GetOrientation(), gradient.GetSteps());
  BitBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

void DrawStyledText(HDC dc, int x, int y, const TglTextColors& colors, bool delineated, TglTextStyle style,
                    const std::wstring& text, const TRect& clip) {
  const RECT rc = ToRect(clip.Left, clip.Top, clip.Right, clip.Bottom);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = GetTextColor(dc);
  auto out = [&](int px, int py, TColor color) {
    SetTextColor(dc, ColorToRGB(color));
    ExtTextOutW(dc, px, py, ETO_CLIPPED, &rc, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  };
  auto mainText = [&](int k) {
    if (delineated) {
      out(x + k, y + k, colors.Delineate);
      out(x + k + 2, y + k + 2, colors.Delineate);
      out(x + k, y + k + 2, colors.Delineate);
      out(x + k + 2, y + k, colors.Delineate);
      out(x + k + 1, y + k + 1, colors.Text);
    } else {
      out(x + k, y + k, colors.Text);
    }
  };
  const int o = delineated ? 4 : 2;
  const int f = (style == fstNone || style == fstShadow) ? o / 2 - 1 : o;
  switch (style) {
    case fstNone: mainText(0); break;
    case fstRaised:
      out(x, y, colors.Highlight);
      out(x + f, y + f, colors.Shadow);
      mainText(1);
      break;
    case fstRecessed:
      out(x, y, colors.Shadow);
      out(x + f, y + f, colors.Highlight);
      mainText(1);
      break;
    case fstPushed:
      out(x + 1, y + 1, colors.Highlight);
      out(x, y, colors.Shadow);
      break;
    case fstShadow:
      out(x + f + 2, y + f + 2, colors.Shadow);
      mainText(0);
      break;
    case fstVolumetric:
      out(x + 1, y + 1, colors.Shadow);
      out(x + 2, y + 2, colors.Shadow);
      mainText(0);
      break;
  }
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

}  // namespace Flat
