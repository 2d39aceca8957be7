// Turning the 8-bit texts of files (language files, short strings) into the
// wide text of the user interface, with the code page the file itself declares.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The code page a language file or a caller names when it names none usable.
inline constexpr std::uint16_t DefaultTextCodePage = 1252;

// Decodes text in the given code page. Characters the code page cannot map come
// out as the platform substitutes them (U+FFFD for broken UTF-8). An empty text,
// or a code page this machine cannot convert, gives an empty result.
// On Windows this is MultiByteToWideChar; elsewhere (tests, fuzzing) the
// library's tables serve the code pages of the shipped files: 1251, 1252, 28591
// and 65001.
std::wstring MultiByteToWideString(std::string_view text, std::uint16_t codePage);

// Whether MultiByteToWideString can convert with this code page here.
bool IsCodePageSupported(std::uint16_t codePage);

#ifdef _WIN32
// The default 8-bit code page of a locale (LCID); the system's ANSI code page
// when the locale names none.
int LocaleAnsiCodePage(std::uint32_t locale);
#endif
