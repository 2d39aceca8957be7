// The page control read from a form: which page shows after loading, the events of a
// click at a tab's computed place, keys, hidden and disabled tabs, refused changes,
// page moves and their errors, and a screenshot of each tab style.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyGrafxColor.h"
#include "controls/extended/VyTabs.h"
#include "controls/extended/tests/VyPagesTest.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Exceptions.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

TEST_F(VyPages, LoadingShowsTheDefaultPageWithoutEvents) {
  EXPECT_EQ(pages->GetActivePage(), first) << "the default wins over the streamed page";
  EXPECT_EQ(pages->GetTabIndex(), 0) << "the streamed tab index is not kept";
  EXPECT_TRUE(first->Showing());
  EXPECT_FALSE(second->Showing());
  EXPECT_FALSE(third->Showing());
  EXPECT_TRUE(log.empty());
  const TRect display = pages->DisplayRect();
  EXPECT_EQ(first->GetBoundsRect(), display) << "the page fills the card";
  EXPECT_GT(display.Top, pages->GetFixedDimension() - 1) << "below the tabs";
  EXPECT_EQ(pages->GetColor(), clBtnFace) << "pages and their control in the button face colour";
  EXPECT_EQ(first->GetColor(), clBtnFace);
}

TEST_F(VyPages, AClickAsksSwapsAndTellsInOrder) {
  ClickTab(2);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"changing 2", L"change 2", L"click"}));
  EXPECT_EQ(pages->GetActivePage(), third);
  EXPECT_TRUE(third->Showing());
  EXPECT_FALSE(first->Showing());

  log.clear();
  allowChange = false;
  ClickTab(1);
  pages->SetActivePage(second);
  Key(VK_RIGHT);
  EXPECT_EQ(pages->GetActivePage(), third) << "a refused change keeps the page";
  EXPECT_EQ(pages->GetTabIndex(), 2);
  EXPECT_FALSE(second->Showing());
  EXPECT_EQ(log.front(), L"changing 1");
}

TEST_F(VyPages, KeysSkipDisabledTabsAndWrap) {
  second->SetTabEnabled(false);
  log.clear();
  Key(VK_RIGHT);
  EXPECT_EQ(pages->GetTabIndex(), 2) << "the disabled tab is passed over";
  EXPECT_EQ(pages->GetActivePage(), third);
  Key(VK_RIGHT);
  EXPECT_EQ(pages->GetTabIndex(), 0) << "wrapped round";
  Key(VK_END);
  EXPECT_EQ(pages->GetTabIndex(), 2);
  Key(VK_HOME);
  EXPECT_EQ(pages->GetActivePage(), first);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"changing 2", L"change 2", L"click", L"changing 0", L"change 0", L"click",
                                            L"changing 2", L"change 2", L"click", L"changing 0", L"change 0",
                                            L"click"}));
  // A click on a disabled tab does nothing.
  log.clear();
  ClickTab(1);
  EXPECT_TRUE(log.empty());
}

TEST_F(VyPages, HiddenTabsRenumberWithoutAskingAndKeepThePage) {
  pages->SetActivePage(third);
  log.clear();
  second->SetTabVisible(false);
  EXPECT_EQ(pages->TabCount(), 2);
  EXPECT_EQ(third->GetTabIndex(), 1);
  EXPECT_EQ(pages->GetTabIndex(), 1) << "the highlighted tab follows its page";
  EXPECT_EQ(pages->GetActivePage(), third);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"change 1"})) << "no question for a renumbering";

  // Nor when the question would be refused, or the active tab is disabled.
  allowChange = false;
  third->SetTabEnabled(false);
  second->SetTabVisible(true);
  EXPECT_EQ(pages->GetTabIndex(), 2) << "the highlighted tab still belongs to the page shown";
  EXPECT_EQ(pages->GetActivePage(), third);
  second->SetTabVisible(false);
  EXPECT_EQ(pages->GetTabIndex(), 1);
  third->SetTabEnabled(true);
  allowChange = true;

  // The active page's own tab hidden: no tab is selected while the page stays.
  third->SetTabVisible(false);
  EXPECT_EQ(pages->GetTabIndex(), -1);
  EXPECT_EQ(pages->GetActivePage(), third);
  EXPECT_TRUE(third->Showing());

  // Showing a page without a tab asks first too.
  pages->SetActivePage(first);
  log.clear();
  allowChange = false;
  pages->SetActivePage(second);
  EXPECT_EQ(log, (std::vector<std::wstring>{L"changing -1"}));
  EXPECT_EQ(pages->GetActivePage(), first);
  EXPECT_FALSE(second->Showing());
  allowChange = true;
  pages->SetActivePage(second);
  EXPECT_EQ(pages->GetActivePage(), second);
  EXPECT_TRUE(second->Showing());
  EXPECT_EQ(pages->GetTabIndex(), -1);
}

