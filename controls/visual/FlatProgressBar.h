// TFlatProgressBar: a flat bar of 8-pixel blocks (or one smooth bar) in a one-pixel
// border, filled from Min towards Max.
#pragma once
#include "vcl/Controls.h"

namespace Flat {

QORN_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical);

class TFlatProgressBar : public TGraphicControl {
  QORN_CLASS(TFlatProgressBar, TGraphicControl)
 public:
  explicit TFlatProgressBar(TComponent* AOwner);

  int GetPosition() const { return FPosition; }
  // Clamped to Min..Max. A higher value adds its blocks at once, without erasing; a
  // lower one repaints the whole bar.
  void SetPosition(int v);
  int GetMin() const { return FMin; }
  void SetMin(int v);  // a Position below the new Min is raised to it
  int GetMax() const { return FMax; }
  void SetMax(int v);  // a Position above the new Max is lowered to it
  int GetStep() const { return FStep; }
  void SetStep(int v);
  bool GetSmooth() const { return FSmooth; }
  void SetSmooth(bool v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TColor GetColorElement() const { return FColorElement; }
  void SetColorElement(TColor v);
  TColor GetColorBorder() const { return FColorBorder; }
  void SetColorBorder(TColor v);
  TProgressBarOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation v);
  bool GetUseAdvColors() const { return FUseAdvColors; }
  void SetUseAdvColors(bool v);
  int GetAdvColorBorder() const { return FAdvColorBorder; }
  void SetAdvColorBorder(int v);

  void CMParentColorChanged(TMessage& m);

 protected:
  void Loaded() override;
  void Paint() override;

 private:
  static void Publish(TPublisher<TFlatProgressBar>& p);
  void DrawBar(HDC dc);

  bool FTransparent = false;
  TColor FColorElement = 0x996633;
  TColor FColorBorder = 0x8396A0;
  int FAdvColorBorder = 50;
  bool FUseAdvColors = false;
  TProgressBarOrientation FOrientation = pbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FStep = 10;
  bool FSmooth = false;
};

}  // namespace Flat
