#include "vcl/FormatSettings.h"

#include "vcl/Win.h"

namespace {

String LocaleText(LCTYPE type, const String& fallback) {
  wchar_t buf[256];
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 256);
  if (n <= 1) return fallback;
  return String(buf, static_cast<std::size_t>(n - 1));
}

wchar_t LocaleChar(LCTYPE type, wchar_t fallback) {
  const String s = LocaleText(type, String(1, fallback));
  return s.empty() ? fallback : s[0];
}

// The system writes the AM/PM designator as "tt"; our time formats spell it "AMPM"
// ("t" and "tt" there stand for the short and long time formats).
String TimeFormatFromLocale(String f) {
  String out;
  bool quoted = false;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const wchar_t c = f[i];
    if (c == L'\'') quoted = !quoted;
    if (!quoted && (c == L't' || c == L'T')) {
      while (i + 1 < f.size() && (f[i + 1] == L't' || f[i + 1] == L'T')) ++i;
      out += L"AMPM";
      continue;
    }
    out.push_back(c);
  }
  return out;
}

TFormatSettings ReadLocale() {
  TFormatSettings fs = InvariantFormatSettings();
  fs.DecimalSeparator = LocaleChar(LOCALE_SDECIMAL, fs.DecimalSeparator);
  fs.ThousandSeparator = LocaleChar(LOCALE_STHOUSAND, fs.ThousandSeparator);
  fs.DateSeparator = LocaleChar(LOCALE_SDATE, fs.DateSeparator);
  fs.TimeSeparator = LocaleChar(LOCALE_STIME, fs.TimeSeparator);
  fs.ShortDateFormat = LocaleText(LOCALE_SSHORTDATE, fs.ShortDateFormat);
  fs.LongDateFormat = LocaleText(LOCALE_SLONGDATE, fs.LongDateFormat);
  fs.LongTimeFormat = TimeFormatFromLocale(LocaleText(LOCALE_STIMEFORMAT, fs.LongTimeFormat));
  fs.ShortTimeFormat = TimeFormatFromLocale(LocaleText(LOCALE_SSHORTTIME, fs.ShortTimeFormat));
  fs.TimeAMString = LocaleText(LOCALE_S1159, fs.TimeAMString);
  fs.TimePMString = LocaleText(LOCALE_S2359, fs.TimePMString);
  for (int m = 0; m < 12; ++m) {
    fs.ShortMonthNames[m] = LocaleText(LOCALE_SABBREVMONTHNAME1 + m, fs.ShortMonthNames[m]);
    fs.LongMonthNames[m] = LocaleText(LOCALE_SMONTHNAME1 + m, fs.LongMonthNames[m]);
  }
  // The system numbers days from Monday (LOCALE_SDAYNAME1); ours start on Sunday.
  for (int d = 0; d < 7; ++d) {
    const int sys = (d + 6) % 7;
    fs.ShortDayNames[d] = LocaleText(LOCALE_SABBREVDAYNAME1 + sys, fs.ShortDayNames[d]);
    fs.LongDayNames[d] = LocaleText(LOCALE_SDAYNAME1 + sys, fs.LongDayNames[d]);
  }
  return fs;
}

}  // namespace

const TFormatSettings& FormatSettings() {
  static const TFormatSettings settings = ReadLocale();
  return settings;
}
