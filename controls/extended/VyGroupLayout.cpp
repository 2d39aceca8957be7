#include "controls/extended/VyGroupLayout.h"

#include <algorithm>

namespace Vy {

std::wstring GroupItemShownCaption(const std::wstring& caption) {
  std::wstring out;
  out.reserve(caption.size());
  const size_t n = caption.size();
  for (size_t i = 0; i < n; ++i) {
    if (caption[i] == L'&' && i + 1 < n) {
      // A pair is one ampersand; the character after the pair is read afresh.
      if (caption[i + 1] == L'&') {
        out += L'&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

bool SeparatorDrawn(const std::vector<TGroupItemEntry>& items, int index, int firstShown) {
  const int count = int(items.size());
  if (index == firstShown || index == count - 1) return false;
  for (int j = index - 1; j >= firstShown && j >= 0; --j) {
    if (!items[size_t(j)].Visible) continue;
    return !IsSeparatorCaption(items[size_t(j)].Caption);
  }
  return true;
}

TGroupItemsWalk WalkGroupItems(const std::vector<TGroupItemEntry>& items, int firstShown, const TGroupItemsMetrics& m,
                               const TCaptionMeasure& measure) {
  TGroupItemsWalk walk;
  if (items.empty()) {
    walk.ContentHeight = m.CaptionHeight;
    return walk;
  }
  const int pad = ItemPad(m);
  const int count = int(items.size());
  int top = m.CaptionHeight + 4;
  int bottom = top;
  for (int i = std::max(firstShown, 0); i < count; ++i) {
    const TGroupItemEntry& item = items[size_t(i)];
    if (!item.Visible) continue;
    TGroupItemPlace place;
    place.Index = i;
    place.Top = top;
    if (m.Style == isLarge) {
      place.TextHeight = measure(i, 8, m.Width - 8);
      place.Height = std::max(2 * pad + place.TextHeight, m.ItemHeight) + m.ImageRow + 8;
      bottom = top + place.Height;
    } else {
      place.Separator = IsSeparatorCaption(item.Caption);
      if (place.Separator && !SeparatorDrawn(items, i, firstShown)) continue;
      place.TextHeight = measure(i, SmallItemLeft(m, item.IndentLevel), m.Width - 8);
      place.Height = std::max(2 * pad + place.TextHeight, m.ItemHeight);
      bottom = top + 2 * pad + place.TextHeight + 4;
    }
    top += place.Height;
    walk.Places.push_back(place);
  }
  walk.ContentHeight = walk.Places.empty() ? m.CaptionHeight + 4 : bottom;
  return walk;
}

int OutlookOpenGroup(const std::vector<TGroupSlot>& groups) {
  for (int i = int(groups.size()) - 1; i >= 0; --i) {
    if (groups[size_t(i)].Opened) return i;
  }
  return 0;
}

std::vector<TRect> PositionGroups(TVyGroupBarStyle style, const std::vector<TGroupSlot>& groups, int border,
                                  int clientWidth, int clientHeight, int scrollPosition) {
  std::vector<TRect> out;
  out.reserve(groups.size());
  const int width = clientWidth - 2 * border;
  const bool outlook = style == gbsOutlook;
  const int open = outlook ? OutlookOpenGroup(groups) : -1;
  int captions = 0;
  if (outlook) {
    for (size_t i = 0; i < groups.size(); ++i) {
      if (groups[i].Visible && int(i) != open) captions += groups[i].CaptionHeight + border;
    }
  }
  int top = outlook ? 0 : -scrollPosition;
  for (size_t i = 0; i < groups.size(); ++i) {
    const TGroupSlot& g = groups[i];
    if (!g.Visible) {
      out.push_back(Bounds(border, top, width, 0));
      continue;
    }
    int height;
    if (outlook) height = int(i) == open ? std::max(0, clientHeight - captions - 2 * border) : g.CaptionHeight;
    else height = (style == gbsCategoryView && !g.Opened) ? g.CaptionHeight : g.OpenHeight;
    out.push_back(Bounds(border, top + border, width, height));
    top = out.back().Bottom;
  }
  return out;
}

int GroupsContentHeight(int border, int firstTop, int lastBottom, int groupCount) {
  if (groupCount == 0) return 2 * border;
  return 2 * border + lastBottom - firstTop;
}

int ClampScrollPosition(int position, int min, int max, int page) {
  position = std::min(position, max + min - page);
  return std::max(position, min);
}

int FillGapDelta(int firstTop, int lastBottom, int border, int clientHeight, int contentHeight) {
  if (lastBottom + border >= clientHeight || firstTop >= 0) return 0;
  if (contentHeight >= clientHeight) return clientHeight - lastBottom - border;
  return border - firstTop;
}

int ScrollInViewDelta(int top, int bottom, int border, int clientHeight) {
  if (bottom - top > clientHeight) return border - top;
  if (bottom + border > clientHeight && top > 0) return clientHeight - bottom - border;
  if (top < 0) return border - top;
  return 0;
}

namespace {

const char* const kOpened[kCaptionButtonSize] = {
    "....bRRRRRb....", "...RrFFFFFrR...", "..RFFFFFFFFFR..", ".RFFFFFCFFFFFR.", "brFFFFCCCFFFFrb",
    "RFFFFCCFCCFFFFR", "RFFFCCFFFCCFFFR", "RFFFFFFCFFFFFFR", "RFFFFFCCCFFFFFR", "RFFFFCCFCCFFFFR",
    "brFFCCFFFCCFFrb", ".RFFFFFFFFFFFR.", "..RFFFFFFFFFR..", "...RrFFFFFrR...", "....bRRRRRb....",
};
const char* const kClosed[kCaptionButtonSize] = {
    "....bRRRRRb....", "...RrFFFFFrR...", "..RFFFFFFFFFR..", ".RFFFFFFFFFFFR.", "brFFCCFFFCCFFrb",
    "RFFFFCCFCCFFFFR", "RFFFFFCCCFFFFFR", "RFFFFFFCFFFFFFR", "RFFFCCFFFCCFFFR", "RFFFFCCFCCFFFFR",
    "brFFFFCCCFFFFrb", ".RFFFFFCFFFFFR.", "..RFFFFFFFFFR..", "...RrFFFFFrR...", "....bRRRRRb....",
};

}  // namespace

const char* const* CaptionButtonPixels(bool opened) { return opened ? kOpened : kClosed; }

}  // namespace Vy
