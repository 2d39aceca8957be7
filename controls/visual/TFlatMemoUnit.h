// The flat memo: the platform's memo with the flat edit's painted 3-pixel
// border and colours (FlatEditFrame.h). Its scroll bars lie inside the band;
// with both, the square between them takes the band's colour. Hovering lights
// it only while no other flat memo has the focus.
#pragma once
#include "controls/visual/FlatEditFrame.h"
#include "vcl/StdCtrls.h"

namespace Flat {

class TFlatMemo : public TCustomMemo {
  QORN_CLASS(TFlatMemo, TCustomMemo)
 public:
  explicit TFlatMemo(TComponent* AOwner);

  TColor GetColorFocused() const { return FColors.Focused; }
  void SetColorFocused(TColor v);
  TColor GetColorBorder() const { return FColors.Border; }
  void SetColorBorder(TColor v);
  TColor GetColorFlat() const { return FColors.Flat; }
  // Turns ParentColor off.
  void SetColorFlat(TColor v);
  bool GetFlatParentColor() const { return FColors.ParentColor; }
  void SetFlatParentColor(bool v);
  TAdvColors GetAdvColorFocused() const { return FColors.AdvFocused; }
  void SetAdvColorFocused(TAdvColors v);
  TAdvColors GetAdvColorBorder() const { return FColors.AdvBorder; }
  void SetAdvColorBorder(TAdvColors v);
  bool GetUseAdvColors() const { return FColors.UseAdv; }
  void SetUseAdvColors(bool v);

  bool MouseIn() const { return FMouseIn; }
  bool ShowsActiveLook() const;
  void RedrawBorder();

  void WMNCCalcSize(TMessage& m);
  void WMNCPaint(TMessage& m);
  void WMFocusChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMColorsFollow(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Loaded() override;

 private:
  static void Publish(TPublisher<TFlatMemo>& p);
  TFlatEditColors FColors;
  bool FMouseIn = false;
};

}  // namespace Flat
