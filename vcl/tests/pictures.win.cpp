// Pictures of every kind loaded from files written here, drawn into bitmaps:
// PNG alpha blended over a colour, transparent bitmaps and icons, JPEG saved
// and read back, bitmaps' formats, scan lines and files, and picture errors.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <thread>
#include <gif_lib.h>

#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/BmpCodec.h"
#include "vcl/Graphics.h"
#include "vcl/IconCodec.h"
#include "vcl/JpegCodec.h"
#include "vcl/Streams.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using qorn::testing::TempDir;

std::uint32_t Argb(int a, int r, int g, int b) {
  return (std::uint32_t(a) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

void WriteBytes(const std::filesystem::path& file, const Bytes& bytes) {
  qorn::testing::WriteFileBytes(file, std::string(bytes.begin(), bytes.end()));
}

std::unique_ptr<TBitmap> Surface(int w, int h, TColor fill) {
  auto bmp = std::make_unique<TBitmap>(w, h, pf24bit);
  bmp->GetCanvas()->GetBrush()->SetColor(fill);
  bmp->GetCanvas()->FillRect(Rect(0, 0, w, h));
  return bmp;
}

// Channels of a drawn pixel may differ by one from the exact blend (the
// rounding of premultiplication).
void ExpectNear(TColor actual, TColor expected, const char* what, int tolerance = 1) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    EXPECT_LE(std::abs(a - e), tolerance) << what << ": " << std::hex << actual << " vs " << expected;
  }
}

// A 4 x 2 PNG: opaque red, half red, clear, opaque green / all white at alphas 255, 64, 192, 0.
Bytes TestPng() {
  PixelBuffer px(4, 2);
  px.set(0, 0, Argb(255, 255, 0, 0));
  px.set(1, 0, Argb(128, 255, 0, 0));
  px.set(2, 0, Argb(0, 255, 0, 0));
  px.set(3, 0, Argb(255, 0, 255, 0));
  px.set(0, 1, Argb(255, 255, 255, 255));
  px.set(1, 1, Argb(64, 255, 255, 255));
  px.set(2, 1, Argb(192, 255, 255, 255));
  px.set(3, 1, Argb(0, 255, 255, 255));
  return EncodePng(PngImageData::FromPixels(px));
}

TEST(Png, AlphaBlendsOverAColour) {
  TempDir dir("png");
  WriteBytes(dir / "a.png", TestPng());
  TPicture picture;
  picture.LoadFromFile((dir / "a.png").wstring());
  ASSERT_NE(dynamic_cast<TPngImage*>(picture.GetGraphic()), nullptr);
  EXPECT_EQ(picture.GetWidth(), 4);
  EXPECT_EQ(picture.GetHeight(), 2);

  auto bmp = Surface(6, 4, clBlue);
  bmp->GetCanvas()->Draw(1, 1, picture.GetGraphic());
  struct Case {
    int x, y;
    TColor expected;
    const char* what;
  };
  const Case cases[] = {
      {1, 1, clRed, "opaque"},
      {2, 1, RGBToColor(128, 0, 127), "half red over blue"},
      {3, 1, clBlue, "clear"},
      {4, 1, clLime, "opaque green"},
      {2, 2, RGBToColor(64, 64, 255), "quarter white over blue"},
      {3, 2, RGBToColor(192, 192, 255), "three quarters white"},
      {4, 2, clBlue, "clear white"},
      {0, 0, clBlue, "outside"},
  };
  for (const Case& c : cases) ExpectNear(bmp->GetPixel(c.x, c.y), c.expected, c.what);

  // A constant opacity scales the picture's own alpha.
  auto faded = Surface(6, 4, clBlue);
  faded->GetCanvas()->Draw(0, 0, picture.GetGraphic(), 128);
  ExpectNear(faded->GetPixel(0, 0), RGBToColor(128, 0, 127), "opaque red at half opacity");
  ExpectNear(faded->GetPixel(2, 0), clBlue, "clear stays clear");
}

