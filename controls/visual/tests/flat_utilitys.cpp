// Colour shades and glyph-and-caption layout of the flat controls.
#include <gtest/gtest.h>

#include "controls/visual/FlatUtilitys.h"
#include "controls/visual/HSLUtils.h"

using namespace Flat;

TEST(FlatColors, HslRoundTripsAndGreys) {
  const THSLRange red = RGBToHSLRange(0x0000FF);
  EXPECT_EQ(red.H, 0);
  EXPECT_EQ(red.S, 240);
  EXPECT_EQ(red.L, 120);
  EXPECT_EQ(HSLRangeToRGB(red.H, red.S, red.L), 0x0000FFu);
  // Saturation 0 is a grey whatever the hue.
  EXPECT_EQ(HSLToRGB(0.7, 0, 0.5), HSLToRGB(0.1, 0, 0.5));
  const TRGBBytes g = SplitColorBytes(HSLToRGB(0.7, 0, 0.5));
  EXPECT_EQ(g.Red, g.Blue);
  EXPECT_EQ(MakeRGB(1, 2, 3), 0x030201u);
}

TEST(FlatColors, AdjustLightness) {
  struct Case {
    TColor base, fallback;
    int percent;
    TColorCalcType dir;
    TColor want;
  } cases[] = {
      {clWhite, 0x123456, 0, TColorCalcType::Lighten, 0x123456},  // 0 keeps the fallback
      {clWhite, 0, 10, TColorCalcType::Lighten, 0x6A6A6A},        // held at 100 of 240: 106 grey
      {0x404040, 0, 100, TColorCalcType::Darken, 0x000000},       // below 0: black
  };
  for (const Case& c : cases)
    EXPECT_EQ(AdjustColorLightness(c.base, c.fallback, std::uint8_t(c.percent), c.dir), c.want) << c.percent;
}

TEST(FlatLayout, GlyphAndCaption) {
  const TRect client{0, 0, 100, 30};
  // Automatic margin and spacing: equal thirds of the free room (100 - 16 - 40 = 44).
  TGlyphAndCaption a = LayoutGlyphAndCaptionSizes(client, {}, {16, 16}, {40, 13}, -1, -1, TGlyphSide::Left);
  EXPECT_EQ(a.GlyphPos, (TPoint{14, 7}));
  EXPECT_EQ(a.TextRect, (TRect{44, 9, 84, 22}));
  // No caption: no spacing, the glyph centred by the margin.
  TGlyphAndCaption b = LayoutGlyphAndCaptionSizes(client, {1, 1}, {16, 16}, {}, -1, 4, TGlyphSide::Left);
  EXPECT_EQ(b.GlyphPos, (TPoint{43, 8}));
  // Glyph on top with a fixed margin.
  TGlyphAndCaption c = LayoutGlyphAndCaptionSizes({10, 10, 60, 60}, {}, {16, 16}, {20, 10}, 2, 3, TGlyphSide::Top);
  EXPECT_EQ(c.GlyphPos, (TPoint{27, 12}));
  EXPECT_EQ(c.TextRect, (TRect{25, 31, 45, 41}));
}

TEST(FlatLayout, MinWordAndIntersection) {
  EXPECT_EQ(MinWord(0x10005, 0x20003), 0x20003u);
  EXPECT_EQ(MinWord(7, 7 | 0x10000), 7u | 0x10000);
  EXPECT_TRUE(RectsIntersect({0, 0, 10, 10}, {9, 9, 20, 20}));
  EXPECT_FALSE(RectsIntersect({0, 0, 10, 10}, {10, 0, 20, 10}));
}
