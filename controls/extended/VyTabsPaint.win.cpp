// The page control's painting: everything into one off-screen bitmap, back rows and
// their cards first, the selected tab last, each tab clipped to its outline. Painting
// only shows the state; it never selects a tab or swaps a page.
#include "controls/extended/VyTabs.h"

#include "vcl/Exceptions.h"

#include <algorithm>

namespace Vy {

namespace {

// Saves the device context for the lifetime of the guard.
class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), id_(SaveDC(dc)) {
    if (!id_) throw Exception(L"Error saving device context");
  }
  ~TSavedDC() noexcept(false) {
    if (!RestoreDC(dc_, id_) && std::uncaught_exceptions() == 0) throw Exception(L"Error restoring device context");
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC dc_;
  int id_;
};

std::vector<std::wstring> Lines(const std::wstring& caption) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (;;) {
    const size_t at = caption.find(L"\r\n", start);
    lines.push_back(caption.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start));
    if (at == std::wstring::npos) return lines;
    start = at + 2;
  }
}

}  // namespace

std::vector<TPoint> TVyPageControl::TabClientOutline(int i) {
  const TRect strip = TabStripRect(FSettings, FTabs[size_t(i)].Box, i == FTabIndex);
  std::vector<TPoint> points;
  for (TPoint q : TabOutline(FSettings, strip)) points.push_back(StripToClient(FSettings, q, TabArea(), ScrollOffset()));
  return points;
}

HRGN TVyPageControl::TabRegion(int i) {
  const TRect r = TabClientRect(i);
  if (HRGN kept = FRegions.Find(r)) return kept;
  const std::vector<TPoint> points = TabClientOutline(i);
  if (points.size() < 3) return nullptr;
  std::vector<POINT> pts;
  for (TPoint p : points) pts.push_back({p.X, p.Y});
  HRGN region = CreatePolygonRgn(pts.data(), int(pts.size()), WINDING);
  if (!region) throw Exception(L"Error creating region");
  return FRegions.Add(r, region);
}

TColor TVyPageControl::TextColor(int i, TVyTextStyle style, TColor fallback) {
  bool handled = false;
  DoGetTextColor(i, style, fallback, handled);
  return fallback;
}

void TVyPageControl::DoPaintCardBackground(TCanvas* c, int row, const TRect& r, bool& handled) {
  if (OnPaintCardBackground) OnPaintCardBackground(this, c, row, r, handled);
  if (handled || row != 0 || FTabIndex < 0 || !FActivePage) return;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(FActivePage->GetColor());
  c->FillRect(r);
  handled = true;
}

void TVyPageControl::PaintTabBackground(TCanvas* c, int i, const TRect& r) {
  bool handled = false;
  DoPaintTabBackground(c, i, r, handled);
  if (handled) return;
  const TVyTabData& t = FTabs[size_t(i)];
  const TColor base = FUseColoredTabs ? t.Color : GetColor();
  const TColor light = FUseColoredTabs ? t.Color : FTabColors->GetUnselected();
  const TColor dark = FUseColoredTabs ? DarkenColor(ColorToRGB(t.Color), 30) : FTabColors->GetShadow();
  c->GetBrush()->SetStyle(bsSolid);
  if (i == FTabIndex) {
    c->GetBrush()->SetColor(base);
    c->FillRect(r);
  } else if (FUseGradients && TrueColorScreen()) {
    // Darker where the tab meets the card, lighter at the strip's outer edge.
    switch (FSettings.Orientation) {
      case TVyTabOrientation::toTop: PaintGradient(c, r, gdHorizontalEnd, 1, dark, light); break;
      case TVyTabOrientation::toBottom: PaintGradient(c, r, gdHorizontalEnd, 1, light, dark); break;
      case TVyTabOrientation::toLeft: PaintGradient(c, r, gdVerticalEnd, 1, dark, light); break;
      case TVyTabOrientation::toRight: PaintGradient(c, r, gdVerticalEnd, 1, light, dark); break;
    }
  } else {
    c->GetBrush()->SetColor(light);
    c->FillRect(r);
  }
}

