// The real program's main window under wine, from a private portable copy of its
// folder: session changes suspend and resume the plug-ins, closing saves the
// settings, the close box minimises when asked to, a start-hidden window comes
// back for a second start, and the window in English and in Russian.
// ctest-lock: main-window
// ctest-lock: keyboard
// desktop-input: a test presses the Sleep key through keyroad_sendkeys
#include <gtest/gtest.h>

#include "vcl/Win.h"
#include <wtsapi32.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "core/mainwindow/MainForm.h"
#include "core/program/tests/MarkerKey.h"
#include "core/settings/Profiles.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsFile.h"
#include "core/utils/myUtils.h"
#include "testing/ScreenText.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

struct MainWindowTest : ::testing::Test {
  TempDir dir{"mainwindow"};
  fs::path program = dir / "Qorn";
  fs::path settings = program / "AppData";

  void SetUp() override {
    fs::copy(fs::path(QORN_BINARY_DIR) / "dist", program, fs::copy_options::recursive);
    fs::create_directories(settings);
    WriteFileBytes(settings / "portable_on", "");
  }

  // Settings as a user's earlier run left them (not a first run).
  void WriteSettings(const TSettingsRecords& records) { WriteFileBytes(settings / "stg.db", StoreSettingsFile(records)); }
  TSettingsRecords ReadSettings() {
    TSettingsRecords records;
    LoadSettingsFile(ReadFileBytes(settings / "stg.db"), records);
    return records;
  }
  // The count of a save just seen: the file may still be held by the program that
  // put it in place, so it is read once it can be.
  std::int32_t SavedKeyPressCount() {
    std::string bytes;
    WaitFor([&] { return !(bytes = ReadFileBytes(settings / "stg.db")).empty(); }, 10s);
    TSettingsRecords records;
    LoadSettingsFile(bytes, records);
    return records.Main.KeyPressCount;
  }

  // A Qorn still busy starting on a loaded machine answers late, not never: only one
  // that really hangs runs into the bound.
  static LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(w, msg, wp, lp, SMTO_NORMAL, 60000, &result), 0) << "no answer to " << msg;
    return static_cast<LRESULT>(result);
  }
  static HWND WaitForMain() { return WaitForWindow(L"TMainForm", L"Qorn", 30s); }
  static bool WaitVisible(HWND w) {
    return WaitFor([&] { return IsWindowVisible(w) != 0 && !IsIconic(w); }, 10s);
  }
};

// Presses and releases keys as a keyboard would, from a process of its own.
bool Press(const std::wstring& vks) {
  Process press(fs::path(QORN_BINARY_DIR) / "bin" / "keyroad_sendkeys.exe", vks);
  return press.wait(10s) == 0;
}
constexpr const wchar_t* F13 = L"124";

// Every save of "stg.db" in a folder, as the counter it held right after: a safe
// save ends in a rename onto the file, which the folder reports.
class SaveWatch {
 public:
  SaveWatch(const fs::path& folder, std::function<std::int32_t()> readCount) : readCount_(std::move(readCount)) {
    dir_ = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    EXPECT_NE(dir_, INVALID_HANDLE_VALUE);
    // The watch is in place before the constructor returns: no save escapes it.
    Arm();
    thread_ = std::thread([this] { Run(); });
  }
  ~SaveWatch() {
    SetEvent(stop_);
    thread_.join();
    CancelIoEx(dir_, nullptr);
    CloseHandle(dir_);
    CloseHandle(done_);
    CloseHandle(stop_);
  }
  std::vector<std::int32_t> Saves() {
    std::lock_guard lock(mutex_);
    return saves_;
  }

