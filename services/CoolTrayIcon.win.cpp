#include "services/CoolTrayIcon.h"

#include "services/TrayNotify.h"
#include "vcl/Forms.h"
#include "vcl/Publisher.h"
#include "vcl/ScopeGuards.h"
#include "vcl/WindowHost.h"

#include <map>

// The hidden window every tray icon reports to, and the table from the ids the
// shell knows to the live icons. It exists while at least one icon does.
class TTrayIconHandler {
 public:
  static TTrayIconHandler* Instance;

  TTrayIconHandler() { window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); }); }
  ~TTrayIconHandler() { DeallocateHWnd(window_); }

  UINT Add(TCoolTrayIcon* icon) {
    // Not reused while the handler lives: a late callback never reaches a newer icon.
    const UINT id = nextId_++;
    icons_[id] = icon;
    return id;
  }
  bool Remove(UINT id) {
    icons_.erase(id);
    return icons_.empty();
  }
  HWND Window() const { return window_; }

 private:
  void WndProc(TMessage& m) {
    switch (m.Msg) {
      // The window lives as long as its icons, whatever the session does.
      case WM_DESTROY:
      case WM_CLOSE:
      case WM_QUERYENDSESSION:
      case WM_QUIT:
      case WM_ENDSESSION:
      case WM_NCDESTROY: m.Result = 1; return;
      case TCoolTrayIcon::CallbackMessage: {
        m.Result = 0;
        const auto it = icons_.find(static_cast<UINT>(m.WParam));
        if (it != icons_.end()) it->second->IconMessage(static_cast<UINT>(m.LParam));
        return;
      }
      default: DefaultWindowMessage(window_, m);
    }
  }

  HWND window_ = nullptr;
  UINT nextId_ = 1;
  std::map<UINT, TCoolTrayIcon*> icons_;
};

TTrayIconHandler* TTrayIconHandler::Instance = nullptr;

namespace {
UINT RegisteredTaskbarCreated() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

TShiftState ShiftNow() {
  TShiftState shift;
  if (GetAsyncKeyState(VK_SHIFT) < 0) shift << ssShift;
  if (GetAsyncKeyState(VK_MENU) < 0) shift << ssAlt;
  if (GetAsyncKeyState(VK_CONTROL) < 0) shift << ssCtrl;
  return shift;
}
}  // namespace

UINT TCoolTrayIcon::TaskbarCreatedMessage() { return RegisteredTaskbarCreated(); }

HWND TCoolTrayIcon::HandlerWindow() {
  return TTrayIconHandler::Instance ? TTrayIconHandler::Instance->Window() : nullptr;
}

