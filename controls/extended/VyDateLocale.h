// The locale values the date/time edit and its drop-downs read: the number and date
// formats of vcl/FormatSettings.h, the month names as the locale writes them after a
// day number, and the first day of the week. Controls take the record to use, so
// tests hand in a fixed one; SystemDateLocale() is the user's, read at run time.
#pragma once
#include <array>

#include "vcl/FormatSettings.h"

namespace Vy {

struct TVyDateLocale {
  TFormatSettings Formats = InvariantFormatSettings();
  // Some languages decline a month name after a day ("1 февраля"); index 0 is January.
  std::array<String, 12> GenitiveMonthNames = InvariantFormatSettings().LongMonthNames;
  // 0 = Monday .. 6 = Sunday.
  int FirstDayOfWeek = 6;
};

// The user's locale, read once (the native build: the fixed English/US values).
const TVyDateLocale& SystemDateLocale();

// The fixed English/US values: dates M/d/yyyy, times h:mm:ss AMPM, weeks from Sunday.
TVyDateLocale InvariantDateLocale();

}  // namespace Vy
