// The calendar, the clock time picker, the popup panel with its own loop, and the
// date/time edits' drop-downs, on a form read from TestVyPickersForm.form, driven by
// messages; what happens while a drop-down is open runs from a timer the drop-down's
// loop fires.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyCalendar.h"
#include "controls/extended/VyClock.h"
#include "controls/extended/VyDateTimeEdit.h"
#include "controls/extended/VyPopups.h"
#include "controls/extended/tests/VyFormTest.h"
#include "testing/MemoryPaint.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/ScopeGuards.h"
#include "vcl/StdCtrls.h"
#include "vcl/Win.h"

#include <chrono>
#include <functional>

using namespace Vy;
using namespace std::chrono_literals;

class TTestVyPickersForm : public TForm {
  QORN_CLASS(TTestVyPickersForm, TForm)
 public:
  explicit TTestVyPickersForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestVyPickersForm);

namespace {

// Runs a step from whichever loop runs when its timer comes due: a drop-down's while
// one is open. A second timer closes whatever drop-down is still open after a few
// seconds (accepting it, so a test that waited for another way out fails instead of
// hanging); it is a bound for a slow machine, never part of what is tested.
class TWhileOpen {
 public:
  TWhileOpen(std::function<void()> step, std::function<void()> bound = nullptr) {
    Step() = std::move(step);
    Bound() = std::move(bound);
    step_ = SetTimer(nullptr, 0, 20, &Run);
    bound_ = SetTimer(nullptr, 0, 4000, &RunBound);
  }
  ~TWhileOpen() {
    KillTimer(nullptr, step_);
    KillTimer(nullptr, bound_);
    Step() = nullptr;
    Bound() = nullptr;
  }

 private:
  static std::function<void()>& Step() {
    static std::function<void()> f;
    return f;
  }
  static std::function<void()>& Bound() {
    static std::function<void()> f;
    return f;
  }
  static void CALLBACK Run(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (auto f = std::exchange(Step(), nullptr)) f();
  }
  static void CALLBACK RunBound(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (auto f = std::exchange(Bound(), nullptr)) f();
  }
  UINT_PTR step_ = 0, bound_ = 0;
};

TVyDateLocale EnglishLocale() { return InvariantDateLocale(); }

TVyDateLocale RussianLocale() {
  TVyDateLocale l;
  l.Formats.ShortDateFormat = L"dd.MM.yyyy";
  l.Formats.DateSeparator = L'.';
  l.Formats.LongTimeFormat = L"H:mm:ss";
  l.Formats.ShortTimeFormat = L"H:mm";
  l.Formats.TimeAMString = L"";
  l.Formats.TimePMString = L"";
  l.Formats.LongMonthNames = {L"Январь", L"Февраль", L"Март",     L"Апрель",  L"Май",    L"Июнь",
                              L"Июль",   L"Август",  L"Сентябрь", L"Октябрь", L"Ноябрь", L"Декабрь"};
  l.Formats.ShortDayNames = {L"Вс", L"Пн", L"Вт", L"Ср", L"Чт", L"Пт", L"Сб"};
  l.GenitiveMonthNames = {L"января", L"февраля", L"марта",    L"апреля",  L"мая",    L"июня",
                          L"июля",   L"августа", L"сентября", L"октября", L"ноября", L"декабря"};
  l.FirstDayOfWeek = 0;
  return l;
}

TPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

class VyPickers : public VyFormTestOf<TTestVyPickersForm> {
 protected:
  void SetUp() override {
    VyFormTestOf::SetUp();
    calendar = Find<TVyCalendar>(L"Calendar1");
    clock = Find<TVyTimePicker>(L"Clock1");
    day = Find<TVyDateTimeEdit>(L"DayEdit");
    timer = Find<TVyDateTimeEdit>(L"TimerTimeEdit");
    other = Find<TEdit>(L"OtherEdit");
    ASSERT_TRUE(calendar && clock && day && timer && other);
    for (TVyCalendar* c : {calendar}) c->SetLocale(EnglishLocale());
    clock->SetLocale(EnglishLocale());
    day->SetLocale(EnglishLocale());
    timer->SetLocale(EnglishLocale());
  }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Pump(20ms);
  }
  static void Mouse(TWinControl* c, UINT msg, TPoint p, WPARAM keys = 0) {
    PostMessageW(c->GetHandle(), msg, keys, MAKELPARAM(p.X, p.Y));
  }
  // A click at the point, handled by whatever loop runs (posted, not pumped).
  static void PostClick(TWinControl* c, TPoint p, bool right = false) {
    Mouse(c, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, p, right ? MK_RBUTTON : MK_LBUTTON);
    Mouse(c, right ? WM_RBUTTONUP : WM_LBUTTONUP, p);
  }
  static void ClickNow(TWinControl* c, TPoint p, bool right = false) {
    PostClick(c, p, right);
    Pump(30ms);
  }
  static void PostKey(HWND wnd, WORD key) {
    PostMessageW(wnd, WM_KEYDOWN, key, 1);
    PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
  }
  template <class F>
  static void WithKeyDown(BYTE vk, F f) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[vk] = 0x80;
    SetKeyboardState(keys);
    f();
    keys[vk] = 0;
    SetKeyboardState(keys);
  }
  static TRect WindowRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return Rect(r.left, r.top, r.right, r.bottom);
  }
  // A popup panel on the form holding a calendar, as the day edit builds one.
  TVyPopupPanel* NewCalendarPanel(TVyCalendar** inside = nullptr) {
    auto* panel = new TVyPopupPanel(form);
    panel->SetParent(form);
    auto* c = new TVyCalendar(panel);
    c->ShownInPopup = true;
    c->SetParent(panel);
    c->SetLocale(EnglishLocale());
    c->SetDate(EncodeDate(2026, 12, 10));
    c->OnClick = [panel](TObject*) { panel->ClosePopup(); };
    if (inside) *inside = c;
    return panel;
  }
  TVyCalendar* calendar = nullptr;
  TVyTimePicker* clock = nullptr;
  TVyDateTimeEdit *day = nullptr, *timer = nullptr;
  TEdit* other = nullptr;
};

