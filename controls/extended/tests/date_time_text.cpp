// Reading and writing the date/time edit's text against fixed locales, so the
// results do not depend on the machine's.
#include <gtest/gtest.h>

#include "controls/extended/VyDateTimeText.h"

using namespace Vy;

namespace {

TVyDateLocale DayMonthYear() {
  TVyDateLocale l;
  l.Formats.ShortDateFormat = L"dd.MM.yyyy";
  l.Formats.DateSeparator = L'.';
  l.Formats.LongTimeFormat = L"H:mm:ss";
  l.Formats.ShortTimeFormat = L"H:mm";
  l.Formats.LongMonthNames = {L"Januar", L"Februar", L"März",      L"April",   L"Mai",      L"Juni",
                              L"Juli",   L"August",  L"September", L"Oktober", L"November", L"Dezember"};
  l.GenitiveMonthNames = {L"января", L"февраля", L"марта",    L"апреля",  L"мая",    L"июня",
                          L"июля",   L"августа", L"сентября", L"октября", L"ноября", L"декабря"};
  l.FirstDayOfWeek = 0;
  return l;
}

TVyDateLocale MonthDayYear() { return InvariantDateLocale(); }  // M/d/yyyy, h:mm:ss AMPM

struct DateCase {
  const wchar_t* text;
  int year, month, day;  // 0: no date
};

void ExpectDates(const TVyDateLocale& locale, TDateTime today, std::initializer_list<DateCase> cases) {
  for (const DateCase& c : cases) {
    SCOPED_TRACE(String(c.text));
    const std::optional<TDateTime> got = ParseDateText(c.text, locale, today);
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, c.year ? EncodeDate(c.year, c.month, c.day) : 0.0);
  }
}

TEST(DateTimeText, DatesInADayMonthYearLocale) {
  const TDateTime today = EncodeDate(2026, 1, 30);
  ExpectDates(DayMonthYear(), today,
              {{L"010203", 2003, 2, 1},
               {L"1.2.2003", 2003, 2, 1},
               {L"  1.2.2003  ", 2003, 2, 1},
               {L"15", 2026, 1, 15},
               {L"15.3", 2026, 3, 15},
               {L"3 Februar 2004", 2004, 2, 3},
               {L"3 февраля 2004", 2004, 2, 3},   // the genitive name
               {L"3 February 2004", 2004, 2, 3},  // English always reads
               {L"3 xyz 4", 2026, 4, 3},          // an unknown word is passed over
               {L"1.2.76", 1976, 2, 1},
               {L"1.2.75", 2075, 2, 1},
               {L"31.2.2003", 0, 0, 0},  // a day the month lacks: no date
               {L"", 0, 0, 0},
               {L"   ", 0, 0, 0}});
}

TEST(DateTimeText, DatesInAMonthDayYearLocale) {
  const TDateTime today = EncodeDate(2026, 1, 30);
  ExpectDates(MonthDayYear(), today,
              {{L"25 12", 2026, 12, 25},  // above 12 goes to the day
               {L"12/25/2003", 2003, 12, 25},
               {L"2/3/04", 2004, 2, 3},
               {L"020304", 2004, 2, 3},
               {L"Mar 5", 2026, 3, 5},
               {L"5 march 1999", 1999, 3, 5},
               {L"March 5 1999", 1999, 3, 5}});
}

TEST(DateTimeText, AnUntypedDayStaysInTheTypedMonth) {
  // Today is the 30th: February has no 30th, so the day becomes its last.
  ExpectDates(MonthDayYear(), EncodeDate(2026, 1, 30), {{L"2/2003", 2003, 2, 28}, {L"2/2004", 2004, 2, 29}});
  ExpectDates(MonthDayYear(), EncodeDate(2026, 1, 30), {{L"February 2003", 2003, 2, 28}});
  ExpectDates(DayMonthYear(), EncodeDate(2026, 3, 31), {{L"2.2003", 2003, 3, 2}, {L"4", 2026, 3, 4}});
  // A typed day that the month lacks stays no date.
  ExpectDates(MonthDayYear(), EncodeDate(2026, 1, 30), {{L"2/30/2003", 0, 0, 0}});
}

TEST(DateTimeText, TwoDigitYearsFollowTheWindowAroundToday) {
  TVyDateLocale l = DayMonthYear();
  ExpectDates(l, EncodeDate(2026, 6, 1), {{L"1.1.00", 2000, 1, 1}, {L"1.1.99", 1999, 1, 1}, {L"1.1.7", 2007, 1, 1}});
  l.Formats.TwoDigitYearCenturyWindow = 0;  // the current century
  ExpectDates(l, EncodeDate(2026, 6, 1), {{L"1.1.99", 2099, 1, 1}});
}

