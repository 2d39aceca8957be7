// The extended controls as the program's forms configure them, read from a form
// resource and painted into a memory bitmap; screenshots/vy-controls.png shows the form.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/tests/VyFormTest.h"
#include "controls/extended/VyBorder.h"
#include "controls/extended/VyPrgres.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

class VyControls : public VyFormTest {};

TEST_F(VyControls, InformationDisplaysBorder) {
  auto* border = Find<TVyBorder>(L"InfoBorder");
  ASSERT_TRUE(border);
  EXPECT_EQ(border->GetClientRect(), Rect(5, 5, 175, 85)) << "2 + 1 + 2 in from each edge";
  Snapshot();
  const TColor face = ColorToRGB(clBtnFace), flat = AdjustColorBy(clBtnShadow, 30);
  EXPECT_EQ(At(border, 0, 0), face) << "its cut corners show the form";
  EXPECT_EQ(At(border, 0, 40), flat);
  EXPECT_EQ(At(border, 1, 40), clWhite);
  EXPECT_EQ(At(border, 2, 40), clWhite);
  EXPECT_EQ(At(border, 3, 40), flat);
  EXPECT_EQ(At(border, 179, 40), flat);
  EXPECT_EQ(At(border, 90, 45), face) << "nothing is filled inside";
}

TEST_F(VyControls, TinyBorderHasNoClientAreaAndStaysInItsBounds) {
  auto* tiny = Find<TVyBorder>(L"TinyBorder");
  ASSERT_TRUE(tiny);
  EXPECT_EQ(tiny->GetClientRect(), Rect(0, 0, 0, 0));
  Snapshot();
  const TColor face = ColorToRGB(clBtnFace);
  for (int i = -2; i < 6; ++i) {
    EXPECT_EQ(At(tiny, i, -1), face) << i;
    EXPECT_EQ(At(tiny, i, 4), face) << i;
    EXPECT_EQ(At(tiny, -1, i), face) << i;
    EXPECT_EQ(At(tiny, 4, i), face) << i;
  }
}

TEST_F(VyControls, DefaultBorderIsAGrooveAndStoresNothingButItsPlace) {
  auto* border = Find<TVyBorder>(L"GrooveBorder");
  ASSERT_TRUE(border);
  EXPECT_EQ(border->GetBorderOuter(), fsGroove);
  EXPECT_EQ(border->GetClientRect(), Rect(2, 2, 118, 88));
  Snapshot();
  EXPECT_EQ(At(border, 0, 40), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(border, 1, 40), ColorToRGB(clBtnHighlight));
  auto* fresh = new TVyBorder(form);
  auto* bar = new TVyProgressBar(form);
  const std::string text = WriteComponentToText(fresh) + WriteComponentToText(bar);
  for (const char* name : {"BorderOuter", "BevelWidth", "FlatColor", "BackColor", "NumSegments", "ThemeAware"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << " written at its default:\n" << text;
}

TEST_F(VyControls, TextDisplaysBar) {
  auto* bar = Find<TVyProgressBar>(L"waosd");
  ASSERT_TRUE(bar);
  const TColor black = clBlack, blue = clBlue, yellow = clYellow;
  struct Case {
    int percent;
    int lastBlack;  // the last interior column in the bar colour; 4 (the frame) for none
  } cases[] = {{0, 4}, {50, 5 + 263 - 1}, {100, 529}, {250, 529}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    bar->SetPercent(c.percent);
    Snapshot();
    EXPECT_EQ(At(bar, 0, 20), yellow) << "two-pixel yellow band";
    EXPECT_EQ(At(bar, 1, 20), yellow);
    for (int x = 2; x < 5; ++x) EXPECT_EQ(At(bar, x, 20), blue) << "three-pixel blue interior frame at " << x;
    EXPECT_EQ(At(bar, 530, 20), blue);
    EXPECT_EQ(At(bar, 534, 20), yellow);
    EXPECT_EQ(At(bar, 267, 2), blue) << "the interior frame's top";
    if (c.lastBlack >= 5) {
      EXPECT_EQ(At(bar, 5, 20), black);
      EXPECT_EQ(At(bar, c.lastBlack, 20), black);
    }
    if (c.lastBlack < 529) EXPECT_EQ(At(bar, c.lastBlack + 1, 20), blue);
  }
}

TEST_F(VyControls, LedAndTraditionalBarsFromTheForm) {
  auto* led = Find<TVyProgressBar>(L"LedBar");
  auto* text = Find<TVyProgressBar>(L"TextBar");
  auto* tall = Find<TVyProgressBar>(L"TallBar");
  ASSERT_TRUE(led && text && tall);
  EXPECT_EQ(tall->GetOrientation(), orVertical) << "taller than wide";
  Snapshot();
  const TColor bar = ColorToRGB(clHighlight), back = clWhite;
  // Lowered frame 2 px, interior offset 1: segments from x = 3 over 294 px, 20 of 14 px.
  EXPECT_EQ(At(led, 3 + 14 * 2 + 7, 12), bar);
  EXPECT_EQ(At(led, 3 + 14 * 15 + 7, 12), back) << "70 % is 14 segments";
  EXPECT_EQ(At(tall, 12, 178), bar) << "vertical fills from the bottom";
  EXPECT_EQ(At(tall, 12, 10), back);
  EXPECT_EQ(At(text, 5, 12), bar);
  EXPECT_EQ(At(text, 210, 12), back);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-controls.png"));
}

TEST(VyProgressBar, PartsPercentAndStyle) {
  TVyProgressBar bar(nullptr);
  std::vector<int> changes;
  bar.OnChange = [&](TObject*, int percent) { changes.push_back(percent); };
  bar.SetTotalParts(3);
  bar.SetPartsComplete(2);
  EXPECT_EQ(bar.GetPercent(), 67);
  bar.SetPartsComplete(5);
  EXPECT_EQ(bar.GetPartsComplete(), 3u) << "limited to the total";
  EXPECT_EQ(bar.GetPercent(), 100);
  bar.SetTotalParts(10);
  EXPECT_EQ(bar.GetPartsComplete(), 0u);
  EXPECT_EQ(bar.GetPercent(), 0);
  EXPECT_EQ(changes, (std::vector<int>{67, 100, 0}));
  bar.SetBarStyle(bsLED);
  EXPECT_FALSE(bar.GetShowPercent());
  EXPECT_EQ(bar.GetInteriorOffset(), 1);
  bar.SetBarStyle(bsTraditional);
  EXPECT_TRUE(bar.GetShowPercent());
  EXPECT_EQ(bar.GetInteriorOffset(), 0);
  bar.SetBounds(0, 0, 24, 200);
  EXPECT_EQ(bar.GetOrientation(), orVertical);
  bar.SetBounds(0, 0, 200, 24);
  EXPECT_EQ(bar.GetOrientation(), orHorizontal);
  bar.SetBarColor(clRed);
  EXPECT_EQ(bar.GetFont()->GetColor(), clRed);
}

TEST(VyProgressBar, ATotalReadFromAFormKeepsTheStreamedParts) {
  auto* form = CreateFormNew<TTestVyControlsForm>(nullptr);
  ReadComponentFromText(form, R"(object F: TTestVyControlsForm
  object P: TVyProgressBar
    PartsComplete = 2
    TotalParts = 4
    Percent = 50
  end
end
)",
                        L"TEST");
  auto* bar = dynamic_cast<TVyProgressBar*>(form->FindComponent(L"P"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetTotalParts(), 4u);
  EXPECT_EQ(bar->GetPartsComplete(), 2u);
  EXPECT_EQ(bar->GetPercent(), 50);
  delete form;
}

}  // namespace