TEST(Png, StretchDrawScales) {
  TPngImage png;
  png.LoadFromBytes(TestPng());
  auto bmp = Surface(8, 4, clBlack);
  bmp->GetCanvas()->StretchDraw(Rect(0, 0, 8, 4), &png);
  EXPECT_EQ(bmp->GetPixel(0, 0), clRed);
  EXPECT_EQ(bmp->GetPixel(1, 1), clRed);
  EXPECT_EQ(bmp->GetPixel(7, 1), clLime);
}

TEST(Png, KeepsItsColourTypeAndAlphaPlane) {
  PngImageData data = PngImageData::Blank(PngColorType::Palette, 2, 1);
  data.palette = {{10, 20, 30}, {200, 0, 0}};
  data.pixels = {0, 1};
  TPngImage png;
  png.SetData(data);
  EXPECT_EQ(png.ColorType(), PngColorType::Palette);
  EXPECT_EQ(png.GetPixel(1, 0), RGBToColor(200, 0, 0));
  EXPECT_EQ(png.AlphaScanline(0), nullptr);
  png.CreateAlpha();
  EXPECT_EQ(png.ColorType(), PngColorType::RGBAlpha);
  ASSERT_NE(png.AlphaScanline(0), nullptr);
  EXPECT_EQ(png.AlphaScanline(0)[0], 255);
  EXPECT_EQ(png.GetPixel(0, 0), RGBToColor(10, 20, 30));
  png.AlphaScanline(0)[1] = 0;
  png.Changed();
  EXPECT_EQ(png.ToPixels().at(1, 0) >> 24, 0u);

  TPngImage copy;
  copy.Assign(&png);
  EXPECT_EQ(copy.SaveToBytes(), png.SaveToBytes());

  // An RGB picture with a transparent colour gets alpha 0 at that colour.
  TPngImage keyed;
  keyed.CreateBlank(PngColorType::RGB, 2, 1);
  keyed.SetPixel(1, 0, clYellow);
  keyed.SetTransparentColor(clYellow);
  keyed.CreateAlpha();
  EXPECT_EQ(keyed.AlphaScanline(0)[0], 255);
  EXPECT_EQ(keyed.AlphaScanline(0)[1], 0);
}

Bytes TestGif() {
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
  GifColorType colors[2] = {{255, 0, 0}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(2, colors);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, 2, 1, 1, 0, map);
  GraphicsControlBlock gcb{};
  gcb.TransparentColor = 1;
  GifByteType ext[4];
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(EGifGCBToExtension(&gcb, ext)), ext);
  EGifPutImageDesc(gif, 0, 0, 2, 1, false, nullptr);
  GifPixelType line[2] = {0, 1};
  EGifPutLine(gif, line, 2);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

TEST(Picture, LoadsEachKindByExtension) {
  TempDir dir("pictures");
  PixelBuffer opaque(3, 2, 0xFF0000FF);  // blue
  opaque.set(0, 0, 0xFFFF0000);          // red
  PixelBuffer iconPixels(4, 4, 0xFF00FF00);
  iconPixels.set(0, 0, 0);  // transparent corner
  WriteBytes(dir / "p.bmp", EncodeBmp(opaque, 24));
  WriteBytes(dir / "p.png", TestPng());
  // JPEG shares colour between neighbours: a picture of one colour.
  WriteBytes(dir / "p.JPG", EncodeJpeg(PixelBuffer(16, 8, 0xFFFF0000), 100));
  WriteBytes(dir / "p.gif", TestGif());
  WriteBytes(dir / "p.ico", EncodeIcon(iconPixels));
  struct Case {
    const char* file;
    const TClassInfo& kind;
    int width, height;
    TColor topLeftOverWhite;
    int tolerance;
  };
  const Case cases[] = {
      {"p.bmp", TBitmap::StaticClass(), 3, 2, clRed, 0},
      {"p.png", TPngImage::StaticClass(), 4, 2, clRed, 0},
      {"p.JPG", TJPEGImage::StaticClass(), 16, 8, clRed, 3},
      {"p.gif", TGIFImage::StaticClass(), 2, 1, clRed, 0},
      {"p.ico", TIcon::StaticClass(), 4, 4, clWhite, 0},  // the transparent corner
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    picture.LoadFromFile((dir / c.file).wstring());
    ASSERT_NE(picture.GetGraphic(), nullptr);
    EXPECT_TRUE(picture.GetGraphic()->InheritsFrom(c.kind));
    EXPECT_EQ(picture.GetWidth(), c.width);
    EXPECT_EQ(picture.GetHeight(), c.height);
    EXPECT_GE(changes, 1);
    auto bmp = Surface(8, 8, clWhite);
    bmp->GetCanvas()->Draw(0, 0, picture.GetGraphic());
    ExpectNear(bmp->GetPixel(0, 0), c.topLeftOverWhite, c.file, c.tolerance);
  }
  // The GIF's transparent index leaves the background.
  TPicture gif;
  gif.LoadFromFile((dir / "p.gif").wstring());
  auto bmp = Surface(4, 4, clWhite);
  bmp->GetCanvas()->Draw(0, 0, gif.GetGraphic());
  EXPECT_EQ(bmp->GetPixel(1, 0), clWhite);
}

