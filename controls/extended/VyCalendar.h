// TVyCalendar: a month calendar drawn by the control: a title with the month and year
// between two arrows, a row of day-of-week letters, an optional week-number column, six
// weeks of days and the Today and Clear buttons. The month and day names and the first
// day of the week come from a locale record (the user's unless one is given).
//
// Rules:
// - Date 0 is no date; the calendar still shows a month (today's).
// - A click on a day, Today or Clear fires OnClick (the date/time edit's drop-down
//   accepts on it); a calendar ShownInPopup never takes the focus on a click, so the
//   form keeps its focused control.
// - Holding an arrow steps at once, then every 250 ms for a second, every 100 ms up to
//   ten seconds, then every 50 ms (ticks of the clock of vcl/Clock.h).
// - A calendar too small for its grid draws and hits no day.
#pragma once
#include "controls/extended/VyCalendarGrid.h"
#include "controls/extended/VyDateLocale.h"
#include "controls/extended/VyPanel.h"
#include "vcl/Timer.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Vy {

using TVyGetBoldDaysEvent = TEvent<void(TObject* Sender, int Year, int Month, std::uint32_t& BoldDays)>;
using TVyGetWeekNumberEvent = TEvent<void(TObject* Sender, int& WeekNumber, TDateTime Date)>;

class TVyCalendarColors : public TPersistent {
  QORN_CLASS(TVyCalendarColors, TPersistent)
 public:
  TVyCalendarColors() = default;
  void Assign(const TPersistent* Source) override;
  TColor GetDays() const { return FColors[0]; }
  void SetDays(TColor v) { Set(0, v); }
  TColor GetFillDays() const { return FColors[1]; }
  void SetFillDays(TColor v) { Set(1, v); }
  TColor GetDaysOfWeek() const { return FColors[2]; }
  void SetDaysOfWeek(TColor v) { Set(2, v); }
  TColor GetLines() const { return FColors[3]; }
  void SetLines(TColor v) { Set(3, v); }
  TColor GetSelectedDateBack() const { return FColors[4]; }
  void SetSelectedDateBack(TColor v) { Set(4, v); }
  TColor GetSelectedDateFore() const { return FColors[5]; }
  void SetSelectedDateFore(TColor v) { Set(5, v); }
  TColor GetTodaysDateFrame() const { return FColors[6]; }
  void SetTodaysDateFrame(TColor v) { Set(6, v); }
  std::function<void()> OnChange;

 private:
  static void Publish(TPublisher<TVyCalendarColors>& p);
  void Set(int index, TColor v);
  std::array<TColor, 7> FColors{clWindowText, clBtnShadow,     clWindowText,    clBtnShadow,
                                clHighlight,  clHighlightText, TColor(0x000080)};
};

// The month list a press on the calendar's title opens: seven months around a centre
// one, scrolling while the mouse is held above or below it. It never takes the
// activation (the calendar may sit in a drop-down that must keep its form active).
class TVyMonthList : public TCustomControl {
  QORN_CLASS(TVyMonthList, TCustomControl)
 public:
  TVyMonthList(TComponent* AOwner, const TFormatSettings& formats, int itemHeight);

  TDateTime GetCentre() const { return FCentre; }
  void SetCentre(TDateTime month);
  // The row under the mouse (-3..3 from the centre), or none.
  std::optional<int> GetHighlight() const { return FHighlight; }
  void SetHighlight(std::optional<int> row);
  // The month of a row (-3..3).
  TDateTime MonthAt(int row) const { return IncMonth(FCentre, row); }
  int ItemHeight() const { return FItemHeight; }
  // Shows it at these screen bounds, above the other windows, not activated.
  void ShowAt(const TRect& bounds);

  void WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;

 private:
  static void Publish(TPublisher<TVyMonthList>& p);
  const TFormatSettings& FFormats;
  TDateTime FCentre = 0;
  std::optional<int> FHighlight;
  int FItemHeight;
};

class TVyCalendar : public TVyCustomPanel {
  QORN_CLASS(TVyCalendar, TVyCustomPanel)
 public:
  explicit TVyCalendar(TComponent* AOwner);
  ~TVyCalendar() override;

