// Runs natively (built-in tables) and under wine (MultiByteToWideChar): both must
// give the same texts for the code pages the language files use.
#include <gtest/gtest.h>

#include <string>

#include "services/CodePage.h"

namespace {

struct Case {
  const char* what;
  std::string bytes;
  std::uint16_t codePage;
  std::wstring expected;
};

class Decode : public ::testing::TestWithParam<Case> {};

TEST_P(Decode, GivesTheCharactersOfTheCodePage) {
  const Case& c = GetParam();
  EXPECT_EQ(MultiByteToWideString(c.bytes, c.codePage), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Decode,
    ::testing::Values(
        Case{"Cyrillic A b in 1251", "\xC0\xE1", 1251, L"\u0410\u0431"},
        Case{"the same bytes in 1252", "\xC0\xE1", 1252, L"\u00C0\u00E1"},
        Case{"Russian word", "\xD0\xF3\xF1\xF1\xEA\xE8\xE9", 1251, L"Русский"},
        Case{"last letters and Yo", "\xDF\xFF\xA8\xB8", 1251, L"\u042F\u044F\u0401\u0451"},
        Case{"Ukrainian and Belarusian letters", "\xAA\xBA\xAF\xBF\xB2\xB3\xA1\xA2\xA5\xB4", 1251,
             L"\u0404\u0454\u0407\u0457\u0406\u0456\u040E\u045E\u0490\u0491"},
        Case{"numero, euro, dashes in 1251", "\xB9\x88\x96\x97", 1251, L"\u2116\u20AC\u2013\u2014"},
        Case{"euro, quotes, Y diaeresis in 1252", "\x80\x93\x94\x9F", 1252, L"\u20AC\u201C\u201D\u0178"},
        Case{"bytes 1252 leaves undefined", "\x81\x8D\x8F\x90\x9D", 1252, L"\u0081\u008D\u008F\u0090\u009D"},
        Case{"Latin-1 keeps every byte", "\x80\x9F\xA4", 28591, L"\u0080\u009F\u00A4"},
        Case{"ASCII with a NUL inside", std::string("a\0b", 3), 1251, std::wstring(L"a\0b", 3)},
        Case{"UTF-8 Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8", 65001, L"При"},
        Case{"UTF-8 broken byte", "a\xFF" "b", 65001, L"a\uFFFDb"},
        Case{"empty text", "", 1251, L""},
        Case{"a code page nobody has", "abc", 12345, L""}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(CodePage, LongTextsDecodeWhole) {
  const std::string bytes(200000, '\xE9');
  const std::wstring text = MultiByteToWideString(bytes, 1251);
  ASSERT_EQ(text.size(), bytes.size());
  EXPECT_EQ(text.find_first_not_of(L'\u0439'), std::wstring::npos);
}

TEST(CodePage, TheFilesCodePagesAreSupported) {
  for (std::uint16_t cp : {1251, 1252, 65001}) EXPECT_TRUE(IsCodePageSupported(cp)) << cp;
  EXPECT_FALSE(IsCodePageSupported(12345));
}

}  // namespace
