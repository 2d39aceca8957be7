// TCoolTrayIcon: one icon in the notification area, its mouse messages turned into
// events, a popup menu at the icon, cycling through the images of an image list,
// hiding the main window to the tray when it is minimised, and the icon put back
// when the taskbar is made again ("TaskbarCreated").
//
// Every icon of the process reports to one shared hidden window. The icon id the
// shell hands back is a small number looked up in a table of live icons, never the
// component's address (a 32-bit id cannot hold it): a callback that arrives after
// its icon was destroyed finds nothing and is dropped. Shell calls go through
// services/TrayNotify, so tests record them.
//
// With OnDblClick assigned, a single click is reported only once the system's
// double-click time has passed (on the injectable clock), and a double click raises
// OnDblClick alone.
#pragma once

#include "services/SimpleTimer.h"
#include "vcl/Classes.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/Messages.h"
#include "vcl/Picture.h"
#include "vcl/Win.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

using TCycleEvent = TEvent<void(TObject* Sender, int NextIndex)>;
using TStartupEvent = TEvent<void(TObject* Sender, bool& ShowMainForm)>;

class TCoolTrayIcon : public TComponent {
  QORN_CLASS(TCoolTrayIcon, TComponent)
 public:
  // The callback message the icons send to the shared window.
  static constexpr UINT CallbackMessage = WM_USER + 1024;
  // The longest tip the shell takes, in characters.
  static constexpr std::size_t MaxTip = 127;

  explicit TCoolTrayIcon(TComponent* AOwner);
  ~TCoolTrayIcon() override;

  TCustomImageList* GetIconList() const { return FIconList; }
  void SetIconList(TCustomImageList* Value);
  bool GetCycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(bool Value);
  std::uint32_t GetCycleInterval() const { return FCycleInterval; }
  void SetCycleInterval(std::uint32_t Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  const std::wstring& GetHint() const { return FHint; }
  void SetHint(const std::wstring& Value);
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  TIcon* GetIcon() const { return FIcon.get(); }
  // Copies the icon and shows it.
  void SetIcon(TIcon* Value);
  bool GetIconVisible() const { return FIconVisible; }
  void SetIconVisible(bool Value);
  int GetIconIndex() const { return FIconIndex; }
  // With an image list: that image (an index past the end gives the last one);
  // without one the index is 0.
  void SetIconIndex(int Value);
  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  bool GetLeftPopup() const { return FLeftPopup; }
  void SetLeftPopup(bool Value) { FLeftPopup = Value; }
  bool GetWantEnterExitEvents() const { return FWantEnterExitEvents; }
  void SetWantEnterExitEvents(bool Value);
  bool GetMinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
  // Shows the icon at design time only: there is no designer, so it does nothing.
  bool DesignPreview = false;

  // NIM_ADD, NIM_DELETE, NIM_MODIFY with the icon's current picture and tip.
  virtual bool ShowIcon();
  virtual bool HideIcon();
  virtual bool ModifyIcon();

  void ShowApplicationButton();
  void HideApplicationButton();
  // Brings the main form back from the tray (or from minimised) and to the front.
  void RestoreMainForm();
  void HideMainForm();
  // Shows the popup menu at the cursor, as the shell expects of a tray menu.
  void PopupAtCursor();

  // The id the shell knows this icon by, and the shared window (tests send the
  // callback message there).
  UINT GetIconId() const { return FId; }
  static HWND HandlerWindow();
  // The registered "TaskbarCreated" message (0 when the system has none).
  static UINT TaskbarCreatedMessage();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseExit;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintShow;
  TNotifyEvent OnBalloonHintHide;
  TNotifyEvent OnBalloonHintTimeout;
  TNotifyEvent OnBalloonHintClick;
  TNotifyEvent OnMinimizeToTray;
  TStartupEvent OnStartup;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void Click();
  virtual void DblClick();
  virtual void DoCycle(int NextIndex);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseEnter();
  virtual void MouseExit();
  virtual void DoMinimizeToTray();

 private:
  friend class TTrayIconHandler;
  static void Publish(TPublisher<TCoolTrayIcon>& p);
  // The shell's callback: lParam is the mouse or notification message.
  void IconMessage(UINT Message);
  bool Notify(DWORD Message);
  void IconChanged(TObject* Sender);
  void CycleTimerTick(TObject* Sender);
  void ClickTimerTick(TObject* Sender);
  void ExitTimerTick(TObject* Sender);
  bool ApplicationHook(TMessage& Message);
  bool OwnerWindowHook(TMessage& Message);
  TWinControl* OwnerControl() const;
  bool MenuPopsUpByItself() const { return FPopupMenu && FPopupMenu->GetAutoPopup(); }

  UINT FId = 0;
  TCustomImageList* FIconList = nullptr;  // a reference, cleared by Notification
  TPopupMenu* FPopupMenu = nullptr;       // a reference, cleared by Notification
  std::unique_ptr<TIcon> FIcon;
  std::unique_ptr<TSimpleTimer> FCycleTimer;
  std::unique_ptr<TSimpleTimer> FClickTimer;
  std::unique_ptr<TSimpleTimer> FExitTimer;
  bool FCycleIcons = false;
  std::uint32_t FCycleInterval = 0;
  bool FEnabled = true;
  std::wstring FHint;
  bool FShowHint = true;
  bool FIconVisible = false;
  int FIconIndex = 0;
  bool FLeftPopup = false;
  bool FWantEnterExitEvents = false;
  bool FMinimizeToTray = false;
  bool FClickStart = false;
  bool FClickReady = false;
  bool FDoubleClicked = false;
  bool FDidExit = true;
  POINT FLastMove{};
  bool FStarting = false;  // inside OnStartup while the form is read
  bool FHookedApplication = false;
  TWinControl* FHookedOwner = nullptr;  // the owner whose window messages we see first
  std::function<void(TMessage&)> FOwnerPreviousProc;
};
