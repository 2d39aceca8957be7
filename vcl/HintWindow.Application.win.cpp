// The application's hints: timing from the controls' mouse moves and a watch
// on the cursor, CM_HINTSHOW and OnShowHint, and the one hint window.
//
// States: no hint control; a hint control with the show timer running (the
// cursor rests); a hint shown (the hide timer running); a hint done (hidden
// by the timer, a click or a key: it comes back only once the cursor has left
// its CursorRect). While there is a hint control a watch timer follows the
// cursor, so leaving for another program's window or the desktop (which sends
// us no mouse message) ends the hint too.
#include "vcl/Forms.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kHintTimerId = 1;
constexpr UINT_PTR kHintWatchTimerId = 2;
constexpr UINT kHintWatchMs = 100;
enum HintTimerKind { kHintNone, kHintShow, kHintHide };

TRect ScreenRect(const TControl* control, TRect r) {
  const TPoint o = control->ClientToScreen({0, 0});
  OffsetRect(r, o.X, o.Y);
  return r;
}

}  // namespace

void HintMouseMessage(TControl* control, TMessage& m) {
  if (Application) Application->HintMouseMessage(control, m);
}

void TApplication::SetShowHint(bool v) {
  if (v == FShowHint) return;
  FShowHint = v;
  // A new hint window for the next hint (its class may have changed meanwhile).
  CancelHint();
  FHintWindow.reset();
}

void TApplication::StartHintTimer(int ms, int kind) {
  FHintTimerKind = kind;
  SetTimer(GetHandle(), kHintTimerId, static_cast<UINT>(std::max(1, ms)), nullptr);
}

void TApplication::StopHintTimer() {
  if (FHintTimerKind != kHintNone) KillTimer(FHandle, kHintTimerId);
  FHintTimerKind = kHintNone;
}

void TApplication::HideHintWindow() {
  if (FHintWindow && FHintWindow->WindowHandle()) ShowWindow(FHintWindow->WindowHandle(), SW_HIDE);
  FHintActive = false;
}

void TApplication::CancelHint() {
  StopHintTimer();
  HideHintWindow();
  FHintControl = nullptr;
  if (FHintWatching) KillTimer(FHandle, kHintWatchTimerId);
  FHintWatching = false;
}

void TApplication::HintMouseMessage(TControl* control, TMessage& m) {
  if (!control) return;
  HintCursorAt(control, control->ClientToScreen({m.XPos(), m.YPos()}));
}

void TApplication::HintCursorAt(TControl* control, TPoint pos) {
  // While the mouse is captured (a button held on a thumb, a drag) no hint comes.
  if (!FShowHint || !control || !control->WantsHint() || GetCapture()) {
    if (FHintControl || FHintActive) CancelHint();
    return;
  }
  if (control == FHintControl && FHintCursorRect.Contains(pos)) return;
  // Another control, or another part of this one: the resting starts again,
  // briefly when a hint was just up.
  const bool wasActive = FHintActive;
  StopHintTimer();
  HideHintWindow();
  FHintControl = control;
  FHintCursorRect = ScreenRect(control, control->GetClientRect());
  StartHintTimer(wasActive ? HintShortPause : HintPause, kHintShow);
  if (!FHintWatching) SetTimer(GetHandle(), kHintWatchTimerId, kHintWatchMs, nullptr);
  FHintWatching = true;
}

bool TApplication::HintTimerMessage(uintptr_t id) {
  POINT p;
  GetCursorPos(&p);
  const TPoint pos{p.x, p.y};
  if (id == kHintWatchTimerId) {
    if (!FHintWatching) {
      KillTimer(FHandle, kHintWatchTimerId);
    } else {
      TControl* under = FindDragTarget(pos, false);
      if (under != FHintControl || !FHintCursorRect.Contains(pos)) HintCursorAt(under, pos);
    }
    return true;
  }
  if (id != kHintTimerId) return false;
  const int kind = FHintTimerKind;
  StopHintTimer();
  if (kind == kHintShow)
    ActivateHint(pos);
  else if (kind == kHintHide)
    HideHintWindow();
  return true;
}

void TApplication::ActivateHint(TPoint cursorPos) {
  StopHintTimer();
  TControl* control = FindDragTarget(cursorPos, false);
  if (!FShowHint || !control || !control->WantsHint()) {
    CancelHint();
    return;
  }
  if (control != FHintControl) {
    // Called directly, or the cursor moved on without a message yet.
    HintCursorAt(control, cursorPos);
    StopHintTimer();
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
  // The control may have gone or hints been cancelled meanwhile.
  if (FHintControl != control) return;
  // The answer holds while the cursor stays in CursorRect, shown or not.
  FHintCursorRect = ScreenRect(control, info.CursorRect);
  if (!canShow || info.HintStr.empty()) {
    HideHintWindow();
    return;
  }
  if (!FHintWindow) FHintWindow.reset(HintWindowClass ? HintWindowClass(nullptr) : new THintWindow(nullptr));
  FHintWindow->SetColor(info.HintColor);
  TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
  FHintActive = true;
  if (info.HideTimeout > 0) StartHintTimer(info.HideTimeout, kHintHide);
}

bool TApplication::IsHintMsg(const MSG& msg) {
  if (!FHintActive && FHintTimerKind != kHintShow) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_MOUSEWHEEL:
      // A click or a key ends the hint, shown or coming, until the cursor leaves;
      // the message goes on as usual.
      StopHintTimer();
      HideHintWindow();
      return false;
    default: return false;
  }
}
