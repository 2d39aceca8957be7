// TWinControl: the window and its class, children, painting and erasing, focus,
// keys, reflected notifications, alignment.
#include "vcl/Controls.h"
#include "vcl/ScopeGuards.h"

#include "vcl/Forms.h"
#include "vcl/WindowHost.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>

const wchar_t* ControlPropName();

namespace {

// The control whose window is being made: its first message binds it.
thread_local TWinControl* tCreatingControl = nullptr;
// Set while the loop dispatches a key message whose CN_ form did the key events.
thread_local bool tKeyPreprocessed = false;

UINT NextChildId() {
  static UINT next = 100;
  if (++next >= 0xFFFF) next = 100;
  return next;
}

// Classes registered by the library: name -> the procedure the class would
// have had (DefWindowProc, or a standard class's own for a superclass).
std::map<std::wstring, WNDPROC>& ClassTable() {
  static std::map<std::wstring, WNDPROC> table;
  return table;
}

void MoveWindowOrg(HDC dc, int dx, int dy) {
  POINT org;
  GetWindowOrgEx(dc, &org);
  SetWindowOrgEx(dc, org.x - dx, org.y - dy, nullptr);
}

}  // namespace

void SetKeyPreprocessed(bool v) { tKeyPreprocessed = v; }

LRESULT CALLBACK ControlWndProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* control = static_cast<TWinControl*>(GetPropW(wnd, ControlPropName()));
  if (!control) {
    control = tCreatingControl;
    if (!control) return DefWindowProcW(wnd, msg, wp, lp);
    tCreatingControl = nullptr;
    control->FHandle = wnd;
    SetPropW(wnd, ControlPropName(), control);
  }
  TMessage m{msg, wp, lp, 0};
  GuardCallback([&] { control->WindowProc(m); });
  TControlCanvas::FreeDeviceContexts();
  return m.Result;
}

// --- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
  if (auto* form = GetParentForm(this); form && form != static_cast<TControl*>(this)) form->ControlDestroyed(this);
  if (FParent) FParent->RemoveControl(this);
  if (FHandle) {
    // No message may reach this half-destroyed object any more.
    RemovePropW(FHandle, ControlPropName());
    SetWindowLongPtrW(FHandle, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(FDefWndProc ? FDefWndProc : DefWindowProcW));
    HWND wnd = FHandle;
    FHandle = nullptr;
    DestroyWindow(wnd);
  }
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveControl(child);
    delete child;
  }
  if (FBrush) DeleteObject(FBrush);
}

HWND TWinControl::GetHandle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  CreateChildHandles();
}

void TWinControl::CreateChildHandles() {
  for (size_t i = 0; i < FControls.size(); ++i)
    if (auto* w = dynamic_cast<TWinControl*>(FControls[i])) w->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p = {};
  p.Caption = FText;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) {
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (GetVisible()) p.Style |= WS_VISIBLE;
  if (!FEnabled) p.Style |= WS_DISABLED;
  if (FTabStop) p.Style |= WS_TABSTOP;
  p.X = FLeft;
  p.Y = FTop;
  p.Width = FWidth;
  p.Height = FHeight;
  p.WndParent = FParent ? FParent->GetHandle() : FParentWindow;
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.lpfnWndProc = DefWindowProcW;
  p.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  p.WindowClass.hInstance = GetModuleHandleW(nullptr);
  p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const wchar_t* className) {
  WNDCLASSW wc{};
  if (!GetClassInfoW(nullptr, className, &wc)) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!GetClassInfoW(nullptr, className, &wc) && !GetClassInfoW(GetModuleHandleW(L"comctl32.dll"), className, &wc))
      throw EOutOfResources(L"Cannot find the window class " + std::wstring(className));
  }
  const HINSTANCE instance = p.WindowClass.hInstance;
  p.WindowClass = wc;
  p.WindowClass.style &= ~CS_GLOBALCLASS;
  p.WindowClass.hInstance = instance;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
  auto& table = ClassTable();
  auto it = table.find(p.WinClassName);
  if (it == table.end()) {
    WNDCLASSW wc = p.WindowClass;
    FDefWndProc = wc.lpfnWndProc ? wc.lpfnWndProc : DefWindowProcW;
    wc.lpfnWndProc = ControlWndProc;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw EOutOfResources(L"Cannot register the window class " + p.WinClassName);
    table.emplace(p.WinClassName, FDefWndProc);
  } else {
    FDefWndProc = it->second;
  }
  CreateWindowHandle(p);
  if (!FHandle) throw EOutOfResources(L"Error creating window of " + Name());
  if (FFont) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->GetHandle()), 0);
  UpdateBounds();
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HMENU id = nullptr;
  if (p.Style & WS_CHILD) {
    if (!FChildId) FChildId = NextChildId();
    id = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(FChildId));
  }
  tCreatingControl = this;
  HWND wnd = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, id, p.WindowClass.hInstance, p.Param);
  tCreatingControl = nullptr;
  if (wnd && !FHandle) {
    // Created by a class procedure that is not ours (a class of that name existed).
    FHandle = wnd;
    SetPropW(wnd, ControlPropName(), this);
  }
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  // Keep the text the window holds for the next window.
  FText = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  ControlState << csDestroyingHandle;
  if (FHandle) DestroyWindow(FHandle);
  ControlState >> csDestroyingHandle;
  FHandle = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  const bool focused = Focused();
  DestroyHandle();
  HandleNeeded();
  if (focused && CanFocus()) ::SetFocus(FHandle);
}

