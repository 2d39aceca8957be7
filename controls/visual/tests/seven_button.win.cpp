// Gradient picture buttons on a form read from its resource: the five looks and
// how the mouse, the focus and Enable move between them, one click per user
// action, Default and Cancel keys, ModalResult on a modal form, and the pixels of
// gradient, border, corners and the picture each look falls back to.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/SevenButton.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TSevenButton;
using S = Flat::TSevenButtonState;

class TTestSevenButtonForm : public TForm {
  QORN_CLASS(TTestSevenButtonForm, TForm)
 public:
  explicit TTestSevenButtonForm(TComponent* AOwner) : TForm(AOwner) {}
  TSevenButton *SevenHistory = nullptr, *SevenOff = nullptr, *SevenOk = nullptr, *SevenCancel = nullptr;

 private:
  static void Publish(TPublisher<TTestSevenButtonForm>& p) {
    p.Field(L"SevenHistory", &TTestSevenButtonForm::SevenHistory);
    p.Field(L"SevenOff", &TTestSevenButtonForm::SevenOff);
    p.Field(L"SevenOk", &TTestSevenButtonForm::SevenOk);
    p.Field(L"SevenCancel", &TTestSevenButtonForm::SevenCancel);
  }
};
QORN_REGISTER_CLASS(TTestSevenButtonForm);

TColor At(const TMemoryPaint& p, int x, int y) { return static_cast<TColor>(p.At(x, y)); }

std::unique_ptr<TPicture> Square(TColor colour, int size = 10) {
  TBitmap bmp(size, size, pf24bit);
  bmp.GetCanvas()->GetBrush()->SetColor(colour);
  bmp.GetCanvas()->FillRect({0, 0, size, size});
  auto picture = std::make_unique<TPicture>();
  picture->SetBitmap(&bmp);
  return picture;
}

class SevenButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestSevenButtonForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  static void Press(TSevenButton* b, UINT msg = WM_LBUTTONDOWN) {
    SendMessageW(b->GetHandle(), msg, MK_LBUTTON, MAKELPARAM(10, 10));
  }
  static void Release(TSevenButton* b, int x = 10) { SendMessageW(b->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 10)); }
  TTestSevenButtonForm* form = nullptr;
};

