// The shell list over a private folder under C:\ and wine's own shell: its columns and
// order (folders first, a column both ways by header clicks), masks, opening folders
// and folder shortcuts, going up, renaming (a name too long for the folder refused
// whole), the clipboard keys, a drag over a folder item, and how it looks.
#include <gtest/gtest.h>

#include "testing/RecordedMessages.h"

#include "controls/extended/tests/VyShellListTest.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Dialogs.h"
#include "vcl/ScopeGuards.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace Vy;
using namespace Vy::testing;
using namespace std::chrono_literals;

namespace {

using TNames = std::vector<std::wstring>;

class VyShellList : public ShellListTest {
 protected:
  // A click on a header section, as the user gives it.
  void ClickColumn(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list->GetHandle(), LVM_GETHEADER, 0, 0));
    RECT r{};
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r));
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
    Pump(10ms);
  }
  // A folder "sub" and files of several sizes.
  void MakeFiles() {
    Tree().Folder(L"sub");
    Tree().File(L"b.txt", std::string(3000, 'b'));
    Tree().File(L"a.doc", std::string(10, 'a'));
    Tree().File(L"c.txt", std::string(70000, 'c'));
    Tree().File(L"d.ini", std::string(3000, 'd'));
  }
  std::wstring ShownPath() { return list->FolderPath(); }
};

