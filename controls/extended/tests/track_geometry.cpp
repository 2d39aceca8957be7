// The track bar's sums and the buttons' small rules, free of any window.
#include <gtest/gtest.h>

#include "controls/extended/VyButtonRules.h"
#include "controls/extended/VyTrkBarGeometry.h"

using namespace Vy;

namespace {

std::vector<int> TickValues(const TTrackLayout& l, int step) {
  std::vector<int> out;
  for (const TTickMark& t : TickMarks(l, step)) out.push_back(t.Value);
  return out;
}

TEST(TrackGeometry, TicksFallOnMultiplesOfTheStepFromMinToMax) {
  TTrackLayout l;
  l.Min = -6;
  l.Max = 6;
  EXPECT_EQ(TickValues(l, 5), (std::vector<int>{-5, 0, 5}));
  EXPECT_EQ(TickValues(l, 0).size(), 13u) << "a step below 1 counts as 1";
  // 200 wide, 11-pixel thumb: 181 pixels over 12 units; the first tick at 4 + 5 + trunc(1 * 181 / 12).
  EXPECT_EQ(TickMarks(l, 5)[0].Offset, 4 + 5 + 15);
  l.Vertical = true;
  l.Height = 100;
  EXPECT_EQ(TickMarks(l, 5).back().Offset, 100 - 11 - int(11 * (100.0 - 19) / 12) - 4 + 5) << "Max at the top";
}

TEST(TrackGeometry, ThumbAndTrackPlaces) {
  TTrackLayout l;  // 200 x 35, 11 x 21 thumb, track at 20, 8 wide, 0..10
  EXPECT_EQ(TrackRect(l), Rect(9, 20, 191, 28));
  EXPECT_EQ(ThumbRect(l, 0), Rect(4, 14, 15, 35)) << "(8 - 21) / 2 truncates towards zero";
  EXPECT_EQ(ThumbRect(l, 10), Rect(185, 14, 196, 35));
  l.ThumbShift = 2;
  EXPECT_EQ(ThumbRect(l, 5).Top, 12) << "a pointer stands out towards its ticks";
  l.Max = l.Min;
  EXPECT_EQ(ThumbRect(l, 0).Left, 4) << "an empty range (still being read) divides by nothing";
}

TEST(TrackGeometry, DragRoundsHalvesToEvenAndStaysInRange) {
  TTrackLayout l;
  l.Width = 22;  // track 4 pixels long for 0..2: each pixel is half a unit
  l.ThumbLength = 10;
  l.Max = 2;
  const int left = TrackRect(l).Left;
  EXPECT_EQ(*DragPosition(l, left + 1, 0, 0, 0), 0) << "0.5 rounds to 0";
  EXPECT_EQ(*DragPosition(l, left + 3, 0, 0, 0), 2) << "1.5 rounds to 2";
  EXPECT_EQ(*DragPosition(l, left - 50, 0, 0, 0), 0);
  EXPECT_EQ(*DragPosition(l, left + 50, 0, 0, 0), 2);
}

TEST(TrackGeometry, ATrackShorterThanItsThumbHasNothingToDrag) {
  TTrackLayout l;
  for (int width : {18, 15, 3}) {
    l.Width = width;  // 11-pixel thumb + 2 x 4 margins: no length left, or less than none
    EXPECT_FALSE(DragPosition(l, 5, 5, 0, 0).has_value()) << width;
  }
}

TEST(TrackGeometry, PagingDirectionFollowsTheThumbsEdge) {
  TTrackLayout l;  // 181 pixels over 0..10
  EXPECT_TRUE(PagesUp(l, 5, 4 + 90, 24));
  EXPECT_FALSE(PagesUp(l, 5, 4 + 89, 24));
  l.Vertical = true;
  l.Height = 200;
  EXPECT_TRUE(PagesUp(l, 5, 24, 4 + 89)) << "above the edge is up on a vertical bar";
  EXPECT_FALSE(PagesUp(l, 5, 24, 4 + 90));
}

TEST(ButtonRules, GlyphCount) {
  struct Case {
    int w, h, count;
  } cases[] = {{34, 17, 2}, {32, 16, 2}, {90, 15, 1}, {64, 16, 4}, {20, 10, 2},
               {0, 0, 1},   {16, 0, 1},  {0, 16, 1},  {30, 16, 1}};
  for (const Case& c : cases) EXPECT_EQ(GlyphCountFor(c.w, c.h), c.count) << c.w << " x " << c.h;
}

TEST(ButtonRules, TheRedropGuardHoldsAcrossTheTickCountersWrap) {
  EXPECT_TRUE(WithinRedropGuard(1050, 1000));
  EXPECT_FALSE(WithinRedropGuard(1100, 1000));
  EXPECT_TRUE(WithinRedropGuard(0x00000020u, 0xFFFFFFF0u)) << "48 ms across the wrap";
  EXPECT_FALSE(WithinRedropGuard(0x00000080u, 0xFFFFFFF0u));
  EXPECT_FALSE(WithinRedropGuard(1000, 0)) << "no drop remembered";
}

}  // namespace
