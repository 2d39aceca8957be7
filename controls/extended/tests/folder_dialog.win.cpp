// The folder-selection dialog and its window over wine's shell32: the first window
// at its designed size and caption, OK giving the folder chosen and the next
// Execute starting there at the size the user left, Cancel keeping the earlier
// folder, re-entry refused, an idle cursor once the window is filled, the buttons
// following the selection, the smallest size, and the window in English and Russian
// (screenshots).
#include <gtest/gtest.h>

#include "controls/extended/VyShellDialogs.h"
#include "controls/extended/VyShellTexts.h"
#include "controls/extended/tests/ShellTestTree.h"
#include "controls/extended/tests/ShellTreeTest.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Forms.h"
#include "vcl/Timer.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace Vy;
using Vy::testing::TShellTestTree;

namespace {

// Runs the dialog, doing `inside` with its window once the window is up.
bool ExecuteWith(TVySelectFolderDialog& dialog, const std::function<void(TVySelectFolderForm&)>& inside) {
  TTimer timer(nullptr);
  timer.SetInterval(20);
  bool done = false;
  timer.OnTimer = [&](TObject*) {
    TVySelectFolderForm* form = dialog.ActiveForm();
    if (done || !form || !form->GetVisible()) return;
    done = true;
    timer.SetEnabled(false);
    inside(*form);
  };
  timer.SetEnabled(true);
  const bool result = dialog.Execute();
  EXPECT_TRUE(done) << "the window was never up";
  return result;
}

TTreeNode* NodeOfPath(TVyShellTree* tree, const std::wstring& path) {
  for (TTreeNode* n = tree->GetItems()->GetFirstNode(); n; n = n->GetNext())
    if (TVyShellTreeData* data = tree->ShellData(n); data && data->PathName() == path) return n;
  return nullptr;
}

void Press(TButton* button) { SendMessageW(button->GetHandle(), BM_CLICK, 0, 0); }

class VySelectFolder : public ::testing::Test {
 protected:
  VySelectFolder() : disk("shdialog") {
    disk.Folder(L"a\\a1");
    disk.Folder(L"b");
  }
  void Start(const std::wstring& relative) {
    const TIdList start = disk.IdList(relative);
    dialog->GetSelectedFolder()->SetIdList(start.get());
  }
  TShellTestTree disk;
  std::unique_ptr<TVySelectFolderDialog> dialog = std::make_unique<TVySelectFolderDialog>(nullptr);
};

TEST_F(VySelectFolder, OkGivesTheFolderAndTheNextRunStartsThereAtTheSizeLeft) {
  Start(L"a\\a1");
  TCursor cursorShown = crHourGlass;
  std::vector<TCursor> cursorsFilling;
  dialog->OnFormShow = [&](TObject*) {
    // Filling again, as a refresh does, shows the busy cursor meanwhile.
    TVyShellTree* tree = dialog->ActiveForm()->ShellTree;
    tree->OnFillStart = [&](TObject*) { cursorsFilling.push_back(Screen->GetCursor()); };
    tree->FillTree();
    tree->OnFillStart = nullptr;
  };
  const bool confirmed = ExecuteWith(*dialog, [&](TVySelectFolderForm& form) {
    cursorShown = Screen->GetCursor();
    EXPECT_EQ(form.GetCaption(), L"Browse for Folder");
    EXPECT_EQ(form.GetClientWidth(), 358);
    EXPECT_EQ(form.GetClientHeight(), 325);
    EXPECT_FALSE(form.BtnNewFolder->GetVisible()) << "the default options have no buttons";
    EXPECT_FALSE(form.BtnDeleteFolder->GetVisible());
    EXPECT_EQ(form.ShellTree->GetTop(), 8);
    EXPECT_EQ(form.ShellTree->SelectedPathName(), disk.Path(L"a\\a1"));
    EXPECT_FALSE(form.VyStatusBar1->GetSimpleCaption().empty());
    EXPECT_TRUE(
        qorn::testing::SaveWindowShot(form.GetHandle(), qorn::testing::ScreenshotDir() / "vy-select-folder.png"));
    TTreeNode* a = NodeOfPath(form.ShellTree, disk.Path(L"a"));
    ASSERT_NE(a, nullptr);
    a->SetSelected(true);
    form.SetBounds(form.GetLeft(), form.GetTop(), 480, 420);
    Press(form.OkBtn);
  });
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(cursorShown, crDefault) << "an idle window shows no busy cursor";
  EXPECT_EQ(Screen->GetCursor(), crDefault) << "the caller's cursor comes back";
  ASSERT_FALSE(cursorsFilling.empty());
  EXPECT_EQ(cursorsFilling.front(), crHourGlass);
  EXPECT_EQ(dialog->GetSelectedPathName(), disk.Path(L"a"));
  EXPECT_EQ(dialog->GetFormWidth(), 480);
  EXPECT_EQ(dialog->GetFormHeight(), 420);

  const bool again = ExecuteWith(*dialog, [&](TVySelectFolderForm& form) {
    EXPECT_EQ(form.GetWidth(), 480);
    EXPECT_EQ(form.GetHeight(), 420);
    EXPECT_EQ(form.ShellTree->SelectedPathName(), disk.Path(L"a"));
    if (TTreeNode* b = NodeOfPath(form.ShellTree, disk.Path(L"b"))) b->SetSelected(true);
    Press(form.CancelBtn);
  });
  EXPECT_FALSE(again);
  EXPECT_EQ(dialog->GetSelectedPathName(), disk.Path(L"a")) << "Cancel keeps the earlier folder";
}

TEST_F(VySelectFolder, AVirtualFolderGivesNoPath) {
  const bool confirmed = ExecuteWith(*dialog, [&](TVySelectFolderForm& form) {
    TVyShellTree* tree = form.ShellTree;
    TTreeNode* computer = nullptr;
    for (TTreeNode* n = tree->GetItems()->GetFirstNode()->getFirstChild(); n && !computer; n = n->getNextSibling())
      if (tree->ShellData(n)->PathName().empty()) computer = n;
    ASSERT_NE(computer, nullptr) << "My Computer is shown";
    computer->SetSelected(true);
    Press(form.OkBtn);
  });
  EXPECT_TRUE(confirmed);
  EXPECT_EQ(dialog->GetSelectedPathName(), L"");
}

TEST_F(VySelectFolder, RunningTwiceAtOnceIsRefused) {
  std::string refused;
  dialog->OnFormShow = [&](TObject*) {
    try {
      dialog->Execute();
    } catch (const Exception& e) {
      refused = e.what();
    }
  };
  ExecuteWith(*dialog, [](TVySelectFolderForm& form) { Press(form.CancelBtn); });
  EXPECT_EQ(refused, "TVySelectFolderDialog already executing");
}

TEST_F(VySelectFolder, ButtonsFollowTheSelection) {
  dialog->SetOptions(dialog->GetOptions() + TVySelectFolderDialogOptions{sfdoCreateDeleteButtons});
  const TIdList base = disk.IdList(L"");
  dialog->GetBaseFolder()->SetIdList(base.get());
  ExecuteWith(*dialog, [&](TVySelectFolderForm& form) {
    EXPECT_TRUE(form.BtnNewFolder->GetVisible());
    EXPECT_EQ(form.ShellTree->GetTop(), form.BtnNewFolder->GetTop() + form.BtnNewFolder->GetHeight() + 4);
    TTreeNode* root = form.ShellTree->GetItems()->GetFirstNode();
    EXPECT_EQ(root->GetText(), std::filesystem::path(disk.Root()).filename().wstring());
    root->SetSelected(true);
    EXPECT_TRUE(form.BtnNewFolder->GetEnabled());
    EXPECT_FALSE(form.BtnDeleteFolder->GetEnabled()) << "the root is not deleted from here";
    NodeOfPath(form.ShellTree, disk.Path(L"b"))->SetSelected(true);
    EXPECT_TRUE(form.BtnDeleteFolder->GetEnabled());
    MINMAXINFO info{};
    form.Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, TVySelectFolderForm::kMinWidth);
    EXPECT_EQ(info.ptMinTrackSize.y, TVySelectFolderForm::kMinHeight);
    // A new folder opens for its name, as the user sees it.
    root->SetSelected(true);
    form.BtnNewFolder->Click();
    EXPECT_TRUE(std::filesystem::is_directory(disk.Path(L"New Folder")));
    EXPECT_TRUE(form.ShellTree->IsEditing());
    Pump(std::chrono::milliseconds(50));
    EXPECT_TRUE(
        qorn::testing::SaveWindowShot(form.GetHandle(), qorn::testing::ScreenshotDir() / "vy-shell-tree-rename.png"));
    SendMessageW(form.ShellTree->GetHandle(), TVM_ENDEDITLABELNOW, TRUE, 0);
    Press(form.CancelBtn);
  });
}

