// The picture decoders and encoders on files made here: every PNG colour type and
// bit depth with its kinds of transparency, JPEG written and read back, GIF
// written with giflib, hand-made bitmaps and icons, and damaged input.
#include <gtest/gtest.h>

#include <cstdio>
#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>

#include <cstring>
#include <vector>

#include "testing/GifWriter.h"
#include "vcl/BmpCodec.h"
#include "vcl/GifCodec.h"
#include "vcl/IconCodec.h"
#include "vcl/JpegCodec.h"
#include "vcl/PixelBuffer.h"
#include "vcl/PngCodec.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A PNG written by libpng itself from rows of packed samples, so the decoder is
// checked against the library's writer rather than against our own encoder.
Bytes WritePngWithLibpng(int width, int height, int colorType, int bitDepth, const std::vector<Bytes>& rows,
                         const std::vector<png_color>& palette = {}, const Bytes& trans = {},
                         const png_color_16* transColor = nullptr, bool interlaced = false) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write the test picture";
    return {};
  }
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, png_size_t n) {
        auto* v = static_cast<Bytes*>(png_get_io_ptr(p));
        v->insert(v->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, width, height, bitDepth, colorType,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
  if (!trans.empty() || transColor)
    png_set_tRNS(png, info, trans.empty() ? nullptr : const_cast<png_bytep>(trans.data()), int(trans.size()),
                 const_cast<png_color_16*>(transColor));
  png_write_info(png, info);
  std::vector<png_bytep> ptrs;
  for (const Bytes& r : rows) ptrs.push_back(const_cast<png_bytep>(r.data()));
  png_write_image(png, ptrs.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::uint32_t Argb(int a, int r, int g, int b) {
  return (std::uint32_t(a) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

TEST(PngDecode, ColourTypesAndDepths) {
  struct Case {
    const char* name;
    int colorType, bitDepth;
    std::vector<Bytes> rows;  // 2 x 1 pictures
    PngColorType expectType;
    std::uint32_t expect0, expect1;
  };
  const std::vector<Case> cases = {
      {"grey 8", PNG_COLOR_TYPE_GRAY, 8, {{0x10, 0xF0}}, PngColorType::Grayscale, Argb(255, 0x10, 0x10, 0x10),
       Argb(255, 0xF0, 0xF0, 0xF0)},
      // 1-bit grey: 0 and 1 become 0 and 255.
      {"grey 1", PNG_COLOR_TYPE_GRAY, 1, {{0x40}}, PngColorType::Grayscale, Argb(255, 0, 0, 0),
       Argb(255, 255, 255, 255)},
      // 2-bit grey: 1 and 2 become 85 and 170.
      {"grey 2", PNG_COLOR_TYPE_GRAY, 2, {{0x60}}, PngColorType::Grayscale, Argb(255, 85, 85, 85),
       Argb(255, 170, 170, 170)},
      {"grey 16", PNG_COLOR_TYPE_GRAY, 16, {{0x12, 0x34, 0xAB, 0xCD}}, PngColorType::Grayscale,
       Argb(255, 0x12, 0x12, 0x12), Argb(255, 0xAB, 0xAB, 0xAB)},
      {"rgb 8", PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 250, 251, 252}}, PngColorType::RGB, Argb(255, 1, 2, 3),
       Argb(255, 250, 251, 252)},
      {"rgb 16", PNG_COLOR_TYPE_RGB, 16, {{1, 0, 2, 0, 3, 0, 0xFE, 0, 0xFD, 0, 0xFC, 0}}, PngColorType::RGB,
       Argb(255, 1, 2, 3), Argb(255, 0xFE, 0xFD, 0xFC)},
      {"grey+alpha 8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{0x80, 0x00, 0x20, 0xFF}}, PngColorType::GrayscaleAlpha,
       Argb(0, 0x80, 0x80, 0x80), Argb(255, 0x20, 0x20, 0x20)},
      {"rgba 8", PNG_COLOR_TYPE_RGB_ALPHA, 8, {{10, 20, 30, 40, 50, 60, 70, 128}}, PngColorType::RGBAlpha,
       Argb(40, 10, 20, 30), Argb(128, 50, 60, 70)},
      {"rgba 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, {{10, 0, 20, 0, 30, 0, 40, 0, 50, 0, 60, 0, 70, 0, 128, 0}},
       PngColorType::RGBAlpha, Argb(40, 10, 20, 30), Argb(128, 50, 60, 70)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes file = WritePngWithLibpng(2, 1, c.colorType, c.bitDepth, c.rows);
    const PngImageData image = DecodePng(file.data(), file.size());
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.colorType, c.expectType);
    const PixelBuffer px = image.toPixels();
    EXPECT_EQ(px.at(0, 0), c.expect0);
    EXPECT_EQ(px.at(1, 0), c.expect1);
  }
}

TEST(PngDecode, PaletteKeepsIndicesAndTransparency) {
  const std::vector<png_color> palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  const Bytes trans = {0, 128};  // the third entry is opaque
  // 4-bit indices 2, 1, 0.
  const Bytes file = WritePngWithLibpng(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {{0x21, 0x00}}, palette, trans);
  const PngImageData image = DecodePng(file.data(), file.size());
  ASSERT_EQ(image.colorType, PngColorType::Palette);
  ASSERT_EQ(image.palette.size(), 3u);
  EXPECT_EQ(image.palette[1], (PngRGB{0, 255, 0}));
  EXPECT_EQ(image.pixels, (Bytes{2, 1, 0}));
  EXPECT_EQ(image.paletteAlpha, trans);
  const PixelBuffer px = image.toPixels();
  EXPECT_EQ(px.at(0, 0), Argb(255, 0, 0, 255));
  EXPECT_EQ(px.at(1, 0), Argb(128, 0, 255, 0));
  EXPECT_EQ(px.at(2, 0), Argb(0, 255, 0, 0));
}

TEST(PngDecode, TransparentColourOfRgbAndGrey) {
  png_color_16 rgbKey{};
  rgbKey.red = 1;
  rgbKey.green = 2;
  rgbKey.blue = 3;
  const Bytes rgb = WritePngWithLibpng(2, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 1, 2, 4}}, {}, {}, &rgbKey);
  const PngImageData a = DecodePng(rgb.data(), rgb.size());
  EXPECT_TRUE(a.hasTransparentColor);
  EXPECT_EQ(a.toPixels().at(0, 0) >> 24, 0u);
  EXPECT_EQ(a.toPixels().at(1, 0) >> 24, 255u);

  // A 2-bit grey key of 1 is the 8-bit level 85, the level its pixels get.
  png_color_16 greyKey{};
  greyKey.gray = 1;
  const Bytes grey = WritePngWithLibpng(2, 1, PNG_COLOR_TYPE_GRAY, 2, {{0x40}}, {}, {}, &greyKey);
  const PngImageData b = DecodePng(grey.data(), grey.size());
  EXPECT_EQ(b.transparentColor, (PngRGB{85, 85, 85}));
  EXPECT_EQ(b.toPixels().at(0, 0), Argb(0, 85, 85, 85));
  EXPECT_EQ(b.toPixels().at(1, 0), Argb(255, 0, 0, 0));
}

TEST(PngDecode, InterlacedPictureMatchesPlainOne) {
  const int w = 9, h = 7;
  std::vector<Bytes> rows;
  for (int y = 0; y < h; ++y) {
    Bytes r;
    for (int x = 0; x < w; ++x) {
      r.push_back(std::uint8_t(x * 20));
      r.push_back(std::uint8_t(y * 30));
      r.push_back(std::uint8_t(x + y));
    }
    rows.push_back(r);
  }
  const Bytes plain = WritePngWithLibpng(w, h, PNG_COLOR_TYPE_RGB, 8, rows);
  const Bytes laced = WritePngWithLibpng(w, h, PNG_COLOR_TYPE_RGB, 8, rows, {}, {}, nullptr, true);
  ASSERT_NE(plain, laced);
  EXPECT_EQ(DecodePng(plain.data(), plain.size()).toPixels().bytes,
            DecodePng(laced.data(), laced.size()).toPixels().bytes);
}

TEST(PngEncode, RoundTripKeepsEveryColourType) {
  PngImageData palette = PngImageData::Blank(PngColorType::Palette, 2, 2);
  palette.palette = {{1, 2, 3}, {200, 100, 50}};
  palette.paletteAlpha = {0};
  palette.pixels = {0, 1, 1, 0};
  PngImageData rgba = PngImageData::Blank(PngColorType::RGBAlpha, 2, 1);
  rgba.pixels = {1, 2, 3, 4, 5, 6};
  rgba.alpha = {7, 255};
  PngImageData keyed = PngImageData::Blank(PngColorType::RGB, 1, 2);
  keyed.pixels = {9, 9, 9, 8, 8, 8};
  keyed.hasTransparentColor = true;
  keyed.transparentColor = {9, 9, 9};
  PngImageData greyAlpha = PngImageData::Blank(PngColorType::GrayscaleAlpha, 3, 1);
  greyAlpha.pixels = {0, 127, 255};
  greyAlpha.alpha = {255, 1, 0};
  for (const PngImageData* original : {&palette, &rgba, &keyed, &greyAlpha}) {
    SCOPED_TRACE(int(original->colorType));
    const Bytes file = EncodePng(*original);
    const PngImageData back = DecodePng(file.data(), file.size());
    EXPECT_EQ(back.colorType, original->colorType);
    EXPECT_EQ(back.pixels, original->pixels);
    EXPECT_EQ(back.alpha, original->alpha);
    EXPECT_EQ(back.palette, original->palette);
    EXPECT_EQ(back.paletteAlpha, original->paletteAlpha);
    EXPECT_EQ(back.hasTransparentColor, original->hasTransparentColor);
    EXPECT_EQ(back.toPixels().bytes, original->toPixels().bytes);
  }
}

TEST(PngDecode, DamagedFilesAreRefused) {
  const Bytes good = WritePngWithLibpng(4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(4, Bytes(12, 7)));
  Bytes truncated(good.begin(), good.begin() + good.size() / 2);
  Bytes badSignature = good;
  badSignature[1] = 'X';
  Bytes badImageCrc = good;
  static const char kIdat[] = "IDAT";
  // The IDAT chunk's data: flip a byte in the compressed stream.
  const auto idat = std::search(badImageCrc.begin(), badImageCrc.end(), kIdat, kIdat + 4);

  ASSERT_NE(idat, badImageCrc.end());
  idat[6] ^= 0x55;
  for (const Bytes* bad : {&truncated, &badSignature, &badImageCrc}) {
    EXPECT_THROW(DecodePng(bad->data(), bad->size()), EInvalidGraphic);
  }
  EXPECT_THROW(DecodePng(nullptr, 0), EInvalidGraphic);
}

TEST(PngDecode, HugeDeclaredSizeIsRefusedBeforeAllocating) {
  Bytes file = WritePngWithLibpng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {{0}});
  // IHDR width at offset 16; make it 100000 and fix the chunk CRC.
  file[16] = 0x00;
  file[17] = 0x01;
  file[18] = 0x86;
  file[19] = 0xA0;
  const std::uint32_t crc = std::uint32_t(crc32(0, file.data() + 12, 17));
  file[29] = std::uint8_t(crc >> 24);
  file[30] = std::uint8_t(crc >> 16);
  file[31] = std::uint8_t(crc >> 8);
  file[32] = std::uint8_t(crc);
  EXPECT_THROW(DecodePng(file.data(), file.size()), EInvalidGraphic);
}

