// Flat panels and group boxes on a form read from its resource: their frames and
// captions by pixel, transparency (the parent shows, the siblings do not), the
// disabled look that leaves the children alone, and what they store.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "controls/visual/TFlatGroupBoxUnit.h"
#include "controls/visual/TFlatPanelUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatGroupBox;
using Flat::TFlatPanel;

class TTestFlatPanelsForm : public TForm {
  QORN_CLASS(TTestFlatPanelsForm, TForm)
 public:
  explicit TTestFlatPanelsForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatPanel *Header = nullptr, *Options = nullptr;
  TFlatGroupBox *Position = nullptr, *Sliding = nullptr, *Untitled = nullptr;
  Flat::TFlatButton* Inner = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatPanelsForm>& p) {
    p.Field(L"Header", &TTestFlatPanelsForm::Header);
    p.Field(L"Options", &TTestFlatPanelsForm::Options);
    p.Field(L"Position", &TTestFlatPanelsForm::Position);
    p.Field(L"Sliding", &TTestFlatPanelsForm::Sliding);
    p.Field(L"Untitled", &TTestFlatPanelsForm::Untitled);
    p.Field(L"Inner", &TTestFlatPanelsForm::Inner);
  }
};
QORN_REGISTER_CLASS(TTestFlatPanelsForm);

constexpr TColor kFormColor = static_cast<TColor>(15461355);
constexpr TColor kBorder = static_cast<TColor>(0x8396A0);

TColor At(const TMemoryPaint& p, int x, int y) { return static_cast<TColor>(p.At(x, y)); }

int CountColour(const TMemoryPaint& p, TControl* c, TColor colour, TRect area = {}) {
  if (area.Width() == 0) area = TRect{0, 0, c->GetWidth(), c->GetHeight()};
  int n = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (At(p, x, y) == ColorToRGB(colour)) ++n;
  return n;
}

class FlatPanels : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatPanelsForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestFlatPanelsForm* form = nullptr;
};

