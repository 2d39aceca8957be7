#include "controls/extended/VyCalendar.h"

#include "controls/extended/VyPickerParts.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/StdCtrls.h"
#include "vcl/Win.h"

#include <algorithm>
#include <cmath>

namespace Vy {

namespace {
constexpr unsigned kRepeatMs = 50;

int DayOf(TDateTime d) {
  int y, m, day;
  DecodeDate(d, y, m, day);
  return day;
}
}  // namespace

// --- colours

void TVyCalendarColors::Publish(TPublisher<TVyCalendarColors>& p) {
  using T = TVyCalendarColors;
  p.Property(L"Days", &T::GetDays, &T::SetDays).Default(clWindowText).Idents(ColorIdents);
  p.Property(L"FillDays", &T::GetFillDays, &T::SetFillDays).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"DaysOfWeek", &T::GetDaysOfWeek, &T::SetDaysOfWeek).Default(clWindowText).Idents(ColorIdents);
  p.Property(L"Lines", &T::GetLines, &T::SetLines).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"SelectedDateBack", &T::GetSelectedDateBack, &T::SetSelectedDateBack)
      .Default(clHighlight)
      .Idents(ColorIdents);
  p.Property(L"SelectedDateFore", &T::GetSelectedDateFore, &T::SetSelectedDateFore)
      .Default(clHighlightText)
      .Idents(ColorIdents);
  p.Property(L"TodaysDateFrame", &T::GetTodaysDateFrame, &T::SetTodaysDateFrame)
      .Default(TColor(0x000080))
      .Idents(ColorIdents);
}

void TVyCalendarColors::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyCalendarColors*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FColors = src->FColors;
  if (OnChange) OnChange();
}

void TVyCalendarColors::Set(int index, TColor v) {
  if (FColors[index] == v) return;
  FColors[index] = v;
  if (OnChange) OnChange();
}

// --- month list

TVyMonthList::TVyMonthList(TComponent* AOwner, const TFormatSettings& formats, int itemHeight)
    : TCustomControl(AOwner), FFormats(formats), FItemHeight(std::max(1, itemHeight)) {
  DoubleBuffered = true;
  SetColor(clWindow);
}

void TVyMonthList::Publish(TPublisher<TVyMonthList>& p) { p.Message(WM_MOUSEACTIVATE, &TVyMonthList::WMMouseActivate); }

void TVyMonthList::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  auto* calendar = dynamic_cast<TControl*>(GetOwner());
  HWND top = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(calendar); w && w->HandleAllocated())
    top = GetAncestor(w->WindowHandle(), GA_ROOT);
  params.WndParent = top ? top : Application->GetHandle();
}

void TVyMonthList::SetCentre(TDateTime month) {
  if (month == FCentre) return;
  FCentre = month;
  Invalidate();
}

void TVyMonthList::SetHighlight(std::optional<int> row) {
  if (row == FHighlight) return;
  FHighlight = row;
  Invalidate();
}

