// The group bar read from its test form (TestVyGroupBarForm.form), a navigator like the
// settings window's: layout in each style, caption and item clicks through real mouse
// messages, selection, the outlook item scrolling with the rapid-fire buttons on the
// test clock, scrolling of the category view, painting checked by pixels, the group
// controller, and a screenshot of each style.
#include <gtest/gtest.h>

#include "controls/extended/VyGroupBar.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Exceptions.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Vy;
using namespace std::chrono_literals;

class TTestVyGroupBarForm : public TForm {
  QORN_CLASS(TTestVyGroupBarForm, TForm)
 public:
  explicit TTestVyGroupBarForm(TComponent* AOwner) : TForm(AOwner) {}
  void ItemClick(TObject* Sender) { clicked.push_back(static_cast<TVyGroupItem*>(Sender)->GetCaption()); }
  std::vector<std::wstring> clicked;

 private:
  static void Publish(TPublisher<TTestVyGroupBarForm>& p) { p.Handler(L"ItemClick", &TTestVyGroupBarForm::ItemClick); }
};
QORN_REGISTER_CLASS(TTestVyGroupBarForm);

namespace {

class VyGroupBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.reset(CreateForm<TTestVyGroupBarForm>(nullptr));
    bar = dynamic_cast<TVyGroupBar*>(form->FindComponent(L"VyGroupBar1"));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetGroupCount(), 3);
    for (int i = 0; i < 3; ++i) g[i] = bar->GetGroup(i);
    form->Show();
    Pump(40ms);
  }
  void TearDown() override {
    form.reset();
    Pump(10ms);
  }
  static LPARAM At(TPoint p) { return MAKELPARAM(WORD(p.X), WORD(p.Y)); }
  static void Press(TWinControl* c, TPoint p) { SendMessageW(c->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p)); }
  static void Release(TWinControl* c, TPoint p) { SendMessageW(c->GetHandle(), WM_LBUTTONUP, 0, At(p)); }
  static void Click(TWinControl* c, TPoint p) {
    Press(c, p);
    Release(c, p);
  }
  static TPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }
  // Paints a group so that its items' rectangles are where the user sees them.
  static void Paint(TVyGroup* group) { TMemoryPaint paint(group); }
  void ClickItem(TVyGroup* group, int i) {
    Paint(group);
    Click(group, Middle(group->GetItems()->GetItem(i)->GetTextRect()));
  }
  std::unique_ptr<TTestVyGroupBarForm> form;
  TVyGroupBar* bar = nullptr;
  TVyGroup* g[3] = {};
};

TEST_F(VyGroupBarTest, StreamsTheSettingsNavigator) {
  EXPECT_EQ(bar->GetStyle(), gbsOutlook);
  EXPECT_EQ(bar->GetColor(), clWhite) << "the form's Color wins over the one the style sets";
  EXPECT_EQ(bar->GetGroupBorderSize(), 0);
  const int counts[] = {4, 10, 4};
  int image = 0;
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(g[i]->GetItems()->Count(), counts[i]) << i;
    EXPECT_EQ(g[i]->GetGroupIndex(), i);
    EXPECT_EQ(g[i]->GetColor(), clWhite);
    EXPECT_FALSE(g[i]->GetColorDefault());
    EXPECT_EQ(g[i]->GetCaptionColor(), TColor(15790320));
    EXPECT_EQ(g[i]->GetCaptionFont()->GetName(), L"Verdana");
    EXPECT_TRUE(g[i]->GetShowItemSelection());
    EXPECT_EQ(g[i]->GetOpened(), i == 0);
    for (int k = 0; k < counts[i]; ++k) EXPECT_EQ(g[i]->GetItems()->GetItem(k)->GetImageIndex(), image++);
  }
  EXPECT_EQ(g[1]->GetItems()->GetItem(1)->GetCaption(), L"Programs");
  EXPECT_THROW(g[0]->GetItems()->GetItem(4), EListError);
  // The right-hand frame line takes one pixel of the window; no scroll bar in this style.
  RECT window{}, client{};
  GetWindowRect(bar->GetHandle(), &window);
  GetClientRect(bar->GetHandle(), &client);
  EXPECT_EQ(client.right, (window.right - window.left) - 1);
  EXPECT_EQ(client.bottom, window.bottom - window.top);
  // The open group fills what the two other captions leave.
  const int h = bar->GetClientHeight();
  EXPECT_EQ(g[0]->GetBoundsRect(), Rect(0, 0, bar->GetClientWidth(), h - 40));
  EXPECT_EQ(g[1]->GetBoundsRect(), Rect(0, h - 40, bar->GetClientWidth(), h - 20));
  EXPECT_EQ(g[2]->GetBoundsRect(), Rect(0, h - 20, bar->GetClientWidth(), h));
}

