// Hints as a user meets them: the cursor put over a control (SetCursorPos and the
// mouse move it makes), the application's own loop pumped, and the hint window
// looked at: when it shows, with which text and where, what CM_HINTSHOW and
// OnShowHint change, and what ends it (the hide pause, a click, a key, leaving).
// Windowed and windowless controls alike. And the hint window on its own.
// ctest-serial: a hint coming ends when the application is deactivated, which
// any other test showing a window could do.
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/HintWindow.h"
#include "testing/PumpApplication.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// How long a test waits for what must come: the pauses the tests set are at most
// a few hundred milliseconds, so a machine ten times slower still meets this. A
// test that tells two timings apart sets the other one far above it.
constexpr std::chrono::milliseconds Patience = 10s;

// What a control may do with CM_HINTSHOW, and what it saw.
struct THintAnswer {
  int shows = 0;
  // When the last CM_HINTSHOW came: before the hint showed and its hide pause began.
  std::chrono::steady_clock::time_point askedAt;
  std::wstring seenText;
  TRect seenCursorRect;
  TPoint seenCursorPos;
  std::wstring append;
  bool cancel = false;
  TRect cursorRect;  // empty: leave it
  int hideTimeout = -1;
  bool movePos = false;
  TPoint hintPos;

  void Answer(TMessage& m) {
    ++shows;
    askedAt = std::chrono::steady_clock::now();
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    seenText = info->HintStr;
    seenCursorRect = info->CursorRect;
    seenCursorPos = info->CursorPos;
    info->HintStr += append;
    if (!cursorRect.IsEmpty()) info->CursorRect = cursorRect;
    if (hideTimeout >= 0) info->HideTimeout = hideTimeout;
    if (movePos) info->HintPos = hintPos;
    m.Result = cancel ? 1 : 0;
  }
};

class TWindowedProbe : public TCustomControl {
  QORN_CLASS(TWindowedProbe, TCustomControl)
 public:
  explicit TWindowedProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
  THintAnswer hint;
  void CMHintShow(TMessage& m) { hint.Answer(m); }

 private:
  static void Publish(TPublisher<TWindowedProbe>& p) { p.Message(CM_HINTSHOW, &TWindowedProbe::CMHintShow); }
};

class TWindowlessProbe : public TGraphicControl {
  QORN_CLASS(TWindowlessProbe, TGraphicControl)
 public:
  explicit TWindowlessProbe(TComponent* AOwner) : TGraphicControl(AOwner) {}
  THintAnswer hint;
  void CMHintShow(TMessage& m) { hint.Answer(m); }

 private:
  static void Publish(TPublisher<TWindowlessProbe>& p) { p.Message(CM_HINTSHOW, &TWindowlessProbe::CMHintShow); }

 protected:
  void Paint() override {
    GetCanvas()->GetBrush()->SetColor(clSilver);
    GetCanvas()->FillRect(GetClientRect());
  }
};

