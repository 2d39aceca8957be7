// The gradient bar read from a form resource: its values, its pixels at 0, 50 and
// 100 per cent painted into a memory bitmap, its caption formatting, the guards
// against zero divisors, the low-colour display and the transparent background.
#include <gtest/gtest.h>

#include "controls/visual/GlProgress.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Forms.h"

#include <chrono>

namespace {

using namespace std::chrono_literals;
using namespace Flat;

class TTestGlProgressForm : public TForm {
  QORN_CLASS(TTestGlProgressForm, TForm)
 public:
  explicit TTestGlProgressForm(TComponent* AOwner) : TForm(AOwner) {}
  TglProgress* VolumeBar = nullptr;
  TglProgress* PlainBar = nullptr;
  TglProgress* GlassBar = nullptr;

 private:
  static void Publish(TPublisher<TTestGlProgressForm>& p) {
    p.Field(L"VolumeBar", &TTestGlProgressForm::VolumeBar);
    p.Field(L"PlainBar", &TTestGlProgressForm::PlainBar);
    p.Field(L"GlassBar", &TTestGlProgressForm::GlassBar);
  }
};
QORN_REGISTER_CLASS(TTestGlProgressForm);

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }

class GlProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestGlProgressForm>(Application);
    form->Show();
    Pump(50ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestGlProgressForm* form = nullptr;
};

TEST_F(GlProgress, ReadsItsValuesFromTheFormAndKeepsItsDefaults) {
  TglProgress* bar = form->VolumeBar;
  EXPECT_EQ(bar->GetBevelInner(), bvSpace);
  EXPECT_TRUE(bar->GetBevelBold());
  EXPECT_EQ(bar->GetStep(), 4);
  EXPECT_EQ(bar->GetGradient()->GetFromColor(), clLime);
  EXPECT_EQ(bar->GetGradient()->GetOrientation(), fgdVertical);
  EXPECT_TRUE(bar->GetGradient()->GetActive());
  EXPECT_FALSE(bar->GetGradientBack()->GetActive());
  EXPECT_EQ(bar->GetColors()->GetBackground(), clSilver);
  EXPECT_EQ(form->GlassBar->GetOptions(), (TglProgressOptions{fpoDelineatedText, fpoTransparent}));
  EXPECT_EQ(form->GlassBar->GetPercent(), 70);
  EXPECT_EQ(form->GlassBar->GetGradient()->GetPercentFilling(), 70);

  TglProgress* plain = form->PlainBar;
  EXPECT_EQ(plain->GetBevelInner(), bvLowered);
  EXPECT_EQ(plain->GetBevelOuter(), bvNone);
  EXPECT_EQ(plain->GetCaptionStyle(), fstShadow);
  EXPECT_EQ(plain->GetCaptionAlignment(), taCenter);
  EXPECT_EQ(plain->GetInterspace(), 1);
  EXPECT_EQ(plain->GetStep(), 3);
  EXPECT_EQ(plain->GetGradient()->GetSteps(), 255);
  EXPECT_EQ(plain->GetGradient()->GetFromColor(), clGray);
  EXPECT_EQ(plain->GetColors()->GetDelineate(), clWhite);
  EXPECT_EQ(plain->GetFont()->GetColor(), clWhite);
  EXPECT_EQ(plain->GetColor(), clBlack);
}

TEST_F(GlProgress, FormatsItsCaptionAndShowsABadFormatAsItStands) {
  TglProgress* bar = form->PlainBar;
  bar->SetPercent(50);
  const struct {
    const wchar_t* caption;
    const wchar_t* shown;
  } cases[] = {
      {L"%d%%", L"50%"}, {L"50%", L"50%"}, {L"%s", L"%s"}, {L"%n items", L"%n items"},
      {L"%d %d", L"%d %d"}, {L"", L""}, {L"progress...[%d%%]", L"progress...[50%]"},
  };
  for (const auto& c : cases) {
    bar->SetCaption(c.caption);
    EXPECT_EQ(bar->FormattedCaption(), c.shown) << c.caption;
    TMemoryPaint painted(bar);  // and painting it does not fail
  }
}

TEST_F(GlProgress, PaintsFrameAndBackgroundOnlyAtZero) {
  TglProgress* bar = form->VolumeBar;  // 200 x 20, one bvSpace line, bar area x 1..197, y 2..17
  bar->SetCaption(L"");
  bar->SetPercent(0);
  TMemoryPaint p(bar);
  EXPECT_EQ(p.At(0, 10), Rgb(clBtnShadow));
  EXPECT_EQ(p.At(199, 10), Rgb(clBtnShadow));
  EXPECT_EQ(p.At(50, 0), Rgb(clBtnShadow));
  for (int x : {1, 3, 50, 100, 150, 197}) EXPECT_EQ(p.At(x, 8), Rgb(clSilver)) << x;
}

