// TControl: bounds, alignment and anchors, look, mouse handling; the lookups that
// tie windows and points to controls; mouse enter/leave and capture.
#include "vcl/Controls.h"
#include "vcl/ScopeGuards.h"

#include "vcl/ActnList.h"
#include "vcl/Forms.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

namespace {

TControl* gMouseControl = nullptr;
TControl* gCaptureControl = nullptr;
TMouse gMouse;

}  // namespace

TMouse* Mouse = &gMouse;

namespace {

struct CursorName {
  TCursor value;
  const wchar_t* name;
};
constexpr CursorName kCursorNames[] = {
    {crDefault, L"crDefault"},     {crNone, L"crNone"},         {crArrow, L"crArrow"},
    {crCross, L"crCross"},         {crIBeam, L"crIBeam"},       {crSizeNESW, L"crSizeNESW"},
    {crSizeNS, L"crSizeNS"},       {crSizeNWSE, L"crSizeNWSE"}, {crSizeWE, L"crSizeWE"},
    {crUpArrow, L"crUpArrow"},     {crHourGlass, L"crHourGlass"}, {crNo, L"crNo"},
    {crAppStart, L"crAppStart"},   {crHelp, L"crHelp"},         {crHandPoint, L"crHandPoint"},
    {crSizeAll, L"crSizeAll"},
};

bool CursorToIdent(int64_t value, std::wstring& ident) {
  for (const auto& c : kCursorNames)
    if (c.value == value) {
      ident = c.name;
      return true;
    }
  return false;
}

bool IdentToCursor(std::wstring_view ident, int64_t& value) {
  for (const auto& c : kCursorNames)
    if (SameIdent(ident, c.name)) {
      value = c.value;
      return true;
    }
  return false;
}

}  // namespace

const TIdentMap CursorIdents{&CursorToIdent, &IdentToCursor};

