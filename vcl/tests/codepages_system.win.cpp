// The native build's code-page tables against what Windows itself maps.
#include <gtest/gtest.h>

#include "vcl/CodePageTables.h"
#include "vcl/System.h"
#include "vcl/Win.h"

namespace {

TEST(CodePagesWin, BuiltInTablesMatchTheSystem) {
  for (unsigned cp : {1251u, 1252u, 28591u}) {
    const char16_t* table = vcl::detail::HighHalfTable(cp);
    ASSERT_NE(table, nullptr);
    for (int b = 0x80; b < 0x100; ++b) {
      const char byte = static_cast<char>(b);
      wchar_t w = 0;
      ASSERT_EQ(MultiByteToWideChar(cp, 0, &byte, 1, &w, 1), 1);
      EXPECT_EQ(static_cast<unsigned>(table[b - 0x80]), static_cast<unsigned>(w))
          << "code page " << cp << " byte " << std::hex << b;
    }
  }
}

TEST(CodePagesWin, SystemCodePageIsTheAnsiOne) {
  EXPECT_EQ(SystemCodePage(), GetACP());
  EXPECT_EQ(CodePageToString("\xC6", 1251), L"\u0416");
}

}  // namespace