TEST_F(VyPages, PagesMoveAndRefuseBadPlaces) {
  pages->SetActivePage(second);
  third->SetPageIndex(0);
  EXPECT_EQ(pages->GetPage(0), third);
  EXPECT_EQ(second->GetPageIndex(), 2);
  EXPECT_EQ(pages->GetActivePage(), second);
  EXPECT_EQ(pages->GetTabIndex(), 2);
  try {
    first->SetPageIndex(3);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"3 is an invalid PageIndex value. PageIndex must be between 0 and 2");
  }
  EXPECT_THROW(pages->SetActivePageIndex(5), EListError);
  EXPECT_THROW(first->SetVisible(true), Exception);

  // A sheet of another control is not taken, and a freed active page leaves none.
  TVyPageControl other(nullptr);
  auto* stranger = new TVyTabSheet(form.get());
  stranger->SetPageControl(&other);
  pages->SetActivePage(stranger);
  EXPECT_EQ(pages->GetActivePage(), second);
  delete second;
  EXPECT_EQ(pages->GetActivePage(), nullptr);
  EXPECT_EQ(pages->GetTabIndex(), -1);
  EXPECT_EQ(pages->GetPageCount(), 2);
  delete stranger;
}

TEST_F(VyPages, SheetsTakeTheirStreamedPlacesAndReadBackAsWritten) {
  // Sheets written in another order than their places: each takes its place once all
  // of them are read.
  std::string text = kPagesForm;
  const size_t thirdAt = text.find("    object Third: TVyTabSheet");
  const size_t thirdEnd = text.find("    end\n", thirdAt) + 8;
  const std::string thirdSheet = text.substr(thirdAt, thirdEnd - thirdAt);
  text.erase(thirdAt, thirdEnd - thirdAt);
  text.insert(text.find("    object First: TVyTabSheet"), thirdSheet);
  ASSERT_LT(text.find("object Third"), text.find("object First"));
  Load(text);
  EXPECT_EQ(pages->GetPage(0), first);
  EXPECT_EQ(pages->GetPage(1), second);
  EXPECT_EQ(pages->GetPage(2), third);
  EXPECT_EQ(pages->GetActivePage(), first);
  EXPECT_EQ(pages->GetTabIndex(), 0);

  // What the control writes reads back the same, whichever page shows.
  pages->SetActivePage(third);
  second->SetPageIndex(0);
  const std::string written = WriteComponentToText(form.get());
  const std::string ofPages = written.substr(written.find("object Pages"));
  EXPECT_EQ(ofPages.find(" Visible = "), std::string::npos) << "which page shows is the control's to say";
  EXPECT_EQ(ofPages.find("BackgroundColor"), std::string::npos) << "the parent's colour is not the control's own";
  // (The form's own visibility is the test's to set.)
  Load(std::string(written).erase(written.find("  Visible = True\n"), 17));
  EXPECT_EQ(pages->GetPage(0), second);
  EXPECT_EQ(pages->GetPage(1), first);
  EXPECT_EQ(pages->GetPage(2), third);
  EXPECT_EQ(pages->GetActivePage(), first) << "the default page";
  EXPECT_TRUE(first->Showing());
  EXPECT_FALSE(third->Showing());
  EXPECT_NE(form->FindComponent(L"Edit1"), nullptr);
  EXPECT_TRUE(pages->GetParentBackgroundColor());
  form->SetColor(clTeal);
  EXPECT_EQ(pages->GetBackgroundColor(), clTeal) << "it still follows its form";
}

