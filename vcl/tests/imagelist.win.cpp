// Image lists with 32-bit alpha: adding bitmaps, masks, icons and PNG images,
// drawing an index with its alpha (and disabled), the list operations, change
// links, the native handle and the form-resource strip.
#include <gtest/gtest.h>

#include <cstdlib>

#include "vcl/Graphics.h"
#include "vcl/ImgList.h"

namespace {

std::uint32_t Argb(int a, int r, int g, int b) {
  return (std::uint32_t(a) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

std::unique_ptr<TBitmap> Surface(int w, int h, TColor fill) {
  auto bmp = std::make_unique<TBitmap>(w, h, pf24bit);
  bmp->GetCanvas()->GetBrush()->SetColor(fill);
  bmp->GetCanvas()->FillRect(Rect(0, 0, w, h));
  return bmp;
}

void ExpectNear(TColor actual, TColor expected, const char* what) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    EXPECT_LE(std::abs(a - e), 1) << what << ": " << std::hex << actual << " vs " << expected;
  }
}

// One 4 x 4 image of a colour at an alpha.
PixelBuffer Solid(std::uint32_t argb) { return PixelBuffer(4, 4, argb); }

struct Lists : ::testing::Test {
  TImageList list{nullptr};
  void SetUp() override {
    list.SetWidth(4);
    list.SetHeight(4);
  }
  TColor DrawnAt(int index, TColor background, bool enabled = true) {
    auto bmp = Surface(4, 4, background);
    list.Draw(bmp->GetCanvas(), 0, 0, index, enabled);
    return bmp->GetPixel(1, 1);
  }
};

TEST_F(Lists, DrawsAnIndexWithItsAlpha) {
  EXPECT_EQ(list.AddPixels(Solid(Argb(255, 255, 0, 0))), 0);
  EXPECT_EQ(list.AddPixels(Solid(Argb(128, 255, 0, 0))), 1);
  EXPECT_EQ(list.AddPixels(Solid(0)), 2);
  EXPECT_EQ(list.GetCount(), 3);
  ExpectNear(DrawnAt(0, clBlue), clRed, "opaque");
  ExpectNear(DrawnAt(1, clBlue), RGBToColor(128, 0, 127), "half");
  ExpectNear(DrawnAt(2, clBlue), clBlue, "clear");
  ExpectNear(DrawnAt(7, clBlue), clBlue, "a bad index draws nothing");
  // Disabled: grey at half opacity. Red's grey is 76; half of it over white.
  ExpectNear(DrawnAt(0, clWhite, false), RGBToColor(166, 166, 166), "disabled");
}

TEST_F(Lists, AddsBitmapsMasksIconsAndPictures) {
  // A strip of two images: red and green, 8 x 4.
  auto strip = Surface(8, 4, clRed);
  strip->GetCanvas()->GetBrush()->SetColor(clLime);
  strip->GetCanvas()->FillRect(Rect(4, 0, 8, 4));
  EXPECT_EQ(list.Add(strip.get(), nullptr), 0);
  EXPECT_EQ(list.GetCount(), 2);
  ExpectNear(DrawnAt(1, clBlack), clLime, "second image of the strip");

  // A mask's white pixels are transparent.
  auto mask = Surface(4, 4, clBlack);
  mask->SetPixel(1, 1, clWhite);
  EXPECT_EQ(list.Add(strip.get(), mask.get()), 2);
  ExpectNear(DrawnAt(2, clBlue), clBlue, "masked pixel");

  // AddMasked: the mask colour is transparent (clDefault: the bottom-left pixel).
  auto keyed = Surface(4, 4, clFuchsia);
  keyed->SetPixel(1, 1, clNavy);
  const int k = list.AddMasked(keyed.get(), clDefault);
  auto bmp = Surface(4, 4, clYellow);
  list.Draw(bmp->GetCanvas(), 0, 0, k);
  EXPECT_EQ(bmp->GetPixel(0, 0), clYellow);
  EXPECT_EQ(bmp->GetPixel(1, 1), clNavy);

  // An icon of another size is scaled into the slot.
  TIcon icon;
  icon.SetPixels(PixelBuffer(8, 8, Argb(255, 0, 0, 255)));
  const int i = list.AddIcon(&icon);
  ExpectNear(DrawnAt(i, clBlack), clBlue, "icon");

  // A PNG image keeps its alpha.
  TPngImage png;
  png.SetData(PngImageData::FromPixels(Solid(Argb(128, 255, 255, 255))));
  const int p = list.AddPicture(&png);
  ExpectNear(DrawnAt(p, clBlack), RGBToColor(128, 128, 128), "png");
  EXPECT_EQ(list.Add(nullptr, nullptr), -1);
}

TEST_F(Lists, OperationsKeepOrder) {
  const std::uint32_t colours[] = {Argb(255, 255, 0, 0), Argb(255, 0, 255, 0), Argb(255, 0, 0, 255)};
  for (std::uint32_t c : colours) list.AddPixels(Solid(c));
  list.Move(0, 2);  // green, blue, red
  ExpectNear(DrawnAt(0, clBlack), clLime, "after move 0");
  ExpectNear(DrawnAt(2, clBlack), clRed, "after move 2");
  list.Delete(1);  // green, red
  list.Delete(5);  // nothing
  EXPECT_EQ(list.GetCount(), 2);
  ExpectNear(DrawnAt(1, clBlack), clRed, "after delete");
  auto white = Surface(4, 4, clWhite);
  list.Insert(0, white.get(), nullptr);  // white, green, red
  ExpectNear(DrawnAt(0, clBlack), clWhite, "inserted");
  list.Replace(2, white.get(), nullptr);
  ExpectNear(DrawnAt(2, clBlack), clWhite, "replaced");
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(Lists, ANewSizeClearsTheList) {
  list.AddPixels(Solid(Argb(255, 1, 2, 3)));
  list.SetWidth(4);  // unchanged: kept
  EXPECT_EQ(list.GetCount(), 1);
  list.SetWidth(8);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetWidth(), 8);
}

TEST_F(Lists, ChangeLinksHearEachChangeOnceAfterUpdates) {
  int heard = 0;
  {
    TChangeLink link;
    link.OnChange = [&](TObject* sender) {
      EXPECT_EQ(sender, &list);
      ++heard;
    };
    list.RegisterChanges(&link);
    list.AddPixels(Solid(0));
    EXPECT_EQ(heard, 1);
    list.BeginUpdate();
    list.AddPixels(Solid(0));
    list.AddPixels(Solid(0));
    EXPECT_EQ(heard, 1);
    list.EndUpdate();
    EXPECT_EQ(heard, 2);
  }  // the link unregisters itself as it goes
  list.AddPixels(Solid(0));
  EXPECT_EQ(heard, 2);
}

TEST_F(Lists, NativeHandleHoldsTheImages) {
  list.AddPixels(Solid(Argb(255, 255, 0, 0)));
  list.AddPixels(Solid(Argb(255, 0, 255, 0)));
  HIMAGELIST h = list.GetHandle();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(h), 2);
  list.AddPixels(Solid(Argb(255, 0, 0, 255)));
  EXPECT_EQ(list.GetHandle(), h);  // the same handle, brought up to date
  EXPECT_EQ(ImageList_GetImageCount(h), 3);
  auto bmp = Surface(4, 4, clBlack);
  ImageList_Draw(h, 1, bmp->GetCanvas()->GetHandle(), 0, 0, ILD_NORMAL);
  EXPECT_EQ(bmp->GetPixel(1, 1), clLime);

