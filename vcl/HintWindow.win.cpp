#include "vcl/HintWindow.h"

#include "vcl/Forms.h"

#include <algorithm>

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  if (Screen) GetFont()->Assign(Screen->GetHintFont());
  GetFont()->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.WndParent = Application ? Application->GetHandle() : nullptr;
  p.WindowClass.style = CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::wstring& hint, void*) {
  RECT r{0, 0, std::max(1, maxWidth), 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  DrawTextW(dc, hint.c_str(), static_cast<int>(hint.size()), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  // The margins Paint leaves around the text: 2 pixels left and top, 4 right
  // and 2 below.
  r.right += 6;
  r.bottom += 4;
  return AsTRect(r);
}

TRect KeepHintInside(TRect r, const TRect& area, TPoint cursor) {
  const int w = r.Width(), h = r.Height();
  if (r.Right > area.Right) OffsetRect(r, area.Right - r.Right, 0);
  if (r.Left < area.Left) OffsetRect(r, area.Left - r.Left, 0);
  if (r.Bottom > area.Bottom) {
    // Pushed up from below the cursor: over it, not onto it.
    OffsetRect(r, 0, area.Bottom - r.Bottom);
    if (r.Contains(cursor)) r = Bounds(r.Left, cursor.Y - h - 2, w, h);
  }
  if (r.Top < area.Top) OffsetRect(r, 0, area.Top - r.Top);
  return r;
}

void THintWindow::ActivateHint(TRect rect, const std::wstring& hint) {
  SetCaption(hint);
  TCreateParams params;
  CreateParams(params);
  RECT frame = AsRECT(rect);
  AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
  TRect bounds = AsTRect(frame);
  POINT cursor;
  GetCursorPos(&cursor);
  TRect area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (GetMonitorInfoW(MonitorFromPoint(POINT{rect.Left, rect.Top}, MONITOR_DEFAULTTONEAREST), &mi))
    area = AsTRect(mi.rcWork);
  ShowHintWindow(KeepHintInside(bounds, area, {cursor.x, cursor.y}));
}

void THintWindow::ShowHintWindow(const TRect& bounds) {
  HWND wnd = GetHandle();
  SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  SetWindowPos(wnd, HWND_TOPMOST, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::Paint() {
  TCanvas* canvas = GetCanvas();
  const TRect client = GetClientRect();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetColor());
  canvas->FillRect(client);
  canvas->SetFont(GetFont());
  canvas->GetBrush()->SetStyle(bsClear);
  TRect r = client;
  r.Left += 2;
  r.Top += 2;
  canvas->DrawText(GetText(), r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::Publish(TPublisher<THintWindow>& p) {
  p.Message(WM_NCHITTEST, &THintWindow::WMNCHitTest);
  p.Message(WM_MOUSEACTIVATE, &THintWindow::WMMouseActivate);
}
