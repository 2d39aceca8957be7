// The arithmetic of the framed lists that needs no window: wheel steps, the
// scrollable width, group headers, the selection after a deletion, the last column of a
// report that fills the width, and the order of a column sort.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace Vy {

// Lines of one wheel notch in a window that shows `pageLines` whole lines: the system's
// setting, or a whole page when it asks for one screen at a time (-1); a page is at
// least one line.
int WheelLines(int setting, int pageLines);

// The widest item as a horizontal extent: LB_SETHORIZONTALEXTENT takes a 16-bit width.
int ClampExtent(int64_t width);

// A group header's text begins with the prefix exactly (letter case counts); with an
// empty prefix every text is one.
bool HasGroupPrefix(std::wstring_view text, std::wstring_view prefix);

// The item to select after item `deleted` went from a list that now has `count` items,
// when `selected` was selected: the same index, or the one before when it now lies past
// the end; -1 (select nothing) when nothing was selected or the list became empty.
int IndexAfterDelete(int selected, int count);

// The width the last column of a report takes: the client width left after the others
// (less a vertical scroll bar's width when `keepScrollBar`), 5 when 4 or less would be
// left; -1 to leave it alone when the others already take the whole width.
int LastColumnWidth(int clientWidth, int otherColumns, bool keepScrollBar, int scrollBarWidth);

// The order of two item texts in a column sort: letter case ignored, empty texts last
// in ascending order.
int CompareColumnTexts(const std::wstring& a, const std::wstring& b);

}  // namespace Vy