TEST_F(VyShellList, ShowsTheFolderWithItsColumnsFoldersFirst) {
  MakeFiles();
  Show(L"");
  EXPECT_EQ(Names(), (TNames{L"sub", L"a.doc", L"b.txt", L"c.txt", L"d.ini"}));
  ASSERT_GE(list->GetColumns()->Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_GT(list->Column(i)->GetWidth(), 20) << i;
  // The shell's own details fill the other columns.
  const int row = RowOf(L"c.txt");
  EXPECT_FALSE(Cell(row, 1).empty()) << "size";
  EXPECT_FALSE(Cell(row, 2).empty()) << "type";
  EXPECT_FALSE(Cell(row, 3).empty()) << "modified";
  EXPECT_EQ(ShownPath(), Tree().Root());
}

TEST_F(VyShellList, HeaderClicksSortByTheColumnBothWays) {
  MakeFiles();
  Show(L"");
  ClickColumn(1);  // size: equal sizes keep their name order
  EXPECT_EQ(Names(), (TNames{L"sub", L"a.doc", L"b.txt", L"d.ini", L"c.txt"}));
  EXPECT_EQ(list->GetShellSortColumn(), 2);
  ClickColumn(1);
  EXPECT_EQ(Names(), (TNames{L"sub", L"c.txt", L"b.txt", L"d.ini", L"a.doc"}));
  EXPECT_EQ(list->GetShellSortColumn(), -2);
  EXPECT_TRUE(list->GetSortDescending());
  // Name: the first click ascending, the second descending, the third ascending again.
  ClickColumn(0);
  EXPECT_EQ(Names(), (TNames{L"sub", L"a.doc", L"b.txt", L"c.txt", L"d.ini"}));
  ClickColumn(0);
  EXPECT_EQ(Names(), (TNames{L"sub", L"d.ini", L"c.txt", L"b.txt", L"a.doc"}));
  EXPECT_EQ(list->GetSortColumn(), 0) << "the header's arrow";
  ClickColumn(0);
  EXPECT_EQ(Names(), (TNames{L"sub", L"a.doc", L"b.txt", L"c.txt", L"d.ini"}));
}

TEST_F(VyShellList, ColumnWidthsCarryOverToTheNextFolder) {
  MakeFiles();
  Show(L"");
  ASSERT_TRUE(SendMessageW(list->GetHandle(), LVM_SETCOLUMNWIDTH, 1, 150));
  SelectOnly(L"sub");
  list->OpenSelection();
  ASSERT_EQ(list->FolderPath(), Tree().Path(L"sub"));
  EXPECT_EQ(SendMessageW(list->GetHandle(), LVM_GETCOLUMNWIDTH, 1, 0), 150);
}

TEST_F(VyShellList, MasksListMatchingFilesAndEveryFolder) {
  MakeFiles();
  Tree().File(L"notes.TXT");
  Tree().File(L"report.docx");
  Show(L"");
  list->SetFileMask(L"*.txt;*.doc");
  EXPECT_EQ(Names(), (TNames{L"sub", L"a.doc", L"b.txt", L"c.txt", L"notes.TXT"}));
  // A mask no file name can match leaves the masks after it working.
  list->SetFileMask(L"a|b;*.ini");
  EXPECT_EQ(Names(), (TNames{L"sub", L"d.ini"}));
  list->SetFileMask(L"*.*");
  EXPECT_EQ(Names().size(), 7u);
}

TEST_F(VyShellList, OpensFoldersAndGoesBackUp) {
  MakeFiles();
  Tree().File(L"sub\\inner.txt");
  Show(L"");
  SelectOnly(L"sub");
  list->TypeChar(L'\r');
  EXPECT_EQ(ShownPath(), Tree().Path(L"sub"));
  EXPECT_EQ(Names(), (TNames{L"inner.txt"}));
  list->TypeChar(L'\b');
  EXPECT_EQ(ShownPath(), Tree().Root());
  EXPECT_EQ(RowOf(L"sub"), 0);

  // With navigation off neither key moves.
  list->SetOptions(list->GetOptions() | sloNoNavigation);
  list->TypeChar(L'\b');
  SelectOnly(L"sub");
  list->OpenSelection();
  EXPECT_EQ(ShownPath(), Tree().Root());
}

TEST_F(VyShellList, BackspaceInADriveRootGoesToMyComputer) {
  TIdList drive;
  ASSERT_EQ(PathToIdList(L"C:\\", drive), S_OK);
  list->GetFolder()->SetIdList(drive.get());
  list->TypeChar(L'\b');
  EXPECT_EQ(IdListToCsidl(list->GetFolder()->GetIdList()), CSIDL_DRIVES);
  EXPECT_GE(RowOf(IdListDisplayName(drive.get())), 0) << "the drive is listed there";
}

TEST_F(VyShellList, AShortcutToAFolderOpensThatFolder) {
  const std::wstring target = Tree().Folder(L"target");
  Tree().File(L"target\\inside.txt");
  {
    TComPtr<IShellLinkW> link;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()), S_OK);
    link->SetPath(target.c_str());
    TComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->Save(Tree().Path(L"to target.lnk").c_str(), TRUE), S_OK);
  }
  Show(L"");
  bool ranDefault = false;
  list->OnDefaultAction = [&](TObject*, bool& handled) {
    ranDefault = true;
    handled = true;
  };
  const int row = RowOf(L"to target");
  ASSERT_GE(row, 0) << ::testing::PrintToString(Names());
  list->OpenItem(list->GetItems()->Item(row));
  EXPECT_EQ(ShownPath(), target);
  EXPECT_EQ(Names(), (TNames{L"inside.txt"}));
  EXPECT_FALSE(ranDefault) << "the shortcut itself is not run";
}

// A tree that notes what the list asks of it, and drives the list as a tree would.
class TRecordingTree : public IVyShellListTree {
 public:
  explicit TRecordingTree(TVyCustomShellList* list) : list_(list) {}
  void GotoIdList(const ITEMIDLIST* absolute) override { shown.push_back(IdListToPath(absolute)); }
  void GoUp(int levels) override { upLevels += levels; }
  void SetSelectedFolderIdList(const ITEMIDLIST* absolute) override {
    selected.push_back(IdListToPath(absolute));
    list_->ShowTreeFolder(absolute);
  }
  void PassPendingJobs() override { ++passed; }
  std::vector<std::wstring> shown, selected;
  int upLevels = 0, passed = 0;

 private:
  TVyCustomShellList* list_;
};

