#include "controls/extended/VyDateTimeText.h"

#include <array>
#include <cmath>
#include <cwctype>
#include <vector>

#include "vcl/SysUtils.h"

namespace Vy {

namespace {

// Nine digits always fit an int; a longer run is not a field of a date or a time.
constexpr std::size_t kMaxDigits = 9;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Letters of any script count, so month names of the user's language read; blanks and
// punctuation (also the wide blanks some locales write in dates) separate.
bool IsLetter(wchar_t c) {
  if (c < 0x80) return std::iswalpha(c) != 0;
  return c != 0xA0 && !(c >= 0x2000 && c <= 0x206F) && c != 0x3000 && !std::iswspace(c) && !std::iswpunct(c);
}

struct TToken {
  String Text;
  bool Digits = false;
};

std::vector<TToken> Tokens(const String& upper) {
  std::vector<TToken> out;
  for (std::size_t i = 0; i < upper.size();) {
    const bool digits = IsDigit(upper[i]);
    if (!digits && !IsLetter(upper[i])) {
      ++i;
      continue;
    }
    std::size_t j = i;
    while (j < upper.size() && (digits ? IsDigit(upper[j]) : IsLetter(upper[j]))) ++j;
    out.push_back({upper.substr(i, j - i), digits});
    i = j;
  }
  return out;
}

// The field letters of a format (upper case, each once) in their order, leaving out
// quoted text and the AM/PM designators, whose letters are not fields.
String FieldOrder(const String& format, const String& fields) {
  const String f = UpperCase(format);
  String order;
  bool quoted = false;
  wchar_t quote = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const wchar_t c = f[i];
    if (quoted) {
      if (c == quote) quoted = false;
      continue;
    }
    if (c == L'\'' || c == L'"') {
      quoted = true, quote = c;
      continue;
    }
    if (f.compare(i, 5, L"AM/PM") == 0) {
      i += 4;
      continue;
    }
    if (f.compare(i, 4, L"AMPM") == 0) {
      i += 3;
      continue;
    }
    if (f.compare(i, 3, L"A/P") == 0) {
      i += 2;
      continue;
    }
    if (fields.find(c) != String::npos && order.find(c) == String::npos) order.push_back(c);
  }
  return order;
}

// The parts a digit run stands for: split into fields where `split` allows it.
std::vector<int> DigitParts(const String& run, bool split) {
  std::vector<std::size_t> widths;
  if (split && run.size() == 3) widths = {1, 2};
  else if (split && run.size() == 4) widths = {2, 2};
  else if (split && run.size() == 5) widths = {1, 2, 2};
  else if (split && run.size() == 6) widths = {2, 2, 2};
  else widths = {run.size()};
  std::vector<int> parts;
  std::size_t at = 0;
  for (std::size_t w : widths) {
    int n = 0;
    for (std::size_t k = at; k < at + w; ++k) n = n * 10 + (run[k] - L'0');
    parts.push_back(n);
    at += w;
  }
  return parts;
}

void RemoveFirst(String& order, wchar_t field) {
  const std::size_t at = order.find(field);
  if (at != String::npos) order.erase(at, 1);
}

// The names a month may be typed as, upper-cased: the locale's short, long and
// genitive names and the English long ones; index 0 is January.
std::vector<std::array<String, 4>> MonthNames(const TVyDateLocale& locale) {
  static const TFormatSettings english = InvariantFormatSettings();
  std::vector<std::array<String, 4>> names(12);
  for (int m = 0; m < 12; ++m)
    names[m] = {AnsiUpperCase(locale.Formats.ShortMonthNames[m]), AnsiUpperCase(locale.Formats.LongMonthNames[m]),
                AnsiUpperCase(locale.GenitiveMonthNames[m]), AnsiUpperCase(english.LongMonthNames[m])};
  return names;
}

int MonthNamed(const String& word, const std::vector<std::array<String, 4>>& names) {
  for (int m = 0; m < 12; ++m)
    for (const String& name : names[m])
      if (!name.empty() && name == word) return m + 1;
  return 0;
}

// A year of one or two digits in the hundred years that start `window` years before
// today's year (with 50 in 2026: 76 is 1976, 75 is 2075).
int FullYear(int year, int todayYear, int window) {
  if (year >= 100) return year;
  const int base = todayYear - window;
  int y = base / 100 * 100 + year;
  if (window > 0 && y < base) y += 100;
  return y;
}

}  // namespace

