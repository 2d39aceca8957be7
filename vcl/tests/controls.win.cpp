// ctest-lock: keyboard
// Controls on real windows: a standard window class wrapped by a thin control,
// reflected notifications, dialog keys and characters, Perform on windowless
// controls, the mouse wheel, hints, and a frame read from its resource.
#include <gtest/gtest.h>

#include "vcl/Forms.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The shape of a thin wrapper: a standard BUTTON, its clicks back as CN_COMMAND.
class TTestButton : public TWinControl {
  QORN_CLASS(TTestButton, TWinControl)
 public:
  explicit TTestButton(TComponent* AOwner) : TWinControl(AOwner) {}
  int Commands = 0;
  void CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == BN_CLICKED) ++Commands;
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_PUSHBUTTON;
  }

 private:
  static void Publish(TPublisher<TTestButton>& p) {
    p.Property(L"Caption", &TTestButton::GetCaption, &TTestButton::SetCaption);
    p.Message(CN_COMMAND, &TTestButton::CNCommand);
  }
};

// A windowed control that can ask for the special keys itself.
class TTestKeys : public TCustomControl {
  QORN_CLASS(TTestKeys, TCustomControl)
 public:
  explicit TTestKeys(TComponent* AOwner) : TCustomControl(AOwner) {}
  unsigned DlgCode = 0;
  std::vector<WORD> Keys;
  int Wheels = 0;

 protected:
  void WMGetDlgCode(TMessage& m) { m.Result = DlgCode; }
  void KeyDown(WORD& key, TShiftState shift) override {
    Keys.push_back(key);
    TCustomControl::KeyDown(key, shift);
  }

 private:
  static void Publish(TPublisher<TTestKeys>& p) { p.Message(WM_GETDLGCODE, &TTestKeys::WMGetDlgCode); }
};

// A windowless control that answers Enter/Esc and Alt+P, as default buttons and
// captions with "&P" do.
class TTestAccel : public TGraphicControl {
  QORN_CLASS(TTestAccel, TGraphicControl)
 public:
  explicit TTestAccel(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::vector<uintptr_t> DialogKeys;
  std::vector<wchar_t> DialogChars;
  std::vector<unsigned> Performed;
  bool CancelHint = false;
  int HintShows = 0;
  void CMDialogKey(TMessage& m) {
    if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) {
      DialogKeys.push_back(m.WParam);
      m.Result = 1;
    }
  }
  void CMDialogChar(TMessage& m) {
    if (towupper(static_cast<wchar_t>(m.WParam)) == L'P') {
      DialogChars.push_back(static_cast<wchar_t>(m.WParam));
      m.Result = 1;
    }
  }
  void CMHintShow(TMessage& m) {
    ++HintShows;
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    info->HintStr += L"!";
    m.Result = CancelHint ? 1 : 0;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg >= CM_PRIVATE) Performed.push_back(m.Msg);
    TGraphicControl::WndProc(m);
  }

 private:
  static void Publish(TPublisher<TTestAccel>& p) {
    p.Message(CM_DIALOGKEY, &TTestAccel::CMDialogKey);
    p.Message(CM_DIALOGCHAR, &TTestAccel::CMDialogChar);
    p.Message(CM_HINTSHOW, &TTestAccel::CMHintShow);
  }
};

class TTestFrame : public TFrame {
  QORN_CLASS(TTestFrame, TFrame)
 public:
  explicit TTestFrame(TComponent* AOwner) : TFrame(AOwner) {}
  TTestButton* Button1 = nullptr;
  TTestKeys* Keys1 = nullptr;
  TTestAccel* Accel1 = nullptr;

 private:
  static void Publish(TPublisher<TTestFrame>& p) {
    p.Field(L"Button1", &TTestFrame::Button1);
    p.Field(L"Keys1", &TTestFrame::Keys1);
    p.Field(L"Accel1", &TTestFrame::Accel1);
  }
};