void TWinControl::SetParentWindow(HWND wnd) {
  if (FParent || wnd == FParentWindow) return;
  FParentWindow = wnd;
  if (FHandle) {
    if (wnd)
      ::SetParent(FHandle, wnd);
    else
      DestroyHandle();
  }
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  // Moving between parents with windows keeps the window and all it holds.
  const bool keepWindow = FHandle && parent && parent->HandleAllocated();
  HWND keep = keepWindow ? FHandle : nullptr;
  if (keepWindow) FHandle = nullptr;  // RemoveControl must not destroy it
  {
    const TOnExit kept([this, keep] { if (keep) FHandle = keep; });
    TControl::SetParent(parent);
  }
  if (keepWindow) {
    ::SetParent(FHandle, parent->FHandle);
    SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (parent && parent->HandleAllocated() && !FHandle) {
    HandleNeeded();
  }
}

void TWinControl::InsertControl(TControl* control) {
  control->FParent = this;
  FControls.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) FTabList.push_back(w);
  control->Perform(CM_PARENTCOLORCHANGED);
  control->Perform(CM_PARENTFONTCHANGED);
  control->Perform(CM_PARENTSHOWHINTCHANGED);
  control->UpdateAnchorRules();
  if (control->FAlign != alNone || GetAutoSize()) Realign();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  if (CaptureControl() == control) SetCaptureControl(nullptr);
  if (MouseControl() == control) UpdateMouseControl(nullptr);
  control->Invalidate();
  if (auto* form = GetParentForm(this)) form->ControlRemoved(control);
  FControls.erase(std::find(FControls.begin(), FControls.end(), control));
  auto tab = std::find(FTabList.begin(), FTabList.end(), control);
  if (tab != FTabList.end()) FTabList.erase(tab);
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->FHandle && !ComponentState().Contains(csDestroying)) {
    w->DestroyHandle();
    // The windows going moved the focus, perhaps to the control itself while it was
    // still ours: forget it once more, or the form keeps a control that is gone.
    if (auto* form = GetParentForm(this)) form->ControlRemoved(control);
  }
  control->FParent = nullptr;
  if (control->FAlign != alNone || (GetAutoSize() && !ComponentState().Contains(csDestroying))) Realign();
}

