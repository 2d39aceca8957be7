// The painted controls: TGraphicControl (windowless), TCustomControl (a window
// with a canvas), and the canvas that draws on a control outside painting.
#include "vcl/Controls.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>
#include <vector>

namespace {

// Canvases holding a DC they took outside painting; given back after each message.
std::vector<TControlCanvas*>& LiveCanvases() {
  static std::vector<TControlCanvas*> list;
  return list;
}

}  // namespace

// --- TControlCanvas

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* control) {
  if (control == FControl) return;
  FreeHandle();
  FControl = control;
}

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  HWND wnd = nullptr;
  auto* win = dynamic_cast<TWinControl*>(FControl);
  if (win)
    wnd = win->GetHandle();
  else if (FControl->GetParent())
    wnd = FControl->GetParent()->GetHandle();
  if (!wnd) return;
  HDC dc = GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) return;
  if (!win) {
    // A windowless control draws in its own coordinates and only on itself.
    SetViewportOrgEx(dc, FControl->GetLeft(), FControl->GetTop(), nullptr);
    IntersectClipRect(dc, 0, 0, FControl->GetWidth(), FControl->GetHeight());
  }
  FDeviceWnd = wnd;
  FDeviceDC = dc;
  LiveCanvases().push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceDC) return;
  SetHandle(nullptr);
  ReleaseDC(FDeviceWnd, FDeviceDC);
  FDeviceDC = nullptr;
  FDeviceWnd = nullptr;
  auto& list = LiveCanvases();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::AttachDC(HDC dc) {
  FreeHandle();
  SetHandle(dc);
}

void TControlCanvas::FreeDeviceContexts() {
  auto& list = LiveCanvases();
  while (!list.empty()) list.back()->FreeHandle();
}

// --- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TMessage& m) {
  if (m.WParam == 0 || ComponentState().Contains(csDestroying)) return;
  const TCanvasAttach attached(FCanvas.get(), reinterpret_cast<HDC>(m.WParam));
  Paint();
}

// --- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::WMPaint(TMessage& m) {
  ControlState << csCustomPaint;
  const TOnExit painted([this] { ControlState >> csCustomPaint; });
  TWinControl::WMPaint(m);
}

void TCustomControl::PaintWindow(HDC dc) {
  const TCanvasAttach attached(FCanvas.get(), dc);
  Paint();
}

void TGraphicControl::Publish(TPublisher<TGraphicControl>& p) {
  p.Message(WM_PAINT, &TGraphicControl::WMPaint);
}

void TCustomControl::Publish(TPublisher<TCustomControl>& p) {
  p.Message(WM_PAINT, &TCustomControl::WMPaint);
}
