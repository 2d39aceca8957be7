// The flat hint: what placing one on a form changes in the application's hints
// and gives back when it goes, the box by the cursor's quarter of the work area,
// its size at MaxHintWidth, and its strip, frame and arrow by pixel.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatHintUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatHint;
using Flat::TFlatHintWindow;
using Flat::THintCorner;

class TTestFlatHintForm : public TForm {
  QORN_CLASS(TTestFlatHintForm, TForm)
 public:
  explicit TTestFlatHintForm(TComponent* AOwner) : TForm(AOwner) {}
  Flat::TFlatButton* HintedButton = nullptr;
  TFlatHint* Hints = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatHintForm>& p) {
    p.Field(L"HintedButton", &TTestFlatHintForm::HintedButton);
    p.Field(L"Hints", &TTestFlatHintForm::Hints);
  }
};
QORN_REGISTER_CLASS(TTestFlatHintForm);

// A hint window of the application's own kind, told apart from the flat one.
class TPlainTestHintWindow : public THintWindow {
  QORN_CLASS(TPlainTestHintWindow, THintWindow)
 public:
  explicit TPlainTestHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
};

TRect WorkAreaAt(TPoint p) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint(POINT{p.X, p.Y}, MONITOR_DEFAULTTONEAREST), &mi);
  return AsTRect(mi.rcWork);
}

TRect WindowRect(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return AsTRect(r);
}

class FlatHints : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPauses = {Application->HintPause, Application->HintShortPause, Application->HintHidePause};
    savedClass = Application->HintWindowClass;
    savedShowHint = Application->OnShowHint;
    // The application's own state before any flat hint: a recognisable class and handler.
    Application->HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TPlainTestHintWindow(owner); };
    Application->OnShowHint = plainShowHint;
    form = CreateForm<TTestFlatHintForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(50ms);
  }
  void TearDown() override {
    Application->CancelHint();
    delete form;
    Application->HintPause = savedPauses[0];
    Application->HintShortPause = savedPauses[1];
    Application->HintHidePause = savedPauses[2];
    Application->HintWindowClass = savedClass;
    Application->OnShowHint = savedShowHint;
    Pump(10ms);
  }
  // A flat hint window shown for text with the cursor at p.
  std::unique_ptr<TFlatHintWindow> ShowAt(TPoint p, const std::wstring& text) {
    SetCursorPos(p.X, p.Y);
    auto hint = std::make_unique<TFlatHintWindow>(nullptr);
    hint->ActivateHint(TRect{0, 0, 10, 10}, text);
    Pump(10ms);
    return hint;
  }
  TPoint FormCentre() const { return form->ClientToScreen({form->GetClientWidth() / 2, form->GetClientHeight() / 2}); }

  TTestFlatHintForm* form = nullptr;
  int plainShows = 0;
  TShowHintEvent plainShowHint = [this](std::wstring&, bool&, THintInfo&) { ++plainShows; };
  std::array<int, 3> savedPauses{};
  std::function<THintWindow*(TComponent*)> savedClass;
  TShowHintEvent savedShowHint;
};