 private:
  bool Arm() {
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = done_;
    return ReadDirectoryChangesW(dir_, buffer_, sizeof buffer_, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                 &overlapped_, nullptr) != 0;
  }
  void Run() {
    const HANDLE waits[] = {stop_, done_};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
      DWORD got = 0;
      if (!GetOverlappedResult(dir_, &overlapped_, &got, FALSE)) return;
      const char* buffer = buffer_;
      for (DWORD at = 0; got && at < got;) {
        const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + at);
        const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
        if (_wcsicmp(name.c_str(), L"stg.db") == 0 &&
            (info->Action == FILE_ACTION_RENAMED_NEW_NAME || info->Action == FILE_ACTION_ADDED)) {
          const std::int32_t count = readCount_();
          std::lock_guard lock(mutex_);
          saves_.push_back(count);
        }
        if (!info->NextEntryOffset) break;
        at += info->NextEntryOffset;
      }
      if (!Arm()) return;
    }
  }
  std::function<std::int32_t()> readCount_;
  HANDLE dir_ = INVALID_HANDLE_VALUE;
  HANDLE done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  OVERLAPPED overlapped_{};
  alignas(DWORD) char buffer_[16384];
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::int32_t> saves_;
};

// A window of the test in front, as the program the user types in.
struct UserWindow {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"the user's program", WS_POPUP | WS_VISIBLE, 40, 40, 300, 200, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  bool activate() { return BringToFront(hwnd); }
  ~UserWindow() { DestroyWindow(hwnd); }
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(MainWindowTest, SessionLockSuspendsThePluginsAndUnlockResumesThem) {
  fs::copy_file(fs::path(QORN_BINARY_DIR) / "bin" / "testdlls" / "sessionrecorder.dll",
                program / "plugins" / "sessionrecorder.dll");
  WriteFileBytes(settings / "plugins.db", "Session Recorder =1\r\n");
  const fs::path log = dir / "plugin.log";
  SetEnvironmentVariableW(L"QORN_PLUGIN_LOG", log.wstring().c_str());
  Process qorn(program / "Qorn.exe");
  SetEnvironmentVariableW(L"QORN_PLUGIN_LOG", nullptr);
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(log); }, 10s)) << "the enabled plug-in was not started";

  struct Step {
    WPARAM code;
    std::vector<std::string> after;  // the plug-in's calls so far
  };
  const Step steps[] = {
      {WTS_SESSION_LOCK, {"Enable", "Disable"}},
      // A second lock without an unlock changes nothing.
      {WTS_SESSION_LOCK, {"Enable", "Disable"}},
      {WTS_SESSION_UNLOCK, {"Enable", "Disable", "Enable"}},
      {WTS_SESSION_UNLOCK, {"Enable", "Disable", "Enable"}},
      {WTS_CONSOLE_DISCONNECT, {"Enable", "Disable", "Enable", "Disable"}},
      // Codes that are neither: nothing.
      {WTS_SESSION_LOGON, {"Enable", "Disable", "Enable", "Disable"}},
      {WTS_CONSOLE_CONNECT, {"Enable", "Disable", "Enable", "Disable", "Enable"}},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(Send(main, WM_WTSSESSION_CHANGE, step.code, 0), 0);
    EXPECT_EQ(Lines(ReadFileBytes(log)), step.after) << "after session change " << step.code;
  }
  EXPECT_EQ(FindWindowW(nullptr, L"Critical ERROR !"), nullptr) << "the hook did not come back";
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
  EXPECT_EQ(Lines(ReadFileBytes(log)),
            (std::vector<std::string>{"Enable", "Disable", "Enable", "Disable", "Enable", "Disable"}))
      << "closing must stop the plug-in";
}

TEST_F(MainWindowTest, AFirstRunShowsTheWindowAndClosingWritesEverySetting) {
  Process qorn(program / "Qorn.exe");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(WaitVisible(main)) << "a first run shows the window";
  // The first start marks itself with an empty file; losing it meanwhile must
  // not lose the settings at the end.
  EXPECT_TRUE(fs::exists(settings / "stg.db"));
  EXPECT_TRUE(fs::exists(settings / "profile.db"));
  fs::remove(settings / "stg.db");
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
  ASSERT_TRUE(fs::exists(settings / "stg.db"));
  EXPECT_EQ(fs::file_size(settings / "stg.db"), SettingsFileSizeAllFonts) << "all ten fonts are written";
  const TSettingsRecords saved = ReadSettings();
  // The shipped files are English (1033) and Russian (1049); a first run takes the user's.
  const int ui = GetUserUILanguage();
  EXPECT_EQ(saved.Strings.LanguageName.str(), ui == 1049 || ui == 1058 || ui == 1059 ? "Russian" : "English");
  EXPECT_EQ(saved.Strings.InstallationId.str().size(), 35u);
  EXPECT_EQ(saved.Strings.InstallationId.str().substr(0, 3), "01x");
}

