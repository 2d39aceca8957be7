#include "controls/visual/FlatProgressBar.h"

#include "controls/visual/FlatProgressGeometry.h"

#include <algorithm>

namespace Flat {

namespace {

void FillSolid(HDC dc, int l, int t, int r, int b, TColor color) {
  if (r <= l || b <= t) return;
  const RECT rc{l, t, r, b};
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
}

}  // namespace

TFlatProgressBar::TFlatProgressBar(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(GetLeft(), GetTop(), 147, 16);
  SetColor(0xE1EAEB);
  SetParentColor(true);
}

void TFlatProgressBar::Publish(TPublisher<TFlatProgressBar>& p) {
  p.Message(CM_PARENTCOLORCHANGED, &TFlatProgressBar::CMParentColorChanged);
  p.Property(L"Transparent", &TFlatProgressBar::GetTransparent, &TFlatProgressBar::SetTransparent).Default(false);
  p.Property(L"ColorElement", &TFlatProgressBar::GetColorElement, &TFlatProgressBar::SetColorElement)
      .Default(TColor(0x996633))
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &TFlatProgressBar::GetColorBorder, &TFlatProgressBar::SetColorBorder)
      .Default(TColor(0x8396A0))
      .Idents(ColorIdents);
  p.Property(L"AdvColorBorder", &TFlatProgressBar::GetAdvColorBorder, &TFlatProgressBar::SetAdvColorBorder)
      .Default(50);
  p.Property(L"UseAdvColors", &TFlatProgressBar::GetUseAdvColors, &TFlatProgressBar::SetUseAdvColors).Default(false);
  p.Property(L"Orientation", &TFlatProgressBar::GetOrientation, &TFlatProgressBar::SetOrientation)
      .Default(pbHorizontal);
  p.Property(L"Min", &TFlatProgressBar::GetMin, &TFlatProgressBar::SetMin).Default(0);
  p.Property(L"Max", &TFlatProgressBar::GetMax, &TFlatProgressBar::SetMax).Default(100);
  p.Property(L"Position", &TFlatProgressBar::GetPosition, &TFlatProgressBar::SetPosition).Default(0);
  p.Property(L"Step", &TFlatProgressBar::GetStep, &TFlatProgressBar::SetStep).Default(10);
  p.Property(L"Smooth", &TFlatProgressBar::GetSmooth, &TFlatProgressBar::SetSmooth).Default(false);
}

void TFlatProgressBar::SetPosition(int v) {
  // While loading Min and Max may come after Position: keep the value as read.
  if (!ComponentState().Contains(csLoading)) v = std::clamp(v, FMin, std::max(FMin, FMax));
  if (v == FPosition) return;
  const bool grows = v > FPosition;
  FPosition = v;
  if (grows && GetParent() && GetParent()->HandleAllocated() && GetVisible() &&
      !ComponentState().Contains(csLoading)) {
    // Blocks are only added: draw them now, over what is on screen.
    DrawBar(GetCanvas()->GetHandle());
    GetCanvas()->FreeHandle();
  } else {
    Invalidate();
  }
}

void TFlatProgressBar::Loaded() {
  TGraphicControl::Loaded();
  FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
}

void TFlatProgressBar::SetMin(int v) {
  if (v == FMin) return;
  FMin = v;
  if (!ComponentState().Contains(csLoading) && FPosition < FMin) FPosition = FMin;
  Invalidate();
}

void TFlatProgressBar::SetMax(int v) {
  if (v == FMax) return;
  if (!ComponentState().Contains(csLoading) && FPosition > v) FPosition = v;
  FMax = v;
  Invalidate();
}

void TFlatProgressBar::SetStep(int v) {
  if (v == FStep) return;
  FStep = v;
  Invalidate();
}

void TFlatProgressBar::SetSmooth(bool v) {
  if (v == FSmooth) return;
  FSmooth = v;
  Invalidate();
}

void TFlatProgressBar::SetTransparent(bool v) {
  FTransparent = v;
  Invalidate();
}

void TFlatProgressBar::SetColorElement(TColor v) {
  FColorElement = v;
  Invalidate();
}

void TFlatProgressBar::SetColorBorder(TColor v) {
  FColorBorder = v;
  Invalidate();
}

void TFlatProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  if (ComponentState().Contains(csLoading)) return Repaint();
  SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
  Invalidate();
}

void TFlatProgressBar::SetUseAdvColors(bool v) {
  if (v == FUseAdvColors) return;
  FUseAdvColors = v;
  SetParentColor(v);
  Invalidate();
}

void TFlatProgressBar::SetAdvColorBorder(int v) {
  FAdvColorBorder = v;
  Invalidate();
}

void TFlatProgressBar::CMParentColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (FUseAdvColors) SetParentColor(true);
  Invalidate();
}

void TFlatProgressBar::DrawBar(HDC dc) {
  const int w = GetWidth(), h = GetHeight();
  const bool horizontal = FOrientation == pbHorizontal;
  if (FSmooth) {
    if (horizontal) {
      const int len = ProgressSmoothLength(w - 4, FPosition, FMin, FMax);
      FillSolid(dc, 2, 2, 2 + len, h - 2, FColorElement);
    } else {
      const int len = ProgressSmoothLength(h - 4, FPosition, FMin, FMax);
      FillSolid(dc, 2, h - 2 - len, w - 2, h - 2, FColorElement);
    }
    return;
  }
  const int count = ProgressBlockCount(horizontal ? w : h, FPosition, FMin, FMax);
  const bool rightToLeft = GetBiDiMode() == bdRightToLeft;
  for (int k = 0; k < count; ++k) {
    const int offset = 2 + kProgressPitch * k;
    if (!horizontal)
      FillSolid(dc, 2, h - offset - kProgressBlock, w - 2, h - offset, FColorElement);
    else if (rightToLeft)
      FillSolid(dc, w - offset - kProgressBlock, 2, w - offset, h - 2, FColorElement);
    else
      FillSolid(dc, offset, 2, offset + kProgressBlock, h - 2, FColorElement);
  }
}

void TFlatProgressBar::Paint() {
  if (!FSmooth) {
    const bool horizontal = FOrientation == pbHorizontal;
    const int snapped = SnapProgressLength(horizontal ? GetWidth() : GetHeight());
    if (snapped != (horizontal ? GetWidth() : GetHeight())) {
      if (horizontal)
        SetBounds(GetLeft(), GetTop(), snapped, GetHeight());
      else
        SetBounds(GetLeft(), GetTop(), GetWidth(), snapped);
    }
  }
  HDC dc = GetCanvas()->GetHandle();
  const int w = GetWidth(), h = GetHeight();
  if (!FTransparent) FillSolid(dc, 0, 0, w, h, GetColor());
  const RECT frame{0, 0, w, h};
  HBRUSH border = CreateSolidBrush(ColorToRGB(FColorBorder));
  FrameRect(dc, &frame, border);
  DeleteObject(border);
  DrawBar(dc);
}

}  // namespace Flat