TEST(DateTimeText, UnreadableDatesGiveNothing) {
  const TDateTime today = EncodeDate(2026, 1, 30);
  for (const wchar_t* text : {L"99999999999999999999", L"1.2.1234567890", L"1234567890123"}) {
    SCOPED_TRACE(String(text));
    EXPECT_FALSE(ParseDateText(text, DayMonthYear(), today).has_value());
  }
}

struct TimeCase {
  const wchar_t* text;
  int hour, minute, second, msec;
};

void ExpectTimes(const TVyDateLocale& locale, std::initializer_list<TimeCase> cases) {
  for (const TimeCase& c : cases) {
    SCOPED_TRACE(String(c.text));
    const std::optional<TDateTime> got = ParseTimeText(c.text, locale);
    ASSERT_TRUE(got.has_value());
    int h, m, s, ms;
    DecodeTime(*got, h, m, s, ms);
    EXPECT_EQ((std::array{h, m, s, ms}), (std::array{c.hour, c.minute, c.second, c.msec}));
  }
}

TEST(DateTimeText, Times) {
  ExpectTimes(DayMonthYear(), {{L"1230", 12, 30, 0, 0},
                               {L"930", 9, 30, 0, 0},
                               {L"7 pm", 19, 0, 0, 0},
                               {L"7p", 19, 0, 0, 0},
                               {L"12 AM", 0, 0, 0, 0},
                               {L"12 PM", 12, 0, 0, 0},
                               {L"25:70", 1, 0, 0, 0},
                               {L"23:59:59", 23, 59, 59, 0},
                               {L"10:20:75", 10, 20, 0, 0},
                               {L"999999999", 999999999 % 24, 0, 0, 0},
                               {L"", 0, 0, 0, 0}});
  TVyDateLocale withMs = DayMonthYear();
  withMs.Formats.LongTimeFormat = L"HH:mm:ss.zzz";
  ExpectTimes(withMs, {{L"1:2:3.1234567", 1, 2, 3, 123}, {L"1:2:3.5", 1, 2, 3, 5}});
}

TEST(DateTimeText, TheDesignatorOfTheFormatIsNoField) {
  // A locale writing the designator first ("tt h:mm:ss") must still read hours first.
  TVyDateLocale l = MonthDayYear();
  l.Formats.LongTimeFormat = L"AMPM h:mm:ss";
  l.Formats.TimePMString = L"오후";
  ExpectTimes(l, {{L"오후 3:05", 15, 5, 0, 0}, {L"3:05", 3, 5, 0, 0}});
}

TEST(DateTimeText, UnreadableTimesGiveNothing) {
  EXPECT_FALSE(ParseTimeText(L"12345678901", DayMonthYear()).has_value());
  EXPECT_FALSE(ParseTimeText(L"1:99999999999999999999", DayMonthYear()).has_value());
}

TEST(DateTimeText, ShownText) {
  const TDateTime day = EncodeDate(2003, 2, 1);
  EXPECT_EQ(DateTimeEditText({etDate, L"", day}, DayMonthYear()), L"01.02.2003");
  EXPECT_EQ(DateTimeEditText({etDate, L"", day}, MonthDayYear()), L"2/1/2003");
  EXPECT_EQ(DateTimeEditText({etDate, L"", 0}, MonthDayYear()), L"");
  const TDateTime evening = EncodeTime(19, 5, 0, 0);
  EXPECT_EQ(DateTimeEditText({etTime, L"hh:nn", evening}, MonthDayYear()), L"19:05");
  EXPECT_EQ(DateTimeEditText({etTime, L"", evening}, DayMonthYear()), L"19:05");
  EXPECT_EQ(DateTimeEditText({etTime, L"", evening}, MonthDayYear()), L"7:05 PM");
  // Midnight: blank until a time was set, then shown while the text was not blank.
  EXPECT_EQ(DateTimeEditText({etTime, L"hh:nn", 0, false, true}, MonthDayYear()), L"");
  EXPECT_EQ(DateTimeEditText({etTime, L"hh:nn", 0, true, false}, MonthDayYear()), L"");
  EXPECT_EQ(DateTimeEditText({etTime, L"hh:nn", 0, true, true}, MonthDayYear()), L"00:00");
}

}  // namespace
