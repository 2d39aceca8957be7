// Drag and drop follows the source's own mouse messages: BeginDrag returns at
// once, the release drops on the control under the cursor (and still reaches the
// source), Esc cancels.
#include <gtest/gtest.h>

#include "vcl/Forms.h"
#include "testing/PumpApplication.h"

#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

class TDragPad : public TCustomControl {
  QORN_CLASS(TDragPad, TCustomControl)
 public:
  explicit TDragPad(TComponent* AOwner) : TCustomControl(AOwner) {}
  bool BeginReturned = false;
  int Ups = 0, Clicks = 0, Drops = 0;
  TObject* DroppedFrom = nullptr;
  TObject* EndTarget = reinterpret_cast<TObject*>(1);
  int EndCalls = 0;

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    TCustomControl::MouseDown(button, shift, x, y);
    BeginDrag(false, 5);
    BeginReturned = true;
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    ++Ups;
    TCustomControl::MouseUp(button, shift, x, y);
  }
  void Click() override { ++Clicks; }
  void DragOver(TObject* source, int, int, TDragState, bool& accept) override { accept = source != this; }
  void DragDrop(TObject* source, int, int) override {
    ++Drops;
    DroppedFrom = source;
  }
  void DoEndDrag(TObject* target, int, int) override {
    ++EndCalls;
    EndTarget = target;
  }
};

class Drag : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateFormNew<TForm>(Application);
    form->SetBounds(300, 200, 400, 200);
    source = MakePad(10);
    target = MakePad(200);
    form->Show();
    Pump(30ms);
  }
  void TearDown() override { delete form; }
  TDragPad* MakePad(int left) {
    auto* pad = new TDragPad(form);
    pad->SetParent(form);
    pad->SetBounds(left, 10, 150, 120);
    return pad;
  }
  // Puts the cursor on a point of a pad and posts a mouse message there, as a
  // user's hand would (the drag reads the cursor).
  void MouseAt(TDragPad* over, int x, int y, UINT msg, WPARAM keys) {
    const TPoint screen = over->ClientToScreen({x, y});
    SetCursorPos(screen.X, screen.Y);
    const TPoint local = source->ScreenToClient(screen);
    PostMessageW(source->GetHandle(), msg, keys, MAKELPARAM(static_cast<WORD>(local.X), static_cast<WORD>(local.Y)));
    Pump(20ms);
  }
  TForm* form = nullptr;
  TDragPad* source = nullptr;
  TDragPad* target = nullptr;
};

TEST_F(Drag, ADragEndsOnTheReleaseOverItsTarget) {
  MouseAt(source, 20, 20, WM_LBUTTONDOWN, MK_LBUTTON);
  EXPECT_TRUE(source->BeginReturned) << "BeginDrag held the loop";
  EXPECT_TRUE(source->Dragging());
  MouseAt(source, 40, 30, WM_MOUSEMOVE, MK_LBUTTON);
  MouseAt(target, 30, 30, WM_MOUSEMOVE, MK_LBUTTON);
  MouseAt(target, 30, 30, WM_LBUTTONUP, 0);

  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(target->Drops, 1);
  EXPECT_EQ(target->DroppedFrom, source);
  EXPECT_EQ(source->EndCalls, 1);
  EXPECT_EQ(source->EndTarget, target);
  // The release still ends the press on the source; a drop is no click.
  EXPECT_EQ(source->Ups, 1);
  EXPECT_EQ(source->Clicks, 0);
  EXPECT_FALSE(source->GetMouseCapture());
}

TEST_F(Drag, EscCancelsAndAShortMoveIsAClick) {
  MouseAt(source, 20, 20, WM_LBUTTONDOWN, MK_LBUTTON);
  MouseAt(target, 30, 30, WM_MOUSEMOVE, MK_LBUTTON);
  PostMessageW(source->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump(20ms);
  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(source->EndCalls, 1);
  EXPECT_EQ(source->EndTarget, nullptr);
  MouseAt(target, 30, 30, WM_LBUTTONUP, 0);
  EXPECT_EQ(target->Drops, 0);

  // Under the threshold: no drag starts, the release is an ordinary click.
  source->EndCalls = 0;
  MouseAt(source, 20, 20, WM_LBUTTONDOWN, MK_LBUTTON);
  MouseAt(source, 22, 21, WM_MOUSEMOVE, MK_LBUTTON);
  MouseAt(source, 22, 21, WM_LBUTTONUP, 0);
  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(source->EndCalls, 1);
  EXPECT_EQ(source->EndTarget, nullptr);
  EXPECT_EQ(source->Clicks, 1);
}

}  // namespace
