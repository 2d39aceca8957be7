// The PNG image list and collection read from a form resource: native images kept
// index for index with the items (a transparent one for an empty item), their
// alpha as the PNG's or halved while disabled, the old common controls' icons over
// the item's background, the image operations reached through the base class, a
// form round trip, drawing over a colour, and a popup menu showing the glyphs.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/visual/CommonControlsVersion.h"
#include "controls/visual/PngImageList.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

#include <chrono>
#include <cstdlib>

namespace {

using namespace std::chrono_literals;
using namespace Flat;

class TTestPngForm : public TForm {
  QORN_CLASS(TTestPngForm, TForm)
 public:
  explicit TTestPngForm(TComponent* AOwner) : TForm(AOwner) {}
  TPngImageList* Glyphs = nullptr;
  TPngImageCollection* Pictures = nullptr;

 private:
  static void Publish(TPublisher<TTestPngForm>& p) {
    p.Field(L"Glyphs", &TTestPngForm::Glyphs);
    p.Field(L"Pictures", &TTestPngForm::Pictures);
  }
};
QORN_REGISTER_CLASS(TTestPngForm);

// The native list's image, read back through an icon as menus and the tray get it.
PixelBuffer NativeImage(TCustomImageList* list, int index) {
  HICON icon = ImageList_GetIcon(list->GetHandle(), index, ILD_NORMAL);
  PixelBuffer pixels = PixelsFromIcon(icon);
  if (icon) DestroyIcon(icon);
  return pixels;
}

std::uint8_t AlphaAt(const PixelBuffer& p, int x, int y) { return std::uint8_t(p.at(x, y) >> 24); }

// A memory bitmap filled with one colour, for drawing checks.
class TMemoryCanvas {
 public:
  TMemoryCanvas(int w, int h, TColor fill) : bitmap_(w, h, pf24bit) {
    bitmap_.GetCanvas()->GetBrush()->SetColor(fill);
    bitmap_.GetCanvas()->FillRect(Rect(0, 0, w, h));
  }
  TCanvas* Canvas() { return bitmap_.GetCanvas(); }
  TColor At(int x, int y) const { return bitmap_.GetPixel(x, y); }

 private:
  TBitmap bitmap_;
};

// Channels within 2 of each other (rounding of the blend).
void ExpectColor(TColor seen, TColor expected, const char* what) {
  const int s = int(ColorToRGB(seen)), e = int(ColorToRGB(expected));
  for (int shift : {0, 8, 16})
    EXPECT_NEAR((s >> shift) & 0xFF, (e >> shift) & 0xFF, 2) << what << std::hex << ": 0x" << s << " for 0x" << e;
}

class PngImageList : public ::testing::Test {
 protected:
  void SetUp() override { form = CreateForm<TTestPngForm>(Application); }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestPngForm* form = nullptr;
};

TEST_F(PngImageList, ReadsItsItemsFromTheForm) {
  TPngImageCollectionItems* items = form->Glyphs->GetPngImages();
  ASSERT_EQ(items->Count(), 2);
  EXPECT_EQ(items->Items(0)->GetName(), L"RedBlue");
  EXPECT_EQ(items->Items(0)->GetBackground(), clBtnFace);
  EXPECT_EQ(items->Items(1)->GetBackground(), clWhite);
  EXPECT_EQ(items->Items(0)->GetPngImage()->ColorType(), PngColorType::RGBAlpha);
  EXPECT_EQ(items->Items(1)->GetPngImage()->ColorType(), PngColorType::Palette);
  EXPECT_EQ(form->Glyphs->GetCount(), 2);
  EXPECT_EQ(ImageList_GetImageCount(form->Glyphs->GetHandle()), 2);

  TPngImageCollectionItem* timer = form->Pictures->GetItems()->GetItem(0);
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->GetName(), L"TimerOff");
  EXPECT_EQ(timer->GetBackground(), clWindow);
  EXPECT_EQ(timer->GetPngImage()->GetWidth(), 16);
  EXPECT_EQ(form->Pictures->GetItems()->GetItem(-1), nullptr);
  EXPECT_EQ(form->Pictures->GetItems()->GetItem(1), nullptr);
}

