// Frames, bevelled borders, gradients and progress bars drawn into memory bitmaps:
// the pixels every extended control's look is made of.
#include <gtest/gtest.h>

#include "controls/extended/VyGrafx.h"
#include "vcl/Bitmap.h"

#include <cstdlib>

using namespace Vy;

namespace {

constexpr TColor kPaper = 0x030201;  // no system colour has this value

class Canvas {
 public:
  Canvas(int w, int h) {
    bitmap.SetSize(w, h);
    c()->GetBrush()->SetColor(kPaper);
    c()->FillRect(Rect(0, 0, w, h));
  }
  TCanvas* c() { return bitmap.GetCanvas(); }
  TColor At(int x, int y) { return c()->GetPixel(x, y); }
  TBitmap bitmap;
};

TColor Rgb(TColor c) { return ColorToRGB(c); }

bool Near(TColor got, TColor want, int tolerance = 24) {
  return std::abs(GetRValue(got) - GetRValue(want)) <= tolerance &&
         std::abs(GetGValue(got) - GetGValue(want)) <= tolerance &&
         std::abs(GetBValue(got) - GetBValue(want)) <= tolerance;
}

TEST(Grafx, SidesWithoutALowerColourStillShrinkOnEverySide) {
  Canvas k(10, 10);
  EXPECT_EQ(PaintSides(k.c(), Rect(0, 0, 10, 10), clRed, AllSides, clNone), Rect(1, 1, 9, 9));
  EXPECT_EQ(k.At(0, 5), clRed);
  EXPECT_EQ(k.At(5, 0), clRed);
  EXPECT_EQ(k.At(9, 5), kPaper);
  EXPECT_EQ(k.At(5, 9), kPaper);
  EXPECT_EQ(PaintSides(k.c(), Rect(0, 0, 10, 10), clNone, TSides{sdRight}, clBlue), Rect(0, 0, 9, 10));
  EXPECT_EQ(k.At(9, 0), clBlue);
  EXPECT_EQ(k.At(9, 9), clBlue);
}

TEST(Grafx, EveryFrameStyleInSystemColours) {
  // Pixels on row 5: outer left, inner left, inner right, outer right.
  struct Case {
    TFrameStyle style;
    TColor outerLeft, innerLeft, innerRight, outerRight;
    int inset;
  } cases[] = {
      {fsNone, kPaper, kPaper, kPaper, kPaper, 0},
      {fsFlat, cl3DDkShadow, kPaper, kPaper, cl3DDkShadow, 1},
      {fsGroove, clBtnShadow, clBtnHighlight, clBtnShadow, clBtnHighlight, 2},
      {fsBump, clBtnHighlight, clBtnShadow, clBtnHighlight, clBtnShadow, 2},
      {fsLowered, clBtnShadow, cl3DDkShadow, cl3DLight, clBtnHighlight, 2},
      {fsButtonDown, clBtnText, clBtnShadow, clBtnShadow, clBtnText, 2},
      {fsRaised, cl3DLight, clBtnHighlight, clBtnShadow, cl3DDkShadow, 2},
      {fsButtonUp, clBtnHighlight, cl3DLight, clBtnShadow, cl3DDkShadow, 2},
      {fsStatus, clBtnShadow, kPaper, kPaper, clBtnHighlight, 1},
      {fsPopup, clBtnHighlight, kPaper, kPaper, clBtnShadow, 1},
      {fsFlatBold, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow, 2},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(testing::Message() << "style " << int(t.style));
    Canvas k(10, 10);
    const TRect inner = PaintFrame(k.c(), Rect(0, 0, 10, 10), t.style);
    EXPECT_EQ(inner, Rect(t.inset, t.inset, 10 - t.inset, 10 - t.inset));
    EXPECT_EQ(k.At(0, 5), Rgb(t.outerLeft));
    EXPECT_EQ(k.At(1, 5), Rgb(t.innerLeft));
    EXPECT_EQ(k.At(8, 5), Rgb(t.innerRight));
    EXPECT_EQ(k.At(9, 5), Rgb(t.outerRight));
    EXPECT_EQ(k.At(5, 5), kPaper) << "nothing inside";
  }
}

TEST(Grafx, GrooveOnTwoSidesMendsItsOpenCorners) {
  Canvas k(10, 10);
  const TRect inner = PaintFrame(k.c(), Rect(0, 0, 10, 10), fsGroove, TSides{sdLeft, sdTop});
  EXPECT_EQ(inner, Rect(2, 2, 10, 10));
  EXPECT_EQ(k.At(9, 0), Rgb(clBtnShadow)) << "top chosen, right not";
  EXPECT_EQ(k.At(0, 9), Rgb(clBtnShadow)) << "left chosen, bottom not";
  EXPECT_EQ(k.At(1, 5), Rgb(clBtnHighlight));
  EXPECT_EQ(k.At(9, 5), kPaper) << "no right side";
}

TEST(Grafx, ColourFrameUsesShadesOfItsBase) {
  Canvas k(10, 10);
  const TColor base = RGBToColor(0, 0, 200);
  EXPECT_EQ(PaintColorFrame(k.c(), Rect(0, 0, 10, 10), base, fsLowered), Rect(2, 2, 8, 8));
  EXPECT_EQ(k.At(0, 5), DarkenColor(base, 50));
  EXPECT_EQ(k.At(9, 5), LightenColor(base, 100));
  EXPECT_EQ(k.At(1, 5), DarkenColor(base, 100));
  EXPECT_EQ(k.At(8, 5), LightenColor(base, 50));
}

TEST(Grafx, RoundedFlatFrameCutsItsCorners) {
  Canvas k(10, 10);
  EXPECT_EQ(PaintRoundedFlatFrame(k.c(), Rect(0, 0, 10, 10), clRed, AllSides), Rect(2, 2, 8, 8));
  EXPECT_EQ(k.At(0, 0), kPaper);
  EXPECT_EQ(k.At(1, 0), kPaper);
  EXPECT_EQ(k.At(2, 0), clRed);
  EXPECT_EQ(k.At(1, 1), clRed) << "the inner corner pixel";
  EXPECT_EQ(k.At(8, 8), clRed);
  EXPECT_EQ(k.At(9, 9), kPaper);
  EXPECT_EQ(k.At(9, 7), clRed);
}

TEST(Grafx, InformationDisplaysBorder) {
  // Rounded flat outside and inside, a one-pixel white band, corners left transparent.
  Canvas k(40, 30);
  TBevelBorder b;
  b.Outer = b.Inner = fsFlatRounded;
  b.TransparentCorners = true;
  b.BorderWidth = 1;
  b.BorderColor = clWhite;
  const TRect client = PaintBevelBorder(k.c(), Rect(0, 0, 40, 30), b);
  EXPECT_EQ(client, Rect(5, 5, 35, 25));
  const TColor flat = AdjustColorBy(clBtnShadow, 30);
  EXPECT_EQ(k.At(0, 0), kPaper) << "the corner shows what is behind";
  EXPECT_EQ(k.At(0, 15), flat) << "outer frame";
  EXPECT_EQ(k.At(1, 15), clWhite) << "ring under the outer frame";
  EXPECT_EQ(k.At(2, 15), clWhite) << "band";
  EXPECT_EQ(k.At(3, 15), flat) << "inner frame";
  EXPECT_EQ(k.At(3, 3), clWhite) << "the inner frame's cut corner over the band's colour";
  EXPECT_EQ(k.At(4, 4), flat);
  EXPECT_EQ(k.At(20, 15), kPaper) << "nothing filled inside";
}

TEST(Grafx, BevelBorderStatusBevelOnlyOnItsSides) {
  Canvas k(20, 20);
  TBevelBorder b;
  b.Outer = fsStatus;
  b.BevelWidth = 2;
  b.Sides = TSides{sdLeft, sdBottom};
  b.ShadowColor = clRed;
  b.HighlightColor = clLime;
  EXPECT_EQ(PaintBevelBorder(k.c(), Rect(0, 0, 20, 20), b), Rect(2, 0, 20, 18));
  EXPECT_EQ(k.At(1, 5), clRed);
  EXPECT_EQ(k.At(10, 18), clLime);
  EXPECT_EQ(k.At(10, 1), kPaper);
}

TEST(Grafx, BevelBorderFlatOuterTakesTheAdjustedColour) {
  Canvas k(20, 20);
  TBevelBorder b;
  b.Outer = fsFlat;
  b.FlatColor = clBlue;
  b.FlatColorAdjustment = -40;
  b.Inner = fsFlat;
  b.CutCorners = true;
  EXPECT_EQ(PaintBevelBorder(k.c(), Rect(0, 0, 20, 20), b), Rect(2, 2, 18, 18));
  EXPECT_EQ(k.At(0, 10), DarkenColor(clBlue, 40));
  EXPECT_EQ(k.At(1, 10), DarkenColor(clBlue, 40));
  EXPECT_EQ(k.At(1, 1), kPaper) << "the inner frame stops short of its corners";
}

TEST(Grafx, EveryGradientDirection) {
  const TColor first = clRed, second = clBlue;
  struct Case {
    TGradientDirection direction;
    TPoint firstAt, secondAt;  // where each colour shows (nearly)
  } cases[] = {
      {gdDiagonalUp, {0, 49}, {99, 0}},      {gdDiagonalDown, {0, 0}, {99, 49}},
      {gdHorizontalEnd, {50, 49}, {50, 0}},  {gdHorizontalCenter, {50, 25}, {50, 0}},
      {gdHorizontalBox, {0, 0}, {50, 25}},   {gdVerticalEnd, {99, 25}, {0, 25}},
      {gdVerticalCenter, {50, 25}, {0, 25}}, {gdVerticalBox, {0, 0}, {50, 25}},
      {gdSquareBox, {0, 0}, {50, 25}},       {gdBigSquareBox, {0, 0}, {25, 12}},  // its core starts a quarter in
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(testing::Message() << "direction " << int(t.direction));
    Canvas k(110, 60);
    PaintGradient(k.c(), Rect(5, 5, 105, 55), t.direction, 1, first, second);
    EXPECT_EQ(k.At(4, 4), kPaper) << "drawn inside its rect only";
    EXPECT_EQ(k.At(105, 55), kPaper);
    const TColor a = k.At(5 + t.firstAt.X, 5 + t.firstAt.Y), b = k.At(5 + t.secondAt.X, 5 + t.secondAt.Y);
    EXPECT_TRUE(Near(a, first)) << std::hex << a;
    EXPECT_TRUE(Near(b, second)) << std::hex << b;
    const TColor mid = k.At(5 + (t.firstAt.X + t.secondAt.X) / 2, 5 + (t.firstAt.Y + t.secondAt.Y) / 2);
    EXPECT_FALSE(Near(mid, first) || Near(mid, second)) << "a ramp between: " << std::hex << mid;
  }
}

TEST(Grafx, GradientBandsAndEdgeCases) {
  Canvas k(20, 60);
  PaintGradient(k.c(), Rect(0, 0, 20, 60), gdHorizontalEnd, 20, clRed, clBlue);  // bands of 13 pixels
  EXPECT_EQ(k.At(10, 0), k.At(10, 12));
  EXPECT_NE(k.At(10, 12), k.At(10, 13));
  PaintGradient(k.c(), Rect(0, 0, 20, 60), gdHorizontalEnd, 0, clRed, clBlue);  // a band setting of 0
  EXPECT_EQ(k.At(10, 0), clBlue);
  PaintGradient(k.c(), Rect(0, 0, 20, 60), gdDiagonalUp, 1, clGreen, clGreen);
  EXPECT_EQ(k.At(7, 33), clGreen) << "one colour fills";
  Canvas e(5, 5);
  PaintGradient(e.c(), Rect(2, 2, 2, 5), gdSquareBox, 1, clRed, clBlue);
  PaintGradient(e.c(), Rect(3, 3, 1, 1), gdVerticalCenter, 1, clRed, clBlue);
  EXPECT_EQ(e.At(2, 2), kPaper) << "an empty rect paints nothing";
}

TEST(Grafx, SegmentedProgress) {
  const TColor back = clWhite, bar = clNavy;
  Canvas k(80, 10);
  // 60 pixels and 20 segments hold ten segments of six pixels.
  PaintSegmentedProgress(k.c(), Rect(0, 0, 60, 10), false, false, 50, 20, back, bar);
  EXPECT_EQ(k.At(0, 5), back) << "the gap around a segment";
  EXPECT_EQ(k.At(2, 5), bar);
  EXPECT_EQ(k.At(27, 5), bar) << "fifth segment";
  EXPECT_EQ(k.At(33, 5), back) << "sixth segment";
  EXPECT_EQ(k.At(57, 5), back);
  PaintSegmentedProgress(k.c(), Rect(0, 0, 60, 10), false, false, 100, 20, back, bar);
  EXPECT_EQ(k.At(57, 5), bar) << "every segment at 100 %";
  PaintSegmentedProgress(k.c(), Rect(0, 0, 60, 10), false, false, 150, 20, back, bar);
  for (int x = 60; x < 80; ++x) ASSERT_EQ(k.At(x, 5), kPaper) << "nothing past the bar at " << x;
  PaintSegmentedProgress(k.c(), Rect(0, 0, 60, 10), false, false, 50, 0, back, bar);
  EXPECT_EQ(k.At(2, 5), back) << "no segments: all back colour";
  Canvas v(10, 60);
  PaintSegmentedProgress(v.c(), Rect(0, 0, 10, 60), true, false, 50, 10, back, bar);
  EXPECT_EQ(v.At(5, 57), bar) << "vertical bars fill from the bottom";
  EXPECT_EQ(v.At(5, 2), back);
}

TEST(Grafx, TraditionalProgress) {
  const TColor back = clWhite, bar = clMaroon;
  Canvas k(120, 20);
  PaintTraditionalProgress(k.c(), Rect(0, 0, 100, 20), false, false, 0, back, bar);
  EXPECT_EQ(k.At(0, 10), back);
  EXPECT_EQ(k.At(99, 10), back);
  PaintTraditionalProgress(k.c(), Rect(0, 0, 100, 20), false, false, 40, back, bar);
  EXPECT_EQ(k.At(39, 10), bar);
  EXPECT_EQ(k.At(40, 10), back);
  PaintTraditionalProgress(k.c(), Rect(0, 0, 100, 20), false, false, 150, back, bar);
  EXPECT_EQ(k.At(99, 10), bar);
  EXPECT_EQ(k.At(100, 10), kPaper) << "more than 100 % stays inside";
  Canvas v(20, 100);
  PaintTraditionalProgress(v.c(), Rect(0, 0, 20, 100), true, false, 25, back, bar);
  EXPECT_EQ(v.At(10, 76), bar);
  EXPECT_EQ(v.At(10, 74), back);
}

TEST(Grafx, PercentTextTakesTheOtherColourOnEachPart) {
  const TColor back = clWhite, bar = clMaroon;
  Canvas k(100, 24);
  k.c()->GetFont()->SetHeight(-16);
  PaintTraditionalProgress(k.c(), Rect(0, 0, 100, 24), false, true, 50, back, bar);
  int backOverBar = 0, barOverBack = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 100; ++x) {
      const TColor c = k.At(x, y);
      if (x < 50 && c != bar) ++backOverBar;
      if (x >= 50 && c != back) ++barOverBack;
    }
  EXPECT_GT(backOverBar, 5) << "the left of the text shows in the back colour";
  EXPECT_GT(barOverBack, 5) << "the right of the text shows in the bar colour";
}

}  // namespace
