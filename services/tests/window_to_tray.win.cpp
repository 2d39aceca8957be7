// Window-to-tray against a real second program (bin/trayee.exe): its main and tool
// windows hidden and brought back with their show commands by a click on the icon,
// the icons through a recording notifier, and no wait on a program that hangs.
#include <gtest/gtest.h>

#include "services/TrayNotify.h"
#include "services/WindowToTray.h"
#include "testing/WinTesting.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using qorn::testing::WaitFor;

struct TIconCall {
  DWORD message;
  UINT id;
  std::wstring tip;
  bool hasIcon;
  UINT size;
};

struct TRecordingNotifier : TTrayNotifier {
  bool Notify(DWORD message, const NOTIFYICONDATAW& d) override {
    calls.push_back({message, d.uID, d.szTip, d.hIcon != nullptr, d.cbSize});
    return true;
  }
  int Count(DWORD message) const {
    int n = 0;
    for (const auto& c : calls) n += c.message == message;
    return n;
  }
  std::vector<TIconCall> calls;
};

class WindowToTrayTest : public ::testing::Test {
 protected:
  void SetUp() override { previous = SetTrayNotifier(&icons); }
  void TearDown() override { SetTrayNotifier(previous); }

  // Starts the program and finds its two windows.
  void Start(const std::wstring& args, const wchar_t* title = L"Trayee main window") {
    program = qorn::testing::Process(std::filesystem::path(QORN_BINARY_DIR) / "bin" / "trayee.exe", args);
    main = qorn::testing::WaitForWindow(L"QornTrayeeMain", title, 20s);
    tool = qorn::testing::WaitForWindow(L"QornTrayeeMain", L"Trayee tool window", 20s);
    ASSERT_TRUE(main && tool);
    // Found while still being made: wait until both are on the screen.
    ASSERT_TRUE(WaitFor([&] { return BothShown(); }, 20s));
  }
  static UINT ShowCommand(HWND w) {
    WINDOWPLACEMENT p{};
    p.length = sizeof(p);
    GetWindowPlacement(w, &p);
    return p.showCmd;
  }
  void Click(TWindowTrayer& trayer, HWND w, UINT mouse) {
    SendMessageW(trayer.CallbackWindow(), TWindowTrayer::CallbackMessage,
                 static_cast<WPARAM>(static_cast<UINT>(reinterpret_cast<UINT_PTR>(w))), mouse);
  }
  bool BothHidden() { return !IsWindowVisible(main) && !IsWindowVisible(tool); }
  bool BothShown() { return IsWindowVisible(main) && IsWindowVisible(tool); }

  TRecordingNotifier icons;
  TTrayNotifier* previous = nullptr;
  qorn::testing::Process program;
  HWND main = nullptr, tool = nullptr;
};

TEST_F(WindowToTrayTest, HidesTheThreadsWindowsAndAClickBringsThemBack) {
  Start(L"minimized-tool");
  ASSERT_EQ(ShowCommand(tool), static_cast<UINT>(SW_SHOWMINIMIZED));
  TWindowTrayer trayer;
  trayer.Add(main);
  EXPECT_TRUE(trayer.IsTrayed(main));
  EXPECT_TRUE(WaitFor([&] { return BothHidden(); }, 10s)) << IsWindowVisible(main) << IsWindowVisible(tool);
  ASSERT_EQ(icons.calls.size(), 1u);
  EXPECT_EQ(icons.calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(icons.calls[0].id, static_cast<UINT>(reinterpret_cast<UINT_PTR>(main)));
  EXPECT_EQ(icons.calls[0].tip, L"Trayee main window");
  EXPECT_TRUE(icons.calls[0].hasIcon);
  EXPECT_EQ(icons.calls[0].size, static_cast<UINT>(NOTIFYICONDATAW_V1_SIZE));
  qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "window_to_tray_hidden.png");

  Click(trayer, main, WM_LBUTTONDOWN);
  EXPECT_FALSE(trayer.IsTrayed(main));
  EXPECT_TRUE(WaitFor([&] { return BothShown(); }, 10s));
  EXPECT_EQ(icons.Count(NIM_DELETE), 1);
  EXPECT_EQ(ShowCommand(tool), static_cast<UINT>(SW_SHOWMINIMIZED)) << "the tool window is as it was";
  EXPECT_EQ(ShowCommand(main), static_cast<UINT>(SW_SHOWNORMAL));
  qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "window_to_tray_restored.png");
}

