// The extended buttons as the program's forms configure them, read from a form
// resource: default, cancel and ModalResult on a modal form, presses, groups, the
// kinds, the menu button that does not drop again on its closing click, the tool
// button's zones and groups, the control button's repeat, their looks, and a
// screenshot of every control of this set (screenshots/vy-buttons.png).
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyButton.h"
#include "controls/extended/VyCtlButton.h"
#include "controls/extended/VyEdit.h"
#include "controls/extended/VyToolButton.h"
#include "controls/extended/tests/VyButtonsForm.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"

#include <chrono>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

// Closes whatever popup menu is open once it shows, noting where it showed; it runs for
// the whole test, so a menu that drops when it should not fails the test, never hangs it.
RECT gMenuRect{};
void CALLBACK CloseMenuTimer(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  GetWindowRect(menu, &gMenuRect);
  EndMenu();
}

class VyButtons : public VyButtonsFormTest {
 protected:
  void SetUp() override {
    VyButtonsFormTest::SetUp();
    closer = SetTimer(nullptr, 0, 20, CloseMenuTimer);
  }
  void TearDown() override {
    KillTimer(nullptr, closer);
    VyButtonsFormTest::TearDown();
  }
  // A click on a windowed button, or on a windowless one through its parent.
  void ClickAt(TControl* c, int x, int y) {
    Press(c, x, y);
    Release(c, x, y);
  }
  void Press(TControl* c, int x, int y) { Post(c, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
  void Move(TControl* c, int x, int y) { Post(c, WM_MOUSEMOVE, MK_LBUTTON, x, y); }
  void Release(TControl* c, int x, int y) { Post(c, WM_LBUTTONUP, 0, x, y); }
  void Post(TControl* c, UINT msg, WPARAM keys, int x, int y) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      PostMessageW(w->GetHandle(), msg, keys, MAKELPARAM(x, y));
    } else {
      PostMessageW(c->GetParent()->GetHandle(), msg, keys, MAKELPARAM(c->GetLeft() + x, c->GetTop() + y));
    }
    Pump(20ms);
  }
  UINT_PTR closer = 0;
};

