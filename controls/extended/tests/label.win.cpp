// The extended label as the program's forms set it up: styled, framed, turned and
// blinking text read from a form resource and painted into a memory bitmap, its
// colours under the mouse and while blinking, and the blinking list's pace.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/tests/VyFormTest.h"
#include "controls/extended/VyLabel.h"
#include "testing/PumpApplication.h"
#include "vcl/Bitmap.h"
#include "vcl/Clock.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>
#include <set>
#include <utility>

using namespace Vy;

namespace {

using namespace std::chrono_literals;
using TPixels = std::set<std::pair<int, int>>;

class VyLabelForm : public VyFormTest {
 protected:
  TVyLabel* Label(const wchar_t* name) {
    auto* c = dynamic_cast<TVyLabel*>(form->FindComponent(name));
    EXPECT_NE(c, nullptr) << "no label " << name;
    return c;
  }
  // The pixels of one colour inside a control, in its own coordinates.
  TPixels PixelsOf(TControl* c, TColor color) {
    TPixels out;
    const TColor want = ColorToRGB(color);
    for (int y = 0; y < c->GetHeight(); ++y)
      for (int x = 0; x < c->GetWidth(); ++x)
        if (At(c, x, y) == want) out.insert({x, y});
    return out;
  }
  static TPixels Shifted(const TPixels& p, int dx, int dy) {
    TPixels out;
    for (auto [x, y] : p) out.insert({x + dx, y + dy});
    return out;
  }
  static bool Within(const TPixels& part, const TPixels& whole) {
    for (const auto& p : part)
      if (!whole.count(p)) return false;
    return true;
  }
};

TEST_F(VyLabelForm, RecessedTextHasALightCopyBelowAndADarkOneAbove) {
  auto* label = Label(L"RecessedLabel");
  auto* light = Label(L"LightLabel");
  ASSERT_TRUE(label && light);
  // The plain text first: where its glyphs are.
  label->SetTextStyle(TTextStyle::tsNormal);
  Snapshot();
  const TPixels text = PixelsOf(label, clBlack);
  ASSERT_GT(text.size(), 50u) << "the caption draws in the font colour";
  label->SetTextStyle(TTextStyle::tsRecessed);
  Snapshot();
  const TPixels lime = PixelsOf(label, clLime), red = PixelsOf(label, clRed);
  EXPECT_FALSE(lime.empty());
  EXPECT_FALSE(red.empty());
  EXPECT_TRUE(Within(lime, Shifted(text, 1, 1))) << "the highlight copy lies one pixel down and right";
  EXPECT_TRUE(Within(red, Shifted(text, -1, -1))) << "the shadow copy one pixel up and left";
  EXPECT_EQ(PixelsOf(label, clBlack), text) << "the text itself stays in place, on top";

  const TPixels lightLime = PixelsOf(light, clLime), lightRed = PixelsOf(light, clRed);
  EXPECT_FALSE(lightLime.empty()) << "light style: the highlight copy only";
  EXPECT_TRUE(lightRed.empty());
}

TEST_F(VyLabelForm, DisabledTextIsEmbossedWhateverItsStyle) {
  auto* label = Label(L"DisabledLabel");
  ASSERT_TRUE(label);
  Snapshot();
  const TPixels shadow = PixelsOf(label, clBtnShadow), light = PixelsOf(label, clBtnHighlight);
  EXPECT_GT(shadow.size(), 30u);
  EXPECT_TRUE(Within(light, Shifted(shadow, 1, 1))) << "the light copy one pixel down and right of the grey text";
  EXPECT_FALSE(light.empty());
  EXPECT_TRUE(PixelsOf(label, clBlack).empty()) << "the font colour is not used";
}

TEST_F(VyLabelForm, ShadowTextHasItsShadowAtTheDepth) {
  auto* label = Label(L"ShadowLabel");
  ASSERT_TRUE(label);
  Snapshot();
  const TPixels text = PixelsOf(label, clNavy), shadow = PixelsOf(label, clSilver);
  ASSERT_GT(text.size(), 30u);
  EXPECT_FALSE(shadow.empty());
  EXPECT_TRUE(Within(shadow, Shifted(text, 3, 3)));
}

TEST_F(VyLabelForm, FramedBottomTextStaysInsideTheFrame) {
  auto* label = Label(L"FramedLabel");
  ASSERT_TRUE(label);
  Snapshot();
  const TColor flat = AdjustColorBy(clBtnShadow, 30);
  EXPECT_EQ(At(label, 0, 0), ColorToRGB(clBtnFace)) << "the cut corner shows the form";
  EXPECT_EQ(At(label, 0, 30), flat);
  EXPECT_EQ(At(label, 1, 30), clWhite) << "the border colour ring";
  EXPECT_EQ(At(label, 179, 30), flat);
  EXPECT_EQ(At(label, 90, 59), flat);
  // Text sits at the bottom of the inner rectangle (3 in: rounded frame and the band).
  const TPixels text = PixelsOf(label, label->GetFont()->GetColor());
  ASSERT_FALSE(text.empty());
  int lowest = 0, leftmost = 1000, rightmost = 0;
  for (auto [x, y] : text) {
    lowest = std::max(lowest, y);
    leftmost = std::min(leftmost, x);
    rightmost = std::max(rightmost, x);
  }
  EXPECT_LT(lowest, 57) << "clear of the bottom frame";
  EXPECT_GT(lowest, 40) << "at the bottom";
  EXPECT_NEAR((leftmost + rightmost) / 2, 90, 4) << "centred";
}

TEST_F(VyLabelForm, CondensedCaptionEndsWithDots) {
  auto* label = Label(L"CondensedLabel");
  ASSERT_TRUE(label);
  EXPECT_FALSE(label->GetAutoSize());
  Snapshot();
  const TPixels text = PixelsOf(label, label->GetFont()->GetColor());
  ASSERT_FALSE(text.empty());
  int right = 0, top = 1000, bottom = 0;
  for (auto [x, y] : text) {
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
  EXPECT_LT(right, label->GetWidth());
  // The last few columns hold only the dots: low and short, not a letter's height.
  int dotsTop = 1000;
  for (auto [x, y] : text)
    if (x > right - 8) dotsTop = std::min(dotsTop, y);
  EXPECT_GT(dotsTop, top + (bottom - top) / 2) << "rows " << top << ".." << bottom << ", dots from " << dotsTop;
}

TEST_F(VyLabelForm, TurnedLabelSizesItselfUpright) {
  auto* label = Label(L"TurnedLabel");
  ASSERT_TRUE(label);
  EXPECT_EQ(label->GetRotation(), TRotation::roFlat) << "a turned label turns flat";
  EXPECT_GT(label->GetHeight(), label->GetWidth()) << "90 degrees: the text runs up";
  const int tall = label->GetHeight(), wide = label->GetWidth();
  label->SetAngle(0);
  EXPECT_EQ(label->GetRotation(), TRotation::roFlat);
  label->SetRotation(TRotation::roNone);
  EXPECT_NEAR(label->GetWidth(), tall, 1);
  EXPECT_NEAR(label->GetHeight(), wide, 1);
  label->SetAngle(90);
  Snapshot();
  const TPixels text = PixelsOf(label, label->GetFont()->GetColor());
  ASSERT_FALSE(text.empty()) << "the turned text is drawn";
  int top = 1000, bottom = 0;
  for (auto [x, y] : text) top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_GT(bottom - top, label->GetWidth()) << "it runs along the height";
}

TEST_F(VyLabelForm, ArcTextDrawsAndATinyArcDrawsNothing) {
  auto* arc = Label(L"ArcLabel");
  ASSERT_TRUE(arc);
  Snapshot();
  EXPECT_GT(PixelsOf(arc, arc->GetFont()->GetColor()).size(), 40u);
  // Borders wider than the label leave no radius: nothing is drawn, nothing divides by it.
  arc->SetBounds(arc->GetLeft(), arc->GetTop(), 12, 12);
  arc->SetBorderWidth(4);
  Snapshot();
  EXPECT_TRUE(PixelsOf(arc, arc->GetFont()->GetColor()).empty());
}

TEST_F(VyLabelForm, FormLabelBlinksThroughTheSharedList) {
  auto* label = Label(L"BlinkLabel");
  ASSERT_TRUE(label);
  auto* list = TVyBlinkingControlsList::Instance();
  ASSERT_NE(list, nullptr);
  const TColor font = label->GetFont()->GetColor();
  // Drive the list's ticks directly: the state flips, a blinking label follows it.
  const int first = list->State();
  list->Tick();
  EXPECT_NE(list->State(), first);
  if (list->State() == 0) list->Tick();
  EXPECT_EQ(label->PaintColor(), clRed);
  Snapshot();
  EXPECT_FALSE(PixelsOf(label, clRed).empty()) << "painted in the blink colour at once";
  list->Tick();
  EXPECT_EQ(label->PaintColor(), font);
}

TEST(VyLabel, AnglesAreKeptWithinOneTurn) {
  struct Case {
    int set, stored;
  } cases[] = {{-90, 270}, {450, 90}, {-450, 270}, {720, 0}, {359, 359}, {-360, 0}};
  for (const Case& c : cases) {
    TVyLabel label(nullptr);
    label.GetFont()->SetName(L"Arial");
    label.SetAngle(c.set);
    EXPECT_EQ(label.GetAngle(), c.stored) << c.set;
    EXPECT_EQ(label.GetRotation(), c.stored ? TRotation::roFlat : TRotation::roNone) << c.set;
  }
  TVyLabel label(nullptr);
  label.SetRotation(TRotation::roCurve);
  label.SetAngle(45);
  EXPECT_EQ(label.GetRotation(), TRotation::roCurve) << "an arc keeps its start angle";
  label.SetCenterPoint(TCenterPoint::cpLowerLeft);
  label.SetRotation(TRotation::roFlat);
  EXPECT_EQ(label.GetAngle(), 0);
  EXPECT_EQ(label.GetCenterPoint(), TCenterPoint::cpCenter);
  label.SetAngle(30);
  label.SetRotation(TRotation::roNone);
  EXPECT_EQ(label.GetAngle(), 0);
}

TEST(VyLabel, TurnedExtents) {
  EXPECT_EQ(TurnedExtent({100, 20}, 0), (TSize{100, 20}));
  EXPECT_EQ(TurnedExtent({100, 20}, 90), (TSize{20, 100}));
  EXPECT_EQ(TurnedExtent({100, 20}, 180), (TSize{100, 20}));
  EXPECT_EQ(TurnedExtent({100, 20}, 270), (TSize{20, 100}));
  // Near the vertical in the second quadrant the box is tall, as in the first.
  EXPECT_EQ(TurnedExtent({100, 20}, 100), TurnedExtent({100, 20}, 80));
  EXPECT_EQ(TurnedExtent({100, 20}, 45), (TSize{85, 85}));
}

TEST(VyLabel, BlinkMessagesReachOnlyABlinkingLabel) {
  TVyLabel label(nullptr);
  label.GetFont()->SetColor(clNavy);
  EXPECT_EQ(label.Perform(CM_VYISBLINKING), 0);
  label.Perform(CM_VYSETBLINKSTATE, 1);
  EXPECT_EQ(label.PaintColor(), clNavy) << "a label that does not blink ignores the state";
  label.SetBlinkColor(clRed);
  label.SetBlinking(true);
  EXPECT_EQ(label.Perform(CM_VYISBLINKING), 1);
  label.Perform(CM_VYSETBLINKSTATE, 1);
  EXPECT_EQ(label.PaintColor(), clRed);
  // The program changes the colour while the blink colour shows: it is kept.
  label.GetFont()->SetColor(clGreen);
  EXPECT_EQ(label.PaintColor(), clRed) << "the on phase goes on";
  label.Perform(CM_VYSETBLINKSTATE, 0);
  EXPECT_EQ(label.PaintColor(), clGreen);
  label.Perform(CM_VYSETBLINKSTATE, 1);
  label.SetBlinking(false);
  EXPECT_EQ(label.PaintColor(), clGreen) << "blinking off returns to the font colour";
}

TEST(VyLabel, FlyByColourComesAndGoesWithTheMouse) {
  TVyLabel label(nullptr);
  int enters = 0, leaves = 0;
  label.OnMouseEnter = [&](TObject*) { ++enters; };
  label.OnMouseLeave = [&](TObject*) { ++leaves; };
  label.GetFont()->SetColor(clNavy);
  label.SetFlyByColor(clRed);
  label.SetFlyByEnabled(true);
  label.Perform(CM_MOUSEENTER);
  EXPECT_EQ(label.GetFont()->GetColor(), clRed);
  label.Perform(CM_MOUSELEAVE);
  EXPECT_EQ(label.GetFont()->GetColor(), clNavy);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
  // The program sets a colour while the mouse is over the label: leaving keeps it.
  label.Perform(CM_MOUSEENTER);
  label.GetFont()->SetColor(clGreen);
  label.Perform(CM_MOUSELEAVE);
  EXPECT_EQ(label.GetFont()->GetColor(), clGreen);
  // Turning fly-by off while the mouse is elsewhere leaves the colour alone.
  label.GetFont()->SetColor(clPurple);
  label.SetFlyByEnabled(false);
  EXPECT_EQ(label.GetFont()->GetColor(), clPurple);
  // ... and while it is over the label, gives the colour back.
  label.SetFlyByEnabled(true);
  label.Perform(CM_MOUSEENTER);
  label.SetFlyByEnabled(false);
  EXPECT_EQ(label.GetFont()->GetColor(), clPurple);
}

// Takes another label out of the list, or frees it, while it is told the blink state.
class TMeddlingLabel : public TVyLabel {
 public:
  using TVyLabel::TVyLabel;
  std::function<void()> OnState;
  int States = 0;

 protected:
  void SetBlinkState(bool on) override {
    TVyLabel::SetBlinkState(on);
    ++States;
    if (OnState) OnState();
  }
};

TEST(VyBlinkingList, ALabelTakenAwayDuringATickIsNotTold) {
  ASSERT_EQ(TVyBlinkingControlsList::Instance(), nullptr) << "no label from another test";
  auto* first = new TMeddlingLabel(nullptr);
  auto* second = new TMeddlingLabel(nullptr);
  auto* third = new TMeddlingLabel(nullptr);
  for (auto* l : {first, second, third}) l->SetBlinking(true);
  first->OnState = [&] {
    delete second;
    second = nullptr;
    TVyBlinkingControlsList::Leave(third);
  };
  TVyBlinkingControlsList::Instance()->Tick();
  EXPECT_EQ(first->States, 1);
  EXPECT_EQ(third->States, 0) << "removed before its turn";
  EXPECT_EQ(TVyBlinkingControlsList::Instance()->Count(), 1);
  // The last label leaves during a tick: the list goes once the tick is over.
  first->OnState = [&] { TVyBlinkingControlsList::Leave(first); };
  TVyBlinkingControlsList::Instance()->Tick();
  EXPECT_EQ(TVyBlinkingControlsList::Instance(), nullptr);
  delete first;
  delete third;
}

TEST(VyBlinkingList, BlinkColourLastsTheOnIntervalAndTheFontColourTheOffInterval) {
  ASSERT_EQ(TVyBlinkingControlsList::Instance(), nullptr) << "no label from another test";
  TManualClock clock;
  TClockOverride use(clock);
  {
    TVyLabel label(nullptr);
    label.GetFont()->SetColor(clNavy);
    label.SetBlinkColor(clRed);
    label.SetBlinking(true);
    label.SetBlinkIntervalOn(300);
    label.SetBlinkIntervalOff(700);
    TVyLabel other(nullptr);
    EXPECT_EQ(other.GetBlinkIntervalOff(), 700u) << "one pair of intervals for every label";
    auto after = [&](int ms) {
      clock.Advance(ms);
      Pump(40ms);
      PumpDueTimers();
      return label.PaintColor();
    };
    // State 1 (on) first, with nobody told yet; the first tick ends it.
    EXPECT_EQ(after(290), clNavy);
    EXPECT_EQ(after(10), clNavy) << "the first tick turns the state off";
    EXPECT_EQ(TVyBlinkingControlsList::Instance()->State(), 0);
    EXPECT_EQ(after(690), clNavy) << "off lasts 700 ms";
    EXPECT_EQ(after(10), clRed);
    EXPECT_EQ(after(290), clRed) << "on lasts 300 ms";
    EXPECT_EQ(after(10), clNavy);
  }
  EXPECT_EQ(TVyBlinkingControlsList::Instance(), nullptr) << "freed with the last label";
}

TEST(VyLabel, DefaultsAreNotWrittenAndOldFrameSidesAreDropped) {
  auto* form = CreateFormNew<TTestVyControlsForm>(nullptr);
  ReadComponentFromText(form, R"(object F: TTestVyControlsForm
  object L: TVyLabel
    Caption = 'Old'
    FrameSides = [sdLeft, sdTop]
    TextStyle = tsRaised
    BlinkIntervalOn = 250
  end
end
)",
                        L"TEST");
  auto* label = dynamic_cast<TVyLabel*>(form->FindComponent(L"L"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetTextStyle(), TTextStyle::tsRaised);
  EXPECT_EQ(label->GetBorderSides(), AllSides) << "the old sides are read and dropped";
  const std::string text = WriteComponentToText(label);
  EXPECT_EQ(text.find("FrameSides"), std::string::npos) << text;
  EXPECT_NE(text.find("TextStyle = tsRaised"), std::string::npos) << text;
  EXPECT_NE(text.find("BlinkIntervalOn = 250"), std::string::npos) << text;
  label->SetBlinkIntervalOn(500);
  auto* fresh = new TVyLabel(form);
  const std::string plain = WriteComponentToText(fresh);
  for (const char* name : {"Angle", "Blink", "Border", "Shadow", "TextStyle", "Rotation", "CenterPoint", "FlyBy"})
    EXPECT_EQ(plain.find(name), std::string::npos) << name << " written at its default:\n" << plain;
  delete form;
}

}  // namespace
