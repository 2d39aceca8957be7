// The check list and its tabbed list box base: the plug-in list of the settings window
// read from TestVyListsForm.form, toggled by mouse and Space; tab stops as the window
// receives them; cells; the states in streams and form data.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyChkLst.h"
#include "controls/extended/tests/VyListsFormTest.h"
#include "testing/PumpApplication.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Filer.h"
#include "vcl/Streams.h"

#include <chrono>
#include <string>
#include <vector>

using namespace Vy;
using namespace std::chrono_literals;

namespace {

// A tabbed list box that keeps what the window was told of its tab stops.
class TSpyTabbedList : public TVyCustomTabbedListBox {
 public:
  explicit TSpyTabbedList(TComponent* AOwner) : TVyCustomTabbedListBox(AOwner) {}
  struct TSent {
    WPARAM count;
    bool array;
    std::vector<int> stops;
  };
  std::vector<TSent> sent;
  int TextWidth(const std::wstring& s) {
    TMeasureDC measure(GetFont());
    return measure.Canvas()->TextWidth(s);
  }

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == LB_SETTABSTOPS) {
      const auto* values = reinterpret_cast<const int*>(m.LParam);
      sent.push_back(
          {m.WParam, values != nullptr, values ? std::vector<int>(values, values + m.WParam) : std::vector<int>{}});
    }
    TVyCustomTabbedListBox::WndProc(m);
  }
};