QORN_REGISTER_CLASS(TTestButton);
QORN_REGISTER_CLASS(TTestKeys);
QORN_REGISTER_CLASS(TTestAccel);
QORN_REGISTER_CLASS(TTestFrame);

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateFormNew<TForm>(Application);
    form->SetCaption(L"Controls");
    form->SetBounds(620, 60, 320, 240);
    frame = CreateFrame<TTestFrame>(form);
    frame->SetParent(form);
    frame->SetAlign(alClient);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TForm* form = nullptr;
  TTestFrame* frame = nullptr;
};

TEST_F(Controls, AFrameReadFromItsResourceFillsItsParent) {
  ASSERT_NE(frame->Button1, nullptr);
  EXPECT_EQ(frame->Button1->GetParent(), frame);
  EXPECT_EQ(frame->GetColor(), clSkyBlue);
  EXPECT_EQ(frame->GetBoundsRect(), form->GetClientRect());
  EXPECT_EQ(GetParent(frame->GetHandle()), form->GetHandle());
}

TEST_F(Controls, AStandardClassWrappedKeepsItsBehaviourAndReflectsItsCommands) {
  TTestButton* button = frame->Button1;
  HWND wnd = button->GetHandle();
  wchar_t cls[64] = {};
  GetClassNameW(wnd, cls, 64);
  EXPECT_STREQ(cls, L"TTestButton");
  wchar_t text[64] = {};
  GetWindowTextW(wnd, text, 64);
  EXPECT_STREQ(text, L"Press");
  // The class's own procedure still runs: BM_CLICK makes BN_CLICKED in the parent.
  SendMessageW(wnd, BM_CLICK, 0, 0);
  Pump(10ms);
  EXPECT_EQ(button->Commands, 1);
  EXPECT_EQ(SendMessageW(wnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
  button->SetCaption(L"Again");
  button->RecreateWnd();
  GetWindowTextW(button->GetHandle(), text, 64);
  EXPECT_STREQ(text, L"Again");
  SendMessageW(button->GetHandle(), BM_CLICK, 0, 0);
  Pump(10ms);
  EXPECT_EQ(button->Commands, 2) << "reflected again after the window was made anew";
}

struct DialogKeyCase {
  const char* name;
  WORD key;
  unsigned dlgCode;
  bool broadcast;   // reached the windowless control as CM_DIALOGKEY
  bool keyEvent;    // reached the focused control's KeyDown
};

class DialogKeys : public Controls, public ::testing::WithParamInterface<DialogKeyCase> {};

TEST_P(DialogKeys, SpecialKeysTheFocusedControlDoesNotWantGoToTheForm) {
  const DialogKeyCase& c = GetParam();
  TTestKeys* keys = frame->Keys1;
  keys->DlgCode = c.dlgCode;
  keys->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == keys->GetHandle(); }));
  keys->Keys.clear();
  PostMessageW(keys->GetHandle(), WM_KEYDOWN, c.key, 0x00010001);
  Pump(30ms);
  const bool broadcast = !frame->Accel1->DialogKeys.empty();
  EXPECT_EQ(broadcast, c.broadcast) << c.name;
  EXPECT_EQ(std::count(keys->Keys.begin(), keys->Keys.end(), c.key), c.keyEvent ? 1 : 0) << c.name << ": exactly once";
}

INSTANTIATE_TEST_SUITE_P(Cases, DialogKeys,
                         ::testing::Values(DialogKeyCase{"enter", VK_RETURN, 0, true, true},
                                           DialogKeyCase{"escape", VK_ESCAPE, 0, true, true},
                                           DialogKeyCase{"enter wanted", VK_RETURN, DLGC_WANTALLKEYS, false, true},
                                           DialogKeyCase{"letter", 'A', 0, false, true}),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (auto& ch : n)
                             if (ch == ' ') ch = '_';
                           return n;
                         });

TEST_F(Controls, AltAndAnAcceleratorReachTheControlThatOwnsIt) {
  frame->Keys1->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == frame->Keys1->GetHandle(); }));
  PostMessageW(frame->Keys1->GetHandle(), WM_SYSCHAR, L'p', 0x20190001);
  PostMessageW(frame->Keys1->GetHandle(), WM_SYSCHAR, L'q', 0x20100001);
  Pump(30ms);
  EXPECT_EQ(frame->Accel1->DialogChars, std::vector<wchar_t>{L'p'});
}

