#include "controls/extended/VyShellTree.h"

#include <utility>

#include "controls/extended/VyShellIdList.h"
#include "controls/extended/VyShellPidlList.h"
#include "core/utils/Trace.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"

#include <dbt.h>

namespace Vy {

namespace {

// The attributes a new node is made from: has subfolders, file system, folder,
// file-system ancestor, removable, hidden, shared, link.
constexpr SFGAOF kNodeAttributes = 0xF20B0000;

}  // namespace

TVyCustomShellTree::TVyCustomShellTree(TComponent* AOwner)
    : TVyCustomTreeView(AOwner),
      FBaseFolder(std::make_unique<TVyShellLocator>()),
      FSelectedFolder(std::make_unique<TVyShellLocator>()),
      FChangeTimer(std::make_unique<TTimer>(nullptr)),
      FSystemImages(std::make_unique<TImageList>(nullptr)) {
  FChangeTimer->SetEnabled(false);
  FChangeTimer->OnTimer = TNotifyEvent(this, &TVyCustomShellTree::ChangeTimerTick);
  FBaseFolder->OnChange = TNotifyEvent(this, &TVyCustomShellTree::BaseFolderChanged);
  FSelectedFolder->OnChange = TNotifyEvent(this, &TVyCustomShellTree::SelectedFolderChanged);
  SetShowRoot(false);
  FSystemImages->SetShareImages(true);
  FSystemImages->SetHandle(GetSystemImageListHandle(TSystemImageSize::Small));
  SetImages(FSystemImages.get());
  DeviceChangeHandler().AddNotify(TVyDeviceChangeEvent(this, &TVyCustomShellTree::DeviceChanged));
  SetBounds(GetLeft(), GetTop(), 150, 150);
}

TVyCustomShellTree::~TVyCustomShellTree() {
  SetShellList(nullptr);
  DeviceChangeHandler().RemoveNotify(TVyDeviceChangeEvent(this, &TVyCustomShellTree::DeviceChanged));
  // The nodes go while this class can still free their data.
  ++FUpdateCount;
  DestroyHandle();
  GetItems()->Clear();
  FreeWatchAndDrop();
  SetImages(nullptr);
}

void TVyCustomShellTree::Publish(TPublisher<TVyCustomShellTree>& p) {
  using T = TVyCustomShellTree;
  p.Message(WM_SHELLCHANGE, &T::WMShellChange);
  p.Message(WM_SHELLTREE_FILL, &T::WMShellTreeFill);
  p.Message(WM_SHELLTREE_REFRESH, &T::WMShellTreeRefresh);
  p.Message(CN_NOTIFY, &T::CNNotify);
  p.Message(CM_WANTSPECIALKEY, &T::CMWantSpecialKey);
  p.Message(WM_INITMENUPOPUP, &T::WMMenuMessage);
  p.Message(WM_DRAWITEM, &T::WMMenuMessage);
  p.Message(WM_MEASUREITEM, &T::WMMenuMessage);
  p.Message(WM_MENUCHAR, &T::WMMenuMessage);
  p.Message(WM_MENUSELECT, &T::WMMenuMessage);
  p.Message(WM_NCDESTROY, &T::WMNCDestroy);
}

void TVyShellTree::Publish(TPublisher<TVyShellTree>& p) {
  using T = TVyShellTree;
  PublishWindowFrame(p);
  p.Property(L"AutoExpand", &T::GetAutoExpand, &T::SetAutoExpand).Default(false);
  p.Property(L"BaseFolder", &T::GetBaseFolder, &T::SetBaseFolder);
  p.Property(L"Options", &T::GetOptions, &T::SetOptions).Default(kDefaultShellTreeOptions);
  p.Property(L"ShellList", &T::GetShellList, &T::SetShellList);
  p.Property(L"OnAddItem", &T::OnAddItem);
  p.Property(L"OnDeleteItem", &T::OnDeleteItem);
  p.Property(L"OnInsertItem", &T::OnInsertItem);
  p.Property(L"OnPopupHint", &T::OnPopupHint);
  p.Property(L"OnFillStart", &T::OnFillStart);
  p.Property(L"OnFillComplete", &T::OnFillComplete);
  p.Property(L"OnNodeContextMenu", &T::OnNodeContextMenu);
  p.Property(L"OnChange", &T::OnChange);
  p.Property(L"OnChanging", &T::OnChanging);
  p.Property(L"OnExpanding", &T::OnExpanding);
  p.Property(L"OnExpanded", &T::OnExpanded);
  p.Property(L"OnCollapsing", &T::OnCollapsing);
  p.Property(L"OnCollapsed", &T::OnCollapsed);
  p.Property(L"OnEditing", &T::OnEditing);
  p.Property(L"OnEdited", &T::OnEdited);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
  // The system's image list, always.
  p.Hide(L"Images");
  p.Hide(L"Items");
}

// --- properties

void TVyCustomShellTree::SetBaseFolder(TVyShellLocator* v) { FBaseFolder->Assign(v); }

void TVyCustomShellTree::SetSelectedFolder(TVyShellLocator* v) {
  if (ComponentState().Contains(csLoading) || FUpdateCount > 0) return;
  FSelectedFolder->Assign(v);
}

void TVyCustomShellTree::SetOptions(TVyShellTreeOptions v) {
  const TVyShellTreeOptions old = FOptions;
  FOptions = v;
  if (!HandleAllocated()) return;
  const auto changed = [&](TVyShellTreeOption o) { return old.Contains(o) != v.Contains(o); };
  if (changed(stoOleDrop)) {
    if (v.Contains(stoOleDrop)) {
      FDropTargetObject = TComPtr<IDropTarget>(new TVyShellDropTarget(this));
      RegisterDragDrop(WindowHandle(), FDropTargetObject.Get());
    } else {
      RevokeDragDrop(WindowHandle());
      FDropTargetObject.Reset();
    }
  }
  const LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
  const LONG_PTR wanted = v.Contains(stoOleDrag) || GetDragMode() == dmAutomatic ? style & ~TVS_DISABLEDRAGDROP
                                                                                 : style | TVS_DISABLEDRAGDROP;
  if (wanted != style) SetWindowLongPtrW(WindowHandle(), GWL_STYLE, wanted);
  if (changed(stoDynamicRefresh)) {
    if (v.Contains(stoDynamicRefresh)) StartWatching();
    else if (FWatchThread) FWatchThread->RemoveAllWatches();
  }
}

TVyShellTreeData* TVyCustomShellTree::ShellData(const TTreeNode* node) const {
  if (!node) return nullptr;
  auto* data = static_cast<const TVyShellTreeData*>(node->GetData());
  return FShellData.count(data) ? const_cast<TVyShellTreeData*>(data) : nullptr;
}

std::wstring TVyCustomShellTree::SelectedPathName() {
  TVyShellTreeData* data = ShellData(GetSelected());
  return data ? data->PathName() : std::wstring();
}

HWND TVyCustomShellTree::OwnerWindow() const {
  if (FHoverExpanding > 0) return nullptr;
  const TCustomForm* form = GetParentForm(const_cast<TVyCustomShellTree*>(this));
  return form && form->HandleAllocated() ? form->WindowHandle() : nullptr;
}

// --- window life

void TVyCustomShellTree::CreateParams(TCreateParams& params) {
  TVyCustomTreeView::CreateParams(params);
  if (FOptions.Contains(stoOleDrag) || GetDragMode() == dmAutomatic) params.Style &= ~TVS_DISABLEDRAGDROP;
  else params.Style |= TVS_DISABLEDRAGDROP;
}

void TVyCustomShellTree::CreateWnd() {
  TVyCustomTreeView::CreateWnd();
  if (FOptions.Contains(stoOleDrop)) {
    FDropTargetObject = TComPtr<IDropTarget>(new TVyShellDropTarget(this));
    RegisterDragDrop(WindowHandle(), FDropTargetObject.Get());
  }
  if (!ComponentState().Contains(csLoading) && FOptions.Contains(stoAutoFill) && !GetItems()->GetFirstNode())
    PostMessageW(WindowHandle(), WM_SHELLTREE_FILL, 0, 0);
}

void TVyCustomShellTree::DestroyWnd() {
  ++FUpdateCount;
  const TOnExit updated([this] { --FUpdateCount; });
  GetItems()->Clear();
  TVyCustomTreeView::DestroyWnd();
}

void TVyCustomShellTree::WMNCDestroy(TMessage& m) {
  FreeWatchAndDrop();
  QORN_INHERITED(m);
}

void TVyCustomShellTree::FreeWatchAndDrop() {
  if (FDropTargetObject) {
    if (HandleAllocated()) RevokeDragDrop(WindowHandle());
    FDropTargetObject.Reset();
  }
  FWatchThread.reset();
}

void TVyCustomShellTree::Loaded() {
  FInLoaded = true;
  const TOnExit loaded([this] { FInLoaded = false; });
  TVyCustomTreeView::Loaded();
  // A list named in the form shows the folder the loaded tree selected.
  if (FShellList)
    if (TTreeNode* node = GetSelected(); node && ShellData(node)) SelectionSettled(node);
}

void TVyCustomShellTree::WMShellTreeFill(TMessage&) {
  if (!GetItems()->GetFirstNode()) FillTree();
}

void TVyCustomShellTree::WMShellTreeRefresh(TMessage&) {
  if (FRefreshRequested) RefreshNodes();
}

// --- filling

bool TVyCustomShellTree::Deferred() {
  if (!FInMenuOrDrag && !IsEditing()) return false;
  FRefreshRequested = true;
  return true;
}

void TVyCustomShellTree::EndBusy(bool wasBusy) {
  FInMenuOrDrag = wasBusy;
  if (!wasBusy && FRefreshRequested) RefreshNodes();
}

void TVyCustomShellTree::FillTree() {
  if (Deferred()) return;
  FRefreshRequested = false;
  const TVyHourglass hourglass;
  {
    ++FUpdateCount;
    const TOnExit updated([this] { --FUpdateCount; });
    GetItems()->Clear();
  }
  TComPtr<IShellFolder> start;
  OleCheck(GetShellFolder(FBaseFolder->GetIdList(), start));
  FillFolder(start.Get(), nullptr);
  if (FSelectedFolder->GetIdList()) GotoIdList(FSelectedFolder->GetIdList());
  else if (TTreeNode* first = GetItems()->GetFirstNode()) first->SetSelected(true);
  if (FOptions.Contains(stoDynamicRefresh)) StartWatching();
}

HRESULT TVyCustomShellTree::EnumerateFolder(IShellFolder* folder, TComPtr<IEnumIDList>& items) {
  SHCONTF flags = SHCONTF_FOLDERS;
  if (FOptions.Contains(stoShowHidden)) flags |= SHCONTF_INCLUDEHIDDEN;
  if (FOptions.Contains(stoIncludeNonFolders)) flags |= SHCONTF_NONFOLDERS;
  const HRESULT result = folder->EnumObjects(OwnerWindow(), flags, items.Put());
  // An empty folder may answer S_FALSE and no enumerator.
  return SUCCEEDED(result) && !items ? S_FALSE : result;
}

void TVyCustomShellTree::FillFolder(IShellFolder* folder, TTreeNode* node) {
  if (OnFillStart) OnFillStart(this);
  const TOnExit completed([this] {
    if (OnFillComplete) OnFillComplete(this);
  });
  // An empty drive must not ask the user to insert a disk.
  const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const TOnExit restored([errorMode] { SetErrorMode(errorMode); });
  TTreeNode* parent = node;
  if (!parent) {
    TIdList rootList = FBaseFolder->GetIdList() ? CopyIdList(FBaseFolder->GetIdList()) : nullptr;
    auto data = std::make_unique<TVyShellTreeData>(this, nullptr, nullptr, std::move(rootList));
    data->SetThisFolder(folder);
    const ITEMIDLIST* list = data->AbsIdList();
    FShellData.insert(data.get());
    parent = GetItems()->AddChildObject(nullptr, IdListDisplayName(list), data.release());
    parent->SetImageIndex(GetIdListIconIndex(list, SHGFI_SMALLICON));
    parent->SetSelectedIndex(GetIdListIconIndex(list, SHGFI_SMALLICON | SHGFI_OPENICON));
    if (OnInsertItem) OnInsertItem(this, parent);
  }
  TVyShellTreeData* parentData = ShellData(parent);
  TComPtr<IEnumIDList> items;
  HRESULT result = EnumerateFolder(folder, items);
  if (FAILED(result)) return;  // the node keeps its button: it may open later
  if (items) {
    for (;;) {
      ITEMIDLIST* raw = nullptr;
      ULONG fetched = 0;
      result = items->Next(1, &raw, &fetched);
      if (result != S_OK || fetched != 1) break;
      const TIdList item(raw);
      OleCheck(AddShellItem(folder, parentData->AbsIdList(), item.get(), parent));
    }
  }
  if (parent->Count() == 0) parent->SetHasChildren(false);
  if (FAILED(result) && result != E_FAIL) OleCheck(result);
  SortChildrenOf(parent);
  if (!node) parent->Expand(false);
}

HRESULT TVyCustomShellTree::AddShellItem(IShellFolder* folder, const ITEMIDLIST* parentAbs, const ITEMIDLIST* relative,
                                         TTreeNode* parentNode) {
  if (!relative) return S_OK;
  const ITEMIDLIST* items[] = {relative};
  SFGAOF attributes = kNodeAttributes;
  const HRESULT got = folder->GetAttributesOf(1, items, &attributes);
  if (FAILED(got)) return got;
  const bool candidate =
      FOptions.Contains(stoVirtualFolders) || (attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR)) != 0;
  if (!candidate || !DoAddItem(folder, parentAbs, relative, attributes)) return S_OK;
  auto data = std::make_unique<TVyShellTreeData>(this, ShellData(parentNode), CopyIdList(relative));
  FShellData.insert(data.get());
  TTreeNode* node = GetItems()->AddChildObject(parentNode, DisplayNameOf(folder, relative, TDisplayNameKind::InFolder),
                                               data.release());
  const bool isFolder = attributes & SFGAO_FOLDER, hasSubfolders = attributes & SFGAO_HASSUBFOLDER;
  node->SetHasChildren(FOptions.Contains(stoIncludeNonFolders) ? isFolder || hasSubfolders : isFolder && hasSubfolders);
  if (attributes & SFGAO_SHARE) node->SetOverlayIndex(0);
  else if (attributes & SFGAO_LINK) node->SetOverlayIndex(1);
  if (attributes & SFGAO_HIDDEN) node->SetCut(true);
  if (OnInsertItem) OnInsertItem(this, node);
  return S_OK;
}

