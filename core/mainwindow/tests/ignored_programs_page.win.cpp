// The ignored-programs page of the main window in this process, over a settings
// folder of its own: programs added from the running programs (bin/trayee.exe,
// started here) and from the open dialog (answered by the test's dialog service),
// honoured by the key engine once the program in front changes, deleted down to
// none, stored in "stgex.ini" and shown again in a new window.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "testing/RecordedMessages.h"

#include "vcl/Win.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/mainwindow/MainWindow.h"
#include "core/settings/SettingsFolder.h"
#include "services/ProcessList.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Dialogs.h"
#include "vcl/ShortCuts.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// As a dialog names it, with backslashes.
const fs::path Trayee = (fs::path(QORN_BINARY_DIR) / "bin" / "trayee.exe").make_preferred();

std::wstring Lowered(std::wstring text) {
  CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// The program's full path as the process list names it.
std::wstring ProgramPathOf(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  wchar_t buffer[MAX_PATH * 2];
  DWORD size = static_cast<DWORD>(std::size(buffer));
  const bool ok = QueryFullProcessImageNameW(process, 0, buffer, &size);
  CloseHandle(process);
  return ok ? std::wstring(buffer, size) : std::wstring();
}

std::wstring WindowsFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer, n);
}

using Answers = qorn::testing::TRecordedMessages;

struct TakenKeys : IActionExecutor {
  int runs = 0;
  void Execute(int, int, TActionContext&) override { ++runs; }
};

struct IgnoredProgramsPage : ::testing::Test {
  qorn::testing::TempDir dir{"ignoredpage"};
  TMainForm* form = nullptr;
  Answers answers;
  std::unique_ptr<TDialogServiceOverride> useAnswers;
  TakenKeys tools;

  void SetUp() override {
    SettingsFolder = FolderText(dir.path());
    useAnswers = std::make_unique<TDialogServiceOverride>(answers);
    Open();
  }
  void TearDown() override {
    delete form;
    useAnswers.reset();
    SettingsFolder.clear();
  }
  void Open() {
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
    form->Executors.Set(TActionFamily::OtherTools, &tools);
  }
  // Saves the settings and opens a new window over them.
  void Reopen() {
    ASSERT_TRUE(form->Settings().saveprogramsetting(form->KeyPressCount()));
    delete form;
    form = nullptr;
    Open();
  }
  void ShowPage() {
    form->VyPageControl1->SetActivePage(form->TabSheet2);
    form->VyPageControl2->SetActivePageIndex(4);
  }
  TListItems& rows() const { return *form->ListExceptProgs->GetItems(); }
  std::wstring pathOfRow(int i) const { return rows().Item(i)->SubItems()->Get(0); }
  // F13 bound in the global table to a tool the test counts.
  void BindF13() {
    TKeyRecord f13;
    f13.Name = "F13";
    f13.Vk = VK_F13;
    f13.Code2 = 100;
    f13.Msg = KeyMsgDown;
    f13.Modifiers = NoModifiers;
    f13.ActionCode = 101;
    ASSERT_TRUE(form->Engine().GlobalTable().Add(f13));
  }
  // The key engine's answer to F13 with the window in front, and whether it ran.
  std::int32_t PressF13() {
    const int before = tools.runs;
    const std::int32_t answer = form->Engine().KeyCallback(VK_F13, 100, 0, KeyMsgDown);
    form->Engine().RunPending();
    EXPECT_EQ(tools.runs - before, answer == KeyTaken ? 1 : 0);
    return answer;
  }
};

// Steps through the add button's menu while it is open: from a timer of the menu's
// own loop, one key a tick (a step of 0 takes the screenshot), then the menu ends.
struct MenuSteps {
  std::vector<WORD> keys;
  fs::path shot;
  bool shotTaken = false;
  std::size_t next = 0;
  int ticks = 0;
};
MenuSteps* menuSteps = nullptr;