TEST_F(PngImageList, NativeImagesCarryThePngAlpha) {
  TCommonControlsVersionOverride modern(6);
  form->Glyphs->RebuildImageList();
  const PixelBuffer red = NativeImage(form->Glyphs, 0);
  ASSERT_EQ(red.width, 16);
  EXPECT_EQ(AlphaAt(red, 3, 0), 0) << "transparent top row";
  EXPECT_EQ(red.at(3, 5), 0xFFFF0000u) << "opaque red";
  EXPECT_EQ(AlphaAt(red, 12, 5), 128) << "half blue";
  const PixelBuffer green = NativeImage(form->Glyphs, 1);
  EXPECT_EQ(green.at(3, 5), 0xFF008000u) << "the palette's green";
  EXPECT_EQ(AlphaAt(green, 12, 5), 0) << "the palette's transparent entry";
}

TEST_F(PngImageList, DisabledImagesHaveHalfTheAlphaAndGrey) {
  TCommonControlsVersionOverride modern(6);
  form->Glyphs->SetEnabledImages(false);
  PixelBuffer half = NativeImage(form->Glyphs, 0);
  EXPECT_EQ(AlphaAt(half, 3, 5), 128);
  EXPECT_EQ(AlphaAt(half, 12, 5), 64);
  EXPECT_EQ(AlphaAt(half, 3, 0), 0);
  EXPECT_EQ(half.at(3, 5) & 0xFFFFFF, 0xFF0000u) << "blend alone keeps the colour";
  EXPECT_EQ(AlphaAt(NativeImage(form->Glyphs, 1), 3, 5), 128) << "a palette picture is blended too";

  form->Glyphs->SetPngOptions(TPngOptions{pngBlendOnDisabled, pngGrayscaleOnDisabled});
  half = NativeImage(form->Glyphs, 0);
  EXPECT_EQ(half.at(3, 5), 0x804C4C4Cu) << "grey red at half";

  form->Glyphs->SetEnabledImages(true);
  EXPECT_EQ(AlphaAt(NativeImage(form->Glyphs, 0), 3, 5), 255);
}

TEST_F(PngImageList, OldCommonControlsGetTheImageOverTheItemBackground) {
  TCommonControlsVersionOverride old(5);
  form->Glyphs->GetPngImages()->Items(0)->SetBackground(clWhite);
  const PixelBuffer icon = NativeImage(form->Glyphs, 0);
  EXPECT_EQ(icon.at(3, 5), 0xFFFF0000u);
  EXPECT_EQ(icon.at(12, 5), 0xFF7F7FFFu) << "half blue over white, opaque";
  EXPECT_EQ(AlphaAt(icon, 3, 0), 0) << "masked where fully transparent";
}

TEST_F(PngImageList, AnEmptyItemKeepsTheIndicesAligned) {
  TPngImageCollectionItem* empty = form->Glyphs->GetPngImages()->Insert(1);
  EXPECT_EQ(empty->GetName(), L"PngImage2") << "named by the index it was made at";
  ASSERT_EQ(ImageList_GetImageCount(form->Glyphs->GetHandle()), 3);
  const PixelBuffer placeholder = NativeImage(form->Glyphs, 1);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) ASSERT_EQ(AlphaAt(placeholder, x, y), 0) << x << "," << y;
  EXPECT_EQ(NativeImage(form->Glyphs, 2).at(3, 5), 0xFF008000u) << "the green picture is still at its item's index";

  TPngImageCollection fresh(nullptr);
  EXPECT_EQ(fresh.GetItems()->Add()->GetName(), L"PngImage0");
}

