// The exports of Tenvora.dll. The callbacks run on the thread that set the hook,
// from a message-only window of that thread: a sent message, which every message
// loop of the thread serves (see Tenvora.h).
#define TENVORA_BUILD
#include "tenvora/Tenvora.h"

#include "vcl/Win.h"

#include <mutex>
#include <optional>

#include "tenvora/DeferredWake.win.h"
#include "tenvora/HookThread.win.h"
#include "tenvora/KeyExchange.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace qorn::tenvora {
namespace {

constexpr UINT WM_TENVORA_DESTROY = WM_APP + 3;  // ends an owner window from another thread
constexpr wchar_t OwnerWindowClass[] = L"TenvoraCallbacks";

HINSTANCE LibraryInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

class Library {
 public:
  std::int32_t SetKeyboardHook(TKeyCallback key, TModifierCallback modifier);
  void RemoveKeyboardHook();
  void DisableMouse(bool disable);
  void SetKeysToAsk(const std::uint8_t* downs, const std::uint8_t* ups);
  void ReportPassedKeys();

  KeyExchange& exchange() { return exchange_; }

 private:
  bool EnsureOwnerWindow();
  void DropOwnerWindow();

  std::mutex calls_;  // one exported call at a time
  KeyExchange exchange_;
  HookThread thread_{exchange_};
  DeferredWake deferredWake_;
  HWND owner_ = nullptr;
  DWORD ownerThread_ = 0;
  std::uint64_t opened_ = 0;  // what the owner's drain passes, as Open numbered it
};

Library& TheLibrary() {
  // Never destroyed: the hook thread uses it until the process ends.
  static Library* library = new Library;
  return *library;
}

LRESULT CALLBACK OwnerWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TENVORA_DRAIN:
      TheLibrary().exchange().Drain(static_cast<std::uint64_t>(wParam));
      return 0;
    case WM_TENVORA_DESTROY:
      DestroyWindow(wnd);
      return 0;
    case WM_CLOSE:
      return 0;  // only the library ends it
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

bool Library::EnsureOwnerWindow() {
  const DWORD caller = GetCurrentThreadId();
  if (owner_ && ownerThread_ == caller && IsWindow(owner_)) return true;
  DropOwnerWindow();
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = &OwnerWindowProc;
  cls.hInstance = LibraryInstance();
  cls.lpszClassName = OwnerWindowClass;
  RegisterClassExW(&cls);  // fails harmlessly when registered already
  owner_ = CreateWindowExW(0, OwnerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, LibraryInstance(),
                           nullptr);
  ownerThread_ = owner_ ? caller : 0;
  return owner_ != nullptr;
}

void Library::DropOwnerWindow() {
  if (!owner_) return;
  // A window can only be destroyed by its own thread.
  if (ownerThread_ == GetCurrentThreadId())
    DestroyWindow(owner_);
  else
    PostMessageW(owner_, WM_TENVORA_DESTROY, 0, 0);
  owner_ = nullptr;
  ownerThread_ = 0;
}

std::int32_t Library::SetKeyboardHook(TKeyCallback key, TModifierCallback modifier) {
  std::lock_guard lock(calls_);
  exchange_.Close();
  if (!thread_.Start()) return 0;
  if (!EnsureOwnerWindow()) {
    thread_.UnhookKeyboard();
    return 0;
  }
  if (!thread_.HookKeyboard()) {
    DropOwnerWindow();
    return 0;
  }
  const HWND owner = owner_;
  DeferredWake* deferred = deferredWake_.Start() ? &deferredWake_ : nullptr;
  opened_ = exchange_.Open(key, modifier, [owner, deferred](std::uint64_t opened, bool urgent) {
    if (!urgent && deferred && deferred->Request(owner, opened)) return true;
    return SendNotifyMessageW(owner, WM_TENVORA_DRAIN, static_cast<WPARAM>(opened), 0) != 0;
  });
  return 1;
}

void Library::RemoveKeyboardHook() {
  {
    std::lock_guard lock(calls_);
    exchange_.Close();
    if (thread_.Started()) thread_.UnhookKeyboard();
    const bool callerOwns = ownerThread_ == GetCurrentThreadId();
    DropOwnerWindow();
    if (callerOwns) return;
  }
  // A callback running on the owner thread right now finishes before this returns.
  exchange_.WaitIdle();
}

void Library::DisableMouse(bool disable) {
  std::lock_guard lock(calls_);
  if (!disable && !thread_.Started()) return;
  if (thread_.Start()) thread_.BlockMouse(disable);
}

void Library::ReportPassedKeys() {
  std::uint64_t opened = 0;
  {
    std::lock_guard lock(calls_);
    if (!owner_ || ownerThread_ != GetCurrentThreadId()) return;
    opened = opened_;
  }
  // Unlocked: a callback may call the library again.
  exchange_.Drain(opened);
}

void Library::SetKeysToAsk(const std::uint8_t* downs, const std::uint8_t* ups) {
  // No lock of the exported calls: the set may change from inside a callback.
  if (!downs && !ups)
    exchange_.SetAskedKeys(std::nullopt);
  else
    exchange_.SetAskedKeys(AskedKeys::FromBytes(downs, ups));
}

}  // namespace
}  // namespace qorn::tenvora

extern "C" {

TENVORA_API int32_t TENVORA_CALL SetKeyboardHook(TKeyCallback key, TModifierCallback modifier) {
  return qorn::tenvora::TheLibrary().SetKeyboardHook(key, modifier);
}

TENVORA_API void TENVORA_CALL RemoveKeyboardHook() { qorn::tenvora::TheLibrary().RemoveKeyboardHook(); }

TENVORA_API void TENVORA_CALL DisableMouse(int32_t disable) {
  qorn::tenvora::TheLibrary().DisableMouse(disable != 0);
}

TENVORA_API void TENVORA_CALL SetKeysToAsk(const uint8_t* downs, const uint8_t* ups) {
  qorn::tenvora::TheLibrary().SetKeysToAsk(downs, ups);
}

TENVORA_API void TENVORA_CALL ReportPassedKeys() { qorn::tenvora::TheLibrary().ReportPassedKeys(); }
}
