// Flat list boxes on a form read from its resource: rows and the snapped height,
// lines and their marks, clicks on rows and on the scroll strips with the repeat
// on the test's own clock, the wheel (one notch, several, page scrolling, the
// older drivers' message), the paging keys, and the painted rows and arrows.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatListBoxUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatListBox;

class TTestFlatListBoxForm : public TForm {
  QORN_CLASS(TTestFlatListBoxForm, TForm)
 public:
  explicit TTestFlatListBoxForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatListBox *Players = nullptr, *Many = nullptr, *Short = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatListBoxForm>& p) {
    p.Field(L"Players", &TTestFlatListBoxForm::Players);
    p.Field(L"Many", &TTestFlatListBoxForm::Many);
    p.Field(L"Short", &TTestFlatListBoxForm::Short);
  }
};
QORN_REGISTER_CLASS(TTestFlatListBoxForm);

// The system's wheel lines for one test, put back afterwards.
class TWheelLines {
 public:
  explicit TWheelLines(UINT lines) {
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &saved_, 0);
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
  }
  ~TWheelLines() { SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, saved_, nullptr, 0); }

 private:
  UINT saved_ = 3;
};

class FlatListBox : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatListBoxForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // The list reads where the cursor is: it goes there first, as a real press.
  static void Press(TFlatListBox* l, int x, int y) {
    POINT p{x, y};
    ClientToScreen(l->GetHandle(), &p);
    SetCursorPos(p.x, p.y);
    SendMessageW(l->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  static void Release(TFlatListBox* l, int x, int y) {
    SendMessageW(l->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  static void Click(TFlatListBox* l, int x, int y) {
    Press(l, x, y);
    Release(l, x, y);
  }
  static void ClickRow(TFlatListBox* l, int k) {
    const TRect r = l->RowRect(k);
    Click(l, r.Left + 5, r.Top + r.Height() / 2);
  }
  static void Wheel(TFlatListBox* l, int delta, UINT msg = WM_MOUSEWHEEL) {
    SendMessageW(l->GetHandle(), msg, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), 0);
  }
  static void Key(TFlatListBox* l, WORD vk) {
    l->SetFocus();
    PostMessageW(l->GetHandle(), WM_KEYDOWN, vk, 1);
    PostMessageW(l->GetHandle(), WM_KEYUP, vk, 0xC0000001);
    Pump(20ms);
  }
  TTestFlatListBoxForm* form = nullptr;
};

TEST_F(FlatListBox, LoadsAndSnapsToWholeRows) {
  TFlatListBox* l = form->Players;
  EXPECT_STREQ(l->ClassName().c_str(), L"TFlatListBox");
  EXPECT_EQ(l->GetItems()->Count(), 20);
  EXPECT_EQ(l->GetItemHeight(), 16);
  EXPECT_EQ(l->GetHeight(), 240) << "256 snaps to 12 rows of 18 and the strips";
  EXPECT_EQ(l->VisibleCount(), 12);
  EXPECT_EQ(l->GetItemIndex(), -1);
  EXPECT_EQ(l->RowRect(0), TRect(3, 13, 152, 29));
  EXPECT_EQ(l->RowRect(1).Top, 31);
  EXPECT_EQ(form->Many->GetHeight(), 99) << "no strips: 5 rows of 19 and 4";
  EXPECT_EQ(form->Many->GetItemIndex(), 0) << "multiple selection starts at the first line";

  l->SetScrollBars(false);
  EXPECT_EQ(l->GetHeight(), 220);
  EXPECT_EQ(l->VisibleCount(), 12);
  EXPECT_EQ(l->RowRect(0).Top, 3);
  l->SetItemHeight(0);
  EXPECT_EQ(l->GetItemHeight(), 1) << "a height of at least one";
}

TEST_F(FlatListBox, SetItemsRefusesMoreThan256AndTrimsTheSource) {
  TFlatListBox* l = form->Short;
  TStringList lines;
  for (int i = 0; i < 257; ++i) lines.Add(L"line " + std::to_wstring(i));
  l->SetItems(&lines);
  EXPECT_EQ(l->GetItems()->Count(), 2) << "257 lines change nothing";
  lines.Delete(256);
  lines.Put(0, L"  padded\t");
  l->SetItems(&lines);
  EXPECT_EQ(l->GetItems()->Count(), 256);
  EXPECT_EQ(l->GetItems()->Get(0), L"padded");
  EXPECT_EQ(lines.Get(0), L"padded") << "the given list is trimmed too";
  l->SetItemIndex(255);
  EXPECT_TRUE(l->GetSelected(255));
}

TEST_F(FlatListBox, IndexAndMarks) {
  TFlatListBox* l = form->Players;
  int changes = 0;
  l->OnChangeIndex = [&](TObject*) { ++changes; };
  l->SetItemIndex(3);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(l->GetSelected(3));
  l->SetItemIndex(3);
  EXPECT_EQ(changes, 1) << "the same index fires nothing";
  l->SetItemIndex(4);
  EXPECT_FALSE(l->GetSelected(3)) << "single selection marks one line";
  EXPECT_TRUE(l->GetSelected(4));

  // Outside the lines (below or beyond) nothing changes.
  for (int bad : {-1, -300, 20, 1000}) {
    l->SetSelected(bad, true);
    EXPECT_EQ(l->GetItemIndex(), 4) << bad;
  }
  EXPECT_EQ(changes, 2);
  l->SetSelected(7, true);
  EXPECT_EQ(l->GetItemIndex(), 7);
  EXPECT_FALSE(l->GetSelected(4));

  TFlatListBox* m = form->Many;
  m->SetItemIndex(2);
  EXPECT_TRUE(m->GetSelected(2));
  m->SetSelected(1, true);
  EXPECT_TRUE(m->GetSelected(2) && m->GetSelected(1)) << "multiple selection keeps marks";
  m->SetItemIndex(2);
  EXPECT_FALSE(m->GetSelected(2)) << "setting the index toggles its mark";
  m->SetSelected(1, false);
  EXPECT_FALSE(m->GetSelected(1));
}

TEST_F(FlatListBox, ChangedLinesClearTheMarksAndClampTheIndexEvenWhenDisabled) {
  TFlatListBox* l = form->Players;
  l->SetItemIndex(15);
  l->SetEnabled(false);
  int changes = 0;
  l->OnChangeIndex = [&](TObject*) { ++changes; };
  while (l->GetItems()->Count() > 10) l->GetItems()->Delete(l->GetItems()->Count() - 1);
  EXPECT_EQ(l->GetItemIndex(), -1);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(l->GetSelected(15));
  l->SetEnabled(true);
  l->SetItemIndex(2);
  l->GetItems()->Add(L"more");
  EXPECT_EQ(l->GetItemIndex(), 2) << "an index still inside stays";
  EXPECT_FALSE(l->GetSelected(2)) << "but the marks go";
}

TEST_F(FlatListBox, ClicksOnRowsSelect) {
  TFlatListBox* l = form->Short;
  int changes = 0, downs = 0, clicks = 0;
  l->OnChangeIndex = [&](TObject*) { ++changes; };
  l->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  l->OnClick = [&](TObject*) { ++clicks; };
  ClickRow(l, 1);
  EXPECT_EQ(l->GetItemIndex(), 1);
  EXPECT_TRUE(l->GetSelected(1));
  EXPECT_TRUE(l->Focused());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(downs, 0) << "a press on a row is the list's own";
  ClickRow(l, 3);
  EXPECT_EQ(l->GetItemIndex(), -1) << "below the last line: none";
  EXPECT_FALSE(l->GetSelected(1));
  EXPECT_EQ(changes, 2);

  TFlatListBox* m = form->Many;
  ClickRow(m, 1);
  ClickRow(m, 2);
  EXPECT_TRUE(m->GetSelected(1) && m->GetSelected(2));
  ClickRow(m, 1);
  EXPECT_FALSE(m->GetSelected(1)) << "a second click takes the mark off";
  EXPECT_EQ(m->GetItemIndex(), 1);
}

TEST_F(FlatListBox, HoldingAStripRepeatsOnTheClockAndStopsAtTheEnd) {
  TManualClock clock;
  TClockOverride useClock(clock);
  TFlatListBox* l = form->Players;
  auto advance = [&](int ms, int step = 10) {
    for (int t = 0; t < ms; t += step) {
      clock.Advance(step);
      Pump(15ms);
      PumpDueTimers();
    }
  };
  const int bottom = l->GetClientHeight() - 5, x = l->GetClientWidth() / 2;
  Press(l, x, bottom);
  EXPECT_EQ(l->TopIndex(), 1) << "the press steps once";
  EXPECT_TRUE(l->Repeating());
  advance(590);
  EXPECT_EQ(l->TopIndex(), 1);
  advance(20);
  EXPECT_EQ(l->TopIndex(), 2) << "first repeat at 600 ms";
  advance(300);
  EXPECT_EQ(l->TopIndex(), 5) << "then every 100 ms";
  advance(2000, 50);
  EXPECT_EQ(l->TopIndex(), 8) << "stops with the last line in view (20 - 12)";
  EXPECT_FALSE(l->Repeating());
  Release(l, x, bottom);

  Press(l, x, 5);
  EXPECT_EQ(l->TopIndex(), 7);
  advance(610);
  EXPECT_EQ(l->TopIndex(), 6);
  Release(l, x, 5);
  EXPECT_FALSE(l->Repeating());
  advance(500, 50);
  EXPECT_EQ(l->TopIndex(), 6) << "the release stops it";
}

TEST_F(FlatListBox, TheRepeatStopsWhenItsListGoes) {
  TManualClock clock;
  TClockOverride useClock(clock);
  TFlatListBox* l = form->Players;
  Press(l, l->GetClientWidth() / 2, l->GetClientHeight() - 5);
  ASSERT_TRUE(TFlatListBox::AnyRepeating());
  delete l;
  form->Players = nullptr;
  EXPECT_FALSE(TFlatListBox::AnyRepeating());
  for (int t = 0; t < 800; t += 50) {
    clock.Advance(50);
    Pump(5ms);
    PumpDueTimers();
  }
  // The other lists still scroll by their strips.
  form->Short->SetScrollBars(true);
  Press(form->Short, 10, form->Short->GetClientHeight() - 5);
  EXPECT_TRUE(form->Short->Repeating());
  Release(form->Short, 10, form->Short->GetClientHeight() - 5);
}

TEST_F(FlatListBox, TheWheelReadsTheWholeDelta) {
  TFlatListBox* l = form->Players;  // 20 lines, 12 rows: the last top line is 8
  {
    TWheelLines three(3);
    struct Step {
      int delta;
      int top;
    };
    const Step steps[] = {{-120, 3}, {-240, 8}, {120, 5}, {-60, 5}, {-60, 8},
                          {360, 0},  {-240, 6}, {-30, 6}, {60, 6},  {60, 3}};
    for (const Step& s : steps) {
      Wheel(l, s.delta);
      EXPECT_EQ(l->TopIndex(), s.top) << s.delta;
    }
    Wheel(l, -120, RegisterWindowMessageW(L"MSWHEEL_ROLLMSG"));
    EXPECT_EQ(l->TopIndex(), 6) << "the older drivers' message scrolls the same";
  }
  {
    TWheelLines page(WHEEL_PAGESCROLL);
    TFlatListBox* s = form->Many;  // 3 lines, 5 rows
    Wheel(s, -120);
    EXPECT_EQ(s->TopIndex(), 0) << "a list shorter than a page stays";
    l->GetItems()->Clear();
    for (int i = 0; i < 40; ++i) l->GetItems()->Add(L"player " + std::to_wstring(i));
    Wheel(l, 360);
    EXPECT_EQ(l->TopIndex(), 0);
    Wheel(l, -120);
    EXPECT_EQ(l->TopIndex(), 12) << "page scrolling moves a page";
    Wheel(l, -240);
    EXPECT_EQ(l->TopIndex(), 28);
  }
}

TEST_F(FlatListBox, PagingAndArrowKeys) {
  TFlatListBox* l = form->Players;
  int downs = 0;
  l->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++downs; };
  Key(l, VK_NEXT);
  EXPECT_EQ(l->TopIndex(), 8) << "the last page stays full";
  Key(l, VK_DOWN);
  EXPECT_EQ(l->TopIndex(), 8);
  Key(l, VK_UP);
  EXPECT_EQ(l->TopIndex(), 7);
  Key(l, VK_PRIOR);
  EXPECT_EQ(l->TopIndex(), 0);
  Key(l, VK_DOWN);
  EXPECT_EQ(l->TopIndex(), 1);
  EXPECT_EQ(l->GetItemIndex(), -1) << "the selection never follows";
  Key(form->Short, VK_NEXT);
  EXPECT_EQ(form->Short->TopIndex(), 0) << "shorter than a page";
  Key(l, VK_HOME);
  EXPECT_GT(downs, 0) << "other keys reach OnKeyDown";
}

TEST_F(FlatListBox, PaintsRowsStripsAndArrows) {
  TFlatListBox* l = form->Players;
  l->SetItemIndex(1);
  const COLORREF border = ColorToRGB(l->GetColorBorder());
  const int mid = l->GetClientWidth() / 2 - 6, bottom = l->GetClientHeight();
  {
    TMemoryPaint shot(l);
    EXPECT_EQ(shot.At(0, 100), border);
    EXPECT_EQ(shot.At(4, 5), ColorToRGB(l->GetColor())) << "the strip";
    EXPECT_EQ(shot.At(4, 10), border) << "the strip's frame";
    const TRect row = l->RowRect(1);
    EXPECT_EQ(shot.At(row.Right - 2, row.Top + 2), ColorToRGB(l->GetColorItemsSelect()));
    EXPECT_EQ(shot.At(row.Left, row.Top + 2), border);
    const TRect plain = l->RowRect(2);
    EXPECT_EQ(shot.At(plain.Right - 2, plain.Top + 2), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(shot.At(mid + 6, 5), RGB(0x80, 0x80, 0x80)) << "at the top: the up arrow is grey";
    EXPECT_EQ(shot.At(mid + 6, bottom - 6), RGB(0, 0, 0)) << "the down arrow can scroll";
  }
  Wheel(l, -120 * 10);
  TMemoryPaint shot(l);
  EXPECT_EQ(shot.At(mid + 6, 5), RGB(0, 0, 0));
  EXPECT_EQ(shot.At(mid + 6, bottom - 6), RGB(0x80, 0x80, 0x80));
}

TEST_F(FlatListBox, AdvancedColoursDarkenTheParentsColour) {
  TFlatListBox* l = form->Short;
  l->SetColor(static_cast<TColor>(0x40C080));
  EXPECT_FALSE(l->GetParentColor());
  l->SetUseAdvColors(true);
  EXPECT_TRUE(l->GetParentColor()) << "the strips take the form's colour again";
  EXPECT_EQ(l->GetColor(), form->GetColor());
  const TColor expected = Flat::AdjustColorLightness(form->GetColor(), 0x8396A0, 40, Flat::TColorCalcType::Darken);
  EXPECT_EQ(l->GetColorBorder(), expected);
  form->SetColor(static_cast<TColor>(0x602020));
  EXPECT_EQ(l->GetColorBorder(), Flat::AdjustColorLightness(0x602020, 0, 40, Flat::TColorCalcType::Darken));
}

TEST_F(FlatListBox, Screenshot) {
  form->Players->SetItemIndex(2);
  form->Many->SetSelected(1, true);
  form->Many->SetSelected(2, true);
  form->Short->SetEnabled(false);
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_list_box.png"));
}

}  // namespace
