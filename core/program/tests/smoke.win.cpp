// The real program starts under wine, shows its main window and closes on request.
// ctest-lock: main-window
#include <gtest/gtest.h>

#include "testing/TempDir.h"
#include "testing/WinTesting.h"

using namespace std::chrono_literals;
using namespace qorn::testing;

TEST(Smoke, QornShowsItsMainWindowAndCloses) {
  const std::filesystem::path dist = std::filesystem::path(QORN_BINARY_DIR) / "dist";
  ASSERT_TRUE(std::filesystem::exists(dist / "Qorn.exe"));
  Process qorn(dist / "Qorn.exe");
  ASSERT_TRUE(qorn.running());
  HWND main = WaitForWindow(L"TMainForm", L"Qorn", 30s);
  ASSERT_NE(main, nullptr) << "no window of class TMainForm with caption Qorn";
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  EXPECT_EQ(pid, qorn.id());
  ShowWindow(main, SW_SHOWNORMAL);
  WaitFor([] { return false; }, 500ms);
  EXPECT_TRUE(SaveScreenshot(ScreenshotDir() / "qorn-main.png"));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.wait(20s), 0);
}