// --- the popup panel

TEST_F(VyPickers, ThePopupOpensUnderItsControlKeepsTheActivationAndEscapeClosesIt) {
  Focus(other);
  TVyPopupPanel* panel = NewCalendarPanel();
  HWND popup = nullptr, active = nullptr;
  TRect shown;
  LONG style = 0;
  bool second = true;
  int childrenLeft = -1;
  const TWhileOpen open(
      [&] {
        popup = panel->GetPopupWindow()->WindowHandle();
        shown = WindowRect(popup);
        style = GetWindowLongW(popup, GWL_STYLE);
        active = GetActiveWindow();
        second = panel->DropFrom(other);
        childrenLeft = panel->ControlCount();
        PostKey(GetFocus(), VK_ESCAPE);
      },
      [panel] { panel->ClosePopup(); });
  EXPECT_FALSE(panel->DropFrom(other)) << "Escape closes without acceptance";
  const TRect edit = WindowRect(other->GetHandle());
  EXPECT_EQ(shown.Top, edit.Bottom) << "under the control";
  EXPECT_EQ(shown.Right, edit.Right) << "right edges lined up";
  EXPECT_EQ(shown.Width(), panel->GetWidth());
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_BORDER));
  EXPECT_EQ(active, form->GetHandle()) << "the form keeps the activation";
  EXPECT_FALSE(second) << "one popup of a panel at a time";
  EXPECT_EQ(childrenLeft, 0) << "the calendar was in the popup";
  EXPECT_EQ(panel->ControlCount(), 1) << "and is back on the panel";
  EXPECT_FALSE(IsWindowVisible(popup));
  EXPECT_EQ(GetFocus(), other->GetHandle()) << "the focus is back where it was";
}

TEST_F(VyPickers, ThePopupStaysWholeOnTheWorkArea) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  TVyPopupPanel* panel = NewCalendarPanel();
  auto dropFromCorner = [&](int formLeft, int formTop, TAlignment alignment) {
    form->SetBounds(formLeft, formTop, form->GetWidth(), form->GetHeight());
    panel->SetAlignment(alignment);
    Pump(20ms);
    TRect shown;
    const TWhileOpen open(
        [&] {
          shown = WindowRect(panel->GetPopupWindow()->WindowHandle());
          panel->CancelPopup();
        },
        [panel] { panel->CancelPopup(); });
    panel->DropFrom(other);
    return shown;
  };
  // The edit near the bottom: the popup opens above it.
  const int editBottomInForm = WindowRect(other->GetHandle()).Bottom - WindowRect(form->GetHandle()).Top;
  TRect shown = dropFromCorner(100, work.bottom - editBottomInForm - 10, taRightJustify);
  EXPECT_EQ(shown.Bottom, WindowRect(other->GetHandle()).Top);
  // Near the right edge, lined up on the left: shifted left to stay whole.
  const int editLeftInForm = WindowRect(other->GetHandle()).Left - WindowRect(form->GetHandle()).Left;
  shown = dropFromCorner(work.right - editLeftInForm - 40, 100, taLeftJustify);
  EXPECT_EQ(shown.Right, work.right);
  EXPECT_EQ(shown.Top, WindowRect(other->GetHandle()).Bottom);
}