void TVyMonthList::ShowAt(const TRect& b) {
  HandleNeeded();
  SetBounds(b.Left, b.Top, b.Width(), b.Height());
  SetWindowPos(WindowHandle(), HWND_TOPMOST, b.Left, b.Top, b.Width(), b.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TVyMonthList::Paint() {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetColor(clWindow);
  c->FillRect(GetClientRect());
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsClear);
  for (int row = -3; row <= 3; ++row) {
    TRect r = Rect(0, (row + 3) * FItemHeight, GetClientWidth(), (row + 4) * FItemHeight);
    const bool lit = FHighlight == row;
    if (lit) {
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(clHighlight);
      c->FillRect(r);
      c->GetBrush()->SetStyle(bsClear);
    }
    c->GetFont()->SetColor(lit ? clHighlightText : clWindowText);
    c->DrawText(FormatDateTime(L"mmmm yyyy", MonthAt(row), FFormats), r,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  c->GetBrush()->SetStyle(bsSolid);
}

// --- calendar

TVyCalendar::TVyCalendar(TComponent* AOwner)
    : TVyCustomPanel(AOwner),
      FColors(std::make_unique<TVyCalendarColors>()),
      FLocale(SystemDateLocale()),
      FRepeatTimer(std::make_unique<TTimer>(nullptr)) {
  SetBounds(GetLeft(), GetTop(), 147, 159);
  UsePickerLook(this);
  FColors->OnChange = [this] { Invalidate(); };
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(kRepeatMs);
  FRepeatTimer->OnTimer = TNotifyEvent(this, &TVyCalendar::RepeatStep);
  ApplyFirstDayOfWeek();
  FUpdateForced = true;
  SetViewDate(::Date());
  FUpdateForced = false;
  Measure();
  SetAutoSize(true);
}

TVyCalendar::~TVyCalendar() = default;

void TVyCalendar::Publish(TPublisher<TVyCalendar>& p) {
  using T = TVyCalendar;
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_DIALOGCHAR, &T::CMDialogChar);
  p.Property(L"Date", &T::GetDate, &T::SetDate).Default(0.0);
  p.Property(L"Elements", &T::GetElements, &T::SetElements).Default(kDefaultCalendarElements);
  p.Property(L"FirstDayOfWeek", &T::GetFirstDayOfWeek, &T::SetFirstDayOfWeek).Default(fdowLocale);
  p.Property(L"CaptionTodayBtn", &T::GetCaptionTodayBtn, &T::SetCaptionTodayBtn);
  p.Property(L"CaptionClearBtn", &T::GetCaptionClearBtn, &T::SetCaptionClearBtn);
  p.Property(L"CalendarColors", &T::GetCalendarColors, &T::SetCalendarColors);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsLowered);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(0);
  p.Property(L"AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  p.Property(L"OnChange", &T::OnChange);
  p.Property(L"OnGetBoldDays", &T::OnGetBoldDays);
  p.Property(L"OnGetWeekNumber", &T::OnGetWeekNumber);
}

std::wstring TVyCalendar::TodayCaption() const { return FCaptionToday.empty() ? L"Today" : FCaptionToday; }
std::wstring TVyCalendar::ClearCaption() const { return FCaptionClear.empty() ? L"Clear" : FCaptionClear; }
bool TVyCalendar::FlatLook() const { return GetBorderOuter() == fsFlat || GetBorderOuter() == fsFlatBold; }

void TVyCalendar::Measure() {
  const auto sizes = MeasureTexts(GetFont(), {L"0", TodayCaption(), ClearCaption()});
  FMetrics = {sizes[0].Width, sizes[0].Height, sizes[1].Width, sizes[2].Width};
  AdjustSize();
  Invalidate();
}

void TVyCalendar::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  Measure();
}

bool TVyCalendar::CanAutoSize(int& newWidth, int& newHeight) {
  const TSize size = CalendarAutoSize(FMetrics, FElements);
  newWidth = size.cx;
  newHeight = size.cy;
  return true;
}

TVyCalendarLayout TVyCalendar::Layout() const {
  return ComputeCalendarLayout(AdjustRectForBorders(Rect(0, 0, GetWidth(), GetHeight()), true), FMetrics, FElements);
}

void TVyCalendar::SetElements(TVyCalendarElements v) {
  if (v == FElements) return;
  FElements = v;
  Measure();
}

void TVyCalendar::SetCaptionTodayBtn(const std::wstring& v) {
  FCaptionToday = v;
  Measure();
}

void TVyCalendar::SetCaptionClearBtn(const std::wstring& v) {
  FCaptionClear = v;
  Measure();
}

void TVyCalendar::SetLocale(const TVyDateLocale& locale) {
  FLocale = locale;
  ApplyFirstDayOfWeek();
  Invalidate();
}

void TVyCalendar::SetFirstDayOfWeek(TVyFirstDayOfWeek v) {
  FFirstDayOfWeek = v;
  ApplyFirstDayOfWeek();
}

void TVyCalendar::ApplyFirstDayOfWeek() {
  FWeekStartDay = FFirstDayOfWeek == fdowLocale ? FLocale.FirstDayOfWeek : static_cast<int>(FFirstDayOfWeek);
  FUpdateForced = true;
  const TOnExit done([this] { FUpdateForced = false; });
  SetViewDate(FDisplayedDate != 0 ? FDisplayedDate : ::Date());
}

void TVyCalendar::CreateWnd() {
  TVyCustomPanel::CreateWnd();
  FDownArea = TVyCalendarArea::None;
  ApplyFirstDayOfWeek();
}

void TVyCalendar::SetViewDate(TDateTime date) {
  const TDateTime month = MonthStart(std::trunc(date));
  if (month == FDisplayedDate && !FUpdateForced) return;
  FDisplayedDate = month;
  FPaintDate = CalendarGridStart(month, FWeekStartDay);
  Invalidate();
}

void TVyCalendar::SetDate(TDateTime v) {
  if (std::trunc(v) == std::trunc(FDate) && !FUpdateForced) return;
  FDate = v;
  FUpdateForced = true;
  {
    const TOnExit done([this] { FUpdateForced = false; });
    SetViewDate(v != 0 ? v : ::Date());
  }
  FireChange();
  Invalidate();
}

void TVyCalendar::ForceDate(TDateTime v) {
  FUpdateForced = true;
  const TOnExit done([this] { FUpdateForced = false; });
  SetDate(v);
}

// --- painting

void TVyCalendar::Paint() {
  TVyCustomPanel::Paint();
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  const TVyCalendarLayout l = Layout();
  PaintTitle(c, l);
  const bool pressedToday = FDownArea == TVyCalendarArea::Today && FHotArea == FDownArea;
  const bool pressedClear = FDownArea == TVyCalendarArea::Clear && FHotArea == FDownArea;
  if (FElements.Contains(ceTodayButton)) PaintPickerButton(c, l.TodayButton, TodayCaption(), pressedToday, FlatLook());
  if (FElements.Contains(ceClearButton)) PaintPickerButton(c, l.ClearButton, ClearCaption(), pressedClear, FlatLook());
  c->SetFont(GetFont());
  c->GetPen()->SetColor(FColors->GetLines());
  const bool buttons = FElements.Contains(ceTodayButton) || FElements.Contains(ceClearButton);
  const TRect& grid = l.Area(TVyCalendarArea::Grid);
  if (buttons) {
    const int y = l.Area(TVyCalendarArea::Today).IsEmpty() ? l.ClearButton.Top : l.TodayButton.Top;
    c->MoveTo(grid.Left - (FElements.Contains(ceWeekNumbers) ? l.Area(TVyCalendarArea::WeekColumn).Width() : 0), y - 5);
    c->LineTo(grid.Right, y - 5);
  }
  PaintGrid(c, l);
}

void TVyCalendar::PaintTitle(TCanvas* c, const TVyCalendarLayout& l) {
  if (!FElements.Contains(ceYear) && !FElements.Contains(ceMonth)) return;
  const TRect& title = l.Area(TVyCalendarArea::Title);
  RECT r{title.Left, title.Top, title.Right, title.Bottom};
  DrawEdge(c->GetHandle(), &r, BDR_RAISEDINNER, BF_RECT | BF_MIDDLE | (FlatLook() ? BF_FLAT : 0));
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetColor(clBtnText);
  const std::wstring pattern = FElements.Contains(ceYear) ? L"mmmm yyyy" : L"mmmm";
  TRect text = title;
  c->DrawText(FormatDateTime(pattern, FDisplayedDate, FLocale.Formats), text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  c->GetBrush()->SetStyle(bsSolid);
  if (!FElements.Contains(ceArrows)) return;
  // The arrows: small solid triangles, as the platform's glyph font draws them.
  c->GetBrush()->SetColor(clBtnText);
  c->GetPen()->SetColor(clBtnText);
  const int half = std::max(2, FMetrics.CharHeight / 4);
  for (const bool next : {false, true}) {
    const TRect& a = l.Area(next ? TVyCalendarArea::NextArrow : TVyCalendarArea::PrevArrow);
    const int cx =
        (a.Left + a.Right) / 2 +
        (FDownArea == (next ? TVyCalendarArea::NextArrow : TVyCalendarArea::PrevArrow) && FHotArea == FDownArea ? 1
                                                                                                                : 0);
    const int cy = (a.Top + a.Bottom) / 2;
    if (next)
      c->Polygon({Point(cx - half / 2, cy - half), Point(cx + half / 2 + 1, cy), Point(cx - half / 2, cy + half)});
    else c->Polygon({Point(cx + half / 2, cy - half), Point(cx - half / 2 - 1, cy), Point(cx + half / 2, cy + half)});
  }
}

void TVyCalendar::PaintGrid(TCanvas* c, const TVyCalendarLayout& l) {
  // A calendar too small for cells has nothing to draw in them.
  if (l.CellWidth <= 0 || l.RowHeight <= 0) return;
  const TRect& grid = l.Area(TVyCalendarArea::Grid);
  const TRect& weeks = l.Area(TVyCalendarArea::WeekColumn);
  const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
  c->GetBrush()->SetStyle(bsClear);
  if (FElements.Contains(ceDaysOfWeek)) {
    const TRect& row = l.Area(TVyCalendarArea::DaysOfWeek);
    c->GetFont()->SetColor(FColors->GetDaysOfWeek());
    for (int i = 0; i < 7; ++i) {
      const std::wstring& name = FLocale.Formats.ShortDayNames[CalendarColumnDayOfWeek(i, FWeekStartDay) - 1];
      TRect cell = Rect(row.Left + i * l.CellWidth, row.Top, row.Left + i * l.CellWidth + l.CellWidth - 2, row.Bottom);
      c->DrawText(name.substr(0, 1), cell, centred);
    }
    if (FElements.Contains(ceTodayButton) || FElements.Contains(ceClearButton) || !weeks.IsEmpty()) {
      c->GetPen()->SetColor(FColors->GetLines());
      c->MoveTo(weeks.IsEmpty() ? row.Left : weeks.Left - 5, row.Bottom);
      c->LineTo(grid.Right, row.Bottom);
    }
  }
  if (!weeks.IsEmpty()) {
    c->GetPen()->SetColor(FColors->GetLines());
    c->MoveTo(weeks.Right - 4, weeks.Top + 2);
    c->LineTo(weeks.Right - 4, weeks.Bottom - 2);
  }
  // Bold days of the shown month and, with fill days, of its neighbours.
  std::array<std::uint32_t, 3> bold{};
  for (int offset = -1; offset <= 1; ++offset) {
    if (offset != 0 && !FElements.Contains(ceFillDays)) continue;
    int y, m, d;
    DecodeDate(IncMonth(FDisplayedDate, offset), y, m, d);
    FireGetBoldDays(y, m, bold[offset + 1]);
  }
  const TDateTime today = ::Date();
  const TDateTime selected = std::trunc(FDate);
  TFont* font = c->GetFont();
  for (int i = 0; i < kCalendarCells; ++i) {
    const TDateTime day = FPaintDate + i;
    const int month = CellMonthOffset(day, FDisplayedDate);
    if (month != 0 && !FElements.Contains(ceFillDays)) continue;
    TRect cell = l.Cell(i);
    const int number = DayOf(day);
    TFontStyles style;
    if (bold[month + 1] & (1u << (number - 1))) style.Include(fsBold);
    font->SetStyle(style);
    font->SetColor(month == 0 ? FColors->GetDays() : FColors->GetFillDays());
    TRect wide = Rect(cell.Left - 1, cell.Top, cell.Right + 1, cell.Bottom);
    if (FDate != 0 && day == selected) {
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(FColors->GetSelectedDateBack());
      c->FillRect(wide);
      font->SetColor(FColors->GetSelectedDateFore());
      if (Focused()) c->DrawFocusRect(wide);
      c->GetBrush()->SetStyle(bsClear);
    }
    c->DrawText(std::to_wstring(number), cell, centred);
    if (day == today) {
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(FColors->GetTodaysDateFrame());
      c->FrameRect(wide);
      c->GetBrush()->SetStyle(bsClear);
    }
  }
  font->SetStyle({});
  if (!weeks.IsEmpty()) {
    font->SetColor(FColors->GetDaysOfWeek());
    for (int row = 0; row < kCalendarRows; ++row) {
      const TDateTime second = FPaintDate + row * 7 + 1;
      int week = WeekOfTheYear(second);
      if (OnGetWeekNumber) OnGetWeekNumber(this, week, FPaintDate + (row + 1) * 7);
      const TRect cell = l.Cell(row * 7);
      TRect r = Rect(weeks.Left, cell.Top, weeks.Right - 6, cell.Bottom);
      c->DrawText(std::to_wstring(week), r, centred);
    }
  }
  c->GetBrush()->SetStyle(bsSolid);
}

// --- mouse

void TVyCalendar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!ShownInPopup && !ComponentState().Contains(csDesigning) && CanFocus() && !Focused()) SetFocus();
  TVyCustomPanel::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FHotArea = FDownArea = Layout().AreaAt(Point(x, y));
  FLastMouse = Point(x, y);
  if (FDownArea == TVyCalendarArea::Title) OpenMonthList();
  if (FDownArea == TVyCalendarArea::Title || FDownArea == TVyCalendarArea::PrevArrow ||
      FDownArea == TVyCalendarArea::NextArrow) {
    FRepeatCount = -1;
    RepeatStep(nullptr);
    FRepeatTimer->SetEnabled(true);
  } else {
    TrackDay(x, y);
  }
  Invalidate();
}