void TVyPageControl::PaintHighlightBar(TCanvas* c, const TRect& tab, bool hot) {
  TRect r = tab;
  InflateRect(r, 1, 1);
  switch (FSettings.Orientation) {
    case TVyTabOrientation::toTop: r.Bottom = r.Top + 6; break;
    case TVyTabOrientation::toLeft: r.Right = r.Left + 6; break;
    case TVyTabOrientation::toBottom: r.Top = r.Bottom - 4; break;
    case TVyTabOrientation::toRight: r.Left = r.Right - 4; break;
  }
  TColor color = FTabColors->GetHighlightBar();
  if (hot) {
    if (FHotTrackColorType == TVyHotTrackColorType::htctActual) {
      color = FHotTrackColor;
    } else {
      const int h = HueOfColor(ColorToRGB(FHotTrackColor));
      color = HueSatLumToColor(h < 120 ? h + 120 : h - 120, 240, 140);
    }
  }
  const TColor old = c->GetBrush()->GetColor();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(color);
  c->FillRect(r);
  c->GetBrush()->SetColor(old);
}

void TVyPageControl::PaintCaption(TCanvas* c, int i, TRect area, TColor color, TPoint offset) {
  const TVyTabData& t = FTabs[size_t(i)];
  const bool vertical = FSettings.VerticalText, downwards = FSettings.Orientation == TVyTabOrientation::toRight;
  TFont font;
  font.Assign(GetFont());
  if (i == FTabIndex && FBoldCurrentTab) {
    TFontStyles st = font.GetStyle();
    st.Include(fsBold);
    font.SetStyle(st);
  }
  c->SetFont(&font);
  const int angle = !vertical ? 0 : downwards ? 270 : 90;
  TGdiHandle<HFONT> turned = CreateRotatedFont(&font, angle);
  TGdiHandle<HFONT> underlined;
  {
    TFont u;
    u.Assign(&font);
    TFontStyles st = u.GetStyle();
    st.Include(fsUnderline);
    u.SetStyle(st);
    underlined = CreateRotatedFont(&u, angle);
  }
  HDC dc = c->GetHandle();
  TSavedDC saved(dc);
  SelectObject(dc, turned.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(color));
  const std::vector<std::wstring> lines = Lines(t.Caption);
  auto extent = [&](const std::wstring& s) {
    SIZE e{};
    GetTextExtentPoint32W(dc, s.c_str(), int(s.size()), &e);
    return vertical ? TPoint{e.cy, e.cx} : TPoint{e.cx, e.cy};
  };
  TPoint whole;
  std::vector<TPoint> sizes;
  for (const std::wstring& line : lines) {
    std::wstring shown;
    bool done = false;
    for (size_t k = 0; k < line.size(); ++k) {
      if (!done && line[k] == L'&' && k + 1 < line.size()) {
        done = true;
        if (line[k + 1] == L'&') ++k;
        else continue;
      }
      shown += line[k];
    }
    const TPoint e = extent(shown);
    sizes.push_back(e);
    whole = vertical ? TPoint{whole.X + e.X, std::max(whole.Y, e.Y)} : TPoint{std::max(whole.X, e.X), whole.Y + e.Y};
  }
  // The area fitted to the whole caption across the text direction.
  if (!vertical) {
    const int free = area.Height() - whole.Y;
    if (FTextAlignmentVertical == TVyVerticalAlignment::vaCenter) {
      area.Top += free / 2;
      area.Bottom -= free / 2;
    } else if (FTextAlignmentVertical == TVyVerticalAlignment::vaBottom) {
      area.Top = area.Bottom - whole.Y;
    }
  } else {
    const int free = area.Width() - whole.X;
    if (FTextAlignment == TVyHorizontalAlignment::haCenter) {
      area.Left += free / 2;
      area.Right -= free / 2;
    } else if (downwards ? FTextAlignment == TVyHorizontalAlignment::haLeft
                         : FTextAlignment == TVyHorizontalAlignment::haRight) {
      if (downwards)
        area.Right = area.Left + whole.X;
      else
        area.Left = area.Right - whole.X;
    }
  }
  int before = 0;
  for (size_t n = 0; n < lines.size(); ++n) {
    const TPoint e = sizes[n];
    TPoint at;
    if (!vertical) {
      const int free = area.Width() - e.X;
      const int x = FTextAlignment == TVyHorizontalAlignment::haLeft     ? 0
                    : FTextAlignment == TVyHorizontalAlignment::haCenter ? free / 2
                                                                         : free;
      at = {area.Left + x, area.Top + before};
      before += e.Y;
    } else {
      const int free = area.Height() - e.Y;
      if (downwards) {
        const int y = FTextAlignmentVertical == TVyVerticalAlignment::vaTop      ? 0
                      : FTextAlignmentVertical == TVyVerticalAlignment::vaCenter ? free / 2
                                                                                 : free;
        at = {area.Right - before, area.Top + y};
      } else {
        // Reading upwards the text starts at the bottom.
        const int y = FTextAlignmentVertical == TVyVerticalAlignment::vaTop      ? free
                      : FTextAlignmentVertical == TVyVerticalAlignment::vaCenter ? free / 2
                                                                                 : 0;
        at = {area.Left + before, area.Bottom - y};
      }
      before += e.X;
    }
    at.X += offset.X;
    at.Y += offset.Y;
    // Pieces follow each other along the text: only the first "&" marks a key.
    const std::wstring& line = lines[n];
    auto draw = [&](const std::wstring& piece, HFONT f) {
      if (piece.empty()) return;
      SelectObject(dc, f);
      TextOutW(dc, at.X, at.Y, piece.c_str(), int(piece.size()));
      const SIZE e2 = [&] {
        SIZE z{};
        GetTextExtentPoint32W(dc, piece.c_str(), int(piece.size()), &z);
        return z;
      }();
      if (!vertical) at.X += e2.cx;
      else if (downwards) at.Y += e2.cx;
      else at.Y -= e2.cx;
    };
    const size_t amp = line.find(L'&');
    if (amp == std::wstring::npos || amp + 1 >= line.size()) {
      draw(line, turned.Get());
    } else if (line[amp + 1] == L'&') {
      draw(line.substr(0, amp + 1), turned.Get());
      draw(line.substr(amp + 2), turned.Get());
    } else {
      draw(line.substr(0, amp), turned.Get());
      draw(line.substr(amp + 1, 1), font.GetStyle().Contains(fsUnderline) ? turned.Get() : underlined.Get());
      draw(line.substr(amp + 2), turned.Get());
    }
  }
}

