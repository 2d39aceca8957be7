// The dimming overlay read from its form resource: laid over a window's client
// area as a layered window that never takes the activation, faded in once per
// showing in 20 ms steps of the injected clock (a repaint or a second dialog does
// not start it again), capped at opaque, and faded out and hidden once its dialog
// (modal, shown, hidden or freed) is gone.
// desktop-input: it takes a screenshot.
#include <gtest/gtest.h>

#include "displays/DimmingOverlay.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/StdCtrls.h"

#include <chrono>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

BYTE AlphaOf(HWND w) {
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  GetLayeredWindowAttributes(w, &key, &alpha, &flags);
  return alpha;
}

// Whether a is before b in the order of the top-level windows.
bool Above(HWND a, HWND b) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == a) return true;
    if (w == b) return false;
  }
  return false;
}

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

class DimmingOverlay : public ::testing::Test {
 protected:
  void SetUp() override {
    over.reset(CreateFormNew<TForm>(Application));
    over->SetCaption(L"Settings");
    over->SetBounds(100, 80, 500, 360);
    over->Show();
    dialog.reset(NewDialog(L"Press a key"));
  }
  void TearDown() override {
    dialog.reset();
    second.reset();
    delete Form_Fog;
    over.reset();
    Pump(10ms);
  }
  TForm* NewDialog(const wchar_t* caption) {
    TForm* d = CreateFormNew<TForm>(Application);
    d->SetBorderStyle(bsDialog);
    d->SetCaption(caption);
    d->SetBounds(230, 170, 240, 140);
    return d;
  }
  // Moves the clock one step on and lets the overlay's timer see it.
  void Step(std::uint64_t ms = 20) {
    clock.Advance(ms);
    Pump(25ms);
    PumpDueTimers();
  }
  HWND Fog() { return Form_Fog ? Form_Fog->WindowHandle() : nullptr; }
  bool FogOnScreen() { return Fog() && IsWindowVisible(Fog()); }
  // Alphas after each step until the fade in is done (and one step more).
  std::vector<int> FadeInSteps() {
    std::vector<int> alphas{AlphaOf(Fog())};
    while (Form_Fog->Phase() == TForm_Fog::TPhase::FadingIn && alphas.size() < 40) {
      Step();
      alphas.push_back(AlphaOf(Fog()));
    }
    return alphas;
  }
  std::vector<int> FadeOutSteps() {
    std::vector<int> alphas;
    while (FogOnScreen() && alphas.size() < 40) {
      alphas.push_back(AlphaOf(Fog()));
      Step();
    }
    return alphas;
  }

  TManualClock clock;
  TClockOverride useClock{clock};
  std::unique_ptr<TForm> over;
  std::unique_ptr<TForm> dialog;
  std::unique_ptr<TForm> second;
};

