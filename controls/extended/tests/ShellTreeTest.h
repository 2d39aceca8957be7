// What the shell tree's tests share: a shown form holding a shell tree rooted in a
// private folder tree under C:\, the tree's nodes found by their paths, and the
// warnings the tree shows, recorded instead of shown.
#pragma once
#include <gtest/gtest.h>

#include "controls/extended/VyShellTree.h"
#include "controls/extended/tests/ShellTestTree.h"
#include "testing/PumpApplication.h"
#include "testing/RecordedMessages.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

#include <chrono>
#include <string>
#include <vector>

namespace Vy::testing {

using qorn::testing::TRecordedMessages;

// A shell tree that watches only the folders it is told to (wine's Z: is the whole
// Linux tree).
class TTestShellTree : public TVyShellTree {
 public:
  explicit TTestShellTree(TComponent* AOwner) : TVyShellTree(AOwner) {}
  std::vector<std::wstring> watched;
  // The change notices the watch thread posted.
  int changes = 0;

 protected:
  std::vector<std::wstring> WatchedRoots() override { return watched; }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SHELLCHANGE) ++changes;
    TVyShellTree::WndProc(m);
  }
};

// Without the watch thread and OLE drop unless a test asks for them.
inline constexpr TVyShellTreeOptions kTestTreeOptions{stoAutoFill, stoDefaultKeyHandling, stoContextMenus,
                                                      stoShowHidden};

class ShellTreeTest : public ::testing::Test {
 protected:
  explicit ShellTreeTest(TVyShellTreeOptions options = kTestTreeOptions) : disk("shtree") {
    disk.Folder(L"a\\a1");
    disk.Folder(L"b");
    disk.File(L"c.txt");
    form = CreateFormNew<TForm>(Application);
    form->SetBounds(100, 100, 360, 420);
    form->SetCaption(L"Shell tree");
    tree = new TTestShellTree(form);
    tree->watched = {disk.Root()};
    tree->SetOptions(options);
    tree->SetBounds(8, 8, 330, 360);
    tree->SetHideSelection(false);
    tree->SetParent(form);
    form->Show();
    const TIdList root = disk.IdList(L"");
    tree->GetBaseFolder()->SetIdList(root.get());
    Pump(std::chrono::milliseconds(20));
  }
  ~ShellTreeTest() override {
    delete form;
    Pump(std::chrono::milliseconds(10));
  }

  TTreeNode* Root() const { return tree->GetItems()->GetFirstNode(); }
  // The node of a folder of the private tree ("" for its root); null when none.
  TTreeNode* Node(const std::wstring& relative) const {
    const std::wstring path = relative.empty() ? disk.Root() : disk.Path(relative);
    for (TTreeNode* n = Root(); n; n = n->GetNext())
      if (TVyShellTreeData* data = tree->ShellData(n); data && data->PathName() == path) return n;
    return nullptr;
  }
  static std::vector<std::wstring> Texts(const TTreeNode* parent) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < parent->Count(); ++i) texts.push_back(parent->Item(i)->GetText());
    return texts;
  }
  std::wstring SelectedPath() { return tree->SelectedPathName(); }

  TShellTestTree disk;
  TForm* form = nullptr;
  TTestShellTree* tree = nullptr;
};

}  // namespace Vy::testing
