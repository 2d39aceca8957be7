// TFlatPanel: a container with a 1-pixel two-colour frame and a one-line
// caption, painted flat into an off-screen bitmap; transparent, it shows its
// parent (not its siblings) behind it.
#pragma once
#include "controls/visual/FlatUtilitys.h"
#include "vcl/ExtCtrls.h"
#include "vcl/PaintBuffer.h"

namespace Flat {

class TFlatPanel : public TCustomPanel {
  QORN_CLASS(TFlatPanel, TCustomPanel)
 public:
  explicit TFlatPanel(TComponent* AOwner);

  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TColor GetColorHighLight() const { return FColorHighLight; }
  void SetColorHighLight(TColor v);
  TColor GetColorShadow() const { return FColorShadow; }
  void SetColorShadow(TColor v);

  void CMEnabledChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void WMEraseBkgnd(TMessage& m);

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<TFlatPanel>& p);

  bool FTransparent = false;
  TColor FColorHighLight = static_cast<TColor>(0x8396A0);
  TColor FColorShadow = static_cast<TColor>(0x8396A0);
  TPaintBuffer FBuffer;
};

}  // namespace Flat