  // An adopted native list is drawn and counted through itself.
  TImageList shared(nullptr);
  shared.SetShareImages(true);
  shared.SetHandle(h);
  EXPECT_EQ(shared.GetCount(), 3);
  EXPECT_EQ(shared.GetWidth(), 4);
  auto bmp2 = Surface(4, 4, clBlack);
  shared.Draw(bmp2->GetCanvas(), 0, 0, 2);
  EXPECT_EQ(bmp2->GetPixel(1, 1), clBlue);
}

// The form-resource strip, reached through a list that opens its protected side.
struct StripList : TImageList {
  StripList() : TImageList(nullptr) {
    SetWidth(4);
    SetHeight(4);
  }
  using TCustomImageList::ReadData;
  using TCustomImageList::WriteData;
};

TEST(ImageListData, StripRoundTrips) {
  StripList list;
  list.AddPixels(Solid(Argb(255, 255, 0, 0)));
  list.AddPixels(Solid(Argb(100, 0, 0, 255)));
  std::vector<std::uint8_t> data;
  list.WriteData(data);
  ASSERT_FALSE(data.empty());
  StripList back;
  back.ReadData(data);
  ASSERT_EQ(back.GetCount(), 2);
  EXPECT_EQ(back.GetPixels(0).bytes, list.GetPixels(0).bytes);
  EXPECT_EQ(back.GetPixels(1).bytes, list.GetPixels(1).bytes);
}

TEST_F(Lists, AssignCopiesImagesAndSize) {
  list.AddPixels(Solid(Argb(255, 9, 8, 7)));
  TImageList copy(nullptr);
  copy.Assign(&list);
  EXPECT_EQ(copy.GetWidth(), 4);
  EXPECT_EQ(copy.GetCount(), 1);
  EXPECT_EQ(copy.GetPixels(0).bytes, list.GetPixels(0).bytes);
  TIcon icon;
  copy.GetIcon(0, &icon);
  EXPECT_EQ(icon.GetWidth(), 4);
  TBitmap bmp;
  EXPECT_TRUE(copy.GetBitmap(0, &bmp));
  EXPECT_FALSE(copy.GetBitmap(3, &bmp));
}

}  // namespace
