// Standard controls on a real form: events from real messages, state kept over a
// new window, owner-drawn lines, and a form resource with one of each.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Forms.h"
#include "vcl/Mask.h"
#include "vcl/StdCtrls.h"
#include "testing/PumpApplication.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A key through the application's loop, as the keyboard delivers it (the loop's
// TranslateMessage makes its character).
void PostKey(HWND wnd, WORD key) {
  PostMessageW(wnd, WM_KEYDOWN, key, 1);
  PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
  Pump(20ms);
}

std::wstring WindowText(HWND wnd) {
  wchar_t buffer[256] = {};
  GetWindowTextW(wnd, buffer, 256);
  return buffer;
}

// A left click at a client point, as the mouse sends it.
void ClickAt(HWND wnd, int x, int y) {
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump(10ms);
}

class TTestStdControlsForm : public TForm {
  QORN_CLASS(TTestStdControlsForm, TForm)
 public:
  explicit TTestStdControlsForm(TComponent* AOwner) : TForm(AOwner) {}
  TEdit* Edit1 = nullptr;
  TButton* Button1 = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TListBox* ListBox1 = nullptr;
  TLabel* Label1 = nullptr;
  TMemo* Memo1 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TRadioButton* RadioButton2 = nullptr;
  TRadioButton* RadioButton3 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TComboBox* ComboBox2 = nullptr;
  TScrollBar* ScrollBar1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TMaskEdit* MaskEdit1 = nullptr;

 private:
  static void Publish(TPublisher<TTestStdControlsForm>& p) {
    p.Field(L"Edit1", &TTestStdControlsForm::Edit1);
    p.Field(L"Button1", &TTestStdControlsForm::Button1);
    p.Field(L"CheckBox1", &TTestStdControlsForm::CheckBox1);
    p.Field(L"ListBox1", &TTestStdControlsForm::ListBox1);
    p.Field(L"Label1", &TTestStdControlsForm::Label1);
    p.Field(L"Memo1", &TTestStdControlsForm::Memo1);
    p.Field(L"RadioButton1", &TTestStdControlsForm::RadioButton1);
    p.Field(L"RadioButton2", &TTestStdControlsForm::RadioButton2);
    p.Field(L"RadioButton3", &TTestStdControlsForm::RadioButton3);
    p.Field(L"ComboBox1", &TTestStdControlsForm::ComboBox1);
    p.Field(L"ComboBox2", &TTestStdControlsForm::ComboBox2);
    p.Field(L"ScrollBar1", &TTestStdControlsForm::ScrollBar1);
    p.Field(L"GroupBox1", &TTestStdControlsForm::GroupBox1);
    p.Field(L"MaskEdit1", &TTestStdControlsForm::MaskEdit1);
  }
};
QORN_REGISTER_CLASS(TTestStdControlsForm);

class StdControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestStdControlsForm>(Application);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestStdControlsForm* form = nullptr;
};

TEST_F(StdControls, TheFormResourceGivesEachControlItsState) {
  ASSERT_NE(form->Edit1, nullptr);
  ASSERT_NE(form->ListBox1, nullptr);
  EXPECT_EQ(form->Edit1->GetText(), L"typed");
  EXPECT_EQ(form->Button1->GetCaption(), L"&Apply");
  EXPECT_TRUE(form->Button1->GetDefault());
  EXPECT_TRUE(form->CheckBox1->GetChecked());
  EXPECT_EQ(SendMessageW(form->CheckBox1->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(form->ListBox1->GetItems()->Count(), 3);
  EXPECT_EQ(SendMessageW(form->ListBox1->GetHandle(), LB_GETCOUNT, 0, 0), 3);
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vcl-stdctrls.png"));
}

TEST_F(StdControls, ALabelsAcceleratorFocusesItsControlAndItsTextIsPainted) {
  TLabel* label = form->Label1;
  ASSERT_NE(label, nullptr);
  ASSERT_EQ(label->GetFocusControl(), form->Edit1);
  form->Button1->SetFocus();
  // "&&" is a plain "&": only the letter after a single "&" is the accelerator.
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L' ', 0), 0);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L'N', 0), 0);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L'M', 0), 1);
  EXPECT_TRUE(form->Edit1->Focused());

  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(20ms);
  HDC dc = GetDC(form->GetHandle());
  int dark = 0;
  for (int x = label->GetLeft(); x < label->GetLeft() + 80; ++x)
    for (int y = label->GetTop(); y < label->GetTop() + label->GetHeight(); ++y)
      if (GetRValue(GetPixel(dc, x, y)) < 80) ++dark;
  ReleaseDC(form->GetHandle(), dc);
  EXPECT_GT(dark, 20) << "the caption is drawn in the label's bounds";

  delete form->Edit1;
  form->Edit1 = nullptr;
  EXPECT_EQ(label->GetFocusControl(), nullptr) << "a freed focus control is forgotten";
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L'M', 0), 0);
}