TEST(Picture, ErrorsLeaveThePictureAsItWas) {
  TempDir dir("bad");
  WriteBytes(dir / "good.png", TestPng());
  WriteBytes(dir / "bad.png", Bytes{1, 2, 3, 4});
  WriteBytes(dir / "x.tga", Bytes{1, 2, 3});
  TPicture picture;
  picture.LoadFromFile((dir / "good.png").wstring());
  TGraphic* before = picture.GetGraphic();
  EXPECT_THROW(picture.LoadFromFile((dir / "bad.png").wstring()), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile((dir / "missing.png").wstring()), EInvalidGraphic);
  try {
    picture.LoadFromFile((dir / "x.tga").wstring());
    ADD_FAILURE() << "an unknown extension was accepted";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), L"Unknown picture file extension (.tga)");
  }
  EXPECT_EQ(picture.GetGraphic(), before);
  EXPECT_EQ(picture.GetWidth(), 4);
}

// Picture files may be named by outside text: what is not a disk file of a picture's
// size is refused at once, without reading it or waiting on it.
TEST(Picture, FilesThatAreNoPictureFilesAreRefusedWithoutReading) {
  TempDir dir("huge");
  const auto huge = dir / "huge.bmp";
  {
    std::ofstream(huge, std::ios::binary) << "BM";
  }
  // Sparse: the size is there at once, the disk is not filled.
  std::filesystem::resize_file(huge, std::uintmax_t(kMaxPictureFileBytes) + 1);
  EXPECT_THROW(ReadPictureFile(huge.wstring()), EInvalidGraphic);
  EXPECT_THROW(ReadPictureFile(dir.path().wstring()), EInvalidGraphic);

  // A pipe that is open but never written to would keep a reader waiting for ever.
  const std::wstring pipeName = L"\\\\.\\pipe\\qorn-picture-test-" + std::to_wstring(GetCurrentProcessId());
  HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0,
                                 nullptr);
  ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
  // Should the reader wait after all, the pipe is closed after a while so that the
  // test fails instead of hanging.
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool brokeTheWait = false;
  std::thread watchdog([&] {
    if (WaitForSingleObject(done, 10000) == WAIT_TIMEOUT) {
      brokeTheWait = true;
      DisconnectNamedPipe(pipe);
    }
  });
  EXPECT_THROW(ReadPictureFile(pipeName), EInvalidGraphic);
  SetEvent(done);
  watchdog.join();
  EXPECT_FALSE(brokeTheWait);
  CloseHandle(done);
  CloseHandle(pipe);

  // A file of a picture's size is still read whole.
  WriteBytes(dir / "small.png", TestPng());
  EXPECT_EQ(ReadPictureFile((dir / "small.png").wstring()), TestPng());
}

TEST(Picture, DataRoundTripsThroughBytesOfAnyKind) {
  TPicture a;
  a.LoadFromData(TestPng());
  ASSERT_NE(dynamic_cast<TPngImage*>(a.GetGraphic()), nullptr);
  TPicture b;
  b.Assign(&a);
  ASSERT_NE(b.GetGraphic(), a.GetGraphic());  // a copy, not the same object
  EXPECT_EQ(b.GetGraphic()->SaveToBytes(), a.GetGraphic()->SaveToBytes());
  EXPECT_THROW(b.LoadFromData(Bytes{'x', 'y', 'z'}), EInvalidGraphic);
  b.LoadFromData({});
  EXPECT_EQ(b.GetGraphic(), nullptr);
}