void TVyCalendar::MouseMove(TShiftState shift, int x, int y) {
  TVyCustomPanel::MouseMove(shift, x, y);
  const TVyCalendarArea over = Layout().AreaAt(Point(x, y));
  if (over != FHotArea) {
    FHotArea = over;
    if (FDownArea != TVyCalendarArea::None) Invalidate();
  }
  FLastMouse = Point(x, y);
  if (shift.Contains(ssLeft)) TrackDay(x, y);
}

void TVyCalendar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    StopRepeat();
    if (FMonthList && FMonthList->GetHighlight()) SetViewDate(FMonthList->MonthAt(*FMonthList->GetHighlight()));
    CloseMonthList();
    FDownArea = TVyCalendarArea::None;
    Invalidate();
  }
  TVyCustomPanel::MouseUp(button, shift, x, y);
}

void TVyCalendar::StopRepeat() { FRepeatTimer->SetEnabled(false); }

void TVyCalendar::RepeatStep(TObject*) {
  if (FMonthList) {
    ScrollMonthList(true);
    return;
  }
  const bool back = FDownArea == TVyCalendarArea::PrevArrow;
  if ((!back && FDownArea != TVyCalendarArea::NextArrow) || FHotArea != FDownArea) {
    if (FDownArea == TVyCalendarArea::None) StopRepeat();
    return;
  }
  ++FRepeatCount;
  if (CalendarRepeatFires(FRepeatCount)) SetViewDate(IncMonth(FDisplayedDate, back ? -1 : 1));
}

