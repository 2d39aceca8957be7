// The flat edit: the platform's edit without the 3D edge. It keeps a 3-pixel
// non-client border and paints it itself (FlatEditFrame.h): the active colours
// while it has the focus, or while hovered when no other flat edit has it.
// Its height follows its font (the font's height + 6) at run time.
//
// Every setter does nothing on an equal value, so nothing repaints for nothing.
#pragma once
#include "controls/visual/FlatEditFrame.h"
#include "vcl/StdCtrls.h"

namespace Flat {

class TCustomFlatEdit : public TCustomEdit {
  QORN_CLASS(TCustomFlatEdit, TCustomEdit)
 public:
  explicit TCustomFlatEdit(TComponent* AOwner);

  TColor GetColorFocused() const { return FColors.Focused; }
  void SetColorFocused(TColor v);
  TColor GetColorBorder() const { return FColors.Border; }
  void SetColorBorder(TColor v);
  TColor GetColorFlat() const { return FColors.Flat; }
  // Turns ParentColor off.
  void SetColorFlat(TColor v);
  // The control's own flag (not the platform's): ColorFlat follows the parent's Color.
  bool GetFlatParentColor() const { return FColors.ParentColor; }
  void SetFlatParentColor(bool v);
  TAdvColors GetAdvColorFocused() const { return FColors.AdvFocused; }
  void SetAdvColorFocused(TAdvColors v);
  TAdvColors GetAdvColorBorder() const { return FColors.AdvBorder; }
  void SetAdvColorBorder(TAdvColors v);
  bool GetUseAdvColors() const { return FColors.UseAdv; }
  void SetUseAdvColors(bool v);

  bool MouseIn() const { return FMouseIn; }
  // Whether the band shows the focused-or-hovered colours now.
  bool ShowsActiveLook() const;
  void RedrawBorder();

  void WMNCCalcSize(TMessage& m);
  void WMNCPaint(TMessage& m);
  void WMFocusChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMColorsFollow(TMessage& m);
  void CMFontChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Loaded() override;
  void AdjustHeight();

 private:
  static void Publish(TPublisher<TCustomFlatEdit>& p);
  TFlatEditColors FColors;
  bool FMouseIn = false;
};

class TFlatEdit : public TCustomFlatEdit {
  QORN_CLASS(TFlatEdit, TCustomFlatEdit)
 public:
  explicit TFlatEdit(TComponent* AOwner) : TCustomFlatEdit(AOwner) {}
};

}  // namespace Flat
