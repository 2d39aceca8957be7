// Flat buttons on a form read from its resource: what the program relies on
// (SetDown and groups, Click from code, ModalResult), one click per user action,
// hover by real mouse moves and the class's timer, and the pixels of frames and
// glyph cells.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatSpeedButtonUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/ActnList.h"
#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/ImgList.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatButton;
using Flat::TFlatSpeedButton;

class TTestFlatButtonsForm : public TForm {
  QORN_CLASS(TTestFlatButtonsForm, TForm)
 public:
  explicit TTestFlatButtonsForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatButton *ButtonOk = nullptr, *ButtonCancel = nullptr, *ButtonLeft = nullptr, *ButtonRight = nullptr,
              *ButtonToggle = nullptr, *ButtonDisabled = nullptr, *ButtonPicture = nullptr;
  TFlatSpeedButton *SpeedBold = nullptr, *SpeedItalic = nullptr, *SpeedPlain = nullptr, *SpeedPicture = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatButtonsForm>& p) {
    p.Field(L"ButtonOk", &TTestFlatButtonsForm::ButtonOk);
    p.Field(L"ButtonCancel", &TTestFlatButtonsForm::ButtonCancel);
    p.Field(L"ButtonLeft", &TTestFlatButtonsForm::ButtonLeft);
    p.Field(L"ButtonRight", &TTestFlatButtonsForm::ButtonRight);
    p.Field(L"ButtonToggle", &TTestFlatButtonsForm::ButtonToggle);
    p.Field(L"ButtonDisabled", &TTestFlatButtonsForm::ButtonDisabled);
    p.Field(L"ButtonPicture", &TTestFlatButtonsForm::ButtonPicture);
    p.Field(L"SpeedBold", &TTestFlatButtonsForm::SpeedBold);
    p.Field(L"SpeedItalic", &TTestFlatButtonsForm::SpeedItalic);
    p.Field(L"SpeedPlain", &TTestFlatButtonsForm::SpeedPlain);
    p.Field(L"SpeedPicture", &TTestFlatButtonsForm::SpeedPicture);
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
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
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
  static void ClickAt(TWinControl* c) {
    PressRelease(c, c->GetWidth() / 2, c->GetHeight() / 2, c->GetWidth() / 2, c->GetHeight() / 2);
  }
  // The control painted into a memory bitmap (black where it paints nothing).
  struct TShot {
    explicit TShot(TControl* c) : paint(c), w(c->GetWidth()), h(c->GetHeight()) {}
    int GetWidth() const { return w; }
    int GetHeight() const { return h; }
    TColor GetPixel(int x, int y) const { return static_cast<TColor>(paint.At(x, y)); }
    TMemoryPaint paint;
    int w, h;
  };
  static std::unique_ptr<TShot> Snapshot(TControl* c) { return std::make_unique<TShot>(c); }
  // A press and release of a windowless button, through its parent's window.
  static void ClickSpeed(TControl* c, int x, int y, int releaseX, int releaseY) {
    HWND parent = c->GetParent()->GetHandle();
    const TPoint s = c->ClientToScreen({x, y});
    SetCursorPos(s.X, s.Y);
    const int l = c->GetLeft(), t = c->GetTop();
    SendMessageW(parent, WM_MOUSEMOVE, 0, MAKELPARAM(l + x, t + y));
    SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(l + x, t + y));
    SendMessageW(parent, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(l + releaseX, t + releaseY));
    SendMessageW(parent, WM_LBUTTONUP, 0, MAKELPARAM(l + releaseX, t + releaseY));
    Pump(10ms);
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

  // The accelerator of a grouped button sets it down, then clicks; of a plain
  // one it clicks; another character is not taken.
  ASSERT_TRUE(right->GetDown());
  EXPECT_EQ(left->Perform(CM_DIALOGCHAR, L'l', 0), 1);
  EXPECT_TRUE(left->GetDown());
  EXPECT_FALSE(right->GetDown());
  EXPECT_EQ(leftClicks, 2);
  int okClicks = 0;
  form->ButtonOk->OnClick = [&](TObject*) { ++okClicks; };
  EXPECT_EQ(form->ButtonOk->Perform(CM_DIALOGCHAR, L'o', 0), 1);
  EXPECT_EQ(form->ButtonOk->Perform(CM_DIALOGCHAR, L'k', 0), 0);
  EXPECT_EQ(okClicks, 1);
  EXPECT_FALSE(form->ButtonOk->GetDown());
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
  b->SetEnabled(false);
  EXPECT_EQ(Snapshot(b)->GetPixel(mid, mid), kFormColor) << "disabled and empty: the face colour only";
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
  form->SpeedPicture->SetGlyph(Strip({clBlue}).get());
  form->Invalidate();
  Pump(20ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_buttons.png"));
}

TEST_F(FlatButtons, StoresOnlyWhatDiffersFromItsDefaults) {
  auto* button = new TFlatButton(form);
  auto* speed = new TFlatSpeedButton(form);
  const std::string fresh = WriteComponentToText(button) + WriteComponentToText(speed);
  for (const char* name : {"TransparentMode", "Default", "AllowAllUp", "GroupIndex", "Down", "Layout", "Margin",
                           "NumGlyphs", "Spacing", "ModalResult", "ColorFocused", "ColorDown", "ColorBorder",
                           "ColorHighLight", "ColorShadow", "AdvColor", "UseAdvColors", "TabStop", "\n  Color ="})
    EXPECT_EQ(fresh.find(name), std::string::npos) << name << " written at its default:\n" << fresh;

  button->SetSpacing(2);
  button->SetLayout(blGlyphLeft);
  button->SetColorShadow(clNavy);
  button->SetTabStop(false);
  speed->SetGroupIndex(4);
  speed->SetDown(true);
  const std::string changed = WriteComponentToText(button) + WriteComponentToText(speed);
  for (const char* line : {"Spacing = 2", "Layout = blGlyphLeft", "ColorShadow = clNavy", "TabStop = False",
                           "GroupIndex = 4", "Down = True"})
    EXPECT_NE(changed.find(line), std::string::npos) << line << " missing:\n" << changed;
}

TEST_F(FlatButtons, SpeedButtonsGroupAmongThemselves) {
  TFlatSpeedButton* bold = form->SpeedBold;
  TFlatSpeedButton* italic = form->SpeedItalic;
  EXPECT_STREQ(bold->ClassName().c_str(), L"TFlatSpeedButton");
  ASSERT_TRUE(bold->GetDown());
  ASSERT_TRUE(form->ButtonLeft->GetDown());

  int italicClicks = 0;
  italic->OnClick = [&](TObject*) { ++italicClicks; };
  const int mid = italic->GetHeight() / 2;
  ClickSpeed(italic, 10, mid, 10, mid);
  EXPECT_EQ(italicClicks, 1);
  EXPECT_TRUE(italic->GetDown());
  EXPECT_FALSE(bold->GetDown()) << "its own group comes up";
  EXPECT_TRUE(form->ButtonLeft->GetDown()) << "flat buttons of the same group index are another family";

  // A release outside: no click, the look of a button held down.
  ClickSpeed(italic, 10, mid, 10, italic->GetHeight() + 8);
  EXPECT_EQ(italicClicks, 1);
  EXPECT_EQ(italic->GetState(), bsExclusive);

  // The accelerator only clicks; a character that is not one goes on to the default handling.
  int boldClicks = 0;
  bold->OnClick = [&](TObject*) { ++boldClicks; };
  EXPECT_EQ(bold->Perform(CM_DIALOGCHAR, L'b', 0), 1);
  EXPECT_EQ(boldClicks, 1);
  EXPECT_FALSE(bold->GetDown());
  bold->Perform(CM_DIALOGCHAR, L'x', 0);
  EXPECT_EQ(boldClicks, 1);

  // Click from code, as the program's dialogs run it: OnClick and the form's ModalResult.
  int plainClicks = 0;
  form->SpeedPlain->OnClick = [&](TObject*) { ++plainClicks; };
  form->SetModalResult(mrNone);
  form->SpeedPlain->Click();
  EXPECT_EQ(plainClicks, 1);
  EXPECT_EQ(form->GetModalResult(), mrNo);
  form->SetModalResult(mrNone);

  // A double click on the windowless button clicks once too.
  HWND parent = form->GetHandle();
  const LPARAM at = MAKELPARAM(form->SpeedPlain->GetLeft() + 10, form->SpeedPlain->GetTop() + 10);
  SendMessageW(parent, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(parent, WM_LBUTTONUP, 0, at);
  SendMessageW(parent, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(parent, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(plainClicks, 2);
}

TEST_F(FlatButtons, SpeedButtonHoverAndFrames) {
  TManualClock clock;
  TClockOverride useClock(clock);
  TFlatSpeedButton* plain = form->SpeedPlain;
  MoveCursorAway();
  Pump(10ms);
  auto idle = Snapshot(plain);
  EXPECT_EQ(idle->GetPixel(0, 0), TColor(0x8396A0));
  EXPECT_EQ(idle->GetPixel(2, 2), kFormColor);

  const TPoint inside = plain->ClientToScreen({10, 10});
  SetCursorPos(inside.X, inside.Y);
  SendMessageW(form->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(plain->GetLeft() + 10, plain->GetTop() + 10));
  ASSERT_TRUE(plain->MouseOver());
  EXPECT_EQ(TFlatSpeedButton::ClassHoverTimer().Watched(), plain);
  EXPECT_EQ(TFlatButton::ClassHoverTimer().Watched(), nullptr) << "each class has its own timer";
  auto hot = Snapshot(plain);
  EXPECT_EQ(hot->GetPixel(0, 0), clWhite);
  EXPECT_EQ(hot->GetPixel(plain->GetWidth() - 1, plain->GetHeight() - 1), clBlack);

  MoveCursorAway();
  clock.Advance(110);
  EXPECT_TRUE(PumpUntil([&] { return !plain->MouseOver(); }));
}

TEST_F(FlatButtons, NothingBeforeTheWindowExistsCreatesIt) {
  auto* hidden = new TForm(nullptr);
  std::unique_ptr<TForm> owner(hidden);
  auto* b = new TFlatButton(hidden);
  b->SetParent(hidden);
  b->SetGroupIndex(3);
  b->SetDown(true);
  b->SetAllowAllUp(true);
  b->SetDown(false);
  b->SetGlyph(Strip({clRed, clBlue}).get());
  b->SetEnabled(false);
  b->SetEnabled(true);
  b->SetDefault(true);
  b->SetCaption(L"Later");
  b->Click();
  EXPECT_FALSE(b->HandleAllocated());
  EXPECT_FALSE(hidden->HandleAllocated());
}

TEST_F(FlatButtons, TransparentModesShowTheParent) {
  TFlatButton* b = form->ButtonCancel;
  b->SetColor(clYellow);
  EXPECT_EQ(Snapshot(b)->GetPixel(5, 5), clYellow);
  b->SetTransparentMode(Flat::tmAlways);
  EXPECT_EQ(Snapshot(b)->GetPixel(5, 5), kFormColor) << "the form's colour behind it";
  b->SetTransparentMode(Flat::tmNotFocused);
  EXPECT_EQ(Snapshot(b)->GetPixel(5, 5), kFormColor) << "not under the mouse";
  b->SetFocus();  // the focused button is hot, so it fills
  Pump(10ms);
  EXPECT_EQ(Snapshot(b)->GetPixel(5, 5), TColor(0xE1EAEB)) << "ColorFocused";

  // The windowless one paints nothing behind: the memory bitmap stays black there.
  TFlatSpeedButton* s = form->SpeedPicture;
  EXPECT_EQ(Snapshot(s)->GetPixel(5, 5), clBlack);
  EXPECT_EQ(Snapshot(s)->GetPixel(0, 0), TColor(0x8396A0)) << "the frame is drawn";
}

TEST_F(FlatButtons, AdvColorsFollowTheParentColour) {
  TFlatButton* b = form->ButtonCancel;
  b->SetUseAdvColors(true);
  form->SetColor(clWhite);
  // White lightened comes out grey: the luminance ceiling of the shades is 100 of 240.
  EXPECT_EQ(b->GetColor(), clWhite);
  EXPECT_EQ(ColorToRGB(b->GetColorFocused()), TColor(0x6A6A6A));
  EXPECT_EQ(b->GetColorBorder(), Flat::AdjustColorLightness(clWhite, clNone, 50, Flat::TColorCalcType::Darken));
  b->SetAdvColorFocused(0);
  EXPECT_EQ(ColorToRGB(b->GetColorFocused()), TColor(0x6A6A6A)) << "percent 0 keeps the colour it has";
}

TEST_F(FlatButtons, SpeedButtonTakesItsActionsPicture) {
  auto* images = new TImageList(form);
  images->SetWidth(16);
  images->SetHeight(16);
  TBitmap picture(16, 16, pf24bit);
  picture.GetCanvas()->GetBrush()->SetColor(clLime);
  picture.GetCanvas()->FillRect({0, 0, 16, 16});
  images->AddMasked(&picture, clNone);
  auto* list = new TActionList(form);
  list->SetImages(images);
  auto* action = new TAction(form);
  action->SetActionList(list);
  action->SetImageIndex(0);

  TFlatSpeedButton* s = form->SpeedPicture;
  s->SetAction(action);
  ASSERT_FALSE(s->GetGlyph()->Empty());
  EXPECT_EQ(s->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(s->GetGlyph()->GetPixel(8, 8), clLime);

  // A glyph of its own stays; an index outside the list gives none.
  TFlatSpeedButton* plain = form->SpeedPlain;
  auto* outside = new TAction(form);
  outside->SetActionList(list);
  outside->SetImageIndex(5);
  plain->SetAction(outside);
  EXPECT_TRUE(plain->GetGlyph()->Empty());
}

}  // namespace
