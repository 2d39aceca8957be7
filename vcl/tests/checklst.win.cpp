// The check list box: states set from code and by the user, kept with their
// lines through any change of the list, and boxes painted beside the lines.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "vcl/CheckLst.h"
#include "vcl/Forms.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

class TTestCheckListForm : public TForm {
  QORN_CLASS(TTestCheckListForm, TForm)
 public:
  explicit TTestCheckListForm(TComponent* AOwner) : TForm(AOwner) {}
  TCheckListBox* CheckListBox1 = nullptr;

 private:
  static void Publish(TPublisher<TTestCheckListForm>& p) {
    p.Field(L"CheckListBox1", &TTestCheckListForm::CheckListBox1);
  }
};
QORN_REGISTER_CLASS(TTestCheckListForm);

class CheckList : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestCheckListForm>(Application);
    form->Show();
    Pump(50ms);
    list = form->CheckListBox1;
    ASSERT_NE(list, nullptr);
    list->OnClickCheck = [this](TObject*) { ++checks; };
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  void ClickAt(int x, int y) {
    SendMessageW(list->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(list->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump(10ms);
  }
  std::vector<bool> States() const {
    std::vector<bool> v;
    for (int i = 0; i < list->GetItems()->Count(); ++i) v.push_back(list->GetChecked(i));
    return v;
  }
  TTestCheckListForm* form = nullptr;
  TCheckListBox* list = nullptr;
  int checks = 0;
};

TEST_F(CheckList, ClickingTheBoxTogglesItButClickingTheTextOnlySelects) {
  EXPECT_EQ(list->GetStyle(), lbOwnerDrawFixed);
  list->SetChecked(0, true);
  EXPECT_EQ(checks, 0) << "from code: no OnClickCheck";
  const TRect second = list->ItemRect(1);
  ClickAt(second.Left + 5, second.Top + second.Height() / 2);
  EXPECT_EQ(States(), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(checks, 1);
  ClickAt(second.Left + 5, second.Top + second.Height() / 2);
  EXPECT_FALSE(list->GetChecked(1));
  EXPECT_EQ(checks, 2);
  const TRect third = list->ItemRect(2);
  ClickAt(third.Left + list->CheckWidth() + 20, third.Top + 3);
  EXPECT_EQ(list->GetItemIndex(), 2);
  EXPECT_FALSE(list->GetChecked(2));
  EXPECT_EQ(checks, 2);

  // Space toggles the selected line.
  SendMessageW(list->GetHandle(), WM_CHAR, L' ', 1);
  EXPECT_TRUE(list->GetChecked(2));
  EXPECT_EQ(checks, 3);
  // A disabled line keeps its state.
  list->SetItemEnabled(2, false);
  SendMessageW(list->GetHandle(), WM_CHAR, L' ', 1);
  ClickAt(third.Left + 5, third.Top + 3);
  EXPECT_TRUE(list->GetChecked(2));
  EXPECT_EQ(checks, 3);
}

TEST_F(CheckList, GrayedIsAThirdStateOnlyWhenAllowed) {
  const TRect first = list->ItemRect(0);
  std::vector<TCheckBoxState> seen;
  list->OnClickCheck = [&](TObject*) { seen.push_back(list->GetState(0)); };
  for (int i = 0; i < 3; ++i) ClickAt(first.Left + 5, first.Top + 3);
  list->SetAllowGrayed(true);
  for (int i = 0; i < 3; ++i) ClickAt(first.Left + 5, first.Top + 3);
  EXPECT_EQ(seen, (std::vector<TCheckBoxState>{cbChecked, cbUnchecked, cbChecked, cbUnchecked, cbGrayed,
                                                cbChecked}));
}

TEST_F(CheckList, StatesAndObjectsStayWithTheirLines) {
  int a = 1, b = 2;
  TStrings* items = list->GetItems();
  items->Clear();
  items->AddObject(L"delta", &a);
  items->AddObject(L"alpha", &b);
  items->Add(L"charlie");
  list->SetChecked(0, true);  // delta
  EXPECT_EQ(items->Objects(0), &a);

  items->Insert(0, L"bravo");
  EXPECT_EQ(States(), (std::vector<bool>{false, true, false, false}));
  items->Exchange(1, 3);
  EXPECT_TRUE(list->GetChecked(3));
  list->SetSorted(true);  // alpha bravo charlie delta
  EXPECT_EQ(items->Get(3), L"delta");
  EXPECT_EQ(States(), (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(items->Objects(0), &b);
  EXPECT_EQ(items->Objects(3), &a);
  items->Delete(0);
  EXPECT_EQ(States(), (std::vector<bool>{false, false, true}));

  // A new window (another line height) keeps them too.
  list->SetItemHeight(24);
  EXPECT_EQ(States(), (std::vector<bool>{false, false, true}));
  EXPECT_EQ(SendMessageW(list->GetHandle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_THROW(list->GetChecked(3), EStringListError);
}

TEST_F(CheckList, EachLineIsPaintedWithItsBoxAndTheTextBesideIt) {
  list->SetChecked(1, true);
  std::vector<TRect> rects;
  list->OnDrawItem = [&](TObject*, int, TRect rect, TOwnerDrawState) {
    rects.push_back(rect);
    list->GetCanvas()->GetBrush()->SetColor(clRed);
    list->GetCanvas()->FillRect(rect);
  };
  RedrawWindow(list->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(20ms);
  ASSERT_GE(rects.size(), 3u);
  EXPECT_EQ(rects[0].Left, list->CheckWidth()) << "OnDrawItem gets the line right of the box";

  HDC dc = GetDC(list->GetHandle());
  auto darkInBox = [&](int index) {
    const TRect r = list->ItemRect(index);
    int dark = 0;
    for (int x = r.Left + 4; x < r.Left + list->CheckWidth() - 4; ++x)
      for (int y = r.Top + 4; y < r.Bottom - 4; ++y)
        if (GetRValue(GetPixel(dc, x, y)) < 64) ++dark;
    return dark;
  };
  const int unchecked = darkInBox(0), checked = darkInBox(1);
  const COLORREF text = GetPixel(dc, list->CheckWidth() + 10, list->ItemRect(0).Top + 5);
  ReleaseDC(list->GetHandle(), dc);
  EXPECT_GT(checked, unchecked + 5) << "the tick is drawn in the checked line's box";
  EXPECT_EQ(text, RGB(255, 0, 0));
}

}  // namespace
