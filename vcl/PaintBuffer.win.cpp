#include "vcl/PaintBuffer.h"

#include <algorithm>

TCanvas* TPaintBuffer::Begin(HDC Target, const TRect& Area) {
  FTarget = Target;
  FArea = Area;
  const int w = std::max(Area.Width(), 1), h = std::max(Area.Height(), 1);
  if (FBitmap.GetWidth() < w || FBitmap.GetHeight() < h) FBitmap.SetSize(std::max(w, FBitmap.GetWidth()), std::max(h, FBitmap.GetHeight()));
  TCanvas* canvas = FBitmap.GetCanvas();
  HDC dc = canvas->GetHandle();
  SetViewportOrgEx(dc, -Area.Left, -Area.Top, nullptr);
  // Nothing of the previous paint may show through: clip to this area.
  HRGN clip = CreateRectRgn(0, 0, w, h);
  SelectClipRgn(dc, clip);
  DeleteObject(clip);
  return canvas;
}

void TPaintBuffer::End() {
  if (!FTarget) return;
  HDC dc = FBitmap.GetCanvas()->GetHandle();
  SetViewportOrgEx(dc, 0, 0, nullptr);
  GdiFlush();
  BitBlt(FTarget, FArea.Left, FArea.Top, FArea.Width(), FArea.Height(), dc, 0, 0, SRCCOPY);
  SelectClipRgn(dc, nullptr);
  FTarget = nullptr;
}

void TPaintBuffer::Cancel() {
  if (!FTarget) return;
  HDC dc = FBitmap.GetCanvas()->GetHandle();
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SelectClipRgn(dc, nullptr);
  FTarget = nullptr;
}
