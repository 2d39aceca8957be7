// Forms, frames, the application object and the screen.
//
// A form class is read from its form resource once it is constructed whole:
//
//   class TMainForm : public TForm {
//     QORN_CLASS(TMainForm, TForm)
//    public:
//     explicit TMainForm(TComponent* AOwner) : TForm(AOwner) {}
//     TButton* Button1 = nullptr;
//     void Button1Click(TObject* Sender);
//    private:
//     static void Publish(TPublisher<TMainForm>& p) {
//       p.Field(L"Button1", &TMainForm::Button1);
//       p.Handler(L"Button1Click", &TMainForm::Button1Click);
//     }
//   };
//   Application->CreateForm(MainForm);            // owned by Application
//   auto* dlg = CreateForm<TAboutForm>(owner);    // any owner
//
// CreateForm constructs, reads the resource "MAINFORM" (the class name without its
// leading T, upper case: the file MainForm.form) and fires OnCreate. A form built
// in code only is created with CreateFormNew (no resource). Frames alike:
// CreateFrame<TFrameVol>(owner).
//
// The window class of a form is its class name, so FindWindowW(L"TMainForm",
// caption) finds it. Every form is owned by the application's hidden window,
// which carries the taskbar button.
#pragma once

#include "vcl/Controls.h"
#include "vcl/HintWindow.h"
#include "vcl/ScopeGuards.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TApplication;
class TScreen;
class TMonitor;

QORN_ENUM(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin);
QORN_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp);
using TBorderIcons = TSet<TBorderIcon>;
QORN_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop);
QORN_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
          poMainFormCenter, poOwnerFormCenter);
QORN_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized);
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

// A window that scrolls its children; the library's forms and frames never scroll,
// so the range members do nothing.
class TScrollingWinControl : public TWinControl {
  QORN_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  void DisableAutoRange() {}
  void EnableAutoRange() {}
};

class TCustomForm : public TScrollingWinControl {
  QORN_CLASS(TCustomForm, TScrollingWinControl)
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  // Reads the form resource (unless created with CreateFormNew) and fires OnCreate.
  virtual void InitializeForm(bool readResource);
  void BeforeDestruction() override;

  void Show();
  void Hide();
  // Closes as the user would: OnCloseQuery, OnClose, then hide (the main form ends
  // the application). A modal form only gets ModalResult = mrCancel.
  void Close();
  // Shows the form and runs a loop, the other windows disabled, until ModalResult
  // is set (and OnCloseQuery agrees) or the application ends; returns ModalResult.
  TModalResult ShowModal();
  // Frees the form once the messages queued before now are handled.
  void Release();
  bool CloseQuery();

