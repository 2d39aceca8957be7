// Flat scroll bars on a form read from its resource: the parts' places, the
// position set from code, the thumb dragged and merely hovered, the arrow
// buttons' repeat on the test's own clock, the scroll-bar messages and keys.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatScrollbarUnit.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;
using Flat::TFlatScrollbar;

class TTestFlatScrollbarForm : public TForm {
  QORN_CLASS(TTestFlatScrollbarForm, TForm)
 public:
  explicit TTestFlatScrollbarForm(TComponent* AOwner) : TForm(AOwner) {}
  TFlatScrollbar *Slider = nullptr, *Upright = nullptr, *Level = nullptr, *Still = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatScrollbarForm>& p) {
    p.Field(L"Slider", &TTestFlatScrollbarForm::Slider);
    p.Field(L"Upright", &TTestFlatScrollbarForm::Upright);
    p.Field(L"Level", &TTestFlatScrollbarForm::Level);
    p.Field(L"Still", &TTestFlatScrollbarForm::Still);
  }
};
QORN_REGISTER_CLASS(TTestFlatScrollbarForm);

struct TScrolls {
  int count = 0;
  int last = -1;
  void Watch(TFlatScrollbar* b) {
    b->OnScroll = [this](TObject*, int pos) {
      ++count;
      last = pos;
    };
  }
};

class FlatScrollbar : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestFlatScrollbarForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  static HWND ThumbOf(TFlatScrollbar* b) { return b->Track()->Thumb()->GetHandle(); }
  static void Mouse(HWND wnd, UINT msg, int x, int y, WPARAM keys) { SendMessageW(wnd, msg, keys, MAKELPARAM(x, y)); }
  TTestFlatScrollbarForm* form = nullptr;
};

TEST_F(FlatScrollbar, LoadsAndPlacesItsParts) {
  TFlatScrollbar* s = form->Slider;
  EXPECT_STREQ(s->ClassName().c_str(), L"TFlatScrollbar");
  EXPECT_EQ(s->GetKind(), sbHorizontal);
  EXPECT_EQ(s->GetMax(), 3000);
  EXPECT_EQ(s->GetPosition(), 5) << "streamed before Max, kept";
  EXPECT_EQ(s->GetSmallChange(), 10);
  EXPECT_EQ(s->FirstButton()->GetBoundsRect(), TRect(0, 0, 17, 10));
  EXPECT_EQ(s->SecondButton()->GetBoundsRect(), TRect(155, 0, 172, 10));
  EXPECT_EQ(s->Track()->GetBoundsRect(), TRect(17, 0, 155, 10));
  EXPECT_EQ(s->Track()->Thumb()->GetWidth(), 17);
  EXPECT_EQ(s->Track()->Thumb()->GetHeight(), 10);
  EXPECT_EQ(s->Track()->Thumb()->GetColorBorder(), clWhite);
  EXPECT_EQ(s->FirstButton()->GetColorBorder(), static_cast<TColor>(8623778));

  TFlatScrollbar* u = form->Upright;
  EXPECT_EQ(u->GetKind(), sbVertical);
  EXPECT_EQ(u->Track()->GetTop(), 17);
  EXPECT_EQ(u->Track()->GetTop() + u->Track()->GetHeight(), 83);
  EXPECT_EQ(u->Track()->Thumb()->GetHeight(), 17);
  EXPECT_EQ(u->Track()->Thumb()->GetWidth(), 17);
  EXPECT_EQ(u->GetColor(), static_cast<TColor>(0xE0E9EF));
  EXPECT_EQ(u->GetThumbColor(), static_cast<TColor>(0x829AA2));
}

TEST_F(FlatScrollbar, SetPositionClampsAndMovesTheThumbSilently) {
  TFlatScrollbar* s = form->Slider;
  TScrolls scrolls;
  scrolls.Watch(s);
  s->SetPosition(5000);
  EXPECT_EQ(s->GetPosition(), 3000);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 138 - 17) << "at the far end";
  s->SetPosition(-4);
  EXPECT_EQ(s->GetPosition(), 0);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 0);
  s->SetPosition(1500);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 60) << "60.5 rounds to even";
  EXPECT_EQ(scrolls.count, 0);

  // No range, and a track no longer than its thumb: the thumb stays at the start.
  TFlatScrollbar* still = form->Still;
  still->SetPosition(3);
  EXPECT_EQ(still->GetPosition(), 0);
  EXPECT_EQ(still->Track()->Thumb()->GetLeft(), 0);
  form->Level->SetWidth(40);
  form->Level->SetPosition(5);
  EXPECT_EQ(form->Level->Track()->Thumb()->GetLeft(), 0);
}