bool TVyCustomShellTree::DoAddItem(IShellFolder* folder, const ITEMIDLIST* parentAbs, const ITEMIDLIST* relative,
                                   SFGAOF attributes) {
  bool allow = true;
  if (OnAddItem) OnAddItem(this, folder, parentAbs, relative, unsigned(attributes), allow);
  return allow;
}

int CALLBACK TVyCustomShellTree::CompareNodes(LPARAM a, LPARAM b, LPARAM tree) {
  auto* self = reinterpret_cast<TVyCustomShellTree*>(tree);
  TVyShellTreeData* first = self->ShellData(reinterpret_cast<TTreeNode*>(a));
  TVyShellTreeData* second = self->ShellData(reinterpret_cast<TTreeNode*>(b));
  if (!first || !second) return 0;
  IShellFolder* folder = first->ParentFolder();
  if (!folder) return 0;
  const HRESULT order = folder->CompareIDs(0, first->RelIdList(), second->RelIdList());
  return SUCCEEDED(order) ? HResultCodeOf(order) : 0;
}

void TVyCustomShellTree::SortChildrenOf(TTreeNode* node) {
  CustomSortChildren(node, &TVyCustomShellTree::CompareNodes, reinterpret_cast<LPARAM>(this));
}

void TVyCustomShellTree::GetImageIndex(TTreeNode* node) {
  if (TVyShellTreeData* data = ShellData(node); data && node->GetImageIndex() < 0)
    node->SetImageIndex(GetIdListIconIndex(data->AbsIdList(), SHGFI_SMALLICON));
  TVyCustomTreeView::GetImageIndex(node);
}