std::optional<TDateTime> ParseDateText(const String& text, const TVyDateLocale& locale, TDateTime today) {
  if (Trim(text).empty()) return 0.0;
  String order = FieldOrder(locale.Formats.ShortDateFormat, L"DMY");
  int year, month, day;
  DecodeDate(today, year, month, day);
  bool dayTyped = false;
  const String upper = AnsiUpperCase(text);
  const bool hasSeparator = upper.find(locale.Formats.DateSeparator) != String::npos;
  const std::vector<TToken> tokens = Tokens(upper);
  // A named month is known before the numbers are placed, wherever it stands: in
  // "5 March 1999" the 5 is the day, and the digit run beside a name is the year.
  bool monthNamed = false;
  std::vector<std::array<String, 4>> names;
  for (const TToken& t : tokens) {
    if (t.Digits || monthNamed) continue;
    if (names.empty()) names = MonthNames(locale);
    if (const int m = MonthNamed(t.Text, names)) {
      month = m, monthNamed = true;
      RemoveFirst(order, L'M');
    }
  }
  std::size_t next = 0;
  for (int pass = 0; pass < 3; ++pass) {
    while (next < tokens.size() && !tokens[next].Digits) ++next;
    if (next == tokens.size()) break;
    const String& run = tokens[next++].Text;
    if (order.empty()) continue;
    if (run.size() > kMaxDigits) return std::nullopt;
    const bool split = run.size() >= 3 && run.size() <= 6 && !hasSeparator && !monthNamed && order != L"Y";
    for (int n : DigitParts(run, split)) {
      if (order.empty()) return std::nullopt;  // more parts than fields
      wchar_t field = order[0];
      if (n >= 1000) field = L'Y';
      else if (n > 12 && field != L'Y') field = L'D';
      if (field == L'Y') year = n;
      else if (field == L'M') month = n;
      else day = n, dayTyped = true;
      RemoveFirst(order, field);
    }
  }
  if (month > 12) {
    if (day > 12) month = 1;
    else std::swap(day, month), dayTyped = true;
  }
  int todayYear, todayMonth, todayDay;
  DecodeDate(today, todayYear, todayMonth, todayDay);
  year = FullYear(year, todayYear, locale.Formats.TwoDigitYearCenturyWindow);
  // Today's 30th in a typed February would make no date at all: stay in that month.
  if (!dayTyped && month >= 1 && month <= 12 && year >= 1 && year <= 9999)
    day = std::min(day, DaysInAMonth(year, month));
  TDateTime date;
  return TryEncodeDate(year, month, day, date) ? date : 0.0;
}

std::optional<TDateTime> ParseTimeText(const String& text, const TVyDateLocale& locale) {
  const TFormatSettings& fs = locale.Formats;
  String order = FieldOrder(fs.LongTimeFormat, L"HMNSZ");
  int hour = 0, minute = 0, second = 0, msec = 0;
  enum { kNone, kAM, kPM } half = kNone;
  const String am = AnsiUpperCase(fs.TimeAMString), pm = AnsiUpperCase(fs.TimePMString);
  const std::vector<TToken> tokens = Tokens(AnsiUpperCase(text));
  std::size_t next = 0;
  for (int pass = 0; pass < 4 && next < tokens.size(); ++pass) {
    for (; next < tokens.size() && !tokens[next].Digits; ++next) {
      const String& w = tokens[next].Text;
      if (half != kNone) continue;
      if ((!am.empty() && w == am) || w == L"AM" || w == L"A") half = kAM;
      else if ((!pm.empty() && w == pm) || w == L"PM" || w == L"P") half = kPM;
    }
    if (next == tokens.size()) break;
    const String& run = tokens[next++].Text;
    if (order.empty()) continue;
    if (run.size() > kMaxDigits) return std::nullopt;
    for (int n : DigitParts(run, run.size() == 3 || run.size() == 4)) {
      if (order.empty()) break;
      const wchar_t field = order[0];
      if (field == L'H') hour = n;
      else if (field == L'M' || field == L'N') minute = n;
      else if (field == L'S') second = n;
      else msec = n;
      order.erase(0, 1);
    }
  }
  if (half == kPM && hour < 12) hour += 12;
  if (half == kAM && hour == 12) hour = 0;
  hour %= 24;
  if (minute >= 60) minute = 0;
  if (second >= 60) second = 0;
  while (msec >= 1000) msec /= 10;
  TDateTime time;
  return TryEncodeTime(hour, minute, second, msec, time) ? time : 0.0;
}

String DateTimePattern(TVyDTEditType type, const String& format) {
  if (!format.empty()) return format;
  return type == etTime ? L"t" : L"ddddd";
}

String DateTimeEditText(const TVyDateTimeShown& shown, const TVyDateLocale& locale) {
  const String pattern = DateTimePattern(shown.Type, shown.Format);
  if (shown.Type == etDate) {
    return shown.Value == 0 ? String() : FormatDateTime(pattern, shown.Value, locale.Formats);
  }
  if (shown.Value == 0 && (!shown.TimeAssigned || !shown.ShowMidnight)) return String();
  return FormatDateTime(pattern, shown.Value, locale.Formats);
}

}  // namespace Vy
