// The keys page of the main window in this process, over a settings folder of its
// own: the group bar opens one page per item, a selected binding opens the page of
// its action, keys are added, renamed, reordered, switched off and deleted through
// the window with the capture dialog, the table shows the live global profile, and
// no edit is lost before it is saved.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "vcl/Win.h"

#include <chrono>
#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "actions/ActionFrames.h"
#include "actions/VolumeFrame.h"
#include "core/mainwindow/ActionPages.h"
#include "core/keys/KeyNames.h"
#include "core/mainwindow/MainWindow.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFolder.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Dialogs.h"

namespace {

using namespace std::chrono_literals;

// What the test does each time the capture dialog comes up, one step per showing,
// from a timer of the dialog's own message loop. A step ends the showing (a modal
// result); the next showing starts without one.
std::deque<std::function<void()>> dialogSteps;
void CALLBACK StepDialog(HWND, UINT, UINT_PTR, DWORD) {
  if (!MainForm) return;
  TInputForm& dialog = MainForm->InputDialog();
  if (!dialog.HandleAllocated() || !IsWindowVisible(dialog.GetHandle()) || !dialog.IsModal() ||
      dialog.GetModalResult() != mrNone)
    return;
  if (dialogSteps.empty()) {
    ADD_FAILURE() << "the dialog came up once more than expected";
    dialog.SetModalResult(mrAbort);
    return;
  }
  auto step = std::move(dialogSteps.front());
  dialogSteps.pop_front();
  try {
    step();
    // A key reaches the dialog through the engine's queue, a moment later.
    PumpUntil([&] { return dialog.GetModalResult() != mrNone; }, 5s);
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
  }
  if (dialog.GetModalResult() == mrNone) {
    ADD_FAILURE() << "a step left the dialog open";
    dialog.SetModalResult(mrAbort);
  }
}

struct RecordingBoxes : TDialogService {
  std::vector<std::wstring> texts;
  bool ExecuteFileDialog(HWND, TOpenDialog&) override { return false; }
  bool ExecuteFontDialog(HWND, TFontDialog&) override { return false; }
  bool ExecuteColorDialog(HWND, TColorDialog&) override { return false; }
  int MessageBox(HWND, const std::wstring& text, const std::wstring&, unsigned) override {
    texts.push_back(text);
    return IDOK;
  }
  bool InputQuery(HWND, const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
};

struct KeysPage : ::testing::Test {
  qorn::testing::TempDir dir{"keyspage"};
  RecordingBoxes boxes;
  TDialogServiceOverride boxesOverride{boxes};
  TMainForm* form = nullptr;
  UINT_PTR stepTimer = 0;

