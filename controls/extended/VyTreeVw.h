// The framed tree view, the base of the shell tree: the frame and state colours of
// TVyWindowFrame, the selected node framed while the tree is not focused, a context
// menu chosen per node (OnNodeContextMenu) from the mouse and from the keyboard
// (the menu key, Shift+F10), and the wheel by lines (a page in one-screen mode).
// It publishes nothing itself: a descendant publishes PublishWindowFrame's
// properties, AutoExpand and OnNodeContextMenu.
#pragma once
#include "controls/extended/VyWindowFrame.h"
#include "vcl/ComCtrls.h"
#include "vcl/Menus.h"

namespace Vy {

// The menu for a node (nullptr: the empty space); the handler may replace it, or set
// it to nullptr for no menu at all.
using TVyTvOnNodeContextMenuEvent = TEvent<void(TObject* Sender, TTreeNode* Node, TPoint Point, TPopupMenu*& Menu)>;

class TVyCustomTreeView : public TCustomTreeView, public TVyWindowFrame {
  QORN_CLASS(TVyCustomTreeView, TCustomTreeView)
 public:
  explicit TVyCustomTreeView(TComponent* AOwner);
  ~TVyCustomTreeView() override;
  using TVyWindowFrame::GetColor;
  using TVyWindowFrame::SetColor;

  bool GetAutoExpand() const { return TCustomTreeView::GetAutoExpand(); }
  // On: SelectOnExpand goes off.
  void SetAutoExpand(bool v);
  bool GetSelectOnExpand() const { return FSelectOnExpand; }
  // On: expanding or collapsing a node selects it; AutoExpand goes off.
  void SetSelectOnExpand(bool v);
  // The frame drawn around the selected node's text while the tree is not focused.
  TPen* GetSelectionPen() const { return FSelectionPen.get(); }
  void SetSelectionPen(TPen* v) { FSelectionPen->Assign(v); }

  // nullptr without a window; else the node of the selection.
  TTreeNode* GetSelectedNode() const;
  void SelectNode(TTreeNode* node) { SetSelected(node); }

  TVyTvOnNodeContextMenuEvent OnNodeContextMenu;

  void WMPaint(TMessage& m);
  void WMContextMenu(TMessage& m);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler& Filer) override;
  void WndProc(TMessage& m) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  bool CanCollapse(TTreeNode* node) override;
  void Expand(TTreeNode* node) override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  void FrameVisibleChanged() override { RecreateWnd(); }
  // The keyboard's menu: the selected node's at the middle of its text, else PopupMenu
  // at the top-left.
  virtual void ShowSelectionMenu();
  virtual void ShowNodeMenu(TTreeNode* node, TPoint point);
  virtual void DoNodeContextMenu(TTreeNode* node, TPoint point, TPopupMenu*& menu);

 private:
  static void Publish(TPublisher<TVyCustomTreeView>& p);
  void SelectionPenChanged(TObject*) { Invalidate(); }
  void ScrollLines(bool down);
  std::unique_ptr<TPen> FSelectionPen;
  bool FSelectOnExpand = false;
};

}  // namespace Vy
