// Control base classes: TControl (bounds, look, mouse), TWinControl (a window,
// children, focus, keys), TGraphicControl (windowless, painted and fed by its
// parent) and TCustomControl (a window with a Canvas and Paint).
//
// Messages: one road. Every message, from a window, Perform or Broadcast, goes
//   WindowProc -> WndProc -> Dispatch -> the handler of the nearest class that
//   declares one -> (its inherited call) ... -> DefaultHandler -> DefWndHandler.
// - WindowProc is replaceable, to watch or filter one control's messages from outside.
// - WndProc only routes: mouse messages to a windowless child under the point or
//   holding the capture (the child's own road then takes them), double clicks folded
//   into presses, enter/leave and hint tracking. Override it only to see every message
//   first, and call the inherited WndProc.
// - Handlers are the class's message table, declared in Publish, for any message
//   (WM_*, CM_*, CN_*, private ones):
//       p.Message(WM_PAINT, &TMyControl::WMPaint);
//   The library's handlers (WMPaint, CMFontChanged, CNCommand...) are ordinary
//   methods in those tables, not virtual: a subclass declares its own entry and calls
//       QORN_INHERITED(m);
//   for what its ancestors do with the message (their handler, or the default), as
//   the platform's `inherited` in a message method. Naming a base handler directly
//   (TWinControl::WMPaint(m)) skips the classes in between: prefer QORN_INHERITED.
// - DefWndHandler is what no handler takes: for a window its class's own procedure.
//
// Thin wrappers of standard controls set the class in CreateParams:
//
//   void TMyEdit::CreateParams(TCreateParams& params) {
//     TWinControl::CreateParams(params);
//     CreateSubClass(params, L"EDIT");
//     params.Style |= ES_AUTOHSCROLL;
//   }
//   void TMyEdit::CNCommand(TMessage& m) { if (HIWORD(m.WParam) == EN_CHANGE) Change(); }
//
// WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* and scroll
// messages of a child window come back to the child's object as CN_*.
//
// A setter of anything that frames a control (bevels, border width, border style)
// stores the value and sends CM_BORDERCHANGED; the handlers of that message redraw
// the frame, realign and refit, so a subclass that draws its own border hears of it.
//
// A windowed control's state (text, bounds, visibility...) lives in the object,
// so DestroyWnd/CreateWnd (RecreateWnd) keep it; controls with more state in the
// window (items of a list) save it in DestroyWnd and restore it in CreateWnd.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Exceptions.h"
#include "vcl/Graphics.h"
#include "vcl/Messages.h"
#include "vcl/Win.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TCustomForm;
class TControlCanvas;
class TControl;
class TBasicAction;
class TControlActionLink;

LRESULT CALLBACK ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
class TPopupMenu;

QORN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom);
QORN_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter);
QORN_ENUM(TAnchorKind, akLeft, akTop, akRight, akBottom);
using TAnchors = TSet<TAnchorKind>;

// A call that does not fit the control's state (focusing a hidden control...).
VCL_DECLARE_EXCEPTION(EInvalidOperation, Exception);

enum TShiftStateKind { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateKind>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

QORN_ENUM(TDragMode, dmManual, dmAutomatic);
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
QORN_ENUM(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly);

// Cursors are numbers written by name in forms ("crHandPoint").
using TCursor = int;
extern const TIdentMap CursorIdents;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
// The system cursor of a TCursor value (nullptr for crNone).
HCURSOR CursorHandle(TCursor cursor);

// Control style: what a control is. The flags that act are noted; the others are
// kept for controls that set them.
enum TControlStyleKind {
  csAcceptsControls,  // may be a parent of controls read from a form
  csCaptureMouse,     // takes the mouse capture while a button is down
  csDesignInteractive,
  csClickEvents,      // a press and release inside gives Click
  csFramed,
  csSetCaption,
  csOpaque,           // paints its whole area: the parent skips it, no erasing
  csDoubleClicks,     // a double click gives DblClick (else a second press)
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
};
using TControlStyle = TSet<TControlStyleKind>;

enum TControlStateKind {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
};
using TControlState = TSet<TControlStateKind>;

using TMouseEvent = TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
// Named apart from the key engine's TKeyEvent (one event of the keyboard hook).
using TKeyUpDownEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, wchar_t& Key)>;
using TMouseWheelEvent =
    TEvent<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = TEvent<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TContextPopupEvent = TEvent<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TStartDragEvent = TEvent<void(TObject* Sender, TObject*& DragObject)>;