TEST_F(VyPickers, AClickOutsideClosesThePopupAndReachesNothingElse) {
  calendar->SetDate(EncodeDate(2026, 12, 10));
  int clicks = 0;
  calendar->OnClick = [&](TObject*) { ++clicks; };
  TVyPopupPanel* panel = NewCalendarPanel();
  const TPoint dayCell = Middle(calendar->Layout().Cell(20));
  const TWhileOpen open([&] { PostClick(calendar, dayCell); }, [panel] { panel->ClosePopup(); });
  EXPECT_FALSE(panel->DropFrom(other));
  Pump(30ms);
  EXPECT_EQ(calendar->GetDate(), EncodeDate(2026, 12, 10)) << "the press never reached the calendar under it";
  EXPECT_EQ(clicks, 0);
}

TEST_F(VyPickers, ADayChosenInThePopupAcceptsIt) {
  TVyCalendar* inside = nullptr;
  TVyPopupPanel* panel = NewCalendarPanel(&inside);
  int popups = 0, closes = 0;
  panel->OnPopup = [&](TObject*) { ++popups; };
  panel->OnClose = [&](TObject*) { ++closes; };
  TDateTime clicked = 0;
  const TWhileOpen open(
      [&] {
        const TVyCalendarLayout l = inside->Layout();
        clicked = inside->GetPaintDate() + 17;
        PostClick(inside, Middle(l.Cell(17)));
      },
      [panel] { panel->CancelPopup(); });
  EXPECT_TRUE(panel->DropFrom(other));
  EXPECT_EQ(inside->GetDate(), clicked);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(closes, 1);
}

TEST_F(VyPickers, KeysGoToTheCalendarInThePopupAndEnterAccepts) {
  Focus(other);
  TVyCalendar* inside = nullptr;
  TVyPopupPanel* panel = NewCalendarPanel(&inside);
  const TWhileOpen open(
      [&] {
        PostKey(GetFocus(), VK_RIGHT);
        PostKey(GetFocus(), VK_DOWN);
        PostKey(GetFocus(), VK_RETURN);
      },
      [panel] { panel->CancelPopup(); });
  EXPECT_TRUE(panel->DropFrom(other));
  EXPECT_EQ(inside->GetDate(), EncodeDate(2026, 12, 18));
  EXPECT_EQ(other->GetText(), L"") << "no key reached the edit under it";
}

TEST_F(VyPickers, ACaptionsAcceleratorWorksInThePopup) {
  TVyCalendar* inside = nullptr;
  TVyPopupPanel* panel = NewCalendarPanel(&inside);
  inside->SetCaptionClearBtn(L"&Clear");
  const TWhileOpen open(
      [&] {
        PostKey(GetFocus(), 'C');  // the loop makes the character of the key
        PostKey(GetFocus(), VK_ESCAPE);
      },
      [panel] { panel->ClosePopup(); });
  EXPECT_FALSE(panel->DropFrom(other));
  EXPECT_EQ(inside->GetDate(), 0.0) << "C cleared the date";
}

TEST_F(VyPickers, ThePopupEndsWithoutAcceptanceWhenTheApplicationLosesTheActivation) {
  TVyPopupPanel* panel = NewCalendarPanel();
  const TWhileOpen open([&] { SendMessageW(Application->GetHandle(), WM_ACTIVATEAPP, FALSE, 0); },
                        [panel] { panel->ClosePopup(); });
  EXPECT_FALSE(panel->DropFrom(other));
  SendMessageW(Application->GetHandle(), WM_ACTIVATEAPP, TRUE, 0);
  Pump(20ms);
}

TEST_F(VyPickers, APanelWhoseWindowGoesClosesItsPopupWithoutAcceptance) {
  TVyPopupPanel* panel = NewCalendarPanel();
  const TWhileOpen open([&] { panel->DestroyHandle(); }, [panel] { panel->ClosePopup(); });
  EXPECT_FALSE(panel->DropFrom(other)) << "a window torn down is no choice of the user's";
  EXPECT_EQ(panel->ControlCount(), 1);
}

