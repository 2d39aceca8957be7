// Flat buttons on a form read from its resource: what the program relies on
// (SetDown and groups, Click from code, ModalResult), one click per user action,
// hover by real mouse moves and the class's timer, and the pixels of frames and
// glyph cells.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatButtonUnit.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatButton;

class TTestFlatButtonsForm : public TForm {
  QORN_CLASS(TTestFlatButtonsForm, TForm)
 public:
  explicit TTestFlatButtonsForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatButton *ButtonOk = nullptr, *ButtonCancel = nullptr, *ButtonLeft = nullptr, *ButtonRight = nullptr,
              *ButtonToggle = nullptr, *ButtonDisabled = nullptr, *ButtonPicture = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatButtonsForm>& p) {
    p.Field(L"ButtonOk", &TTestFlatButtonsForm::ButtonOk);
    p.Field(L"ButtonCancel", &TTestFlatButtonsForm::ButtonCancel);
    p.Field(L"ButtonLeft", &TTestFlatButtonsForm::ButtonLeft);
    p.Field(L"ButtonRight", &TTestFlatButtonsForm::ButtonRight);
    p.Field(L"ButtonToggle", &TTestFlatButtonsForm::ButtonToggle);
    p.Field(L"ButtonDisabled", &TTestFlatButtonsForm::ButtonDisabled);
    p.Field(L"ButtonPicture", &TTestFlatButtonsForm::ButtonPicture);
  }
};
QORN_REGISTER_CLASS(TTestFlatButtonsForm);

constexpr TColor kFormColor = static_cast<TColor>(15461355);
constexpr TColor kFuchsia = static_cast<TColor>(0xFF00FF);

// A strip of `cells` 16x16 squares, cell i filled with colours[i] and its
// bottom-left pixel fuchsia (the transparent colour).
std::unique_ptr<TBitmap> Strip(const std::vector<TColor>& colours) {
  const int n = static_cast<int>(colours.size());
  auto bmp = std::make_unique<TBitmap>(16 * n, 16, pf24bit);
  for (int i = 0; i < n; ++i) {
    bmp->GetCanvas()->GetBrush()->SetColor(colours[i]);
    bmp->GetCanvas()->FillRect({16 * i, 0, 16 * i + 16, 16});
    bmp->SetPixel(16 * i, 15, kFuchsia);
  }
  return bmp;
}

class FlatButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatButtonsForm>(Application);
    form->Show();
    SetForegroundWindow(form->GetHandle());
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // A press and release with the cursor really there (the hover reads the cursor).
  static void PressRelease(TWinControl* c, int x, int y, int releaseX, int releaseY) {
    const TPoint s = c->ClientToScreen({x, y});
    SetCursorPos(s.X, s.Y);
    SendMessageW(c->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    SendMessageW(c->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(c->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(releaseX, releaseY));
    SendMessageW(c->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(releaseX, releaseY));
    Pump(10ms);
  }
  static void ClickAt(TWinControl* c) { PressRelease(c, c->GetWidth() / 2, c->GetHeight() / 2, c->GetWidth() / 2,
                                                     c->GetHeight() / 2); }
  static std::unique_ptr<TBitmap> Snapshot(TWinControl* c) {
    auto bmp = std::make_unique<TBitmap>(c->GetWidth(), c->GetHeight());
    c->PaintTo(bmp->GetCanvas()->GetHandle(), 0, 0);
    return bmp;
  }
  void MoveCursorAway() {
    const TPoint away = form->ClientToScreen({form->GetClientWidth() - 3, form->GetClientHeight() - 3});
    SetCursorPos(away.X, away.Y);
  }
  TTestFlatButtonsForm* form = nullptr;
};

TEST_F(FlatButtons, LoadsWithItsDefaults) {
  EXPECT_STREQ(form->ButtonOk->ClassName().c_str(), L"TFlatButton");
  TFlatButton fresh(nullptr);
  EXPECT_EQ(fresh.GetWidth(), 25);
  EXPECT_EQ(fresh.GetHeight(), 25);
  EXPECT_EQ(fresh.GetLayout(), blGlyphTop);
  EXPECT_EQ(fresh.GetMargin(), -1);
  EXPECT_EQ(fresh.GetSpacing(), 4);
  EXPECT_EQ(fresh.GetNumGlyphs(), 1);
  EXPECT_EQ(fresh.GetTransparentMode(), Flat::tmNone);
  EXPECT_EQ(fresh.GetColorFocused(), TColor(0xE1EAEB));
  EXPECT_EQ(fresh.GetColorDown(), TColor(0xC5D6D9));
  EXPECT_EQ(fresh.GetColorBorder(), TColor(0x8396A0));
  EXPECT_EQ(fresh.GetColorHighLight(), clWhite);
  EXPECT_EQ(fresh.GetColorShadow(), clBlack);
  EXPECT_TRUE(fresh.GetParentColor());
  EXPECT_TRUE(fresh.GetTabStop());

  EXPECT_TRUE(form->ButtonOk->GetDefault());
  EXPECT_EQ(form->ButtonOk->GetModalResult(), mrOk);
  EXPECT_EQ(form->ButtonOk->GetColor(), kFormColor) << "the parent's colour";
  EXPECT_TRUE(form->ButtonLeft->GetDown());
  EXPECT_EQ(form->ButtonLeft->GetState(), bsExclusive);
  EXPECT_EQ(form->ButtonDisabled->GetState(), bsDisabled);
  EXPECT_EQ(form->ButtonPicture->GetLayout(), blGlyphLeft);
}

TEST_F(FlatButtons, SetDownKeepsTheGroupsRules) {
  TFlatButton* left = form->ButtonLeft;
  TFlatButton* right = form->ButtonRight;
  form->ButtonCancel->SetDown(true);
  EXPECT_FALSE(form->ButtonCancel->GetDown()) << "group 0 never stays down";

  left->SetDown(false);
  EXPECT_TRUE(left->GetDown()) << "without AllowAllUp the down button of a group stays down";
  right->SetDown(true);
  EXPECT_TRUE(right->GetDown());
  EXPECT_FALSE(left->GetDown()) << "the group's other button comes up";
  EXPECT_EQ(left->GetState(), bsUp);

  // AllowAllUp is shared through the group when one goes down.
  right->SetAllowAllUp(true);
  EXPECT_TRUE(left->GetAllowAllUp());
  right->SetDown(false);
  EXPECT_FALSE(right->GetDown());
  EXPECT_EQ(right->GetState(), bsUp);

  form->ButtonToggle->SetDown(true);
  EXPECT_TRUE(form->ButtonToggle->GetDown());
  EXPECT_FALSE(right->GetDown()) << "another group index is left alone";
}

TEST_F(FlatButtons, OneClickPerUserAction) {
  int clicks = 0, doubles = 0;
  TFlatButton* ok = form->ButtonOk;
  ok->OnClick = [&](TObject*) { ++clicks; };
  ok->OnDblClick = [&](TObject*) { ++doubles; };
  ClickAt(ok);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(ok->GetState(), bsUp);

  // A double click: press, release, second press as a double click, release.
  const LPARAM at = MAKELPARAM(10, 10);
  SendMessageW(ok->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(ok->GetHandle(), WM_LBUTTONUP, 0, at);
  SendMessageW(ok->GetHandle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(ok->GetHandle(), WM_LBUTTONUP, 0, at);
  EXPECT_EQ(clicks, 2) << "a double click clicks once";

  // A release outside: no click, and the button comes back up.
  PressRelease(ok, 10, 10, ok->GetWidth() + 5, 10);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(ok->GetState(), bsUp);

  // Space clicks on the release of this button's own key-down only.
  ok->SetFocus();
  Pump(10ms);
  SendMessageW(ok->GetHandle(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(clicks, 2) << "a release without a press here is not a click";
  SendMessageW(ok->GetHandle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_EQ(ok->GetState(), bsDown);
  SendMessageW(ok->GetHandle(), WM_KEYDOWN, VK_SPACE, 0x40390001);  // auto-repeat
  SendMessageW(ok->GetHandle(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(ok->GetState(), bsUp);
  SendMessageW(ok->GetHandle(), WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(clicks, 3);

  // The disabled button ignores the mouse.
  int disabledClicks = 0;
  form->ButtonDisabled->OnClick = [&](TObject*) { ++disabledClicks; };
  ClickAt(form->ButtonDisabled);
  EXPECT_EQ(disabledClicks, 0);
}

TEST_F(FlatButtons, GroupedButtonsByTheMouse) {
  TFlatButton* left = form->ButtonLeft;
  TFlatButton* right = form->ButtonRight;
  int leftClicks = 0;
  left->OnClick = [&](TObject*) { ++leftClicks; };
  ClickAt(left);
  EXPECT_TRUE(left->GetDown()) << "a click on the down button of a group without AllowAllUp";
  EXPECT_EQ(leftClicks, 1) << "still clicks";
  ClickAt(right);
  EXPECT_TRUE(right->GetDown());
  EXPECT_FALSE(left->GetDown());

  // A release outside a grouped button: no change, no click.
  PressRelease(left, 5, 5, -20, 5);
  EXPECT_FALSE(left->GetDown());
  EXPECT_EQ(leftClicks, 1);
  PressRelease(right, 5, 5, -20, 5);
  EXPECT_TRUE(right->GetDown());
  EXPECT_EQ(right->GetState(), bsExclusive);

  // With AllowAllUp a second click releases.
  TFlatButton* toggle = form->ButtonToggle;
  ClickAt(toggle);
  EXPECT_TRUE(toggle->GetDown());
  ClickAt(toggle);
  EXPECT_FALSE(toggle->GetDown());

  // The accelerator of a grouped button sets it down, then clicks.
  TFlatButton* accel = form->ButtonOk;
  int accelClicks = 0;
  accel->OnClick = [&](TObject*) { ++accelClicks; };
  TMessage m{};
  m.Msg = CM_DIALOGCHAR;
  m.WParam = L'o';
  accel->Perform(m.Msg, m.WParam, 0);
  EXPECT_EQ(accelClicks, 1);
}

TEST_F(FlatButtons, EveryClickCopiesModalResult) {
  form->SetModalResult(mrNone);
  form->ButtonCancel->Click();
  EXPECT_EQ(form->GetModalResult(), mrCancel);
  form->ButtonLeft->Click();
  EXPECT_EQ(form->GetModalResult(), mrNone) << "a plain click resets it";
}

TEST_F(FlatButtons, EndsAModalForm) {
  form->Hide();
  Pump(10ms);
  HWND ok = form->ButtonOk->GetHandle();
  PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(form->ShowModal(), mrOk);
}

TEST_F(FlatButtons, GlyphStripSetsItsCells) {
  TFlatButton* b = form->ButtonPicture;
  const struct {
    int width, height, before, after;
  } cases[] = {{64, 16, 1, 4}, {96, 16, 2, 1}, {40, 16, 3, 3}, {32, 16, 1, 2}, {16, 16, 4, 1}};
  for (const auto& c : cases) {
    b->SetNumGlyphs(c.before);
    TBitmap strip(c.width, c.height);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->GetNumGlyphs(), c.after) << c.width << "x" << c.height;
    EXPECT_EQ(b->GetGlyph()->GetWidth(), c.width) << "an owned copy";
  }
  b->SetGlyph(b->GetGlyph());
  EXPECT_EQ(b->GetGlyph()->GetWidth(), 16) << "assigning its own glyph changes nothing";
}

TEST_F(FlatButtons, GlyphCellsByState) {
  TFlatButton* b = form->ButtonPicture;
  const TColor up = clRed, disabled = clGray, down = clBlue, exclusive = clGreen;
  b->SetGlyph(Strip({up, disabled, down, exclusive}).get());
  ASSERT_EQ(b->GetNumGlyphs(), 4);
  b->SetGroupIndex(5);
  const int mid = 12;
  auto first = Snapshot(b);
  EXPECT_EQ(first->GetPixel(mid, mid), up);
  // The glyph's top-left corner, found by its colour; its bottom-left pixel is transparent.
  int left = b->GetWidth(), top = b->GetHeight();
  for (int y = 0; y < first->GetHeight(); ++y)
    for (int x = 0; x < first->GetWidth(); ++x)
      if (first->GetPixel(x, y) == up) left = std::min(left, x), top = std::min(top, y);
  ASSERT_LT(left, b->GetWidth());
  EXPECT_EQ(first->GetPixel(left, top + 15), kFormColor) << "the transparent corner shows the face";
  EXPECT_EQ(first->GetPixel(left + 1, top + 15), up);

  SendMessageW(b->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Snapshot(b)->GetPixel(mid, mid), down);
  SendMessageW(b->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(b->GetDown());
  EXPECT_EQ(Snapshot(b)->GetPixel(mid, mid), exclusive);

  b->SetEnabled(false);
  EXPECT_EQ(Snapshot(b)->GetPixel(mid, mid), disabled);

  // Two cells: the down states show the first.
  b->SetEnabled(true);
  b->SetGlyph(Strip({up, disabled}).get());
  ASSERT_EQ(b->GetNumGlyphs(), 2);
  EXPECT_EQ(Snapshot(b)->GetPixel(mid, mid), up);

  // An empty glyph, and the fewest cells, paint the frame and nothing else.
  TBitmap empty;
  b->SetGlyph(&empty);
  b->SetNumGlyphs(0);
  EXPECT_EQ(b->GetNumGlyphs(), 1);
  auto face = Snapshot(b);
  EXPECT_EQ(face->GetPixel(mid, mid), TColor(0xC5D6D9)) << "down colour, no glyph";
}

TEST_F(FlatButtons, FramesAndHover) {
  TManualClock clock;
  TClockOverride useClock(clock);
  form->ButtonLeft->SetFocus();
  Pump(10ms);
  MoveCursorAway();
  Pump(10ms);

  TFlatButton* cancel = form->ButtonCancel;
  auto idle = Snapshot(cancel);
  EXPECT_EQ(idle->GetPixel(0, 0), TColor(0x8396A0)) << "flat border";
  EXPECT_EQ(idle->GetPixel(1, 1), kFormColor) << "one pixel wide";
  EXPECT_EQ(idle->GetPixel(cancel->GetWidth() - 1, cancel->GetHeight() - 1), TColor(0x8396A0));
  auto def = Snapshot(form->ButtonOk);
  EXPECT_EQ(def->GetPixel(1, 1), TColor(0x8396A0)) << "the default button's border is two pixels";
  EXPECT_EQ(def->GetPixel(2, 2), kFormColor);

  // Hover by a real mouse move: the 3D frame; the class's timer ends it.
  const TPoint inside = cancel->ClientToScreen({10, 10});
  SetCursorPos(inside.X, inside.Y);
  SendMessageW(cancel->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  ASSERT_TRUE(cancel->MouseOver());
  EXPECT_EQ(TFlatButton::ClassHoverTimer().Watched(), cancel);
  auto hot = Snapshot(cancel);
  EXPECT_EQ(hot->GetPixel(0, 0), clWhite) << "light top-left";
  EXPECT_EQ(hot->GetPixel(cancel->GetWidth() - 1, cancel->GetHeight() - 1), clBlack) << "dark bottom-right";

  MoveCursorAway();
  Pump(20ms);
  EXPECT_TRUE(cancel->MouseOver()) << "no tick before 100 ms";
  clock.Advance(110);
  EXPECT_TRUE(PumpUntil([&] { return !cancel->MouseOver(); }));
  EXPECT_EQ(Snapshot(cancel)->GetPixel(0, 0), TColor(0x8396A0));

  // Pressed: dark top-left, the down colour.
  SendMessageW(cancel->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  auto pressed = Snapshot(cancel);
  EXPECT_EQ(pressed->GetPixel(0, 0), clBlack);
  EXPECT_EQ(pressed->GetPixel(cancel->GetWidth() - 1, cancel->GetHeight() - 1), clWhite);
  EXPECT_EQ(pressed->GetPixel(3, 3), TColor(0xC5D6D9));
  SendMessageW(cancel->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(cancel->GetWidth() + 9, 10));

  // The disabled caption is engraved: some highlight and shadow pixels.
  auto disabled = Snapshot(form->ButtonDisabled);
  int shadow = 0;
  for (int y = 0; y < disabled->GetHeight(); ++y)
    for (int x = 0; x < disabled->GetWidth(); ++x)
      if (disabled->GetPixel(x, y) == ColorToRGB(clBtnShadow)) ++shadow;
  EXPECT_GT(shadow, 10);


  form->ButtonPicture->SetGlyph(Strip({clRed, clGray}).get());
  form->Repaint();
  Pump(20ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_buttons.png"));
}

}  // namespace
