// Flat integer spin edits on a form read from its resource, driven by real
// messages: typing and its filter, leaving the control (clamping and rewriting),
// arrow keys, cut and paste, the arrow buttons and their auto-repeat on the
// test's own clock.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "controls/visual/TFlatSpinEditUnit.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatEdit;
using Flat::TFlatSpinEditInteger;

class TTestFlatSpinEditForm : public TForm {
  QORN_CLASS(TTestFlatSpinEditForm, TForm)
 public:
  explicit TTestFlatSpinEditForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatSpinEditInteger *Bounded = nullptr, *Locked = nullptr, *Free = nullptr, *ReadOnlySpin = nullptr;
  TFlatEdit* Other = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatSpinEditForm>& p) {
    p.Field(L"Bounded", &TTestFlatSpinEditForm::Bounded);
    p.Field(L"Locked", &TTestFlatSpinEditForm::Locked);
    p.Field(L"Free", &TTestFlatSpinEditForm::Free);
    p.Field(L"ReadOnlySpin", &TTestFlatSpinEditForm::ReadOnlySpin);
    p.Field(L"Other", &TTestFlatSpinEditForm::Other);
  }
};
QORN_REGISTER_CLASS(TTestFlatSpinEditForm);

class FlatSpinEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatSpinEditForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  static void Type(TWinControl* c, const std::wstring& text) {
    for (wchar_t ch : text) SendMessageW(c->GetHandle(), WM_CHAR, ch, 1);
  }
  static void Key(TWinControl* c, WORD vk) {
    SendMessageW(c->GetHandle(), WM_KEYDOWN, vk, 1);
    SendMessageW(c->GetHandle(), WM_KEYUP, vk, 0xC0000001);
  }
  // Replaces the whole text by typing, as a user who selected it all would.
  static void Retype(TFlatSpinEditInteger* s, const std::wstring& text) {
    s->SetFocus();
    s->SelectAll();
    Type(s, text);
  }
  void Leave() {
    form->Other->SetFocus();
    Pump(10ms);
  }
  static void Press(TFlatSpinEditInteger* s, bool up) {
    HWND wnd = s->Button()->GetHandle();
    const int x = up ? 4 : 16;
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 4));
  }
  static void Release(TFlatSpinEditInteger* s, bool up, bool inside = true) {
    HWND wnd = s->Button()->GetHandle();
    const int x = up ? 4 : 16;
    SendMessageW(wnd, WM_LBUTTONUP, 0, inside ? MAKELPARAM(x, 4) : MAKELPARAM(x, 200));
  }
  TTestFlatSpinEditForm* form = nullptr;
};