PixelBuffer Gradient(int w, int h) {
  PixelBuffer px(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) px.set(x, y, Argb(255, x * 255 / (w - 1), y * 255 / (h - 1), 128));
  return px;
}

int MaxChannelDifference(const PixelBuffer& a, const PixelBuffer& b) {
  int worst = 0;
  for (std::size_t i = 0; i < a.bytes.size(); ++i) {
    if (i % 4 == 3) continue;
    worst = std::max(worst, std::abs(int(a.bytes[i]) - int(b.bytes[i])));
  }
  return worst;
}

TEST(Jpeg, SaveAndReloadKeepsThePicture) {
  const PixelBuffer original = Gradient(64, 48);
  struct Case {
    int quality;
    int tolerance;
  };
  for (const Case c : {Case{100, 6}, Case{75, 24}}) {
    SCOPED_TRACE(c.quality);
    const Bytes file = EncodeJpeg(original, c.quality);
    const PixelBuffer back = DecodeJpeg(file.data(), file.size());
    ASSERT_EQ(back.width, 64);
    ASSERT_EQ(back.height, 48);
    EXPECT_FALSE(back.hasTransparency());
    EXPECT_LE(MaxChannelDifference(original, back), c.tolerance);
  }
  EXPECT_LT(EncodeJpeg(original, 10).size(), EncodeJpeg(original, 100).size());
}

