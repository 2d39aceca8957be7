// TApplication: the hidden application window, the one message loop that serves
// Run, modal forms and ProcessMessages, exceptions at the callback boundary, and
// hint timing. TApplicationEvents and THintWindow.
#include "vcl/Forms.h"

#include "vcl/Thread.h"
#include "vcl/WindowHost.h"

#include <algorithm>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The application and the screen exist from start-up to the end of the program,
// as the forms expect (forms are made before any of the program's code runs).
void ApplicationExceptionHandler();

struct GlobalObjects {
  GlobalObjects() {
    Screen = new TScreen(nullptr);
    Application = new TApplication(nullptr);
    SetCallbackExceptionHandler(&ApplicationExceptionHandler);
  }
  ~GlobalObjects() {
    SetCallbackExceptionHandler(nullptr);
    delete Application;
    Application = nullptr;
    delete Screen;
    Screen = nullptr;
  }
} gGlobalObjects;

constexpr wchar_t kAppClass[] = L"TApplication";
constexpr UINT_PTR kHintTimerId = 1;
enum HintTimerKind { kHintNone, kHintShow, kHintHide };

LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!app) return DefWindowProcW(wnd, msg, wp, lp);
  TMessage m{msg, wp, lp, 0};
  bool handled = false;
  GuardCallback([&] { handled = app->AppWindowMessage(m); });
  if (!handled) return DefWindowProcW(wnd, msg, wp, lp);
  return m.Result;
}

}  // namespace

namespace {

void ApplicationExceptionHandler() {
  if (Application) Application->HandleException(nullptr);
}

}  // namespace

void HintMouseMessage(TControl* control, TMessage& m) {
  if (Application) Application->HintMouseMessage(control, m);
}

// --- TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  std::wstring exe = GetExeName();
  const auto slash = exe.find_last_of(L"\\/");
  if (slash != std::wstring::npos) exe.erase(0, slash + 1);
  const auto dot = exe.find_last_of(L'.');
  if (dot != std::wstring::npos) exe.erase(dot);
  FTitle = exe;
}

TApplication::~TApplication() {
  CancelHint();
  // Forms go first, while the application window still owns them.
  DestroyComponents();
  delete FHintWindow;
  FHintWindow = nullptr;
  if (FHandle) {
    SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    DestroyWindow(FHandle);
    FHandle = nullptr;
  }
}

void TApplication::Initialize() { GetHandle(); }