void TVyCalendar::OpenMonthList() {
  const int itemHeight = FMetrics.CharHeight + 2;
  const int margin = 2 * (FMetrics.CharWidth + 2);
  FMonthList = std::make_unique<TVyMonthList>(this, FLocale.Formats, itemHeight);
  FMonthList->GetFont()->Assign(GetFont());
  FMonthList->SetCentre(FDisplayedDate);
  const TPoint origin = ClientToScreen(Point(margin, 2 - 3 * itemHeight));
  FMonthList->ShowAt(Bounds(origin.X, origin.Y, std::max(1, GetWidth() - 2 * margin), 7 * itemHeight + 2));
  FListWait = 0;
}

void TVyCalendar::CloseMonthList() { FMonthList.reset(); }

// Each tick: held above the list the months move back, below it forward, faster the
// farther away; over it the row under the mouse lights.
void TVyCalendar::ScrollMonthList(bool scroll) {
  const TPoint p = FMonthList->ScreenToClient(ClientToScreen(FLastMouse));
  const int height = FMonthList->GetClientHeight();
  if (p.Y >= 0 && p.Y < height) {
    FMonthList->SetHighlight(std::clamp(p.Y / FMonthList->ItemHeight(), 0, 6) - 3);
    return;
  }
  FMonthList->SetHighlight(std::nullopt);
  if (!scroll) return;
  if (FListWait > 0) {
    --FListWait;
    return;
  }
  const int distance = p.Y < 0 ? -p.Y : p.Y - height;
  FMonthList->SetCentre(IncMonth(FMonthList->GetCentre(), p.Y < 0 ? -1 : 1));
  FListWait = std::max(0, 5 - distance / 10);
}

