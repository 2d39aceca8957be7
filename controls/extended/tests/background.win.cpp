// The background's layers and the separators, as the popup and donation windows set them
// up, read from a form resource and painted into a memory bitmap.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/tests/VyFormTest.h"
#include "controls/extended/VyBckgnd.h"
#include "testing/PumpApplication.h"
#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>
#include <cstdlib>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

// Within a few steps of the colour in every channel (gradient bands round).
bool Near(TColor got, TColor want, int by = 12) {
  want = ColorToRGB(want);
  for (int shift : {0, 8, 16})
    if (std::abs(int((got >> shift) & 0xFF) - int((want >> shift) & 0xFF)) > by) return false;
  return true;
}

class VyBackgroundForm : public VyFormTest {
 protected:
  static void SetSolid(TPicture* picture, int w, int h, TColor color) {
    TBitmap bmp;
    bmp.SetSize(w, h);
    bmp.GetCanvas()->GetBrush()->SetColor(color);
    bmp.GetCanvas()->FillRect(Rect(0, 0, w, h));
    picture->SetBitmap(&bmp);
  }
};

TEST_F(VyBackgroundForm, PopupGradientRunsFromStartAtTheTopToStopAtTheBottom) {
  auto* back = Find<TVyBackground>(L"PopupBackground");
  ASSERT_TRUE(back);
  Snapshot();
  EXPECT_EQ(At(back, 0, 75), ColorToRGB(clBtnShadow)) << "the flat frame";
  EXPECT_EQ(At(back, 90, 149), ColorToRGB(clBtnShadow));
  EXPECT_TRUE(Near(At(back, 90, 1), clNavy)) << std::hex << At(back, 90, 1);
  EXPECT_TRUE(Near(At(back, 90, 148), clAqua)) << std::hex << At(back, 90, 148);
  const TColor middle = At(back, 90, 75);
  EXPECT_FALSE(Near(middle, clNavy, 40));
  EXPECT_FALSE(Near(middle, clAqua, 40));
  EXPECT_EQ(At(back, 10, 75), At(back, 170, 75)) << "horizontal bands";
}

TEST_F(VyBackgroundForm, AnInactiveOrCoveredGradientIsNotPainted) {
  auto* back = Find<TVyBackground>(L"PopupBackground");
  ASSERT_TRUE(back);
  back->SetActive(false);
  Snapshot();
  EXPECT_EQ(At(back, 90, 10), ColorToRGB(clBtnFace)) << "the form shows through";
  back->SetActive(true);
  SetSolid(back->GetImage(), 10, 10, clLime);
  back->SetImageStyle(isStretch);
  back->SetShowImage(true);
  Snapshot();
  EXPECT_EQ(At(back, 90, 2), clLime);
  EXPECT_EQ(At(back, 177, 147), clLime) << "stretched over the whole area";
  back->SetImageStyle(isCenter);
  Snapshot();
  EXPECT_EQ(At(back, 90, 75), clLime);
  EXPECT_TRUE(Near(At(back, 90, 2), clNavy)) << "a centred picture leaves the gradient around it";
}

TEST_F(VyBackgroundForm, GradientOffTurnsAnEmptyTextureOnThatPaintsNothing) {
  auto* back = Find<TVyBackground>(L"PopupBackground");
  ASSERT_TRUE(back);
  back->SetShowGradient(false);
  EXPECT_TRUE(back->GetShowTexture());
  Snapshot();  // an empty texture: nothing tiled, nothing fails
  EXPECT_EQ(At(back, 90, 75), ColorToRGB(clBtnFace));
  // A 3 x 2 texture: two colours in columns, repeated across.
  TBitmap tile;
  tile.SetSize(3, 2);
  tile.GetCanvas()->GetBrush()->SetColor(clRed);
  tile.GetCanvas()->FillRect(Rect(0, 0, 3, 2));
  tile.GetCanvas()->SetPixel(0, 0, clYellow);
  tile.GetCanvas()->SetPixel(0, 1, clYellow);
  back->GetTexture()->SetBitmap(&tile);
  Snapshot();
  // Drawn at the frame offset (1, 1).
  EXPECT_EQ(At(back, 1, 1), clYellow);
  EXPECT_EQ(At(back, 2, 1), clRed);
  EXPECT_EQ(At(back, 4, 60), clYellow);
  EXPECT_EQ(At(back, 176, 100), clRed);
  EXPECT_EQ(At(back, 166, 100), clYellow);
  back->SetShowGradient(true);
  EXPECT_FALSE(back->GetShowTexture());
  back->SetShowImage(true);
  back->SetShowGradient(false);
  EXPECT_FALSE(back->GetShowTexture()) << "a shown picture keeps the texture off";
}

