#include "vcl/Canvas.h"

#include "vcl/Bitmap.h"
#include "vcl/PixelBuffer.h"
#include "vcl/Picture.h"

TCanvas::TCanvas() {
  // A changed object must leave the DC before its GDI handle is deleted.
  FFont.OnChanging = [this] {
    if (FState & FontValid) {
      SelectObject(FHandle, FOriginalFont);
      FState &= ~FontValid;
    }
  };
  FPen.OnChanging = [this] {
    if (FState & PenValid) {
      SelectObject(FHandle, FOriginalPen);
      FState &= ~PenValid;
    }
  };
  FBrush.OnChanging = [this] {
    if (FState & BrushValid) {
      SelectObject(FHandle, FOriginalBrush);
      FState &= ~BrushValid;
    }
  };
}

TCanvas::~TCanvas() { DeselectHandles(); }

HDC TCanvas::GetHandle() {
  RequiredState(HandleValid);
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (Value == FHandle) return;
  DeselectHandles();
  FHandle = Value;
  FState = Value ? unsigned(HandleValid) : 0u;
}

void TCanvas::DeselectHandles() {
  if (!FHandle) return;
  if (FState & FontValid) SelectObject(FHandle, FOriginalFont);
  if (FState & PenValid) SelectObject(FHandle, FOriginalPen);
  if (FState & BrushValid) SelectObject(FHandle, FOriginalBrush);
  FState &= HandleValid;
}

void TCanvas::RequiredState(unsigned State) {
  if (!FHandle) {
    CreateHandle();
    if (!FHandle) throw EInvalidGraphic("Canvas does not allow drawing");
  }
  const unsigned need = State & ~FState;
  if (need & FontValid) {
    SelectFont();
  } else if ((State & FontValid) && FFont.GetColor() != FAppliedTextColor) {
    FAppliedTextColor = FFont.GetColor();
    SetTextColor(FHandle, ColorToRGB(FAppliedTextColor));
  }
  if (need & PenValid) SelectPen();
  if (need & BrushValid) SelectBrush();
}

void TCanvas::SelectFont() {
  FOriginalFont = SelectObject(FHandle, FFont.GetHandle());
  FAppliedTextColor = FFont.GetColor();
  SetTextColor(FHandle, ColorToRGB(FAppliedTextColor));
  FState |= FontValid;
}

void TCanvas::SelectPen() {
  FOriginalPen = SelectObject(FHandle, FPen.GetHandle());
  SetROP2(FHandle, FPen.Rop2());
  FState |= PenValid;
}

