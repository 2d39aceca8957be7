#include "controls/extended/VyDateLocale.h"

#include "vcl/SysUtils.h"
#include "vcl/Win.h"

namespace Vy {

namespace {

// The month's name as the locale writes it in "dd MMMM": what follows the day number.
String GenitiveMonthName(int month, const String& fallback) {
  SYSTEMTIME st{};
  st.wYear = 2001;
  st.wMonth = static_cast<WORD>(month);
  st.wDay = 10;
  wchar_t buf[128];
  const int n = GetDateFormatW(LOCALE_USER_DEFAULT, 0, &st, L"dd MMMM", buf, 128);
  if (n <= 1) return fallback;
  const String text(buf, static_cast<std::size_t>(n - 1));
  const std::size_t afterDay = text.find_first_not_of(L"0123456789");
  const String name = afterDay == String::npos ? String() : Trim(text.substr(afterDay));
  return name.empty() ? fallback : name;
}

TVyDateLocale ReadDateLocale() {
  TVyDateLocale locale;
  locale.Formats = FormatSettings();
  for (int m = 0; m < 12; ++m)
    locale.GenitiveMonthNames[m] = GenitiveMonthName(m + 1, locale.Formats.LongMonthNames[m]);
  wchar_t buf[8];
  // LOCALE_IFIRSTDAYOFWEEK counts from Monday as 0, as the record does.
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, buf, 8) > 1 && buf[0] >= L'0' && buf[0] <= L'6')
    locale.FirstDayOfWeek = buf[0] - L'0';
  return locale;
}

}  // namespace

const TVyDateLocale& SystemDateLocale() {
  static const TVyDateLocale locale = ReadDateLocale();
  return locale;
}

}  // namespace Vy