TEST_F(PngImageList, OperationsReachedThroughTheBaseClassKeepTheItems) {
  TCustomImageList* base = form->Glyphs;
  TBitmap bitmap(16, 16, pf24bit);
  bitmap.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  bitmap.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
  bitmap.GetCanvas()->GetBrush()->SetColor(clNavy);
  bitmap.GetCanvas()->FillRect(Rect(4, 4, 12, 12));

  EXPECT_EQ(base->AddMasked(&bitmap, clFuchsia), 2);
  TPngImageCollectionItems* items = form->Glyphs->GetPngImages();
  ASSERT_EQ(items->Count(), 3);
  TPngImage* masked = items->Items(2)->GetPngImage();
  EXPECT_EQ(masked->ColorType(), PngColorType::RGBAlpha);
  EXPECT_EQ(masked->Data().alpha[0], 0);
  EXPECT_EQ(masked->Data().alpha[5 * 16 + 5], 255);
  EXPECT_EQ(AlphaAt(NativeImage(base, 2), 0, 0), 0);

  base->Move(2, 0);
  EXPECT_EQ(items->Items(0)->GetPngImage()->ColorType(), PngColorType::RGBAlpha);
  EXPECT_EQ(NativeImage(base, 0).at(5, 5), 0xFF000080u) << "native order follows the items";
  EXPECT_EQ(items->Items(1)->GetName(), L"RedBlue");

  // Out of range: nothing happens.
  base->Move(0, 3);
  base->Move(-1, 0);
  base->Replace(3, &bitmap, nullptr);
  base->ReplaceMasked(-1, &bitmap, clFuchsia);
  base->Delete(3);
  EXPECT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Items(1)->GetName(), L"RedBlue");

  base->ReplaceMasked(1, &bitmap, clFuchsia);
  EXPECT_EQ(NativeImage(base, 1).at(5, 5), 0xFF000080u);
  EXPECT_EQ(items->Items(1)->GetName(), L"RedBlue") << "a replaced picture keeps its item";

  base->Delete(0);
  EXPECT_EQ(items->Count(), 2);
  EXPECT_EQ(ImageList_GetImageCount(base->GetHandle()), 2);

  // From another list: its entry with the mask as alpha.
  TImageList plain(nullptr);
  plain.AddMasked(&bitmap, clFuchsia);
  EXPECT_EQ(base->AddImage(&plain, 0), 2);
  EXPECT_EQ(items->Items(2)->GetPngImage()->Data().alpha[0], 0);
  EXPECT_EQ(base->AddImage(&plain, 1), -1) << "no entry, no item";

  base->Clear();
  EXPECT_EQ(items->Count(), 0);
  EXPECT_EQ(ImageList_GetImageCount(base->GetHandle()), 0);
}

TEST_F(PngImageList, ChangingTheSizeClearsTheList) {
  int changes = 0;
  form->Glyphs->OnChange = [&](TObject*) { ++changes; };
  form->Glyphs->SetWidth(24);
  EXPECT_EQ(form->Glyphs->GetPngImages()->Count(), 0);
  EXPECT_EQ(form->Glyphs->GetCount(), 0);
  EXPECT_GE(changes, 1);
}

TEST_F(PngImageList, UpdatesBuildTheNativeImagesOnce) {
  TPngImageList* list = form->Glyphs;
  list->BeginUpdate();
  list->BeginUpdate();
  list->GetPngImages()->Add();
  list->EndUpdate();
  EXPECT_EQ(list->GetCount(), 2) << "not yet: one update is still open";
  list->EndUpdate(false);
  EXPECT_EQ(list->GetCount(), 2) << "ended without a rebuild";
  list->RebuildImageList();
  EXPECT_EQ(list->GetCount(), 3);
}

TEST_F(PngImageList, RoundTripsThroughAFormResource) {
  TCommonControlsVersionOverride modern(6);
  form->Glyphs->SetEnabledImages(false);
  form->Glyphs->SetPngOptions(TPngOptions{pngGrayscaleOnDisabled});
  form->Pictures->GetItems()->Add()->SetBackground(clRed);
  const std::string text = WriteComponentToText(form);
  EXPECT_EQ(text.find("Bitmap"), std::string::npos) << "the native images are not stored";
  EXPECT_NE(text.find("TPngImageList"), std::string::npos);

  auto* copy = CreateFormNew<TTestPngForm>(nullptr);
  ReadComponentFromText(copy, text, L"copy");
  ASSERT_NE(copy->Glyphs, nullptr);
  EXPECT_FALSE(copy->Glyphs->GetEnabledImages());
  EXPECT_EQ(copy->Glyphs->GetPngOptions(), TPngOptions{pngGrayscaleOnDisabled});
  ASSERT_EQ(copy->Glyphs->GetPngImages()->Count(), 2);
  EXPECT_EQ(copy->Glyphs->GetPngImages()->Items(1)->GetName(), L"Green");
  EXPECT_EQ(copy->Glyphs->GetPngImages()->Items(0)->GetPngImage()->Data().alpha,
            form->Glyphs->GetPngImages()->Items(0)->GetPngImage()->Data().alpha);
  ASSERT_EQ(copy->Pictures->GetItems()->Count(), 2);
  EXPECT_EQ(copy->Pictures->GetItems()->Items(1)->GetBackground(), clRed);
  EXPECT_EQ(copy->Pictures->GetItems()->Items(1)->GetName(), L"PngImage1");
  EXPECT_EQ(NativeImage(copy->Glyphs, 0).at(3, 5), 0xFF4C4C4Cu) << "grey without blend";
  delete copy;
}

