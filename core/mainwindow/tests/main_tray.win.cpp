// The main window in the notification area, over a settings folder of its own: the
// tray menu's profiles (read from the native menu and chosen), lock changes shown
// for four seconds on the injectable clock, one icon per lock, the program switched
// off and kept off through a session lock, stepping through the global profiles,
// and "minimize on close" taking the window into the tray.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "vcl/Win.h"
#include <wtsapi32.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/mainwindow/MainWindow.h"
#include "core/mainwindow/TrayPictures.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFolder.h"
#include "services/TrayNotify.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"

namespace {

using namespace std::chrono_literals;

struct TIconCall {
  DWORD message;
  UINT id;
  HWND window;
  std::wstring tip;
  DWORD size;
};

struct TRecordingNotifier : TTrayNotifier {
  bool Notify(DWORD message, const NOTIFYICONDATAW& d) override {
    calls.push_back({message, d.uID, d.hWnd, d.szTip, d.cbSize});
    return true;
  }
  // The calls for the lock icons (held by the main window, not the tray's own window).
  std::vector<TIconCall> LockCalls(HWND mainWindow) const {
    std::vector<TIconCall> out;
    for (const auto& c : calls)
      if (c.window == mainWindow) out.push_back(c);
    return out;
  }
  std::vector<TIconCall> calls;
};

struct MainTray : ::testing::Test {
  qorn::testing::TempDir dir{"maintray"};
  TRecordingNotifier shell;
  TTrayNotifier* previousNotifier = nullptr;
  TManualClock clock;
  TClockOverride useClock{clock};
  TMainForm* form = nullptr;
  TCustomForm* previousMainForm = nullptr;

  void SetUp() override {
    previousNotifier = SetTrayNotifier(&shell);
    SettingsFolder = FolderText(dir.path());
    previousMainForm = Application->GetMainForm();
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
    Application->SetMainForm(form);
    // Start-up ends with the icon's first picture, posted to the window.
    Pump(50ms);
  }
  void TearDown() override {
    Application->SetMainForm(previousMainForm);
    delete form;
    SettingsFolder.clear();
    SettingsLoading = 0;
    MainSettings = TMainSettings{};
    SetTrayNotifier(previousNotifier);
  }
  std::string Picture() const {
    const int index = form->tray->GetIconIndex();
    return index >= 0 && index < int(TrayPictureNames.size()) ? std::string(TrayPictureNames[index]) : "?";
  }
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(60ms);
    PumpDueTimers();
  }
  // Global profiles and one per-program profile, as the profile manager leaves them.
  void MakeProfiles(const std::vector<std::pair<std::string, std::string>>& profiles) {
    for (const auto& [name, kind] : profiles) ASSERT_TRUE(form->ProfileStore().savepfl(name, kind, 1)) << name;
  }
};

// The lines of a native menu: the tray menu draws its lines itself (it has
// pictures), so a line's text is that of the item the line carries.
struct TMenuLine {
  std::wstring text;
  bool checked;
};
std::vector<TMenuLine> MenuLines(HMENU menu) {
  std::vector<TMenuLine> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_STATE;
    GetMenuItemInfoW(menu, i, TRUE, &info);
    const auto* item = reinterpret_cast<const TMenuItem*>(info.dwItemData);
    lines.push_back({item ? item->GetCaption() : L"?", (info.fState & MFS_CHECKED) != 0});
  }
  return lines;
}

TEST_F(MainTray, TheMenuListsTheGlobalProfilesAndAChoiceLoadsTheProfileOfItsLine) {
  MakeProfiles({{"Home", "-"}, {"Editor", "c:\\tools\\editor.exe"}, {"&Work", "-"}});
  ProfileState.ActiveGlobalProfile = "Home";
  form->TrayMenuPopup(form->TrayMenu);
  const auto lines = MenuLines(form->N10->GetHandle());
  // "&" is doubled so the menu shows it instead of underlining the next letter.
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text, L"Home");
  EXPECT_TRUE(lines[0].checked);
  EXPECT_EQ(lines[1].text, L"&&Work");
  EXPECT_FALSE(lines[1].checked);

  // Chosen through its command, as the menu reports a click.
  TMenuItem* work = form->N10->Items(1);
  work->Click();
  EXPECT_EQ(ProfileState.ActiveGlobalProfile, "&Work") << "found by its place, not by its caption";
}

