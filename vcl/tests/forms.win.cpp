// ctest-lock: keyboard
// Forms and controls on real windows: a form read from its resource (TestForm.form),
// modal loops, closing, windowless controls fed by their parent, propagation of
// fonts and colours, re-created windows, focus and tab order, painting, alignment.
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Forms.h"
#include "vcl/Timer.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

std::vector<std::wstring>& Log() {
  static std::vector<std::wstring> log;
  return log;
}

// A windowed control that paints itself white with its caption.
class TTestPanel : public TCustomControl {
  QORN_CLASS(TTestPanel, TCustomControl)
 public:
  explicit TTestPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    ControlStyle << csAcceptsControls;
    SetColor(clWhite);
  }
  void CMMouseEnter(TMessage& m) {
    QORN_INHERITED(m);
    Log().push_back(L"over " + Name());
  }
  void CMMouseLeave(TMessage& m) {
    QORN_INHERITED(m);
    Log().push_back(L"off " + Name());
  }

 protected:
  void Paint() override {
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(GetClientRect());
  }

 private:
  static void Publish(TPublisher<TTestPanel>& p) {
    p.Property(L"Caption", &TTestPanel::GetCaption, &TTestPanel::SetCaption);
    p.Message(CM_MOUSEENTER, &TTestPanel::CMMouseEnter);
    p.Message(CM_MOUSELEAVE, &TTestPanel::CMMouseLeave);
  }
};

// A windowless control that counts what reaches it and paints red, on purpose
// further than its own bounds.
class TTestSpot : public TGraphicControl {
  QORN_CLASS(TTestSpot, TGraphicControl)
 public:
  explicit TTestSpot(TComponent* AOwner) : TGraphicControl(AOwner) { SetParentColor(true); }
  int Clicks = 0, DblClicks = 0;
  TPoint LastDown{-1, -1};
  void Click() override {
    ++Clicks;
    TGraphicControl::Click();
  }
  void DblClick() override {
    ++DblClicks;
    TGraphicControl::DblClick();
  }
  void CMMouseEnter(TMessage& m) {
    QORN_INHERITED(m);
    EXPECT_EQ(m.LParam, reinterpret_cast<intptr_t>(this));
    Log().push_back(L"over " + Name());
  }
  void CMMouseLeave(TMessage& m) {
    QORN_INHERITED(m);
    Log().push_back(L"off " + Name());
  }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    LastDown = {x, y};
    TGraphicControl::MouseDown(button, shift, x, y);
  }
  void Paint() override {
    TCanvas* c = GetCanvas();
    c->GetBrush()->SetColor(clRed);
    c->FillRect(Rect(-10, -10, GetWidth() + 10, GetHeight() + 10));
  }

 private:
  static void Publish(TPublisher<TTestSpot>& p) {
    p.Message(CM_MOUSEENTER, &TTestSpot::CMMouseEnter);
    p.Message(CM_MOUSELEAVE, &TTestSpot::CMMouseLeave);
  }
};

class TTestForm : public TForm {
  QORN_CLASS(TTestForm, TForm)
 public:
  explicit TTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TTestPanel* Panel1 = nullptr;
  TTestSpot* Spot1 = nullptr;
  TTestSpot* Spot2 = nullptr;
  TTestPanel* Box1 = nullptr;
  TTestPanel* Box2 = nullptr;
  TTestPanel* Bottom1 = nullptr;
  TTestPanel* Corner1 = nullptr;

  int Created = 0, CloseQueries = 0, Closes = 0;
  std::function<bool()> AllowClose = [] { return true; };
  std::function<void()> OnSpotClick;
  TCloseAction LastAction = caNone;

  void FormCreate(TObject*) { ++Created; }
  void FormCloseQuery(TObject*, bool& canClose) {
    ++CloseQueries;
    canClose = AllowClose();
  }
  void FormClose(TObject*, TCloseAction& action) {
    ++Closes;
    LastAction = action;
  }
  void Spot1Click(TObject*) {
    if (OnSpotClick) OnSpotClick();
  }
  void BoxEnter(TObject* sender) { Log().push_back(L"enter " + static_cast<TComponent*>(sender)->Name()); }
  void BoxExit(TObject* sender) { Log().push_back(L"exit " + static_cast<TComponent*>(sender)->Name()); }