TEST(Jpeg, GreyscaleFileComesBackAsGreyPixels) {
  const Bytes file = EncodeJpeg(Gradient(16, 16), 95, true);
  const PixelBuffer back = DecodeJpeg(file.data(), file.size());
  for (int x = 0; x < 16; ++x) {
    const std::uint32_t p = back.at(x, 5);
    EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF);
    EXPECT_EQ(p & 0xFF, (p >> 16) & 0xFF);
  }
}

TEST(Jpeg, DamagedFilesAreRefused) {
  const Bytes good = EncodeJpeg(Gradient(32, 32), 90);
  const Bytes truncatedHeader(good.begin(), good.begin() + 20);
  // Cut inside the picture data: refused, not padded out with made-up rows.
  const Bytes truncatedData(good.begin(), good.end() - good.size() / 3);
  const Bytes notJpeg = {'G', 'I', 'F', '8', '9', 'a'};
  for (const Bytes* bad : {&truncatedHeader, &truncatedData, &notJpeg})
    EXPECT_THROW(DecodeJpeg(bad->data(), bad->size()), EInvalidGraphic);
}

Bytes WriteGif(int screenW, int screenH, int left, int top, int w, int h, const std::vector<GifPixelType>& pixels,
               int transparent, bool interlace) {
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(
      &out,
      [](GifFileType* g, const GifByteType* data, int n) {
        auto* v = static_cast<Bytes*>(g->UserData);
        v->insert(v->end(), data, data + n);
        return n;
      },
      &error);
  EXPECT_NE(gif, nullptr);
  GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screenW, screenH, 2, 0, map);
  if (transparent >= 0) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = transparent;
    GifByteType ext[4];
    const size_t len = EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(len), ext);
  }
  EGifPutImageDesc(gif, left, top, w, h, interlace, nullptr);
  if (interlace) {
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = kStart[pass]; y < h; y += kStep[pass])
        EGifPutLine(gif, const_cast<GifPixelType*>(&pixels[y * w]), w);
  } else {
    for (int y = 0; y < h; ++y) EGifPutLine(gif, const_cast<GifPixelType*>(&pixels[y * w]), w);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(Gif, FirstFrameOnItsScreenWithTransparency) {
  // A 2 x 2 frame at (1, 1) of a 4 x 3 screen; index 3 is transparent.
  const Bytes file = WriteGif(4, 3, 1, 1, 2, 2, {0, 1, 2, 3}, 3, false);
  const PixelBuffer px = DecodeGif(file.data(), file.size());
  ASSERT_EQ(px.width, 4);
  ASSERT_EQ(px.height, 3);
  EXPECT_EQ(px.at(1, 1), Argb(255, 255, 0, 0));
  EXPECT_EQ(px.at(2, 1), Argb(255, 0, 255, 0));
  EXPECT_EQ(px.at(1, 2), Argb(255, 0, 0, 255));
  EXPECT_EQ(px.at(2, 2) >> 24, 0u);  // the transparent index
  EXPECT_EQ(px.at(0, 0) >> 24, 0u);  // outside the frame
}

TEST(Gif, InterlacedRowsLandInTheirPlaces) {
  const int w = 2, h = 9;
  std::vector<GifPixelType> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.push_back(GifPixelType(y % 3));
  const Bytes file = WriteGif(w, h, 0, 0, w, h, pixels, -1, true);
  const PixelBuffer px = DecodeGif(file.data(), file.size());
  const std::uint32_t expected[3] = {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255)};
  for (int y = 0; y < h; ++y) EXPECT_EQ(px.at(1, y), expected[y % 3]) << "row " << y;
}

