// The locale values that number, date and time conversions use, in one record.
// Conversions take the record to use; callers that want the user's locale pass
// `FormatSettings()`, filled once from GetLocaleInfo (fixed English/US values in the
// native build). Nothing swaps these values process-wide for a conversion: a caller
// that needs other values copies the record and passes the copy.
#pragma once
#include <array>

#include "vcl/System.h"

struct TFormatSettings {
  wchar_t DecimalSeparator = L'.';
  wchar_t ThousandSeparator = L',';
  wchar_t DateSeparator = L'/';
  wchar_t TimeSeparator = L':';
  String ShortDateFormat = L"M/d/yyyy";
  String LongDateFormat = L"dddd, MMMM d, yyyy";
  String ShortTimeFormat = L"h:mm AMPM";
  String LongTimeFormat = L"h:mm:ss AMPM";
  String TimeAMString = L"AM";
  String TimePMString = L"PM";
  // Index 0 is January / Sunday.
  std::array<String, 12> ShortMonthNames{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                         L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
  std::array<String, 12> LongMonthNames{L"January", L"February", L"March",     L"April",
                                        L"May",     L"June",     L"July",      L"August",
                                        L"September", L"October", L"November", L"December"};
  std::array<String, 7> ShortDayNames{L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
  std::array<String, 7> LongDayNames{L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                     L"Thursday", L"Friday", L"Saturday"};
  // Two-digit years fall in the hundred years that start this many years before the
  // current one (50, read in 2026: "76" is 1976, "75" is 2075).
  int TwoDigitYearCenturyWindow = 50;
};

// The user's locale, read once. The Windows build fills it from GetLocaleInfo.
const TFormatSettings& FormatSettings();

// The fixed English/US values (also what the native build uses as the user's).
TFormatSettings InvariantFormatSettings();