 private:
  static void Publish(TPublisher<TTestForm>& p) {
    p.Field(L"Panel1", &TTestForm::Panel1);
    p.Field(L"Spot1", &TTestForm::Spot1);
    p.Field(L"Spot2", &TTestForm::Spot2);
    p.Field(L"Box1", &TTestForm::Box1);
    p.Field(L"Box2", &TTestForm::Box2);
    p.Field(L"Bottom1", &TTestForm::Bottom1);
    p.Field(L"Corner1", &TTestForm::Corner1);
    p.Handler(L"FormCreate", &TTestForm::FormCreate);
    p.Handler(L"FormCloseQuery", &TTestForm::FormCloseQuery);
    p.Handler(L"FormClose", &TTestForm::FormClose);
    p.Handler(L"Spot1Click", &TTestForm::Spot1Click);
    p.Handler(L"BoxEnter", &TTestForm::BoxEnter);
    p.Handler(L"BoxExit", &TTestForm::BoxExit);
  }
};

QORN_REGISTER_CLASS(TTestPanel);
QORN_REGISTER_CLASS(TTestSpot);
QORN_REGISTER_CLASS(TTestForm);

class Forms : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    form = CreateForm<TTestForm>(Application);
  }
  void TearDown() override {
    delete form;
    Pump(20ms);
  }
  void ShowForm() {
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  TTestForm* form = nullptr;
};

// Posts a mouse message to the control's window at a client point of that window,
// with the cursor really there (enter/leave and hints read the cursor).
// The test runs alone on its display (ctest-lock: keyboard), so the cursor stays
// where it is put; a cursor that will not get there fails the test.
void MouseAt(TWinControl* window, unsigned msg, TPoint client, uintptr_t keys = 0) {
  const TPoint screen = window->ClientToScreen(client);
  SetCursorPos(screen.X, screen.Y);
  const bool there = PumpUntil([&] {
    POINT now;
    GetCursorPos(&now);
    return now.x == screen.X && now.y == screen.Y;
  });
  EXPECT_TRUE(there) << "the cursor did not reach " << screen.X << "," << screen.Y;
  PostMessageW(window->GetHandle(), msg, keys, PointToLParam(client.X, client.Y));
  Application->ProcessMessages();
}

TEST_F(Forms, ReadFromItsResourceAndFoundByClassNameAndCaption) {
  ASSERT_NE(form->Panel1, nullptr);
  ASSERT_NE(form->Spot1, nullptr);
  EXPECT_EQ(form->Created, 1);
  EXPECT_EQ(form->Spot1->GetParent(), form->Panel1);
  EXPECT_EQ(form->Panel1->GetParent(), form);
  EXPECT_EQ(form->Spot1->GetHint(), L"A spot|on the panel");
  EXPECT_EQ(form->Spot1->GetShortHint(), L"A spot");
  EXPECT_FALSE(form->GetVisible());
  ShowForm();

  HWND found = FindWindowW(L"TTestForm", L"Qorn test form");
  EXPECT_EQ(found, form->GetHandle());
  EXPECT_EQ(GetWindow(found, GW_OWNER), Application->GetHandle()) << "forms are owned by the application window";
  RECT r;
  GetWindowRect(found, &r);
  EXPECT_EQ(AsTRect(r), Rect(120, 90, 540, 390));
  wchar_t text[64] = {};
  GetWindowTextW(form->Panel1->GetHandle(), text, 64);
  EXPECT_STREQ(text, L"Panel1");

  Pump(100ms);
  const auto shot = qorn::testing::ScreenshotDir() / "vcl-testform.png";
  EXPECT_TRUE(qorn::testing::SaveWindowShot(found, shot));
}

struct ModalCase {
  TModalResult set;
};

class ModalForms : public Forms, public ::testing::WithParamInterface<ModalCase> {};

