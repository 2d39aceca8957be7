// The framed report views and tree view: the ignored-programs list and the profile
// table of TestVyListsForm.form (a last column that reaches the edge, sorting by a
// column with its arrow, refusable check boxes, context menus), and a framed tree with
// its node menus, its unfocused selection and its wheel.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyListVw.h"
#include "controls/extended/VyTreeVw.h"
#include "controls/extended/tests/VyListsFormTest.h"
#include "testing/PumpApplication.h"
#include "vcl/Menus.h"

#include <chrono>
#include <string>
#include <vector>

using namespace Vy;
using namespace std::chrono_literals;

namespace {

// A popup menu that notes where it would open instead of tracking.
class TRecordingMenu : public TPopupMenu {
 public:
  explicit TRecordingMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}
  std::vector<TPoint> shown;
  void Popup(int x, int y) override { shown.push_back(TPoint(x, y)); }
};

class TTestTree : public TVyCustomTreeView {
 public:
  explicit TTestTree(TComponent* AOwner) : TVyCustomTreeView(AOwner) {}
};

class VyViews : public VyListsFormTest {
 protected:
  static int ColumnWidth(TWinControl* view, int column) {
    return static_cast<int>(SendMessageW(view->GetHandle(), LVM_GETCOLUMNWIDTH, column, 0));
  }
  static std::vector<std::wstring> Captions(TVyListView* view) {
    std::vector<std::wstring> out;
    for (int i = 0; i < view->GetItems()->Count(); ++i) {
      wchar_t text[64] = {};
      LVITEMW item{};
      item.iSubItem = 0;
      item.pszText = text;
      item.cchTextMax = 64;
      SendMessageW(view->GetHandle(), LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
      out.push_back(text);
    }
    return out;
  }
  // A click on a header section, as the user gives it.
  static void ClickColumn(TVyListView* view, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(view->GetHandle(), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
    Pump(10ms);
  }
  TTestTree* MakeTree() {
    auto* tree = new TTestTree(form);
    tree->SetParent(form);
    tree->SetBounds(8, 420, 240, 90);
    tree->SetHideSelection(false);
    TTreeNode* media = tree->GetItems()->Add(nullptr, L"Media");
    tree->GetItems()->AddChild(media, L"Play");
    tree->GetItems()->AddChild(media, L"Stop");
    tree->GetItems()->Add(nullptr, L"Programs");
    media->SetExpanded(true);
    return tree;
  }
};

TEST_F(VyViews, TheLastColumnReachesTheRightEdge) {
  auto* programs = Find<TVyListView>(L"ListExceptProgs");
  ASSERT_TRUE(programs);
  const int client = programs->GetClientWidth();
  EXPECT_EQ(ColumnWidth(programs, 1), client - 120 - GetSystemMetrics(SM_CXVSCROLL))
      << "no items yet: a scroll bar's width kept free";
  TListItem* item = programs->GetItems()->Add();
  item->SetCaption(L"game.exe");
  item->SubItems()->Add(L"C:\\Games");
  programs->SetBounds(programs->GetLeft(), programs->GetTop(), programs->GetWidth() + 40, programs->GetHeight());
  EXPECT_EQ(ColumnWidth(programs, 1), programs->GetClientWidth() - 120);
  programs->Column(0)->SetWidth(programs->GetClientWidth() - 2);
  programs->SetBounds(programs->GetLeft(), programs->GetTop(), programs->GetWidth() - 1, programs->GetHeight());
  EXPECT_EQ(ColumnWidth(programs, 1), 5) << "4 or less left: 5";
}

TEST_F(VyViews, ThreeClicksOnAColumnSortUpDownUpWithEmptyTextsLast) {
  auto* table = Find<TVyListView>(L"pfltable");
  ASSERT_TRUE(table);
  for (const wchar_t* key : {L"beta", L"", L"Alpha", L"gamma"}) table->GetItems()->Add()->SetCaption(key);
  using V = std::vector<std::wstring>;
  ClickColumn(table, 0);
  EXPECT_EQ(Captions(table), (V{L"Alpha", L"beta", L"gamma", L""}));
  EXPECT_EQ(table->GetSortColumn(), 0);
  EXPECT_FALSE(table->GetSortDescending());
  ClickColumn(table, 0);
  EXPECT_EQ(Captions(table), (V{L"", L"gamma", L"beta", L"Alpha"}));
  EXPECT_TRUE(table->GetSortDescending());
  ClickColumn(table, 0);
  EXPECT_EQ(Captions(table), (V{L"Alpha", L"beta", L"gamma", L""}));
}

TEST_F(VyViews, TheSortArrowIsDrawnInTheOwnerDrawnHeader) {
  auto* table = Find<TVyListView>(L"pfltable");
  ASSERT_TRUE(table);
  HWND header = reinterpret_cast<HWND>(SendMessageW(table->GetHandle(), LVM_GETHEADER, 0, 0));
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_TRUE(item.fmt & HDF_OWNERDRAW);
  auto shadowPixels = [&] {
    RECT r{};
    GetClientRect(header, &r);
    TBitmap shot;
    shot.SetSize(r.right, r.bottom);
    SendMessageW(header, WM_PRINT, reinterpret_cast<WPARAM>(shot.GetCanvas()->GetHandle()), PRF_CLIENT);
    RECT section{};
    SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&section));
    int count = 0;
    for (int x = section.left; x < section.right; ++x)
      for (int y = 0; y < r.bottom; ++y)
        if (shot.GetCanvas()->GetPixel(x, y) == ColorToRGB(clBtnShadow)) ++count;
    return count;
  };
  const int before = shadowPixels();
  table->SetSortColumn(0);
  EXPECT_GT(shadowPixels(), before + 3) << "an arrow beside the caption";
}