  void SetUp() override {
    SettingsFolder = FolderText(dir.path());
    Open();
    stepTimer = SetTimer(nullptr, 0, 30, StepDialog);
  }
  void TearDown() override {
    KillTimer(nullptr, stepTimer);
    dialogSteps.clear();
    delete form;
    SettingsFolder.clear();
    ProfileModified = 0;
    MainSettings = TMainSettings{};
  }
  void Open() {
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
    form->SetBounds(60, 40, 720, 540);
    form->VyPageControl1->SetActivePage(form->TabSheet1);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  void Restart() {
    delete form;
    form = nullptr;
    Open();
  }
  TKeyEngine& engine() { return form->Engine(); }
  TKeyTable& edit() { return form->EditList(); }
  TKeyTable& live() { return engine().GlobalTable(); }
  int Lines() { return form->keys->GetCount(); }
  std::wstring Line(int i) { return form->keys->GetItems()->Get(i); }
  void Select(int index) {
    form->keys->SetItemIndex(index);
    form->keysClick(form->keys);
  }

  // Adds a key through the window: the key pressed on the key page, then the name.
  void AddKey(std::uint8_t vk, const std::wstring& name) {
    dialogSteps.push_back([this, vk] { engine().KeyCallback(vk, 0x64, 0, KeyMsgDown); });
    dialogSteps.push_back([name] {
      MainForm->InputDialog().NewKeyName->SetText(name);
      MainForm->InputDialog().FlatButton1->Click();
    });
    form->MainActnAdd->Click();
    EXPECT_TRUE(dialogSteps.empty());
  }
  std::vector<std::string> EditNames() {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < edit().Count; ++i) names.push_back(edit().Slots[i].Name.str());
    return names;
  }
  // The one action page FlatPanel1 holds, as the user sees it: a window on the panel.
  int PageWindows() {
    int count = 0;
    for (HWND w = GetWindow(form->FlatPanel1->GetHandle(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
      if (IsWindowVisible(w)) ++count;
    return count;
  }
  // A click on the "switched off" box as the user makes it.
  void ClickBox() {
    HWND box = form->keyoff->GetHandle();
    SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump(20ms);
  }
  Vy::TVyGroupItem* Item(int group, int item) { return form->VyGroupBar1->GetGroup(group)->GetItems()->GetItem(item); }
};

TEST_F(KeysPage, EveryGroupBarItemOpensItsOwnPage) {
  for (const TActionPage& page : ActionPages) {
    SCOPED_TRACE(page.PageCode);
    Vy::TVyGroupItem* item = Item(page.Group, page.Item);
    item->Click();
    EXPECT_EQ(form->CurrentPage, page.PageCode);
    TActionFrame* frame = form->Pages().ActionFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetParent(), form->FlatPanel1);
    if (page.PageCode == 12) {
      EXPECT_NE(dynamic_cast<TFrameVol*>(frame), nullptr) << "the volume page is built";
    } else {
      auto* empty = dynamic_cast<TFrameEmpty*>(frame);
      ASSERT_NE(empty, nullptr);
      EXPECT_EQ(empty->PageCaption->GetCaption(), item->GetCaption());
    }
    EXPECT_FALSE(item->GetCaption().empty());
    // The page before it is gone: one page at a time.
    EXPECT_EQ(PageWindows(), 1);
    for (const TActionPage& other : ActionPages)
      EXPECT_EQ(Item(other.Group, other.Item)->GetSelected(), &other == &page) << int(other.PageCode);
    EXPECT_TRUE(form->VyGroupBar1->GetGroup(page.Group)->GetOpened());
  }
  // A fresh frame each time: the same item again makes a new page.
  TActionFrame* first = form->Pages().ActionFrame();
  Item(0, 0)->Click();
  Item(0, 0)->Click();
  EXPECT_EQ(PageWindows(), 1);
  EXPECT_NE(form->Pages().ActionFrame(), nullptr);
  (void)first;
}

TEST_F(KeysPage, ASelectedBindingOpensThePageOfItsAction) {
  AddKey(VK_F13, L"Docs");
  AddKey(VK_F14, L"Tools");
  AddKey(VK_F15, L"Unknown");
  AddKey(VK_F16, L"Nothing");
  ASSERT_EQ(Lines(), 4);
  edit().Slots[0].ActionCode = 110;
  edit().Slots[1].ActionCode = 105;
  edit().Slots[2].ActionCode = 25;
  struct Case {
    int line;
    int page;
    int group, item;  // -1: nothing highlighted
  };
  for (const Case& c : {Case{0, 27, 1, 6}, Case{1, 26, 1, 5}, Case{2, 0, -1, -1}, Case{3, 0, -1, -1}}) {
    SCOPED_TRACE(c.line);
    Select(c.line);
    EXPECT_EQ(form->CurrentPage, c.page);
    EXPECT_EQ(PageWindows(), c.page ? 1 : 0);
    for (const TActionPage& p : ActionPages)
      EXPECT_EQ(Item(p.Group, p.Item)->GetSelected(), p.Group == c.group && p.Item == c.item);
  }
  // Without an action the page area says so.
  EXPECT_EQ(form->FlatPanel1->GetCaption(), form->GetLngString(L"Str.Ext_Tabl_0"));
}

TEST_F(KeysPage, AKeyAddedNamedAndSavedIsThereAtTheNextStart) {
  AddKey(VK_F13, L"Mail");
  ASSERT_EQ(Lines(), 1);
  EXPECT_EQ(Line(0), L"Mail");
  EXPECT_EQ(form->keys->GetItemIndex(), 0);
  EXPECT_EQ(ProfileModified, 1);
  EXPECT_TRUE(form->MainActnSave->GetEnabled());
  EXPECT_TRUE(form->MainActnDel->GetEnabled());
  EXPECT_TRUE(form->MainActnList->GetEnabled());
  // It works at once: the edited profile is the active one.
  ASSERT_EQ(live().Count, 1);
  EXPECT_EQ(live().Slots[0].Vk, VK_F13);
  // An action chosen through the binding access of the pages.
  form->Bindings().setkey(101);
  form->MainActnSave->Click();
  EXPECT_EQ(ProfileModified, 0);
  EXPECT_FALSE(form->MainActnSave->GetEnabled());

  Restart();
  ASSERT_EQ(Lines(), 1);
  EXPECT_EQ(Line(0), L"Mail");
  EXPECT_EQ(edit().Slots[0].ActionCode, 101);
  EXPECT_EQ(live().Slots[0].ActionCode, 101);
}

TEST_F(KeysPage, TheSameKeyTwiceIsRefusedUnlessSeveralActionsAreAllowed) {
  AddKey(VK_F13, L"One");
  AddKey(VK_F14, L"Two");
  // The capture alone: the name is never asked for.
  dialogSteps.push_back([this] { engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgDown); });
  form->MainActnAdd->Click();
  EXPECT_TRUE(dialogSteps.empty());
  EXPECT_EQ(Lines(), 2);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], L"\r" + form->GetLngMessage(L"AlreadyAdded"));
  EXPECT_EQ(form->keys->GetItemIndex(), 0) << "the binding of that key is selected";

