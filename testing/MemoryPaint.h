// A control painted into a memory bitmap of its own size, for pixel checks: the
// bitmap starts black, so whatever the control leaves unpainted reads as black.
#pragma once
#include "vcl/Controls.h"
#include "vcl/Win.h"

class TMemoryPaint {
 public:
  explicit TMemoryPaint(TControl* control) : w_(control->GetWidth()), h_(control->GetHeight()) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, w_, h_);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bmp_);
    const RECT all{0, 0, w_, h_};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    control->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc_), 0);
  }
  ~TMemoryPaint() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  TMemoryPaint(const TMemoryPaint&) = delete;
  TMemoryPaint& operator=(const TMemoryPaint&) = delete;
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  HDC DC() const { return dc_; }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};
