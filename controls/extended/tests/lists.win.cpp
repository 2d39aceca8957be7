// The framed lists of the extended controls on a form read from its resource
// (TestVyListsForm.form): the key list with its group bands and incremental search,
// the check list, the report views; screenshots/vy-lists.png shows the form.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyListVw.h"
#include "controls/extended/VyLstBox.h"
#include "controls/extended/VyTreeVw.h"
#include "controls/extended/tests/VyListsFormTest.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

using namespace Vy;
using namespace std::chrono_literals;

namespace {

// A list that counts its beeps and its measured lines instead of sounding.
class TCountingListBox : public TVyListBox {
 public:
  explicit TCountingListBox(TComponent* AOwner) : TVyListBox(AOwner) {}
  int beeps = 0;
  int measured = 0;
  // The width of a text in the list's font.
  struct TMeasure {
    explicit TMeasure(TCountingListBox* list) : dc(list->GetFont()) {}
    int Of(const std::wstring& s) { return dc.Canvas()->TextWidth(s); }
    TMeasureDC dc;
  };

 protected:
  void Beep() override { ++beeps; }
  int ItemExtent(TCanvas* canvas, const std::wstring& line) override {
    ++measured;
    return TVyListBox::ItemExtent(canvas, line);
  }
};

// The framed tree view publishes nothing: the shell tree does, later.
class TShotTree : public TVyCustomTreeView {
 public:
  explicit TShotTree(TComponent* AOwner) : TVyCustomTreeView(AOwner) {}
};

class VyLists : public VyListsFormTest {
 protected:
  TCountingListBox* MakeList(std::initializer_list<const wchar_t*> lines) {
    auto* list = new TCountingListBox(form);
    list->SetParent(form);
    list->SetBounds(260, 8, 200, 120);
    for (const wchar_t* line : lines) list->GetItems()->Add(line);
    list->HandleNeeded();
    return list;
  }
  static void Type(TWinControl* c, const std::wstring& text) {
    for (wchar_t ch : text) SendMessageW(c->GetHandle(), WM_CHAR, ch, 0);
  }
  static int WindowSelection(TWinControl* c) {
    return static_cast<int>(SendMessageW(c->GetHandle(), LB_GETCURSEL, 0, 0));
  }
};

TEST_F(VyLists, KeyListDrawsGroupBandsAndEveryBindingByItsOwner) {
  auto* keys = Find<TVyListBox>(L"keys");
  ASSERT_TRUE(keys);
  EXPECT_TRUE(keys->IsGroup(0));
  EXPECT_FALSE(keys->IsGroup(1));
  EXPECT_EQ(keys->FindGroup(6), 4) << "Volume down lies under //Volume";
  // A binding is named by the user: "//" at its start does not make it a band.
  const int binding = keys->Add(L"//comment key");
  EXPECT_FALSE(keys->IsGroup(binding));
  std::vector<int> drawn;
  keys->OnDrawItem = [&](TObject*, int index, TRect, TOwnerDrawState) { drawn.push_back(index); };
  keys->SetTopIndex(4);
  RedrawWindow(keys->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), binding), drawn.end()) << "the binding is drawn by its owner";
  EXPECT_EQ(std::find(drawn.begin(), drawn.end(), 8), drawn.end()) << "//Programs is a band, not an item";
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), 9), drawn.end());
}

TEST_F(VyLists, IncrementalSearchTakesWhatIsTypedWithinASecondAndAHalf) {
  TManualClock clock;
  TClockOverride use(clock);
  auto* list = MakeList({L"Notepad", L"next track", L"Mail", L"Mute", L"Calculator"});
  struct Step {
    const wchar_t* typed;
    int waitMs;  // before typing
    int selected;
    const wchar_t* searchText;
    int beeps;
  } steps[] = {
      {L"N", 0, 0, L"N", 0},    {L"E", 0, 1, L"NE", 0},                             // any letter case
      {L"q", 0, 1, L"NE", 1},                                                       // a miss beeps and keeps the text
      {L"m", 1600, 2, L"m", 1},                                                     // later: searched alone
      {L"u", 100, 3, L"mu", 1}, {L"\b", 100, 2, L"m", 1}, {L"\b", 100, 0, L"", 1},  // emptied: the first line
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "typed " << int(s.typed[0]));
    clock.Advance(s.waitMs);
    Pump(30ms);
    PumpDueTimers();
    Type(list, s.typed);
    EXPECT_EQ(list->GetItemIndex(), s.selected);
    EXPECT_EQ(WindowSelection(list), s.selected);
    EXPECT_EQ(list->SearchText(), s.searchText);
    EXPECT_EQ(list->beeps, s.beeps);
  }
  Type(list, L"\x1b");
  EXPECT_EQ(list->GetItemIndex(), -1) << "Escape selects nothing";
}

