// The arithmetic of the framed lists that needs no window: tab stops and cells of the
// tabbed list box, the check list's toggle order and stream lines, wheel steps, the
// scrollable width, the selection after a deletion, the filling last column and the
// order of a column sort.
#include <gtest/gtest.h>

#include "controls/extended/VyCheckListData.h"
#include "controls/extended/VyListMetrics.h"
#include "controls/extended/VyTabStops.h"

#include <climits>
#include <string>
#include <vector>

using namespace Vy;

namespace {

using TInts = std::vector<int>;

TEST(TabStops, DialogUnitsAndPixelsNeverOverflow) {
  struct Case {
    TInts stops;
    int base;
    TInts dialog;
    TInts pixels;
  } cases[] = {
      {{}, 6, {}, {}},
      {{10, -20}, 6, {40, -80}, {60, -120}},
      {{2147483647, -2147483647}, 7, {INT_MAX, INT_MIN}, {INT_MAX, INT_MIN}},
      {{536870912}, 1, {INT_MAX}, {536870912}},
      {{5}, 0, {20}, {5}},  // a font too small to measure counts one pixel a character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TabStopsInDialogUnits(c.stops), c.dialog);
    EXPECT_EQ(TabStopsInPixels(c.stops, c.base), c.pixels);
  }
}

TEST(TabStops, OnlyTheFirstThousandAreUsed) {
  const TInts many(1500, 3);
  EXPECT_EQ(TabStopsInDialogUnits(many).size(), 1000u);
  EXPECT_EQ(TabStopsInPixels(many, 6).size(), 1000u);
}

TEST(TabStops, SafeBaseUnitsIsNeverZero) {
  EXPECT_EQ(SafeBaseUnits(0), 1);
  EXPECT_EQ(SafeBaseUnits(-3), 1);
  EXPECT_EQ(SafeBaseUnits(7), 7);
}

TEST(TabStops, AutomaticStopsFromTheWidestColumnTexts) {
  EXPECT_EQ(AutomaticTabStops({}, 6), TInts{});
  EXPECT_EQ(AutomaticTabStops({60}, 6), TInts{14}) << "W div base + 4";
  EXPECT_EQ(AutomaticTabStops({60, 13}, 6), (TInts{14, 20})) << "each after the one before";
  EXPECT_EQ(AutomaticTabStops({60}, 0), TInts{64}) << "no division by zero";
  EXPECT_EQ(AutomaticTabStops({INT_MAX, INT_MAX}, 1), (TInts{INT_MAX, INT_MAX}));
}

TEST(TabStops, ColumnTextsOfALine) {
  EXPECT_EQ(ColumnTexts(L"a\tbb\tccc", 2), (std::vector<std::wstring>{L"a", L"bb"}));
  EXPECT_EQ(ColumnTexts(L"plain", 2), (std::vector<std::wstring>{L"plain", L"plain"}));
  EXPECT_EQ(ColumnTexts(L"a\tb", 3), (std::vector<std::wstring>{L"a", L"b", L"b"}));
  EXPECT_EQ(TabCount(L"a\tb\t"), 2);
}

TEST(TabStops, Cells) {
  struct Case {
    const wchar_t* line;
    int col;
    bool found;
    const wchar_t* text;
  } cases[] = {
      {L"a\tbb\tccc", 0, true, L"a"}, {L"a\tbb\tccc", 1, true, L"bb"}, {L"a\tbb\tccc", 2, true, L"ccc"},
      {L"a\tbb\tccc", 3, false, L""}, {L"plain", 1, false, L""},       {L"plain", -1, false, L""},
      {L"a\t", 1, true, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.col);
    const std::wstring line = c.line;
    size_t start = 0, end = 0;
    ASSERT_EQ(FindCell(line, c.col, start, end), c.found);
    if (c.found) EXPECT_EQ(line.substr(start, end - start), c.text);
  }
}

TEST(TabStops, FromTheSectionsOfAHeader) {
  // Sections 60, 40, 100 px, 10 px a character: stops at the right edge of each.
  EXPECT_EQ(HeaderTabStops({1, 1, 1}, {60, 40, 100}, 10, 1, 300), (TInts{7, 11, 1})) << "the last section only fills";
  EXPECT_EQ(HeaderTabStops({1, -1}, {60, 40, 100}, 10, 1, 300), (TInts{7, -19})) << "right-aligned at section i+1";
  EXPECT_EQ(HeaderTabStops({-1}, {60}, 10, 0, 300), (TInts{-29})) << "past the last: the list's width";
  EXPECT_EQ(HeaderTabStops({1}, {60, 40}, 0, 1, 300), (TInts{61}));
}

TEST(CheckListData, ToggleCycles) {
  struct Case {
    bool allowGrayed;
    std::vector<int> states;  // from unchecked, each toggle
  } cases[] = {
      {false, {1, 0, 1, 0}},
      {true, {2, 1, 0, 2}},
  };
  for (const Case& c : cases) {
    int state = 0;
    for (int expected : c.states) {
      state = NextCheckState(state, c.allowGrayed);
      EXPECT_EQ(state, expected) << c.allowGrayed;
    }
  }
  EXPECT_EQ(NextCheckState(2, false), 1) << "grayed -> checked";
}

TEST(CheckListData, StreamLinesRoundTripAndBadOnesStayText) {
  const TCheckListLine lines[] = {
      {true, 1, L"Remote"}, {false, 2, L"Grey"}, {true, 0, L""}, {false, 0, L"&1 2 looks like a line"}};
  for (const TCheckListLine& line : lines) EXPECT_EQ(ParseCheckListLine(FormatCheckListLine(line)), line);
  EXPECT_EQ(FormatCheckListLine({false, 2, L"x"}), L"&0 2 x");
  struct Bad {
    const wchar_t* line;
  } bad[] = {{L"&"}, {L"&1"}, {L"&1 1"}, {L"&1 7 seven"}, {L"&1 x text"}, {L"&1-1 text"}, {L"plain"}};
  for (const Bad& b : bad) EXPECT_EQ(ParseCheckListLine(b.line), (TCheckListLine{true, 0, b.line})) << b.line;
  EXPECT_EQ(ParseCheckListLine(L"&0 1 "), (TCheckListLine{false, 1, L""}));
  EXPECT_TRUE(IsCheckState(2));
  EXPECT_FALSE(IsCheckState(3));
  EXPECT_FALSE(IsCheckState(-1));
}

TEST(ListMetrics, WheelLines) {
  EXPECT_EQ(WheelLines(3, 10), 3);
  EXPECT_EQ(WheelLines(-1, 10), 10) << "one screen at a time";
  EXPECT_EQ(WheelLines(-1, 0), 1);
  EXPECT_EQ(WheelLines(0, 10), 0);
}

TEST(ListMetrics, ExtentAndGroupsAndDeletion) {
  EXPECT_EQ(ClampExtent(-5), 0);
  EXPECT_EQ(ClampExtent(70000), 65535);
  EXPECT_EQ(ClampExtent(1234), 1234);
  EXPECT_TRUE(HasGroupPrefix(L"//Media", L"//"));
  EXPECT_FALSE(HasGroupPrefix(L"/Media", L"//"));
  EXPECT_FALSE(HasGroupPrefix(L"--x", L"--X")) << "letter case counts";
  EXPECT_TRUE(HasGroupPrefix(L"anything", L""));
  struct Case {
    int selected, count, after;
  } cases[] = {{1, 3, 1}, {3, 3, 2}, {-1, 3, -1}, {0, 0, -1}};
  for (const Case& c : cases) EXPECT_EQ(IndexAfterDelete(c.selected, c.count), c.after);
}

TEST(ListMetrics, LastColumnWidth) {
  EXPECT_EQ(LastColumnWidth(300, 100, false, 17), 200);
  EXPECT_EQ(LastColumnWidth(300, 100, true, 17), 183) << "a scroll bar's width kept free";
  EXPECT_EQ(LastColumnWidth(300, 297, false, 17), 5) << "3 left: 5";
  EXPECT_EQ(LastColumnWidth(300, 300, false, 17), -1);
  EXPECT_EQ(LastColumnWidth(300, 400, false, 17), -1);
}

TEST(ListMetrics, ColumnSortOrderPutsEmptyTextsLast) {
  EXPECT_LT(CompareColumnTexts(L"apple", L"Banana"), 0) << "letter case ignored";
  EXPECT_EQ(CompareColumnTexts(L"ABC", L"abc"), 0);
  EXPECT_GT(CompareColumnTexts(L"", L"zeta"), 0);
  EXPECT_LT(CompareColumnTexts(L"zeta", L""), 0);
  EXPECT_EQ(CompareColumnTexts(L"", L""), 0);
}

}  // namespace
