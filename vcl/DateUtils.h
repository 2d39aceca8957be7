// Dates and times: TDateTime is days since 1899-12-30, the time of day in the
// fraction (for dates before that day the fraction still counts forward from
// midnight: -1.25 is 1899-12-29 06:00).
//
// Conversions to and from text take the locale record to use (vcl/FormatSettings.h);
// the overloads without one use the user's locale.
#pragma once
#include <cstdint>

#include "vcl/FormatSettings.h"
#include "vcl/System.h"

using TDateTime = double;

inline constexpr double HoursPerDay = 24;
inline constexpr double MinsPerDay = 24 * 60;
inline constexpr double SecsPerDay = 24 * 60 * 60;
inline constexpr double MSecsPerDay = 24 * 60 * 60 * 1000.0;

// The local date and time of the machine.
TDateTime Now();
TDateTime Date();
TDateTime Time();

bool IsLeapYear(int year);
int DaysInAMonth(int year, int month);

// Years 1..9999; raises EConvertError "Invalid argument to date encode" / "... time encode".
TDateTime EncodeDate(int year, int month, int day);
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time);
void DecodeDate(TDateTime date, int& year, int& month, int& day);
void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime date);
// The ISO 8601 week (weeks start on Monday; week 1 holds the year's first Thursday),
// and the year that week belongs to.
int WeekOfTheYear(TDateTime date);
int WeekOfTheYear(TDateTime date, int& year);

// Months move the day back to the month's last day where needed (Jan 31 + 1 month
// is Feb 28 or 29); the time of day stays.
TDateTime IncMonth(TDateTime date, int months = 1);
TDateTime IncYear(TDateTime date, int years = 1);
TDateTime IncDay(TDateTime date, int days = 1);
TDateTime IncHour(TDateTime date, std::int64_t hours = 1);
TDateTime IncMinute(TDateTime date, std::int64_t minutes = 1);

// Tokens (any case): d dd ddd dddd ddddd (short date) dddddd (long date), m mm mmm mmmm
// (minutes right after an hour token), yy yyyy, h hh, n nn, s ss, z zzz, t (short
// time) tt (long time), c (date and time), am/pm a/p ampm (a 12-hour clock for the
// hours before them), / and : (the separators), 'quoted' and "quoted" text.
String FormatDateTime(const String& format, TDateTime dateTime, const TFormatSettings& fs);
String FormatDateTime(const String& format, TDateTime dateTime);

String DateToStr(TDateTime date, const TFormatSettings& fs);
String DateToStr(TDateTime date);
String TimeToStr(TDateTime time, const TFormatSettings& fs);
String TimeToStr(TDateTime time);

// Numbers in the order of ShortDateFormat, split by DateSeparator; a missing year is
// this year's, a year of one or two digits falls in TwoDigitYearCenturyWindow.
// Raises EConvertError "'s' is not a valid date".
TDateTime StrToDate(const String& s, const TFormatSettings& fs);
TDateTime StrToDate(const String& s);
bool TryStrToDate(const String& s, TDateTime& date, const TFormatSettings& fs);
// Hours [: minutes [: seconds [. milliseconds]]] [AM | PM], separated by TimeSeparator.
// Raises EConvertError "'s' is not a valid time".
TDateTime StrToTime(const String& s, const TFormatSettings& fs);
TDateTime StrToTime(const String& s);
TDateTime StrToTimeDef(const String& s, TDateTime defaultValue, const TFormatSettings& fs);
TDateTime StrToTimeDef(const String& s, TDateTime defaultValue);
bool TryStrToTime(const String& s, TDateTime& time, const TFormatSettings& fs);