TEST_F(VyLists, ABlankIsSwallowedInAMultiSelectListWithoutExtendedSelection) {
  auto* list = MakeList({L" one", L"two"});
  list->SetMultiSelect(true);
  list->SetExtendedSelect(false);
  Type(list, L" ");
  EXPECT_EQ(list->SearchText(), L"");
  EXPECT_EQ(list->GetSelCount(), 0);
  EXPECT_EQ(list->beeps, 0);
}

TEST_F(VyLists, DeleteKeepsASelectionAndSelectedItemReadsIt) {
  struct Case {
    int selected;
    int deleted;
    int count;  // lines before
    int after;
    int clicks;
  } cases[] = {
      {1, 1, 3, 1, 1},    // the same place
      {2, 2, 3, 1, 1},    // the last went: the one before
      {-1, 0, 3, -1, 0},  // nothing selected: nothing
      {0, 0, 1, -1, 0},   // the list became empty
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.selected << " " << c.deleted << " " << c.count);
    auto* list = MakeList({});
    for (int i = 0; i < c.count; ++i) list->Add(L"line " + std::to_wstring(i));
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    list->SetItemIndex(c.selected);
    list->Delete(c.deleted);
    EXPECT_EQ(list->GetItemIndex(), c.after);
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(list->SelectedItem(), c.after < 0 ? L"" : list->GetItems()->Get(c.after));
    delete list;
  }
}

TEST_F(VyLists, TheWheelScrollsAPageInOneScreenAtATimeMode) {
  auto* list = MakeList({});
  for (int i = 0; i < 100; ++i) list->Add(L"line " + std::to_wstring(i));
  UINT saved = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
  struct Restore {
    UINT lines;
    ~Restore() { SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0); }
  } restore{saved};
  const int page = list->GetClientHeight() / list->GetItemHeight();
  ASSERT_GT(page, 1);
  list->SetFocus();
  SendMessageW(list->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(list->GetTopIndex(), page);
  SendMessageW(list->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(list->GetTopIndex(), 0);
  SendMessageW(list->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(list->GetTopIndex(), 0) << "never above the top";
}

TEST_F(VyLists, TheScrollableWidthFollowsTheWidestLineAndStopsAtTheWindowsLimit) {
  auto* folders = Find<TVyListBox>(L"folderslist");
  ASSERT_TRUE(folders);
  auto extent = [&] { return static_cast<int>(SendMessageW(folders->GetHandle(), LB_GETHORIZONTALEXTENT, 0, 0)); };
  folders->Add(L"C:\\Pictures");
  const int short_ = extent();
  EXPECT_GT(short_, 0);
  folders->Add(L"D:\\A much longer folder name for wallpapers\\and more");
  const int long_ = extent();
  EXPECT_GT(long_, short_);
  const std::wstring huge(20000, L'W');
  folders->Add(huge);
  EXPECT_EQ(extent(), 65535) << "held at the window's limit, not wrapped";
  EXPECT_EQ(folders->GetHorzExtent(), 65535);
  folders->Delete(2);
  EXPECT_EQ(extent(), long_) << "the widest that is left";
  folders->GetItems()->Clear();
  EXPECT_EQ(extent(), 0);
}

TEST_F(VyLists, ALongLineReadsBackWholeAndItemDataStaysPointerSized) {
  auto* list = MakeList({});
  const std::wstring line(10000, L'k');
  auto* data = reinterpret_cast<void*>(uintptr_t(0x123456789ABCull));
  const int index = list->GetItems()->AddObject(line, data);
  list->SetItemIndex(index);
  EXPECT_EQ(list->SelectedItem(), line);
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETTEXTLEN, index, 0), 10000);
  list->SetSorted(true);
  list->SetFrameVisible(true);  // a new window
  EXPECT_EQ(list->GetItems()->GetObject(list->IndexOf(line)), data);
}