TEST_F(VyPickers, ThePopupEndsWhenItsControlIsFreed) {
  auto* button = new TButton(form);
  button->SetParent(form);
  button->SetBounds(560, 110, 100, 25);
  TVyPopupPanel* panel = NewCalendarPanel();
  const TWhileOpen open([&] { delete button; }, [panel] { panel->ClosePopup(); });
  EXPECT_FALSE(panel->DropFrom(button));
  EXPECT_EQ(panel->GetPopupWindow(), nullptr);
  EXPECT_EQ(panel->ControlCount(), 1);
}

// --- the calendar

TEST_F(VyPickers, TheGridFollowsTheLocalesFirstDayOfWeek) {
  calendar->SetDate(EncodeDate(2021, 2, 14));
  EXPECT_EQ(calendar->GetWeekStartDay(), 6) << "English weeks start on Sunday";
  EXPECT_EQ(calendar->GetPaintDate(), EncodeDate(2021, 1, 31));
  calendar->SetLocale(RussianLocale());
  EXPECT_EQ(calendar->GetWeekStartDay(), 0);
  EXPECT_EQ(calendar->GetPaintDate(), EncodeDate(2021, 1, 25)) << "a month from Monday still shows a week before";
  calendar->SetFirstDayOfWeek(fdowSunday);
  EXPECT_EQ(calendar->GetPaintDate(), EncodeDate(2021, 1, 31));
}

TEST_F(VyPickers, ClickingADayTodayAndClear) {
  calendar->SetDate(EncodeDate(2026, 12, 10) + 0.25);
  std::vector<TDateTime> changes;
  int clicks = 0;
  calendar->OnChange = [&](TObject*) { changes.push_back(calendar->GetDate()); };
  calendar->OnClick = [&](TObject*) { ++clicks; };
  const TVyCalendarLayout l = calendar->Layout();
  ClickNow(calendar, Middle(l.Cell(3)));
  EXPECT_EQ(calendar->GetDate(), calendar->GetPaintDate() + 3 + 0.25) << "the day, keeping the time";
  EXPECT_EQ(clicks, 1);
  ClickNow(calendar, Middle(l.Area(TVyCalendarArea::Today)));
  EXPECT_EQ(calendar->GetDate(), ::Date() + 0.25);
  EXPECT_EQ(clicks, 2);
  ClickNow(calendar, Middle(l.Area(TVyCalendarArea::Clear)));
  EXPECT_EQ(calendar->GetDate(), 0.0);
  EXPECT_EQ(calendar->GetDisplayedDate(), MonthStart(::Date())) << "a month still shows";
  EXPECT_EQ(clicks, 3);
  ClickNow(calendar, Middle(l.Area(TVyCalendarArea::Title)));
  EXPECT_EQ(clicks, 3) << "the title gives no click";
  EXPECT_EQ(changes.size(), 3u);
}

TEST_F(VyPickers, HoldingTheNextArrowStepsAtOnceThenEveryQuarterSecondThenFaster) {
  TManualClock time;
  TClockOverride useClock(time);
  calendar->SetDate(EncodeDate(2026, 1, 10));
  const TPoint next = Middle(calendar->Layout().Area(TVyCalendarArea::NextArrow));
  Mouse(calendar, WM_LBUTTONDOWN, next, MK_LBUTTON);
  Pump(20ms);
  auto monthShown = [&] {
    int y, m, d;
    DecodeDate(calendar->GetDisplayedDate(), y, m, d);
    return (y - 2026) * 12 + m;
  };
  EXPECT_EQ(monthShown(), 2) << "one step at once";
  std::vector<int> seen;
  for (int tick = 1; tick <= 24; ++tick) {
    time.Advance(50);
    Pump(15ms);
    PumpDueTimers();
    seen.push_back(monthShown());
  }
  // Ticks 5, 10, 15 step (every 250 ms), then every second tick from 20 on.
  EXPECT_EQ(seen, (std::vector<int>{2, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 5, 5, 5, 5, 5, 6, 6, 7, 7, 8}));
  Mouse(calendar, WM_LBUTTONUP, next);
  Pump(20ms);
  time.Advance(500);
  Pump(20ms);
  PumpDueTimers();
  EXPECT_EQ(monthShown(), 8) << "letting go stops it";
  EXPECT_EQ(calendar->GetDate(), EncodeDate(2026, 1, 10)) << "the arrows only show months";
}