TEST_F(PngImageList, DrawsWithAlphaOverAColour) {
  TMemoryCanvas memory(40, 20, clWhite);
  form->Glyphs->Draw(memory.Canvas(), 0, 0, 0);
  form->Glyphs->Draw(memory.Canvas(), 20, 0, 0, false);
  ExpectColor(memory.At(3, 0), clWhite, "transparent row");
  ExpectColor(memory.At(3, 5), clRed, "opaque red");
  ExpectColor(memory.At(12, 5), TColor(0xFF7F7F), "half blue over white");
  ExpectColor(memory.At(23, 5), TColor(0x7F7FFF), "disabled: red at half");
  ExpectColor(memory.At(32, 5), TColor(0xFFBFBF), "disabled: blue at a quarter");
  form->Glyphs->Draw(memory.Canvas(), 0, 0, 5);  // a bad index draws nothing
  ExpectColor(memory.At(3, 5), clRed, "left as it was");
}

TEST_F(PngImageList, APopupMenuShowsTheGlyphs) {
  form->Show();
  ASSERT_TRUE(qorn::testing::WaitFor([&] { return IsWindowVisible(form->GetHandle()) != 0; }, 3s));
  // The activation and the first focus settle before the menu opens, else they close it.
  Pump(100ms);
  TPopupMenu menu(form);
  menu.SetImages(form->Glyphs);
  for (const wchar_t* caption : {L"&Red and blue", L"&Green"}) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    item->SetImageIndex(menu.GetItems()->Count());
    menu.GetItems()->Add(item);
  }
  HMENU handle = menu.GetHandle();
  TColor red = clNone, green = clNone;
  bool shot = false;
  static std::function<void()> whileOpen;
  whileOpen = [&] {
    RECT r0{}, r1{};
    if (GetMenuItemRect(nullptr, handle, 0, &r0) && GetMenuItemRect(nullptr, handle, 1, &r1)) {
      HDC screen = GetDC(nullptr);
      // The glyph sits at the left of each item, centred on its height.
      for (int x = r0.left; x < r0.left + 30 && red == clNone; ++x) {
        const COLORREF c = GetPixel(screen, x, (r0.top + r0.bottom) / 2);
        if (c == RGB(255, 0, 0)) red = TColor(c);
      }
      for (int x = r1.left; x < r1.left + 30 && green == clNone; ++x) {
        const COLORREF c = GetPixel(screen, x, (r1.top + r1.bottom) / 2);
        if (c == RGB(0, 128, 0)) green = TColor(c);
      }
      ReleaseDC(nullptr, screen);
    }
    shot = qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "png_image_list_menu.png");
    EndMenu();
  };
  static int visibleTicks;
  visibleTicks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND window = FindWindowW(L"#32768", nullptr);
    // One more tick once it is visible, so that its items are painted.
    if (!window || !IsWindowVisible(window) || ++visibleTicks < 2) return;
    KillTimer(nullptr, id);
    if (whileOpen) whileOpen();
  });
  const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
  menu.Popup(300, 300);
  KillTimer(nullptr, timer);
  KillTimer(nullptr, guard);
  whileOpen = nullptr;
  EXPECT_EQ(red, clRed) << "the first item's glyph";
  EXPECT_EQ(green, TColor(RGB(0, 128, 0))) << "the second item's glyph";
  EXPECT_TRUE(shot);
}

}  // namespace
