#include "vcl/DateUtils.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "vcl/Exceptions.h"
#include "vcl/SysUtils.h"

namespace {

constexpr std::int64_t kMSecsPerDay = 86400000;
// Days from 0001-01-01 to 1899-12-30, counting the first day as 1 (weekdays follow).
constexpr std::int64_t kDateDelta = 693594;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const std::int64_t kEpochDay = DaysFromCivil(1899, 12, 30);

// A value in an error text.
String FloatToText(double v) {
  if (std::isnan(v)) return L"NAN";
  if (std::isinf(v)) return v < 0 ? L"-INF" : L"INF";
  return Format(L"%.6f", {v}, InvariantFormatSettings());
}

// The day number (since 1899-12-30) and the milliseconds of the day, from the
// value rounded to whole milliseconds, as the platform splits it.
struct TimeStamp {
  std::int64_t day;
  std::int64_t msec;
};
TimeStamp Split(TDateTime dt) {
  const double scaled = std::nearbyint(dt * MSecsPerDay);
  if (!(std::fabs(scaled) < 9.0e18)) throw EConvertError(SInvalidDate, {FloatToText(dt)});
  const auto ms = static_cast<std::int64_t>(scaled);
  return {ms / kMSecsPerDay, (ms < 0 ? -ms : ms) % kMSecsPerDay};
}

}  // namespace

TDateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm lt{};
#ifdef _WIN32
  localtime_s(&lt, &t);
#else
  localtime_r(&t, &lt);
#endif
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
         EncodeTime(lt.tm_hour, lt.tm_min, std::min(lt.tm_sec, 59), static_cast<int>(ms));
}

TDateTime Date() { return std::trunc(Now()); }
TDateTime Time() { return Frac(Now()); }

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInAMonth(year, month))
    return false;
  date = static_cast<double>(DaysFromCivil(year, month, day) - kEpochDay);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError(SDateEncodeError);
  return d;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime& time) {
  if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 || msec > 999) return false;
  time = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError(STimeEncodeError);
  return t;
}

void DecodeDate(TDateTime date, int& year, int& month, int& day) {
  CivilFromDays(Split(date).day + kEpochDay, year, month, day);
}

void DecodeTime(TDateTime time, int& hour, int& min, int& sec, int& msec) {
  std::int64_t ms = Split(time).msec;
  hour = static_cast<int>(ms / 3600000);
  ms %= 3600000;
  min = static_cast<int>(ms / 60000);
  ms %= 60000;
  sec = static_cast<int>(ms / 1000);
  msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime date) { return static_cast<int>((Split(date).day + kDateDelta) % 7) + 1; }

int WeekOfTheYear(TDateTime date, int& year) {
  const std::int64_t day = Split(date).day;
  const int isoDow = (DayOfWeek(date) + 5) % 7 + 1;  // Monday 1 .. Sunday 7
  const std::int64_t thursday = day - isoDow + 4;
  int m, d;
  CivilFromDays(thursday + kEpochDay, year, m, d);
  const std::int64_t jan1 = DaysFromCivil(year, 1, 1) - kEpochDay;
  return static_cast<int>((thursday - jan1) / 7 + 1);
}

int WeekOfTheYear(TDateTime date) {
  int year;
  return WeekOfTheYear(date, year);
}

TDateTime IncMonth(TDateTime date, int months) {
  int y, m, d;
  DecodeDate(date, y, m, d);
  const std::int64_t total = static_cast<std::int64_t>(y) * 12 + (m - 1) + months;
  const int ny = static_cast<int>(total / 12);
  const int nm = static_cast<int>(total % 12) + 1;
  const int nd = std::min(d, DaysInAMonth(ny, nm));
  const TDateTime base = EncodeDate(ny, nm, nd);
  // The time of day as the fraction reads it (forward from midnight for either sign).
  const double timeOfDay = std::fabs(Frac(date));
  return base >= 0 ? base + timeOfDay : base - timeOfDay;
}

