#include "controls/visual/GlProgress.h"

#include "vcl/Format.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>

namespace Flat {

TPoint GlCaptionOrigin(TglLabelDir dir, TAlignment alignment, int width, int height, TSize measured, TSize grown) {
  const int w0 = measured.cx, h0 = measured.cy, w = grown.cx, h = grown.cy, g = w - w0;
  auto pick = [&](int left, int right, int centre) {
    return alignment == taLeftJustify ? left : alignment == taRightJustify ? right : centre;
  };
  switch (dir) {
    case fldLeftRight: return {pick(2, width - w, (width - w) / 2), (height - h) / 2};
    case fldRightLeft: return {pick(width - g - 2, w0, (width + w) / 2), h0};
    case fldUpDown: return {h0, pick(1, height - w, (height - w) / 2)};
    case fldDownUp: return {2, pick(height - g - 2, w0 - 4, (height + w0 - g) / 2)};
  }
  return {0, 0};
}

TglProgress::TglProgress(TComponent* AOwner)
    : TGraphicControl(AOwner),
      FColors(std::make_unique<TglSimleLabelColors>()),
      FGradient(std::make_unique<TGradient>()),
      FGradientBack(std::make_unique<TGradient>()),
      FPicture(std::make_unique<TBitmap>()),
      FBackground(std::make_unique<TBitmap>()) {
  ControlStyle << csOpaque << csDoubleClicks;
  SetBounds(GetLeft(), GetTop(), 150, 15);
  GetFont()->SetColor(clWhite);
  SetColor(clBlack);
  auto repaint = [this] { Repaint(); };
  FColors->OnChange = repaint;
  FGradient->OnChange = repaint;
  FGradientBack->OnChange = repaint;
}

TglProgress::~TglProgress() = default;

void TglProgress::Publish(TPublisher<TglProgress>& p) {
  p.Message(CM_TEXTCHANGED, &TglProgress::CMTextChanged);
  p.Property(L"Caption", &TglProgress::GetCaption, &TglProgress::SetCaption);
  p.Property(L"BevelInner", &TglProgress::GetBevelInner, &TglProgress::SetBevelInner).Default(bvLowered);
  p.Property(L"BevelOuter", &TglProgress::GetBevelOuter, &TglProgress::SetBevelOuter).Default(bvNone);
  p.Property(L"BevelBold", &TglProgress::GetBevelBold, &TglProgress::SetBevelBold).Default(false);
  p.Property(L"Colors", &TglProgress::GetColors, &TglProgress::SetColors);
  p.Property(L"Gradient", &TglProgress::GetGradient, &TglProgress::SetGradient);
  p.Property(L"GradientBack", &TglProgress::GetGradientBack, &TglProgress::SetGradientBack);
  p.Property(L"Percent", &TglProgress::GetPercent, &TglProgress::SetPercent).Default(0);
  p.Property(L"CaptionAlignment", &TglProgress::GetCaptionAlignment, &TglProgress::SetCaptionAlignment)
      .Default(taCenter);
  p.Property(L"CaptionDirection", &TglProgress::GetCaptionDirection, &TglProgress::SetCaptionDirection)
      .Default(fldLeftRight);
  p.Property(L"CaptionStyle", &TglProgress::GetCaptionStyle, &TglProgress::SetCaptionStyle).Default(fstShadow);
  p.Property(L"Step", &TglProgress::GetStep, &TglProgress::SetStep).Default(3);
  p.Property(L"Interspace", &TglProgress::GetInterspace, &TglProgress::SetInterspace).Default(1);
  p.Property(L"Options", &TglProgress::GetOptions, &TglProgress::SetOptions).Default(TglProgressOptions{});
}

void TglProgress::SetPercent(int v) {
  v = std::clamp(v, 0, 100);
  if (FPercent == v) return;
  FPercent = v;
  FGradient->SetPercentFilling(v);  // its change repaints
}

void TglProgress::SetStep(int v) {
  FStep = v;
  Repaint();
}

void TglProgress::SetInterspace(int v) {
  FInterspace = v;
  Repaint();
}

void TglProgress::SetBevelInner(TBevelCut v) {
  FBevelInner = v;
  Invalidate();
}

void TglProgress::SetBevelOuter(TBevelCut v) {
  FBevelOuter = v;
  Repaint();
}

void TglProgress::SetBevelBold(bool v) {
  FBevelBold = v;
  Repaint();
}

void TglProgress::SetOptions(TglProgressOptions v) {
  FOptions = v;
  Repaint();
}

void TglProgress::SetCaptionAlignment(TAlignment v) {
  FCaptionAlignment = v;
  Repaint();
}

void TglProgress::SetCaptionDirection(TglLabelDir v) {
  FCaptionDirection = v;
  Repaint();
}

void TglProgress::SetCaptionStyle(TglTextStyle v) {
  FCaptionStyle = v;
  Repaint();
}

void TglProgress::CMTextChanged(TMessage&) { Repaint(); }

std::wstring TglProgress::FormattedCaption() const {
  const std::wstring caption = GetCaption();
  try {
    return Format(caption, {FPercent});
  } catch (const Exception&) {
    return caption;
  }
}

// The parent's look behind the bar, taken afresh on every paint so that a new skin or
// background behind a transparent bar shows at once.
void TglProgress::CaptureParentBackground(HDC dc) {
  TWinControl* parent = GetParent();
  if (!parent) return;
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, -GetLeft(), -GetTop(), nullptr);
  IntersectClipRect(dc, GetLeft(), GetTop(), GetLeft() + GetWidth(), GetTop() + GetHeight());
  FCapturing = true;
  const TOnExit captured([&] {
    FCapturing = false;
    RestoreDC(dc, saved);
  });
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), reinterpret_cast<intptr_t>(dc));
  parent->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
}

