// The shell tree's OLE drag and drop: nodes dragged out as shell data, and drops on
// the tree handed to the item under the pointer, with scrolling at the edges and a
// hovered folder opening itself.
#include "controls/extended/VyShellTree.h"
#include "core/utils/Trace.h"
#include "vcl/Clock.h"
#include "vcl/ScopeGuards.h"

namespace Vy {

namespace {

// The system's hover box and time, read once.
struct THoverMetrics {
  int Width = 2, Height = 2;
  std::uint64_t Time = 400;
  THoverMetrics() {
    UINT value = 0;
    if (SystemParametersInfoW(SPI_GETMOUSEHOVERWIDTH, 0, &value, 0)) Width = int(value);
    if (SystemParametersInfoW(SPI_GETMOUSEHOVERHEIGHT, 0, &value, 0)) Height = int(value);
    if (SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &value, 0)) Time = value;
  }
};
const THoverMetrics& Hover() {
  static const THoverMetrics metrics;
  return metrics;
}

bool ScrollsFurther(HWND wnd, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  return GetScrollInfo(wnd, bar, &info) && info.nMax - info.nMin + 1 > int(info.nPage);
}

}  // namespace

// --- dragging out

TComPtr<IDropSource> TVyCustomShellTree::CreateDropSource(int button) {
  return TComPtr<IDropSource>(new TDropSource_shlvtv(button));
}

void TVyCustomShellTree::CNNotify(TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  // A click chooses: the list follows at once, without the keyboard's delay.
  if (header->code == NM_CLICK) FImmediateSelect = true;
  const bool drag = header->code == TVN_BEGINDRAGW || header->code == TVN_BEGINRDRAGW;
  if (drag && FOptions.Contains(stoOleDrag)) {
    StartOleDrag(*reinterpret_cast<NMTREEVIEWW*>(header), header->code == TVN_BEGINDRAGW ? 0 : 1);
    return;
  }
  QORN_INHERITED(m);
}

void TVyCustomShellTree::StartOleDrag(const NMTREEVIEWW& info, int button) {
  TTreeNode* node = GetItems()->NodeOf(info.itemNew.hItem);
  TVyShellTreeData* data = ShellData(node);
  if (!data || !data->Parent()) return;
  FDragNode = node;
  SetDropHighlight(node);
  const bool wasBusy = BeginBusy();
  const TOnExit ended([this, wasBusy] {
    FDragNode = nullptr;
    SetDropHighlight(nullptr);
    EndBusy(wasBusy);
  });
  TComPtr<IDataObject> dragged(
      new TVyShellDataObject(data->ParentFolder(), data->Parent()->AbsIdList(), {data->RelIdList()}));
  DWORD allowed = data->Attributes(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK) & 7;
  if (!allowed) allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  const TComPtr<IDropSource> source = CreateDropSource(button);
  DWORD effect = DROPEFFECT_NONE;
  if (DoDragDrop(dragged.Get(), source.Get(), allowed, &effect) == DRAGDROP_S_DROP) FRefreshRequested = true;
}

// --- drops on the tree

void TVyCustomShellTree::SetDropHighlight(TTreeNode* node) {
  FDropNode = node;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), TVM_SELECTITEM, TVGN_DROPHILITE,
                 reinterpret_cast<LPARAM>(node ? node->ItemId() : nullptr));
}

TTreeNode* TVyCustomShellTree::ShellNodeAt(POINTL screen) {
  const TPoint client = ScreenToClient(TPoint(screen.x, screen.y));
  TTreeNode* node = GetNodeAt(client.X, client.Y);
  TVyShellTreeData* data = ShellData(node);
  return data && data->Parent() ? node : nullptr;
}

HRESULT TVyCustomShellTree::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  FLastScrollCheck = ClockNowMs();
  if (data) data->AddRef();
  FDragData = TComPtr<IDataObject>(data);
  FDragKeyState = keyState;
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  TTreeNode* node = ShellNodeAt(point);
  if (!node) {
    SetDropHighlight(FDragNode);
    return S_OK;
  }
  SetDropHighlight(node);
  if (TComPtr<IDropTarget> target = ShellData(node)->GetDropTarget(OwnerWindow())) {
    *effect = allowed;
    if (FAILED(target->DragEnter(data, keyState, point, effect))) *effect = DROPEFFECT_NONE;
    target->DragLeave();
  }
  return S_OK;
}

