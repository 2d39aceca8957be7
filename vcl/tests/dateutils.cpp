#include <gtest/gtest.h>

#include <cmath>

#include "vcl/SysUtils.h"

namespace {

TFormatSettings Us() { return InvariantFormatSettings(); }

TFormatSettings DayMonthYear() {
  TFormatSettings fs = InvariantFormatSettings();
  fs.ShortDateFormat = L"dd.MM.yyyy";
  fs.LongDateFormat = L"d MMMM yyyy";
  fs.DateSeparator = L'.';
  fs.LongTimeFormat = L"H:mm:ss";
  fs.ShortTimeFormat = L"H:mm";
  fs.DecimalSeparator = L',';
  return fs;
}

int ThisYear() {
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  return y;
}

TEST(DateUtils, EncodeAndDecodeDaysSince1899) {
  struct Case {
    int y, m, d;
    double serial;
    int dayOfWeek;
  };
  const Case cases[] = {
      {1899, 12, 30, 0, 7}, {1900, 1, 1, 2, 2},   {1970, 1, 1, 25569, 5}, {2000, 1, 1, 36526, 7},
      {2000, 2, 29, 36585, 3}, {2026, 12, 9, 46365, 4}, {1, 1, 1, -693593, 2}, {9999, 12, 31, 2958465, 6},
      {1899, 12, 29, -1, 6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
    int y, m, d;
    DecodeDate(c.serial, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
    EXPECT_EQ(DayOfWeek(c.serial), c.dayOfWeek) << c.serial;
  }
}

TEST(DateUtils, EncodeRefusesDatesAndTimesThatDoNotExist) {
  struct Case {
    int y, m, d;
  };
  for (const Case c : {Case{2023, 2, 29}, Case{2100, 2, 29}, Case{2024, 13, 1}, Case{2024, 0, 1}, Case{2024, 4, 31},
                       Case{0, 1, 1}, Case{10000, 1, 1}, Case{2024, 1, 0}}) {
    try {
      EncodeDate(c.y, c.m, c.d);
      ADD_FAILURE() << c.y << "-" << c.m << "-" << c.d;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), L"Invalid argument to date encode");
    }
  }
  EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
  for (auto t : {std::array{24, 0, 0, 0}, std::array{0, 60, 0, 0}, std::array{0, 0, 60, 0}, std::array{0, 0, 0, 1000},
                 std::array{-1, 0, 0, 0}})
    EXPECT_THROW(EncodeTime(t[0], t[1], t[2], t[3]), EConvertError);
}

TEST(DateUtils, TimeOfDayInTheFraction) {
  int h, n, s, ms;
  DecodeTime(EncodeTime(13, 45, 30, 250), h, n, s, ms);
  EXPECT_EQ((std::array{h, n, s, ms}), (std::array{13, 45, 30, 250}));
  // Before 1899-12-30 the fraction still counts forward from midnight.
  DecodeTime(-1.25, h, n, s, ms);
  EXPECT_EQ(h, 6);
  int y, m, d;
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ(d, 29);
  // A value a hair short of midnight is midnight of the next day, not 23:59:59.999 and a bit.
  DecodeDate(0.9999999999, y, m, d);
  DecodeTime(0.9999999999, h, n, s, ms);
  EXPECT_EQ(d, 31);
  EXPECT_EQ(h + n + s + ms, 0);
}

TEST(DateUtils, IsoWeeks) {
  struct Case {
    int y, m, d, week, weekYear;
  };
  const Case cases[] = {
      {2021, 1, 1, 53, 2020}, {2024, 12, 30, 1, 2025}, {2026, 1, 1, 1, 2026}, {2027, 1, 3, 53, 2026},
      {2026, 12, 9, 50, 2026}, {2018, 1, 1, 1, 2018}, {2016, 1, 3, 53, 2015}, {2008, 12, 29, 1, 2009},
  };
  for (const auto& c : cases) {
    int year = 0;
    EXPECT_EQ(WeekOfTheYear(EncodeDate(c.y, c.m, c.d), year), c.week) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(year, c.weekYear);
  }
}

TEST(DateUtils, IncrementsKeepTheTimeAndClampTheDay) {
  const double t = EncodeTime(13, 30, 0, 0);
  struct Case {
    TDateTime from;
    TDateTime to;
  };
  const Case cases[] = {
      {IncMonth(EncodeDate(2024, 1, 31) + t, 1), EncodeDate(2024, 2, 29) + t},
      {IncMonth(EncodeDate(2023, 1, 31), 1), EncodeDate(2023, 2, 28)},
      {IncMonth(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29)},
      {IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15)},
      {IncMonth(EncodeDate(2024, 11, 30), 3), EncodeDate(2025, 2, 28)},
      {IncYear(EncodeDate(2024, 2, 29), 1), EncodeDate(2025, 2, 28)},
      {IncYear(EncodeDate(2024, 2, 29), 4), EncodeDate(2028, 2, 29)},
      {IncDay(EncodeDate(2024, 12, 31), 1), EncodeDate(2025, 1, 1)},
      {IncHour(EncodeDate(2024, 12, 31) + EncodeTime(23, 0, 0, 0), 2), EncodeDate(2025, 1, 1) + EncodeTime(1, 0, 0, 0)},
      {IncMinute(EncodeDate(2024, 1, 1), -90), EncodeDate(2023, 12, 31) + EncodeTime(22, 30, 0, 0)},
  };
  for (const auto& c : cases) EXPECT_NEAR(c.from, c.to, 1e-9) << FormatDateTime(L"yyyy-mm-dd hh:nn", c.from, Us());
}