void TCoolTrayIcon::Publish(TPublisher<TCoolTrayIcon>& p) {
  p.Property(L"DesignPreview", &TCoolTrayIcon::DesignPreview).Default(false);
  p.Property(L"IconList", &TCoolTrayIcon::FIconList, &TCoolTrayIcon::SetIconList);
  p.Property(L"CycleIcons", &TCoolTrayIcon::FCycleIcons, &TCoolTrayIcon::SetCycleIcons).Default(false);
  p.Property(L"CycleInterval", &TCoolTrayIcon::FCycleInterval, &TCoolTrayIcon::SetCycleInterval).Default(0);
  p.Property(L"Enabled", &TCoolTrayIcon::FEnabled, &TCoolTrayIcon::SetEnabled).Default(true);
  p.Property(L"Hint", &TCoolTrayIcon::GetHint, &TCoolTrayIcon::SetHint);
  p.Property(L"ShowHint", &TCoolTrayIcon::FShowHint, &TCoolTrayIcon::SetShowHint).Default(true);
  p.Property(L"Icon", &TCoolTrayIcon::GetIcon, &TCoolTrayIcon::SetIcon);
  p.Property(L"IconVisible", &TCoolTrayIcon::FIconVisible, &TCoolTrayIcon::SetIconVisible).Default(false);
  p.Property(L"IconIndex", &TCoolTrayIcon::FIconIndex, &TCoolTrayIcon::SetIconIndex).Default(0);
  p.Property(L"PopupMenu", &TCoolTrayIcon::FPopupMenu, &TCoolTrayIcon::SetPopupMenu);
  p.Property(L"LeftPopup", &TCoolTrayIcon::FLeftPopup, &TCoolTrayIcon::SetLeftPopup).Default(false);
  p.Property(L"WantEnterExitEvents", &TCoolTrayIcon::FWantEnterExitEvents, &TCoolTrayIcon::SetWantEnterExitEvents)
      .Default(false);
  p.Property(L"MinimizeToTray", &TCoolTrayIcon::FMinimizeToTray, &TCoolTrayIcon::SetMinimizeToTray).Default(false);
  p.Property(L"OnClick", &TCoolTrayIcon::OnClick);
  p.Property(L"OnDblClick", &TCoolTrayIcon::OnDblClick);
  p.Property(L"OnMouseDown", &TCoolTrayIcon::OnMouseDown);
  p.Property(L"OnMouseUp", &TCoolTrayIcon::OnMouseUp);
  p.Property(L"OnMouseMove", &TCoolTrayIcon::OnMouseMove);
  p.Property(L"OnMouseEnter", &TCoolTrayIcon::OnMouseEnter);
  p.Property(L"OnMouseExit", &TCoolTrayIcon::OnMouseExit);
  p.Property(L"OnCycle", &TCoolTrayIcon::OnCycle);
  p.Property(L"OnBalloonHintShow", &TCoolTrayIcon::OnBalloonHintShow);
  p.Property(L"OnBalloonHintHide", &TCoolTrayIcon::OnBalloonHintHide);
  p.Property(L"OnBalloonHintTimeout", &TCoolTrayIcon::OnBalloonHintTimeout);
  p.Property(L"OnBalloonHintClick", &TCoolTrayIcon::OnBalloonHintClick);
  p.Property(L"OnMinimizeToTray", &TCoolTrayIcon::OnMinimizeToTray);
  p.Property(L"OnStartup", &TCoolTrayIcon::OnStartup);
}

TCoolTrayIcon::TCoolTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  if (!TTrayIconHandler::Instance) TTrayIconHandler::Instance = new TTrayIconHandler();
  FId = TTrayIconHandler::Instance->Add(this);
  FIcon = std::make_unique<TIcon>();
  FIcon->OnChange = TNotifyEvent(this, &TCoolTrayIcon::IconChanged);
  FCycleTimer = std::make_unique<TSimpleTimer>(1000, TNotifyEvent(this, &TCoolTrayIcon::CycleTimerTick));
  FClickTimer = std::make_unique<TSimpleTimer>(1000, TNotifyEvent(this, &TCoolTrayIcon::ClickTimerTick));
  FExitTimer = std::make_unique<TSimpleTimer>(20, TNotifyEvent(this, &TCoolTrayIcon::ExitTimerTick));
  if (Application) {
    Application->HookMainWindow(TWindowHook(this, &TCoolTrayIcon::ApplicationHook));
    FHookedApplication = true;
  }
  if (TWinControl* owner = OwnerControl()) {
    FHookedOwner = owner;
    auto previous = owner->WindowProc;
    owner->WindowProc = [this, previous](TMessage& m) {
      if (!OwnerWindowHook(m)) previous(m);
    };
    FOwnerPreviousProc = std::move(previous);
  }
}

TCoolTrayIcon::~TCoolTrayIcon() {
  if (FIconVisible) HideIcon();
  FCycleTimer.reset();
  FClickTimer.reset();
  FExitTimer.reset();
  FIcon.reset();
  if (FHookedApplication && Application) Application->UnhookMainWindow(TWindowHook(this, &TCoolTrayIcon::ApplicationHook));
  // An owner that is going frees us last, when its window and its message road
  // are already gone: there is nothing of it left to give back.
  if (FHookedOwner && !FHookedOwner->ComponentState().Contains(csDestroying))
    FHookedOwner->WindowProc = FOwnerPreviousProc;
  if (TTrayIconHandler* handler = TTrayIconHandler::Instance; handler && handler->Remove(FId)) {
    TTrayIconHandler::Instance = nullptr;
    delete handler;
  }
}