TEST_F(VyViews, ARefusedCheckChangeKeepsTheBox) {
  auto* view = new TVyListView(form);
  view->SetParent(form);
  view->SetBounds(8, 420, 200, 80);
  view->SetViewStyle(vsReport);
  view->SetCheckboxes(true);
  view->GetColumns()->Add()->SetCaption(L"Name");
  TListItem* item = view->GetItems()->Add();
  item->SetCaption(L"one");
  bool allow = false;
  int asked = 0, told = 0;
  view->OnCheckStateChanging = [&](TObject*, TListItem*, bool checked, bool& ok) {
    ++asked;
    EXPECT_TRUE(checked);
    ok = allow;
  };
  view->OnCheckStateChange = [&](TObject*, TListItem*) { ++told; };
  item->SetChecked(true);
  EXPECT_FALSE(item->GetChecked());
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(told, 0);
  allow = true;
  item->SetChecked(true);
  EXPECT_TRUE(item->GetChecked());
  EXPECT_EQ(told, 1);
}

TEST_F(VyViews, ItemMenusFromTheMouseAndTheKeyboard) {
  auto* programs = Find<TVyListView>(L"ListExceptProgs");
  ASSERT_TRUE(programs);
  auto* standard = new TRecordingMenu(form);
  auto* itemMenu = new TRecordingMenu(form);
  programs->SetPopupMenu(standard);
  for (const wchar_t* name : {L"a.exe", L"b.exe"}) programs->GetItems()->Add()->SetCaption(name);
  std::vector<TListItem*> asked;
  bool suppress = false;
  programs->OnItemContextMenu = [&](TObject*, TListItem* item, TPoint, TPopupMenu*& menu) {
    asked.push_back(item);
    menu = suppress ? nullptr : (item ? itemMenu : menu);
  };
  TListItem* second = programs->GetItems()->Item(1);
  const TRect r = second->DisplayRect(drBounds);
  const TPoint at = programs->ClientToScreen(TPoint(r.Left + 5, (r.Top + r.Bottom) / 2));
  SendMessageW(programs->GetHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(at.X, at.Y));
  ASSERT_EQ(itemMenu->shown.size(), 1u);
  EXPECT_EQ(asked.back(), second);
  EXPECT_EQ(itemMenu->shown.back(), at);
  second->SetSelected(true);
  second->SetFocused(true);
  programs->SetFocus();
  SendMessageW(programs->GetHandle(), WM_KEYDOWN, VK_APPS, 0);
  ASSERT_EQ(itemMenu->shown.size(), 2u) << "the menu key";
  const TRect icon = second->DisplayRect(drIcon);
  EXPECT_EQ(itemMenu->shown.back(),
            programs->ClientToScreen(TPoint((icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2)));
  suppress = true;
  SendMessageW(programs->GetHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(at.X, at.Y));
  EXPECT_EQ(itemMenu->shown.size(), 2u);
  EXPECT_TRUE(standard->shown.empty()) << "a handler's nil shows no menu at all";
}

TEST_F(VyViews, TreeNodeMenus) {
  TTestTree* tree = MakeTree();
  auto* standard = new TRecordingMenu(form);
  auto* nodeMenu = new TRecordingMenu(form);
  tree->SetPopupMenu(standard);
  std::vector<TTreeNode*> asked;
  bool suppress = false;
  tree->OnNodeContextMenu = [&](TObject*, TTreeNode* node, TPoint, TPopupMenu*& menu) {
    asked.push_back(node);
    if (suppress) menu = nullptr;
    else if (node) menu = nodeMenu;
  };
  tree->HandleNeeded();
  // Empty space, nothing selected: no node's menu.
  const TPoint empty = tree->ClientToScreen(TPoint(200, 80));
  SendMessageW(tree->GetHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(empty.X, empty.Y));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked.back(), nullptr);
  EXPECT_TRUE(nodeMenu->shown.empty());
  EXPECT_EQ(standard->shown.size(), 1u);
  // Shift+F10 on a selected node: its menu at the middle of its text.
  TTreeNode* play = tree->GetItems()->Item(1);
  tree->SetSelected(play);
  tree->SetFocus();
  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE withShift[256];
  std::copy(std::begin(keys), std::end(keys), withShift);
  withShift[VK_SHIFT] = 0x80;
  SetKeyboardState(withShift);
  SendMessageW(tree->GetHandle(), WM_SYSKEYDOWN, VK_F10, 0);
  SetKeyboardState(keys);
  ASSERT_EQ(nodeMenu->shown.size(), 1u);
  const TRect text = play->DisplayRect(true);
  EXPECT_EQ(nodeMenu->shown.back(),
            tree->ClientToScreen(TPoint((text.Left + text.Right) / 2, (text.Top + text.Bottom) / 2)));
  EXPECT_EQ(asked.back(), play);
  suppress = true;
  const TPoint onPlay = tree->ClientToScreen(TPoint(text.Left + 2, text.Top + 2));
  SendMessageW(tree->GetHandle(), WM_CONTEXTMENU, 0, MAKELPARAM(onPlay.X, onPlay.Y));
  EXPECT_EQ(nodeMenu->shown.size(), 1u);
  EXPECT_EQ(standard->shown.size(), 1u) << "nil suppresses PopupMenu too";
}

