// TVyBackground: a windowless control that paints up to three layers over its area, a
// tiled texture, a two-colour gradient and a picture, inside an optional frame.
// TVySeparator: a thin line that fades from a highlight colour to its own colour.
//
// Rules: a layer whose picture is empty (or has a side of 0) paints nothing, so
// switching between gradient and texture never tiles nothing. The gradient and the
// texture take turns: turning one on turns the other off.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/Controls.h"
#include "vcl/Picture.h"

#include <memory>

namespace Vy {

QORN_ENUM(TImageStyle, isCenter, isClip, isFill, isStretch, isTiled);
QORN_ENUM(TVyHighlightLocation, hlCenter, hlUpperLeft, hlLowerRight);

// Where a picture of w x h goes in a control of width x height when it fills it keeping
// its proportions, from the top-left; an empty rect for a picture with a side of 0.
TRect FillTarget(int width, int height, int w, int h);

class TVyCustomBackground : public TGraphicControl {
  QORN_CLASS(TVyCustomBackground, TGraphicControl)
 public:
  explicit TVyCustomBackground(TComponent* AOwner);
  ~TVyCustomBackground() override;

  bool GetActive() const { return FActive; }
  void SetActive(bool v) { Change(FActive, v); }
  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v) { Change(FFrameColor, v); }
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v) { Change(FFrameStyle, v); }
  TColor GetGradientColorStart() const { return FGradientColorStart; }
  void SetGradientColorStart(TColor v) { Change(FGradientColorStart, v); }
  TColor GetGradientColorStop() const { return FGradientColorStop; }
  void SetGradientColorStop(TColor v) { Change(FGradientColorStop, v); }
  TGradientDirection GetGradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection v) { Change(FGradientDirection, v); }
  int GetGradientSmoothFactor() const { return FGradientSmoothFactor; }
  void SetGradientSmoothFactor(int v) { Change(FGradientSmoothFactor, v); }
  TPicture* GetImage() const { return FImage.get(); }
  void SetImage(TPicture* v) { FImage->Assign(v); }
  TImageStyle GetImageStyle() const { return FImageStyle; }
  void SetImageStyle(TImageStyle v);
  bool GetShowGradient() const { return FShowGradient; }
  // On turns the texture off; off turns it on unless a picture is shown.
  void SetShowGradient(bool v);
  bool GetShowImage() const { return FShowImage; }
  void SetShowImage(bool v) { Change(FShowImage, v); }
  bool GetShowTexture() const { return FShowTexture; }
  // Turns the gradient to the opposite.
  void SetShowTexture(bool v);
  TPicture* GetTexture() const { return FTexture.get(); }
  void SetTexture(TPicture* v) { FTexture->Assign(v); }

 protected:
  void Paint() override;
  virtual void InvalidateBackground();
  virtual void PaintGradientLayer(TCanvas* canvas);
  virtual void PaintImageLayer(TCanvas* canvas, TPicture* picture);
  virtual void PaintTextureLayer(TCanvas* canvas, TPicture* picture);

 private:
  static void Publish(TPublisher<TVyCustomBackground>& p);
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    InvalidateBackground();
  }
  int FrameWidth() const;

  bool FActive = true;
  TColor FFrameColor = clBtnShadow;
  TFrameStyle FFrameStyle = fsNone;
  TColor FGradientColorStart = clHotLight;
  TColor FGradientColorStop = clActiveCaption;
  TGradientDirection FGradientDirection = gdHorizontalEnd;
  int FGradientSmoothFactor = 1;
  std::unique_ptr<TPicture> FImage = std::make_unique<TPicture>();
  TImageStyle FImageStyle = isCenter;
  bool FShowGradient = true;
  bool FShowImage = false;
  bool FShowTexture = false;
  std::unique_ptr<TPicture> FTexture = std::make_unique<TPicture>();
};

class TVyBackground : public TVyCustomBackground {
  QORN_CLASS(TVyBackground, TVyCustomBackground)
 public:
  explicit TVyBackground(TComponent* AOwner) : TVyCustomBackground(AOwner) {}
};

class TVySeparator : public TGraphicControl {
  QORN_CLASS(TVySeparator, TGraphicControl)
 public:
  explicit TVySeparator(TComponent* AOwner);

  TColor GetHighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor v) { ChangeLook(FHighlightColor, v); }
  TVyHighlightLocation GetHighlightLocation() const { return FHighlightLocation; }
  void SetHighlightLocation(TVyHighlightLocation v) { ChangeLook(FHighlightLocation, v); }
  TOrientation GetOrientation() const { return FOrientation; }
  // Turning it also swaps the width and the height (not while a form is read).
  void SetOrientation(TOrientation v);
  bool GetShowGradient() const { return FShowGradient; }
  void SetShowGradient(bool v);

  // What the gradient is drawn with, from the orientation and the highlight's place.
  TGradientDirection GradientDirection() const { return FDirection; }
  TColor FirstColor() const { return FFirst; }
  TColor SecondColor() const { return FSecond; }
  void Loaded() override;

 protected:
  void Paint() override;
  void CMColorChanged(TMessage& m);
  virtual void UpdateSeparatorColors();

 private:
  static void Publish(TPublisher<TVySeparator>& p);
  template <class T>
  void ChangeLook(T& field, T value) {
    if (field == value) return;
    field = value;
    UpdateSeparatorColors();
    Invalidate();
  }

  TColor FHighlightColor = clHighlight;
  TVyHighlightLocation FHighlightLocation = hlCenter;
  TOrientation FOrientation = orHorizontal;
  bool FShowGradient = true;
  TGradientDirection FDirection = gdVerticalCenter;
  TColor FFirst = clHighlight;
  TColor FSecond = clBtnFace;
};

}  // namespace Vy
