// The shell list's user actions: opening items and folders, going up, the shell's
// commands on the selection (keys and context menu), and renaming in place.
#include "controls/extended/VyShellList.h"

#include "controls/extended/VyShellListSupport.h"
#include "controls/extended/VyShellPidlList.h"
#include "vcl/ScopeGuards.h"
#include "vcl/ShortCuts.h"

#include <algorithm>

namespace Vy {

using namespace shell_list;

// --- opening and navigation

void TVyCustomShellList::Navigate(const ITEMIDLIST* absolute) {
  if (HasOption(sloNoNavigation)) return;
  TIdList target = CopyIdList(absolute);  // the list may belong to an item cleared below
  SetSelected(nullptr);
  GetItems()->Clear();
  if (FLinkedTree) {
    FLinkedTree->SetSelectedFolderIdList(target.get());
    return;
  }
  if (CompareIdLists(FFolder->GetIdList(), target.get()) == 0) FillList();
  else FFolder->SetIdList(target.get());
}

void TVyCustomShellList::GoUp(int levels) {
  if (HasOption(sloNoNavigation) || levels <= 0) return;
  if (FLinkedTree) {
    FLinkedTree->GoUp(levels);
    return;
  }
  TVyIdListArray parts(FFolder->GetIdList());
  if (parts.Count() < 1) return;
  const ITEMIDLIST* parent = parts.ParentList(std::min(levels, parts.Count()));
  TIdList copy = CopyIdList(parent);
  Navigate(copy.get());
}

void TVyCustomShellList::RunDefaultCommand(const std::vector<const ITEMIDLIST*>& items) {
  if (items.empty() || !FShellFolder) return;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
  if (FAILED(CreateItemContextMenu(OwnerFormWindow(), FShellFolder.Get(), items, CMF_EXPLORE, kFirstShellCommand,
                                   menuObject, menu)))
    return;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  const UINT id = GetMenuDefaultItem(menu, FALSE, 0);
  if (id != UINT(-1) && id >= kFirstShellCommand)
    InvokeMenuCommand(OwnerFormWindow(), menuObject.Get(), id - kFirstShellCommand);
}

void TVyCustomShellList::OpenItem(TListItem* item) {
  if (!item) return;
  if (FLinkedTree) FLinkedTree->PassPendingJobs();
  bool handled = false;
  TVyShellListItem* data = ShellItem(item);
  if (!data) {
    if (OnDefaultAction) OnDefaultAction(this, handled);
    return;
  }
  const THourglass hourglass;
  SFGAOF attributes = SFGAO_FOLDER;
  const ITEMIDLIST* relative = data->RelIdList();
  if (FShellFolder && SUCCEEDED(FShellFolder->GetAttributesOf(1, &relative, &attributes)) &&
      (attributes & SFGAO_FOLDER)) {
    Navigate(data->AbsIdList());
    return;
  }
  if (data->IsLink()) {
    TShortcutInfo link;
    if (SUCCEEDED(ReadShortcut(data->PathName(), link, false)) && !link.Path.empty()) {
      const DWORD target = GetFileAttributesW(link.Path.c_str());
      TIdList targetList;
      if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) &&
          SUCCEEDED(PathToIdList(link.Path, targetList))) {
        Navigate(targetList.get());
        return;
      }
    }
  }
  if (OnDefaultAction) OnDefaultAction(this, handled);
  if (!handled) RunDefaultCommand({relative});
}

void TVyCustomShellList::OpenSelection() {
  const std::vector<TListItem*> selected = SelectedShellItems();
  if (selected.size() < 2) {
    OpenItem(selected.empty() ? GetSelected() : selected.front());
    return;
  }
  bool handled = false;
  if (OnDefaultAction) OnDefaultAction(this, handled);
  if (!handled) RunDefaultCommand(SelectedRelLists());
}

std::vector<TListItem*> TVyCustomShellList::SelectedShellItems() const {
  std::vector<TListItem*> out;
  for (TListItem* item = GetNextItem(nullptr, sdAll, {isSelected}); item; item = GetNextItem(item, sdAll, {isSelected}))
    if (ShellItem(item)) out.push_back(item);
  return out;
}

std::vector<const ITEMIDLIST*> TVyCustomShellList::SelectedRelLists() const {
  std::vector<const ITEMIDLIST*> out;
  for (TListItem* item : SelectedShellItems()) out.push_back(ShellItem(item)->RelIdList());
  return out;
}

