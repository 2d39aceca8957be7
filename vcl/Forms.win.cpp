// TCustomForm and TCustomFrame: top-level windows read from form resources,
// showing, closing, modal loops, activation and focus bookkeeping.
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"

#include "vcl/FormResources.h"

#include <algorithm>
#include <cwctype>

TTaskWindowsDisabler::TTaskWindowsDisabler(HWND except) : FExcept(except) {
  EnumThreadWindows(GetCurrentThreadId(), &TTaskWindowsDisabler::Visit, reinterpret_cast<LPARAM>(this));
  for (HWND w : FDisabled) EnableWindow(w, FALSE);
}

TTaskWindowsDisabler::~TTaskWindowsDisabler() {
  for (HWND w : FDisabled)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

BOOL CALLBACK TTaskWindowsDisabler::Visit(HWND wnd, LPARAM param) {
  auto* self = reinterpret_cast<TTaskWindowsDisabler*>(param);
  if (wnd != self->FExcept && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) self->FDisabled.push_back(wnd);
  return TRUE;
}


// --- TScrollingWinControl

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

// --- TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner), FCanvas(new TControlCanvas(this)) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  FColor = clBtnFace;
  FParentFont = false;
  FParentColor = false;
  FLeft = 0;
  FTop = 0;
  FWidth = 320;
  FHeight = 240;
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  FCanvas.reset();  // nothing paints on a form half gone
}

void TCustomForm::BeforeDestruction() {
  if (FCreated) DoDestroy();
  TScrollingWinControl::BeforeDestruction();
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  // The window goes while the whole form is there to hear its last messages.
  DestroyHandle();
}

std::wstring TCustomForm::ResourceName() const { return FormResourceName(this); }

void TCustomForm::InitializeForm(bool readResource) {
  if (readResource) ReadComponentRes(ResourceName(), this);
  FCreated = true;
  // A form read as visible shows once it is made.
  const bool show = FVisible;
  FVisible = false;
  DoCreate();
  if (show) Show();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PaintWindow(HDC dc) {
  const TCanvasAttach attached(FCanvas.get(), dc);
  Paint();
}

void TCustomForm::WMPaint(TMessage& m) {
  if (FHandle && IsIconic(FHandle)) {
    DefWndHandler(m);
    return;
  }
  ControlState << csCustomPaint;
  const TOnExit painted([this] { ControlState >> csCustomPaint; });
  TScrollingWinControl::WMPaint(m);
}

// --- window

DWORD TCustomForm::ComputeStyle(DWORD& ex) const {
  DWORD style = WS_CLIPCHILDREN;
  ex = 0;
  const bool top = TopLevel();
  if (!top) style |= WS_CHILD | WS_CLIPSIBLINGS;
  TBorderIcons icons = FBorderIcons;
  switch (FBorderStyle) {
    case bsNone:
      if (top) style |= WS_POPUP;
      icons = {};
      break;
    case bsSingle:
    case bsToolWindow: style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      style |= WS_POPUP | WS_CAPTION;
      ex |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons = icons * TBorderIcons{biSystemMenu, biHelp};
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) {
    ex |= WS_EX_TOOLWINDOW;
    icons = icons * TBorderIcons{biSystemMenu};
  }
  if (icons.Contains(biSystemMenu)) {
    style |= WS_SYSMENU;
    if (icons.Contains(biMinimize)) style |= WS_MINIMIZEBOX;
    if (icons.Contains(biMaximize)) style |= WS_MAXIMIZEBOX;
    if (icons.Contains(biHelp) && !icons.Contains(biMinimize) && !icons.Contains(biMaximize))
      ex |= WS_EX_CONTEXTHELP;
  }
  if (FFormStyle == fsStayOnTop) ex |= WS_EX_TOPMOST;
  if (!FEnabled) style |= WS_DISABLED;
  return style;
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TScrollingWinControl::CreateParams(p);
  DWORD ex = 0;
  p.Style = ComputeStyle(ex);
  p.ExStyle = ex;
  if (!TopLevel() && FVisible) p.Style |= WS_VISIBLE;
  if (TopLevel()) p.WndParent = Application ? Application->GetHandle() : nullptr;
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) p.X = p.Y = static_cast<int>(CW_USEDEFAULT);
  p.WindowClass.style = CS_DBLCLKS;
  if (FBorderStyle == bsDialog) p.WindowClass.style |= CS_SAVEBITS;
  p.WindowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
}

void TCustomForm::CreateWnd() {
  TScrollingWinControl::CreateWnd();
  UpdateLayeredAttributes();
}

