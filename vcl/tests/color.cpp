// Colour names and numbers as form resources and settings write them.
#include <gtest/gtest.h>

#include "vcl/Color.h"

namespace {

TEST(Color, ToStringNamesKnownColoursAndWritesOthersInHex) {
  struct Case {
    TColor color;
    const wchar_t* text;
  };
  const Case cases[] = {
      {clRed, L"clRed"},           {clBtnFace, L"clBtnFace"},     {clSilver, L"clSilver"},
      {clNone, L"clNone"},         {cl3DDkShadow, L"cl3DDkShadow"}, {0x00123456, L"$00123456"},
      {0xFF000019, L"$FF000019"},  // an unnamed system colour index
  };
  for (const Case& c : cases) EXPECT_EQ(ColorToString(c.color), c.text);
}

TEST(Color, StringsReadBack) {
  struct Case {
    const wchar_t* text;
    bool ok;
    TColor color;
  };
  const Case cases[] = {
      {L"clBtnFace", true, clBtnFace}, {L"CLBTNFACE", true, clBtnFace}, {L"clLtGray", true, clSilver},
      {L"$00FF8000", true, 0x00FF8000}, {L"0x10", true, 0x10},          {L"255", true, 255},
      {L"-16777201", true, clBtnFace},  // the signed form of 0xFF00000F
      {L"", false, 0},                 {L"$", false, 0},               {L"clNoSuch", false, 0},
      {L"12z", false, 0},              {L"$1FFFFFFFF", false, 0},       {L"-2147483649", false, 0},
  };
  for (const Case& c : cases) {
    TColor out = 0xDEADBEEF;
    EXPECT_EQ(TryStringToColor(c.text, out), c.ok) << std::string(c.text, c.text + wcslen(c.text));
    if (c.ok) {
      EXPECT_EQ(out, c.color);
    }
  }
}

TEST(Color, ComponentsAndSystemColours) {
  EXPECT_EQ(RGBToColor(1, 2, 3), 0x00030201u);
  EXPECT_TRUE(IsSystemColor(clWindowText));
  EXPECT_FALSE(IsSystemColor(clNone));
  EXPECT_FALSE(IsSystemColor(clWhite));
  // Only system colours change; their value never carries the system flag.
  EXPECT_EQ(ColorToRGB(clLime), clLime);
  EXPECT_FALSE(IsSystemColor(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(ColorToRGB(clBtnShadow) & 0xFF000000u, 0u);
}

}  // namespace
