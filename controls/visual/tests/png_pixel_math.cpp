// The disabled look of PNG glyphs, the icons for old common controls, and where a
// button puts its glyph and caption: table tests of the arithmetic.
#include <gtest/gtest.h>

#include "controls/visual/PngButtonGeometry.h"
#include "controls/visual/PngPixelMath.h"

namespace {

using namespace Flat;

TEST(PngPixelMath, BlendScalesAlphaRoundingHalfToEven) {
  const struct {
    int alpha, amount, expected;
  } cases[] = {
      {255, 127, 128}, {1, 127, 0},  {3, 127, 2},     {2, 127, 1},   {0, 127, 0},
      {128, 127, 64},  {255, 255, 255}, {200, 255, 200}, {255, 0, 1}, {100, 63, 25},
  };
  for (const auto& c : cases) EXPECT_EQ(ScaleByAmount(c.alpha, c.amount), c.expected) << c.alpha << " by " << c.amount;
}

TEST(PngPixelMath, BlendHalvesTheAlphaPlaneAndThePaletteAlpha) {
  PngImageData rgba = PngImageData::Blank(PngColorType::RGBAlpha, 2, 1);
  rgba.alpha = {255, 64};
  BlendAlpha(rgba, 127);
  EXPECT_EQ(rgba.alpha, (std::vector<std::uint8_t>{128, 32}));

  // Palette entries past the stored alpha were opaque: they are halved too.
  PngImageData palette = PngImageData::Blank(PngColorType::Palette, 2, 1);
  palette.palette = {{255, 255, 255}, {0, 128, 0}, {0, 0, 255}};
  palette.paletteAlpha = {0};
  BlendAlpha(palette, 127);
  EXPECT_EQ(palette.paletteAlpha, (std::vector<std::uint8_t>{0, 128, 128}));
}

TEST(PngPixelMath, GrayMovesColoursToTheirGreyLevel) {
  PngImageData rgb = PngImageData::Blank(PngColorType::RGB, 3, 1);
  // Blue, green, red bytes: pure red, pure green, a grey that must stay.
  rgb.pixels = {0, 0, 255, 0, 255, 0, 90, 90, 90};
  PngImageData full = rgb;
  MakeGray(full, 255);
  // 0.30 * 255 = 76.5 -> 76 (half to even); 0.59 * 255 = 150.45 -> 150.
  EXPECT_EQ(full.pixels, (std::vector<std::uint8_t>{76, 76, 76, 150, 150, 150, 90, 90, 90}));

  PngImageData none = rgb;
  MakeGray(none, 0);
  // Amount 0 keeps 255/256 of the colour and 1/256 of the grey.
  EXPECT_EQ(none.pixels, (std::vector<std::uint8_t>{0, 0, 254, 1, 255, 1, 90, 90, 90}));

  PngImageData palette = PngImageData::Blank(PngColorType::Palette, 1, 1);
  palette.palette = {{255, 0, 0}, {0, 0, 255}};
  MakeGray(palette, 255);
  EXPECT_EQ(palette.palette, (std::vector<PngRGB>{{76, 76, 76}, {28, 28, 28}}));
  EXPECT_EQ(palette.pixels, (std::vector<std::uint8_t>{0})) << "indices stay";

  PngImageData grey = PngImageData::Blank(PngColorType::GrayscaleAlpha, 2, 1);
  grey.pixels = {10, 200};
  MakeGray(grey, 255);
  EXPECT_EQ(grey.pixels, (std::vector<std::uint8_t>{10, 200}));
}

TEST(PngPixelMath, OldCommonControlsGetThePictureOverItsBackground) {
  PixelBuffer image(3, 1);
  image.set(0, 0, 0xFFFF0000);  // opaque red
  image.set(1, 0, 0x800000FF);  // blue at half
  image.set(2, 0, 0x00123456);  // fully transparent
  EXPECT_EQ(IconPixels(image, true, 0xFFFFFF).bytes, image.bytes) << "alpha icons take the picture as it is";

  const PixelBuffer old = IconPixels(image, false, 0xFFFFFF);
  EXPECT_EQ(old.at(0, 0), 0xFFFF0000u);
  EXPECT_EQ(old.at(1, 0), 0xFF7F7FFFu) << "half blue over white, opaque";
  EXPECT_EQ(old.at(2, 0) >> 24, 0u) << "only fully transparent pixels stay out of the mask";
}

TEST(PngButtonGeometry, PlacesGlyphAndCaption) {
  const TRect client{0, 0, 75, 25};
  const struct {
    const char* what;
    TRect client;
    TSize glyph, text;
    TGlyphSide side;
    int margin, spacing;
    bool pressed;
    TPoint glyphAt, textAt;
  } cases[] = {
      // 16 + 4 + 15 = 35 wide in 75: margin 20.
      {"centred group", client, {16, 16}, {15, 13}, TGlyphSide::Left, -1, 4, false, {20, 5}, {40, 6}},
      {"pressed moves both", client, {16, 16}, {15, 13}, TGlyphSide::Left, -1, 4, true, {21, 6}, {41, 7}},
      {"glyph right", client, {16, 16}, {15, 13}, TGlyphSide::Right, -1, 4, false, {39, 5}, {20, 6}},
      {"no caption centres the glyph", {0, 0, 23, 22}, {16, 16}, {0, 0}, TGlyphSide::Left, -1, 4, false, {3, 3}, {19, 11}},
      {"fixed margin", client, {16, 16}, {15, 13}, TGlyphSide::Left, 3, 4, false, {3, 5}, {23, 6}},
      {"three equal gaps", {0, 0, 75, 25}, {16, 16}, {14, 13}, TGlyphSide::Left, -1, -1, false, {15, 5}, {46, 6}},
      {"glyph top", {0, 0, 75, 60}, {16, 16}, {15, 13}, TGlyphSide::Top, -1, 4, false, {30, 13}, {30, 33}},
      {"glyph bottom", {0, 0, 75, 60}, {16, 16}, {15, 13}, TGlyphSide::Bottom, -1, 4, false, {30, 31}, {30, 14}},
      {"client origin", {10, 20, 85, 45}, {16, 16}, {15, 13}, TGlyphSide::Left, -1, 4, false, {30, 25}, {50, 26}},
      // Across, a glyph wider than the client by an even amount moves one towards the far side.
      {"overhanging glyph", {0, 0, 10, 10}, {14, 14}, {0, 0}, TGlyphSide::Top, -1, 4, false, {0, -2}, {5, 12}},
  };
  for (const auto& c : cases) {
    const TButtonPlacement p = PlaceButtonContent(c.client, c.glyph, c.text, c.side, c.margin, c.spacing, c.pressed);
    EXPECT_EQ(p.glyph, c.glyphAt) << c.what << ": glyph " << p.glyph.X << "," << p.glyph.Y;
    EXPECT_EQ(p.text, c.textAt) << c.what << ": text " << p.text.X << "," << p.text.Y;
  }
}

}  // namespace
