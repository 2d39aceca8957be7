// The track bar as the program's settings pages use it, read from a form resource:
// the range read as written, the position rules and veto, dragging, paging with the
// program's clock, keys, ticks, the thumb pictures and their colours.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyTrkBar.h"
#include "controls/extended/tests/VyButtonsForm.h"
#include "testing/PumpApplication.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

#include <chrono>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

class VyTrackBars : public VyButtonsFormTest {
 protected:
  void SetUp() override {
    VyButtonsFormTest::SetUp();
    skin = Find<TVyTrackBar>(L"SkinBar");
    ticks = Find<TVyTrackBar>(L"TickBar");
    vert = Find<TVyTrackBar>(L"VertBar");
    ASSERT_TRUE(skin && ticks && vert);
    skin->OnChange = [this](TObject*) { changes.push_back(skin->GetPosition()); };
  }
  static void Mouse(TVyTrackBar* bar, UINT msg, int x, int y) {
    PostMessageW(bar->GetHandle(), msg, msg == WM_LBUTTONDOWN || msg == WM_MOUSEMOVE ? MK_LBUTTON : 0,
                 MAKELPARAM(x, y));
    Pump(20ms);
  }
  static TPoint Centre(const TRect& r) { return {r.Left + r.Width() / 2, r.Top + r.Height() / 2}; }
  TVyTrackBar *skin = nullptr, *ticks = nullptr, *vert = nullptr;
  std::vector<int> changes;
};

TEST_F(VyTrackBars, AFiftyToThreeHundredBarLoadsAsWritten) {
  EXPECT_EQ(skin->GetMin(), 50);
  EXPECT_EQ(skin->GetMax(), 300);
  EXPECT_EQ(skin->GetPosition(), 100);
  EXPECT_EQ(skin->GetTrackWidth(), 8u) << "the style read does not change a width of the form";
  EXPECT_EQ(ticks->GetMin(), -6);
}

TEST_F(VyTrackBars, RangeRulesMovePositionAndFireChange) {
  skin->SetMin(300);
  EXPECT_EQ(skin->GetMin(), 299) << "Min stays below Max";
  EXPECT_EQ(skin->GetPosition(), 299);
  skin->SetMax(100);
  EXPECT_EQ(skin->GetMax(), 300) << "Max stays above Min";
  skin->SetMin(50);
  skin->SetMax(40);
  EXPECT_EQ(skin->GetMax(), 51);
  EXPECT_EQ(skin->GetPosition(), 51);
  skin->SetRange(-90, 90);
  EXPECT_EQ(skin->GetMin(), -90);
  EXPECT_EQ(skin->GetMax(), 90);
  skin->SetRange(10, 10);
  EXPECT_EQ(skin->GetMax(), 11);
  EXPECT_EQ(changes, (std::vector<int>{299, 51, 11}));
}

TEST_F(VyTrackBars, PositionIsClampedAndAVetoKeepsIt) {
  skin->SetPosition(1000);
  EXPECT_EQ(skin->GetPosition(), 300);
  bool allow = false;
  skin->OnChanging = [&](TObject*, int newPos, bool& allowChange) {
    EXPECT_EQ(newPos, 200);
    allowChange = allow;
  };
  skin->SetPosition(200);
  EXPECT_EQ(skin->GetPosition(), 300);
  allow = true;
  skin->SetPosition(200);
  EXPECT_EQ(skin->GetPosition(), 200);
  EXPECT_EQ(changes, (std::vector<int>{300, 200}));
}

