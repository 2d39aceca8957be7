// Theme services: classic by default under wine, and a test's recorder in their
// place while it is installed.
#include <gtest/gtest.h>

#include "testing/RecordingThemes.h"
#include "vcl/Themes.h"

#include <vsstyle.h>

TEST(Themes, UnderWineThemesAreOffSoClassicDrawingIsTheDefault) {
  ASSERT_TRUE(RunningUnderWine()) << "these tests run under wine";
  EXPECT_FALSE(ThemeServices().ThemesEnabled());
  // Off means no drawing at all through the theme, and answers that change nothing.
  HDC dc = GetDC(nullptr);
  const TThemedElementDetails button = ThemeServices().GetElementDetails(L"BUTTON", BP_PUSHBUTTON, PBS_NORMAL);
  const TRect r{10, 10, 50, 30};
  EXPECT_EQ(ThemeServices().ContentRect(dc, button, r), r);
  EXPECT_EQ(ThemeServices().PartColor(button, 0, 0x123456), 0x123456u);
  ReleaseDC(nullptr, dc);
}

TEST(Themes, AnInstalledRecorderTakesEveryCallUntilItsScopeEnds) {
  TThemeServices& system = ThemeServices();
  qorn::testing::TRecordingThemeServices recorder;
  {
    TThemeServicesOverride use(recorder);
    ASSERT_EQ(&ThemeServices(), &recorder);
    EXPECT_TRUE(ThemeServices().ThemesEnabled());
    HDC dc = GetDC(nullptr);
    const auto check = ThemeServices().GetElementDetails(L"BUTTON", BP_CHECKBOX, CBS_CHECKEDHOT);
    ThemeServices().DrawElement(dc, check, {0, 0, 13, 13});
    ThemeServices().DrawText(dc, check, L"Mute", {16, 0, 80, 13}, DT_LEFT);
    EXPECT_EQ(ThemeServices().ContentRect(dc, check, {0, 0, 20, 20}), (TRect{2, 2, 18, 18}));
    ReleaseDC(nullptr, dc);
  }
  EXPECT_EQ(&ThemeServices(), &system);
  ASSERT_EQ(recorder.Calls.size(), 3u);
  EXPECT_EQ(recorder.Calls[0].What, L"DrawElement");
  EXPECT_EQ(recorder.Calls[0].Details, (TThemedElementDetails{L"BUTTON", BP_CHECKBOX, CBS_CHECKEDHOT}));
  EXPECT_EQ(recorder.Calls[1].Text, L"Mute");
  EXPECT_EQ(recorder.Count(L"ContentRect"), 1);
}
