// Common controls as thin classes over the system's: the list view (report style
// with columns), the tree view and the hot-key control.
//
// Items and nodes live in the object model. The window holds one entry per item
// whose lParam is the item and whose texts and images it asks for when it draws
// (LVN_GETDISPINFO / TVN_GETDISPINFO), so nothing is kept twice. While there is a
// window, selection, focus, check marks and expansion are the window's; when it is
// destroyed (RecreateWnd, a style change) they are saved in the objects and the
// next window gets everything back.
//
// Notifications come back reflected (CN_NOTIFY) and become the events; they find
// their item by index and lParam together, never by trusting a pointer alone.
#pragma once

#include "vcl/Collection.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/ShortCuts.h"
#include "vcl/StdCtrls.h"
#include "vcl/StringList.h"

#include <string>
#include <unordered_map>
#include <vector>

class TCustomListView;
class TListItems;
class TCustomTreeView;
class TTreeNodes;

QORN_ENUM(TViewStyle, vsIcon, vsSmallIcon, vsList, vsReport);

enum TCustomDrawTarget { dtControl, dtItem, dtSubItem };
enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateKind { cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot };
using TCustomDrawState = TSet<TCustomDrawStateKind>;

// Parts of an item's rectangle (TListItem::DisplayRect).
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
// Which items GetNextItem looks for.
enum TItemStateKind { isCut, isDropHilited, isFocused, isSelected };
using TItemStates = TSet<TItemStateKind>;
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TItemChange { ctText, ctImage, ctState };

// --- list view

class TListColumn : public TCollectionItem {
  QORN_CLASS(TListColumn, TCollectionItem)
 public:
  explicit TListColumn(TCollection* Collection);
  std::wstring GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& v);
  // The width in the window (the user may drag it), else the stored one.
  int GetWidth() const;
  // Kept within MinWidth..MaxWidth (0 = no limit).
  void SetWidth(int v);
  int GetMinWidth() const { return FMinWidth; }
  void SetMinWidth(int v);
  int GetMaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int v);
  TAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  std::wstring GetDisplayName() const override;
  void Assign(const TPersistent* Source) override;

 private:
  friend class TCustomListView;
  static void Publish(TPublisher<TListColumn>& p);
  TCustomListView* ListView() const;
  int Limited(int width) const;
  std::wstring FCaption;
  int FWidth = 50;
  int FMinWidth = 0;
  int FMaxWidth = 0;
  TAlignment FAlignment = taLeftJustify;
  int FImageIndex = -1;
};

class TListColumns : public TCollection {
  QORN_CLASS(TListColumns, TCollection)
 public:
  explicit TListColumns(TCustomListView* owner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
  TCustomListView* Owner() const { return FListView; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TCustomListView* FListView;
};

class TListItem : public TPersistent {
  QORN_CLASS(TListItem, TPersistent)
 public:
  explicit TListItem(TListItems* owner);
  ~TListItem() override;
  TListItems* Owner() const { return FOwner; }
  TCustomListView* ListView() const;
  int Index() const;

  std::wstring GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& v);
  // The texts of the columns after the first.
  TStrings* SubItems() const { return FSubItems.get(); }
  void SetSubItems(TStrings* v) { FSubItems->Assign(v); }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  int GetOverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int v);
  bool GetCut() const;
  void SetCut(bool v);
  void* GetData() const { return FData; }
  void SetData(void* v) { FData = v; }
  bool GetSelected() const;
  void SetSelected(bool v);
  bool GetFocused() const;
  void SetFocused(bool v);
  bool GetChecked() const;
  void SetChecked(bool v);
  // The item's rectangle in client coordinates (empty without a window).
  TRect DisplayRect(TDisplayCode code) const;
  void MakeVisible(bool partialOK);
  void Delete();
  void Assign(const TPersistent* Source) override;

 private:
  friend class TListItems;
  friend class TCustomListView;
  bool State(UINT mask, bool stored) const;
  void SetState(UINT mask, bool on, bool& stored);
  void SubItemsChanged(TObject* sender);
  void Redraw() const;