  TDateTime GetDate() const { return FDate; }
  virtual void SetDate(TDateTime v);
  TVyCalendarElements GetElements() const { return FElements; }
  void SetElements(TVyCalendarElements v);
  TVyFirstDayOfWeek GetFirstDayOfWeek() const { return FFirstDayOfWeek; }
  void SetFirstDayOfWeek(TVyFirstDayOfWeek v);
  const std::wstring& GetCaptionTodayBtn() const { return FCaptionToday; }
  void SetCaptionTodayBtn(const std::wstring& v);
  const std::wstring& GetCaptionClearBtn() const { return FCaptionClear; }
  void SetCaptionClearBtn(const std::wstring& v);
  TVyCalendarColors* GetCalendarColors() const { return FColors.get(); }
  void SetCalendarColors(TVyCalendarColors* v) { FColors->Assign(v); }
  // The names and the first day of the week ("fdowLocale") come from here.
  void SetLocale(const TVyDateLocale& locale);

  // Shown in a drop-down: a click leaves the focus where it is.
  bool ShownInPopup = false;

  // The first day of the month shown, and of the grid's first cell.
  TDateTime GetDisplayedDate() const { return FDisplayedDate; }
  TDateTime GetPaintDate() const { return FPaintDate; }
  // 0 = Monday .. 6 = Sunday.
  int GetWeekStartDay() const { return FWeekStartDay; }
  TVyCalendarLayout Layout() const;
  // Shows the month holding the date without choosing it.
  virtual void SetViewDate(TDateTime date);
  // The month list while the title is held (null otherwise).
  TVyMonthList* GetMonthList() const { return FMonthList.get(); }

  bool CanAutoSize(int& newWidth, int& newHeight) override;

  TNotifyEvent OnChange;
  TVyGetBoldDaysEvent OnGetBoldDays;
  TVyGetWeekNumberEvent OnGetWeekNumber;

  void WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }
  void CMFontChanged(TMessage& m);
  // The captions' accelerators: Today's sets today, Clear's clears.
  void CMDialogChar(TMessage& m);

 protected:
  void Paint() override;
  void CreateWnd() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Click() override;
  void DblClick() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  virtual void FireChange() {
    if (OnChange) OnChange(this);
  }
  virtual void FireGetBoldDays(int year, int month, std::uint32_t& mask) {
    if (OnGetBoldDays) OnGetBoldDays(this, year, month, mask);
  }

 private:
  static void Publish(TPublisher<TVyCalendar>& p);
  void Measure();
  void ApplyFirstDayOfWeek();
  void ForceDate(TDateTime v);
  void TrackDay(int x, int y);
  void OpenMonthList();
  void ScrollMonthList(bool scroll);
  void CloseMonthList();
  void RepeatStep(TObject*);
  void StopRepeat();
  void PaintTitle(TCanvas* c, const TVyCalendarLayout& l);
  void PaintGrid(TCanvas* c, const TVyCalendarLayout& l);
  std::wstring TodayCaption() const;
  std::wstring ClearCaption() const;
  bool FlatLook() const;

  TDateTime FDate = 0;
  TDateTime FDisplayedDate = 0;
  TDateTime FPaintDate = 0;
  TVyCalendarElements FElements = kDefaultCalendarElements;
  TVyFirstDayOfWeek FFirstDayOfWeek = fdowLocale;
  int FWeekStartDay = 0;
  std::wstring FCaptionToday, FCaptionClear;
  std::unique_ptr<TVyCalendarColors> FColors;
  TVyDateLocale FLocale;
  TVyCalendarMetrics FMetrics;
  TVyCalendarArea FHotArea = TVyCalendarArea::None;
  TVyCalendarArea FDownArea = TVyCalendarArea::None;
  bool FUpdateForced = false;
  int FRepeatCount = -1;
  std::unique_ptr<TTimer> FRepeatTimer;
  std::unique_ptr<TVyMonthList> FMonthList;
  TPoint FLastMouse;  // client coordinates, while a button is held
  int FListWait = 0;  // ticks before the month list moves again
};

}  // namespace Vy
