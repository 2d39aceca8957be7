// Flicker-free painting for owner-drawn controls: paint into an off-screen
// bitmap of the area and copy it to the screen in one BitBlt. Such controls
// answer WM_ERASEBKGND with 1 and draw nothing there; the buffer's first
// drawing is the background.
//
//   TPaintBuffer buffer;                         // a member: the bitmap is reused
//   TCanvas* c = buffer.Begin(ps.hdc, ClientRect);
//   c->SetBrush(...); c->FillRect(ClientRect);   // target coordinates
//   ...
//   buffer.End();                                // one copy to ps.hdc
#pragma once
#include "vcl/Bitmap.h"

class TPaintBuffer {
 public:
  TPaintBuffer() = default;
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;

  // Starts painting Area (in Target's logical coordinates). The canvas draws in
  // those same coordinates. The bitmap is kept between paints while the size fits.
  TCanvas* Begin(HDC Target, const TRect& Area);
  // Copies what was drawn to the target; nothing when Begin was not called.
  void End();
  // Drops what was drawn (a paint that failed half-way never reaches the screen).
  void Cancel();

  bool Active() const { return FTarget != nullptr; }
  TBitmap& Bitmap() { return FBitmap; }
  TCanvas* Canvas() { return FBitmap.GetCanvas(); }

 private:
  TBitmap FBitmap{0, 0, pf32bit};
  HDC FTarget = nullptr;
  TRect FArea;
};