void TCustomForm::UpdateLayeredAttributes() {
  if (!FHandle) return;
  const LONG_PTR ex = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  if (FAlphaBlend || FTransparentColor) {
    if (!(ex & WS_EX_LAYERED)) {
      SetWindowLongPtrW(FHandle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
      FLayeredByUs = true;
    }
    DWORD flags = 0;
    if (FAlphaBlend) flags |= LWA_ALPHA;
    if (FTransparentColor) flags |= LWA_COLORKEY;
    SetLayeredWindowAttributes(FHandle, ColorToRGB(FTransparentColorValue), static_cast<BYTE>(FAlphaBlendValue),
                               flags);
  } else if (FLayeredByUs) {
    // Only a layer this form made goes: one set for UpdateLayeredWindow stays.
    SetWindowLongPtrW(FHandle, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    FLayeredByUs = false;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

TRect TCustomForm::ClientRectWithoutHandle() const {
  DWORD ex = 0;
  const DWORD style = ComputeStyle(ex);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, ex);
  return Rect(0, 0, std::max(0, FWidth - static_cast<int>(r.right - r.left)), std::max(0, FHeight - static_cast<int>(r.bottom - r.top)));
}

void TCustomForm::SetClientWidth(int v) { SetWidth(FWidth - GetClientWidth() + v); }
void TCustomForm::SetClientHeight(int v) { SetHeight(FHeight - GetClientHeight() + v); }

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == FBorderStyle) return;
  FBorderStyle = v;
  RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == FBorderIcons) return;
  FBorderIcons = v;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (v == FFormStyle) return;
  FFormStyle = v;
  if (FHandle)
    SetWindowPos(FHandle, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::GetWindowState() const {
  if (FHandle && IsWindowVisible(FHandle)) {
    if (IsIconic(FHandle)) return wsMinimized;
    if (IsZoomed(FHandle)) return wsMaximized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState v) {
  FWindowState = v;
  if (!FHandle || !IsWindowVisible(FHandle)) return;
  if (v == wsMinimized && Application && Application->GetMainForm() == this) {
    Application->Minimize();
    return;
  }
  ShowWindow(FHandle, v == wsMinimized ? SW_MINIMIZE : v == wsMaximized ? SW_SHOWMAXIMIZED : SW_RESTORE);
}

void TCustomForm::SetAlphaBlend(bool v) {
  if (v == FAlphaBlend) return;
  FAlphaBlend = v;
  UpdateLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(int v) {
  v = std::clamp(v, 0, 255);
  if (v == FAlphaBlendValue) return;
  FAlphaBlendValue = v;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColor(bool v) {
  if (v == FTransparentColor) return;
  FTransparentColor = v;
  UpdateLayeredAttributes();
}

void TCustomForm::SetTransparentColorValue(TColor v) {
  if (v == FTransparentColorValue) return;
  FTransparentColorValue = v;
  UpdateLayeredAttributes();
}

void TCustomForm::SetParent(TWinControl* parent) {
  if (parent == GetParent()) return;
  // A form turning into a child (or back) needs another kind of window.
  if (FHandle) DestroyHandle();
  TScrollingWinControl::SetParent(parent);
}

bool TCustomForm::Showing() const { return FHandle && IsWindowVisible(FHandle); }

// --- showing and hiding

void TCustomForm::Show() {
  SetVisible(true);
  if (FHandle && IsWindowVisible(FHandle) && GetActiveWindow() != FHandle && FModal) SetActiveWindow(FHandle);
}

void TCustomForm::Hide() { SetVisible(false); }

void TCustomForm::CMVisibleChanged(TMessage& m) {
  // Read from a form: shown once the form is made (InitializeForm).
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) || !FCreated) return;
  if (!TopLevel()) {
    TScrollingWinControl::CMVisibleChanged(m);
    return;
  }
  if (FVisible) HandleNeeded();
  if (FHandle) Perform(CM_SHOWINGCHANGED);
}

void TCustomForm::CMShowingChanged(TMessage& m) {
  if (!TopLevel()) {
    TScrollingWinControl::CMShowingChanged(m);
    return;
  }
  if (FVisible) {
    if (FShowing) return;
    FShowing = true;
    DoShow();
    if (!FVisible || !FHandle) return;  // OnShow hid or freed it
    // Already on screen (shown without activation by its owner): only the flag changes.
    if (IsWindowVisible(FHandle)) return;
    PlaceOnShow();
    if (Application && Application->GetMainForm() == this && Application->FHandle &&
        !IsWindowVisible(Application->FHandle))
      ShowWindow(Application->FHandle, SW_SHOWNOACTIVATE);
    int cmd = SW_SHOWNORMAL;
    if (FWindowState == wsMaximized) cmd = SW_SHOWMAXIMIZED;
    if (FWindowState == wsMinimized) cmd = SW_SHOWMINNOACTIVE;
    ShowWindow(FHandle, cmd);
  } else {
    if (!FShowing) return;
    FShowing = false;
    if (IsWindowVisible(FHandle)) ShowWindow(FHandle, SW_HIDE);
    DoHide();
  }
}

void TCustomForm::PlaceOnShow() {
  TCustomForm* center = nullptr;
  switch (FPosition) {
    case poOwnerFormCenter:
      center = dynamic_cast<TCustomForm*>(Owner());
      if (!center && Application) center = Application->GetMainForm();
      break;
    case poMainFormCenter:
      if (Application) center = Application->GetMainForm();
      break;
    case poScreenCenter:
    case poDesktopCenter: break;
    default: return;
  }
  TRect area;
  if (center && center != this && center->FHandle && IsWindowVisible(center->FHandle)) {
    area = center->GetBoundsRect();
  } else if (FPosition == poDesktopCenter) {
    area = Screen->GetDesktopRect();
  } else {
    area = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
  }
  const int x = area.Left + (area.Width() - FWidth) / 2;
  const int y = area.Top + (area.Height() - FHeight) / 2;
  SetBounds(std::max(area.Left, x), std::max(area.Top, y), FWidth, FHeight);
}

// --- closing

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::SetModalResult(TModalResult v) {
  FModalResult = v;
  if (FModal && v != mrNone && FHandle) PostMessageW(FHandle, WM_NULL, 0, 0);
}

void TCustomForm::Close() {
  if (FModal) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->GetMainForm() == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    SetWindowState(wsMinimized);
  } else {
    Release();
  }
}

void TCustomForm::Release() {
  if (FHandle) PostMessageW(FHandle, CM_RELEASE, 0, 0);
}

void TCustomForm::CMRelease(TMessage&) { delete this; }

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) FModalResult = mrNone;
}

