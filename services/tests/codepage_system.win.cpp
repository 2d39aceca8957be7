// The built-in tables serve the native build; here they must agree byte for byte
// with what Windows itself makes of the same code pages.
#include <gtest/gtest.h>

#include "services/CodePage.h"
#include "vcl/Win.h"

TEST(CodePageTables, AgreeWithTheSystemForEveryByte) {
  for (std::uint16_t cp : {1251, 1252, 28591}) {
    const char16_t* table = SingleByteCodePageTable(cp);
    ASSERT_NE(table, nullptr) << cp;
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      wchar_t wide[4] = {};
      ASSERT_EQ(MultiByteToWideChar(cp, 0, &byte, 1, wide, 4), 1) << cp << " byte " << b;
      EXPECT_EQ(static_cast<unsigned>(table[b]), static_cast<unsigned>(wide[0]))
          << "code page " << cp << " byte 0x" << std::hex << b;
    }
  }
}

TEST(LocaleAnsiCodePage, GivesTheLocalesCodePage) {
  const struct {
    std::uint32_t locale;
    int codePage;
  } cases[] = {{0x419, 1251}, {0x409, 1252}, {0x422, 1251}, {0x407, 1252}, {0x415, 1250}};
  for (const auto& c : cases) EXPECT_EQ(LocaleAnsiCodePage(c.locale), c.codePage) << std::hex << c.locale;
}
