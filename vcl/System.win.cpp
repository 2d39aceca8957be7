#include "vcl/System.h"

#include "vcl/Win.h"

unsigned SystemCodePage() { return GetACP(); }

String CodePageToString(std::string_view bytes, unsigned codePage) {
  if (codePage == CodePageUtf8) return Utf8ToString(bytes);
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return String(bytes.size(), L'?');  // an unknown code page: keep the length, lose the text
  String out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string StringToCodePage(std::wstring_view text, unsigned codePage) {
  if (codePage == CodePageUtf8) return StringToUtf8(text);
  if (text.empty()) return {};
  // No "best fit": it would turn characters the code page lacks into look-alikes,
  // quotes and slashes among them, which then mean something in a path. Some code
  // pages refuse the flag; they get the system's plain mapping.
  for (const DWORD flags : {static_cast<DWORD>(WC_NO_BEST_FIT_CHARS), DWORD{0}}) {
    const int n = WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) continue;
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
  }
  return std::string(text.size(), '?');
}
