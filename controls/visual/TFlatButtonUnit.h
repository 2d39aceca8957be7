// TFlatButton: the flat push button with a window of its own. Beyond what it
// shares with the speed button (controls/visual/FlatButtonCommon.h) it takes the
// focus on a press and looks hot while focused, is pressed by Space, draws a
// 2-pixel idle frame as the form's default button, and paints into an
// off-screen bitmap with its parent's image behind it when transparent.
#pragma once
#include "controls/visual/FlatButtonCommon.h"
#include "vcl/PaintBuffer.h"

namespace Flat {

class TFlatButton : public TFlatButtonCommon<TCustomControl> {
  QORN_CLASS(TFlatButton, TCustomControl)
 public:
  explicit TFlatButton(TComponent* AOwner);
  ~TFlatButton() override;

  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);

  void CMDialogChar(TMessage& m);
  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMKeyDown(TMessage& m);
  void WMKeyUp(TMessage& m);
  void WMSizeOrMove(TMessage& m);
  void WMEraseBkgnd(TMessage& m);

  static THoverTimer& ClassHoverTimer();

 protected:
  THoverTimer& HoverTimer() override { return ClassHoverTimer(); }
  void Pressed() override;
  void Paint() override;

 private:
  static void Publish(TPublisher<TFlatButton>& p);

  bool FDefault = false;
  bool FSpacePressed = false;  // Space went down on this button and is not released yet
  TPaintBuffer FBuffer;
};

}  // namespace Flat
