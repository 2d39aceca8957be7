// The tree view on a real form: nodes from the form resource, texts asked for
// by the control, expanding and collapsing by keys with the events that may
// refuse or fill, clicks and GetNodeAt, a new window keeping nodes, expansion and
// selection, deletion, sorting, right-click selection and label editing.
// ctest-lock: keyboard
#include "vcl/SysUtils.h"
#include "vcl/tests/ComCtrlsTesting.h"

#include <string>
#include <vector>

namespace {

using namespace comctrls_testing;

class TreeView : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    if (!form) return;
    tree = form->TreeView1;
    wnd = tree->GetHandle();
    nodes = tree->GetItems();
  }
  // The texts of a node's children as the control shows them.
  std::vector<std::wstring> ChildTexts(TTreeNode* parent) {
    std::vector<std::wstring> out;
    auto item = reinterpret_cast<HTREEITEM>(
        parent ? SendMessageW(wnd, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent->ItemId()))
               : SendMessageW(wnd, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageW(wnd, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
      out.push_back(Text(item));
    return out;
  }
  std::wstring Text(HTREEITEM item, int size = 64) {
    std::wstring buffer(static_cast<size_t>(size), L'\0');
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = buffer.data();
    tv.cchTextMax = size;
    SendMessageW(wnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    buffer.resize(wcslen(buffer.c_str()));
    return buffer;
  }
  bool ExpandedInWindow(TTreeNode* node) {
    return SendMessageW(wnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node->ItemId()), TVIS_EXPANDED) &
           TVIS_EXPANDED;
  }
  TPoint TextCentre(TTreeNode* node) {
    const TRect r = node->DisplayRect(true);
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  TTreeNode* Find(const std::wstring& text) {
    for (TTreeNode* n = nodes->GetFirstNode(); n; n = n->GetNext())
      if (n->GetText() == text) return n;
    return nullptr;
  }
  TTreeView* tree = nullptr;
  TTreeNodes* nodes = nullptr;
  HWND wnd = nullptr;
};

TEST_F(TreeView, NodesComeFromTheFormResourceInTheirPlaces) {
  ASSERT_EQ(nodes->Count(), 7);
  EXPECT_EQ(SendMessageW(wnd, TVM_GETCOUNT, 0, 0), 7);
  EXPECT_EQ(ChildTexts(nullptr), (std::vector<std::wstring>{L"Desktop", L"Computer"}));
  TTreeNode* desktop = nodes->GetFirstNode();
  EXPECT_EQ(ChildTexts(desktop), (std::vector<std::wstring>{L"Documents", L"Music"}));
  TTreeNode* bills = Find(L"Bills");
  ASSERT_NE(bills, nullptr);
  EXPECT_EQ(bills->Level(), 2);
  EXPECT_EQ(bills->Parent()->GetText(), L"Documents");
  EXPECT_EQ(bills->AbsoluteIndex(), 3);
  EXPECT_EQ(nodes->Item(3), bills);
  EXPECT_EQ(bills->getPrevSibling()->GetText(), L"Letters");
  EXPECT_EQ(bills->getNextSibling(), nullptr);
  EXPECT_EQ(Find(L"Drive C")->GetImageIndex(), 3);
  EXPECT_THROW(nodes->Item(7), EListError);

  // A short buffer gets the start of the text and its end mark only.
  std::wstring buffer(8, L'#');
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = desktop->ItemId();
  tv.pszText = buffer.data();
  tv.cchTextMax = 4;
  SendMessageW(wnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  EXPECT_EQ(buffer, std::wstring(L"Des\0####", 8));
}

TEST_F(TreeView, KeysExpandAndCollapseThroughTheEvents) {
  TTreeNode* desktop = nodes->GetFirstNode();
  std::vector<std::wstring> seen;
  tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) { seen.push_back(L"expanding " + node->GetText()); };
  tree->OnExpanded = [&](TObject*, TTreeNode* node) { seen.push_back(L"expanded " + node->GetText()); };
  tree->OnCollapsing = [&](TObject*, TTreeNode* node, bool&) { seen.push_back(L"collapsing " + node->GetText()); };
  tree->OnCollapsed = [&](TObject*, TTreeNode* node) { seen.push_back(L"collapsed " + node->GetText()); };
  tree->SetFocus();
  desktop->SetSelected(true);
  PostKey(wnd, VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return ExpandedInWindow(desktop); }));
  EXPECT_TRUE(desktop->GetExpanded());
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"expanding Desktop", L"expanded Desktop"}));

  // (wine's control collapses even when refused, so only the events are checked here.)
  seen.clear();
  PostKey(wnd, VK_LEFT);
  EXPECT_FALSE(ExpandedInWindow(desktop));
  EXPECT_FALSE(desktop->GetExpanded());
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"collapsing Desktop", L"collapsed Desktop"}));

  // A refused expansion keeps the node closed.
  tree->OnExpanding = [&](TObject*, TTreeNode*, bool& allow) { allow = false; };
  PostKey(wnd, VK_RIGHT);
  EXPECT_FALSE(ExpandedInWindow(desktop));
}