TEST(DateUtils, FormatDateTimeTokens) {
  const TDateTime dt = EncodeDate(2026, 3, 7) + EncodeTime(14, 5, 9, 42);
  const TDateTime early = EncodeDate(2005, 11, 23) + EncodeTime(0, 30, 0, 0);
  const TDateTime noon = EncodeDate(2005, 11, 23) + EncodeTime(12, 0, 0, 0);
  struct Case {
    const wchar_t* format;
    TDateTime value;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"yyyy-mm-dd hh:nn:ss.zzz", dt, L"2026-03-07 14:05:09.042"},
      {L"d/m/yy", dt, L"7/3/26"},
      {L"dddd, mmmm d", dt, L"Saturday, March 7"},
      {L"ddd mmm", dt, L"Sat Mar"},
      {L"h:mm ampm", dt, L"2:05 PM"},
      {L"hh:mm AM/PM", dt, L"02:05 PM"},
      {L"h:mm am/pm", dt, L"2:05 pm"},
      {L"h a/p", dt, L"2 p"},
      {L"h A/P", dt, L"2 P"},
      {L"h:mm", dt, L"14:05"},
      {L"h m", dt, L"14 5"},
      {L"mm:ss", dt, L"03:09"},  // no hour before it: the month
      {L"hh:nn:ss", dt, L"14:05:09"},
      {L"h:mm:ss m", dt, L"14:05:09 3"},
      {L"'Today is' dddd", dt, L"Today is Saturday"},
      {L"\"h\"h", dt, L"h14"},
      {L"HH 'and' MM", dt, L"14 and 05"},
      {L"z|zzz", dt, L"42|042"},
      {L"yy", early, L"05"},
      {L"h:nn ampm", early, L"12:30 AM"},
      {L"h:nn ampm", noon, L"12:00 PM"},
      {L"h:nn", early, L"0:30"},
      {L"ampm h", dt, L"PM 14"},  // am/pm only rules the hours before it
      {L"ddddd", dt, L"3/7/2026"},
      {L"dddddd", dt, L"Saturday, March 7, 2026"},
      {L"t", dt, L"2:05 PM"},
      {L"tt", dt, L"2:05:09 PM"},
      {L"c", dt, L"3/7/2026 2:05:09 PM"},
      {L"c", EncodeDate(2026, 3, 7), L"3/7/2026"},
      {L"", EncodeDate(2026, 3, 7), L"3/7/2026"},
      {L"dd#mm", dt, L"07#03"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatDateTime(c.format, c.value, Us()), c.expected) << StringToUtf8(c.format);

  const TFormatSettings dmy = DayMonthYear();
  EXPECT_EQ(DateToStr(dt, dmy), L"07.03.2026");
  EXPECT_EQ(TimeToStr(dt, dmy), L"14:05:09");
  EXPECT_EQ(FormatDateTime(L"c", dt, dmy), L"07.03.2026 14:05:09");
  EXPECT_EQ(FormatDateTime(L"dd/mm/yyyy", dt, dmy), L"07.03.2026") << "'/' is the date separator";

  TFormatSettings loop = Us();
  loop.ShortDateFormat = L"ddddd";
  EXPECT_NO_THROW(FormatDateTime(L"c", dt, loop)) << "a format that names itself stops";
}