TEST(Gif, DamagedFilesAreRefused) {
  const Bytes good = WriteGif(4, 4, 0, 0, 4, 4, std::vector<GifPixelType>(16, 1), -1, false);
  const Bytes truncated(good.begin(), good.begin() + 20);
  const Bytes notGif = {'B', 'M', 0, 0, 0, 0};
  for (const Bytes* bad : {&truncated, &notGif}) EXPECT_THROW(DecodeGif(bad->data(), bad->size()), EInvalidGraphic);
}

using qorn::testing::WriteAnimatedGif;

TEST(Gif, EveryFrameWithItsPlaceAndDelay) {
  const Bytes file = WriteAnimatedGif(8, 6, {{0, 0, 8, 6, 0, 10}, {2, 1, 3, 2, 1, 25}, {5, 4, 1, 1, 2, 0}});
  const GifAnimation gif = DecodeGifFrames(file.data(), file.size());
  ASSERT_EQ(gif.Frames.size(), 3u);
  EXPECT_EQ(gif.Width, 8);
  EXPECT_EQ(gif.Height, 6);
  struct Expected {
    int left, top, w, h;
    unsigned delay;
    std::uint32_t colour;
  };
  const Expected expected[3] = {{0, 0, 8, 6, 100, Argb(255, 255, 0, 0)},
                                {2, 1, 3, 2, 250, Argb(255, 0, 255, 0)},
                                {5, 4, 1, 1, 0, Argb(255, 0, 0, 255)}};
  for (int i = 0; i < 3; ++i) {
    const GifFrame& f = gif.Frames[i];
    EXPECT_EQ(f.Left, expected[i].left) << i;
    EXPECT_EQ(f.Top, expected[i].top) << i;
    EXPECT_EQ(f.Pixels.width, expected[i].w) << i;
    EXPECT_EQ(f.Pixels.height, expected[i].h) << i;
    EXPECT_EQ(f.DelayMs, expected[i].delay) << i;
    EXPECT_EQ(f.Pixels.at(f.Pixels.width - 1, f.Pixels.height - 1), expected[i].colour) << i;
  }
  EXPECT_EQ(DecodeGifFrames(file.data(), file.size(), 1).Frames.size(), 1u);
}