TEST_F(VyPages, CtrlTabAndAcceleratorsChangePages) {
  auto* edit = dynamic_cast<TEdit*>(form->FindComponent(L"Edit1"));
  ASSERT_TRUE(edit);
  edit->SetFocus();
  Pump(20ms);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  const intptr_t result = pages->Perform(CM_DIALOGKEY, VK_TAB, 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(pages->GetActivePage(), second);

  EXPECT_EQ(pages->Perform(CM_DIALOGCHAR, L'd', 0), 1);
  EXPECT_EQ(pages->GetActivePage(), third);
  EXPECT_EQ(log.back(), L"click");
}

TEST_F(VyPages, HitsFollowTheLayoutBeforeAnyPaint) {
  // Hidden controls never paint; their geometry must still be current.
  pages->SetVisible(false);
  pages->SetTabOrientation(TVyTabOrientation::toBottom);
  const TRect tab = pages->TabClientRect(1);
  EXPECT_GT(tab.Top, pages->GetHeight() / 2) << "the tabs moved to the bottom";
  EXPECT_EQ(pages->TabAtPos({(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2}), 1);
  EXPECT_EQ(pages->TabAtPos({5, 5}), -1) << "the card is no tab";
  EXPECT_LT(first->GetBoundsRect().Bottom, tab.Top + 2) << "the page sits above the tabs";
  EXPECT_EQ(log, std::vector<std::wstring>{}) << "laying out asks nothing";
}

TEST_F(VyPages, EachStylePaintsTabsAndCard) {
  const TVyTabStyle styles[] = {TVyTabStyle::tsSingleSlant, TVyTabStyle::tsDoubleSlant, TVyTabStyle::tsCutCorner,
                                TVyTabStyle::tsRoundCorners};
  const TVyTabOrientation sides[] = {TVyTabOrientation::toTop, TVyTabOrientation::toBottom,
                                     TVyTabOrientation::toTop, TVyTabOrientation::toLeft};
  const wchar_t* names[] = {L"single-slant", L"double-slant", L"cut-corner", L"round-corners"};
  pages->SetActivePage(second);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    pages->SetTabStyle(styles[k]);
    pages->SetTabOrientation(sides[k]);
    log.clear();
    TMemoryPaint paint(pages);
    EXPECT_TRUE(log.empty()) << "painting changes nothing";
    const TRect tab = pages->TabClientRect(0), card = pages->DisplayRect();
    // Beside the caption, a few pixels from the tab's card side.
    const bool left = sides[k] == TVyTabOrientation::toLeft, bottom = sides[k] == TVyTabOrientation::toBottom;
    const TPoint mid{left ? tab.Right - 3 : (tab.Left + tab.Right) / 2,
                     left ? (tab.Top + tab.Bottom) / 2 : bottom ? tab.Top + 3 : tab.Bottom - 3};
    EXPECT_NE(paint.At(mid.X, mid.Y), 0u) << "an unselected tab is filled";
    EXPECT_EQ(paint.At(card.Left + 40, card.Top + 40), ColorToRGB(second->GetColor())) << "the card in the page colour";
    Pump(30ms);
    const std::wstring file = std::wstring(L"vy-pages-") + names[k] + L".png";
    EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / file));
  }
}

TEST_F(VyPages, ScrollerFiresOnlyWhenReleasedOnThePressedHalf) {
  for (int k = 0; k < 6; ++k) {
    auto* extra = new TVyTabSheet(form.get());
    extra->SetCaption(L"A long extra page " + std::to_wstring(k));
    extra->SetPageControl(pages);
  }
  ASSERT_TRUE(pages->GetNeedScroller());
  TVyTabScroller* scroller = pages->GetScroller();
  ASSERT_TRUE(scroller);
  EXPECT_GE(scroller->GetLeft(), 0) << "in view on the strip";
  EXPECT_EQ(scroller->GetHeight(), pages->ScrollButtonSize());
  EXPECT_EQ(scroller->GetWidth(), 2 * pages->ScrollButtonSize() - 1);
  EXPECT_EQ(pages->GetFirstVisibleTab(), 0);
  HWND h = scroller->GetHandle();
  const int right = scroller->GetWidth() - 3, mid = scroller->GetHeight() / 2;
  // Pressed on the forward half, slid off and released: nothing.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, mid));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, mid));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(1, mid));
  EXPECT_EQ(pages->GetFirstVisibleTab(), 0);
  // Slid back in before the release: one tab on.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, mid));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, mid));
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right, mid));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(right, mid));
  EXPECT_EQ(pages->GetFirstVisibleTab(), 1);
  EXPECT_FALSE(pages->TabAtPos({pages->TabClientRect(0).Left + 3, pages->TabClientRect(0).Bottom - 3}) == 0)
      << "the first tab scrolled out of reach";
  // The back half returns to the start.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, mid));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(1, mid));
  EXPECT_EQ(pages->GetFirstVisibleTab(), 0);
  EXPECT_TRUE(log.empty()) << "scrolling changes no page";
  Pump(30ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-pages-scroller.png"));

  // Fitting again, the scroller moves out of sight and stays made.
  pages->SetMultiLine(true);
  EXPECT_FALSE(pages->GetNeedScroller());
  EXPECT_EQ(pages->GetScroller(), scroller);
  EXPECT_LT(scroller->GetLeft() + scroller->GetWidth(), 0);
  EXPECT_GT(pages->GetRowCount(), 1);
}

