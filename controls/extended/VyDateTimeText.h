// What the date/time edit reads from and writes into its text, free of any window.
//
// Reading is forgiving: separators are whatever is neither a letter nor a digit, the
// fields come in the order of the locale's format, a month may be named, and digit
// runs without separators split into fields ("010203", "1230"). A field the user did
// not type comes from today, except the day, which stays within the typed month.
// Years of one or two digits fall in the locale's hundred-year window around today.
#pragma once
#include <optional>

#include "controls/extended/VyDateLocale.h"
#include "vcl/DateUtils.h"
#include "vcl/TypInfo.h"

namespace Vy {

QORN_ENUM(TVyDTEditType, etDate, etTime);

// The date in the text (whole days): 0 for blank text or a date that does not exist;
// nothing when the text cannot be read (the edit keeps its value). `today` gives the
// fields the text leaves out.
std::optional<TDateTime> ParseDateText(const String& text, const TVyDateLocale& locale, TDateTime today);

// The time of day in the text (hours beyond a day wrap, minutes and seconds of 60 or
// more are 0); nothing when the text cannot be read.
std::optional<TDateTime> ParseTimeText(const String& text, const TVyDateLocale& locale);

// The pattern the edit formats with: `format`, or the locale's short date ("ddddd") or
// short time ("t") when it is empty.
String DateTimePattern(TVyDTEditType type, const String& format);

// What the edit shows for a value. A date of 0 is blank. A time of 0 (midnight) is
// blank until a time was set; once one was, it shows while ShowMidnight (the text was
// not blank, the clock delivered it, or code is setting Time).
struct TVyDateTimeShown {
  TVyDTEditType Type = etDate;
  String Format;
  TDateTime Value = 0;
  bool TimeAssigned = false;
  bool ShowMidnight = false;
};
String DateTimeEditText(const TVyDateTimeShown& shown, const TVyDateLocale& locale);

}  // namespace Vy