TEST_F(Controls, PerformReachesAWindowlessControlsWindowProc) {
  TTestAccel* accel = frame->Accel1;
  std::vector<unsigned> watched;
  auto original = accel->WindowProc;
  accel->WindowProc = [&](TMessage& m) {
    watched.push_back(m.Msg);
    original(m);
  };
  accel->Perform(CM_PRIVATE + 3, 1, 2);
  accel->WindowProc = original;
  accel->Perform(CM_PRIVATE + 4);
  EXPECT_EQ(watched, std::vector<unsigned>{CM_PRIVATE + 3});
  EXPECT_EQ(accel->Performed, (std::vector<unsigned>{CM_PRIVATE + 3, CM_PRIVATE + 4}));
}

TEST_F(Controls, TheWheelGoesToTheFocusedControlThenUpItsParents) {
  TTestKeys* keys = frame->Keys1;
  keys->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == keys->GetHandle(); }));
  std::vector<std::wstring> seen;
  bool keysTakes = false;
  keys->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    seen.push_back(L"keys " + std::to_wstring(delta));
    handled = keysTakes;
  };
  frame->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
    seen.push_back(L"frame " + std::to_wstring(delta));
    handled = true;
  };
  const TPoint at = keys->ClientToScreen({5, 5});
  const LPARAM pos = PointToLParam(at.X, at.Y);
  PostMessageW(keys->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), pos);
  Pump(20ms);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"keys -120", L"frame -120"}));
  seen.clear();
  keysTakes = true;
  PostMessageW(keys->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), pos);
  Pump(20ms);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"keys 120"}));
}

struct HintCase {
  const char* name;
  bool cancel;
  bool shown;
};

class Hints : public Controls, public ::testing::WithParamInterface<HintCase> {};

TEST_P(Hints, AfterThePauseTheHintShowsUnlessTheControlCancelsIt) {
  const HintCase& c = GetParam();
  Application->HintPause = 50;
  TTestAccel* accel = frame->Accel1;
  accel->CancelHint = c.cancel;
  const TPoint at = accel->ClientToScreen({10, 10});
  const TPoint client = frame->ScreenToClient(at);
  auto undisturbed = [&] {
    POINT p;
    GetCursorPos(&p);
    return p.x == at.X && p.y == at.Y && WindowFromPoint(POINT{at.X, at.Y}) == frame->GetHandle();
  };
  // Other test programs share the display (its cursor, the windows on top): try
  // again when one got in the way.
  for (int attempt = 0; attempt < 5; ++attempt) {
    Application->CancelHint();
    accel->HintShows = 0;
    SetWindowPos(form->GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetCursorPos(at.X, at.Y);
    PostMessageW(frame->GetHandle(), WM_MOUSEMOVE, 0, PointToLParam(client.X, client.Y));
    Pump(400ms);
    if (undisturbed()) break;
  }
  EXPECT_EQ(accel->HintShows, 1) << c.name;
  THintWindow* hint = Application->GetHintWindow();
  const bool shown = hint && hint->WindowHandle() && IsWindowVisible(hint->WindowHandle());
  EXPECT_EQ(shown, c.shown) << c.name;
  if (shown) {
    EXPECT_EQ(hint->GetCaption(), L"Accelerator!") << "the short hint, as CM_HINTSHOW changed it";
    RECT r;
    GetWindowRect(hint->WindowHandle(), &r);
    EXPECT_GT(r.top, at.Y) << "below the cursor";
    EXPECT_TRUE(GetWindowLongPtrW(hint->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(GetActiveWindow(), hint->WindowHandle());
  }
  Application->CancelHint();
}

INSTANTIATE_TEST_SUITE_P(Cases, Hints,
                         ::testing::Values(HintCase{"shown", false, true}, HintCase{"cancelled", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
