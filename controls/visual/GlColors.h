// The colour sets of the gradient bar: the two colours of a gradient, the gradient
// itself, and the frame and caption colours. Each tells its owner of a real change
// through OnChange, which the bar answers with a repaint.
#pragma once
#include "vcl/Classes.h"
#include "vcl/Color.h"
#include "vcl/Font.h"

#include <functional>

namespace Flat {

QORN_ENUM(TglGradientDir, fgdHorizontal, fgdVertical, fgdLeftBias, fgdRightBias, fgdRectangle, fgdHorzConvergent,
          fgdVertConvergent);

// A gradient's two ends; each keeps the plain RGB value it had when it was set, so a
// system colour changing later does not shift a bar already on screen.
class TTwainColors : public TPersistent {
  QORN_CLASS(TTwainColors, TPersistent)
 public:
  TTwainColors() = default;
  void Assign(const TPersistent* Source) override;
  TColor GetFromColor() const { return FFromColor; }
  void SetFromColor(TColor v);
  TColor GetToColor() const { return FToColor; }
  void SetToColor(TColor v);
  TColor GetFromRGB() const { return FFromRGB; }
  TColor GetToRGB() const { return FToRGB; }
  std::function<void()> OnChange;

 protected:
  void Changed() const {
    if (OnChange) OnChange();
  }

 private:
  static void Publish(TPublisher<TTwainColors>& p);
  TColor FFromColor = clGray;
  TColor FToColor = clBlack;
  TColor FFromRGB = 0x808080;
  TColor FToRGB = 0x000000;
};

class TGradient : public TTwainColors {
  QORN_CLASS(TGradient, TTwainColors)
 public:
  TGradient() = default;
  void Assign(const TPersistent* Source) override;
  bool GetActive() const { return FActive; }
  void SetActive(bool v);
  bool GetBufferedDraw() const { return FBufferedDraw; }
  void SetBufferedDraw(bool v);
  TglGradientDir GetOrientation() const { return FOrientation; }
  void SetOrientation(TglGradientDir v);
  int GetSteps() const { return FSteps; }
  void SetSteps(int v);  // clamped to 1..255
  int GetPercentFilling() const { return FPercentFilling; }
  void SetPercentFilling(int v);  // clamped to 0..100
  TBrushStyle GetBrushStyle() const { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle v);

 private:
  static void Publish(TPublisher<TGradient>& p);
  bool FActive = false;
  bool FBufferedDraw = false;
  TglGradientDir FOrientation = fgdHorizontal;
  int FSteps = 255;
  int FPercentFilling = 100;
  TBrushStyle FBrushStyle = bsSolid;
};

// Frame and caption colours ("Simle" is the name form resources use).
class TglSimleLabelColors : public TPersistent {
  QORN_CLASS(TglSimleLabelColors, TPersistent)
 public:
  TglSimleLabelColors() = default;
  void Assign(const TPersistent* Source) override;
  TColor GetDelineate() const { return FDelineate; }
  void SetDelineate(TColor v) { Set(FDelineate, v); }
  TColor GetHighlight() const { return FHighlight; }
  void SetHighlight(TColor v) { Set(FHighlight, v); }
  TColor GetShadow() const { return FShadow; }
  void SetShadow(TColor v) { Set(FShadow, v); }
  TColor GetBackground() const { return FBackground; }
  void SetBackground(TColor v) { Set(FBackground, v); }
  std::function<void()> OnChange;

 private:
  static void Publish(TPublisher<TglSimleLabelColors>& p);
  void Set(TColor& field, TColor v);
  TColor FDelineate = clWhite;
  TColor FHighlight = clBtnHighlight;
  TColor FShadow = clBtnShadow;
  TColor FBackground = clBtnFace;
};

}  // namespace Flat