void TVyCustomShellTree::GetSelectedIndex(TTreeNode* node) {
  if (TVyShellTreeData* data = ShellData(node); data && node->GetSelectedIndex() < 0)
    node->SetSelectedIndex(GetIdListIconIndex(data->AbsIdList(), SHGFI_SMALLICON | SHGFI_OPENICON));
  TVyCustomTreeView::GetSelectedIndex(node);
}

bool TVyCustomShellTree::CanExpand(TTreeNode* node) {
  if (FInLoaded || !TVyCustomTreeView::CanExpand(node)) return false;
  return EnsureFilled(node);
}

bool TVyCustomShellTree::EnsureFilled(TTreeNode* node) {
  TVyShellTreeData* data = ShellData(node);
  if (!data || !node->GetHasChildren() || node->Count() > 0) return true;
  const TVyHourglass hourglass;
  IShellFolder* folder = data->ThisFolder();
  // A folder that cannot be opened has nothing to show.
  if (!folder) {
    node->SetHasChildren(false);
    return false;
  }
  FillFolder(folder, node);
  return true;
}

void TVyCustomShellTree::FreeShellData(TTreeNode* node) {
  // The children's data points at the node's: it goes first.
  for (int i = 0; i < node->Count(); ++i) FreeShellData(node->Item(i));
  if (TVyShellTreeData* data = ShellData(node)) {
    if (OnDeleteItem) OnDeleteItem(this, node, data);
    FShellData.erase(data);
    node->SetData(nullptr);
    delete data;
  }
  if (node == FDragNode) FDragNode = nullptr;
  if (node == FDropNode) FDropNode = nullptr;
}