TEST(Jpeg, ScreenshotSavedAndReloaded) {
  TempDir dir("jpeg");
  auto shot = Surface(64, 32, clWhite);
  shot->GetCanvas()->GetBrush()->SetColor(clNavy);
  shot->GetCanvas()->FillRect(Rect(0, 0, 32, 32));
  TJPEGImage jpeg;
  jpeg.Assign(shot.get());
  jpeg.SetCompressionQuality(100);
  jpeg.Compress();
  const std::wstring file = (dir / "shot.jpg").wstring();
  jpeg.SaveToFile(file);

  TPicture back;
  back.LoadFromFile(file);
  ASSERT_EQ(back.GetWidth(), 64);
  auto drawn = Surface(64, 32, clBlack);
  drawn->GetCanvas()->Draw(0, 0, back.GetGraphic());
  for (const TPoint p : {Point(5, 5), Point(20, 28)}) ExpectNear(drawn->GetPixel(p.X, p.Y), clNavy, "navy half", 4);
  for (const TPoint p : {Point(45, 5), Point(60, 28)}) ExpectNear(drawn->GetPixel(p.X, p.Y), clWhite, "white half", 4);
  // A lower quality gives a smaller file.
  jpeg.SetCompressionQuality(20);
  jpeg.Compress();
  EXPECT_LT(jpeg.SaveToBytes().size(), ReadPictureFile(file).size());
}

TEST(Bitmap, ScanLinesRunFromTheTopInEveryFormat) {
  for (TPixelFormat f : {pf24bit, pf32bit}) {
    TBitmap bmp(3, 3, f);
    auto* row = static_cast<std::uint8_t*>(bmp.ScanLine(0));
    row[0] = 0x11;  // blue of the top-left pixel
    row[1] = 0x22;
    row[2] = 0x33;
    EXPECT_EQ(bmp.GetCanvas()->GetPixel(0, 0), RGBToColor(0x33, 0x22, 0x11)) << int(f);
    EXPECT_EQ(bmp.BytesPerScanLine(), f == pf24bit ? 12 : 12);
  }
  TBitmap bmp(2, 2, pf32bit);
  EXPECT_THROW(bmp.ScanLine(2), EInvalidGraphic);
}

TEST(Bitmap, FormatChangesAndResizingKeepPixels) {
  auto bmp = Surface(4, 4, clRed);
  bmp->SetPixel(3, 3, clLime);
  bmp->SetPixelFormat(pf32bit);
  EXPECT_EQ(bmp->GetPixel(3, 3), clLime);
  bmp->SetPixelFormat(pf16bit);
  EXPECT_EQ(bmp->GetPixel(0, 0), clRed);
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(6, 2);
  EXPECT_EQ(bmp->GetWidth(), 6);
  EXPECT_EQ(bmp->GetPixel(1, 1), clRed);
  EXPECT_EQ(bmp->GetPixel(5, 1), clBlack);  // new pixels
  bmp->SetMonochrome(true);
  EXPECT_EQ(bmp->GetPixelFormat(), pf1bit);
  // The canvas still draws after the reallocation.
  bmp->GetCanvas()->GetBrush()->SetColor(clWhite);
  bmp->GetCanvas()->FillRect(Rect(0, 0, 6, 2));
  EXPECT_EQ(bmp->GetPixel(2, 1), clWhite);
}

TEST(Bitmap, SavedAndLoadedAsFiles) {
  TempDir dir("bmp");
  auto bmp = Surface(5, 3, clTeal);
  bmp->SetPixel(4, 2, clMaroon);
  const std::wstring file = (dir / "b.bmp").wstring();
  bmp->SaveToFile(file);
  TBitmap back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.GetPixelFormat(), pf24bit);
  EXPECT_EQ(back.GetPixel(0, 0), clTeal);
  EXPECT_EQ(back.GetPixel(4, 2), clMaroon);

  // Through a stream too.
  TMemoryStream stream;
  bmp->SaveToStream(stream);
  stream.SetPosition(0);
  TBitmap again;
  again.LoadFromStream(stream);
  EXPECT_EQ(again.GetPixel(4, 2), clMaroon);
}