TModalResult TCustomForm::ShowModal() {
  if (FVisible || !FEnabled || FModal)
    throw EInvalidOperation(L"Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  SetCaptureControl(nullptr);
  FModal = true;
  HWND previous = GetActiveWindow();
  const TCursor savedCursor = Screen ? Screen->GetCursor() : crDefault;
  if (Screen) Screen->SetCursor(crDefault);
  TModalResult result = mrNone;
  {
    const TOnFailure restored([&] {
      FModal = false;
      if (Screen) Screen->SetCursor(savedCursor);
    });
    HandleNeeded();
    TTaskWindowsDisabler disabler(FHandle);
    const TOnFailure hidden([&] {
      FModal = false;
      Hide();
    });
    Show();
    FModalResult = mrNone;
    for (;;) {
      Application->HandleMessage();
      if (Application->GetTerminated()) {
        FModalResult = mrCancel;
        break;
      }
      if (FModalResult != mrNone) {
        CloseModal();
        if (FModalResult != mrNone) break;
      }
    }
    result = FModalResult;
    Hide();
  }
  FModal = false;
  if (Screen) Screen->SetCursor(savedCursor);
  if (previous && IsWindow(previous)) SetActiveWindow(previous);
  return result;
}

// --- activation and focus

void TCustomForm::SetWindowFocus() {
  HWND target = FHandle;
  if (FActiveControl && FActiveControl->HandleAllocated() && FActiveControl->CanFocus())
    target = FActiveControl->FHandle;
  if (target) ::SetFocus(target);
}

void TCustomForm::SetFocus() {
  if (!FVisible || !FEnabled) throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  HandleNeeded();
  SetWindowFocus();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == FActiveControl) return;
  const bool loading = ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
  if (control && (control == this || GetParentForm(control) != this || (!loading && !control->CanFocus())))
    throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
  FActiveControl = control;
  if (!loading && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  const bool wasActive = FActive;
  SetActiveControl(control);
  if (!wasActive && FHandle && IsWindowVisible(FHandle)) SetWindowFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  if (control != this) FActiveControl = control;
  if (Screen) {
    Screen->FActiveControl = control;
    Screen->FActiveForm = this;
  }
  if (control->ControlState.Contains(csFocusing)) return false;
  control->ControlState << csFocusing;
  struct Unmark {
    TWinControl* c;
    ~Unmark() { c->ControlState >> csFocusing; }
  } unmark{control};
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl == control) return true;
  const HWND focus = control->FHandle;
  // Leave the controls that do not contain the new one, innermost first...
  while (FFocusedControl && !FFocusedControl->ContainsControl(control)) {
    FFocusedControl->Perform(CM_EXIT);
    // An OnExit that moved the focus elsewhere wins.
    if (focus != GetFocus()) return false;
    FFocusedControl = FFocusedControl->GetParent();
  }
  // ...then enter the ones down to it, outermost first.
  while (FFocusedControl && FFocusedControl != control) {
    TWinControl* step = control;
    while (step->GetParent() != FFocusedControl) step = step->GetParent();
    FFocusedControl = step;
    step->Perform(CM_ENTER);
    if (focus != GetFocus()) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(control));
  return true;
}

