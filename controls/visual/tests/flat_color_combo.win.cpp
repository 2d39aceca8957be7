// Flat colour combo boxes on a form read from its resource: the sixteen colours
// and "Other", Value set from code and by the user, the colour dialog confirmed
// and cancelled (answered by the test's dialog service), a new window after a
// font change, and the drawn lines.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatColorComboBoxUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatColorComboBox;

class TTestFlatColorComboForm : public TForm {
  QORN_CLASS(TTestFlatColorComboForm, TForm)
 public:
  explicit TTestFlatColorComboForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatColorComboBox *Back = nullptr, *Named = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatColorComboForm>& p) {
    p.Field(L"Back", &TTestFlatColorComboForm::Back);
    p.Field(L"Named", &TTestFlatColorComboForm::Named);
  }
};
QORN_REGISTER_CLASS(TTestFlatColorComboForm);

// Answers the colour dialog with a colour, or cancels it; counts the dialogs.
struct TColorAnswer : TDialogService {
  bool confirm = true;
  TColor choice = clBlack;
  int shown = 0;
  bool ExecuteFileDialog(HWND, TOpenDialog&) override { return false; }
  bool ExecuteFontDialog(HWND, TFontDialog&) override { return false; }
  bool ExecuteColorDialog(HWND, TColorDialog& dialog) override {
    ++shown;
    if (confirm) dialog.SetColor(choice);
    return confirm;
  }
  int MessageBox(HWND, const std::wstring&, const std::wstring&, unsigned) override { return IDOK; }
  bool InputQuery(HWND, const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
};

struct TCounts {
  int changes = 0, clicks = 0;
  void Watch(TFlatColorComboBox* c) {
    c->OnChange = [this](TObject*) { ++changes; };
    c->OnClick = [this](TObject*) { ++clicks; };
  }
};

class FlatColorCombo : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatColorComboForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // The user picks a line with the keyboard, as from the open list.
  static void Pick(TFlatColorComboBox* c, WORD vk) {
    c->SetFocus();
    SendMessageW(c->GetHandle(), WM_KEYDOWN, vk, 1);
    Pump(10ms);
  }
  TTestFlatColorComboForm* form = nullptr;
};

TEST_F(FlatColorCombo, LoadsWithItsColoursAndValue) {
  TFlatColorComboBox* c = form->Back;
  EXPECT_STREQ(c->ClassName().c_str(), L"TFlatColorComboBox");
  EXPECT_EQ(c->GetStyle(), csOwnerDrawFixed);
  ASSERT_EQ(c->GetItems()->Count(), 17);
  const struct {
    int index;
    const wchar_t* name;
    TColor color;
  } lines[] = {{0, L"Black", 0x000000}, {1, L"Maroon", 0x000080},   {6, L"Teal", 0x808000},   {8, L"Silver", 0xC0C0C0},
               {9, L"Red", 0x0000FF},   {13, L"Fuchsia", 0xFF00FF}, {15, L"White", 0xFFFFFF}, {16, L"Other", 0}};
  for (const auto& l : lines) {
    EXPECT_EQ(c->GetItems()->Get(l.index), l.name);
    EXPECT_EQ(c->ColorAt(l.index), l.color) << l.name;
  }
  EXPECT_EQ(c->GetValue(), clRed) << "a Value streamed before the window";
  EXPECT_EQ(c->GetItemIndex(), 9);
  EXPECT_EQ(SendMessageW(c->GetHandle(), CB_GETCURSEL, 0, 0), 9) << "and the window shows it";
  EXPECT_EQ(c->GetColorHighlight(), clSilver);
  EXPECT_EQ(c->GetAdvColorHighlight(), 30);
  EXPECT_FALSE(c->GetShowNames());
  EXPECT_EQ(form->Named->GetItemIndex(), 6);
  TFlatColorComboBox fresh(nullptr);
  EXPECT_EQ(fresh.GetAdvColorHighlight(), 30);
  EXPECT_EQ(fresh.GetValue(), clBlack);
  EXPECT_EQ(fresh.GetItemIndex(), 0);
}