void TVyPageControl::PaintTabContent(TCanvas* c, int i, const TRect& R) {
  const TVyTabData& t = FTabs[size_t(i)];
  const auto o = FSettings.Orientation;
  const bool side = IsVerticalStrip(o), vertical = FSettings.VerticalText;
  const int C = FSettings.CutCornerSize;
  TRect r = R;
  auto shrink = [&](int a, int b) {
    r.Left += a;
    r.Right -= a;
    r.Top += b;
    r.Bottom -= b;
  };
  auto outer = [&](int n) {
    switch (o) {
      case TVyTabOrientation::toTop: r.Top += n; break;
      case TVyTabOrientation::toBottom: r.Bottom -= n; break;
      case TVyTabOrientation::toLeft: r.Left += n; break;
      case TVyTabOrientation::toRight: r.Right -= n; break;
    }
  };
  switch (FSettings.Style) {
    case TVyTabStyle::tsSingleSlant:
    case TVyTabStyle::tsDoubleSlant: {
      const int S = TabSlant(FSettings.Style, side ? R.Width() : R.Height());
      if (FSettings.Style == TVyTabStyle::tsSingleSlant) {
        shrink(1, 1);
        if (!side) {
          r.Right -= 2 * S + 2;
          OffsetRect(r, 2, 0);
        } else if (o == TVyTabOrientation::toLeft) {
          r.Top += 2 * S + 2;
          OffsetRect(r, 0, -2);
        } else {
          r.Bottom -= 2 * S + 2;
          OffsetRect(r, 0, 2);
        }
      } else if (!side) {
        shrink(-1, 1);
        shrink(S, 0);
      } else {
        shrink(1, -1);
        shrink(0, S);
        r.Bottom += 2;
      }
      if (!side) {
        OffsetRect(r, 1, 0);
        outer(2);
        if (o == TVyTabOrientation::toBottom) OffsetRect(r, 0, 1);
      } else {
        OffsetRect(r, 0, 1);
        outer(2);
        if (o == TVyTabOrientation::toRight) OffsetRect(r, 1, 0);
      }
      break;
    }
    case TVyTabStyle::tsCutCorner:
      if (side) {
        if (vertical) {
          shrink(1, C + 3);
          outer(5);
        } else {
          shrink(1, 4);
          outer(C + 5);
        }
        if (o == TVyTabOrientation::toRight) OffsetRect(r, 1, 0);
      } else {
        if (vertical) {
          shrink(4, 1);
          outer(C + 3);
        } else {
          shrink(C + 3, 1);
          outer(3);
        }
        if (o == TVyTabOrientation::toBottom) OffsetRect(r, 0, 1);
      }
      break;
    case TVyTabStyle::tsRoundCorners: vertical ? shrink(2, 4) : shrink(4, 2); break;
  }
  shrink(1, 1);

  const TPoint image = ImageSize(t);
  const bool hasImage = image != TPoint{};
  const int m = hasImage ? FImageMargin : 0;
  TRect imageArea = r, text = r;
  switch (FImagePosition) {
    case TVyImagePosition::ipLeft:
      imageArea.Right = r.Left + image.X;
      text.Left = r.Left + image.X + m;
      break;
    case TVyImagePosition::ipRight:
      imageArea.Left = r.Right - image.X;
      text.Right = r.Right - image.X - m;
      break;
    case TVyImagePosition::ipTop:
      imageArea.Bottom = r.Top + image.Y;
      text.Top = r.Top + image.Y + m;
      break;
    case TVyImagePosition::ipBottom:
      imageArea.Top = r.Bottom - image.Y;
      text.Bottom = r.Bottom - image.Y - m;
      break;
    default: break;
  }
  if (hasImage) {
    int x = imageArea.Left, y = imageArea.Top;
    if (FImagePosition != TVyImagePosition::ipStretch) {
      const int fx = imageArea.Width() - image.X, fy = imageArea.Height() - image.Y;
      if (FImageAlignment == TVyHorizontalAlignment::haCenter) x += fx / 2;
      else if (FImageAlignment == TVyHorizontalAlignment::haRight) x += fx;
      if (FImageAlignmentVertical == TVyVerticalAlignment::vaCenter) y += fy / 2;
      else if (FImageAlignmentVertical == TVyVerticalAlignment::vaBottom) y += fy;
    }
    // A tab with an image of its own for the disabled state draws that one normally.
    if (t.DisabledIndex == -1)
      FImages->Draw(c, x, y, t.ImageIndex, t.Enabled);
    else
      FImages->Draw(c, x, y, t.Enabled ? t.ImageIndex : t.DisabledIndex, true);
  }

  const bool hot = FHotTrack && i == FHotIndex, selected = i == FTabIndex;
  if (t.Enabled) {
    TVyTextStyle style = TVyTextStyle::tsUnselected;
    TColor fallback = FTextColors->GetUnselected();
    if (hot) {
      style = TVyTextStyle::tsHotTrack;
      fallback = FHotTrackStyle == TVyHotTrackStyle::htsText ? FHotTrackColor : FTextColors->GetSelected();
      if (FHotTrackStyle == TVyHotTrackStyle::htsTab) PaintHighlightBar(c, R, true);
    } else if (selected) {
      style = TVyTextStyle::tsSelected;
      fallback = FTextColors->GetSelected();
      if (FHotTrack && FHotTrackStyle == TVyHotTrackStyle::htsTab) PaintHighlightBar(c, R, false);
    }
    if (!t.Caption.empty()) PaintCaption(c, i, text, TextColor(i, style, fallback), {});
  } else if (!t.Caption.empty()) {
    // Embossed: the light copy a pixel right and down, the dark one on top.
    PaintCaption(c, i, text, TextColor(i, TVyTextStyle::tsDisabledHighlight, FTextColors->GetDisabledHighlight()),
                 {1, 1});
    PaintCaption(c, i, text, TextColor(i, TVyTextStyle::tsDisabledShadow, FTextColors->GetDisabledShadow()), {});
  }

  if (selected && FShowFocusRect && Focused()) {
    TRect f = text;
    if (side) InflateRect(f, 0, 1);
    else InflateRect(f, 1, 0);
    if (FSettings.Style == TVyTabStyle::tsRoundCorners) {
      const int n = side ? 2 : 1;
      switch (o) {
        case TVyTabOrientation::toTop: f.Top += n; break;
        case TVyTabOrientation::toBottom: f.Bottom -= n; break;
        case TVyTabOrientation::toLeft: f.Left += n; break;
        case TVyTabOrientation::toRight: f.Right -= n; break;
      }
    }
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clWhite);
    c->GetFont()->SetColor(clBlack);
    c->DrawFocusRect(f);
  }
}

