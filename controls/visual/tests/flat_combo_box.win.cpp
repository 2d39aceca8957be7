// Flat combo boxes on a form read from its resource: the flat frame, button and
// arrow read back as pixels, the list dropped down by message, the focus strip,
// the colours that follow the parent, the list's brush and what a font change does.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatComboBoxUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatComboBox;

class TTestFlatCombosForm : public TForm {
  QORN_CLASS(TTestFlatCombosForm, TForm)
 public:
  explicit TTestFlatCombosForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatComboBox *List = nullptr, *Typed = nullptr, *Off = nullptr, *Adv = nullptr;
  TPanel* Panel = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatCombosForm>& p) {
    p.Field(L"List", &TTestFlatCombosForm::List);
    p.Field(L"Typed", &TTestFlatCombosForm::Typed);
    p.Field(L"Off", &TTestFlatCombosForm::Off);
    p.Field(L"Adv", &TTestFlatCombosForm::Adv);
    p.Field(L"Panel", &TTestFlatCombosForm::Panel);
  }
};
QORN_REGISTER_CLASS(TTestFlatCombosForm);

// Where the arrow's triangle starts inside the button of c.
struct TArrowOrigin {
  int x0, y0, buttonLeft;
};
TArrowOrigin ArrowOf(TFlatComboBox* c) {
  const TRect b = c->ButtonRect();
  const int left = b.Left - 1, right = b.Right + 1;
  return {left + (right - left) / 2 - 6, c->GetHeight() / 2 - 1, left};
}

COLORREF Rgb(TColor c) { return ColorToRGB(c); }

class FlatComboBox : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatCombosForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestFlatCombosForm* form = nullptr;
};

TEST_F(FlatComboBox, LoadsFromItsResourceAndSelectsFromCodeSilently) {
  TFlatComboBox* c = form->List;
  EXPECT_STREQ(c->ClassName().c_str(), L"TFlatComboBox");
  EXPECT_EQ(c->GetStyle(), csDropDownList);
  EXPECT_EQ(c->GetItems()->Count(), 3);
  EXPECT_EQ(c->GetItemIndex(), 1);
  EXPECT_EQ(c->GetText(), L"German");
  EXPECT_EQ(c->GetDropDownCount(), 10);
  EXPECT_EQ(c->GetColor(), clWhite);
  EXPECT_EQ(c->GetColorArrowBackground(), clWhite);
  EXPECT_EQ(c->GetColorArrow(), clBlack);
  EXPECT_EQ(c->GetColorBorder(), static_cast<TColor>(0x8396A0));
  EXPECT_EQ(form->Typed->GetStyle(), csDropDown);
  EXPECT_EQ(form->Typed->GetText(), L"free text");
  EXPECT_EQ(form->Off->GetColor(), static_cast<TColor>(0xE1EAEB)) << "the streamed default";
  EXPECT_EQ(form->Off->GetColorArrowBackground(), static_cast<TColor>(0xC5D6D9));

  int changes = 0;
  c->OnChange = [&](TObject*) { ++changes; };
  c->SetItemIndex(2);
  EXPECT_EQ(c->GetText(), L"French");
  c->SetItemIndex(-1);
  EXPECT_EQ(c->GetItemIndex(), -1);
  EXPECT_EQ(changes, 0) << "an index set from code fires no OnChange";
  c->SetItemIndex(0);
  c->SetFocus();
  SendMessageW(c->GetHandle(), WM_KEYDOWN, VK_DOWN, 1);
  Pump(10ms);
  EXPECT_EQ(c->GetItemIndex(), 1);
  EXPECT_EQ(changes, 1) << "a choice by the user does";

  // Objects ride with the items (layout handles, locale ids).
  c->GetItems()->AddObject(L"Russian", reinterpret_cast<void*>(0x0419));
  EXPECT_EQ(c->GetItems()->Objects(3), reinterpret_cast<void*>(0x0419));
}

