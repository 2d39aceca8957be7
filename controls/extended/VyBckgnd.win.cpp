#include "controls/extended/VyBckgnd.h"

#include "vcl/Bitmap.h"
#include "vcl/Win.h"

#include <algorithm>

namespace Vy {

namespace {
bool HoldsGraphic(const TPicture* p) {
  const TGraphic* g = p ? p->GetGraphic() : nullptr;
  return g && !g->Empty() && g->GetWidth() > 0 && g->GetHeight() > 0;
}
}  // namespace

TRect FillTarget(int width, int height, int w, int h) {
  if (w <= 0 || h <= 0 || width <= 0 || height <= 0) return {};
  const double r = double(h) / w;
  if (r <= double(height) / width) return Rect(0, 0, width, int(width * r));
  return Rect(0, 0, int(height / r), height);
}

// --- background

TVyCustomBackground::TVyCustomBackground(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Exclude(csOpaque);
  SetBounds(0, 0, 200, 100);
  FImage->OnChange = [this](TObject*) {
    if (FShowImage) InvalidateBackground();
  };
  FTexture->OnChange = [this](TObject*) {
    if (FShowTexture) InvalidateBackground();
  };
}

TVyCustomBackground::~TVyCustomBackground() = default;

void TVyCustomBackground::Publish(TPublisher<TVyCustomBackground>& p) {
  using T = TVyCustomBackground;
  p.Property(L"Active", &T::GetActive, &T::SetActive).Default(true);
  p.Property(L"FrameColor", &T::GetFrameColor, &T::SetFrameColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle).Default(fsNone);
  p.Property(L"GradientColorStart", &T::GetGradientColorStart, &T::SetGradientColorStart)
      .Default(clHotLight)
      .Idents(ColorIdents);
  p.Property(L"GradientColorStop", &T::GetGradientColorStop, &T::SetGradientColorStop)
      .Default(clActiveCaption)
      .Idents(ColorIdents);
  p.Property(L"GradientDirection", &T::GetGradientDirection, &T::SetGradientDirection).Default(gdHorizontalEnd);
  p.Property(L"GradientSmoothFactor", &T::GetGradientSmoothFactor, &T::SetGradientSmoothFactor).Default(1);
  p.Property(L"Image", &T::GetImage, &T::SetImage);
  p.Property(L"ImageStyle", &T::GetImageStyle, &T::SetImageStyle).Default(isCenter);
  p.Property(L"ShowGradient", &T::GetShowGradient, &T::SetShowGradient).Default(true);
  p.Property(L"ShowImage", &T::GetShowImage, &T::SetShowImage).Default(false);
  p.Property(L"ShowTexture", &T::GetShowTexture, &T::SetShowTexture).Default(false);
  p.Property(L"Texture", &T::GetTexture, &T::SetTexture);
}

void TVyCustomBackground::InvalidateBackground() {
  if (ComponentState().Contains(csLoading)) return;
  Invalidate();
}

void TVyCustomBackground::SetImageStyle(TImageStyle v) {
  if (v == FImageStyle) return;
  FImageStyle = v;
  if (FShowImage) InvalidateBackground();
}

void TVyCustomBackground::SetShowGradient(bool v) {
  if (v == FShowGradient) return;
  FShowGradient = v;
  if (v) FShowTexture = false;
  else if (!FShowImage) FShowTexture = true;
  InvalidateBackground();
}

void TVyCustomBackground::SetShowTexture(bool v) {
  if (v == FShowTexture) return;
  FShowTexture = v;
  FShowGradient = !v;
  InvalidateBackground();
}

int TVyCustomBackground::FrameWidth() const {
  switch (FFrameStyle) {
    case fsNone: return 0;
    case fsFlat:
    case fsStatus:
    case fsPopup: return 1;
    default: return 2;
  }
}

void TVyCustomBackground::PaintTextureLayer(TCanvas* canvas, TPicture* picture) {
  if (!HoldsGraphic(picture)) return;
  TGraphic* g = picture->GetGraphic();
  if (dynamic_cast<TBitmap*>(g)) {
    TileImage(canvas, g, Rect(0, 0, GetWidth(), GetHeight()));
    return;
  }
  canvas->Draw(0, 0, g);
  ExpandStrip(canvas->GetHandle(), GetWidth(), GetHeight(), g->GetWidth(), g->GetHeight());
}

void TVyCustomBackground::PaintGradientLayer(TCanvas* canvas) {
  // A stretched or tiled picture covers the whole area: no gradient under it.
  const bool covered = FShowImage && (FImageStyle == isStretch || FImageStyle == isTiled);
  if (!FActive || covered) return;
  PaintGradient(canvas, Rect(0, 0, GetWidth(), GetHeight()), FGradientDirection, FGradientSmoothFactor,
                FGradientColorStop, FGradientColorStart);
}

void TVyCustomBackground::PaintImageLayer(TCanvas* canvas, TPicture* picture) {
  if (!HoldsGraphic(picture)) return;
  TGraphic* g = picture->GetGraphic();
  const int w = g->GetWidth(), h = g->GetHeight();
  switch (FImageStyle) {
    case isCenter: canvas->Draw((GetWidth() - w) / 2, (GetHeight() - h) / 2, g); break;
    case isClip: canvas->Draw(0, 0, g); break;
    case isFill: canvas->StretchDraw(FillTarget(GetWidth(), GetHeight(), w, h), g); break;
    case isStretch: canvas->StretchDraw(Rect(0, 0, GetWidth(), GetHeight()), g); break;
    case isTiled:
      canvas->Draw(0, 0, g);
      ExpandStrip(canvas->GetHandle(), GetWidth(), GetHeight(), w, h);
      break;
  }
}

void TVyCustomBackground::Paint() {
  if (GetWidth() < 5 || GetHeight() < 5) {
    SetBounds(GetLeft(), GetTop(), std::max(5, GetWidth()), std::max(5, GetHeight()));
    return;  // the new size repaints
  }
  const bool texture = FShowTexture && HoldsGraphic(FTexture.get());
  const bool image = FShowImage && HoldsGraphic(FImage.get());
  const bool gradient =
      FShowGradient && FActive && !(FShowImage && (FImageStyle == isStretch || FImageStyle == isTiled));
  TCanvas* c = GetCanvas();
  const int x = FrameWidth();
  const TRect client = Rect(0, 0, GetWidth(), GetHeight());
  // With no layer to show, what lies behind shows through, inside the frame.
  if (texture || image || gradient) {
    TBitmap layers;
    layers.SetSize(GetWidth(), GetHeight());
    TCanvas* lc = layers.GetCanvas();
    lc->GetBrush()->SetColor(GetColor());
    lc->FillRect(client);
    if (FShowTexture) PaintTextureLayer(lc, FTexture.get());
    if (FShowGradient) PaintGradientLayer(lc);
    if (FShowImage) PaintImageLayer(lc, FImage.get());
    c->Draw(x, x, &layers);
  }
  if (FFrameStyle == fsFlat) PaintSides(c, client, FFrameColor, AllSides, FFrameColor);
  else if (FFrameStyle != fsNone) PaintFrame(c, client, FFrameStyle);
}

// --- separator

TVySeparator::TVySeparator(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 200, 2);
  SetColor(clBtnFace);
  SetParentColor(true);
  UpdateSeparatorColors();
}

