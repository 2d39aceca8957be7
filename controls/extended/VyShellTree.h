// TVyShellTree: the shell namespace as a tree (desktop, drives, folders, and with
// stoVirtualFolders the virtual folders), filled folder by folder as the user opens
// them, with the shell's own names, icons and overlays. It renames items in place
// through the shell, offers their context menus, drags and drops them through OLE,
// makes new folders, and follows the file system through the folder-change watch
// thread. The folder-selection window is built on it.
//
// A node's Data is its TVyShellTreeData when the tree made it; nodes of other data
// are foreign and left to the base class.
//
// While a context menu or a drag started here is open, or a label is being edited,
// fills and refreshes wait (RefreshRequested) and run when that ends: a change the
// watch thread reports meanwhile is applied afterwards, never lost.
#pragma once
#include "controls/extended/VyShellDeviceChange.h"
#include "controls/extended/VyShellDragDrop.h"
#include "controls/extended/VyShellList.h"
#include "controls/extended/VyShellLocator.h"
#include "controls/extended/VyShellMenus.h"
#include "controls/extended/VyShellWatch.h"
#include "controls/extended/VyTreeVw.h"
#include "vcl/ImgList.h"
#include "vcl/Timer.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace Vy {

class TVyCustomShellTree;

QORN_ENUM(TVyShellTreeOption, stoAutoFill, stoVirtualFolders, stoDesignInteractive, stoDefaultKeyHandling,
          stoContextMenus, stoDynamicRefresh, stoIncludeNonFolders, stoOleDrag, stoOleDrop, stoShowHidden);
using TVyShellTreeOptions = TSet<TVyShellTreeOption>;
inline constexpr TVyShellTreeOptions kDefaultShellTreeOptions =
    TVyShellTreeOptions::FromBits(955);  // all but stoDesignInteractive and stoIncludeNonFolders

// The private messages by which the tree fills itself once its window exists, and
// runs a refresh that waited for a label edit once the edit box is gone.
constexpr unsigned WM_SHELLTREE_FILL = WM_USER + 103;
constexpr unsigned WM_SHELLTREE_REFRESH = WM_USER + 104;

// The hourglass while the shell is asked; the cursor before it comes back after.
class TVyHourglass {
 public:
  TVyHourglass();
  ~TVyHourglass();
  TVyHourglass(const TVyHourglass&) = delete;
  TVyHourglass& operator=(const TVyHourglass&) = delete;

 private:
  TCursor FSaved;
};

// One shell node's item.
class TVyShellTreeData : public TObject {
 public:
  // The root's relative list is the last item of its absolute one (none for the
  // desktop); `rootList` is the root's whole list.
  TVyShellTreeData(TVyCustomShellTree* owner, TVyShellTreeData* parent, TIdList relIdList, TIdList rootList = nullptr);
  ~TVyShellTreeData() override = default;

  TVyCustomShellTree* Owner() const { return FOwner; }
  TVyShellTreeData* Parent() const { return FParent; }
  const ITEMIDLIST* RelIdList() const { return FRelIdList.get(); }
  // The parent's list joined with the relative one, kept once made.
  const ITEMIDLIST* AbsIdList();
  // The folder that holds the item; the root's is bound from its list.
  IShellFolder* ParentFolder();
  // The item's own folder, bound on first use; null when it cannot be bound.
  IShellFolder* ThisFolder();
  // The folder the tree bound for the item already.
  void SetThisFolder(IShellFolder* folder);
  // The item's attributes of the mask; 0 when the shell cannot tell.
  SFGAOF Attributes(SFGAOF mask);
  bool CanRename();
  // Empty when the item has no file-system path.
  std::wstring PathName() { return IdListToPath(AbsIdList()); }
  // A renamed item: the new relative list, and what was made of the old one dropped.
  void SetRelIdList(TIdList list);
  // Drops the lists and folders made on demand (after an ancestor's rename).
  void ClearCache();
  // The drop target of the item; empty when it has none.
  TComPtr<IDropTarget> GetDropTarget(HWND owner);

 private:
  TVyCustomShellTree* FOwner;
  TVyShellTreeData* FParent;
  TIdList FRelIdList;
  TIdList FAbsIdList;
  TComPtr<IShellFolder> FThisFolder;
  TComPtr<IShellFolder> FRootParentFolder;
};