TEST_F(VyPickers, HoldingTheTitleOpensAMonthListThatNeverTakesTheActivation) {
  TManualClock time;
  TClockOverride useClock(time);
  calendar->SetDate(EncodeDate(2026, 12, 10));
  const TPoint title = Middle(calendar->Layout().Area(TVyCalendarArea::Title));
  Mouse(calendar, WM_LBUTTONDOWN, title, MK_LBUTTON);
  Pump(20ms);
  TVyMonthList* list = calendar->GetMonthList();
  ASSERT_NE(list, nullptr);
  const HWND wnd = list->WindowHandle();
  EXPECT_TRUE(IsWindowVisible(wnd));
  EXPECT_EQ(GetActiveWindow(), form->GetHandle());
  EXPECT_TRUE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(SendMessageW(wnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(form->GetHandle()),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  EXPECT_EQ(list->GetCentre(), EncodeDate(2026, 12, 1));
  EXPECT_EQ(list->GetHighlight(), 0) << "the title lies under the centre row";
  auto tick = [&] {
    time.Advance(50);
    Pump(15ms);
    PumpDueTimers();
    return list->GetCentre();
  };
  // Held just below the list: a month forward each sixth tick.
  const TPoint below = calendar->ScreenToClient(list->ClientToScreen({5, list->GetClientHeight() + 3}));
  Mouse(calendar, WM_MOUSEMOVE, below, MK_LBUTTON);
  Pump(20ms);
  EXPECT_EQ(list->GetHighlight(), std::nullopt);
  EXPECT_EQ(tick(), EncodeDate(2027, 1, 1));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tick(), EncodeDate(2027, 1, 1));
  EXPECT_EQ(tick(), EncodeDate(2027, 2, 1));
  // Over the list the row under the mouse lights; letting go there shows its month.
  const TPoint row = calendar->ScreenToClient(list->ClientToScreen({5, 5 * list->ItemHeight() + 2}));
  Mouse(calendar, WM_MOUSEMOVE, row, MK_LBUTTON);
  Pump(20ms);
  EXPECT_EQ(list->GetHighlight(), 2);
  Mouse(calendar, WM_LBUTTONUP, row);
  Pump(20ms);
  EXPECT_EQ(calendar->GetMonthList(), nullptr);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_EQ(calendar->GetDisplayedDate(), EncodeDate(2027, 4, 1));
  EXPECT_EQ(calendar->GetDate(), EncodeDate(2026, 12, 10)) << "the list only shows a month";
}

TEST_F(VyPickers, KeysMoveTheDate) {
  calendar->SetElements(kDefaultCalendarElements);
  calendar->SetDate(EncodeDate(2024, 2, 10));
  Focus(calendar);
  struct Step {
    WORD key;
    TDateTime date;
  } steps[] = {{VK_END, EncodeDate(2024, 2, 29)},   {VK_RIGHT, EncodeDate(2024, 3, 1)},
               {VK_UP, EncodeDate(2024, 2, 23)},    {VK_DOWN, EncodeDate(2024, 3, 1)},
               {VK_HOME, EncodeDate(2024, 3, 1)},   {VK_LEFT, EncodeDate(2024, 2, 29)},
               {VK_PRIOR, EncodeDate(2024, 1, 29)}, {VK_NEXT, EncodeDate(2024, 2, 29)}};
  for (const Step& s : steps) {
    PostKey(calendar->GetHandle(), s.key);
    Pump(20ms);
    EXPECT_EQ(calendar->GetDate(), s.date) << "key " << s.key;
  }
  EXPECT_EQ(calendar->GetDisplayedDate(), EncodeDate(2024, 2, 1));
}

TEST_F(VyPickers, DecembersFillDaysAskForJanuarysBoldDaysAndRowsForTheirWeeks) {
  std::vector<std::pair<int, int>> asked;
  calendar->OnGetBoldDays = [&](TObject*, int y, int m, std::uint32_t& mask) {
    asked.emplace_back(y, m);
    if (m == 1) mask = 1u << 1;  // 2 January
  };
  calendar->SetDate(EncodeDate(2026, 12, 10));
  std::vector<std::pair<int, TDateTime>> weeks;
  calendar->OnGetWeekNumber = [&](TObject*, int& week, TDateTime nextRow) { weeks.emplace_back(week, nextRow); };
  calendar->SetElements(TVyCalendarElements(kDefaultCalendarElements) << ceWeekNumbers);
  const TMemoryPaint painted(calendar);
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2026, 11}, {2026, 12}, {2027, 1}}));
  // The grid runs from Sunday 29 November: each row's week is that of its Monday.
  ASSERT_EQ(weeks.size(), 6u);
  EXPECT_EQ(weeks[0], std::make_pair(49, EncodeDate(2026, 12, 6)));
  EXPECT_EQ(weeks[5], std::make_pair(1, EncodeDate(2027, 1, 10))) << "4 January 2027 is in week 1";
}