TEST(DateUtils, StrToDateReadsInTheFormatsOrder) {
  const int year = ThisYear();
  struct Case {
    const wchar_t* text;
    TFormatSettings fs;
    int y, m, d;
  };
  TFormatSettings ymd = Us();
  ymd.ShortDateFormat = L"yyyy/MM/dd";
  const Case cases[] = {
      {L"3/7/2026", Us(), 2026, 3, 7},
      {L" 12/31/1999 ", Us(), 1999, 12, 31},
      {L"07.03.2026", DayMonthYear(), 2026, 3, 7},
      {L"2026/03/07", ymd, 2026, 3, 7},
      {L"3/7", Us(), year, 3, 7},
      {L"7.3", DayMonthYear(), year, 3, 7},
      {L"3/7/0099", Us(), 99, 3, 7},  // four digits are taken as written
  };
  for (const auto& c : cases) {
    TDateTime got = 0;
    ASSERT_TRUE(TryStrToDate(c.text, got, c.fs)) << StringToUtf8(c.text);
    EXPECT_EQ(got, EncodeDate(c.y, c.m, c.d)) << StringToUtf8(c.text);
  }
  // Two-digit years: the hundred years from 50 years ago.
  const int first = year - 50;
  EXPECT_EQ(StrToDate(Format(L"1/1/%.2d", {first % 100}), Us()), EncodeDate(first, 1, 1));
  EXPECT_EQ(StrToDate(Format(L"1/1/%.2d", {(first - 1) % 100}), Us()), EncodeDate(first + 99, 1, 1));
  for (const wchar_t* bad : {L"", L"3/7/", L"a/b/c", L"3-7-2026", L"2/30/2026", L"3/7/2026 x", L"13/1/2026",
                             L"3//2026", L"99999999999/1/1"}) {
    TDateTime got;
    EXPECT_FALSE(TryStrToDate(bad, got, Us())) << StringToUtf8(bad);
  }
  try {
    StrToDate(L"x", Us());
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'x' is not a valid date");
  }
}

TEST(DateUtils, StrToTimeReadsHoursMinutesSecondsAndHalves) {
  struct Case {
    const wchar_t* text;
    int h, n, s, ms;
  };
  const Case cases[] = {
      {L"14:05", 14, 5, 0, 0},    {L"2:05 PM", 14, 5, 0, 0},  {L"2:05pm", 14, 5, 0, 0},
      {L"12:00 AM", 0, 0, 0, 0},  {L"12:00 PM", 12, 0, 0, 0}, {L"14:05:09", 14, 5, 9, 0},
      {L"14:05:09.042", 14, 5, 9, 42}, {L"9", 9, 0, 0, 0},   {L" 7:30 am ", 7, 30, 0, 0},
  };
  for (const auto& c : cases) {
    TDateTime t = -1;
    ASSERT_TRUE(TryStrToTime(c.text, t, Us())) << StringToUtf8(c.text);
    EXPECT_NEAR(t, EncodeTime(c.h, c.n, c.s, c.ms), 1e-12) << StringToUtf8(c.text);
  }
  for (const wchar_t* bad : {L"", L"13 PM", L"0:30 AM", L"24:00", L"1:60", L"a", L"12:", L"1:2:3:4", L"5 o'clock"}) {
    TDateTime t;
    EXPECT_FALSE(TryStrToTime(bad, t, Us())) << StringToUtf8(bad);
  }
  EXPECT_EQ(StrToTimeDef(L"later", 0.5, Us()), 0.5);
  EXPECT_THROW(StrToTime(L"later", Us()), EConvertError);
  EXPECT_NEAR(StrToTime(L"14:05:09,5", DayMonthYear()), EncodeTime(14, 5, 9, 5), 1e-12);
}

TEST(DateUtils, TheUsersLocaleRoundTrips) {
  // Whatever the machine's locale, what it writes it reads back.
  const TDateTime day = EncodeDate(2026, 3, 7);
  EXPECT_EQ(StrToDate(DateToStr(day)), day) << StringToUtf8(DateToStr(day));
  const TDateTime time = EncodeTime(14, 5, 9, 0);
  EXPECT_NEAR(StrToTime(TimeToStr(time)), time, 1e-9) << StringToUtf8(TimeToStr(time));
  EXPECT_FALSE(FormatSettings().ShortDateFormat.empty());
  EXPECT_FALSE(FormatSettings().LongMonthNames[11].empty());
}

TEST(DateUtils, NowIsTodayAndTime) {
  const TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LE(Date(), now);
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
}

}  // namespace