TEST_F(VyTrackBars, DraggingTheThumbFollowsThePointer) {
  const TRect thumb = skin->ThumbRect();
  const TPoint grab = Centre(thumb);
  Mouse(skin, WM_LBUTTONDOWN, grab.X, grab.Y);
  EXPECT_TRUE(skin->Dragging());
  // The track runs from 9 to 291: its middle is the middle of 50..300.
  Mouse(skin, WM_MOUSEMOVE, 150, grab.Y);
  EXPECT_EQ(skin->GetPosition(), 175);
  Mouse(skin, WM_MOUSEMOVE, 2000, grab.Y);
  EXPECT_EQ(skin->GetPosition(), 300);
  Mouse(skin, WM_MOUSEMOVE, 150, grab.Y + 40);
  EXPECT_EQ(skin->GetPosition(), 175) << "only the distance along the bar counts";
  Mouse(skin, WM_LBUTTONUP, 150, grab.Y);
  EXPECT_FALSE(skin->Dragging());
  EXPECT_EQ(skin->ThumbRect().Left, 282 * 125 / 250 + 4);
  Pump(30ms);
  Snapshot();
  EXPECT_EQ(At(skin, skin->ThumbRect().Left + 5, skin->ThumbRect().Top + 10), ColorToRGB(clBtnFace)) << "the thumb";
  EXPECT_EQ(At(skin, thumb.Left + 5, 2), ColorToRGB(clBtnFace)) << "nothing left where it was";
  EXPECT_EQ(At(skin, thumb.Left + 5, 24), ColorToRGB(cl3DLight)) << "the track shows again";
}

TEST_F(VyTrackBars, ABarShorterThanItsThumbIgnoresADrag) {
  auto* tiny = new TVyTrackBar(form);
  tiny->SetParent(form);
  tiny->SetBounds(8, 300, 15, 14);
  tiny->SetPosition(3);
  Pump(20ms);
  ASSERT_EQ(tiny->GetOrientation(), orHorizontal);
  const TPoint grab = Centre(tiny->ThumbRect());
  Mouse(tiny, WM_LBUTTONDOWN, grab.X, grab.Y);
  Mouse(tiny, WM_MOUSEMOVE, grab.X + 5, grab.Y);
  Mouse(tiny, WM_LBUTTONUP, grab.X + 5, grab.Y);
  EXPECT_EQ(tiny->GetPosition(), 3);
}

TEST_F(VyTrackBars, HoldingOnTheTrackPagesAtOnceThenAfterAPauseAndStopsAtThePoint) {
  TManualClock clock;
  TClockOverride useClock(clock);
  // Held right of the thumb (60..70 at 100), on the track (20..28).
  Mouse(skin, WM_LBUTTONDOWN, 100, 24);
  EXPECT_EQ(skin->GetPosition(), 110) << "the first page at once";
  auto after = [&](int ms) {
    clock.Advance(ms);
    Pump(40ms);
    PumpDueTimers();
    return skin->GetPosition();
  };
  EXPECT_EQ(after(150), 110);
  EXPECT_EQ(after(50), 120) << "the second after 200 ms";
  EXPECT_EQ(after(100), 130) << "then every 100 ms";
  EXPECT_EQ(after(100), 130) << "the thumb has reached the held point";
  EXPECT_FALSE(skin->Paging());
  EXPECT_EQ(after(300), 130);
  Mouse(skin, WM_LBUTTONUP, 100, 24);
  EXPECT_EQ(changes, (std::vector<int>{110, 120, 130}));
}

TEST_F(VyTrackBars, KeysStepPageAndJump) {
  skin->SetFocus();
  Pump(20ms);
  HWND wnd = skin->GetHandle();
  struct Step {
    WORD key;
    int position;
  } steps[] = {{VK_RIGHT, 101}, {VK_UP, 102},    {VK_PRIOR, 112}, {VK_NEXT, 102}, {VK_LEFT, 101}, {VK_DOWN, 100},
               {VK_END, 300},   {VK_RIGHT, 300}, {VK_HOME, 50},   {VK_LEFT, 50},  {VK_ADD, 51},   {VK_SUBTRACT, 50}};
  for (const Step& s : steps) {
    PostMessageW(wnd, WM_KEYDOWN, s.key, 1);
    Pump(20ms);
    EXPECT_EQ(skin->GetPosition(), s.position) << "key " << s.key;
  }
  EXPECT_TRUE(skin->Focused()) << "the arrows stay with the bar";

  EXPECT_EQ(vert->GetOrientation(), orVertical) << "taller than wide";
  vert->SetFocus();
  Pump(20ms);
  PostMessageW(vert->GetHandle(), WM_KEYDOWN, VK_HOME, 1);
  Pump(20ms);
  EXPECT_EQ(vert->GetPosition(), vert->GetMax()) << "Home is the top: Max";
}

