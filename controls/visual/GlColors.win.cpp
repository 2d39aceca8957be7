#include "controls/visual/GlColors.h"

#include <algorithm>

namespace Flat {

void TTwainColors::Publish(TPublisher<TTwainColors>& p) {
  p.Property(L"FromColor", &TTwainColors::GetFromColor, &TTwainColors::SetFromColor).Default(clGray).Idents(ColorIdents);
  p.Property(L"ToColor", &TTwainColors::GetToColor, &TTwainColors::SetToColor).Default(clBlack).Idents(ColorIdents);
}

void TTwainColors::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TTwainColors*>(Source)) {
    FFromColor = s->FFromColor;
    FToColor = s->FToColor;
    FFromRGB = s->FFromRGB;
    FToRGB = s->FToRGB;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TTwainColors::SetFromColor(TColor v) {
  if (FFromColor == v) return;
  FFromColor = v;
  FFromRGB = ColorToRGB(v);
  Changed();
}

void TTwainColors::SetToColor(TColor v) {
  if (FToColor == v) return;
  FToColor = v;
  FToRGB = ColorToRGB(v);
  Changed();
}

void TGradient::Publish(TPublisher<TGradient>& p) {
  p.Property(L"Active", &TGradient::GetActive, &TGradient::SetActive).Default(false);
  p.Property(L"BufferedDraw", &TGradient::GetBufferedDraw, &TGradient::SetBufferedDraw).Default(false);
  p.Property(L"Orientation", &TGradient::GetOrientation, &TGradient::SetOrientation).Default(fgdHorizontal);
  p.Property(L"Steps", &TGradient::GetSteps, &TGradient::SetSteps).Default(255);
  p.Property(L"PercentFilling", &TGradient::GetPercentFilling, &TGradient::SetPercentFilling).Default(100);
  p.Property(L"BrushStyle", &TGradient::GetBrushStyle, &TGradient::SetBrushStyle).Default(bsSolid);
}

void TGradient::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TGradient*>(Source)) {
    FActive = s->FActive;
    FBufferedDraw = s->FBufferedDraw;
    FOrientation = s->FOrientation;
    FSteps = s->FSteps;
    FPercentFilling = s->FPercentFilling;
    FBrushStyle = s->FBrushStyle;
  }
  TTwainColors::Assign(Source);
}

void TGradient::SetActive(bool v) {
  if (FActive == v) return;
  FActive = v;
  Changed();
}

void TGradient::SetBufferedDraw(bool v) {
  if (FBufferedDraw == v) return;
  FBufferedDraw = v;
  Changed();
}

void TGradient::SetOrientation(TglGradientDir v) {
  if (FOrientation == v) return;
  FOrientation = v;
  // An inactive gradient draws nothing, so its direction changes no pixel.
  if (FActive) Changed();
}

void TGradient::SetSteps(int v) {
  FSteps = std::clamp(v, 1, 255);
  Changed();
}

void TGradient::SetPercentFilling(int v) {
  v = std::clamp(v, 0, 100);
  if (FPercentFilling == v) return;
  FPercentFilling = v;
  Changed();
}

void TGradient::SetBrushStyle(TBrushStyle v) {
  FBrushStyle = v;
  Changed();
}

void TglSimleLabelColors::Publish(TPublisher<TglSimleLabelColors>& p) {
  p.Property(L"Delineate", &TglSimleLabelColors::GetDelineate, &TglSimleLabelColors::SetDelineate)
      .Default(clWhite)
      .Idents(ColorIdents);
  p.Property(L"Highlight", &TglSimleLabelColors::GetHighlight, &TglSimleLabelColors::SetHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"Shadow", &TglSimleLabelColors::GetShadow, &TglSimleLabelColors::SetShadow)
      .Default(clBtnShadow)
      .Idents(ColorIdents);
  p.Property(L"Background", &TglSimleLabelColors::GetBackground, &TglSimleLabelColors::SetBackground)
      .Default(clBtnFace)
      .Idents(ColorIdents);
}

void TglSimleLabelColors::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TglSimleLabelColors*>(Source)) {
    FDelineate = s->FDelineate;
    FHighlight = s->FHighlight;
    FShadow = s->FShadow;
    FBackground = s->FBackground;
    if (OnChange) OnChange();
    return;
  }
  TPersistent::Assign(Source);
}

void TglSimleLabelColors::Set(TColor& field, TColor v) {
  if (field == v) return;
  field = v;
  if (OnChange) OnChange();
}

}  // namespace Flat