TWinControl* TCoolTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(GetOwner()); }

void TCoolTrayIcon::Loaded() {
  TComponent::Loaded();
  if (OwnerControl()) {
    bool show = true;
    // The start event may make the icon visible: it is added once, below.
    FStarting = true;
    const TOnExit started([this] { FStarting = false; });
    if (OnStartup) OnStartup(this, show);
    if (!show) {
      if (Application) Application->ShowMainForm = false;
      HideMainForm();
    }
  }
  ModifyIcon();
  if (FIconVisible)
    ShowIcon();
  else
    HideIcon();
  SetCycleIcons(FCycleIcons);
  SetWantEnterExitEvents(FWantEnterExitEvents);
}

void TCoolTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIconList) {
    FIconList = nullptr;
    FIconIndex = 0;
  }
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

// --- the shell

bool TCoolTrayIcon::Notify(DWORD Message) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = HandlerWindow();
  data.uID = FId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = CallbackMessage;
  data.hIcon = FIcon ? FIcon->GetHandle() : nullptr;
  if (!FHint.empty() && FShowHint) {
    const std::size_t length = std::min(FHint.size(), MaxTip);
    std::copy_n(FHint.begin(), length, data.szTip);
  }
  return TrayNotifier().Notify(Message, data);
}

bool TCoolTrayIcon::ShowIcon() {
  FIconVisible = true;
  if (ComponentState().Contains(csLoading) || FStarting) return false;
  return Notify(NIM_ADD);
}

bool TCoolTrayIcon::HideIcon() {
  FIconVisible = false;
  if (ComponentState().Contains(csLoading) || FStarting) return false;
  return Notify(NIM_DELETE);
}

bool TCoolTrayIcon::ModifyIcon() {
  if (ComponentState().Contains(csLoading)) return false;
  return Notify(NIM_MODIFY);
}

// --- properties

void TCoolTrayIcon::IconChanged(TObject*) { ModifyIcon(); }

void TCoolTrayIcon::SetIcon(TIcon* Value) {
  const TNotifyEvent changed = FIcon->OnChange;
  FIcon->OnChange = nullptr;
  if (Value)
    FIcon->Assign(Value);
  else
    FIcon->SetHandle(nullptr);
  FIcon->OnChange = changed;
  ModifyIcon();
}

void TCoolTrayIcon::SetIconVisible(bool Value) {
  if (Value)
    ShowIcon();
  else
    HideIcon();
}

void TCoolTrayIcon::SetIconIndex(int Value) {
  if (FIconList && !ComponentState().Contains(csLoading)) {
    const int count = FIconList->GetCount();
    FIconIndex = Value >= count ? count - 1 : Value;
    if (FIconIndex >= 0) {
      const TNotifyEvent changed = FIcon->OnChange;
      FIcon->OnChange = nullptr;
      FIconList->GetIcon(FIconIndex, FIcon.get());
      FIcon->OnChange = changed;
    }
  } else {
    // While the form is read the list may not be there yet: the index waits for it.
    FIconIndex = FIconList || ComponentState().Contains(csLoading) ? Value : 0;
  }
  ModifyIcon();
}

void TCoolTrayIcon::SetIconList(TCustomImageList* Value) {
  if (FIconList == Value) return;
  if (FIconList) FIconList->RemoveFreeNotification(this);
  FIconList = Value;
  if (FIconList) FIconList->FreeNotification(this);
  SetIconIndex(ComponentState().Contains(csLoading) ? FIconIndex : 0);
}

void TCoolTrayIcon::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TCoolTrayIcon::SetHint(const std::wstring& Value) {
  FHint = Value;
  ModifyIcon();
}