void TVyCustomShellTree::Delete(TTreeNode* node) {
  // The node's children are freed after it.
  FreeShellData(node);
  TVyCustomTreeView::Delete(node);
}

// --- selection

void TVyCustomShellTree::PassSelection(TTreeNode* node) {
  TVyShellTreeData* data = ShellData(node);
  if (!data) return;
  ++FUpdateCount;
  const TOnExit updated([this] { --FUpdateCount; });
  FSelectedFolder->SetIdList(data->AbsIdList());
}

void TVyCustomShellTree::Change(TTreeNode* node) {
  if (FUpdateCount > 0 || ComponentState().Contains(csLoading)) {
    PassSelection(node);
    return;
  }
  TVyCustomTreeView::Change(node);
  if (!ShellData(node)) return;
  if (FImmediateSelect || !FShellList) {
    FImmediateSelect = false;
    SelectionSettled(node);
    return;
  }
  FChangeTimer->SetEnabled(false);
  FChangeTimer->SetInterval(500);
  FPendingJob = TPendingJob::Selection;
  FChangeTimer->SetEnabled(true);
}

void TVyCustomShellTree::SelectionSettled(TTreeNode* node) {
  PassSelection(node);
  if (TVyShellTreeData* data = ShellData(node); data && FShellList) FShellList->ShowTreeFolder(data->AbsIdList());
}

