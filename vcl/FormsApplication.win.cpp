// TApplication: the hidden application window, the one message loop that serves
// Run, modal forms and ProcessMessages, exceptions at the callback boundary, and
// the calls into hint timing (HintWindow.Application.win.cpp). TApplicationEvents.
#include "vcl/Forms.h"

#include "vcl/ActnList.h"
#include "vcl/Dialogs.h"
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
  FHintWindow.reset();
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
    case WM_TIMER: return HintTimerMessage(m.WParam);
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
    // Buttons and items show what their actions' OnUpdate says before the user looks.
    if (Screen) {
      for (int i = 0; i < Screen->GetFormCount(); ++i) UpdateFormActions(Screen->GetForms(i));
    }
    if (OnIdle) OnIdle(this, done);
    TThread::CheckSynchronize();
  });
  if (done) WaitMessage();
}

void TApplication::DoMouseIdle() {
  POINT p;
  GetCursorPos(&p);
  GuardCallback([&] { UpdateMouseControl(MouseTargetAt({p.x, p.y})); });
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
  int result = 0;
  RunModalDialog([&](HWND owner) { result = DialogService().MessageBox(owner, text, caption, flags); });
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

// --- TApplicationEvents

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner) {
  if (Application) Application->AddMessageListener(this, &OnMessage);
}

TApplicationEvents::~TApplicationEvents() {
  if (Application) Application->RemoveMessageListener(this);
}

void TApplicationEvents::Publish(TPublisher<TApplicationEvents>& p) { p.Property(L"OnMessage", &TApplicationEvents::OnMessage); }