TEST_F(VyTrackBars, TicksAtMultiplesOfTheStepAndAPointerWithClearCorners) {
  std::vector<int> drawn;
  ticks->OnDrawTick = [&](TObject*, TCanvas*, int value, TPoint) { drawn.push_back(value); };
  Snapshot();
  EXPECT_TRUE(drawn.empty()) << "standard ticks draw themselves";
  const TRect thumb = ticks->ThumbRect();
  EXPECT_EQ(At(ticks, thumb.Left + 5, thumb.Top + 5), ColorToRGB(clBtnFace)) << "the thumb's face";
  EXPECT_EQ(At(ticks, thumb.Left, thumb.Bottom - 1), clWhite) << "the pointer's cut corner shows the bar";
  const int tickX = TickMarks(ticks->Layout(), 5)[0].Offset;
  EXPECT_EQ(At(ticks, tickX, 6), ColorToRGB(clBtnShadow)) << "a tick above the track";
  ticks->SetTickStyle(tkOwnerDraw);
  Snapshot();
  EXPECT_EQ(drawn, (std::vector<int>{-5, 0, 5}));
}

TEST_F(VyTrackBars, StockThumbsTakeTheBarsColours) {
  skin->SetHotTrackColorType(TVyHotTrackColorType::htctActual);
  skin->SetHotTrackColor(clRed);
  EXPECT_EQ(skin->HotThumbImage()->GetPixel(5, 10), LightenColor(clRed, 30)) << "fuchsia is hot colour A";
  EXPECT_EQ(skin->ThumbImage()->GetPixel(5, 10), ColorToRGB(clBtnFace)) << "silver is the face colour";
  const auto map = ThumbColorMap(clHighlight, clRed, TVyHotTrackColorType::htctActual);
  ASSERT_EQ(map.size(), 14u);
  for (const auto& [from, to] : map)
    if (from == TColor(0xFF0000)) EXPECT_EQ(to, TColor(ColorToRGB(clHighlight) + 1));
  // The complement: hue turned by 120 at saturation 220, luminance 180.
  const auto complement = ThumbColorMap(clHighlight, clRed, TVyHotTrackColorType::htctComplement);
  for (const auto& [from, to] : complement)
    if (from == TColor(0xFF00FF)) EXPECT_EQ(to, HueSatLumToColor(120, 220, 180));

  TBitmap custom(30, 9);
  custom.GetCanvas()->GetBrush()->SetColor(clRed);
  custom.GetCanvas()->FillRect(Rect(0, 0, 10, 9));
  skin->SetCustomThumb(&custom);
  EXPECT_EQ(skin->GetThumbStyle(), tsCustom);
  EXPECT_EQ(skin->ThumbImage()->GetWidth(), 10);
  EXPECT_EQ(skin->ThumbImage()->GetPixel(3, 3), clRed);
}

TEST_F(VyTrackBars, ATransparentBarShowsWhatLiesBehindAndLeavesNoGhostThumb) {
  form->SetColor(clTeal);
  ticks->SetTransparent(true);
  // Under the mouse before any paint: the background is not cached from the screen.
  const TPoint over = Centre(ticks->ThumbRect());
  const TRect before = ticks->ThumbRect();
  ticks->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(over.X, over.Y));
  EXPECT_TRUE(ticks->ThumbHot());
  ticks->SetPosition(5);
  Pump(40ms);
  Snapshot();
  EXPECT_EQ(At(ticks, before.Left + 5, before.Top + 3), ColorToRGB(clTeal)) << "the form shows where the thumb was";
  EXPECT_EQ(At(ticks, 2, 2), ColorToRGB(clTeal));
}

}  // namespace
