// The real program starts under wine, shows its main window and closes on request,
// from a portable copy of its own: its settings stay in the test's own folder and
// every run is a first run.
// ctest-lock: main-window
#include <gtest/gtest.h>

#include "core/program/tests/QornInstall.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

using namespace std::chrono_literals;
using namespace qorn::testing;

TEST(Smoke, QornShowsItsMainWindowAndCloses) {
  const std::filesystem::path dist = std::filesystem::path(QORN_BINARY_DIR) / "dist";
  ASSERT_TRUE(std::filesystem::exists(dist / "Qorn.exe"));
  TempDir dir("smoke");
  TQornInstall qorn(dir / "Qorn", dist);
  ASSERT_FALSE(qorn.Exists("stg.db"));
  ASSERT_TRUE(qorn.Start()) << "no window of class TMainForm with caption Qorn in the started program";
  ShowWindow(qorn.Window(), SW_SHOWNORMAL);
  EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(qorn.Window()) != 0 && !IsIconic(qorn.Window()); }, 10s));
  EXPECT_TRUE(SaveScreenshot(ScreenshotDir() / "qorn-main.png"));
  EXPECT_EQ(qorn.Close(), 0);
  EXPECT_TRUE(qorn.Exists("stg.db")) << "the settings are written to the program's own folder on closing";
}