TEST_F(VyPickers, ACalendarTooSmallForItsGridDrawsAndHitsNoDay) {
  auto* tiny = new TVyCalendar(form);
  tiny->SetAutoSize(false);
  tiny->SetElements({ceYear, ceMonth, ceDaysOfWeek, ceFillDays});
  tiny->SetParent(form);
  tiny->SetBounds(400, 250, 30, 30);
  tiny->SetDate(EncodeDate(2026, 12, 10));
  Pump(20ms);
  for (int x = 0; x < 30; x += 3)
    for (int y = 0; y < 30; y += 3) Mouse(tiny, WM_LBUTTONDOWN, {x, y}, MK_LBUTTON), Mouse(tiny, WM_LBUTTONUP, {x, y});
  Pump(40ms);
  const TMemoryPaint painted(tiny);
  EXPECT_EQ(tiny->GetDate(), EncodeDate(2026, 12, 10));
}

// --- the clock

TEST_F(VyPickers, LeftClicksSetTheHourAndRightClicksTheMinute) {
  clock->SetTime(EncodeTime(9, 15, 42, 0));
  EXPECT_EQ(clock->GetTime(), EncodeTime(9, 15, 0, 0)) << "seconds are dropped";
  const TVyClockLayout l = clock->Layout();
  const TPoint c = l.Centre;
  const int r = l.Radius;
  ClickNow(clock, {c.X, c.Y - r / 2});
  EXPECT_EQ(clock->GetTime(), EncodeTime(0, 15, 0, 0)) << "12 in the morning";
  ClickNow(clock, {c.X, c.Y + r / 2});
  EXPECT_EQ(clock->GetTime(), EncodeTime(6, 15, 0, 0));
  ClickNow(clock, {c.X + r / 2, c.Y}, true);
  EXPECT_EQ(clock->GetTime(), EncodeTime(6, 15, 0, 0));
  ClickNow(clock, ClockPoint(c, 37, r / 2), true);
  EXPECT_EQ(clock->GetTime(), EncodeTime(6, 37, 0, 0));
  WithKeyDown(VK_CONTROL, [&] { ClickNow(clock, ClockPoint(c, 37, r / 2), true); });
  EXPECT_EQ(clock->GetTime(), EncodeTime(6, 35, 0, 0)) << "Ctrl snaps to five";
  WithKeyDown(VK_CONTROL, [&] { ClickNow(clock, ClockPoint(c, 58, r / 2), true); });
  EXPECT_EQ(clock->GetTime(), EncodeTime(6, 0, 0, 0)) << "58 snaps to the full hour, which stays";

  clock->SetTime(EncodeTime(9, 15, 0, 0));
  ClickNow(clock, Middle(l.PmButton));
  EXPECT_EQ(clock->GetTime(), EncodeTime(21, 15, 0, 0));
  ClickNow(clock, {c.X, c.Y + r / 2});
  EXPECT_EQ(clock->GetTime(), EncodeTime(18, 15, 0, 0)) << "an hour in the afternoon";
  ClickNow(clock, Middle(l.AmButton));
  EXPECT_EQ(clock->GetTime(), EncodeTime(6, 15, 0, 0));

  int sets = 0;
  clock->OnSetBtnClick = [&](TObject*) { ++sets; };
  ClickNow(clock, Middle(l.SetButton));
  EXPECT_EQ(sets, 1);
  clock->SetTime(EncodeTime(23, 30, 0, 0));
  Focus(clock);
  PostKey(clock->GetHandle(), VK_PRIOR);
  Pump(20ms);
  EXPECT_EQ(clock->GetTime(), EncodeTime(0, 30, 0, 0)) << "Page Up wraps past midnight";
}

