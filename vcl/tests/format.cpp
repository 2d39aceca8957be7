#include <gtest/gtest.h>

#include "vcl/SysUtils.h"

namespace {

struct FormatCase {
  const wchar_t* format;
  std::vector<TVarRec> args;
  const wchar_t* expected;
};

String FormatCaseText(const wchar_t* format, const std::vector<TVarRec>& args, const TFormatSettings& fs) {
  // Format takes an initializer list; spread the case's arguments into one.
  switch (args.size()) {
    case 0: return Format(format, {}, fs);
    case 1: return Format(format, {args[0]}, fs);
    case 2: return Format(format, {args[0], args[1]}, fs);
    default: return Format(format, {args[0], args[1], args[2]}, fs);
  }
}

TEST(Format, FormatsEachTypeByThePlatformRules) {
  const TFormatSettings fs = InvariantFormatSettings();
  const std::vector<FormatCase> cases = {
      {L"%d", {42}, L"42"},
      {L"%d", {-42}, L"-42"},
      {L"%5d|", {42}, L"   42|"},
      {L"%-5d|", {42}, L"42   |"},
      {L"%.3d", {7}, L"007"},
      {L"%.3d", {-7}, L"-007"},
      {L"%0.2d", {5}, L"05"},
      {L"%0.2d", {123}, L"123"},
      {L"%d", {std::int64_t{-9223372036854775807LL - 1}}, L"-9223372036854775808"},
      {L"%u", {4000000000u}, L"4000000000"},
      {L"%u", {-1}, L"4294967295"},
      {L"%x", {255}, L"FF"},
      {L"%.4x", {255}, L"00FF"},
      {L"%x", {-1}, L"FFFFFFFF"},
      {L"%s", {L"text"}, L"text"},
      {L"%s and %s", {String(L"a"), L"b"}, L"a and b"},
      {L"%.2s|", {L"abc"}, L"ab|"},
      {L"%6s|", {L"ab"}, L"    ab|"},
      {L"%-6s|", {L"ab"}, L"ab    |"},
      {L"%f", {1.5}, L"1.50"},
      {L"%.2f", {2.675}, L"2.68"},
      {L"%.2f", {1.005}, L"1.01"},
      {L"%.2f", {-0.001}, L"0.00"},
      {L"%.0f", {0.5}, L"1"},
      {L"%.0f", {2.5}, L"3"},
      {L"%.1f", {9.96}, L"10.0"},
      {L"%.3f", {1e-7}, L"0.000"},
      {L"%.2f", {123456789.0}, L"123456789.00"},
      {L"%.0n", {1234567.0}, L"1,234,567"},
      {L"%.0n", {999.0}, L"999"},
      {L"%.2n", {-1234.5}, L"-1,234.50"},
      {L"%n", {100000.0}, L"100,000.00"},
      {L"100%%", {}, L"100%"},
      {L"%1:s %0:s %s", {L"a", L"b"}, L"b a b"},
      {L"%*d|", {4, 7}, L"   7|"},
      {L"%.*d", {3, 7}, L"007"},
      {L"%D %S", {3, L"x"}, L"3 x"},
      {L"%d%%", {50}, L"50%"},
      {L"no specifiers", {}, L"no specifiers"},
      {L"%s", {String(L"\u0416")}, L"\u0416"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatCaseText(c.format, c.args, fs), c.expected) << c.format;
}

TEST(Format, UsesTheSeparatorsOfTheGivenSettings) {
  TFormatSettings fs = InvariantFormatSettings();
  fs.DecimalSeparator = L',';
  fs.ThousandSeparator = L'.';
  EXPECT_EQ(Format(L"%.2n", {1234.5}, fs), L"1.234,50");
  EXPECT_EQ(Format(L"%.1f", {0.25}, fs), L"0,3");
}

TEST(Format, RaisesOnMismatchedOrMissingArguments) {
  const std::vector<FormatCase> cases = {
      {L"%d", {L"x"}, L"Format '%d' invalid or incompatible with argument"},
      {L"%s", {1}, L"Format '%s' invalid or incompatible with argument"},
      {L"%f", {1}, L"Format '%f' invalid or incompatible with argument"},
      {L"%d", {1.0}, L"Format '%d' invalid or incompatible with argument"},
      {L"%x", {L"1"}, L"Format '%x' invalid or incompatible with argument"},
      {L"%q", {1}, L"Format '%q' invalid or incompatible with argument"},
      {L"abc %", {}, L"Format 'abc %' invalid or incompatible with argument"},
      {L"%5", {1}, L"Format '%5' invalid or incompatible with argument"},
      {L"%d", {}, L"No argument for format '%d'"},
      {L"%d %d", {1}, L"No argument for format '%d %d'"},
      {L"%*d", {L"w", 1}, L"Format '%*d' invalid or incompatible with argument"},
      {L"%3:d", {1}, L"No argument for format '%3:d'"},
      {L"%99999999d", {1}, L"Format '%99999999d' invalid or incompatible with argument"},
  };
  for (const auto& c : cases) {
    try {
      FormatCaseText(c.format, c.args, InvariantFormatSettings());
      ADD_FAILURE() << "no error for " << StringToUtf8(c.format);
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), c.expected);
    }
  }
}

TEST(Format, ExceptionCreateFmtFormatsItsMessage) {
  const EStringListError e(SListIndexError, {5});
  EXPECT_EQ(e.Message(), L"List index out of bounds (5)");
  EXPECT_STREQ(e.what(), "List index out of bounds (5)");
}

}  // namespace
