#include "displays/DisplayForm.h"

namespace {
bool topMostsNormalized = false;
}

bool DisplayTopMostsNormalized() { return topMostsNormalized; }

void TDisplayForm::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  p.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

void TDisplayForm::ShowWithoutActivation() {
  HWND wnd = GetHandle();
  ShowWindow(wnd, SW_SHOWNA);
  SetWindowPos(wnd, HWND_TOPMOST, GetLeft(), GetTop(), GetWidth(), GetHeight(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  // The window is on the screen already: the form only takes note.
  SetVisible(true);
  if (!Application) return;
  TCustomForm* main = Application->GetMainForm();
  if (!main || !main->GetVisible()) ShowWindow(Application->GetHandle(), SW_HIDE);
}

void TDisplayForm::HideDisplay() {
  if (HWND wnd = WindowHandle()) ShowWindow(wnd, SW_HIDE);
  SetVisible(false);
}

void TDisplayForm::WMShowWindow(TMessage& m) {
  if (m.WParam == 0) {
    m.Result = 0;
    return;
  }
  QORN_INHERITED(m);
}

void TDisplayForm::WMNCHitTest(TMessage& m) {
  QORN_INHERITED(m);
  if (DisplayPlacementMode == 1 && m.Result == HTCLIENT) m.Result = HTCAPTION;
}

void TDisplayForm::Activate() {
  inherited::Activate();
  if (!topMostsNormalized && Application) {
    topMostsNormalized = true;
    Application->NormalizeTopMosts();
  }
  SetWindowPos(GetHandle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
}

void TDisplayForm::Publish(TPublisher<TDisplayForm>& p) {
  p.Message(WM_SHOWWINDOW, &TDisplayForm::WMShowWindow);
  p.Message(WM_NCHITTEST, &TDisplayForm::WMNCHitTest);
  p.Message(WM_MOUSEACTIVATE, &TDisplayForm::WMMouseActivate);
}