TEST_F(TreeView, ANodeWithoutChildrenYetIsFilledWhenItOpens) {
  TTreeNode* music = Find(L"Music");
  music->SetHasChildren(true);
  tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allow) {
    if (node != music || node->Count() > 0) return;
    for (const wchar_t* name : {L"Rock", L"Jazz"}) nodes->AddChild(node, name);
    allow = true;
  };
  music->Expand(false);
  EXPECT_TRUE(ExpandedInWindow(music));
  EXPECT_EQ(ChildTexts(music), (std::vector<std::wstring>{L"Rock", L"Jazz"}));

  // A refused expansion shows nothing new.
  TTreeNode* letters = Find(L"Letters");
  letters->SetHasChildren(true);
  tree->OnExpanding = [](TObject*, TTreeNode*, bool& allow) { allow = false; };
  letters->Expand(false);
  EXPECT_FALSE(ExpandedInWindow(letters));
}

TEST_F(TreeView, ClicksSelectTheNodeUnderThePoint) {
  tree->FullExpand();
  TTreeNode* bills = Find(L"Bills");
  std::vector<TTreeNode*> changes;
  bool allow = true;
  tree->OnChanging = [&](TObject*, TTreeNode*, bool& allowChange) { allowChange = allow; };
  tree->OnChange = [&](TObject*, TTreeNode* node) { changes.push_back(node); };
  const TPoint p = TextCentre(bills);
  EXPECT_EQ(tree->GetNodeAt(p.X, p.Y), bills);
  EXPECT_EQ(tree->GetNodeAt(p.X + 150, p.Y), nullptr) << "right of the text is no node";
  EXPECT_EQ(tree->GetNodeAt(5, 400), nullptr);
  int clicks = 0;
  tree->OnClick = [&](TObject*) { ++clicks; };
  PostClick(wnd, p.X, p.Y);
  ASSERT_TRUE(PumpUntil([&] { return tree->GetSelected() == bills; }));
  EXPECT_EQ(changes, std::vector<TTreeNode*>{bills});
  EXPECT_EQ(clicks, 1);

  int doubles = 0;
  tree->OnDblClick = [&](TObject*) { ++doubles; };
  PostMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
  ASSERT_TRUE(PumpUntil([&] { return doubles > 0; }));
  EXPECT_EQ(doubles, 1);

  allow = false;
  const TPoint q = TextCentre(Find(L"Music"));
  PostClick(wnd, q.X, q.Y);
  Pump(30ms);
  EXPECT_EQ(tree->GetSelected(), bills) << "OnChanging refused the new node";
}

