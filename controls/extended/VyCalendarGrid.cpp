#include "controls/extended/VyCalendarGrid.h"

#include <algorithm>
#include <cmath>

namespace Vy {

namespace {
TRect CenteredIn(const TRect& area, int width, int height) {
  const int left = area.Left + (area.Width() - width) / 2;
  const int top = area.Top + (area.Height() - height) / 2;
  return Bounds(left, top, width, height);
}
bool HasTitle(TVyCalendarElements e) { return e.Contains(ceYear) || e.Contains(ceMonth); }
}  // namespace

TRect TVyCalendarLayout::Cell(int index) const {
  const TRect& grid = Area(TVyCalendarArea::Grid);
  const int left = grid.Left + (index % 7) * CellWidth;
  const int top = grid.Top + (index / 7) * RowHeight - 1;
  return Rect(left, top, left + CellWidth - 2, top + RowHeight);
}

TVyCalendarArea TVyCalendarLayout::AreaAt(TPoint p) const {
  for (int a = kCalendarAreaCount - 1; a >= 0; --a)
    if (a != static_cast<int>(TVyCalendarArea::None) && Areas[a].Contains(p)) return static_cast<TVyCalendarArea>(a);
  return TVyCalendarArea::None;
}

std::optional<int> TVyCalendarLayout::CellAt(TPoint p) const {
  const TRect& grid = Area(TVyCalendarArea::Grid);
  if (CellWidth <= 0 || RowHeight <= 0 || !grid.Contains(p)) return std::nullopt;
  const int column = (p.X - grid.Left) / CellWidth;
  const int row = (p.Y - grid.Top) / RowHeight;
  if (column > 6 || row >= kCalendarRows) return std::nullopt;
  return row * 7 + column;
}

TVyCalendarLayout ComputeCalendarLayout(TRect client, const TVyCalendarMetrics& m, TVyCalendarElements elements) {
  TVyCalendarLayout out;
  auto area = [&out](TVyCalendarArea a) -> TRect& { return out.Areas[static_cast<int>(a)]; };
  const int h = m.CharHeight, w = m.CharWidth;
  int l = client.Left, t = client.Top, r = client.Right, b = client.Bottom;
  if (HasTitle(elements)) {
    area(TVyCalendarArea::Title) = Rect(l, t, r, t + h + 5);
    if (elements.Contains(ceArrows)) {
      area(TVyCalendarArea::PrevArrow) = Rect(l, t, l + h + 5, t + h + 5);
      area(TVyCalendarArea::NextArrow) = Rect(r - h - 5, t, r, t + h + 5);
    }
    t += h + 5;
  }
  l += 2 * w - 1;
  r -= 2 * w - 1;
  const bool today = elements.Contains(ceTodayButton), clear = elements.Contains(ceClearButton);
  if (today || clear) {
    const TRect band = Rect(l, b - h - 18, r, b);
    TRect todayArea = band, clearArea = band;
    if (today && clear) {
      todayArea.Right = l + m.TodayWidth + (r - l - m.TodayWidth - m.ClearWidth - 5) / 2;
      clearArea.Left = todayArea.Right + 5;
    }
    if (today) out.TodayButton = area(TVyCalendarArea::Today) = CenteredIn(todayArea, m.TodayWidth + 17, h + 7);
    if (clear) out.ClearButton = area(TVyCalendarArea::Clear) = CenteredIn(clearArea, m.ClearWidth + 17, h + 7);
    b = band.Top + 1;
  }
  if (elements.Contains(ceWeekNumbers)) {
    area(TVyCalendarArea::WeekColumn) = Rect(l, t, l + 2 * w + 10, b);
    l += 2 * w + 10;
  }
  const int rows = elements.Contains(ceDaysOfWeek) ? 7 : 6;
  out.CellWidth = (r - l) / 7;
  out.RowHeight = (b - t - (rows - 5)) / rows;
  if (elements.Contains(ceDaysOfWeek)) {
    area(TVyCalendarArea::DaysOfWeek) = Rect(l, t, r, t + out.RowHeight);
    area(TVyCalendarArea::WeekColumn).Top = t + out.RowHeight;
    t += out.RowHeight + 2;
  }
  area(TVyCalendarArea::Grid) = Rect(l, t, r, b);
  return out;
}

TSize CalendarAutoSize(const TVyCalendarMetrics& m, TVyCalendarElements elements) {
  const int h = m.CharHeight, w = m.CharWidth;
  const int title = HasTitle(elements) ? h + 9 : 4;
  int height = elements.Contains(ceDaysOfWeek) ? title + 7 * h + 16 : title + 6 * h + 13;
  int width = elements.Contains(ceWeekNumbers) ? 16 * w + 40 : 14 * w + 35;
  const bool today = elements.Contains(ceTodayButton), clear = elements.Contains(ceClearButton);
  if (today || clear) {
    height += h + 17;
    if (today && clear) width = std::max(width, m.TodayWidth + m.ClearWidth + 39);
    if (today) width = std::max(width, m.TodayWidth + 34);
    if (clear) width = std::max(width, m.ClearWidth + 34);
  }
  return {width + 4 * w, height};
}

TDateTime MonthStart(TDateTime day) {
  int y, mo, d;
  DecodeDate(day, y, mo, d);
  return EncodeDate(y, mo, 1);
}

TDateTime CalendarGridStart(TDateTime day, int weekStart) {
  const TDateTime lastOfPrevious = MonthStart(day) - 1;
  return lastOfPrevious - ((DayOfWeek(lastOfPrevious) - weekStart + 5) % 7);
}

int CellMonthOffset(TDateTime cellDate, TDateTime shownMonthStart) {
  if (cellDate < shownMonthStart) return -1;
  return MonthStart(cellDate) == shownMonthStart ? 0 : 1;
}

int CalendarColumnDayOfWeek(int column, int weekStart) {
  const int day = column + weekStart + 2;
  return day > 7 ? day - 7 : day;
}

bool CalendarRepeatFires(int count) {
  if (count <= 19) return count % 5 == 0;
  if (count < 200) return count % 2 == 0;
  return true;
}

}  // namespace Vy
