// TVyPopupPanel: a container on a form whose children (a calendar, a clock) are shown
// for a moment under another control in a borderless window, TVyPopup, until the user
// accepts (ClosePopup), presses Escape, clicks elsewhere or switches to another
// program. DropFrom runs the loop and says whether the user accepted.
//
// Rules:
// - The popup window never takes the activation: the form (or the program the user
//   types in) keeps it, and the loop hands keys to the popup's first child itself.
// - It opens under the control, on the work area of the control's monitor, whole.
// - The loop always ends: Escape, a click outside (which it swallows), the close
//   message, the application losing the activation or ending, the drop control or the
//   panel freed, or the popup's window destroyed with its owner.
// - Only ClosePopup accepts; a popup torn down any other way is not accepted, and the
//   children always return to the panel while it lives.
#pragma once
#include "controls/extended/VyLifeToken.h"
#include "controls/extended/VyPanel.h"

#include <memory>

namespace Vy {

// Posted to a shown popup's window: ends its loop.
inline constexpr unsigned WM_VYPOPUPCLOSE = 9251;

class TVyCustomPopup : public TVyCustomPanel {
  QORN_CLASS(TVyCustomPopup, TVyCustomPanel)
 public:
  explicit TVyCustomPopup(TComponent* AOwner);

 private:
  static void Publish(TPublisher<TVyCustomPopup>& p);
};

class TVyPopupPanel;

class TVyPopup : public TVyCustomPopup {
  QORN_CLASS(TVyPopup, TVyCustomPopup)
 public:
  explicit TVyPopup(TVyPopupPanel* panel);
  ~TVyPopup() override;

  // Shows the panel's children under the control until closed; whether accepted.
  bool DropFrom(TControl* control, TAlignment alignment);
  // Ends the loop, accepting or not.
  void PostClose(bool accept);
  // The panel is being freed: the loop ends and nothing goes back to it.
  void PanelGone();
  // The child that receives the keys.
  TWinControl* GetTargetControl() const { return FTargetControl; }

  void WMMouseActivate(TMessage& m) { m.Result = MA_NOACTIVATE; }
  void WMNCActivate(TMessage& m) { m.Result = 0; }
  void WMKey(TMessage& m);
  void WMSysCommand(TMessage& m);
  void WMPopupClose(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  static void Publish(TPublisher<TVyPopup>& p);
  bool Holds(HWND wnd);
  void RunLoop();
  void MoveChildren(TWinControl* from, TWinControl* to);

  TVyPopupPanel* FDropPanel;
  TControl* FDropControl = nullptr;
  TWinControl* FTargetControl = nullptr;
  bool FNotAccepted = true;
  bool FEnded = false;
};

class TVyPopupPanel : public TVyCustomPopup {
  QORN_CLASS(TVyPopupPanel, TVyCustomPopup)
 public:
  explicit TVyPopupPanel(TComponent* AOwner);
  ~TVyPopupPanel() override;

  // Shows the children under the control until the user closes the popup; true when
  // accepted. False at once while a popup of this panel is shown already.
  bool DropFrom(TControl* popupControl);
  // Accepts and closes the popup shown now.
  void ClosePopup();
  // Closes the popup shown now without acceptance.
  void CancelPopup();
  TVyPopup* GetPopupWindow() const { return FPopupWindow; }
  TControl* GetDropControl() const { return FDropControl; }
  // Whether the object is still there after code that may free it.
  std::weak_ptr<const bool> Watch() const { return FLife.Watch(); }

  TNotifyEvent OnPopup;
  TNotifyEvent OnClose;

 protected:
  void DestroyWnd() override;
  virtual void FirePopup() {
    if (OnPopup) OnPopup(this);
  }
  virtual void FireClose() {
    if (OnClose) OnClose(this);
  }

 private:
  static void Publish(TPublisher<TVyPopupPanel>& p);

  TControl* FDropControl = nullptr;
  TVyPopup* FPopupWindow = nullptr;
  TVyLifeToken FLife;
};

}  // namespace Vy