TEST_F(VyShellList, ALinkedTreeSelectsWhatTheListOpens) {
  MakeFiles();
  Tree().File(L"sub\\inner.txt");
  TRecordingTree tree(list);
  list->SetLinkedTree(&tree);
  const TIdList root = Tree().IdList(L"");
  list->ShowTreeFolder(root.get());
  EXPECT_EQ(tree.shown, (TNames{Tree().Root()})) << "the tree follows a folder set on the list";
  SelectOnly(L"sub");
  list->TypeChar(L'\r');
  EXPECT_EQ(tree.selected, (TNames{Tree().Path(L"sub")}));
  EXPECT_EQ(tree.passed, 1) << "a selection the tree holds back goes first";
  EXPECT_EQ(Names(), (TNames{L"inner.txt"}));
  list->TypeChar(L'\b');
  EXPECT_EQ(tree.upLevels, 1) << "the tree goes up";

  // With the tree showing the folders, the list leaves file-system folders to it.
  list->SetOptions(list->GetOptions() | sloTreeShowsFolders);
  list->ShowTreeFolder(root.get());
  EXPECT_EQ(RowOf(L"sub"), -1);
  EXPECT_EQ(Names().size(), 4u);
  list->SetLinkedTree(nullptr);
}

// Renames through the item's edit box, as the user types.
bool RenameRow(TTestShellList* list, int row, const std::wstring& name) {
  list->SetFocus();
  HWND edit = reinterpret_cast<HWND>(SendMessageW(list->GetHandle(), LVM_EDITLABELW, WPARAM(row), 0));
  if (!edit) return false;
  SetWindowTextW(edit, name.c_str());
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  Pump(10ms);
  return true;
}

TEST_F(VyShellList, RenamesInPlaceAndRefusesANameTooLongForTheFolder) {
  MakeFiles();
  Show(L"");
  ASSERT_TRUE(RenameRow(list, RowOf(L"b.txt"), L"  renamed.txt "));
  EXPECT_TRUE(std::filesystem::exists(Tree().Path(L"renamed.txt")));
  EXPECT_FALSE(std::filesystem::exists(Tree().Path(L"b.txt")));
  EXPECT_GE(RowOf(L"renamed.txt"), 0);

  // Too long for the folder's path, though not for the Linux side beneath: refused
  // whole, nothing cut to fit.
  const std::size_t room = kMaxPathChars - 1 - (Tree().Root().size() + 1);
  const std::wstring tooLong = std::wstring(room - 4, L'n') + L"1.txt";
  ASSERT_LT(tooLong.size(), 250u);
  ASSERT_TRUE(RenameRow(list, RowOf(L"a.doc"), tooLong));
  EXPECT_TRUE(std::filesystem::exists(Tree().Path(L"a.doc")));
  for (const auto& entry : std::filesystem::directory_iterator(Tree().Root()))
    EXPECT_EQ(entry.path().filename().wstring().find(L"nnnn"), std::wstring::npos) << entry.path();
  EXPECT_GE(RowOf(L"a.doc"), 0);
}

TEST_F(VyShellList, CtrlCPutsTheSelectionOnTheClipboard) {
  MakeFiles();
  Show(L"");
  SelectOnly(L"c.txt");
  list->GetItems()->Item(RowOf(L"a.doc"))->SetSelected(true);
  list->PressKey('C', TShiftState{ssCtrl});
  TComPtr<IDataObject> clip;
  ASSERT_EQ(OleGetClipboard(clip.Put()), S_OK);
  FORMATETC f{CLIPFORMAT(CF_HDROP), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ASSERT_EQ(clip->GetData(&f, &medium), S_OK);
  std::vector<std::wstring> files;
  const UINT count = DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    wchar_t name[MAX_PATH] = {};
    DragQueryFileW(static_cast<HDROP>(medium.hGlobal), i, name, MAX_PATH);
    files.push_back(name);
  }
  ReleaseStgMedium(&medium);
  OleSetClipboard(nullptr);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (TNames{Tree().Path(L"a.doc"), Tree().Path(L"c.txt")}));

  // Ctrl+A selects every item.
  list->PressKey('A', TShiftState{ssCtrl});
  EXPECT_EQ(list->GetSelCount(), 5);
}