TEST_F(MainTray, ALockChangeShowsItsPictureForFourSecondsThenTheNormalOne) {
  MainSettings.osdshowlocks = 1;
  MainSettings.rbtn_locks_showastray = 1;
  form->IndicateInTrayIcon("C1", 4000);
  EXPECT_EQ(Picture(), "C1c");
  Advance(3900);
  EXPECT_EQ(Picture(), "C1c");
  Advance(200);
  EXPECT_EQ(Picture(), "MainTray1");

  // Switched off, the picture that comes back is the "off" one.
  form->onoff();
  EXPECT_EQ(Picture(), "MainTray0");
  form->IndicateInTrayIcon("N0", 4000);
  EXPECT_EQ(Picture(), "N0c");
  Advance(4100);
  EXPECT_EQ(Picture(), "MainTray0");
  form->onoff();
}

TEST_F(MainTray, WithOneIconPerLockEachLockThatIsOnHasItsOwnIcon) {
  MainSettings.trayshowlocks = 1;
  MainSettings.rbtn_trayshowlocks_multi = 1;
  const HWND window = form->GetHandle();
  shell.calls.clear();
  form->IndicateInTrayIcon("N1", 4000);
  auto calls = shell.LockCalls(window);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[0].id, 4u);
  EXPECT_EQ(calls[0].tip, L"Num Lock - ON");
  EXPECT_EQ(calls[0].size, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
  form->IndicateInTrayIcon("N0", 4000);
  calls = shell.LockCalls(window);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls[1].id, 4u);

  // Every icon that exists goes, whatever the locks' state is now.
  form->AddTrayCSNIcons("C1");
  form->AddTrayCSNIcons("S1");
  shell.calls.clear();
  form->AddTrayCSNIcons("I0");
  calls = shell.LockCalls(window);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls[0].id, 2u);
  EXPECT_EQ(calls[1].id, 6u);
}

