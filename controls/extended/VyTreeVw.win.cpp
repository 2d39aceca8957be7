#include "controls/extended/VyTreeVw.h"

#include "controls/extended/VyListMetrics.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>

namespace Vy {

TVyCustomTreeView::TVyCustomTreeView(TComponent* AOwner)
    : TCustomTreeView(AOwner), TVyWindowFrame(this), FSelectionPen(std::make_unique<TPen>()) {
  FSelectionPen->SetColor(clBtnShadow);
  FSelectionPen->OnChange = TNotifyEvent(this, &TVyCustomTreeView::SelectionPenChanged);
  SetTabStop(true);
  SetParentColor(false);
}

TVyCustomTreeView::~TVyCustomTreeView() { UnlinkFrameController(); }

void TVyCustomTreeView::Publish(TPublisher<TVyCustomTreeView>& p) {
  p.Message(WM_PAINT, &TVyCustomTreeView::WMPaint);
  p.Message(WM_CONTEXTMENU, &TVyCustomTreeView::WMContextMenu);
}

void TVyCustomTreeView::DefineProperties(TFiler& Filer) {
  TCustomTreeView::DefineProperties(Filer);
  DefineObsoleteFrameProperties(Filer);
}

void TVyCustomTreeView::Loaded() {
  TCustomTreeView::Loaded();
  UpdateColors();
  UpdateFrame(false, false);
}

void TVyCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTreeView::Notification(AComponent, Operation);
  FrameNotification(AComponent, Operation);
}

void TVyCustomTreeView::WndProc(TMessage& m) {
  FramedWndProc(m, [&] { TCustomTreeView::WndProc(m); });
}

void TVyCustomTreeView::SetAutoExpand(bool v) {
  if (v) FSelectOnExpand = false;
  TCustomTreeView::SetAutoExpand(v);
}

void TVyCustomTreeView::SetSelectOnExpand(bool v) {
  FSelectOnExpand = v;
  if (v) TCustomTreeView::SetAutoExpand(false);
}

bool TVyCustomTreeView::CanCollapse(TTreeNode* node) {
  const bool allowed = TCustomTreeView::CanCollapse(node);
  if (allowed && FSelectOnExpand && node) node->SetSelected(true);
  return allowed;
}

void TVyCustomTreeView::Expand(TTreeNode* node) {
  TCustomTreeView::Expand(node);
  if (FSelectOnExpand && node) node->SetSelected(true);
}

TTreeNode* TVyCustomTreeView::GetSelectedNode() const {
  if (!HandleAllocated()) return nullptr;
  return GetSelected();
}

// --- the selection while unfocused

void TVyCustomTreeView::WMPaint(TMessage& m) {
  QORN_INHERITED(m);
  if (GetHideSelection() || Focused()) return;
  TTreeNode* node = GetSelected();
  if (!node) return;
  const TRect r = node->DisplayRect(true);
  if (r.IsEmpty()) return;
  HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : GetDC(GetHandle());
  TOnExit release([&] {
    if (!m.WParam) ReleaseDC(GetHandle(), dc);
  });
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.SetPen(FSelectionPen.get());
  canvas.GetBrush()->SetStyle(bsClear);
  canvas.Rectangle(r);
  canvas.SetHandle(nullptr);
}

// --- context menus

void TVyCustomTreeView::DoNodeContextMenu(TTreeNode* node, TPoint point, TPopupMenu*& menu) {
  if (OnNodeContextMenu) OnNodeContextMenu(this, node, point, menu);
}

void TVyCustomTreeView::ShowNodeMenu(TTreeNode* node, TPoint point) {
  TPopupMenu* menu = GetPopupMenu();
  DoNodeContextMenu(node, point, menu);
  if (!menu) return;
  menu->SetPopupComponent(this);
  const TPoint screen = ClientToScreen(point);
  menu->Popup(screen.X, screen.Y);
}

void TVyCustomTreeView::ShowSelectionMenu() {
  if (TTreeNode* node = GetSelectedNode()) {
    const TRect r = node->DisplayRect(true);
    ShowNodeMenu(node, TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    return;
  }
  if (TPopupMenu* menu = GetPopupMenu()) {
    menu->SetPopupComponent(this);
    const TPoint screen = ClientToScreen(TPoint(0, 0));
    menu->Popup(screen.X, screen.Y);
  }
}

void TVyCustomTreeView::WMContextMenu(TMessage& m) {
  m.Result = 1;
  const TPoint screen{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
  if (screen.X == -1 && screen.Y == -1) return ShowSelectionMenu();
  const TPoint point = ScreenToClient(screen);
  // The node clicked, else the selected one; none on empty space without a selection.
  TTreeNode* node = GetNodeAt(point.X, point.Y);
  if (!node) node = GetSelectedNode();
  ShowNodeMenu(node, point);
}

void TVyCustomTreeView::KeyDown(WORD& key, TShiftState shift) {
  const bool menuKey = (key == VK_APPS && shift.Empty()) ||
                       (key == VK_F10 && shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt));
  if (menuKey) {
    key = 0;
    ShowSelectionMenu();
  }
  TCustomTreeView::KeyDown(key, shift);
}

// --- wheel

void TVyCustomTreeView::ScrollLines(bool down) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!GetScrollInfo(GetHandle(), SB_VERT, &info)) return;
  const int page = static_cast<int>(SendMessageW(GetHandle(), TVM_GETVISIBLECOUNT, 0, 0));
  int lines = WheelLines(Mouse->WheelScrollLines(), page);
  if (!down) lines = std::min(lines, info.nPos);
  // Line by line: a thumb position would carry only 16 bits.
  for (int i = 0; i < lines; ++i) SendMessageW(GetHandle(), WM_VSCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0);
}

bool TVyCustomTreeView::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TCustomTreeView::DoMouseWheelDown(shift, mousePos);
  ScrollLines(true);
  return true;
}

bool TVyCustomTreeView::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TCustomTreeView::DoMouseWheelUp(shift, mousePos);
  ScrollLines(false);
  return true;
}

}  // namespace Vy