void TSizeConstraints::Publish(TPublisher<TSizeConstraints>& p) {
  p.Property(L"MaxHeight", &TSizeConstraints::GetMaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  p.Property(L"MaxWidth", &TSizeConstraints::GetMaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  p.Property(L"MinHeight", &TSizeConstraints::GetMinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  p.Property(L"MinWidth", &TSizeConstraints::GetMinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

void TControl::Publish(TPublisher<TControl>& p) {
  p.Message(WM_LBUTTONDOWN, &TControl::WMLButtonDown);
  p.Message(WM_LBUTTONUP, &TControl::WMLButtonUp);
  p.Message(WM_LBUTTONDBLCLK, &TControl::WMLButtonDblClk);
  p.Message(WM_RBUTTONDOWN, &TControl::WMRButtonDown);
  p.Message(WM_RBUTTONUP, &TControl::WMRButtonUp);
  p.Message(WM_RBUTTONDBLCLK, &TControl::WMRButtonDblClk);
  p.Message(WM_MBUTTONDOWN, &TControl::WMMButtonDown);
  p.Message(WM_MBUTTONUP, &TControl::WMMButtonUp);
  p.Message(WM_MBUTTONDBLCLK, &TControl::WMMButtonDblClk);
  p.Message(WM_MOUSEMOVE, &TControl::WMMouseMove);
  p.Message(WM_MOUSEWHEEL, &TControl::WMMouseWheel);
  p.Message(WM_CONTEXTMENU, &TControl::WMContextMenu);
  p.Message(WM_CANCELMODE, &TControl::WMCancelMode);
  p.Message(WM_WINDOWPOSCHANGED, &TControl::WMWindowPosChanged);
  p.Message(CM_ENABLEDCHANGED, &TControl::CMEnabledChanged);
  p.Message(CM_VISIBLECHANGED, &TControl::CMVisibleChanged);
  p.Message(CM_FONTCHANGED, &TControl::CMFontChanged);
  p.Message(CM_COLORCHANGED, &TControl::CMColorChanged);
  p.Message(CM_TEXTCHANGED, &TControl::CMTextChanged);
  p.Message(CM_PARENTFONTCHANGED, &TControl::CMParentFontChanged);
  p.Message(CM_PARENTCOLORCHANGED, &TControl::CMParentColorChanged);
  p.Message(CM_PARENTSHOWHINTCHANGED, &TControl::CMParentShowHintChanged);
  p.Message(CM_MOUSEENTER, &TControl::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &TControl::CMMouseLeave);
  p.Message(CM_HITTEST, &TControl::CMHitTest);
  p.Message(CM_HINTSHOW, &TControl::CMHintShow);
  p.Message(CM_SYSCOLORCHANGE, &TControl::CMSysColorChange);
  p.Message(CM_CURSORCHANGED, &TControl::CMCursorChanged);
  p.Message(CM_DIALOGKEY, &TControl::CMDialogKey);
  p.Message(CM_DIALOGCHAR, &TControl::CMDialogChar);
  p.Message(CM_FOCUSCHANGED, &TControl::CMFocusChanged);
  p.Message(CM_BUTTONPRESSED, &TControl::CMButtonPressed);
  p.Message(CM_MOUSEWHEEL, &TControl::CMMouseWheel);
  p.Property(L"Left", &TControl::GetLeft, &TControl::SetLeft);
  p.Property(L"Top", &TControl::GetTop, &TControl::SetTop);
  p.Property(L"Width", &TControl::GetWidth, &TControl::SetWidth);
  p.Property(L"Height", &TControl::GetHeight, &TControl::SetHeight);
  p.Property(L"Align", &TControl::GetAlign, &TControl::SetAlign).Default(alNone);
  p.Property(L"Anchors", &TControl::GetAnchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
  p.Property(L"Constraints", &TControl::GetConstraints);
  p.Property(L"AutoSize", &TControl::GetAutoSize, &TControl::SetAutoSize).Default(false);
  p.Property(L"Enabled", &TControl::GetEnabled, &TControl::SetEnabled).Default(true);
  p.Property(L"Visible", &TControl::GetVisible, &TControl::SetVisible).Default(true);
  p.Property(L"Color", &TControl::GetColor, &TControl::SetColor).Stored(&TControl::IsColorStored).Idents(ColorIdents);
  p.Property(L"ParentColor", &TControl::GetParentColor, &TControl::SetParentColor);
  p.Property(L"Font", &TControl::GetFont, &TControl::SetFont).Stored(&TControl::IsFontStored);
  p.Property(L"ParentFont", &TControl::GetParentFont, &TControl::SetParentFont);
  p.Property(L"Cursor", &TControl::GetCursor, &TControl::SetCursor).Default(crDefault).Idents(CursorIdents);
  p.Property(L"Hint", &TControl::GetHint, &TControl::SetHint);
  p.Property(L"ShowHint", &TControl::GetShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored);
  p.Property(L"ParentShowHint", &TControl::GetParentShowHint, &TControl::SetParentShowHint).Default(true);
  p.Property(L"HelpKeyword", &TControl::GetHelpKeyword, &TControl::SetHelpKeyword);
  p.Property(L"HelpContext", &TControl::GetHelpContext, &TControl::SetHelpContext).Default(0);
  p.Property(L"PopupMenu", &TControl::GetPopupMenuComponent, &TControl::SetPopupMenuComponent);
  p.Property(L"DragMode", &TControl::GetDragMode, &TControl::SetDragMode).Default(dmManual);
  p.Property(L"BiDiMode", &TControl::GetBiDiMode, &TControl::SetBiDiMode).Default(bdLeftToRight);
  p.Property(L"Action", &TControl::GetAction, &TControl::SetAction);
  p.Property(L"OnClick", &TControl::OnClick);
  p.Property(L"OnDblClick", &TControl::OnDblClick);
  p.Property(L"OnMouseDown", &TControl::OnMouseDown);
  p.Property(L"OnMouseMove", &TControl::OnMouseMove);
  p.Property(L"OnMouseUp", &TControl::OnMouseUp);
  p.Property(L"OnMouseWheel", &TControl::OnMouseWheel);
  p.Property(L"OnMouseWheelDown", &TControl::OnMouseWheelDown);
  p.Property(L"OnMouseWheelUp", &TControl::OnMouseWheelUp);
  p.Property(L"OnResize", &TControl::OnResize);
  p.Property(L"OnCanResize", &TControl::OnCanResize);
  p.Property(L"OnContextPopup", &TControl::OnContextPopup);
  p.Property(L"OnStartDrag", &TControl::OnStartDrag);
  p.Property(L"OnDragOver", &TControl::OnDragOver);
  p.Property(L"OnDragDrop", &TControl::OnDragDrop);
  p.Property(L"OnEndDrag", &TControl::OnEndDrag);
}

HCURSOR CursorHandle(TCursor cursor) {
  const wchar_t* id = IDC_ARROW;
  switch (cursor) {
    case crNone: return nullptr;
    case crCross: id = IDC_CROSS; break;
    case crIBeam: id = IDC_IBEAM; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeNS: id = IDC_SIZENS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeWE: id = IDC_SIZEWE; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crNo: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    default: break;
  }
  return LoadCursorW(nullptr, id);
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s << ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s << ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s << ssAlt;
  if (GetKeyState(VK_LBUTTON) < 0) s << ssLeft;
  if (GetKeyState(VK_RBUTTON) < 0) s << ssRight;
  if (GetKeyState(VK_MBUTTON) < 0) s << ssMiddle;
  return s;
}

TShiftState KeyDataToShiftState(intptr_t keyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s << ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s << ssCtrl;
  // Bit 29 of a key message's data: Alt was down.
  if ((keyData & 0x20000000) != 0) s << ssAlt;
  return s;
}

TShiftState MouseKeysToShiftState(uintptr_t keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s << ssShift;
  if (keys & MK_CONTROL) s << ssCtrl;
  if (keys & MK_LBUTTON) s << ssLeft;
  if (keys & MK_RBUTTON) s << ssRight;
  if (keys & MK_MBUTTON) s << ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s << ssAlt;
  return s;
}

// --- size constraints

void TSizeConstraints::SetMinWidth(int v) { if (v != FMinWidth) { FMinWidth = std::max(0, v); Changed(); } }
void TSizeConstraints::SetMinHeight(int v) { if (v != FMinHeight) { FMinHeight = std::max(0, v); Changed(); } }
void TSizeConstraints::SetMaxWidth(int v) { if (v != FMaxWidth) { FMaxWidth = std::max(0, v); Changed(); } }
void TSizeConstraints::SetMaxHeight(int v) { if (v != FMaxHeight) { FMaxHeight = std::max(0, v); Changed(); } }

void TSizeConstraints::Assign(const TPersistent* source) {
  if (auto* c = dynamic_cast<const TSizeConstraints*>(source)) {
    FMinWidth = c->FMinWidth;
    FMinHeight = c->FMinHeight;
    FMaxWidth = c->FMaxWidth;
    FMaxHeight = c->FMaxHeight;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TSizeConstraints::Apply(int& width, int& height) const {
  if (FMaxWidth > 0 && width > FMaxWidth) width = FMaxWidth;
  if (FMinWidth > 0 && width < FMinWidth) width = FMinWidth;
  if (FMaxHeight > 0 && height > FMaxHeight) height = FMaxHeight;
  if (FMinHeight > 0 && height < FMinHeight) height = FMinHeight;
}

void TSizeConstraints::Changed() {
  if (FControl) FControl->SetBounds(FControl->GetLeft(), FControl->GetTop(), FControl->GetWidth(), FControl->GetHeight());
}

// --- TControl

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FConstraints(new TSizeConstraints(this)), FFont(new TFont) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
}

TControl::~TControl() {
  if (Application) Application->ControlDestroying(this);
  if (gMouseControl == this) gMouseControl = nullptr;
  if (gCaptureControl == this) SetCaptureControl(nullptr);
  if (FParent) FParent->RemoveControl(this);
}

intptr_t TControl::Perform(unsigned msg, uintptr_t wParam, intptr_t lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  if (DragMessage(m)) return;
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL && m.Msg != WM_MOUSEHWHEEL) {
    // Without double clicks a double click is a second press.
    if (!ControlStyle.Contains(csDoubleClicks)) {
      switch (m.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN; break;
      }
    }
    switch (m.Msg) {
      case WM_MOUSEMOVE: HintMouseMessage(this, m); break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (FDragMode == dmAutomatic) {
          BeginDrag(false);
          return;
        }
        ControlState << csLButtonDown;
        break;
      case WM_LBUTTONUP: ControlState >> csLButtonDown; break;
    }
  }
  Dispatch(&m);
}

// What no class of the chain handles.
void TControl::DefaultHandler(void* message) { DefWndHandler(*static_cast<TMessage*>(message)); }

void TControl::DefWndHandler(TMessage& m) {
  // A windowless control answers the text messages from its caption.
  switch (m.Msg) {
    case WM_GETTEXTLENGTH: m.Result = static_cast<intptr_t>(FText.size()); break;
    case WM_GETTEXT: {
      auto* buf = reinterpret_cast<wchar_t*>(m.LParam);
      const size_t cap = m.WParam;
      if (!buf || cap == 0) break;
      const size_t n = std::min(cap - 1, FText.size());
      FText.copy(buf, n);
      buf[n] = 0;
      m.Result = static_cast<intptr_t>(n);
      break;
    }
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<const wchar_t*>(m.LParam);
      FText = text ? text : L"";
      Perform(CM_TEXTCHANGED);
      m.Result = 1;
      break;
    }
    default: break;
  }
}

// --- geometry

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (parent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (!CanResize(width, height)) {
    width = FWidth;
    height = FHeight;
  }
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  const bool sized = width != FWidth || height != FHeight;
  Invalidate();
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
  UpdateAnchorRules();
  Invalidate();
  BoundsChanged();
  Perform(WM_WINDOWPOSCHANGED);
  RequestAlign();
  if (sized && !ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }

void TControl::SetClientWidth(int v) { SetWidth(v); }
void TControl::SetClientHeight(int v) { SetHeight(v); }

TPoint TControl::GetClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  TPoint p = FParent->GetClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = GetClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = GetClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign v) {
  if (v == FAlign) return;
  const TAlign old = FAlign;
  FAlign = v;
  // An aligned control follows its parent; one left alone keeps its place.
  if (old != alNone && v == alNone) UpdateAnchorRules();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors v) {
  if (v == FAnchors) return;
  FAnchors = v;
  UpdateAnchorRules();
}

void TControl::SetAutoSize(bool v) {
  if (v == FAutoSize) return;
  FAutoSize = v;
  if (v) AdjustSize();
}

bool TControl::CanAutoSize(int&, int&) { return true; }

bool TControl::CanResize(int& newWidth, int& newHeight) {
  FConstraints->Apply(newWidth, newHeight);
  bool resize = true;
  if (OnCanResize) OnCanResize(this, newWidth, newHeight, resize);
  if (resize && FAutoSize) {
    int w = newWidth, h = newHeight;
    if (CanAutoSize(w, h)) {
      newWidth = w;
      newHeight = h;
    }
  }
  return resize;
}

void TControl::AdjustSize() {
  if (ComponentState().Contains(csLoading)) return;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  auto scale = [&](int v) { return static_cast<int>(static_cast<long long>(v) * M / D); };
  const int left = scale(FLeft), top = scale(FTop);
  SetBounds(left, top, scale(FLeft + FWidth) - left, scale(FTop + FHeight) - top);
  if (!FParentFont) FFont->SetSize(scale(FFont->GetSize()));
}

void TControl::UpdateAnchorRules() {
  if (!FParent || FParent->FAligning) return;
  const TRect client = FParent->GetClientRect();
  const int w = client.Width(), h = client.Height();
  FAnchorParentWidth = w;
  FAnchorParentHeight = h;
  FAnchorRight = w - (FLeft + FWidth);
  FAnchorBottom = h - (FTop + FHeight);
  FAnchorCenterX = w > 0 ? (FLeft + FWidth / 2.0) / w : 0;
  FAnchorCenterY = h > 0 ? (FTop + FHeight / 2.0) / h : 0;
}

void TControl::RequestAlign() {
  if (FParent && (FAlign != alNone || FParent->FAlignLevel > 0 || FParent->GetAutoSize()))
    FParent->AlignControl(this);
}

// --- appearance

void TControl::SetVisible(bool v) {
  if (v == FVisible) return;
  FVisible = v;
  Perform(CM_VISIBLECHANGED, v ? 1 : 0);
  RequestAlign();
}

bool TControl::Showing() const { return GetVisible() && FParent && FParent->Showing(); }

void TControl::Show() {
  if (FParent) FParent->ShowControl(this);
  SetVisible(true);
}

void TControl::SetEnabled(bool v) {
  if (v == FEnabled) return;
  FEnabled = v;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::wstring& v) {
  if (GetText() == v) return;
  // Through WM_SETTEXT, so a window and its watchers see the change as usual.
  Perform(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(v.c_str()));
}

std::wstring TControl::GetText() const { return FText; }

void TControl::SetColor(TColor v) {
  if (v == FColor) {
    FParentColor = false;
    return;
  }
  FColor = v;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  if (v == FParentColor) return;
  FParentColor = v;
  if (v && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool v) {
  if (v == FParentFont) return;
  FParentFont = v;
  if (v && FParent && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  // A font set on the control is its own; one taken from the parent is not.
  if (!FUpdatingFont) FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetCursor(TCursor v) {
  if (v == FCursor) return;
  FCursor = v;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool v) {
  if (v == FShowHint) {
    FParentShowHint = false;
    return;
  }
  FShowHint = v;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool v) {
  if (v == FParentShowHint) return;
  FParentShowHint = v;
  if (v && FParent) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenuComponent(TComponent* v) {
  if (v == FPopupMenu) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = v;
  if (v) v->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove) {
    if (component == FPopupMenu) FPopupMenu = nullptr;
  }
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* parent = dynamic_cast<TWinControl*>(value)) SetParent(parent);
}

bool TControl::IsColorStored() const { return !FParentColor; }
bool TControl::IsFontStored() const { return !FParentFont; }
bool TControl::IsShowHintStored() const { return !FParentShowHint; }

void TControl::Loaded() {
  TComponent::Loaded();
  // Values read from a form: take the parent's font and colour where asked.
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED);
  }
  UpdateAnchorRules();
  if (FAutoSize) AdjustSize();
  if (TBasicAction* action = GetAction()) ActionChange(action, true);
}

std::wstring TControl::GetShortHint() const {
  const auto bar = FHint.find(L'|');
  return bar == std::wstring::npos ? FHint : FHint.substr(0, bar);
}

bool TControl::WantsHint() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FParentShowHint) return c->FShowHint;
  return false;
}

// --- behaviour

bool TControl::GetMouseCapture() const { return gCaptureControl == this; }

void TControl::SetMouseCapture(bool v) {
  if (v == GetMouseCapture()) return;
  SetCaptureControl(v ? this : nullptr);
}

void TControl::Click() {
  // The action runs through the link unless the control has an OnClick of its own.
  TBasicAction* action = GetAction();
  if (OnClick && (!action || OnClick != action->GetOnExecute())) {
    OnClick(this);
  } else if (action) {
    FActionLink->Execute(this);
  } else if (OnClick) {
    OnClick(this);
  }
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

HWND TControl::GetDeviceWindow() const {
  return FParent ? FParent->FHandle : nullptr;
}

void TControl::Invalidate() {
  if (!FParent || !FParent->HandleAllocated() || !GetVisible()) return;
  RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
  const bool erase = !ControlStyle.Contains(csOpaque) && !FParent->DoubleBuffered;
  InvalidateRect(FParent->FHandle, &r, erase ? TRUE : FALSE);
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  if (!GetVisible() || !FParent || !FParent->HandleAllocated()) return;
  if (ControlStyle.Contains(csOpaque)) {
    // Paints itself whole: draw it now, straight on the parent's window.
    HDC dc = GetDC(FParent->FHandle);
    IntersectClipRect(dc, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    FParent->PaintControls(dc, this);
    ReleaseDC(FParent->FHandle, dc);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    SetWindowPos(w->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// --- mouse

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra) {
  if (!ControlStyle.Contains(csNoStdEvents))
    MouseDown(button, MouseKeysToShiftState(m.WParam) + extra, m.XPos(), m.YPos());
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
  if (!ControlStyle.Contains(csNoStdEvents)) MouseUp(button, MouseKeysToShiftState(m.WParam), m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TMessage& m) {
  DefWndHandler(m);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (ControlStyle.Contains(csClickEvents)) ControlState << csClicked;
  DoMouseDown(m, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& m) {
  DefWndHandler(m);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
  // The first press of the pair gave Click already: this one gives DblClick only.
  if (ControlStyle.Contains(csClickEvents)) DblClick();
  DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& m) {
  DefWndHandler(m);
  if (ControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (ControlState.Contains(csClicked)) {
    ControlState >> csClicked;
    if (GetClientRect().Contains({m.XPos(), m.YPos()})) Click();
  }
  DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonDown(TMessage& m) {
  DefWndHandler(m);
  DoMouseDown(m, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& m) {
  DefWndHandler(m);
  DoMouseUp(m, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& m) {
  DefWndHandler(m);
  DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& m) {
  DefWndHandler(m);
  DoMouseDown(m, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& m) {
  DefWndHandler(m);
  DoMouseUp(m, mbMiddle);
}

void TControl::WMMButtonDblClk(TMessage& m) {
  DefWndHandler(m);
  DoMouseDown(m, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TMessage& m) {
  DefWndHandler(m);
  if (!ControlStyle.Contains(csNoStdEvents)) MouseMove(MouseKeysToShiftState(m.WParam), m.XPos(), m.YPos());
}

void TControl::WMMouseWheel(TMessage& m) {
  m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
  // Not taken: the window's default passes it on to the parent window.
  if (m.Result == 0) DefWndHandler(m);
}

void TControl::CMMouseWheel(TMessage& m) {
  const auto delta = static_cast<int16_t>(m.WParamHi());
  const TShiftState shift = MouseKeysToShiftState(m.WParamLo());
  m.Result = DoMouseWheel(shift, delta, {m.XPos(), m.YPos()}) ? 1 : 0;
}

bool TControl::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, shift, wheelDelta, mousePos, handled);
  if (handled) return true;
  if (wheelDelta < 0) return DoMouseWheelDown(shift, mousePos);
  if (wheelDelta > 0) return DoMouseWheelUp(shift, mousePos);
  return false;
}

bool TControl::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, shift, mousePos, handled);
  return handled;
}

bool TControl::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  bool handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, shift, mousePos, handled);
  return handled;
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

void TControl::WMContextMenu(TMessage& m) {
  if (m.Result != 0) return;
  TPoint screen{m.XPos(), m.YPos()};
  TPoint local;
  if (screen.X == -1 && screen.Y == -1) {
    // From the keyboard: at the control's middle.
    local = {FWidth / 2, FHeight / 2};
    screen = ClientToScreen(local);
  } else {
    local = ScreenToClient(screen);
  }
  bool handled = false;
  DoContextPopup(local, handled);
  if (handled) {
    m.Result = 1;
    return;
  }
  if (FPopupMenu && PopupMenuHandler && PopupMenuHandler(GetPopupMenu(), this, screen)) {
    m.Result = 1;
    return;
  }
  DefWndHandler(m);
}

bool (*PopupMenuHandler)(TPopupMenu* menu, TControl* control, TPoint screenPos) = nullptr;

void TControl::WMCancelMode(TMessage& m) {
  DefWndHandler(m);
  if (GetMouseCapture()) {
    SetMouseCapture(false);
    if (ControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, PointToLParam(-1, -1));
  } else {
    ControlState >> csLButtonDown;
  }
}

void TControl::WMWindowPosChanged(TMessage& m) { DefWndHandler(m); }

// --- component messages

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) {
  // Hidden or shown: the parent repaints the place either way.
  if (FParent && FParent->HandleAllocated()) {
    RECT r{FLeft, FTop, FLeft + FWidth, FTop + FHeight};
    InvalidateRect(FParent->FHandle, &r, TRUE);
  }
}
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }

void TControl::CMParentFontChanged(TMessage& m) {
  if (!FParentFont || !FParent) return;
  {
    FUpdatingFont = true;
    const TOnExit updated([this] { FUpdatingFont = false; });
    FFont->Assign(m.WParam ? reinterpret_cast<TFont*>(m.LParam) : FParent->GetFont());
  }
  FParentFont = true;
  ParentFontChanged();
}

void TControl::CMParentColorChanged(TMessage& m) {
  if (!FParentColor || !FParent) return;
  const TColor c = m.WParam ? static_cast<TColor>(m.LParam) : FParent->GetColor();
  if (c != FColor) {
    FColor = c;
    Perform(CM_COLORCHANGED);
  }
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (FParentShowHint && FParent) {
    FShowHint = FParent->GetShowHint();
    FParentShowHint = true;
  }
}

void TControl::CMMouseEnter(TMessage&) {}
void TControl::CMMouseLeave(TMessage&) {}
void TControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }
void TControl::CMHintShow(TMessage&) {}
void TControl::CMSysColorChange(TMessage&) { Invalidate(); }
void TControl::CMCursorChanged(TMessage&) {}
void TControl::CMDialogKey(TMessage&) {}
void TControl::CMDialogChar(TMessage&) {}
void TControl::CMFocusChanged(TMessage&) {}
void TControl::CMButtonPressed(TMessage&) {}

// --- drag (the in-list reordering the program's lists use)

namespace {

struct DragState {
  TControl* source = nullptr;
  TControl* over = nullptr;
  TPoint start;
  int threshold = 0;
  bool started = false;
};
DragState gDrag;

}  // namespace

// The drag is tracked in the source's own messages (it holds the capture), so
// BeginDrag returns at once and the loop that runs goes on serving everything else.
void TControl::BeginDrag(bool immediate, int threshold) {
  if (gDrag.source) return;
  gDrag = {};
  gDrag.source = this;
  gDrag.start = Mouse->CursorPos();
  gDrag.threshold = threshold < 0 ? 5 : threshold;
  gDrag.started = immediate;
  SetMouseCapture(true);
  if (immediate) {
    TObject* obj = nullptr;
    DoStartDrag(obj);
  }
}

// The cursor moved while dragging: start past the threshold, then tell the
// controls it leaves, enters and moves over.
void TControl::DragMouseMove() {
  const TPoint pos = Mouse->CursorPos();
  if (!gDrag.started && (std::abs(pos.X - gDrag.start.X) >= gDrag.threshold ||
                         std::abs(pos.Y - gDrag.start.Y) >= gDrag.threshold)) {
    gDrag.started = true;
    TObject* obj = nullptr;
    DoStartDrag(obj);
  }
  if (!gDrag.started || gDrag.source != this) return;
  TControl* target = FindDragTarget(pos, false);
  bool accept = false;
  if (target != gDrag.over) {
    if (gDrag.over) {
      const TPoint p = gDrag.over->ScreenToClient(pos);
      gDrag.over->DragOver(this, p.X, p.Y, dsDragLeave, accept);
    }
    gDrag.over = target;
    if (target) {
      const TPoint p = target->ScreenToClient(pos);
      target->DragOver(this, p.X, p.Y, dsDragEnter, accept);
    }
  } else if (target) {
    const TPoint p = target->ScreenToClient(pos);
    target->DragOver(this, p.X, p.Y, dsDragMove, accept);
  }
}

// The drag's part of a message: true when the message ends there.
bool TControl::DragMessage(TMessage& m) {
  if (!gDrag.source) return false;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (gDrag.source == this) DragMouseMove();
      return false;
    case WM_LBUTTONUP:
      // The release ends the drag and then takes its usual way (the press ends).
      if (gDrag.source == this) {
        DragMouseMove();
        // A drop is no click.
        if (gDrag.started) ControlState >> csClicked;
        EndDrag(gDrag.started);
      }
      return false;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      if (gDrag.source == this) gDrag.source->EndDrag(false);
      return false;
    case CN_KEYDOWN:
    case WM_KEYDOWN:
      if (m.WParam != VK_ESCAPE) return false;
      gDrag.source->EndDrag(false);
      return true;
  }
  return false;
}

void TControl::EndDrag(bool drop) {
  if (gDrag.source != this) return;
  const TPoint pos = Mouse->CursorPos();
  TControl* target = gDrag.started ? FindDragTarget(pos, false) : nullptr;
  gDrag = {};
  SetMouseCapture(false);
  TPoint p{};
  if (target) {
    p = target->ScreenToClient(pos);
    bool accept = false;
    target->DragOver(this, p.X, p.Y, dsDragMove, accept);
    if (drop && accept) {
      target->DragDrop(this, p.X, p.Y);
    } else {
      target = nullptr;
    }
  }
  DoEndDrag(target, p.X, p.Y);
}

bool TControl::Dragging() const { return gDrag.source == this; }

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  accept = false;
  if (OnDragOver) {
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
  }
}

void TControl::DragDrop(TObject* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag(TObject*& dragObject) {
  if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}

// --- lookups

namespace {

const wchar_t kControlProp[] = L"QornVclControl";

}  // namespace

const wchar_t* ControlPropName() { return kControlProp; }

TWinControl* FindControl(HWND wnd) {
  if (!wnd) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  if (pid != GetCurrentProcessId()) return nullptr;
  return static_cast<TWinControl*>(GetPropW(wnd, kControlProp));
}

TControl* FindDragTarget(TPoint pos, bool allowDisabled) {
  HWND wnd = WindowFromPoint(POINT{pos.X, pos.Y});
  TWinControl* win = FindControl(wnd);
  if (!win) return nullptr;
  TControl* inner = win->ControlAtPos(win->ScreenToClient(pos), allowDisabled);
  return inner ? inner : win;
}

TControl* FindVCLWindow(TPoint pos) { return FindControl(WindowFromPoint(POINT{pos.X, pos.Y})); }

TCustomForm* GetParentForm(TControl* control) {
  while (control && control->GetParent()) control = control->GetParent();
  return dynamic_cast<TCustomForm*>(control);
}

TControl* MouseControl() { return gMouseControl; }

TControl* MouseTargetAt(TPoint screenPos) { return FindDragTarget(screenPos, true); }

void UpdateMouseControl(TControl* control) {
  if (control == gMouseControl) return;
  TControl* old = gMouseControl;
  gMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(old));
  // The leave handler may have moved on already.
  if (control && gMouseControl == control) control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<intptr_t>(control));
}

TControl* CaptureControl() { return gCaptureControl; }

void SetCaptureControl(TControl* control) {
  gCaptureControl = nullptr;
  if (!control) {
    if (GetCapture()) ReleaseCapture();
    return;
  }
  HWND wnd = nullptr;
  if (auto* w = dynamic_cast<TWinControl*>(control))
    wnd = w->GetHandle();
  else if (control->GetParent())
    wnd = control->GetParent()->GetHandle();
  if (!wnd) return;
  SetCapture(wnd);
  gCaptureControl = control;
}

TPoint TMouse::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void TMouse::SetCursorPos(TPoint p) const { ::SetCursorPos(p.X, p.Y); }

int TMouse::WheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return lines == WHEEL_PAGESCROLL ? -1 : static_cast<int>(lines);
}