bool TVyCustomShellList::DoCommandForSelection(const std::wstring& verb) {
  const std::vector<const ITEMIDLIST*> items = SelectedRelLists();
  if (items.empty() || !FShellFolder) return false;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
  if (FAILED(CreateItemContextMenu(OwnerFormWindow(), FShellFolder.Get(), items, CMF_EXPLORE, kFirstShellCommand,
                                   menuObject, menu)))
    return false;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  return SUCCEEDED(InvokeMenuCommand(OwnerFormWindow(), menuObject.Get(), verb));
}

bool TVyCustomShellList::PasteIntoFolder(const std::wstring& verb) {
  TVyIdListArray parts(FFolder->GetIdList());
  if (parts.Count() < 1) return false;
  TIdList parentList = CopyIdList(parts.ParentList(1));
  TIdList last = CopyIdList(parts.Item(parts.Count() - 1));
  TComPtr<IShellFolder> parent;
  if (FAILED(GetShellFolder(parentList.get(), parent))) return false;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
  if (FAILED(CreateItemContextMenu(OwnerFormWindow(), parent.Get(), {last.get()}, CMF_EXPLORE, kFirstShellCommand,
                                   menuObject, menu)))
    return false;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  return SUCCEEDED(InvokeMenuCommand(OwnerFormWindow(), menuObject.Get(), verb));
}

void TVyCustomShellList::SelectAll() {
  if (!HandleAllocated()) return;
  GetItems()->BeginUpdate();
  const TOnExit update([this] { GetItems()->EndUpdate(); });
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageW(WindowHandle(), LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
}

// After copy, cut and delete: a network folder sends no change notifications.
void TVyCustomShellList::AfterSelectionCommand(const std::wstring& verb) {
  if (verb == L"delete" || IsNetworkPath(FolderPath())) RefreshItems();
}

// --- keyboard and mouse

void TVyCustomShellList::KeyDown(WORD& key, TShiftState shift) {
  if (HasOption(sloDefaultKeyHandling) && !IsEditing()) {
    static const TShortCut selectAll = TextToShortCut(L"Ctrl+A"), refresh = TextToShortCut(L"F5"),
                           copy = TextToShortCut(L"Ctrl+C"), cut = TextToShortCut(L"Ctrl+X"),
                           paste = TextToShortCut(L"Ctrl+V"), rename = TextToShortCut(L"F2"),
                           remove = TextToShortCut(L"Del");
    const TShortCut pressed = ShortCut(key, shift);
    TShiftState withoutShift = shift;
    withoutShift.Exclude(ssShift);
    bool matched = true;
    if (pressed == selectAll) {
      SelectAll();
    } else if (pressed == refresh) {
      FillList();
    } else if (pressed == copy || pressed == cut) {
      const std::wstring verb = pressed == copy ? L"copy" : L"cut";
      DoCommandForSelection(verb);
      AfterSelectionCommand(verb);
    } else if (pressed == paste) {
      PasteIntoFolder(L"paste");
      RefreshItems();
    } else if (pressed == rename) {
      RenameItem(GetItemFocused());
    } else if (ShortCut(key, withoutShift) == remove) {
      DoCommandForSelection(L"delete");
      AfterSelectionCommand(L"delete");
    } else {
      matched = false;
    }
    if (matched) key = 0;
  }
  TVyCustomListView::KeyDown(key, shift);
}

void TVyCustomShellList::KeyPress(wchar_t& key) {
  if (HasOption(sloDefaultKeyHandling) && !IsEditing()) {
    if (key == L'\b') {
      key = 0;
      GoUp(1);
      return;
    }
    if (key == L'\r') {
      key = 0;
      OpenSelection();
      return;
    }
  }
  TVyCustomListView::KeyPress(key);
}

void TVyCustomShellList::DblClick() {
  TVyCustomListView::DblClick();
  OpenSelection();
}

bool TVyCustomShellList::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  if (GetViewStyle() != vsList) return TVyCustomListView::DoMouseWheelDown(shift, mousePos);
  SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEDOWN, 0);
  return true;
}

bool TVyCustomShellList::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  if (GetViewStyle() != vsList) return TVyCustomListView::DoMouseWheelUp(shift, mousePos);
  SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEUP, 0);
  return true;
}

// --- renaming

void TVyCustomShellList::RenameItem(TListItem* item) {
  if (!item || !HandleAllocated()) return;
  SetFocus();
  SendMessageW(WindowHandle(), LVM_EDITLABELW, WPARAM(item->Index()), 0);
}