TEST_P(ModalForms, ShowModalReturnsTheModalResultAndDisablesTheOtherWindows) {
  // Another visible form of the application, disabled while the modal one runs.
  auto* other = CreateFormNew<TForm>(Application);
  other->SetCaption(L"Other");
  other->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(other->GetHandle()) != 0; }));

  bool otherDisabledMeanwhile = false, modalShownMeanwhile = false;
  TTimer timer(nullptr);
  timer.SetInterval(50);
  timer.OnTimer = [&](TObject*) {
    timer.SetEnabled(false);
    otherDisabledMeanwhile = !IsWindowEnabled(other->GetHandle());
    modalShownMeanwhile = IsWindowVisible(form->GetHandle()) != 0 && form->IsModal();
    form->SetModalResult(GetParam().set);
  };
  const TModalResult result = form->ShowModal();
  EXPECT_EQ(result, GetParam().set);
  EXPECT_TRUE(otherDisabledMeanwhile);
  EXPECT_TRUE(modalShownMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(other->GetHandle())) << "enabled again after the loop";
  EXPECT_FALSE(IsWindowVisible(form->GetHandle()));
  EXPECT_FALSE(form->IsModal());
  EXPECT_EQ(form->CloseQueries, 1);
  EXPECT_EQ(form->Closes, 1);
  delete other;
}

INSTANTIATE_TEST_SUITE_P(Results, ModalForms, ::testing::Values(ModalCase{mrOk}, ModalCase{mrCancel}, ModalCase{mrYes}));

TEST_F(Forms, OnCloseQueryRefusingKeepsTheModalLoopGoing) {
  int allowAfter = 2;
  form->AllowClose = [&] { return form->CloseQueries >= allowAfter; };
  TTimer timer(nullptr);
  timer.SetInterval(40);
  int closes = 0;
  timer.OnTimer = [&](TObject*) {
    // The user's close box: WM_CLOSE, twice.
    if (++closes <= 2) PostMessageW(form->GetHandle(), WM_CLOSE, 0, 0);
  };
  const TModalResult result = form->ShowModal();
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(form->CloseQueries, 2) << "the first close was refused";
  EXPECT_EQ(form->Closes, 1);
}

struct CloseCase {
  bool allow;
  bool visibleAfter;
  int closes;
};

class ClosingForms : public Forms, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingForms, CloseAsksOnCloseQueryThenHides) {
  ShowForm();
  const CloseCase c = GetParam();
  form->AllowClose = [&] { return c.allow; };
  form->Close();
  Pump(20ms);
  EXPECT_EQ(form->CloseQueries, 1);
  EXPECT_EQ(form->Closes, c.closes);
  EXPECT_EQ(IsWindowVisible(form->GetHandle()) != 0, c.visibleAfter);
  EXPECT_EQ(form->GetVisible(), c.visibleAfter);
  if (c.closes) {
    EXPECT_EQ(form->LastAction, caHide);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ClosingForms,
                         ::testing::Values(CloseCase{false, true, 0}, CloseCase{true, false, 1}));

TEST_F(Forms, NotificationClearsFreedReferences) {
  auto* menu = new TComponent(form);
  form->Panel1->SetPopupMenuComponent(menu);
  form->Spot1->SetPopupMenuComponent(menu);
  delete menu;
  EXPECT_EQ(form->Panel1->GetPopupMenuComponent(), nullptr);
  EXPECT_EQ(form->Spot1->GetPopupMenuComponent(), nullptr);

  ShowForm();
  form->SetActiveControl(form->Box1);
  ASSERT_EQ(form->GetActiveControl(), form->Box1);
  delete form->Box1;
  form->Box1 = nullptr;
  EXPECT_EQ(form->GetActiveControl(), nullptr);
}

// A page of controls is freed while a control on it has the focus, shown or hidden
// first: the windows going away move the focus, and none of the controls going
// away may stay the form's or the screen's active control.
class FreedPages : public Forms, public ::testing::WithParamInterface<bool> {};

TEST_P(FreedPages, LeaveNoActiveControlBehind) {
  const bool hideFirst = GetParam();
  ShowForm();
  ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
  auto* page = new TTestPanel(nullptr);
  page->SetBounds(10, 140, 200, 60);
  page->SetParent(form);
  auto* inner = new TTestPanel(page);
  inner->SetBounds(10, 10, 80, 30);
  inner->SetTabStop(true);
  inner->SetParent(page);
  inner->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == inner->GetHandle(); }));
  ASSERT_EQ(form->GetActiveControl(), inner);
  if (hideFirst) page->SetVisible(false);
  const void* gone[] = {page, inner};
  delete page;
  Pump(20ms);
  for (TWinControl* active : {form->GetActiveControl(), Screen->GetActiveControl()})
    EXPECT_TRUE(active == nullptr || active == form || active == form->Panel1 || active == form->Box1 || active == form->Box2 ||
                active == form->Bottom1 || active == form->Corner1)
        << "an active control that is gone: " << active << " (the page " << gone[0] << ", on it " << gone[1] << ")";
  // The focus bookkeeping still works: a control of the form takes the focus.
  form->Box1->SetFocus();
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == form->Box1->GetHandle(); }));
  EXPECT_EQ(form->GetActiveControl(), form->Box1);
}

