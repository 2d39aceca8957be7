// The text display read from its form resource: shown topmost without activation,
// laid out around its text (and bar), placed from the stored position inside the
// screen, hidden on the injected clock, and held in placement mode; the rules all
// displays share (refused hide requests, dragging by any point) on this one.
// desktop-input: it reads the foreground window while displays appear.
#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "displays/TextDisplay.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

namespace {

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

class TextDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecords = TSettingsRecords{};
    MainSettings.OsdTextLeft = 100;
    MainSettings.OsdTextTop = 200;
    DisplayPlacementMode = 0;
    form.reset(CreateForm<TOSDtForm>(Application));
  }
  void TearDown() override {
    form.reset();
    DisplayPlacementMode = 0;
    SettingsRecords = TSettingsRecords{};
    Pump(10ms);
  }
  // Moves the clock on and lets the hide clock tick.
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(30ms);
    ASSERT_TRUE(PumpDueTimers()) << "a timer never caught up with the clock";
  }
  bool OnScreen() { return form->WindowHandle() && IsWindowVisible(form->WindowHandle()); }

  TManualClock clock;
  TClockOverride useClock{clock};
  std::unique_ptr<TOSDtForm> form;
};

TEST_F(TextDisplay, ShowsTopmostWithoutActivationAsALayeredToolWindow) {
  MainSettings.osdtr2 = 0x1B4;  // only the low byte is the opacity
  // The window the user types in.
  std::unique_ptr<TForm> user(CreateFormNew<TForm>(Application));
  user->SetBounds(50, 50, 300, 200);
  user->Show();
  HWND before = user->GetHandle();
  ASSERT_TRUE(qorn::testing::BringToFront(before));
  form->showing(tkNotice, L"Volume up");
  Pump(20ms);
  ASSERT_TRUE(OnScreen());
  HWND wnd = form->WindowHandle();
  const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "no taskbar button of its own";
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION);
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 0xB4);
  EXPECT_EQ(key, 0xFEFFFFu);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
  EXPECT_NE(GetForegroundWindow(), wnd);
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_FALSE(form->GetActive());
  EXPECT_EQ(form->VyLabel1->GetCaption(), L"Volume up");

  // A click on it does not activate it either.
  EXPECT_EQ(SendMessageW(wnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
}

TEST_F(TextDisplay, HidesOnceItsTimeAndASecondHavePassedSinceTheLastCall) {
  MainSettings.osdsh2 = 300;
  form->showing(tkNotice, L"First");
  Advance(900);
  form->showing(tkNotice, L"Second");  // restarts the clock
  Advance(1300);
  EXPECT_TRUE(OnScreen()) << "1300 ms after the second call, 1300 are due";
  EXPECT_TRUE(form->IsShown());
  Advance(101);
  EXPECT_FALSE(OnScreen());
  EXPECT_FALSE(form->IsShown());
  EXPECT_FALSE(form->Timer1->GetEnabled());
  EXPECT_EQ(form->VyLabel1->GetCaption(), L"");

  // A fresh show after the hide starts over.
  form->showing(tkNotice, L"Third");
  EXPECT_TRUE(OnScreen());
  Advance(1200);
  EXPECT_TRUE(OnScreen());
  Advance(200);
  EXPECT_FALSE(OnScreen());
}

TEST_F(TextDisplay, ATimeOfZeroKeepsTheTextForOneSecond) {
  MainSettings.osdsh2 = 0;
  form->showing(tkNotice, L"Caps Lock");
  Advance(1000);
  EXPECT_TRUE(OnScreen());
  Advance(100);  // the clock's next tick
  EXPECT_FALSE(OnScreen());
}

TEST_F(TextDisplay, HoldsLongerThanTheClockWouldWrapIn32Bits) {
  // Shown just before a 32-bit millisecond count wraps: it still hides on time.
  clock.Set(0xFFFFFFFFull - 500);
  MainSettings.osdsh2 = 0;
  form->showing(tkNotice, L"Late");
  Advance(800);
  EXPECT_TRUE(OnScreen());
  Advance(300);
  EXPECT_FALSE(OnScreen());
}

TEST_F(TextDisplay, TheWindowFitsTheTextAndTheBarWithTheirMargins) {
  form->showing(tkNotice, L"Short");
  auto* label = form->VyLabel1;
  EXPECT_FALSE(form->waosd->GetVisible());
  EXPECT_EQ(form->GetClientWidth(), label->GetWidth() + 20);
  EXPECT_EQ(form->GetClientHeight(), label->GetHeight() + 20);
  EXPECT_EQ(label->GetLeft(), 10);
  EXPECT_EQ(label->GetTop(), 10);
  const int shortWidth = label->GetWidth();

  form->showing(tkWithBar, L"Artist - Title");
  ASSERT_TRUE(form->waosd->GetVisible());
  EXPECT_EQ(form->waosd->GetTop(), label->GetHeight() + 20);
  EXPECT_EQ(form->GetClientWidth(), std::max(label->GetWidth(), form->waosd->GetWidth()) + 20);
  EXPECT_EQ(form->GetClientHeight(), label->GetHeight() + form->waosd->GetHeight() + 30);
  const int barWidth = form->GetWidth();
  const int barHeight = form->GetHeight();

  // A running track display changes only its text, also when that is far longer.
  form->showing(tkWithBar, L"A much, much longer artist name - and a longer title too");
  EXPECT_EQ(label->GetCaption(), L"A much, much longer artist name - and a longer title too");
  EXPECT_GT(label->GetWidth(), form->waosd->GetWidth());
  EXPECT_EQ(form->GetWidth(), barWidth);
  EXPECT_EQ(form->GetHeight(), barHeight);

  // A notice after it lays the window out again, without the bar.
  form->showing(tkNotice, L"Short");
  EXPECT_FALSE(form->waosd->GetVisible());
  EXPECT_EQ(label->GetWidth(), shortWidth);
  EXPECT_EQ(form->GetClientWidth(), shortWidth + 20);
  EXPECT_EQ(form->GetClientHeight(), label->GetHeight() + 20);
}

TEST_F(TextDisplay, TakesTheFontOfTheSettings) {
  CreateDefaultFonts(FontSlots);
  form.reset(CreateForm<TOSDtForm>(Application));
  EXPECT_EQ(form->VyLabel1->GetFont()->GetName(), L"Courier New");
  form->showing(tkNotice, L"Font");
  EXPECT_EQ(form->VyLabel1->GetFont()->GetName(), L"Courier New");
  EXPECT_TRUE(form->VyLabel1->GetFont()->GetStyle().Contains(fsBold));
}

TEST_F(TextDisplay, AnAmpersandIsShownAsItIs) {
  form->showing(tkNotice, L"Tom & Jerry");
  EXPECT_FALSE(form->VyLabel1->GetShowAccelChar());
}

struct TPlaceCase {
  int keepInside;
  int storedLeft, storedTop;
  // Expected place; kFarEdge means "screen size - window size".
  int left, top;
};
constexpr int kFarEdge = -100000;

class TextDisplayPlace : public TextDisplay, public ::testing::WithParamInterface<TPlaceCase> {};

TEST_P(TextDisplayPlace, FromTheStoredPositionKeptInsideTheScreenWhenAsked) {
  const TPlaceCase& c = GetParam();
  MainSettings.osdlim = c.keepInside;
  MainSettings.OsdTextLeft = c.storedLeft;
  MainSettings.OsdTextTop = c.storedTop;
  form->showing(tkNotice, L"Placed");
  const RECT r = WindowRectOf(form->WindowHandle());
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  EXPECT_EQ(r.left, c.left == kFarEdge ? Screen->GetWidth() - width : c.left);
  EXPECT_EQ(r.top, c.top == kFarEdge ? Screen->GetHeight() - height : c.top);
}

INSTANTIATE_TEST_SUITE_P(Cases, TextDisplayPlace,
                         ::testing::Values(TPlaceCase{1, 300, 400, 300, 400}, TPlaceCase{1, -20, -50, 0, 0},
                                           TPlaceCase{1, 5000, 2000, kFarEdge, kFarEdge},
                                           TPlaceCase{0, -20, -50, -20, -50}, TPlaceCase{0, 1250, 1000, 1250, 1000}));

TEST_F(TextDisplay, AWindowWiderThanTheScreenStartsAtItsLeftEdge) {
  MainSettings.osdlim = 1;
  MainSettings.OsdTextLeft = 40;
  std::wstring wide(400, L'W');
  form->showing(tkNotice, wide);
  ASSERT_GT(form->GetWidth(), Screen->GetWidth());
  EXPECT_EQ(WindowRectOf(form->WindowHandle()).left, 0);
}

TEST_F(TextDisplay, ColoursFromTheSettingsOrSeeThroughWithoutBackground) {
  ColorSettings.osd2fc = 0x203040;
  ColorSettings.osd2cl = 0x00FFFF;
  form->showing(tkNotice, L"Coloured");
  EXPECT_EQ(form->GetColor(), 0x203040u);
  EXPECT_EQ(form->waosd->GetBackColor(), 0x203040u);
  EXPECT_EQ(form->VyLabel1->GetFont()->GetColor(), 0x00FFFFu);
  EXPECT_EQ(form->waosd->GetBarColor(), 0x00FFFFu);
  EXPECT_EQ(form->waosd->GetFlatColor(), 0x00FFFFu);
  Advance(5000);
  ASSERT_FALSE(OnScreen());

  MainSettings.osd2sf = 0;
  form->showing(tkNotice, L"Text alone");
  EXPECT_EQ(form->GetColor(), 0xFEFFFFu);
  EXPECT_EQ(form->waosd->GetBackColor(), 0xFEFFFFu);
}

TEST_F(TextDisplay, PlacementModeShowsOnlyItsOwnTextAndHoldsIt) {
  DisplayPlacementMode = 1;
  for (std::uint8_t kind : {tkNotice, tkTrack, tkWithBar}) {
    form->showing(kind, L"Ignored");
    EXPECT_FALSE(OnScreen()) << "kind " << int(kind);
  }
  form->showing(tkPlacement, L"Drag me");
  ASSERT_TRUE(OnScreen());
  EXPECT_EQ(form->VyLabel1->GetCaption(), L"Drag me");
  form->showing(tkNotice, L"Ignored");
  EXPECT_EQ(form->VyLabel1->GetCaption(), L"Drag me");
  Advance(10000);
  EXPECT_TRUE(OnScreen()) << "no hide clock in placement mode";

  // Dragged by any point while placing; clicks are plain clicks otherwise.
  HWND wnd = form->WindowHandle();
  const RECT r = WindowRectOf(wnd);
  const LPARAM inside = MAKELPARAM(r.left + 5, r.top + 5);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, inside), HTCAPTION);
  DisplayPlacementMode = 0;
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, inside), HTCLIENT);
}

