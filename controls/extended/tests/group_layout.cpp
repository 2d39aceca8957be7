// The group bar's geometry as tables: captions as drawn, the separator rule, the walk
// down a group's items, where groups go in each style, and the scroll sums.
#include <gtest/gtest.h>

#include "controls/extended/VyGroupLayout.h"

#include <string>
#include <vector>

using namespace Vy;

namespace {

TEST(GroupLayout, ItemCaptionsDropSingleAmpersandsAndKeepPairsAsOne) {
  const struct {
    const wchar_t* raw;
    const wchar_t* shown;
  } cases[] = {
      {L"a&&b", L"a&b"}, {L"&File", L"File"},  {L"a&", L"a&"}, {L"&&&x", L"&x"},
      {L"a&&", L"a&"},   {L"Plain", L"Plain"}, {L"&", L"&"},   {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(GroupItemShownCaption(c.raw), c.shown) << "raw: " << std::wstring(c.raw).size();
}

std::vector<TGroupItemEntry> Items(std::initializer_list<const wchar_t*> captions) {
  std::vector<TGroupItemEntry> items;
  for (const wchar_t* c : captions) items.push_back({c, true, 0});
  return items;
}

TEST(GroupLayout, SeparatorsTakeRoomOnlyBetweenItems) {
  const struct {
    std::vector<TGroupItemEntry> items;
    int index;
    int firstShown;
    bool drawn;
  } cases[] = {
      {Items({L"a", L"-", L"b"}), 1, 0, true},
      {Items({L"-", L"a", L"b"}), 0, 0, false},                            // the first shown item
      {Items({L"a", L"b", L"-"}), 2, 0, false},                            // the last item
      {Items({L"a", L"-", L"-", L"b"}), 2, 0, false},                      // right after another separator
      {Items({L"a", L"-", L"b"}), 1, 1, false},                            // first shown after scrolling
      {{{L"a", false, 0}, {L"-", true, 0}, {L"b", true, 0}}, 1, 0, true},  // only hidden items before it
      {{{L"-", true, 0}, {L"a", false, 0}, {L"-", true, 0}, {L"b", true, 0}}, 2, 0, false},  // a hidden item between
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(SeparatorDrawn(cases[i].items, cases[i].index, cases[i].firstShown), cases[i].drawn) << "case " << i;
}

// Captions of more than ten characters take two lines of 13 pixels.
int FakeMeasure(const std::vector<TGroupItemEntry>& items, int index) {
  return items[size_t(index)].Caption.size() > 10 ? 26 : 13;
}

TEST(GroupLayout, SmallItemsStackBelowTheCaptionAndSkippedSeparatorsTakeNoRoom) {
  const auto items = Items({L"Winamp", L"-", L"-", L"A rather long caption", L"Volume"});
  TGroupItemsMetrics m;
  m.CaptionHeight = 20;
  m.ItemHeight = 20;
  m.LineHeight = 13;
  m.Width = 160;
  const auto walk = WalkGroupItems(items, 0, m, [&](int i, int, int) { return FakeMeasure(items, i); });
  ASSERT_EQ(walk.Places.size(), 4u) << "the second separator in a row is skipped";
  const int pad = (20 - 13) / 2;
  const int tops[] = {24, 44, 64, 64 + 2 * pad + 26};
  const int indexes[] = {0, 1, 3, 4};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(walk.Places[i].Top, tops[i]) << i;
    EXPECT_EQ(walk.Places[i].Index, indexes[i]) << i;
  }
  EXPECT_EQ(walk.ContentHeight, tops[3] + 2 * pad + 13 + 4);
}

TEST(GroupLayout, LargeItemsIncludeTheirImageRowInTheGroupHeight) {
  const auto items = Items({L"Winamp", L"Volume"});
  TGroupItemsMetrics m;
  m.Style = isLarge;
  m.ImageRow = 34;
  m.Width = 160;
  const auto walk = WalkGroupItems(items, 0, m, [&](int i, int, int) { return FakeMeasure(items, i); });
  ASSERT_EQ(walk.Places.size(), 2u);
  const TGroupItemPlace& last = walk.Places.back();
  // The caption of a large item sits below its image row; the group must reach past it.
  const int captionBottom = last.Top + m.ImageRow + ItemPad(m) + last.TextHeight;
  EXPECT_GE(walk.ContentHeight, captionBottom);
  EXPECT_EQ(walk.ContentHeight, last.Top + last.Height);
}

TEST(GroupLayout, GroupHeightsWithoutItemsAndWithHiddenOnes) {
  TGroupItemsMetrics m;
  EXPECT_EQ(WalkGroupItems({}, 0, m, nullptr).ContentHeight, m.CaptionHeight);
  const std::vector<TGroupItemEntry> hidden{{L"a", false, 0}};
  EXPECT_EQ(WalkGroupItems(hidden, 0, m, nullptr).ContentHeight, m.CaptionHeight + 4);
  const auto items = Items({L"a", L"b", L"c"});
  const auto walk = WalkGroupItems(items, 2, m, [](int, int, int) { return 13; });
  ASSERT_EQ(walk.Places.size(), 1u) << "the walk starts at the first shown item";
  EXPECT_EQ(walk.Places[0].Index, 2);
}

TEST(GroupLayout, GroupPlacesPerStyle) {
  const std::vector<TGroupSlot> three{{true, true, 20, 100}, {true, false, 20, 60}, {true, false, 24, 80}};
  const struct {
    TVyGroupBarStyle style;
    int border, clientHeight, scroll;
    std::vector<TRect> expected;
  } cases[] = {
      // Outlook: the open group fills what the other captions leave.
      {gbsOutlook, 0, 300, 0, {Rect(0, 0, 160, 256), Rect(0, 256, 160, 276), Rect(0, 276, 160, 300)}},
      // A bar shorter than the captions: the open group gets no height, never a negative one.
      {gbsOutlook, 0, 30, 0, {Rect(0, 0, 160, 0), Rect(0, 0, 160, 20), Rect(0, 20, 160, 44)}},
      // Category view: closed groups are their caption, each border-size apart, scrolled.
      {gbsCategoryView, 8, 300, 10, {Rect(8, -2, 152, 98), Rect(8, 106, 152, 126), Rect(8, 134, 152, 158)}},
      // Task list: always open.
      {gbsTaskList, 4, 300, 0, {Rect(4, 4, 156, 104), Rect(4, 108, 156, 168), Rect(4, 172, 156, 252)}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PositionGroups(c.style, three, c.border, 160, c.clientHeight, c.scroll), c.expected)
        << "style " << c.style << " height " << c.clientHeight;
  }
}

TEST(GroupLayout, OutlookOpensTheLastOpenedGroupAndHiddenGroupsTakeNoRoom) {
  const std::vector<TGroupSlot> groups{{true, true, 20, 50}, {false, false, 20, 50}, {true, true, 20, 50}};
  EXPECT_EQ(OutlookOpenGroup(groups), 2);
  EXPECT_EQ(OutlookOpenGroup({{true, false, 20, 50}, {true, false, 20, 50}}), 0) << "none open: the first";
  const auto r = PositionGroups(gbsOutlook, groups, 0, 100, 200, 0);
  EXPECT_EQ(r[0], Rect(0, 0, 100, 20));
  EXPECT_EQ(r[1].Height(), 0);
  EXPECT_EQ(r[2], Rect(0, 20, 100, 200));
}

TEST(GroupLayout, ScrollSums) {
  EXPECT_EQ(ClampScrollPosition(50, 0, 400, 300), 50);
  EXPECT_EQ(ClampScrollPosition(500, 0, 400, 300), 100);
  EXPECT_EQ(ClampScrollPosition(-5, 0, 400, 300), 0);
  // Content smaller than the page: the interval is empty, the position ends at 0.
  EXPECT_EQ(ClampScrollPosition(10, 0, 120, 300), 0);
  EXPECT_EQ(GroupsContentHeight(8, -40, 500, 3), 556);
  EXPECT_EQ(GroupsContentHeight(8, 0, 0, 0), 16);
  // A gap below the last group while the first is scrolled away: close it.
  EXPECT_EQ(FillGapDelta(-100, 250, 8, 300, 400), 42);
  EXPECT_EQ(FillGapDelta(-100, 150, 8, 300, 200), 108) << "content shorter than the bar: back to the top";
  EXPECT_EQ(FillGapDelta(0, 150, 8, 300, 200), 0);
  EXPECT_EQ(ScrollInViewDelta(250, 400, 8, 300), -108) << "sticks out below";
  EXPECT_EQ(ScrollInViewDelta(-30, 100, 8, 300), 38) << "starts above";
  EXPECT_EQ(ScrollInViewDelta(-30, 400, 8, 300), 38) << "taller than the bar: its top in view";
  EXPECT_EQ(ScrollInViewDelta(20, 200, 8, 300), 0);
}

}  // namespace