void TCoolTrayIcon::SetShowHint(bool Value) {
  FShowHint = Value;
  ModifyIcon();
}

void TCoolTrayIcon::SetWantEnterExitEvents(bool Value) {
  FWantEnterExitEvents = Value;
  if (ComponentState().Contains(csLoading)) return;
  FExitTimer->SetEnabled(Value);
}

void TCoolTrayIcon::SetCycleIcons(bool Value) {
  FCycleIcons = Value;
  if (ComponentState().Contains(csLoading)) return;
  if (Value) {
    SetIconIndex(0);
    FCycleTimer->SetInterval(FCycleInterval);
    FCycleTimer->SetEnabled(true);
  } else {
    FCycleTimer->SetEnabled(false);
  }
}

void TCoolTrayIcon::SetCycleInterval(std::uint32_t Value) {
  if (Value == FCycleInterval) return;
  FCycleInterval = Value;
  SetCycleIcons(FCycleIcons);
}

// --- timers

void TCoolTrayIcon::CycleTimerTick(TObject*) {
  if (!FIconList || FIconList->GetCount() == 0) return;
  const int last = FIconList->GetCount() - 1;
  const int next = FIconIndex >= last ? 0 : FIconIndex + 1;
  SetIconIndex(FIconIndex);
  DoCycle(next);
  SetIconIndex(next);
}

void TCoolTrayIcon::ClickTimerTick(TObject*) {
  FClickTimer->SetEnabled(false);
  if (!FDoubleClicked && FClickReady) {
    FClickReady = false;
    Click();
  }
  FDoubleClicked = false;
}

void TCoolTrayIcon::ExitTimerTick(TObject*) {
  if (FDidExit) return;
  POINT p{};
  GetCursorPos(&p);
  if (p.x == FLastMove.x && p.y == FLastMove.y) return;
  FDidExit = true;
  MouseExit();
}

// --- the icon's messages

void TCoolTrayIcon::IconMessage(UINT Message) {
  switch (Message) {
    case NIN_BALLOONSHOW:
      if (OnBalloonHintShow) OnBalloonHintShow(this);
      return;
    case NIN_BALLOONHIDE:
      if (OnBalloonHintHide) OnBalloonHintHide(this);
      return;
    case NIN_BALLOONTIMEOUT:
      if (OnBalloonHintTimeout) OnBalloonHintTimeout(this);
      return;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      return;
    default: break;
  }
  if (!FEnabled) return;
  POINT p{};
  GetCursorPos(&p);
  TShiftState shift = ShiftNow();
  switch (Message) {
    case WM_MOUSEMOVE:
      if (FWantEnterExitEvents && FDidExit) {
        MouseEnter();
        FDidExit = false;
      }
      MouseMove(shift, p.x, p.y);
      FLastMove = p;
      break;
    case WM_LBUTTONDOWN:
      if (OnDblClick) {
        FClickTimer->SetInterval(GetDoubleClickTime());
        FClickTimer->SetEnabled(true);
      }
      MouseDown(mbLeft, shift << ssLeft, p.x, p.y);
      FClickStart = true;
      if (FLeftPopup && MenuPopsUpByItself()) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (FClickStart) FClickReady = true;
      if (FClickStart && !FClickTimer->GetEnabled()) {
        FClickStart = false;
        FClickReady = false;
        Click();
      }
      FClickStart = false;
      MouseUp(mbLeft, shift << ssLeft, p.x, p.y);
      break;
    case WM_LBUTTONDBLCLK:
      FClickReady = false;
      FDoubleClicked = true;
      DblClick();
      if (MenuPopsUpByItself() && !FLeftPopup) {
        TMenuItem* items = FPopupMenu->GetItems();
        for (int i = 0; i < items->Count(); ++i) {
          TMenuItem* item = items->Items(i);
          if (!item->GetDefault()) continue;
          item->Click();
          break;
        }
      }
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, shift << ssRight, p.x, p.y);
      if (MenuPopsUpByItself()) PopupAtCursor();
      break;
    case WM_RBUTTONUP: MouseUp(mbRight, shift << ssRight, p.x, p.y); break;
    case WM_MBUTTONDOWN: MouseDown(mbMiddle, shift << ssMiddle, p.x, p.y); break;
    case WM_MBUTTONUP: MouseUp(mbMiddle, shift << ssMiddle, p.x, p.y); break;
    default: break;
  }
}

