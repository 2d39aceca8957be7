#include "controls/extended/VyDateTimeEdit.h"

#include <cmath>

#include "core/utils/Trace.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/SysUtils.h"

namespace Vy {

TVyDateTimeEdit::TVyDateTimeEdit(TComponent* AOwner)
    : TVyCustomEdit(AOwner),
      FLocale(SystemDateLocale()),
      FCalendarColors(std::make_unique<TVyCalendarColors>()),
      FClockFaceColors(std::make_unique<TVyClockFaceColors>()) {
  SetDropButtonVisible(true);
}

void TVyDateTimeEdit::Publish(TPublisher<TVyDateTimeEdit>& p) {
  using T = TVyDateTimeEdit;
  p.Message(WM_SETFOCUS, &T::WMSetFocus);
  p.Message(WM_KILLFOCUS, &T::WMKillFocus);
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Property(L"EditType", &T::GetEditType, &T::SetEditType).Default(etDate);
  p.Property(L"Date", &T::GetDate, &T::SetDate).Default(0.0).Stored(&T::IsDateStored);
  p.Property(L"Time", &T::GetTime, &T::SetTime).Default(0.0).Stored(&T::IsTimeStored);
  p.Property(L"Format", &T::GetFormat, &T::SetFormat);
  p.Property(L"OnDateTimeChange", &T::OnDateTimeChange);
  p.Property(L"FlatButtons", &T::GetFlatButtons, &T::SetFlatButtons).Default(false).Stored(&T::IsButtonLookStored);
  p.Property(L"FlatButtonColor", &T::GetFlatButtonColor, &T::SetFlatButtonColor)
      .Default(clBtnFace)
      .Idents(ColorIdents)
      .Stored(&T::IsButtonLookStored);
  p.Property(L"DropButtonVisible", &T::GetDropButtonVisible, &T::SetDropButtonVisible).Default(true);
  p.Property(L"CalendarElements", &T::GetCalendarElements, &T::SetCalendarElements).Default(kDefaultCalendarElements);
  p.Property(L"CalendarColors", &T::GetCalendarColors, &T::SetCalendarColors);
  p.Property(L"FirstDayOfWeek", &T::GetFirstDayOfWeek, &T::SetFirstDayOfWeek).Default(fdowLocale);
  p.Property(L"CaptionTodayBtn", &T::GetCaptionTodayBtn, &T::SetCaptionTodayBtn);
  p.Property(L"CaptionClearBtn", &T::GetCaptionClearBtn, &T::SetCaptionClearBtn);
  p.Property(L"ClockFaceColors", &T::GetClockFaceColors, &T::SetClockFaceColors);
  p.Property(L"CaptionAM", &T::GetCaptionAM, &T::SetCaptionAM);
  p.Property(L"CaptionPM", &T::GetCaptionPM, &T::SetCaptionPM);
  p.Property(L"CaptionSet", &T::GetCaptionSet, &T::SetCaptionSet);
  p.Property(L"RestrictMinutes", &T::GetRestrictMinutes, &T::SetRestrictMinutes).Default(false);
  p.Property(L"ShowHowToUseHint", &T::GetShowHowToUseHint, &T::SetShowHowToUseHint).Default(true);
  p.Property(L"HowToUseMsg", &T::GetHowToUseMsg, &T::SetHowToUseMsg);
  p.Property(L"OnGetBoldDays", &T::OnGetBoldDays);
  p.Property(L"OnGetWeekNumber", &T::OnGetWeekNumber);
  p.Property(L"OnDropDown", &T::OnDropDown);
  p.Property(L"OnCloseUp", &T::OnCloseUp);
}

TDateTime TVyDateTimeEdit::GetDate() const { return std::trunc(FDateTimeValue); }
TDateTime TVyDateTimeEdit::GetTime() const { return Frac(FDateTimeValue); }

void TVyDateTimeEdit::SetDate(TDateTime v) {
  FDateTimeValue = v;
  SetEditType(etDate);
  CheckChanged();
  UpdateText();
}

void TVyDateTimeEdit::SetTime(TDateTime v) {
  FInTimeUpdate = true;
  TOnExit done([this] { FInTimeUpdate = false; });
  FDateTimeValue = v;
  FTimeAssigned = true;
  SetEditType(etTime);
  CheckChanged();
  UpdateText();
}

void TVyDateTimeEdit::SetEditType(TVyDTEditType v) {
  if (v == FEditType) return;
  ParseText();
  FEditType = v;
  UpdateText();
}

void TVyDateTimeEdit::SetFormat(const String& v) {
  if (v == FFormat) return;
  ParseText();
  FFormat = v;
  UpdateText();
}

void TVyDateTimeEdit::SetLocale(const TVyDateLocale& locale) {
  ParseText();
  FLocale = locale;
  UpdateText();
}

void TVyDateTimeEdit::Clear() {
  TVyCustomEdit::Clear();
  FDateTimeValue = 0;
  CheckChanged();
  FTimeAssigned = false;
}

void TVyDateTimeEdit::UpdateText() {
  FUpdateBusy = true;
  TOnExit done([this] { FUpdateBusy = false; });
  const bool showMidnight = FInTimeUpdate || FTimeChosen || !GetText().empty();
  SetText(
      DateTimeEditText({FEditType, FFormat, FDateTimeValue, FTimeAssigned || FInTimeUpdate, showMidnight}, FLocale));
  SetModified(false);
}

void TVyDateTimeEdit::ParseText() {
  if (!HandleAllocated() || !GetModified()) return;
  SetModified(false);
  // Text that cannot be read keeps the value: the user may still be typing.
  if (FEditType == etTime) {
    const std::optional<TDateTime> t = ParseTimeText(GetText(), FLocale);
    if (!t) return;
    FDateTimeValue = *t;
    FTimeAssigned = true;
  } else {
    const std::optional<TDateTime> d = ParseDateText(GetText(), FLocale, ::Date());
    if (!d) return;
    FDateTimeValue = *d;
  }
  CheckChanged();
}

void TVyDateTimeEdit::CheckChanged() {
  const bool changed = FEditType == etTime ? Frac(FDateTimeValue) != Frac(FPreviousDateTime)
                                           : std::trunc(FDateTimeValue) != std::trunc(FPreviousDateTime);
  if (!changed) return;
  FPreviousDateTime = FDateTimeValue;
  FireDateTimeChange(FDateTimeValue);
}

void TVyDateTimeEdit::Change() {
  if (!FUpdateBusy) ParseText();
  TVyCustomEdit::Change();
}

void TVyDateTimeEdit::WMSetFocus(TMessage& m) {
  QORN_INHERITED(m);
  UpdateText();
}

void TVyDateTimeEdit::WMKillFocus(TMessage& m) {
  QORN_INHERITED(m);
  ParseText();
  UpdateText();
}

void TVyDateTimeEdit::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TVyDateTimeEdit::Step(TDateTime stepped) {
  FDateTimeValue = stepped;
  if (FEditType == etTime) FTimeAssigned = true;
  CheckChanged();
  UpdateText();
}

void TVyDateTimeEdit::KeyDown(WORD& key, TShiftState shift) {
  TVyCustomEdit::KeyDown(key, shift);
  const bool isTime = FEditType == etTime;
  // An empty edit steps from now: today for dates, this hour and minute for times.
  const TDateTime from = FDateTimeValue != 0 ? FDateTimeValue : (isTime ? Now() : ::Date());
  const bool yearly = shift.Contains(ssShift);
  switch (key) {
    case VK_PRIOR: Step(isTime ? IncHour(from, 1) : yearly ? IncYear(from, 1) : IncMonth(from, 1)); break;
    case VK_NEXT: Step(isTime ? IncHour(from, -1) : yearly ? IncYear(from, -1) : IncMonth(from, -1)); break;
    case VK_UP: Step(isTime ? IncMinute(from, 1) : IncDay(from, 1)); break;
    case VK_DOWN: Step(isTime ? IncMinute(from, -1) : IncDay(from, -1)); break;
    default: break;
  }
}

void TVyDateTimeEdit::KeyPress(wchar_t& key) {
  const bool isTime = FEditType == etTime;
  if (isTime && key != L'\b' && key != L'\r' && key != 27) {
    const wchar_t up = static_cast<wchar_t>(std::towupper(key));
    if (std::iswalpha(key) && up != L'A' && up != L'M' && up != L'P') {
      key = 0;
      MessageBeep(0);
      return;
    }
  }
  const wchar_t separator = isTime ? FLocale.Formats.TimeSeparator : FLocale.Formats.DateSeparator;
  if (key != separator) {
    const TDateTime from = FDateTimeValue != 0 ? FDateTimeValue : (isTime ? Now() : ::Date());
    if (key == L'+' || key == L'=') {
      Step(isTime ? IncHour(from, 1) : IncDay(from, 1));
      key = 0;
      return;
    }
    if (key == L'-' || key == L'_') {
      Step(isTime ? IncHour(from, -1) : IncDay(from, -1));
      key = 0;
      return;
    }
  }
  TVyCustomEdit::KeyPress(key);
}

// --- drop-downs

void TVyDateTimeEdit::FireDropDown() {
  if (GetReadOnly()) return;
  TVyCustomEdit::FireDropDown();
  // The drop button held the mouse; the drop-down's clicks are its own.
  if (HandleAllocated() && GetCapture() == WindowHandle()) ReleaseCapture();
  const auto alive = WatchLife();
  const TNotifyEvent enter = OnEnter, exit = OnExit;
  OnEnter = TNotifyEvent();
  OnExit = TNotifyEvent();
  const TOnExit restored([this, alive, enter, exit] {
    if (alive.expired()) return;
    OnEnter = enter;
    OnExit = exit;
  });
  try {
    if (FEditType == etDate) ShowCalendar();
    else ShowClock();
  } catch (...) {
    TraceCurrentException(L"date/time drop-down");
  }
}

std::unique_ptr<TVyPopupPanel> TVyDateTimeEdit::NewDropPanel() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return nullptr;
  auto panel = std::make_unique<TVyPopupPanel>(nullptr);
  panel->SetParent(form);
  panel->GetFont()->SetName(GetFont()->GetName());
  panel->GetFont()->SetColor(GetFont()->GetColor());
  return panel;
}

