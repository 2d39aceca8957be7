#include "controls/extended/VyTabsLayout.h"

#include <algorithm>

namespace Vy {

namespace {

// Length along the strip of a screen size.
int Along(const TVyTabLayoutSettings& s, TPoint p) { return IsVerticalStrip(s.Orientation) ? p.Y : p.X; }

int AvailableLength(const TVyTabLayoutSettings& s, int stripLength) { return stripLength - 2 * s.Margin; }

// How many rows the tabs need: each row is filled until the next tab does not fit; a tab
// longer than a whole row gets a row to itself.
int CountRows(const TVyTabLayoutSettings& s, const std::vector<TVyTabBox>& tabs, const std::vector<int>& lengths,
              int stripLength, int fixed) {
  if (!s.MultiLine) return 1;
  int lastVisible = -1;
  for (int i = 0; i < int(tabs.size()); ++i)
    if (tabs[i].Visible) lastVisible = i;
  const int step = TabSlant(s.Style, fixed) - 1;
  for (int allowed = 1;; ++allowed) {
    const int avail = AvailableLength(s, stripLength) - (allowed - 1) * s.RowIndent;
    int row = 1, pos = s.Margin;
    bool restart = false;
    for (int i = 0; i < int(tabs.size()) && !restart; ++i) {
      if (!tabs[i].Visible) continue;
      const int len = lengths[i];
      for (;;) {
        if (pos + len < avail) {
          pos += len - step;
          break;
        }
        const bool empty = pos == s.Margin;
        if (row < allowed) {
          ++row;
          pos = s.Margin;
          if (empty) break;  // an empty row takes the tab anyway
          continue;
        }
        // The last allowed row: only an empty row may take a too-long tab, and only the last one.
        if (!empty || i != lastVisible) restart = allowed < int(tabs.size());
        pos = s.Margin;
        break;
      }
    }
    if (!restart) return row;
  }
}

}  // namespace

int TabSlant(TVyTabStyle style, int h) {
  switch (style) {
    case TVyTabStyle::tsSingleSlant: return h / 2;
    case TVyTabStyle::tsDoubleSlant: return h;
    default: return -1;
  }
}

TPoint TabOuterSize(const TVyTabLayoutSettings& s, TPoint content) {
  const int w = content.X, h = content.Y, C = s.CutCornerSize;
  const bool side = IsVerticalStrip(s.Orientation);
  TPoint r;
  switch (s.Style) {
    case TVyTabStyle::tsSingleSlant:
      r = side ? TPoint{w + 6, h + 2 + 2 * TabSlant(s.Style, w + 6) + s.TabHeight / 2 + 4}
               : TPoint{2 * TabSlant(s.Style, h + 6) + w + 2 + s.TabHeight / 2 + 4, h + 6};
      break;
    case TVyTabStyle::tsDoubleSlant:
      r = side ? TPoint{w + 6, h + 2 + 2 * TabSlant(s.Style, w + 2) + s.TabHeight + 4}
               : TPoint{2 * TabSlant(s.Style, h + 2) + w + 2 + s.TabHeight + 4, h + 6};
      break;
    case TVyTabStyle::tsCutCorner:
      if (side)
        r = s.VerticalText ? TPoint{w + 7, h + 8 + 2 * C} : TPoint{w + 7 + C, h + 10};
      else
        r = s.VerticalText ? TPoint{w + 10, h + 7 + C} : TPoint{w + 8 + 2 * C, h + 7};
      break;
    case TVyTabStyle::tsRoundCorners: r = s.VerticalText ? TPoint{w + 6, h + 16} : TPoint{w + 16, h + 6}; break;
  }
  if (s.TabWidth > 0) r.X = s.TabWidth;
  if (s.TabHeight > 0) r.Y = s.TabHeight;
  return r;
}

TVyTabLayout LayoutTabs(const TVyTabLayoutSettings& s, std::vector<TVyTabBox>& tabs, int stripLength, TPoint minTab) {
  TVyTabLayout out;
  const bool side = IsVerticalStrip(s.Orientation);
  auto raised = [&](TPoint c) {
    if (s.TabWidth == 0) c.X = std::max(c.X, minTab.X);
    if (s.TabHeight == 0) c.Y = std::max(c.Y, minTab.Y);
    return c;
  };
  TPoint maxContent, maxTab;
  for (const TVyTabBox& t : tabs) {
    if (!t.Visible) continue;
    const TPoint c = raised(t.Content);
    maxContent = {std::max(maxContent.X, c.X), std::max(maxContent.Y, c.Y)};
    const TPoint o = TabOuterSize(s, c);
    maxTab = {std::max(maxTab.X, o.X), std::max(maxTab.Y, o.Y)};
  }
  if (maxTab == TPoint{}) maxTab = TabOuterSize(s, minTab);
  out.FixedDimension = side ? maxTab.X : maxTab.Y;

  const int avail = AvailableLength(s, stripLength);
  const int longest = std::max(0, s.Style == TVyTabStyle::tsRoundCorners ? avail - 4 : avail);
  std::vector<int> lengths(tabs.size(), 0);
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (!tabs[i].Visible) continue;
    TPoint c = raised(tabs[i].Content);
    if (side)
      c.X = maxContent.X;
    else
      c.Y = maxContent.Y;
    lengths[i] = std::min(Along(s, TabOuterSize(s, c)), longest);
  }
  out.RowCount = CountRows(s, tabs, lengths, stripLength, out.FixedDimension);