  TListItems* FOwner;
  std::wstring FCaption;
  std::unique_ptr<TStringList> FSubItems;
  int FImageIndex = -1;
  int FOverlayIndex = -1;
  void* FData = nullptr;
  // Kept while there is no window.
  bool FSelected = false;
  bool FFocused = false;
  bool FChecked = false;
  bool FCut = false;
  bool FDeleting = false;
};

class TListItems : public TPersistent {
  QORN_CLASS(TListItems, TPersistent)
 public:
  explicit TListItems(TCustomListView* owner) : FOwner(owner) {}
  ~TListItems() override;
  TCustomListView* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Throws EListError for a bad index.
  TListItem* Item(int index) const;
  TListItem* operator[](int index) const { return Item(index); }
  int IndexOf(const TListItem* item) const;
  TListItem* Add();
  TListItem* Insert(int index);
  // Frees the item.
  void Delete(int index);
  void Clear();
  // Between the two the window is not redrawn.
  void BeginUpdate();
  void EndUpdate();
  void Assign(const TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler& Filer) override;

 private:
  friend class TListItem;
  friend class TCustomListView;
  void InsertInWindow(int index, TListItem* item);
  TCustomListView* FOwner;
  std::vector<TListItem*> FItems;
  int FUpdateCount = 0;
};

QORN_ENUM(TIconArrangement, iaTop, iaLeft);

// How the icon views place their items; a change makes the window anew.
class TIconOptions : public TPersistent {
  QORN_CLASS(TIconOptions, TPersistent)
 public:
  explicit TIconOptions(TCustomListView* owner) : FListView(owner) {}
  TIconArrangement GetArrangement() const { return FArrangement; }
  void SetArrangement(TIconArrangement v);
  bool GetAutoArrange() const { return FAutoArrange; }
  void SetAutoArrange(bool v);
  bool GetWrapText() const { return FWrapText; }
  void SetWrapText(bool v);
  void Assign(const TPersistent* Source) override;

 private:
  static void Publish(TPublisher<TIconOptions>& p);
  void Changed();
  TCustomListView* FListView;
  TIconArrangement FArrangement = iaTop;
  bool FAutoArrange = false;
  bool FWrapText = true;
};