TEST_F(VyPickers, TheHowToUseHintShowsWhileTheMouseIsOverTheFace) {
  const TVyClockLayout l = clock->Layout();
  // The picker also asks where the real cursor is (on entering, and on its hint's
  // tick): it is put where the posted moves say the mouse is, then back.
  POINT before{};
  GetCursorPos(&before);
  TOnExit restoreCursor([&] { SetCursorPos(before.x, before.y); });
  const TPoint centre = clock->ClientToScreen(l.Centre);
  SetCursorPos(centre.X, centre.Y);
  // The hint is for the program the user works in: the form's activation comes
  // late on a busy machine.
  ASSERT_TRUE(PumpUntil([] { return Application->GetActive(); }, 20s));
  Mouse(clock, WM_MOUSEMOVE, l.Centre);
  ASSERT_TRUE(PumpUntil([&] { return clock->GetHintWindow() && clock->GetHintWindow()->IsHintShown(); }, 20s));
  THintWindow* hint = clock->GetHintWindow();
  POINT origin{0, 0};
  ClientToScreen(hint->WindowHandle(), &origin);
  EXPECT_EQ(origin.x, WindowRect(clock->GetHandle()).Left) << "at the picker's left";
  EXPECT_EQ(clock->HowToUseText(),
            L"Left-click to set Hour\rRight-click to set Minute\r    Ctrl key restricts to 5 minutes");
  EXPECT_TRUE(qorn::testing::SaveWindowShot(hint->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "vy-pickers-clock-hint.png"));
  Mouse(clock, WM_MOUSEMOVE, {3, 3});
  Pump(30ms);
  EXPECT_FALSE(hint->IsHintShown()) << "off the face it goes";
  Mouse(clock, WM_MOUSEMOVE, l.Centre);
  Pump(30ms);
  EXPECT_TRUE(hint->IsHintShown());
  clock->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(hint->IsHintShown()) << "and when the mouse leaves the picker";
  clock->SetShowHowToUseHint(false);
  Mouse(clock, WM_MOUSEMOVE, l.Centre);
  Pump(30ms);
  EXPECT_FALSE(hint->IsHintShown());
}

TEST_F(VyPickers, APickerTooSmallForAFaceDrawsNone) {
  auto* tiny = new TVyTimePicker(form);
  tiny->SetAutoSize(false);
  tiny->SetParent(form);
  tiny->SetBounds(400, 250, 40, 40);
  tiny->GetClockFaceColors()->SetFace(clLime);
  tiny->SetTime(EncodeTime(3, 0, 0, 0));
  ASSERT_LE(tiny->Layout().Radius, 0);
  const TMemoryPaint painted(tiny);
  int lime = 0;
  for (int x = 0; x < 40; ++x)
    for (int y = 0; y < 40; ++y) lime += painted.At(x, y) == RGB(0, 255, 0);
  EXPECT_EQ(lime, 0);
  ClickNow(tiny, {20, 20});
  EXPECT_EQ(tiny->GetTime(), EncodeTime(3, 0, 0, 0));
}

// --- the date/time edits' drop-downs