bool TWinControl::ContainsControl(TControl* control) const {
  for (TControl* c = control; c; c = c->GetParent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allWinControls) {
  for (size_t i = FControls.size(); i-- > 0;) {
    TControl* c = FControls[i];
    if (!allWinControls && dynamic_cast<TWinControl*>(c)) continue;
    const TPoint p{pos.X - c->FLeft, pos.Y - c->FTop};
    if (!c->GetClientRect().Contains(p)) continue;
    if (!c->GetVisible() || (!c->FEnabled && !allowDisabled)) continue;
    if (c->Perform(CM_HITTEST, 0, PointToLParam(p.X, p.Y)) != 0) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& m) {
  for (size_t i = 0; i < FControls.size(); ++i) {
    FControls[i]->WindowProc(m);
    if (m.Result != 0) return;
  }
}

// --- alignment

void TWinControl::AlignControl(TControl*) {
  if (FAlignLevel > 0) {
    ControlState << csAlignmentNeeded;
    return;
  }
  Realign();
}

void TWinControl::EnableAlign() {
  if (FAlignLevel > 0 && --FAlignLevel == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || FAligning) {
    ControlState << csAlignmentNeeded;
    return;
  }
  ControlState >> csAlignmentNeeded;
  TRect r = GetClientRect();
  AlignControls(nullptr, r);
  if (GetAutoSize()) AdjustSize();
}

// --- AutoSize

bool TWinControl::ChildExtents(TRect& extents) const {
  bool any = false;
  for (TControl* c : FControls) {
    if (!c->GetVisible()) continue;
    const TRect r = c->GetBoundsRect();
    if (!any) {
      extents = r;
      any = true;
      continue;
    }
    extents.Left = std::min(extents.Left, r.Left);
    extents.Top = std::min(extents.Top, r.Top);
    extents.Right = std::max(extents.Right, r.Right);
    extents.Bottom = std::max(extents.Bottom, r.Bottom);
  }
  return any;
}

bool TWinControl::CanAutoSize(int& newWidth, int& newHeight) {
  TRect extents;
  if (!FitsChildren() || !ChildExtents(extents)) return false;
  TRect inner = GetClientRect();
  AdjustClientRect(inner);
  // The frame: what lies between the outer bounds and the inner client area.
  newWidth = extents.Width() + (FWidth - inner.Width());
  newHeight = extents.Height() + (FHeight - inner.Height());
  return true;
}

void TWinControl::AdjustSize() {
  if (FAutoSizing || ComponentState().Contains(csLoading)) return;
  FAutoSizing = true;
  const TOnExit fitted([this] { FAutoSizing = false; });
  TRect extents;
  if (FitsChildren() && ChildExtents(extents)) {
    TRect inner = GetClientRect();
    AdjustClientRect(inner);
    const int dx = inner.Left - extents.Left, dy = inner.Top - extents.Top;
    if (dx != 0 || dy != 0) {
      DisableAlign();
      for (TControl* c : FControls)
        if (c->FAlign == alNone && c->GetVisible()) c->SetBounds(c->FLeft + dx, c->FTop + dy, c->FWidth, c->FHeight);
      EnableAlign();
    }
  }
  TControl::AdjustSize();
}

void TWinControl::CMBorderChanged(TMessage&) {
  if (FHandle) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
  }
  Realign();
  Invalidate();
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  {
    FAligning = true;
    const TOnExit aligned([this] { FAligning = false; });
    AdjustClientRect(rect);
    const TRect client = GetClientRect();
    const TAlign order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign align : order) {
      std::vector<TControl*> list;
      for (TControl* c : FControls)
        if (c->FAlign == align && c->GetVisible()) list.push_back(c);
      // Place them in the order they stand, the control that asked first on a tie.
      auto key = [&](TControl* c) {
        switch (align) {
          case alTop: return c->FTop;
          case alBottom: return -(c->FTop + c->FHeight);
          case alLeft: return c->FLeft;
          case alRight: return -(c->FLeft + c->FWidth);
          default: return 0;
        }
      };
      std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
        const int ka = key(a), kb = key(b);
        if (ka != kb) return ka < kb;
        return a == control && b != control;
      });
      for (TControl* c : list) {
        const int w = c->FWidth, h = c->FHeight;
        switch (align) {
          case alTop:
            c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
            rect.Top += c->FHeight;
            break;
          case alBottom:
            c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
            rect.Bottom -= c->FHeight;
            break;
          case alLeft:
            c->SetBounds(rect.Left, rect.Top, w, rect.Height());
            rect.Left += c->FWidth;
            break;
          case alRight:
            c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
            rect.Right -= c->FWidth;
            break;
          case alClient:
            c->SetBounds(rect.Left, rect.Top, std::max(0, rect.Width()), std::max(0, rect.Height()));
            break;
          default: break;
        }
      }
    }
    // Anchored controls keep their distances to the edges they are anchored to.
    const int W = client.Width(), H = client.Height();
    for (TControl* c : FControls) {
      if (c->FAlign != alNone) continue;
      if (c->FAnchorParentWidth == W && c->FAnchorParentHeight == H) continue;
      int left = c->FLeft, top = c->FTop, width = c->FWidth, height = c->FHeight;
      const bool l = c->FAnchors.Contains(akLeft), r = c->FAnchors.Contains(akRight);
      const bool t = c->FAnchors.Contains(akTop), b = c->FAnchors.Contains(akBottom);
      if (r && l)
        width = std::max(0, W - left - c->FAnchorRight);
      else if (r)
        left = W - c->FAnchorRight - width;
      else if (!l)
        left = static_cast<int>(std::lround(c->FAnchorCenterX * W - width / 2.0));
      if (b && t)
        height = std::max(0, H - top - c->FAnchorBottom);
      else if (b)
        top = H - c->FAnchorBottom - height;
      else if (!t)
        top = static_cast<int>(std::lround(c->FAnchorCenterY * H - height / 2.0));
      c->SetBounds(left, top, width, height);
    }
  }
  ControlsAligned();
}

void TWinControl::ScrollBy(int dx, int dy) {
  DisableAlign();
  for (TControl* c : FControls) c->SetBounds(c->FLeft + dx, c->FTop + dy, c->FWidth, c->FHeight);
  EnableAlign();
  Invalidate();
}

