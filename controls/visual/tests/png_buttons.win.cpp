// The PNG speed and bitmap buttons read from a form resource: the glyph with its
// alpha, the disabled glyph half transparent and grey, the bitmap button's group of
// glyph and caption, no PNG on a button of another kind, a glyph from the action's
// image list (not stored) unless the button has its own, and a screenshot.
// Its form takes the activation and the focus, which would close another test's menu.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/visual/PngButtons.h"
#include "controls/visual/PngImageList.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/ActnList.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>

namespace {

using namespace std::chrono_literals;
using namespace Flat;

class TTestPngForm : public TForm {
  QORN_CLASS(TTestPngForm, TForm)
 public:
  explicit TTestPngForm(TComponent* AOwner) : TForm(AOwner) {}
  TPngImageList* Glyphs = nullptr;
  TPngSpeedButton* Tool = nullptr;
  TPngSpeedButton* ToolOff = nullptr;
  TPngBitBtn* OkButton = nullptr;
  TPngBitBtn* DefaultButton = nullptr;
  TPngBitBtn* KindButton = nullptr;

 private:
  static void Publish(TPublisher<TTestPngForm>& p) {
    p.Field(L"Glyphs", &TTestPngForm::Glyphs);
    p.Field(L"Tool", &TTestPngForm::Tool);
    p.Field(L"ToolOff", &TTestPngForm::ToolOff);
    p.Field(L"OkButton", &TTestPngForm::OkButton);
    p.Field(L"DefaultButton", &TTestPngForm::DefaultButton);
    p.Field(L"KindButton", &TTestPngForm::KindButton);
  }
};
QORN_REGISTER_CLASS(TTestPngForm);

// A windowless control painted into a white memory bitmap.
class TPainted {
 public:
  explicit TPainted(TControl* control) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, 100, 100);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bmp_);
    RECT all{0, 0, 100, 100};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    control->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc_), 0);
  }
  ~TPainted() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

void ExpectColor(COLORREF seen, COLORREF expected, const char* what) {
  EXPECT_NEAR(GetRValue(seen), GetRValue(expected), 2) << what << std::hex << ": 0x" << seen;
  EXPECT_NEAR(GetGValue(seen), GetGValue(expected), 2) << what << std::hex << ": 0x" << seen;
  EXPECT_NEAR(GetBValue(seen), GetBValue(expected), 2) << what << std::hex << ": 0x" << seen;
}

// Counts the pixels of a shown button's window that satisfy test.
template <class Test>
int CountPixels(TWinControl* button, Test test) {
  HDC dc = GetDC(button->GetHandle());
  int n = 0;
  for (int y = 0; y < button->GetHeight(); ++y)
    for (int x = 0; x < button->GetWidth(); ++x) n += test(GetPixel(dc, x, y), x, y) ? 1 : 0;
  ReleaseDC(button->GetHandle(), dc);
  return n;
}

class PngButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestPngForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::WaitFor([&] { return IsWindowVisible(form->GetHandle()) != 0; }, 3s));
    Pump(50ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestPngForm* form = nullptr;
};

TEST_F(PngButtons, SpeedButtonDrawsItsGlyphCentredWithAlpha) {
  EXPECT_EQ(form->Tool->GetPngOptions(), (TPngOptions{pngBlendOnDisabled, pngGrayscaleOnDisabled}));
  EXPECT_EQ(form->Tool->GetGlyph()->GetWidth(), 16) << "the placeholder keeps the glyph's room";
  TPainted p(form->Tool);
  // 23 x 22 without a caption: the 16 x 16 glyph at (3, 3).
  ExpectColor(p.At(3 + 3, 3 + 0), RGB(255, 255, 255), "the glyph's transparent row");
  ExpectColor(p.At(3 + 3, 3 + 5), RGB(255, 0, 0), "opaque red");
  ExpectColor(p.At(3 + 12, 3 + 5), RGB(127, 127, 255), "half blue over white");
  ExpectColor(p.At(2, 8), RGB(255, 255, 255), "left of the glyph");
}

TEST_F(PngButtons, DisabledSpeedButtonShowsItsGlyphHalfTransparentAndGrey) {
  TPainted p(form->ToolOff);
  // Red's grey level is 76, blue's 28; at half and a quarter over white.
  ExpectColor(p.At(3 + 3, 3 + 5), RGB(165, 165, 165), "grey red at half");
  ExpectColor(p.At(3 + 12, 3 + 5), RGB(198, 198, 198), "grey blue at a quarter");

  form->ToolOff->SetPngOptions(TPngOptions{pngBlendOnDisabled});
  TPainted blended(form->ToolOff);
  ExpectColor(blended.At(3 + 3, 3 + 5), RGB(255, 127, 127), "blend alone: red at half");
  form->ToolOff->SetEnabled(true);
  TPainted enabled(form->ToolOff);
  ExpectColor(enabled.At(3 + 3, 3 + 5), RGB(255, 0, 0), "enabled again: as it is");
}