TEST_F(FlatColorCombo, SetValueSelectsTheFirstLineOfThatColour) {
  TFlatColorComboBox* c = form->Back;
  TCounts counts;
  counts.Watch(c);
  c->SetValue(clBlack);
  EXPECT_EQ(c->GetItemIndex(), 0) << "Black, not Other that also holds 0";
  EXPECT_EQ(counts.changes, 1);
  c->SetValue(clBlack);
  EXPECT_EQ(counts.changes, 1) << "the same value: nothing";
  for (TColor unknown : {static_cast<TColor>(0x123456), static_cast<TColor>(-1), clBtnFace}) {
    c->SetValue(unknown);
    EXPECT_EQ(c->GetValue(), clBlack);
    EXPECT_EQ(c->GetItemIndex(), 0);
  }
  EXPECT_EQ(counts.changes, 1);
  c->SetValue(static_cast<TColor>(0x00FFFF));
  EXPECT_EQ(c->GetItemIndex(), 11);
  EXPECT_EQ(counts.changes, 2);
  EXPECT_EQ(counts.clicks, 0);
}

TEST_F(FlatColorCombo, AUserPickFiresOneChange) {
  TFlatColorComboBox* c = form->Back;
  TCounts counts;
  counts.Watch(c);
  Pick(c, VK_DOWN);
  EXPECT_EQ(c->GetItemIndex(), 10);
  EXPECT_EQ(c->GetValue(), static_cast<TColor>(0x00FF00));
  EXPECT_EQ(counts.changes, 1);
  EXPECT_EQ(counts.clicks, 1);
}

TEST_F(FlatColorCombo, OtherTakesTheDialogsColourAndKeepsItInANewWindow) {
  TColorAnswer answer;
  TDialogServiceOverride use(answer);
  answer.choice = static_cast<TColor>(0x123456);
  TFlatColorComboBox* c = form->Back;
  TCounts counts;
  counts.Watch(c);
  c->SetValue(answer.choice);
  EXPECT_EQ(c->GetValue(), clRed) << "no line holds it yet";
  Pick(c, VK_END);
  EXPECT_EQ(answer.shown, 1);
  EXPECT_EQ(c->GetItemIndex(), Flat::kFlatColorOtherIndex);
  EXPECT_EQ(c->ColorAt(Flat::kFlatColorOtherIndex), answer.choice);
  EXPECT_EQ(c->GetValue(), answer.choice);
  EXPECT_EQ(counts.changes, 1);
  EXPECT_EQ(counts.clicks, 1);

  c->SetValue(clNavy);
  c->SetValue(answer.choice);
  EXPECT_EQ(c->GetItemIndex(), Flat::kFlatColorOtherIndex) << "now Other holds it";
  const int changes = counts.changes;

  // A font change makes the window anew: same lines, same colour, no event.
  HWND before = c->GetHandle();
  c->GetFont()->SetSize(10);
  Pump(10ms);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(c->GetValue(), answer.choice);
  EXPECT_EQ(c->GetItemIndex(), Flat::kFlatColorOtherIndex);
  EXPECT_EQ(c->ColorAt(Flat::kFlatColorOtherIndex), answer.choice);
  EXPECT_EQ(SendMessageW(c->GetHandle(), CB_GETCOUNT, 0, 0), 17);
  EXPECT_EQ(counts.changes, changes);

  c->SetValue(clNavy);
  c->RecreateWnd();
  Pump(10ms);
  EXPECT_EQ(c->GetItemIndex(), 4);
  EXPECT_EQ(SendMessageW(c->GetHandle(), CB_GETCURSEL, 0, 0), 4);
  EXPECT_EQ(counts.changes, changes + 1) << "only the SetValue";
}

