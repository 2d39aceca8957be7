// Flat edits and memos on a form read from its resource: the painted 3-pixel
// border and its colours (read back from the window's own DC), focus and hover by
// real mouse moves, the parent's colour, the height that follows the font, and
// what the form stores.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatEditUnit.h"
#include "controls/visual/TFlatMemoUnit.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatEdit;
using Flat::TFlatMemo;

constexpr TColor kFormColor = static_cast<TColor>(15461355);
constexpr TColor kBorder = static_cast<TColor>(0x8396A0);

class TTestFlatEditsForm : public TForm {
  QORN_CLASS(TTestFlatEditsForm, TForm)
 public:
  explicit TTestFlatEditsForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr;
  TFlatMemo *Memo1 = nullptr, *Memo2 = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatEditsForm>& p) {
    p.Field(L"Edit1", &TTestFlatEditsForm::Edit1);
    p.Field(L"Edit2", &TTestFlatEditsForm::Edit2);
    p.Field(L"Edit3", &TTestFlatEditsForm::Edit3);
    p.Field(L"Memo1", &TTestFlatEditsForm::Memo1);
    p.Field(L"Memo2", &TTestFlatEditsForm::Memo2);
  }
};
QORN_REGISTER_CLASS(TTestFlatEditsForm);

// One pixel of the whole window (non-client area included), as the screen shows it.
TColor WindowPixel(TWinControl* c, int x, int y) {
  HDC dc = GetWindowDC(c->GetHandle());
  const COLORREF px = GetPixel(dc, x, y);
  ReleaseDC(c->GetHandle(), dc);
  return static_cast<TColor>(px);
}

struct TBand {
  TColor Outer, Inner;
};
TBand BandOf(TWinControl* c) {
  const int mid = c->GetHeight() / 2;
  return {WindowPixel(c, 0, mid), WindowPixel(c, 2, mid)};
}

class FlatEdits : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatEditsForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    // The edits start idle: the focus is in a memo, whose focused colour is its own.
    form->Memo1->SetFocus();
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // The cursor really over the control, and the move it makes.
  static void HoverOver(TWinControl* c) {
    const TPoint s = c->ClientToScreen({4, 4});
    SetCursorPos(s.X, s.Y);
    SendMessageW(c->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    Pump(20ms);
  }
  void MoveAway() {
    const TPoint s = form->ClientToScreen({4, form->GetClientHeight() - 4});
    SetCursorPos(s.X, s.Y);
    SendMessageW(form->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, form->GetClientHeight() - 4));
    Pump(20ms);
  }
  TTestFlatEditsForm* form = nullptr;
};

TEST_F(FlatEdits, LoadsWithItsDefaults) {
  TFlatEdit* e = form->Edit1;
  EXPECT_STREQ(e->ClassName().c_str(), L"TFlatEdit");
  EXPECT_EQ(e->GetColorFocused(), clWhite);
  EXPECT_EQ(e->GetColorBorder(), kBorder);
  EXPECT_TRUE(e->GetFlatParentColor());
  EXPECT_EQ(e->GetColorFlat(), kFormColor) << "follows the form";
  EXPECT_FALSE(e->GetUseAdvColors());
  EXPECT_EQ(e->GetAdvColorFocused(), 10);
  EXPECT_EQ(e->GetAdvColorBorder(), 50);
  EXPECT_EQ(e->GetBorderStyle(), bsNone);
  EXPECT_FALSE(form->Edit2->GetFlatParentColor());
  EXPECT_EQ(form->Edit2->GetColorFlat(), clWhite);
  EXPECT_EQ(form->Memo1->GetScrollBars(), ssVertical);
  EXPECT_EQ(form->Memo1->GetLines()->Count(), 2);

  TFlatEdit fresh(nullptr);
  EXPECT_EQ(fresh.GetWidth(), 121);
  EXPECT_EQ(fresh.GetHeight(), 19);
  EXPECT_EQ(fresh.GetColorFlat(), Flat::kFlatDefaultColor);
  TFlatMemo memo(nullptr);
  EXPECT_EQ(memo.GetWidth(), 185);
  EXPECT_EQ(memo.GetHeight(), 89);
}

