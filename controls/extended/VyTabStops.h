// Tab stops and columns of a tabbed list box, without a window: stops are kept in
// average character widths (negative: right-aligned at the absolute value); the list
// box takes them in dialog units (four to a character width) and draws with them in
// pixels. Every product is computed in 64 bits and held to the int range, so no stop
// a form may hold overflows.
#pragma once
#include <string>
#include <vector>

namespace Vy {

// The list box takes at most this many stops.
inline constexpr int kMaxTabStops = 1000;

// The stops in dialog units for LB_SETTABSTOPS: the first kMaxTabStops, times four.
std::vector<int> TabStopsInDialogUnits(const std::vector<int>& stops);
// The stops in pixels for a font whose average character is `baseUnits` wide.
std::vector<int> TabStopsInPixels(const std::vector<int>& stops, int baseUnits);
// A font's average character width as a divisor: never below 1, however small the font.
int SafeBaseUnits(int averageCharWidth);

// The number of tab characters in a line.
int TabCount(const std::wstring& line);
// The texts of columns 0 .. columns-1 that measure a line for the automatic stops: each
// column takes the text before the line's first tab and the line goes on after it; a
// line without a tab gives its whole rest to every remaining column.
std::vector<std::wstring> ColumnTexts(const std::wstring& line, int columns);
// The automatic stops from the widest text of each column in pixels: each stop lies
// that many average characters (plus 4) after the one before.
std::vector<int> AutomaticTabStops(const std::vector<int>& widestPerColumn, int baseUnits);

// Where column `col` of a line lies: [start, end) up to the next tab or the end of the
// line. False when the line has fewer than `col` tabs or col is negative.
bool FindCell(const std::wstring& line, int col, size_t& start, size_t& end);

// The stops from the section widths of a header: stop i moves to the right edge of
// section i (in average characters, plus 1); a right-aligned (negative) stop to the
// right edge of section i+1, or, past the last section, to `listWidth`.
// `sectionsBeyond` is how many sections the header shows past those that carry stops
// (1 for THeader, whose last section only fills).
std::vector<int> HeaderTabStops(const std::vector<int>& stops, const std::vector<int>& sectionWidths, int baseUnits,
                                int sectionsBeyond, int listWidth);

}  // namespace Vy
