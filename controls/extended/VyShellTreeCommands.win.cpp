// The shell tree's commands: in-place rename, new folders, the item's context menu
// and verbs, and the keys that run them.
#include "controls/extended/VyShellIdList.h"
#include "controls/extended/VyShellPathText.h"
#include "controls/extended/VyShellTexts.h"
#include "controls/extended/VyShellTree.h"
#include "vcl/Dialogs.h"
#include "vcl/ScopeGuards.h"
#include "vcl/SysUtils.h"

namespace Vy {

namespace {

// The longest name the volume of the folder takes (the system's own limit).
std::size_t LongestName(const std::wstring& folderPath) {
  DWORD longest = 0;
  if (folderPath.size() >= 3 && folderPath[1] == L':') {
    const std::wstring root = folderPath.substr(0, 3);
    if (GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, &longest, nullptr, nullptr, 0) && longest > 0)
      return longest;
  }
  return MAX_PATH - 1;
}

void WarnCannotCreate(const std::wstring& name, DWORD error) {
  MessageDlg(FormatStrPos(ShellTexts().UnableToCreateFolder, {SysErrorMessage(error), name}), mtWarning, {mbOK});
}

}  // namespace

// --- rename

bool TVyCustomShellTree::CanEdit(TTreeNode* node) {
  TVyShellTreeData* data = ShellData(node);
  if (!data) return TVyCustomTreeView::CanEdit(node);
  if (!data->CanRename() || !TVyCustomTreeView::CanEdit(node)) return false;
  // The shell's name for editing may differ from the one shown (an extension).
  if (HWND edit = reinterpret_cast<HWND>(SendMessageW(GetHandle(), TVM_GETEDITCONTROL, 0, 0))) {
    const std::wstring name = DisplayNameOf(data->ParentFolder(), data->RelIdList(), TDisplayNameKind::ForEditing);
    if (!name.empty()) SetWindowTextW(edit, name.c_str());
  }
  return true;
}

void TVyCustomShellTree::Edit(const TVITEMW& item) {
  TTreeNode* node = GetItems()->NodeOf(item.hItem);
  TVyShellTreeData* data = ShellData(node);
  if (!data) return TVyCustomTreeView::Edit(item);
  // A refresh that waited for the edit runs once the edit box is gone.
  const TOnExit afterwards([this] {
    if (FRefreshRequested && HandleAllocated()) PostMessageW(WindowHandle(), WM_SHELLTREE_REFRESH, 0, 0);
  });
  if (!item.pszText) return;
  std::wstring name = Trim(std::wstring(item.pszText));
  if (OnEdited) OnEdited(this, node, name);
  Rename(node, data, name);
}

void TVyCustomShellTree::Rename(TTreeNode* node, TVyShellTreeData* data, std::wstring name) {
  if (name.empty()) return;
  IShellFolder* folder = data->ParentFolder();
  if (!folder) return;
  TVyShellTreeData* parentData = data->Parent();
  const std::size_t longest = LongestName(parentData ? parentData->PathName() : std::wstring());
  // Cutting the name would give the item a name the user never typed.
  if (name.size() > longest) {
    MessageDlg(FormatStrPos(ShellTexts().NameTooLong, {std::to_wstring(longest)}), mtWarning, {mbOK});
    return;
  }
  const TVyHourglass hourglass;
  ++FUpdateCount;
  const TOnExit updated([this] { --FUpdateCount; });
  ITEMIDLIST* renamed = nullptr;
  if (FAILED(folder->SetNameOf(OwnerWindow(), data->RelIdList(), name.c_str(), SHGDN_INFOLDER, &renamed))) {
    ShellMemFree(renamed);
    return;
  }
  if (renamed) {
    for (int i = 0; i < node->Count(); ++i) ClearSubtreeCache(node->Item(i));
    data->SetRelIdList(TIdList(renamed));
    if (node == GetSelected()) FSelectedFolder->SetIdList(data->AbsIdList());
  }
  node->SetText(DisplayNameOf(folder, data->RelIdList(), TDisplayNameKind::InFolder));
  SortChildrenOf(node->Parent());
}

void TVyCustomShellTree::ClearSubtreeCache(TTreeNode* node) {
  if (TVyShellTreeData* data = ShellData(node)) data->ClearCache();
  for (int i = 0; i < node->Count(); ++i) ClearSubtreeCache(node->Item(i));
}

