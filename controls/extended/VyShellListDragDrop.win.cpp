// The shell list's OLE drag and drop: its selection dragged out as shell items, and
// drops onto its items or its folder handed to the shell's drop targets.
#include "controls/extended/VyShellList.h"

#include "controls/extended/VyShellListSupport.h"
#include "vcl/ScopeGuards.h"

#include <utility>

namespace Vy {

using namespace shell_list;

// --- OLE drag from the list

IDropSource* TVyCustomShellList::CreateDropSource(int button) { return new TDropSource_shlvtv(button); }

void TVyCustomShellList::BeginOleDrag(int, int button) {
  const std::vector<const ITEMIDLIST*> items = SelectedRelLists();
  if (items.empty() || !FShellFolder) return;
  DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  SFGAOF attributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
  std::vector<const ITEMIDLIST*> raw(items);
  if (SUCCEEDED(FShellFolder->GetAttributesOf(UINT(raw.size()), raw.data(), &attributes)))
    allowed = DWORD(attributes & 7);
  TComPtr<IDataObject> data(new TVyShellDataObject(FShellFolder.Get(), FFolderIdList.get(), items));
  TComPtr<IDropSource> source(CreateDropSource(button));
  FInMenuOrDrag = true;
  FDraggedFromHere = true;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data.Get(), source.Get(), allowed, &effect);
  FInMenuOrDrag = false;
  FDraggedFromHere = false;
  const bool requested = std::exchange(FRefreshRequested, false);
  if (result == DRAGDROP_S_DROP || requested) RefreshItems();
}

// --- OLE drop onto the list

TComPtr<IDropTarget> TVyCustomShellList::DropTargetAt(POINTL screenPoint, TListItem*& item) {
  const TPoint client = ScreenToClient(TPoint(screenPoint.x, screenPoint.y));
  item = GetItemAt(client.X, client.Y);
  TComPtr<IDropTarget> target;
  if (!FShellFolder) return target;
  if (TVyShellListItem* data = ShellItem(item)) {
    const ITEMIDLIST* relative = data->RelIdList();
    if (SUCCEEDED(
            FShellFolder->GetUIObjectOf(OwnerFormWindow(), 1, &relative, IID_IDropTarget, nullptr, target.PutVoid())) &&
        target)
      return target;
  }
  item = nullptr;
  if (FAILED(FShellFolder->CreateViewObject(OwnerFormWindow(), IID_IDropTarget, target.PutVoid()))) target.Reset();
  return target;
}

void TVyCustomShellList::SetDropHighlight(TListItem* item) {
  if (item == FDropHighlight || !HandleAllocated()) return;
  auto mark = [this](TListItem* at, bool on) {
    if (!at) return;
    LVITEMW state{};
    state.stateMask = LVIS_DROPHILITED;
    state.state = on ? LVIS_DROPHILITED : 0;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, WPARAM(at->Index()), reinterpret_cast<LPARAM>(&state));
  };
  mark(FDropHighlight, false);
  FDropHighlight = item;
  mark(item, true);
  UpdateWindow(WindowHandle());
}

void TVyCustomShellList::DragScroll(TPoint point) {
  const DWORD now = GetTickCount();
  if (now - FLastScrollTick < kScrollPaceMs) return;
  FLastScrollTick = now;
  if (point.X < kScrollEdgeX) SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEUP, 0);
  else if (point.X > GetClientWidth() - kScrollEdgeX) SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEDOWN, 0);
  if (point.Y < kScrollEdgeY) SendMessageW(WindowHandle(), WM_VSCROLL, SB_LINEUP, 0);
  else if (point.Y > GetClientHeight() - kScrollEdgeY) SendMessageW(WindowHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
}

HRESULT TVyCustomShellList::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (data) data->AddRef();
  FDragData = TComPtr<IDataObject>(data);
  FDragKeyState = keyState;
  return DragOver(keyState, point, effect);
}

HRESULT TVyCustomShellList::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD offered = *effect;
  const TPoint client = ScreenToClient(TPoint(point.x, point.y));
  TListItem* under = GetItemAt(client.X, client.Y);
  if (under && !ShellItem(under)) {
    *effect = DROPEFFECT_COPY;
  } else if (!under && FDraggedFromHere) {
    // Onto the folder it came from: only the right button's menu makes sense there.
    SetDropHighlight(nullptr);
    *effect = (keyState & MK_RBUTTON) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  } else {
    TListItem* item = nullptr;
    TComPtr<IDropTarget> target = DropTargetAt(point, item);
    SetDropHighlight(item);
    *effect = DROPEFFECT_NONE;
    if (target && FDragData) *effect = TargetDropEffect(target.Get(), FDragData.Get(), keyState, point, offered);
  }
  DragScroll(client);
  *effect |= DROPEFFECT_SCROLL;
  return S_OK;
}

HRESULT TVyCustomShellList::DragLeave() {
  FDragData.Reset();
  SetDropHighlight(nullptr);
  return S_OK;
}

HRESULT TVyCustomShellList::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  const TOnExit done([this] {
    SetDropHighlight(nullptr);
    FDragData.Reset();
  });
  if (!effect || !data) return E_INVALIDARG;
  keyState |= FDragKeyState & (MK_LBUTTON | MK_RBUTTON);
  TListItem* item = nullptr;
  TComPtr<IDropTarget> target = DropTargetAt(point, item);
  DWORD allowed = *effect;
  if (!item && FDraggedFromHere) {
    if (!(FDragKeyState & MK_RBUTTON)) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    allowed &= ~DWORD(DROPEFFECT_MOVE);
  }
  if (!target) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  allowed &= CommonDropEffects(data);
  DWORD answer = allowed;
  target->DragEnter(data, keyState, point, &answer);
  answer = allowed;
  target->DragOver(keyState, point, &answer);
  answer = allowed;
  HRESULT result;
  {
    const THourglass hourglass;
    result = target->Drop(data, keyState, point, &answer);
  }
  *effect = answer;
  RefreshItems();
  return result;
}

}  // namespace Vy
