// A flat check box: an 11-pixel box with a tick and a word-wrapped caption.
// Every change of Checked, by the mouse, the keyboard or SetChecked, fires
// OnClick once; the platform's click on release fires nothing of its own.
#pragma once
#include "controls/visual/FlatCheckControl.h"

namespace Flat {

QORN_ENUM(TCheckBoxLayout, checkboxLeft, checkboxRight);

class TFlatCheckBox : public TFlatCheckControl {
  QORN_CLASS(TFlatCheckBox, TFlatCheckControl)
 public:
  explicit TFlatCheckBox(TComponent* AOwner);
  ~TFlatCheckBox() override;
  // Nothing when unchanged; else stores, fires OnClick and redraws the box.
  void SetChecked(bool v) override;
  TCheckBoxLayout GetLayout() const { return GetRightLayout() ? checkboxRight : checkboxLeft; }
  void SetLayout(TCheckBoxLayout v) { SetRightLayout(v == checkboxRight); }
  TRect IndicatorRect() const override;
  // The click of a release comes from SetChecked.
  void Click() override {}

  void CMDialogChar(TMessage& m);
  static THoverTimer& ClassHoverTimer();

 protected:
  THoverTimer& HoverTimer() override { return ClassHoverTimer(); }
  void DrawIndicator(TCanvas* canvas) override;
  void ReleasedAt(int x, int y) override;

 private:
  static void Publish(TPublisher<TFlatCheckBox>& p);
};

}  // namespace Flat