void TCoolTrayIcon::Click() {
  if (OnClick) OnClick(this);
}
void TCoolTrayIcon::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TCoolTrayIcon::DoCycle(int NextIndex) {
  if (OnCycle) OnCycle(this, NextIndex);
}
void TCoolTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}
void TCoolTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}
void TCoolTrayIcon::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}
void TCoolTrayIcon::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TCoolTrayIcon::MouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}

void TCoolTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  ShowIcon();
}

// --- the main window

void TCoolTrayIcon::ShowApplicationButton() {
  if (!Application) return;
  const HWND app = Application->GetHandle();
  if (!IsWindowVisible(app)) ShowWindow(app, SW_SHOW);
}

void TCoolTrayIcon::HideApplicationButton() {
  if (!Application) return;
  const HWND app = Application->GetHandle();
  if (IsWindowVisible(app)) ShowWindow(app, SW_HIDE);
}

void TCoolTrayIcon::RestoreMainForm() {
  if (!OwnerControl() || !Application || !Application->GetMainForm()) return;
  TCustomForm* main = Application->GetMainForm();
  Application->Restore();
  if (main->GetWindowState() == wsMinimized) main->SetWindowState(wsNormal);
  main->SetVisible(true);
  SetForegroundWindow(Application->GetHandle());
}

void TCoolTrayIcon::HideMainForm() {
  if (!OwnerControl() || !Application || !Application->GetMainForm()) return;
  Application->GetMainForm()->SetVisible(false);
  HideApplicationButton();
}

void TCoolTrayIcon::PopupAtCursor() {
  if (!FPopupMenu) return;
  // The shell's rule for tray menus: our window in front, or the menu never closes.
  SetForegroundWindow(HandlerWindow());
  if (Application) Application->ProcessMessages();
  POINT p{};
  GetCursorPos(&p);
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(p.x, p.y);
  if (TWinControl* owner = OwnerControl(); owner && owner->WindowHandle())
    PostMessageW(owner->WindowHandle(), WM_NULL, 0, 0);
}

bool TCoolTrayIcon::ApplicationHook(TMessage& m) {
  if (m.Msg == WM_SIZE && m.WParam == SIZE_MINIMIZED && FMinimizeToTray) {
    DoMinimizeToTray();
  } else if (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_RESTORE) {
    if (TCustomForm* main = Application ? Application->GetMainForm() : nullptr) {
      if (main->GetWindowState() == wsMinimized) main->SetWindowState(wsNormal);
      main->SetVisible(true);
    }
  } else if (m.Msg == TaskbarCreatedMessage() && m.Msg != 0 && FIconVisible) {
    ShowIcon();
  }
  return false;
}

bool TCoolTrayIcon::OwnerWindowHook(TMessage& m) {
  const bool shown = m.Msg == WM_SHOWWINDOW && m.WParam == 1 && m.LParam == 0;
  if (shown) {
    if (Application) SetForegroundWindow(Application->GetHandle());
    SetForegroundWindow(FHookedOwner->WindowHandle());
    return false;
  }
  const bool parentClosing = m.Msg == WM_SHOWWINDOW && m.WParam == 0 && m.LParam == SW_PARENTCLOSING &&
                             !(Application && Application->GetTerminated());
  const bool minimizing = m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_MINIMIZE;
  if ((parentClosing || minimizing) && FMinimizeToTray && OnMinimizeToTray) {
    OnMinimizeToTray(this);
    DoMinimizeToTray();
    m.Result = 1;
    return true;
  }
  return false;
}
