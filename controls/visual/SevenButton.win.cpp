#include "controls/visual/SevenButton.h"

#include "controls/visual/SevenButtonGradient.h"
#include "vcl/Bitmap.h"
#include "vcl/Canvas.h"

namespace Flat {

using S = TSevenButtonState;

// ---- parts ----

void TSevenButtonPart::Redraw() const {
  if (FButton) FButton->DrawNow();
}

void TSevenButtonBorder::Assign(const TPersistent* Source) {
  auto* from = dynamic_cast<const TSevenButtonBorder*>(Source);
  if (!from) return TPersistent::Assign(Source);
  for (int i = 0; i < 5; ++i) {
    FColors[i] = from->FColors[i];
    FWidths[i] = from->FWidths[i];
  }
  Redraw();
}

void TSevenButtonBorder::SetColorNormal(TColor v) {
  FColors[StateIndex(S::Normal)] = v;
  Redraw();
}

void TSevenButtonBorder::SetWidthNormal(int v) {
  FWidths[StateIndex(S::Normal)] = Clamp(v);
  Redraw();
}

void TSevenButtonBorder::Publish(TPublisher<TSevenButtonBorder>& p) {
  using B = TSevenButtonBorder;
  p.Property(L"ColorNormal", &B::GetColorNormal, &B::SetColorNormal).Default(0x707070).Idents(ColorIdents);
  p.Property(L"ColorHot", &B::GetColorHot, &B::SetColorHot).Default(0xB17F3C).Idents(ColorIdents);
  p.Property(L"ColorDown", &B::GetColorDown, &B::SetColorDown).Default(0x8B622C).Idents(ColorIdents);
  p.Property(L"ColorDisabled", &B::GetColorDisabled, &B::SetColorDisabled).Default(0xB5B2AD).Idents(ColorIdents);
  p.Property(L"ColorFocused", &B::GetColorFocused, &B::SetColorFocused).Default(0xB17F3C).Idents(ColorIdents);
  p.Property(L"WidthNormal", &B::GetWidthNormal, &B::SetWidthNormal).Default(1);
  p.Property(L"WidthHot", &B::GetWidthHot, &B::SetWidthHot).Default(1);
  p.Property(L"WidthDown", &B::GetWidthDown, &B::SetWidthDown).Default(1);
  p.Property(L"WidthDisabled", &B::GetWidthDisabled, &B::SetWidthDisabled).Default(1);
  p.Property(L"WidthFocused", &B::GetWidthFocused, &B::SetWidthFocused).Default(1);
}

void TSevenButtonColors::Assign(const TPersistent* Source) {
  auto* from = dynamic_cast<const TSevenButtonColors*>(Source);
  if (!from) return TPersistent::Assign(Source);
  for (int i = 0; i < 5; ++i) {
    FFrom[i] = from->FFrom[i];
    FTo[i] = from->FTo[i];
  }
  Redraw();
}

void TSevenButtonColors::SetColorNormalFrom(TColor v) {
  FFrom[StateIndex(S::Normal)] = v;
  Redraw();
}

void TSevenButtonColors::SetColorNormalTo(TColor v) {
  FTo[StateIndex(S::Normal)] = v;
  Redraw();
}

void TSevenButtonColors::Publish(TPublisher<TSevenButtonColors>& p) {
  using C = TSevenButtonColors;
  p.Property(L"ColorNormalFrom", &C::GetColorNormalFrom, &C::SetColorNormalFrom).Default(0xFCFCFC).Idents(ColorIdents);
  p.Property(L"ColorNormalTo", &C::GetColorNormalTo, &C::SetColorNormalTo).Default(0xCFCFCF).Idents(ColorIdents);
  p.Property(L"ColorHotFrom", &C::GetColorHotFrom, &C::SetColorHotFrom).Default(0xFCFCFC).Idents(ColorIdents);
  p.Property(L"ColorHotTo", &C::GetColorHotTo, &C::SetColorHotTo).Default(0xF5D9A7).Idents(ColorIdents);
  p.Property(L"ColorDownFrom", &C::GetColorDownFrom, &C::SetColorDownFrom).Default(0xFCFCFC).Idents(ColorIdents);
  p.Property(L"ColorDownTo", &C::GetColorDownTo, &C::SetColorDownTo).Default(0xDBB368).Idents(ColorIdents);
  p.Property(L"ColorDisabledFrom", &C::GetColorDisabledFrom, &C::SetColorDisabledFrom)
      .Default(0xF4F4F4)
      .Idents(ColorIdents);
  p.Property(L"ColorDisabledTo", &C::GetColorDisabledTo, &C::SetColorDisabledTo).Default(0xF4F4F4).Idents(ColorIdents);
  p.Property(L"ColorFocusedFrom", &C::GetColorFocusedFrom, &C::SetColorFocusedFrom)
      .Default(0xFCFCFC)
      .Idents(ColorIdents);
  p.Property(L"ColorFocusedTo", &C::GetColorFocusedTo, &C::SetColorFocusedTo).Default(0xCFCFCF).Idents(ColorIdents);
}

TSevenButtonFonts::TSevenButtonFonts(TSevenButton* button)
    : TSevenButtonPart(button),
      FHot(std::make_unique<TFont>()),
      FDown(std::make_unique<TFont>()),
      FDisabled(std::make_unique<TFont>()),
      FFocused(std::make_unique<TFont>()) {
  FDisabled->SetColor(clGrayText);
}

void TSevenButtonFonts::Assign(const TPersistent* Source) {
  auto* from = dynamic_cast<const TSevenButtonFonts*>(Source);
  if (!from) return TPersistent::Assign(Source);
  FHot->Assign(from->FHot.get());
  FDown->Assign(from->FDown.get());
  FDisabled->Assign(from->FDisabled.get());
  FFocused->Assign(from->FFocused.get());
}

void TSevenButtonFonts::Publish(TPublisher<TSevenButtonFonts>& p) {
  using F = TSevenButtonFonts;
  p.Property(L"FontHot", &F::GetFontHot, &F::SetFontHot);
  p.Property(L"FontDown", &F::GetFontDown, &F::SetFontDown);
  p.Property(L"FontDisabled", &F::GetFontDisabled, &F::SetFontDisabled);
  p.Property(L"FontFocused", &F::GetFontFocused, &F::SetFontFocused);
}

TSevenButtonPictures::TSevenButtonPictures(TSevenButton* button) : TSevenButtonPart(button) {
  for (auto& picture : FPictures) picture = std::make_unique<TPicture>();
}

void TSevenButtonPictures::Assign(const TPersistent* Source) {
  auto* from = dynamic_cast<const TSevenButtonPictures*>(Source);
  if (!from) return TPersistent::Assign(Source);
  for (int i = 0; i < 5; ++i) FPictures[i]->Assign(from->FPictures[i].get());
  FAlignment = from->FAlignment;
  FTransparent = from->FTransparent;
  Redraw();
}

void TSevenButtonPictures::SetPictureNormal(TPicture* v) {
  FPictures[StateIndex(S::Normal)]->Assign(v);
  Redraw();
}

void TSevenButtonPictures::SetAlignment(TAlignment v) {
  // The picture goes left or right; centred is not one of its places.
  FAlignment = v == taRightJustify ? taRightJustify : taLeftJustify;
  Redraw();
}

void TSevenButtonPictures::SetTransparent(bool v) {
  FTransparent = v;
  Redraw();
}

TPicture* TSevenButtonPictures::PictureOf(TSevenButtonState s) const {
  TPicture* own = FPictures[StateIndex(s)].get();
  return own->GetGraphic() && !own->GetGraphic()->Empty() ? own : FPictures[StateIndex(S::Normal)].get();
}

void TSevenButtonPictures::Publish(TPublisher<TSevenButtonPictures>& p) {
  using P = TSevenButtonPictures;
  p.Property(L"PictureNormal", &P::GetPictureNormal, &P::SetPictureNormal);
  p.Property(L"PictureHot", &P::GetPictureHot, &P::SetPictureHot);
  p.Property(L"PictureDown", &P::GetPictureDown, &P::SetPictureDown);
  p.Property(L"PictureDisabled", &P::GetPictureDisabled, &P::SetPictureDisabled);
  p.Property(L"PictureFocused", &P::GetPictureFocused, &P::SetPictureFocused);
  p.Property(L"Alignment", &P::GetAlignment, &P::SetAlignment).Default(taLeftJustify);
  p.Property(L"Transparent", &P::GetTransparent, &P::SetTransparent).Default(false);
}

// ---- the button ----

TSevenButton::TSevenButton(TComponent* AOwner)
    : TButtonControl(AOwner),
      FBorder(std::make_unique<TSevenButtonBorder>(this)),
      FColors(std::make_unique<TSevenButtonColors>(this)),
      FFonts(std::make_unique<TSevenButtonFonts>(this)),
      FPictures(std::make_unique<TSevenButtonPictures>(this)) {
  // The release inside clicks (the window is ours, not the system's button); the
  // second press of a double click is a press, so a double click clicks twice, once
  // per press and release, never three times.
  ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque};
  SetTabStop(true);
  SetBounds(0, 0, 85, 24);
}