  MainSettings.optmultiact = 1;
  AddKey(VK_F13, L"One again");
  EXPECT_EQ(Lines(), 3);
  EXPECT_EQ(boxes.texts.size(), 1u);
}

TEST_F(KeysPage, RecapturingItsOwnKeyIsAlreadyAdded) {
  AddKey(VK_F13, L"One");
  ProfileModified = 0;
  Select(0);
  dialogSteps.push_back([this] {
    MainForm->InputDialog().InputTab->SetActivePage(MainForm->InputDialog().KeyTab);
    MainForm->InputDialog().InputTabChange();
    engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgDown);
  });
  form->MainActnEdit->Click();
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(ProfileModified, 0);
}

TEST_F(KeysPage, RenamingAndOptionsReachBothTables) {
  AddKey(VK_F13, L"One");
  Select(0);
  dialogSteps.push_back([] {
    MainForm->InputDialog().NewKeyName->SetText(L"Renamed");
    MainForm->InputDialog().FlatButton1->Click();
  });
  form->MainActnEdit->Click();
  EXPECT_EQ(Line(0), L"Renamed");
  EXPECT_EQ(live().Slots[0].Name.str(), "Renamed");
  dialogSteps.push_back([] {
    TInputForm& d = *&MainForm->InputDialog();
    EXPECT_EQ(d.NewKeyName->GetText(), L"Renamed");
    d.OSDkeyName->SetText(L"Shown");
    d.keyoptautopress->SetChecked(true);
    d.keyoptautopressspeed->SetPosition(3);
    d.FlatButton2->Click();
  });
  form->MainActnEdit->Click();
  EXPECT_EQ(edit().Slots[0].OsdText.str(), "Shown");
  EXPECT_EQ(edit().Slots[0].RepeatRate, 4);
  EXPECT_EQ(live().Slots[0].RepeatRate, 4);
}

TEST_F(KeysPage, DraggingALineMovesItsBinding) {
  for (auto [vk, name] : {std::pair{VK_F13, L"A"}, {VK_F14, L"B"}, {VK_F15, L"C"}, {VK_F16, L"D"}})
    AddKey(static_cast<std::uint8_t>(vk), name);
  ProfileModified = 0;
  HWND list = form->keys->GetHandle();
  // The pointer itself moves (the drag follows it) and the list hears of it.
  auto mouse = [&](UINT msg, WPARAM keys, int line) {
    const TRect r = form->keys->ItemRect(line);
    POINT p{r.Left + 20, (r.Top + r.Bottom) / 2};
    const LPARAM at = MAKELPARAM(p.x, p.y);
    ClientToScreen(list, &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(list, msg, keys, at);
    Pump(20ms);
  };
  // Line 0 pressed, dragged down past line 1, let go on line 2.
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, 0);
  mouse(WM_MOUSEMOVE, MK_LBUTTON, 1);
  mouse(WM_MOUSEMOVE, MK_LBUTTON, 2);
  mouse(WM_LBUTTONUP, 0, 2);
  EXPECT_EQ(EditNames(), (std::vector<std::string>{"B", "C", "A", "D"}));
  EXPECT_EQ(Line(2), L"A");
  EXPECT_EQ(live().Slots[2].Name.str(), "A");
  EXPECT_EQ(form->keys->GetItemIndex(), 2);
  EXPECT_EQ(ProfileModified, 1);

  // Below the last line nothing moves.
  ProfileModified = 0;
  const TRect last = form->keys->ItemRect(3);
  form->keysDragDrop(form->keys, form->keys, last.Left + 5, last.Bottom + 30);
  EXPECT_EQ(EditNames(), (std::vector<std::string>{"B", "C", "A", "D"}));
  EXPECT_EQ(ProfileModified, 0);
}

