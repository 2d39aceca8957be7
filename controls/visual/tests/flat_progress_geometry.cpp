// Snapping of the flat bar to whole blocks and the share of it a position fills.
#include <gtest/gtest.h>

#include "controls/visual/FlatProgressGeometry.h"

namespace {

using namespace Flat;

TEST(FlatProgressGeometry, SnapsToWholeBlocks) {
  const struct {
    int length, snapped;
  } cases[] = {{100, 93}, {147, 147}, {93, 93}, {21, 21}, {20, 12}, {12, 12}, {11, 12}, {0, 12}, {-5, 12}};
  for (const auto& c : cases) EXPECT_EQ(SnapProgressLength(c.length), c.snapped) << c.length;
}

TEST(FlatProgressGeometry, CountsBlocksFromMin) {
  const struct {
    int length, position, min, max, blocks;
  } cases[] = {
      {93, 0, 0, 100, 0},    {93, 100, 0, 100, 10}, {93, 50, 0, 100, 5},  {93, 9, 0, 100, 0},
      {93, 10, 0, 100, 1},   {93, 30, 20, 120, 1},  {93, 120, 20, 120, 10}, {147, 100, 0, 100, 16},
      {93, 50, 50, 50, 0},   {93, 50, 60, 40, 0},   {11, 100, 0, 100, 0},   {93, 500, 0, 100, 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgressBlockCount(c.length, c.position, c.min, c.max), c.blocks)
        << c.length << " " << c.position << " " << c.min << ".." << c.max;
}

TEST(FlatProgressGeometry, SmoothLengthCountsFromMin) {
  EXPECT_EQ(ProgressSmoothLength(100, 50, 0, 100), 50);
  EXPECT_EQ(ProgressSmoothLength(100, 60, 50, 100), 20);  // not 60 / 50 of the bar
  EXPECT_EQ(ProgressSmoothLength(100, 100, 50, 100), 100);
  EXPECT_EQ(ProgressSmoothLength(100, 7, 7, 7), 0);  // an empty range
  EXPECT_EQ(ProgressSmoothLength(0, 50, 0, 100), 0);
}

}  // namespace
