// The panel and the status bar: children placed inside each frame, the frame and grid
// painted into a memory bitmap, the children's enabled states kept across a disable,
// transparency over the parent, and the status bar's grip, panes and simple text.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/tests/VyFormTest.h"
#include "controls/extended/VyLabel.h"
#include "controls/extended/VyPanel.h"
#include "controls/extended/VyPrgres.h"
#include "testing/PumpApplication.h"
#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <chrono>
#include <memory>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

class VyPanelForm : public VyFormTest {
 protected:
  // A pixel of a control in its own coordinates (the control may sit inside another).
  TColor At(TControl* c, int x, int y) {
    TPoint p = c->ClientToScreen({x, y});
    p = form->ScreenToClient(p);
    return shot.GetCanvas()->GetPixel(p.X, p.Y);
  }
};

TEST_F(VyPanelForm, ChildrenStayInsideEachFrame) {
  auto* panel = Find<TVyPanel>(L"WarningPanel");
  auto* text = Find<TVyLabel>(L"WarningText");
  ASSERT_TRUE(panel && text);
  EXPECT_EQ(text->GetBoundsRect(), Rect(2, 2, 298, 50)) << "rounded flat frame: 2 in";
  struct Case {
    TFrameStyleEx outer, inner;
    int bevelWidth, borderWidth;
    TSides sides;
    TRect child;
  } cases[] = {
      {fsStatus, fsNone, 3, 0, AllSides, Rect(3, 3, 297, 49)},
      {fsFlat, fsNone, 1, 2, AllSides, Rect(3, 3, 297, 49)},
      {fsRaised, fsFlat, 1, 1, AllSides, Rect(4, 4, 296, 48)},
      {fsGroove, fsNone, 1, 0, TSides{sdLeft, sdTop}, Rect(2, 2, 300, 52)},
      {fsNone, fsNone, 1, 0, AllSides, Rect(0, 0, 300, 52)},
  };
  for (const Case& c : cases) {
    panel->SetBevelWidth(c.bevelWidth);
    panel->SetBorderWidth(c.borderWidth);
    panel->SetBorderOuter(c.outer);
    panel->SetBorderInner(c.inner);
    panel->SetBorderSides(c.sides);
    EXPECT_EQ(text->GetBoundsRect(), c.child) << int(c.outer) << " " << int(c.inner) << " " << c.bevelWidth;
  }
}

TEST_F(VyPanelForm, WarningBoxPaintsItsFrameAndColour) {
  auto* panel = Find<TVyPanel>(L"WarningPanel");
  ASSERT_TRUE(panel);
  Find<TVyLabel>(L"WarningText")->SetVisible(false);
  Snapshot();
  const TColor flat = AdjustColorBy(clBtnShadow, 30), face = ColorToRGB(clBtnFace);
  EXPECT_EQ(At(panel, 0, 0), face) << "the cut corner shows the form";
  EXPECT_EQ(At(panel, 0, 20), flat);
  EXPECT_EQ(At(panel, 150, 0), flat);
  EXPECT_EQ(At(panel, 299, 20), flat);
  EXPECT_EQ(At(panel, 150, 51), flat);
  EXPECT_EQ(At(panel, 1, 20), TColor(12058623));
  EXPECT_EQ(At(panel, 150, 26), TColor(12058623)) << "filled with its colour";
}