TEST_F(VyPages, CloseButtonFreesThePageOnlyWhenAllowed) {
  pages->SetShowCloseButton(true);
  TVyTabCloseButton* button = pages->GetCloseButton();
  ASSERT_TRUE(button);
  EXPECT_EQ(button->GetWidth(), pages->CloseButtonSize());
  EXPECT_GT(button->GetWidth(), 0);
  pages->SetActivePage(third);
  auto click = [&] {
    SendMessageW(button->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(button->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  };
  click();
  EXPECT_EQ(pages->GetPageCount(), 3) << "without a handler nothing closes";
  int asked = 0;
  bool allow = false;
  pages->OnClose = [&](TObject*, bool& allowClose) {
    ++asked;
    allowClose = allow;
  };
  click();
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(pages->GetPageCount(), 3) << "refused";
  allow = true;
  click();
  EXPECT_EQ(pages->GetPageCount(), 2);
  EXPECT_EQ(pages->GetTabIndex(), 1) << "the tab before the closed one";
  EXPECT_EQ(pages->GetActivePage(), second);
  third = nullptr;
  Pump(30ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-pages-close.png"));
}

TEST_F(VyPages, HotTabBarTakesTheComplementaryHue) {
  pages->SetTabStyle(TVyTabStyle::tsRoundCorners);
  pages->SetHotTrackColor(HueSatLumToColor(200, 240, 120));
  const TRect tab = pages->TabClientRect(2);
  SendMessageW(pages->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM((tab.Left + tab.Right) / 2, tab.Bottom - 3));
  EXPECT_EQ(pages->GetHotIndex(), 2);
  {
    TMemoryPaint paint(pages);
    const COLORREF bar = paint.At((tab.Left + tab.Right) / 2, tab.Top + 2);
    // The colour's hue reads back near 200 (the scale is not exact both ways): a third round.
    const int hue = HueOfColor(pages->GetHotTrackColor());
    ASSERT_NEAR(hue, 200, 2);
    EXPECT_EQ(bar, ColorToRGB(HueSatLumToColor(hue - 120, 240, 140)));
  }
  pages->SetHotTrackColorType(TVyHotTrackColorType::htctActual);
  {
    TMemoryPaint paint(pages);
    EXPECT_EQ(paint.At((tab.Left + tab.Right) / 2, tab.Top + 2), ColorToRGB(pages->GetHotTrackColor()));
  }
  // Off the tabs the hot state ends.
  SendMessageW(pages->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
  EXPECT_EQ(pages->GetHotIndex(), -1);
}

TEST_F(VyPages, ShadowDarkensTheParentBehindTheCard) {
  form->SetColor(TColor(0x80A0C0));
  pages->SetTransparent(true);
  const int w = pages->GetWidth();
  const int top = pages->DisplayRect().Top + 10;
  TMemoryPaint paint(pages);
  EXPECT_EQ(paint.At(w - 1, top), ColorToRGB(BlendColors(clBlack, TColor(0x80A0C0), 30)));
  EXPECT_EQ(paint.At(w - 1, pages->DisplayRect().Top - 1), ColorToRGB(BlendColors(clBlack, TColor(0x80A0C0), 15)));
  EXPECT_EQ(paint.At(w - 2, 2), ColorToRGB(TColor(0x80A0C0))) << "the parent shows beside the tabs";
}

TEST_F(VyPages, PaintEventsAndTextColoursTakeOver) {
  pages->SetTabStyle(TVyTabStyle::tsCutCorner);
  std::vector<int> tabsPainted;
  pages->OnPaintTabBackground = [&](TObject*, TCanvas* c, int i, const TRect& r, bool& handled) {
    tabsPainted.push_back(i);
    c->GetBrush()->SetColor(clRed);
    c->FillRect(r);
    handled = true;
  };
  pages->OnPaintCardBackground = [&](TObject*, TCanvas* c, int row, const TRect& r, bool& handled) {
    EXPECT_EQ(row, 0);
    c->GetBrush()->SetColor(clLime);
    c->FillRect(r);
    handled = true;
  };
  std::vector<TVyTextStyle> asked;
  pages->OnGetTextColor = [&](TObject*, int, TVyTextStyle style, TColor& color, bool& handled) {
    asked.push_back(style);
    color = clBlue;
    handled = true;
  };
  second->SetTabEnabled(false);
  TMemoryPaint paint(pages);
  EXPECT_EQ(tabsPainted, (std::vector<int>{2, 1, 0})) << "back to front, the selected tab last";
  const TRect tab = pages->TabClientRect(2), card = pages->DisplayRect();
  EXPECT_EQ(paint.At(tab.Left + 3, tab.Bottom - 2), ColorToRGB(clRed));
  EXPECT_EQ(paint.At(card.Left + 40, card.Top + 40), ColorToRGB(clLime));
  EXPECT_NE(std::find(asked.begin(), asked.end(), TVyTextStyle::tsDisabledHighlight), asked.end());
  EXPECT_NE(std::find(asked.begin(), asked.end(), TVyTextStyle::tsSelected), asked.end());
  bool blue = false;
  for (int x = tab.Left; x < tab.Right && !blue; ++x)
    for (int y = tab.Top; y < tab.Bottom && !blue; ++y) blue = paint.At(x, y) == ColorToRGB(clBlue);
  EXPECT_TRUE(blue) << "the caption in the colour the handler gave";
}

}  // namespace