TEST_F(VySelectFolder, SpeaksTheProgramsLanguage) {
  const TVyShellTexts english = ShellTexts();
  ShellTexts().BrowseForFolder = L"Обзор папок";
  ShellTexts().Ok = L"ОК";
  ShellTexts().Cancel = L"Отмена";
  ShellTexts().CreateFolder = L"Создать папку";
  ShellTexts().Delete = L"Удалить";
  dialog->SetOptions(dialog->GetOptions() + TVySelectFolderDialogOptions{sfdoCreateDeleteButtons});
  Start(L"a\\a1");
  ExecuteWith(*dialog, [&](TVySelectFolderForm& form) {
    EXPECT_EQ(form.GetCaption(), L"Обзор папок");
    EXPECT_EQ(form.CancelBtn->GetCaption(), L"Отмена");
    EXPECT_EQ(form.BtnNewFolder->GetCaption(), L"Создать папку");
    Pump(std::chrono::milliseconds(50));
    EXPECT_TRUE(
        qorn::testing::SaveWindowShot(form.GetHandle(), qorn::testing::ScreenshotDir() / "vy-select-folder-ru.png"));
    Press(form.CancelBtn);
  });
  ShellTexts() = english;
}

TEST(VySelectFolderState, KeptInAStreamAndAForeignStateRefused) {
  TVySelectFolderDialog dialog(nullptr);
  dialog.SetFormWidth(500);
  dialog.SetFormHeight(400);
  dialog.SetFormWindowState(wsMaximized);
  TMemoryStream stream;
  dialog.WriteFormState(stream);
  EXPECT_EQ(stream.Seek(0, soEnd), 9);
  TVySelectFolderDialog copy(nullptr);
  stream.SetPosition(0);
  copy.ReadFormState(stream);
  EXPECT_EQ(copy.GetFormWidth(), 500);
  EXPECT_EQ(copy.GetFormHeight(), 400);
  EXPECT_EQ(copy.GetFormWindowState(), wsMaximized);
  const std::uint8_t bad = 7;
  stream.SetPosition(8);
  stream.WriteBuffer(&bad, 1);
  stream.SetPosition(0);
  TVySelectFolderDialog other(nullptr);
  EXPECT_THROW(other.ReadFormState(stream), EReadError);
  EXPECT_EQ(other.GetFormWindowState(), wsNormal);
  EXPECT_EQ(other.GetFormWidth(), -1) << "nothing taken from a bad stream";
}

}  // namespace