  TModalResult GetModalResult() const { return FModalResult; }
  // A result set while modal ends the loop, also from a sent message or a hook
  // callback (the loop may be waiting for the next message).
  void SetModalResult(TModalResult v);
  bool IsModal() const { return FModal; }

  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v);
  TBorderIcons GetBorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons v);
  TFormStyle GetFormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle v);
  TPosition GetPosition() const { return FPosition; }
  void SetPosition(TPosition v) { FPosition = v; }
  TWindowState GetWindowState() const;
  void SetWindowState(TWindowState v);
  bool GetAlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool v);
  int GetAlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(int v);
  bool GetTransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool v);
  TColor GetTransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor v);
  bool GetScaled() const { return FScaled; }
  void SetScaled(bool v) { FScaled = v; }
  int GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int v) { FPixelsPerInch = v; }
  bool GetActive() const { return FActive; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);
  bool KeyPreview = false;

  // The form's own canvas (OnPaint draws on it).
  TControlCanvas* GetCanvas() const { return FCanvas.get(); }

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  // --- focus bookkeeping, called by the controls
  // The control that got the focus: CM_EXIT/OnExit on the old chain, CM_ENTER/OnEnter
  // on the new one, then CM_FOCUSCHANGED.
  bool SetFocusedControl(TWinControl* control);
  void FocusControl(TWinControl* control);
  // A child (or its subtree) is going away, hidden or disabled.
  void ControlRemoved(TControl* control);
  void ControlDestroyed(TWinControl* control) { ControlRemoved(control); }

  // --- handlers
  void WMClose(TMessage& m);
  void WMActivate(TMessage& m);
  void WMQueryEndSession(TMessage& m);
  void WMSysCommand(TMessage& m);
  void WMGetMinMaxInfo(TMessage& m);
  void WMShowWindow(TMessage& m);
  // F1: the help topic of the nearest control that names one.
  void WMHelp(TMessage& m);
  void CMRelease(TMessage& m);
  void CMDialogKey(TMessage& m);
  void CMShowingChanged(TMessage& m);
  void CMVisibleChanged(TMessage& m);

  void WMPaint(TMessage& m);
  void WMSize(TMessage& m);
  bool Showing() const override;
  void SetParent(TWinControl* parent) override;
  void SetFocus() override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void PaintWindow(HDC dc) override;
  TRect ClientRectWithoutHandle() const override;
  void SetClientWidth(int v) override;
  void SetClientHeight(int v) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  // The resource name of this form class ("MAINFORM" for TMainForm).
  std::wstring ResourceName() const;
  // Applies alpha and colour key (WS_EX_LAYERED) to the window.
  void UpdateLayeredAttributes();

 private:
  static void Publish(TPublisher<TCustomForm>& p);
  DWORD ComputeStyle(DWORD& exStyle) const;
  void PlaceOnShow();
  void SetWindowFocus();
  void CloseModal();
  bool TopLevel() const { return !GetParent() && !GetParentWindow(); }
  int GetClientWidthProp() const { return GetClientWidth(); }
  int GetClientHeightProp() const { return GetClientHeight(); }

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TFormStyle FFormStyle = fsNormal;
  TPosition FPosition = poDesigned;
  TWindowState FWindowState = wsNormal;
  bool FAlphaBlend = false;
  int FAlphaBlendValue = 255;
  bool FTransparentColor = false;
  TColor FTransparentColorValue = clBlack;
  bool FLayeredByUs = false;
  bool FScaled = true;
  int FPixelsPerInch = 96;
  bool FActive = false;
  bool FModal = false;
  bool FShowing = false;
  bool FCreated = false;
  TModalResult FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  std::unique_ptr<TControlCanvas> FCanvas;
};

class TForm : public TCustomForm {
  QORN_CLASS(TForm, TCustomForm)
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// A part of a window read from its own resource, placed on a page by code.
class TCustomFrame : public TScrollingWinControl {
  QORN_CLASS(TCustomFrame, TScrollingWinControl)
 public:
  explicit TCustomFrame(TComponent* AOwner);
  virtual void InitializeFrame(bool readResource);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
};

class TFrame : public TCustomFrame {
  QORN_CLASS(TFrame, TCustomFrame)
 public:
  explicit TFrame(TComponent* AOwner) : TCustomFrame(AOwner) {}
};

template <class T>
T* CreateForm(TComponent* owner) {
  auto form = std::make_unique<T>(owner);
  form->InitializeForm(true);
  return form.release();
}

template <class T>
T* CreateFormNew(TComponent* owner) {
  auto form = std::make_unique<T>(owner);
  form->InitializeForm(false);
  return form.release();
}

template <class T>
T* CreateFrame(TComponent* owner) {
  auto frame = std::make_unique<T>(owner);
  frame->InitializeFrame(true);
  return frame.release();
}

// Disables the thread's other visible, enabled top-level windows while a modal
// window runs, and enables them again when it goes.
class TTaskWindowsDisabler {
 public:
  explicit TTaskWindowsDisabler(HWND except);
  ~TTaskWindowsDisabler();
  TTaskWindowsDisabler(const TTaskWindowsDisabler&) = delete;
  TTaskWindowsDisabler& operator=(const TTaskWindowsDisabler&) = delete;

