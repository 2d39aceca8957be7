// The volume display read from its form resource: its frames, its place and size
// from the settings (kept inside the screen when asked), the hide clock, and
// placement mode storing where the user put the bar; screenshots at 0, 50, 100 %.
#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "displays/VolumeDisplay.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}
// The client area's top-left corner on the screen.
POINT ClientOrigin(HWND w) {
  POINT p{0, 0};
  ClientToScreen(w, &p);
  return p;
}

class VolumeDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecords = TSettingsRecords{};
    MainSettings.OsdVolTop = 800;
    MainSettings.OsdVolLeft = 350;
    MainSettings.OsdVolHeight = 46;
    MainSettings.OsdVolWidth = 576;
    DisplayPlacementMode = 0;
    form.reset(CreateForm<TOSDvForm>(Application));
  }
  void TearDown() override {
    form.reset();
    DisplayPlacementMode = 0;
    SettingsRecords = TSettingsRecords{};
    Pump(10ms);
  }
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(30ms);
    ASSERT_TRUE(PumpDueTimers()) << "a timer never caught up with the clock";
  }
  HWND Wnd() { return form->WindowHandle(); }
  bool OnScreen() { return Wnd() && IsWindowVisible(Wnd()); }
  LONG_PTR Style() { return GetWindowLongPtrW(Wnd(), GWL_STYLE); }

  TManualClock clock;
  TClockOverride useClock{clock};
  std::unique_ptr<TOSDvForm> form;
};

TEST_F(VolumeDisplay, TheNormalFrameIsSizeableWithoutATitleBar) {
  MainSettings.osdtr = 0x180;
  form->showw();
  ASSERT_TRUE(OnScreen());
  EXPECT_FALSE(Style() & WS_DLGFRAME) << "no caption";
  EXPECT_TRUE(Style() & WS_BORDER);
  EXPECT_TRUE(Style() & WS_THICKFRAME);
  const LONG_PTR ex = GetWindowLongPtrW(Wnd(), GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(Wnd(), &key, &alpha, &flags));
  EXPECT_EQ(alpha, 0x80);
  EXPECT_EQ(key, 0xC0C0C0u) << "the silver parts are see-through";
  EXPECT_EQ(form->GetClientWidth(), 576);
  EXPECT_EQ(form->GetClientHeight(), 46);
  const RECT r = WindowRectOf(Wnd());
  EXPECT_EQ(r.left, 350);
  EXPECT_EQ(r.top, 800);
  // The user cannot resize it outside placement mode.
  EXPECT_EQ(form->GetConstraints()->GetMinWidth(), r.right - r.left);
  EXPECT_EQ(form->GetConstraints()->GetMaxWidth(), r.right - r.left);
  EXPECT_EQ(form->GetConstraints()->GetMaxHeight(), r.bottom - r.top);
}

TEST_F(VolumeDisplay, WithoutFrameTheBarIsTheWholeWindow) {
  MainSettings.CB_osd_vol_border_style = vfNone;
  form->showw();
  ASSERT_TRUE(OnScreen());
  EXPECT_FALSE(Style() & (WS_BORDER | WS_THICKFRAME | WS_DLGFRAME));
  EXPECT_FALSE(form->level->GetBevelBold());
  EXPECT_EQ(form->level->GetBevelInner(), bvNone);
  const RECT r = WindowRectOf(Wnd());
  EXPECT_EQ(r.right - r.left, 576);
  EXPECT_EQ(r.bottom - r.top, 46);
  EXPECT_EQ(form->level->GetWidth(), 576);

  form->HideDisplay();
  MainSettings.CB_osd_vol_border_style = vfThin;
  form->showw();
  EXPECT_FALSE(Style() & (WS_BORDER | WS_THICKFRAME));
  EXPECT_TRUE(form->level->GetBevelBold());
  EXPECT_EQ(form->level->GetBevelInner(), bvSpace);
}

TEST_F(VolumeDisplay, TheNormalFrameComesOnlyWhileHidden) {
  MainSettings.CB_osd_vol_border_style = vfNone;
  form->showw();
  MainSettings.CB_osd_vol_border_style = vfNormal;
  form->showw();
  EXPECT_FALSE(Style() & WS_THICKFRAME) << "a shown display keeps its frame";
  form->HideDisplay();
  form->showw();
  EXPECT_TRUE(Style() & WS_THICKFRAME);
}