TEST_F(VyShellList, F2EditsTheFocusedItemsName) {
  MakeFiles();
  Show(L"");
  SelectOnly(L"c.txt");
  list->SetFocus();
  list->PressKey(VK_F2);
  HWND edit = reinterpret_cast<HWND>(SendMessageW(list->GetHandle(), LVM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(edit);
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(std::wstring(text), L"c.txt");
  SendMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
  Pump(10ms);
  EXPECT_TRUE(std::filesystem::exists(Tree().Path(L"c.txt")));
}

// Wine's folder drop target takes a drop and copies nothing: what can be seen is the
// road to the folder item's target, and the effects the list answers with.
TEST_F(VyShellList, DragsOverAFolderItemAskItsTargetWithinTheOfferedEffects) {
  MakeFiles();
  qorn::testing::TempDir elsewhere("shell-list-drop");
  const std::wstring source = (elsewhere.path() / "dropped.txt").wstring();
  qorn::testing::WriteFileBytes(source, "dropped");
  Show(L"");
  TIdList sourceFolder;
  ASSERT_EQ(PathToIdList(elsewhere.path().wstring(), sourceFolder), S_OK);
  TComPtr<IShellFolder> folder;
  ASSERT_EQ(GetShellFolder(sourceFolder.get(), folder), S_OK);
  ITEMIDLIST* child = nullptr;
  ASSERT_EQ(folder->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(L"dropped.txt"), nullptr, &child, nullptr),
            S_OK);
  const TIdList item(child);
  TComPtr<IDataObject> data(new TVyShellDataObject(folder.Get(), sourceFolder.get(), {item.get()}));

  const TRect rect = list->GetItems()->Item(RowOf(L"sub"))->DisplayRect(drLabel);
  const TPoint at = list->ClientToScreen(TPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2));
  const POINTL point{at.X, at.Y};
  // With Ctrl the folder's target asks for a copy.
  DWORD effect = DROPEFFECT_COPY;
  ASSERT_EQ(list->DragEnter(data.Get(), MK_LBUTTON | MK_CONTROL, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY | DROPEFFECT_SCROLL));
  EXPECT_TRUE(list->GetItems()->Item(RowOf(L"sub"))->DisplayRect(drBounds).Width() > 0);
  // Without it the target would move, which this drag does not offer: no drop.
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(list->DragOver(MK_LBUTTON, point, &effect), S_OK);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_SCROLL));
  effect = DROPEFFECT_COPY;
  ASSERT_EQ(list->Drop(data.Get(), MK_LBUTTON | MK_CONTROL, point, &effect), S_OK);
  EXPECT_TRUE(std::filesystem::exists(source)) << "never moved";
  EXPECT_EQ(Names().size(), 5u);
}

// Notes every message box instead of showing it.
using TRecordedBoxes = qorn::testing::TRecordedMessages;

TEST_F(VyShellList, AFailingItemIsReportedInOneBox) {
  MakeFiles();
  Show(L"");
  TRecordedBoxes boxes;
  const TDialogServiceOverride recorded(boxes);
  int added = 0;
  list->OnAddItem = [&](TObject*, IShellFolder*, const ITEMIDLIST*, const ITEMIDLIST*, unsigned, bool&) {
    if (++added == 2) throw Exception(L"the handler failed");
  };
  // As the window's message loop would meet what escapes.
  try {
    list->FillList();
  } catch (...) {
    Application->HandleException(list);
  }
  EXPECT_EQ(boxes.texts, (TNames{L"Exception in AddNewShellItem"}));
  EXPECT_EQ(Names().size(), 1u) << "the fill stopped at the failing item";
}

TEST_F(VyShellList, LooksLikeAFileList) {
  Tree().Folder(L"Pictures");
  const struct {
    const wchar_t* name;
    std::size_t size;
  } files[] = {
      {L"readme.txt", 1200},  {L"notes.txt", 300},    {L"budget.csv", 48000},    {L"setup.ini", 900},
      {L"photo.bmp", 250000}, {L"letter.doc", 26000}, {L"archive.zip", 1500000}, {L"script.bat", 120},
      {L"page.html", 7000},   {L"data.xml", 15000},   {L"icon.ico", 4286},       {L"tool.exe", 90000},
  };
  for (const auto& f : files) Tree().File(f.name, std::string(f.size, 'x'));
  Show(L"");
  list->SetShellSortColumn(-2);
  EXPECT_EQ(Names().size(), 13u);
  EXPECT_EQ(Names()[0], L"Pictures");
  EXPECT_EQ(Names()[1], L"archive.zip");
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-shell-list.png"));
}

}  // namespace