using TDragOverEvent =
    TEvent<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = TEvent<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = TEvent<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TCanResizeEvent = TEvent<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;

// The shift state of the keyboard and mouse buttons now, and of a key message's data.
TShiftState KeyboardStateToShiftState();
TShiftState KeyDataToShiftState(intptr_t keyData);
// The shift state in a mouse message's WParam.
TShiftState MouseKeysToShiftState(uintptr_t keys);

// Size limits of a control (0 = none).
class TSizeConstraints : public TPersistent {
  QORN_CLASS(TSizeConstraints, TPersistent)
 public:
  explicit TSizeConstraints(TControl* control) : FControl(control) {}
  int GetMinWidth() const { return FMinWidth; }
  int GetMinHeight() const { return FMinHeight; }
  int GetMaxWidth() const { return FMaxWidth; }
  int GetMaxHeight() const { return FMaxHeight; }
  void SetMinWidth(int v);
  void SetMinHeight(int v);
  void SetMaxWidth(int v);
  void SetMaxHeight(int v);
  void Assign(const TPersistent* source) override;
  // The size after the limits.
  void Apply(int& width, int& height) const;

 private:
  static void Publish(TPublisher<TSizeConstraints>& p);
  void Changed();
  TControl* FControl;
  int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// What CreateParams gives CreateWnd.
struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSW WindowClass{};
  std::wstring WinClassName;
};

// Passed with CM_HINTSHOW (LParam = THintInfo*): a control may change the text,
// the rectangle the hint stays for and where it shows, or cancel with Result = 1.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos;
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;
  TPoint CursorPos;
  std::wstring HintStr;
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  void* HintData = nullptr;
};

class TControl : public TComponent {
  QORN_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // --- messages
  std::function<void(TMessage&)> WindowProc;
  virtual void WndProc(TMessage& message);
  // What no handler of the class chain takes: DefWndHandler.
  void DefaultHandler(void* message) override;
  // What no handler took: for a window its class's procedure.
  virtual void DefWndHandler(TMessage& message);
  intptr_t Perform(unsigned msg, uintptr_t wParam = 0, intptr_t lParam = 0);

