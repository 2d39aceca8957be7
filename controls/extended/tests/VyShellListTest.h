// What the shell list's tests share: a form with a report-style shell list over a
// private folder under C:\, and the list read back as the user sees it (the texts
// of its rows in their order, through the control itself).
#pragma once
#include <gtest/gtest.h>

#include "controls/extended/VyShellList.h"
#include "controls/extended/tests/ShellTestTree.h"
#include "testing/PumpApplication.h"
#include "vcl/Forms.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace Vy::testing {

// The list with its keyboard steps in reach, as the window would call them.
class TTestShellList : public TVyShellList {
 public:
  explicit TTestShellList(TComponent* AOwner) : TVyShellList(AOwner) {}
  void PressKey(WORD key, TShiftState shift = {}) { KeyDown(key, shift); }
  void TypeChar(wchar_t c) { KeyPress(c); }
};

class ShellListTest : public ::testing::Test {
 protected:
  explicit ShellListTest(unsigned options = kDefaultShellListOptions & ~unsigned(sloDynamicRefresh))
      : tree_("shell-list"), options_(options) {}

  void SetUp() override {
    form.reset(CreateFormNew<TForm>(nullptr));
    form->SetBounds(80, 80, 640, 380);
    form->SetCaption(L"Shell list");
    list = new TTestShellList(form.get());
    list->SetOptions(options_);
    list->SetViewStyle(vsReport);
    list->SetBounds(8, 8, 616, 332);
    list->SetParent(form.get());
    form->Show();
    Pump(std::chrono::milliseconds(30));
  }
  void TearDown() override {
    form.reset();
    Pump(std::chrono::milliseconds(10));
  }

  const TShellTestTree& Tree() const { return tree_; }
  // Shows a folder of the private tree ("" for its root).
  void Show(const std::wstring& relative) {
    const TIdList folder = tree_.IdList(relative);
    list->GetFolder()->SetIdList(folder.get());
  }
  std::wstring Cell(int row, int column) const {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(list->GetHandle(), LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return text;
  }
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    const int count = int(SendMessageW(list->GetHandle(), LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) names.push_back(Cell(row, 0));
    return names;
  }
  // The row showing the name, -1 when none does.
  int RowOf(const std::wstring& name) const {
    const std::vector<std::wstring> names = Names();
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return int(i);
    return -1;
  }
  void SelectOnly(const std::wstring& name) {
    list->SetSelected(nullptr);
    const int row = RowOf(name);
    ASSERT_GE(row, 0) << "no row " << ::testing::PrintToString(name);
    list->GetItems()->Item(row)->SetSelected(true);
    list->GetItems()->Item(row)->SetFocused(true);
  }

  std::unique_ptr<TForm> form;
  TTestShellList* list = nullptr;

 private:
  TShellTestTree tree_;
  unsigned options_;
};

}  // namespace Vy::testing
