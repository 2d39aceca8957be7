#include <gtest/gtest.h>

#include "vcl/Masks.h"

namespace {

TEST(Masks, WildCardsSetsAndCase) {
  struct Case {
    const wchar_t *name, *mask;
    bool matches;
  };
  const Case cases[] = {
      {L"winamp.exe", L"*.exe", true},       {L"WINAMP.EXE", L"*.exe", true},
      {L"winamp.exe", L"*.dll", false},      {L"winamp.exe", L"win???.exe", true},
      {L"winamp.exe", L"win??.exe", false},  {L"a", L"*", true},
      {L"", L"*", true},                     {L"", L"?", false},
      {L"abc", L"*.*", false},               {L"a.b.c", L"*.c", true},
      {L"report1.txt", L"report[0-9].txt", true}, {L"reportx.txt", L"report[0-9].txt", false},
      {L"reportx.txt", L"report[!0-9].txt", true}, {L"report5.txt", L"report[!0-9].txt", false},
      {L"b.txt", L"[abc].txt", true},        {L"B.TXT", L"[a-c].txt", true},
      {L"aXbXc", L"a*b*c", true},            {L"abcbd", L"a*b?", true},
      {L"abcbd", L"a*bc", false},            {L"\u0416\u0443\u043A.lng", L"\u0436*.LNG", true},
      {L"mississippi", L"*sip*", true},      {L"x", L"x**", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << StringToUtf8(c.name) << " ~ " << StringToUtf8(c.mask);
}

TEST(Masks, AnUnclosedSetIsAnError) {
  try {
    MatchesMask(L"a", L"ab[cd");
    FAIL();
  } catch (const EMaskException& e) {
    EXPECT_EQ(e.Message(), L"'ab[cd' is an invalid mask at (3)");
  }
}

}  // namespace