INSTANTIATE_TEST_SUITE_P(ShownOrHidden, FreedPages, ::testing::Bool());

TEST_F(Forms, MouseEnterAndLeaveFollowRealMouseMoves) {
  ShowForm();
  TTestPanel* panel = form->Panel1;
  struct Step {
    TPoint at;  // in the panel
    std::vector<std::wstring> adds;
  };
  const Step steps[] = {
      {{30, 40}, {L"over Spot1"}},
      {{35, 45}, {}},  // still on it: no second enter
      {{110, 40}, {L"off Spot1", L"over Spot2"}},
      {{5, 100}, {L"off Spot2", L"over Panel1"}},
      {{21, 31}, {L"off Panel1", L"over Spot1"}},
  };
  // Start from a known place outside the panel.
  MouseAt(form, WM_MOUSEMOVE, {form->GetClientWidth() - 5, form->GetClientHeight() - 40});
  Pump(20ms);
  Log().clear();
  for (const Step& s : steps) {
    const size_t before = Log().size();
    MouseAt(panel, WM_MOUSEMOVE, s.at);
    Pump(20ms);
    const TPoint want = panel->ClientToScreen(s.at);
    POINT now;
    GetCursorPos(&now);
    ASSERT_TRUE(now.x == want.X && now.y == want.Y)
        << "something moved the cursor of the test's own display to " << now.x << "," << now.y;
    std::vector<std::wstring> added(Log().begin() + static_cast<long>(before), Log().end());
    EXPECT_EQ(added, s.adds) << "at " << s.at.X << "," << s.at.Y;
  }
}

struct ClickCase {
  const char* name;
  std::vector<std::pair<unsigned, TPoint>> messages;  // to the panel
  int clicks;
  int dblClicks;
};

class ClickingForms : public Forms, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(ClickingForms, ThePanelRoutesTheMouseToTheSpotUnderIt) {
  ShowForm();
  const ClickCase& c = GetParam();
  for (const auto& [msg, at] : c.messages)
    MouseAt(form->Panel1, msg, at, msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK ? MK_LBUTTON : 0);
  Pump(20ms);
  EXPECT_EQ(form->Spot1->Clicks, c.clicks) << c.name;
  EXPECT_EQ(form->Spot1->DblClicks, c.dblClicks) << c.name;
  EXPECT_EQ(form->Spot2->Clicks, 0) << c.name;
  EXPECT_EQ(form->Spot1->LastDown, (TPoint{5, 6})) << "in the spot's own coordinates";
  EXPECT_EQ(form->Spot1->GetMouseCapture(), false);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClickingForms,
    ::testing::Values(
        ClickCase{"single", {{WM_LBUTTONDOWN, {25, 36}}, {WM_LBUTTONUP, {26, 37}}}, 1, 0},
        ClickCase{"double",
                  {{WM_LBUTTONDOWN, {25, 36}},
                   {WM_LBUTTONUP, {25, 36}},
                   {WM_LBUTTONDBLCLK, {25, 36}},
                   {WM_LBUTTONUP, {25, 36}}},
                  1,
                  1},
        // The press captures the mouse: the release far away still reaches the spot.
        ClickCase{"released outside", {{WM_LBUTTONDOWN, {25, 36}}, {WM_LBUTTONUP, {150, 100}}}, 0, 0}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (auto& ch : n)
        if (ch == ' ') ch = '_';
      return n;
    });

