// The flat group box's frame lines: where the caption breaks the top line.
#include <gtest/gtest.h>

#include <set>

#include "controls/visual/FlatGroupBoxFrame.h"

namespace {

using Flat::GroupBoxFrameLines;
using Flat::TGroupBoxLines;

// The pixels of row y that the polylines draw: GDI leaves out only the very last
// point of each polyline.
std::set<int> DrawnInRow(const std::vector<std::vector<TPoint>>& lines, int y) {
  std::set<int> xs;
  for (const auto& line : lines) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
      // Every segment is horizontal or vertical.
      const TPoint a = line[i], b = line[i + 1];
      const int dx = b.X > a.X ? 1 : b.X < a.X ? -1 : 0, dy = b.Y > a.Y ? 1 : b.Y < a.Y ? -1 : 0;
      for (TPoint q = a; q != b; q = TPoint{q.X + dx, q.Y + dy})
        if (q.Y == y) xs.insert(q.X);
    }
    if (!line.empty() && line.back().Y == y) xs.erase(line.back().X);
  }
  return xs;
}

// The undrawn pixels between the first and the last drawn one.
std::vector<int> Gap(const std::set<int>& drawn) {
  std::vector<int> gap;
  if (drawn.empty()) return gap;
  for (int x = *drawn.begin(); x < *drawn.rbegin(); ++x)
    if (!drawn.count(x)) gap.push_back(x);
  return gap;
}

TEST(FlatGroupBoxFrame, CaptionBreaksTheTopLine) {
  const TRect c{0, 0, 185, 105};
  struct Case {
    TGroupBoxLines lines;
    int captionWidth;
    int firstGap, lastGap;
  } cases[] = {
      {TGroupBoxLines::Full, 0, 6, 12},  // an empty caption still leaves 7 pixels
      {TGroupBoxLines::Full, 40, 6, 52},
      {TGroupBoxLines::OnlyTopLine, 0, 6, 12},
      {TGroupBoxLines::OnlyTopLine, 40, 6, 52},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.captionWidth);
    const auto lines = GroupBoxFrameLines(c, k.captionWidth, 14, k.lines, false);
    const auto gap = Gap(DrawnInRow(lines, 7));
    ASSERT_FALSE(gap.empty());
    EXPECT_EQ(gap.front(), k.firstGap);
    EXPECT_EQ(gap.back(), k.lastGap);
    EXPECT_EQ(static_cast<int>(gap.size()), k.lastGap - k.firstGap + 1) << "one gap, no other hole";
  }
}

TEST(FlatGroupBoxFrame, FullFrameClosesBelowAndAtTheSides) {
  const TRect c{0, 0, 100, 60};
  const auto lines = GroupBoxFrameLines(c, 20, 10, TGroupBoxLines::Full, false);
  ASSERT_EQ(lines.size(), 1u);
  const auto& l = lines[0];
  ASSERT_EQ(l.size(), 6u);
  EXPECT_EQ(l[1], (TPoint{0, 5}));
  EXPECT_EQ(l[2], (TPoint{0, 59}));
  EXPECT_EQ(l[3], (TPoint{99, 59}));
  EXPECT_EQ(l[4], (TPoint{99, 5}));
  EXPECT_TRUE(GroupBoxFrameLines(c, 20, 10, TGroupBoxLines::OnlyTopLine, false).size() == 2u);
}

TEST(FlatGroupBoxFrame, RightToLeftMovesTheGapRight) {
  const TRect c{0, 0, 185, 105};
  const auto drawn = DrawnInRow(GroupBoxFrameLines(c, 40, 14, TGroupBoxLines::Full, true), 7);
  const auto gap = Gap(drawn);
  ASSERT_FALSE(gap.empty());
  EXPECT_EQ(gap.front(), 185 - 40 - 15 + 1);
  EXPECT_EQ(gap.back(), 185 - 7);
  EXPECT_TRUE(drawn.count(0)) << "the left end of the top line is drawn";
}

}  // namespace