// The end of the session asks first: the settings are saved then, and a log-off
// that is cancelled afterwards leaves a working program.
TEST_F(MainWindowTest, TheEndOfTheSessionSavesAndACancelledOneKeepsQornRunning) {
  Process qorn(program / "Qorn.exe");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  fs::remove(settings / "stg.db");
  EXPECT_EQ(Send(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  ASSERT_TRUE(fs::exists(settings / "stg.db"));
  EXPECT_EQ(fs::file_size(settings / "stg.db"), SettingsFileSizeAllFonts);
  Send(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(qorn.running());
  EXPECT_NE(Send(main, WM_GETKEYCALLBACK, 0, 0), 0);
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
}

TEST_F(MainWindowTest, TheCloseBoxMinimisesOrClosesAsTheOptionSays) {
  struct Case {
    std::int32_t optclose;
    WPARAM command;
    bool closes;
  };
  // The low four bits of a system command are the system's own.
  const Case cases[] = {{1, SC_CLOSE, false}, {1, SC_CLOSE | 2, false}, {0, SC_CLOSE, true}, {0, SC_CLOSE | 2, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("optclose " + std::to_string(c.optclose) + ", command " + std::to_string(c.command));
    TSettingsRecords records;
    records.Main.opttray = 0;
    records.Main.optclose = c.optclose;
    records.Main.KeyPressCount = 4321;
    WriteSettings(records);
    Process qorn(program / "Qorn.exe");
    HWND main = WaitForMain();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main));
    PostMessageW(main, WM_SYSCOMMAND, c.command, 0);
    if (c.closes) {
      EXPECT_EQ(qorn.wait(20s), 0);
      EXPECT_EQ(ReadSettings().Main.KeyPressCount, 4321) << "the counter was not saved";
      continue;
    }
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(main) || IsIconic(GetWindow(main, GW_OWNER)); }, 5s))
        << "the window did not minimise";
    EXPECT_TRUE(qorn.running());
    // A second start brings it back.
    Process second(program / "Qorn.exe");
    EXPECT_EQ(second.wait(20s), 0);
    EXPECT_TRUE(WaitVisible(main)) << "the minimised window was not restored";
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(qorn.wait(20s), 0);
  }
}

TEST_F(MainWindowTest, AStartHiddenWindowExistsAndComesBackForASecondStart) {
  TSettingsRecords records;
  records.Main.opttray = 1;
  WriteSettings(records);
  Process qorn(program / "Qorn.exe");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr) << "plug-ins and other instances must find the hidden window";
  EXPECT_NE(Send(main, WM_GETKEYCALLBACK, 0, 0), 0);
  EXPECT_FALSE(IsWindowVisible(main));
  Process second(program / "Qorn.exe");
  EXPECT_EQ(second.wait(20s), 0);
  EXPECT_TRUE(WaitVisible(main));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
}

