// TScreen and TMonitor: screen sizes, work areas, monitors, the forms and the
// application-wide cursor.
#include "vcl/Forms.h"

#include <algorithm>

// --- TMonitor

namespace {

MONITORINFO InfoOf(HMONITOR m) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(m, &info);
  return info;
}

}  // namespace

TRect TMonitor::GetBoundsRect() const { return AsTRect(InfoOf(FHandle).rcMonitor); }
TRect TMonitor::GetWorkareaRect() const { return AsTRect(InfoOf(FHandle).rcWork); }
bool TMonitor::GetPrimary() const { return (InfoOf(FHandle).dwFlags & MONITORINFOF_PRIMARY) != 0; }

// --- TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

TScreen::~TScreen() = default;

int TScreen::GetWidth() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::GetHeight() const { return GetSystemMetrics(SM_CYSCREEN); }

int TScreen::GetPixelsPerInch() const {
  HDC dc = GetDC(nullptr);
  const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi;
}

TRect TScreen::GetWorkAreaRect() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return AsTRect(r);
}

TRect TScreen::GetDesktopRect() const {
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return Bounds(x, y, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

void TScreen::SetCursor(TCursor v) {
  if (v == FCursor) return;
  FCursor = v;
  // Shown at once, not only at the next mouse move.
  POINT p;
  GetCursorPos(&p);
  if (v != crDefault) {
    ::SetCursor(CursorHandle(v));
  } else {
    HWND wnd = WindowFromPoint(p);
    if (FindControl(wnd)) SendMessageW(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

namespace {

std::unique_ptr<TFont> FontFromLogFont(const LOGFONTW& lf) {
  auto font = std::make_unique<TFont>();
  font->SetLogFont(lf);
  return font;
}

NONCLIENTMETRICSW Metrics() {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  return m;
}

}  // namespace

TFont* TScreen::GetMenuFont() {
  if (!FMenuFont) FMenuFont = FontFromLogFont(Metrics().lfMenuFont);
  return FMenuFont.get();
}

TFont* TScreen::GetHintFont() {
  if (!FHintFont) FHintFont = FontFromLogFont(Metrics().lfStatusFont);
  return FHintFont.get();
}

TFont* TScreen::GetIconFont() {
  if (!FIconFont) {
    LOGFONTW lf{};
    SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
    FIconFont = FontFromLogFont(lf);
  }
  return FIconFont.get();
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
  if (FActiveForm == form) FActiveForm = nullptr;
  if (FActiveControl && GetParentForm(FActiveControl) == form) FActiveControl = nullptr;
}

void TScreen::RefreshMonitors() {
  std::vector<HMONITOR> handles;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR m, HDC, LPRECT, LPARAM param) -> BOOL {
        reinterpret_cast<std::vector<HMONITOR>*>(param)->push_back(m);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handles));
  bool same = handles.size() == FMonitors.size();
  for (size_t i = 0; same && i < handles.size(); ++i) same = FMonitors[i]->GetHandle() == handles[i];
  if (same) return;
  FMonitors.clear();
  for (size_t i = 0; i < handles.size(); ++i)
    FMonitors.push_back(std::make_unique<TMonitor>(handles[i], static_cast<int>(i)));
}

int TScreen::GetMonitorCount() {
  RefreshMonitors();
  return static_cast<int>(FMonitors.size());
}

TMonitor* TScreen::GetMonitors(int i) {
  RefreshMonitors();
  if (i < 0 || i >= static_cast<int>(FMonitors.size()))
    throw EListError(SListIndexError, {i});
  return FMonitors[static_cast<size_t>(i)].get();
}

TMonitor* TScreen::FindMonitor(HMONITOR handle) {
  RefreshMonitors();
  for (const auto& m : FMonitors)
    if (m->GetHandle() == handle) return m.get();
  return FMonitors.empty() ? nullptr : FMonitors.front().get();
}

TMonitor* TScreen::MonitorFromPoint(TPoint p) {
  return FindMonitor(::MonitorFromPoint(POINT{p.X, p.Y}, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromWindow(HWND wnd) { return FindMonitor(::MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST)); }

TMonitor* TScreen::MonitorFromRect(const TRect& r) {
  RECT rr = AsRECT(r);
  return FindMonitor(::MonitorFromRect(&rr, MONITOR_DEFAULTTONEAREST));
}
