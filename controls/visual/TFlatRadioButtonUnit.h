// A flat radio button: a 10-pixel circle with a dot and a word-wrapped caption.
// Checking one unchecks the radio buttons of the same parent with an equal
// GroupIndex and fires OnClick once; unchecking fires nothing. The checked one is
// its group's tab stop.
#pragma once
#include "controls/visual/FlatCheckControl.h"

namespace Flat {

QORN_ENUM(TRadioButtonLayout, radioLeft, radioRight);

class TFlatRadioButton : public TFlatCheckControl {
  QORN_CLASS(TFlatRadioButton, TFlatCheckControl)
 public:
  explicit TFlatRadioButton(TComponent* AOwner);
  ~TFlatRadioButton() override;
  void SetChecked(bool v) override;
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v) { FGroupIndex = v; }
  TRadioButtonLayout GetLayout() const { return GetRightLayout() ? radioRight : radioLeft; }
  void SetLayout(TRadioButtonLayout v) { SetRightLayout(v == radioRight); }
  TRect IndicatorRect() const override;
  // A release that checks the button fires OnClick through SetChecked alone, so
  // one user click gives one OnClick; a click on a checked one still fires it.
  void Click() override;

  void CMDialogChar(TMessage& m);
  static THoverTimer& ClassHoverTimer();

 protected:
  THoverTimer& HoverTimer() override { return ClassHoverTimer(); }
  void DrawIndicator(TCanvas* canvas) override;
  void ReleasedAt(int x, int y) override;
  void DoEnter() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  static void Publish(TPublisher<TFlatRadioButton>& p);
  int FGroupIndex = 0;
  bool FPressChecked = false;  // this press already checked it (and fired OnClick)
};

}  // namespace Flat