// The first visible window of the class among w's descendants.
HWND VisibleChildOfClass(HWND w, const wchar_t* className) {
  struct TSearch {
    const wchar_t* className;
    HWND found;
  } search{className, nullptr};
  EnumChildWindows(
      w,
      [](HWND child, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(lParam);
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (!IsWindowVisible(child) || std::wstring(name) != s->className) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A value of a language file, decoded from the file's own code page.
std::wstring LngValue(const fs::path& file, const std::string& key) {
  const std::string bytes = ReadFileBytes(file);
  UINT codePage = CP_ACP;
  std::string value;
  for (const std::string& line : Lines(bytes)) {
    const std::string text = !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
    if (text.rfind("LngCodePage=", 0) == 0) codePage = static_cast<UINT>(std::stoul(text.substr(12)));
    if (text.rfind(key + "=", 0) == 0) value = text.substr(key.size() + 1);
  }
  std::wstring wide(value.size(), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, value.data(), static_cast<int>(value.size()),
                                                      wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

// The about page is the one with the memo of the version's news. (Told by what it
// holds, never by what it lacks: the settings page, being made on a busy
// machine, shows for a moment without its own page control.)
bool AboutPageShows(HWND main) {
  HWND page = VisibleChildOfClass(main, L"TVyTabSheet");
  return page && VisibleChildOfClass(page, L"TFlatMemo");
}

// Clicks along the tab strip from the left, as a user looking for the tab would,
// until the about page shows.
bool OpenAboutPage(HWND main) {
  HWND tabs = FindWindowExW(main, nullptr, L"TVyPageControl", nullptr);
  if (!tabs) return false;
  for (int x = 8; x < 420; x += 12) {
    PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 10));
    PostMessageW(tabs, WM_LBUTTONUP, 0, MAKELPARAM(x, 10));
    if (WaitFor([&] { return AboutPageShows(main); }, 300ms)) return true;
  }
  // A busy machine may still be working through the clicks.
  return WaitFor([&] { return AboutPageShows(main); }, 20s);
}

TEST_F(MainWindowTest, TheWindowSpeaksTheChosenLanguage) {
  // Where the about page puts its labels, and the font it draws them in.
  const POINT keyPressesLabel{16, 16}, translatorLabel{16, 72};
  auto shows = [](HWND w, POINT at, const std::wstring& text) {
    HWND page = VisibleChildOfClass(w, L"TVyTabSheet");
    return page && ShowsText(page, at, text, L"Tahoma", -11);
  };
  for (const char* language : {"English", "Russian"}) {
    SCOPED_TRACE(language);
    const std::string other = std::string(language) == "English" ? "Russian" : "English";
    const fs::path lng = program / "lang" / (std::string(language) + ".lng");
    const fs::path otherLng = program / "lang" / (other + ".lng");
    const std::wstring keyPresses = LngValue(lng, "MainForm.VyLabel4"), translator = LngValue(lng, "LngTranslated");
    ASSERT_FALSE(keyPresses.empty());
    ASSERT_FALSE(translator.empty());

    TSettingsRecords records;
    records.Main.opttray = 0;
    records.Main.KeyPressCount = 1234567;
    records.Strings.LanguageName = language;
    WriteSettings(records);
    Process qorn(program / "Qorn.exe");
    HWND main = WaitForMain();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main));
    SetForegroundWindow(main);
    // The window opens on the keys page; the user clicks the about page's tab.
    ASSERT_TRUE(OpenAboutPage(main));
    // The texts a user reads, off the screen: the labels have no window to ask.
    EXPECT_TRUE(WaitFor([&] { return shows(main, keyPressesLabel, keyPresses); }, 20s));
    EXPECT_TRUE(shows(main, translatorLabel, translator));
    // And not the other language's: the reading tells the two apart.
    EXPECT_FALSE(shows(main, keyPressesLabel, LngValue(otherLng, "MainForm.VyLabel4")));
    EXPECT_FALSE(shows(main, translatorLabel, LngValue(otherLng, "LngTranslated")));
    const fs::path shot = ScreenshotDir() / (std::string("mainwindow_") + language + ".png");
    fs::create_directories(shot.parent_path());
    EXPECT_TRUE(SaveWindowShot(main, shot));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(qorn.wait(20s), 0);
    EXPECT_EQ(ReadSettings().Strings.LanguageName.str(), language);
  }
}

// The hook goes with the lock and comes back with the unlock: keys pressed
// meanwhile are not the program's.
TEST_F(MainWindowTest, KeysPressedWhileTheSessionIsLockedAreNotSeen) {
  TSettingsRecords records;
  records.Main.opttray = 0;
  WriteSettings(records);
  Process qorn(program / "Qorn.exe");
  HWND main = WaitForMain();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitVisible(main));
  Send(main, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  ASSERT_TRUE(Press(F13));
  Send(main, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  ASSERT_TRUE(Press(std::wstring(F13) + L" " + F13));
  ASSERT_TRUE(WaitUntilQornAnsweredTheKeysSent());
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
  EXPECT_EQ(ReadSettings().Main.KeyPressCount, 2) << "only the presses after the unlock count";
}

// The counter's milestones: the settings are saved every 1000 presses, and the
// donation window comes at 100 000 (a save too), without taking the activation
// from the program the user types in.
TEST_F(MainWindowTest, TheKeyPressCounterSavesAndShowsTheDonationWindow) {
  struct Case {
    std::int32_t before;
    int presses;
    std::vector<std::int32_t> savesWhileRunning;
    bool donation;
  };
  // From 998, the first press saves nothing: the save of the second press comes
  // after anything the first could have written.
  const Case cases[] = {{998, 2, {1000}, false}, {999, 1, {1000}, false}, {99999, 1, {100000}, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("counter " + std::to_string(c.before));
    TSettingsRecords records;
    records.Main.opttray = 0;
    records.Main.KeyPressCount = c.before;
    records.Strings.LanguageName = "English";
    WriteSettings(records);
    Process qorn(program / "Qorn.exe");
    HWND main = WaitForMain();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main));
    UserWindow user;
    ASSERT_TRUE(user.activate());
    SaveWatch watch(settings, [this] { return SavedKeyPressCount(); });
    std::wstring keys = F13;
    for (int i = 1; i < c.presses; ++i) keys += std::wstring(L" ") + F13;
    ASSERT_TRUE(Press(keys));
    EXPECT_TRUE(WaitFor([&] { return watch.Saves().size() >= c.savesWhileRunning.size(); }, 30s));
    EXPECT_EQ(watch.Saves(), c.savesWhileRunning);
    // The milestone's window comes before its save.
    HWND donate = FindWindowW(L"TDonateForm", L"Donation");
    EXPECT_EQ(donate && IsWindowVisible(donate), c.donation);
    EXPECT_EQ(GetForegroundWindow(), user.hwnd) << "a window of Qorn took the activation";
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(qorn.wait(20s), 0);
    EXPECT_EQ(ReadSettings().Main.KeyPressCount, c.before + c.presses);
  }
}

// The keyboard's own Sleep key bound to an action: the suspend query it sets off
// is refused, unless the binding is itself a power action.
TEST_F(MainWindowTest, ABoundSleepKeyRefusesOnlyTheSuspendQueryItCauses) {
  struct Case {
    TActionCode code;
    bool refused;
  };
  // Code 0 is a binding without an action; 61 and 63 are power off and standby.
  const Case cases[] = {{101, true}, {0, true}, {63, false}, {61, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE("action code " + std::to_string(c.code));
    TSettingsRecords records;
    records.Main.opttray = 0;
    WriteSettings(records);
    TProfileTable table;
    table.Entries[0].Name = "Test";
    table.Entries[0].Kind = "-";
    table.Entries[1] = table.Entries[0];
    WriteFileBytes(settings / "profile.db", StoreProfileTable(table, 1));
    TKeyTable bindings;
    TKeyRecord sleep;
    sleep.Name = "Sleep";
    sleep.Vk = 95;
    sleep.Code2 = static_cast<std::uint8_t>(MapVirtualKeyW(95, MAPVK_VK_TO_VSC) & 0x7F);
    sleep.Msg = KeyMsgDown;
    sleep.Modifiers = NoModifiers;
    sleep.ActionCode = c.code;
    bindings.Add(sleep);
    fs::create_directories(settings / "profiles");
    WriteFileBytes(settings / "profiles" / "Test.gpf", StoreProfileFile(bindings));

    Process qorn(program / "Qorn.exe");
    HWND main = WaitForMain();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitVisible(main));
    EXPECT_EQ(Send(main, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), TRUE) << "no key ran yet";
    ASSERT_TRUE(Press(L"95"));
    // The system's query follows the key at once, before Qorn's queue ran its action.
    EXPECT_EQ(Send(main, WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, 0), c.refused ? BROADCAST_QUERY_DENY : TRUE);
    // Notices are never refused.
    EXPECT_EQ(Send(main, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0), TRUE);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(qorn.wait(20s), 0);
    // The key did reach Qorn: an answer of TRUE above is not the one of no key.
    EXPECT_EQ(ReadSettings().Main.KeyPressCount, 1);
  }
}

}  // namespace