TSevenButton::~TSevenButton() = default;

void TSevenButton::SetAlignment(TAlignment v) {
  FAlignment = v;
  DrawNow();
}

void TSevenButton::SetSpacing(int v) {
  FSpacing = v;
  DrawNow();
}

void TSevenButton::SetMarging(int v) {
  FMarging = v;
  DrawNow();
}

void TSevenButton::SetState(TSevenButtonState s) {
  FState = s;
  DrawNow();
}

void TSevenButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TSevenButton::DrawNow() {
  if (!HandleAllocated() || !IsWindowVisible(WindowHandle())) {
    Invalidate();
    return;
  }
  HDC dc = GetDC(WindowHandle());
  Draw(dc);
  ReleaseDC(WindowHandle(), dc);
}

void TSevenButton::PaintWindow(HDC dc) { Draw(dc); }

void TSevenButton::Draw(HDC target) {
  if (!GetParentForm(this)) return;
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap buffer(w, h, pf24bit);
  TCanvas* c = buffer.GetCanvas();

  const S s = FState;
  const TColor border = FBorder->ColorOf(s);
  const int bw = FBorder->WidthOf(s);
  TFont* font = s == S::Normal     ? GetFont()
                : s == S::Hot      ? FFonts->GetFontHot()
                : s == S::Down     ? FFonts->GetFontDown()
                : s == S::Disabled ? FFonts->GetFontDisabled()
                                   : FFonts->GetFontFocused();
  TPicture* picture = FPictures->PictureOf(s);
  TGraphic* graphic = picture->GetGraphic() && !picture->GetGraphic()->Empty() ? picture->GetGraphic() : nullptr;

  c->GetPen()->SetStyle(psSolid);
  c->GetPen()->SetWidth(1);
  for (const TGradientRow& row :
       SevenGradientRows(bw, h - bw, ColorToRGB(FColors->FromOf(s)), ColorToRGB(FColors->ToOf(s)))) {
    c->GetPen()->SetColor(row.Color);
    c->Polyline({TPoint{0, row.Y}, TPoint{w, row.Y}});
  }

  int pictureX = 0;
  if (graphic) {
    graphic->SetTransparent(FPictures->GetTransparent());
    const int edge = FBorder->GetWidthNormal() + FMarging;
    pictureX = FPictures->GetAlignment() == taLeftJustify ? edge : w - edge - graphic->GetWidth();
    c->Draw(pictureX, (h - graphic->GetHeight()) / 2, graphic);
  }

  c->GetPen()->SetColor(border);
  for (int k = 1; k <= bw; ++k)
    c->Polyline(
        {TPoint{k - 1, k - 1}, TPoint{w - k, k - 1}, TPoint{w - k, h - k}, TPoint{k - 1, h - k}, TPoint{k - 1, k - 1}});

  // Corners a shade rounder: the outer pixels in the button's colour, the inner in the border's.
  const TColor face = GetColor();
  for (const TPoint p : {TPoint{0, 0}, TPoint{w - 1, 0}, TPoint{0, h - 1}, TPoint{w - 1, h - 1}})
    c->SetPixel(p.X, p.Y, face);
  for (const TPoint p :
       {TPoint{bw, bw}, TPoint{w - bw - 1, bw}, TPoint{bw, h - bw - 1}, TPoint{w - bw - 1, h - bw - 1}})
    c->SetPixel(p.X, p.Y, border);

  c->GetBrush()->SetStyle(bsClear);
  c->SetFont(font);
  TRect text{0, bw, w, h - bw};
  const int edge = FBorder->GetWidthNormal() + FMarging;
  UINT align = DT_CENTER;
  if (FAlignment == taLeftJustify) {
    text.Left += edge;
    align = DT_LEFT;
  } else if (FAlignment == taRightJustify) {
    text.Right -= edge;
    align = DT_RIGHT;
  } else if (graphic) {
    text.Left += graphic->GetWidth() + pictureX + FSpacing;
  }
  if (FAlignment != taCenter && graphic) {
    if (FPictures->GetAlignment() == taLeftJustify) text.Left = graphic->GetWidth() + pictureX + FSpacing;
    else text.Right = pictureX - FSpacing;
  }
  c->DrawText(GetCaption(), text, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | align);

  BitBlt(target, 0, 0, w, h, c->GetHandle(), 0, 0, SRCCOPY);
}

void TSevenButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      // The inherited painting calls PaintWindow with the paint's DC.
      ControlState << csCustomPaint;
      TButtonControl::WndProc(m);
      ControlState >> csCustomPaint;
      return;
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
    case CM_BORDERCHANGED:
      TButtonControl::WndProc(m);
      DrawNow();
      return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_CHAR:
      if (m.WParam == VK_RETURN || m.WParam == VK_SPACE) Click();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetEnabled()) {
        if (!Focused() && CanFocus()) SetFocus();
        SetState(S::Down);
      }
      break;
    case WM_LBUTTONUP:
      if (FState != S::Normal && FState != S::Focused && FState != S::Disabled) SetState(S::Hot);
      break;
    case CM_DIALOGKEY:
      if ((m.WParam == VK_RETURN && FDefault && !Focused()) || (m.WParam == VK_ESCAPE && FCancel)) {
        if (GetEnabled()) {
          Click();
          m.Result = 1;
          return;
        }
      }
      break;
    case CM_FOCUSCHANGED: {
      const bool focused = reinterpret_cast<TWinControl*>(m.LParam) == this;
      if (focused && FState == S::Normal) FState = S::Focused;
      if (!focused && FState == S::Focused) FState = S::Normal;
      DrawNow();
      break;
    }
    case CM_ENABLEDCHANGED:
      TButtonControl::WndProc(m);
      SetState(GetEnabled() ? S::Normal : S::Disabled);
      return;
    case CM_MOUSEENTER:
      if (FState != S::Disabled) SetState(S::Hot);
      break;
    case CM_MOUSELEAVE:
      if (FState != S::Disabled) SetState(Focused() ? S::Focused : S::Normal);
      break;
  }
  TButtonControl::WndProc(m);
}