TEST_F(StdControls, EditChangesReachOnChangeFromTypingAndFromCode) {
  std::vector<std::wstring> seen;
  form->Edit1->OnChange = [&](TObject*) { seen.push_back(form->Edit1->GetText()); };
  HWND wnd = form->Edit1->GetHandle();
  SendMessageW(wnd, EM_SETSEL, 0, -1);
  SendMessageW(wnd, WM_CHAR, L'x', 1);
  Pump(10ms);
  form->Edit1->SetText(L"set");
  Pump(10ms);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], L"x");
  EXPECT_EQ(seen[1], L"set");
  form->Edit1->SetMaxLength(4);
  form->Edit1->SelectAll();
  for (wchar_t c : std::wstring(L"abcdef")) SendMessageW(wnd, WM_CHAR, c, 1);
  EXPECT_EQ(form->Edit1->GetText(), L"abcd") << "the limit holds for typing";
  form->Edit1->SetSelStart(1);
  form->Edit1->SetSelLength(2);
  EXPECT_EQ(form->Edit1->GetSelText(), L"bc");
}

TEST_F(StdControls, ButtonClicksByMouseAndDialogKeys) {
  int clicks = 0;
  form->Button1->OnClick = [&](TObject*) { ++clicks; };
  form->Button1->SetModalResult(mrOk);
  const int w = form->Button1->GetWidth(), h = form->Button1->GetHeight();
  ClickAt(form->Button1->GetHandle(), w / 2, h / 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->GetModalResult(), mrOk);
  // Outside the button the release is no click.
  SendMessageW(form->Button1->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w / 2, h / 2));
  SendMessageW(form->Button1->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(w + 20, h + 20));
  Pump(10ms);
  EXPECT_EQ(clicks, 1);
  // Enter on the form: the default button; Esc: nothing while no button is Cancel.
  EXPECT_EQ(form->Button1->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(form->Button1->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
  EXPECT_EQ(clicks, 2);
  form->Button1->SetCancel(true);
  EXPECT_EQ(form->Button1->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
  EXPECT_EQ(clicks, 3);
  // Alt+A: the accelerator of "&Apply".
  EXPECT_EQ(form->Button1->Perform(CM_DIALOGCHAR, L'a', 0), 1);
  EXPECT_EQ(form->Button1->Perform(CM_DIALOGCHAR, L'p', 0), 0);
  EXPECT_EQ(clicks, 4);
  form->Button1->SetEnabled(false);
  EXPECT_EQ(form->Button1->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0) << "a disabled button takes no keys";
  EXPECT_EQ(clicks, 4);
}

TEST_F(StdControls, CheckBoxTogglesOnceAndKeepsItsStateOverANewWindow) {
  TCheckBox* box = form->CheckBox1;
  std::vector<bool> seen;
  box->OnClick = [&](TObject*) { seen.push_back(box->GetChecked()); };
  ClickAt(box->GetHandle(), 5, box->GetHeight() / 2);
  EXPECT_FALSE(box->GetChecked());
  EXPECT_EQ(SendMessageW(box->GetHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(box->GetHandle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(box->GetHandle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  Pump(10ms);
  EXPECT_TRUE(box->GetChecked());
  box->SetChecked(true);  // no change: no event
  box->SetChecked(false);
  EXPECT_EQ(seen, (std::vector<bool>{false, true, false}));
  box->SetChecked(true);
  box->RecreateWnd();
  EXPECT_EQ(SendMessageW(box->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(StdControls, ListBoxSelectsByMouseButNotFromCodeAndKeepsItsLines) {
  TListBox* list = form->ListBox1;
  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  list->SetItemIndex(1);
  EXPECT_EQ(clicks, 0) << "setting ItemIndex from code fires no OnClick";
  const TRect second = list->ItemRect(2);
  ClickAt(list->GetHandle(), second.Left + 3, second.Top + 2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->GetItemIndex(), 2);
  EXPECT_EQ(list->ItemAtPos({second.Left + 3, second.Top + 2}, true), 2);
  EXPECT_EQ(list->ItemAtPos({3, list->GetClientHeight() - 2}, true), -1) << "below the last line";
  EXPECT_EQ(list->ItemAtPos({3, list->GetClientHeight() - 2}, false), 3);
  list->SetItemIndex(7);
  EXPECT_EQ(list->GetItemIndex(), -1) << "an index past the end selects nothing";

  // Adding a line keeps the selection on its line; a new style keeps the lines.
  int data = 42;
  list->SetItemIndex(1);
  list->GetItems()->InsertObject(0, L"zero", &data);
  EXPECT_EQ(list->GetItemIndex(), 2);
  list->SetStyle(lbOwnerDrawFixed);
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(list->GetItemIndex(), 2);
  EXPECT_EQ(list->GetItems()->Objects(0), &data);
  EXPECT_NE(GetWindowLongW(list->GetHandle(), GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
}

TEST_F(StdControls, OwnerDrawnLinesArePaintedByOnDrawItemAtTheirHeight) {
  TListBox* list = form->ListBox1;
  list->SetItemHeight(24);
  list->SetStyle(lbOwnerDrawFixed);
  std::vector<int> drawn;
  bool selectedSeen = false;
  list->OnDrawItem = [&](TObject*, int index, TRect rect, TOwnerDrawState state) {
    drawn.push_back(index);
    EXPECT_EQ(rect.Height(), 24);
    if (state.Contains(odSelected)) selectedSeen = index == 1;
    list->GetCanvas()->GetBrush()->SetColor(clRed);
    list->GetCanvas()->FillRect(rect);
  };
  list->SetItemIndex(1);
  RedrawWindow(list->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(20ms);
  ASSERT_GE(drawn.size(), 3u);
  EXPECT_TRUE(selectedSeen);
  EXPECT_EQ(list->ItemRect(1).Top, 24);
  HDC dc = GetDC(list->GetHandle());
  const COLORREF pixel = GetPixel(dc, 10, 30);
  ReleaseDC(list->GetHandle(), dc);
  EXPECT_EQ(pixel, RGB(255, 0, 0));
}

TEST_F(StdControls, MemoLinesLiveInItsTextAndSurviveANewWindow) {
  TMemo* memo = form->Memo1;
  TStrings* lines = memo->GetLines();
  ASSERT_EQ(lines->Count(), 2);
  EXPECT_EQ(lines->Get(1), L"second line");
  EXPECT_EQ(WindowText(memo->GetHandle()), L"first line\r\nsecond line");
  lines->Add(L"third");
  lines->Insert(0, L"zero");
  lines->Delete(2);
  EXPECT_EQ(WindowText(memo->GetHandle()), L"zero\r\nfirst line\r\nthird");
  lines->SetText(L"a\nb\r\nc\r\n");
  EXPECT_EQ(lines->Count(), 3);
  EXPECT_EQ(memo->GetText(), L"a\r\nb\r\nc");
  EXPECT_THROW(lines->Get(3), EStringListError);
  memo->SetWordWrap(false);
  memo->SetScrollBars(ssBoth);
  EXPECT_NE(GetWindowLongW(memo->GetHandle(), GWL_STYLE) & WS_HSCROLL, 0);
  EXPECT_EQ(lines->Get(2), L"c") << "a new window keeps the lines";
  lines->Clear();
  EXPECT_EQ(lines->Count(), 0);
}

TEST_F(StdControls, MemoEnterGoesToTheDefaultButtonUnlessItWantsReturns) {
  struct Case {
    bool wantReturns;
    int clicks;
    const wchar_t* text;
  };
  const Case cases[] = {{false, 1, L"ab"}, {true, 0, L"a\r\nb"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wantReturns);
    TMemo* memo = form->Memo1;
    memo->GetLines()->Clear();
    memo->SetWantReturns(c.wantReturns);
    int clicks = 0;
    form->Button1->OnClick = [&](TObject*) { ++clicks; };
    memo->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return memo->Focused(); }));
    HWND wnd = memo->GetHandle();
    PostKey(wnd, 'A');
    PostKey(wnd, VK_RETURN);
    PostKey(wnd, 'B');
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_EQ(memo->GetText(), c.text);
  }
}

TEST_F(StdControls, RadioButtonsCheckOneOfTheirParentAndClickOnlyWhenChecked) {
  TRadioButton* one = form->RadioButton1;
  TRadioButton* two = form->RadioButton2;
  int clicksOne = 0, clicksTwo = 0;
  one->OnClick = [&](TObject*) { ++clicksOne; };
  two->OnClick = [&](TObject*) { ++clicksTwo; };
  ASSERT_TRUE(one->GetChecked());
  EXPECT_TRUE(one->GetTabStop()) << "the checked button is the group's tab stop";
  ClickAt(two->GetHandle(), 5, two->GetHeight() / 2);
  EXPECT_TRUE(two->GetChecked());
  EXPECT_FALSE(one->GetChecked());
  EXPECT_EQ(SendMessageW(one->GetHandle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_FALSE(one->GetTabStop());
  EXPECT_TRUE(form->RadioButton3->GetChecked()) << "a group box holds a group of its own";
  ClickAt(two->GetHandle(), 5, two->GetHeight() / 2);  // already checked: nothing
  two->SetChecked(false);                               // unchecking: no click
  one->SetChecked(true);                                // checking from code: a click
  EXPECT_EQ(clicksTwo, 1);
  EXPECT_EQ(clicksOne, 1);
  one->RecreateWnd();
  EXPECT_EQ(SendMessageW(one->GetHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(StdControls, ComboBoxChangesFromTheUserOnlyAndKeepsItsItemsOverANewWindow) {
  TComboBox* list = form->ComboBox1;
  std::vector<std::wstring> changes;
  list->OnChange = [&](TObject*) { changes.push_back(list->GetText()); };
  EXPECT_EQ(list->GetItemIndex(), 1);
  EXPECT_EQ(list->GetText(), L"beta");
  EXPECT_EQ(list->GetEditHandle(), nullptr) << "a list-only combo box has no edit";
  list->SetItemIndex(2);
  EXPECT_EQ(list->GetText(), L"gamma");
  list->SetText(L"alpha");
  EXPECT_EQ(list->GetItemIndex(), 0) << "a text names the line it selects";
  EXPECT_TRUE(changes.empty()) << "selecting from code fires no OnChange";

  // The user: the arrow key moves the selection.
  SendMessageW(list->GetHandle(), WM_KEYDOWN, VK_DOWN, 1);
  Pump(10ms);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], L"beta");

  int data = 7;
  list->GetItems()->AddObject(L"delta", &data);
  list->SetStyle(csOwnerDrawFixed);
  EXPECT_EQ(SendMessageW(list->GetHandle(), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(list->GetItemIndex(), 1);
  EXPECT_EQ(list->GetItems()->Objects(3), &data);
  list->SetItemIndex(-1);
  list->GetItems()->Clear();
  EXPECT_EQ(SendMessageW(list->GetHandle(), CB_GETCOUNT, 0, 0), 0);
}

TEST_F(StdControls, ComboBoxEditIsTheComboBoxForTypingAndFocus) {
  TComboBox* combo = form->ComboBox2;
  HWND edit = combo->GetEditHandle();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(WindowText(edit), L"free text");
  std::vector<std::wstring> changes;
  combo->OnChange = [&](TObject*) { changes.push_back(combo->GetText()); };
  int keys = 0;
  combo->OnKeyPress = [&](TObject*, wchar_t&) { ++keys; };
  combo->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
  EXPECT_EQ(form->GetActiveControl(), combo) << "the form knows the combo box, not its edit";
  SendMessageW(edit, EM_SETSEL, 0, -1);
  PostKey(edit, 'X');
  EXPECT_EQ(combo->GetText(), L"x");
  EXPECT_EQ(keys, 1) << "the combo box's key events run for its edit";
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], L"x");

  // Typed text and items stay over a new window; the new edit is ours again.
  combo->GetItems()->Add(L"three");
  combo->SetStyle(csSimple);
  ASSERT_NE(combo->GetEditHandle(), nullptr);
  EXPECT_EQ(combo->GetText(), L"x");
  EXPECT_EQ(SendMessageW(combo->GetHandle(), CB_GETCOUNT, 0, 0), 3);

  int drops = 0;
  combo->SetStyle(csDropDown);
  combo->OnDropDown = [&](TObject*) { ++drops; };
  combo->SetDroppedDown(true);
  Pump(10ms);
  EXPECT_TRUE(combo->GetDroppedDown());
  combo->SetDroppedDown(false);
  EXPECT_EQ(drops, 1);
}

TEST_F(StdControls, OwnerDrawnComboBoxLinesArePaintedByOnDrawItem) {
  TComboBox* combo = form->ComboBox1;
  combo->SetItemHeight(20);
  combo->SetStyle(csOwnerDrawFixed);
  std::vector<int> drawn;
  combo->OnDrawItem = [&](TObject*, int index, TRect rect, TOwnerDrawState) {
    drawn.push_back(index);
    combo->GetCanvas()->GetBrush()->SetColor(clBlue);
    combo->GetCanvas()->FillRect(rect);
  };
  combo->SetItemIndex(0);
  RedrawWindow(combo->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(20ms);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back(), 0) << "the field shows the selected line";
  EXPECT_EQ(SendMessageW(combo->GetHandle(), CB_GETITEMHEIGHT, 0, 0), 20);
  HDC dc = GetDC(combo->GetHandle());
  const COLORREF pixel = GetPixel(dc, 8, combo->GetHeight() / 2);
  ReleaseDC(combo->GetHandle(), dc);
  EXPECT_EQ(pixel, RGB(0, 0, 255));
}

TEST_F(StdControls, ScrollBarMovesByItsStepsFromTheKeyboardAndStaysInRange) {
  TScrollBar* bar = form->ScrollBar1;  // 10..60, page 5: the last position is 56
  std::vector<int> changes;
  std::vector<TScrollCode> codes;
  bar->OnChange = [&](TObject*) { changes.push_back(bar->GetPosition()); };
  bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
  struct Case {
    WORD key;
    TScrollCode code;
    int position;
  };
  const Case cases[] = {
      {VK_RIGHT, scLineDown, 22}, {VK_NEXT, scPageDown, 32}, {VK_LEFT, scLineUp, 30},
      {VK_PRIOR, scPageUp, 20},   {VK_END, scBottom, 56},    {VK_RIGHT, scLineDown, 56},
      {VK_HOME, scTop, 10},       {VK_LEFT, scLineUp, 10},
  };
  HWND wnd = bar->GetHandle();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    codes.clear();
    SendMessageW(wnd, WM_KEYDOWN, c.key, 1);
    Pump(5ms);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), c.code);
    EXPECT_EQ(bar->GetPosition(), c.position);
    EXPECT_EQ(GetScrollPos(wnd, SB_CTL), c.position);
  }
  EXPECT_EQ(changes, (std::vector<int>{22, 32, 30, 20, 56, 10})) << "OnChange only when it moved";

  // OnScroll may move the position elsewhere.
  bar->OnScroll = [&](TObject*, TScrollCode, int& pos) { pos = 40; };
  SendMessageW(wnd, WM_KEYDOWN, VK_RIGHT, 1);
  EXPECT_EQ(bar->GetPosition(), 40);
  bar->SetPosition(500);
  EXPECT_EQ(bar->GetPosition(), 56);
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

TEST_F(StdControls, GroupBoxHoldsItsControlsBelowTheCaptionAndTakesItsAccelerator) {
  TGroupBox* box = form->GroupBox1;
  auto* filler = new TButton(form);
  filler->SetParent(box);
  filler->SetAlign(alClient);
  const TRect client = box->GetClientRect();
  const TRect r = filler->GetBoundsRect();
  EXPECT_GT(r.Top, client.Top + 8) << "below the caption";
  EXPECT_GT(r.Left, client.Left);
  EXPECT_LT(r.Bottom, client.Bottom);
  delete filler;

  form->Edit1->SetFocus();
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, L'x', 0), 0);
  EXPECT_EQ(box->Perform(CM_DIALOGCHAR, L'p', 0), 1);
  Pump(10ms);
  EXPECT_EQ(form->GetActiveControl(), form->RadioButton3) << "Alt+P goes to the first control inside";
}

TEST_F(StdControls, MaskEditIsAPlainEdit) {
  TMaskEdit* edit = form->MaskEdit1;
  EXPECT_EQ(edit->GetText(), L"masked");
  EXPECT_EQ(edit->GetEditMask(), L"");
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetEditMask(L"000");
  SendMessageW(edit->GetHandle(), EM_SETSEL, 0, -1);
  SendMessageW(edit->GetHandle(), WM_CHAR, L'q', 1);
  EXPECT_EQ(edit->GetText(), L"q") << "no mask is applied";
  EXPECT_EQ(changes, 1);
  edit->Clear();
  EXPECT_EQ(edit->GetText(), L"");
  // Tabbing in selects the whole text.
  edit->SetText(L"whole");
  form->Edit1->SetFocus();
  edit->SetFocus();
  Pump(10ms);
  EXPECT_EQ(edit->GetSelLength(), 5);
}

TEST_F(StdControls, EditStylesReachANewWindowThatKeepsTheText) {
  TEdit* edit = form->Edit1;
  struct Case {
    const char* what;
    std::function<void()> set;
    LONG style, exStyle;  // bits that must be set
    LONG noStyle, noExStyle;  // bits that must be clear
  };
  const Case cases[] = {
      {"default", [] {}, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, ES_NOHIDESEL | ES_UPPERCASE, 0},
      {"no border", [&] { edit->SetBorderStyle(bsNone); }, 0, 0, 0, WS_EX_CLIENTEDGE},
      {"keeps selection", [&] { edit->SetHideSelection(false); }, ES_NOHIDESEL, 0, 0, 0},
      {"lower case", [&] { edit->SetCharCase(ecLowerCase); }, ES_LOWERCASE, 0, ES_UPPERCASE, 0},
      {"upper case", [&] { edit->SetCharCase(ecUpperCase); }, ES_UPPERCASE, 0, ES_LOWERCASE, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.set();
    HWND wnd = edit->GetHandle();
    const LONG style = GetWindowLongW(wnd, GWL_STYLE), ex = GetWindowLongW(wnd, GWL_EXSTYLE);
    EXPECT_EQ(style & c.style, c.style);
    EXPECT_EQ(ex & c.exStyle, c.exStyle);
    EXPECT_EQ(style & c.noStyle, 0);
    EXPECT_EQ(ex & c.noExStyle, 0);
  }
  EXPECT_EQ(edit->GetText(), L"TYPED") << "the text it held is turned too";
  SendMessageW(edit->GetHandle(), EM_SETSEL, 0, -1);
  SendMessageW(edit->GetHandle(), WM_CHAR, L'q', 1);
  EXPECT_EQ(edit->GetText(), L"Q");
}

TEST_F(StdControls, MultiSelectListKeepsItsSelectionThroughChanges) {
  TListBox* list = form->ListBox1;
  EXPECT_EQ(list->GetSelCount(), -1) << "a single-select list";
  list->SetItemIndex(1);
  list->SetMultiSelect(true);
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_NE(GetWindowLongW(list->GetHandle(), GWL_STYLE) & LBS_EXTENDEDSEL, 0);
  EXPECT_TRUE(list->GetSelected(1)) << "the selected line stays selected in the new window";
  list->SetSelected(1, false);
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  EXPECT_EQ(list->GetSelCount(), 2);
  list->GetItems()->Insert(0, L"new first");
  EXPECT_FALSE(list->GetSelected(0));
  EXPECT_TRUE(list->GetSelected(1));
  EXPECT_TRUE(list->GetSelected(3));
  list->GetItems()->Put(3, L"third, renamed");
  EXPECT_TRUE(list->GetSelected(3)) << "a line replaced in place stays selected";
  list->SetTabWidth(20);  // a new window
  EXPECT_EQ(list->GetSelCount(), 2);
  EXPECT_TRUE(list->GetSelected(1));
  EXPECT_THROW(list->GetSelected(4), EListError);

  // Extended: a plain click selects one line; multiple: each click toggles.
  const TRect line = list->ItemRect(2);
  ClickAt(list->GetHandle(), line.Left + 3, line.Top + 2);
  EXPECT_EQ(list->GetSelCount(), 1);
  EXPECT_TRUE(list->GetSelected(2));
  list->SetExtendedSelect(false);
  ClickAt(list->GetHandle(), line.Left + 3, line.Top + 2);
  ClickAt(list->GetHandle(), line.Left + 3, list->ItemRect(0).Top + 2);
  EXPECT_FALSE(list->GetSelected(2));
  EXPECT_TRUE(list->GetSelected(0));
  list->SelectAll();
  EXPECT_EQ(list->GetSelCount(), 4);
}

TEST_F(StdControls, ComboBoxKeepsItsSelectionOverItemChangesAndShowsItsColour) {
  TComboBox* list = form->ComboBox1;  // beta selected
  list->GetItems()->Put(1, L"beta, translated");
  EXPECT_EQ(list->GetItemIndex(), 1);
  EXPECT_EQ(list->GetText(), L"beta, translated");
  list->GetItems()->Insert(0, L"first");
  EXPECT_EQ(list->GetItemIndex(), 2);

  // A list-only combo box given a text before it has a window selects that line.
  auto* fresh = new TComboBox(form);
  fresh->SetStyle(csDropDownList);
  fresh->GetItems()->SetText(L"red\r\ngreen\r\nblue");
  fresh->SetText(L"green");
  fresh->SetBounds(360, 240, 120, 21);
  fresh->SetParent(form);
  EXPECT_EQ(fresh->GetItemIndex(), 1);
  EXPECT_EQ(fresh->GetText(), L"green");

  TComboBox* combo = form->ComboBox2;
  combo->SetColor(clYellow);
  RedrawWindow(combo->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(20ms);
  HWND edit = combo->GetEditHandle();
  RECT r;
  GetClientRect(edit, &r);
  HDC dc = GetDC(edit);
  const COLORREF pixel = GetPixel(dc, r.right - 2, r.bottom / 2);
  ReleaseDC(edit, dc);
  EXPECT_EQ(pixel, RGB(255, 255, 0)) << "the edit wears the combo box's colour";
}

TEST_F(StdControls, AcceleratorsToggleACheckBoxAndCheckARadioButton) {
  form->CheckBox1->SetCaption(L"&Start with Windows");
  form->RadioButton2->SetCaption(L"Radio &two");
  int boxClicks = 0;
  form->CheckBox1->OnClick = [&](TObject*) { ++boxClicks; };
  struct Case {
    TButtonControl* control;
    wchar_t key;
    intptr_t result;
  };
  const Case cases[] = {
      {form->CheckBox1, L'x', 0}, {form->CheckBox1, L's', 1}, {form->CheckBox1, L'S', 1},
      {form->RadioButton2, L'r', 0}, {form->RadioButton2, L't', 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.key));
    EXPECT_EQ(c.control->Perform(CM_DIALOGCHAR, c.key, 0), c.result);
    if (c.result) {
      EXPECT_EQ(form->GetActiveControl(), c.control);
    }
  }
  EXPECT_TRUE(form->CheckBox1->GetChecked()) << "checked, toggled twice";
  EXPECT_EQ(boxClicks, 2);
  EXPECT_TRUE(form->RadioButton2->GetChecked());
  EXPECT_FALSE(form->RadioButton1->GetChecked());
}

TEST_F(StdControls, VirtualListAsksForTheLinesItShows) {
  TListBox* list = form->ListBox1;
  EXPECT_THROW(list->SetCount(5), EInvalidOperation) << "only a virtual list takes a count";
  std::vector<int> asked;
  list->OnData = [&](TObject*, int index, std::wstring& data) {
    asked.push_back(index);
    data = L"line " + std::to_wstring(index);
  };
  list->OnDataFind = [&](TObject*, const std::wstring& text) { return text == L"7" ? 700 : -1; };
  list->SetStyle(lbVirtual);
  list->SetBorderStyle(bsNone);
  list->SetCount(100000);
  EXPECT_EQ(GetWindowLongW(list->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETCOUNT, 0, 0), 100000);
  RedrawWindow(list->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(20ms);
  ASSERT_FALSE(asked.empty());
  EXPECT_LT(*std::max_element(asked.begin(), asked.end()), 20) << "only the visible lines are asked for";

  int clicks = 0;
  list->OnClick = [&](TObject*) { ++clicks; };
  const TRect third = list->ItemRect(2);
  ClickAt(list->GetHandle(), third.Left + 3, third.Top + 2);
  EXPECT_EQ(list->GetItemIndex(), 2);
  SendMessageW(list->GetHandle(), WM_CHAR, L'7', 1);
  EXPECT_EQ(list->GetItemIndex(), 700) << "typing searches through OnDataFind";
  EXPECT_EQ(clicks, 2);

  // Owner-drawn virtual lines go to OnDrawItem instead.
  std::vector<int> drawn;
  list->OnDrawItem = [&](TObject*, int index, TRect, TOwnerDrawState) { drawn.push_back(index); };
  list->SetStyle(lbVirtualOwnerDraw);
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETCOUNT, 0, 0), 100000) << "the count survives a new window";
  list->SetTopIndex(0);
  RedrawWindow(list->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(20ms);
  EXPECT_FALSE(drawn.empty());
}

TEST_F(StdControls, ScrollBarThumbDraggedPastSixteenBitsKeepsTheWholePosition) {
  TScrollBar* bar = form->ScrollBar1;  // 200 wide
  bar->SetPageSize(0);
  bar->SetParams(0, 0, 200000);
  std::vector<TScrollCode> codes;
  bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
  HWND wnd = bar->GetHandle();
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  const int y = bar->GetHeight() / 2;
  // Press on the thumb at the left end, drag it most of the way, let go.
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(arrow + 3, y));
  PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(arrow + 60, y));
  PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200 - arrow - 20, y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(200 - arrow - 20, y));
  Pump(100ms);
  ASSERT_NE(std::find(codes.begin(), codes.end(), scTrack), codes.end());
  EXPECT_GT(bar->GetPosition(), 65535) << "not cut to the message's 16 bits";
  EXPECT_EQ(GetScrollPos(wnd, SB_CTL), bar->GetPosition());
}

TEST_F(StdControls, ComboBoxListShowsDropDownCountLinesAndSortedItems) {
  TComboBox* combo = form->ComboBox1;
  TStrings* items = combo->GetItems();
  items->Clear();
  for (int i = 0; i < 20; ++i) items->Add(L"line " + std::to_wstring(100 - i));
  combo->SetItemIndex(0);  // "line 100"
  combo->SetSorted(true);
  EXPECT_EQ(items->Get(0), L"line 100");
  EXPECT_EQ(items->Get(1), L"line 81");
  EXPECT_EQ(combo->GetText(), L"line 100") << "the selection follows its line";

  struct Case {
    int count;
  };
  for (const Case& c : {Case{5}, Case{12}}) {
    SCOPED_TRACE(c.count);
    combo->SetDropDownCount(c.count);
    combo->SetDroppedDown(true);
    Pump(20ms);
    RECT r;
    GetWindowRect(combo->GetListHandle(), &r);
    const int lineHeight = static_cast<int>(SendMessageW(combo->GetHandle(), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_NEAR(r.bottom - r.top, c.count * lineHeight, lineHeight / 2 + 4);
    combo->SetDroppedDown(false);
    Pump(10ms);
  }
}

TEST_F(StdControls, AnAutoSizedLabelTakesItsTextsSize) {
  TLabel* label = form->Label1;  // 150 x 17 at (180, 44)
  label->SetAlignment(taRightJustify);
  const int right = label->GetLeft() + label->GetWidth();
  label->SetCaption(L"Short");
  label->SetAutoSize(true);
  const int shortWidth = label->GetWidth();
  EXPECT_LT(shortWidth, 100);
  EXPECT_GT(shortWidth, 10);
  EXPECT_EQ(label->GetLeft() + label->GetWidth(), right) << "a right-aligned label keeps its right edge";
  label->SetCaption(L"Short and a good deal longer");
  EXPECT_GT(label->GetWidth(), shortWidth);
  EXPECT_EQ(label->GetLeft() + label->GetWidth(), right);
  const int lineHeight = label->GetHeight();
  label->SetWidth(60);  // an auto-sized label keeps its own size
  EXPECT_GT(label->GetWidth(), 60);

  label->SetAutoSize(false);
  label->SetAlignment(taLeftJustify);
  label->SetBounds(180, 44, 60, 17);
  label->SetWordWrap(true);
  label->SetAutoSize(true);
  EXPECT_EQ(label->GetWidth(), 60) << "wrapped lines keep the width";
  EXPECT_GE(label->GetHeight(), 3 * lineHeight);
}

TEST_F(StdControls, LabelLayoutPlacesTheTextBetweenTopAndBottom) {
  TLabel* label = form->Label1;
  label->SetBounds(180, 40, 150, 60);
  auto firstInkRow = [&] {
    RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(20ms);
    HDC dc = GetDC(form->GetHandle());
    int row = -1;
    for (int y = 0; y < 60 && row < 0; ++y)
      for (int x = 0; x < 150 && row < 0; ++x)
        if (GetRValue(GetPixel(dc, 180 + x, 40 + y)) < 80) row = y;
    ReleaseDC(form->GetHandle(), dc);
    return row;
  };
  const int top = firstInkRow();
  label->SetLayout(tlCenter);
  const int centre = firstInkRow();
  label->SetLayout(tlBottom);
  const int bottom = firstInkRow();
  ASSERT_GE(top, 0);
  EXPECT_LT(top, 8);
  EXPECT_GT(bottom - top, 30) << "at the bottom, the spare height lower";
  EXPECT_NEAR(centre - top, (bottom - top) / 2, 2) << "centred: half of it";
}

TEST_F(StdControls, MemoTabMovesOnUnlessItWantsTabs) {
  struct Case {
    bool wantTabs;
    bool staysFocused;
    const wchar_t* text;
  };
  for (const Case& c : {Case{false, false, L""}, Case{true, true, L"\t"}}) {
    SCOPED_TRACE(c.wantTabs);
    TMemo* memo = form->Memo1;
    memo->GetLines()->Clear();
    memo->SetWantTabs(c.wantTabs);
    memo->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return memo->Focused(); }));
    PostKey(memo->GetHandle(), VK_TAB);
    EXPECT_EQ(memo->Focused(), c.staysFocused);
    EXPECT_EQ(memo->GetText(), c.text);
  }
}

TEST_F(StdControls, VariableComboBoxLinesTakeTheHeightsOnMeasureItemGives) {
  TComboBox* combo = form->ComboBox1;
  combo->OnMeasureItem = [](TObject*, int index, int& height) { height = 10 + 4 * index; };
  combo->SetStyle(csOwnerDrawVariable);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(SendMessageW(combo->GetHandle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0), 10 + 4 * i);
  EXPECT_EQ(combo->GetItemIndex(), 1) << "the new window keeps the selection";
}

TEST_F(StdControls, ChoosingALineOfADropDownComboBoxChangesItOnce) {
  TComboBox* combo = form->ComboBox2;  // one, two; "free text" typed
  std::vector<std::wstring> changes;
  combo->OnChange = [&](TObject*) { changes.push_back(combo->GetText()); };
  SendMessageW(combo->GetEditHandle(), WM_KEYDOWN, VK_DOWN, 1);
  Pump(10ms);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], L"one") << "OnChange sees the chosen line's text";
  EXPECT_EQ(combo->GetItemIndex(), 0);
}

}  // namespace