class VyCheckLists : public VyListsFormTest {
 protected:
  void SetUp() override {
    VyListsFormTest::SetUp();
    plugins = Find<TVyCheckList>(L"pluginslist");
    ASSERT_TRUE(plugins);
    plugins->OnChanging = [this](TObject*, int index, TCheckBoxState state, bool& allow) {
      changing.push_back({index, state});
      allow = allowChange;
    };
    plugins->OnChange = [this](TObject*, int index, TCheckBoxState state) { changed.push_back({index, state}); };
  }
  // A press and a release of the left button at client points of the list.
  void Click(TPoint down, TPoint up) {
    HWND wnd = plugins->GetHandle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.X, down.Y));
    if (down != up) SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.X, up.Y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(up.X, up.Y));
    Pump(10ms);
  }
  TPoint Glyph(int index) {
    const TRect r = plugins->ItemRect(index);
    return TPoint(r.Left + 6, (r.Top + r.Bottom) / 2);
  }
  TPoint Text(int index) {
    const TRect r = plugins->ItemRect(index);
    return TPoint(r.Left + 60, (r.Top + r.Bottom) / 2);
  }
  void Space() {
    SendMessageW(plugins->GetHandle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(plugins->GetHandle(), WM_CHAR, L' ', 0);
    SendMessageW(plugins->GetHandle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  }
  TVyCheckList* plugins = nullptr;
  std::vector<std::pair<int, TCheckBoxState>> changing, changed;
  bool allowChange = true;
};

TEST_F(VyCheckLists, ThePluginListAsTheFormHoldsIt) {
  EXPECT_EQ(plugins->GetItems()->Count(), 4);
  EXPECT_TRUE(plugins->IsGroup(0));
  EXPECT_EQ(plugins->GetItemState(1), cbChecked);
  EXPECT_EQ(plugins->GetItemState(2), cbUnchecked);
  EXPECT_FALSE(plugins->GetItemEnabled(3));
  EXPECT_EQ(plugins->GetItemHeight(), 17);
  EXPECT_EQ(plugins->GetOwnerDrawIndent(), 13 + 8);
}

TEST_F(VyCheckLists, AClickOnTheBoxTogglesAndAClickOnTheTextOnlySelects) {
  Click(Glyph(2), Glyph(2));
  EXPECT_EQ(plugins->GetItemIndex(), 2);
  EXPECT_EQ(plugins->GetItemState(2), cbChecked);
  Click(Text(2), Text(2));
  EXPECT_EQ(plugins->GetItemState(2), cbChecked) << "the text is not the box";
  plugins->SetToggleOnItemClick(true);
  Click(Text(2), Text(2));
  EXPECT_EQ(plugins->GetItemState(2), cbUnchecked);
  EXPECT_EQ(changed, (std::vector<std::pair<int, TCheckBoxState>>{{2, cbChecked}, {2, cbUnchecked}}));
}

TEST_F(VyCheckLists, APressOnOneLineAndAReleaseOnAnotherDoesNotToggle) {
  Click(Glyph(1), Glyph(2));
  EXPECT_EQ(plugins->GetItemState(1), cbChecked);
  EXPECT_EQ(plugins->GetItemState(2), cbUnchecked);
  EXPECT_TRUE(changing.empty());
}

TEST_F(VyCheckLists, SpaceTogglesThroughTheCycleAndOnChangingMayRefuse) {
  plugins->SetFocus();
  plugins->SetItemIndex(2);
  struct Step {
    bool allowGrayed;
    bool allow;
    TCheckBoxState after;
  } steps[] = {
      {false, true, cbChecked}, {false, true, cbUnchecked},
      {true, true, cbGrayed},   {true, false, cbGrayed},  // refused: as it was
      {true, true, cbChecked},  {true, true, cbUnchecked},
  };
  for (const Step& s : steps) {
    plugins->SetAllowGrayed(s.allowGrayed);
    allowChange = s.allow;
    const size_t changes = changed.size();
    Space();
    EXPECT_EQ(plugins->GetItemState(2), s.after);
    EXPECT_EQ(changed.size(), changes + (s.allow ? 1 : 0)) << "no OnChange for a refusal";
  }
  EXPECT_EQ(changing.size(), 6u);
  EXPECT_EQ(plugins->SearchText(), L"") << "a blank neither searches";
}

TEST_F(VyCheckLists, DisabledLinesAndGroupHeadersNeverToggle) {
  for (int index : {0, 3}) {
    plugins->SetItemIndex(index);
    Space();
    Click(Glyph(index), Glyph(index));
  }
  EXPECT_TRUE(changing.empty()) << "no OnChanging either";
  EXPECT_EQ(plugins->GetItemState(3), cbUnchecked);
}

TEST_F(VyCheckLists, DisablingTheListDisablesEveryLineAndEnablingEnablesThemAll) {
  plugins->SetEnabled(false);
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(plugins->GetItemEnabled(i)) << i;
  plugins->SetEnabled(true);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(plugins->GetItemEnabled(i)) << i;
}

TEST_F(VyCheckLists, AddItemAndLongLines) {
  const std::wstring name(9000, L'p');
  const int index = plugins->AddItem(name, false, false);
  EXPECT_EQ(plugins->GetItems()->Get(index), name) << "read back whole";
  EXPECT_EQ(SendMessageW(plugins->GetHandle(), LB_GETTEXTLEN, index, 0), 9000);
  EXPECT_FALSE(plugins->GetItemEnabled(index));
  const int slash = plugins->AddItem(L"//named like a group", true, true);
  EXPECT_FALSE(plugins->IsGroup(slash)) << "a plug-in is never a group header";
  plugins->SetItemIndex(slash);
  Space();
  EXPECT_EQ(plugins->GetItemState(slash), cbUnchecked);
}

TEST_F(VyCheckLists, StreamsKeepTextsStatesAndFlags) {
  plugins->AddItem(L"&1 2 text that looks like a line", true, false);
  plugins->SetItemState(2, cbGrayed);
  TMemoryStream stream;
  plugins->GetItems()->SaveToStream(stream);
  auto* copy = new TVyCheckList(form);
  copy->SetParent(form);
  stream.SetPosition(0);
  copy->GetItems()->LoadFromStream(stream);
  ASSERT_EQ(copy->GetItems()->Count(), plugins->GetItems()->Count());
  for (int i = 0; i < copy->GetItems()->Count(); ++i) {
    EXPECT_EQ(copy->GetItems()->Get(i), plugins->GetItems()->Get(i)) << i;
    EXPECT_EQ(copy->GetItemState(i), plugins->GetItemState(i)) << i;
    EXPECT_EQ(copy->GetItemEnabled(i), plugins->GetItemEnabled(i)) << i;
  }
}

TEST_F(VyCheckLists, FormDataIsCheckedAsItIsRead) {
  auto* other = CreateFormNew<TTestVyListsForm>(nullptr);
  ReadComponentFromText(other, R"(object F: TTestVyListsForm
  object C: TVyCheckList
    Items.Strings = (
      'one'
      'two')
    Items.ItemEnabled = (
      False
      True
      False)
    Items.ItemState = (
      7
      2
      1)
  end
end
)",
                        L"TEST");
  auto* list = dynamic_cast<TVyCheckList*>(other->FindComponent(L"C"));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetItems()->Count(), 2) << "entries past the lines are dropped";
  EXPECT_EQ(list->GetItemState(0), cbUnchecked) << "7 is no state";
  EXPECT_EQ(list->GetItemState(1), cbGrayed);
  EXPECT_FALSE(list->GetItemEnabled(0));
  const std::string text = WriteComponentToText(list);
  EXPECT_NE(text.find("ItemState"), std::string::npos) << text;
  EXPECT_NE(text.find("ItemEnabled"), std::string::npos) << text;
  delete other;
}