TEST(Gif, AnimationCutAnywhereIsRefusedWithinItsBytes) {
  const Bytes file = WriteAnimatedGif(8, 6, {{0, 0, 8, 6, 0, 10}, {2, 1, 3, 2, 1, 25}, {5, 4, 1, 1, 2, 0}});
  // Every shorter prefix is refused or yields only the frames it holds whole; the
  // sanitizers see any read past the copy's end.
  for (std::size_t n = 0; n < file.size(); ++n) {
    const std::vector<std::uint8_t> cut(file.begin(), file.begin() + std::ptrdiff_t(n));
    try {
      const GifAnimation gif = DecodeGifFrames(cut.data(), cut.size());
      EXPECT_LE(gif.Frames.size(), 3u) << n;
    } catch (const EInvalidGraphic&) {
    }
  }
}

void Put16(Bytes& b, int v) {
  b.push_back(std::uint8_t(v));
  b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// A bitmap file by hand: header fields as given, palette and pixel bytes appended.
Bytes HandBmp(int w, int h, int bpp, std::uint32_t compression, const Bytes& palette, const Bytes& bits,
              const std::vector<std::uint32_t>& masks = {}) {
  Bytes b = {'B', 'M'};
  const std::uint32_t off = 14 + 40 + std::uint32_t(masks.size() * 4 + palette.size());
  Put32(b, off + std::uint32_t(bits.size()));
  Put32(b, 0);
  Put32(b, off);
  Put32(b, 40);
  Put32(b, std::uint32_t(w));
  Put32(b, std::uint32_t(h));
  Put16(b, 1);
  Put16(b, bpp);
  Put32(b, compression);
  Put32(b, std::uint32_t(bits.size()));
  Put32(b, 0);
  Put32(b, 0);
  Put32(b, std::uint32_t(palette.size() / 4));
  Put32(b, 0);
  for (std::uint32_t m : masks) Put32(b, m);
  b.insert(b.end(), palette.begin(), palette.end());
  b.insert(b.end(), bits.begin(), bits.end());
  return b;
}

TEST(Bmp, HandMadeFilesOfEachKind) {
  const Bytes twoColours = {0, 0, 255, 0, 255, 0, 0, 0};  // red, blue (B, G, R, 0)
  struct Case {
    const char* name;
    Bytes file;
    int width, height;
    std::vector<std::uint32_t> expected;  // rows from the top
  };
  const std::vector<Case> cases = {
      // Bottom-up rows: the last row in the file is the top one.
      {"1 bit", HandBmp(3, 2, 1, 0, twoColours, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}), 3, 2,
       {Argb(255, 255, 0, 0), Argb(255, 0, 0, 255), Argb(255, 255, 0, 0), Argb(255, 0, 0, 255),
        Argb(255, 255, 0, 0), Argb(255, 0, 0, 255)}},
      {"4 bit", HandBmp(2, 1, 4, 0, twoColours, {0x10, 0, 0, 0}), 2, 1, {Argb(255, 0, 0, 255), Argb(255, 255, 0, 0)}},
      {"8 bit", HandBmp(2, 1, 8, 0, twoColours, {1, 0, 0, 0}), 2, 1, {Argb(255, 0, 0, 255), Argb(255, 255, 0, 0)}},
      // 5-5-5: pure red 0x7C00, pure blue 0x001F.
      {"16 bit", HandBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}), 2, 1, {Argb(255, 255, 0, 0), Argb(255, 0, 0, 255)}},
      // 5-6-5 bit fields: green 0x07E0.
      {"16 bit fields", HandBmp(1, 1, 16, 3, {}, {0xE0, 0x07, 0, 0}, {0xF800, 0x07E0, 0x001F}), 1, 1,
       {Argb(255, 0, 255, 0)}},
      {"24 bit", HandBmp(1, 2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), 1, 2, {Argb(255, 6, 5, 4), Argb(255, 3, 2, 1)}},
      // A 32-bit file whose fourth bytes are all 0 is opaque.
      {"32 bit no alpha", HandBmp(1, 1, 32, 0, {}, {9, 8, 7, 0}), 1, 1, {Argb(255, 7, 8, 9)}},
      {"32 bit alpha", HandBmp(2, 1, 32, 0, {}, {9, 8, 7, 128, 1, 1, 1, 0}), 2, 1, {Argb(128, 7, 8, 9), Argb(0, 1, 1, 1)}},
      // RLE8, bottom row first: literal 1,0,1 (padded), end of line; a move 2 right,
      // a run of one 0, end of picture. Skipped pixels stay transparent.
      {"rle8", HandBmp(3, 2, 8, 1, twoColours, {0, 3, 1, 0, 1, 0, 0, 0, 0, 2, 2, 0, 1, 0, 0, 1}), 3, 2,
       {0, 0, Argb(255, 255, 0, 0), Argb(255, 0, 0, 255), Argb(255, 255, 0, 0), Argb(255, 0, 0, 255)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DecodedBitmap bmp = DecodeBmp(c.file.data(), c.file.size());
    ASSERT_EQ(bmp.pixels.width, c.width);
    ASSERT_EQ(bmp.pixels.height, c.height);
    for (int i = 0; i < c.width * c.height; ++i)
      EXPECT_EQ(bmp.pixels.at(i % c.width, i / c.width), c.expected[i]) << "pixel " << i;
  }
}