TEST_F(GlProgress, FillsHalfTheBarInSegmentsAtFifty) {
  TglProgress* bar = form->VolumeBar;
  bar->SetCaption(L"");
  bar->SetPercent(50);
  TMemoryPaint p(bar);
  // Gaps of 1 every 5 pixels from the left of the bar area, in the background colour.
  for (int x : {1, 6, 11, 51, 96}) EXPECT_EQ(p.At(x, 8), Rgb(clSilver)) << x;
  // Segments between them start at lime and darken towards green.
  EXPECT_EQ(p.At(2, 8), RGB(0, 254, 0));
  int last = 256;
  for (int x = 2; x < 100; ++x) {
    if ((x - 1) % 5 == 0) continue;
    const COLORREF c = p.At(x, 8);
    EXPECT_EQ(GetRValue(c), 0);
    EXPECT_EQ(GetBValue(c), 0);
    EXPECT_LE(GetGValue(c), last) << x;
    last = GetGValue(c);
  }
  EXPECT_GT(last, 180);  // half way down the ramp, not at its end
  // The right half is the bare background.
  for (int x : {102, 120, 150, 197}) EXPECT_EQ(p.At(x, 8), Rgb(clSilver)) << x;
}

TEST_F(GlProgress, ReachesTheEndColourAtHundred) {
  TglProgress* bar = form->VolumeBar;
  bar->SetCaption(L"");
  bar->SetPercent(100);
  TMemoryPaint p(bar);
  EXPECT_EQ(p.At(197, 8), Rgb(clGreen));
  EXPECT_EQ(p.At(196, 8), Rgb(clSilver));  // the gap at 1 + 39 x 5
  EXPECT_EQ(p.At(198, 8), Rgb(clSilver));  // the bar stops one short of the frame
  EXPECT_EQ(p.At(150, 2), p.At(150, 17));  // bands run top to bottom
}

TEST_F(GlProgress, ShadowedCaptionIsCentredInTheFontColour) {
  TglProgress* bar = form->VolumeBar;
  bar->SetPercent(0);
  bar->SetCaption(L"%d%%");
  TMemoryPaint p(bar);
  int white = 0, minX = 1000, maxX = -1;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 200; ++x)
      if (p.At(x, y) == RGB(255, 255, 255)) {
        ++white;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
      }
  EXPECT_GT(white, 10);
  EXPECT_NEAR((minX + maxX) / 2, 100, 4);
  bar->SetCaption(L" ");  // the popup's bar: no caption to see
  TMemoryPaint blank(bar);
  EXPECT_EQ(blank.At(100, 10), Rgb(clSilver));
}

TEST_F(GlProgress, SurvivesZeroPeriodsAndOneBand) {
  TglProgress* bar = form->VolumeBar;
  bar->SetCaption(L"");
  bar->SetPercent(60);
  bar->SetStep(0);
  bar->SetInterspace(0);
  {
    TMemoryPaint p(bar);
    EXPECT_NE(p.At(6, 8), Rgb(clSilver));  // no gaps cut: the bar is one piece
  }
  bar->SetStep(-3);
  bar->SetInterspace(3);
  { TMemoryPaint p(bar); }
  // A bar area one pixel wide is one band: the start colour, not a colour made of -1.
  bar->SetBounds(10, 10, 4, 20);
  bar->SetStep(3);
  bar->SetInterspace(0);
  TMemoryPaint narrow(bar);
  EXPECT_EQ(narrow.At(1, 8), Rgb(clLime));
}

TEST_F(GlProgress, DrawsNoBarBelowSixteenBitsPerPixel) {
  TglProgress* bar = form->VolumeBar;
  bar->SetCaption(L"");
  bar->SetPercent(100);
  TDisplayDepthOverride depth(8);
  TMemoryPaint p(bar);
  for (int x : {2, 50, 150}) EXPECT_EQ(p.At(x, 8), Rgb(clSilver)) << x;
}

TEST_F(GlProgress, OneBandGradientIsItsStartColour) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  TGradient g;
  g.SetActive(true);
  g.SetFromColor(clRed);
  g.SetToColor(clBlue);
  for (TglGradientDir dir : {fgdHorizontal, fgdVertical, fgdRectangle, fgdLeftBias}) {
    const RECT all{0, 0, 4, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    g.SetOrientation(dir);
    DrawGradient(dc, TRect{1, 1, 2, 2}, g);
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0)) << int(dir);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 0)) << int(dir);  // nothing outside the rectangle
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST_F(GlProgress, TransparentBarShowsTheParentAndFollowsItsChanges) {
  TglProgress* bar = form->GlassBar;  // transparent, on a navy form
  bar->SetCaption(L"");
  bar->SetPercent(0);
  {
    TMemoryPaint p(bar);
    EXPECT_EQ(p.At(100, 12), Rgb(clNavy));
  }
  form->SetColor(clMaroon);
  TMemoryPaint p(bar);
  EXPECT_EQ(p.At(100, 12), Rgb(clMaroon));
}

TEST_F(GlProgress, Screenshot) {
  form->VolumeBar->SetPercent(50);
  form->PlainBar->SetPercent(30);
  form->PlainBar->GetGradient()->SetActive(true);
  form->PlainBar->GetGradient()->SetOrientation(fgdVertical);
  form->PlainBar->GetGradient()->SetFromColor(clGreen);
  form->PlainBar->GetGradient()->SetToColor(clYellow);
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "gl_progress.png"));
}

}  // namespace