TEST_F(MainTray, SwitchedOffTheProgramStaysOffThroughASessionLockAndUnlock) {
  ASSERT_FALSE(form->Plugins().suspended());
  const std::wstring turnOff = form->N11->GetCaption();
  form->onoff();
  EXPECT_FALSE(form->ProgramOn());
  EXPECT_TRUE(form->Plugins().suspended());
  EXPECT_NE(form->N11->GetCaption(), turnOff);
  EXPECT_EQ(form->N11->GetImageIndex(), 0);

  SendMessageW(form->GetHandle(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  SendMessageW(form->GetHandle(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  EXPECT_TRUE(form->Plugins().suspended()) << "the user's off outlasts the unlock";

  form->onoff();
  EXPECT_FALSE(form->Plugins().suspended());
  EXPECT_EQ(form->N11->GetCaption(), turnOff);
  // And a lock alone still stops the keys until its unlock.
  SendMessageW(form->GetHandle(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  EXPECT_TRUE(form->Plugins().suspended());
  SendMessageW(form->GetHandle(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  EXPECT_FALSE(form->Plugins().suspended());
}

TEST_F(MainTray, NextAndPreviousStepThroughTheGlobalProfilesOnly) {
  MakeProfiles({{"A", "-"}, {"B", "c:\\tools\\b.exe"}, {"C", "-"}});
  form->LoadLiveGlobalProfile("A");
  form->ActivateNextPrevProfile(1);
  EXPECT_EQ(ProfileState.ActiveGlobalProfile, "C");
  form->ActivateNextPrevProfile(1);
  EXPECT_EQ(ProfileState.ActiveGlobalProfile, "A");
  form->ActivateNextPrevProfile(-1);
  EXPECT_EQ(ProfileState.ActiveGlobalProfile, "C");
}

TEST_F(MainTray, MinimizeOnCloseTakesTheWindowIntoTheTrayAndADoubleClickBringsItBack) {
  MainSettings.optclose = 1;
  form->Show();
  ShowWindow(Application->GetHandle(), SW_SHOWNA);
  Pump(50ms);
  shell.calls.clear();
  SendMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump(50ms);
  EXPECT_TRUE(IsWindow(form->GetHandle())) << "closing went to the tray instead";
  EXPECT_FALSE(IsWindowVisible(form->GetHandle()));
  EXPECT_FALSE(IsWindowVisible(Application->GetHandle())) << "no taskbar button left behind";
  EXPECT_TRUE(form->tray->GetIconVisible());

  form->trayDblClick(form->tray);
  Pump(50ms);
  EXPECT_TRUE(IsWindowVisible(form->GetHandle()));
  EXPECT_TRUE(IsWindowVisible(Application->GetHandle()));
  ShowWindow(Application->GetHandle(), SW_HIDE);
}

// The tray menu as the user sees it, with its pictures and the profile submenu open.
TEST_F(MainTray, TheTrayMenuLooksFinished) {
  MakeProfiles({{"Home", "-"}, {"Work", "-"}});
  ProfileState.ActiveGlobalProfile = "Home";
  static bool saved = false;
  saved = false;
  // Inside the menu's own loop: open the profile submenu, then photograph both.
  SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu) {
      PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
    }
    SetTimer(nullptr, 0, 400, [](HWND, UINT, UINT_PTR id2, DWORD) {
      KillTimer(nullptr, id2);
      saved = qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "tray_menu.png");
      EndMenu();
    });
  });
  form->TrayMenu->Popup(40, 40);
  EXPECT_TRUE(saved);
}

// The popup that announces the new profile: its caption, its place among the
// global profiles (per-program ones are not counted), and its body.
TEST(MainTrayAlone, AStepIsAnnouncedWithTheProfilesPlace) {
  TComponent owner(nullptr);
  TCoolTrayIcon icon(&owner);
  TImageList pictures(&owner);
  TTimer changer(&owner);
  auto* profileMenu = new TMenuItem(&owner);
  auto* onOffItem = new TMenuItem(&owner);
  TProfileTable table;
  const char* names[] = {"A", "B", "C", "A profile with a rather long name here"};
  const char* kinds[] = {"-", "c:\\b.exe", "-", "-"};
  for (int i = 0; i < 4; ++i) {
    table.Entries[i + 1].Name = names[i];
    table.Entries[i + 1].Kind = kinds[i];
  }
  table.Count = 4;
  std::string active = "A";
  std::vector<std::wstring> popups;
  TMainTray::THooks hooks;
  hooks.LockState = [] { return std::string("000"); };
  hooks.Profiles = [&]() -> const TProfileTable& { return table; };
  hooks.ActiveGlobalProfile = [&] { return active; };
  hooks.LoadGlobalProfile = [&](const std::string& name) { active = name; };
  hooks.ShowPopup = [&](const std::wstring& caption, const std::wstring& position, const std::wstring& body) {
    popups.push_back(caption + L"|" + position + L"|" + body);
  };
  hooks.SwitchKeys = [](bool) {};
  hooks.Text = [](const std::string& key, const std::wstring&) { return AnsiToString(key); };
  TMainTray tray({icon, pictures, changer, *profileMenu, *onOffItem, nullptr}, hooks);

  tray.ActivateNextPrevProfile(1);
  tray.ActivateNextPrevProfile(1);
  tray.ActivateNextPrevProfile(-1);
  ASSERT_EQ(popups.size(), 3u);
  EXPECT_EQ(popups[0], L"Следующий глобальный профиль|2/3|Текущий профиль: C");
  EXPECT_EQ(popups[1], L"Следующий глобальный профиль|3/3|Текущий профиль: A profile with a rather l");
  EXPECT_EQ(popups[2], L"Предыдущий глобальный профиль|2/3|Текущий профиль: C");
  EXPECT_EQ(active, "C");
}

}  // namespace
