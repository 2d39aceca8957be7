#include "services/WindowToTray.h"

#include "services/TrayNotify.h"
#include "vcl/WindowHost.h"

#include <algorithm>

namespace {
constexpr UINT_PTR DeadWindowTimer = 1;

std::wstring WindowText(HWND w) {
  // The caption as the system keeps it: no WM_GETTEXT, so a hung or busy program neither
  // holds us up nor leaves the tip empty because it answered late.
  wchar_t text[256] = {};
  const int length = InternalGetWindowText(w, text, 256);
  return std::wstring(text, static_cast<size_t>(std::clamp(length, 0, 255)));
}

HICON IconOf(HWND w) {
  DWORD_PTR icon = 0;
  for (WPARAM kind : {WPARAM(ICON_SMALL), WPARAM(ICON_BIG)}) {
    if (SendMessageTimeoutW(w, WM_GETICON, kind, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 100, &icon) && icon)
      return reinterpret_cast<HICON>(icon);
  }
  if (auto small = GetClassLongPtrW(w, GCLP_HICONSM)) return reinterpret_cast<HICON>(small);
  if (auto big = GetClassLongPtrW(w, GCLP_HICON)) return reinterpret_cast<HICON>(big);
  return LoadIconW(nullptr, IDI_APPLICATION);
}
}  // namespace

std::wstring TrayTipOf(const std::wstring& WindowText) { return WindowText.substr(0, 63); }

// One hidden window: its icon, and the windows of its thread hidden with it.
class TTrayedApp {
 public:
  TTrayedApp(HWND window, HWND callback) : window_(window) {
    thread_ = GetWindowThreadProcessId(window, nullptr);
    data_.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data_.hWnd = callback;
    // The id is the window handle; handles are 32-bit values, sign-extended back.
    data_.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(window));
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = TWindowTrayer::CallbackMessage;
    data_.hIcon = IconOf(window);
    const std::wstring tip = TrayTipOf(WindowText(window));
    std::copy(tip.begin(), tip.end(), data_.szTip);
    TrayNotifier().Notify(NIM_ADD, data_);

    EnumThreadWindows(thread_, &CollectWindow, reinterpret_cast<LPARAM>(this));
    ShowWindowAsync(window_, SW_HIDE);
    for (const auto& o : others_) ShowWindowAsync(o.window, SW_HIDE);
  }
  ~TTrayedApp() {
    TrayNotifier().Notify(NIM_DELETE, data_);
    for (const auto& o : others_)
      if (IsWindow(o.window)) ShowWindowAsync(o.window, o.showCommand);
    if (!IsWindow(window_)) return;
    ShowWindowAsync(window_, SW_SHOW);
    const UINT flags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS;
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetForegroundWindow(window_);
  }
  HWND Window() const { return window_; }
  bool Alive() const { return IsWindow(window_) != FALSE; }

 private:
  static BOOL CALLBACK CollectWindow(HWND w, LPARAM self) {
    auto* app = reinterpret_cast<TTrayedApp*>(self);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (w != app->window_ && IsWindow(w) && IsWindowVisible(w) && GetWindowPlacement(w, &placement))
      app->others_.push_back({w, static_cast<int>(placement.showCmd)});
    return TRUE;
  }
  struct TOther {
    HWND window;
    int showCommand;
  };
  HWND window_;
  DWORD thread_ = 0;
  NOTIFYICONDATAW data_{};
  std::vector<TOther> others_;
};

TWindowTrayer::TWindowTrayer() = default;

TWindowTrayer::~TWindowTrayer() {
  FApps.clear();
  DeallocateHWnd(FWindow);
}

void TWindowTrayer::Add(HWND Window) {
  if (!FWindow) {
    FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
    SetTimer(FWindow, DeadWindowTimer, 1000, nullptr);
  }
  FApps.push_back(std::make_unique<TTrayedApp>(Window, FWindow));
}

void TWindowTrayer::Remove(HWND Window) {
  auto it = std::find_if(FApps.begin(), FApps.end(), [&](const auto& a) { return a->Window() == Window; });
  if (it == FApps.end()) return;
  std::unique_ptr<TTrayedApp> app = std::move(*it);
  FApps.erase(it);
}

bool TWindowTrayer::IsTrayed(HWND Window) const {
  return std::any_of(FApps.begin(), FApps.end(), [&](const auto& a) { return a->Window() == Window; });
}

void TWindowTrayer::DropDeadWindows() {
  std::erase_if(FApps, [](const auto& a) { return !a->Alive(); });
}

void TWindowTrayer::WndProc(TMessage& Message) {
  if (Message.Msg == WM_TIMER && Message.WParam == DeadWindowTimer) {
    DropDeadWindows();
    return;
  }
  if (Message.Msg > WM_USER) {
    switch (static_cast<UINT>(Message.LParam)) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        Remove(reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<std::int32_t>(Message.WParam))));
        break;
    }
  }
  DefaultWindowMessage(FWindow, Message);
}

TWindowTrayer& WindowTrayer() {
  static TWindowTrayer trayer;
  return trayer;
}