// --- geometry

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (!CanResize(width, height)) {
    width = FWidth;
    height = FHeight;
  }
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  const bool sized = width != FWidth || height != FHeight;
  if (FHandle && !IsIconic(FHandle)) {
    // The window's WM_WINDOWPOSCHANGED/WM_SIZE store the bounds and realign.
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (FLeft != left || FTop != top || FWidth != width || FHeight != height) {
      // The window kept other bounds (a size limit of its own): believe it.
      UpdateBounds();
    }
  } else {
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle) {
      WINDOWPLACEMENT wp{};
      wp.length = sizeof wp;
      GetWindowPlacement(FHandle, &wp);
      wp.rcNormalPosition = {left, top, left + width, top + height};
      SetWindowPlacement(FHandle, &wp);
    }
    BoundsChanged();
    if (sized) {
      Realign();
      if (!ComponentState().Contains(csLoading)) Resize();
    }
  }
  UpdateAnchorRules();
  RequestAlign();
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r;
  if (IsIconic(FHandle)) {
    WINDOWPLACEMENT wp{};
      wp.length = sizeof wp;
    GetWindowPlacement(FHandle, &wp);
    r = wp.rcNormalPosition;
  } else {
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) {
      HWND parent = ::GetParent(FHandle);
      MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
  }
  const int left = r.left, top = r.top, width = r.right - r.left, height = r.bottom - r.top;
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  UpdateAnchorRules();
  BoundsChanged();
}

TRect TWinControl::GetClientRect() const {
  if (FHandle) {
    RECT r;
    ::GetClientRect(FHandle, &r);
    return Rect(r.left, r.top, r.right, r.bottom);
  }
  return ClientRectWithoutHandle();
}

TRect TWinControl::ClientRectWithoutHandle() const { return Rect(0, 0, FWidth, FHeight); }

TPoint TWinControl::GetClientOrigin() const {
  if (FHandle) {
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return {p.x, p.y};
  }
  return TControl::GetClientOrigin();
}

std::wstring TWinControl::GetText() const {
  if (!FHandle) return FText;
  const int n = GetWindowTextLengthW(FHandle);
  std::wstring s(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(FHandle, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(0, got)));
  return s;
}

bool TWinControl::Showing() const { return FHandle && IsWindowVisible(FHandle); }

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, ControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

HWND TWinControl::GetDeviceWindow() const { return FHandle; }

HBRUSH TWinControl::BrushHandle() {
  if (!FBrush || FBrushColor != FColor) {
    if (FBrush) DeleteObject(FBrush);
    FBrush = CreateSolidBrush(ColorToRGB(FColor));
    FBrushColor = FColor;
  }
  return FBrush;
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

// --- messages

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      // Enter/leave follow the cursor, also while some control holds the capture.
      POINT p{m.XPos(), m.YPos()};
      if (FHandle) ::ClientToScreen(FHandle, &p);
      UpdateMouseControl(MouseTargetAt({p.x, p.y}));
      if (FHandle) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
        TrackMouseEvent(&tme);
      }
      break;
    }
    case WM_MOUSELEAVE: {
      POINT p;
      GetCursorPos(&p);
      UpdateMouseControl(MouseTargetAt({p.x, p.y}));
      break;
    }
  }
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL && m.Msg != WM_MOUSEHWHEEL) {
    if (IsControlMouseMsg(m)) {
      // A windowless child took it; the window still gets its default (cursor, capture).
      if (m.Result == 0 && FHandle) CallWindowProcW(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
      return;
    }
  }
  TControl::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* target = nullptr;
  TControl* capture = CaptureControl();
  if (capture && FHandle && GetCapture() == FHandle) {
    if (capture->GetParent() == this) target = capture;
  } else {
    target = ControlAtPos({m.XPos(), m.YPos()}, false);
  }
  if (!target) return false;
  const intptr_t lp = PointToLParam(m.XPos() - target->GetLeft(), m.YPos() - target->GetTop());
  m.Result = target->Perform(m.Msg, m.WParam, lp);
  return true;
}

void TWinControl::DefWndHandler(TMessage& m) {
  if (!FHandle) {
    TControl::DefWndHandler(m);
    return;
  }
  m.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  UpdateBounds();
  DefWndHandler(m);
}

void TWinControl::WMSize(TMessage& m) {
  UpdateBounds();
  DefWndHandler(m);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& m) {
  UpdateBounds();
  DefWndHandler(m);
}

void TWinControl::WMNCDestroy(TMessage& m) {
  DefWndHandler(m);
  if (FHandle) RemovePropW(FHandle, ControlPropName());
  FHandle = nullptr;
}

void TWinControl::WMSetText(TMessage& m) {
  if (!FHandle) {
    TControl::DefWndHandler(m);
    return;
  }
  DefWndHandler(m);
  auto* text = reinterpret_cast<const wchar_t*>(m.LParam);
  FText = text ? text : L"";
  Perform(CM_TEXTCHANGED);
}

void TWinControl::WMSetCursor(TMessage& m) {
  if (LOWORD(m.LParam) == HTCLIENT && reinterpret_cast<HWND>(m.WParam) == FHandle) {
    TCursor cursor = Screen ? Screen->GetCursor() : crDefault;
    if (cursor == crDefault) {
      POINT p;
      GetCursorPos(&p);
      ::ScreenToClient(FHandle, &p);
      TControl* c = ControlAtPos({p.x, p.y}, false);
      cursor = c ? c->GetCursor() : FCursor;
    }
    if (cursor != crDefault) {
      ::SetCursor(CursorHandle(cursor));
      m.Result = 1;
      return;
    }
  }
  DefWndHandler(m);
}

