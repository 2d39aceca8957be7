// The month calendar's grid and layout: which day each cell shows across months,
// years and leap years for weeks from Monday or Sunday, and what a point hits; and
// where its drop-down opens on the screen.
#include <gtest/gtest.h>

#include "controls/extended/VyCalendarGrid.h"
#include "controls/extended/VyPopupPlacement.h"

using namespace Vy;

namespace {

TEST(CalendarGrid, TheGridAlwaysBeginsWithDaysOfThePreviousMonth) {
  constexpr int monday = 0, sunday = 6;
  struct Case {
    TDateTime shown;
    int weekStart;
    TDateTime firstCell;
  } cases[] = {
      // 1 February 2021 is a Monday: a whole week of January comes first.
      {EncodeDate(2021, 2, 14), monday, EncodeDate(2021, 1, 25)},
      {EncodeDate(2021, 2, 14), sunday, EncodeDate(2021, 1, 31)},
      // 1 August 2021 is a Sunday.
      {EncodeDate(2021, 8, 1), sunday, EncodeDate(2021, 7, 25)},
      {EncodeDate(2021, 8, 1), monday, EncodeDate(2021, 7, 26)},
      // Across the year: 1 January 2027 is a Friday.
      {EncodeDate(2027, 1, 31), monday, EncodeDate(2026, 12, 28)},
      {EncodeDate(2027, 1, 31), sunday, EncodeDate(2026, 12, 27)},
      // After a leap February (29 February 2024 is a Thursday).
      {EncodeDate(2024, 3, 1), monday, EncodeDate(2024, 2, 26)},
      {EncodeDate(2023, 3, 1), monday, EncodeDate(2023, 2, 27)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "shown " << c.shown << ", weeks from " << c.weekStart);
    const TDateTime start = CalendarGridStart(c.shown, c.weekStart);
    EXPECT_EQ(start, c.firstCell);
    EXPECT_EQ(CalendarColumnDayOfWeek(0, c.weekStart), DayOfWeek(start)) << "the first column's day name";
    EXPECT_EQ(CellMonthOffset(start, MonthStart(c.shown)), -1);
    // The whole month fits in the six weeks.
    int y, m, d;
    DecodeDate(c.shown, y, m, d);
    const TDateTime last = EncodeDate(y, m, DaysInAMonth(y, m));
    EXPECT_LT(last - start, kCalendarCells);
    EXPECT_EQ(CellMonthOffset(last, MonthStart(c.shown)), 0);
    EXPECT_EQ(CellMonthOffset(last + 1, MonthStart(c.shown)), 1);
  }
}

TEST(CalendarGrid, EveryCellIsHitWhereItIsDrawn) {
  const TVyCalendarMetrics m{7, 13, 30, 28};
  for (const TVyCalendarElements elements :
       {kDefaultCalendarElements, TVyCalendarElements(kDefaultCalendarElements) << ceWeekNumbers,
        TVyCalendarElements{ceMonth}}) {
    const TSize size = CalendarAutoSize(m, elements);
    const TRect client = Rect(2, 2, size.cx - 2, size.cy - 2);
    const TVyCalendarLayout layout = ComputeCalendarLayout(client, m, elements);
    ASSERT_GT(layout.CellWidth, 2 * m.CharWidth) << "two digits fit a cell";
    ASSERT_GT(layout.RowHeight, m.CharHeight);
    for (int i = 0; i < kCalendarCells; ++i) {
      const TRect cell = layout.Cell(i);
      const TPoint centre{(cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2};
      EXPECT_EQ(layout.CellAt(centre), i);
      EXPECT_EQ(layout.AreaAt(centre), TVyCalendarArea::Grid);
      EXPECT_LE(cell.Bottom, client.Bottom) << "cell " << i;
    }
    auto centreOf = [&](TVyCalendarArea a) {
      const TRect& r = layout.Area(a);
      return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    };
    if (elements.Contains(ceTodayButton)) {
      EXPECT_EQ(layout.AreaAt(centreOf(TVyCalendarArea::Today)), TVyCalendarArea::Today);
      EXPECT_EQ(layout.AreaAt(centreOf(TVyCalendarArea::Clear)), TVyCalendarArea::Clear);
      EXPECT_LT(layout.TodayButton.Right, layout.ClearButton.Left) << "side by side";
      EXPECT_LE(layout.ClearButton.Bottom, client.Bottom);
      EXPECT_GE(layout.TodayButton.Top, layout.Cell(41).Bottom) << "below the grid";
    }
    EXPECT_EQ(layout.AreaAt(centreOf(TVyCalendarArea::Title)), TVyCalendarArea::Title);
    EXPECT_EQ(layout.AreaAt(TPoint{client.Left + 2, client.Top + 2}),
              elements.Contains(ceArrows) ? TVyCalendarArea::PrevArrow : TVyCalendarArea::Title);
    EXPECT_EQ(layout.AreaAt(TPoint{client.Right - 2, client.Top + 2}),
              elements.Contains(ceArrows) ? TVyCalendarArea::NextArrow : TVyCalendarArea::Title);
    if (elements.Contains(ceWeekNumbers)) {
      EXPECT_EQ(
          layout.AreaAt(TPoint{layout.Area(TVyCalendarArea::WeekColumn).Left + 3, centreOf(TVyCalendarArea::Grid).Y}),
          TVyCalendarArea::WeekColumn);
      EXPECT_GE(layout.Area(TVyCalendarArea::WeekColumn).Top, layout.Area(TVyCalendarArea::DaysOfWeek).Bottom);
    }
    EXPECT_EQ(layout.CellAt(TPoint{client.Left, client.Top}), std::nullopt);
  }
}

TEST(CalendarGrid, ACalendarTooSmallForItsGridHitsNoCell) {
  const TVyCalendarMetrics m{7, 13, 30, 28};
  for (const TRect client : {Rect(2, 2, 20, 20), Rect(2, 2, 200, 30), Rect(2, 2, 30, 300)}) {
    const TVyCalendarLayout layout = ComputeCalendarLayout(client, m, kDefaultCalendarElements);
    for (int x = client.Left - 2; x < client.Right + 2; ++x)
      for (int y = client.Top - 2; y < client.Bottom + 2; ++y) ASSERT_EQ(layout.CellAt(TPoint{x, y}), std::nullopt);
  }
}

TEST(CalendarGrid, AHeldArrowStepsAtOnceThenEveryFifthTickThenFaster) {
  std::vector<int> fired;
  for (int count = 0; count <= 30; ++count)
    if (CalendarRepeatFires(count)) fired.push_back(count);
  EXPECT_EQ(fired, (std::vector<int>{0, 5, 10, 15, 20, 22, 24, 26, 28, 30}));
  EXPECT_FALSE(CalendarRepeatFires(199));
  EXPECT_TRUE(CalendarRepeatFires(200));
  EXPECT_TRUE(CalendarRepeatFires(201));
}

TEST(PopupPlacement, ADropDownStaysWholeOnTheWorkArea) {
  const TRect work = Rect(0, 0, 1024, 738);
  struct Case {
    TRect control;
    TVyPopupAlign align;
    TPoint topLeft;
  } cases[] = {
      {Rect(100, 100, 220, 121), TVyPopupAlign::Right, {70, 121}},  // right edges lined up, below
      {Rect(100, 100, 220, 121), TVyPopupAlign::Left, {100, 121}},
      {Rect(100, 100, 220, 121), TVyPopupAlign::Centre, {85, 121}},
      {Rect(100, 700, 220, 721), TVyPopupAlign::Right, {70, 550}},   // near the bottom: above
      {Rect(950, 100, 1020, 121), TVyPopupAlign::Left, {874, 121}},  // near the right: shifted left
      {Rect(10, 100, 60, 121), TVyPopupAlign::Right, {0, 121}},      // never left of the work area
      {Rect(10, 20, 60, 730), TVyPopupAlign::Left, {10, 0}},         // nor above it
  };
  for (const Case& c : cases) {
    const TRect r = PlacePopup(c.control, 150, 150, c.align, work);
    EXPECT_EQ(r.TopLeft(), c.topLeft) << c.control.Left << "," << c.control.Top;
    EXPECT_EQ(r.Width(), 150);
  }
  // A work area that does not start at 0 (a second monitor, a task bar on the left).
  EXPECT_EQ(PlacePopup(Rect(1030, 100, 1060, 121), 150, 150, TVyPopupAlign::Right, Rect(1064, 0, 2048, 768)).Left,
            1064);
}

}  // namespace