TEST_F(FlatHints, TakesOverTheApplicationsHintsAndGivesThemBack) {
  EXPECT_EQ(form->Hints->GetMaxHintWidth(), 400);
  EXPECT_EQ(Application->HintShortPause, 25);
  EXPECT_EQ(Application->HintPause, 500);
  EXPECT_EQ(Application->HintHidePause, 5000);
  std::unique_ptr<THintWindow> made(Application->HintWindowClass(nullptr));
  EXPECT_NE(dynamic_cast<TFlatHintWindow*>(made.get()), nullptr);
  made.reset();

  // The application's OnShowHint reaches the component's.
  int flatShows = 0;
  form->Hints->OnShowHint = [&](std::wstring& text, bool&, THintInfo&) {
    ++flatShows;
    text = L"changed";
  };
  std::wstring text = L"hint";
  bool canShow = true;
  THintInfo info;
  Application->OnShowHint(text, canShow, info);
  EXPECT_EQ(flatShows, 1);
  EXPECT_EQ(text, L"changed");
  EXPECT_EQ(plainShows, 0);

  // Freed: the previous class and handler are back, and a hint runs into neither.
  delete form;
  form = nullptr;
  made.reset(Application->HintWindowClass(nullptr));
  EXPECT_NE(dynamic_cast<TPlainTestHintWindow*>(made.get()), nullptr);
  EXPECT_EQ(dynamic_cast<TFlatHintWindow*>(made.get()), nullptr);
  Application->OnShowHint(text, canShow, info);
  EXPECT_EQ(plainShows, 1);
  EXPECT_EQ(flatShows, 1);
}

TEST_F(FlatHints, SeveralComponentsHandTheHintsOnAndGiveBackTheFirstState) {
  const auto counts = [](TFlatHint* h, int& n) { h->OnShowHint = [&n](std::wstring&, bool&, THintInfo&) { ++n; }; };
  const auto showHint = [] {
    std::wstring text = L"x";
    bool canShow = true;
    THintInfo info;
    Application->OnShowHint(text, canShow, info);
  };
  const auto flatClass = [] {
    std::unique_ptr<THintWindow> made(Application->HintWindowClass(nullptr));
    return dynamic_cast<TFlatHintWindow*>(made.get()) != nullptr;
  };
  int firstShows = 0, laterShows = 0;
  counts(form->Hints, firstShows);

  // A later component on another form; the later one goes first: the first takes over again.
  auto second = std::make_unique<TForm>(nullptr);
  second->Show();
  auto* later = new TFlatHint(second.get());
  counts(later, laterShows);
  showHint();
  EXPECT_EQ(laterShows, 1);
  second.reset();
  EXPECT_TRUE(flatClass());
  showHint();
  EXPECT_EQ(firstShows, 1) << "handed back to the component still on a form";

  // Now the first goes while a later one lives: the later one keeps the hints.
  second = std::make_unique<TForm>(nullptr);
  second->Show();
  later = new TFlatHint(second.get());
  counts(later, laterShows);
  delete form;
  form = nullptr;
  EXPECT_TRUE(flatClass());
  showHint();
  EXPECT_EQ(laterShows, 2);
  // The last one gone: the application's own state from before any flat hint.
  second.reset();
  EXPECT_FALSE(flatClass());
  showHint();
  EXPECT_EQ(plainShows, 1);
  EXPECT_EQ(firstShows, 1);
  EXPECT_EQ(laterShows, 2);
}

