// The information display and the mute picture read from their form resources:
// placed in the lower left corner, their deadlines on the injected clock, the
// information display's blinking and repeated calls, and the mute picture's
// built-in and user pictures, an unreadable one skipped without throwing.
#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "displays/InfoDisplay.h"
#include "displays/MutePicture.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Clock.h"

#include <chrono>
#include <fstream>
#include <memory>

using namespace std::chrono_literals;

namespace {

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecords = TSettingsRecords{};
    DisplayPlacementMode = 0;
  }
  void TearDown() override {
    SettingsRecords = TSettingsRecords{};
    Pump(10ms);
  }
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(30ms);
    ASSERT_TRUE(PumpDueTimers()) << "a timer never caught up with the clock";
  }
  static bool OnScreen(TWinControl* f) { return f->WindowHandle() && IsWindowVisible(f->WindowHandle()); }
  TManualClock clock;
  TClockOverride useClock{clock};
};

class InfoDisplay : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    form.reset(CreateForm<TOSDinfo>(Application));
  }
  void TearDown() override {
    form.reset();
    DisplayTest::TearDown();
  }
  std::unique_ptr<TOSDinfo> form;
};

TEST_F(InfoDisplay, ShowsInTheLowerLeftCornerWithoutActivation) {
  HWND before = GetForegroundWindow();
  form->showinfoosd(L"Power off in 4 s", L"4", false, L"TimerOff", 0, 4000);
  ASSERT_TRUE(OnScreen(form.get()));
  const RECT r = WindowRectOf(form->WindowHandle());
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.bottom, Screen->GetHeight() - 50);
  EXPECT_EQ(form->GetClientWidth(), 495);
  EXPECT_EQ(form->GetClientHeight(), 144);
  EXPECT_FALSE(GetWindowLongPtrW(form->WindowHandle(), GWL_STYLE) & WS_DLGFRAME) << "no title bar";
  EXPECT_TRUE(GetWindowLongPtrW(form->WindowHandle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_EQ(form->InfoLabel->GetCaption(), L"Power off in 4 s");
  EXPECT_EQ(form->InfoLabel->GetFont()->GetSize(), 16);
  EXPECT_EQ(form->InfoPict->GetPicture()->GetWidth(), 128);

  form->showinfoosd(L"Power off in 3 s", L"3", true, L"TimerOff", 0, 4000);
  EXPECT_EQ(form->InfoLabel->GetCaption(), L"3");
  EXPECT_EQ(form->InfoLabel->GetFont()->GetSize(), 48);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "displays_info_display.png"));
}

TEST_F(InfoDisplay, ARepeatedCallUpdatesTheTextAndDeadlineOnly) {
  MainSettings.osdsh = 2000;
  form->showinfoosd(L"4", L"", false, L"TimerOff", 0, 4000);
  ASSERT_EQ(form->LayoutCount(), 1);
  Advance(1000);
  form->showinfoosd(L"3", L"", false, L"TimerOff", 0, 4000);
  EXPECT_EQ(form->LayoutCount(), 1) << "not laid out again";
  EXPECT_EQ(form->InfoLabel->GetCaption(), L"3");
  // The deadline moved with the second call: 4000 + 2000 + 1000 after it.
  Advance(6900);
  EXPECT_TRUE(OnScreen(form.get()));
  Advance(600);
  EXPECT_FALSE(OnScreen(form.get()));
}

TEST_F(InfoDisplay, ANegativeTimeKeepsTheDeadline) {
  MainSettings.osdsh = 0;
  form->showinfoosd(L"Wait", L"", false, L"TimerOff", 0, 2000);
  Advance(2000);
  form->showinfoosd(L"Still", L"", false, L"TimerOff", 0, -1);
  EXPECT_EQ(form->LayoutCount(), 2) << "another time is another show";
  Advance(500);
  EXPECT_TRUE(OnScreen(form.get()));
  Advance(600);
  EXPECT_FALSE(OnScreen(form.get())) << "3000 ms after the first call";
}

