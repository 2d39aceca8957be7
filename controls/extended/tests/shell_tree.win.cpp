// The shell tree over wine's shell32 and private folders under C:\: filled folder
// by folder, a folder selected by its ID list (never one outside the base), the
// file system's changes merged in keeping expansion and selection, renaming in
// place (a name longer than the volume takes is refused, never cut), and new
// folders (none without a folder to put them in, one warning for a real failure).
#include "controls/extended/VyShellDragDrop.h"
#include "controls/extended/VyShellIdList.h"
#include "controls/extended/VyShellList.h"
#include "vcl/Clock.h"
#include "controls/extended/tests/ShellTreeTest.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace Vy;
using namespace Vy::testing;
using Strings = std::vector<std::wstring>;

namespace {

namespace fs = std::filesystem;

// An icon as drawn on white, pixel by pixel.
std::vector<DWORD> Pixels(HICON icon) {
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = 16;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT r{0, 0, 16, 16};
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawIconEx(dc, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 256);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

class VyShellTree : public ShellTreeTest {
 protected:
  // Renames the node in place as the user does: the edit box, its text, Enter.
  void RenameByEdit(TTreeNode* node, const std::wstring& name) {
    ASSERT_TRUE(node->EditText());
    HWND edit = reinterpret_cast<HWND>(SendMessageW(tree->GetHandle(), TVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, name.c_str());
    SendMessageW(tree->GetHandle(), TVM_ENDEDITLABELNOW, FALSE, 0);
  }
};

TEST_F(VyShellTree, FillsFolderByFolderFromTheBase) {
  TTreeNode* root = Root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetText(), fs::path(disk.Root()).filename().wstring());
  EXPECT_EQ(Texts(root), (Strings{L"a", L"b"})) << "folders only, in the shell's order";
  EXPECT_EQ(SelectedPath(), disk.Root());
  TTreeNode* a = Node(L"a");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->GetHasChildren());
  EXPECT_EQ(a->Count(), 0) << "filled when opened";
  a->Expand(false);
  EXPECT_EQ(Texts(a), (Strings{L"a1"}));
  // Wine's shell says every folder may have subfolders: opening tells.
  TTreeNode* b = Node(L"b");
  b->Expand(false);
  EXPECT_FALSE(b->GetHasChildren()) << "an empty folder loses its button";
  EXPECT_GE(root->GetImageIndex(), 0);
}

TEST_F(VyShellTree, ShowsTheShellsOwnIcons) {
  // The overlays the tree adds to the shell's lists must not shift the icons the
  // shell adds after them.
  TTreeNode* a = Node(L"a");
  tree->Invalidate();
  Pump(std::chrono::milliseconds(30));
  ASSERT_GE(a->GetImageIndex(), 0);
  // The icon where the shell says the folder's icon lives, read from there.
  SHFILEINFOW info{};
  ASSERT_TRUE(SHGetFileInfoW(disk.Path(L"a").c_str(), 0, &info, sizeof(info), SHGFI_ICONLOCATION | SHGFI_SMALLICON));
  HICON own = nullptr;
  ASSERT_EQ(ExtractIconExW(info.szDisplayName, info.iIcon, nullptr, &own, 1), 1u);
  HICON drawn = ImageList_GetIcon(GetSystemImageListHandle(TSystemImageSize::Small), a->GetImageIndex(), ILD_NORMAL);
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(Pixels(drawn), Pixels(own)) << "the folder's own icon";
  DestroyIcon(drawn);
  DestroyIcon(own);
}

TEST_F(VyShellTree, SelectsAFolderAddingTheNodesOnItsWay) {
  const TIdList target = disk.IdList(L"a\\a1");
  TVyShellLocator wanted;
  wanted.SetIdList(target.get());
  tree->SetSelectedFolder(&wanted);
  EXPECT_EQ(SelectedPath(), disk.Path(L"a\\a1"));
  EXPECT_TRUE(Node(L"a")->GetExpanded());
  EXPECT_EQ(CompareIdLists(tree->GetSelectedFolder()->GetIdList(), target.get()), 0);
  tree->GoUp(5);
  EXPECT_EQ(tree->GetSelected(), Root()) << "up no further than the root";
}

TEST_F(VyShellTree, ALinkedListFollowsAChoiceAtOnceAndAKeyboardStepOnceItSettles) {
  TManualClock clock;
  TClockOverride useClock(clock);
  auto* list = new TVyShellList(form);
  list->SetBounds(8, 372, 330, 30);
  list->SetParent(form);
  Root()->SetSelected(true);
  tree->SetShellList(list);
  EXPECT_EQ(list->GetLinkedTree(), static_cast<IVyShellListTree*>(tree));
  EXPECT_EQ(list->FolderPath(), disk.Root()) << "linked, the list shows the selected folder";

  // Walking the tree with the arrows: the list waits until the walk stops.
  tree->SetFocus();
  SendMessageW(tree->GetHandle(), WM_KEYDOWN, VK_DOWN, 0x00500001);
  SendMessageW(tree->GetHandle(), WM_KEYUP, VK_DOWN, 0xC0500001);
  ASSERT_EQ(SelectedPath(), disk.Path(L"a"));
  EXPECT_EQ(list->FolderPath(), disk.Root());
  clock.Advance(499);
  Pump(std::chrono::milliseconds(20));
  EXPECT_EQ(list->FolderPath(), disk.Root());
  clock.Advance(1);
  ASSERT_TRUE(PumpUntil([&] { return list->FolderPath() == disk.Path(L"a"); }));

  // A navigation is a choice: no wait.
  const TIdList target = disk.IdList(L"b");
  tree->SetSelectedFolderIdList(target.get());
  EXPECT_EQ(list->FolderPath(), disk.Path(L"b"));
  // Its own folder again (the list's up and back) still reaches the list.
  list->ShowTreeFolder(disk.IdList(L"a").get());
  tree->SetSelectedFolderIdList(target.get());
  EXPECT_EQ(list->FolderPath(), disk.Path(L"b"));

  // A list that goes unlinks itself; a tree that goes unlinks its list.
  delete list;
  EXPECT_EQ(tree->GetShellList(), nullptr);
  auto* second = new TVyShellList(form);
  second->SetParent(form);
  tree->SetShellList(second);
  EXPECT_EQ(second->GetLinkedTree(), static_cast<IVyShellListTree*>(tree));
  delete tree;
  tree = nullptr;
  EXPECT_EQ(second->GetLinkedTree(), nullptr);
}

TEST_F(VyShellTree, AFolderOutsideTheBaseSelectsTheRootOnly) {
  TShellTestTree other("shother");
  other.Folder(L"x\\y");
  Node(L"a")->SetSelected(true);
  const TIdList outside = other.IdList(L"x\\y");
  tree->GotoIdList(outside.get());
  EXPECT_EQ(tree->GetSelected(), Root());
  EXPECT_EQ(Texts(Root()), (Strings{L"a", L"b"})) << "nothing of the other folder is added";
  EXPECT_EQ(Node(L"a")->Count(), 0);
}

TEST_F(VyShellTree, RefreshMergesChangesKeepingExpansionAndMovingTheSelectionUp) {
  Node(L"a")->Expand(false);
  Node(L"b")->Expand(false);
  Node(L"a\\a1")->SetSelected(true);
  ASSERT_EQ(SelectedPath(), disk.Path(L"a\\a1"));
  fs::remove(disk.Path(L"a\\a1"));
  disk.Folder(L"b\\new");
  disk.Folder(L"d");
  std::vector<TTreeNode*> changed;
  tree->OnChange = [&](TObject*, TTreeNode* node) { changed.push_back(node); };
  tree->RefreshNodes();
  EXPECT_EQ(Texts(Root()), (Strings{L"a", L"b", L"d"}));
  EXPECT_TRUE(Node(L"a")->GetExpanded());
  EXPECT_EQ(Node(L"a")->Count(), 0);
  EXPECT_EQ(Texts(Node(L"b")), (Strings{L"new"}));
  EXPECT_EQ(SelectedPath(), disk.Path(L"a")) << "the deleted folder's parent";
  ASSERT_FALSE(changed.empty());
  EXPECT_EQ(changed.back(), Node(L"a"));
}

TEST_F(VyShellTree, RenamesInPlaceKeepingItsChildren) {
  TTreeNode* a = Node(L"a");
  a->Expand(false);
  RenameByEdit(a, L"renamed");
  EXPECT_TRUE(fs::is_directory(disk.Path(L"renamed\\a1")));
  EXPECT_FALSE(fs::exists(disk.Path(L"a")));
  EXPECT_EQ(a->GetText(), L"renamed");
  ASSERT_EQ(a->Count(), 1);
  EXPECT_TRUE(a->GetExpanded());
  EXPECT_EQ(tree->ShellData(a->Item(0))->PathName(), disk.Path(L"renamed\\a1")) << "the child follows";
}

TEST_F(VyShellTree, ANameTooLongIsRefusedNeverCut) {
  TRecordedMessages messages;
  TDialogServiceOverride use(messages);
  TTreeNode* a = Node(L"a");
  const std::wstring name(300, L'n');
  RenameByEdit(a, name);
  EXPECT_EQ(messages.texts.size(), 1u) << "the user hears why";
  EXPECT_EQ(a->GetText(), L"a");
  EXPECT_TRUE(fs::is_directory(disk.Path(L"a")));
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.Root()), fs::directory_iterator()), 3)
      << "no folder under a cut name";
}

