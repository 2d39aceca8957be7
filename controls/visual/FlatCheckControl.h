// What the flat check box and radio button share: the colours and their derived
// shades, the hover, focus and pressed looks, painting (indicator, word-wrapped
// caption, engraved when disabled) and the mouse. The two classes add their
// indicator, their keyboard and what Checked does.
//
// The indicator is redrawn at once when the state changes while the window is
// shown; before that, or while hidden, the control is only invalidated, so that
// setting Checked early never creates a window.
#pragma once
#include "controls/visual/FlatHoverTimer.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Controls.h"
#include "vcl/PaintBuffer.h"

namespace Flat {

class TFlatCheckControl : public TCustomControl {
  QORN_CLASS(TFlatCheckControl, TCustomControl)
 public:
  explicit TFlatCheckControl(TComponent* AOwner);
  ~TFlatCheckControl() override;

  bool GetChecked() const { return FChecked; }
  virtual void SetChecked(bool v) { FChecked = v; }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TColor GetColorFocused() const { return FColorFocused; }
  void SetColorFocused(TColor v);
  TColor GetColorDown() const { return FColorDown; }
  void SetColorDown(TColor v);
  // The tick of a check box, the dot of a radio button.
  TColor GetColorMark() const { return FColorMark; }
  void SetColorMark(TColor v);
  TColor GetColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor v);
  TAdvColors GetAdvColorFocused() const { return FAdvColorFocused; }
  void SetAdvColorFocused(TAdvColors v);
  TAdvColors GetAdvColorDown() const { return FAdvColorDown; }
  void SetAdvColorDown(TAdvColors v);
  TAdvColors GetAdvColorBorder() const { return FAdvColorBorder; }
  void SetAdvColorBorder(TAdvColors v);
  // Derives ColorFocused, ColorDown and ColorBorder from Color (and follows the parent's colour).
  bool GetUseAdvColors() const { return FUseAdvColors; }
  void SetUseAdvColors(bool v);
  bool GetRightLayout() const { return FRightLayout; }
  void SetRightLayout(bool v);

  bool MouseIn() const { return FMouseIn; }
  bool MouseIsDown() const { return FMouseDown; }
  bool HasFocusLook() const { return FFocused; }
  // Where the box or circle lies in the client area.
  virtual TRect IndicatorRect() const = 0;

  void CMEnabledChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CNCommand(TMessage& m);
  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void CMSysColorChange(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void WMSizeOrMove(TMessage& m);
  void WMEraseBkgnd(TMessage& m);

 protected:
  // The hover timer of the concrete class (one per class).
  virtual THoverTimer& HoverTimer() = 0;
  // Draws the box or circle on canvas in its state.
  virtual void DrawIndicator(TCanvas* canvas) = 0;
  // The fill of the indicator now.
  TColor IndicatorFill() const;
  // Redraws the indicator alone, at once when shown (see the top of this file).
  void RedrawIndicator();
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // What a release of the left button at (x, y) does to Checked.
  virtual void ReleasedAt(int x, int y) = 0;
  void DoEnter() override;
  void DoExit() override;
  void MouseEnter();
  void MouseLeave();
  void RecomputeColors();
  // Stores Checked without side effects, for the classes' SetChecked.
  void StoreChecked(bool v) { FChecked = v; }

  bool FMouseIn = false;
  bool FMouseDown = false;
  bool FFocused = false;

 private:
  static void Publish(TPublisher<TFlatCheckControl>& p);
  void HoverTick();
  bool FChecked = false;
  bool FTransparent = false;
  TColor FColorFocused = clWhite;
  TColor FColorDown = static_cast<TColor>(0xC5D6D9);
  TColor FColorMark = clBlack;
  TColor FColorBorder = static_cast<TColor>(0x8396A0);
  TAdvColors FAdvColorFocused = 10;
  TAdvColors FAdvColorDown = 10;
  TAdvColors FAdvColorBorder = 50;
  bool FUseAdvColors = false;
  bool FRightLayout = false;
  TPaintBuffer FBuffer;
};

// The normal fill of flat check boxes, radio buttons and buttons.
inline constexpr TColor kFlatDefaultColor = static_cast<TColor>(0xE1EAEB);

}  // namespace Flat