TEST_F(TreeView, ANewWindowKeepsNodesExpansionSelectionAndData) {
  TTreeNode* documents = Find(L"Documents");
  TTreeNode* letters = Find(L"Letters");
  int data = 7;
  letters->SetData(&data);
  // The user opens a node and picks another, in the window only.
  SendMessageW(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(nodes->GetFirstNode()->ItemId()));
  SendMessageW(wnd, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(documents->ItemId()));
  SendMessageW(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(letters->ItemId()));
  tree->SetIndent(30);
  int changes = 0;
  tree->OnChange = [&](TObject*, TTreeNode*) { ++changes; };

  HWND old = wnd;
  tree->SetShowLines(false);
  wnd = tree->GetHandle();
  ASSERT_NE(wnd, old);
  EXPECT_FALSE(GetWindowLongW(wnd, GWL_STYLE) & TVS_HASLINES);
  EXPECT_EQ(changes, 0) << "filling the new window selects nothing by the user";
  EXPECT_EQ(SendMessageW(wnd, TVM_GETCOUNT, 0, 0), 7);
  EXPECT_TRUE(ExpandedInWindow(documents));
  EXPECT_TRUE(ExpandedInWindow(nodes->GetFirstNode()));
  EXPECT_FALSE(ExpandedInWindow(Find(L"Computer")));
  EXPECT_EQ(tree->GetSelected(), letters);
  EXPECT_EQ(nodes->NodeOf(reinterpret_cast<HTREEITEM>(SendMessageW(wnd, TVM_GETNEXTITEM, TVGN_CARET, 0))), letters);
  EXPECT_EQ(letters->GetData(), &data);
  EXPECT_EQ(tree->GetIndent(), 30);
  EXPECT_EQ(ChildTexts(documents), (std::vector<std::wstring>{L"Letters", L"Bills"}));
}