using TVyShTreeDeleteItemEvent = TEvent<void(TObject* Sender, TTreeNode* Node, TVyShellTreeData* TreeData)>;
using TVyShTreeInsertItemEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;

class TVyCustomShellTree : public TVyCustomTreeView, public IVyShellDropHandler, public IVyShellListTree {
  QORN_CLASS(TVyCustomShellTree, TVyCustomTreeView)
 public:
  explicit TVyCustomShellTree(TComponent* AOwner);
  ~TVyCustomShellTree() override;

  TVyShellLocator* GetBaseFolder() const { return FBaseFolder.get(); }
  void SetBaseFolder(TVyShellLocator* v);
  // Always the selected shell node's folder. Assigning selects that folder, unless
  // the tree is loading or busy selecting.
  TVyShellLocator* GetSelectedFolder() const { return FSelectedFolder.get(); }
  void SetSelectedFolder(TVyShellLocator* v);
  TVyShellTreeOptions GetOptions() const { return FOptions; }
  void SetOptions(TVyShellTreeOptions v);

  // The selected node's file-system path; empty for none, a foreign node or a
  // virtual folder.
  std::wstring SelectedPathName();
  // The shell data of a node; null for a foreign one.
  TVyShellTreeData* ShellData(const TTreeNode* node) const;

  // Empties the tree and makes the root node (BaseFolder) with its children.
  void FillTree();
  // Merges the file system's present state into the filled part of the tree,
  // keeping expansion and selection (a deleted selection moves to its parent).
  void RefreshNodes();
  // Selects the folder, adding the nodes on its way. A folder outside BaseFolder
  // selects the root.
  void GotoIdList(const ITEMIDLIST* absolute) override;
  void GoUp(int levels) override;

  // The list that shows the selected folder: told at once of a click or a
  // navigation, 500 ms after the last keyboard step (walking the tree with the
  // arrows does not fill the list at every node).
  TVyCustomShellList* GetShellList() const { return FShellList; }
  void SetShellList(TVyCustomShellList* list);
  // The list's navigation: the tree selects the folder and the list shows it.
  void SetSelectedFolderIdList(const ITEMIDLIST* absolute) override;
  // A selection still held back is handed to the list now.
  void PassPendingJobs() override;
  // Runs a context-menu verb ("delete", "copy"...) on the node's item, then
  // refreshes. A verb the item's menu lacks runs nothing. False for the root, a
  // foreign node or a failure.
  bool DoCommandForNode(TTreeNode* node, const std::wstring& verb);
  // Makes "New Folder" (or a free numbered name) in the selected folder and starts
  // renaming its node. False, with one warning for a real failure, when none was
  // made; false and nothing made when the selection has no file-system path.
  bool CreateNewFolder();

  // True while a context menu or a drag from here is open.
  bool InMenuOrDrag() const { return FInMenuOrDrag; }
  bool RefreshRequested() const { return FRefreshRequested; }

  TVyShAddItemEvent OnAddItem;
  TVyShTreeDeleteItemEvent OnDeleteItem;
  TVyShTreeInsertItemEvent OnInsertItem;
  TVyShellPopupHintEvent OnPopupHint;
  TNotifyEvent OnFillStart;
  TNotifyEvent OnFillComplete;

  // IVyShellDropHandler: the tree's side of a drop; the item under the pointer is
  // the real target.
  HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

  void WMShellChange(TMessage& m);
  void WMShellTreeFill(TMessage& m);
  void WMShellTreeRefresh(TMessage& m);
  void CNNotify(TMessage& m);
  void CMWantSpecialKey(TMessage& m);
  void WMMenuMessage(TMessage& m);
  void WMNCDestroy(TMessage& m);

 protected:
  void Loaded() override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void GetImageIndex(TTreeNode* node) override;
  void GetSelectedIndex(TTreeNode* node) override;
  bool CanExpand(TTreeNode* node) override;
  bool CanEdit(TTreeNode* node) override;
  void Change(TTreeNode* node) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Delete(TTreeNode* node) override;
  void Edit(const TVITEMW& item) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void DoNodeContextMenu(TTreeNode* node, TPoint point, TPopupMenu*& menu) override;