TEST_F(FlatHints, PlacedByTheCursorsQuarterOfTheWorkArea) {
  const TRect area = WorkAreaAt(FormCentre());
  HWND foreground = GetForegroundWindow();

  const TPoint upperLeft{area.Left + 60, area.Top + 60};
  auto hint = ShowAt(upperLeft, L"Runs the action now");
  ASSERT_TRUE(hint->IsHintShown());
  EXPECT_EQ(hint->GetCorner(), THintCorner::TopLeft);
  TRect r = WindowRect(hint->GetHandle());
  EXPECT_EQ(r.Left, upperLeft.X + 12);
  EXPECT_EQ(r.Top, upperLeft.Y + 12);
  const LONG style = GetWindowLongW(hint->GetHandle(), GWL_STYLE);
  EXPECT_FALSE(style & WS_BORDER) << "the flat frame is painted, not the system's";
  EXPECT_TRUE(GetWindowLongW(hint->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetForegroundWindow(), foreground) << "showing a hint takes no activation";

  const TPoint lowerRight{area.Right - 60, area.Bottom - 60};
  hint = ShowAt(lowerRight, L"Runs the action now");
  EXPECT_EQ(hint->GetCorner(), THintCorner::BottomRight);
  r = WindowRect(hint->GetHandle());
  EXPECT_EQ(r.Right, lowerRight.X - 5) << "above and to the left of the cursor";
  EXPECT_EQ(r.Bottom, lowerRight.Y - 5);

  // Near the bottom edge with a tall hint: still all on the work area.
  std::wstring tall;
  for (int i = 0; i < 80; ++i) tall += L"line ";
  form->Hints->SetMaxHintWidth(60);
  hint = ShowAt({area.Left + 40, area.Top + area.Height() / 2 - 2}, tall);
  r = WindowRect(hint->GetHandle());
  EXPECT_GE(r.Top, area.Top);
  EXPECT_LE(r.Bottom, area.Bottom);
}

TEST_F(FlatHints, SizedAtMaxHintWidthLessTheStrip) {
  const TPoint p = FormCentre();
  std::wstring text;
  for (int i = 0; i < 30; ++i) text += L"word ";
  auto wide = ShowAt(p, text);
  const TRect w400 = WindowRect(wide->GetHandle());
  EXPECT_LE(w400.Width(), 400);
  EXPECT_GT(w400.Width(), 300) << "long text fills the width it may take";
  form->Hints->SetMaxHintWidth(200);
  auto narrow = ShowAt(p, text);
  const TRect w200 = WindowRect(narrow->GetHandle());
  EXPECT_LE(w200.Width(), 200);
  EXPECT_GT(w200.Height(), w400.Height()) << "wrapped onto more lines";
}

TEST_F(FlatHints, NoComponentNoHint) {
  delete form;
  form = nullptr;
  auto hint = ShowAt({100, 100}, L"nobody's");
  EXPECT_FALSE(hint->IsHintShown());
}

TEST_F(FlatHints, StripFrameAndArrow) {
  const TRect area = WorkAreaAt(FormCentre());
  auto hint = ShowAt({area.Right - 80, area.Top + 80}, L"Runs the action now");
  ASSERT_EQ(hint->GetCorner(), THintCorner::TopRight);
  const int w = hint->GetWidth(), h = hint->GetHeight();
  TMemoryPaint p(hint.get());
  EXPECT_EQ(static_cast<TColor>(p.At(0, 0)), clBlack) << "frame";
  EXPECT_EQ(static_cast<TColor>(p.At(w - 1, h - 1)), clBlack);
  EXPECT_EQ(static_cast<TColor>(p.At(w - 8, h - 3)), TColor(0x53D2FF)) << "the strip on the right";
  EXPECT_EQ(static_cast<TColor>(p.At(3, h - 3)), clWhite) << "the text area";
  EXPECT_EQ(static_cast<TColor>(p.At(w - 4, 3)), clBlack) << "the arrow's tip in the top-right corner";
  // Some of the text in the text area's font colour.
  int ink = 0;
  for (int y = 1; y < h - 1; ++y)
    for (int x = 1; x < w - 16; ++x)
      if (static_cast<TColor>(p.At(x, y)) != clWhite) ++ink;
  EXPECT_GT(ink, 20);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(hint->GetHandle(), qorn::testing::ScreenshotDir() / "flat_hint.png"));
}

TEST_F(FlatHints, TheApplicationShowsAControlsHintInIt) {
  const TPoint over = form->HintedButton->ClientToScreen({20, 10});
  SetCursorPos(over.X, over.Y);
  Application->ActivateHint(over);
  Pump(20ms);
  THintWindow* shown = Application->GetHintWindow();
  ASSERT_NE(shown, nullptr);
  ASSERT_NE(dynamic_cast<TFlatHintWindow*>(shown), nullptr);
  EXPECT_TRUE(shown->IsHintShown());
  EXPECT_EQ(shown->GetText(), L"Runs the action now");
  EXPECT_EQ(plainShows, 0) << "the application's OnShowHint is the component's now";
}

}  // namespace