TEST_F(FlatPanels, LoadsAndStoresOnlyWhatDiffersFromItsDefaults) {
  EXPECT_STREQ(form->Header->ClassName().c_str(), L"TFlatPanel");
  EXPECT_STREQ(form->Position->ClassName().c_str(), L"TFlatGroupBox");
  EXPECT_EQ(form->Header->GetColorShadow(), clBlack);
  EXPECT_EQ(form->Untitled->GetBorder(), Flat::brOnlyTopLine);
  EXPECT_TRUE(form->Position->GetTransparent());

  auto* panel = new TFlatPanel(form);
  auto* box = new TFlatGroupBox(form);
  EXPECT_EQ(panel->GetWidth(), 185);
  EXPECT_EQ(panel->GetHeight(), 41);
  EXPECT_EQ(box->GetWidth(), 185);
  EXPECT_EQ(box->GetHeight(), 105);
  EXPECT_EQ(panel->GetColorHighLight(), kBorder);
  EXPECT_EQ(panel->GetAlignment(), taCenter);
  EXPECT_EQ(box->GetColorBorder(), kBorder);
  EXPECT_EQ(box->GetAdvColorBorder(), 50);
  EXPECT_TRUE(panel->GetParentColor());
  EXPECT_TRUE(box->GetParentColor());
  EXPECT_TRUE(panel->ControlStyle.Contains(csAcceptsControls));
  EXPECT_TRUE(box->ControlStyle.Contains(csAcceptsControls));

  const std::string text = WriteComponentToText(panel) + WriteComponentToText(box);
  for (const char* name : {"Transparent", "ColorHighLight", "ColorShadow", "ColorBorder", "Border", "AdvColorBorder",
                           "UseAdvColors", "Bevel", "ParentColor", "Alignment"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << " written at its default:\n" << text;
  panel->SetColorShadow(clBlack);
  box->SetBorder(Flat::brOnlyTopLine);
  const std::string changed = WriteComponentToText(panel) + WriteComponentToText(box);
  EXPECT_NE(changed.find("ColorShadow = clBlack"), std::string::npos) << changed;
  EXPECT_NE(changed.find("Border = brOnlyTopLine"), std::string::npos) << changed;
}

TEST_F(FlatPanels, PanelFrameAndCaption) {
  TFlatPanel* header = form->Header;
  TMemoryPaint p(header);
  const int w = header->GetWidth(), h = header->GetHeight();
  EXPECT_EQ(At(p, 0, 0), clBlack);
  EXPECT_EQ(At(p, w - 1, h - 1), clBlack);
  EXPECT_EQ(At(p, w - 1, 0), clBlack);
  EXPECT_EQ(At(p, 1, 1), clWhite) << "a one-pixel frame, then the fill";
  // Centred, in the font's colour (black): text in the middle third only.
  EXPECT_GT(CountColour(p, header, clBlack, {w / 3, 2, 2 * w / 3, h - 2}), 10);
  EXPECT_EQ(CountColour(p, header, clBlack, {2, 2, w / 3, h - 2}), 0);

  // Left-justified and disabled: engraved, on the left.
  TFlatPanel* options = form->Options;
  TMemoryPaint q(options);
  const TRect left{1, 1, 100, options->GetHeight() - 1};
  EXPECT_GT(CountColour(q, options, clBtnShadow, left), 10);
  EXPECT_GT(CountColour(q, options, clBtnHighlight, left), 10);
  EXPECT_EQ(At(q, 0, 0), kBorder);
}

TEST_F(FlatPanels, DisabledPanelLeavesItsChildrenAlone) {
  Flat::TFlatButton* inner = form->Inner;
  ASSERT_FALSE(form->Options->GetEnabled());
  EXPECT_TRUE(inner->GetEnabled());
  TMemoryPaint p(inner);
  EXPECT_EQ(CountColour(p, inner, clBtnShadow), 0) << "the child's caption is not engraved";
  EXPECT_GT(CountColour(p, inner, clBlack), 10);

  form->Options->SetEnabled(true);
  form->Options->SetEnabled(false);
  EXPECT_TRUE(inner->GetEnabled());
}

TEST_F(FlatPanels, TransparentShowsTheParentNotTheSiblings) {
  TFlatGroupBox* position = form->Position;
  auto* behind = new TFlatPanel(form);
  behind->SetColor(clRed);
  behind->SetBounds(position->GetLeft(), position->GetTop(), 60, 60);
  behind->SetParent(form);
  behind->SendToBack();
  Pump(10ms);
  TMemoryPaint p(position);
  EXPECT_EQ(At(p, 20, 50), kFormColor) << "the form, not the red sibling";
  EXPECT_EQ(CountColour(p, position, clRed), 0);

  position->SetTransparent(false);
  form->SetColor(clWhite);
  TMemoryPaint q(position);
  EXPECT_EQ(At(q, 20, 50), clWhite) << "opaque, in the parent's colour";
}

TEST_F(FlatPanels, GroupBoxFrameIsBrokenByTheCaption) {
  TFlatGroupBox* sliding = form->Sliding;
  const int w = sliding->GetWidth(), h = sliding->GetHeight();
  TMemoryPaint p(sliding);
  // The top line's row: where the left side begins.
  int top = -1;
  for (int y = 0; y < h && top < 0; ++y)
    if (At(p, 0, y) == kBorder) top = y;
  ASSERT_GT(top, 0) << "the line lies at half the caption's height";
  EXPECT_EQ(At(p, 5, top), kBorder);
  for (int x = 6; x < 10; ++x) EXPECT_EQ(At(p, x, top), kFormColor) << x;
  EXPECT_EQ(At(p, w - 1, top), kBorder);
  EXPECT_EQ(At(p, w / 2, h - 1), kBorder) << "closed below";
  EXPECT_EQ(At(p, 0, h - 1), kBorder);
  EXPECT_GT(CountColour(p, sliding, clBlack, {10, 0, 60, top + 8}), 10) << "the caption";

  // No caption and only the top line: a 7-pixel gap, nothing below.
  TFlatGroupBox* untitled = form->Untitled;
  TMemoryPaint q(untitled);
  int line = -1;
  for (int y = 0; y < untitled->GetHeight() && line < 0; ++y)
    if (At(q, 1, y) == kBorder) line = y;
  ASSERT_GE(line, 0);
  EXPECT_EQ(At(q, 5, line), kBorder);
  for (int x = 6; x <= 12; ++x) EXPECT_EQ(At(q, x, line), kFormColor) << x;
  EXPECT_EQ(At(q, 13, line), kBorder);
  EXPECT_EQ(CountColour(q, untitled, kBorder, {0, line + 1, untitled->GetWidth(), untitled->GetHeight()}), 0);
}

TEST_F(FlatPanels, GroupBoxAcceleratorAndDerivedBorder) {
  TFlatGroupBox* sliding = form->Sliding;
  EXPECT_EQ(sliding->Perform(CM_DIALOGCHAR, L's', 0), 1);
  Pump(10ms);
  EXPECT_EQ(GetFocus(), sliding->GetHandle());
  EXPECT_EQ(sliding->Perform(CM_DIALOGCHAR, L'x', 0), 0);

  sliding->SetUseAdvColors(true);
  form->SetColor(clSilver);
  EXPECT_EQ(sliding->GetColorBorder(), Flat::AdjustColorLightness(clSilver, clNone, 50, Flat::TColorCalcType::Darken));
  EXPECT_NE(sliding->GetColorBorder(), kBorder);

  form->Invalidate();
  form->SetColor(kFormColor);
  sliding->SetUseAdvColors(false);
  sliding->SetColorBorder(kBorder);
  Pump(30ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_panels.png"));
}

}  // namespace
