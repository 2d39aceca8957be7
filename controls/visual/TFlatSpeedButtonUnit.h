// TFlatSpeedButton: the windowless flat push button. It shares its look and
// behaviour with TFlatButton (controls/visual/FlatButtonCommon.h); it has no
// focus and no keys, paints straight on its parent (showing the parent through
// when transparent), clicks on its caption's accelerator, and takes a glyph from
// its action's picture when it has none of its own.
#pragma once
#include "controls/visual/FlatButtonCommon.h"

namespace Flat {

class TFlatSpeedButton : public TFlatButtonCommon<TGraphicControl> {
  QORN_CLASS(TFlatSpeedButton, TGraphicControl)
 public:
  explicit TFlatSpeedButton(TComponent* AOwner);
  ~TFlatSpeedButton() override;

  void CMDialogChar(TMessage& m);

  static THoverTimer& ClassHoverTimer();

 protected:
  THoverTimer& HoverTimer() override { return ClassHoverTimer(); }
  void Paint() override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;

 private:
  static void Publish(TPublisher<TFlatSpeedButton>& p);
};

}  // namespace Flat
