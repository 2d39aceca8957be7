// TVyShellList: the contents of one shell folder in the framed list view, with the
// shell's icons, names and detail columns. The user opens items, goes up, renames in
// place, runs the shell's commands (context menu and keys), drags items out and drops
// onto items or the folder, and sees file-system changes, which reach the list from
// the folder-change watch thread and are merged in. A shell tree may drive the list
// (IVyShellListTree): it then picks the folder, and folders opened in the list are
// selected in the tree.
//
// Sorting is the list's own (folders first, then the column's values, either way,
// items the column cannot tell apart kept in place); columns without a known meaning
// follow the folder's CompareIDs.
#pragma once
#include "controls/extended/VyListVw.h"
#include "controls/extended/VyShellDragDrop.h"
#include "controls/extended/VyShellItemData.h"
#include "controls/extended/VyShellListRules.h"
#include "controls/extended/VyShellLocator.h"
#include "controls/extended/VyShellMenus.h"
#include "vcl/ImgList.h"
#include "vcl/Timer.h"

#include <memory>
#include <string>
#include <vector>

namespace Vy {

class TChangeHandlerThread;
class TVyDeviceChangeHandler;

// The option bits (Options is a 16-bit set; bits 6 and 11 have no effect).
enum TVyShellListOption : unsigned {
  sloAutoFill = 1u << 0,
  sloVirtualFolders = 1u << 1,  // items that are neither file-system items nor their ancestors
  sloDesignInteractive = 1u << 2,
  sloDefaultKeyHandling = 1u << 3,
  sloContextMenus = 1u << 4,
  sloNoNavigation = 1u << 5,
  sloDynamicRefresh = 1u << 7,
  sloTreeShowsFolders = 1u << 8,  // with a linked tree: file-system folders are left to it
  sloOleDrag = 1u << 9,
  sloOleDrop = 1u << 10,
  sloShowHidden = 1u << 12,
};
constexpr unsigned kDefaultShellListOptions = 7835;

// What a list needs of the shell tree that drives it. The tree calls the list's
// ShowTreeFolder with its selected folder, and SetLinkedTree(nullptr) when it goes.
class IVyShellListTree {
 public:
  virtual ~IVyShellListTree() = default;
  // Selects the folder's node (the list shows that folder now).
  virtual void GotoIdList(const ITEMIDLIST* absolute) = 0;
  virtual void GoUp(int levels) = 0;
  // Navigation: the tree selects the folder and then tells the list.
  virtual void SetSelectedFolderIdList(const ITEMIDLIST* absolute) = 0;
  // A selection change the tree still holds back is passed on at once.
  virtual void PassPendingJobs() = 0;
};

using TVyShListDeleteItemEvent = TEvent<void(TObject* Sender, TListItem* Item, TVyShellListData* Data)>;
using TVyShDefaultActionEvent = TEvent<void(TObject* Sender, bool& Handled)>;

// The data of a list item: the shell's item and, once sorted on, its sort values.
class TVyShellListItem : public TVyShellListData {
 public:
  using TVyShellListData::TVyShellListData;
  const TShellSortKey& SortKey();
  void ForgetSortKey() { FKeyValid = false; }
  // Its place before a sort: items a column cannot tell apart keep their order.
  void SetSortPosition(int position);

 private:
  TShellSortKey FKey;
  bool FKeyValid = false;
};

class TVyCustomShellList : public TVyCustomListView, public IVyShellListDataOwner, public IVyShellDropHandler {
  QORN_CLASS(TVyCustomShellList, TVyCustomListView)
 public:
  explicit TVyCustomShellList(TComponent* AOwner);
  ~TVyCustomShellList() override;

  TVyShellLocator* GetFolder() const { return FFolder.get(); }
  void SetFolder(TVyShellLocator* v) { FFolder->Assign(v); }
  unsigned GetOptions() const { return FOptions; }
  void SetOptions(unsigned v);
  bool HasOption(TVyShellListOption o) const { return (FOptions & o) != 0; }
  // 1-based column, negative for descending, 0 for the window's own order.
  int GetShellSortColumn() const { return FSortColumnN; }
  void SetShellSortColumn(int n);
  // Masks separated by ";", such as "*.txt;*.doc"; empty, "*" or "*.*" list every file.
  std::wstring GetFileMask() const { return FFileMask; }
  void SetFileMask(const std::wstring& v);
  // The file-system path of the shown folder; empty for a virtual one.
  std::wstring FolderPath() { return FFolder->PathName(); }

  void FillList();
  // Merges what the folder holds now into the items.
  void RefreshItems();
  void GoUp(int levels);
  void OpenItem(TListItem* item);
  void OpenSelection();
  // Runs the verb on the selected items; false when it could not be run.
  bool DoCommandForSelection(const std::wstring& verb);
  // Runs the verb ("paste") on the folder itself.
  bool PasteIntoFolder(const std::wstring& verb);
  void SelectAll();
  // The shell item of a list item; null for a foreign one.
  static TVyShellListItem* ShellItem(TListItem* item);
  // The tree's selected folder.
  void ShowTreeFolder(const ITEMIDLIST* absolute);
  IVyShellListTree* GetLinkedTree() const { return FLinkedTree; }
  void SetLinkedTree(IVyShellListTree* tree) { FLinkedTree = tree; }