void TWinControl::WMContextMenu(TMessage& m) {
  if (m.Result != 0) return;
  if (m.XPos() != -1 || m.YPos() != -1) {
    const TPoint p = ScreenToClient({m.XPos(), m.YPos()});
    if (TControl* c = ControlAtPos(p, false)) m.Result = c->Perform(WM_CONTEXTMENU, 0, m.LParam);
    if (m.Result != 0) return;
  }
  TControl::WMContextMenu(m);
}

void TWinControl::WMSysColorChange(TMessage& m) {
  Perform(CM_SYSCOLORCHANGE);
  DefWndHandler(m);
}

void TWinControl::CMSysColorChange(TMessage& m) {
  TControl::CMSysColorChange(m);
  for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->Perform(CM_SYSCOLORCHANGE);
}

// --- reflected notifications

void TWinControl::ReflectNotification(TMessage& m, HWND child) {
  if (TWinControl* c = child && child != FHandle ? FindControl(child) : nullptr) {
    m.Result = c->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
    return;
  }
  DefWndHandler(m);
}

void TWinControl::WMCommand(TMessage& m) {
  if (m.LParam != 0) {
    ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
    return;
  }
  DefWndHandler(m);
}

void TWinControl::WMNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  ReflectNotification(m, hdr ? hdr->hwndFrom : nullptr);
}

void TWinControl::WMReflected(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      // Owner-drawn menu items belong to the menu's owner window itself.
      if (dis && dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis && mis->CtlType != ODT_MENU && FHandle) child = GetDlgItem(FHandle, static_cast<int>(mis->CtlID));
      break;
    }
    case WM_COMPAREITEM: {
      auto* cis = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam);
      if (cis) child = cis->hwndItem;
      break;
    }
    case WM_DELETEITEM: {
      auto* dis = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam);
      if (dis) child = dis->hwndItem;
      break;
    }
    default: child = reinterpret_cast<HWND>(m.LParam); break;
  }
  ReflectNotification(m, child);
}

void TWinControl::CNCommand(TMessage& m) { DefWndHandler(m); }

// A child window asks for its colours: the control's font colour on its Color.
void TWinControl::CNCtlColor(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetTextColor(dc, ColorToRGB(FFont->GetColor()));
  SetBkColor(dc, ColorToRGB(FColor));
  m.Result = reinterpret_cast<intptr_t>(BrushHandle());
}
void TWinControl::CNNotify(TMessage& m) { DefWndHandler(m); }

// --- painting

void TWinControl::WMPaint(TMessage& m) {
  if (m.WParam != 0 || !DoubleBuffered) {
    if (!ControlState.Contains(csCustomPaint) && FControls.empty()) {
      // Nothing of ours to draw: the window class paints itself.
      DefWndHandler(m);
      return;
    }
    if (m.WParam != 0) {
      PaintHandler(reinterpret_cast<HDC>(m.WParam));
    } else {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(FHandle, &ps);
      PaintHandler(dc);
      EndPaint(FHandle, &ps);
    }
    return;
  }
  // Double buffered: erase and paint into a bitmap, then one copy to the screen.
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(FHandle, &ps);
  const TRect client = GetClientRect();
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max(1, client.Right), std::max(1, client.Bottom));
  ReleaseDC(nullptr, screen);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bitmap);
  const TOnExit painted([&] {
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bitmap);
    EndPaint(FHandle, &ps);
  });
  Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(mem), reinterpret_cast<intptr_t>(mem));
  TMessage inner{WM_PAINT, reinterpret_cast<uintptr_t>(mem), 0, 0};
  Dispatch(&inner);
  BitBlt(dc, 0, 0, client.Right, client.Bottom, mem, 0, 0, SRCCOPY);
}

void TWinControl::WMPrintClient(TMessage& m) {
  if (m.WParam == 0) {
    DefWndHandler(m);
    return;
  }
  if (!ControlState.Contains(csCustomPaint) && FControls.empty()) {
    DefWndHandler(m);
    return;
  }
  PaintHandler(reinterpret_cast<HDC>(m.WParam));
}