TEST_F(VyPanelForm, GridDotsAndCaptionAtTheBottom) {
  auto* panel = Find<TVyPanel>(L"GridPanel");
  ASSERT_TRUE(panel);
  const TRect inner(2, 2, 119, 59);  // inside the lowered frame
  Snapshot();
  const TColor navy = ColorToRGB(clNavy);
  EXPECT_EQ(At(panel, inner.Left + 7, inner.Top + 7), navy);
  EXPECT_EQ(At(panel, inner.Left + 15, inner.Top + 7), navy);
  EXPECT_EQ(At(panel, inner.Left + 8, inner.Top + 7), ColorToRGB(clBtnFace)) << "dots only";
  EXPECT_EQ(At(panel, inner.Left + 111, inner.Top + 7), navy) << "the last whole cell";
  // The caption: its lowest text row close to the inner bottom.
  const TColor ink = ColorToRGB(panel->GetFont()->GetColor());
  int lowest = -1, highest = 1000;
  for (int y = inner.Top; y < inner.Bottom; ++y)
    for (int x = inner.Left; x < inner.Right; ++x)
      if (At(panel, x, y) == ink) lowest = std::max(lowest, y), highest = std::min(highest, y);
  ASSERT_GE(lowest, 0) << "the caption is drawn";
  EXPECT_GT(highest, inner.Top + 30) << "in the lower part";
  EXPECT_LE(lowest, inner.Bottom - 1);

  // Sizes of 0 draw no grid in that direction, and divide by nothing.
  panel->SetCaption(L"");
  panel->SetGridXSize(0);
  panel->SetGridStyle(gsSolidLines);
  Snapshot();
  int navyCount = 0;
  for (int y = inner.Top; y < inner.Bottom; ++y)
    for (int x = inner.Left; x < inner.Right; ++x) navyCount += At(panel, x, y) == navy;
  EXPECT_EQ(navyCount, 7 * inner.Width()) << "only the 7 horizontal lines";
}

TEST_F(VyPanelForm, ADisabledCaptionIsEmbossed) {
  auto* panel = Find<TVyPanel>(L"GridPanel");
  ASSERT_TRUE(panel);
  panel->SetShowGrid(false);
  panel->SetEnabled(false);
  Snapshot();
  int light = 0, dark = 0;
  for (int y = 2; y < 59; ++y)
    for (int x = 2; x < 119; ++x) {
      light += At(panel, x, y) == ColorToRGB(clBtnHighlight);
      dark += At(panel, x, y) == ColorToRGB(clBtnShadow);
    }
  EXPECT_GT(light, 5);
  EXPECT_GT(dark, 5);
}

TEST_F(VyPanelForm, DisablingRemembersWhichChildrenWereEnabled) {
  auto* panel = new TVyPanel(form);
  panel->SetParent(form);
  TVyLabel* kids[3];
  for (auto*& k : kids) {
    k = new TVyLabel(form);
    k->SetParent(panel);
  }
  kids[1]->SetEnabled(false);
  panel->SetEnabled(false);
  for (auto* k : kids) EXPECT_FALSE(k->GetEnabled());
  auto* late = new TVyLabel(form);
  late->SetParent(panel);
  panel->SetEnabled(true);
  EXPECT_TRUE(kids[0]->GetEnabled());
  EXPECT_FALSE(kids[1]->GetEnabled()) << "disabled before: stays disabled";
  EXPECT_TRUE(kids[2]->GetEnabled());
  EXPECT_TRUE(late->GetEnabled()) << "a child added while disabled comes up with the panel";

  // A remembered child freed while the panel is disabled leaves no entry behind.
  panel->SetEnabled(false);
  delete kids[1];
  auto* other = new TVyLabel(form);
  other->SetParent(panel);
  other->SetEnabled(false);
  panel->SetEnabled(true);
  EXPECT_TRUE(kids[0]->GetEnabled());
  EXPECT_TRUE(other->GetEnabled()) << "added while disabled, even if disabled then";
  delete panel;
}

TEST_F(VyPanelForm, TransparentPanelShowsItsParentBehind) {
  auto* back = new TVyPanel(form);
  back->SetBounds(600, 200, 120, 80);
  back->SetBorderOuter(fsNone);
  back->SetColor(clRed);
  back->SetParent(form);
  auto* glass = new TVyPanel(form);
  glass->SetBounds(10, 10, 100, 60);
  glass->SetBorderOuter(fsFlat);
  glass->SetColor(clBlue);
  glass->SetParent(back);
  Pump(20ms);
  Snapshot();
  EXPECT_EQ(At(glass, 50, 30), clBlue);
  glass->SetTransparent(true);
  Pump(20ms);
  Snapshot();
  EXPECT_EQ(At(glass, 50, 30), clRed) << "the parent's colour inside";
  EXPECT_EQ(At(glass, 0, 30), AdjustColorBy(clBtnShadow, 30)) << "the frame still drawn";
}