 private:
  static BOOL CALLBACK Visit(HWND wnd, LPARAM param);
  HWND FExcept;
  std::vector<HWND> FDisabled;
};

// --- the application

using TMessageEvent = TEvent<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TEvent<void(TObject* Sender, const std::wstring& Message)>;
using TShowHintEvent = TEvent<void(std::wstring& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// A hook on the application window: true when it handled the message.
using TWindowHook = TEvent<bool(TMessage& Message)>;

class TApplication : public TComponent {
  QORN_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  void Initialize();
  // Creates a form owned by the application; the first one is the main form.
  template <class T>
  void CreateForm(T*& reference) {
    auto form = std::make_unique<T>(this);
    reference = form.get();
    if (!FMainForm) FMainForm = form.get();
    const TOnFailure forgotten([&] {
      if (FMainForm == form.get()) FMainForm = nullptr;
      reference = nullptr;
    });
    form->InitializeForm(true);
    form.release();  // the application owns it now
  }
  // Shows the main form (unless ShowMainForm was cleared) and runs the message loop
  // until Terminate or the main form closes.
  void Run();
  void Terminate();
  bool GetTerminated() const { return FTerminated; }
  // Handles every message waiting now (windows may close, callbacks may run).
  void ProcessMessages();
  // Handles one message, or waits for one after the idle work.
  void HandleMessage();
  // Handles one waiting message; false when there was none.
  bool ProcessMessage(MSG& msg);
  void Idle(const MSG& msg);

  HWND GetHandle();
  TCustomForm* GetMainForm() const { return FMainForm; }
  void SetMainForm(TCustomForm* form) { FMainForm = form; }
  bool ShowMainForm = true;
  bool GetActive() const { return FActive; }
  std::wstring GetTitle() const { return FTitle; }
  void SetTitle(const std::wstring& v);
  std::wstring GetExeName() const;
  std::wstring HelpFile;

  void Minimize();
  void Restore();
  // Takes the application's topmost windows off topmost (nested; RestoreTopMosts
  // puts them back when the count returns to zero).
  void NormalizeTopMosts();
  void RestoreTopMosts();

  // A message box over the active window; the others are disabled meanwhile.
  // It goes through the dialog service (vcl/Dialogs.h), which tests replace.
  int MessageBox(const std::wstring& text, const std::wstring& caption, unsigned flags = MB_OK);

  // Reports the exception being handled (call inside a catch block): EAbort quietly,
  // others through OnException, or a message box.
  void HandleException(TObject* sender);
  void ShowException(const std::wstring& message);

  void HookMainWindow(const TWindowHook& hook);
  void UnhookMainWindow(const TWindowHook& hook);

  // Help: keywords go to the installed handler (the program's help viewer).
  std::function<bool(const std::wstring& keyword)> HelpKeywordHandler;
  std::function<bool(int context)> HelpContextHandler;
  bool HelpKeyword(const std::wstring& keyword);
  bool HelpContext(int context);
  bool HelpJump(const std::wstring& jumpId) { return HelpKeyword(jumpId); }

  // --- hints
  // The cursor resting HintPause ms over a control that wants hints (ShowHint,
  // windowless ones too) shows its hint: the control gets CM_HINTSHOW with a
  // THintInfo (the short hint before "|", CursorRect = its client area) to change
  // or cancel, then OnShowHint, then the hint window's CalcHintRect and
  // ActivateHint. The hint goes after HintHidePause, on a click or a key, and when
  // the cursor leaves CursorRect (then asked again); right after one hint, the
  // next control's shows after HintShortPause.
  bool GetShowHint() const { return FShowHint; }
  // Off hides hints; a change makes a new hint window for the next hint.
  void SetShowHint(bool v);
  TColor HintColor = clInfoBk;
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  bool HintShortCuts = true;
  // Makes the hint window; replace to use another hint window class.
  std::function<THintWindow*(TComponent* owner)> HintWindowClass;
  // Hides the hint; the next one needs the cursor to rest again.
  void CancelHint();
  // Shows the hint of the control under cursorPos now, if it has one.
  void ActivateHint(TPoint cursorPos);
  THintWindow* GetHintWindow() const { return FHintWindow.get(); }
  // Called by controls for each mouse move (starts and ends hint timing).
  void HintMouseMessage(TControl* control, TMessage& m);

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TShowHintEvent OnShowHint;
  TMessageEvent OnMessage;

  // The message-event components (TApplicationEvents) see every message of the loop.
  void AddMessageListener(TComponent* owner, const TMessageEvent* event);
  void RemoveMessageListener(TComponent* owner);
  // A control is going: no hint may point at it any more.
  void ControlDestroying(TControl* control);
  // The application window's messages; false leaves one to DefWindowProc.
  bool AppWindowMessage(TMessage& m);

 private:
  friend class TCustomForm;
  bool IsKeyMsg(MSG& msg);
  bool IsHintMsg(const MSG& msg);
  void DoMouseIdle();
  // Hint timing: the cursor is at pos (screen) over control (nullptr: none of ours).
  void HintCursorAt(TControl* control, TPoint pos);
  bool HintTimerMessage(uintptr_t id);
  void StartHintTimer(int ms, int kind);
  void StopHintTimer();
  void HideHintWindow();

  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FActive = false;
  bool FRunning = false;
  std::wstring FTitle;
  int FTopMostLevel = 0;
  std::vector<HWND> FTopMostList;
  std::vector<TWindowHook> FHooks;
  std::vector<std::pair<TComponent*, const TMessageEvent*>> FListeners;
  bool FShowHint = true;
  std::unique_ptr<THintWindow> FHintWindow;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect;
  bool FHintActive = false;
  int FHintTimerKind = 0;
  bool FHintWatching = false;
  bool FKeyPreprocessed = false;
};

// Sees every message the application's loop takes (thread messages too).
class TApplicationEvents : public TComponent {
  QORN_CLASS(TApplicationEvents, TComponent)
 public:
  explicit TApplicationEvents(TComponent* AOwner);
  ~TApplicationEvents() override;
  TMessageEvent OnMessage;

 private:
  static void Publish(TPublisher<TApplicationEvents>& p);
};

// --- screen and monitors

class TMonitor : public TObject {
  QORN_CLASS(TMonitor, TObject)
 public:
  explicit TMonitor(HMONITOR handle, int number) : FHandle(handle), FNumber(number) {}
  HMONITOR GetHandle() const { return FHandle; }
  int GetMonitorNum() const { return FNumber; }
  TRect GetBoundsRect() const;
  TRect GetWorkareaRect() const;
  bool GetPrimary() const;
  int GetLeft() const { return GetBoundsRect().Left; }
  int GetTop() const { return GetBoundsRect().Top; }
  int GetWidth() const { return GetBoundsRect().Width(); }
  int GetHeight() const { return GetBoundsRect().Height(); }

 private:
  HMONITOR FHandle;
  int FNumber;
};

class TScreen : public TComponent {
  QORN_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int GetWidth() const;
  int GetHeight() const;
  int GetPixelsPerInch() const;
  TRect GetWorkAreaRect() const;
  TRect GetDesktopRect() const;
  // Forms in the order they were created (a freed form leaves the list).
  int GetFormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* GetForms(int i) const { return FForms.at(static_cast<size_t>(i)); }
  TCustomForm* GetActiveForm() const { return FActiveForm; }
  TWinControl* GetActiveControl() const { return FActiveControl; }
  // crDefault lets each control show its own cursor; anything else overrides them.
  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor v);
  TFont* GetMenuFont();
  TFont* GetHintFont();
  TFont* GetIconFont();

  int GetMonitorCount();
  TMonitor* GetMonitors(int i);
  TMonitor* MonitorFromPoint(TPoint p);
  TMonitor* MonitorFromWindow(HWND wnd);
  TMonitor* MonitorFromRect(const TRect& r);

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  TMonitor* FindMonitor(HMONITOR handle);
  void RefreshMonitors();

  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::unique_ptr<TFont> FMenuFont;
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TFont> FIconFont;
  std::vector<std::unique_ptr<TMonitor>> FMonitors;
};

extern TApplication* Application;
extern TScreen* Screen;

// Hint timing hook the controls call on mouse moves.
void HintMouseMessage(TControl* control, TMessage& m);