TEST_F(KeysPage, DeletingTheLastBindingDisablesWhatNeedsOne) {
  AddKey(VK_F13, L"A");
  AddKey(VK_F14, L"B");
  Select(1);
  form->MainActnDel->Click();
  EXPECT_EQ(EditNames(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(form->keys->GetItemIndex(), 0) << "the line before takes the selection";
  EXPECT_EQ(live().Count, 1);
  form->MainActnDel->Click();
  EXPECT_EQ(Lines(), 0);
  EXPECT_EQ(live().Count, 0);
  EXPECT_FALSE(form->MainActnDel->GetEnabled());
  EXPECT_FALSE(form->MainActnEdit->GetEnabled());
  EXPECT_FALSE(form->MainActnList->GetEnabled());
  EXPECT_TRUE(form->MainActnSave->GetEnabled());
}

TEST_F(KeysPage, TheMenuOffersWhatTheButtonsOffer) {
  // A name that begins as the list's group headers do is still a binding's line.
  AddKey(VK_F13, L"//Mail");
  EXPECT_FALSE(form->keys->IsGroup(0));
  form->keys->SetItemIndex(-1);
  form->keysClick(form->keys);
  form->KeysMenuPopup(form->KeysMenu);
  EXPECT_FALSE(form->N7->GetEnabled());
  EXPECT_FALSE(form->N9->GetEnabled());
  // A right click on a line selects it first.
  const TRect line = form->keys->ItemRect(0);
  bool handled = false;
  form->keysContextPopup(form->keys, TPoint{line.Left + 5, line.Top + 3}, handled);
  EXPECT_EQ(form->keys->GetItemIndex(), 0);
  form->KeysMenuPopup(form->KeysMenu);
  EXPECT_TRUE(form->N7->GetEnabled());
  EXPECT_TRUE(form->N9->GetEnabled());
  form->N7->Click();
  EXPECT_EQ(Lines(), 0);
}

TEST_F(KeysPage, SwitchingABindingOffReachesTheLiveTable) {
  AddKey(VK_F13, L"A");
  ProfileModified = 0;
  Select(0);
  ClickBox();
  EXPECT_EQ(edit().Slots[0].Disabled, 1);
  EXPECT_EQ(live().Slots[0].Disabled, 1);
  EXPECT_EQ(ProfileModified, 1);
  // Showing another binding's state writes nothing.
  ProfileModified = 0;
  Select(0);
  EXPECT_TRUE(form->keyoff->GetChecked());
  EXPECT_EQ(ProfileModified, 0);
  // With nothing selected the box writes nowhere.
  form->keys->SetItemIndex(-1);
  form->keysClick(form->keys);
  EXPECT_FALSE(form->keyoff->GetEnabled());
}

TEST_F(KeysPage, TheTableShowsTheLiveGlobalProfile) {
  AddKey(VK_F13, L"Mail");
  AddKey(VK_F14, L"Tool");
  edit().Slots[1].ActionCode = live().Slots[1].ActionCode = 110;
  Select(1);
  form->MainActnList->Click();
  ASSERT_TRUE(form->GridView1->GetVisible());
  HWND table = form->GridView1->GetHandle();
  ASSERT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 2);
  auto cell = [&](int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(table, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return std::wstring(text);
  };
  EXPECT_EQ(cell(0, 1), L"Mail");
  EXPECT_EQ(cell(1, 0), keyname(VK_F14, 0x64, NoModifiers, false));
  EXPECT_EQ(cell(1, 2), form->GetLngString(L"Groups.Group26") + L"->" + form->GetLngString(L"Str.Ext_Tabl_110"));
  EXPECT_EQ(form->GridView1->GetItemIndex(), 1);
  const std::filesystem::path shot = qorn::testing::ScreenshotDir() / "keys_page_table.png";
  std::filesystem::create_directories(shot.parent_path());
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), shot));
  // Another profile being edited: the table still shows the live one.
  EditedProfile = "Other";
  form->keys->GetItems()->Clear();
  form->KeyListPage().RefreshTableIfShown();
  EXPECT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), 2);
  EditedProfile = ActiveGlobalProfile;
  form->MainActnList->Click();
  EXPECT_FALSE(form->GridView1->GetVisible());
}