  const int fixed = out.FixedDimension;
  const int thickness = StripThickness(s, out);
  const int rowAvail = avail - (s.MultiLine ? (out.RowCount - 1) * s.RowIndent : 0);
  const int step = TabSlant(s.Style, fixed) - 1;
  int row = 0, pos = s.Margin;
  std::vector<std::vector<int>> rows(1);
  for (size_t i = 0; i < tabs.size(); ++i) {
    TVyTabBox& t = tabs[i];
    if (!t.Visible) {
      t.Rect = {};
      continue;
    }
    const int len = lengths[i];
    if (s.MultiLine && pos + len >= rowAvail && pos != s.Margin && row + 1 < out.RowCount) {
      ++row;
      rows.emplace_back();
      pos = s.Margin;
    }
    const int y = thickness - fixed - row * (fixed - s.RowOverlap);
    t.Rect = Rect(pos, y, pos + len, y + fixed);
    t.Row = row;
    rows.back().push_back(int(i));
    pos += len - step;
  }
  const bool automaticLength = side ? s.TabHeight == 0 : s.TabWidth == 0;
  if (s.MultiLine && s.AlignTabs && automaticLength) {
    for (const std::vector<int>& r : rows) {
      const int n = int(r.size());
      if (n == 0) continue;  // a row without tabs has nothing to share out
      const int used = tabs[r.back()].Rect.Right - s.Margin + (s.Style == TVyTabStyle::tsRoundCorners ? 4 : 0);
      const int extra = rowAvail - used;
      if (extra <= 0) continue;
      int shift = 0;
      for (int k = 0; k < n; ++k) {
        TRect& rect = tabs[r[k]].Rect;
        const int grow = extra / n + (k < extra % n ? 1 : 0);
        rect.Left += shift;
        shift += grow;
        rect.Right += shift;
      }
    }
  }
  if (s.Sequence == TVyTabSequence::tsReverse) {
    // The mirror image of the standard placement, moved back so that the first tab ends
    // at the strip's far end: in one row by the length all tabs take, in several rows by
    // the whole strip. The scroll offset follows the first tab, so the shift cancels.
    const int shift = s.MultiLine ? stripLength + 1 : pos;
    for (TVyTabBox& t : tabs) {
      if (!t.Visible) continue;
      t.Rect = Rect(shift - t.Rect.Right, t.Rect.Top, shift - t.Rect.Left, t.Rect.Bottom);
    }
  }
  return out;
}

void BringRowToFront(const TVyTabLayoutSettings& s, const TVyTabLayout& layout, std::vector<TVyTabBox>& tabs,
                     int selected) {
  if (selected < 0 || selected >= int(tabs.size()) || !tabs[selected].Visible) return;
  const int n = layout.RowCount, r = tabs[selected].Row;
  if (n <= 1 || r == 0) return;
  const int fixed = layout.FixedDimension, thickness = StripThickness(s, layout);
  for (TVyTabBox& t : tabs) {
    if (!t.Visible) continue;
    // The rows keep their order round the ring; the selected one lands in front, and
    // each tab takes the place across the strip of the row it moves into.
    t.Row = (t.Row + (n - r)) % n;
    t.Rect.Top = thickness - fixed - t.Row * (fixed - s.RowOverlap);
    t.Rect.Bottom = t.Rect.Top + fixed;
  }
}

int StripThickness(const TVyTabLayoutSettings& s, const TVyTabLayout& layout) {
  return (s.Style == TVyTabStyle::tsRoundCorners ? 3 : 0) + layout.FixedDimension +
         (layout.FixedDimension - s.RowOverlap) * (layout.RowCount - 1);
}

