// The skin picture work on tiny PNG fixtures (displays/tests/skins): the alpha
// rule, the nearest-pixel stretch, the nine pieces, saturation and hue.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "displays/SkinImage.h"
#include "vcl/PngCodec.h"

namespace {

using namespace Displays;

const std::filesystem::path Fixtures = std::filesystem::path(QORN_SOURCE_DIR) / "displays" / "tests" / "skins";

PixelBuffer LoadFixture(const char* name) {
  std::ifstream in(Fixtures / name, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(in), {});
  return DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()).toPixels();
}

// Colour value R + 256 G + 65536 B of a pixel, and its alpha.
std::uint32_t ColourAt(const PixelBuffer& p, int x, int y) {
  const std::uint32_t argb = p.at(x, y);
  return ((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16);
}
int AlphaAt(const PixelBuffer& p, int x, int y) { return p.at(x, y) >> 24; }
std::uint32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

// The row of the nine-piece fixture each pixel came from, as the letter of its colour.
std::string Letters(const PixelBuffer& p, int y) {
  std::string s;
  for (int x = 0; x < p.width; ++x) {
    switch (ColourAt(p, x, y)) {
      case 0x0000FF: s += 'R'; break;
      case 0x00FF00: s += 'G'; break;
      case 0xFF0000: s += 'B'; break;
      case 0x00FFFF: s += 'Y'; break;
      case 0xFFFF00: s += 'C'; break;
      case 0xFF00FF: s += 'M'; break;
      case 0x000080: s += 'r'; break;
      case 0x008000: s += 'g'; break;
      case 0x800000: s += 'b'; break;
      default: s += '?';
    }
  }
  return s;
}

TEST(SkinImage, AlphaFrom240UpIsOpaqueAndBelowIsStretchedAndMultipliedIn) {
  const PixelBuffer skin = SkinPictureFromStraight(LoadFixture("alpha.png"));
  ASSERT_EQ(skin.width, 4);
  // 250: opaque, the colour unchanged.
  EXPECT_EQ(AlphaAt(skin, 0, 0), 255);
  EXPECT_EQ(ColourAt(skin, 0, 0), Rgb(200, 100, 50));
  // 128 of (200, 100, 50): 136 and (107, 53, 27).
  EXPECT_EQ(AlphaAt(skin, 1, 0), 136);
  EXPECT_EQ(ColourAt(skin, 1, 0), Rgb(107, 53, 27));
  EXPECT_EQ(AlphaAt(skin, 2, 0), 254);
  EXPECT_EQ(AlphaAt(skin, 3, 0), 0);
  EXPECT_EQ(ColourAt(skin, 3, 0), 0u);
}

TEST(SkinImage, StretchRepeatsOrSamplesEachAxisEvenly) {
  PixelBuffer row(5, 1);
  for (int x = 0; x < 5; ++x) row.set(x, 0, 0xFF000000u | std::uint32_t(x + 1));
  struct {
    int width;
    std::vector<int> from;  // which source pixel (1-based) each destination pixel shows
  } cases[] = {
      {5, {1, 2, 3, 4, 5}},
      {10, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5}},
      {7, {1, 2, 2, 3, 4, 4, 5}},
      {12, {1, 1, 2, 2, 2, 3, 3, 4, 4, 4, 5, 5}},
      {2, {1, 3}},
      {3, {1, 3, 4}},
      {1, {1}},
  };
  for (const auto& c : cases) {
    PixelBuffer out(c.width, 1);
    StretchRect(row, out, {0, 0, 5, 1}, {0, 0, c.width, 1});
    std::vector<int> got;
    for (int x = 0; x < c.width; ++x) got.push_back(int(out.at(x, 0) & 0xFF));
    EXPECT_EQ(got, c.from) << "to " << c.width;
  }
}

TEST(SkinImage, StretchOfAnEmptyOrOutsideRectangleWritesNothingOutside) {
  const PixelBuffer nine = LoadFixture("nine.png");
  PixelBuffer out(4, 4, 0x11223344);
  StretchRect(nine, out, {1, 1, 1, 2}, {0, 0, 4, 4});  // no width: a margin of 0
  StretchRect(nine, out, {0, 0, 3, 3}, {2, 2, 2, 2});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.at(x, y), 0x11223344u);
  // Reaching past both bitmaps: only what lies inside is copied.
  StretchRect(nine, out, {-5, -5, 30, 30}, {-2, -2, 6, 6});
  EXPECT_EQ(Letters(out, 0), "RGGB");
}