void TglProgress::CutGaps(HDC dc, const TRect& r) {
  const int period = FStep + FInterspace;
  if (period <= 0 || FInterspace <= 0) return;
  HBRUSH brush = CreateSolidBrush(ColorToRGB(FColors->GetBackground()));
  const int rounds = (GetWidth() / period + 1) - r.Left + 1;
  int x = r.Left;
  for (int i = 0; i < rounds && x < r.Right; ++i, x += period) {
    const RECT gap{x, r.Top, std::min(x + FInterspace, r.Right), r.Bottom};
    FillRect(dc, &gap, brush);
  }
  DeleteObject(brush);
}

void TglProgress::DrawCaption(HDC dc) {
  const std::wstring text = FormattedCaption();
  HGDIOBJ oldFont = SelectObject(dc, GetFont()->GetHandle());
  SIZE ext{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ext);
  const TSize measured{ext.cx, ext.cy};
  TSize grown = measured;
  const bool delineated = FOptions.Contains(fpoDelineatedText);
  const int growth = (FCaptionStyle == fstShadow || FCaptionStyle == fstVolumetric ? 2 : 0) + (delineated ? 2 : 0);
  grown.cx += growth;
  grown.cy += growth;
  const TPoint at = GlCaptionOrigin(FCaptionDirection, FCaptionAlignment, GetWidth(), GetHeight(), measured, grown);
  const TglTextColors colors{GetFont()->GetColor(), FColors->GetShadow(), FColors->GetHighlight(),
                             FColors->GetDelineate()};
  DrawStyledText(dc, at.X, at.Y, colors, delineated, FCaptionStyle, text, TRect{0, 0, GetWidth(), GetHeight()});
  SelectObject(dc, oldFont);
}

void TglProgress::Paint() {
  if (FCapturing) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  if (FPicture->GetWidth() != w || FPicture->GetHeight() != h) {
    FPicture->SetSize(w, h);
    FBackground->SetSize(w, h);
  }
  // Taken before the parent is painted: its painting of its children re-attaches our canvas.
  HDC target = GetCanvas()->GetHandle();
  const bool transparent = FOptions.Contains(fpoTransparent);
  HDC bg = FBackground->GetCanvas()->GetHandle();
  if (transparent) CaptureParentBackground(bg);
  HDC dc = FPicture->GetCanvas()->GetHandle();
  BitBlt(dc, 0, 0, w, h, bg, 0, 0, SRCCOPY);

  TRect r{0, 0, w - 1, h - 1};
  DrawBevelFrame(dc, r, glsAll, FBevelOuter, FBevelInner, FBevelBold, transparent, FColors->GetBackground());
  r.Top += 1;
  if (FPercent > 0) {
    DrawGradient(dc, r, *FGradientBack);
    DrawGradient(dc, r, *FGradient);
    if (!transparent) CutGaps(dc, r);
  }
  DrawCaption(dc);
  BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

}  // namespace Flat