TRect TabAreaRect(const TVyTabLayoutSettings& s, const TVyTabLayout& layout, int width, int height, bool shadow) {
  const int W = width - 1, H = height - 1, t = StripThickness(s, layout);
  switch (s.Orientation) {
    case TVyTabOrientation::toTop: return Rect(0, 0, shadow ? W - 2 : W, t);
    case TVyTabOrientation::toLeft: return Rect(0, 0, t, H);
    case TVyTabOrientation::toBottom: return Rect(0, H - t, W, H);
    case TVyTabOrientation::toRight: return Rect(W - t, 0, W, H);
  }
  return {};
}

TPoint StripToClient(const TVyTabLayoutSettings& s, TPoint p, const TRect& a, int scroll) {
  if (s.Sequence == TVyTabSequence::tsReverse) {
    switch (s.Orientation) {
      case TVyTabOrientation::toTop: return {p.X + a.Right - scroll, p.Y + a.Top};
      case TVyTabOrientation::toLeft: return {p.Y + a.Left, scroll + a.Top - p.X};
      case TVyTabOrientation::toBottom: return {p.X + a.Right - scroll, a.Bottom - p.Y};
      case TVyTabOrientation::toRight: return {a.Right - p.Y, a.Bottom + p.X - scroll};
    }
  }
  switch (s.Orientation) {
    case TVyTabOrientation::toTop: return {p.X + a.Left - scroll, p.Y + a.Top};
    case TVyTabOrientation::toLeft: return {p.Y + a.Left, a.Bottom + scroll - p.X};
    case TVyTabOrientation::toBottom: return {p.X + a.Left - scroll, a.Bottom - p.Y};
    case TVyTabOrientation::toRight: return {a.Right - p.Y, p.X + a.Top - scroll};
  }
  return p;
}

TRect StripRectToClient(const TVyTabLayoutSettings& s, const TRect& r, const TRect& area, int scroll) {
  const TPoint a = StripToClient(s, r.TopLeft(), area, scroll), b = StripToClient(s, r.BottomRight(), area, scroll);
  return Rect(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

TRect TabStripRect(const TVyTabLayoutSettings& s, const TVyTabBox& tab, bool selected) {
  TRect r = tab.Rect;
  OffsetRect(r, (s.Sequence == TVyTabSequence::tsReverse ? -1 : 1) * tab.Row * s.RowIndent, 0);
  if (selected && s.Style == TVyTabStyle::tsRoundCorners) {
    r.Left -= 2;
    r.Right += 2;
    r.Top -= 2;
  }
  return r;
}

std::vector<TPoint> TabOutline(const TVyTabLayoutSettings& s, const TRect& r) {
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom, C = s.CutCornerSize;
  switch (s.Style) {
    case TVyTabStyle::tsSingleSlant: return {{L, B}, {L, T + 2}, {L + 2, T}, {R - (B - T), T}, {R, B}};
    case TVyTabStyle::tsDoubleSlant: return {{L, B}, {L + (B - T), T}, {R - (B - T), T}, {R, B}};
    case TVyTabStyle::tsCutCorner: return {{L, B}, {L, T}, {R - C, T}, {R, T + C}, {R, B}};
    case TVyTabStyle::tsRoundCorners: return {{L, B}, {L, T + 2}, {L + 2, T}, {R - 2, T}, {R, T + 2}, {R, B}};
  }
  return {};
}

TRect CardRect(const TVyTabLayoutSettings& s, const TVyTabLayout& layout, int k, int width, int height, bool anyTab) {
  const int L = 0, T = 0, R = width - 1, B = height - 1;
  if (!anyTab) return Rect(L, T, R, B);
  const int t = StripThickness(s, layout), d = k * (layout.FixedDimension - s.RowOverlap);
  int i = k * s.RowIndent, j = (layout.RowCount - k - 1) * s.RowIndent;
  if (s.Sequence == TVyTabSequence::tsReverse) std::swap(i, j);  // the rows step in from the other end
  TRect r;
  switch (s.Orientation) {
    case TVyTabOrientation::toTop: r = Rect(L + i, T + t - d, R - j, B - d); break;
    case TVyTabOrientation::toLeft: r = Rect(L + t - d, T + j, R - d, B - i); break;
    case TVyTabOrientation::toBottom: r = Rect(L + i, T + d, R - j, B - t + d); break;
    case TVyTabOrientation::toRight: r = Rect(L + d, T + i, R - t + d, B - j); break;
  }
  if (r.IsEmpty()) return {};
  return r;
}

}  // namespace Vy