using TLVCompare = int(CALLBACK*)(LPARAM item1, LPARAM item2, LPARAM data);
using TLVSelectItemEvent = TEvent<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVNotifyEvent = TEvent<void(TObject* Sender, TListItem* Item)>;
using TLVColumnClickEvent = TEvent<void(TObject* Sender, TListColumn* Column)>;
using TLVChangeEvent = TEvent<void(TObject* Sender, TListItem* Item, TItemChange Change)>;
using TLVChangingEvent = TEvent<void(TObject* Sender, TListItem* Item, TItemChange Change, bool& AllowChange)>;
using TLVEditingEvent = TEvent<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = TEvent<void(TObject* Sender, TListItem* Item, std::wstring& S)>;
using TLVCompareEvent = TEvent<void(TObject* Sender, TListItem* Item1, TListItem* Item2, intptr_t Data, int& Compare)>;
using TLVCustomDrawEvent = TEvent<void(TCustomListView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TLVCustomDrawItemEvent =
    TEvent<void(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw)>;
using TLVCustomDrawSubItemEvent =
    TEvent<void(TCustomListView* Sender, TListItem* Item, int SubItem, TCustomDrawState State, bool& DefaultDraw)>;

class TCustomListView : public TWinControl {
  QORN_CLASS(TCustomListView, TWinControl)
 public:
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TListColumns* GetColumns() const { return FColumns.get(); }
  void SetColumns(TListColumns* v) { FColumns->Assign(v); }
  TListColumn* Column(int index) const { return FColumns->Items(index); }
  TListItems* GetItems() const { return FItems.get(); }
  void SetItems(TListItems* v) { FItems->Assign(v); }

  TViewStyle GetViewStyle() const { return FViewStyle; }
  virtual void SetViewStyle(TViewStyle v);
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool GetGridLines() const { return FGridLines; }
  void SetGridLines(bool v);
  bool GetColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool v);
  bool GetCheckboxes() const { return FCheckboxes; }
  void SetCheckboxes(bool v);
  bool GetFlatScrollBars() const { return FFlatScrollBars; }
  void SetFlatScrollBars(bool v);
  bool GetMultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool v);
  int GetAllocBy() const { return FAllocBy; }
  void SetAllocBy(int v);
  TCustomImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* v);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* v);
  TIconOptions* GetIconOptions() const { return FIconOptions.get(); }
  void SetIconOptions(TIconOptions* v) { FIconOptions->Assign(v); }

  // The first selected item; setting it selects that one alone (nullptr: none).
  TListItem* GetSelected() const;
  void SetSelected(TListItem* v);
  TListItem* GetItemFocused() const;
  void SetItemFocused(TListItem* v);
  // The index of Selected, -1 for none.
  int GetItemIndex() const;
  void SetItemIndex(int v);
  int GetSelCount() const;
  // The item at a client point, nullptr for none (any column of its row).
  TListItem* GetItemAt(int x, int y) const;
  // The next item after start (nullptr: from the top) with all of the states.
  TListItem* GetNextItem(TListItem* start, TSearchDirection direction, TItemStates states) const;
  // Sorts by SortProc (called with the two items and data), or by OnCompare, or by caption.
  bool CustomSort(TLVCompare sortProc, LPARAM data);
  bool AlphaSort() { return CustomSort(nullptr, 0); }
  void Scroll(int dx, int dy);
  bool IsEditing() const;
  TCanvas* GetCanvas() const { return FCanvas.get(); }

  TLVSelectItemEvent OnSelectItem;
  TLVChangeEvent OnChange;
  TLVChangingEvent OnChanging;
  TLVColumnClickEvent OnColumnClick;
  TLVNotifyEvent OnGetImageIndex;
  TLVNotifyEvent OnDeletion;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TLVCompareEvent OnCompare;
  TLVCustomDrawEvent OnCustomDraw;
  TLVCustomDrawItemEvent OnCustomDrawItem;
  TLVCustomDrawSubItemEvent OnCustomDrawSubItem;

  void CNNotify(TMessage& m);
  void WMNotify(TMessage& m);
  void CMColorChanged(TMessage& m);
  void CMFontChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;

  // Overridable steps of the notifications (each fires its event).
  virtual void ColClick(TListColumn* column);
  virtual void GetImageIndex(TListItem* item);
  virtual bool CanEdit(TListItem* item);
  virtual void Edit(const LVITEMW& item);
  virtual bool CanChange(TListItem* item, TItemChange change);
  virtual void Change(TListItem* item, TItemChange change);
  virtual void Delete(TListItem* item);
  // Called for each new item once it is in the list.
  virtual void InsertItem(TListItem* item);
  // Custom draw: which stages are drawn by the program, and the drawing itself.
  // DefaultDraw false skips the system's drawing of that part.
  virtual bool IsCustomDrawn(TCustomDrawTarget target, TCustomDrawStage stage);
  virtual bool CustomDraw(const TRect& rect, TCustomDrawStage stage);
  virtual bool CustomDrawItem(TListItem* item, TCustomDrawState state, TCustomDrawStage stage);
  virtual bool CustomDrawSubItem(TListItem* item, int subItem, TCustomDrawState state, TCustomDrawStage stage);

  // The item of a notification's index and lParam, nullptr when they do not agree.
  TListItem* ItemOfNotify(int index, LPARAM lParam) const;

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;
  friend class TListColumns;
  friend class TIconOptions;
  static void Publish(TPublisher<TCustomListView>& p);
  void ColumnsChanged(TListColumn* column);
  void FillColumns();
  void SetColumnInWindow(int index, bool insert);
  void ApplyExtendedStyle();
  void ApplyColors();
  void ApplyImages();
  void ImagesChanged(TObject* sender);
  void RecreateIfAllocated();
  void ReadStatesFromWindow();
  void KeepColumnLimits();
  intptr_t CustomDrawNotify(NMLVCUSTOMDRAW& cd);
  void GetDispInfo(NMLVDISPINFOW& info);
  static int CALLBACK DefaultCompare(LPARAM item1, LPARAM item2, LPARAM view);

  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TListItems> FItems;
  std::unique_ptr<TIconOptions> FIconOptions;
  std::unique_ptr<TCanvas> FCanvas;
  std::unique_ptr<TChangeLink> FImageLink;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TViewStyle FViewStyle = vsIcon;
  bool FRowSelect = false;
  bool FReadOnly = false;
  bool FGridLines = false;
  bool FColumnClick = true;
  bool FCheckboxes = false;
  bool FFlatScrollBars = false;
  bool FMultiSelect = false;
  bool FHideSelection = true;
  bool FShowColumnHeaders = true;
  int FAllocBy = 0;
  // Set while the window is filled from the objects: no events then.
  bool FFilling = false;
  bool FEditing = false;  // between the start and the end of a label edit
  std::wstring FDispText;  // the text last handed out by LVN_GETDISPINFO
};

