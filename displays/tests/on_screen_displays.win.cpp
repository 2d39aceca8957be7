// The program's displays as the key road and the actions reach them: each call of
// OnScreenDisplays() shows its form (none is made: nothing happens), a recorder can
// take their place, and every display hides on time also when it was shown just
// before a 32-bit millisecond count would wrap.
#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "displays/InfoDisplay.h"
#include "displays/MutePicture.h"
#include "displays/OnScreenDisplays.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"
#include "testing/PumpApplication.h"
#include "vcl/Clock.h"

#include <chrono>
#include <functional>
#include <memory>

using namespace std::chrono_literals;

namespace {

class OnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecords = TSettingsRecords{};
    MainSettings.OsdVolWidth = 576;
    MainSettings.OsdVolHeight = 46;
    DisplayPlacementMode = 0;
    OSDtForm = CreateForm<TOSDtForm>(Application);
    OSDvForm = CreateForm<TOSDvForm>(Application);
    OSDmForm = CreateForm<TOSDmForm>(Application);
    OSDinfo = CreateForm<TOSDinfo>(Application);
  }
  void TearDown() override {
    Forget(OSDtForm);
    Forget(OSDvForm);
    Forget(OSDmForm);
    Forget(OSDinfo);
    DisplayPlacementMode = 0;
    SettingsRecords = TSettingsRecords{};
    Pump(10ms);
  }
  template <class T>
  static void Forget(T*& form) {
    delete form;
    form = nullptr;
  }
  static bool OnScreenNow(TWinControl* f) { return f && f->WindowHandle() && IsWindowVisible(f->WindowHandle()); }
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(30ms);
    ASSERT_TRUE(PumpDueTimers()) << "a timer never caught up with the clock";
  }
  TManualClock clock;
  TClockOverride useClock{clock};
};

TEST_F(OnScreen, EachCallShowsItsDisplay) {
  IOnScreenDisplays& displays = OnScreenDisplays();
  displays.ShowText(tkWithBar, L"Track 7", 40);
  EXPECT_TRUE(OnScreenNow(OSDtForm));
  EXPECT_EQ(OSDtForm->VyLabel1->GetCaption(), L"Track 7");
  EXPECT_EQ(OSDtForm->waosd->GetPercent(), 40);
  EXPECT_TRUE(OSDtForm->waosd->GetVisible());

  displays.ShowVolume(35);
  EXPECT_TRUE(OnScreenNow(OSDvForm));
  EXPECT_EQ(OSDvForm->level->GetPercent(), 35);

  displays.ShowMute(1);
  EXPECT_TRUE(OnScreenNow(OSDmForm));
  EXPECT_TRUE(OSDmForm->imon->GetVisible());

  displays.ShowInfo(L"Power off in 4 s", L"4", false, L"TimerOff", 0, 4000);
  EXPECT_TRUE(OnScreenNow(OSDinfo));
  EXPECT_EQ(OSDinfo->InfoLabel->GetCaption(), L"Power off in 4 s");
  displays.CloseInfo();
  EXPECT_FALSE(OnScreenNow(OSDinfo));
}

TEST_F(OnScreen, AVolumeKeyLeavesADisplayThatIsBeingPlacedAlone) {
  OSDvForm->BeginPlacement();
  OnScreenDisplays().ShowVolume(10);
  EXPECT_EQ(OSDvForm->level->GetPercent(), 100);
  OSDvForm->EndPlacement();
}

TEST_F(OnScreen, BeforeTheDisplaysAreMadeNothingShows) {
  Forget(OSDtForm);
  Forget(OSDvForm);
  Forget(OSDmForm);
  Forget(OSDinfo);
  IOnScreenDisplays& displays = OnScreenDisplays();
  displays.ShowText(tkNotice, L"Early", 0);
  displays.ShowVolume(50);
  displays.ShowMute(0);
  displays.ShowInfo(L"x", L"x", false, L"", 0, 100);
  displays.CloseInfo();
  SUCCEED() << "no display, no crash";
}

TEST_F(OnScreen, ARecorderTakesThePlaceOfTheDisplays) {
  struct TRecorder : IOnScreenDisplays {
    int volume = -1;
    void ShowText(std::uint8_t, const std::wstring&, int) override {}
    void ShowVolume(int percent) override { volume = percent; }
    void ShowMute(std::uint8_t) override {}
    void ShowInfo(const std::wstring&, const std::wstring&, bool, const std::wstring&, std::uint8_t,
                  std::int32_t) override {}
    void CloseInfo() override {}
    void ShowPopup(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&, std::uint8_t,
                   std::uint8_t) override {}
    void ShowPopupTrack(const std::wstring&, const std::wstring&, const std::wstring&, const std::wstring&,
                        std::uint8_t) override {}
    void ShowPopupVolume(std::uint8_t, std::int32_t) override {}
  } recorder;
  SetOnScreenDisplays(&recorder);
  OnScreenDisplays().ShowVolume(70);
  SetOnScreenDisplays(nullptr);
  EXPECT_EQ(recorder.volume, 70);
  EXPECT_FALSE(OnScreenNow(OSDvForm));
  OnScreenDisplays().ShowVolume(20);
  EXPECT_TRUE(OnScreenNow(OSDvForm)) << "the program's displays again";
}

struct TWrapCase {
  const char* name;
  std::function<void()> show;
  std::function<TWinControl*()> form;
  std::uint64_t stillUpAt;  // ms after the show
  std::uint64_t goneBy;
};

class OnScreenWrap : public OnScreen, public ::testing::WithParamInterface<TWrapCase> {};

TEST_P(OnScreenWrap, HidesOnTimeAcrossA32BitWrap) {
  const TWrapCase& c = GetParam();
  MainSettings.osdsh = 0;
  MainSettings.osdsh2 = 0;
  clock.Set(0xFFFFFFFFull - 300);
  c.show();
  ASSERT_TRUE(OnScreenNow(c.form()));
  Advance(c.stillUpAt);
  EXPECT_TRUE(OnScreenNow(c.form())) << "gone too early";
  Advance(c.goneBy - c.stillUpAt);
  EXPECT_FALSE(OnScreenNow(c.form())) << "still up after its time";
}

INSTANTIATE_TEST_SUITE_P(
    Displays, OnScreenWrap,
    ::testing::Values(
        TWrapCase{"volume", [] { OnScreenDisplays().ShowVolume(50); }, [] { return OSDvForm; }, 900, 1100},
        TWrapCase{"mute", [] { OnScreenDisplays().ShowMute(0); }, [] { return OSDmForm; }, 900, 1100},
        // Its timer ticks every 500 ms: 1000 ms plus the time asked for, then the next tick.
        TWrapCase{"info", [] { OnScreenDisplays().ShowInfo(L"Off", L"", false, L"TimerOff", 0, 1000); },
                  [] { return OSDinfo; }, 1900, 2600},
        TWrapCase{"text", [] { OnScreenDisplays().ShowText(tkNotice, L"Late", 0); }, [] { return OSDtForm; }, 900,
                  1100}),
    [](const ::testing::TestParamInfo<TWrapCase>& info) { return info.param.name; });

}  // namespace