TEST_F(Forms, FontsAndColoursReachTheChildrenThatFollowTheirParent) {
  ASSERT_TRUE(form->Panel1->GetParentFont());
  ASSERT_FALSE(form->Box2->GetParentFont());
  form->GetFont()->SetSize(14);
  EXPECT_EQ(form->Panel1->GetFont()->GetSize(), 14);
  EXPECT_EQ(form->Spot1->GetFont()->GetSize(), 14) << "through the panel";
  EXPECT_EQ(form->Box2->GetFont()->GetSize(), 8) << "a font of its own";
  EXPECT_TRUE(form->Panel1->GetParentFont()) << "a font taken from the parent keeps ParentFont";

  // A font set on a child is its own from then on.
  form->Spot1->GetFont()->SetSize(20);
  EXPECT_FALSE(form->Spot1->GetParentFont());
  form->GetFont()->SetSize(12);
  EXPECT_EQ(form->Panel1->GetFont()->GetSize(), 12);
  EXPECT_EQ(form->Spot1->GetFont()->GetSize(), 20);

  struct ColourCase {
    TTestSpot* spot;
    TColor expected;
  };
  form->Panel1->SetColor(clYellow);
  const ColourCase colours[] = {{form->Spot1, clYellow}, {form->Spot2, clLime}};
  for (const auto& c : colours) EXPECT_EQ(c.spot->GetColor(), c.expected) << c.spot->Name();
  // Going back to the parent's colour takes it at once.
  form->Spot2->SetParentColor(true);
  EXPECT_EQ(form->Spot2->GetColor(), clYellow);
  form->Spot2->SetColor(clBlue);
  EXPECT_FALSE(form->Spot2->GetParentColor());
}

TEST_F(Forms, RecreateWndKeepsCaptionBoundsAndChildren) {
  ShowForm();
  TTestPanel* panel = form->Panel1;
  panel->SetCaption(L"Changed");
  panel->SetBounds(15, 12, 190, 110);
  HWND before = panel->GetHandle();
  panel->RecreateWnd();
  HWND after = panel->GetHandle();
  EXPECT_FALSE(IsWindow(before) && before != after) << "the old window is gone";
  wchar_t text[64] = {};
  GetWindowTextW(after, text, 64);
  EXPECT_STREQ(text, L"Changed");
  RECT r;
  GetWindowRect(after, &r);
  MapWindowPoints(HWND_DESKTOP, form->GetHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(AsTRect(r), Rect(15, 12, 205, 122));
  EXPECT_EQ(GetParent(after), form->GetHandle());
  EXPECT_TRUE(IsWindowVisible(after));
  EXPECT_EQ(FindControl(after), panel);
}

TEST_F(Forms, TabMovesTheFocusInTabOrderAndWraps) {
  ShowForm();
  form->Box1->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == form->Box1->GetHandle(); }));
  // The cursor stays where it is: only focus changes are logged from here.
  Pump(20ms);
  Log().clear();
  // Panel1, Box1 and Box2 are tab stops; Bottom1 and Corner1 are skipped.
  const std::pair<TTestPanel*, TTestPanel*> order[] = {
      {form->Box1, form->Box2}, {form->Box2, form->Panel1}, {form->Panel1, form->Box1}};
  for (const auto& [from, to] : order) {
    ASSERT_EQ(GetFocus(), from->GetHandle());
    PostMessageW(from->GetHandle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == to->GetHandle(); })) << from->Name() << " -> " << to->Name();
    EXPECT_EQ(form->GetActiveControl(), to);
  }
  const std::vector<std::wstring> expected = {L"exit Box1", L"enter Box2", L"exit Box2", L"enter Box1"};
  EXPECT_EQ(Log(), expected) << "Panel1 has no enter/exit handlers";
}

TEST_F(Forms, KeyDownSetToZeroSwallowsTheKey) {
  ShowForm();
  form->Box1->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == form->Box1->GetHandle(); }));
  std::vector<WORD> seen;
  form->KeyPreview = true;
  form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    seen.push_back(key);
    if (key == VK_TAB) key = 0;
  };
  PostMessageW(form->Box1->GetHandle(), WM_KEYDOWN, VK_TAB, 0x000F0001);
  Pump(50ms);
  EXPECT_EQ(seen, std::vector<WORD>{VK_TAB});
  EXPECT_EQ(GetFocus(), form->Box1->GetHandle()) << "the form swallowed the Tab";
}

