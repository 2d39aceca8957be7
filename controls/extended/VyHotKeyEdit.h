// TVyHotKeyEdit: the platform's hot-key control with the extended library's frame and
// state colours (TVyWindowFrame): the frame lights while the control is focused or
// under the mouse, and the background follows the state. It has no drop button.
#pragma once
#include "controls/extended/VyWindowFrame.h"
#include "vcl/ComCtrls.h"

namespace Vy {

class TVyHotKeyEdit : public THotKey, public TVyWindowFrame {
  QORN_CLASS(TVyHotKeyEdit, THotKey)
 public:
  explicit TVyHotKeyEdit(TComponent* AOwner);
  ~TVyHotKeyEdit() override;
  using TVyWindowFrame::GetColor;
  using TVyWindowFrame::SetColor;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler& Filer) override;
  void WndProc(TMessage& m) override;
  void FrameVisibleChanged() override { RecreateWnd(); }

 private:
  static void Publish(TPublisher<TVyHotKeyEdit>& p);
};

}  // namespace Vy