TEST_F(VyCheckLists, TabStopsReachTheWindow) {
  auto* list = new TSpyTabbedList(form);
  list->SetParent(form);
  list->HandleNeeded();
  ASSERT_FALSE(list->sent.empty());
  EXPECT_EQ(list->sent.back().count, 0u);
  EXPECT_FALSE(list->sent.back().array) << "no stops: the window's own";
  list->GetTabStops()->Add(10);
  list->GetTabStops()->Add(-20);
  EXPECT_EQ(list->sent.back().stops, (std::vector<int>{40, -80}));
  list->GetTabStops()->Clear();
  for (int i = 0; i < 1200; ++i) list->GetTabStops()->Add(i);
  EXPECT_EQ(list->sent.back().count, 1000u);
  list->GetTabStops()->Clear();
  list->GetTabStops()->Add(2147483647);
  EXPECT_EQ(list->sent.back().stops, (std::vector<int>{2147483647})) << "held, not wrapped";
}

TEST_F(VyCheckLists, AutomaticStopsFollowTheWidestFirstColumn) {
  auto* list = new TSpyTabbedList(form);
  list->SetParent(form);
  list->HandleNeeded();
  list->SetTabStopsMode(tsmAutomatic);
  list->GetItems()->Add(L"plain");
  EXPECT_EQ(list->GetTabStops()->Count(), 0) << "no tabs, no stops";
  list->GetItems()->Add(L"Key\t1");
  list->GetItems()->Add(L"A longer key\t2");
  const int base = list->DialogBaseUnits();
  ASSERT_GT(base, 0);
  const int widest = std::max(list->TextWidth(L"plain"), list->TextWidth(L"A longer key"));
  ASSERT_EQ(list->GetTabStops()->Count(), 1);
  EXPECT_EQ(list->GetTabStops()->Get(0), widest / base + 4);
  list->GetItems()->Delete(2);
  EXPECT_EQ(list->GetTabStops()->Get(0), std::max(list->TextWidth(L"plain"), list->TextWidth(L"Key")) / base + 4);
}

TEST_F(VyCheckLists, CellsAndTheirErrors) {
  auto* list = new TSpyTabbedList(form);
  list->SetParent(form);
  list->GetItems()->Add(L"a\tbb\tccc");
  list->GetItems()->Add(L"plain");
  EXPECT_EQ(list->GetCell(1, 0), L"bb");
  list->SetCell(2, 0, L"last column");
  EXPECT_EQ(list->GetItems()->Get(0), L"a\tbb\tlast column");
  list->SetCell(0, 1, L"new");
  EXPECT_EQ(list->GetItems()->Get(1), L"new");
  auto message = [](auto f) {
    try {
      f();
    } catch (const Exception& e) {
      return e.Message();
    }
    return std::wstring(L"no error");
  };
  EXPECT_EQ(message([&] { list->GetCell(1, 1); }), L"Column parameter out of range");
  EXPECT_EQ(message([&] { list->GetCell(0, 2); }), L"Row parameter out of range");
  EXPECT_EQ(message([&] { list->SetCell(-1, 0, L"x"); }), L"Column parameter out of range");
  EXPECT_EQ(message([&] { list->UpdateFromHeader(list); }),
            L"Only THeader and THeaderControl components can be passed to TVyCustomTabbedListBox.UpdateFromHeader");
}

TEST_F(VyCheckLists, StopsFromAHeader) {
  auto* list = new TSpyTabbedList(form);
  list->SetParent(form);
  auto* header = new THeader(form);
  header->SetParent(form);
  header->GetSections()->Add(L"Key");
  header->GetSections()->Add(L"Count");
  header->GetSections()->Add(L"");
  header->SetSectionWidth(0, 60);
  header->SetSectionWidth(1, 40);
  list->GetTabStops()->Add(1);
  list->GetTabStops()->Add(-1);
  list->UpdateFromHeader(header);
  const int base = list->DialogBaseUnits();
  EXPECT_EQ(list->GetTabStops()->Get(0), 60 / base + 1);
  EXPECT_EQ(list->GetTabStops()->Get(1), 1 - (header->GetSectionWidth(2) + 100) / base);
}

}  // namespace
