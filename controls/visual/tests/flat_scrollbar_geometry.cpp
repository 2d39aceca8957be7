// The thumb's place for a position and the position of a dragged thumb.
#include "controls/visual/FlatScrollbarGeometry.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Flat::FlatPositionForOffset;
using Flat::FlatThumbOffset;

TEST(FlatScrollbarGeometry, ThumbOffsetForAPosition) {
  struct Case {
    int track, thumb, min, max, position, offset;
  };
  const Case cases[] = {
      {138, 17, 0, 3000, 0, 0},
      {138, 17, 0, 3000, 3000, 121},
      {138, 17, 0, 3000, 1500, 60},  // 60.5: to even
      {66, 17, 0, 100, 50, 24},
      {66, 17, 0, 100, 51, 25},
      {138, 17, 0, 3000, 5000, 121},  // held at the end
      {138, 17, 0, 3000, -10, 0},
      {138, 17, 10, 20, 15, 60},
      {138, 17, 10, 20, 10, 0},  // Min shifts
      {138, 17, 5, 5, 5, 0},
      {17, 17, 0, 100, 50, 0},
      {10, 17, 0, 100, 50, 0},  // nothing to divide
      {138, 17, INT_MIN, INT_MAX, 0, 61},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FlatThumbOffset(c.track, c.thumb, c.min, c.max, c.position), c.offset)
        << c.track << " " << c.min << ".." << c.max << " at " << c.position;
}

TEST(FlatScrollbarGeometry, PositionForADraggedThumb) {
  struct Case {
    int offset, track, thumb, min, max, position;
  };
  const Case cases[] = {
      {0, 138, 17, 0, 3000, 0},   {121, 138, 17, 0, 3000, 3000}, {500, 138, 17, 0, 3000, 3000},
      {-40, 138, 17, 0, 3000, 0}, {60, 138, 17, 0, 9, 4},        {1, 138, 17, 0, 3000, 25},
      {60, 138, 17, 10, 20, 15},  {60, 138, 17, 7, 7, 7},        {5, 17, 17, 0, 100, 0},
      {5, 3, 17, 2, 100, 2},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FlatPositionForOffset(c.offset, c.track, c.thumb, c.min, c.max), c.position)
        << c.offset << " on " << c.track << " " << c.min << ".." << c.max;
  // A thumb put where a position sends it reads back that position.
  for (int p = 0; p <= 9; ++p)
    EXPECT_EQ(FlatPositionForOffset(FlatThumbOffset(200, 17, 0, 9, p), 200, 17, 0, 9), p) << p;
}

}  // namespace