void PressKey(WORD vk) {
  INPUT inputs[2] = {};
  for (int i = 0; i < 2; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = vk;
    inputs[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(2, inputs, sizeof(INPUT));
}

// Presses the next key of the steps; runs until the test stops it once the menu
// has closed. A menu that did not close by its keys (they went to a window that
// took the front meanwhile) is closed after a while all the same, every tick until
// it is: the test then fails on what the menu did not do instead of waiting for good.
void CALLBACK MenuStep(HWND, UINT, UINT_PTR, DWORD) {
  MenuSteps& steps = *menuSteps;
  if (++steps.ticks > 40 || steps.next >= steps.keys.size()) {
    if (steps.ticks > 40) EndMenu();
    return;
  }
  const WORD key = steps.keys[steps.next++];
  if (key == 0) steps.shotTaken = qorn::testing::SaveScreenshot(steps.shot);
  else PressKey(key);
}

using qorn::testing::BringToFront;

TEST_F(IgnoredProgramsPage, ARunningProgramIsListedOnceAndIgnoredOnceItComesToTheFront) {
  BindF13();
  // Two processes of one program, each with its own window.
  qorn::testing::Process first(Trayee, L"plain \"Ignored first\"");
  qorn::testing::Process second(Trayee, L"plain \"Ignored second\"");
  const HWND firstWindow = qorn::testing::WaitForWindow(L"QornTrayeeMain", L"Ignored first", 20s);
  const HWND secondWindow = qorn::testing::WaitForWindow(L"QornTrayeeMain", L"Ignored second", 20s);
  ASSERT_TRUE(firstWindow && secondWindow);
  const std::wstring trayee = ProgramPathOf(first.id());
  ASSERT_FALSE(trayee.empty());

  ASSERT_TRUE(BringToFront(firstWindow));
  EXPECT_EQ(PressF13(), KeyTaken) << "nothing is ignored yet";

  TMenuItem* running = form->AddExceptProgMenuTasks;
  const auto itemsOfTrayee = [&] {
    std::vector<TMenuItem*> items;
    for (int i = 0; i < running->Count(); ++i)
      if (Lowered(running->Items(i)->GetCaption()) == Lowered(trayee)) items.push_back(running->Items(i));
    return items;
  };
  form->AddExceptProgMenuPopup(form->AddExceptProgMenu);
  ASSERT_EQ(itemsOfTrayee().size(), 1u) << "two processes, one program, one item";
  EXPECT_GE(running->Count(), 2) << "this test program runs too";
  EXPECT_GE(itemsOfTrayee()[0]->GetImageIndex(), 0) << "its icon in the system image list";
  ASSERT_NE(running->GetSubMenuImages(), nullptr);
  EXPECT_EQ(running->GetSubMenuImages()->GetHandle(), GetSystemImageList(16));

  // Opening the menu again lists the programs anew, not twice.
  const int items = running->Count();
  form->AddExceptProgMenuPopup(form->AddExceptProgMenu);
  EXPECT_EQ(running->Count(), items);
  const auto trayeeItems = itemsOfTrayee();
  ASSERT_EQ(trayeeItems.size(), 1u);

  // Chosen in the open menu: the last item opens the running programs, and the
  // program's item is taken from there.
  form->SetBounds(60, 40, 712, 506);
  form->Show();
  ShowPage();
  Pump(300ms);  // shown and painted, as the window a user clicks in
  MenuSteps steps;
  steps.keys = {VK_UP, VK_RIGHT};
  steps.keys.insert(steps.keys.end(), running->IndexOf(trayeeItems[0]), VK_DOWN);
  steps.keys.insert(steps.keys.end(), {0, VK_RETURN});
  steps.shot = qorn::testing::ScreenshotDir() / "ignored_programs_running_menu.png";
  menuSteps = &steps;
  ASSERT_TRUE(BringToFront(form->GetHandle()));
  const UINT_PTR stepper = SetTimer(nullptr, 0, 250, MenuStep);
  form->AddExceptProg->DropDown();
  KillTimer(nullptr, stepper);
  ASSERT_TRUE(PumpUntil([&] { return rows().Count() == 1; }, 10s)) << "the menu's item was not taken";
  EXPECT_TRUE(steps.shotTaken);
  ASSERT_EQ(rows().Count(), 1);
  EXPECT_EQ(rows().Item(0)->GetCaption(), L"trayee.exe") << "no version resource: the file name";
  EXPECT_EQ(pathOfRow(0), trayee);
  EXPECT_GE(rows().Item(0)->GetImageIndex(), 0);
  EXPECT_EQ(form->ListExceptProgs->GetSmallImages()->GetHandle(), GetSystemImageList(16));
  EXPECT_TRUE(form->ExtSettings().IgnoredProgramsInUse);
  EXPECT_EQ(form->ExtSettings().IgnoredPrograms, std::vector<std::string>{StringToAnsi(trayee)});

  // The entry counts from the next change of the program in front: from this window
  // (this test program, not ignored) to the ignored one, and to another process of it.
  ASSERT_TRUE(BringToFront(form->GetHandle()));
  EXPECT_EQ(PressF13(), KeyTaken);
  ASSERT_TRUE(BringToFront(firstWindow));
  EXPECT_EQ(PressF13(), KeyPassed);
  ASSERT_TRUE(BringToFront(secondWindow));
  EXPECT_EQ(PressF13(), KeyPassed);
  EXPECT_TRUE(form->Engine().ForegroundIgnored());

  // Deleting the only entry gives the keys back at once, with the program still in front.
  form->ListExceptProgs->SetItemIndex(0);
  form->DelExceptProgClick(form->DelExceptProg);
  EXPECT_EQ(rows().Count(), 0);
  EXPECT_FALSE(form->ExtSettings().IgnoredProgramsInUse);
  EXPECT_FALSE(form->Engine().ForegroundIgnored());
  EXPECT_EQ(PressF13(), KeyTaken);

  first.kill();
  second.kill();
}

TEST_F(IgnoredProgramsPage, ARunningProgramIsTakenWithThePathItsMenuItemShows) {
  // "&" in a menu caption marks the next letter unless written twice.
  const fs::path folder = dir.path() / "Tools & more";
  fs::create_directories(folder);
  fs::copy_file(Trayee, folder / "trayee.exe");
  fs::copy_file(Trayee.parent_path() / "Tenvora.dll", folder / "Tenvora.dll");  // every program links it
  qorn::testing::Process program(folder / "trayee.exe", L"plain \"Ampersand\"");
  ASSERT_TRUE(qorn::testing::WaitForWindow(L"QornTrayeeMain", L"Ampersand", 20s));
  const std::wstring path = ProgramPathOf(program.id());
  ASSERT_NE(path.find(L"Tools & more"), std::wstring::npos);

  form->AddExceptProgMenuPopup(form->AddExceptProgMenu);
  TMenuItem* running = form->AddExceptProgMenuTasks;
  TMenuItem* item = nullptr;
  for (int i = 0; i < running->Count(); ++i)
    if (StripHotkey(running->Items(i)->GetCaption()) == path) item = running->Items(i);
  ASSERT_NE(item, nullptr) << "no item shows the program's path";
  item->Click();
  EXPECT_EQ(form->ExtSettings().IgnoredPrograms, std::vector<std::string>{StringToAnsi(path)});
  ASSERT_EQ(rows().Count(), 1);
  EXPECT_EQ(pathOfRow(0), path);
  program.kill();
}

TEST_F(IgnoredProgramsPage, ChosenFilesAreStoredJoinedAndShownAgainWithTheirIcons) {
  const std::wstring windows = WindowsFolder();
  const std::wstring notepad = windows + L"\\notepad.exe";
  const std::wstring regedit = windows + L"\\regedit.exe";
  const std::wstring winecfg = windows + L"\\system32\\winecfg.exe";
  const std::wstring withSeparator = L"C:\\Games;Old\\game.exe";
  const std::wstring unstorable = L"C:\\\u6e38\u620f\\game.exe";  // not in the system code page
  answers.files = {notepad, L"", withSeparator, unstorable, regedit, winecfg, Trayee.wstring()};
  for (std::size_t i = 0; i < 7; ++i) form->AddExceptProgMenuOpenClick(form->AddExceptProgMenuOpen);

  ASSERT_EQ(answers.texts.size(), 2u) << "the two paths that cannot be stored are refused, and said so";
  EXPECT_NE(answers.texts[0].find(withSeparator), std::wstring::npos) << StringToAnsi(answers.texts[0]);
  EXPECT_NE(answers.texts[0].find(L"\";\""), std::wstring::npos);
  EXPECT_NE(answers.texts[1].find(L"game.exe"), std::wstring::npos);
  const std::vector<std::wstring> added = {notepad, regedit, winecfg, Trayee.wstring()};
  ASSERT_EQ(rows().Count(), 4) << "the cancelled dialog and the refused paths add no row";
  for (int i = 0; i < 4; ++i) EXPECT_EQ(pathOfRow(i), added[i]);
  EXPECT_EQ(form->ExtSettings().IgnoredPrograms.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_GE(rows().Item(i)->GetImageIndex(), 0) << i;

  Reopen();
  std::string expected = "IgnoredPrograms=";
  for (const auto& path : added) expected += StringToAnsi(path) + (&path == &added.back() ? "" : ";");
  const std::string ini = qorn::testing::ReadFileBytes(dir.path() / "stgex.ini");
  EXPECT_NE(ini.find("[QornMain]\r\n" + expected + "\r\n"), std::string::npos) << ini;

  // The new window shows the page rebuilt from what was stored.
  EXPECT_EQ(rows().Count(), 0) << "rows come when the page is shown";
  form->SetBounds(60, 40, 712, 506);
  form->Show();
  ShowPage();
  ASSERT_EQ(rows().Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Lowered(pathOfRow(i)), Lowered(added[i])) << i;
  EXPECT_EQ(rows().Item(3)->GetCaption(), L"trayee.exe");
  form->ListExceptProgs->SetFocus();
  form->ListExceptProgs->SetItemIndex(1);
  Pump(200ms);
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "ignored_programs_page.png"));

  // Deleted down to none: saved empty, and a new window's page stays empty.
  for (int i = 0; i < 4; ++i) {
    form->ListExceptProgs->SetItemIndex(0);
    form->DelExceptProgClick(form->DelExceptProg);
  }
  EXPECT_FALSE(form->ExtSettings().IgnoredProgramsInUse);
  Reopen();
  EXPECT_NE(qorn::testing::ReadFileBytes(dir.path() / "stgex.ini").find("IgnoredPrograms=\r\n"), std::string::npos);
  ShowPage();
  EXPECT_EQ(rows().Count(), 0);
  EXPECT_FALSE(form->ExtSettings().IgnoredProgramsInUse);
}

}  // namespace