TEST_F(FlatEdits, HeightFollowsTheFontAfterLoadingAndOnChange) {
  for (TFlatEdit* e : {form->Edit1, form->Edit2}) {
    const int tm = Flat::GetFontTextMetrics(e->GetFont()).tmHeight;
    EXPECT_EQ(e->GetHeight(), tm + 6) << "whatever the form stored";
  }
  form->Edit2->GetFont()->SetSize(16);
  const int tm = Flat::GetFontTextMetrics(form->Edit2->GetFont()).tmHeight;
  EXPECT_GT(tm, 13);
  EXPECT_EQ(form->Edit2->GetHeight(), tm + 6);
}

TEST_F(FlatEdits, ClientAreaLiesInsideTheThreePixelBand) {
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  for (TWinControl* c : std::initializer_list<TWinControl*>{form->Edit1, form->Memo1, form->Memo2}) {
    RECT client{}, window{};
    GetClientRect(c->GetHandle(), &client);
    GetWindowRect(c->GetHandle(), &window);
    // The memos' scroll bars lie inside the band, beside the client area.
    const int vertical = c == form->Edit1 ? 0 : bar, horizontal = c == form->Memo2 ? bar : 0;
    EXPECT_EQ(client.right, window.right - window.left - 6 - vertical) << c->Name();
    EXPECT_EQ(client.bottom, window.bottom - window.top - 6 - horizontal) << c->Name();
    POINT origin{0, 0};
    ClientToScreen(c->GetHandle(), &origin);
    EXPECT_EQ(origin.x - window.left, 3) << c->Name();
    EXPECT_EQ(origin.y - window.top, 3) << c->Name();
  }
}

TEST_F(FlatEdits, IdleAndFocusedBands) {
  EXPECT_EQ(BandOf(form->Edit1).Outer, kBorder);
  EXPECT_EQ(BandOf(form->Edit1).Inner, kFormColor);
  EXPECT_EQ(BandOf(form->Edit2).Inner, clWhite);
  EXPECT_EQ(form->Edit1->GetColor(), kFormColor) << "the text area takes the band's colour";

  form->Edit1->SetColorFocused(static_cast<TColor>(0x00FFEE));
  form->Edit1->SetFocus();
  Pump(20ms);
  EXPECT_EQ(BandOf(form->Edit1).Inner, TColor(0x00FFEE));
  EXPECT_EQ(form->Edit1->GetColor(), TColor(0x00FFEE));
  EXPECT_EQ(WindowPixel(form->Edit1, 1, 5), TColor(0x00FFEE)) << "both rings of the band";

  form->Memo1->SetFocus();
  Pump(20ms);
  EXPECT_EQ(BandOf(form->Edit1).Inner, kFormColor) << "back to idle";
  EXPECT_EQ(BandOf(form->Memo1).Inner, clWhite) << "the memo's focused colour";
}

TEST_F(FlatEdits, HoverLightsOnlyWhileNoOtherOfTheKindHasTheFocus) {
  form->Memo1->SetFocus();
  Pump(20ms);
  HoverOver(form->Edit1);
  EXPECT_TRUE(form->Edit1->MouseIn());
  EXPECT_EQ(BandOf(form->Edit1).Inner, clWhite) << "a memo has the focus: the edit lights";
  MoveAway();
  EXPECT_FALSE(form->Edit1->MouseIn());
  EXPECT_EQ(BandOf(form->Edit1).Inner, kFormColor);

  form->Edit2->SetFocus();
  Pump(20ms);
  HoverOver(form->Edit1);
  EXPECT_TRUE(form->Edit1->MouseIn());
  EXPECT_EQ(BandOf(form->Edit1).Inner, kFormColor) << "another flat edit has the focus";
  HoverOver(form->Memo2);
  EXPECT_EQ(BandOf(form->Memo2).Inner, clWhite) << "the memo lights beside a focused edit";
  HoverOver(form->Edit1);
  EXPECT_EQ(BandOf(form->Memo2).Inner, kFormColor);
  MoveAway();
  EXPECT_EQ(BandOf(form->Edit2).Inner, clWhite) << "the focused edit keeps its look when the mouse goes";
}