TEST_F(VyPanelForm, AFrameControllerMovesTheChildrenIn) {
  auto* panel = Find<TVyPanel>(L"WarningPanel");
  auto* text = Find<TVyLabel>(L"WarningText");
  ASSERT_TRUE(panel && text);
  TVyFrameController controller(nullptr);
  controller.SetFrameStyle(fsFlat);
  controller.SetColor(clAqua);
  panel->SetFrameController(&controller);
  EXPECT_EQ(panel->GetBorderOuter(), fsFlatRounded) << "a frame that is not visible is not taken";
  controller.SetFrameVisible(true);
  EXPECT_EQ(panel->GetBorderOuter(), fsFlat);
  EXPECT_EQ(panel->GetColor(), clAqua);
  EXPECT_EQ(text->GetBoundsRect(), Rect(1, 1, 299, 51));
  controller.SetFrameStyle(fsButtonUp);
  EXPECT_EQ(text->GetBoundsRect(), Rect(2, 2, 298, 50)) << "realigned at once";
  panel->SetFrameController(nullptr);
}

TEST_F(VyPanelForm, StatusBarTakesItsOwnStyleAndScalesItsPanes) {
  auto* bar = Find<TVyStatusBar>(L"Status");
  auto* text = Find<TVyLabel>(L"StatusText");
  ASSERT_TRUE(bar && text);
  EXPECT_EQ(bar->GetAlign(), alBottom);
  EXPECT_EQ(bar->GetHeight(), 19);
  EXPECT_EQ(bar->GetBorderOuter(), fsNone);
  EXPECT_EQ(bar->GetTop() + bar->GetHeight(), form->GetClientHeight());
  EXPECT_EQ(text->GetWidth(), 200) << "setting up is not resizing: the panes keep their widths";
  EXPECT_TRUE(bar->GetAutoStyle());
  // Panes grow with the bar in proportion: 400 -> 600 makes 100 into 150.
  form->DisableAlign();
  bar->SetAlign(alNone);
  bar->SetBounds(0, bar->GetTop(), 400, 19);
  text->SetWidth(100);
  bar->SetBounds(0, bar->GetTop(), 600, 19);
  EXPECT_EQ(text->GetWidth(), 150);
  form->EnableAlign();
  bar->SetBorderOuter(fsLowered);
  EXPECT_FALSE(bar->GetAutoStyle()) << "a style of one's own";
}

TEST(VyStatusBar, PanesDoNotScaleFromNoWidth) {
  EXPECT_EQ(ScaledPaneGrowth(100, 400, 600), 50);
  EXPECT_EQ(ScaledPaneGrowth(100, 600, 400), -33);
  EXPECT_EQ(ScaledPaneGrowth(30, 0, 500), 0);
  EXPECT_EQ(ScaledPaneGrowth(30, -4, 500), 0);
  auto* form = CreateFormNew<TForm>(nullptr);
  auto* bar = new TVyStatusBar(form);
  bar->SetAutoScalePanes(true);
  bar->SetAlign(alNone);
  bar->SetParent(form);
  bar->HandleNeeded();
  bar->SetBounds(0, 0, 0, 19);
  auto* pane = new TVyLabel(form);
  pane->SetParent(bar);
  pane->SetWidth(30);
  bar->SetBounds(0, 0, 500, 19);
  EXPECT_EQ(pane->GetWidth(), 30) << "from width 0 there is nothing to scale by";
  delete form;
}