  // IVyShellListDataOwner
  IShellFolder* ShellFolder() override { return FShellFolder.Get(); }
  const ITEMIDLIST* FolderIdList() override { return FFolderIdList.get(); }
  IShellDetails* ShellDetails() override { return FDetails.Get(); }

  // IVyShellDropHandler: the list's side of a drop.
  HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT DragLeave() override;
  HRESULT Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

  TVyShAddItemEvent OnAddItem;
  TVyShListDeleteItemEvent OnDeleteItem;
  TVyShellPopupHintEvent OnPopupHint;
  TVyShDefaultActionEvent OnDefaultAction;
  TNotifyEvent OnFolderChanged;
  TNotifyEvent OnFillStart;
  TNotifyEvent OnFillComplete;

 protected:
  void Loaded() override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& m) override;
  bool CanEdit(TListItem* item) override;
  void Edit(const LVITEMW& item) override;
  void Delete(TListItem* item) override;
  void InsertItem(TListItem* item) override;
  void ColClick(TListColumn* column) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void DblClick() override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
  void DoItemContextMenu(TListItem* item, TPoint point, TPopupMenu*& menu) override;

  virtual IDropSource* CreateDropSource(int button);
  virtual bool DoAddItem(IShellFolder* folder, const ITEMIDLIST* folderList, unsigned attributes,
                         const ITEMIDLIST* relative);
  virtual void DeviceChanged(TVyDeviceChangeHandler* sender, TMessage& message);
  virtual void FillItems(IShellFolder* folder, const ITEMIDLIST* absolute);
  virtual void BuildFileMatches();
  virtual bool MatchesFile(const std::wstring& name, unsigned attributes);
  virtual void FreeFileMatches();

 private:
  static void Publish(TPublisher<TVyCustomShellList>& p);
  void FolderChanged(TObject* sender);
  HWND OwnerFormWindow();
  void RegisterDropTarget();
  // The enumeration flags of the options.
  SHCONTF EnumFlags() const;
  // Every item the folder enumerates now; false when the enumeration failed quietly.
  bool EnumerateFolder(IShellFolder* folder, std::vector<TIdList>& items);
  bool PassesAddTest(IShellFolder* folder, const ITEMIDLIST* relative);
  // The add test, then a new item; a failure is shown once and ends the fill quietly.
  void AddItem(IShellFolder* folder, TIdList relative);
  void BuildColumns();
  void SaveColumnWidths();
  TShellColumnKind ColumnKind(int column) const;
  void SortItems();
  bool Busy() const;
  void Navigate(const ITEMIDLIST* absolute);
  void WatchFolder();
  void ChangeTimerTick(TObject* sender);
  std::vector<TListItem*> SelectedShellItems() const;
  std::vector<const ITEMIDLIST*> SelectedRelLists() const;
  void AfterSelectionCommand(const std::wstring& verb);
  void RenameItem(TListItem* item);
  void RunDefaultCommand(const std::vector<const ITEMIDLIST*>& items);
  void BeginOleDrag(int itemIndex, int button);
  // The drop target of the shell item under a client point (its list item in `item`),
  // or of the folder itself.
  TComPtr<IDropTarget> DropTargetAt(POINTL screenPoint, TListItem*& item);
  void SetDropHighlight(TListItem* item);
  void DragScroll(TPoint clientPoint);
  void RunPostponedRefresh();

  std::unique_ptr<TVyShellLocator> FFolder;
  TIdList FFolderIdList;
  TComPtr<IShellFolder> FShellFolder;
  TComPtr<IShellDetails> FDetails;
  std::vector<TShellColumnKind> FColumnKinds;
  unsigned FOptions = kDefaultShellListOptions;
  int FSortColumnN = 1;
  IVyShellListTree* FLinkedTree = nullptr;
  std::wstring FFileMask;
  std::unique_ptr<std::vector<std::wstring>> FMatchingFiles;  // upper-case names, sorted
  std::unique_ptr<TTimer> FChangeTimer;
  std::unique_ptr<TChangeHandlerThread> FWatchThread;
  std::unique_ptr<TCustomImageList> FSmallImages;
  std::unique_ptr<TCustomImageList> FLargeImages;
  bool FRenamePending = false;
  bool FInMenuOrDrag = false;
  bool FRefreshRequested = false;
  bool FDestroyingWnd = false;
  bool FDraggedFromHere = false;
  int FUpdateCount = 0;
  int FColumnMode = 0;  // 1: the shell's details, 2: the four fixed columns
  bool FSaveWidths = false;
  TComPtr<IContextMenu> FMenuObject;
  TComPtr<IDropTarget> FDropTargetObject;
  TComPtr<IDataObject> FDragData;
  DWORD FDragKeyState = 0;
  TListItem* FDropHighlight = nullptr;
  DWORD FLastScrollTick = 0;
};

class TVyShellList : public TVyCustomShellList {
  QORN_CLASS(TVyShellList, TVyCustomShellList)
 public:
  explicit TVyShellList(TComponent* AOwner) : TVyCustomShellList(AOwner) {}

 private:
  static void Publish(TPublisher<TVyShellList>& p);
};

}  // namespace Vy