TEST_F(VyGroupBarTest, CaptionClicksSwitchGroupsAndTheOpenCaptionStaysOpen) {
  std::vector<std::wstring> log;
  for (TVyGroup* group : g) {
    group->OnOpen = [&log](TObject* s) { log.push_back(L"open " + static_cast<TVyGroup*>(s)->GetCaption()); };
    group->OnCanClose = [&log](TObject*, bool&) { log.push_back(L"can close"); };
  }
  Click(g[2], {40, 10});
  EXPECT_TRUE(g[2]->GetOpened());
  EXPECT_FALSE(g[0]->GetOpened());
  EXPECT_FALSE(g[1]->GetOpened());
  const int h = bar->GetClientHeight();
  EXPECT_EQ(g[0]->GetBoundsRect(), Rect(0, 0, bar->GetClientWidth(), 20));
  EXPECT_EQ(g[1]->GetBoundsRect(), Rect(0, 20, bar->GetClientWidth(), 40));
  EXPECT_EQ(g[2]->GetBoundsRect(), Rect(0, 40, bar->GetClientWidth(), h));
  Click(g[2], {40, 10});
  EXPECT_TRUE(g[2]->GetOpened()) << "an outlook group closes only by opening another";
  EXPECT_EQ(log, (std::vector<std::wstring>{L"open Keyboard and mouse", L"can close"}));
  // A vetoed opening changes nothing.
  g[1]->OnCanOpen = [](TObject*, bool& can) { can = false; };
  Click(g[1], {40, 10});
  EXPECT_FALSE(g[1]->GetOpened());
  EXPECT_TRUE(g[2]->GetOpened());
  // A press that leaves the caption before the release toggles nothing.
  Press(g[0], {40, 10});
  Release(g[0], {40, 60});
  EXPECT_FALSE(g[0]->GetOpened());
}

TEST_F(VyGroupBarTest, ItemClicksFireAndSelectWithinTheirGroupOnly) {
  ClickItem(g[0], 1);
  EXPECT_EQ(form->clicked, std::vector<std::wstring>{L"Volume"});
  EXPECT_TRUE(g[0]->GetItems()->GetItem(1)->GetSelected());
  EXPECT_EQ(g[0]->GetSelectedItem(), g[0]->GetItems()->GetItem(1));
  // Another group's selection stays when this group's changes.
  g[1]->GetItems()->GetItem(3)->SetSelected(true);
  ClickItem(g[0], 2);
  EXPECT_FALSE(g[0]->GetItems()->GetItem(1)->GetSelected());
  EXPECT_TRUE(g[0]->GetItems()->GetItem(2)->GetSelected());
  EXPECT_TRUE(g[1]->GetItems()->GetItem(3)->GetSelected());
  EXPECT_EQ(g[1]->GetSelectedIndex(), 3);
  // Deselecting the selected item leaves the group with none.
  g[1]->GetItems()->GetItem(3)->SetSelected(false);
  EXPECT_EQ(g[1]->GetSelectedItem(), nullptr);
  // A release away from the item gives no click; a disabled item none either.
  Paint(g[0]);
  const TRect text = g[0]->GetItems()->GetItem(3)->GetTextRect();
  Press(g[0], Middle(text));
  Release(g[0], {text.Right + 30, text.Bottom + 30});
  g[0]->GetItems()->GetItem(0)->SetEnabled(false);
  ClickItem(g[0], 0);
  EXPECT_EQ(form->clicked, (std::vector<std::wstring>{L"Volume", L"Media player"}));
}