class TListView : public TCustomListView {
  QORN_CLASS(TListView, TCustomListView)
 public:
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}

 private:
  static void Publish(TPublisher<TListView>& p);
};

// --- tree view

class TTreeNode : public TPersistent {
  QORN_CLASS(TTreeNode, TPersistent)
 public:
  explicit TTreeNode(TTreeNodes* owner);
  ~TTreeNode() override;
  TTreeNodes* Owner() const { return FOwner; }
  TCustomTreeView* TreeView() const;
  HTREEITEM ItemId() const { return FItemId; }

  std::wstring GetText() const { return FText; }
  void SetText(const std::wstring& v);
  void* GetData() const { return FData; }
  void SetData(void* v) { FData = v; }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  int GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int v);
  int GetOverlayIndex() const { return FOverlayIndex; }
  void SetOverlayIndex(int v);
  int GetStateIndex() const { return FStateIndex; }
  void SetStateIndex(int v);
  bool GetCut() const;
  void SetCut(bool v);
  // Shows an expand button even before the children are there (filled when expanded).
  bool GetHasChildren() const { return FHasChildren || !FChildren.empty(); }
  void SetHasChildren(bool v);
  bool GetExpanded() const;
  void SetExpanded(bool v);
  void Expand(bool recurse);
  void Collapse(bool recurse);
  bool GetSelected() const;
  void SetSelected(bool v);
  bool GetFocused() const;

  TTreeNode* Parent() const { return FParent; }
  int Count() const { return static_cast<int>(FChildren.size()); }
  // Throws EListError for a bad index.
  TTreeNode* Item(int index) const;
  int Index() const;
  int Level() const;
  // The position among all nodes, counted from the first root node down.
  int AbsoluteIndex() const;
  TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* GetLastChild() const { return FChildren.empty() ? nullptr : FChildren.back(); }
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  // The next node in reading order (children first), nullptr after the last.
  TTreeNode* GetNext() const;
  bool HasAsParent(const TTreeNode* node) const;

  // The node's rectangle in client coordinates (empty without a window or when hidden).
  TRect DisplayRect(bool textOnly) const;
  bool EditText();
  void EndEdit(bool cancel);
  void MakeVisible();
  void Delete();
  void DeleteChildren();
  void Assign(const TPersistent* Source) override;

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  void InsertInWindow(HTREEITEM after);
  void ForgetWindow();
  void SaveState();
  void Redraw() const;
  bool IsExpandedInWindow() const;

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<TTreeNode*> FChildren;
  HTREEITEM FItemId = nullptr;
  std::wstring FText;
  void* FData = nullptr;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
  int FOverlayIndex = -1;
  int FStateIndex = -1;
  bool FHasChildren = false;
  bool FCut = false;
  bool FExpanded = false;  // kept while there is no window
};

