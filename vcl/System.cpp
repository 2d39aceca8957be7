#include "vcl/System.h"

#include <cstdint>

#include "vcl/CodePageTables.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

void AppendCodePoint(String& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(cp));
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

String Utf8ToString(std::string_view bytes) {
  String out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    int extra;
    char32_t cp;
    char32_t min;
    if (b < 0x80) {
      out.push_back(static_cast<wchar_t>(b));
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
      AppendCodePoint(out, kReplacement);  // a stray continuation or an invalid lead byte
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    int got = 0;
    while (got < extra && j < n && (static_cast<unsigned char>(bytes[j]) & 0xC0) == 0x80) {
      cp = (cp << 6) | (static_cast<unsigned char>(bytes[j]) & 0x3F);
      ++j, ++got;
    }
    // A truncated sequence, an overlong form, a surrogate or a value past U+10FFFF
    // is one replacement character for the bytes consumed so far.
    if (got < extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      AppendCodePoint(out, kReplacement);
    else
      AppendCodePoint(out, cp);
    i = j;
  }
  return out;
}

std::string StringToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto cp = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
        const auto lo = static_cast<char32_t>(text[i + 1]);
        if (lo >= 0xDC00 && lo <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
          ++i;
        }
      }
    }
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = kReplacement;  // a lone surrogate
    AppendUtf8(out, cp);
  }
  return out;
}

#ifndef _WIN32

namespace {
const char16_t* TableOrDefault(unsigned codePage) {
  const char16_t* t = vcl::detail::HighHalfTable(codePage);
  return t ? t : vcl::detail::HighHalfTable(1252);
}
}  // namespace

unsigned SystemCodePage() { return 1252; }

String CodePageToString(std::string_view bytes, unsigned codePage) {
  if (codePage == CodePageUtf8) return Utf8ToString(bytes);
  const char16_t* high = TableOrDefault(codePage);
  String out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out.push_back(b < 0x80 ? static_cast<wchar_t>(b) : static_cast<wchar_t>(high[b - 0x80]));
  }
  return out;
}

std::string StringToCodePage(std::wstring_view text, unsigned codePage) {
  if (codePage == CodePageUtf8) return StringToUtf8(text);
  const char16_t* high = TableOrDefault(codePage);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t ch = text[i];
    if (static_cast<std::uint32_t>(ch) < 0x80) {
      out.push_back(static_cast<char>(ch));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 128; ++k) {
      if (static_cast<wchar_t>(high[k]) == ch) {
        mapped = static_cast<char>(0x80 + k);
        break;
      }
    }
    out.push_back(mapped);
  }
  return out;
}

#endif

String AnsiToString(std::string_view bytes) { return CodePageToString(bytes, SystemCodePage()); }
std::string StringToAnsi(std::wstring_view text) { return StringToCodePage(text, SystemCodePage()); }