class Hints : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = {Application->HintPause, Application->HintShortPause, Application->HintHidePause};
    Application->HintPause = 300;
    Application->HintShortPause = 50;
    // Far above any bound a test waits for: a hint that goes by itself within
    // Patience went for another reason.
    Application->HintHidePause = 60000;
    form = CreateFormNew<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    // Low on the right, where the other test programs seldom put their windows.
    form->SetBounds(820, 700, 400, 200);
    windowed = new TWindowedProbe(form);
    windowed->SetParent(form);
    windowed->SetBounds(20, 20, 120, 60);
    windowed->SetColor(clWhite);
    windowed->SetHint(L"Windowed|The long help of the windowed control");
    windowed->SetShowHint(true);
    windowless = new TWindowlessProbe(form);
    windowless->SetParent(form);
    windowless->SetBounds(200, 20, 120, 60);
    windowless->SetHint(L"Windowless|The long help of the windowless control");
    windowless->SetShowHint(true);
    form->Show();
    Pump(50ms);
    // Start each test with the cursor away from every control.
    Rest(form, {380, 180});
  }
  void TearDown() override {
    if (Application->HintWindowClass) {
      Application->HintWindowClass = nullptr;
      Application->SetShowHint(false);
      Application->SetShowHint(true);
    }
    Application->CancelHint();
    Application->OnShowHint = nullptr;
    delete form;
    Application->HintPause = saved[0];
    Application->HintShortPause = saved[1];
    Application->HintHidePause = saved[2];
  }

  // Puts the cursor on a point of a control, as the user's mouse would: the
  // cursor moves and the window under it gets the mouse move.
  void MoveTo(TControl* control, TPoint local) {
    // Above any topmost window another test program showed meanwhile.
    SetWindowPos(form->GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const TPoint screen = control->ClientToScreen(local);
    SetCursorPos(screen.X, screen.Y);
    HWND wnd = WindowFromPoint(POINT{screen.X, screen.Y});
    POINT client{screen.X, screen.Y};
    ScreenToClient(wnd, &client);
    PostMessageW(wnd, WM_MOUSEMOVE, 0, PointToLParam(client.x, client.y));
  }
  void Rest(TControl* control, TPoint local) {
    MoveTo(control, local);
    Pump(20ms);
  }
  THintWindow* Window() const { return Application->GetHintWindow(); }
  bool Shown() const { return Window() && Window()->IsHintShown(); }
  std::wstring ShownText() const { return Shown() ? Window()->GetCaption() : L"(none)"; }
  bool ShowsWithin(std::chrono::milliseconds ms) {
    const bool shown = PumpUntil([&] { return Shown(); }, ms);
    if (!shown) std::cerr << Surroundings() << "\n";
    return shown;
  }
  // What is under the cursor now, for a hint that did not come.
  static std::string Surroundings() {
    POINT p;
    GetCursorPos(&p);
    HWND w = WindowFromPoint(p);
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    std::wstring n(name);
    return "cursor " + std::to_string(p.x) + "," + std::to_string(p.y) + " over " + std::string(n.begin(), n.end()) +
           (pid == GetCurrentProcessId() ? " (ours)" : " of process " + std::to_string(pid)) +
           (Application->GetActive() ? "" : ", the application not active");
  }
  bool HidesWithin(std::chrono::milliseconds ms) { return PumpUntil([&] { return !Shown(); }, ms); }

  std::vector<int> saved;
  TForm* form = nullptr;
  TWindowedProbe* windowed = nullptr;
  TWindowlessProbe* windowless = nullptr;
};

struct Target {
  const char* name;
  bool windowless;
};

class HintsOnEachKind : public Hints, public ::testing::WithParamInterface<Target> {
 protected:
  TControl* Control() const {
    return GetParam().windowless ? static_cast<TControl*>(windowless) : static_cast<TControl*>(windowed);
  }
  THintAnswer& Answer() const { return GetParam().windowless ? windowless->hint : windowed->hint; }
  std::wstring Short() const { return GetParam().windowless ? L"Windowless" : L"Windowed"; }
};