TEST_F(VyGroupBarTest, ItemHitRectanglesFollowTheText) {
  Paint(g[0]);
  TVyGroupItem* item = g[0]->GetItems()->GetItem(0);
  const TRect image = item->GetImageRect();
  EXPECT_EQ(image.Left, 8);
  EXPECT_EQ(image.Width(), 20) << "the image hit area is 20 x 16 whatever the image size";
  EXPECT_EQ(image.Height(), 16);
  const TRect text = item->GetTextRect();
  EXPECT_EQ(text.Left, 16 + 12) << "captions start past the images";
  EXPECT_GT(text.Width(), 10);
  EXPECT_LT(text.Right, g[0]->GetWidth() - 8) << "only as wide as the text";
  // Rows go down one item height at a time below the caption.
  EXPECT_EQ(g[0]->GetItems()->GetItem(1)->GetImageRect().Top - image.Top, g[0]->GetItemHeight());
}

TEST_F(VyGroupBarTest, TheHandShowsOverClickableItemsAndCaptionsOnly) {
  Paint(g[0]);
  auto cursorAt = [](TVyGroup* group, TPoint p) {
    const TPoint screen = group->ClientToScreen(p);
    SetCursorPos(screen.X, screen.Y);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(group->GetHandle(), WM_SETCURSOR, WPARAM(group->GetHandle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  TVyGroupItems* items = g[0]->GetItems();
  EXPECT_EQ(cursorAt(g[0], Middle(items->GetItem(0)->GetTextRect())), hand);
  EXPECT_EQ(cursorAt(g[0], Middle(items->GetItem(0)->GetImageRect())), hand);
  EXPECT_EQ(cursorAt(g[1], {40, 10}), hand) << "an outlook caption";
  EXPECT_NE(cursorAt(g[0], {g[0]->GetWidth() - 10, g[0]->GetHeight() - 10}), hand) << "below the items";
  // An item with only a hint is no link: no hand, no hot state, drawn in the static font.
  items->GetItem(2)->OnClick = nullptr;
  items->GetItem(2)->SetHint(L"Plays media files");
  Paint(g[0]);
  const TPoint plain = Middle(items->GetItem(2)->GetTextRect());
  EXPECT_NE(cursorAt(g[0], plain), hand);
  SendMessageW(g[0]->GetHandle(), WM_MOUSEMOVE, 0, At(plain));
  EXPECT_EQ(items->GetItem(2)->GetHotState(), 0);
  SendMessageW(g[0]->GetHandle(), WM_MOUSEMOVE, 0, At(Middle(items->GetItem(1)->GetTextRect())));
  EXPECT_EQ(items->GetItem(1)->GetHotState(), 1);
}

TEST_F(VyGroupBarTest, OutlookCaptionsAreGroovedButtonsOverWhiteGroups) {
  TMemoryPaint paint(g[1]);
  const TColor shadow = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  EXPECT_EQ(TColor(paint.At(0, 0)), shadow) << "groove: shadow outside at the top left";
  EXPECT_EQ(TColor(paint.At(1, 1)), light);
  EXPECT_EQ(TColor(paint.At(g[1]->GetWidth() - 1, 10)), light) << "groove: light outside at the right";
  EXPECT_EQ(TColor(paint.At(4, 10)), TColor(15790320)) << "the caption's own colour inside";
  TMemoryPaint open(g[0]);
  EXPECT_EQ(TColor(open.At(g[0]->GetWidth() - 4, 200)), TColor(0xFFFFFF)) << "the group below is white";
}

TEST_F(VyGroupBarTest, CategoryCaptionButtonMatchesItsPixelTable) {
  bar->SetThemeAware(false);
  bar->SetStyle(gbsCategoryView);
  bar->SetUseGradients(false);
  g[1]->SetCaptionFont(g[1]->GetCaptionFont());  // keeps the colour the test reads below
  Pump(20ms);
  // Legend: R ring (the bar's colour), F fill (the caption colour), C chevron (the text).
  const char* closed[15] = {
      "....bRRRRRb....", "...RrFFFFFrR...", "..RFFFFFFFFFR..", ".RFFFFFFFFFFFR.", "brFFCCFFFCCFFrb",
      "RFFFFCCFCCFFFFR", "RFFFFFCCCFFFFFR", "RFFFFFFCFFFFFFR", "RFFFCCFFFCCFFFR", "RFFFFCCFCCFFFFR",
      "brFFFFCCCFFFFrb", ".RFFFFFCFFFFFR.", "..RFFFFFFFFFR..", "...RrFFFFFrR...", "....bRRRRRb....",
  };
  g[1]->SetOpened(false);
  ASSERT_FALSE(g[1]->GetOpened());
  TMemoryPaint paint(g[1]);
  const int x0 = g[1]->GetWidth() - 20, y0 = (g[1]->GetCaptionHeight() - 15) / 2;
  const TColor ring = ColorToRGB(bar->GetColor()), fill = ColorToRGB(g[1]->GetCaptionColor()),
               chevron = ColorToRGB(g[1]->GetCaptionFont()->GetColor());
  int checked = 0;
  for (int row = 0; row < 15; ++row) {
    for (int col = 0; col < 15; ++col) {
      const char want = closed[row][col];
      if (want != 'R' && want != 'F' && want != 'C') continue;
      const TColor expected = want == 'R' ? ring : want == 'F' ? fill : chevron;
      EXPECT_EQ(TColor(paint.At(x0 + col, y0 + row)), expected) << "row " << row << " col " << col << " " << want;
      ++checked;
    }
  }
  EXPECT_GT(checked, 150);
  // The chevrons point up on an open group: row 3 holds one chevron pixel in the middle.
  g[1]->SetOpened(true);
  TMemoryPaint opened(g[1]);
  const int x1 = g[1]->GetWidth() - 20;  // the bar's scroll bar may have narrowed the group
  EXPECT_EQ(TColor(opened.At(x1 + 7, y0 + 3)), chevron);
  EXPECT_EQ(TColor(opened.At(x1 + 4, y0 + 4)), fill);
}

TEST_F(VyGroupBarTest, RoundedCornersAtTheBarsEdgeShowTheBarsColour) {
  bar->SetThemeAware(false);
  bar->SetStyle(gbsCategoryView);
  bar->SetGroupBorderSize(0);  // the groups touch the bar's left edge
  bar->SetColor(clYellow);
  Pump(20ms);
  ASSERT_EQ(g[0]->GetLeft(), 0);
  TMemoryPaint paint(g[0]);
  for (TPoint p : {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}})
    EXPECT_EQ(TColor(paint.At(p.X, p.Y)), ColorToRGB(clYellow)) << p.X << "," << p.Y;
}

TEST_F(VyGroupBarTest, GroupIndexOutsideTheListRaisesAndKeepsTheOrder) {
  for (int bad : {-1, 3, 100}) {
    try {
      g[1]->SetGroupIndex(bad);
      ADD_FAILURE() << "no error for " << bad;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(),
                std::to_wstring(bad) + L" is an invalid GroupIndex value. GroupIndex must be between 0 and 2");
    }
    EXPECT_EQ(bar->GetGroup(1), g[1]);
  }
  g[2]->SetGroupIndex(0);
  EXPECT_EQ(bar->GetGroup(0), g[2]);
  EXPECT_EQ(bar->GetGroup(1), g[0]);
  EXPECT_THROW(bar->GetGroup(-1), EListError);
  // Only a group bar can hold a group.
  EXPECT_THROW(g[0]->SetParent(form.get()), EVyGroupBarError);
  EXPECT_EQ(g[0]->GetParent(), bar);
}

TEST_F(VyGroupBarTest, AShortBarNeverGivesTheOpenGroupANegativeHeight) {
  bar->SetHeight(30);
  Pump(10ms);
  EXPECT_EQ(g[0]->GetHeight(), 0);
  EXPECT_EQ(g[1]->GetTop(), 0);
  EXPECT_EQ(g[2]->GetTop(), 20);
}

TEST_F(VyGroupBarTest, RemovingTheOpenFirstGroupOpensTheNextFirst) {
  delete g[0];
  ASSERT_EQ(bar->GetGroupCount(), 2);
  EXPECT_TRUE(bar->GetGroup(0)->GetOpened());
  EXPECT_EQ(bar->GetGroup(0)->GetTop(), 0);
  EXPECT_GT(bar->GetGroup(0)->GetHeight(), 20);
}

TEST_F(VyGroupBarTest, RapidFireButtonsScrollTheItemsOnTheTestClock) {
  TManualClock clock;
  TClockOverride useClock(clock);
  Click(g[1], {40, 10});  // the ten items of the second group, in a bar too short for them
  bar->SetHeight(200);
  Pump(10ms);
  TVyRapidFireButton* down = g[1]->GetScrollDownButton();
  ASSERT_TRUE(down->GetVisible()) << "the items do not fit";
  EXPECT_FALSE(g[1]->GetScrollUpButton()->GetVisible());
  const TPoint at{down->GetLeft() + 8, down->GetTop() + 8};
  // Released before the first repeat: exactly one scroll.
  Press(g[1], at);
  clock.Advance(300);
  Pump(30ms);
  PumpDueTimers();
  Release(g[1], at);
  EXPECT_EQ(g[1]->GetFirstShownItem(), 1);
  EXPECT_TRUE(g[1]->GetScrollUpButton()->GetVisible());
  // Held for 650 ms: repeats at 400, 500 and 600, and once more on release.
  Press(g[1], at);
  for (int step = 0; step < 13; ++step) {
    clock.Advance(50);
    Pump(15ms);
    PumpDueTimers();
  }
  EXPECT_EQ(g[1]->GetFirstShownItem(), 4);
  Release(g[1], at);
  EXPECT_EQ(g[1]->GetFirstShownItem(), 5);
  EXPECT_FALSE(down->GetRepeatTimer()->GetEnabled());
  clock.Advance(1000);
  Pump(20ms);
  PumpDueTimers();
  EXPECT_EQ(g[1]->GetFirstShownItem(), 5) << "no repeats after the release";
}

TEST_F(VyGroupBarTest, RapidFireButtonShowsScrollArrowsAndStopsRepeatingWhenAClickFails) {
  TManualClock clock;
  TClockOverride useClock(clock);
  auto* button = new TVyRapidFireButton(form.get());
  button->SetBounds(250, 20, 17, 17);
  button->SetParent(form.get());
  button->SetScrollStyle(scsUp);
  EXPECT_EQ(button->GetGlyph()->GetWidth(), 9);
  EXPECT_EQ(button->GetGlyph()->GetHeight(), 6);
  button->SetScrollStyle(scsLeft);
  EXPECT_EQ(button->GetGlyph()->GetHeight(), 9);
  button->SetScrollStyle(scsNone);
  EXPECT_TRUE(button->GetGlyph()->Empty());
  std::vector<std::wstring> reported;
  Application->OnException = [&reported](TObject*, const std::wstring& message) { reported.push_back(message); };
  int clicks = 0;
  button->OnClick = [&clicks](TObject*) {
    if (++clicks == 2) throw Exception(L"scroll failed");
  };
  const TPoint at{258, 28};
  Press(form.get(), at);
  for (int step = 0; step < 16; ++step) {
    clock.Advance(50);
    Pump(15ms);
    PumpDueTimers();
  }
  Application->OnException = nullptr;
  EXPECT_EQ(clicks, 2) << "the failing repeat was the last";
  EXPECT_EQ(reported, std::vector<std::wstring>{L"scroll failed"});
  EXPECT_FALSE(button->GetRepeatTimer()->GetEnabled());
  Release(form.get(), at);
  EXPECT_EQ(clicks, 3) << "the release still clicks";
}

TEST_F(VyGroupBarTest, DeletingItemsClampsWhatTheGroupRemembers) {
  TVyGroup* group = g[1];
  for (int i = 0; i < 6; ++i) group->ScrollItemsDown();
  group->GetItems()->GetItem(8)->SetSelected(true);
  ASSERT_EQ(group->GetSelectedIndex(), 8);
  // The item menu of item 9, closed as soon as it shows.
  TPopupMenu menu(form.get());
  group->SetItemPopupMenu(&menu);
  std::vector<TVyGroupItem*> asked;
  group->OnItemPopupMenu = [&asked](TObject*, TVyGroupItem* item) { asked.push_back(item); };
  Click(g[1], {40, 10});
  Paint(group);
  const TPoint p = Middle(group->GetItems()->GetItem(9)->GetTextRect());
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
  SendMessageW(group->GetHandle(), WM_RBUTTONDOWN, MK_RBUTTON, At(p));
  SendMessageW(group->GetHandle(), WM_RBUTTONUP, 0, At(p));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(group->GetPopupItem(), group->GetItems()->GetItem(9));
  group->GetItems()->Delete(9);
  EXPECT_EQ(group->GetPopupItem(), nullptr) << "the deleted item is no longer the menu's";
  group->GetItems()->Delete(2);
  EXPECT_EQ(group->GetSelectedIndex(), 7) << "an item before the selected one went";
  group->GetItems()->Delete(7);
  EXPECT_EQ(group->GetSelectedIndex(), -1);
  while (group->GetItems()->Count() > 3) group->GetItems()->Delete(group->GetItems()->Count() - 1);
  EXPECT_EQ(group->GetFirstShownItem(), 2) << "the group still shows a real item";
  group->GetItems()->Clear();
  EXPECT_EQ(group->GetFirstShownItem(), 0);
  Paint(group);
}

TEST_F(VyGroupBarTest, AnExceptionFromAClickEndsAtTheWindowProcedure) {
  std::vector<std::wstring> reported;
  Application->OnException = [&reported](TObject*, const std::wstring& message) { reported.push_back(message); };
  g[0]->GetItems()->GetItem(0)->OnClick = [](TObject*) { throw Exception(L"the page failed"); };
  ClickItem(g[0], 0);
  Application->OnException = nullptr;
  EXPECT_EQ(reported, std::vector<std::wstring>{L"the page failed"});
  ClickItem(g[0], 1);
  EXPECT_EQ(form->clicked, std::vector<std::wstring>{L"Volume"}) << "the bar goes on working";
}

TEST_F(VyGroupBarTest, CategoryViewScrollsAndClampsItsPosition) {
  bar->SetStyle(gbsCategoryView);
  Pump(10ms);
  // Content smaller than the bar: the wheel leaves the position at 0.
  for (TVyGroup* group : g) group->SetOpened(false);
  SendMessageW(bar->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), 0);
  EXPECT_EQ(bar->GetScrollPosition(), 0);
  // Groups far taller than the bar (a window is at most 32767 high); the thumb is read
  // in full 32 bits.
  for (TVyGroup* group : g) {
    group->GetItems()->Clear();
    group->SetOpenedHeight(30000);
    group->SetOpened(true);
  }
  Pump(10ms);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar->GetHandle(), SB_VERT, &info);
  EXPECT_EQ(info.nMax, 3 * 30000 + 4 * bar->GetGroupBorderSize());
  SetScrollPos(bar->GetHandle(), SB_VERT, 70000, FALSE);
  SendMessageW(bar->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, WORD(70000 & 0xFFFF)), 0);
  EXPECT_EQ(bar->GetScrollPosition(), 70000);
  SendMessageW(bar->GetHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(bar->GetScrollPosition(), 70010);
  SendMessageW(bar->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(WHEEL_DELTA)), 0);
  EXPECT_EQ(bar->GetScrollPosition(), 70000);
  SendMessageW(bar->GetHandle(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(bar->GetScrollPosition(), 0);
}

TEST_F(VyGroupBarTest, CategoryGroupsCloseToTheirCaptionAndExclusiveModeKeepsOneOpen) {
  bar->SetStyle(gbsCategoryView);
  bar->SetExclusiveMode(true);
  Pump(10ms);
  EXPECT_TRUE(g[0]->GetOpened());
  EXPECT_FALSE(g[1]->GetOpened());
  EXPECT_EQ(g[1]->GetHeight(), g[1]->GetCaptionHeight());
  Click(g[1], {g[1]->GetWidth() - 12, 10});
  EXPECT_TRUE(g[1]->GetOpened());
  EXPECT_FALSE(g[0]->GetOpened()) << "opening one closes the others";
  EXPECT_EQ(g[1]->GetHeight(), g[1]->ContentHeight(g[1]->GetWidth()));
  EXPECT_EQ(g[1]->GetTop(), g[0]->GetBoundsRect().Bottom + bar->GetGroupBorderSize());
  bar->SetStyle(gbsTaskList);
  EXPECT_FALSE(bar->GetExclusiveMode());
  bar->SetExclusiveMode(true);
  EXPECT_FALSE(bar->GetExclusiveMode()) << "only the category view has it";
  EXPECT_TRUE(g[2]->GetOpened()) << "task-list sections are always open";
  EXPECT_FALSE(g[2]->GetCanClose());
}

TEST_F(VyGroupBarTest, LargeItemsMakeRoomForTheirCaptionsBelowTheImages) {
  bar->SetStyle(gbsCategoryView);
  g[0]->SetItemStyle(isLarge);
  Pump(10ms);
  Paint(g[0]);
  const TVyGroupItem* last = g[0]->GetItems()->GetItem(3);
  ASSERT_GT(last->GetTextRect().Bottom, 0);
  EXPECT_GE(g[0]->GetHeight(), last->GetTextRect().Bottom) << "the last caption is inside the group";
}

TEST_F(VyGroupBarTest, FreeingTheControllerFirstLeavesNoGroupPointingAtIt) {
  auto* controller = new TVyGroupController(nullptr);  // owned by nobody, so no notice reaches the groups
  controller->SetCaptionHeight(12);
  EXPECT_EQ(controller->GetCaptionHeight(), 16);
  g[0]->SetGroupController(controller);
  g[1]->SetGroupController(controller);
  EXPECT_EQ(g[0]->GetCaptionHeight(), 16);
  controller->SetItemHotColor(clRed);
  EXPECT_EQ(g[0]->GetItemHotColor(), clRed);
  EXPECT_EQ(g[1]->GetItemHotColor(), clRed);
  controller->BeginUpdate();
  controller->SetSelectionColor(clBlue);
  EXPECT_EQ(g[0]->GetSelectionColor(), clHighlight) << "held until EndUpdate";
  controller->EndUpdate();
  controller->EndUpdate();  // unbalanced: stays at 0
  EXPECT_EQ(g[0]->GetSelectionColor(), clBlue);
  controller->SetCaptionHeight(30);
  EXPECT_EQ(g[1]->GetCaptionHeight(), 30);
  TVyGroupController copy(nullptr);
  copy.Assign(controller);
  EXPECT_EQ(copy.GetItemHotColor(), clRed);
  EXPECT_NE(copy.GetCaptionFont(), controller->GetCaptionFont());
  delete controller;
  EXPECT_EQ(g[0]->GetGroupController(), nullptr);
  EXPECT_EQ(g[1]->GetGroupController(), nullptr);
  delete g[0];  // unregisters from nothing
  EXPECT_EQ(bar->GetGroupCount(), 2);
}

TEST_F(VyGroupBarTest, ScreenshotOfEachStyle) {
  form->SetWidth(420);
  g[0]->GetItems()->GetItem(1)->SetSelected(true);
  const struct {
    TVyGroupBarStyle style;
    const char* file;
  } styles[] = {{gbsOutlook, "group_bar_outlook.png"},
                {gbsCategoryView, "group_bar_category.png"},
                {gbsTaskList, "group_bar_tasklist.png"}};
  for (const auto& s : styles) {
    bar->SetStyle(s.style);
    if (s.style == gbsCategoryView) {
      bar->SetThemeAware(false);
      for (TVyGroup* group : g) {
        group->SetColorDefault(true);
        group->SetCaptionColorDefault(true);
      }
      g[1]->SetOpened(false);
    }
    if (s.style == gbsTaskList) bar->SetColor(clWindow);
    Pump(60ms);
    EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / s.file)) << s.file;
  }
}

}  // namespace
