// The real program under wine, from a private copy of its folder in portable
// mode: one instance, its settings folder, and its private messages.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "core/mainwindow/MainForm.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

#include <wtsapi32.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {
int CountMainWindows() {
  int n = 0;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"TMainForm", L"Qorn"));) ++n;
  return n;
}

struct StartupTest : ::testing::Test {
  TempDir dir{"startup"};
  fs::path program = dir / "Qorn";
  void SetUp() override {
    fs::copy(fs::path(QORN_BINARY_DIR) / "dist", program, fs::copy_options::recursive);
    fs::create_directories(program / "AppData");
    WriteFileBytes(program / "AppData" / "portable_on", "");
  }
  static LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result), 0) << "no answer to " << msg;
    return static_cast<LRESULT>(result);
  }
};
}  // namespace

TEST_F(StartupTest, ASecondStartRestoresTheFirstAndEnds) {
  ASSERT_EQ(CountMainWindows(), 0) << "another Qorn is running";
  Process first(program / "Qorn.exe");
  HWND main = WaitForWindow(L"TMainForm", L"Qorn", 30s);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(fs::is_directory(program / "AppData" / "macros"));
  EXPECT_TRUE(fs::is_directory(program / "AppData" / "profiles"));
  ShowWindow(main, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != 0; }, 5s));
  // Two quick starts at once: both see the first instance and end.
  Process second(program / "Qorn.exe"), third(program / "Qorn.exe");
  EXPECT_EQ(second.wait(20s), 0);
  EXPECT_EQ(third.wait(20s), 0);
  EXPECT_TRUE(first.running());
  EXPECT_EQ(CountMainWindows(), 1);
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }, 5s)) << "the first instance was not restored";
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.wait(20s), 0);
}

TEST_F(StartupTest, PrivateMessagesAreAnsweredAndForeignPointersIgnored) {
  Process qorn(program / "Qorn.exe");
  HWND main = WaitForWindow(L"TMainForm", L"Qorn", 30s);
  ASSERT_NE(main, nullptr);
  EXPECT_NE(Send(main, WM_GETKEYCALLBACK, 0, 0), 0);
  // Addresses of another process, or none at all: ignored, and Qorn lives on.
  const char* ours = "KEY_POWER";
  const LPARAM foreign[] = {0, 0x10, reinterpret_cast<LPARAM>(ours), static_cast<LPARAM>(-4096)};
  for (LPARAM lp : foreign) {
    EXPECT_EQ(Send(main, WM_PLUGINKEY, PluginKeyEvent, lp), 0);
    EXPECT_EQ(Send(main, WM_PLUGINKEY, 1, lp), 0);
  }
  // No Sleep key ran: a suspend query and the notices are all accepted.
  for (WPARAM event : {WPARAM(0), WPARAM(PBT_APMSUSPEND), WPARAM(PBT_APMRESUMEAUTOMATIC)})
    EXPECT_EQ(Send(main, WM_POWERBROADCAST, event, 0), TRUE) << event;
  // Lock and unlock: the hook goes and comes back without a message box.
  for (WPARAM code : {WPARAM(WTS_SESSION_LOCK), WPARAM(WTS_SESSION_UNLOCK), WPARAM(WTS_CONSOLE_DISCONNECT),
                      WPARAM(WTS_CONSOLE_CONNECT)})
    Send(main, WM_WTSSESSION_CHANGE, code, 0);
  EXPECT_EQ(FindWindowW(nullptr, L"Critical ERROR !"), nullptr);
  EXPECT_TRUE(qorn.running());
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
}