TEST_F(PngButtons, BitButtonDrawsGlyphAndCaptionAsACentredGroup) {
  const COLORREF green = RGB(0, 128, 0);
  int left = 1000, right = -1;
  const int greens = CountPixels(form->OkButton, [&](COLORREF c, int x, int) {
    if (c != green) return false;
    left = std::min(left, x);
    right = std::max(right, x);
    return true;
  });
  // The focus rectangle, 4 pixels inside, dots the glyph's last row.
  EXPECT_GE(greens, 8 * 15) << "the opaque half of the glyph";
  EXPECT_LE(greens, 8 * 16) << "nothing of the transparent half";
  TCanvas measure;
  HDC screen = GetDC(nullptr);
  measure.SetHandle(screen);
  measure.SetFont(form->OkButton->GetFont());
  const int textWidth = measure.TextWidth(L"OK");
  measure.SetHandle(nullptr);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(left, (75 - (16 + 4 + textWidth)) / 2) << "glyph, 4 pixels and the caption centred";
  EXPECT_EQ(right, left + 7);
}

TEST_F(PngButtons, DisabledBitButtonGreysItsGlyph) {
  const int coloured = CountPixels(form->DefaultButton, [](COLORREF c, int, int) {
    return GetRValue(c) > GetGValue(c) + 40 || GetBValue(c) > GetGValue(c) + 40;
  });
  EXPECT_EQ(coloured, 0) << "no red or blue left";
  const int grey = CountPixels(form->DefaultButton, [](COLORREF c, int, int) {
    // Grey red at half over the face: darker than the face.
    return c != ColorToRGB(clBtnFace) && GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c) &&
           std::abs(int(GetRValue(c)) - (76 + GetRValue(ColorToRGB(clBtnFace))) / 2) <= 2;
  });
  EXPECT_GE(grey, 8 * 15) << "the glyph's opaque half, grey";
  const int shadow = CountPixels(form->DefaultButton, [](COLORREF c, int, int) { return c == ColorToRGB(clBtnShadow); });
  const int black = CountPixels(form->DefaultButton, [](COLORREF c, int, int) { return c == RGB(0, 0, 0); });
  EXPECT_GT(shadow, 20) << "the caption in the shadow colour";
  EXPECT_EQ(black, 0) << "no caption in the text colour";
}

TEST_F(PngButtons, ABitButtonOfAnotherKindDrawsNoPng) {
  EXPECT_FALSE(form->KindButton->GetPngImage()->Empty());
  const int red = CountPixels(form->KindButton, [](COLORREF c, int, int) { return c == RGB(255, 0, 0); });
  EXPECT_EQ(red, 0);
  form->KindButton->SetKind(bkCustom);
  Pump(50ms);
  const int redNow = CountPixels(form->KindButton, [](COLORREF c, int, int) { return c == RGB(255, 0, 0); });
  EXPECT_EQ(redNow, 8 * 15) << "custom: the PNG shows";
}

TEST_F(PngButtons, GlyphsComeFromTheActionUnlessTheButtonHasItsOwn) {
  TActionList actions(form);
  actions.SetImages(form->Glyphs);
  TAction none(form);
  none.SetActionList(&actions);
  none.SetImageIndex(-1);
  TAction green(form);
  green.SetActionList(&actions);
  green.SetImageIndex(1);

  const std::vector<std::uint8_t> own = form->Tool->GetPngImage()->Data().pixels;
  form->Tool->SetAction(&none);
  EXPECT_EQ(form->Tool->GetPngImage()->Data().pixels, own) << "ImageIndex -1 keeps the own PNG";
  form->Tool->SetAction(&green);
  EXPECT_EQ(form->Tool->GetPngImage()->Data().pixels, own) << "an own PNG stays";

  form->OkButton->SetPngImage(nullptr);
  form->OkButton->SetAction(&green);
  TPngImage* taken = form->OkButton->GetPngImage();
  ASSERT_FALSE(taken->Empty());
  EXPECT_EQ(taken->GetPixel(3, 5), TColor(RGB(0, 128, 0)));
  const std::string text = WriteComponentToText(form);
  const std::size_t ok = text.find("object OkButton");
  ASSERT_NE(ok, std::string::npos);
  const std::size_t next = text.find("object", ok + 1);
  EXPECT_EQ(text.substr(ok, next - ok).find("PngImage.Data"), std::string::npos) << "a glyph from the action is not stored";
  EXPECT_NE(text.find("PngImage.Data"), std::string::npos) << "own glyphs are";
}

TEST_F(PngButtons, Screenshot) {
  form->OkButton->SetFocus();
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "png_buttons.png"));
}

}  // namespace