TEST_F(FlatColorCombo, ACancelledDialogChangesNothing) {
  TColorAnswer answer;
  answer.confirm = false;
  TDialogServiceOverride use(answer);
  TFlatColorComboBox* c = form->Back;
  TCounts counts;
  counts.Watch(c);
  Pick(c, VK_END);
  EXPECT_EQ(answer.shown, 1);
  EXPECT_EQ(c->GetValue(), clRed);
  EXPECT_EQ(c->GetItemIndex(), 9) << "the line of Value again";
  EXPECT_EQ(SendMessageW(c->GetHandle(), CB_GETCURSEL, 0, 0), 9);
  EXPECT_EQ(c->ColorAt(Flat::kFlatColorOtherIndex), clBlack);
  EXPECT_EQ(counts.changes, 0);
  EXPECT_EQ(counts.clicks, 0);
}

// Draws line index of c into a memory bitmap through the owner-draw road.
class TDrawnLine {
 public:
  TDrawnLine(TFlatColorComboBox* c, int index, bool selected) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, kWidth, kHeight);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bmp_);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = static_cast<UINT>(index);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hwndItem = c->GetHandle();
    dis.hDC = dc_;
    dis.rcItem = RECT{0, 0, kWidth, kHeight};
    c->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
  }
  ~TDrawnLine() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  // Whether any pixel of column range [x0, x1) is in colour.
  bool AnyIn(int x0, int x1, COLORREF colour) const {
    for (int x = x0; x < x1; ++x)
      for (int y = 0; y < kHeight; ++y)
        if (At(x, y) == colour) return true;
    return false;
  }
  static constexpr int kWidth = 100, kHeight = 13;

 private:
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

TEST_F(FlatColorCombo, LinesAreColourBoxesWithOrWithoutNames) {
  TFlatColorComboBox* c = form->Back;  // names off
  {
    TDrawnLine red(c, 9, false);
    EXPECT_EQ(red.At(1, 1), RGB(0, 0, 0)) << "the box's black outline";
    EXPECT_EQ(red.At(5, 6), RGB(0xFF, 0, 0));
    EXPECT_EQ(red.At(90, 6), RGB(0xFF, 0, 0)) << "names off: a wide bar";
    EXPECT_EQ(red.At(99, 6), RGB(0xFF, 0xFF, 0xFF)) << "ending before the edge";
  }
  {
    TDrawnLine other(c, Flat::kFlatColorOtherIndex, true);
    EXPECT_EQ(other.At(12, 1), RGB(0, 0, 0)) << "a 12-pixel box";
    EXPECT_EQ(other.At(30, 0), RGB(0xC0, 0xC0, 0xC0)) << "selected: ColorHighlight";
    EXPECT_TRUE(other.AnyIn(18, 60, GetSysColor(COLOR_HIGHLIGHTTEXT))) << "and its name";
  }
  TDrawnLine teal(form->Named, 6, false);
  EXPECT_EQ(teal.At(6, 6), RGB(0, 0x80, 0x80));
  EXPECT_EQ(teal.At(40, 0), RGB(0xFF, 0xFF, 0xFF));
  EXPECT_TRUE(teal.AnyIn(18, 60, RGB(0, 0, 0))) << "names on: the name beside the box";
  EXPECT_FALSE(teal.AnyIn(70, 100, RGB(0, 0x80, 0x80)));
}

TEST_F(FlatColorCombo, TheFocusStripUsesColorHighlight) {
  TFlatColorComboBox* c = form->Back;
  c->SetFocus();
  Pump(10ms);
  TMemoryPaint shot(c);
  EXPECT_EQ(shot.At(c->GetClientWidth() - 2 - 11 - 6, c->GetHeight() / 2), RGB(0xC0, 0xC0, 0xC0));
}

TEST_F(FlatColorCombo, Screenshot) {
  form->Named->SetFocus();
  form->Named->SetDroppedDown(true);
  Pump(80ms);
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_color_combo.png"));
  form->Named->SetDroppedDown(false);
}

}  // namespace