TEST_F(VyPickers, TheDayEditsCalendarTakesTheChosenDayWithoutEnterOrExit) {
  day->SetDate(EncodeDate(2026, 12, 10));
  int enters = 0, exits = 0, drops = 0, closeUps = 0;
  day->OnEnter = [&](TObject*) { ++enters; };
  day->OnExit = [&](TObject*) { ++exits; };
  day->OnDropDown = [&](TObject*) { ++drops; };
  day->OnCloseUp = [&](TObject*) { ++closeUps; };
  Focus(day);
  enters = 0;
  TDateTime chosen = 0;
  const TWhileOpen open(
      [&] {
        auto* inside = dynamic_cast<TVyCalendar*>(day->GetDropPanel()->GetPopupWindow()->Controls(0));
        ASSERT_NE(inside, nullptr);
        EXPECT_EQ(inside->GetDate(), EncodeDate(2026, 12, 10));
        chosen = inside->GetPaintDate() + 30;
        PostClick(inside, Middle(inside->Layout().Cell(30)));
      },
      [&] { day->GetDropPanel()->CancelPopup(); });
  WithKeyDown(VK_MENU, [&] {
    PostMessageW(day->GetHandle(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
    Pump(50ms);
  });
  EXPECT_EQ(day->GetDate(), chosen);
  EXPECT_EQ(day->GetText(), FormatDateTime(L"M/d/yyyy", chosen));
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(closeUps, 1);
  EXPECT_EQ(enters, 0);
  EXPECT_EQ(exits, 0);
  EXPECT_EQ(GetFocus(), day->GetHandle());
  EXPECT_EQ(day->GetDropPanel(), nullptr);
}

TEST_F(VyPickers, ClearInTheDayEditsCalendarEmptiesTheEdit) {
  day->SetDate(EncodeDate(2026, 12, 10));
  Focus(day);
  const TWhileOpen open(
      [&] {
        auto* inside = dynamic_cast<TVyCalendar*>(day->GetDropPanel()->GetPopupWindow()->Controls(0));
        ASSERT_NE(inside, nullptr);
        PostClick(inside, Middle(inside->Layout().Area(TVyCalendarArea::Clear)));
      },
      [&] { day->GetDropPanel()->CancelPopup(); });
  WithKeyDown(VK_MENU, [&] {
    PostMessageW(day->GetHandle(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
    Pump(50ms);
  });
  EXPECT_EQ(day->GetDate(), 0.0);
  EXPECT_EQ(day->GetText(), L"");
}

TEST_F(VyPickers, MidnightPickedFromTheClockShowsAndEscapeKeepsTheTime) {
  EXPECT_EQ(timer->GetText(), L"");
  Focus(timer);
  auto drop = [&](std::function<void(TVyTimePicker*)> inside) {
    const TWhileOpen open(
        [&] {
          auto* picker = dynamic_cast<TVyTimePicker*>(timer->GetDropPanel()->GetPopupWindow()->Controls(0));
          ASSERT_NE(picker, nullptr);
          inside(picker);
        },
        [&] { timer->GetDropPanel()->CancelPopup(); });
    WithKeyDown(VK_MENU, [&] {
      PostMessageW(timer->GetHandle(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
      Pump(50ms);
    });
  };
  drop([](TVyTimePicker* p) {
    const TVyClockLayout l = p->Layout();
    PostClick(p, {l.Centre.X, l.Centre.Y - l.Radius / 2});  // 12, in the morning: 0
    PostClick(p, Middle(l.SetButton));
  });
  EXPECT_EQ(timer->GetTime(), 0.0);
  EXPECT_EQ(timer->GetText(), L"00:00");
  drop([](TVyTimePicker* p) {
    const TVyClockLayout l = p->Layout();
    PostClick(p, {l.Centre.X + l.Radius / 2, l.Centre.Y});
    PostKey(GetFocus(), VK_ESCAPE);
  });
  EXPECT_EQ(timer->GetText(), L"00:00") << "Escape keeps the time";
}

// --- screenshots

class VyPickersLook : public VyPickers, public ::testing::WithParamInterface<bool> {};

TEST_P(VyPickersLook, Screenshot) {
  const bool russian = GetParam();
  const TVyDateLocale locale = russian ? RussianLocale() : EnglishLocale();
  const std::wstring suffix = russian ? L"ru" : L"en";
  for (TVyCalendar* c : {calendar}) c->SetLocale(locale);
  clock->SetLocale(locale);
  day->SetLocale(locale);
  timer->SetLocale(locale);
  if (russian) {
    calendar->SetCaptionTodayBtn(L"Сегодня");
    calendar->SetCaptionClearBtn(L"Очистить");
    day->SetCaptionTodayBtn(L"Сегодня");
    day->SetCaptionClearBtn(L"Очистить");
    clock->SetCaptionSet(L"Готово");
  }
  calendar->SetDate(EncodeDate(2026, 12, 10));
  clock->SetTime(EncodeTime(10, 10, 0, 0));
  day->SetDate(EncodeDate(2026, 12, 10));
  timer->SetTime(EncodeTime(23, 30, 0, 0));
  Focus(other);
  const auto dir = qorn::testing::ScreenshotDir();
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), dir / (L"vy-pickers-" + suffix + L".png")));
  for (TVyDateTimeEdit* edit : {day, timer}) {
    Focus(edit);
    bool saved = false;
    const std::wstring name = L"vy-pickers-" + std::wstring(edit == day ? L"calendar-" : L"clock-") + suffix + L".png";
    const TWhileOpen open(
        [&] {
          saved = qorn::testing::SaveWindowShot(form->GetHandle(), dir / name);
          edit->GetDropPanel()->CancelPopup();
        },
        [edit] { edit->GetDropPanel()->CancelPopup(); });
    WithKeyDown(VK_MENU, [&] {
      PostMessageW(edit->GetHandle(), WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
      Pump(50ms);
    });
    EXPECT_TRUE(saved) << "the drop-down of " << (edit == day ? "the day" : "the time");
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, VyPickersLook, ::testing::Values(false, true));

}  // namespace