void TVyPageControl::PaintTab(TCanvas* c, int i) {
  const TRect R = TabClientRect(i);
  const TRect clip = c->GetClipRect();
  if (R.Right < clip.Left || R.Left > clip.Right || R.Bottom < clip.Top || R.Top > clip.Bottom) return;
  if (HRGN region = TabRegion(i)) {
    HDC dc = c->GetHandle();
    TSavedDC saved(dc);
    SelectClipRgn(dc, region);
    PaintTabBackground(c, i, R);
    PaintTabContent(c, i, R);
  }
  c->Refresh();
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetColor(AdjustColorBy(ColorToRGB(FFlatColor), FFlatColorAdjustment));
  c->Polyline(TabClientOutline(i));
}

// A line along one axis, each pixel the background below darkened by weight/255.
static void ShadowLine(TCanvas* c, TBitmap* behind, TPoint& pen, TPoint to, int weight) {
  if (pen.X == to.X) {
    for (int y = std::min(pen.Y, to.Y); y <= std::max(pen.Y, to.Y); ++y)
      c->SetPixel(pen.X, y, BlendColors(clBlack, behind->GetCanvas()->GetPixel(pen.X, y), weight));
  } else {
    const int y = std::max(pen.Y, to.Y);
    for (int x = std::min(pen.X, to.X); x <= std::max(pen.X, to.X); ++x)
      c->SetPixel(x, y, BlendColors(clBlack, behind->GetCanvas()->GetPixel(x, y), weight));
  }
  pen = to;
}