TEST_F(FlatEdits, ColorFlatTurnsParentColorOffAndParentColorFollowsTheForm) {
  form->SetColor(static_cast<TColor>(0xCCDDEE));
  Pump(20ms);
  EXPECT_EQ(form->Edit1->GetColorFlat(), TColor(0xCCDDEE));
  EXPECT_EQ(BandOf(form->Edit1).Inner, TColor(0xCCDDEE));
  EXPECT_EQ(form->Memo2->GetColorFlat(), TColor(0xCCDDEE));
  EXPECT_EQ(form->Edit2->GetColorFlat(), clWhite) << "its own colour";

  form->Edit1->SetColorFlat(static_cast<TColor>(0x112233));
  EXPECT_FALSE(form->Edit1->GetFlatParentColor());
  form->SetColor(static_cast<TColor>(0xAABBCC));
  Pump(20ms);
  EXPECT_EQ(form->Edit1->GetColorFlat(), TColor(0x112233)) << "no longer follows";
  EXPECT_EQ(BandOf(form->Edit1).Inner, TColor(0x112233));

  form->Edit2->SetFlatParentColor(true);
  Pump(20ms);
  EXPECT_EQ(form->Edit2->GetColorFlat(), TColor(0xAABBCC)) << "turning it on takes the parent's colour";
  EXPECT_EQ(BandOf(form->Edit2).Inner, TColor(0xAABBCC));
}

TEST_F(FlatEdits, UseAdvColorsDerivesTheShadesFromTheFlatColour) {
  TFlatEdit* e = form->Edit2;
  e->SetUseAdvColors(true);
  EXPECT_TRUE(e->GetFlatParentColor());
  EXPECT_EQ(e->GetColorFlat(), kFormColor);
  EXPECT_EQ(e->GetColorFocused(), Flat::AdjustColorLightness(kFormColor, clWhite, 10, Flat::TColorCalcType::Lighten));
  EXPECT_EQ(e->GetColorBorder(), Flat::AdjustColorLightness(kFormColor, kBorder, 50, Flat::TColorCalcType::Darken));
  EXPECT_EQ(BandOf(e).Outer, e->GetColorBorder());
}

TEST_F(FlatEdits, ParentColorIsStoredWhenOffAndReadBack) {
  const std::string text = WriteComponentToText(form);
  const size_t edit1 = text.find("object Edit1"), edit2 = text.find("object Edit2"), edit3 = text.find("object Edit3");
  ASSERT_NE(edit2, std::string::npos);
  const std::string ofEdit1 = text.substr(edit1, edit2 - edit1), ofEdit2 = text.substr(edit2, edit3 - edit2);
  EXPECT_EQ(ofEdit1.find("ParentColor"), std::string::npos) << "on is the default";
  EXPECT_NE(ofEdit2.find("ParentColor = False"), std::string::npos) << ofEdit2;
  EXPECT_NE(ofEdit2.find("ColorFlat = clWhite"), std::string::npos) << ofEdit2;
}

// The band sets the control's Color from WM_NCPAINT: repainting it must settle
// instead of feeding itself.
TEST_F(FlatEdits, RedrawingTheBandDoesNotStartAnotherPaint) {
  int ncPaints = 0;
  auto old = form->Edit1->WindowProc;
  form->Edit1->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_NCPAINT) ++ncPaints;
    old(m);
  };
  RedrawWindow(form->Edit1->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(50ms);
  const int settled = ncPaints;
  EXPECT_GE(settled, 1);
  form->Edit1->SetColorFlat(form->Edit1->GetColorFlat());
  form->Edit1->SetColorBorder(kBorder);
  Pump(100ms);
  EXPECT_EQ(ncPaints, settled);
  form->Edit1->WindowProc = old;
}

TEST_F(FlatEdits, MemoSizeBoxTakesTheBandColour) {
  TFlatMemo* m = form->Memo2;
  const int w = m->GetWidth(), h = m->GetHeight();
  EXPECT_EQ(WindowPixel(m, w - 10, h - 10), kFormColor) << "the square between the scroll bars";
  EXPECT_EQ(WindowPixel(m, w - 1, h / 2), kBorder);
  EXPECT_EQ(WindowPixel(m, w - 2, h / 2), kFormColor);
}

TEST_F(FlatEdits, Screenshot) {
  form->Edit2->SetFocus();
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_edits.png"));
}

}  // namespace
