// The colour scale and the bar and gradient sums that every extended control draws with.
#include <gtest/gtest.h>

#include "controls/extended/VyGrafxColor.h"
#include "vcl/Exceptions.h"

using namespace Vy;

namespace {

TEST(GrafxColor, HueSatLumOfPlainColours) {
  struct Case {
    TColor color;
    THueSatLum hsl;
  } cases[] = {
      {clBlack, {0, 0, 0}},        {clWhite, {0, 0, 240}},       {clRed, {0, 240, 120}},
      {clLime, {80, 240, 120}},    {clBlue, {160, 240, 120}},    {clGray, {0, 0, 120}},
      {RGBToColor(255, 0, 1), {240, 240, 120}},  // just below a full turn stays on the top of the scale
      {RGBToColor(0x80, 0x40, 0x20), {13, 144, 75}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.color));
    EXPECT_EQ(ColorToHueSatLum(c.color), c.hsl);
  }
}

TEST(GrafxColor, BackToColourOnTheSkewedHueScale) {
  EXPECT_EQ(HueSatLumToColor(0, 0, 120), RGBToColor(128, 128, 128)) << "a mid grey";
  EXPECT_EQ(HueSatLumToColor(239, 240, 120), HueSatLumToColor(0, 240, 120));
  EXPECT_EQ(HueSatLumToColor(0, 240, 120), clRed);
  EXPECT_EQ(HueSatLumToColor(0, 240, 0), clBlack);
  // The hue is read back on 0..239, so the primaries other than red do not come back
  // exactly. Pinned: the displays' colours were chosen with this look.
  struct Case {
    TColor color, back;
  } trips[] = {
      {clRed, clRed},
      {clLime, RGBToColor(0, 255, 2)},
      {clBlue, RGBToColor(4, 0, 255)},
      {clWhite, clWhite},
      {clGray, RGBToColor(128, 128, 128)},
  };
  for (const Case& t : trips) {
    const THueSatLum hsl = ColorToHueSatLum(t.color);
    EXPECT_EQ(HueSatLumToColor(std::min(hsl.Hue, 240), hsl.Sat, hsl.Lum), t.back) << std::hex << t.color;
  }
}

TEST(GrafxColor, DarkenLightenAdjustAndBlend) {
  EXPECT_EQ(LightenColor(clWhite, 20), clWhite);
  EXPECT_EQ(DarkenColor(clBlack, 20), clBlack);
  EXPECT_EQ(LightenColor(clBlack, 255), clWhite) << "luminance past 240 caps the channels";
  EXPECT_EQ(DarkenColor(clRed, 60), RGBToColor(128, 0, 0));
  EXPECT_EQ(LightenColor(clRed, 60), RGBToColor(255, 128, 128));
  EXPECT_EQ(AdjustColorBy(clRed, 60), LightenColor(clRed, 60));
  EXPECT_EQ(AdjustColorBy(clRed, -60), DarkenColor(clRed, 60));
  EXPECT_EQ(AdjustColorBy(clBtnShadow, 0), clBtnShadow) << "no change keeps even a system colour";
  EXPECT_EQ(BlendColors(clRed, clBlue, 255), clRed);
  EXPECT_EQ(BlendColors(clRed, clBlue, 0), clBlue);
  EXPECT_EQ(BlendColors(clRed, clBlue, 128), RGBToColor(128, 0, 127));
  EXPECT_TRUE(ColorsNearlyEqual(clRed, RGBToColor(230, 20, 10)));
  EXPECT_FALSE(ColorsNearlyEqual(clRed, clMaroon)) << "too far apart in luminance";
  EXPECT_FALSE(ColorsNearlyEqual(clRed, clLime));
}

TEST(GrafxColor, RangeErrorsAreRaisedNotWrapped) {
  EXPECT_THROW(DarkenColor(clRed, 256), ERangeError);
  EXPECT_THROW(DarkenColor(clRed, -1), ERangeError);
  EXPECT_THROW(LightenColor(clRed, 300), ERangeError);
  EXPECT_THROW(AdjustColorBy(clRed, -256), ERangeError);
  EXPECT_THROW(BlendColors(clRed, clBlue, 256), ERangeError);
  EXPECT_THROW(BlendColors(clRed, clBlue, -1), ERangeError);
  EXPECT_THROW(HueSatLumToColor(241, 0, 0), ERangeError);
  EXPECT_THROW(HueSatLumToColor(0, -1, 0), ERangeError);
  EXPECT_THROW(HueSatLumToColor(0, 0, 256), ERangeError);
}

TEST(GrafxColor, GradientBandsNeverDivideByZero) {
  struct Case {
    int setting, size;
  } cases[] = {{-3, 1}, {0, 1}, {1, 1}, {8, 8}, {9, 29}, {100, 3}, {255, 2}};
  for (const Case& c : cases) EXPECT_EQ(GradientBandSize(c.setting), c.size) << c.setting;
}

TEST(GrafxColor, SegmentLayoutTable) {
  struct Case {
    int length, count;
    TSegmentLayout layout;
  } cases[] = {
      {60, 20, {6, 10, 0}},     // short bars hold ten segments at most
      {200, 20, {10, 20, 0}},  {205, 20, {10, 20, 2}},  // the rest is split into two margins
      {100, 30, {3, 33, 0}},   // what is left over for whole segments adds segments
      {100, 7, {14, 7, 1}},    {0, 20, {0, 0, 0}},
      {100, 0, {0, 0, 100}},   // no segments: all back colour, no division
      {5, 20, {0, 0, 5}},      // too short for one segment
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << " / " << c.count);
    const TSegmentLayout got = LayoutSegments(c.length, c.count);
    EXPECT_EQ(got.Size, c.layout.Size);
    EXPECT_EQ(got.Count, c.layout.Count);
    EXPECT_EQ(got.Margin, c.layout.Margin);
  }
  EXPECT_EQ(FilledSegments(55, 10), 5);
  EXPECT_EQ(FilledSegments(100, 10), 10);
  EXPECT_EQ(FilledSegments(150, 10), 10) << "above 100 % fills the bar, no more";
  EXPECT_EQ(FilledSegments(-5, 10), 0);
  EXPECT_EQ(FilledSegments(50, 0), 0);
}

TEST(GrafxColor, CenteredBounds) {
  EXPECT_EQ(CenteredBounds(Rect(0, 0, 100, 50), 20, 10), Rect(40, 20, 60, 30));
  EXPECT_EQ(CenteredBounds(Rect(10, 10, 20, 20), 30, 30), Rect(0, 0, 30, 30));
}

}  // namespace
