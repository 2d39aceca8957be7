#include <gtest/gtest.h>

#include "vcl/System.h"

namespace {

TEST(CodePages, Utf8BothWays) {
  struct Case {
    std::string bytes;
    String text;
  };
  const std::vector<Case> cases = {
      {"", L""},
      {"plain", L"plain"},
      {"\xD0\x96\xD1\x83\xD0\xBA", L"\u0416\u0443\u043A"},
      {"\xE2\x82\xAC", L"\u20AC"},
      {"caf\xC3\xA9", L"caf\u00E9"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToString(c.bytes), c.text);
    EXPECT_EQ(StringToUtf8(c.text), c.bytes);
  }
  // A character past the 16-bit range survives the round trip (a surrogate pair on Windows).
  const std::string emoji = "\xF0\x9F\x98\x80";
  EXPECT_EQ(StringToUtf8(Utf8ToString(emoji)), emoji);
  EXPECT_EQ(Utf8ToString(emoji).size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

TEST(CodePages, InvalidUtf8BecomesReplacementCharacters) {
  struct Case {
    std::string bytes;
    String text;
  };
  const std::vector<Case> cases = {
      {"\x80", L"\uFFFD"},                     // a stray continuation byte
      {"a\xC3", L"a\uFFFD"},                   // cut short at the end
      {"\xC3(", L"\uFFFD("},                   // cut short by a plain character
      {"\xC0\xAF", L"\uFFFD"},                 // an overlong '/'
      {"\xED\xA0\x80", L"\uFFFD"},             // an encoded surrogate
      {"\xF4\x90\x80\x80", L"\uFFFD"},         // past U+10FFFF
      {"\xFF\xFEok", L"\uFFFD\uFFFDok"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToString(c.bytes), c.text);
}

TEST(CodePages, SingleByteCodePages) {
  EXPECT_EQ(CodePageToString("\xC6\xE8\xE7\xED\xFC", 1251), L"\u0416\u0438\u0437\u043D\u044C");
  EXPECT_EQ(CodePageToString("\xA8\xB8\xB9", 1251), L"\u0401\u0451\u2116");
  EXPECT_EQ(StringToCodePage(L"\u0416\u0438\u0437\u043D\u044C", 1251), "\xC6\xE8\xE7\xED\xFC");
  EXPECT_EQ(CodePageToString("\x80\x9F\xE9", 1252), L"\u20AC\u0178\u00E9");
  EXPECT_EQ(StringToCodePage(L"\u20AC\u00E9", 1252), "\x80\xE9");
  EXPECT_EQ(StringToCodePage(L"\u4E2D", 1251), "?") << "what the code page lacks becomes '?'";
  EXPECT_EQ(StringToCodePage(L"a\u0100\u2215b", 1252), "a??b") << "no look-alikes (A, /) for missing characters";
  EXPECT_EQ(CodePageToString("\xD0\x96", CodePageUtf8), L"\u0416");
}

TEST(CodePages, EverySystemCodePageByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(StringToAnsi(AnsiToString(all)), all);
}

TEST(CodePages, ShortStringsConvertAtTheBoundary) {
  TShortString<5> s;
  StringToShort(s, L"caf\u00E9 au lait");
  EXPECT_EQ(s.size(), 5u) << "clamped to the capacity";
  EXPECT_EQ(ShortToString(s), L"caf\u00E9 ");
}

}  // namespace