TEST_F(SevenButtons, LoadsAndStoresItsLooks) {
  TSevenButton* history = form->SevenHistory;
  EXPECT_STREQ(history->ClassName().c_str(), L"TSevenButton");
  EXPECT_EQ(history->GetAlignment(), taLeftJustify);
  EXPECT_EQ(history->GetMarging(), 7);
  EXPECT_EQ(history->GetBorder()->GetColorHot(), clBlack);
  EXPECT_EQ(history->GetBorder()->GetColorNormal(), TColor(0x707070));
  EXPECT_EQ(history->GetColors()->GetColorDownTo(), TColor(15461355));
  EXPECT_EQ(history->GetFonts()->GetFontDisabled()->GetColor(), clGrayText);
  EXPECT_EQ(form->SevenOff->GetSpacing(), 0) << "a stored 0 is not the 5 of a new button";
  EXPECT_EQ(form->SevenOff->GetState(), S::Disabled);

  auto* fresh = new TSevenButton(form);
  EXPECT_EQ(fresh->GetWidth(), 85);
  EXPECT_EQ(fresh->GetHeight(), 24);
  EXPECT_TRUE(fresh->GetTabStop());
  EXPECT_EQ(fresh->GetColors()->GetColorHotTo(), TColor(0xF5D9A7));
  EXPECT_EQ(fresh->GetBorder()->GetColorDown(), TColor(0x8B622C));
  EXPECT_EQ(fresh->GetPictures()->GetAlignment(), taLeftJustify);
  const std::string text = WriteComponentToText(fresh);
  for (const char* name : {"Border.", "Colors.", "Pictures.Alignment", "Pictures.Transparent", "ModalResult", "Default",
                           "Cancel", "Alignment", "TabStop"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << " written at its default:\n" << text;
  EXPECT_NE(text.find("Spacing = 5"), std::string::npos) << text;
  EXPECT_NE(text.find("Marging = 5"), std::string::npos) << text;

  fresh->GetBorder()->SetWidthDown(40);
  EXPECT_EQ(fresh->GetBorder()->GetWidthDown(), 10) << "border widths run 1 to 10";
}

TEST_F(SevenButtons, LooksFollowMouseFocusAndEnabled) {
  TSevenButton* ok = form->SevenOk;
  EXPECT_EQ(ok->GetState(), S::Normal);
  ok->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(ok->GetState(), S::Hot);
  Press(ok);
  EXPECT_EQ(ok->GetState(), S::Down);
  EXPECT_TRUE(ok->Focused()) << "a press focuses the button";
  Release(ok);
  EXPECT_EQ(ok->GetState(), S::Hot) << "released: hot";
  ok->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(ok->GetState(), S::Focused) << "left while focused";
  form->SevenCancel->SetFocus();
  Pump(10ms);
  EXPECT_EQ(ok->GetState(), S::Normal);
  EXPECT_EQ(form->SevenCancel->GetState(), S::Focused);
  // A release on a focused button that was never pressed keeps the look.
  Release(form->SevenCancel);
  EXPECT_EQ(form->SevenCancel->GetState(), S::Focused);

  TSevenButton* off = form->SevenOff;
  off->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(off->GetState(), S::Disabled) << "disabled stays disabled under the mouse";
  off->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(off->GetState(), S::Disabled);
  off->SetEnabled(true);
  EXPECT_EQ(off->GetState(), S::Normal);
  off->SetEnabled(false);
  EXPECT_EQ(off->GetState(), S::Disabled);
}

TEST_F(SevenButtons, OneClickPerUserAction) {
  TSevenButton* b = form->SevenHistory;
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Press(b);
  Release(b);
  EXPECT_EQ(clicks, 1);
  // A double click is two presses and releases: two clicks, not three.
  Press(b);
  Release(b);
  Press(b, WM_LBUTTONDBLCLK);
  EXPECT_EQ(b->GetState(), S::Down);
  Release(b);
  EXPECT_EQ(clicks, 3);
  // A release outside clicks nothing.
  Press(b);
  Release(b, b->GetWidth() + 10);
  EXPECT_EQ(clicks, 3);

  b->SetFocus();
  Pump(10ms);
  SendMessageW(b->GetHandle(), WM_CHAR, VK_RETURN, 0x001C0001);
  EXPECT_EQ(clicks, 4);
  SendMessageW(b->GetHandle(), WM_CHAR, VK_SPACE, 0x00390001);
  EXPECT_EQ(clicks, 5);
  SendMessageW(b->GetHandle(), WM_CHAR, L'a', 0x001E0001);
  EXPECT_EQ(clicks, 5);
}

TEST_F(SevenButtons, DefaultAndCancelKeys) {
  int okClicks = 0, cancelClicks = 0;
  form->SevenOk->OnClick = [&](TObject*) { ++okClicks; };
  form->SevenCancel->OnClick = [&](TObject*) { ++cancelClicks; };
  form->SevenHistory->SetFocus();
  Pump(10ms);
  EXPECT_EQ(form->SevenOk->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(okClicks, 1) << "Enter clicks the default button from elsewhere";
  EXPECT_EQ(form->SevenCancel->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(form->SevenCancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(form->GetModalResult(), mrCancel);

  form->SevenOk->SetFocus();
  Pump(10ms);
  form->SevenOk->Perform(CM_DIALOGKEY, VK_RETURN, 0);
  EXPECT_EQ(okClicks, 1) << "focused, its own Enter key (WM_CHAR) clicks it, not the dialog key";
}

TEST_F(SevenButtons, EndsAModalForm) {
  form->Hide();
  Pump(10ms);
  HWND cancel = form->SevenCancel->GetHandle();
  PostMessageW(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(cancel, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(SevenButtons, GradientBorderAndCorners) {
  TSevenButton* ok = form->SevenOk;  // normal: 0xFCFCFC to 0xCFCFCF, border 0x707070
  const int w = ok->GetWidth(), h = ok->GetHeight();
  {
    TMemoryPaint p(ok);
    EXPECT_EQ(At(p, 3, 1), TColor(0xFCFCFC)) << "the band starts below the border";
    EXPECT_EQ(At(p, 3, h - 2), TColor(0xD1D1D1)) << "and ends near its second colour";
    EXPECT_EQ(At(p, 0, h / 2), TColor(0x707070));
    EXPECT_EQ(At(p, w - 1, h / 2), TColor(0x707070));
    EXPECT_EQ(At(p, 0, 0), ColorToRGB(ok->GetColor())) << "corner in the button's colour";
    EXPECT_EQ(At(p, 1, 1), TColor(0x707070)) << "the inner corner in the border's";
    EXPECT_EQ(At(p, w - 2, h - 2), TColor(0x707070));
  }
  ok->Perform(CM_MOUSEENTER, 0, 0);
  ok->GetBorder()->SetWidthHot(3);
  ok->Perform(CM_MOUSEENTER, 0, 0);
  {
    TMemoryPaint p(ok);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(At(p, k, h / 2), TColor(0xB17F3C)) << "hot border, ring " << k;
    EXPECT_EQ(At(p, 5, 3), TColor(0xFCFCFC)) << "the hot band starts below a 3-pixel border";
    EXPECT_EQ(At(p, 5, h - 4), TColor(0xF6DBAA)) << "near the hot second colour";
  }
}

TEST_F(SevenButtons, EveryLookFallsBackToTheNormalPicture) {
  TSevenButton* b = form->SevenHistory;  // picture on the left, 1 + 7 pixels in
  b->GetPictures()->SetPictureNormal(Square(clRed).get());
  const int y = b->GetHeight() / 2;
  EXPECT_EQ(At(TMemoryPaint(b), 9, y), clRed);
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(At(TMemoryPaint(b), 9, y), clRed) << "hot has none of its own";
  b->GetPictures()->SetPictureHot(Square(clBlue).get());
  b->DrawNow();
  EXPECT_EQ(At(TMemoryPaint(b), 9, y), clBlue);
  b->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(At(TMemoryPaint(b), 9, y), clRed);

  b->GetPictures()->SetAlignment(taRightJustify);
  const int right = b->GetWidth() - 1 - 7 - 10;
  EXPECT_EQ(At(TMemoryPaint(b), right + 1, y), clRed);
  EXPECT_NE(At(TMemoryPaint(b), 9, y), clRed);
}

TEST_F(SevenButtons, NothingBeforeTheWindowExistsCreatesIt) {
  std::unique_ptr<TForm> hidden(new TForm(nullptr));
  auto* b = new TSevenButton(hidden.get());
  b->SetParent(hidden.get());
  b->SetCaption(L"Later");
  b->GetBorder()->SetColorNormal(clRed);
  b->GetPictures()->SetPictureNormal(Square(clLime).get());
  b->SetEnabled(false);
  b->SetEnabled(true);
  b->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_FALSE(b->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated());
}

TEST_F(SevenButtons, Screenshot) {
  form->SevenHistory->GetPictures()->SetPictureNormal(Square(TColor(0x3C7FB1), 16).get());
  form->SevenOff->GetPictures()->SetPictureNormal(Square(TColor(0xB5B2AD), 16).get());
  form->SevenOk->SetFocus();
  form->Invalidate();
  Pump(30ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "seven_button.png"));
}

}  // namespace
