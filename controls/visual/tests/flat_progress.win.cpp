// The flat progress bar read from a form resource: clamping, blocks at 0, 50 and 100
// per cent in a memory bitmap, the smooth bar counted from Min, the vertical bar, and
// the growing bar drawn at once on screen without erasing.
#include <gtest/gtest.h>

#include "controls/visual/FlatProgressBar.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Forms.h"

#include <chrono>

namespace {

using namespace std::chrono_literals;
using namespace Flat;

class TTestFlatProgressForm : public TForm {
  QORN_CLASS(TTestFlatProgressForm, TForm)
 public:
  explicit TTestFlatProgressForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatProgressBar* Blocks = nullptr;
  TFlatProgressBar* SmoothBar = nullptr;
  TFlatProgressBar* Upright = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatProgressForm>& p) {
    p.Field(L"Blocks", &TTestFlatProgressForm::Blocks);
    p.Field(L"SmoothBar", &TTestFlatProgressForm::SmoothBar);
    p.Field(L"Upright", &TTestFlatProgressForm::Upright);
  }
};
QORN_REGISTER_CLASS(TTestFlatProgressForm);

constexpr COLORREF kElement = 0x996633;

class FlatProgress : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatProgressForm>(Application);
    form->Show();
    Pump(50ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // Blocks of a horizontal bar, read at the middle of each block's place.
  static int HorizontalBlocks(const TMemoryPaint& p, int width) {
    int n = 0;
    for (int x = 6; x < width - 2; x += 9) n += p.At(x, 8) == kElement;
    return n;
  }
  TTestFlatProgressForm* form = nullptr;
};

TEST_F(FlatProgress, ReadsItsValuesAndKeepsItsDefaults) {
  TFlatProgressBar* bar = form->Blocks;
  EXPECT_EQ(bar->GetPosition(), 50);
  EXPECT_EQ(bar->GetMax(), 100);
  EXPECT_EQ(bar->GetStep(), 10);
  EXPECT_EQ(bar->GetColorElement(), TColor(0x996633));
  EXPECT_EQ(bar->GetColorBorder(), TColor(0x8396A0));
  EXPECT_TRUE(bar->GetParentColor());
  EXPECT_EQ(bar->GetColor(), clWhite);  // the form's
  EXPECT_EQ(form->SmoothBar->GetMin(), 50);
  EXPECT_EQ(form->SmoothBar->GetPosition(), 100);
  EXPECT_EQ(form->Upright->GetOrientation(), pbVertical);
}

TEST_F(FlatProgress, ClampsPositionToTheRange) {
  TFlatProgressBar* bar = form->Blocks;
  const struct {
    int set, stored;
  } cases[] = {{500, 100}, {-5, 0}, {100, 100}, {0, 0}, {37, 37}};
  for (const auto& c : cases) {
    bar->SetPosition(c.set);
    EXPECT_EQ(bar->GetPosition(), c.stored) << c.set;
  }
  bar->SetPosition(80);
  bar->SetMax(30);
  EXPECT_EQ(bar->GetPosition(), 30);
  bar->SetMin(20);
  EXPECT_EQ(bar->GetPosition(), 30);
  bar->SetMin(25);
  bar->SetPosition(10);
  EXPECT_EQ(bar->GetPosition(), 25);
  bar->SetMin(28);
  EXPECT_EQ(bar->GetPosition(), 28);  // raising Min raises Position with it
}

TEST_F(FlatProgress, SnapsToWholeBlocksAndFillsAtZeroFiftyAndHundred) {
  TFlatProgressBar* bar = form->Blocks;  // 100 wide: snapped to 93, 10 blocks
  const struct {
    int position, blocks;
  } cases[] = {{0, 0}, {50, 5}, {100, 10}};
  for (const auto& c : cases) {
    bar->SetPosition(c.position);
    TMemoryPaint p(bar);
    EXPECT_EQ(bar->GetWidth(), 93);
    EXPECT_EQ(HorizontalBlocks(p, 93), c.blocks) << c.position;
    EXPECT_EQ(p.At(0, 8), COLORREF(0x8396A0));   // the border
    EXPECT_EQ(p.At(92, 8), COLORREF(0x8396A0));
    EXPECT_EQ(p.At(10, 8), RGB(255, 255, 255));   // the gap after the first block
    EXPECT_EQ(p.At(6, 1), RGB(255, 255, 255));    // blocks keep 2 pixels from the border
  }
}

TEST_F(FlatProgress, SmoothBarCountsFromMin) {
  TFlatProgressBar* bar = form->SmoothBar;  // 200 wide, 50..150 at 100: half of 196
  TMemoryPaint p(bar);
  EXPECT_EQ(p.At(2, 8), RGB(0, 128, 0));
  EXPECT_EQ(p.At(99, 8), RGB(0, 128, 0));
  EXPECT_EQ(p.At(100, 8), RGB(255, 255, 255));
  EXPECT_EQ(bar->GetWidth(), 200);  // a smooth bar is not snapped
  bar->SetMin(150);                 // Max = Min: an empty bar, no division by zero
  EXPECT_EQ(bar->GetPosition(), 150);
  TMemoryPaint empty(bar);
  EXPECT_EQ(empty.At(2, 8), RGB(255, 255, 255));
}

TEST_F(FlatProgress, VerticalBarGrowsUpwards) {
  TFlatProgressBar* bar = form->Upright;  // 100 high: snapped to 93; 30 % = 3 blocks
  TMemoryPaint p(bar);
  EXPECT_EQ(bar->GetHeight(), 93);
  EXPECT_EQ(p.At(8, 93 - 6), kElement);
  EXPECT_EQ(p.At(8, 93 - 6 - 18), kElement);
  EXPECT_EQ(p.At(8, 93 - 6 - 27), RGB(255, 255, 255));
  EXPECT_EQ(p.At(8, 6), RGB(255, 255, 255));
}

TEST_F(FlatProgress, GrowingAddsBlocksAtOnceAndShrinkingRepaints) {
  TFlatProgressBar* bar = form->Blocks;
  bar->SetPosition(20);
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(30ms);
  auto screen = [&](int block) {
    HDC dc = GetDC(form->GetHandle());
    const COLORREF c = GetPixel(dc, bar->GetLeft() + 6 + 9 * block, bar->GetTop() + 8);
    ReleaseDC(form->GetHandle(), dc);
    return c;
  };
  ASSERT_EQ(screen(1), kElement);
  ASSERT_EQ(screen(6), RGB(255, 255, 255));
  bar->SetPosition(80);  // no message pumped: drawn by the setter itself
  EXPECT_EQ(screen(6), kElement);
  bar->SetPosition(30);  // only invalidated: the old blocks stay until the repaint
  EXPECT_EQ(screen(6), kElement);
  Pump(50ms);
  EXPECT_EQ(screen(6), RGB(255, 255, 255));
  EXPECT_EQ(screen(2), kElement);
}

TEST_F(FlatProgress, Screenshot) {
  form->Blocks->SetPosition(70);
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_progress.png"));
}

}  // namespace