void TVySeparator::Publish(TPublisher<TVySeparator>& p) {
  using T = TVySeparator;
  p.Message(CM_COLORCHANGED, &T::CMColorChanged);
  p.Property(L"HighlightColor", &T::GetHighlightColor, &T::SetHighlightColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"HighlightLocation", &T::GetHighlightLocation, &T::SetHighlightLocation).Default(hlCenter);
  p.Property(L"Orientation", &T::GetOrientation, &T::SetOrientation).Default(orHorizontal);
  p.Property(L"ShowGradient", &T::GetShowGradient, &T::SetShowGradient).Default(true);
  p.Property(L"ParentColor", &T::GetParentColor, &T::SetParentColor).Default(true);
}

void TVySeparator::Loaded() {
  TGraphicControl::Loaded();
  UpdateSeparatorColors();
}

void TVySeparator::UpdateSeparatorColors() {
  const TColor hi = FHighlightColor, own = GetColor();
  const bool horizontal = FOrientation == orHorizontal;
  switch (FHighlightLocation) {
    case hlCenter:
      FDirection = horizontal ? gdVerticalCenter : gdHorizontalCenter;
      FFirst = hi, FSecond = own;
      break;
    case hlUpperLeft:
      FDirection = horizontal ? gdVerticalEnd : gdHorizontalEnd;
      FFirst = own, FSecond = hi;
      break;
    case hlLowerRight:
      FDirection = horizontal ? gdVerticalEnd : gdHorizontalEnd;
      FFirst = hi, FSecond = own;
      break;
  }
}

void TVySeparator::SetOrientation(TOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  if (!ComponentState().Contains(csLoading)) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
  UpdateSeparatorColors();
  Invalidate();
}

void TVySeparator::SetShowGradient(bool v) {
  if (v == FShowGradient) return;
  FShowGradient = v;
  Invalidate();
}

void TVySeparator::CMColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  UpdateSeparatorColors();
  Invalidate();
}

void TVySeparator::Paint() {
  TCanvas* c = GetCanvas();
  const TRect client = Rect(0, 0, GetWidth(), GetHeight());
  if (!FShowGradient || !HasTrueColorScreen()) {
    // A palette screen shows a flat line: a gradient would dither.
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(FShowGradient ? FFirst : GetColor());
    c->FillRect(client);
    return;
  }
  TBitmap line;
  line.SetSize(std::max(1, GetWidth()), std::max(1, GetHeight()));
  PaintGradient(line.GetCanvas(), Rect(0, 0, line.GetWidth(), line.GetHeight()), FDirection, 1, FFirst, FSecond);
  c->Draw(0, 0, &line);
}

}  // namespace Vy