void TVyCustomShellTree::SetShellList(TVyCustomShellList* list) {
  if (list == FShellList) return;
  if (FShellList) {
    FShellList->SetLinkedTree(nullptr);
    FShellList->RemoveFreeNotification(this);
  }
  FShellList = list;
  if (!list) return;
  list->SetLinkedTree(this);
  list->FreeNotification(this);
  if (TTreeNode* node = GetSelected(); node && !ComponentState().Contains(csLoading)) SelectionSettled(node);
}

void TVyCustomShellTree::Notification(TComponent* AComponent, TOperation Operation) {
  TVyCustomTreeView::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FShellList) FShellList = nullptr;
}

void TVyCustomShellTree::SetSelectedFolderIdList(const ITEMIDLIST* absolute) {
  TTreeNode* before = GetSelected();
  GotoIdList(absolute);
  // Selecting the node it already had changes nothing the list would hear of.
  if (TTreeNode* node = GetSelected(); node && node == before) SelectionSettled(node);
}

void TVyCustomShellTree::PassPendingJobs() {
  if (FChangeTimer->GetEnabled()) ChangeTimerTick(nullptr);
}

void TVyCustomShellTree::BaseFolderChanged(TObject*) {
  if (ComponentState().Contains(csLoading)) return;
  {
    ++FUpdateCount;
    const TOnExit updated([this] { --FUpdateCount; });
    FSelectedFolder->Clear();
  }
  FImmediateSelect = true;
  if (FOptions.Contains(stoAutoFill)) FillTree();
}

void TVyCustomShellTree::SelectedFolderChanged(TObject*) {
  if (FUpdateCount == 0 && GetItems()->GetFirstNode()) GotoIdList(FSelectedFolder->GetIdList());
}