TEST_F(VyShellTree, NewFoldersGetFreeNamesAndOpenForRenaming) {
  Root()->SetSelected(true);
  ASSERT_TRUE(tree->CreateNewFolder());
  EXPECT_TRUE(fs::is_directory(disk.Path(L"New Folder")));
  ASSERT_TRUE(tree->IsEditing());
  EXPECT_EQ(SelectedPath(), disk.Path(L"New Folder")) << "the new folder is the choice";
  SendMessageW(tree->GetHandle(), TVM_ENDEDITLABELNOW, TRUE, 0);
  Root()->SetSelected(true);
  ASSERT_TRUE(tree->CreateNewFolder());
  EXPECT_TRUE(fs::is_directory(disk.Path(L"New Folder (2)")));
  EXPECT_TRUE(tree->IsEditing());
  SendMessageW(tree->GetHandle(), TVM_ENDEDITLABELNOW, TRUE, 0);
  EXPECT_EQ(Texts(Root()), (Strings{L"a", L"b", L"New Folder", L"New Folder (2)"}));
}

TEST_F(VyShellTree, ARealFailureIsToldOnce) {
  TRecordedMessages messages;
  TDialogServiceOverride use(messages);
  Node(L"b")->SetSelected(true);
  fs::remove(disk.Path(L"b"));
  EXPECT_FALSE(tree->CreateNewFolder());
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find(L"'New Folder'"), std::wstring::npos)
      << std::string(messages.texts[0].begin(), messages.texts[0].end());
}

