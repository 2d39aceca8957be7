// The flat integer spin edit: a flat edit (TFlatEditUnit.h) for a whole number,
// with a pair of arrow buttons inside its right edge (FlatSpinButton.h). The
// buttons and the arrow keys step Value by Increment; holding a button repeats.
//
// Value is the text read as a decimal integer (a text that is none reads as
// MinValue). Equal MinValue and MaxValue mean no bounds. Stepping saturates at
// the bounds and at the range of an int, and leaving the control rewrites any
// text that is not the decimal form of Value, so what it shows is what it holds.
#pragma once
#include "controls/visual/FlatSpinButton.h"
#include "controls/visual/TFlatEditUnit.h"

namespace Flat {

class TFlatSpinEditInteger : public TCustomFlatEdit {
  QORN_CLASS(TFlatSpinEditInteger, TCustomFlatEdit)
 public:
  explicit TFlatSpinEditInteger(TComponent* AOwner);

  int GetValue() const;
  // Shows CheckValue(v) (OnChange fires when the text changes).
  void SetValue(int v);
  int GetMinValue() const { return FMinValue; }
  void SetMinValue(int v) { FMinValue = v; }
  int GetMaxValue() const { return FMaxValue; }
  void SetMaxValue(int v) { FMaxValue = v; }
  int GetIncrement() const { return FIncrement; }
  void SetIncrement(int v) { FIncrement = v; }
  // Off: nothing can be typed, cut or pasted; the buttons and arrow keys still step.
  bool GetEditorEnabled() const { return FEditorEnabled; }
  void SetEditorEnabled(bool v) { FEditorEnabled = v; }
  TSpinButton* Button() const { return FButton; }

  int CheckValue(long long v) const;
  virtual bool IsValidChar(wchar_t key) const;
  virtual void UpClick();
  virtual void DownClick();

  void WMCutOrPaste(TMessage& m);
  void WMSize(TMessage& m);
  // A multi-line edit sends no EN_CHANGE when its text is set: a value set by code
  // or stepped by the buttons and arrow keys tells OnChange here.
  void CMTextChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void DoEnter() override;
  void DoExit() override;

 private:
  static void Publish(TPublisher<TFlatSpinEditInteger>& p);
  void Step(long long by);
  void PlaceButton();
  void SetEditRect();
  TSpinButton* FButton;
  int FMinValue = 0;
  int FMaxValue = 0;
  int FIncrement = 1;
  bool FEditorEnabled = true;
};

}  // namespace Flat