TEST(SkinImage, NineSliceKeepsCornersAndStretchesEdgesAndCentre) {
  const PixelBuffer nine = LoadFixture("nine.png");
  const PixelBuffer out = NineSliceStretch(nine, 6, 5, {1, 1, 1, 1});
  ASSERT_EQ(out.width, 6);
  ASSERT_EQ(out.height, 5);
  EXPECT_EQ(Letters(out, 0), "RGGGGB");
  for (int y = 1; y < 4; ++y) EXPECT_EQ(Letters(out, y), "YCCCCM") << y;
  EXPECT_EQ(Letters(out, 4), "rggggb");
}

TEST(SkinImage, NineSliceWithMarginsOfZeroOrWiderThanThePopupStaysInside) {
  const PixelBuffer nine = LoadFixture("nine.png");
  // Margins of 0: no corners, the whole picture is the centre.
  const PixelBuffer whole = NineSliceStretch(nine, 6, 3, {0, 0, 0, 0});
  EXPECT_EQ(Letters(whole, 0), "RRGGBB");
  EXPECT_EQ(Letters(whole, 2), "rrggbb");
  // A popup smaller than the margins: the pieces that fit, nothing beyond.
  const PixelBuffer tiny = NineSliceStretch(nine, 1, 1, {1, 1, 1, 1});
  ASSERT_EQ(tiny.width, 1);
  EXPECT_NE(Letters(tiny, 0), "?");
  EXPECT_TRUE(NineSliceStretch(nine, 0, 0, {1, 1, 1, 1}).empty());
}

TEST(SkinImage, SaturationMovesTowardsOrAwayFromGrey) {
  EXPECT_EQ(AdjustSaturation(Rgb(200, 100, 0), 0), Rgb(200, 100, 0));
  EXPECT_EQ(AdjustSaturation(Rgb(200, 100, 0), 100), Rgb(100, 100, 100));
  EXPECT_EQ(AdjustSaturation(Rgb(200, 100, 0), 50), Rgb(150, 100, 50));
  EXPECT_EQ(AdjustSaturation(Rgb(200, 100, 0), -100), Rgb(255, 100, 0));  // clamped
}

TEST(SkinImage, HueTurnsBothWaysRoundTheCircle) {
  struct {
    int shift;
    std::uint32_t from, to;
  } cases[] = {
      {0, Rgb(255, 0, 0), Rgb(255, 0, 0)},     {120, Rgb(255, 0, 0), Rgb(0, 255, 0)},
      {240, Rgb(255, 0, 0), Rgb(0, 0, 255)},   {360, Rgb(255, 0, 0), Rgb(255, 0, 0)},
      {-100, Rgb(255, 0, 0), Rgb(85, 0, 255)},  // never the key colour magenta
      {-30, Rgb(255, 0, 0), Rgb(255, 0, 128)}, {-180, Rgb(255, 0, 0), Rgb(0, 255, 255)},
      {-360, Rgb(0, 0, 255), Rgb(0, 0, 255)},  {90, Rgb(90, 90, 90), Rgb(90, 90, 90)},  // grey has no hue
  };
  for (const auto& c : cases) EXPECT_EQ(ShiftHue(c.shift, c.from), c.to) << "shift " << c.shift;
}

TEST(SkinImage, SkinPassesLeaveTheKeyColourAndGreysAndKeepColoursWithinAlpha) {
  PixelBuffer p(4, 1);
  p.set(0, 0, 0xFFFF00FF);  // magenta, the key colour
  p.set(1, 0, 0xFF808080);  // grey
  p.set(2, 0, 0xFFC86432);  // (200, 100, 50)
  p.set(3, 0, 0x80800000);  // red at half alpha, premultiplied
  PixelBuffer grey = p;
  SaturateSkin(grey, -100);
  EXPECT_EQ(grey.at(0, 0), 0xFFFF00FFu);
  EXPECT_EQ(grey.at(1, 0), 0xFF808080u);
  EXPECT_EQ(grey.at(2, 0), 0xFF757575u);
  PixelBuffer vivid = p;
  SaturateSkin(vivid, 150);
  EXPECT_LE(int((vivid.at(3, 0) >> 16) & 0xFF), 0x80) << "a colour above its alpha is no premultiplied colour";
  EXPECT_EQ(vivid.at(3, 0) >> 24, 0x80u);
  PixelBuffer turned = p;
  ShiftSkinHue(turned, 120);
  EXPECT_EQ(turned.at(0, 0), 0xFFFF00FFu);
  EXPECT_EQ(turned.at(1, 0), 0xFF808080u);
  EXPECT_EQ(turned.at(3, 0), 0x80008000u);
}

}  // namespace