void TWinControl::PaintHandler(HDC dc) {
  bool anyOpaque = false;
  for (TControl* c : FControls)
    if (c->GetVisible() && c->ControlStyle.Contains(csOpaque) && !dynamic_cast<TWinControl*>(c)) anyOpaque = true;
  if (!anyOpaque) {
    PaintWindow(dc);
  } else {
    // Windowless controls that paint all of themselves are not painted under.
    const int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (TControl* c : FControls) {
      if (!c->GetVisible() || !c->ControlStyle.Contains(csOpaque) || dynamic_cast<TWinControl*>(c)) continue;
      clip = ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
      if (clip == NULLREGION) break;
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0, 0};
  DefWndHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  size_t start = 0;
  if (first) {
    auto it = std::find(FControls.begin(), FControls.end(), first);
    if (it != FControls.end()) start = static_cast<size_t>(it - FControls.begin());
  }
  RECT clipBox;
  GetClipBox(dc, &clipBox);
  for (size_t i = start; i < FControls.size(); ++i) {
    TControl* c = FControls[i];
    if (!c->GetVisible() || dynamic_cast<TWinControl*>(c)) continue;
    RECT r{c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight}, common;
    if (!IntersectRect(&common, &r, &clipBox)) continue;
    // Each control draws in its own coordinates and never outside itself.
    const int saved = SaveDC(dc);
    MoveWindowOrg(dc, c->FLeft, c->FTop);
    IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
    c->Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  // Double buffered: the system's erase is skipped; the buffer is erased instead.
  if (!DoubleBuffered || m.WParam == static_cast<uintptr_t>(m.LParam)) {
    const TRect c = GetClientRect();
    RECT r{c.Left, c.Top, c.Right, c.Bottom};
    FillRect(reinterpret_cast<HDC>(m.WParam), &r, BrushHandle());
  }
  m.Result = 1;
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  HandleNeeded();
  const int saved = SaveDC(dc);
  MoveWindowOrg(dc, x, y);
  IntersectClipRect(dc, 0, 0, FWidth, FHeight);
  Perform(WM_ERASEBKGND, reinterpret_cast<uintptr_t>(dc), reinterpret_cast<intptr_t>(dc));
  Perform(WM_PAINT, reinterpret_cast<uintptr_t>(dc), 0);
  for (TControl* c : FControls)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->GetVisible()) w->PaintTo(dc, w->FLeft, w->FTop);
  RestoreDC(dc, saved);
}

// --- visibility, enabling, font and colour

void TWinControl::CMVisibleChanged(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form == static_cast<TControl*>(this)) form = nullptr;
  if (!GetVisible() && form && ContainsControl(form->GetActiveControl())) form->ControlRemoved(this);
  UpdateShowing();
  // Hiding moves the focus out of the window, and it may land on this control itself.
  if (!GetVisible() && form) form->ControlRemoved(this);
  (void)m;
}

void TWinControl::UpdateShowing() {
  const bool topLevel = !FParent && !FParentWindow;
  if (!topLevel && !(FParent ? FParent->HandleAllocated() : true)) return;
  if (GetVisible()) HandleNeeded();
  if (FHandle) Perform(CM_SHOWINGCHANGED);
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (!FHandle) return;
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (GetVisible() ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMEnabledChanged(TMessage& m) {
  if (!FEnabled) {
    if (auto* form = GetParentForm(this); form && form != static_cast<TControl*>(this) && ContainsControl(form->GetActiveControl()))
      form->ControlRemoved(this);
  }
  if (FHandle) EnableWindow(FHandle, FEnabled ? TRUE : FALSE);
  TControl::CMEnabledChanged(m);
}

void TWinControl::CMFontChanged(TMessage& m) {
  TControl::CMFontChanged(m);
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->GetHandle()), TRUE);
  for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& m) {
  TControl::CMColorChanged(m);
  for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMTextChanged(TMessage& m) { TControl::CMTextChanged(m); }

void TWinControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }

// --- focus

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(const_cast<TWinControl*>(this));
  if (!form) return false;
  for (const TControl* c = this; c && c != static_cast<TControl*>(form); c = c->GetParent())
    if (!c->GetVisible() || !c->FEnabled) return false;
  return form->GetVisible() && form->GetEnabled();
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else if (FParentWindow) {
    ::SetFocus(GetHandle());
  } else {
    throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
  }
}

void TWinControl::WMSetFocus(TMessage& m) {
  DefWndHandler(m);
  if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& m) { DefWndHandler(m); }

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CMFocusChanged(TMessage& m) {
  for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->WindowProc(m);
}

void TWinControl::SetTabStop(bool v) {
  if (v == FTabStop) return;
  FTabStop = v;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
    style = v ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(FHandle, GWL_STYLE, style);
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::GetTabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!FParent) return;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  const int n = static_cast<int>(list.size());
  if (v < 0 || v > n) v = n;
  list.insert(list.begin() + v, this);
}

std::vector<TWinControl*> TWinControl::GetTabOrderList() const {
  std::vector<TWinControl*> out;
  for (TWinControl* w : FTabList) {
    out.push_back(w);
    auto inner = w->GetTabOrderList();
    out.insert(out.end(), inner.begin(), inner.end());
  }
  return out;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) {
  const auto list = GetTabOrderList();
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  do {
    if (goForward) {
      if (++i == count) i = 0;
    } else {
      if (i == 0) i = count;
      --i;
    }
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!checkTabStop || c->FTabStop) && (!checkParent || c->FParent == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c && form) form->SetActiveControl(c);
}

