// Where the month calendar puts its title, arrows, day-of-week row, week column, day
// grid and buttons, which day each grid cell shows, and what a point hits: plain sums
// and date arithmetic, free of any device, so they are tested natively.
#pragma once
#include <array>
#include <optional>

#include "vcl/DateUtils.h"
#include "vcl/TypInfo.h"
#include "vcl/Types.h"

namespace Vy {

QORN_ENUM(TVyCalendarElement, ceYear, ceMonth, ceArrows, ceWeekNumbers, ceDaysOfWeek, ceFillDays, ceTodayButton,
          ceClearButton);
using TVyCalendarElements = TSet<TVyCalendarElement>;
QORN_ENUM(TVyFirstDayOfWeek, fdowMonday, fdowTuesday, fdowWednesday, fdowThursday, fdowFriday, fdowSaturday, fdowSunday,
          fdowLocale);

inline constexpr TVyCalendarElements kDefaultCalendarElements{ceYear,     ceMonth,       ceArrows,     ceDaysOfWeek,
                                                              ceFillDays, ceTodayButton, ceClearButton};

// The parts of the calendar a point can be over, in the order they are tried backwards.
enum class TVyCalendarArea { Title, PrevArrow, NextArrow, WeekColumn, Grid, DaysOfWeek, None, Today, Clear };
inline constexpr int kCalendarAreaCount = 9;

// The grid shows six weeks.
inline constexpr int kCalendarRows = 6;
inline constexpr int kCalendarCells = 7 * kCalendarRows;

// What the layout needs to know of the font and the captions.
struct TVyCalendarMetrics {
  int CharWidth = 7;    // of "0"
  int CharHeight = 13;  // of "0"
  int TodayWidth = 0;   // caption widths
  int ClearWidth = 0;
};

struct TVyCalendarLayout {
  std::array<TRect, kCalendarAreaCount> Areas{};  // by TVyCalendarArea; empty when absent
  TRect TodayButton, ClearButton;                 // the buttons inside their areas
  int CellWidth = 0;
  int RowHeight = 0;

  const TRect& Area(TVyCalendarArea a) const { return Areas[static_cast<int>(a)]; }
  // The rectangle a grid cell (0..41) is drawn in.
  TRect Cell(int index) const;
  // The area under the point; None when no part is there.
  TVyCalendarArea AreaAt(TPoint p) const;
  // The grid cell under the point; nothing outside the grid, or when a calendar too
  // small for its grid has no cells to hit.
  std::optional<int> CellAt(TPoint p) const;
};

// The layout inside the client rectangle the frame leaves.
TVyCalendarLayout ComputeCalendarLayout(TRect client, const TVyCalendarMetrics& m, TVyCalendarElements elements);

// The size the calendar wants for its font, captions and elements.
TSize CalendarAutoSize(const TVyCalendarMetrics& m, TVyCalendarElements elements);

// The first day of the shown month (whole days).
TDateTime MonthStart(TDateTime day);
// The date of the grid's first cell for the month holding `day`, weeks starting on
// weekStart (0 = Monday .. 6 = Sunday): always a day of the month before, so a month
// starting on the week's first day still shows the last day of its previous month.
TDateTime CalendarGridStart(TDateTime day, int weekStart);
// Which month a cell's date belongs to against the shown one: -1, 0 or +1.
int CellMonthOffset(TDateTime cellDate, TDateTime shownMonthStart);

// The day-of-week column i (0..6) in the DayOfWeek numbering (1 = Sunday .. 7 = Saturday).
int CalendarColumnDayOfWeek(int column, int weekStart);

// Whether the held arrow's repeat steps on this tick: the count is raised first and a
// step fires at counts 0, 5, 10, 15 (every 250 ms at 50 ms ticks), then on even counts
// below 200 (every 100 ms), then on every tick.
bool CalendarRepeatFires(int count);

}  // namespace Vy