TEST_F(VyButtons, DefaultCancelAndModalResultCloseAModalForm) {
  auto* dialog = CreateForm<TTestVyButtonsForm>(Application);
  auto* edit = dynamic_cast<TWinControl*>(dialog->FindComponent(L"StateEdit"));
  auto* hot = dynamic_cast<TVyButton*>(dialog->FindComponent(L"HotBtn"));
  ASSERT_TRUE(edit && hot);
  // Whatever goes wrong, the dialog closes instead of hanging the test.
  const UINT_PTR guard = SetTimer(nullptr, 0, 4000, [](HWND, UINT, UINT_PTR, DWORD) {
    if (Screen->GetActiveForm()) Screen->GetActiveForm()->SetModalResult(mrAbort);
  });
  PostMessageW(edit->GetHandle(), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_EQ(dialog->ShowModal(), mrOk) << "Enter: the OK button";
  PostMessageW(edit->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(dialog->ShowModal(), mrCancel) << "Escape: the Cancel button";
  hot->SetModalResult(mrRetry);
  PostMessageW(hot->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(hot->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(dialog->ShowModal(), mrRetry) << "a click: the button's ModalResult";
  KillTimer(nullptr, guard);
  delete dialog;
}

TEST_F(VyButtons, TheFocusedButtonTakesEnterFromTheDefaultOne) {
  auto* ok = Find<TVyBitBtn>(L"OkBtn");
  auto* cancel = Find<TVyBitBtn>(L"CancelBtn");
  ASSERT_TRUE(ok && cancel);
  EXPECT_TRUE(ok->IsActive());
  cancel->SetFocus();
  Pump(20ms);
  EXPECT_FALSE(ok->IsActive());
  EXPECT_TRUE(cancel->IsActive());
  Find<TWinControl>(L"StateEdit")->SetFocus();
  Pump(20ms);
  EXPECT_TRUE(ok->IsActive()) << "no button focused: the default one again";
  EXPECT_FALSE(cancel->IsActive());
}

TEST_F(VyButtons, KindsGiveCaptionRoleResultAndGlyph) {
  auto* ok = Find<TVyBitBtn>(L"OkBtn");
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->GetKind(), bkOK);
  EXPECT_EQ(ok->GetCaption(), L"OK");
  EXPECT_TRUE(ok->GetDefault());
  EXPECT_EQ(ok->GetModalResult(), mrOk);
  EXPECT_EQ(ok->GetNumGlyphs(), 2);
  EXPECT_EQ(ok->GetGlyph()->GetWidth(), 36);
  ok->SetDefault(false);
  EXPECT_EQ(ok->GetKind(), ::bkCustom) << "no longer the OK kind";
}

TEST_F(VyButtons, ADisabledTwoCellGlyphDrawsItsSecondCell) {
  auto* del = Find<TVyBitBtn>(L"DelProgBtn");
  ASSERT_TRUE(del);
  TBitmap glyph(32, 16);
  TCanvas* c = glyph.GetCanvas();
  c->GetBrush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 16, 16));
  c->GetBrush()->SetColor(clBlue);
  c->FillRect(Rect(16, 0, 32, 16));
  glyph.SetPixel(0, 15, clOlive);  // the transparent colour
  del->SetGlyph(&glyph);
  EXPECT_EQ(del->GetNumGlyphs(), 2);
  auto count = [&](TColor color) {
    int n = 0;
    for (int y = 0; y < del->GetHeight(); ++y)
      for (int x = 0; x < del->GetWidth(); ++x) n += At(del, x, y) == color;
    return n;
  };
  Snapshot();
  EXPECT_GT(count(clRed), 200);
  EXPECT_EQ(count(clBlue), 0);
  del->SetEnabled(false);
  Snapshot();
  EXPECT_EQ(count(clRed), 0);
  EXPECT_GT(count(clBlue), 200);
  TBitmap none;
  del->SetGlyph(&none);
  EXPECT_EQ(del->GetNumGlyphs(), 1) << "an empty glyph divides by nothing";
}

TEST_F(VyButtons, OnlyAReleaseInsideClicks) {
  auto* hot = Find<TVyButton>(L"HotBtn");
  ASSERT_TRUE(hot);
  int clicks = 0;
  hot->OnClick = [&](TObject*) { ++clicks; };
  Press(hot, 10, 10);
  EXPECT_TRUE(hot->IsShowingDown());
  Move(hot, 200, 10);
  EXPECT_FALSE(hot->IsShowingDown());
  Release(hot, 200, 10);
  EXPECT_EQ(clicks, 0);
  Press(hot, 10, 10);
  Move(hot, 200, 10);
  Move(hot, 20, 10);
  Release(hot, 20, 10);
  EXPECT_EQ(clicks, 1) << "back inside, the release clicks";
  hot->SetDown(true);
  EXPECT_FALSE(hot->GetDown()) << "outside a group a button never stays down";
}

TEST_F(VyButtons, GroupedButtonsLiftEachOther) {
  auto* left = Find<TVyButton>(L"LeftBtn");
  auto* centre = Find<TVyButton>(L"CentreBtn");
  auto* right = Find<TVyButton>(L"RightBtn");
  ASSERT_TRUE(left && centre && right);
  EXPECT_TRUE(left->GetDown());
  ClickAt(centre, 10, 10);
  EXPECT_TRUE(centre->GetDown());
  EXPECT_FALSE(left->GetDown());
  ClickAt(centre, 10, 10);
  EXPECT_TRUE(centre->GetDown()) << "without AllowAllUp the down button stays down";
  right->SetAllowAllUp(true);
  ClickAt(right, 10, 10);
  EXPECT_TRUE(right->GetDown());
  EXPECT_FALSE(centre->GetDown());
  ClickAt(right, 10, 10);
  EXPECT_FALSE(right->GetDown()) << "AllowAllUp, taken by the whole group";

  auto* one = Find<TVyToolButton>(L"ToolOne");
  auto* two = Find<TVyToolButton>(L"ToolTwo");
  ASSERT_TRUE(one && two);
  ClickAt(two, 10, 10);
  EXPECT_TRUE(two->GetDown());
  EXPECT_EQ(two->State(), TVyToolButton::TState::Exclusive);
  ClickAt(one, 10, 10);
  EXPECT_TRUE(one->GetDown());
  EXPECT_FALSE(two->GetDown());
}

TEST_F(VyButtons, AMenuButtonDoesNotDropAgainOnItsClosingClick) {
  TManualClock clock;
  TClockOverride useClock(clock);
  auto* add = Find<TVyMenuButton>(L"AddProgBtn");
  ASSERT_TRUE(add);
  int drops = 0, clicks = 0;
  TObject* sender = nullptr;
  add->OnDropDown = [&](TObject* s) {
    ++drops;
    sender = s;
  };
  add->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(add, 10, 10);
  EXPECT_EQ(drops, 1);
  EXPECT_EQ(sender, add->GetDropDownMenu()) << "the menu is the sender";
  const TPoint corner = add->ClientToScreen(TPoint{0, add->GetHeight()});
  EXPECT_EQ(gMenuRect.left, corner.X) << "under the button's bottom-left corner";
  EXPECT_EQ(gMenuRect.top, corner.Y);

  clock.Advance(50);
  ClickAt(add, 10, 10);
  EXPECT_EQ(drops, 1) << "this press closed the menu: no second drop";
  clock.Advance(200);
  ClickAt(add, 10, 10);
  EXPECT_EQ(drops, 2);
  clock.Advance(200);
  add->SetFocus();
  Pump(20ms);
  PostMessageW(add->GetHandle(), WM_KEYDOWN, VK_F4, 1);
  Pump(40ms);
  EXPECT_EQ(drops, 3) << "F4 drops it";
  EXPECT_EQ(clicks, 0);

  add->SetDropDownOnEnter(false);
  add->SetDefault(true);
  EXPECT_EQ(add->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(clicks, 1) << "Enter without DropDownOnEnter: a plain click";
  EXPECT_EQ(drops, 3);
}

TEST_F(VyButtons, ToolButtonDropDownZones) {
  TManualClock clock;
  TClockOverride useClock(clock);
  auto* tool = Find<TVyToolButton>(L"ToolMenu");
  ASSERT_TRUE(tool);
  int drops = 0, clicks = 0;
  tool->OnDropDown = [&](TObject*) { ++drops; };
  ClickAt(tool, 10, 10);
  EXPECT_EQ(drops, 1) << "without OnClick any press drops the menu";
  tool->OnClick = [&](TObject*) { ++clicks; };
  clock.Advance(500);
  ClickAt(tool, 10, 10);
  EXPECT_EQ(clicks, 1) << "left of the arrow zone: a click";
  EXPECT_EQ(drops, 1);
  ClickAt(tool, tool->GetWidth() - 5, 10);
  EXPECT_EQ(drops, 2) << "on the arrow zone: the menu";
  EXPECT_EQ(clicks, 1);

  const int width = tool->GetWidth();
  tool->SetToolStyle(tsButton);
  EXPECT_EQ(tool->GetWidth(), width - TVyToolButton::kArrowZone);
  tool->SetGroupIndex(3);
  tool->SetToolStyle(tsDropDown);
  EXPECT_EQ(tool->GetWidth(), width);
  EXPECT_EQ(tool->GetGroupIndex(), 0);
  TPopupMenu empty(form);
  tool->SetDropDownMenu(&empty);
  tool->OnClick = nullptr;
  ClickAt(tool, 10, 10);
  EXPECT_EQ(drops, 2) << "an empty menu does nothing";
  tool->SetDropDownMenu(nullptr);
}

TEST_F(VyButtons, AHeldControlButtonRepeatsOnlyWhileThePointerIsOverIt) {
  TManualClock clock;
  TClockOverride useClock(clock);
  auto* up = Find<TVyControlButton>(L"UpBtn");
  ASSERT_TRUE(up);
  int clicks = 0;
  up->OnClick = [&](TObject*) { ++clicks; };
  auto after = [&](int ms) {
    clock.Advance(ms);
    Pump(40ms);
    PumpDueTimers();
    return clicks;
  };
  Press(up, 8, 10);
  EXPECT_TRUE(up->IsDown());
  EXPECT_EQ(after(399), 0);
  EXPECT_EQ(after(1), 1) << "400 ms";
  EXPECT_EQ(after(100), 2) << "500 ms";
  EXPECT_EQ(after(100), 3) << "600 ms";
  EXPECT_EQ(after(50), 3);
  Release(up, 8, 10);
  EXPECT_EQ(clicks, 4) << "and the release inside";
  EXPECT_FALSE(up->IsDown());

  clicks = 0;
  Press(up, 8, 10);
  Move(up, 80, 10);
  EXPECT_EQ(after(400), 0) << "off the button: no repeats";
  EXPECT_EQ(after(100), 0);
  Move(up, 8, 10);
  EXPECT_EQ(after(100), 1) << "back over it: they go on";
  Move(up, 80, 10);
  Release(up, 80, 10);
  EXPECT_EQ(clicks, 1) << "released outside: no click";

  TBitmap strip(34, 17);
  up->SetGlyph(&strip);
  EXPECT_EQ(up->GetNumGlyphs(), 2);
}

TEST_F(VyButtons, LooksOfTheClassicGroupedAndHotButtons) {
  auto* left = Find<TVyButton>(L"LeftBtn");
  auto* hot = Find<TVyButton>(L"HotBtn");
  ASSERT_TRUE(left && hot);
  Snapshot();
  // The down button of a group shows its checker pattern.
  EXPECT_EQ(At(left, 4, 4), clSilver);
  EXPECT_EQ(At(left, 5, 4), ColorToRGB(clBtnFace));
  hot->Perform(CM_MOUSEENTER);
  Snapshot();
  const int mid = hot->GetHeight() / 2;
  EXPECT_EQ(At(hot, 0, mid), DarkenColor(clBtnFace, 20)) << "outer ring, dark side";
  EXPECT_EQ(At(hot, hot->GetWidth() - 1, mid), LightenColor(clBtnFace, 20)) << "outer ring, light side";
  EXPECT_EQ(At(hot, 1, mid), ColorToRGB(cl3DDkShadow)) << "the rounded rim";
  const int hue = HueOfColor(clHighlight);
  EXPECT_EQ(At(hot, 2, mid), HueSatLumToColor((hue + 120) % 240, 220, 180)) << "the hot ring, complementary";
}

TEST_F(VyButtons, EveryControlOfTheSetOnOneForm) {
  Find<TVyEdit>(L"StateEdit")->SetFocus();
  Find<TVyBitBtn>(L"DelProgBtn")->SetEnabled(false);
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-buttons.png"));
}

}  // namespace