std::wstring TApplication::GetExeName() const {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

HWND TApplication::GetHandle() {
  if (FHandle) return FHandle;
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = AppWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kAppClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
  // A real top-level window of no size: it carries the taskbar button and owns the forms.
  FHandle = CreateWindowExW(0, kAppClass, FTitle.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
  return FHandle;
}

void TApplication::SetTitle(const std::wstring& v) {
  FTitle = v;
  if (FHandle) SetWindowTextW(FHandle, v.c_str());
}

bool TApplication::AppWindowMessage(TMessage& m) {
  // Hooks see each message first; one that handles it ends it.
  const auto hooks = FHooks;
  for (const auto& hook : hooks)
    if (hook && hook(m)) return true;
  switch (m.Msg) {
    case WM_SYSCOMMAND:
      switch (m.WParam & 0xFFF0) {
        case SC_MINIMIZE: Minimize(); return true;
        case SC_RESTORE: Restore(); return true;
        default: return false;
      }
    case WM_CLOSE:
      if (FMainForm) FMainForm->Close();
      return true;
    case WM_ACTIVATEAPP:
      FActive = m.WParam != 0;
      // Posted, so loops that peek for it (popups) see the change.
      PostMessageW(FHandle, FActive ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
      return false;
    case CM_ACTIVATE:
      if (OnActivate) OnActivate(this);
      return true;
    case CM_DEACTIVATE:
      CancelHint();
      if (OnDeactivate) OnDeactivate(this);
      return true;
    case WM_SETFOCUS:
      if (FMainForm && FMainForm->WindowHandle() && IsWindowVisible(FMainForm->WindowHandle()) &&
          IsWindowEnabled(FMainForm->WindowHandle())) {
        SetFocus(FMainForm->WindowHandle());
        return true;
      }
      return false;
    case WM_TIMER:
      if (m.WParam == kHintTimerId) {
        HintTimerExpired();
        return true;
      }
      return false;
    default: return false;
  }
}

void TApplication::Run() {
  FRunning = true;
  if (FMainForm && ShowMainForm) {
    if (FMainForm->GetWindowState() == wsMinimized)
      Minimize();
    else
      FMainForm->SetVisible(true);
  }
  while (!FTerminated) HandleMessage();
  FRunning = false;
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  GuardCallback([&] {
    if (OnMessage) OnMessage(msg, handled);
    const auto listeners = FListeners;
    for (const auto& [owner, event] : listeners)
      if (!handled && *event) (*event)(msg, handled);
  });
  if (handled) return true;
  IsHintMsg(msg);
  bool consumed = false;
  GuardCallback([&] { consumed = IsKeyMsg(msg); });
  if (consumed) return true;
  SetKeyPreprocessed(FKeyPreprocessed);
  FKeyPreprocessed = false;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  SetKeyPreprocessed(false);
  return true;
}

bool TApplication::IsKeyMsg(MSG& msg) {
  FKeyPreprocessed = false;
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  // The focused window, or for an inner window of a control (a combo box's edit)
  // the control it belongs to.
  TWinControl* control = FindControl(msg.hwnd);
  // Only up through child windows: a foreign dialog owned by a form keeps its keys.
  for (HWND w = msg.hwnd; !control && w && (GetWindowLongPtrW(w, GWL_STYLE) & WS_CHILD);) {
    w = GetParent(w);
    control = FindControl(w);
  }
  if (!control) return false;
  if (control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0) return true;
  FKeyPreprocessed = control->WindowHandle() == msg.hwnd;
  return false;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Idle(const MSG&) {
  DoMouseIdle();
  bool done = true;
  GuardCallback([&] {
    if (OnIdle) OnIdle(this, done);
    TThread::CheckSynchronize();
  });
  if (done) WaitMessage();
}

void TApplication::DoMouseIdle() {
  POINT p;
  GetCursorPos(&p);
  GuardCallback([&] { UpdateMouseControl(FindDragTarget({p.x, p.y}, true)); });
}

void TApplication::Minimize() {
  HWND wnd = GetHandle();
  if (IsIconic(wnd)) return;
  NormalizeTopMosts();
  ShowWindow(wnd, SW_MINIMIZE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  HWND wnd = GetHandle();
  if (!IsIconic(wnd)) return;
  ShowWindow(wnd, SW_RESTORE);
  RestoreTopMosts();
  if (FMainForm && FMainForm->WindowHandle() && IsWindowVisible(FMainForm->WindowHandle()))
    SetActiveWindow(FMainForm->WindowHandle());
  if (OnRestore) OnRestore(this);
}

void TApplication::NormalizeTopMosts() {
  if (FTopMostLevel++ > 0) return;
  FTopMostList.clear();
  struct Ctx {
    TApplication* app;
  } ctx{this};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM param) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(param);
        if (wnd != c->app->FHandle && IsWindowVisible(wnd) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST))
          c->app->FTopMostList.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  for (HWND w : FTopMostList) SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TApplication::RestoreTopMosts() {
  if (FTopMostLevel == 0 || --FTopMostLevel > 0) return;
  for (auto it = FTopMostList.rbegin(); it != FTopMostList.rend(); ++it)
    if (IsWindow(*it)) SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FTopMostList.clear();
}

int TApplication::MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags) {
  if (MessageBoxHandler) return MessageBoxHandler(text, caption, flags);
  HWND active = GetActiveWindow();
  NormalizeTopMosts();
  int result;
  {
    TTaskWindowsDisabler disabled(nullptr);
    result = MessageBoxW(active ? active : GetHandle(), text.c_str(), caption.c_str(), flags);
  }
  RestoreTopMosts();
  if (active && IsWindow(active)) SetActiveWindow(active);
  return result;
}

void TApplication::HandleException(TObject* sender) {
  std::wstring message;
  try {
    throw;
  } catch (const EAbort&) {
    return;
  } catch (const Exception& e) {
    message = e.Message();
  } catch (const std::exception& e) {
    message = Utf8ToString(e.what());
  } catch (...) {
    message = L"Unknown exception";
  }
  if (OnException)
    OnException(sender, message);
  else
    ShowException(message);
}

void TApplication::ShowException(const std::wstring& message) {
  std::wstring text = message;
  if (!text.empty() && text.back() != L'.') text += L'.';
  MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::HookMainWindow(const TWindowHook& hook) { FHooks.push_back(hook); }

void TApplication::UnhookMainWindow(const TWindowHook& hook) {
  auto it = std::find(FHooks.begin(), FHooks.end(), hook);
  if (it != FHooks.end()) FHooks.erase(it);
}

bool TApplication::HelpKeyword(const std::wstring& keyword) {
  return HelpKeywordHandler ? HelpKeywordHandler(keyword) : false;
}

bool TApplication::HelpContext(int context) { return HelpContextHandler ? HelpContextHandler(context) : false; }

void TApplication::AddMessageListener(TComponent* owner, const TMessageEvent* event) {
  FListeners.emplace_back(owner, event);
}

void TApplication::RemoveMessageListener(TComponent* owner) {
  FListeners.erase(std::remove_if(FListeners.begin(), FListeners.end(),
                                  [owner](const auto& l) { return l.first == owner; }),
                   FListeners.end());
}

void TApplication::ControlDestroying(TControl* control) {
  if (FHintControl == control) CancelHint();
}

// --- hints

void TApplication::SetShowHint(bool v) {
  if (v == FShowHint) return;
  FShowHint = v;
  // A new hint window for the next hint (its class may have changed meanwhile).
  CancelHint();
  delete FHintWindow;
  FHintWindow = nullptr;
}

void TApplication::StartHintTimer(int ms, int kind) {
  StopHintTimer();
  FHintTimerKind = kind;
  FHintTimer = SetTimer(GetHandle(), kHintTimerId, static_cast<UINT>(std::max(1, ms)), nullptr);
}

void TApplication::StopHintTimer() {
  if (FHintTimer) KillTimer(FHandle, kHintTimerId);
  FHintTimer = 0;
  FHintTimerKind = kHintNone;
}

void TApplication::HintMouseMessage(TControl* control, TMessage& m) {
  if (!FShowHint || !control) return;
  POINT screen{m.XPos(), m.YPos()};
  const TPoint origin = control->GetClientOrigin();
  screen.x += origin.X;
  screen.y += origin.Y;
  if (control == FHintControl) {
    // The same control: a shown hint stays until the cursor leaves its rectangle.
    if (FHintActive && !FHintCursorRect.Contains({screen.x, screen.y})) ActivateHint({screen.x, screen.y});
    return;
  }
  const bool wasActive = FHintActive;
  if (wasActive && FHintWindow) ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
  FHintActive = false;
  FHintControl = control;
  if (control->WantsHint() && !control->GetShortHint().empty()) {
    // Another control right after a hint shows its own almost at once.
    StartHintTimer(wasActive ? HintShortPause : HintPause, kHintShow);
  } else {
    StopHintTimer();
  }
}

void TApplication::HintTimerExpired() {
  const int kind = FHintTimerKind;
  StopHintTimer();
  if (kind == kHintShow) {
    POINT p;
    GetCursorPos(&p);
    ActivateHint({p.x, p.y});
  } else if (kind == kHintHide) {
    if (FHintWindow && FHintWindow->WindowHandle()) ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
    FHintActive = false;
  }
}

void TApplication::ActivateHint(TPoint cursorPos) {
  TControl* control = FHintControl;
  if (!control || FindDragTarget(cursorPos, true) != control) {
    CancelHint();
    return;
  }
  THintInfo info;
  info.HintControl = control;
  info.HintPos = {cursorPos.X, cursorPos.Y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4};
  info.HintMaxWidth = Screen ? Screen->GetWidth() : 640;
  info.HintColor = HintColor;
  info.CursorRect = control->GetClientRect();
  info.CursorPos = control->ScreenToClient(cursorPos);
  info.HintStr = control->GetShortHint();
  info.HideTimeout = HintHidePause;
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<intptr_t>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!canShow || info.HintStr.empty()) {
    if (FHintWindow && FHintWindow->WindowHandle()) ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
    FHintActive = false;
    return;
  }
  if (!FHintWindow) FHintWindow = HintWindowClass ? HintWindowClass(nullptr) : new THintWindow(nullptr);
  FHintWindow->SetColor(info.HintColor);
  TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
  FHintActive = true;
  const TPoint o = control->GetClientOrigin();
  FHintCursorRect = info.CursorRect;
  OffsetRect(FHintCursorRect, o.X, o.Y);
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, kHintHide);
}

void TApplication::CancelHint() {
  StopHintTimer();
  if (FHintWindow && FHintWindow->WindowHandle()) ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
  FHintActive = false;
  FHintControl = nullptr;
}

bool TApplication::IsHintMsg(const MSG& msg) {
  if (!FHintActive) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_ACTIVATE:
    case WM_MOUSEWHEEL:
      // A click or a key ends the hint; the message goes on as usual.
      if (FHintWindow && FHintWindow->WindowHandle()) ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
      FHintActive = false;
      StopHintTimer();
      return false;
    default: return false;
  }
}

// --- TApplicationEvents

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  if (Application) Application->AddMessageListener(this, &OnMessage);
}

