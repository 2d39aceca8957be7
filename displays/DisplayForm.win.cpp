#include "displays/DisplayForm.h"

namespace {
bool topMostsNormalized = false;
}

bool DisplayTopMostsNormalized() { return topMostsNormalized; }

void TDisplayForm::CreateParams(TCreateParams& p) {
  inherited::CreateParams(p);
  p.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  const TFormBorderStyle border = GetBorderStyle();
  if (!noTitleBar_ || (p.Style & WS_CAPTION) != WS_CAPTION) return;
  // A pop-up: the system gives every overlapped window a caption.
  if (border == bsSingle || border == bsSizeable) {
    p.Style = (p.Style & ~WS_CAPTION) | WS_BORDER | WS_POPUP;
  } else if (border == bsDialog) {
    p.Style = (p.Style & ~WS_CAPTION) | WS_DLGFRAME | DS_MODALFRAME | WS_POPUP;
  }
}

void TDisplayForm::RemoveTitleBar() {
  const int width = GetWidth();
  const int height = GetHeight();
  if (!noTitleBar_ || GetBorderStyle() != bsSizeable) {
    noTitleBar_ = true;
    if (GetBorderStyle() == bsSizeable)
      RecreateWnd();
    else
      SetBorderStyle(bsSizeable);
  }
  // The client size is read from the window from now on, not from the styles.
  HandleNeeded();
  SetBounds(GetLeft(), GetTop(), width, height);
}

void TDisplayForm::FreeSize() {
  TSizeConstraints* c = GetConstraints();
  c->SetMinWidth(0);
  c->SetMinHeight(0);
  c->SetMaxWidth(0);
  c->SetMaxHeight(0);
}

void TDisplayForm::FixSize() {
  TSizeConstraints* c = GetConstraints();
  c->SetMinWidth(GetWidth());
  c->SetMaxWidth(GetWidth());
  c->SetMinHeight(GetHeight());
  c->SetMaxHeight(GetHeight());
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