TEST_F(WindowToTrayTest, TwoAddsNeedTwoClicksAndARightClickRestoresToo) {
  Start(L"");
  TWindowTrayer trayer;
  trayer.Add(main);
  ASSERT_TRUE(WaitFor([&] { return BothHidden(); }, 10s));
  trayer.Add(main);  // the thread's windows are hidden now: nothing more to collect
  EXPECT_EQ(icons.Count(NIM_ADD), 2);
  Click(trayer, main, WM_RBUTTONDOWN);
  EXPECT_TRUE(trayer.IsTrayed(main)) << "one icon is left";
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 10s));
  EXPECT_TRUE(IsWindowVisible(tool)) << "the first entry had the tool window";
  Click(trayer, main, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(trayer.IsTrayed(main));
  EXPECT_EQ(icons.Count(NIM_DELETE), 2);
  Click(trayer, tool, WM_LBUTTONDOWN);  // not trayed: nothing
  Click(trayer, main, WM_MOUSEMOVE);
  EXPECT_EQ(icons.Count(NIM_DELETE), 2);
}

TEST_F(WindowToTrayTest, TipsAreTheTitleCutTo63Characters) {
  EXPECT_EQ(TrayTipOf(L""), L"");
  EXPECT_EQ(TrayTipOf(std::wstring(63, L'x')), std::wstring(63, L'x'));
  EXPECT_EQ(TrayTipOf(std::wstring(80, L'y')), std::wstring(63, L'y'));
  const std::wstring longTitle = L"A title of a window that is much longer than sixty-three characters in all";
  Start(L"normal \"" + longTitle + L"\"", longTitle.c_str());
  TWindowTrayer trayer;
  trayer.Add(main);
  ASSERT_EQ(icons.calls.size(), 1u);
  EXPECT_EQ(icons.calls[0].tip, longTitle.substr(0, 63));
}

TEST_F(WindowToTrayTest, AnEndedProgramsIconGoes) {
  Start(L"");
  TWindowTrayer trayer;
  trayer.Add(main);
  program.kill();
  EXPECT_TRUE(WaitFor([&] { return !trayer.IsTrayed(main); }, 10s));
  EXPECT_EQ(icons.Count(NIM_DELETE), 1);
}

TEST_F(WindowToTrayTest, AHungProgramDoesNotHoldUsUp) {
  Start(L"hang");
  TWindowTrayer trayer;
  // Each question to the hung program gives up after 100 ms; ShowWindowAsync does not wait.
  const auto start = std::chrono::steady_clock::now();
  trayer.Add(main);
  Click(trayer, main, WM_LBUTTONDOWN);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_LT(took, 5s) << "a hung window must not block the caller";
  EXPECT_EQ(icons.Count(NIM_ADD), 1);
  EXPECT_EQ(icons.Count(NIM_DELETE), 1);
  ASSERT_FALSE(icons.calls.empty());
  EXPECT_EQ(icons.calls[0].tip, L"Trayee main window") << "the caption is read without asking the hung program";
}

TEST_F(WindowToTrayTest, FreeingTheTrayerBringsEverythingBack) {
  Start(L"");
  {
    TWindowTrayer trayer;
    trayer.Add(main);
    ASSERT_TRUE(WaitFor([&] { return BothHidden(); }, 10s));
  }
  EXPECT_TRUE(WaitFor([&] { return BothShown(); }, 10s));
  EXPECT_EQ(icons.Count(NIM_DELETE), 1);
}

}  // namespace