TApplicationEvents::~TApplicationEvents() {
  if (Application) Application->RemoveMessageListener(this);
}

void TApplicationEvents::Publish(TPublisher<TApplicationEvents>& p) { p.Property(L"OnMessage", &TApplicationEvents::OnMessage); }

QORN_REGISTER_CLASS(TApplicationEvents);

// --- THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  if (Screen) GetFont()->Assign(Screen->GetHintFont());
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.WndParent = Application ? Application->GetHandle() : nullptr;
  p.WindowClass.style = CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::wstring& hint, void*) {
  RECT r{0, 0, maxWidth, 0};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetFont()->GetHandle());
  DrawTextW(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  r.right += 6;
  r.bottom += 2;
  return AsTRect(r);
}

void THintWindow::ActivateHint(TRect rect, const std::wstring& hint) {
  SetCaption(hint);
  // The frame takes a pixel on each side.
  rect.Right += 2;
  rect.Bottom += 2;
  HWND wnd = GetHandle();
  SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  SetWindowPos(wnd, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::Paint() {
  TRect r = GetClientRect();
  r.Left += 2;
  r.Top += 2;
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(GetFont());
  RECT rr = AsRECT(r);
  HDC dc = canvas->GetHandle();
  SetBkMode(dc, TRANSPARENT);
  SelectObject(dc, GetFont()->GetHandle());
  SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
  const std::wstring text = GetText();
  DrawTextW(dc, text.c_str(), -1, &rr, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

void THintWindow::WMNCHitTest(TMessage& m) { m.Result = HTTRANSPARENT; }

void THintWindow::DispatchHandlers(TMessage& m) {
  if (m.Msg == WM_NCHITTEST) {
    WMNCHitTest(m);
    return;
  }
  TCustomControl::DispatchHandlers(m);
}