void TCustomForm::ControlRemoved(TControl* control) {
  auto inside = [control](TWinControl* c) {
    if (!c) return false;
    if (c == control) return true;
    auto* w = dynamic_cast<TWinControl*>(control);
    return w && w->ContainsControl(c);
  };
  if (inside(FActiveControl)) FActiveControl = nullptr;
  if (inside(FFocusedControl)) FFocusedControl = nullptr;
  if (Screen && inside(Screen->FActiveControl)) Screen->FActiveControl = nullptr;
}

// --- messages

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TMessage& m) {
  const bool active = LOWORD(m.WParam) != WA_INACTIVE;
  m.Result = 0;
  if (active == FActive) {
    if (active) SetWindowFocus();
    return;
  }
  FActive = active;
  if (active) {
    if (Screen) Screen->FActiveForm = this;
    if (!FActiveControl) FActiveControl = FindNextControl(nullptr, true, true, false);
    if (!HIWORD(m.WParam)) SetWindowFocus();
    Activate();
  } else {
    Deactivate();
  }
}

void TCustomForm::WMQueryEndSession(TMessage& m) { m.Result = CloseQuery() ? 1 : 0; }

void TCustomForm::WMSize(TMessage& m) {
  if (m.WParam == SIZE_MINIMIZED)
    FWindowState = wsMinimized;
  else if (m.WParam == SIZE_MAXIMIZED)
    FWindowState = wsMaximized;
  else if (m.WParam == SIZE_RESTORED)
    FWindowState = wsNormal;
  TScrollingWinControl::WMSize(m);
}

void TCustomForm::WMSysCommand(TMessage& m) {
  // The main form's minimise box minimises the application (its window has the button).
  if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->GetMainForm() == this) {
    Application->Minimize();
    m.Result = 0;
    return;
  }
  DefWndHandler(m);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& m) {
  DefWndHandler(m);
  auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
  if (!info) return;
  TSizeConstraints* c = GetConstraints();
  if (c->GetMinWidth() > 0) info->ptMinTrackSize.x = c->GetMinWidth();
  if (c->GetMinHeight() > 0) info->ptMinTrackSize.y = c->GetMinHeight();
  if (c->GetMaxWidth() > 0) info->ptMaxTrackSize.x = c->GetMaxWidth();
  if (c->GetMaxHeight() > 0) info->ptMaxTrackSize.y = c->GetMaxHeight();
}

void TCustomForm::WMShowWindow(TMessage& m) { DefWndHandler(m); }

void TCustomForm::WMHelp(TMessage& m) {
  auto* info = reinterpret_cast<HELPINFO*>(m.LParam);
  TControl* control = nullptr;
  if (info && info->iContextType == HELPINFO_WINDOW) {
    TWinControl* win = FindControl(static_cast<HWND>(info->hItemHandle));
    control = win;
    // A windowless control under the mouse asks first.
    if (win) {
      const TPoint p = win->ScreenToClient({info->MousePos.x, info->MousePos.y});
      if (TControl* inner = win->ControlAtPos(p, true)) control = inner;
    }
  }
  if (!control) control = this;
  // The nearest control, from there up to the form, that names a help topic.
  for (TControl* c = control; c; c = c->GetParent()) {
    if (!c->GetHelpKeyword().empty()) {
      if (Application) Application->HelpKeyword(c->GetHelpKeyword());
      m.Result = 1;
      return;
    }
    if (c->GetHelpContext() != 0) {
      if (Application) Application->HelpContext(c->GetHelpContext());
      m.Result = 1;
      return;
    }
  }
  m.Result = 1;
}

void TCustomForm::CMDialogKey(TMessage& m) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (m.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->GetParent()) {
          FActiveControl->GetParent()->SelectNext(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
          m.Result = 1;
        }
        return;
    }
  }
  TScrollingWinControl::CMDialogKey(m);
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TScrollingWinControl::GetChildren(proc, root);
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) proc(Components(i));
}

// --- TCustomFrame

TCustomFrame::TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FColor = clBtnFace;
  FParentColor = true;
  FWidth = 320;
  FHeight = 240;
}

