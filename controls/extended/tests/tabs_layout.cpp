// The tab strip's geometry on fixed caption sizes: tab sizes per style, placement along
// the strip, rows and their turning, the mapping per orientation and the card.
#include <gtest/gtest.h>

#include "controls/extended/VyTabsLayout.h"

#include <vector>

using namespace Vy;

namespace {

std::vector<TVyTabBox> Tabs(std::vector<TPoint> contents) {
  std::vector<TVyTabBox> tabs;
  for (TPoint c : contents) tabs.push_back({c, true, {}, 0});
  return tabs;
}

const TPoint kSample{7, 13};  // the extent of "A"

TEST(TabsLayout, OuterSizePerStyle) {
  struct Case {
    TVyTabStyle style;
    TVyTabOrientation orientation;
    TPoint outer;
  } cases[] = {
      {TVyTabStyle::tsSingleSlant, TVyTabOrientation::toTop, {2 * 9 + 40 + 2 + 4, 19}},
      {TVyTabStyle::tsDoubleSlant, TVyTabOrientation::toTop, {2 * 15 + 40 + 2 + 4, 19}},
      {TVyTabStyle::tsCutCorner, TVyTabOrientation::toTop, {40 + 8 + 12, 20}},
      {TVyTabStyle::tsCutCorner, TVyTabOrientation::toLeft, {40 + 7 + 6, 23}},
      {TVyTabStyle::tsRoundCorners, TVyTabOrientation::toBottom, {56, 19}},
  };
  for (const Case& c : cases) {
    TVyTabLayoutSettings s;
    s.Style = c.style;
    s.Orientation = c.orientation;
    EXPECT_EQ(TabOuterSize(s, {40, 13}), c.outer) << int(c.style) << "/" << int(c.orientation);
  }
  TVyTabLayoutSettings fixed;
  fixed.TabHeight = 20;
  fixed.TabWidth = 90;
  EXPECT_EQ(TabOuterSize(fixed, {40, 13}), (TPoint{90, 20})) << "set sizes replace the computed ones";
}

TEST(TabsLayout, OneRowSlantedTabsOverlapAndCutCornersLeaveAGap) {
  TVyTabLayoutSettings s;
  s.Style = TVyTabStyle::tsCutCorner;
  auto tabs = Tabs({{40, 13}, {20, 13}, {40, 13}});
  tabs[1].Visible = false;
  const TVyTabLayout l = LayoutTabs(s, tabs, 400, kSample);
  EXPECT_EQ(l.FixedDimension, 20);
  EXPECT_EQ(l.RowCount, 1);
  EXPECT_EQ(tabs[0].Rect, Rect(0, 0, 60, 20));
  EXPECT_EQ(tabs[1].Rect, TRect{}) << "a hidden tab takes no place";
  EXPECT_EQ(tabs[2].Rect, Rect(62, 0, 122, 20));

  s.Style = TVyTabStyle::tsSingleSlant;
  s.Margin = 4;
  auto slanted = Tabs({{40, 13}, {40, 13}});
  const TVyTabLayout k = LayoutTabs(s, slanted, 400, kSample);
  const int len = 2 * 9 + 40 + 6, slant = k.FixedDimension / 2;
  EXPECT_EQ(slanted[0].Rect.Left, 4);
  EXPECT_EQ(slanted[1].Rect.Left, 4 + len - slant + 1) << "the next tab leans over this one";
}

TEST(TabsLayout, AShortCaptionTakesTheSampleSizeAndALongOneIsCutToTheStrip) {
  TVyTabLayoutSettings s;
  s.Style = TVyTabStyle::tsCutCorner;
  auto tabs = Tabs({{0, 0}, {900, 13}});
  LayoutTabs(s, tabs, 200, kSample);
  EXPECT_EQ(tabs[0].Rect.Width(), 7 + 8 + 12);
  EXPECT_EQ(tabs[1].Rect.Width(), 200);
}

TEST(TabsLayout, NoTabsStillGiveARowAndAWholeCard) {
  TVyTabLayoutSettings s;
  s.MultiLine = true;
  s.AlignTabs = true;
  std::vector<TVyTabBox> none;
  const TVyTabLayout l = LayoutTabs(s, none, 300, kSample);
  EXPECT_EQ(l.RowCount, 1);
  EXPECT_GT(l.FixedDimension, 0);
  EXPECT_EQ(CardRect(s, l, 0, 300, 150, false), Rect(0, 0, 299, 149));
  std::vector<TVyTabBox> tiny = Tabs({{5, 13}});
  EXPECT_NO_THROW(LayoutTabs(s, tiny, 0, kSample)) << "a strip of no length";
}

TEST(TabsLayout, MultiLineRowsTurnTheSelectedRowToTheFront) {
  TVyTabLayoutSettings s;
  s.Style = TVyTabStyle::tsCutCorner;
  s.MultiLine = true;
  auto tabs = Tabs({{32, 13}, {32, 13}, {32, 13}});  // 52 px each on a 100 px strip
  const TVyTabLayout l = LayoutTabs(s, tabs, 100, kSample);
  ASSERT_EQ(l.RowCount, 3);
  const int t = StripThickness(s, l);
  EXPECT_EQ(t, 20 + 15 * 2);
  EXPECT_EQ(tabs[0].Row, 0);
  EXPECT_EQ(tabs[0].Rect.Top, t - 20) << "the front row lies on the card";
  EXPECT_EQ(tabs[2].Row, 2);
  EXPECT_EQ(tabs[2].Rect.Top, 0);
  BringRowToFront(s, l, tabs, 2);
  EXPECT_EQ(tabs[2].Row, 0);
  EXPECT_EQ(tabs[2].Rect.Top, t - 20);
  EXPECT_EQ(tabs[0].Row, 1);
  EXPECT_EQ(tabs[1].Row, 2);
  EXPECT_EQ(tabs[1].Rect.Top, 0);
  EXPECT_EQ(tabs[2].Rect.Left, 0) << "along the strip nothing moves";
}

TEST(TabsLayout, AlignTabsSharesTheFreeLengthOverTheRow) {
  TVyTabLayoutSettings s;
  s.Style = TVyTabStyle::tsCutCorner;
  s.MultiLine = true;
  s.AlignTabs = true;
  auto wide = Tabs({{12, 13}, {12, 13}, {12, 13}});  // 32 px each
  LayoutTabs(s, wide, 105, kSample);
  // 105 available, 32 + 2 + 32 + 2 + 32 = 100 used: 5 px over 3 tabs, 2, 2 and 1.
  EXPECT_EQ(wide[0].Rect, Rect(0, 0, 34, 20));
  EXPECT_EQ(wide[1].Rect, Rect(36, 0, 70, 20));
  EXPECT_EQ(wide[2].Rect, Rect(72, 0, 105, 20));
}

TEST(TabsLayout, StripToClientPerOrientation) {
  const TRect area = Rect(10, 20, 110, 220);
  struct Case {
    TVyTabOrientation o;
    TPoint client;
  } cases[] = {
      {TVyTabOrientation::toTop, {10 + 5 - 3, 20 + 2}},
      {TVyTabOrientation::toLeft, {10 + 2, 220 + 3 - 5}},
      {TVyTabOrientation::toBottom, {10 + 5 - 3, 220 - 2}},
      {TVyTabOrientation::toRight, {110 - 2, 5 + 20 - 3}},
  };
  for (const Case& c : cases) {
    TVyTabLayoutSettings s;
    s.Orientation = c.o;
    EXPECT_EQ(StripToClient(s, {5, 2}, area, 3), c.client) << int(c.o);
  }
  TVyTabLayoutSettings bottom;
  bottom.Orientation = TVyTabOrientation::toBottom;
  EXPECT_EQ(StripRectToClient(bottom, Rect(0, 0, 50, 20), area, 0), Rect(10, 200, 60, 220)) << "normalised";

  const Case reverse[] = {
      {TVyTabOrientation::toTop, {5 + 110 - 3, 20 + 2}},
      {TVyTabOrientation::toLeft, {10 + 2, 3 + 20 - 5}},
      {TVyTabOrientation::toBottom, {5 + 110 - 3, 220 - 2}},
      {TVyTabOrientation::toRight, {110 - 2, 220 + 5 - 3}},
  };
  for (const Case& c : reverse) {
    TVyTabLayoutSettings s;
    s.Orientation = c.o;
    s.Sequence = TVyTabSequence::tsReverse;
    EXPECT_EQ(StripToClient(s, {5, 2}, area, 3), c.client) << "reverse " << int(c.o);
  }
}

TEST(TabsLayout, ReverseSequenceMirrorsThePlacement) {
  TVyTabLayoutSettings s;
  s.Style = TVyTabStyle::tsCutCorner;
  s.Margin = 3;
  s.Sequence = TVyTabSequence::tsReverse;
  auto tabs = Tabs({{40, 13}, {20, 13}});  // 60 and 40 px
  LayoutTabs(s, tabs, 400, kSample);
  // Standard: (3, 63) and (65, 105), the pen ending at 107; mirrored and moved by 107.
  EXPECT_EQ(tabs[0].Rect, Rect(44, 0, 104, 20));
  EXPECT_EQ(tabs[1].Rect, Rect(2, 0, 42, 20));
  // The first tab ends a margin before the strip's far end once mapped.
  const TRect area = Rect(0, 0, 400, 20);
  const int scroll = tabs[0].Rect.Right + s.Margin;
  EXPECT_EQ(StripRectToClient(s, tabs[0].Rect, area, scroll).Right, 400 - 3);
  EXPECT_LT(StripRectToClient(s, tabs[1].Rect, area, scroll).Right, StripRectToClient(s, tabs[0].Rect, area, scroll).Left)
      << "the second tab lies before the first";

  // Rows step in from the other end: the card of the front row is indented on the left.
  s.MultiLine = true;
  TVyTabLayout two{20, 2};
  EXPECT_EQ(CardRect(s, two, 0, 300, 150, true), Rect(5, 35, 299, 149));
  TVyTabBox back{{}, true, Rect(40, 0, 80, 20), 1};
  EXPECT_EQ(TabStripRect(s, back, false), Rect(35, 0, 75, 20));
}

TEST(TabsLayout, VerticalTextTurnsTheTabFrame) {
  struct Case {
    TVyTabStyle style;
    TVyTabOrientation orientation;
    TPoint outer;
  } cases[] = {
      {TVyTabStyle::tsCutCorner, TVyTabOrientation::toTop, {13 + 10, 40 + 7 + 6}},
      {TVyTabStyle::tsCutCorner, TVyTabOrientation::toLeft, {13 + 7, 40 + 8 + 12}},
      {TVyTabStyle::tsRoundCorners, TVyTabOrientation::toRight, {13 + 6, 40 + 16}},
  };
  for (const Case& c : cases) {
    TVyTabLayoutSettings s;
    s.Style = c.style;
    s.Orientation = c.orientation;
    s.VerticalText = true;
    EXPECT_EQ(TabOuterSize(s, {13, 40}), c.outer) << int(c.style) << "/" << int(c.orientation);
  }
}

TEST(TabsLayout, OutlinesAndTheSelectedRoundTabGrows) {
  TVyTabLayoutSettings s;
  s.Style = TVyTabStyle::tsDoubleSlant;
  EXPECT_EQ(TabOutline(s, Rect(0, 0, 60, 20)), (std::vector<TPoint>{{0, 20}, {20, 0}, {40, 0}, {60, 20}}));
  s.Style = TVyTabStyle::tsCutCorner;
  s.CutCornerSize = 4;
  EXPECT_EQ(TabOutline(s, Rect(0, 0, 60, 20)), (std::vector<TPoint>{{0, 20}, {0, 0}, {56, 0}, {60, 4}, {60, 20}}));
  s.Style = TVyTabStyle::tsRoundCorners;
  TVyTabBox tab{{}, true, Rect(10, 5, 50, 25), 1};
  EXPECT_EQ(TabStripRect(s, tab, false), Rect(15, 5, 55, 25)) << "moved by its row's indent";
  EXPECT_EQ(TabStripRect(s, tab, true), Rect(13, 3, 57, 25));
}

}  // namespace