TEST(Bmp, WriteAndReadBack) {
  PixelBuffer px = Gradient(5, 3);  // odd width: rows padded
  px.set(1, 1, Argb(77, 1, 2, 3));
  const Bytes b32 = EncodeBmp(px, 32);
  const DecodedBitmap back32 = DecodeBmp(b32.data(), b32.size());
  EXPECT_EQ(back32.bitCount, 32);
  EXPECT_TRUE(back32.alphaValid);
  EXPECT_EQ(back32.pixels.bytes, px.bytes);

  const Bytes b24 = EncodeBmp(px, 24);
  const DecodedBitmap back24 = DecodeBmp(b24.data(), b24.size());
  EXPECT_EQ(back24.bitCount, 24);
  PixelBuffer opaque = px;
  MakeOpaque(opaque);
  EXPECT_EQ(back24.pixels.bytes, opaque.bytes);
}

TEST(Bmp, DamagedFilesAreRefused) {
  const Bytes good = HandBmp(4, 4, 24, 0, {}, Bytes(48, 1));
  const Bytes shortPixels(good.begin(), good.end() - 10);
  Bytes badDepth = good;
  badDepth[28] = 7;
  Bytes huge = good;
  huge[18] = 0xFF;
  huge[19] = 0xFF;
  huge[20] = 0xFF;
  huge[21] = 0x7F;
  Bytes badCompression = good;
  badCompression[30] = 9;
  for (const Bytes* bad : {&shortPixels, static_cast<const Bytes*>(&badDepth), static_cast<const Bytes*>(&huge), static_cast<const Bytes*>(&badCompression)})
    EXPECT_THROW(DecodeBmp(bad->data(), bad->size()), EInvalidGraphic);
}