TEST_F(TreeView, DeletedNodesLeaveWithTheirChildrenAndAreReported) {
  std::vector<std::wstring> deleted;
  tree->OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(node->GetText()); };
  TTreeNode* documents = Find(L"Documents");
  Find(L"Bills")->SetSelected(true);
  documents->Delete();
  EXPECT_EQ(deleted, (std::vector<std::wstring>{L"Documents", L"Bills", L"Letters"}));
  EXPECT_EQ(SendMessageW(wnd, TVM_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(nodes->Count(), 4);
  EXPECT_EQ(ChildTexts(nodes->GetFirstNode()), std::vector<std::wstring>{L"Music"});
  EXPECT_NE(tree->GetSelected(), nullptr) << "the control moved the selection to a node that exists";

  // New nodes go where they are asked to, in the window too.
  TTreeNode* music = Find(L"Music");
  nodes->Insert(music, L"Pictures");
  nodes->AddFirst(music, L"Apps");
  EXPECT_EQ(ChildTexts(nodes->GetFirstNode()), (std::vector<std::wstring>{L"Apps", L"Pictures", L"Music"}));

  deleted.clear();
  nodes->Clear();
  EXPECT_EQ(SendMessageW(wnd, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(deleted.size(), 6u);
  EXPECT_EQ(tree->GetSelected(), nullptr);
}

TEST_F(TreeView, SortingOrdersEachLevelInTheWindowAndTheObjects) {
  TTreeNode* desktop = nodes->GetFirstNode();
  nodes->AddChild(desktop, L"Archive");
  TTreeNode* documents = Find(L"Documents");
  ASSERT_TRUE(tree->AlphaSort());
  EXPECT_EQ(ChildTexts(desktop), (std::vector<std::wstring>{L"Archive", L"Documents", L"Music"}));
  EXPECT_EQ(ChildTexts(documents), (std::vector<std::wstring>{L"Bills", L"Letters"}));
  EXPECT_EQ(desktop->Item(0)->GetText(), L"Archive");
  EXPECT_EQ(documents->getFirstChild()->GetText(), L"Bills");

  // Reversed through OnCompare, top level only.
  tree->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, intptr_t, int& compare) {
    compare = -CompareText(a->GetText(), b->GetText());
  };
  ASSERT_TRUE(tree->AlphaSort(false));
  EXPECT_EQ(ChildTexts(nullptr), (std::vector<std::wstring>{L"Desktop", L"Computer"}));
  EXPECT_EQ(ChildTexts(desktop), (std::vector<std::wstring>{L"Archive", L"Documents", L"Music"}));
  EXPECT_EQ(nodes->GetFirstNode()->GetText(), L"Desktop");
}

TEST_F(TreeView, ARightClickAnswersTheClickedNodeAsSelected) {
  tree->FullExpand();
  TTreeNode* bills = Find(L"Bills");
  Find(L"Music")->SetSelected(true);
  tree->SetRightClickSelect(true);
  TTreeNode* duringMenu = nullptr;
  int menus = 0;
  tree->OnContextPopup = [&](TObject*, TPoint, bool& handled) {
    ++menus;
    duringMenu = tree->GetSelected();
    handled = true;
  };
  const TPoint p = TextCentre(bills);
  PostClick(wnd, p.X, p.Y, true);
  ASSERT_TRUE(PumpUntil([&] { return menus > 0; }));
  EXPECT_EQ(duringMenu, bills);
  EXPECT_EQ(tree->GetSelected()->GetText(), L"Music") << "afterwards the selection is the real one";

  tree->SetRightClickSelect(false);
  PostClick(wnd, p.X, p.Y, true);
  ASSERT_TRUE(PumpUntil([&] { return menus > 1; }));
  EXPECT_EQ(duringMenu->GetText(), L"Music");
}

TEST_F(TreeView, LabelsAreEditedThroughTheEvents) {
  tree->SetFocus();
  TTreeNode* desktop = nodes->GetFirstNode();
  bool allow = false;
  tree->OnEditing = [&](TObject*, TTreeNode*, bool& allowEdit) { allowEdit = allow; };
  tree->OnEdited = [&](TObject*, TTreeNode* node, std::wstring& s) {
    EXPECT_EQ(node, desktop);
    s = L"[" + s + L"]";
  };
  EXPECT_FALSE(desktop->EditText()) << "OnEditing refused";
  allow = true;
  ASSERT_TRUE(desktop->EditText());
  EXPECT_TRUE(tree->IsEditing());
  HWND edit = reinterpret_cast<HWND>(SendMessageW(wnd, TVM_GETEDITCONTROL, 0, 0));
  SetWindowTextW(edit, L"Home");
  desktop->EndEdit(false);
  Pump(20ms);
  EXPECT_EQ(desktop->GetText(), L"[Home]");
  EXPECT_EQ(Text(desktop->ItemId()), L"[Home]");

  ASSERT_TRUE(desktop->EditText());
  SetWindowTextW(reinterpret_cast<HWND>(SendMessageW(wnd, TVM_GETEDITCONTROL, 0, 0)), L"Lost");
  desktop->EndEdit(true);
  Pump(20ms);
  EXPECT_EQ(desktop->GetText(), L"[Home]") << "a cancelled edit changes nothing";

  tree->SetReadOnly(true);
  EXPECT_FALSE(desktop->EditText());
}

TEST_F(TreeView, NodesLiveWithoutAWindowAndGoWithTheTree) {
  tree->DestroyHandle();
  TTreeNode* added = nodes->AddChild(nullptr, L"Network");
  added->Expand(false);
  added->SetSelected(true);
  EXPECT_TRUE(added->GetExpanded());
  EXPECT_EQ(tree->GetSelected(), added);
  EXPECT_EQ(tree->GetNodeAt(10, 10), nullptr);
  wnd = tree->GetHandle();
  EXPECT_EQ(ChildTexts(nullptr), (std::vector<std::wstring>{L"Desktop", L"Computer", L"Network"}));
  EXPECT_EQ(tree->GetSelected(), added);

  std::vector<std::wstring> deleted;
  tree->OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(node->GetText()); };
  delete form->TreeView1;
  form->TreeView1 = nullptr;
  EXPECT_EQ(deleted.size(), 8u) << "every node is reported as the tree goes";
}

}  // namespace