TEST_F(VyPanelForm, GripShowsOnASizeableFormAndSizesIt) {
  auto* bar = Find<TVyStatusBar>(L"Status");
  ASSERT_TRUE(bar);
  Find<TVyProgressBar>(L"StatusBar")->SetVisible(false);
  Pump(20ms);
  Snapshot();
  const TRect c = bar->GetClientRect();
  const int R = c.Right, B = c.Bottom - 1;
  EXPECT_TRUE(bar->GripValid());
  EXPECT_EQ(At(bar, R - 4, B - 3), ColorToRGB(clBtnHighlight)) << "a square's light corner";
  EXPECT_EQ(At(bar, R - 6, B - 5), ColorToRGB(clBtnShadow)) << "its dark copy up and left";
  EXPECT_EQ(At(bar, R - 12, B - 11), ColorToRGB(clBtnFace)) << "no square there";

  // A press in the grip asks the form to size from its bottom-right corner.
  std::vector<WPARAM> commands;
  auto original = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) {
      commands.push_back(m.WParam);
      return;
    }
    original(m);
  };
  int presses = 0;
  bar->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++presses; };
  SendMessageW(bar->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar->GetWidth() - 5, 10));
  SendMessageW(bar->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(bar->GetWidth() - 5, 10));
  EXPECT_EQ(commands, std::vector<WPARAM>{SC_SIZE + 8});
  EXPECT_EQ(presses, 0);
  SendMessageW(bar->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 10));
  SendMessageW(bar->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(400, 10));
  EXPECT_EQ(presses, 1) << "outside the grip an ordinary press";

  // Maximized: no grip, and a press there is an ordinary one.
  form->SetWindowState(wsMaximized);
  Pump(60ms);
  EXPECT_FALSE(bar->GripValid());
  Snapshot();
  const TRect m = bar->GetClientRect();
  EXPECT_EQ(At(bar, m.Right - 4, m.Bottom - 4), ColorToRGB(clBtnFace));
  commands.clear();
  SendMessageW(bar->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar->GetWidth() - 5, 10));
  SendMessageW(bar->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(bar->GetWidth() - 5, 10));
  EXPECT_TRUE(commands.empty());
  EXPECT_EQ(presses, 2);
  form->WindowProc = original;
}

TEST_F(VyPanelForm, SimpleStatusHidesThePanesAndShowsItsText) {
  auto* bar = Find<TVyStatusBar>(L"Status");
  auto* text = Find<TVyLabel>(L"StatusText");
  ASSERT_TRUE(bar && text);
  bar->SetSimpleCaption(L"Simple text here");
  bar->SetSimpleStatus(true);
  EXPECT_FALSE(text->GetVisible());
  Pump(20ms);
  Snapshot();
  int ink = 0;
  for (int y = 0; y < bar->GetHeight(); ++y)
    for (int x = 0; x < 200; ++x) ink += At(bar, x, y) == ColorToRGB(bar->GetFont()->GetColor());
  EXPECT_GT(ink, 20) << "the simple caption is drawn";
  // The flat simple frame stops short of its corners.
  const TRect r = bar->GetClientRect();
  const TColor flat = AdjustColorBy(clBtnShadow, 30);
  EXPECT_EQ(At(bar, r.Left + 5, r.Top), flat);
  EXPECT_EQ(At(bar, r.Left, r.Top + 5), flat);
  EXPECT_NE(At(bar, r.Left, r.Top), flat);
  bar->SetSimpleStatus(false);
  EXPECT_TRUE(text->GetVisible());
}

TEST(VyPanel, OldFrameSidesAreReadAndNeverWritten) {
  auto* form = CreateFormNew<TTestVyControlsForm>(nullptr);
  ReadComponentFromText(form, R"(object F: TTestVyControlsForm
  object P: TVyPanel
    FrameSides = [sdLeft]
    BorderOuter = fsFlatRounded
  end
end
)",
                        L"TEST");
  auto* panel = dynamic_cast<TVyPanel*>(form->FindComponent(L"P"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetBorderSides(), AllSides);
  const std::string text = WriteComponentToText(panel);
  EXPECT_EQ(text.find("FrameSides"), std::string::npos) << text;
  EXPECT_EQ(text.find("BevelOuter"), std::string::npos) << "the inherited bevels are off by default:\n" << text;
  EXPECT_NE(text.find("BorderOuter = fsFlatRounded"), std::string::npos) << text;
  auto* fresh = new TVyStatusBar(form);
  const std::string plain = WriteComponentToText(fresh);
  for (const char* name : {"Align", "AutoStyle", "ThemeAware", "ShowSizeGrip", "SimpleFrameStyle"})
    EXPECT_EQ(plain.find(name), std::string::npos) << name << ":\n" << plain;
  delete form;
}

}  // namespace