TEST_F(FlatScrollbar, HoveringTheThumbChangesNothing) {
  TFlatScrollbar* s = form->Slider;
  TScrolls scrolls;
  scrolls.Watch(s);
  HWND thumb = ThumbOf(s);
  const int left = s->Track()->Thumb()->GetLeft();
  for (int x = 0; x < 17; x += 4) Mouse(thumb, WM_MOUSEMOVE, x, 5, 0);
  Pump(10ms);
  EXPECT_EQ(s->GetPosition(), 5);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), left);
  EXPECT_EQ(scrolls.count, 0);
}

TEST_F(FlatScrollbar, DraggingTheThumbScrollsAndStopsAtTheEnds) {
  TFlatScrollbar* s = form->Level;  // 0..9 on a track of 188
  TScrolls scrolls;
  scrolls.Watch(s);
  HWND thumb = ThumbOf(s);
  Mouse(thumb, WM_LBUTTONDOWN, 8, 5, MK_LBUTTON);
  Mouse(thumb, WM_MOUSEMOVE, 8 + 85, 5, MK_LBUTTON);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 85);
  EXPECT_EQ(s->GetPosition(), 4) << "85 of 171 is 4.47";
  EXPECT_EQ(scrolls.count, 1);
  EXPECT_EQ(scrolls.last, 4);
  Mouse(thumb, WM_MOUSEMOVE, 500, 5, MK_LBUTTON);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 188 - 17);
  EXPECT_EQ(s->GetPosition(), 9);
  Mouse(thumb, WM_MOUSEMOVE, -900, 5, MK_LBUTTON);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 0);
  EXPECT_EQ(s->GetPosition(), 0);
  Mouse(thumb, WM_MOUSEMOVE, 60, 5, MK_LBUTTON);
  Mouse(thumb, WM_LBUTTONUP, 60, 5, 0);
  const int after = s->GetPosition(), count = scrolls.count;
  Mouse(thumb, WM_MOUSEMOVE, 2, 5, 0);
  EXPECT_EQ(s->GetPosition(), after) << "the drag ended with the release";
  EXPECT_EQ(scrolls.count, count);
  EXPECT_EQ(SendMessageW(s->GetHandle(), SBM_GETPOS, 0, 0), after);
}