TEST_F(FlatComboBox, PaintsItsFrameButtonAndArrow) {
  TFlatComboBox* c = form->List;
  const TArrowOrigin a = ArrowOf(c);
  TMemoryPaint shot(c);
  EXPECT_EQ(shot.At(0, 0), Rgb(c->GetColorBorder()));
  EXPECT_EQ(shot.At(1, c->GetHeight() / 2), Rgb(clWhite)) << "the band in Color, no 3D edge";
  EXPECT_EQ(shot.At(a.buttonLeft, 3), Rgb(c->GetColorBorder())) << "the button's frame";
  EXPECT_EQ(shot.At(a.buttonLeft + 2, 3), Rgb(c->GetColorArrowBackground()));
  EXPECT_EQ(shot.At(c->GetWidth() - 1, 3), Rgb(c->GetColorBorder()));
  EXPECT_EQ(shot.At(a.x0 + 4, a.y0), RGB(0, 0, 0)) << "pointing down: the wide edge on top";
  EXPECT_EQ(shot.At(a.x0 + 6, a.y0 + 1), RGB(0, 0, 0));
  EXPECT_EQ(shot.At(a.x0 + 4, a.y0 + 2), Rgb(clWhite));

  // Disabled: engraved in white and grey on the arrow background.
  TFlatComboBox* off = form->Off;
  const TArrowOrigin d = ArrowOf(off);
  TMemoryPaint grey(off);
  EXPECT_EQ(grey.At(d.x0 + 6, d.y0 + 1), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(grey.At(d.x0 + 7, d.y0 + 3), RGB(0xFF, 0xFF, 0xFF)) << "the white copy one pixel down-right";
  EXPECT_EQ(grey.At(d.x0 + 1, d.y0 + 1), Rgb(off->GetColorArrowBackground()));
}

TEST_F(FlatComboBox, TheArrowTurnsUpWhileTheListIsDown) {
  TFlatComboBox* c = form->List;
  const TArrowOrigin a = ArrowOf(c);
  // The list closes when the form loses the activation, as it should; a window of
  // another test's program taking it for a moment makes the drop-down come again.
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (!qorn::testing::BringToFront(form->GetHandle())) return false;
        c->SetFocus();
        c->SetDroppedDown(true);
        Pump(30ms);
        return c->GetDroppedDown() && GetForegroundWindow() == form->GetHandle();
      },
      30s))
      << "the list never stayed down";
  EXPECT_TRUE(c->IsListShown());
  EXPECT_TRUE(c->IsActive());
  {
    TMemoryPaint shot(c);
    EXPECT_EQ(shot.At(a.x0 + 4, a.y0 + 2), RGB(0, 0, 0)) << "pointing up: the wide edge below";
    EXPECT_EQ(shot.At(a.x0 + 4, a.y0), Rgb(clWhite));
  }
  c->SetDroppedDown(false);
  Pump(30ms);
  EXPECT_FALSE(c->IsListShown());
  TMemoryPaint shot(c);
  EXPECT_EQ(shot.At(a.x0 + 4, a.y0), RGB(0, 0, 0));
}

TEST_F(FlatComboBox, TheFocusStripLightsWhileFocused) {
  TFlatComboBox* c = form->List;
  const int cw = c->GetClientWidth(), mid = c->GetHeight() / 2;
  const int stripX = cw - 2 - 11 - 6;
  c->SetFocus();
  Pump(10ms);
  EXPECT_TRUE(c->IsActive());
  {
    TMemoryPaint shot(c);
    EXPECT_EQ(shot.At(stripX, mid), Rgb(clHighlight));
    EXPECT_EQ(shot.At(3, mid), Rgb(clHighlight)) << "and a frame round the text";
  }
  form->Typed->SetFocus();
  Pump(10ms);
  EXPECT_FALSE(c->IsActive());
  EXPECT_TRUE(form->Typed->IsActive()) << "its inner edit has the focus";
  TMemoryPaint shot(c);
  EXPECT_EQ(shot.At(stripX, mid), Rgb(clWhite));
}