TDateTime IncYear(TDateTime date, int years) { return IncMonth(date, years * 12); }
TDateTime IncDay(TDateTime date, int days) { return date + days; }
TDateTime IncHour(TDateTime date, std::int64_t hours) { return date + static_cast<double>(hours) / HoursPerDay; }
TDateTime IncMinute(TDateTime date, std::int64_t minutes) {
  return date + static_cast<double>(minutes) / MinsPerDay;
}

// ---- Formatting ---------------------------------------------------------------

namespace {

wchar_t Up(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

bool StartsNoCase(const String& s, std::size_t at, const wchar_t* word) {
  for (std::size_t i = 0; word[i]; ++i)
    if (at + i >= s.size() || Up(s[at + i]) != Up(word[i])) return false;
  return true;
}

void AppendNumber(String& out, std::int64_t v, int digits) {
  String s = std::to_wstring(v);
  if (static_cast<int>(s.size()) < digits) s.insert(0, static_cast<std::size_t>(digits) - s.size(), L'0');
  out += s;
}

class DateFormatter {
 public:
  DateFormatter(TDateTime dt, const TFormatSettings& fs) : fs_(fs) {
    DecodeDate(dt, year_, month_, day_);
    DecodeTime(dt, hour_, min_, sec_, msec_);
    dow_ = DayOfWeek(dt);
  }

  void Append(const String& f, int level) {
    if (level > 2) return;  // a locale format naming itself must not recurse forever
    wchar_t lastToken = 0;
    std::size_t i = 0;
    const std::size_t n = f.size();
    auto count = [&](wchar_t c) {
      std::size_t k = i;
      while (k < n && Up(f[k]) == Up(c)) ++k;
      const int c2 = static_cast<int>(k - i);
      i = k;
      return c2;
    };
    while (i < n) {
      const wchar_t starter = f[i];
      wchar_t token = Up(starter);
      if (token >= L'A' && token <= L'Z') {
        if (token == L'M' && lastToken == L'H') token = L'N';
        lastToken = token;
      }
      switch (token) {
        case L'Y': {
          const int c = count(starter);
          if (c <= 2)
            AppendNumber(out_, year_ % 100, 2);
          else
            AppendNumber(out_, year_, 4);
          break;
        }
        case L'M': {
          const int c = count(starter);
          if (c <= 2)
            AppendNumber(out_, month_, c);
          else
            out_ += c == 3 ? fs_.ShortMonthNames[static_cast<std::size_t>(month_ - 1)]
                           : fs_.LongMonthNames[static_cast<std::size_t>(month_ - 1)];
          break;
        }
        case L'D': {
          const int c = count(starter);
          if (c <= 2)
            AppendNumber(out_, day_, c);
          else if (c == 3)
            out_ += fs_.ShortDayNames[static_cast<std::size_t>(dow_ - 1)];
          else if (c == 4)
            out_ += fs_.LongDayNames[static_cast<std::size_t>(dow_ - 1)];
          else if (c == 5)
            Append(fs_.ShortDateFormat, level + 1);
          else
            Append(fs_.LongDateFormat, level + 1);
          break;
        }
        case L'H': {
          const int c = std::min(count(starter), 2);
          int h = hour_;
          if (TwelveHourAfter(f, i)) h = h == 0 ? 12 : (h > 12 ? h - 12 : h);
          AppendNumber(out_, h, c);
          break;
        }
        case L'N': AppendNumber(out_, min_, std::min(count(starter), 2)); break;
        case L'S': AppendNumber(out_, sec_, std::min(count(starter), 2)); break;
        case L'Z': AppendNumber(out_, msec_, std::min(count(starter), 3) == 1 ? 1 : 3); break;
        case L'T': {
          const int c = count(starter);
          Append(c == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, level + 1);
          break;
        }
        case L'C': {
          count(starter);
          Append(fs_.ShortDateFormat, level + 1);
          if (hour_ || min_ || sec_ || msec_) {
            out_ += L' ';
            Append(fs_.LongTimeFormat, level + 1);
          }
          break;
        }
        case L'A': {
          const bool pm = hour_ >= 12;
          if (StartsNoCase(f, i, L"AM/PM")) {
            const wchar_t* word = pm ? L"pm" : L"am";
            const std::size_t at = pm ? i + 3 : i;  // the case of the half that is shown
            for (int k = 0; k < 2; ++k) {
              const wchar_t src = f[at + static_cast<std::size_t>(k)];
              out_ += (src >= L'A' && src <= L'Z') ? Up(word[k]) : word[k];
            }
            i += 5;
          } else if (StartsNoCase(f, i, L"A/P")) {
            const wchar_t src = pm ? f[i + 2] : f[i];
            out_ += (src >= L'A' && src <= L'Z') ? (pm ? L'P' : L'A') : (pm ? L'p' : L'a');
            i += 3;
          } else if (StartsNoCase(f, i, L"AMPM")) {
            out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
            i += 4;
          } else {
            out_ += starter;
            ++i;
          }
          break;
        }
        case L'/':
          out_ += fs_.DateSeparator;
          ++i;
          break;
        case L':':
          out_ += fs_.TimeSeparator;
          ++i;
          break;
        case L'\'':
        case L'"': {
          std::size_t k = i + 1;
          while (k < n && f[k] != starter) out_ += f[k++];
          i = k < n ? k + 1 : k;
          break;
        }
        default:
          out_ += starter;
          ++i;
          break;
      }
    }
  }

  const String& Text() const { return out_; }

 private:
  // An am/pm token before the next hour token makes that hour a 12-hour one.
  static bool TwelveHourAfter(const String& f, std::size_t from) {
    bool quoted = false;
    for (std::size_t k = from; k < f.size(); ++k) {
      const wchar_t c = f[k];
      if (c == L'\'' || c == L'"') {
        quoted = !quoted;
      } else if (!quoted && (c == L'a' || c == L'A')) {
        return StartsNoCase(f, k, L"AM/PM") || StartsNoCase(f, k, L"A/P") || StartsNoCase(f, k, L"AMPM");
      } else if (!quoted && (c == L'h' || c == L'H')) {
        return false;
      }
    }
    return false;
  }

  const TFormatSettings& fs_;
  String out_;
  int year_, month_, day_, hour_, min_, sec_, msec_, dow_;
};

}  // namespace

String FormatDateTime(const String& format, TDateTime dateTime, const TFormatSettings& fs) {
  DateFormatter f(dateTime, fs);
  f.Append(format.empty() ? String(L"c") : format, 0);
  return f.Text();
}
String FormatDateTime(const String& format, TDateTime dateTime) {
  return FormatDateTime(format, dateTime, FormatSettings());
}

String DateToStr(TDateTime date, const TFormatSettings& fs) { return FormatDateTime(L"ddddd", date, fs); }
String DateToStr(TDateTime date) { return DateToStr(date, FormatSettings()); }
String TimeToStr(TDateTime time, const TFormatSettings& fs) { return FormatDateTime(L"tt", time, fs); }
String TimeToStr(TDateTime time) { return TimeToStr(time, FormatSettings()); }

// ---- Reading ------------------------------------------------------------------

namespace {

class Scanner {
 public:
  explicit Scanner(const String& s) : s_(s) {}
  void SkipBlanks() {
    while (i_ < s_.size() && (s_[i_] == L' ' || s_[i_] == L'\t')) ++i_;
  }
  bool Number(int& v, int& digits) {
    SkipBlanks();
    std::size_t k = i_;
    std::int64_t n = 0;
    while (k < s_.size() && s_[k] >= L'0' && s_[k] <= L'9' && k - i_ < 9) n = n * 10 + (s_[k++] - L'0');
    if (k == i_ || (k < s_.size() && s_[k] >= L'0' && s_[k] <= L'9')) return false;
    digits = static_cast<int>(k - i_);
    v = static_cast<int>(n);
    i_ = k;
    return true;
  }
  bool Char(wchar_t c) {
    SkipBlanks();
    if (i_ < s_.size() && s_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Word(const String& w) {
    SkipBlanks();
    if (w.empty() || i_ + w.size() > s_.size()) return false;
    if (!AnsiSameText(s_.substr(i_, w.size()), w)) return false;
    i_ += w.size();
    return true;
  }
  bool AtEnd() {
    SkipBlanks();
    return i_ >= s_.size();
  }

 private:
  const String& s_;
  std::size_t i_ = 0;
};

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(const String& f) {
  for (wchar_t c : f) {
    const wchar_t u = Up(c);
    if (u == L'D') return DateOrder::DMY;
    if (u == L'Y') return DateOrder::YMD;
    if (u == L'M') return DateOrder::MDY;
  }
  return DateOrder::MDY;
}

int ThisYear() {
  int y, m, d;
  DecodeDate(Now(), y, m, d);
  return y;
}

}  // namespace

bool TryStrToDate(const String& s, TDateTime& date, const TFormatSettings& fs) {
  Scanner sc(s);
  int n1, n2, n3 = 0, l1, l2, l3 = 0;
  if (!sc.Number(n1, l1) || !sc.Char(fs.DateSeparator) || !sc.Number(n2, l2)) return false;
  const bool three = sc.Char(fs.DateSeparator);
  if (three && !sc.Number(n3, l3)) return false;
  if (!sc.AtEnd()) return false;
  const DateOrder order = OrderOf(fs.ShortDateFormat);
  int y, m, d, yearDigits;
  if (!three) {
    y = ThisYear(), yearDigits = 4;
    if (order == DateOrder::DMY)
      d = n1, m = n2;
    else
      m = n1, d = n2;  // MDY, and YMD without its year
  } else if (order == DateOrder::MDY) {
    m = n1, d = n2, y = n3, yearDigits = l3;
  } else if (order == DateOrder::DMY) {
    d = n1, m = n2, y = n3, yearDigits = l3;
  } else {
    y = n1, m = n2, d = n3, yearDigits = l1;
  }
  if (yearDigits <= 2 && y <= 99) {
    const int base = ThisYear() - fs.TwoDigitYearCenturyWindow;
    y += base / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && y < base) y += 100;
  }
  return TryEncodeDate(y, m, d, date);
}

TDateTime StrToDate(const String& s, const TFormatSettings& fs) {
  TDateTime d;
  if (!TryStrToDate(s, d, fs)) throw EConvertError(SInvalidDate, {s});
  return d;
}
TDateTime StrToDate(const String& s) { return StrToDate(s, FormatSettings()); }

bool TryStrToTime(const String& s, TDateTime& time, const TFormatSettings& fs) {
  Scanner sc(s);
  int h, m = 0, sec = 0, ms = 0, digits;
  if (!sc.Number(h, digits)) return false;
  if (sc.Char(fs.TimeSeparator)) {
    if (!sc.Number(m, digits)) return false;
    if (sc.Char(fs.TimeSeparator)) {
      if (!sc.Number(sec, digits)) return false;
      if (sc.Char(fs.DecimalSeparator) && !sc.Number(ms, digits)) return false;
    }
  }
  int half = 0;  // 1 AM, 2 PM
  if (sc.Word(fs.TimeAMString) || sc.Word(L"AM"))
    half = 1;
  else if (sc.Word(fs.TimePMString) || sc.Word(L"PM"))
    half = 2;
  if (!sc.AtEnd()) return false;
  if (half) {
    if (h < 1 || h > 12) return false;
    if (half == 1 && h == 12) h = 0;
    if (half == 2 && h < 12) h += 12;
  }
  return TryEncodeTime(h, m, sec, ms, time);
}

TDateTime StrToTime(const String& s, const TFormatSettings& fs) {
  TDateTime t;
  if (!TryStrToTime(s, t, fs)) throw EConvertError(SInvalidTime, {s});
  return t;
}
TDateTime StrToTime(const String& s) { return StrToTime(s, FormatSettings()); }
TDateTime StrToTimeDef(const String& s, TDateTime defaultValue, const TFormatSettings& fs) {
  TDateTime t;
  return TryStrToTime(s, t, fs) ? t : defaultValue;
}
TDateTime StrToTimeDef(const String& s, TDateTime defaultValue) {
  return StrToTimeDef(s, defaultValue, FormatSettings());
}