class TTreeNodes : public TPersistent {
  QORN_CLASS(TTreeNodes, TPersistent)
 public:
  explicit TTreeNodes(TCustomTreeView* owner) : FOwner(owner) {}
  ~TTreeNodes() override;
  TCustomTreeView* Owner() const { return FOwner; }
  // Every node of the tree.
  int Count() const;
  // The node at an absolute index (reading order); throws EListError for a bad one.
  TTreeNode* Item(int index) const;
  TTreeNode* operator[](int index) const { return Item(index); }
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }
  int RootCount() const { return static_cast<int>(FRoots.size()); }

  // A new last sibling of `sibling` (nullptr: a new root node).
  TTreeNode* Add(TTreeNode* sibling, const std::wstring& text);
  TTreeNode* AddObject(TTreeNode* sibling, const std::wstring& text, void* data);
  TTreeNode* AddFirst(TTreeNode* sibling, const std::wstring& text);
  // A new last child of `parent` (nullptr: a new root node).
  TTreeNode* AddChild(TTreeNode* parent, const std::wstring& text);
  TTreeNode* AddChildObject(TTreeNode* parent, const std::wstring& text, void* data);
  TTreeNode* AddChildFirst(TTreeNode* parent, const std::wstring& text);
  // A new node just before `sibling`.
  TTreeNode* Insert(TTreeNode* sibling, const std::wstring& text);
  void Delete(TTreeNode* node);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  // The node of a window item, nullptr when it is not one of this tree's.
  TTreeNode* NodeOf(HTREEITEM item) const;
  void Assign(const TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler& Filer) override;

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InsertNode(TTreeNode* parent, int index, const std::wstring& text, void* data);
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* parent) { return parent ? parent->FChildren : FRoots; }
  TCustomTreeView* FOwner;
  std::vector<TTreeNode*> FRoots;
  std::unordered_map<HTREEITEM, TTreeNode*> FByItem;
  int FUpdateCount = 0;
};

using TTVCompare = int(CALLBACK*)(LPARAM node1, LPARAM node2, LPARAM data);
using TTVChangedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = TEvent<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = TEvent<void(TObject* Sender, TTreeNode* Node, bool& AllowEdit)>;
using TTVEditedEvent = TEvent<void(TObject* Sender, TTreeNode* Node, std::wstring& S)>;
using TTVCompareEvent = TEvent<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, intptr_t Data, int& Compare)>;

class TCustomTreeView : public TWinControl {
  QORN_CLASS(TCustomTreeView, TWinControl)
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;

