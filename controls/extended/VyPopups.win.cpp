#include "controls/extended/VyPopups.h"

#include "controls/extended/VyPopupPlacement.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Win.h"

namespace Vy {

namespace {

bool IsButtonDown(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: return true;
    default: return false;
  }
}

// The control's rectangle on the screen, windowed or not.
TRect ScreenRectOf(TControl* control) {
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated()) {
    RECT r;
    GetWindowRect(w->WindowHandle(), &r);
    return Rect(r.left, r.top, r.right, r.bottom);
  }
  const TPoint topLeft = control->GetParent() ? control->GetParent()->ClientToScreen(control->GetBoundsRect().TopLeft())
                                              : control->GetBoundsRect().TopLeft();
  return Bounds(topLeft.X, topLeft.Y, control->GetWidth(), control->GetHeight());
}

TRect WorkAreaNear(const TRect& r) {
  const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return Rect(work.left, work.top, work.right, work.bottom);
  }
  return Rect(info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom);
}

TVyPopupAlign PopupAlign(TAlignment a) {
  switch (a) {
    case taLeftJustify: return TVyPopupAlign::Left;
    case taCenter: return TVyPopupAlign::Centre;
    default: return TVyPopupAlign::Right;
  }
}

}  // namespace

// --- common base

TVyCustomPopup::TVyCustomPopup(TComponent* AOwner) : TVyCustomPanel(AOwner) {
  SetBorderWidth(2);
  SetBorderOuter(fsPopup);
  SetFlatColorAdjustment(0);
  SetVisible(false);
}

void TVyCustomPopup::Publish(TPublisher<TVyCustomPopup>& p) {
  using T = TVyCustomPopup;
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsPopup);
  p.Property(L"BorderWidth", &T::GetBorderWidth, &T::SetBorderWidth).Default(2);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(0);
}

// --- the window shown for a moment

TVyPopup::TVyPopup(TVyPopupPanel* panel) : TVyCustomPopup(nullptr), FDropPanel(panel) {
  SetColor(panel->GetColor());
  GetFont()->Assign(panel->GetFont());
  SetCtl3D(false);
  SetHint(panel->GetHint());
  SetShowHint(panel->GetShowHint());
  SetBorderWidth(panel->GetBorderWidth());
  SetBorderOuter(panel->GetBorderOuter());
}

TVyPopup::~TVyPopup() {
  if (FDropControl) FDropControl->RemoveFreeNotification(this);
}

void TVyPopup::Publish(TPublisher<TVyPopup>& p) {
  using T = TVyPopup;
  p.Message(WM_MOUSEACTIVATE, &T::WMMouseActivate);
  p.Message(WM_NCACTIVATE, &T::WMNCActivate);
  for (UINT key = WM_KEYFIRST; key <= WM_KEYLAST; ++key) p.Message(key, &T::WMKey);
  p.Message(WM_SYSCOMMAND, &T::WMSysCommand);
  p.Message(WM_VYPOPUPCLOSE, &T::WMPopupClose);
}

void TVyPopup::CreateParams(TCreateParams& params) {
  TVyCustomPopup::CreateParams(params);
  params.Style = WS_POPUP;
  // Never activated, no task-bar button, above the form that owns it.
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  TCustomForm* form = FDropPanel ? GetParentForm(FDropPanel) : nullptr;
  params.WndParent = form && form->HandleAllocated() ? form->WindowHandle() : Application->GetHandle();
}

void TVyPopup::Notification(TComponent* AComponent, TOperation Operation) {
  TVyCustomPopup::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropControl) {
    FDropControl = nullptr;
    FEnded = true;
  }
}

void TVyPopup::PostClose(bool accept) {
  if (accept) FNotAccepted = false;
  if (HandleAllocated()) PostMessageW(WindowHandle(), WM_VYPOPUPCLOSE, 0, 0);
  else FEnded = true;
}

void TVyPopup::PanelGone() {
  FDropPanel = nullptr;
  FEnded = true;
}

void TVyPopup::WMKey(TMessage& m) {
  if (m.Msg == WM_KEYDOWN && m.WParam == VK_ESCAPE) PostClose(false);
  // No form stands above the popup to offer a character to the captions' accelerators:
  // the popup does (a plain character only when the child does not want it typed).
  if (FTargetControl && (m.Msg == WM_SYSCHAR || m.Msg == WM_CHAR) && m.WParam != VK_ESCAPE) {
    const bool wantsChars = (FTargetControl->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) != 0;
    if ((m.Msg == WM_SYSCHAR || !wantsChars) && FTargetControl->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
      m.Result = 0;
      return;
    }
  }
  if (FTargetControl && FTargetControl->HandleAllocated()) {
    m.Result = SendMessageW(FTargetControl->WindowHandle(), m.Msg, m.WParam, m.LParam);
    return;
  }
  QORN_INHERITED(m);
}

void TVyPopup::WMSysCommand(TMessage& m) {
  PostClose(false);
  QORN_INHERITED(m);
}

void TVyPopup::WMPopupClose(TMessage&) { FEnded = true; }

bool TVyPopup::Holds(HWND wnd) { return wnd == WindowHandle() || IsChild(WindowHandle(), wnd); }

