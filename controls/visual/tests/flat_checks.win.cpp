// Flat check boxes and radio buttons on a form read from its resource: what the
// program relies on (SetChecked and its events, radio groups), one click per user
// click, hover by real mouse moves and the class's hover timer, and the pixels.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatCheckBox;
using Flat::TFlatRadioButton;

class TTestFlatChecksForm : public TForm {
  QORN_CLASS(TTestFlatChecksForm, TForm)
 public:
  explicit TTestFlatChecksForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr;
  TFlatRadioButton *Radio1 = nullptr, *Radio2 = nullptr, *Radio3 = nullptr, *Radio4 = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatChecksForm>& p) {
    p.Field(L"Check1", &TTestFlatChecksForm::Check1);
    p.Field(L"Check2", &TTestFlatChecksForm::Check2);
    p.Field(L"Check3", &TTestFlatChecksForm::Check3);
    p.Field(L"Radio1", &TTestFlatChecksForm::Radio1);
    p.Field(L"Radio2", &TTestFlatChecksForm::Radio2);
    p.Field(L"Radio3", &TTestFlatChecksForm::Radio3);
    p.Field(L"Radio4", &TTestFlatChecksForm::Radio4);
  }
};
QORN_REGISTER_CLASS(TTestFlatChecksForm);

class FlatChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatChecksForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // A press and release with the cursor really there (the hover reads the cursor).
  static void ClickAt(TWinControl* c, int x, int y) {
    const TPoint s = c->ClientToScreen({x, y});
    SetCursorPos(s.X, s.Y);
    SendMessageW(c->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(c->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(c->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump(10ms);
  }
  // The control drawn into a memory bitmap.
  static std::unique_ptr<TBitmap> Snapshot(TWinControl* c) {
    auto bmp = std::make_unique<TBitmap>(c->GetWidth(), c->GetHeight());
    c->PaintTo(bmp->GetCanvas()->GetHandle(), 0, 0);
    return bmp;
  }
  TTestFlatChecksForm* form = nullptr;
};

TEST_F(FlatChecks, LoadsWithItsDefaults) {
  EXPECT_STREQ(form->Check1->ClassName().c_str(), L"TFlatCheckBox");
  EXPECT_FALSE(form->Check1->GetChecked());
  EXPECT_TRUE(form->Check2->GetChecked());
  EXPECT_TRUE(form->Check1->GetTabStop());
  EXPECT_EQ(form->Check1->GetColorFocused(), clWhite);
  EXPECT_EQ(form->Check1->GetColorBorder(), TColor(0x8396A0));
  EXPECT_TRUE(form->Check1->GetParentColor());
  EXPECT_EQ(form->Check1->GetColor(), TColor(15461355)) << "the parent's colour";
  EXPECT_EQ(form->Radio4->GetLayout(), Flat::radioRight);
  EXPECT_TRUE(form->Radio1->GetTabStop()) << "the checked radio is its group's tab stop";
  EXPECT_FALSE(form->Radio2->GetTabStop());
}

TEST_F(FlatChecks, SetCheckedFiresAsTheProgramExpects) {
  int boxClicks = 0, radioClicks = 0;
  form->Check1->OnClick = [&](TObject*) { ++boxClicks; };
  form->Check1->SetChecked(false);
  EXPECT_EQ(boxClicks, 0) << "an unchanged value fires nothing";
  form->Check1->SetChecked(true);
  form->Check1->SetChecked(false);
  EXPECT_EQ(boxClicks, 2) << "the check box fires on both values";

  form->Radio2->OnClick = [&](TObject*) { ++radioClicks; };
  form->Radio2->SetChecked(true);
  EXPECT_EQ(radioClicks, 1);
  EXPECT_FALSE(form->Radio1->GetChecked()) << "same parent and group index";
  EXPECT_TRUE(form->Radio3->GetChecked()) << "another group is left alone";
  EXPECT_TRUE(form->Radio2->GetTabStop());
  EXPECT_FALSE(form->Radio1->GetTabStop());
  form->Radio2->SetChecked(false);
  EXPECT_EQ(radioClicks, 1) << "unchecking a radio fires nothing";
}

TEST_F(FlatChecks, SetCheckedBeforeTheWindowExistsCreatesNone) {
  TFlatCheckBox box(nullptr);
  TFlatRadioButton radio(nullptr);
  box.SetParent(form);
  radio.SetParent(form);
  box.SetVisible(false);
  box.SetChecked(true);
  TFlatCheckBox orphan(nullptr);
  orphan.SetChecked(true);
  EXPECT_FALSE(orphan.HandleAllocated());
  EXPECT_TRUE(orphan.GetChecked());
  radio.SetParent(nullptr);
  radio.SetChecked(true);
  EXPECT_FALSE(radio.HandleAllocated());
}

TEST_F(FlatChecks, OneClickPerUserClick) {
  int clicks = 0;
  form->Radio2->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(form->Radio2, 5, 8);
  EXPECT_TRUE(form->Radio2->GetChecked());
  EXPECT_FALSE(form->Radio1->GetChecked());
  EXPECT_EQ(clicks, 1) << "checking by the mouse fires OnClick once";
  ClickAt(form->Radio2, 5, 8);
  EXPECT_EQ(clicks, 2) << "a click on the checked radio still clicks";

  int boxClicks = 0;
  form->Check1->OnClick = [&](TObject*) { ++boxClicks; };
  ClickAt(form->Check1, 5, 8);
  EXPECT_TRUE(form->Check1->GetChecked());
  EXPECT_EQ(boxClicks, 1);
  ClickAt(form->Check1, 5, 8);
  EXPECT_FALSE(form->Check1->GetChecked());
  EXPECT_EQ(boxClicks, 2);

  // The disabled ones ignore the mouse.
  ClickAt(form->Check3, 5, 8);
  EXPECT_TRUE(form->Check3->GetChecked());
}

TEST_F(FlatChecks, ReleaseOnTheEdges) {
  // A press inside, release on the right edge: the radio checks, the box does not toggle.
  TFlatCheckBox* box = form->Check1;
  SendMessageW(box->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(box->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(box->GetWidth(), 5));
  EXPECT_FALSE(box->GetChecked());
  TFlatRadioButton* radio = form->Radio2;
  SendMessageW(radio->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(radio->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(radio->GetWidth(), 5));
  EXPECT_TRUE(radio->GetChecked());
}

TEST_F(FlatChecks, HoverFollowsTheMouseAndTheTimer) {
  TManualClock clock;
  TClockOverride useClock(clock);
  form->Radio3->SetFocus();  // the focused look is ColorFocused too
  Pump(10ms);
  ASSERT_FALSE(form->Check1->HasFocusLook());
  TFlatCheckBox* box = form->Check1;
  const TPoint inside = box->ClientToScreen({5, 8});
  SetCursorPos(inside.X, inside.Y);
  SendMessageW(box->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 8));
  ASSERT_TRUE(box->MouseIn());
  EXPECT_EQ(TFlatCheckBox::ClassHoverTimer().Watched(), box);
  const TColor hot = Snapshot(box)->GetPixel(6, 8);
  EXPECT_EQ(hot, clWhite) << "the box is filled with ColorFocused under the mouse";

  // Elsewhere: the next tick of the class's timer ends the hover.
  const TPoint away = form->ClientToScreen({300, 180});
  SetCursorPos(away.X, away.Y);
  Pump(20ms);
  EXPECT_TRUE(box->MouseIn()) << "no tick before 100 ms";
  clock.Advance(110);
  EXPECT_TRUE(PumpUntil([&] { return !box->MouseIn(); }));
  EXPECT_EQ(TFlatCheckBox::ClassHoverTimer().Watched(), nullptr);
  EXPECT_EQ(Snapshot(box)->GetPixel(6, 8), TColor(15461355));
}

TEST_F(FlatChecks, Pixels) {
  form->Radio3->SetFocus();
  Pump(10ms);
  // Check2 (checked, enabled): border and tick; Check3 disabled: the tick in clBtnShadow.
  auto on = Snapshot(form->Check2);
  EXPECT_EQ(on->GetPixel(1, 3), TColor(0x8396A0)) << "border corner";
  EXPECT_EQ(on->GetPixel(11, 13), TColor(0x8396A0));
  EXPECT_EQ(on->GetPixel(1 + 2, 3 + 4), clBlack) << "tick";
  EXPECT_EQ(on->GetPixel(1 + 7, 3 + 3), clBlack) << "tick";
  auto off = Snapshot(form->Check1);
  EXPECT_EQ(off->GetPixel(3, 7), TColor(15461355)) << "no tick when unchecked";
  auto disabled = Snapshot(form->Check3);
  EXPECT_EQ(disabled->GetPixel(3, 7), ColorToRGB(clBtnShadow));
  // The radio's dot, and the right-hand circle of Radio4.
  auto radio = Snapshot(form->Radio1);
  EXPECT_EQ(radio->GetPixel(1 + 4, 3 + 4), clBlack);
  EXPECT_EQ(radio->GetPixel(1 + 4, 3 + 1), TColor(15461355)) << "inside the circle, outside the dot";
  auto right = Snapshot(form->Radio4);
  const int w = form->Radio4->GetWidth();
  EXPECT_EQ(right->GetPixel(w - 11, 3 + 5), TColor(0x8396A0)) << "the circle's left edge";

  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_checks.png"));
}

}  // namespace
