#include "controls/extended/VyDateTimeEdit.h"

#include <cmath>

#include "vcl/ScopeGuards.h"
#include "vcl/SysUtils.h"

namespace Vy {

TVyDateTimeEdit::TVyDateTimeEdit(TComponent* AOwner) : TVyCustomEdit(AOwner), FLocale(SystemDateLocale()) {}

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
  const bool showMidnight = FInTimeUpdate || !GetText().empty();
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

}  // namespace Vy