std::optional<bool> TVyDateTimeEdit::DropDown(std::unique_ptr<TVyPopupPanel>& panel, TVyCustomPanel* picker) {
  picker->SetColor(GetColor());
  if ((GetFrameVisible() && !UsesThemedFrame() && GetFrameStyle() == fsFlat) || GetFrameStyle() == fsFlatBold) {
    picker->SetBorderOuter(fsFlat);
    picker->SetFlatColor(GetFrameColor());
  }
  picker->HandleNeeded();
  const bool autoSelect = GetAutoSelect();
  SetAutoSelect(false);
  const auto alive = WatchLife();
  const auto panelAlive = panel->Watch();
  FDropPanel = panel.get();
  const bool accepted = panel->DropFrom(this);
  // A form freed under the drop-down took the panel, its child, with it.
  if (panelAlive.expired()) (void)panel.release();
  if (alive.expired()) return std::nullopt;
  FDropPanel = nullptr;
  SetAutoSelect(autoSelect);
  return accepted && !panelAlive.expired();
}

void TVyDateTimeEdit::ShowCalendar() {
  std::unique_ptr<TVyPopupPanel> panel = NewDropPanel();
  if (!panel) return;
  // The panel's children go with it; the edit may go while it is open.
  auto* calendar = new TVyCalendar(panel.get());
  calendar->ShownInPopup = true;
  calendar->SetParent(panel.get());
  calendar->SetLocale(FLocale);
  calendar->SetElements(FCalendarElements);
  calendar->SetFirstDayOfWeek(FFirstDayOfWeek);
  calendar->SetCaptionClearBtn(FCaptionClearBtn);
  calendar->SetCaptionTodayBtn(FCaptionTodayBtn);
  calendar->OnGetBoldDays = OnGetBoldDays;
  calendar->OnGetWeekNumber = OnGetWeekNumber;
  calendar->SetDate(FDateTimeValue != 0 ? GetDate() : ::Date());
  calendar->SetCalendarColors(FCalendarColors.get());
  TVyPopupPanel* raw = panel.get();
  calendar->OnClick = TNotifyEvent([raw](TObject*) { raw->ClosePopup(); });
  if (DropDown(panel, calendar).value_or(false)) SetDate(calendar->GetDate());
}

void TVyDateTimeEdit::ShowClock() {
  std::unique_ptr<TVyPopupPanel> panel = NewDropPanel();
  if (!panel) return;
  auto* clock = new TVyTimePicker(panel.get());
  clock->ShownInPopup = true;
  clock->SetParent(panel.get());
  clock->SetLocale(FLocale);
  clock->SetCaptionAM(FCaptionAM);
  clock->SetCaptionPM(FCaptionPM);
  clock->SetCaptionSet(FCaptionSet);
  clock->SetTime(GetTime());
  clock->SetClockFaceColors(FClockFaceColors.get());
  clock->SetFormat(FFormat);
  clock->SetShowSetButton(true);
  clock->SetShowHowToUseHint(FShowHowToUseHint);
  clock->SetHowToUseMsg(FHowToUseMsg);
  clock->SetRestrictMinutes(FRestrictMinutes);
  TVyPopupPanel* raw = panel.get();
  clock->OnSetBtnClick = TNotifyEvent([raw](TObject*) { raw->ClosePopup(); });
  if (!DropDown(panel, clock).value_or(false)) return;
  FTimeChosen = true;
  const TOnExit chosen([this] { FTimeChosen = false; });
  SetTime(clock->GetTime());
}

}  // namespace Vy
