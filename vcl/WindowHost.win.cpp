#include "vcl/WindowHost.h"

#include "vcl/Exceptions.h"

#include <memory>


namespace {

constexpr wchar_t kHostClass[] = L"TPUtilWindow";
TCallbackExceptionHandler gExceptionHandler = nullptr;

LRESULT CALLBACK HostWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* method = reinterpret_cast<TWndMethod*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!method || !*method) return DefWindowProcW(wnd, msg, wp, lp);
  TMessage m{msg, wp, lp, 0};
  // The method may deallocate its own window; keep the callable alive for the call.
  TWndMethod keep = *method;
  if (!GuardCallback([&] { keep(m); })) return DefWindowProcW(wnd, msg, wp, lp);
  return m.Result;
}

void RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
  RegisterHostClass();
  HWND wnd = CreateWindowExW(WS_EX_TOOLWINDOW, kHostClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!wnd) return nullptr;
  SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new TWndMethod(std::move(method))));
  return wnd;
}

void DeallocateHWnd(HWND wnd) {
  if (!wnd || !IsWindow(wnd)) return;
  std::unique_ptr<TWndMethod> method(
      reinterpret_cast<TWndMethod*>(SetWindowLongPtrW(wnd, GWLP_USERDATA, 0)));
  DestroyWindow(wnd);
}

void SetCallbackExceptionHandler(TCallbackExceptionHandler handler) { gExceptionHandler = handler; }

void HandleCurrentException() noexcept {
  try {
    if (gExceptionHandler) {
      gExceptionHandler();
      return;
    }
    try {
      throw;
    } catch (const EAbort&) {
    } catch (const Exception& e) {
      MessageBoxW(nullptr, e.Message().c_str(), L"Error", MB_OK | MB_ICONSTOP);
    } catch (const std::exception& e) {
      MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONSTOP);
    } catch (...) {
    }
  } catch (...) {
  }
}

void DefaultWindowMessage(HWND wnd, TMessage& message) {
  message.Result = DefWindowProcW(wnd, message.Msg, message.WParam, message.LParam);
}