TEST_F(VyViews, TreeWheelAndNodeData) {
  TTestTree* tree = MakeTree();
  for (int i = 0; i < 60; ++i) tree->GetItems()->Add(nullptr, L"node " + std::to_wstring(i));
  auto* data = reinterpret_cast<void*>(uintptr_t(0xFEDCBA9876ull));
  tree->GetItems()->Item(3)->SetData(data);
  EXPECT_EQ(tree->GetItems()->Item(3)->GetData(), data) << "pointer-sized";
  tree->SetFocus();
  auto top = [&] {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    GetScrollInfo(tree->GetHandle(), SB_VERT, &info);
    return info.nPos;
  };
  SendMessageW(tree->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(top(), 0) << "wheel up at the top does not scroll";
  UINT saved = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &saved, 0);
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0);
  const int page = static_cast<int>(SendMessageW(tree->GetHandle(), TVM_GETVISIBLECOUNT, 0, 0));
  SendMessageW(tree->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  const int afterPage = top();
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
  EXPECT_EQ(afterPage, page) << "one screen at a time";
}

TEST_F(VyViews, SelectOnExpandAndAutoExpandExcludeEachOther) {
  TTestTree* tree = MakeTree();
  tree->SetAutoExpand(true);
  tree->SetSelectOnExpand(true);
  EXPECT_FALSE(tree->GetAutoExpand());
  TTreeNode* programs = tree->GetItems()->Item(3);
  tree->GetItems()->AddChild(programs, L"Notepad");
  programs->SetExpanded(true);
  EXPECT_EQ(tree->GetSelected(), programs);
  tree->SetAutoExpand(true);
  EXPECT_FALSE(tree->GetSelectOnExpand());
}

}  // namespace
