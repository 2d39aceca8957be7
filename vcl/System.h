// The one string type of all UI text, and the conversions at its boundaries.
//
// Every window, caption and message is UTF-16 (`String`, std::wstring) and reaches
// Win32 through the W functions. Single-byte text lives only in records and files
// (short strings, language files, INI and settings files); it is converted here,
// once, at the point where it is read or written.
//
// The system code page is the ANSI code page of Windows (GetACP). The native build
// has no such thing: it uses Windows-1252 as its fixed system code page, with the five
// bytes 1252 leaves undefined mapped to U+0081.. so that every byte round-trips.
// Natively known code pages: 1251, 1252, 28591 (Latin-1), 65001 (UTF-8); any other
// falls back to 1252.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "vcl/ShortString.h"

using String = std::wstring;

inline constexpr unsigned CodePageUtf8 = 65001;

// The code page of single-byte text in records and files.
unsigned SystemCodePage();

// Bytes in the given code page <-> UTF-16. Unmappable characters become '?' on the
// way to bytes (never a look-alike); invalid UTF-8 becomes U+FFFD on the way in.
String CodePageToString(std::string_view bytes, unsigned codePage);
std::string StringToCodePage(std::wstring_view text, unsigned codePage);

// The system code page.
String AnsiToString(std::string_view bytes);
std::string StringToAnsi(std::wstring_view text);

// UTF-8 (the same code on every build, so files read alike everywhere).
String Utf8ToString(std::string_view bytes);
std::string StringToUtf8(std::wstring_view text);

// One code point appended as UTF-16 (a surrogate pair where wchar_t is 16 bits) or as UTF-8.
void AppendCodePoint(String& out, char32_t cp);
void AppendUtf8(std::string& out, char32_t cp);

// Short strings of records hold system-code-page text.
template <std::size_t N>
String ShortToString(const TShortString<N>& s) {
  return AnsiToString(s.view());
}
template <std::size_t N>
void StringToShort(TShortString<N>& s, std::wstring_view text) {
  s.assign(StringToAnsi(text));
}