TTreeNode* TVyCustomShellTree::FindChild(TTreeNode* parent, const ITEMIDLIST* relative) {
  TVyShellTreeData* data = ShellData(parent);
  IShellFolder* folder = data ? data->ThisFolder() : nullptr;
  if (!folder) return nullptr;
  for (int i = 0; i < parent->Count(); ++i) {
    TTreeNode* child = parent->Item(i);
    TVyShellTreeData* childData = ShellData(child);
    if (!childData) continue;
    const HRESULT order = folder->CompareIDs(0, childData->RelIdList(), relative);
    if (SUCCEEDED(order) && HResultCodeOf(order) == 0) return child;
  }
  return nullptr;
}

void TVyCustomShellTree::GotoIdList(const ITEMIDLIST* target) {
  if (FUpdateCount > 0) return;
  FImmediateSelect = true;
  const TOnExit passed([this] { FImmediateSelect = false; });
  TTreeNode* root = GetItems()->GetFirstNode();
  if (!ShellData(root)) return;
  const ITEMIDLIST* base = FBaseFolder->GetIdList();
  const int baseDepth = IdListItemCount(base), targetDepth = IdListItemCount(target);
  // Only a folder below the base lies in this tree; the shell would answer for
  // another folder's items as if they were the base's.
  bool below = targetDepth > baseDepth;
  if (below && baseDepth > 0) {
    const TIdList prefix = IdListFromBytes(JoinIdListBytes(target, baseDepth, nullptr));
    below = prefix && CompareIdLists(base, prefix.get()) == 0;
  }
  TTreeNode* reached = root;
  {
    GetItems()->BeginUpdate();
    const TOnExit updated([this] { GetItems()->EndUpdate(); });
    root->Expand(false);
    if (below) {
      TVyIdListArray parts(target);
      for (int level = baseDepth; level < targetDepth; ++level) {
        EnsureFilled(reached);
        const ITEMIDLIST* item = parts.Item(level);
        TTreeNode* child = FindChild(reached, item);
        if (!child) {
          TVyShellTreeData* data = ShellData(reached);
          const int before = reached->Count();
          if (!data || !data->ThisFolder() ||
              FAILED(AddShellItem(data->ThisFolder(), data->AbsIdList(), item, reached)) ||
              reached->Count() == before) {
            MessageBeep(UINT(-1));
            break;
          }
          child = reached->GetLastChild();
          SortChildrenOf(reached);
        }
        if (level + 1 < targetDepth) child->Expand(false);
        reached = child;
      }
    }
  }
  reached->SetSelected(true);
  reached->MakeVisible();
}

void TVyCustomShellTree::GoUp(int levels) {
  TTreeNode* node = GetSelected();
  if (!node) return;
  for (; levels > 0 && node->Parent(); --levels) node = node->Parent();
  FImmediateSelect = true;
  const TOnExit passed([this] { FImmediateSelect = false; });
  node->SetSelected(true);
}

// --- refreshing

void TVyCustomShellTree::RefreshNodes() {
  if (Deferred()) return;
  TTreeNode* root = GetItems()->GetFirstNode();
  if (!root) return FillTree();
  FRefreshRequested = false;
  const TVyHourglass hourglass;
  if (OnFillStart) OnFillStart(this);
  const TOnExit completed([this] {
    if (OnFillComplete) OnFillComplete(this);
  });
  TTreeNode* selection = GetSelected();
  {
    ++FUpdateCount;
    const TOnExit updated([this] { --FUpdateCount; });
    SetSelected(nullptr);
    GetItems()->BeginUpdate();
    const TOnExit nodesUpdated([this] { GetItems()->EndUpdate(); });
    const UINT errorMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const TOnExit restored([errorMode] { SetErrorMode(errorMode); });
    RefreshNode(root, selection);
  }
  if (selection) {
    FImmediateSelect = true;
    const TOnExit passed([this] { FImmediateSelect = false; });
    selection->SetSelected(true);
  }
}

