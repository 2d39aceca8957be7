#include <gtest/gtest.h>

#include "services/CodePage.h"

TEST(LocaleAnsiCodePage, GivesTheLocalesCodePage) {
  const struct {
    std::uint32_t locale;
    int codePage;
  } cases[] = {{0x419, 1251}, {0x409, 1252}, {0x422, 1251}, {0x407, 1252}, {0x415, 1250}, {0x411, 932}};
  for (const auto& c : cases) EXPECT_EQ(LocaleAnsiCodePage(c.locale), c.codePage) << std::hex << c.locale;
}