TEST_F(VolumeDisplay, SegmentsColoursAndHideClockFromTheSettings) {
  MainSettings.osdvolstep = 7;
  MainSettings.osdvolspace = 3;
  MainSettings.osdsh = 500;
  ColorSettings.osdclrb = 0x0000FF;
  form->showw();
  EXPECT_EQ(form->level->GetStep(), 7);
  EXPECT_EQ(form->level->GetInterspace(), 3);
  EXPECT_EQ(form->level->GetGradient()->GetFromColor(), 0x0000FFu);
  EXPECT_EQ(form->level->GetGradient()->GetToColor(), static_cast<TColor>(clGreen)) << "-1 keeps the colour";
  Advance(1000);
  form->showw();  // a second key restarts the clock
  Advance(1500);
  EXPECT_TRUE(OnScreen());
  Advance(100);
  EXPECT_FALSE(OnScreen());
}

struct TPlaceCase {
  int keepInside, storedLeft, storedTop;
  int left, top;  // kFarEdge: screen size - window size
};
constexpr int kFarEdge = -100000;
class VolumeDisplayPlace : public VolumeDisplay, public ::testing::WithParamInterface<TPlaceCase> {};

TEST_P(VolumeDisplayPlace, KeptInsideTheScreenOnlyWhenAsked) {
  const TPlaceCase& c = GetParam();
  MainSettings.osdlim = c.keepInside;
  MainSettings.OsdVolLeft = c.storedLeft;
  MainSettings.OsdVolTop = c.storedTop;
  form->showw();
  const RECT r = WindowRectOf(Wnd());
  EXPECT_EQ(r.left, c.left == kFarEdge ? Screen->GetWidth() - (r.right - r.left) : c.left);
  EXPECT_EQ(r.top, c.top == kFarEdge ? Screen->GetHeight() - (r.bottom - r.top) : c.top);
}

INSTANTIATE_TEST_SUITE_P(Cases, VolumeDisplayPlace,
                         ::testing::Values(TPlaceCase{1, -20, 2000, 0, kFarEdge}, TPlaceCase{1, 1000, -5, kFarEdge, 0},
                                           TPlaceCase{0, -20, 2000, -20, 2000}));

TEST_F(VolumeDisplay, PlacementKeepsTheClientAreaAndStoresWhereTheUserPutIt) {
  MainSettings.CB_osd_vol_border_style = vfNone;
  form->BeginPlacement();
  ASSERT_TRUE(OnScreen());
  EXPECT_EQ(form->level->GetPercent(), 100);
  EXPECT_TRUE(Style() & WS_THICKFRAME) << "framed and sizeable while placed";
  EXPECT_EQ(form->GetConstraints()->GetMaxWidth(), 0);
  const POINT origin = ClientOrigin(Wnd());
  const RECT frame = WindowRectOf(Wnd());
  const int frameX = (frame.right - frame.left) - form->GetClientWidth();
  // Within a pixel of rounding the frame's half: the client area where it will be.
  EXPECT_NEAR(origin.x, 350, frameX % 2 ? 1 : 0);
  EXPECT_NEAR(origin.y, 800, 1);
  form->showw();
  EXPECT_EQ(form->level->GetPercent(), 100) << "volume keys leave the placed display alone";

  // The user drags and sizes it.
  SetWindowPos(Wnd(), nullptr, 200, 300, (frame.right - frame.left) + 100, (frame.bottom - frame.top) + 10,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Pump(20ms);
  const POINT moved = ClientOrigin(Wnd());
  RECT client{};
  GetClientRect(Wnd(), &client);
  form->EndPlacement();
  EXPECT_FALSE(OnScreen());
  EXPECT_EQ(DisplayPlacementMode, 0);
  EXPECT_EQ(MainSettings.OsdVolWidth, client.right);
  EXPECT_EQ(MainSettings.OsdVolHeight, client.bottom);
  EXPECT_NEAR(MainSettings.OsdVolLeft, moved.x, 1);
  EXPECT_NEAR(MainSettings.OsdVolTop, moved.y, 1);

  // Shown without a frame, the bar is where the client area was.
  form->showw();
  const RECT shown = WindowRectOf(Wnd());
  EXPECT_EQ(shown.left, MainSettings.OsdVolLeft);
  EXPECT_EQ(shown.top, MainSettings.OsdVolTop);
  EXPECT_EQ(shown.right - shown.left, 676);
}

TEST_F(VolumeDisplay, ScreenshotsAtNoneHalfAndFull) {
  for (int percent : {0, 50, 100}) {
    form->showw();
    form->level->SetPercent(percent);
    Pump(80ms);
    EXPECT_TRUE(qorn::testing::SaveWindowShot(
        Wnd(), qorn::testing::ScreenshotDir() / ("displays_volume_" + std::to_string(percent) + ".png")));
  }
}

}  // namespace