TEST_F(KeysPage, NoUnsavedEditIsLostByARepaintOrAProfileReload) {
  AddKey(VK_F13, L"A");
  AddKey(VK_F14, L"B");
  form->MainActnSave->Click();
  edit().Slots[1].ActionCode = 105;  // as saved: the next line's code
  live().Slots[1].ActionCode = 105;
  form->N16->Click();
  EXPECT_EQ(MainSettings.ShowActionIcons, 1);
  Select(0);
  form->keys->Repaint();  // draws line 1 with code 105
  form->Bindings().getkey();
  form->Bindings().setkey(105);
  EXPECT_EQ(ProfileModified, 1) << "the code of a line painted last is no reason to forget the change";
  // The tray loads the edited profile into the live table again: the edit stays.
  form->LoadLiveGlobalProfile(ActiveGlobalProfile);
  EXPECT_EQ(live().Slots[0].ActionCode, 105);
  EXPECT_EQ(edit().Slots[0].ActionCode, 105);
  form->N16->Click();
  EXPECT_EQ(MainSettings.ShowActionIcons, 0);
}

TEST_F(KeysPage, AVolumeKeyIsBoundThroughItsPageAndWorksAtOnce) {
  AddKey(VK_F13, L"Mute");
  Select(0);
  Item(0, 1)->Click();
  auto* volume = dynamic_cast<TFrameVol*>(form->Pages().ActionFrame());
  ASSERT_NE(volume, nullptr);
  const LPARAM at = MAKELPARAM(6, volume->FlatRadioButton3->GetHeight() / 2);
  SendMessageW(volume->FlatRadioButton3->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(volume->FlatRadioButton3->GetHandle(), WM_LBUTTONUP, 0, at);
  Pump(20ms);
  EXPECT_EQ(edit().Slots[0].ActionCode, 23);
  EXPECT_EQ(live().Slots[0].ActionCode, 23) << "the edited profile is the active one: the key mutes at once";
  EXPECT_TRUE(form->MainActnSave->GetEnabled());
  // Selected again, the binding opens its own page with its sub-action chosen.
  Select(0);
  volume = dynamic_cast<TFrameVol*>(form->Pages().ActionFrame());
  ASSERT_NE(volume, nullptr);
  EXPECT_TRUE(volume->FlatRadioButton3->GetChecked());
}

TEST_F(KeysPage, TheProfilePageHoldsTheProfileManager) {
  form->MainActnProfile->Click();
  TFrameProfile* profiles = form->Pages().ProfileFrame();
  ASSERT_NE(profiles, nullptr);
  EXPECT_EQ(profiles->GetParent(), form->pfp);
  EXPECT_TRUE(IsWindowVisible(profiles->GetHandle()));
  bool canClose = true;
  form->FormCloseQuery(form, canClose);
  EXPECT_FALSE(IsWindowVisible(form->pfp->GetHandle()));
  // Opened again: the same page, shown again.
  form->MainActnProfile->Click();
  EXPECT_EQ(form->Pages().ProfileFrame(), profiles);
  EXPECT_TRUE(IsWindowVisible(profiles->GetHandle()));
}

TEST_F(KeysPage, TheHistoryAndProfilePagesCloseInsteadOfTheWindow) {
  form->FlatSpeedButton1->Click();
  EXPECT_EQ(form->CurrentPage, HistoryPageCode);
  ASSERT_NE(form->Pages().HistoryFrame(), nullptr);
  EXPECT_TRUE(IsWindowVisible(form->pfp->GetHandle()));
  if (!form->IsRusLang()) EXPECT_EQ(form->Pages().HistoryFrame()->HistoryMemo->GetLines()->Get(0), HistoryNotInEnglish);
  bool canClose = true;
  form->FormCloseQuery(form, canClose);
  EXPECT_FALSE(canClose);
  EXPECT_EQ(form->CurrentPage, 0);
  EXPECT_FALSE(IsWindowVisible(form->pfp->GetHandle()));

  form->MainActnProfile->Click();
  EXPECT_EQ(form->CurrentPage, ProfilePageCode);
  EXPECT_TRUE(IsWindowVisible(form->pfp->GetHandle()));
  form->FormCloseQuery(form, canClose);
  EXPECT_FALSE(canClose);
  EXPECT_EQ(form->CurrentPage, 0);

  form->FlatSpeedButton1->Click();
  form->Pages().HistoryFrame()->CloseHistory->Click();
  EXPECT_EQ(form->CurrentPage, 0);
  EXPECT_FALSE(IsWindowVisible(form->pfp->GetHandle()));
}

}  // namespace