TEST(Icon, WrittenIconReadsBackWithAlpha) {
  PixelBuffer px(3, 2, 0xFF102030);
  px.set(0, 0, 0);              // fully transparent
  px.set(2, 1, Argb(100, 9, 9, 9));
  const Bytes file = EncodeIcon(px);
  const std::vector<IconEntry> dir = ReadIconDirectory(file.data(), file.size());
  ASSERT_EQ(dir.size(), 1u);
  EXPECT_EQ(dir[0].width, 3);
  EXPECT_EQ(dir[0].bitCount, 32);
  EXPECT_EQ(DecodeIcon(file.data(), file.size()).bytes, px.bytes);
}

TEST(Icon, LowColourImageTakesItsMaskAsAlpha) {
  // A 24-bit 2 x 2 icon image: colour rows then a mask with the top-left pixel set.
  Bytes image;
  Put32(image, 40);
  Put32(image, 2);
  Put32(image, 4);  // doubled height
  Put16(image, 1);
  Put16(image, 24);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  const Bytes colourRows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  image.insert(image.end(), colourRows.begin(), colourRows.end());
  const Bytes maskRows = {0x00, 0, 0, 0, 0x80, 0, 0, 0};  // bottom row first
  image.insert(image.end(), maskRows.begin(), maskRows.end());
  const PixelBuffer px = DecodeIconImage(image.data(), image.size());
  EXPECT_EQ(px.at(0, 0), Argb(0, 9, 8, 7));
  EXPECT_EQ(px.at(1, 0), Argb(255, 12, 11, 10));
  EXPECT_EQ(px.at(0, 1), Argb(255, 3, 2, 1));
}

TEST(Icon, ChoosesTheEntryClosestToTheWantedSize) {
  const std::vector<IconEntry> entries = {{16, 16, 8, 0, 1}, {32, 32, 4, 0, 1}, {32, 32, 32, 0, 1}, {48, 48, 32, 0, 1}};
  struct Case {
    int wanted;
    std::size_t expected;
  };
  for (const Case c : {Case{0, 3}, Case{16, 0}, Case{30, 2}, Case{64, 3}}) EXPECT_EQ(ChooseIconEntry(entries, c.wanted), c.expected) << c.wanted;
}

TEST(Icon, EntryOutsideTheFileIsRefused) {
  Bytes file = EncodeIcon(PixelBuffer(2, 2, 0xFFFFFFFF));
  file[14] = 0xFF;  // image size far beyond the file
  EXPECT_THROW(ReadIconDirectory(file.data(), file.size()), EInvalidGraphic);
}

TEST(Blend, OverOpaqueBackgroundRoundsEachChannel) {
  struct Case {
    std::uint32_t src, dst;
    int constant;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {Argb(255, 200, 100, 0), Argb(255, 0, 0, 255), 255, Argb(255, 200, 100, 0)},
      {Argb(0, 200, 100, 0), Argb(255, 0, 0, 255), 255, Argb(255, 0, 0, 255)},
      // 128/255 of 255 over 0: 128.
      {Argb(128, 255, 255, 255), Argb(255, 0, 0, 0), 255, Argb(255, 128, 128, 128)},
      // Half the constant alpha halves an opaque pixel's weight.
      {Argb(255, 255, 0, 0), Argb(255, 0, 0, 255), 128, Argb(255, 128, 0, 127)},
  };
  for (const Case& c : cases) {
    PixelBuffer dst(1, 1, c.dst), src(1, 1, c.src);
    BlendOver(dst, src, 0, 0, c.constant);
    EXPECT_EQ(dst.at(0, 0), c.expected) << std::hex << c.src << " over " << c.dst;
  }
}

TEST(Blend, ClipsToTheDestination) {
  PixelBuffer dst(3, 3, 0xFF000000);
  const PixelBuffer src(2, 2, 0xFFFFFFFF);
  BlendOver(dst, src, 2, -1);
  EXPECT_EQ(dst.at(2, 0), 0xFFFFFFFFu);
  EXPECT_EQ(dst.at(2, 1), 0xFF000000u);
  EXPECT_EQ(dst.at(1, 0), 0xFF000000u);
  BlendOver(dst, src, -5, -5);  // wholly outside: nothing happens
  EXPECT_EQ(dst.at(0, 0), 0xFF000000u);
}

TEST(Blend, PremultiplyRounds) {
  PixelBuffer px(1, 1, Argb(128, 255, 100, 1));
  Premultiply(px);
  EXPECT_EQ(px.at(0, 0), Argb(128, 128, 50, 1));
}

}  // namespace