TEST_F(DimmingOverlay, LiesOverTheClientAreaAsALayeredWindowThatIsNeverActivated) {
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  ASSERT_TRUE(FogOnScreen());
  HWND fog = Fog();
  const LONG_PTR ex = GetWindowLongPtrW(fog, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "no taskbar button of its own";
  EXPECT_FALSE(ex & WS_EX_TOPMOST) << "the window below is not stay-on-top";
  EXPECT_FALSE(GetWindowLongPtrW(fog, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
  COLORREF key = 0;
  BYTE alpha = 255;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(fog, &key, &alpha, &flags));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  EXPECT_EQ(alpha, 0) << "it starts see-through";
  EXPECT_EQ(Form_Fog->GetColor(), static_cast<TColor>(clBlack));
  EXPECT_EQ(SendMessageW(fog, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(fog), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);

  // Exactly the client area of the window below.
  POINT origin{0, 0};
  ClientToScreen(over->GetHandle(), &origin);
  RECT client{};
  GetClientRect(over->GetHandle(), &client);
  const RECT r = WindowRectOf(fog);
  EXPECT_EQ(r.left, origin.x);
  EXPECT_EQ(r.top, origin.y);
  EXPECT_EQ(r.right - r.left, client.right);
  EXPECT_EQ(r.bottom - r.top, client.bottom);

  // The dialog is over the overlay, the overlay over the window.
  EXPECT_EQ(dialog->Tag(), 1);
  EXPECT_TRUE(IsWindowVisible(dialog->GetHandle()));
  EXPECT_TRUE(Above(dialog->GetHandle(), fog));
  EXPECT_TRUE(Above(fog, over->GetHandle()));
}

TEST_F(DimmingOverlay, ADialogAlreadyOnTheScreenStaysOverTheOverlay) {
  SetWindowPos(dialog->GetHandle(), HWND_TOP, 230, 170, 240, 140, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  EXPECT_TRUE(Above(dialog->GetHandle(), Fog()));
  EXPECT_TRUE(Above(Fog(), over->GetHandle()));
  // Also while and after it fades.
  Step();
  EXPECT_TRUE(Above(dialog->GetHandle(), Fog()));
  Step(200);
  EXPECT_TRUE(Above(dialog->GetHandle(), Fog()));
}

TEST_F(DimmingOverlay, ABorderlessWindowKeepsAMarginOfSixPixels) {
  over->SetBorderStyle(bsNone);
  over->SetBounds(40, 50, 400, 300);
  ShowFogged(dialog.get(), over.get(), false, clNavy, 50, 200);
  const RECT r = WindowRectOf(Fog());
  EXPECT_EQ(r.left, 46);
  EXPECT_EQ(r.top, 56);
  EXPECT_EQ(r.right - r.left, 388);
  EXPECT_EQ(r.bottom - r.top, 288);
  EXPECT_EQ(Form_Fog->GetColor(), static_cast<TColor>(clNavy));
}

TEST_F(DimmingOverlay, FadesInOncePerShowingInStepsOfTheClock) {
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  // A repaint in the middle of the fade changes nothing of it.
  std::vector<int> alphas{AlphaOf(Fog())};
  for (int k = 1; k <= 10; ++k) {
    Step();
    if (k == 4) {
      RedrawWindow(Fog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      Pump(10ms);
    }
    alphas.push_back(AlphaOf(Fog()));
  }
  EXPECT_EQ(alphas, (std::vector<int>{0, 13, 26, 39, 52, 65, 78, 91, 104, 117, 130}));
  EXPECT_EQ(Form_Fog->Phase(), TForm_Fog::TPhase::Shown);
  Step(1000);
  RedrawWindow(Fog(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Pump(10ms);
  EXPECT_EQ(AlphaOf(Fog()), 130) << "a paint never starts the fade again";

  // A second dialog while it is up: watched in its turn, the darkness stays.
  second.reset(NewDialog(L"Update"));
  ShowFogged(second.get(), over.get(), false, clBlack, 50, 200);
  Step();
  EXPECT_EQ(AlphaOf(Fog()), 130);
  EXPECT_EQ(Form_Fog->WatchedDialog(), second.get());
  // The second goes: the first one is still open, so the overlay stays.
  second->Hide();
  Step();
  Step();
  EXPECT_TRUE(FogOnScreen());
  EXPECT_EQ(AlphaOf(Fog()), 130);
  EXPECT_EQ(Form_Fog->WatchedDialog(), dialog.get());

  // The first goes: faded out step by step, then hidden and kept.
  dialog->Hide();
  Step();
  EXPECT_EQ(FadeOutSteps(), (std::vector<int>{130, 117, 104, 91, 78, 65, 52, 39, 26, 13}));
  EXPECT_FALSE(FogOnScreen());
  EXPECT_EQ(Form_Fog->Phase(), TForm_Fog::TPhase::Hidden);
  EXPECT_EQ(Form_Fog->WatchedDialog(), nullptr);
  ASSERT_NE(Form_Fog, nullptr);

  // The next showing fades in from the start again, with its own darkness.
  ShowFogged(dialog.get(), over.get(), false, clBlack, 40, 240);
  EXPECT_EQ(FadeInSteps(), (std::vector<int>{0, 8, 16, 24, 32, 40, 48, 56, 64, 72, 80, 88, 96}));
}

TEST_F(DimmingOverlay, FullDarknessIsCappedAtOpaqueBothWays) {
  ShowFogged(dialog.get(), over.get(), false, clBlack, 100, 200);
  EXPECT_EQ(FadeInSteps(), (std::vector<int>{0, 26, 52, 78, 104, 130, 156, 182, 208, 234, 255}));
  dialog->Hide();
  Step();
  // From opaque down, never through a wrapped byte (260 would be 4).
  EXPECT_EQ(FadeOutSteps(), (std::vector<int>{255, 234, 208, 182, 156, 130, 104, 78, 52, 26}));
}

TEST_F(DimmingOverlay, WithoutAFadeItDarkensAndGoesAtOnce) {
  ShowFogged(dialog.get(), over.get(), false, 200, 50, 0);
  EXPECT_EQ(AlphaOf(Fog()), 128);
  EXPECT_EQ(Form_Fog->Phase(), TForm_Fog::TPhase::Shown);
  dialog->Hide();
  Step();
  EXPECT_FALSE(FogOnScreen());
}

TEST_F(DimmingOverlay, AClosedDialogInTheMiddleOfTheFadeTurnsItBackFromWhereItIs) {
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  Step();
  Step();
  Step();
  ASSERT_EQ(AlphaOf(Fog()), 39);
  dialog->Hide();
  Step();
  EXPECT_EQ(FadeOutSteps(), (std::vector<int>{39, 26, 13}));
  EXPECT_FALSE(FogOnScreen());
}

TEST_F(DimmingOverlay, AFreedDialogIsAsGoodAsClosed) {
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  Step();
  dialog.reset();
  Step();
  EXPECT_EQ(Form_Fog->Phase(), TForm_Fog::TPhase::FadingOut);
  EXPECT_EQ(Form_Fog->WatchedDialog(), nullptr);
  Step(500);
  EXPECT_FALSE(FogOnScreen());
}

TEST_F(DimmingOverlay, OverAStayOnTopWindowBothStayOnTop) {
  over->SetFormStyle(fsStayOnTop);
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  EXPECT_TRUE(GetWindowLongPtrW(Fog(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(dialog->GetFormStyle(), fsStayOnTop);
  EXPECT_TRUE(GetWindowLongPtrW(dialog->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// The modal loop runs inside ShowFogged: a thread timer (dispatched by that loop)
// moves the clock on, reads the overlay, and closes the dialog once it is dark.
struct TModalRun {
  TManualClock* clock = nullptr;
  TForm* dialog = nullptr;
  std::vector<int> alphas;
  int tagMeanwhile = -1;
};
TModalRun* modalRun = nullptr;

void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) {
  TModalRun& run = *modalRun;
  run.alphas.push_back(AlphaOf(Form_Fog->WindowHandle()));
  run.tagMeanwhile = static_cast<int>(run.dialog->Tag());
  if (Form_Fog->Phase() == TForm_Fog::TPhase::Shown) {
    run.dialog->SetModalResult(mrOk);
    return;
  }
  run.clock->Advance(20);
}

TEST_F(DimmingOverlay, AModalDialogRunsOverTheFadeAndItsEndFadesTheOverlayOut) {
  TModalRun run{&clock, dialog.get(), {}, -1};
  modalRun = &run;
  const UINT_PTR timer = SetTimer(nullptr, 0, 15, ModalTick);
  const TModalResult result = ShowFogged(dialog.get(), over.get(), true, clBlack, 50, 200);
  KillTimer(nullptr, timer);
  modalRun = nullptr;
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(run.tagMeanwhile, 1) << "the overlay belongs to the dialog while it runs";
  EXPECT_EQ(dialog->Tag(), 0) << "and no more once it returned";
  ASSERT_FALSE(run.alphas.empty());
  EXPECT_EQ(run.alphas.back(), 130) << "faded in while the dialog ran";
  for (std::size_t i = 1; i < run.alphas.size(); ++i) EXPECT_GE(run.alphas[i], run.alphas[i - 1]);
  EXPECT_EQ(Form_Fog->Phase(), TForm_Fog::TPhase::FadingOut) << "the fade out starts as the dialog returns";

  // The caller frees its dialog right away, as the update window's does.
  dialog.reset();
  Step(1000);
  EXPECT_FALSE(FogOnScreen());
}

TEST_F(DimmingOverlay, ADialogThatCannotRunModallyLeavesNoOverlay) {
  dialog->Show();  // already visible: it cannot be made modal
  EXPECT_THROW(ShowFogged(dialog.get(), over.get(), true, clBlack, 50, 0), EInvalidOperation);
  EXPECT_EQ(dialog->Tag(), 0);
  Step();
  EXPECT_FALSE(FogOnScreen()) << "the overlay went with the failed dialog";
  EXPECT_THROW(ShowFogged(nullptr, over.get(), false, clBlack, 50, 200), EInvalidOperation);
}

TEST_F(DimmingOverlay, Screenshot) {
  auto* label = new TLabel(over.get());
  label->SetParent(over.get());
  label->SetCaption(L"Key list and settings of the window below");
  label->SetBounds(20, 20, 400, 20);
  auto* prompt = new TLabel(dialog.get());
  prompt->SetParent(dialog.get());
  prompt->SetCaption(L"Press the key to bind, or Esc");
  prompt->SetBounds(16, 40, 200, 20);
  ShowFogged(dialog.get(), over.get(), false, clBlack, 50, 200);
  Step(200);
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "displays_dimming_overlay.png"));
}

}  // namespace