void TVyCalendar::TrackDay(int x, int y) {
  if (FMonthList) {
    ScrollMonthList(false);
    return;
  }
  if (FDownArea != TVyCalendarArea::Grid) return;
  const std::optional<int> cell = Layout().CellAt(Point(x, y));
  if (!cell) return;
  const TDateTime day = FPaintDate + *cell;
  if (CellMonthOffset(day, FDisplayedDate) != 0 && !FElements.Contains(ceFillDays)) return;
  if (day == std::trunc(FDate) && FDate != 0) return;
  // The month shown stays while the mouse moves; a click shows the date's.
  const TDateTime shown = FDisplayedDate;
  FDate = day + (FDate - std::trunc(FDate));
  FireChange();
  SetViewDate(shown);
  Invalidate();
}

void TVyCalendar::Click() {
  if (FDownArea != FHotArea) return;
  switch (FDownArea) {
    case TVyCalendarArea::Grid:
      if (FDate != 0) SetViewDate(FDate);
      break;
    case TVyCalendarArea::Today: ForceDate(::Date() + (FDate - std::trunc(FDate))); break;
    case TVyCalendarArea::Clear: ForceDate(0); break;
    default: return;
  }
  TVyCustomPanel::Click();
}

void TVyCalendar::DblClick() {
  const TVyCalendarArea a = FHotArea;
  if (a == TVyCalendarArea::Grid || a == TVyCalendarArea::Today || a == TVyCalendarArea::Clear)
    TVyCustomPanel::DblClick();
}

