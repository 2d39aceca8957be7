// The progress bar's ties to its surroundings: the frame controller's visible frame, the
// status bar's grip reachable through a bar at its right end, the themed status pane, and
// percentages above 100 kept inside the bar.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyPanel.h"
#include "controls/extended/VyPrgres.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/RecordingThemes.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>
#include <memory>
#include <vector>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

class TTestProgressForm : public TForm {
  QORN_CLASS(TTestProgressForm, TForm)
 public:
  explicit TTestProgressForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestProgressForm);

std::unique_ptr<TTestProgressForm> ReadForm(const char* text) {
  std::unique_ptr<TTestProgressForm> form(CreateFormNew<TTestProgressForm>(nullptr));
  ReadComponentFromText(form.get(), text, L"TEST");
  return form;
}

template <class T>
T* Find(TComponent* owner, const wchar_t* name) {
  auto* c = dynamic_cast<T*>(owner->FindComponent(name));
  EXPECT_NE(c, nullptr) << "no " << name << " of its class";
  return c;
}

TEST(VyProgressBar, AVisibleControllerFrameReplacesBorderAndBackColour) {
  auto form = ReadForm(R"(object F: TTestProgressForm
  Width = 300
  Height = 120
  object Frames: TVyFrameController
    Color = clYellow
    FrameColor = clRed
    FrameStyle = fsGroove
  end
  object Bar: TVyProgressBar
    Left = 10
    Top = 10
    Width = 200
    Height = 24
    FrameController = Frames
    Percent = 50
  end
end
)");
  auto* frames = Find<TVyFrameController>(form.get(), L"Frames");
  auto* bar = Find<TVyProgressBar>(form.get(), L"Bar");
  ASSERT_TRUE(frames && bar);
  EXPECT_EQ(bar->GetFrameController(), frames);
  EXPECT_EQ(frames->ControlCount(), 1);
  EXPECT_EQ(bar->GetBorderOuter(), fsLowered) << "a frame that is not shown is not taken";
  EXPECT_EQ(bar->GetBackColor(), clWhite);

  frames->SetFrameVisible(true);
  EXPECT_EQ(bar->GetBorderOuter(), fsGroove);
  EXPECT_EQ(bar->GetFlatColor(), clRed);
  EXPECT_EQ(bar->GetFlatColorAdjustment(), 0);
  EXPECT_EQ(bar->GetBackColor(), clYellow);
  TMemoryPaint paint(bar);
  EXPECT_EQ(paint.At(150, 12), ColorToRGB(clYellow)) << "the empty half in the controller's colour";

  // Either side may go first.
  delete frames;
  EXPECT_EQ(bar->GetFrameController(), nullptr);
  auto other = std::make_unique<TVyFrameController>(nullptr);
  bar->SetFrameController(other.get());
  EXPECT_EQ(other->ControlCount(), 1);
  delete bar;
  EXPECT_EQ(other->ControlCount(), 0);
}

class VyStatusGrip : public ::testing::Test {
 protected:
  void SetUp() override {
    form = ReadForm(R"(object F: TTestProgressForm
  Left = 40
  Top = 40
  Width = 420
  Height = 160
  BorderStyle = bsSizeable
  object Status: TVyStatusBar
    object Bar: TVyProgressBar
      Left = 300
      Top = 2
      Width = 100
      Height = 16
      Percent = 30
    end
  end
  object Plain: TVyPanel
    Left = 0
    Top = 0
    Width = 200
    Height = 40
    object PlainBar: TVyProgressBar
      Left = 100
      Top = 10
      Width = 100
      Height = 16
    end
  end
end
)");
    form->Show();
    Pump(60ms);
    original = form->WindowProc;
    status = Find<TVyStatusBar>(form.get(), L"Status");
    bar = Find<TVyProgressBar>(form.get(), L"Bar");
    ASSERT_TRUE(status && bar);
    bar->SetLeft(status->GetWidth() - bar->GetWidth());
    ASSERT_TRUE(status->GripValid());
    form->WindowProc = [this](TMessage& m) {
      if (m.Msg == WM_SYSCOMMAND) {
        commands.push_back(m.WParam);
        return;
      }
      original(m);
    };
    bar->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++barPresses; };
  }
  void TearDown() override {
    if (form) form->WindowProc = original;
    form.reset();
    Pump(10ms);
  }
  // A press and release on the status bar at a point of the bar's own coordinates.
  void Click(int x, int y) {
    const LPARAM at = MAKELPARAM(bar->GetLeft() + x, bar->GetTop() + y);
    SendMessageW(status->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(status->GetHandle(), WM_LBUTTONUP, 0, at);
  }
  std::unique_ptr<TTestProgressForm> form;
  TVyStatusBar* status = nullptr;
  TVyProgressBar* bar = nullptr;
  std::function<void(TMessage&)> original;
  std::vector<WPARAM> commands;
  int barPresses = 0;
};