HRESULT TVyCustomShellTree::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  TTreeNode* before = FDropNode;
  TTreeNode* node = ShellNodeAt(point);
  if (node) {
    SetDropHighlight(node);
    if (TComPtr<IDropTarget> target = ShellData(node)->GetDropTarget(OwnerWindow()))
      *effect = TargetDropEffect(target.Get(), FDragData.Get(), keyState, point, allowed);
  } else {
    SetDropHighlight(FDragNode);
  }
  DragScroll(ScreenToClient(TPoint(point.x, point.y)));
  *effect |= DROPEFFECT_SCROLL;
  if (FDropNode != before && HandleAllocated()) UpdateWindow(WindowHandle());
  return S_OK;
}

HRESULT TVyCustomShellTree::DragLeave() {
  FDragData.Reset();
  SetDropHighlight(nullptr);
  return S_OK;
}

HRESULT TVyCustomShellTree::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  const TOnExit done([this] {
    SetDropHighlight(nullptr);
    FDragData.Reset();
  });
  const DWORD allowed = *effect;
  *effect = DROPEFFECT_NONE;
  TTreeNode* node = ShellNodeAt(point);
  if (!node) return S_OK;
  TComPtr<IDropTarget> target = ShellData(node)->GetDropTarget(OwnerWindow());
  if (!target) return S_OK;
  // The button that started the drag tells the item to ask what to do.
  keyState |= FDragKeyState & (MK_LBUTTON | MK_RBUTTON);
  DWORD entered = allowed;
  if (FAILED(target->DragEnter(data, keyState, point, &entered))) return S_OK;
  DWORD over = allowed;
  target->DragOver(keyState, point, &over);
  *effect = over & CommonDropEffects(data);
  {
    const TVyHourglass hourglass;
    if (FAILED(target->Drop(data, keyState, point, effect))) *effect = DROPEFFECT_NONE;
  }
  RefreshNodes();
  return S_OK;
}

void TVyCustomShellTree::DragScroll(TPoint point) {
  if (!HandleAllocated()) return;
  const std::uint64_t now = ClockNowMs();
  if (now - FLastScrollCheck >= 100) {
    FLastScrollCheck = now;
    const int width = GetClientWidth(), height = GetClientHeight();
    const auto scroll = [&](UINT message, WPARAM step, int bar) {
      if (!ScrollsFurther(WindowHandle(), bar)) return;
      SendMessageW(WindowHandle(), message, step, 0);
      FLastDragMove = now;
    };
    if (point.X < 26) scroll(WM_HSCROLL, SB_LINELEFT, SB_HORZ);
    else if (point.X > width - 26) scroll(WM_HSCROLL, SB_LINERIGHT, SB_HORZ);
    if (point.Y < 20) scroll(WM_VSCROLL, SB_LINEUP, SB_VERT);
    else if (point.Y > height - 20) scroll(WM_VSCROLL, SB_LINEDOWN, SB_VERT);
  }
  const THoverMetrics& hover = Hover();
  const bool resting = point.X >= FLastDragPoint.X - hover.Width / 2 && point.X <= FLastDragPoint.X + hover.Width &&
                       point.Y >= FLastDragPoint.Y - hover.Height / 2 && point.Y <= FLastDragPoint.Y + hover.Height;
  if (!resting) {
    FLastDragPoint = point;
    FLastDragMove = now;
    return;
  }
  if (now - FLastDragMove <= hover.Time) return;
  if (TTreeNode* node = GetNodeAt(FLastDragPoint.X, FLastDragPoint.Y); node && !node->GetExpanded()) {
    // The shell shows no questions while a hovered folder opens.
    ++FHoverExpanding;
    const TOnExit expanded([this] { --FHoverExpanding; });
    try {
      node->Expand(false);
    } catch (...) {
      TraceCurrentException(L"Shell tree: opening a hovered folder");
      node->SetHasChildren(false);
    }
  }
  FLastDragPoint = point;
  FLastDragMove = now;
}

}  // namespace Vy
