// The flat hint's place by the cursor's quarter of its work area, kept on that
// work area, and its arrow strip.
#include <gtest/gtest.h>

#include "controls/visual/FlatHintPlacement.h"

namespace {

using Flat::FlatHintAreas;
using Flat::FlatHintArrow;
using Flat::PlaceFlatHint;
using Flat::THintCorner;

TEST(FlatHintPlacement, BoxLiesTowardsTheMiddleFromTheCursor) {
  const TRect area{0, 0, 1024, 768};
  const int w = 100, h = 40;
  const struct {
    TPoint cursor;
    THintCorner corner;
    TRect bounds;
  } cases[] = {
      {{100, 100}, THintCorner::TopLeft, {112, 112, 212, 152}},
      {{900, 100}, THintCorner::TopRight, {795, 105, 895, 145}},
      {{100, 700}, THintCorner::BottomLeft, {105, 655, 205, 695}},
      {{900, 700}, THintCorner::BottomRight, {795, 655, 895, 695}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cursor.X * 10000 + c.cursor.Y);
    const auto place = PlaceFlatHint(c.cursor, w, h, area);
    EXPECT_EQ(place.Corner, c.corner);
    EXPECT_EQ(place.Bounds, c.bounds);
  }
}

TEST(FlatHintPlacement, KeptOnTheCursorsWorkArea) {
  // A second monitor to the right, its work area above a task bar.
  const TRect area{1024, 0, 2304, 984};
  auto place = PlaceFlatHint({1030, 10}, 300, 60, area);
  EXPECT_EQ(place.Corner, THintCorner::TopLeft) << "quarters of this monitor, not of the first";
  EXPECT_EQ(place.Bounds, (TRect{1042, 22, 1342, 82}));

  // Taller than the room left below the middle: pushed up onto the area.
  place = PlaceFlatHint({1100, 480}, 300, 600, area);
  EXPECT_EQ(place.Bounds, (TRect{1112, 384, 1412, 984})) << "its bottom on the area's, not below it";

  // Larger than the whole area: it starts at its top-left corner.
  place = PlaceFlatHint({2200, 900}, 1500, 1200, area);
  EXPECT_EQ(place.Bounds.Left, area.Left);
  EXPECT_EQ(place.Bounds.Top, area.Top);

  // A cursor off the area's edge still gives a box on it.
  place = PlaceFlatHint({2303, 983}, 200, 40, area);
  EXPECT_GE(place.Bounds.Left, area.Left);
  EXPECT_LE(place.Bounds.Right, area.Right);
  EXPECT_LE(place.Bounds.Bottom, area.Bottom);
}

TEST(FlatHintPlacement, StripAndArrowFollowTheCorner) {
  const TRect client{0, 0, 120, 40};
  auto right = FlatHintAreas(THintCorner::TopRight, client);
  EXPECT_EQ(right.Strip, (TRect{105, 1, 119, 39}));
  EXPECT_EQ(right.Text, (TRect{1, 1, 105, 39}));
  auto left = FlatHintAreas(THintCorner::BottomLeft, client);
  EXPECT_EQ(left.Strip, (TRect{1, 1, 15, 39}));
  EXPECT_EQ(left.Text, (TRect{15, 1, 119, 39}));

  // The arrow's tip sits in the strip's corner nearest the cursor and the arrow stays inside the strip.
  const struct {
    THintCorner corner;
    TPoint tip;
  } tips[] = {{THintCorner::TopRight, {116, 3}},
              {THintCorner::TopLeft, {3, 3}},
              {THintCorner::BottomRight, {116, 36}},
              {THintCorner::BottomLeft, {3, 36}}};
  for (const auto& t : tips) {
    const TRect strip = FlatHintAreas(t.corner, client).Strip;
    const auto arrow = FlatHintArrow(t.corner, strip);
    ASSERT_EQ(arrow.size(), 18u);
    EXPECT_EQ(arrow.front(), t.tip) << static_cast<int>(t.corner);
    for (const TPoint& p : arrow) EXPECT_TRUE(strip.Contains(p)) << p.X << "," << p.Y;
  }
}

}  // namespace