// Pictures that declare millions of pixels in a few bytes: every decoder refuses
// them before it takes memory for the pixels, whatever the coding.
namespace {
// A grey JPEG in arithmetic coding (which pads a short file out with zeros
// without a warning), then declared as width x height in its frame header.
Bytes ArithmeticJpegDeclaring(int width, int height) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = 16;
  cinfo.image_height = 16;
  cinfo.input_components = 1;
  cinfo.in_color_space = JCS_GRAYSCALE;
  jpeg_set_defaults(&cinfo);
  cinfo.arith_code = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(16, 128);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  for (std::size_t i = 0; i + 9 < out.size(); ++i) {
    if (out[i] == 0xFF && out[i + 1] == 0xC9) {  // SOF9: sequential, arithmetic
      out[i + 5] = std::uint8_t(height >> 8);
      out[i + 6] = std::uint8_t(height);
      out[i + 7] = std::uint8_t(width >> 8);
      out[i + 8] = std::uint8_t(width);
      return out;
    }
  }
  ADD_FAILURE() << "no arithmetic frame header";
  return out;
}

void SetPngSize(Bytes& file, std::uint32_t width, std::uint32_t height) {
  for (int i = 0; i < 4; ++i) {
    file[16 + i] = std::uint8_t(width >> (24 - 8 * i));
    file[20 + i] = std::uint8_t(height >> (24 - 8 * i));
  }
  const std::uint32_t crc = std::uint32_t(crc32(0, file.data() + 12, 17));
  for (int i = 0; i < 4; ++i) file[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
}
}  // namespace

TEST(HugeDeclaredPictures, AreRefusedWhateverTheCoding) {
  const Bytes jpeg = ArithmeticJpegDeclaring(8192, 8192);
  ASSERT_LT(jpeg.size(), 1000u);
  EXPECT_THROW(DecodeJpeg(jpeg.data(), jpeg.size()), EInvalidGraphic) << "arithmetic JPEG";

  Bytes png = WritePngWithLibpng(8, 8, PNG_COLOR_TYPE_GRAY, 8, std::vector<Bytes>(8, Bytes(8, 7)), {}, {}, nullptr, true);
  SetPngSize(png, 8192, 8192);
  EXPECT_THROW(DecodePng(png.data(), png.size()), EInvalidGraphic) << "interlaced PNG";

  const Bytes gif = WriteGif(8192, 8192, 0, 0, 1, 1, {1}, -1, false);
  EXPECT_THROW(DecodeGif(gif.data(), gif.size()), EInvalidGraphic) << "GIF screen";
  const Bytes laced = WriteGif(4, 4, 0, 0, 4, 4, std::vector<GifPixelType>(16, 1), -1, true);
  Bytes lacedHuge = laced;
  // The image descriptor (0x2C) follows the header, the screen and its 4-colour map.
  const std::size_t desc = 6 + 7 + 12;
  ASSERT_EQ(lacedHuge[desc], 0x2C);
  for (std::size_t at : {std::size_t(4), std::size_t(6), desc + 5, desc + 7}) {
    lacedHuge[at] = 0x00;
    lacedHuge[at + 1] = 0x10;  // 4096
  }
  EXPECT_THROW(DecodeGif(lacedHuge.data(), lacedHuge.size()), EInvalidGraphic) << "interlaced GIF frame";

  // Found by fuzzing: 102 bytes of RLE8 bitmap declaring 3780 x 3780 pixels.
  Bytes bmp = {0x42, 0x4d, 0x66, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x04, 0x3c, 0x00,
               0x00, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x01, 0x00};
  bmp.resize(102, 0x00);
  bmp[46] = 1;  // one palette colour; the rest is run-length data
  EXPECT_THROW(DecodeBmp(bmp.data(), bmp.size()), EInvalidGraphic) << "RLE bitmap";
}

TEST(HugeDeclaredPictures, LargePicturesWithTheirDataStillDecode) {
  // 2100 x 2100 is past the size taken without question; its pixels are all there.
  const PixelBuffer big(2100, 2100, 0xFF336699u);
  const std::vector<std::uint8_t> bmp = EncodeBmp(big, 24);
  EXPECT_EQ(DecodeBmp(bmp.data(), bmp.size()).pixels.width, 2100);
  const std::vector<std::uint8_t> jpeg = EncodeJpeg(big, 50);
  EXPECT_EQ(DecodeJpeg(jpeg.data(), jpeg.size()).height, 2100);
}
