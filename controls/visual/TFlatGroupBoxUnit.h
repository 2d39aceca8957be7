// TFlatGroupBox: a container with a 1-pixel frame at half the caption's height,
// broken by the caption at the top (or only that top line), painted flat into
// an off-screen bitmap.
#pragma once
#include "controls/visual/FlatGroupBoxFrame.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Controls.h"
#include "vcl/PaintBuffer.h"

namespace Flat {

QORN_ENUM(TGroupBoxBorder, brFull, brOnlyTopLine);

class TFlatGroupBox : public TCustomControl {
  QORN_CLASS(TFlatGroupBox, TCustomControl)
 public:
  explicit TFlatGroupBox(TComponent* AOwner);

  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TColor GetColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor v);
  TGroupBoxBorder GetBorder() const { return FBorder; }
  void SetBorder(TGroupBoxBorder v);
  TAdvColors GetAdvColorBorder() const { return FAdvColorBorder; }
  void SetAdvColorBorder(TAdvColors v);
  // Derives ColorBorder from Color (and follows the parent's colour).
  bool GetUseAdvColors() const { return FUseAdvColors; }
  void SetUseAdvColors(bool v);

  void CMEnabledChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMSysColorChange(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void WMSizeOrMove(TMessage& m);
  void WMEraseBkgnd(TMessage& m);

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<TFlatGroupBox>& p);
  void RecomputeBorder();

  bool FTransparent = false;
  TColor FColorBorder = static_cast<TColor>(0x8396A0);
  TGroupBoxBorder FBorder = brFull;
  TAdvColors FAdvColorBorder = 50;
  bool FUseAdvColors = false;
  TPaintBuffer FBuffer;
};

}  // namespace Flat