void TVyCustomShellTree::CMWantSpecialKey(TMessage& m) {
  if (IsEditing()) {
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

// --- new folders

bool TVyCustomShellTree::CreateNewFolder() {
  const std::wstring where = SelectedPathName();
  // No file-system folder is selected: there is no place the user chose.
  if (where.empty()) return false;
  const std::wstring folder = AppendCharIfMissing(where, L'\\');
  const TVyShellTexts& texts = ShellTexts();
  const std::pair<std::wstring, std::wstring> series[] = {{texts.NewFolder, texts.NewFolderNumbered},
                                                          {texts.ShortNewFolder, texts.ShortNewFolderNumbered}};
  std::wstring made;
  for (const auto& [base, numbered] : series) {
    for (int n = 1; n <= 50 && made.empty(); ++n) {
      const std::wstring name = NewFolderName(base, numbered, n);
      if (CreateDirectoryW((folder + name).c_str(), nullptr)) {
        made = name;
        break;
      }
      const DWORD error = GetLastError();
      if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
      // Another name would fail for the same reason: one warning, and done.
      WarnCannotCreate(name, error);
      return false;
    }
    if (!made.empty()) break;
  }
  if (made.empty()) {
    WarnCannotCreate(texts.NewFolder, ERROR_ALREADY_EXISTS);
    return false;
  }
  RefreshNodes();
  TTreeNode* selected = GetSelected();
  if (!selected) return true;
  EnsureFilled(selected);
  selected->Expand(false);
  for (int i = 0; i < selected->Count(); ++i) {
    TTreeNode* child = selected->Item(i);
    if (ShellData(child) && ShellData(child)->PathName() == folder + made) {
      // As the shell's own dialogs do: the new folder is the choice, its name open.
      child->SetSelected(true);
      child->MakeVisible();
      child->EditText();
      break;
    }
  }
  return true;
}

// --- verbs and the context menu

bool TVyCustomShellTree::DoCommandForNode(TTreeNode* node, const std::wstring& verb) {
  TVyShellTreeData* data = ShellData(node);
  if (!data || !data->Parent()) return false;
  IShellFolder* folder = data->ParentFolder();
  if (!folder) return false;
  const ITEMIDLIST* items[] = {data->RelIdList()};
  TComPtr<IContextMenu> menuObject;
  if (FAILED(folder->GetUIObjectOf(OwnerWindow(), 1, items, IID_IContextMenu, nullptr, menuObject.PutVoid())))
    return false;
  const bool wasBusy = BeginBusy();
  const TOnExit ended([this, wasBusy] { EndBusy(wasBusy); });
  // The command changes the folder: the refresh runs when it is done.
  FRefreshRequested = true;
  return SUCCEEDED(InvokeMenuCommand(OwnerWindow(), menuObject.Get(), verb));
}

void TVyCustomShellTree::DoNodeContextMenu(TTreeNode* node, TPoint point, TPopupMenu*& menu) {
  TVyCustomTreeView::DoNodeContextMenu(node, point, menu);
  if (!FOptions.Contains(stoContextMenus)) return;
  // The shell's menu is the one: no other shows.
  menu = nullptr;
  TVyShellTreeData* data = ShellData(node);
  if (!data || !data->ParentFolder() || IdListItemCount(data->AbsIdList()) == 0) return;
  TrackItemMenu(node, data, point);
}

void TVyCustomShellTree::TrackItemMenu(TTreeNode* node, TVyShellTreeData* data, TPoint point) {
  const bool wasBusy = BeginBusy();
  const TOnExit ended([this, wasBusy] { EndBusy(wasBusy); });
  TComPtr<IContextMenu> menuObject;
  HMENU popup = nullptr;
  const UINT flags = GetReadOnly() ? CMF_EXPLORE : CMF_EXPLORE | CMF_CANRENAME;
  if (FAILED(CreateItemContextMenu(GetHandle(), data->ParentFolder(), {data->RelIdList()}, flags, kFirstShellCommand,
                                   menuObject, popup)))
    return;
  const TOnExit destroyed([this, popup] {
    FMenuObject.Reset();
    DestroyMenu(popup);
  });
  FMenuObject = menuObject;
  const TPoint screen = ClientToScreen(point);
  const UINT id = UINT(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.X, screen.Y, 0,
                                      GetHandle(), nullptr));
  switch (ClassifyMenuCommand(menuObject.Get(), id)) {
    case TShellMenuChoice::None: break;
    case TShellMenuChoice::Rename: node->EditText(); break;
    case TShellMenuChoice::ShellCommand:
      InvokeMenuCommand(OwnerWindow(), menuObject.Get(), id - kFirstShellCommand);
      FRefreshRequested = true;
      break;
    case TShellMenuChoice::SendTo: {
      const auto& entries = SendToEntries();
      if (id - 1 >= entries.size()) break;
      TVyShellTreeData* parent = data->Parent();
      TComPtr<IDataObject> dragged(
          new TVyShellDataObject(data->ParentFolder(), parent ? parent->AbsIdList() : nullptr, {data->RelIdList()}));
      SendToDrop(entries[id - 1].Name, dragged.Get());
      break;
    }
  }
}

void TVyCustomShellTree::WMMenuMessage(TMessage& m) {
  QORN_INHERITED(m);
  if (!FMenuObject) return;
  switch (m.Msg) {
    case WM_INITMENUPOPUP: HandleInitMenuPopup(FMenuObject.Get(), m); break;
    case WM_DRAWITEM: HandleDrawItem(FMenuObject.Get(), m, GetSystemImageListHandle(TSystemImageSize::Small)); break;
    case WM_MEASUREITEM: HandleMeasureItem(FMenuObject.Get(), m); break;
    case WM_MENUCHAR: HandleMenuChar(FMenuObject.Get(), m); break;
    case WM_MENUSELECT: HandleMenuSelect(FMenuObject.Get(), m, this, OnPopupHint); break;
  }
}

// --- keys

void TVyCustomShellTree::KeyDown(WORD& key, TShiftState shift) {
  TVyCustomTreeView::KeyDown(key, shift);
  if (!FOptions.Contains(stoDefaultKeyHandling) || IsEditing() || key == 0) return;
  const bool ctrl = shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt);
  const bool plain = !shift.Contains(ssCtrl) && !shift.Contains(ssShift) && !shift.Contains(ssAlt);
  const bool shiftOnly = shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  TTreeNode* selected = GetSelected();
  if (plain && key == VK_F2) {
    if (selected) selected->EditText();
  } else if (plain && key == VK_F5) {
    RefreshNodes();
  } else if (ctrl && key == 'X') {
    DoCommandForNode(selected, L"cut");
  } else if (ctrl && key == 'C') {
    DoCommandForNode(selected, L"copy");
  } else if (ctrl && key == 'V') {
    DoCommandForNode(selected, L"paste");
  } else if ((plain || shiftOnly) && key == VK_DELETE) {
    DoCommandForNode(selected, L"delete");
  } else if (!(ctrl && key == 'A')) {
    return;
  }
  key = 0;
}

}  // namespace Vy