TEST(Bitmap, TransparentColourIsTheBottomLeftPixelUnlessFixed) {
  auto sprite = Surface(4, 4, clFuchsia);
  sprite->SetPixel(1, 1, clNavy);
  sprite->SetTransparent(true);
  EXPECT_EQ(sprite->GetTransparentMode(), tmAuto);
  EXPECT_EQ(sprite->GetTransparentColor(), clFuchsia);
  auto bmp = Surface(6, 6, clYellow);
  bmp->GetCanvas()->Draw(1, 1, sprite.get());
  EXPECT_EQ(bmp->GetPixel(1, 1), clYellow);
  EXPECT_EQ(bmp->GetPixel(2, 2), clNavy);

  sprite->SetTransparentColor(clNavy);
  EXPECT_EQ(sprite->GetTransparentMode(), tmFixed);
  auto bmp2 = Surface(6, 6, clYellow);
  bmp2->GetCanvas()->Draw(1, 1, sprite.get());
  EXPECT_EQ(bmp2->GetPixel(1, 1), clFuchsia);
  EXPECT_EQ(bmp2->GetPixel(2, 2), clYellow);
}

TEST(Bitmap, AssignedFromPngKeepsAlphaForDrawing) {
  TPngImage png;
  png.LoadFromBytes(TestPng());
  TBitmap bmp;
  bmp.Assign(&png);
  EXPECT_EQ(bmp.GetPixelFormat(), pf32bit);
  EXPECT_EQ(bmp.GetAlphaFormat(), afDefined);
  auto target = Surface(4, 2, clBlue);
  target->GetCanvas()->Draw(0, 0, &bmp);
  ExpectNear(target->GetPixel(1, 0), RGBToColor(128, 0, 127), "half red");
  ExpectNear(target->GetPixel(2, 0), clBlue, "clear");
}

TEST(Icon, DrawsWithItsMaskAndOwnsItsHandle) {
  PixelBuffer px(8, 8, 0xFFFF0000);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) px.set(x, y, 0);  // clear top-left quarter
  px.set(7, 7, Argb(128, 0, 0, 0));                  // half black
  TIcon icon;
  icon.SetPixels(px);
  ASSERT_FALSE(icon.Empty());
  EXPECT_EQ(icon.GetWidth(), 8);
  auto bmp = Surface(8, 8, clWhite);
  bmp->GetCanvas()->Draw(0, 0, &icon);
  EXPECT_EQ(bmp->GetPixel(1, 1), clWhite);
  EXPECT_EQ(bmp->GetPixel(6, 1), clRed);
  ExpectNear(bmp->GetPixel(7, 7), RGBToColor(127, 127, 127), "half black over white");

  HICON handle = icon.ReleaseHandle();
  EXPECT_TRUE(icon.Empty());
  EXPECT_TRUE(DestroyIcon(handle));  // ours now, and still valid
}

TEST(Painting, LookAtAPaintedBitmap) {
  // A sample of what the canvas and pictures draw, saved for a person to look at.
  auto bmp = Surface(200, 100, clBtnFace);
  TCanvas* c = bmp->GetCanvas();
  c->GetPen()->SetColor(clNavy);
  c->GetBrush()->SetColor(clWhite);
  c->Rectangle(5, 5, 95, 95);
  c->GetBrush()->SetColor(clSkyBlue);
  c->Ellipse(15, 15, 85, 85);
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetName(L"Tahoma");
  c->GetFont()->SetSize(11);
  c->GetFont()->SetStyle(TFontStyles{fsBold});
  c->TextOut(105, 10, L"Qorn");
  c->GetFont()->SetOrientation(900);
  c->GetFont()->SetStyle({});
  c->TextOut(180, 95, L"turned");
  TPngImage png;
  png.LoadFromBytes(TestPng());
  c->StretchDraw(Rect(105, 40, 165, 70), &png);
  std::filesystem::create_directories(qorn::testing::ScreenshotDir());
  TPngImage shot;
  shot.Assign(bmp.get());
  shot.SaveToFile((qorn::testing::ScreenshotDir() / "vcl-painting.png").wstring());
  EXPECT_TRUE(std::filesystem::exists(qorn::testing::ScreenshotDir() / "vcl-painting.png"));
}

}  // namespace