TEST_F(VyStatusGrip, APressOverTheGripSizesTheFormThroughTheBar) {
  Click(bar->GetWidth() - 4, 12);
  EXPECT_EQ(commands, std::vector<WPARAM>{SC_SIZE + 8});
  EXPECT_EQ(barPresses, 0) << "the bar let the press through";
  Click(bar->GetWidth() / 2, 8);
  EXPECT_EQ(barPresses, 1) << "away from the grip the bar takes its press";
  EXPECT_EQ(commands.size(), 1u);
}

TEST_F(VyStatusGrip, WithoutAGripTheBarKeepsItsWholeArea) {
  status->SetShowSizeGrip(false);
  Click(bar->GetWidth() - 4, 12);
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(barPresses, 1);
  // Elsewhere than on a status bar nothing passes through.
  auto* plain = Find<TVyPanel>(form.get(), L"Plain");
  auto* plainBar = Find<TVyProgressBar>(form.get(), L"PlainBar");
  ASSERT_TRUE(plain && plainBar);
  EXPECT_EQ(plain->ControlAtPos({195, 15}, false), plainBar);
}

TEST(VyProgressBar, OnAThemedStatusBarItSitsInAPane) {
  auto form = ReadForm(R"(object F: TTestProgressForm
  Width = 420
  Height = 160
  object Status: TVyStatusBar
    Width = 404
    object Bar: TVyProgressBar
      Left = 200
      Top = 2
      Width = 100
      Height = 16
      Percent = 30
    end
  end
end
)");
  auto* status = Find<TVyStatusBar>(form.get(), L"Status");
  auto* bar = Find<TVyProgressBar>(form.get(), L"Bar");
  ASSERT_TRUE(status && bar);
  qorn::testing::TRecordingThemeServices themes;
  TThemeServicesOverride use(themes);
  {
    TMemoryPaint paint(bar);
  }
  ASSERT_GE(themes.Calls.size(), 3u);
  EXPECT_EQ(themes.Calls[0].Details.ClassName, L"STATUS");
  EXPECT_EQ(themes.Calls[1].Details, (TThemedElementDetails{L"STATUS", 1, 0}));
  EXPECT_EQ(themes.Calls[1].Rect, Rect(0, 0, 100, 16));
  EXPECT_EQ(themes.Calls[2].Details, (TThemedElementDetails{L"PROGRESS", 1, 0}));
  EXPECT_EQ(themes.Calls[2].Rect, Rect(3, 2, 97, 14)) << "inside the pane";

  // A status bar that keeps the classic look keeps its bar classic too.
  status->SetThemeAware(false);
  themes.Calls.clear();
  {
    TMemoryPaint paint(bar);
    EXPECT_EQ(paint.At(0, 8), ColorToRGB(clBtnShadow)) << "the lowered border";
  }
  EXPECT_EQ(themes.Count(L"DrawElement"), 0);
}

TEST(VyProgressBar, PercentAboveAHundredStaysInsideTheBar) {
  TVyProgressBar bar(nullptr);
  bar.SetBarStyle(bsLED);
  bar.SetBarColor(clNavy);
  bar.SetPercent(150);
  EXPECT_EQ(bar.GetPercent(), 150) << "stored as given";
  TMemoryPaint paint(&bar);
  // Lowered frame 2 px, interior offset 1: 194 px hold 21 segments of 9 px from x = 5.
  const int lastSegment = 5 + 9 * 20;
  EXPECT_EQ(paint.At(lastSegment + 4, 12), ColorToRGB(clNavy)) << "every segment lit";
  for (int x = lastSegment + 9; x < 200; ++x) EXPECT_NE(paint.At(x, 12), ColorToRGB(clNavy)) << "past the bar at " << x;
  EXPECT_EQ(paint.At(lastSegment + 10, 12), ColorToRGB(clWhite)) << "the margin after the last segment";
}

}  // namespace