void TVyCustomShellTree::RefreshNode(TTreeNode* node, TTreeNode*& selection) {
  TVyShellTreeData* data = ShellData(node);
  // A folder never opened has nothing to bring up to date.
  if (!data || (node->GetHasChildren() && node->Count() == 0)) return;
  IShellFolder* folder = data->ThisFolder();
  TComPtr<IEnumIDList> items;
  if (!folder || FAILED(EnumerateFolder(folder, items))) return;
  TVyPidlList shown;
  folder->AddRef();
  shown.ShellFolder = TComPtr<IShellFolder>(folder);
  shown.SetSorted(true);
  // Two children the folder counts as one must not stop the refresh.
  shown.Duplicates = dupAccept;
  for (int i = 0; i < node->Count(); ++i)
    if (TVyShellTreeData* child = ShellData(node->Item(i)))
      shown.AddObject(const_cast<ITEMIDLIST*>(child->RelIdList()), node->Item(i));
  TVyPidlList present;
  present.Malloc = ShellMalloc();
  for (ITEMIDLIST* raw = nullptr; items;) {
    ULONG fetched = 0;
    if (items->Next(1, &raw, &fetched) != S_OK || fetched != 1) break;
    present.Add(raw);
  }
  for (int i = present.Count() - 1; i >= 0; --i) {
    int at = 0;
    if (shown.Find(present.IdList(i), at)) {
      shown.Delete(at);
      present.Delete(i);
    }
  }
  for (int i = shown.Count() - 1; i >= 0; --i) {
    auto* gone = static_cast<TTreeNode*>(shown.Data(i));
    if (selection && (selection == gone || selection->HasAsParent(gone))) selection = gone->Parent();
    gone->Delete();
  }
  const int before = node->Count();
  for (int i = 0; i < present.Count(); ++i)
    if (FAILED(AddShellItem(folder, data->AbsIdList(), present.IdList(i), node)))
      Trace(L"Shell tree: an item without attributes was left out");
  if (node->Count() != before) SortChildrenOf(node);
  node->SetHasChildren(node->Count() > 0);
  for (int i = 0; i < node->Count(); ++i) RefreshNode(node->Item(i), selection);
}

// --- following the file system

std::vector<std::wstring> TVyCustomShellTree::WatchedRoots() {
  std::vector<std::wstring> roots;
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const std::wstring root{wchar_t(L'A' + i), L':', L'\\'};
    const UINT type = GetDriveTypeW(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_REMOTE || type == DRIVE_RAMDISK) roots.push_back(root);
  }
  return roots;
}

void TVyCustomShellTree::StartWatching() {
  if (!FWatchThread) FWatchThread = std::make_unique<TChangeHandlerThread>(GetHandle(), WM_SHELLCHANGE);
  FWatchThread->RemoveAllWatches();
  DWORD filter = FILE_NOTIFY_CHANGE_DIR_NAME;
  if (FOptions.Contains(stoIncludeNonFolders)) filter |= FILE_NOTIFY_CHANGE_FILE_NAME;
  for (const std::wstring& root : WatchedRoots()) {
    int slot = -1;
    FWatchThread->AddWatch(root, filter, slot, true);
  }
}

void TVyCustomShellTree::WMShellChange(TMessage&) {
  // A menu, drag or edit would lose its node: the change is applied when it ends.
  if (Deferred()) return;
  StartRefreshTimer(Focused() ? 400 : 2000);
}

void TVyCustomShellTree::StartRefreshTimer(unsigned ms) {
  FChangeTimer->SetEnabled(false);
  FPendingJob = TPendingJob::Refresh;
  FChangeTimer->SetInterval(ms);
  FChangeTimer->SetEnabled(true);
}

void TVyCustomShellTree::ChangeTimerTick(TObject*) {
  FChangeTimer->SetEnabled(false);
  switch (std::exchange(FPendingJob, TPendingJob::None)) {
    case TPendingJob::Selection:
      if (TTreeNode* node = GetSelected(); node && ShellData(node)) SelectionSettled(node);
      break;
    case TPendingJob::Refresh:
      RefreshNodes();
      break;
    case TPendingJob::None:
      break;
  }
}

void TVyCustomShellTree::DeviceChanged(TVyDeviceChangeHandler*, TMessage& message) {
  if (message.WParam != DBT_DEVICEARRIVAL && message.WParam != DBT_DEVICEREMOVECOMPLETE) return;
  ValidateDrives();
  const TValidateDrivesSuspension suspended;
  RefreshNodes();
}

}  // namespace Vy