TEST_F(FlatScrollbar, HoldingAnArrowStepsEvery10ms) {
  TManualClock clock;
  TClockOverride useClock(clock);
  TFlatScrollbar* s = form->Slider;
  TScrolls scrolls;
  scrolls.Watch(s);
  HWND second = s->SecondButton()->GetHandle();
  Mouse(second, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  EXPECT_EQ(s->GetPosition(), 5) << "no step before the first tick";
  EXPECT_TRUE(s->SecondButton()->Repeating());
  for (int t = 0; t < 500; t += 10) {
    clock.Advance(10);
    Pump(12ms);
    PumpDueTimers();
  }
  // Window timers are coarse under wine: about 50 steps of 10.
  EXPECT_GE(s->GetPosition(), 5 + 40 * 10);
  EXPECT_LE(s->GetPosition(), 5 + 50 * 10);
  EXPECT_EQ(scrolls.count, (s->GetPosition() - 5) / 10);
  EXPECT_EQ(scrolls.last, s->GetPosition());
  Mouse(second, WM_LBUTTONUP, 5, 5, 0);
  EXPECT_FALSE(s->SecondButton()->Repeating());
  const int held = s->GetPosition();
  for (int t = 0; t < 100; t += 10) {
    clock.Advance(10);
    Pump(12ms);
    PumpDueTimers();
  }
  EXPECT_EQ(s->GetPosition(), held);
  EXPECT_EQ(s->Track()->GetPosition(), held) << "the thumb follows";

  s->SetPosition(0);
  HWND first = s->FirstButton()->GetHandle();
  Mouse(first, WM_LBUTTONDOWN, 5, 5, MK_LBUTTON);
  clock.Advance(30);
  Pump(30ms);
  PumpDueTimers();
  Mouse(first, WM_LBUTTONUP, 5, 5, 0);
  EXPECT_EQ(s->GetPosition(), 0) << "held at Min";
}

TEST_F(FlatScrollbar, MessagesAndKeysMoveTheTrackOnly) {
  TFlatScrollbar* s = form->Level;
  HWND h = s->GetHandle();
  TScrolls scrolls;
  scrolls.Watch(s);
  struct Step {
    UINT msg;
    WPARAM wp;
    int track;
  };
  const Step steps[] = {
      {WM_HSCROLL, SB_LINEDOWN, 1},  {WM_HSCROLL, SB_PAGEDOWN, 2},
      {WM_HSCROLL, SB_BOTTOM, 9},    {WM_HSCROLL, SB_LINEDOWN, 9},
      {WM_VSCROLL, SB_LINEUP, 8},    {WM_HSCROLL, SB_TOP, 0},
      {WM_HSCROLL, SB_PAGEUP, 0},    {WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 6), 6},
      {WM_HSCROLL, SB_ENDSCROLL, 6}, {SBM_SETPOS, 3, 3},
      {WM_KEYDOWN, VK_RIGHT, 4},     {WM_KEYDOWN, VK_NEXT, 5},
      {WM_KEYDOWN, VK_UP, 5},        {WM_KEYDOWN, VK_LEFT, 4},
      {WM_KEYDOWN, VK_PRIOR, 3},
  };
  for (const Step& st : steps) {
    SendMessageW(h, st.msg, st.wp, 0);
    EXPECT_EQ(s->Track()->GetPosition(), st.track) << st.msg << " " << st.wp;
  }
  EXPECT_EQ(s->GetPosition(), 0) << "the bar's own Position is left alone";
  EXPECT_EQ(scrolls.count, 0);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 57) << "3 of 9 over 171";

  SendMessageW(h, SBM_SETRANGE, 2, 40);
  int lo = -1, hi = -1;
  SendMessageW(h, SBM_GETRANGE, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(lo, 2);
  EXPECT_EQ(hi, 40);
  hi = -1;
  SendMessageW(h, SBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&hi));
  EXPECT_EQ(hi, 40) << "one end asked for";
  SendMessageW(h, SBM_GETRANGE, 0, 0);

  TFlatScrollbar* u = form->Upright;
  SendMessageW(u->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(u->GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(u->Track()->GetPosition(), 1) << "a vertical bar steps by up and down only";
}

TEST_F(FlatScrollbar, EnableArrowsGreysAndRestores) {
  TFlatScrollbar* s = form->Upright;
  HWND h = s->GetHandle();
  EXPECT_EQ(SendMessageW(h, SBM_ENABLE_ARROWS, ESB_DISABLE_BOTH, 0), 1);
  EXPECT_FALSE(s->FirstButton()->GetEnabled());
  EXPECT_FALSE(s->SecondButton()->GetEnabled());
  SendMessageW(h, SBM_ENABLE_ARROWS, ESB_DISABLE_RTDN, 0);
  EXPECT_TRUE(s->FirstButton()->GetEnabled());
  EXPECT_FALSE(s->SecondButton()->GetEnabled());
  TBitmap disabled;
  disabled.LoadFromResourceName(nullptr, L"THUMB_DOWN_DISABLED");
  TBitmap* glyph = s->SecondButton()->GetGlyph();
  ASSERT_FALSE(glyph->Empty());
  bool same = glyph->GetWidth() == disabled.GetWidth() && glyph->GetHeight() == disabled.GetHeight();
  for (int y = 0; same && y < glyph->GetHeight(); ++y)
    for (int x = 0; same && x < glyph->GetWidth(); ++x)
      same = glyph->GetCanvas()->GetPixel(x, y) == disabled.GetCanvas()->GetPixel(x, y);
  EXPECT_TRUE(same) << "the disabled picture of its side";
  SendMessageW(h, SBM_ENABLE_ARROWS, ESB_ENABLE_BOTH, 0);
  EXPECT_TRUE(s->FirstButton()->GetEnabled());

  // Greyed while held down, the arrow stops stepping.
  SendMessageW(s->SecondButton()->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_TRUE(s->SecondButton()->Repeating());
  SendMessageW(h, SBM_ENABLE_ARROWS, ESB_DISABLE_BOTH, 0);
  EXPECT_FALSE(s->SecondButton()->Repeating());
  SendMessageW(h, SBM_ENABLE_ARROWS, ESB_ENABLE_BOTH, 0);
  EXPECT_TRUE(s->SecondButton()->GetEnabled());
}

TEST_F(FlatScrollbar, KindTurnsTheParts) {
  TFlatScrollbar* s = form->Upright;
  s->SetKind(sbHorizontal);
  s->SetBounds(s->GetLeft(), s->GetTop(), 100, 17);
  EXPECT_EQ(s->SecondButton()->GetBoundsRect(), TRect(83, 0, 100, 17));
  EXPECT_EQ(s->Track()->GetBoundsRect(), TRect(17, 0, 83, 17));
  EXPECT_EQ(s->Track()->Thumb()->GetWidth(), 17);
  s->SetPosition(100);
  EXPECT_EQ(s->Track()->Thumb()->GetLeft(), 66 - 17);
}

TEST_F(FlatScrollbar, Screenshot) {
  form->Slider->SetPosition(1200);
  form->Level->SetPosition(6);
  form->Upright->SetPosition(30);
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_scrollbar.png"));
}

}  // namespace
