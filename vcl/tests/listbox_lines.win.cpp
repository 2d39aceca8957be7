// The list box changes its window line by line: what each change of Items sends,
// and that the window then shows exactly the lines, with the selection kept.
#include <gtest/gtest.h>

#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <map>
#include <string>
#include <vector>

namespace {

class ListBoxLines : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateFormNew<TForm>(Application);
    form->SetBounds(600, 100, 200, 200);
    list = new TListBox(form);
    list->SetParent(form);
    list->SetBounds(8, 8, 150, 150);
    list->HandleNeeded();
    auto inner = list->WindowProc;
    list->WindowProc = [this, inner](TMessage& m) {
      if (m.Msg >= LB_ADDSTRING && m.Msg <= LB_MSGMAX && m.Msg != LB_GETCOUNT && m.Msg != LB_GETSEL) ++sent[m.Msg];
      inner(m);
    };
  }
  void TearDown() override { delete form; }
  std::vector<std::wstring> WindowLines() {
    std::vector<std::wstring> out;
    HWND wnd = list->GetHandle();
    const auto n = static_cast<int>(SendMessageW(wnd, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      wchar_t text[64] = {};
      SendMessageW(wnd, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    return out;
  }
  std::map<unsigned, int> sent;
  TForm* form = nullptr;
  TListBox* list = nullptr;
};

TEST_F(ListBoxLines, EachChangeSendsOnlyItsOwnLine) {
  list->GetItems()->Add(L"one");
  list->GetItems()->Add(L"two");
  list->GetItems()->Add(L"three");
  EXPECT_EQ(sent, (std::map<unsigned, int>{{LB_ADDSTRING, 3}}));
  sent.clear();

  list->GetItems()->Insert(1, L"one and a half");
  list->GetItems()->Delete(3);
  EXPECT_EQ(sent, (std::map<unsigned, int>{{LB_INSERTSTRING, 1}, {LB_DELETESTRING, 1}}));
  EXPECT_EQ(WindowLines(), (std::vector<std::wstring>{L"one", L"one and a half", L"two"}));

  // A line replaced in place keeps its selection.
  list->SetItemIndex(2);
  list->GetItems()->Put(2, L"TWO");
  EXPECT_EQ(list->GetItemIndex(), 2);
  list->GetItems()->Move(0, 2);
  EXPECT_EQ(WindowLines(), (std::vector<std::wstring>{L"one and a half", L"TWO", L"one"}));
  sent.clear();
  list->GetItems()->Clear();
  EXPECT_EQ(sent, (std::map<unsigned, int>{{LB_RESETCONTENT, 1}}));
  EXPECT_TRUE(WindowLines().empty());
}

TEST_F(ListBoxLines, SortingShowsTheLinesAnewWithTheSelectionFollowing) {
  for (const wchar_t* s : {L"pear", L"apple", L"fig"}) list->GetItems()->Add(s);
  list->SetItemIndex(0);
  static_cast<TStringList*>(list->GetItems())->Sort();
  EXPECT_EQ(WindowLines(), (std::vector<std::wstring>{L"apple", L"fig", L"pear"}));
  EXPECT_EQ(list->GetItemIndex(), 2);
}

TEST_F(ListBoxLines, ANewWindowShowsTheSameLines) {
  list->GetItems()->Add(L"kept");
  list->GetItems()->Add(L"too");
  list->SetStyle(lbOwnerDrawFixed);  // makes the window anew
  EXPECT_EQ(WindowLines(), (std::vector<std::wstring>{L"kept", L"too"}));
}

}  // namespace