TEST_F(FlatSpinEdit, LoadsWithItsValuesAndPlacesItsButtons) {
  TFlatSpinEditInteger* s = form->Bounded;
  EXPECT_STREQ(s->ClassName().c_str(), L"TFlatSpinEditInteger");
  EXPECT_EQ(s->GetValue(), 5);
  EXPECT_EQ(s->GetText(), L"5");
  EXPECT_EQ(s->GetMinValue(), 1);
  EXPECT_EQ(s->GetMaxValue(), 10);
  EXPECT_EQ(s->GetIncrement(), 1);
  EXPECT_TRUE(s->GetEditorEnabled());
  EXPECT_FALSE(form->Locked->GetEditorEnabled());
  EXPECT_EQ(form->Free->GetValue(), 25);

  const int tm = Flat::GetFontTextMetrics(s->GetFont()).tmHeight;
  // The flat edit sets its height from the font after loading (+6); the spin
  // edit needs one pixel more and raises itself to that.
  EXPECT_EQ(s->GetHeight(), tm + 7);
  Flat::TSpinButton* b = s->Button();
  EXPECT_EQ(b->GetLeft(), s->GetWidth() - b->GetWidth() - 5);
  EXPECT_EQ(b->GetTop(), 0);
  EXPECT_EQ(b->GetHeight(), s->GetHeight() - 6);
  EXPECT_EQ(b->UpButton()->GetLeft(), 0);
  EXPECT_EQ(b->DownButton()->GetLeft(), 10);
  EXPECT_EQ(b->DownButton()->GetWidth(), 11);
  RECT r{};
  SendMessageW(s->GetHandle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_LE(r.right, s->GetClientWidth() - b->GetWidth() - 3) << "typed text stops before the buttons";

  s->SetHeight(8);
  EXPECT_EQ(s->GetHeight(), tm + 7) << "never lower than its font needs";
}

TEST_F(FlatSpinEdit, SetValueClampsToTheBoundsAndSaturates) {
  struct Case {
    TFlatSpinEditInteger* spin;
    int set;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {form->Bounded, 25, L"10"},       {form->Bounded, -3, L"1"},          {form->Bounded, 7, L"7"},
      {form->Free, -40, L"-40"},        {form->Free, INT_MAX, L"2147483647"}, {form->Free, INT_MIN, L"-2147483648"},
      {form->Locked, 51, L"50"},        {form->Locked, -1, L"0"},
  };
  for (const Case& c : cases) {
    c.spin->SetValue(c.set);
    EXPECT_EQ(c.spin->GetText(), c.shown) << c.set;
  }
  form->Free->SetValue(INT_MAX);
  form->Free->UpClick();
  EXPECT_EQ(form->Free->GetValue(), INT_MAX) << "no wrap past the top";
  form->Free->SetValue(INT_MIN);
  form->Free->DownClick();
  EXPECT_EQ(form->Free->GetValue(), INT_MIN);
}

TEST_F(FlatSpinEdit, TypingIsFilteredAndLeavingRewritesTheText) {
  TFlatSpinEditInteger* s = form->Bounded;
  int changes = 0;
  s->OnChange = [&](TObject*) { ++changes; };
  Retype(s, L"25");
  EXPECT_EQ(s->GetText(), L"25");
  Leave();
  EXPECT_EQ(s->GetText(), L"10") << "clamped on leaving";
  EXPECT_GT(changes, 0);

  Retype(s, L"abc");
  EXPECT_EQ(s->GetText(), L"10") << "letters cannot be typed (and the selection stays)";
  Retype(s, L"-4");
  Leave();
  EXPECT_EQ(s->GetText(), L"1");

  // Text no integer (a decimal, pasted letters, nothing) reads as MinValue and is
  // rewritten when the control is left.
  for (const wchar_t* text : {L"1.5", L"1,5", L"abc", L"", L"99999999999"}) {
    s->SetText(text);
    EXPECT_EQ(s->GetValue(), 1) << text;
    s->SetFocus();
    Leave();
    EXPECT_EQ(s->GetText(), L"1") << text;
  }
}

TEST_F(FlatSpinEdit, ArrowKeysStepAndStopAtTheBounds) {
  TFlatSpinEditInteger* s = form->Bounded;
  s->SetFocus();
  Key(s, VK_UP);
  EXPECT_EQ(s->GetValue(), 6);
  for (int i = 0; i < 10; ++i) Key(s, VK_UP);
  EXPECT_EQ(s->GetValue(), 10);
  Key(s, VK_DOWN);
  EXPECT_EQ(s->GetValue(), 9);

  form->Free->SetValue(0);
  form->Free->SetIncrement(5);
  form->Free->SetFocus();
  Key(form->Free, VK_DOWN);
  EXPECT_EQ(form->Free->GetValue(), -5) << "no bounds: negative values";
}

TEST_F(FlatSpinEdit, EditorDisabledRefusesTypingCutAndPasteButSteps) {
  TFlatSpinEditInteger* s = form->Locked;
  s->SetFocus();
  s->SelectAll();
  Type(s, L"9");
  Type(s, L"\b");
  EXPECT_EQ(s->GetText(), L"3");

  ASSERT_TRUE(OpenClipboard(form->GetHandle()));
  EmptyClipboard();
  const wchar_t text[] = L"42";
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  memcpy(GlobalLock(mem), text, sizeof text);
  GlobalUnlock(mem);
  SetClipboardData(CF_UNICODETEXT, mem);
  CloseClipboard();
  s->SelectAll();
  SendMessageW(s->GetHandle(), WM_PASTE, 0, 0);
  SendMessageW(s->GetHandle(), WM_CUT, 0, 0);
  EXPECT_EQ(s->GetText(), L"3");

  Key(s, VK_UP);
  EXPECT_EQ(s->GetValue(), 4);
  Press(s, false);
  Release(s, false);
  EXPECT_EQ(s->GetValue(), 3);

  // The same paste reaches an editable spin edit.
  form->Free->SetFocus();
  form->Free->SelectAll();
  SendMessageW(form->Free->GetHandle(), WM_PASTE, 0, 0);
  EXPECT_EQ(form->Free->GetText(), L"42");
}

TEST_F(FlatSpinEdit, ReadOnlyKeepsItsValue) {
  TFlatSpinEditInteger* s = form->ReadOnlySpin;
  s->SetFocus();
  Key(s, VK_UP);
  Press(s, true);
  Release(s, true);
  s->UpClick();
  EXPECT_EQ(s->GetValue(), 7);
}

TEST_F(FlatSpinEdit, AButtonPressStepsOnceAndTakesTheFocus) {
  TFlatSpinEditInteger* s = form->Bounded;
  std::vector<std::wstring> changes;
  s->OnChange = [&](TObject*) { changes.push_back(s->GetText()); };
  form->Other->SetFocus();
  Press(s, true);
  EXPECT_TRUE(s->Focused()) << "the press hands the focus to the edit";
  EXPECT_TRUE(s->Button()->UpButton()->IsDown());
  Release(s, true);
  EXPECT_EQ(s->GetValue(), 6);
  // The edit is multi-line, which sends no EN_CHANGE for a text set by code.
  EXPECT_EQ(changes, std::vector<std::wstring>{L"6"}) << "a step tells OnChange once";
  Press(s, false);
  Release(s, false);
  EXPECT_EQ(s->GetValue(), 5);
  Press(s, false);
  Release(s, false, false);
  EXPECT_EQ(s->GetValue(), 5) << "released outside: no step";
  EXPECT_FALSE(s->Button()->DownButton()->Repeating());
}

TEST_F(FlatSpinEdit, HoldingAButtonRepeatsOnTheClock) {
  TManualClock clock;
  TClockOverride useClock(clock);
  TFlatSpinEditInteger* s = form->Free;
  s->SetValue(0);
  Press(s, true);
  auto advance = [&](int ms) {
    for (int t = 0; t < ms; t += 10) {
      clock.Advance(10);
      Pump(25ms);
      PumpDueTimers();
    }
  };
  advance(390);
  EXPECT_EQ(s->GetValue(), 0) << "nothing before the first repeat";
  advance(20);
  EXPECT_EQ(s->GetValue(), 1) << "first repeat at 400 ms";
  advance(590);  // to 1000 ms: repeats at 500 ... 1000
  EXPECT_EQ(s->GetValue(), 7);
  Release(s, true);
  EXPECT_EQ(s->GetValue(), 8) << "and the step of the release";
  EXPECT_FALSE(s->Button()->UpButton()->Repeating());
  advance(300);
  EXPECT_EQ(s->GetValue(), 8) << "stopped with the release";
}

TEST_F(FlatSpinEdit, Screenshot) {
  form->Bounded->SetFocus();
  Press(form->Free, true);
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_spin_edit.png"));
  Release(form->Free, true);
}

}  // namespace
