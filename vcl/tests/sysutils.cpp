#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "vcl/SysUtils.h"

namespace {

TEST(SysUtils, StrToIntDefReadsThePlatformsIntegers) {
  struct Case {
    const wchar_t* text;
    int expected;
  };
  const Case cases[] = {
      {L"12", 12},          {L"  12", 12},       {L"\t7", 7},          {L"-5", -5},
      {L"+5", 5},           {L"$FF", 255},       {L"$ff", 255},        {L"0x1f", 31},
      {L"X10", 16},         {L"-$10", -16},      {L"007", 7},          {L"2147483647", INT_MAX},
      {L"-2147483648", INT_MIN}, {L"$FFFFFFFF", -1}, {L"$7FFFFFFF", INT_MAX},
      // Not integers: the default.
      {L"", -99},           {L" ", -99},         {L"12 ", -99},        {L"1 2", -99},
      {L"-", -99},          {L"$", -99},         {L"0x", -99},         {L"12a", -99},
      {L"1e3", -99},        {L"1.0", -99},       {L"2147483648", -99}, {L"-2147483649", -99},
      {L"$100000000", -99}, {L"99999999999999999999", -99}, {L"--1", -99}, {L"\u0663", -99},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToIntDef(c.text, -99), c.expected) << StringToUtf8(c.text);
}

TEST(SysUtils, StrToIntRaisesWithTheText) {
  try {
    StrToInt(L"abc");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'abc' is not a valid integer value");
  }
  EXPECT_EQ(StrToInt64(L"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
  EXPECT_EQ(StrToInt64Def(L"9223372036854775808", 1), 1);
  EXPECT_EQ(StrToInt64(L"$FFFFFFFFFF"), 0xFFFFFFFFFFLL);
}

TEST(SysUtils, IntToStrAndIntToHex) {
  EXPECT_EQ(IntToStr(-12345), L"-12345");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int64_t>::min()), L"-9223372036854775808");
  EXPECT_EQ(IntToHex(255, 4), L"00FF");
  EXPECT_EQ(IntToHex(0x1234, 2), L"1234");
  EXPECT_EQ(IntToHex(-1, 2), L"FFFFFFFF");
  EXPECT_EQ(IntToHex(-0x100000000LL, 1), L"FFFFFFFF00000000");
}

TEST(SysUtils, RoundGoesToEvenOnTies) {
  struct Case {
    double v;
    std::int64_t expected;
  };
  const Case cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},  {3.5, 4},   {-0.5, 0},  {-1.5, -2},
                        {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {8.5, 8}, {-7.6, -8}, {1e15 + 0.5, 1000000000000000}};
  for (const auto& c : cases) EXPECT_EQ(Round(c.v), c.expected) << c.v;
  EXPECT_EQ(Trunc(-1.7), -1);
  EXPECT_EQ(Trunc(1.7), 1);
  EXPECT_DOUBLE_EQ(Frac(-1.25), -0.25);
  EXPECT_DOUBLE_EQ(Frac(3.75), 0.75);
}

TEST(SysUtils, RoundRefusesWhatIsNoInteger) {
  for (double v : {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -1e19}) {
    EXPECT_THROW(Round(v), ERangeError) << v;
    EXPECT_THROW(Trunc(v), ERangeError) << v;
  }
}