bool TVyCustomShellList::CanEdit(TListItem* item) {
  TVyShellListItem* data = ShellItem(item);
  if (!data) return TVyCustomListView::CanEdit(item);
  if (!data->CanRename() || !TVyCustomListView::CanEdit(item)) return false;
  if (HWND edit = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETEDITCONTROL, 0, 0))) {
    const std::wstring name = DisplayNameOf(FShellFolder.Get(), data->RelIdList(), TDisplayNameKind::ForEditing);
    if (!name.empty()) SetWindowTextW(edit, name.c_str());
  }
  return true;
}

void TVyCustomShellList::Edit(const LVITEMW& info) {
  TListItem* item = ItemOfNotify(info.iItem, info.lParam);
  TVyShellListItem* data = ShellItem(item);
  if (!data) {
    TVyCustomListView::Edit(info);
    return;
  }
  // The edit box is still there now: a refresh held back meanwhile runs once it is gone.
  if (FRefreshRequested) PostMessageW(WindowHandle(), WM_RUNPOSTPONED, 0, 0);
  if (!info.pszText) return;
  std::wstring name = Trimmed(info.pszText);
  if (OnEdited) OnEdited(this, item, name);
  // A name the folder cannot hold is refused whole: cut short it would name another file.
  if (!FShellFolder || !NameFitsFolder(FolderPath(), name)) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  const THourglass hourglass;
  FRenamePending = true;
  ITEMIDLIST* renamed = nullptr;
  const HRESULT result =
      FShellFolder->SetNameOf(OwnerFormWindow(), data->RelIdList(), name.c_str(), kSetNameFlags, &renamed);
  if (FAILED(result)) {
    FRenamePending = false;
    if (renamed) ShellMemFree(renamed);
    return;
  }
  if (renamed) data->SetRelIdList(TIdList(renamed));
  data->ForgetSortKey();
  item->SetCaption(data->DisplayName());
}

// --- context menu

void TVyCustomShellList::DoItemContextMenu(TListItem* item, TPoint point, TPopupMenu*& menu) {
  if (!HasOption(sloContextMenus) || FInMenuOrDrag || !FShellFolder) {
    TVyCustomListView::DoItemContextMenu(item, point, menu);
    return;
  }
  const std::vector<const ITEMIDLIST*> items = SelectedRelLists();
  if (items.empty()) {
    TVyCustomListView::DoItemContextMenu(item, point, menu);
    return;
  }
  menu = nullptr;
  TVyShellListItem* focused = ShellItem(GetItemFocused());
  UINT flags = CMF_EXPLORE;
  if (focused && !focused->PathName().empty() && !GetReadOnly()) flags |= CMF_CANRENAME;
  TComPtr<IContextMenu> menuObject;
  HMENU popup = nullptr;
  if (FAILED(CreateItemContextMenu(WindowHandle(), FShellFolder.Get(), items, flags, kFirstShellCommand, menuObject,
                                   popup)))
    return;
  const TOnExit destroyed([popup] { DestroyMenu(popup); });
  UINT id = 0;
  {
    FInMenuOrDrag = true;
    FMenuObject = menuObject;
    const TOnExit closed([this] {
      FMenuObject.Reset();
      FInMenuOrDrag = false;
    });
    const TPoint screen = ClientToScreen(point);
    id = UINT(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.X, screen.Y, 0,
                             WindowHandle(), nullptr));
  }
  switch (id == 0 ? TShellMenuChoice::None : ClassifyMenuCommand(menuObject.Get(), id)) {
    case TShellMenuChoice::Rename: RenameItem(GetItemFocused()); break;
    case TShellMenuChoice::ShellCommand:
      InvokeMenuCommand(WindowHandle(), menuObject.Get(), id - kFirstShellCommand);
      if (IsNetworkPath(FolderPath())) FRefreshRequested = true;
      break;
    case TShellMenuChoice::SendTo: {
      const auto& entries = SendToEntries();
      if (id - 1 < entries.size()) {
        TComPtr<IDataObject> data(new TVyShellDataObject(FShellFolder.Get(), FFolderIdList.get(), items));
        SendToDrop(entries[id - 1].Name, data.Get());
      }
      break;
    }
    case TShellMenuChoice::None: break;
  }
  // A change seen while the menu was open is applied now.
  RunPostponedRefresh();
}

}  // namespace Vy