  TTreeNodes* GetItems() const { return FNodes.get(); }
  // The selected node; while a right click is handled with RightClickSelect, the
  // node clicked.
  TTreeNode* GetSelected() const;
  void SetSelected(TTreeNode* v);
  TTreeNode* GetTopItem() const;
  // The node at a client point (on its picture or text), nullptr for none.
  TTreeNode* GetNodeAt(int x, int y) const;
  bool IsEditing() const;
  bool CustomSort(TTVCompare sortProc, LPARAM data, bool recurse = true);
  bool AlphaSort(bool recurse = true) { return CustomSort(nullptr, 0, recurse); }
  // Sorts the children of one node (nullptr: the root nodes) with the given order.
  void CustomSortChildren(TTreeNode* parent, TTVCompare sortProc, LPARAM data, bool recurse = false) {
    SortChildren(parent, sortProc, data, recurse);
  }
  void FullExpand();
  void FullCollapse();

  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool v);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool v);
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool v);
  bool GetHideSelection() const { return FHideSelection; }
  void SetHideSelection(bool v);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool v);
  bool GetRightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(bool v) { FRightClickSelect = v; }
  bool GetAutoExpand() const { return FAutoExpand; }
  void SetAutoExpand(bool v);
  bool GetRowSelect() const { return FRowSelect; }
  void SetRowSelect(bool v);
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v);
  bool GetToolTips() const { return FToolTips; }
  void SetToolTips(bool v);
  int GetIndent() const;
  void SetIndent(int v);
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* v);
  TCustomImageList* GetStateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* v);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnDeletion;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  TTVCompareEvent OnCompare;

  void CNNotify(TMessage& m);
  void WMRButtonDown(TMessage& m);
  void CMColorChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* component, TOperation operation) override;

  virtual bool CanExpand(TTreeNode* node);
  virtual void Expand(TTreeNode* node);
  virtual bool CanCollapse(TTreeNode* node);
  virtual void Collapse(TTreeNode* node);
  virtual bool CanChange(TTreeNode* node);
  virtual void Change(TTreeNode* node);
  virtual bool CanEdit(TTreeNode* node);
  virtual void Edit(const TVITEMW& item);
  // Called for each node as it is freed, before its children are.
  virtual void Delete(TTreeNode* node);
  virtual void GetImageIndex(TTreeNode* node);
  virtual void GetSelectedIndex(TTreeNode* node);

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  static void Publish(TPublisher<TCustomTreeView>& p);
  void ImagesChanged(TObject* sender);
  void ApplyImages();
  void RecreateIfAllocated();
  void GetDispInfo(NMTVDISPINFOW& info);
  static int CALLBACK DefaultCompare(LPARAM node1, LPARAM node2, LPARAM view);
  void SortChildren(TTreeNode* parent, TTVCompare proc, LPARAM data, bool recurse);
  void RightClick();

  std::unique_ptr<TTreeNodes> FNodes;
  std::unique_ptr<TChangeLink> FImageLink;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  bool FShowRoot = true;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FHideSelection = true;
  bool FReadOnly = false;
  bool FRightClickSelect = false;
  bool FAutoExpand = false;
  bool FRowSelect = false;
  bool FHotTrack = false;
  bool FToolTips = true;
  int FIndent = 19;
  bool FFilling = false;
  TTreeNode* FSavedSelection = nullptr;  // across a new window
  TTreeNode* FRightClickNode = nullptr;
  bool FRightButtonDown = false;
  TPoint FRightButtonPoint;
  bool FEditing = false;  // between the start and the end of a label edit
  std::wstring FDispText;
};

class TTreeView : public TCustomTreeView {
  QORN_CLASS(TTreeView, TCustomTreeView)
 public:
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}

 private:
  static void Publish(TPublisher<TTreeView>& p);
};

// --- hot-key control

// Key combinations the control refuses (it then shows the Modifiers instead).
QORN_ENUM(THKInvalidKey, hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt);
using THKInvalidKeys = TSet<THKInvalidKey>;
QORN_ENUM(THKModifier, hkShift, hkCtrl, hkAlt, hkExt);
using THKModifiers = TSet<THKModifier>;

class THotKey : public TWinControl {
  QORN_CLASS(THotKey, TWinControl)
 public:
  explicit THotKey(TComponent* AOwner);
  // The key in the control as a short-cut word (0 when empty).
  TShortCut GetHotKey() const;
  void SetHotKey(TShortCut v);
  THKInvalidKeys GetInvalidKeys() const { return FInvalidKeys; }
  void SetInvalidKeys(THKInvalidKeys v);
  THKModifiers GetModifiers() const { return FModifiers; }
  void SetModifiers(THKModifiers v);
  TNotifyEvent OnChange;
  void CNCommand(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  virtual void Change();

 private:
  static void Publish(TPublisher<THotKey>& p);
  void ApplyRules();
  TShortCut FHotKey;
  THKInvalidKeys FInvalidKeys{hcNone, hcShift};
  THKModifiers FModifiers{hkAlt};
};

// The hot-key control's word (virtual key, HOTKEYF_* flags in the high byte) and back.
TShortCut HotKeyWordToShortCut(WORD hotKey);
WORD ShortCutToHotKeyWord(TShortCut shortCut);