TEST_F(TextDisplay, ApplyingNewSettingsActsOnlyWhilePlacing) {
  form->showing(tkNotice, L"Before");
  MainSettings.osdtr2 = 90;
  form->applynewsettings();
  EXPECT_EQ(form->GetAlphaBlendValue(), 200) << "outside placement mode the next show applies it";
  DisplayPlacementMode = 1;
  form->applynewsettings();
  EXPECT_EQ(form->GetAlphaBlendValue(), 90);
}

TEST_F(TextDisplay, RefusesTheSystemsHideRequests) {
  // The forms are owned by the application's window; hiding its owned popups (as
  // when the owner is minimized) must not take a display away.
  std::unique_ptr<TForm> plain(CreateFormNew<TForm>(Application));
  plain->SetBorderStyle(bsNone);
  plain->SetBounds(10, 10, 50, 50);
  plain->Show();
  form->showing(tkNotice, L"Stays");
  ASSERT_TRUE(OnScreen());
  ASSERT_TRUE(IsWindowVisible(plain->WindowHandle()));
  ShowOwnedPopups(Application->GetHandle(), FALSE);
  Pump(20ms);
  EXPECT_FALSE(IsWindowVisible(plain->WindowHandle())) << "an ordinary form goes";
  EXPECT_TRUE(OnScreen());
  // Its own hide still works.
  Advance(5000);
  EXPECT_FALSE(OnScreen());
}

TEST_F(TextDisplay, Screenshot) {
  ColorSettings.osd2fc = 0x402010;
  form->waosd->SetPercent(60);
  form->showing(tkWithBar, L"Now playing: Track 7");
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "displays_text_display.png"));
}

}  // namespace