void TSevenButton::Publish(TPublisher<TSevenButton>& p) {
  p.Property(L"Caption", &TSevenButton::GetCaption, &TSevenButton::SetCaption);
  p.Property(L"Border", &TSevenButton::GetBorder, &TSevenButton::SetBorder);
  p.Property(L"Colors", &TSevenButton::GetColors, &TSevenButton::SetColors);
  p.Property(L"Fonts", &TSevenButton::GetFonts, &TSevenButton::SetFonts);
  p.Property(L"Pictures", &TSevenButton::GetPictures, &TSevenButton::SetPictures);
  p.Property(L"ModalResult", &TSevenButton::GetModalResult, &TSevenButton::SetModalResult).Default(mrNone);
  p.Property(L"Default", &TSevenButton::GetDefault, &TSevenButton::SetDefault).Default(false);
  p.Property(L"Cancel", &TSevenButton::GetCancel, &TSevenButton::SetCancel).Default(false);
  p.Property(L"Alignment", &TSevenButton::GetAlignment, &TSevenButton::SetAlignment).Default(taCenter);
  // Written whatever they hold: 5 is only what a new button starts with.
  p.Property(L"Spacing", &TSevenButton::GetSpacing, &TSevenButton::SetSpacing);
  p.Property(L"Marging", &TSevenButton::GetMarging, &TSevenButton::SetMarging);
  p.Property(L"TabStop", &TSevenButton::GetTabStop, &TSevenButton::SetTabStop).Default(true);
}

}  // namespace Flat