void TVyPopup::MoveChildren(TWinControl* from, TWinControl* to) {
  // From the last to the first: twice over, the order is the panel's again.
  while (from->ControlCount() > 0) from->Controls(from->ControlCount() - 1)->SetParent(to);
}

bool TVyPopup::DropFrom(TControl* control, TAlignment alignment) {
  FDropControl = control;
  control->FreeNotification(this);
  const TRect controlRect = ScreenRectOf(control);
  TVyPopupPanel* panel = FDropPanel;
  const int width = panel->GetWidth(), height = panel->GetHeight();
  for (int i = 0; i < panel->ControlCount() && !FTargetControl; ++i) {
    auto* w = dynamic_cast<TWinControl*>(panel->Controls(i));
    if (w && w->GetEnabled() && w->GetVisible()) FTargetControl = w;
  }
  HandleNeeded();
  MoveChildren(panel, this);
  const TOnExit ended([this] {
    if (HandleAllocated() && IsWindow(WindowHandle()))
      SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (FDropPanel) MoveChildren(this, FDropPanel);
  });
  // The form keeps the activation; the keys come to the popup through the loop.
  if (panel->HandleAllocated()) ::SetFocus(panel->WindowHandle());
  const TRect r = PlacePopup(controlRect, width, height, PopupAlign(alignment), WorkAreaNear(controlRect));
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  SetWindowPos(WindowHandle(), HWND_TOP, r.Left, r.Top, r.Width(), r.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
  FNotAccepted = true;
  FEnded = false;
  RunLoop();
  return !FNotAccepted;
}

void TVyPopup::RunLoop() {
  MSG msg;
  while (!FEnded && !Application->GetTerminated() && FDropControl && HandleAllocated() && IsWindow(WindowHandle())) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      Application->Idle(msg);
      continue;
    }
    if (msg.message == WM_VYPOPUPCLOSE && msg.hwnd == WindowHandle()) {
      PeekMessageW(&msg, msg.hwnd, WM_VYPOPUPCLOSE, WM_VYPOPUPCLOSE, PM_REMOVE);
      return;
    }
    // Another program took the activation: the popup goes, the application still
    // hears of it.
    if (msg.message == CM_DEACTIVATE && msg.hwnd == Application->GetHandle()) return;
    if (IsButtonDown(msg.message) && !Holds(msg.hwnd)) {
      // The click only closes the popup: the window under it never sees it.
      PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
      return;
    }
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      PeekMessageW(&msg, msg.hwnd, msg.message, msg.message, PM_REMOVE);
      // Characters too, for the child's own accelerators and typing.
      TranslateMessage(&msg);
      SendMessageW(WindowHandle(), msg.message, msg.wParam, msg.lParam);
      continue;
    }
    Application->ProcessMessage(msg);
  }
}

// --- the panel on the form

TVyPopupPanel::TVyPopupPanel(TComponent* AOwner) : TVyCustomPopup(AOwner) {
  SetBounds(GetLeft(), GetTop(), 100, 100);
  ControlStyle.Include(csAcceptsControls);
  SetAlignment(taRightJustify);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetAutoSize(true);
}

TVyPopupPanel::~TVyPopupPanel() {
  if (FPopupWindow) FPopupWindow->PanelGone();
}

void TVyPopupPanel::Publish(TPublisher<TVyPopupPanel>& p) {
  using T = TVyPopupPanel;
  p.Property(L"Alignment", &T::GetAlignment, &T::SetAlignment).Default(taRightJustify);
  p.Property(L"AutoSize", &T::GetAutoSize, &T::SetAutoSize).Default(true);
  p.Property(L"OnPopup", &T::OnPopup);
  p.Property(L"OnClose", &T::OnClose);
}

void TVyPopupPanel::ClosePopup() {
  if (FPopupWindow) FPopupWindow->PostClose(true);
}

void TVyPopupPanel::CancelPopup() {
  if (FPopupWindow) FPopupWindow->PostClose(false);
}

void TVyPopupPanel::DestroyWnd() {
  // A window re-made or a form closing is no choice of the user's.
  CancelPopup();
  TVyCustomPopup::DestroyWnd();
}

bool TVyPopupPanel::DropFrom(TControl* popupControl) {
  if (FPopupWindow || !popupControl) return false;
  FDropControl = popupControl;
  const HWND focused = GetFocus();
  TCustomForm* form = GetParentForm(this);
  if (form) form->DisableAutoRange();
  const auto alive = Watch();
  const TOnExit restored([this, alive, form, focused] {
    if (alive.expired()) return;
    if (form) form->EnableAutoRange();
    if (Application->GetActive() && IsWindow(focused)) ::SetFocus(focused);
    FDropControl = nullptr;
    FPopupWindow = nullptr;
  });
  FirePopup();
  // The children fit their fonts first, then the panel fits them.
  HandleNeeded();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->AdjustSize();
  AdjustSize();
  auto popup = std::make_unique<TVyPopup>(this);
  FPopupWindow = popup.get();
  const bool accepted = popup->DropFrom(popupControl, GetAlignment());
  if (alive.expired()) return false;
  FPopupWindow = nullptr;
  FireClose();
  return accepted;
}

}  // namespace Vy