void TCustomFrame::InitializeFrame(bool readResource) {
  if (readResource) ReadComponentRes(FormResourceName(this), this);
}

void TCustomFrame::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TScrollingWinControl::GetChildren(proc, root);
  if (root != this) return;
  for (int i = 0; i < ComponentCount(); ++i)
    if (!Components(i)->HasParent()) proc(Components(i));
}


void TCustomForm::Publish(TPublisher<TCustomForm>& p) {
  p.Message(WM_CLOSE, &TCustomForm::WMClose);
  p.Message(WM_ACTIVATE, &TCustomForm::WMActivate);
  p.Message(WM_QUERYENDSESSION, &TCustomForm::WMQueryEndSession);
  p.Message(WM_SYSCOMMAND, &TCustomForm::WMSysCommand);
  p.Message(WM_GETMINMAXINFO, &TCustomForm::WMGetMinMaxInfo);
  p.Message(WM_SHOWWINDOW, &TCustomForm::WMShowWindow);
  p.Message(WM_HELP, &TCustomForm::WMHelp);
  p.Message(CM_RELEASE, &TCustomForm::CMRelease);
  p.Message(CM_DIALOGKEY, &TCustomForm::CMDialogKey);
  p.Message(CM_SHOWINGCHANGED, &TCustomForm::CMShowingChanged);
  p.Message(CM_VISIBLECHANGED, &TCustomForm::CMVisibleChanged);
  p.Message(WM_PAINT, &TCustomForm::WMPaint);
  p.Message(WM_SIZE, &TCustomForm::WMSize);
  p.Property(L"Caption", &TCustomForm::GetCaption, &TCustomForm::SetCaption);
  p.Property(L"Color", &TCustomForm::GetColor, &TCustomForm::SetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"ParentFont", &TCustomForm::GetParentFont, &TCustomForm::SetParentFont).Default(false);
  p.Property(L"Visible", &TCustomForm::GetVisible, &TCustomForm::SetVisible).Default(false);
  p.Property(L"ClientWidth", &TCustomForm::GetClientWidthProp, &TCustomForm::SetClientWidth).Stored(false);
  p.Property(L"ClientHeight", &TCustomForm::GetClientHeightProp, &TCustomForm::SetClientHeight).Stored(false);
  p.Property(L"BorderStyle", &TCustomForm::GetBorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
  p.Property(L"BorderIcons", &TCustomForm::GetBorderIcons, &TCustomForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  p.Property(L"FormStyle", &TCustomForm::GetFormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
  p.Property(L"Position", &TCustomForm::GetPosition, &TCustomForm::SetPosition).Default(poDesigned);
  p.Property(L"WindowState", &TCustomForm::GetWindowState, &TCustomForm::SetWindowState).Default(wsNormal);
  p.Property(L"AlphaBlend", &TCustomForm::GetAlphaBlend, &TCustomForm::SetAlphaBlend).Default(false);
  p.Property(L"AlphaBlendValue", &TCustomForm::GetAlphaBlendValue, &TCustomForm::SetAlphaBlendValue).Default(255);
  p.Property(L"TransparentColor", &TCustomForm::GetTransparentColor, &TCustomForm::SetTransparentColor)
      .Default(false);
  p.Property(L"TransparentColorValue", &TCustomForm::GetTransparentColorValue,
             &TCustomForm::SetTransparentColorValue)
      .Default(clBlack)
      .Idents(ColorIdents);
  p.Property(L"Scaled", &TCustomForm::GetScaled, &TCustomForm::SetScaled).Default(true);
  p.Property(L"PixelsPerInch", &TCustomForm::GetPixelsPerInch, &TCustomForm::SetPixelsPerInch);
  p.Property(L"KeyPreview", &TCustomForm::KeyPreview).Default(false);
  p.Property(L"ActiveControl", &TCustomForm::GetActiveControl, &TCustomForm::SetActiveControl);
  p.Property(L"OnCreate", &TCustomForm::OnCreate);
  p.Property(L"OnDestroy", &TCustomForm::OnDestroy);
  p.Property(L"OnShow", &TCustomForm::OnShow);
  p.Property(L"OnHide", &TCustomForm::OnHide);
  p.Property(L"OnActivate", &TCustomForm::OnActivate);
  p.Property(L"OnDeactivate", &TCustomForm::OnDeactivate);
  p.Property(L"OnPaint", &TCustomForm::OnPaint);
  p.Property(L"OnClose", &TCustomForm::OnClose);
  p.Property(L"OnCloseQuery", &TCustomForm::OnCloseQuery);
}