TEST_F(VyShellTree, KeysRefreshAndRename) {
  tree->SetFocus();
  disk.Folder(L"d");
  SendMessageW(tree->GetHandle(), WM_KEYDOWN, VK_F5, 0);
  EXPECT_NE(Node(L"d"), nullptr) << "F5 brings the tree up to date";
  Node(L"a")->SetSelected(true);
  SendMessageW(tree->GetHandle(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_TRUE(tree->IsEditing()) << "F2 opens the name";
  SendMessageW(tree->GetHandle(), TVM_ENDEDITLABELNOW, TRUE, 0);
}

TEST_F(VyShellTree, ADropIsOfferedToTheFolderUnderThePointer) {
  TComPtr<IShellFolder> rootFolder;
  const TIdList rootList = disk.IdList(L"");
  ASSERT_EQ(GetShellFolder(rootList.get(), rootFolder), S_OK);
  const TIdList file = disk.Child(L"c.txt");
  TComPtr<IDataObject> dragged(new TVyShellDataObject(rootFolder.Get(), rootList.get(), {file.get()}));
  TTreeNode* b = Node(L"b");
  const TRect r = b->DisplayRect(true);
  const TPoint at = tree->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  const POINTL point{at.X, at.Y};
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(tree->DragEnter(dragged.Get(), MK_LBUTTON | MK_CONTROL, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY)) << "the folder takes a copy (Ctrl held)";
  effect = DROPEFFECT_COPY;
  tree->DragOver(MK_LBUTTON | MK_CONTROL, point, &effect);
  EXPECT_EQ(effect & ~DWORD(DROPEFFECT_SCROLL), DWORD(DROPEFFECT_COPY));
  // Wine's folders accept the drop and do nothing with it: what the tree does around
  // it shows, the refresh after it.
  disk.Folder(L"dropped");
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(tree->Drop(dragged.Get(), MK_CONTROL, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
  EXPECT_NE(Node(L"dropped"), nullptr) << "the tree is brought up to date after a drop";
  // Over the empty space below the nodes nothing takes the drop.
  const TPoint below = tree->ClientToScreen(TPoint(r.Left, tree->GetClientHeight() - 30));
  effect = DROPEFFECT_COPY;
  tree->DragEnter(dragged.Get(), MK_LBUTTON | MK_CONTROL, POINTL{below.X, below.Y}, &effect);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
  tree->DragLeave();
}

TEST(VyShellTreeVirtual, NoFolderIsMadeWhereTheUserChoseNone) {
  TShellTestTree disk("shcwd");
  const std::wstring cwd = disk.Folder(L"cwd");
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(cwd.c_str());
  TForm* form = CreateFormNew<TForm>(Application);
  auto* tree = new TTestShellTree(form);
  tree->SetOptions(kTestTreeOptions);
  tree->SetParent(form);
  form->Show();
  tree->GetBaseFolder()->SetSpecialFolder(CSIDL_DRIVES);
  ASSERT_NE(tree->GetSelected(), nullptr);
  EXPECT_EQ(tree->SelectedPathName(), L"") << "My Computer has no path";
  EXPECT_FALSE(tree->CreateNewFolder());
  EXPECT_TRUE(std::filesystem::is_empty(cwd)) << "nothing in the current directory";
  delete form;
  SetCurrentDirectoryW(before);
}

}  // namespace
