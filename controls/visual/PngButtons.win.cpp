#include "controls/visual/PngButtons.h"

#include "vcl/ActnList.h"
#include "vcl/Win.h"

namespace Flat {

TPngGlyph::TPngGlyph() : image_(std::make_unique<TPngImage>()) {}

void TPngGlyph::Set(const TPngImage* image) {
  if (image != image_.get()) image_->Assign(image);
  fromAction_ = false;
}

bool TPngGlyph::TakeFromAction(TObject* action) {
  auto* custom = dynamic_cast<TCustomAction*>(action);
  if (!custom) return false;
  TCustomImageList* images = custom->GetImages();
  const int index = custom->GetImageIndex();
  if (!images || index < 0 || index >= images->GetCount()) return false;
  // A glyph of the button's own stays.
  if (!image_->Empty() && !fromAction_) return false;
  std::unique_ptr<TPngImage> png = PNGFromImageList(images, index);
  if (!png) return false;
  image_->Assign(png.get());
  fromAction_ = true;
  return true;
}

// ---------------------------------------------------------------------------------------
TPngSpeedButton::TPngSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TPngSpeedButton::~TPngSpeedButton() = default;

void TPngSpeedButton::Publish(TPublisher<TPngSpeedButton>& p) {
  p.Property(L"PngImage", &TPngSpeedButton::GetPngImage, &TPngSpeedButton::SetPngImage)
      .Stored(&TPngSpeedButton::IsPngImageStored);
  p.Property(L"PngOptions", &TPngSpeedButton::GetPngOptions, &TPngSpeedButton::SetPngOptions)
      .Default(kPngButtonOptions);
}

void TPngSpeedButton::SetPngImage(TPngImage* Value) {
  FGlyph.Set(Value);
  UpdatePlaceholder();
  Repaint();
}

void TPngSpeedButton::SetPngOptions(TPngOptions Value) {
  if (Value == FPngOptions) return;
  FPngOptions = Value;
  UpdatePlaceholder();
  Repaint();
}

void TPngSpeedButton::UpdatePlaceholder() {
  TPngImage* png = FGlyph.Image();
  TBitmap placeholder(png->GetWidth(), png->GetHeight(), pf24bit);
  if (!png->Empty()) {
    placeholder.GetCanvas()->GetBrush()->SetColor(clBtnFace);
    placeholder.GetCanvas()->FillRect(Rect(0, 0, png->GetWidth(), png->GetHeight()));
  }
  SetGlyph(&placeholder);
  SetNumGlyphs(1);
}

void TPngSpeedButton::Loaded() {
  inherited::Loaded();
  UpdatePlaceholder();
}

void TPngSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (FGlyph.TakeFromAction(Sender)) {
    UpdatePlaceholder();
    Invalidate();
  }
}

void TPngSpeedButton::Paint() {
  inherited::Paint();
  TPngImage* png = FGlyph.Image();
  if (png->Empty()) return;
  TCanvas* canvas = GetCanvas();
  canvas->SetFont(GetFont());
  TPoint glyphPos;
  TRect textRect;
  const bool pressed = GetDown() || FState == bsDown;
  CalcButtonLayout(canvas, png, GetClientRect(), DrawTextBiDiModeFlags(0), GetCaption(), GetLayout(), GetMargin(),
                   GetSpacing(), pressed, glyphPos, textRect);
  DrawPNG(png, canvas, Bounds(glyphPos.X, glyphPos.Y, png->GetWidth(), png->GetHeight()),
          GetEnabled() ? TPngOptions{} : FPngOptions);
}

// ---------------------------------------------------------------------------------------
TPngBitBtn::TPngBitBtn(TComponent* AOwner) : TBitBtn(AOwner) {}

TPngBitBtn::~TPngBitBtn() = default;

void TPngBitBtn::Publish(TPublisher<TPngBitBtn>& p) {
  p.Property(L"PngImage", &TPngBitBtn::GetPngImage, &TPngBitBtn::SetPngImage).Stored(&TPngBitBtn::IsPngImageStored);
  p.Property(L"PngOptions", &TPngBitBtn::GetPngOptions, &TPngBitBtn::SetPngOptions).Default(kPngButtonOptions);
}

void TPngBitBtn::SetPngImage(TPngImage* Value) {
  FGlyph.Set(Value);
  Repaint();
}

void TPngBitBtn::SetPngOptions(TPngOptions Value) {
  if (Value == FPngOptions) return;
  FPngOptions = Value;
  Repaint();
}

void TPngBitBtn::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (FGlyph.TakeFromAction(Sender)) Invalidate();
}

void TPngBitBtn::DrawButton(TCanvas* Canvas, const TRect& Client, bool Pressed, bool Focused) {
  HDC dc = Canvas->GetHandle();
  TRect r = Client;
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clBtnFace);
  Canvas->FillRect(r);
  const bool looksDefault = IsFocusedLook() || Focused;
  if (looksDefault) {
    Canvas->GetBrush()->SetColor(clWindowFrame);
    Canvas->FrameRect(r);
    InflateRect(r, -1, -1);
  }
  if (Pressed) {
    Canvas->GetPen()->SetColor(clBtnShadow);
    Canvas->GetBrush()->SetColor(clBtnFace);
    Canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
    InflateRect(r, -1, -1);
    OffsetRect(r, 1, 1);
  } else {
    RECT rc = AsRECT(r);
    DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (GetEnabled() ? 0 : DFCS_INACTIVE));
  }
  Canvas->SetFont(GetFont());
  TPngImage* png = FGlyph.Image();
  // Only a custom button shows its PNG glyph; the others keep their kind's picture room empty.
  TPngImage* shown = GetKind() == bkCustom ? png : nullptr;
  TPoint glyphPos;
  TRect textRect;
  CalcButtonLayout(Canvas, shown, Client, DrawTextBiDiModeFlags(0), GetCaption(), GetLayout(), GetMargin(),
                   GetSpacing(), Pressed, glyphPos, textRect);
  if (shown && !shown->Empty())
    DrawPNG(shown, Canvas, Bounds(glyphPos.X, glyphPos.Y, shown->GetWidth(), shown->GetHeight()),
            GetEnabled() ? TPngOptions{} : FPngOptions);
  const std::wstring caption = GetCaption();
  if (!caption.empty()) {
    Canvas->GetBrush()->SetStyle(bsClear);
    TRect text(textRect.Left, textRect.Top, Client.Right, Client.Bottom);
    if (!GetEnabled()) {
      TRect shifted = text;
      OffsetRect(shifted, 1, 1);
      Canvas->GetFont()->SetColor(clBtnHighlight);
      Canvas->DrawText(caption, shifted, DrawTextBiDiModeFlags(0));
      Canvas->GetFont()->SetColor(clBtnShadow);
    }
    Canvas->DrawText(caption, text, DrawTextBiDiModeFlags(0));
    Canvas->GetBrush()->SetStyle(bsSolid);
  }
  if (Focused && looksDefault) {
    Canvas->GetBrush()->SetColor(clBtnFace);
    TRect focus = Client;
    InflateRect(focus, -4, -4);
    Canvas->DrawFocusRect(focus);
  }
}

}  // namespace Flat