TEST_F(FlatComboBox, AdvancedColoursFollowTheParent) {
  TFlatComboBox* c = form->Adv;
  using Flat::AdjustColorLightness;
  using Flat::TColorCalcType;
  const TColor panel = form->Panel->GetColor();
  EXPECT_EQ(c->GetColorBorder(), AdjustColorLightness(panel, 0x8396A0, 50, TColorCalcType::Darken));
  EXPECT_EQ(c->GetColorArrowBackground(), AdjustColorLightness(panel, 0xC5D6D9, 10, TColorCalcType::Darken));
  EXPECT_NE(c->GetColorBorder(), AdjustColorLightness(c->GetColor(), 0x8396A0, 50, TColorCalcType::Darken))
      << "the parent's colour, not its own";
  form->Panel->SetColor(static_cast<TColor>(0x30A050));
  EXPECT_EQ(c->GetColorBorder(), AdjustColorLightness(0x30A050, 0, 50, TColorCalcType::Darken));
}

TEST_F(FlatComboBox, TheListIsPaintedWithOneBrushFreedWithTheControl) {
  TFlatComboBox* c = form->List;
  HDC dc = GetDC(c->GetListHandle());
  auto ask = [&] {
    return reinterpret_cast<HBRUSH>(SendMessageW(c->GetHandle(), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(c->GetListHandle())));
  };
  auto colourOf = [](HBRUSH b) {
    LOGBRUSH lb{};
    return GetObjectW(b, sizeof lb, &lb) ? lb.lbColor : CLR_INVALID;
  };
  HBRUSH first = ask();
  EXPECT_EQ(ask(), first) << "no new brush per paint";
  EXPECT_EQ(colourOf(first), Rgb(clWhite));
  EXPECT_EQ(GetBkColor(dc), Rgb(clWhite));
  c->SetColor(static_cast<TColor>(0x0000C0));
  HBRUSH second = ask();
  EXPECT_EQ(colourOf(second), RGB(0xC0, 0, 0));
  EXPECT_EQ(GetObjectType(first), 0u) << "the old colour's brush is gone";
  ReleaseDC(c->GetListHandle(), dc);
  delete c;
  form->List = nullptr;
  EXPECT_EQ(GetObjectType(second), 0u);
}

TEST_F(FlatComboBox, AFontChangeRecreatesTheWindowWithItemHeight13) {
  TFlatComboBox* c = form->List;
  c->SetStyle(csOwnerDrawFixed);
  c->SetItemHeight(20);
  EXPECT_EQ(c->GetItemHeight(), 20);
  HWND before = c->GetHandle();
  c->GetFont()->SetSize(11);
  Pump(10ms);
  EXPECT_EQ(c->GetItemHeight(), 13);
  EXPECT_FALSE(IsWindow(before)) << "a new window";
  EXPECT_EQ(SendMessageW(c->GetHandle(), CB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(c->GetItemIndex(), 1) << "the selection survives";
}

TEST_F(FlatComboBox, EqualValuesRepaintNothing) {
  TFlatComboBox* c = form->List;
  HWND wnd = c->GetHandle();
  struct Setter {
    const char* name;
    std::function<void()> same, other;
  };
  const Setter setters[] = {
      {"ColorBorder", [&] { c->SetColorBorder(c->GetColorBorder()); }, [&] { c->SetColorBorder(clRed); }},
      {"ColorArrow", [&] { c->SetColorArrow(c->GetColorArrow()); }, [&] { c->SetColorArrow(clRed); }},
      {"ColorArrowBackground", [&] { c->SetColorArrowBackground(c->GetColorArrowBackground()); },
       [&] { c->SetColorArrowBackground(clRed); }},
      {"UseAdvColors", [&] { c->SetUseAdvColors(false); }, [&] { c->SetUseAdvColors(true); }},
  };
  for (const Setter& s : setters) {
    Pump(10ms);
    ValidateRect(wnd, nullptr);
    s.same();
    EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << s.name;
    s.other();
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE)) << s.name;
  }
}

TEST_F(FlatComboBox, Screenshot) {
  form->List->SetFocus();
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_combo_box.png"));
}

}  // namespace