TEST_F(VyBackgroundForm, PicturesLargerThanTheControlAreCentredOnIt) {
  auto* back = Find<TVyBackground>(L"PopupBackground");
  ASSERT_TRUE(back);
  TBitmap big;
  big.SetSize(300, 300);
  big.GetCanvas()->GetBrush()->SetColor(clRed);
  big.GetCanvas()->FillRect(Rect(0, 0, 300, 300));
  big.GetCanvas()->GetBrush()->SetColor(clBlue);
  big.GetCanvas()->FillRect(Rect(149, 149, 151, 151));
  back->GetImage()->SetBitmap(&big);
  back->SetShowImage(true);
  Snapshot();
  // Placed at ((180 - 300) div 2, (150 - 300) div 2) = (-60, -75), then drawn at (1, 1).
  // The picture's middle (149..150) lands at 89..90 + 1 across and 74..75 + 1 down.
  EXPECT_EQ(At(back, 90, 75), clBlue);
  EXPECT_EQ(At(back, 91, 76), clBlue);
  EXPECT_EQ(At(back, 89, 75), clRed);
  EXPECT_EQ(At(back, 90, 77), clRed);
}

TEST(VyBackground, FillKeepsThePicturesProportions) {
  EXPECT_EQ(FillTarget(200, 100, 40, 10), Rect(0, 0, 200, 50)) << "a wide picture fills the width";
  EXPECT_EQ(FillTarget(200, 100, 10, 40), Rect(0, 0, 25, 100)) << "a tall one the height";
  EXPECT_EQ(FillTarget(200, 100, 30, 17), Rect(0, 0, 176, 100)) << "truncated";
  EXPECT_EQ(FillTarget(200, 100, 0, 17), TRect{});
  EXPECT_EQ(FillTarget(200, 100, 17, 0), TRect{});
}

TEST_F(VyBackgroundForm, SeparatorsFadeFromTheirHighlight) {
  auto* line = Find<TVySeparator>(L"PopupSeparator");
  auto* donation = Find<TVySeparator>(L"DonationSeparator");
  auto* side = Find<TVySeparator>(L"SideSeparator");
  ASSERT_TRUE(line && donation && side);
  EXPECT_EQ(side->GetWidth(), 2) << "a form's orientation does not swap the size it gives";
  EXPECT_EQ(side->GetHeight(), 100);
  Snapshot();
  EXPECT_TRUE(Near(At(line, 124, 0), clHighlight, 4)) << "the highlight in the middle";
  EXPECT_TRUE(Near(At(line, 0, 0), clBtnFace, 8));
  EXPECT_TRUE(Near(At(line, 247, 0), clBtnFace, 8));
  EXPECT_FALSE(Near(At(line, 62, 0), clBtnFace, 8));
  EXPECT_TRUE(Near(At(donation, 0, 1), clBlack, 4)) << "upper-left: the highlight at the left end";
  EXPECT_TRUE(Near(At(donation, 299, 1), clWhite, 4));
  EXPECT_TRUE(Near(At(side, 0, 50), clHighlight, 8)) << std::hex << At(side, 0, 50);
  EXPECT_TRUE(Near(At(side, 1, 0), clBtnFace, 8));
  EXPECT_TRUE(Near(At(side, 1, 99), clBtnFace, 20)) << std::hex << At(side, 1, 99);

  donation->SetHighlightLocation(hlLowerRight);
  Snapshot();
  EXPECT_TRUE(Near(At(donation, 299, 0), clBlack, 4)) << "lower-right: at the right end";
  EXPECT_TRUE(Near(At(donation, 0, 0), clWhite, 4));
  donation->SetColor(clYellow);
  Snapshot();
  EXPECT_TRUE(Near(At(donation, 0, 0), clYellow, 4)) << "a colour change recomputes the fade";
  donation->SetShowGradient(false);
  Snapshot();
  EXPECT_EQ(At(donation, 299, 0), clYellow) << "no gradient: its colour only";
}

TEST(VySeparator, TurningItSwapsItsSides) {
  TVySeparator s(nullptr);
  EXPECT_EQ(s.GetWidth(), 200);
  EXPECT_EQ(s.GetHeight(), 2);
  s.SetOrientation(orVertical);
  EXPECT_EQ(s.GetWidth(), 2);
  EXPECT_EQ(s.GetHeight(), 200);
  struct Case {
    TOrientation o;
    TVyHighlightLocation at;
    TGradientDirection direction;
    bool highlightFirst;
  } cases[] = {
      {orHorizontal, hlCenter, gdVerticalCenter, true},  {orHorizontal, hlUpperLeft, gdVerticalEnd, false},
      {orHorizontal, hlLowerRight, gdVerticalEnd, true}, {orVertical, hlCenter, gdHorizontalCenter, true},
      {orVertical, hlUpperLeft, gdHorizontalEnd, false}, {orVertical, hlLowerRight, gdHorizontalEnd, true},
  };
  s.SetHighlightColor(clRed);
  for (const Case& c : cases) {
    s.SetOrientation(c.o);
    s.SetHighlightLocation(c.at);
    EXPECT_EQ(s.GradientDirection(), c.direction) << int(c.o) << int(c.at);
    EXPECT_EQ(s.FirstColor(), c.highlightFirst ? clRed : s.GetColor());
    EXPECT_EQ(s.SecondColor(), c.highlightFirst ? s.GetColor() : clRed);
  }
}

}  // namespace