  // --- geometry
  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect GetClientRect() const;
  int GetClientWidth() const { return GetClientRect().Width(); }
  int GetClientHeight() const { return GetClientRect().Height(); }
  virtual void SetClientWidth(int v);
  virtual void SetClientHeight(int v);
  // The client area's origin on the screen.
  virtual TPoint GetClientOrigin() const;
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign v);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors v);
  TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
  void SetConstraints(TSizeConstraints* v) { FConstraints->Assign(v); }
  bool GetAutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool v);
  // Asked by AdjustSize: the size the control wants; false keeps the size.
  virtual bool CanAutoSize(int& newWidth, int& newHeight);
  virtual bool CanResize(int& newWidth, int& newHeight);
  virtual void AdjustSize();
  void ScaleBy(int M, int D) { ChangeScale(M, D); }
  virtual void ChangeScale(int M, int D);
  // Keeps the distances to the parent's edges the anchors hold to.
  void UpdateAnchorRules();

  // --- appearance
  // Every question the library asks about a control's visibility (alignment,
  // painting, hit tests, Showing) goes through GetVisible.
  virtual bool GetVisible() const { return FVisible; }
  virtual void SetVisible(bool v);
  // Lets the parents bring the control into view first (a page control turns to
  // the page holding it: ShowControl), then makes it visible.
  void Show();
  void Hide() { SetVisible(false); }
  // Visible itself and all its parents (a form: its window is shown).
  virtual bool Showing() const;
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool v);
  std::wstring GetCaption() const { return GetText(); }
  void SetCaption(const std::wstring& v) { SetText(v); }
  void SetText(const std::wstring& v);
  virtual std::wstring GetText() const;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v);
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor v);
  std::wstring GetHint() const { return FHint; }
  void SetHint(const std::wstring& v) { FHint = v; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool v);
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool v);
  std::wstring GetHelpKeyword() const { return FHelpKeyword; }
  void SetHelpKeyword(const std::wstring& v) { FHelpKeyword = v; }
  int GetHelpContext() const { return FHelpContext; }
  void SetHelpContext(int v) { FHelpContext = v; }
  // The menu class lives in the menus unit; a control keeps it as a component
  // (single inheritance: a TPopupMenu is a TComponent at the same address).
  TPopupMenu* GetPopupMenu() const { return reinterpret_cast<TPopupMenu*>(FPopupMenu); }
  void SetPopupMenu(TPopupMenu* v) { SetPopupMenuComponent(reinterpret_cast<TComponent*>(v)); }
  TComponent* GetPopupMenuComponent() const { return FPopupMenu; }
  void SetPopupMenuComponent(TComponent* v);
  TBiDiMode GetBiDiMode() const { return bdLeftToRight; }
  // Right-to-left is never on; a control may still react to the call.
  virtual void SetBiDiMode(TBiDiMode) {}
  bool UseRightToLeftAlignment() const { return false; }
  bool UseRightToLeftReading() const { return false; }
  unsigned DrawTextBiDiModeFlags(unsigned flags) const { return flags; }
  unsigned DrawTextBiDiModeFlagsReadingOnly() const { return 0; }
  // --- the action (vcl/ActnList.h has the rules): reached through the link the
  // control owns, made by CreateActionLink; nullptr clears it.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  TControlActionLink* GetActionLink() const { return FActionLink.get(); }
  // Lets the action update itself (OnUpdate) before the control is next seen.
  virtual void InitiateAction();

  // --- behaviour
  TControlStyle ControlStyle;
  TControlState ControlState;
  bool GetMouseCapture() const;
  void SetMouseCapture(bool v);
  virtual void Click();
  virtual void DblClick();
  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  TDragMode GetDragMode() const { return FDragMode; }
  void SetDragMode(TDragMode v) { FDragMode = v; }
  // Starts dragging (at once, or once the cursor moved threshold pixels) and
  // returns: the drag follows the source's mouse messages until the release drops it
  // (or Esc, a lost capture cancels it).
  void BeginDrag(bool immediate, int threshold = -1);
  void EndDrag(bool drop);
  bool Dragging() const;
  // The hint text before "|".
  std::wstring GetShortHint() const;
  // True when the control or its parent chain asks for hints.
  bool WantsHint() const;

  // --- events
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TContextPopupEvent OnContextPopup;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

  // --- handlers (message table entries; see the top of this file)
  void WMLButtonDown(TMessage& m);
  void WMLButtonUp(TMessage& m);
  void WMLButtonDblClk(TMessage& m);
  void WMRButtonDown(TMessage& m);
  void WMRButtonUp(TMessage& m);
  void WMRButtonDblClk(TMessage& m);
  void WMMButtonDown(TMessage& m);
  void WMMButtonUp(TMessage& m);
  void WMMButtonDblClk(TMessage& m);
  void WMMouseMove(TMessage& m);
  void WMMouseWheel(TMessage& m);
  void WMContextMenu(TMessage& m);
  void WMCancelMode(TMessage& m);
  void WMWindowPosChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMVisibleChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMColorChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMParentFontChanged(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void CMParentShowHintChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMHitTest(TMessage& m);
  void CMHintShow(TMessage& m);
  void CMSysColorChange(TMessage& m);
  void CMCursorChanged(TMessage& m);
  void CMDialogKey(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMFocusChanged(TMessage& m);
  void CMButtonPressed(TMessage& m);
  void CMMouseWheel(TMessage& m);

  void Loaded() override;
  // Forms: a control read inside another one becomes its child.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
  virtual bool DoMouseWheelDown(TShiftState shift, TPoint mousePos);
  virtual bool DoMouseWheelUp(TShiftState shift, TPoint mousePos);
  virtual void DoContextPopup(TPoint mousePos, bool& handled);
  virtual void Resize();
  virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
  virtual void DragDrop(TObject* source, int x, int y);
  virtual void DoStartDrag(TObject*& dragObject);
  virtual void DoEndDrag(TObject* target, int x, int y);
  // Called when the parent set changes its font or colour for this control.
  virtual void ParentFontChanged() {}
  // The windowed control whose window shows this control (itself or its parent).
  virtual HWND GetDeviceWindow() const;
  // Called by SetBounds after the new bounds are stored.
  virtual void BoundsChanged() {}
  // The palette the control draws with (a glyph's); none by default.
  virtual HPALETTE GetPalette() { return nullptr; }
  // How the control lines up its text; an edit with its own Alignment answers it.
  virtual TAlignment GetControlsAlignment() const { return taLeftJustify; }
  // Copies the action's values; with CheckDefaults only into values still at their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link a new action gets (a derived control links more properties).
  virtual TControlActionLink* CreateActionLink();
  void SetTextSilently(const std::wstring& v) { FText = v; }
  std::wstring FText;

 private:
  friend class TWinControl;
  friend class TCustomForm;
  friend class TCustomFrame;
  static void Publish(TPublisher<TControl>& p);
  bool IsColorStored() const;
  bool IsFontStored() const;
  bool IsShowHintStored() const;
  void FontChanged(TObject* sender);
  void DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra);
  void DoMouseUp(TMessage& m, TMouseButton button);
  bool DragMessage(TMessage& m);
  void DragMouseMove();
  void UpdateParentFont();
  void UpdateParentColor();
  void RequestAlign();

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  // Distances to the parent's right and bottom edges, and the parent's client size,
  // kept when the bounds are set so that right/bottom anchors hold.
  int FAnchorRight = 0, FAnchorBottom = 0;
  int FAnchorParentWidth = 0, FAnchorParentHeight = 0;
  double FAnchorCenterX = 0, FAnchorCenterY = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  std::unique_ptr<TSizeConstraints> FConstraints;
  bool FAutoSize = false;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FUpdatingFont = false;
  TCursor FCursor = crDefault;
  std::wstring FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  std::wstring FHelpKeyword;
  int FHelpContext = 0;
  TComponent* FPopupMenu = nullptr;
  struct TActionLinkDeleter {
    void operator()(TControlActionLink* link) const;
  };
  std::unique_ptr<TControlActionLink, TActionLinkDeleter> FActionLink;
  TDragMode FDragMode = dmManual;
};