TEST_F(Forms, WindowlessPaintingIsClippedToTheControl) {
  ShowForm();
  TTestPanel* panel = form->Panel1;
  const int w = panel->GetWidth(), h = panel->GetHeight();
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  panel->PaintTo(mem, 0, 0);
  const TTestSpot* spot = form->Spot1;
  struct Probe {
    int x, y;
    COLORREF expected;
  };
  const Probe probes[] = {
      {spot->GetLeft() + 1, spot->GetTop() + 1, RGB(255, 0, 0)},
      {spot->GetLeft() + spot->GetWidth() - 1, spot->GetTop() + spot->GetHeight() - 1, RGB(255, 0, 0)},
      {spot->GetLeft() - 3, spot->GetTop() + 5, RGB(255, 255, 255)},  // the spot drew here: clipped
      {spot->GetLeft() + 5, spot->GetTop() - 3, RGB(255, 255, 255)},
      {spot->GetLeft() + spot->GetWidth() + 3, spot->GetTop() + 5, RGB(255, 255, 255)},
  };
  for (const auto& p : probes) EXPECT_EQ(GetPixel(mem, p.x, p.y), p.expected) << p.x << "," << p.y;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST_F(Forms, AlignedAndAnchoredControlsFollowTheirParent) {
  ShowForm();
  const int cw = form->GetClientWidth(), ch = form->GetClientHeight();
  const int cornerRight = cw - form->Corner1->GetLeft(), cornerBottom = ch - form->Corner1->GetTop();
  EXPECT_EQ(form->Bottom1->GetBoundsRect(), Rect(0, ch - 30, cw, ch));
  struct SizeCase {
    int dw, dh;
  };
  for (const SizeCase s : {SizeCase{60, 40}, SizeCase{-30, 10}, SizeCase{0, -20}}) {
    form->SetBounds(form->GetLeft(), form->GetTop(), form->GetWidth() + s.dw, form->GetHeight() + s.dh);
    Pump(10ms);
    const int w = form->GetClientWidth(), h = form->GetClientHeight();
    EXPECT_EQ(form->Bottom1->GetBoundsRect(), Rect(0, h - 30, w, h)) << s.dw << "," << s.dh;
    EXPECT_EQ(w - form->Corner1->GetLeft(), cornerRight);
    EXPECT_EQ(h - form->Corner1->GetTop(), cornerBottom);
    EXPECT_EQ(form->Corner1->GetWidth(), 50) << "anchored on one side only: the size stays";
  }
}

TEST_F(Forms, AnExceptionInAHandlerReachesTheApplicationNotTheWindowProcedure) {
  ShowForm();
  std::vector<std::wstring> reported;
  Application->OnException = [&](TObject*, const std::wstring& message) { reported.push_back(message); };
  struct ThrowCase {
    std::function<void()> raise;
    size_t reports;
  };
  const ThrowCase cases[] = {
      {[] { throw EConvertError(L"'x' is not a valid integer value"); }, 1},
      {[] { Abort(); }, 0},  // silent
  };
  for (const auto& c : cases) {
    reported.clear();
    form->OnSpotClick = c.raise;
    MouseAt(form->Panel1, WM_LBUTTONDOWN, {25, 36}, MK_LBUTTON);
    MouseAt(form->Panel1, WM_LBUTTONUP, {25, 36});
    Pump(20ms);
    EXPECT_EQ(reported.size(), c.reports);
  }
  Application->OnException = nullptr;
  EXPECT_TRUE(IsWindow(form->GetHandle()));
}

}  // namespace

namespace {

TEST_F(Forms, HelpGoesToTheNearestControlThatNamesATopic) {
  ShowForm();
  form->Panel1->SetHelpKeyword(L"panel");
  form->Spot1->SetHelpKeyword(L"spot");
  std::vector<std::wstring> asked;
  Application->HelpKeywordHandler = [&](const std::wstring& k) {
    asked.push_back(k);
    return true;
  };
  struct HelpCase {
    TWinControl* window;
    TPoint at;  // in the window
    std::vector<std::wstring> expected;
  };
  const HelpCase cases[] = {
      {form->Panel1, {25, 35}, {L"spot"}},
      {form->Panel1, {5, 100}, {L"panel"}},
      {form->Box1, {5, 5}, {}},  // neither it nor the form names one
  };
  for (const auto& c : cases) {
    asked.clear();
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = c.window->GetHandle();
    const TPoint screen = c.window->ClientToScreen(c.at);
    info.MousePos = {screen.X, screen.Y};
    SendMessageW(form->GetHandle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(asked, c.expected) << c.window->Name();
  }
  Application->HelpKeywordHandler = nullptr;
}

}  // namespace