TEST(SysUtils, MulDivRoundsAndReportsOverflow) {
  struct Case {
    int a, b, c, expected;
  };
  const Case cases[] = {{10, 3, 4, 8},   {-10, 3, 4, -8}, {10, -3, 4, -8}, {10, 3, -4, -8},
                        {7, 1, 2, 4},    {-7, 1, 2, -4},  {5, 1, 3, 2},    {1, 1, 0, -1},
                        {INT_MAX, 2, 1, -1}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {0, 5, 7, 0}};
  for (const auto& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(SysUtils, RandomIsRepeatableFromASeedAndInRange) {
  SetRandSeed(1234);
  std::vector<int> first;
  for (int i = 0; i < 20; ++i) first.push_back(Random(10));
  SetRandSeed(1234);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(Random(10), first[static_cast<std::size_t>(i)]);
  for (int v : first) EXPECT_TRUE(v >= 0 && v < 10);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  const double d = Random();
  EXPECT_TRUE(d >= 0.0 && d < 1.0);
}

TEST(SysUtils, TrimDropsBlanksAndControls) {
  struct Case {
    const wchar_t *in, *both, *left, *right;
  };
  const Case cases[] = {
      {L"  a b \t", L"a b", L"a b \t", L"  a b"},
      {L"\x01x\r\n", L"x", L"x\r\n", L"\x01x"},
      {L"", L"", L"", L""},
      {L"   ", L"", L"", L""},
      {L"\u00A0a", L"\u00A0a", L"\u00A0a", L"\u00A0a"},  // a no-break space is no blank
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Trim(String(c.in)), c.both);
    EXPECT_EQ(TrimLeft(String(c.in)), c.left);
    EXPECT_EQ(TrimRight(String(c.in)), c.right);
  }
  EXPECT_EQ(Trim(std::string(" \xE9t\xE9 ")), "\xE9t\xE9") << "high bytes of a code page are kept";
}

TEST(SysUtils, OneBasedPositionsCopyDeleteInsert) {
  EXPECT_EQ(Pos(L"b", L"abcb"), 2u);
  EXPECT_EQ(Pos(L"x", L"abc"), 0u);
  EXPECT_EQ(Pos(L"", L"abc"), 0u);
  EXPECT_EQ(Pos(std::string("c"), std::string("abc")), 3u);

  struct CopyCase {
    std::ptrdiff_t index, count;
    const wchar_t* expected;
  };
  const CopyCase copies[] = {{2, 3, L"bcd"}, {1, 100, L"abcdef"}, {0, 2, L"ab"}, {-5, 2, L"ab"},
                             {6, 1, L"f"},   {7, 1, L""},         {2, 0, L""},  {2, -1, L""}};
  for (const auto& c : copies) EXPECT_EQ(Copy(String(L"abcdef"), c.index, c.count), c.expected) << c.index;

  const CopyCase deletes[] = {{2, 3, L"aef"}, {0, 1, L"abcdef"}, {5, 10, L"abcd"}, {7, 1, L"abcdef"},
                              {1, 6, L""},    {3, 0, L"abcdef"}};
  for (const auto& c : deletes) {
    String s = L"abcdef";
    Delete(s, c.index, c.count);
    EXPECT_EQ(s, c.expected) << c.index;
  }

  const CopyCase inserts[] = {{2, 0, L"aXbc"}, {1, 0, L"Xabc"}, {0, 0, L"Xabc"}, {4, 0, L"abcX"}, {10, 0, L"abcX"}};
  for (const auto& c : inserts) {
    String s = L"abc";
    Insert(L"X", s, c.index);
    EXPECT_EQ(s, c.expected) << c.index;
  }
}

TEST(SysUtils, StringReplaceFlags) {
  struct Case {
    const wchar_t *s, *from, *to;
    TReplaceFlags flags;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {L"aAa", L"a", L"b", 0, L"bAa"},
      {L"aAa", L"a", L"b", rfReplaceAll, L"bAb"},
      {L"aAa", L"a", L"b", rfReplaceAll | rfIgnoreCase, L"bbb"},
      {L"xAx", L"a", L"bb", rfIgnoreCase, L"xbbx"},
      {L"aaa", L"aa", L"a", rfReplaceAll, L"aa"},  // no re-scan of what was put in
      {L"abc", L"", L"x", rfReplaceAll, L"abc"},
      {L"\\n\\n", L"\\n", L"\r\n", rfReplaceAll, L"\r\n\r\n"},
      {L"\u0416\u0436", L"\u0436", L"z", rfReplaceAll | rfIgnoreCase, L"zz"},
  };
  for (const auto& c : cases) EXPECT_EQ(StringReplace(c.s, c.from, c.to, c.flags), c.expected);
  EXPECT_EQ(StringReplace(std::string("a;b;c"), std::string(";"), std::string("|"), rfReplaceAll), "a|b|c");
}

TEST(SysUtils, CaseRules) {
  EXPECT_EQ(UpperCase(L"abc\u00E4"), L"ABC\u00E4") << "the plain routines fold ASCII only";
  EXPECT_EQ(LowerCase(L"ABC\u00C4"), L"abc\u00C4");
  EXPECT_EQ(AnsiUpperCase(L"abc\u00E4"), L"ABC\u00C4");
  EXPECT_EQ(AnsiUpperCase(L"\u043F\u0440\u0438\u0432\u0435\u0442\u0451"), L"\u041F\u0420\u0418\u0412\u0415\u0422\u0401");
  EXPECT_EQ(AnsiLowerCase(L"\u041F\u0420\u0418\u0412\u0415\u0422\u0401"), L"\u043F\u0440\u0438\u0432\u0435\u0442\u0451");
  EXPECT_TRUE(SameText(L"Hello", L"hELLO"));
  EXPECT_FALSE(SameText(L"Hello", L"Hell"));
  EXPECT_TRUE(SameText(std::string("WINAMP"), std::string("winamp")));
  EXPECT_EQ(CompareText(L"abc", L"ABD") < 0, true);
  EXPECT_EQ(CompareText(L"abc", L"AB") > 0, true);
  EXPECT_EQ(CompareText(L"ABC", L"abc"), 0);
  EXPECT_TRUE(AnsiSameText(L"\u0416", L"\u0436"));
  EXPECT_LT(AnsiCompareText(L"apple", L"Banana"), 0);
  EXPECT_NE(AnsiCompareStr(L"a", L"A"), 0);
  EXPECT_EQ(AnsiCompareStr(L"a", L"a"), 0);
}

TEST(SysUtils, FileNameParts) {
  struct Case {
    const wchar_t *name, *path, *file, *ext, *dir;
  };
  const Case cases[] = {
      {L"C:\\a\\b.txt", L"C:\\a\\", L"b.txt", L".txt", L"C:\\a"},
      {L"C:\\b.txt", L"C:\\", L"b.txt", L".txt", L"C:\\"},
      {L"C:b.txt", L"C:", L"b.txt", L".txt", L"C:"},
      {L"b", L"", L"b", L"", L""},
      {L"a.dir\\b", L"a.dir\\", L"b", L"", L"a.dir"},
      {L"/tmp/x.tar.gz", L"/tmp/", L"x.tar.gz", L".gz", L"/tmp"},
      {L"dir\\", L"dir\\", L"", L"", L"dir"},
      {L"\\\\server\\share\\f.ini", L"\\\\server\\share\\", L"f.ini", L".ini", L"\\\\server\\share"},
      {L"a/b\\c.d", L"a/b\\", L"c.d", L".d", L"a/b"},
      {L".lng", L"", L".lng", L".lng", L""},
      {L"name.", L"", L"name.", L".", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << StringToUtf8(c.name);
    EXPECT_EQ(ExtractFileName(c.name), c.file) << StringToUtf8(c.name);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << StringToUtf8(c.name);
    EXPECT_EQ(ExtractFileDir(c.name), c.dir) << StringToUtf8(c.name);
  }
  EXPECT_EQ(ChangeFileExt(L"a\\b.txt", L".ini"), L"a\\b.ini");
  EXPECT_EQ(ChangeFileExt(L"a.d\\b", L".ini"), L"a.d\\b.ini");
  EXPECT_EQ(ChangeFileExt(L"b.txt", L""), L"b");
  EXPECT_EQ(ChangeFileExt(L"x.tar.gz", L".zip"), L"x.tar.zip");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a"), String(L"C:\\a") + PathDelim);
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"/x/"), L"/x/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a\\"), L"C:\\a");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\a"), L"C:\\a");
}

}  // namespace
