// Geometry of the group bar as plain arithmetic: where each group goes in each style,
// how far the bar may scroll, the walk down a group's items that both the layout and
// the painting take (so an item is drawn exactly where the group's height allowed for
// it), the separator rule, item captions as drawn, and the caption button's pixels.
// Text is measured by the caller (a device context), handed in as a function.
#pragma once
#include "vcl/TypInfo.h"
#include "vcl/Types.h"

#include <functional>
#include <string>
#include <vector>

namespace Vy {

QORN_ENUM(TVyGroupBarStyle, gbsCategoryView, gbsTaskList, gbsOutlook);
QORN_ENUM(TVyItemStyle, isSmall, isLarge);

// --- item captions

// A caption of exactly "-" is a separator line, not an item.
inline bool IsSeparatorCaption(const std::wstring& caption) { return caption == L"-"; }
// The caption as drawn (without prefix processing): "&&" gives one "&", any other "&"
// is dropped, and the last character always stays.
std::wstring GroupItemShownCaption(const std::wstring& caption);

// --- the items of one group

struct TGroupItemEntry {
  std::wstring Caption;
  bool Visible = true;
  int IndentLevel = 0;
};

// Whether the separator at `index` is drawn: not when it is the first shown item or the
// last item, nor when the nearest visible item before it (back to the first shown one)
// is a separator too.
bool SeparatorDrawn(const std::vector<TGroupItemEntry>& items, int index, int firstShown);

struct TGroupItemsMetrics {
  TVyItemStyle Style = isSmall;
  int CaptionHeight = 20;
  int ItemHeight = 20;
  int LineHeight = 13;  // the height of "Pp" in the item font
  int Width = 0;        // the group's width
  int ItemLeft = 8;     // where small captions start (GetItemLeft)
  int ItemIndent = 20;  // per IndentLevel step
  int ImageRow = 34;    // a large item's image row: image height + 2
};

// The text height of item `index`'s caption broken into lines within [left, right)
// (centred for large items), in that item's font.
using TCaptionMeasure = std::function<int(int index, int left, int right)>;

struct TGroupItemPlace {
  int Index = 0;       // in the group's item list
  int Top = 0;         // where the item starts
  int Height = 0;      // the room it takes
  int TextHeight = 0;  // of its caption as measured
  bool Separator = false;
};

struct TGroupItemsWalk {
  std::vector<TGroupItemPlace> Places;  // the items that take room, top to bottom
  int ContentHeight = 0;                // what an open group with these items needs
};

// (ItemHeight - LineHeight) / 2, toward zero.
inline int ItemPad(const TGroupItemsMetrics& m) { return (m.ItemHeight - m.LineHeight) / 2; }
// Left edge of a small caption at an indent level.
inline int SmallItemLeft(const TGroupItemsMetrics& m, int indentLevel) {
  return m.ItemLeft + m.ItemIndent * indentLevel;
}
// Walks the visible items from `firstShown` on, starting below the caption. The content
// height ends below the last item walked, its image row included (large items).
TGroupItemsWalk WalkGroupItems(const std::vector<TGroupItemEntry>& items, int firstShown, const TGroupItemsMetrics& m,
                               const TCaptionMeasure& measure);

// --- the groups of a bar

struct TGroupSlot {
  bool Visible = true;
  bool Opened = true;
  int CaptionHeight = 20;
  int OpenHeight = 50;  // an open group: OpenedHeight without items, else its content height
};

// The open group of an outlook bar: the last one opened (0 when none is).
int OutlookOpenGroup(const std::vector<TGroupSlot>& groups);

// Each group's bounds in the bar's client area; border = GroupBorderSize. A hidden group
// gets no height. In the outlook style the open group takes what the captions leave,
// never less than 0, and the position does not scroll.
std::vector<TRect> PositionGroups(TVyGroupBarStyle style, const std::vector<TGroupSlot>& groups, int border,
                                  int clientWidth, int clientHeight, int scrollPosition);

// --- scrolling (category view and task list)

// How high the groups stand, with their border above and below.
int GroupsContentHeight(int border, int firstTop, int lastBottom, int groupCount);
// A position within [min, max - page + min]; when the content is smaller than the page
// that interval is empty and the position ends at min.
int ClampScrollPosition(int position, int min, int max, int page);
// How far to move the groups down (> 0) to close a gap below the last one.
int FillGapDelta(int firstTop, int lastBottom, int border, int clientHeight, int contentHeight);
// How far to move the groups (down > 0) to bring an open group into view.
int ScrollInViewDelta(int top, int bottom, int border, int clientHeight);

// --- the category view's round caption button, 15 x 15: R ring, r ring blended with
// the fill, b ring blended with what lies below, F fill, C chevron, '.' untouched.
inline constexpr int kCaptionButtonSize = 15;
const char* const* CaptionButtonPixels(bool opened);

}  // namespace Vy
