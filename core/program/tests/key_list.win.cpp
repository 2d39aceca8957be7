// The keys page of the real Qorn.exe under wine, driven as a user drives it from
// outside: a key pressed on the keyboard is captured for a new binding, named,
// saved and listed again at the next start; the page with a dozen bindings, the
// table view and an action page are photographed in English and Russian.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "core/program/tests/QornInstall.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

const fs::path Dist = fs::path(QORN_BINARY_DIR) / "dist";

bool Send(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &input, sizeof input) == 1;
}
bool Press(WORD vk) { return Send(vk, false) && Send(vk, true); }

// The first visible window under `w` of that class (and caption, when given).
HWND Find(HWND w, const wchar_t* className, const wchar_t* caption = nullptr) {
  struct TSearch {
    const wchar_t* className;
    const wchar_t* caption;
    HWND found;
  } search{className, caption, nullptr};
  EnumChildWindows(
      w,
      [](HWND child, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<TSearch*>(lParam);
        wchar_t name[64] = {}, text[128] = {};
        GetClassNameW(child, name, 64);
        GetWindowTextW(child, text, 128);
        if (!IsWindowVisible(child) || std::wstring(name) != s->className) return TRUE;
        if (s->caption && std::wstring(text) != s->caption) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A click as the mouse makes it, on a control of another process.
void Click(HWND control) {
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
  PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
}

std::vector<std::wstring> ListLines(HWND list) {
  std::vector<std::wstring> lines;
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[64] = {};
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    lines.emplace_back(text);
  }
  return lines;
}

// Ctrl+Alt and a letter.
TKeyRecord Binding(const char* name, char letter, std::uint8_t code) {
  TKeyRecord r;
  r.Name = name;
  r.Vk = static_cast<std::uint8_t>(letter);
  r.Code2 = static_cast<std::uint8_t>(MapVirtualKeyW(r.Vk, MAPVK_VK_TO_VSC) & 0x7F);
  r.Msg = KeyMsgDown;
  r.Modifiers = std::string("01010000");
  r.ActionCode = code;
  return r;
}

struct KeyList : ::testing::Test {
  TempDir dir{"keylist"};
  TQornInstall qorn{dir / "Qorn", Dist};

  void SetUp() override { ASSERT_TRUE(TQornInstall::NoOtherQorn()) << "another Qorn is still running"; }
  void TearDown() override { qorn.Kill(); }

  void WriteSettings(const char* language, bool icons) {
    TSettingsRecords settings;
    settings.Main.optchecknewver = 0;
    settings.Main.optauto = 0;
    settings.Main.opttray = 0;
    settings.Main.CB_SettingsSave = 1;
    settings.Main.ShowActionIcons = icons ? 1 : 0;
    settings.Strings.LanguageName = language;
    settings.Strings.InstallationId = "01x0123456789abcdef0123456789abcdef";
    CreateDefaultFonts(settings.Fonts);
    qorn.WriteFile("stg.db", StoreSettingsFile(settings));
  }
  // Started and shown, in front.
  HWND Start() {
    if (!qorn.Start()) return nullptr;
    HWND main = qorn.Window();
    if (!WaitFor([&] { return IsWindowVisible(main) != 0; }, 10s)) return nullptr;
    SetForegroundWindow(main);
    return main;
  }
  HWND WaitFind(HWND w, const wchar_t* className, const wchar_t* caption = nullptr) {
    HWND found = nullptr;
    WaitFor([&] { return (found = Find(w, className, caption)) != nullptr; }, 10s);
    return found;
  }
  void Shot(HWND main, const std::string& name) {
    const fs::path shot = ScreenshotDir() / (name + ".png");
    fs::create_directories(shot.parent_path());
    EXPECT_TRUE(SaveWindowShot(main, shot));
  }
};

TEST_F(KeyList, AKeyCapturedNamedAndSavedIsListedAtTheNextStart) {
  WriteSettings("English", false);
  qorn.WriteProfiles("Main", {{"Main", "-", {}}});
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  HWND list = WaitFind(main, L"TVyListBox");
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(ListLines(list).empty());

  Click(WaitFind(main, L"TFlatButton", L"Add"));
  HWND dialog = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = qorn.FindOwnWindow(L"TInputForm", nullptr)) && IsWindowVisible(dialog); }, 10s));
  // The key page waits for a key: F13 from the keyboard.
  ASSERT_TRUE(WaitFor([&] { return Press(VK_F13) && Find(dialog, L"TVyEdit") != nullptr; }, 10s));
  HWND name = Find(dialog, L"TVyEdit");
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Mail key"));
  Click(WaitFind(dialog, L"TFlatButton", L"OK"));
  ASSERT_TRUE(WaitFor([&] { return ListLines(list) == std::vector<std::wstring>{L"Mail key"}; }, 10s));
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);

  HWND save = WaitFind(main, L"TFlatButton", L"Save");
  ASSERT_NE(save, nullptr);
  EXPECT_TRUE(IsWindowEnabled(save));
  Click(save);
  ASSERT_TRUE(WaitFor([&] { return !IsWindowEnabled(save); }, 10s));
  EXPECT_EQ(qorn.Close(), 0);

  main = Start();
  ASSERT_NE(main, nullptr);
  list = WaitFind(main, L"TVyListBox");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ListLines(list), std::vector<std::wstring>{L"Mail key"});
  EXPECT_EQ(qorn.Close(), 0);
}

TEST_F(KeyList, TheKeysPageInEnglishAndRussian) {
  const std::vector<TKeyRecord> bindings = {
      Binding("Play / pause", 'P', 11), Binding("Volume up", 'U', 21),  Binding("Volume down", 'D', 22),
      Binding("Mute", 'M', 23),         Binding("Browser", 'B', 56),    Binding("My documents", 'O', 43),
      Binding("Lock", 'L', 101),        Binding("Power off", 'X', 61),  Binding("Next layout", 'K', 125),
      Binding("Scroll", 'S', 131),      Binding("Wallpaper", 'W', 171), Binding("Not set yet", 'N', 0),
  };
  for (const char* language : {"English", "Russian"}) {
    SCOPED_TRACE(language);
    WriteSettings(language, true);
    qorn.WriteProfiles("Main", {{"Main", "-", bindings}});
    HWND main = Start();
    ASSERT_NE(main, nullptr);
    HWND list = WaitFind(main, L"TVyListBox");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ListLines(list).size(), bindings.size());
    // The user picks the seventh binding: its action's page opens beside the list.
    SendMessageW(list, LB_SETCURSEL, 6, 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_NE(WaitFind(main, L"TFrameEmpty"), nullptr);
    Shot(main, std::string("keys_page_") + language);

    // The table of the active profile, one row per binding.
    Click(WaitFind(main, L"TFlatButton", std::string(language) == "English" ? L"Table" : L"Таблица"));
    HWND table = WaitFind(main, L"TListView");
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(SendMessageW(table, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(bindings.size()));
    Shot(main, std::string("keys_table_") + language);
    EXPECT_EQ(qorn.Close(), 0);
  }
}

}  // namespace