class TWinControl : public TControl {
  QORN_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The window, created on first use (with the parents' windows).
  HWND GetHandle();
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys the window and makes it again with the same state.
  void RecreateWnd();
  void DestroyHandle();
  // The parent's window for a child; set for a parented control without a
  // TWinControl parent (a control placed on a foreign window).
  HWND GetParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND wnd);

  void WndProc(TMessage& message) override;
  void DefWndHandler(TMessage& message) override;

  // --- AutoSize: a container (csAcceptsControls) fits its visible children, with
  // its frame and the borders AdjustClientRect takes off around them; the unaligned
  // children move so that their box starts where the client area does. It fits again
  // whenever a child comes, goes, moves, resizes or shows, and when a border changes.
  // With no visible child, or for a control that holds no children, it keeps its size.
  bool CanAutoSize(int& newWidth, int& newHeight) override;
  void AdjustSize() override;

  // --- children, Z order first to last (windowless and windowed)
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int i) const { return FControls.at(static_cast<size_t>(i)); }
  bool ContainsControl(TControl* control) const;
  // The topmost visible (and unless allowDisabled, enabled) windowless child at a
  // client point that accepts it (CM_HITTEST); windowed ones too when allWinControls.
  TControl* ControlAtPos(TPoint pos, bool allowDisabled, bool allWinControls = false);
  // Sends the message to every child until one answers non-zero.
  void Broadcast(TMessage& message);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Places the aligned and anchored children in rect (the client area, which
  // AdjustClientRect narrows first); Realign and every size change call it.
  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void AdjustClientRect(TRect&) {}
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void ScrollBy(int dx, int dy);
  void PaintTo(HDC dc, int x, int y);

  // --- focus and keys
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool v);
  int GetTabOrder() const;
  void SetTabOrder(int v);
  // The windowed children in tab order.
  std::vector<TWinControl*> GetTabOrderList() const;
  // The next control after current in tab order (within this control's tree).
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  void SelectFirst();
  bool DoubleBuffered = false;
  bool GetCtl3D() const { return FCtl3D; }
  void SetCtl3D(bool v) { FCtl3D = v; }
  bool ParentCtl3D = true;
  // Brings a child into view (called by the child's Show): the parents are asked
  // in turn up to the form; a container that shows one child at a time overrides it.
  virtual void ShowControl(TControl* control);

  TKeyUpDownEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyUpDownEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // --- handlers
  void WMPaint(TMessage& m);
  void WMPrintClient(TMessage& m);
  void WMEraseBkgnd(TMessage& m);
  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMSize(TMessage& m);
  void WMMove(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMSetText(TMessage& m);
  void WMKeyDown(TMessage& m);
  void WMKeyUp(TMessage& m);
  void WMChar(TMessage& m);
  void WMSysKeyDown(TMessage& m);
  void WMSysChar(TMessage& m);
  void WMGetDlgCode(TMessage& m);
  void WMSysColorChange(TMessage& m);
  void WMNCDestroy(TMessage& m);
  void WMCommand(TMessage& m);
  void WMNotify(TMessage& m);
  void WMReflected(TMessage& m);
  void CNKeyDown(TMessage& m);
  void CNKeyUp(TMessage& m);
  void CNChar(TMessage& m);
  void CNSysKeyDown(TMessage& m);
  void CNSysChar(TMessage& m);
  void CNCommand(TMessage& m);
  void CNNotify(TMessage& m);
  void CNCtlColor(TMessage& m);
  void CMEnter(TMessage& m);
  void CMExit(TMessage& m);
  void CMDialogKey(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMFocusChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMColorChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMVisibleChanged(TMessage& m);
  void CMSysColorChange(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMHitTest(TMessage& m);
  void CMShowingChanged(TMessage& m);
  // A border setter's notice: the frame is drawn anew, the children realigned (and
  // with AutoSize the control fits them again).
  void CMBorderChanged(TMessage& m);

  void WMWindowPosChanged(TMessage& m);
  void WMContextMenu(TMessage& m);

  void SetBounds(int left, int top, int width, int height) override;
  TRect GetClientRect() const override;
  // The client area before there is a window (a form takes off its frame).
  virtual TRect ClientRectWithoutHandle() const;
  TPoint GetClientOrigin() const override;
  std::wstring GetText() const override;
  void SetParent(TWinControl* parent) override;
  void Invalidate() override;
  void Update() override;
  bool Showing() const override;

  void Loaded() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Makes params use a standard window class (EDIT, BUTTON, SysListView32...);
  // unhandled messages then go to that class's own procedure.
  void CreateSubClass(TCreateParams& params, const wchar_t* className);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  // Paints the control into dc (the window's or a memory DC): PaintWindow, then
  // the windowless children in Z order, each moved to its place and clipped to it.
  void PaintHandler(HDC dc);
  virtual void PaintWindow(HDC dc);
  void PaintControls(HDC dc, TControl* first);
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);
  virtual void DoEnter();
  virtual void DoExit();
  // Set a child window's position after its bounds changed in the object.
  void UpdateBounds();
  HWND GetDeviceWindow() const override;
  virtual void ControlsAligned() {}
  virtual void AlignControl(TControl* control);
  // Creates the windows of the windowed children.
  void CreateChildHandles();

 private:
  friend class TControl;
  friend class TCustomForm;
  friend LRESULT CALLBACK ControlWndProc(HWND, UINT, WPARAM, LPARAM);
  static void Publish(TPublisher<TWinControl>& p);
  bool DoKeyDown(TMessage& m);
  bool DoKeyPress(TMessage& m);
  bool DoKeyUp(TMessage& m);
  bool IsControlMouseMsg(TMessage& m);
  // The box around the visible children (false: none to fit).
  bool ChildExtents(TRect& extents) const;
  bool FitsChildren() const { return ControlStyle.Contains(csAcceptsControls); }
  void UpdateShowing();
  void ReflectNotification(TMessage& m, HWND child);

  HWND FHandle = nullptr;
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  bool FCtl3D = true;
  int FAlignLevel = 0;
  bool FAligning = false;
  bool FSettingBounds = false;
  bool FAutoSizing = false;
  HBRUSH FBrush = nullptr;
  TColor FBrushColor = clNone;
  UINT FChildId = 0;
 public:
  // The control's Color as a brush (kept until the colour changes).
  HBRUSH BrushHandle();
};

// Windowless control: its parent paints it (clipped to its bounds) and routes the
// mouse to it. Its Canvas draws on the parent's window, also outside WM_PAINT.
class TGraphicControl : public TControl {
  QORN_CLASS(TGraphicControl, TControl)
  static void Publish(TPublisher<TGraphicControl>& p);
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TControlCanvas* GetCanvas() const { return FCanvas.get(); }
  void WMPaint(TMessage& m);

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// Windowed control that paints itself on its Canvas.
class TCustomControl : public TWinControl {
  QORN_CLASS(TCustomControl, TWinControl)
  static void Publish(TPublisher<TCustomControl>& p);
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TControlCanvas* GetCanvas() const { return FCanvas.get(); }
  void WMPaint(TMessage& m);

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  std::unique_ptr<TControlCanvas> FCanvas;
};

// A canvas that draws on a control: a windowed control's own window, or for a
// windowless control its parent's window moved to the control and clipped to it.
// Outside painting it gets a DC on first use and gives it back with FreeHandle.
class TControlCanvas : public TCanvas {
  QORN_CLASS(TControlCanvas, TCanvas)
 public:
  explicit TControlCanvas(TControl* control = nullptr) : FControl(control) {}
  ~TControlCanvas() override;
  TControl* GetControl() const { return FControl; }
  void SetControl(TControl* control);
  // Gives back a DC taken for drawing outside WM_PAINT.
  void FreeHandle();
  // Draws on a DC given by painting (nullptr: none); a DC taken before is given back.
  void AttachDC(HDC dc);
  // Gives back every DC taken outside painting; run after each window message.
  static void FreeDeviceContexts();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl;
  HWND FDeviceWnd = nullptr;
  HDC FDeviceDC = nullptr;
};

// Shows a control's PopupMenu at a screen point; set by the menus unit, so that
// controls need not know the menu classes. True when the menu was shown.
extern bool (*PopupMenuHandler)(TPopupMenu* menu, TControl* control, TPoint screenPos);

// Tells the control that gets the next key message that the loop already ran its
// key events through CN_KEYDOWN/CN_CHAR (so they do not run twice).
void SetKeyPreprocessed(bool v);

// The library's control for a window: nullptr when the window is not one of ours.
TWinControl* FindControl(HWND wnd);
// The control under a screen point (windowless ones included).
TControl* FindDragTarget(TPoint pos, bool allowDisabled);
TControl* FindVCLWindow(TPoint pos);
TCustomForm* GetParentForm(TControl* control);
// The control under the cursor that got CM_MOUSEENTER last.
TControl* MouseControl();
// Sends CM_MOUSELEAVE to the old and CM_MOUSEENTER to the new control under the
// cursor when it changed; the application calls it on mouse moves and when idle.
void UpdateMouseControl(TControl* control);
// The control that enter/leave follow at a screen point: the one under it, disabled
// ones included (they ignore the hover themselves). Mouse moves and the idle check
// both ask this one question, so they never disagree and trade enter/leave.
TControl* MouseTargetAt(TPoint screenPos);
// The windowless control that holds the mouse capture (or the windowed one).
TControl* CaptureControl();
void SetCaptureControl(TControl* control);

// Mouse: the few members the controls read.
struct TMouse {
  TPoint CursorPos() const;
  void SetCursorPos(TPoint p) const;
  // Lines per wheel notch; -1 means a page.
  int WheelScrollLines() const;
  TControl* Capture() const { return CaptureControl(); }
  void SetCapture(TControl* c) const { SetCaptureControl(c); }
};
extern TMouse* Mouse;