void TWinControl::ShowControl(TControl* control) {
  if (FParent) FParent->ShowControl(this);
  (void)control;
}

// --- keys

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != static_cast<TControl*>(this) && form->KeyPreview && form->DoKeyDown(m)) return true;
  WORD key = static_cast<WORD>(m.WParam);
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyDown(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != static_cast<TControl*>(this) && form->KeyPreview && form->DoKeyUp(m)) return true;
  WORD key = static_cast<WORD>(m.WParam);
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyUp(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != static_cast<TControl*>(this) && form->KeyPreview && form->DoKeyPress(m)) return true;
  wchar_t ch = static_cast<wchar_t>(m.WParam);
  if (!ControlStyle.Contains(csNoStdEvents)) {
    KeyPress(ch);
    m.WParam = ch;
    if (ch == 0) return true;
  }
  return false;
}

void TWinControl::CNKeyDown(TMessage& m) {
  m.Result = 1;
  if (DoKeyDown(m)) return;
  const WORD key = static_cast<WORD>(m.WParam);
  unsigned mask = 0;
  switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
  }
  if (mask != 0 && Perform(CM_WANTSPECIALKEY, key, m.LParam) == 0 &&
      (static_cast<unsigned>(Perform(WM_GETDLGCODE)) & mask) == 0) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CNKeyUp(TMessage& m) { m.Result = DoKeyUp(m) ? 1 : 0; }

void TWinControl::CNChar(TMessage& m) {
  m.Result = 1;
  if (DoKeyPress(m)) return;
  if ((static_cast<unsigned>(Perform(WM_GETDLGCODE)) & DLGC_WANTCHARS) == 0) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& m) { m.Result = DoKeyDown(m) ? 1 : 0; }

void TWinControl::CNSysChar(TMessage& m) {
  // Alt + a caption's accelerator.
  TCustomForm* form = GetParentForm(this);
  m.Result = form && m.WParam != VK_SPACE && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0 ? 1 : 0;
}

void TWinControl::WMKeyDown(TMessage& m) {
  const bool pre = tKeyPreprocessed;
  tKeyPreprocessed = false;
  if (pre || !DoKeyDown(m)) DefWndHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m) {
  const bool pre = tKeyPreprocessed;
  tKeyPreprocessed = false;
  if (pre || !DoKeyUp(m)) DefWndHandler(m);
}

void TWinControl::WMChar(TMessage& m) {
  const bool pre = tKeyPreprocessed;
  tKeyPreprocessed = false;
  if (pre || !DoKeyPress(m)) DefWndHandler(m);
}

void TWinControl::WMSysKeyDown(TMessage& m) {
  const bool pre = tKeyPreprocessed;
  tKeyPreprocessed = false;
  if (pre || !DoKeyDown(m)) DefWndHandler(m);
}

void TWinControl::WMSysChar(TMessage& m) {
  tKeyPreprocessed = false;
  DefWndHandler(m);
}

void TWinControl::WMGetDlgCode(TMessage& m) { DefWndHandler(m); }

void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }
void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }

// --- forms