// --- keys

void TVyCalendar::CMDialogChar(TMessage& m) {
  const auto key = static_cast<wchar_t>(m.WParam);
  if (FElements.Contains(ceClearButton) && IsAccel(key, ClearCaption())) {
    ForceDate(0);
    m.Result = 1;
  } else if (FElements.Contains(ceTodayButton) && IsAccel(key, TodayCaption())) {
    ForceDate(::Date() + (FDate - std::trunc(FDate)));
    m.Result = 1;
  } else {
    QORN_INHERITED(m);
  }
}

void TVyCalendar::KeyDown(WORD& key, TShiftState shift) {
  TVyCustomPanel::KeyDown(key, shift);
  if (shift.Contains(ssShift) || shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return;
  const TDateTime base = FDate != 0 ? FDate : ::Date();
  int y, m, d;
  DecodeDate(base, y, m, d);
  const TDateTime time = base - std::trunc(base);
  switch (key) {
    case VK_END: SetDate(EncodeDate(y, m, DaysInAMonth(y, m)) + time); break;
    case VK_HOME: SetDate(EncodeDate(y, m, 1) + time); break;
    case VK_LEFT: SetDate(base - 1); break;
    case VK_RIGHT: SetDate(base + 1); break;
    case VK_UP: SetDate(base - 7); break;
    case VK_DOWN: SetDate(base + 7); break;
    case VK_PRIOR:
      if (FElements.Contains(ceMonth)) SetDate(IncMonth(base, -1));
      break;
    case VK_NEXT:
      if (FElements.Contains(ceMonth)) SetDate(IncMonth(base, 1));
      break;
    case VK_RETURN:
      FDownArea = FHotArea = TVyCalendarArea::Grid;
      Click();
      FDownArea = TVyCalendarArea::None;
      break;
    default: return;
  }
}

}  // namespace Vy