void TCanvas::SelectBrush() {
  FOriginalBrush = SelectObject(FHandle, FBrush.GetHandle());
  // A clear brush also makes text (and hatches, dashed pens) transparent.
  if (FBrush.GetStyle() == bsSolid) {
    SetBkColor(FHandle, ColorToRGB(FBrush.GetColor()));
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~ColorToRGB(FBrush.GetColor()) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
  FState |= BrushValid;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::GetPenPos() {
  RequiredState(HandleValid);
  POINT p{};
  GetCurrentPositionEx(FHandle, &p);
  return {int(p.x), int(p.y)};
}

TColor TCanvas::GetPixel(int X, int Y) {
  RequiredState(HandleValid);
  return TColor(::GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixel(int X, int Y, TColor Value) {
  Changing();
  RequiredState(HandleValid | PenValid);
  ::SetPixel(FHandle, X, Y, ColorToRGB(Value));
  Changed();
}

TRect TCanvas::GetClipRect() {
  RequiredState(HandleValid);
  RECT r{};
  GetClipBox(FHandle, &r);
  return AsTRect(r);
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(HandleValid);
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  if (Count <= 0) return;
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::Polyline(FHandle, reinterpret_cast<const POINT*>(Points), Count);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  if (Count <= 0) return;
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::Polygon(FHandle, reinterpret_cast<const POINT*>(Points), Count);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
  Changing();
  RequiredState(HandleValid | PenValid | BrushValid);
  ::Arc(FHandle, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState(HandleValid | BrushValid);
  const RECT r = AsRECT(R);
  ::FillRect(FHandle, &r, FBrush.GetHandle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState(HandleValid | BrushValid);
  const RECT r = AsRECT(R);
  ::FrameRect(FHandle, &r, FBrush.GetHandle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState(HandleValid | BrushValid);
  const RECT r = AsRECT(R);
  ::DrawFocusRect(FHandle, &r);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const std::wstring& Text) {
  Changing();
  RequiredState(HandleValid | FontValid | BrushValid);
  ExtTextOutW(FHandle, X, Y, UINT(FTextFlags), nullptr, Text.c_str(), UINT(Text.size()), nullptr);
  MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::wstring& Text) {
  Changing();
  RequiredState(HandleValid | FontValid | BrushValid);
  UINT options = ETO_CLIPPED | UINT(FTextFlags);
  if (FBrush.GetStyle() != bsClear) options |= ETO_OPAQUE;
  const RECT r = AsRECT(R);
  ExtTextOutW(FHandle, X, Y, options, &r, Text.c_str(), UINT(Text.size()), nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const std::wstring& Text) {
  RequiredState(HandleValid | FontValid);
  SIZE s{};
  GetTextExtentPoint32W(FHandle, Text.c_str(), int(Text.size()), &s);
  return {int(s.cx), int(s.cy)};
}

int TCanvas::DrawText(const std::wstring& Text, TRect& R, UINT Format) {
  if (!(Format & DT_CALCRECT)) Changing();
  RequiredState(HandleValid | FontValid | BrushValid);
  RECT r = AsRECT(R);
  const int height = DrawTextW(FHandle, Text.c_str(), int(Text.size()), &r, Format);
  R = AsTRect(r);
  if (!(Format & DT_CALCRECT)) Changed();
  return height;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(HandleValid);
  Graphic->Draw(*this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()));
  Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic, std::uint8_t Opacity) {
  if (!Graphic || Graphic->Empty()) return;
  if (Opacity == 255) {
    Draw(X, Y, Graphic);
    return;
  }
  Changing();
  RequiredState(HandleValid);
  Graphic->DrawBlended(*this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()), Opacity);
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(HandleValid);
  Graphic->Draw(*this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState(HandleValid | BrushValid);
  Canvas->RequiredState(HandleValid | BrushValid);
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left, Source.Top,
             Source.Width(), Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  Changing();
  RequiredState(HandleValid | BrushValid);
  HDC src = Bitmap->GetCanvas()->GetHandle();
  const int w = Source.Width(), h = Source.Height();
  // A monochrome mask: white where the source has the colour to replace.
  HDC maskDC = CreateCompatibleDC(FHandle);
  TGdiHandle<HBITMAP> mask(CreateBitmap(w, h, 1, 1, nullptr));
  HGDIOBJ oldMask = SelectObject(maskDC, mask.Get());
  const COLORREF oldSrcBk = SetBkColor(src, ColorToRGB(Color));
  BitBlt(maskDC, 0, 0, w, h, src, Source.Left, Source.Top, SRCCOPY);
  SetBkColor(src, oldSrcBk);
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), src, Source.Left, Source.Top, w, h, SRCCOPY);
  // Where the mask is white take the brush, elsewhere keep what was copied:
  // D = ((D ^ P) & S) ^ D, with the mask's 1 bits mapped to all-ones.
  const COLORREF oldText = SetTextColor(FHandle, RGB(0, 0, 0));
  const COLORREF oldBk = SetBkColor(FHandle, RGB(255, 255, 255));
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), maskDC, 0, 0, w, h, 0x00E20746);
  SetTextColor(FHandle, oldText);
  SetBkColor(FHandle, oldBk);
  SelectObject(maskDC, oldMask);
  DeleteDC(maskDC);
  Changed();
}
