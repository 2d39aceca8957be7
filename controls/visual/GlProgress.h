// TglProgress: a percentage as a two-colour gradient cut into segments, inside a
// bevelled frame, with a caption formatted from the percentage (the volume bars of
// the on-screen displays).
#pragma once
#include "controls/visual/GlColors.h"
#include "controls/visual/GlDrawing.h"
#include "vcl/Bitmap.h"
#include "vcl/Controls.h"
#include "vcl/StdCtrls.h"

#include <memory>

namespace Flat {

QORN_ENUM(TglLabelDir, fldLeftRight, fldRightLeft, fldUpDown, fldDownUp);
QORN_ENUM(TglProgressOption, fpoDelineatedText, fpoTransparent);
using TglProgressOptions = TSet<TglProgressOption>;

// Where the caption of extent `measured`, grown to `grown` by its text style, starts
// in a control of the given size.
TPoint GlCaptionOrigin(TglLabelDir dir, TAlignment alignment, int width, int height, TSize measured, TSize grown);

class TglProgress : public TGraphicControl {
  QORN_CLASS(TglProgress, TGraphicControl)
 public:
  explicit TglProgress(TComponent* AOwner);
  ~TglProgress() override;

  int GetPercent() const { return FPercent; }
  void SetPercent(int v);  // clamped to 0..100; repaints only on a change
  int GetStep() const { return FStep; }
  void SetStep(int v);
  int GetInterspace() const { return FInterspace; }
  void SetInterspace(int v);
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut v);
  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut v);
  bool GetBevelBold() const { return FBevelBold; }
  void SetBevelBold(bool v);
  TglProgressOptions GetOptions() const { return FOptions; }
  void SetOptions(TglProgressOptions v);
  TAlignment GetCaptionAlignment() const { return FCaptionAlignment; }
  void SetCaptionAlignment(TAlignment v);
  TglLabelDir GetCaptionDirection() const { return FCaptionDirection; }
  void SetCaptionDirection(TglLabelDir v);
  TglTextStyle GetCaptionStyle() const { return FCaptionStyle; }
  void SetCaptionStyle(TglTextStyle v);

  TglSimleLabelColors* GetColors() const { return FColors.get(); }
  void SetColors(TglSimleLabelColors* v) { FColors->Assign(v); }
  TGradient* GetGradient() const { return FGradient.get(); }
  void SetGradient(TGradient* v) { FGradient->Assign(v); }
  TGradient* GetGradientBack() const { return FGradientBack.get(); }
  void SetGradientBack(TGradient* v) { FGradientBack->Assign(v); }

  // The caption as drawn: Caption formatted with Percent, or as it stands when it is no
  // valid format for one integer ("50%", "%s").
  std::wstring FormattedCaption() const;

  void CMTextChanged(TMessage& m);

 protected:
  void Paint() override;

 private:
  static void Publish(TPublisher<TglProgress>& p);
  void CaptureParentBackground(HDC dc);
  void CutGaps(HDC dc, const TRect& r);
  void DrawCaption(HDC dc);

  std::unique_ptr<TglSimleLabelColors> FColors;
  std::unique_ptr<TGradient> FGradient;
  std::unique_ptr<TGradient> FGradientBack;
  std::unique_ptr<TBitmap> FPicture;
  std::unique_ptr<TBitmap> FBackground;
  bool FCapturing = false;  // painting the parent into FBackground: our own paint is skipped
  int FPercent = 0;
  int FStep = 3;
  int FInterspace = 1;
  TBevelCut FBevelInner = bvLowered;
  TBevelCut FBevelOuter = bvNone;
  bool FBevelBold = false;
  TglProgressOptions FOptions;
  TAlignment FCaptionAlignment = taCenter;
  TglLabelDir FCaptionDirection = fldLeftRight;
  TglTextStyle FCaptionStyle = fstShadow;
};

}  // namespace Flat
