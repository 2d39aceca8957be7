#include <climits>
#include <cstdlib>

#include "services/CodePage.h"
#include "vcl/Win.h"

bool IsCodePageSupported(std::uint16_t codePage) {
  return IsValidCodePage(codePage) != FALSE;
}

std::wstring MultiByteToWideString(std::string_view text, std::uint16_t codePage) {
  if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
  const int inLen = static_cast<int>(text.size());
  const int outLen = MultiByteToWideChar(codePage, 0, text.data(), inLen, nullptr, 0);
  if (outLen <= 0) return {};
  std::wstring out(static_cast<std::size_t>(outLen), L'\0');
  const int written = MultiByteToWideChar(codePage, 0, text.data(), inLen, out.data(), outLen);
  out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return out;
}

int LocaleAnsiCodePage(std::uint32_t locale) {
  wchar_t buf[8] = {};
  if (GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE, buf, 8) > 0) {
    wchar_t* end = nullptr;
    const long cp = std::wcstol(buf, &end, 10);
    if (end != buf && *end == L'\0') return static_cast<int>(cp);
  }
  return static_cast<int>(GetACP());
}