TEST_F(InfoDisplay, BlinksAKnownPictureOnly) {
  form->showinfoosd(L"Long wait", L"", false, L"TimerOff", 1, 60000);
  ASSERT_TRUE(OnScreen(form.get()));
  std::vector<bool> phases;
  for (int i = 0; i < 4; ++i) {
    Advance(500);
    phases.push_back(form->InfoPict->GetVisible());
  }
  EXPECT_EQ(phases, (std::vector<bool>{false, true, false, true}));

  form->showinfoosd(L"No picture", L"", false, L"NoSuchPicture", 1, 60000);
  EXPECT_EQ(form->InfoPict->GetPicture()->GetGraphic(), nullptr);
  EXPECT_TRUE(form->InfoPict->GetVisible());
  Advance(500);
  Advance(500);
  EXPECT_TRUE(form->InfoPict->GetVisible()) << "nothing to blink";
  form->closeosd();
  EXPECT_FALSE(OnScreen(form.get()));
  EXPECT_FALSE(form->Timer1->GetEnabled());
}

class MutePicture : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    form.reset(CreateForm<TOSDmForm>(Application));
    form->Settings = &ext;
  }
  void TearDown() override {
    form.reset();
    DisplayTest::TearDown();
  }
  void SetPath(const char* name, const std::filesystem::path& file) {
    SetIniStg(ext, &ext.MainSettingsEx, name, file.string());
  }
  TExtSettings ext;
  qorn::testing::TempDir dir;
  std::unique_ptr<TOSDmForm> form;
};

TEST_F(MutePicture, BuiltInPicturesForEachStateNearTheLowerLeftCorner) {
  form->showw(1);
  ASSERT_TRUE(OnScreen(form.get()));
  EXPECT_TRUE(form->imon->GetVisible());
  EXPECT_FALSE(form->imoff->GetVisible());
  EXPECT_FALSE(form->userpict->GetVisible());
  const RECT r = WindowRectOf(form->WindowHandle());
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, Screen->GetHeight() - 190);
  EXPECT_EQ(r.right - r.left, 128);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->WindowHandle(), &key, &alpha, &flags));
  EXPECT_EQ(key, 0xFFFFFFu) << "white is see-through";
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "displays_mute_on.png"));
  form->showw(0);
  EXPECT_FALSE(form->imon->GetVisible());
  EXPECT_TRUE(form->imoff->GetVisible());
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "displays_mute_off.png"));
}

TEST_F(MutePicture, TwoCallsKeepItUpUntilTheTimeAfterTheSecond) {
  MainSettings.osdsh = 200;
  form->showw(1);
  Advance(500);
  form->showw(0);
  Advance(1200);
  EXPECT_TRUE(OnScreen(form.get()));
  Advance(100);
  EXPECT_FALSE(OnScreen(form.get()));
}

TEST_F(MutePicture, AUserPictureLargerThanTheBuiltInOnesEnlargesTheWindow) {
  TBitmap big;
  big.SetSize(200, 150);
  big.GetCanvas()->GetBrush()->SetColor(clRed);
  big.GetCanvas()->FillRect(Rect(0, 0, 200, 150));
  const auto file = dir.path() / "big.bmp";
  big.SaveToFile(file.wstring());
  SetPath("UserPictMuteOn", file);
  form->showw(1);
  ASSERT_TRUE(OnScreen(form.get()));
  EXPECT_TRUE(form->userpict->GetVisible());
  EXPECT_FALSE(form->imon->GetVisible());
  EXPECT_EQ(form->GetClientWidth(), 200);
  EXPECT_EQ(form->GetClientHeight(), 150);
  // Only the state with a path takes the user's picture.
  form->showw(0);
  EXPECT_TRUE(form->imoff->GetVisible());
  EXPECT_FALSE(form->userpict->GetVisible());
}

TEST_F(MutePicture, AnUnreadablePictureIsSkippedWithoutThrowing) {
  const auto file = dir.path() / "broken.png";
  std::ofstream(file, std::ios::binary) << "not a picture";
  SetPath("UserPictMuteOff", file);
  form->showw(0);
  EXPECT_FALSE(OnScreen(form.get()));
  SetPath("UserPictMuteOff", dir.path() / "missing.jpg");
  form->showw(0);
  EXPECT_FALSE(OnScreen(form.get()));
  form->showw(1);  // the other state has no path: the built-in picture
  EXPECT_TRUE(OnScreen(form.get()));
  EXPECT_TRUE(form->imon->GetVisible());
}

}  // namespace