void TWinControl::Publish(TPublisher<TWinControl>& p) {
  p.Message(WM_PAINT, &TWinControl::WMPaint);
  p.Message(CM_BORDERCHANGED, &TWinControl::CMBorderChanged);
  p.Message(WM_PRINTCLIENT, &TWinControl::WMPrintClient);
  p.Message(WM_ERASEBKGND, &TWinControl::WMEraseBkgnd);
  p.Message(WM_SETFOCUS, &TWinControl::WMSetFocus);
  p.Message(WM_KILLFOCUS, &TWinControl::WMKillFocus);
  p.Message(WM_SIZE, &TWinControl::WMSize);
  p.Message(WM_MOVE, &TWinControl::WMMove);
  p.Message(WM_SETCURSOR, &TWinControl::WMSetCursor);
  p.Message(WM_SETTEXT, &TWinControl::WMSetText);
  p.Message(WM_KEYDOWN, &TWinControl::WMKeyDown);
  p.Message(WM_KEYUP, &TWinControl::WMKeyUp);
  p.Message(WM_CHAR, &TWinControl::WMChar);
  p.Message(WM_SYSKEYDOWN, &TWinControl::WMSysKeyDown);
  p.Message(WM_SYSCHAR, &TWinControl::WMSysChar);
  p.Message(WM_GETDLGCODE, &TWinControl::WMGetDlgCode);
  p.Message(WM_SYSCOLORCHANGE, &TWinControl::WMSysColorChange);
  p.Message(WM_NCDESTROY, &TWinControl::WMNCDestroy);
  p.Message(WM_COMMAND, &TWinControl::WMCommand);
  p.Message(WM_NOTIFY, &TWinControl::WMNotify);
  p.Message(WM_DRAWITEM, &TWinControl::WMReflected);
  p.Message(WM_MEASUREITEM, &TWinControl::WMReflected);
  p.Message(WM_COMPAREITEM, &TWinControl::WMReflected);
  p.Message(WM_DELETEITEM, &TWinControl::WMReflected);
  p.Message(WM_VKEYTOITEM, &TWinControl::WMReflected);
  p.Message(WM_CHARTOITEM, &TWinControl::WMReflected);
  p.Message(WM_HSCROLL, &TWinControl::WMReflected);
  p.Message(WM_VSCROLL, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLORMSGBOX, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLOREDIT, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLORLISTBOX, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLORBTN, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLORDLG, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLORSCROLLBAR, &TWinControl::WMReflected);
  p.Message(WM_CTLCOLORSTATIC, &TWinControl::WMReflected);
  p.Message(CN_KEYDOWN, &TWinControl::CNKeyDown);
  p.Message(CN_KEYUP, &TWinControl::CNKeyUp);
  p.Message(CN_CHAR, &TWinControl::CNChar);
  p.Message(CN_SYSKEYDOWN, &TWinControl::CNSysKeyDown);
  p.Message(CN_SYSCHAR, &TWinControl::CNSysChar);
  p.Message(CN_COMMAND, &TWinControl::CNCommand);
  p.Message(CN_NOTIFY, &TWinControl::CNNotify);
  p.Message(CM_ENTER, &TWinControl::CMEnter);
  p.Message(CM_EXIT, &TWinControl::CMExit);
  p.Message(CM_DIALOGKEY, &TWinControl::CMDialogKey);
  p.Message(CM_DIALOGCHAR, &TWinControl::CMDialogChar);
  p.Message(CM_FOCUSCHANGED, &TWinControl::CMFocusChanged);
  p.Message(CM_FONTCHANGED, &TWinControl::CMFontChanged);
  p.Message(CM_COLORCHANGED, &TWinControl::CMColorChanged);
  p.Message(CM_ENABLEDCHANGED, &TWinControl::CMEnabledChanged);
  p.Message(CM_VISIBLECHANGED, &TWinControl::CMVisibleChanged);
  p.Message(CM_SYSCOLORCHANGE, &TWinControl::CMSysColorChange);
  p.Message(CM_TEXTCHANGED, &TWinControl::CMTextChanged);
  p.Message(CM_HITTEST, &TWinControl::CMHitTest);
  p.Message(CM_SHOWINGCHANGED, &TWinControl::CMShowingChanged);
  p.Message(WM_WINDOWPOSCHANGED, &TWinControl::WMWindowPosChanged);
  p.Message(WM_CONTEXTMENU, &TWinControl::WMContextMenu);
  p.Message(CN_CTLCOLORMSGBOX, &TWinControl::CNCtlColor);
  p.Message(CN_CTLCOLOREDIT, &TWinControl::CNCtlColor);
  p.Message(CN_CTLCOLORLISTBOX, &TWinControl::CNCtlColor);
  p.Message(CN_CTLCOLORBTN, &TWinControl::CNCtlColor);
  p.Message(CN_CTLCOLORDLG, &TWinControl::CNCtlColor);
  p.Message(CN_CTLCOLORSCROLLBAR, &TWinControl::CNCtlColor);
  p.Message(CN_CTLCOLORSTATIC, &TWinControl::CNCtlColor);
  p.Property(L"TabStop", &TWinControl::GetTabStop, &TWinControl::SetTabStop).Default(false);
  p.Property(L"TabOrder", &TWinControl::GetTabOrder, &TWinControl::SetTabOrder).Stored(false);
  p.Property(L"DoubleBuffered", &TWinControl::DoubleBuffered).Default(false);
  p.Property(L"Ctl3D", &TWinControl::GetCtl3D, &TWinControl::SetCtl3D).Default(true);
  p.Property(L"ParentCtl3D", &TWinControl::ParentCtl3D).Default(true);
  p.Property(L"OnEnter", &TWinControl::OnEnter);
  p.Property(L"OnExit", &TWinControl::OnExit);
  p.Property(L"OnKeyDown", &TWinControl::OnKeyDown);
  p.Property(L"OnKeyPress", &TWinControl::OnKeyPress);
  p.Property(L"OnKeyUp", &TWinControl::OnKeyUp);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (size_t i = 0; i < FControls.size(); ++i)
    if (FControls[i]->Owner() == root) proc(FControls[i]);
}

void TWinControl::SetChildOrder(TComponent* child, int order) {
  auto* control = dynamic_cast<TControl*>(child);
  auto it = std::find(FControls.begin(), FControls.end(), control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  order = std::clamp(order, 0, static_cast<int>(FControls.size()));
  FControls.insert(FControls.begin() + order, control);
}
