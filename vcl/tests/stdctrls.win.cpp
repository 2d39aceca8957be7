// Standard controls on a real form: events from real messages, state kept over a
// new window, owner-drawn lines, and a form resource with one of each.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

void Pump(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(2ms);
  }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    Pump(5ms);
  }
  return true;
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

 private:
  static void Publish(TPublisher<TTestStdControlsForm>& p) {
    p.Field(L"Edit1", &TTestStdControlsForm::Edit1);
    p.Field(L"Button1", &TTestStdControlsForm::Button1);
    p.Field(L"CheckBox1", &TTestStdControlsForm::CheckBox1);
    p.Field(L"ListBox1", &TTestStdControlsForm::ListBox1);
    p.Field(L"Label1", &TTestStdControlsForm::Label1);
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

}  // namespace