TEST_F(VyLists, FillingLinesMeasuresEachOnce) {
  auto* list = MakeList({});
  list->SetHorzScrollBar(true);
  list->measured = 0;
  for (int i = 0; i < 300; ++i) list->Add(L"line " + std::to_wstring(i));
  EXPECT_EQ(list->measured, 300) << "a line added measures that line alone";
  // The settings window fills its lists inside an update: drawn and measured once.
  list->measured = 0;
  list->GetItems()->BeginUpdate();
  for (int i = 0; i < 10000; ++i) list->Add(L"binding " + std::to_wstring(i));
  EXPECT_EQ(list->measured, 0);
  list->GetItems()->EndUpdate();
  EXPECT_EQ(list->GetItems()->Count(), 10300);
  EXPECT_EQ(list->measured, 10300) << "one pass at the end";
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETCOUNT, 0, 0), 10300);
  TCountingListBox::TMeasure measure(list);
  int widest = 0;
  for (int i = 0; i < list->GetItems()->Count(); ++i)
    widest = std::max(widest, measure.Of(list->GetItems()->Get(i) + L"x"));
  EXPECT_EQ(list->GetHorzExtent(), widest);
}

TEST_F(VyLists, ColoursFollowFocusAndEnabledState) {
  auto* skins = Find<TVyListBox>(L"PopupSkinList");
  auto* keys = Find<TVyListBox>(L"keys");
  ASSERT_TRUE(skins && keys);
  skins->SetFocusColor(clYellow);
  skins->SetDisabledColor(clSilver);
  keys->SetFocus();
  Pump(20ms);
  EXPECT_EQ(skins->GetColor(), clWhite);
  skins->SetFocus();
  Pump(20ms);
  EXPECT_EQ(skins->GetColor(), clYellow);
  keys->SetFocus();
  Pump(20ms);
  EXPECT_EQ(skins->GetColor(), clWhite);
  skins->SetEnabled(false);
  EXPECT_EQ(skins->GetColor(), clSilver);
  skins->SetEnabled(true);
  EXPECT_EQ(skins->GetColor(), clWhite);
}

TEST_F(VyLists, TheFrameIsPaintedOverTheBorderAndLightsWhileHot) {
  auto* keys = Find<TVyListBox>(L"keys");
  ASSERT_TRUE(keys);
  auto pixel = [&](int x, int y) {
    RedrawWindow(keys->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetWindowDC(keys->GetHandle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(keys->GetHandle(), dc);
    return TColor(c);
  };
  Find<TVyListBox>(L"PopupSkinList")->SetFocus();
  Pump(20ms);
  const int mid = keys->GetHeight() / 2;
  EXPECT_EQ(pixel(0, mid), TColor(12500670)) << "fsFlat: one ring in FrameColor";
  EXPECT_EQ(pixel(1, mid), clWhite) << "then the list's own colour over the sunken edge";
  keys->SetFrameHotTrack(true);
  keys->SetFrameHotColor(clRed);
  keys->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(keys->FrameIsHot());
  EXPECT_EQ(pixel(0, mid), clRed) << "fsFlatBold while hot: two rings";
  EXPECT_EQ(pixel(1, mid), clRed);
  keys->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(keys->FrameIsHot());
  EXPECT_EQ(pixel(1, mid), clWhite);
}

TEST_F(VyLists, FormShot) {
  auto* keys = Find<TVyListBox>(L"keys");
  auto* folders = Find<TVyListBox>(L"folderslist");
  auto* programs = Find<TVyListView>(L"ListExceptProgs");
  auto* table = Find<TVyListView>(L"pfltable");
  ASSERT_TRUE(keys && folders && programs && table);
  keys->SetItemIndex(2);
  folders->Add(L"C:\\Users\\Public\\Pictures");
  folders->Add(L"D:\\Wallpapers");
  for (auto [name, folder] : {std::pair{L"game.exe", L"C:\\Games"}, std::pair{L"player.exe", L"C:\\Media"}}) {
    TListItem* item = programs->GetItems()->Add();
    item->SetCaption(name);
    item->SubItems()->Add(folder);
  }
  for (auto [key, count] : {std::pair{L"Volume up", L"120"}, std::pair{L"Mute", L"8"}, std::pair{L"Play", L"57"}}) {
    TListItem* item = table->GetItems()->Add();
    item->SetCaption(key);
    item->SubItems()->Add(count);
  }
  table->SetSortColumn(0);
  auto* tree = new TShotTree(form);
  tree->SetParent(form);
  tree->SetBounds(256, 334, 230, 146);
  tree->SetFrameVisible(true);
  tree->SetHideSelection(false);
  TTreeNode* media = tree->GetItems()->Add(nullptr, L"Media");
  tree->GetItems()->AddChild(media, L"Play or pause");
  TTreeNode* stop = tree->GetItems()->AddChild(media, L"Stop");
  tree->GetItems()->Add(nullptr, L"Programs");
  media->SetExpanded(true);
  tree->SetSelected(stop);
  keys->SetFocus();
  Pump(60ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-lists.png"));
}

}  // namespace
