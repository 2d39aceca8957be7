// Enter and leave stay put while the cursor rests on a disabled windowless control:
// mouse moves and the idle check agree on the control under the cursor.
#include <gtest/gtest.h>

#include "vcl/Forms.h"
#include "testing/PumpApplication.h"

namespace {

using namespace std::chrono_literals;

struct TCounts {
  int enters = 0, leaves = 0;
};

template <class Base>
class TCounting : public Base {
 public:
  explicit TCounting(TComponent* AOwner) : Base(AOwner) {}
  TCounts counts;
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER && m.LParam == reinterpret_cast<intptr_t>(this)) ++counts.enters;
    if (m.Msg == CM_MOUSELEAVE && m.LParam == reinterpret_cast<intptr_t>(this)) ++counts.leaves;
    Base::WndProc(m);
  }
};

TEST(EnterLeave, ADisabledWindowlessChildAndItsParentDoNotTrade) {
  auto* form = CreateFormNew<TForm>(Application);
  form->SetBounds(320, 220, 300, 200);
  auto* panel = new TCounting<TCustomControl>(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 240, 140);
  auto* child = new TCounting<TGraphicControl>(form);
  child->SetParent(panel);
  child->SetBounds(40, 30, 100, 60);
  child->SetEnabled(false);
  form->Show();
  // Tests running beside this one show windows too: keep this form above them, or the
  // idle check would rightly find another window under the cursor.
  SetWindowPos(form->GetHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const TPoint first = child->ClientToScreen({20, 20});
  ASSERT_TRUE(PumpUntil([&] { return WindowFromPoint({first.X, first.Y}) == panel->GetHandle(); }, 10s))
      << "another window covers the test form";

  for (int i = 0; i < 6; ++i) {
    const TPoint screen = child->ClientToScreen({20 + i, 20});
    SetCursorPos(screen.X, screen.Y);
    const TPoint local = panel->ScreenToClient(screen);
    PostMessageW(panel->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(local.X, local.Y));
    // Moves and idle turns alternate, as they do under a resting hand.
    Pump(15ms);
  }
  EXPECT_EQ(child->counts.enters, 1);
  EXPECT_EQ(child->counts.leaves, 0);
  EXPECT_LE(panel->counts.enters, 1);
  EXPECT_LE(panel->counts.leaves, 1);
  EXPECT_EQ(MouseControl(), child);
  delete form;
}

}  // namespace