TEST_P(HintsOnEachKind, AfterThePauseTheShortHintShowsBelowTheCursorWithoutTakingTheActivation) {
  HWND active = GetActiveWindow();
  // Seen shown no earlier than it was, so a slow machine can only make it later.
  const std::uint64_t movedAt = ClockNowMs();
  MoveTo(Control(), {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  EXPECT_GE(ClockNowMs() - movedAt, 290u) << "not before HintPause (300 ms)";
  EXPECT_EQ(ShownText(), Short());
  EXPECT_EQ(Answer().shows, 1);
  EXPECT_EQ(Answer().seenText, Short()) << "CM_HINTSHOW gets the part before the bar";
  EXPECT_EQ(Answer().seenCursorRect, Rect(0, 0, 120, 60)) << "the control's client area";
  EXPECT_EQ(Answer().seenCursorPos, (TPoint{30, 20}));
  HWND hint = Window()->WindowHandle();
  RECT r;
  GetWindowRect(hint, &r);
  const TPoint cursor = Control()->ClientToScreen({30, 20});
  EXPECT_GT(r.top, cursor.Y) << "below the cursor";
  EXPECT_GE(r.left, cursor.X - 1);
  EXPECT_TRUE(GetWindowLongPtrW(hint, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), active);
  // Moves inside the control keep the hint as it is: it is asked once.
  Rest(Control(), {60, 40});
  Pump(100ms);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(Answer().shows, 1);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HintsOnEachKind,
                         ::testing::Values(Target{"windowed", false}, Target{"windowless", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChangeCase {
  const char* name;
  bool windowless;
  std::wstring append;
  bool cancel;
  bool viaOnShowHint;
  std::wstring shown;  // empty: no hint
};

class HintChanges : public Hints, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(HintChanges, CMHintShowAndOnShowHintChangeOrCancelTheHint) {
  const ChangeCase& c = GetParam();
  TControl* control = c.windowless ? static_cast<TControl*>(windowless) : static_cast<TControl*>(windowed);
  THintAnswer& answer = c.windowless ? windowless->hint : windowed->hint;
  int onShowHint = 0;
  if (c.viaOnShowHint) {
    Application->OnShowHint = [&](std::wstring& text, bool& canShow, THintInfo& info) {
      ++onShowHint;
      EXPECT_EQ(info.HintControl, control);
      text += c.append;
      canShow = !c.cancel;
    };
  } else {
    answer.append = c.append;
    answer.cancel = c.cancel;
    Application->OnShowHint = [&](std::wstring&, bool&, THintInfo&) { ++onShowHint; };
  }
  MoveTo(control, {30, 20});
  bool shown;
  if (c.shown.empty()) {
    Pump(600ms);
    shown = Shown();
  } else {
    shown = ShowsWithin(Patience);
  }
  EXPECT_EQ(answer.shows, 1);
  EXPECT_EQ(onShowHint, c.cancel && !c.viaOnShowHint ? 0 : 1) << "OnShowHint only for a hint the control allows";
  EXPECT_EQ(shown, !c.shown.empty());
  if (shown) {
    EXPECT_EQ(ShownText(), c.shown);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HintChanges,
    ::testing::Values(ChangeCase{"windowed_text_changed", false, L" (Ctrl+W)", false, false, L"Windowed (Ctrl+W)"},
                      ChangeCase{"windowless_text_changed", true, L"!", false, false, L"Windowless!"},
                      ChangeCase{"windowed_cancelled", false, L"", true, false, L""},
                      ChangeCase{"windowless_cancelled", true, L"", true, false, L""},
                      ChangeCase{"on_show_hint_changes", true, L" more", false, true, L"Windowless more"},
                      ChangeCase{"on_show_hint_cancels", false, L"", true, true, L""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Hints, AControlWithoutAHintOfItsOwnGetsOneFromCMHintShow) {
  windowless->SetHint(L"");
  windowless->hint.append = L"Made up";
  MoveTo(windowless, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  EXPECT_EQ(ShownText(), L"Made up");
}

TEST_F(Hints, NoHintWithoutShowHintOrWithHintsOff) {
  windowed->SetShowHint(false);
  MoveTo(windowed, {30, 20});
  Pump(600ms);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(windowed->hint.shows, 0);
  Rest(form, {380, 180});
  Application->SetShowHint(false);
  MoveTo(windowless, {30, 20});
  Pump(600ms);
  Application->SetShowHint(true);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(windowless->hint.shows, 0);
}

TEST_F(Hints, TheHintGoesAfterTheHidePauseAndComesBackOnlyAfterTheCursorLeft) {
  Application->HintHidePause = 400;
  MoveTo(windowed, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  // Timed from the moment the hint was asked for, not from when the test saw it: a
  // busy machine may show the test the hint late, never the hide pause early.
  ASSERT_TRUE(HidesWithin(Patience));
  EXPECT_GE(std::chrono::steady_clock::now() - windowed->hint.askedAt, 350ms) << "not before HintHidePause";
  Rest(windowed, {40, 30});
  Pump(600ms);
  EXPECT_FALSE(Shown()) << "resting on in the control brings no second hint";
  Rest(form, {380, 180});
  MoveTo(windowed, {30, 20});
  EXPECT_TRUE(ShowsWithin(Patience)) << "after leaving and coming back";
  EXPECT_EQ(windowed->hint.shows, 2);
}

TEST_F(Hints, AClickOrAKeyEndsTheHintShownOrComing) {
  struct Step {
    const char* name;
    bool waitForHint;
    UINT msg;
  };
  for (const Step& s : {Step{"click on a shown hint", true, WM_LBUTTONDOWN}, Step{"key on a shown hint", true, WM_KEYDOWN},
                        Step{"click before the hint came", false, WM_LBUTTONDOWN}}) {
    Rest(form, {380, 180});
    windowed->hint.shows = 0;
    MoveTo(windowed, {30, 20});
    if (s.waitForHint) {
      ASSERT_TRUE(ShowsWithin(Patience)) << s.name;
    }
    HWND target = windowed->GetHandle();
    PostMessageW(target, s.msg, s.msg == WM_KEYDOWN ? VK_SHIFT : MK_LBUTTON,
                 s.msg == WM_KEYDOWN ? 1 : PointToLParam(30, 20));
    PostMessageW(target, s.msg + 1, s.msg == WM_KEYDOWN ? VK_SHIFT : 0,
                 s.msg == WM_KEYDOWN ? 0xC0000001 : PointToLParam(30, 20));
    Pump(600ms);
    EXPECT_FALSE(Shown()) << s.name;
    EXPECT_EQ(windowed->hint.shows, s.waitForHint ? 1 : 0) << s.name;
  }
}

TEST_F(Hints, NoHintWhileTheMouseIsCaptured) {
  SetCapture(windowed->GetHandle());
  MoveTo(windowless, {30, 20});
  Pump(600ms);
  const bool shownWhileCaptured = Shown();
  ReleaseCapture();
  EXPECT_FALSE(shownWhileCaptured);
  EXPECT_EQ(windowless->hint.shows, 0);
  MoveTo(windowless, {32, 22});
  EXPECT_TRUE(ShowsWithin(Patience)) << "once the capture is gone";
}

TEST_F(Hints, LeavingForAWindowThatIsNotOursEndsTheHint) {
  // A window of another class and thread stands for another program: it gets the
  // cursor, and our controls get no mouse message at all.
  std::atomic<HWND> other{nullptr};
  std::atomic<bool> done{false};
  std::thread foreign([&] {
    HWND w = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 600, 700,
                             100, 100, nullptr, nullptr, nullptr, nullptr);
    other = w;
    while (!done) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      std::this_thread::sleep_for(5ms);
    }
    DestroyWindow(w);
  });
  while (!other) std::this_thread::sleep_for(5ms);
  MoveTo(windowless, {30, 20});
  const bool shown = ShowsWithin(Patience);
  SetCursorPos(650, 750);
  const bool hidden = HidesWithin(Patience);
  done = true;
  foreign.join();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(hidden) << "no mouse message of ours, still the hint went";
}

TEST_F(Hints, RightAfterAHintTheNextControlShowsItsOwnAfterTheShortPause) {
  Application->HintShortPause = 50;
  MoveTo(windowed, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  Application->HintPause = 60000;
  MoveTo(windowless, {30, 20});
  EXPECT_TRUE(PumpUntil([&] { return ShownText() == L"Windowless"; }, Patience))
      << "well before HintPause: " << std::string(ShownText().begin(), ShownText().end());
}

TEST_F(Hints, LeavingTheCursorRectAControlGaveAsksItAgain) {
  // The control's hint is for its left half only, as item hints are.
  windowed->hint.cursorRect = Rect(0, 0, 60, 60);
  MoveTo(windowed, {20, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  EXPECT_EQ(windowed->hint.shows, 1);
  MoveTo(windowed, {100, 20});
  EXPECT_TRUE(PumpUntil([&] { return windowed->hint.shows == 2; }, Patience)) << "asked again for the right half";
  EXPECT_EQ(windowed->hint.seenCursorPos, (TPoint{100, 20}));
}

TEST_F(Hints, CMHintShowPlacesTheHintAndSetsHowLongItStays) {
  windowless->hint.movePos = true;
  windowless->hint.hintPos = {300, 420};
  windowless->hint.hideTimeout = 200;
  MoveTo(windowless, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  POINT origin{0, 0};
  ClientToScreen(Window()->WindowHandle(), &origin);
  EXPECT_EQ(origin.x, 300);
  EXPECT_EQ(origin.y, 420);
  EXPECT_TRUE(HidesWithin(Patience)) << "after the control's own hide timeout, well before HintHidePause";
}

TEST_F(Hints, TheHintTakesTheApplicationsHintColor) {
  const TColor saved = Application->HintColor;
  Application->HintColor = clLime;
  MoveTo(windowed, {30, 20});
  const bool shown = ShowsWithin(Patience);
  Pump(100ms);
  COLORREF inside = CLR_INVALID;
  if (shown) {
    HDC dc = GetDC(Window()->WindowHandle());
    inside = GetPixel(dc, 1, 1);
    ReleaseDC(Window()->WindowHandle(), dc);
  }
  Application->HintColor = saved;
  ASSERT_TRUE(shown);
  EXPECT_EQ(inside, RGB(0, 255, 0));
}

class TRecordingHintWindow : public THintWindow {
  QORN_CLASS(TRecordingHintWindow, THintWindow)
 public:
  explicit TRecordingHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
  std::vector<std::wstring> shown;
  void ActivateHint(TRect rect, const std::wstring& hint) override {
    shown.push_back(hint);
    THintWindow::ActivateHint(rect, hint);
  }
};

TEST_F(Hints, AnotherHintWindowClassServesTheHintsOnceShowHintIsToggled) {
  MoveTo(windowed, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  Application->HintWindowClass = [](TComponent* owner) -> THintWindow* { return new TRecordingHintWindow(owner); };
  Application->SetShowHint(false);
  Application->SetShowHint(true);
  EXPECT_EQ(Window(), nullptr) << "the old window went with the toggle";
  MoveTo(windowless, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  auto* recording = dynamic_cast<TRecordingHintWindow*>(Window());
  ASSERT_NE(recording, nullptr);
  EXPECT_EQ(recording->shown, (std::vector<std::wstring>{L"Windowless"}));
}

TEST_F(Hints, AControlFreedWhileItsHintShowsTakesTheHintAlong) {
  MoveTo(windowless, {30, 20});
  ASSERT_TRUE(ShowsWithin(Patience));
  delete windowless;
  windowless = nullptr;
  EXPECT_FALSE(Shown());
  Pump(400ms);
  EXPECT_FALSE(Shown());
}

TEST_F(Hints, ScreenshotOfAShownHint) {
  windowed->SetHint(L"Opens the settings of the selected key|long");
  MoveTo(windowed, {40, 30});
  ASSERT_TRUE(ShowsWithin(Patience));
  Pump(100ms);
  const auto file = qorn::testing::ScreenshotDir() / "hint.png";
  std::filesystem::create_directories(file.parent_path());
  EXPECT_TRUE(qorn::testing::SaveScreenshot(file));
  // The hint's own pixels: its background colour inside, the text in another,
  // and all of the text inside the box (measured and drawn in the same font).
  HWND wnd = Window()->WindowHandle();
  RECT client;
  GetClientRect(wnd, &client);
  HDC dc = GetDC(wnd);
  const COLORREF inside = GetPixel(dc, 1, client.bottom - 1);
  int textRight = -1, textBottom = -1;
  for (int x = 0; x < client.right; ++x)
    for (int y = 0; y < client.bottom; ++y)
      if (GetPixel(dc, x, y) != inside) {
        textRight = std::max(textRight, x);
        textBottom = std::max(textBottom, y);
      }
  ReleaseDC(wnd, dc);
  EXPECT_EQ(inside, static_cast<COLORREF>(ColorToRGB(clInfoBk)));
  EXPECT_GT(textRight, client.right / 2) << "the text runs across the box";
  EXPECT_LT(textRight, client.right - 2) << "and ends inside it";
  EXPECT_LT(textBottom, client.bottom - 1) << "nothing cut off at the bottom: " << client.bottom;
}

// --- the hint window on its own

TEST(HintWindow, CalcHintRectWrapsAtTheWidthGiven) {
  THintWindow hint(nullptr);
  const TRect one = hint.CalcHintRect(1000, L"Short", nullptr);
  const TRect longer = hint.CalcHintRect(1000, L"Short and a good deal longer", nullptr);
  const TRect wrapped = hint.CalcHintRect(60, L"Short and a good deal longer", nullptr);
  EXPECT_EQ(one.Left, 0);
  EXPECT_EQ(one.Top, 0);
  EXPECT_GT(longer.Width(), one.Width());
  EXPECT_EQ(longer.Height(), one.Height());
  EXPECT_LE(wrapped.Width(), 60 + 6);
  EXPECT_GT(wrapped.Height(), 2 * (one.Height() - 2)) << "three lines or more";
}

TEST(HintWindow, ActivateHintShowsTheClientAreaWhereAskedAndReleaseHandleHidesIt) {
  THintWindow hint(nullptr);
  TRect r = hint.CalcHintRect(300, L"Row 3 of 10", nullptr);
  OffsetRect(r, 50, 60);
  hint.ActivateHint(r, L"Row 3 of 10");
  ASSERT_TRUE(hint.IsHintShown());
  EXPECT_EQ(hint.GetCaption(), L"Row 3 of 10");
  HWND wnd = hint.WindowHandle();
  RECT client;
  GetClientRect(wnd, &client);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  EXPECT_EQ(AsTRect(client).Width(), r.Width());
  EXPECT_EQ(AsTRect(client).Height(), r.Height());
  EXPECT_EQ(origin.x, 50);
  EXPECT_EQ(origin.y, 60);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, PointToLParam(55, 65)), HTTRANSPARENT) << "clicks fall through";
  EXPECT_EQ(SendMessageW(wnd, WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  hint.ReleaseHandle();
  EXPECT_FALSE(hint.IsHintShown());
  EXPECT_FALSE(IsWindow(wnd));
}

struct InsideCase {
  const char* name;
  TRect rect;
  TPoint cursor;
  TRect expected;
};

class KeepInside : public ::testing::TestWithParam<InsideCase> {};

TEST_P(KeepInside, TheHintStaysOnTheWorkAreaAndOffTheCursor) {
  const TRect area = Rect(0, 0, 800, 600);
  EXPECT_EQ(KeepHintInside(GetParam().rect, area, GetParam().cursor), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeepInside,
    ::testing::Values(InsideCase{"inside", Rect(100, 120, 200, 140), {100, 100}, Rect(100, 120, 200, 140)},
                      InsideCase{"past_the_right", Rect(750, 120, 850, 140), {750, 100}, Rect(700, 120, 800, 140)},
                      InsideCase{"past_the_left", Rect(-30, 120, 70, 140), {0, 100}, Rect(0, 120, 100, 140)},
                      InsideCase{"past_the_bottom_goes_above_the_cursor", Rect(100, 610, 200, 630), {150, 590},
                                 Rect(100, 568, 200, 588)},
                      InsideCase{"past_the_bottom_clear_of_the_cursor", Rect(100, 590, 200, 610), {100, 500},
                                 Rect(100, 580, 200, 600)},
                      InsideCase{"above_the_top", Rect(100, -20, 200, 0), {100, 300}, Rect(100, 0, 200, 20)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