void TVyPageControl::PaintCardOfRow(TCanvas* c, int row) {
  TRect R = CardRect(FSettings, FLayout, row, GetClientWidth(), GetClientHeight(), !FTabs.empty());
  if (R.IsEmpty() && !FTabs.empty()) return;
  R.Right += 1;
  R.Bottom += 1;
  bool handled = false;
  DoPaintCardBackground(c, row, R, handled);
  if (!handled) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(FUseColoredTabs && FTabIndex >= 0 ? FTabs[size_t(FTabIndex)].Color : GetColor());
    c->FillRect(R);
  }
  if (!FShowCardFrame) return;
  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetColor(AdjustColorBy(ColorToRGB(FFlatColor), FFlatColorAdjustment));
  const auto o = FSettings.Orientation;
  const bool shadow = o == TVyTabOrientation::toTop && FSettings.Sequence == TVyTabSequence::tsStandard && FShowShadow;
  const int s = shadow ? 2 : 0;
  // The fill went one past the card's last column and row; a frame there would lie
  // outside the control. With a shadow the frame stands back from it anyway.
  const int last = shadow ? 0 : 1;
  const TPoint P0{R.Left, R.Top}, P1{R.Right - last, R.Top}, P2{R.Right - last, R.Bottom - last},
      P3{R.Left, R.Bottom - last};
  const TPoint corners[4] = {P0, {P1.X - s, P1.Y}, {P2.X - s, P2.Y - s}, {P3.X, P3.Y - s}};
  // The edge the tabs stand on, as the index of its first corner.
  const int tabEdge = o == TVyTabOrientation::toTop ? 0 : o == TVyTabOrientation::toRight ? 1
                      : o == TVyTabOrientation::toBottom ? 2 : 3;
  bool opening = row == 0 && FTabIndex >= 0 && TabShown(FTabIndex);
  TPoint a, b;
  if (opening) {
    const std::vector<TPoint> outline = TabClientOutline(FTabIndex);
    a = outline.front();
    b = outline.back();
  }
  const int edges = FShowFullFrame ? 4 : 1;
  for (int e = 0; e < edges; ++e) {
    const int k = FShowFullFrame ? e : tabEdge;
    const TPoint from = corners[k], to = corners[(k + 1) % 4];
    if (opening && k == tabEdge) {
      // The selected tab opens into the card: its base stays open.
      const bool horizontal = from.Y == to.Y;
      const int lo = horizontal ? std::min(a.X, b.X) : std::min(a.Y, b.Y);
      const int hi = horizontal ? std::max(a.X, b.X) : std::max(a.Y, b.Y);
      const int f = horizontal ? from.X : from.Y, t = horizontal ? to.X : to.Y;
      const int step = t >= f ? 1 : -1;
      for (int v = f; v != t + step; v += step) {
        if (v > lo && v < hi) continue;
        const TPoint px = horizontal ? TPoint{v, from.Y} : TPoint{from.X, v};
        c->SetPixel(px.X, px.Y, c->GetPen()->GetColor());
      }
      continue;
    }
    c->MoveTo(from.X, from.Y);
    c->LineTo(to.X, to.Y);
    c->SetPixel(to.X, to.Y, c->GetPen()->GetColor());
  }
  if (!shadow || FHotTrackRepaint) return;
  // The soft shadow darkens whatever lies behind the control.
  TBitmap behind;
  behind.SetSize(GetWidth(), GetHeight());
  PaintParentBackground(this, behind.GetCanvas()->GetHandle(), false);
  TPoint pen{P1.X - 1, P1.Y + 1};
  ShadowLine(c, &behind, pen, {P2.X - 1, P2.Y - 1}, 30);
  ShadowLine(c, &behind, pen, {P3.X, P3.Y - 1}, 30);
  pen = {P1.X - 1, P1.Y};
  ShadowLine(c, &behind, pen, P1, 15);
  ShadowLine(c, &behind, pen, P2, 15);
  ShadowLine(c, &behind, pen, P3, 15);
  ShadowLine(c, &behind, pen, {P3.X, P3.Y - 1}, 15);
}

