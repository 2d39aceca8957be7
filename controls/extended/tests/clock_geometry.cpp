// The clock time picker's face: which hour and minute a point means, where hands and
// marks go, and the layout of a picker too small for a face.
#include <gtest/gtest.h>

#include "controls/extended/VyClockGeometry.h"

using namespace Vy;

namespace {

TEST(ClockGeometry, APointOnTheFaceNamesItsHourAndMinute) {
  struct Case {
    int dx, dy, hour, minute;
  } cases[] = {
      {0, -50, 12, 0},
      {0, 50, 6, 30},
      {50, 0, 3, 15},
      {-50, 0, 9, 45},
      {1, -50, 12, 0},
      {-1, -50, 12, 0},
      {25, -43, 1, 5},
      {-25, 43, 7, 35},
      // Just before 1 o'clock is still 1 (the half sector below a full turn).
      {20, -46, 1, 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClockHourAt(c.dx, c.dy), c.hour) << c.dx << "," << c.dy;
    EXPECT_EQ(ClockMinuteAt(c.dx, c.dy, false), c.minute) << c.dx << "," << c.dy;
  }
  // Every mark reads back as itself.
  const TPoint centre{100, 100};
  for (int minute = 0; minute < 60; ++minute) {
    const TPoint p = ClockPoint(centre, minute, 80);
    EXPECT_EQ(ClockMinuteAt(p.X - centre.X, p.Y - centre.Y, false), minute);
  }
  for (int hour = 1; hour <= 12; ++hour) {
    const TPoint p = ClockPoint(centre, hour * 5, 60);
    EXPECT_EQ(ClockHourAt(p.X - centre.X, p.Y - centre.Y), hour);
  }
}

TEST(ClockGeometry, RestrictedMinutesSnapToFivesAndSixtyWrapsToZero) {
  const TPoint centre{100, 100};
  struct Case {
    int minute, snapped;
  } cases[] = {{37, 35}, {38, 40}, {58, 0}, {2, 0}, {3, 5}, {32, 30}, {33, 35}};
  for (const Case& c : cases) {
    const TPoint p = ClockPoint(centre, c.minute, 80);
    EXPECT_EQ(ClockMinuteAt(p.X - centre.X, p.Y - centre.Y, true), c.snapped) << c.minute;
  }
}

TEST(ClockGeometry, HandsPointFromTheCentre) {
  const TPoint c{100, 100};
  const auto minute = ClockHand(c, 100, 0, false);
  EXPECT_EQ(minute[0], c);
  EXPECT_EQ(minute[2], (TPoint{100, 20}));
  EXPECT_EQ(minute[1], (TPoint{104, 75}));
  EXPECT_EQ(minute[3], (TPoint{96, 75}));
  const auto hour = ClockHand(c, 100, 15, true);
  EXPECT_EQ(hour[2], (TPoint{150, 100}));
}

TEST(ClockGeometry, TheFaceSitsBetweenTheTimeBoxAndTheButtons) {
  const TSize size = ClockAutoSize(7, 13, 3);
  const TVyClockLayout l = ComputeClockLayout(Rect(2, 2, size.cx - 2, size.cy - 2), size.cx, size.cy, 15, 20, 20);
  EXPECT_GT(l.Radius, 40);
  EXPECT_GE(l.Clock.Top, l.TimeBox.Bottom);
  EXPECT_LT(l.Clock.Bottom, l.AmButton.Top);
  EXPECT_LT(l.AmButton.Right, l.PmButton.Left);
  EXPECT_LT(l.PmButton.Right, l.SetButton.Left);
  EXPECT_LE(l.SetButton.Right, size.cx);
  // Too small for a face: no radius to draw or hit with.
  EXPECT_LE(ComputeClockLayout(Rect(2, 2, 28, 28), 30, 30, 15, 20, 20).Radius, 0);
}

}  // namespace