  virtual TComPtr<IDropSource> CreateDropSource(int button);
  virtual void DragScroll(TPoint point);
  virtual HRESULT AddShellItem(IShellFolder* folder, const ITEMIDLIST* parentAbs, const ITEMIDLIST* relative,
                               TTreeNode* parentNode);
  virtual bool DoAddItem(IShellFolder* folder, const ITEMIDLIST* parentAbs, const ITEMIDLIST* relative,
                         SFGAOF attributes);
  virtual void DeviceChanged(TVyDeviceChangeHandler* sender, TMessage& message);
  virtual void FillFolder(IShellFolder* folder, TTreeNode* node);
  // The folders StartWatching watches, with their subtrees: the roots of the fixed,
  // network and RAM drives.
  virtual std::vector<std::wstring> WatchedRoots();
  void StartWatching();

  // The window shell calls may show their questions over; none during a drag's
  // hover expansion.
  HWND OwnerWindow() const;
  // A menu or drag from here begins (fills and refreshes wait) and ends (what was
  // asked meanwhile runs): BeginBusy's answer goes to EndBusy.
  bool BeginBusy() { return std::exchange(FInMenuOrDrag, true); }
  void EndBusy(bool wasBusy);

 private:
  friend class TVyShellTreeData;
  static void Publish(TPublisher<TVyCustomShellTree>& p);

  bool Deferred();
  void BaseFolderChanged(TObject*);
  void SelectedFolderChanged(TObject*);
  void ChangeTimerTick(TObject*);
  void StartRefreshTimer(unsigned ms);
  void PassSelection(TTreeNode* node);
  // The selection is final: SelectedFolder and the list follow it.
  void SelectionSettled(TTreeNode* node);
  void SortChildrenOf(TTreeNode* node);
  // Fills a node that has its button but no children yet; false when its folder
  // cannot be opened.
  bool EnsureFilled(TTreeNode* node);
  void FreeShellData(TTreeNode* node);
  void RefreshNode(TTreeNode* node, TTreeNode*& selection);
  HRESULT EnumerateFolder(IShellFolder* folder, TComPtr<IEnumIDList>& items);
  TTreeNode* FindChild(TTreeNode* parent, const ITEMIDLIST* relative);
  void Rename(TTreeNode* node, TVyShellTreeData* data, std::wstring name);
  void ClearSubtreeCache(TTreeNode* node);
  void TrackItemMenu(TTreeNode* node, TVyShellTreeData* data, TPoint point);
  void StartOleDrag(const NMTREEVIEWW& info, int button);
  TTreeNode* ShellNodeAt(POINTL screen);
  void SetDropHighlight(TTreeNode* node);
  void FreeWatchAndDrop();
  static int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM tree);

  std::unique_ptr<TVyShellLocator> FBaseFolder;
  std::unique_ptr<TVyShellLocator> FSelectedFolder;
  std::unique_ptr<TTimer> FChangeTimer;
  // What FChangeTimer's tick does; a restart replaces the job pending.
  enum class TPendingJob { None, Selection, Refresh };
  TPendingJob FPendingJob = TPendingJob::None;
  // The next selection change goes to the list at once (a click, a navigation).
  bool FImmediateSelect = false;
  TVyCustomShellList* FShellList = nullptr;
  std::unique_ptr<TCustomImageList> FSystemImages;
  std::unordered_set<const TVyShellTreeData*> FShellData;
  TVyShellTreeOptions FOptions = kDefaultShellTreeOptions;
  int FUpdateCount = 0;
  bool FInLoaded = false;
  bool FInMenuOrDrag = false;
  bool FRefreshRequested = false;
  std::unique_ptr<TChangeHandlerThread> FWatchThread;
  TComPtr<IContextMenu> FMenuObject;
  TTreeNode* FDragNode = nullptr;
  TComPtr<IDropTarget> FDropTargetObject;  // the tree's own, registered
  // The drag over the tree.
  TComPtr<IDataObject> FDragData;
  DWORD FDragKeyState = 0;
  TTreeNode* FDropNode = nullptr;
  std::uint64_t FLastScrollCheck = 0;
  TPoint FLastDragPoint;
  std::uint64_t FLastDragMove = 0;
  int FHoverExpanding = 0;
};

class TVyShellTree : public TVyCustomShellTree {
  QORN_CLASS(TVyShellTree, TVyCustomShellTree)
 public:
  explicit TVyShellTree(TComponent* AOwner) : TVyCustomShellTree(AOwner) {}

 private:
  static void Publish(TPublisher<TVyShellTree>& p);
};

}  // namespace Vy