void TVyPageControl::Paint() {
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  EnsureLayout();
  if (FBitmap->GetWidth() != w || FBitmap->GetHeight() != h) FBitmap->SetSize(w, h);
  TCanvas* c = FBitmap->GetCanvas();
  const TRect all = Rect(0, 0, w, h);
  bool handled = false;
  DoPaintBackground(c, all, handled);
  if (!handled) {
    if (FTransparent) {
      PaintParentBackground(this, c->GetHandle(), false);
      c->Refresh();
    } else {
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(FBackgroundColor);
      c->FillRect(all);
    }
  }
  PlaceButtons();
  const int n = TabCount();
  if (n > 0) {
    // Back to front: from the tab before the first shown one round to it, each row's
    // card under its tabs, every tab over its neighbour after it.
    int C = FLayout.RowCount - 1;
    const int start = FFirstVisibleTab <= 0 ? n - 1 : FFirstVisibleTab - 1;
    for (int k = 0; k < n; ++k) {
      const int i = (start - k + n) % n;
      if (i < FFirstVisibleTab || i == FTabIndex || !TabShown(i)) continue;
      const int row = FTabs[size_t(i)].Box.Row;
      if (row < C && C > 0) {
        PaintCardOfRow(c, C);
        C = row;
      }
      PaintTab(c, i);
    }
    if (C == 1) PaintCardOfRow(c, 1);
    if (FTabIndex >= 0 && FTabIndex >= FFirstVisibleTab && TabShown(FTabIndex)) PaintTab(c, FTabIndex);
  }
  PaintCardOfRow(c, 0);
  GetCanvas()->Draw(0, 0, FBitmap.get());
  // Only a repaint asked for by hot tracking leaves the shadow be.
  FHotTrackRepaint = false;
}

}  // namespace Vy
