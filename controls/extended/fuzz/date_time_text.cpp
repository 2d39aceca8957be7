// Any text typed into the date/time edit is read without a crash, an overflow or a long
// loop, and whatever it reads is a real date (or none) and a time of one day.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "controls/extended/VyDateTimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  String text(size / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
  static const Vy::TVyDateLocale locale = [] {
    Vy::TVyDateLocale l;
    l.Formats.ShortDateFormat = L"dd.MM.yyyy";
    l.Formats.DateSeparator = L'.';
    l.Formats.LongTimeFormat = L"HH:mm:ss.zzz";
    return l;
  }();
  const TDateTime today = EncodeDate(2026, 1, 31);
  if (const auto date = Vy::ParseDateText(text, locale, today); date && *date != std::trunc(*date)) std::abort();
  if (const auto time = Vy::ParseTimeText(text, locale); time && (*time < 0 || *time >= 1)) std::abort();
  if (const auto date = Vy::ParseDateText(text, Vy::InvariantDateLocale(), today); date && *date != std::trunc(*date))
    std::abort();
  return 0;
}
