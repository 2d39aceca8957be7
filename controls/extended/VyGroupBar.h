// TVyGroupBar: a vertical bar of collapsible groups (TVyGroup), each a caption over a
// list of clickable items (TVyGroupItem in TVyGroupItems, optionally tied to an action).
// Three looks: a category view of collapsible panels on a gradient, a task list of
// always-open sections, and an outlook view in which one group is open and fills what
// the other captions leave. TVyGroupController pushes one look to every group that
// names it.
//
// Rules:
// - The bar's list is the group order (not the child-window order). Every layout goes
//   through PositionGroups (VyGroupLayout), fed with each group's content height,
//   which walks the items exactly as the painting does.
// - Painting stores each item's text and image rectangles; the mouse hit-tests those.
// - Selecting an item deselects the other items of its own group only.
#pragma once
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafx.h"
#include "controls/extended/VyGroupLayout.h"
#include "controls/extended/VySpnEdt.h"
#include "vcl/ActnList.h"
#include "vcl/Collection.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Vy {

class TVyGroupBar;
class TVyGroup;
class TVyGroupItem;
class TVyGroupController;

QORN_ENUM(TVyGroupBarGradientPath, gpTopToBottom, gpBottomToTop);

// Misuse of groups (a group placed outside a bar).
VCL_DECLARE_EXCEPTION(EVyGroupBarError, Exception);

// An item was selected: LParam is the item. A group passes it to its items; the bar
// passes one it receives to its groups with ShowItemSelection.
inline constexpr unsigned CM_VYITEMSELECTED = CM_BASE + 1006;
static_assert(CM_VYITEMSELECTED == 0xB3EE);

using TVyCanCloseEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
using TVyCanOpenEvent = TEvent<void(TObject* Sender, bool& CanOpen)>;
using TVyMouseOverItemEvent = TEvent<void(TObject* Sender, TVyGroupItem* Item)>;
using TVyGroupItemPopupMenuEvent = TEvent<void(TObject* Sender, TVyGroupItem* Item)>;

// An item's end of its action: Caption, Checked (to Selected, only while the group shows
// the selection), Enabled, Hint, ImageIndex, Visible and OnExecute (to OnClick).
class TVyGroupItemActionLink : public TActionLink {
 public:
  explicit TVyGroupItemActionLink(TVyGroupItem* AClient);
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::wstring& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::wstring& Value) override;
  void SetImageIndex(int Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;
  // The hint as shown: with the action's shortcut when hints show shortcuts.
  std::wstring HintWithShortCut(const std::wstring& hint) const;

 private:
  TVyGroupItem* FItem;  // the client, which owns this link
};

class TVyGroupItem : public TCollectionItem {
  QORN_CLASS(TVyGroupItem, TCollectionItem)
 public:
  explicit TVyGroupItem(TCollection* Collection);
  ~TVyGroupItem() override;

  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  std::wstring GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& v);
  int GetDisabledIndex() const { return FDisabledIndex; }
  void SetDisabledIndex(int v) { Change(FDisabledIndex, v); }
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v) { Change(FEnabled, v); }
  TColor GetFontColor() const { return FFontColor; }
  void SetFontColor(TColor v) { Change(FFontColor, v); }
  TFontStyles GetFontStyle() const { return FFontStyle; }
  void SetFontStyle(TFontStyles v) { Change(FFontStyle, v); }
  std::wstring GetHint() const { return FHint; }
  void SetHint(const std::wstring& v) { FHint = v; }
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { Change(FImageIndex, v); }
  int GetIndentLevel() const { return FIndentLevel; }
  void SetIndentLevel(std::uint8_t v) { Change(FIndentLevel, v); }
  bool GetSelected() const { return FSelected; }
  // Selecting deselects the other items of the group; deselecting the selected item
  // leaves the group with none.
  void SetSelected(bool v);
  int GetTag() const { return FTag; }
  void SetTag(int v) { FTag = v; }
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v) { Change(FVisible, v); }
  TNotifyEvent OnClick;

  TVyGroup* GetGroup() const;
  bool IsSeparator() const { return IsSeparatorCaption(FCaption); }
  // 0 normal, 1 under the pointer, 2 pressed.
  int GetHotState() const { return FHotState; }
  // Where the last painting put the caption and the image ((-1, -1, -1, -1): none).
  TRect GetTextRect() const { return FTextRect; }
  TRect GetImageRect() const { return FImageRect; }
  bool HasClickHandler() const { return OnClick || GetAction(); }

  // OnClick, or the action's OnExecute through the link (the group as component).
  virtual void Click();
  std::wstring GetDisplayName() const override;
  void Assign(const TPersistent* Source) override;
  TVyGroupItemActionLink* GetActionLink() const { return FActionLink.get(); }

 protected:
  // Copies the action's values; while loading only into values still at their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 private:
  friend class TVyGroup;
  friend class TVyGroupItems;
  static void Publish(TPublisher<TVyGroupItem>& p);
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed(false);
  }
  bool IsCaptionStored() const;
  bool Hits(TPoint p) const { return FTextRect.Contains(p) || FImageRect.Contains(p); }

  std::unique_ptr<TVyGroupItemActionLink> FActionLink;
  std::wstring FCaption;
  int FDisabledIndex = -1;
  bool FEnabled = true;
  TColor FFontColor = clNone;
  TFontStyles FFontStyle;
  std::wstring FHint;
  int FImageIndex = -1;
  std::uint8_t FIndentLevel = 0;
  bool FSelected = false;
  int FTag = 0;
  bool FVisible = true;
  bool FCaptionChanged = false;
  bool FMouseDown = false;
  int FHotState = 0;
  TRect FTextRect{-1, -1, -1, -1};
  TRect FImageRect{-1, -1, -1, -1};
};

class TVyGroupItems : public TCollection {
  QORN_CLASS(TVyGroupItems, TCollection)
 public:
  explicit TVyGroupItems(TVyGroup* group);
  // The collection's range check applies.
  TVyGroupItem* GetItem(int Index) const { return static_cast<TVyGroupItem*>(Items(Index)); }
  TVyGroupItem* Add() { return static_cast<TVyGroupItem*>(TCollection::Add()); }
  TVyGroup* GetGroup() const { return FGroup; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TVyGroup* FGroup;
};

class TVyGroup : public TCustomControl {
  QORN_CLASS(TVyGroup, TCustomControl)
 public:
  explicit TVyGroup(TComponent* AOwner);
  ~TVyGroup() override;

  TVyGroupBar* GetGroupBar() const { return FGroupBar; }
  void SetGroupBar(TVyGroupBar* bar);
  // The position in the bar's list (-1 without a bar); outside 0..count-1 it raises
  // the list error and the order stays.
  int GetGroupIndex() const;
  void SetGroupIndex(int v);
  TVyGroupItems* GetItems() const { return FItems.get(); }
  void SetItems(TVyGroupItems* v) { FItems->Assign(v); }

  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Look(FBorderColor, v); }
  bool GetCanClose() const { return FCanClose; }
  // Only the category view lets a group be closed; setting False opens it.
  void SetCanClose(bool v);
  TColor GetCaptionColor() const { return FCaptionColor; }
  void SetCaptionColor(TColor v);
  bool GetCaptionColorDefault() const { return FCaptionColorDefault; }
  void SetCaptionColorDefault(bool v);
  TFont* GetCaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* v) { FCaptionFont->Assign(v); }
  int GetCaptionHeight() const { return FCaptionHeight; }
  // Below 16 counts as 16.
  void SetCaptionHeight(int v);
  TColor GetCaptionHotColor() const { return FCaptionHotColor; }
  void SetCaptionHotColor(TColor v);
  int GetCaptionImageIndex() const { return FCaptionImageIndex; }
  void SetCaptionImageIndex(int v) { Look(FCaptionImageIndex, v); }
  TColor GetGroupColor() const { return GetColor(); }
  void SetGroupColor(TColor v);
  bool GetColorDefault() const { return FColorDefault; }
  void SetColorDefault(bool v);
  TColor GetDividerColor() const { return FDividerColor; }
  void SetDividerColor(TColor v) { Look(FDividerColor, v); }
  bool GetDividerVisible() const { return FDividerVisible; }
  void SetDividerVisible(bool v) { Look(FDividerVisible, v); }
  TVyGroupController* GetGroupController() const { return FGroupController; }
  void SetGroupController(TVyGroupController* v);
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v) { Layout(FItemHeight, v); }
  TColor GetItemHotColor() const { return FItemHotColor; }
  void SetItemHotColor(TColor v);
  int GetItemIndent() const { return FItemIndent; }
  void SetItemIndent(std::uint8_t v) { Layout(FItemIndent, int(v)); }
  TVyItemStyle GetItemStyle() const { return FItemStyle; }
  void SetItemStyle(TVyItemStyle v) { Layout(FItemStyle, v); }
  TFont* GetItemStaticFont() const { return FItemStaticFont.get(); }
  void SetItemStaticFont(TFont* v) { FItemStaticFont->Assign(v); }
  TPopupMenu* GetItemPopupMenu() const { return FItemPopupMenu; }
  void SetItemPopupMenu(TPopupMenu* v);
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* v);
  TCustomImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* v);
  bool GetOpened() const { return FOpened; }
  void SetOpened(bool v);
  int GetOpenedHeight() const { return FOpenedHeight; }
  void SetOpenedHeight(int v);
  TColor GetSelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor v) { Look(FSelectionColor, v); }
  bool GetShowItemSelection() const { return FShowItemSelection; }
  void SetShowItemSelection(bool v) { Look(FShowItemSelection, v); }
  bool GetSpecial() const { return FSpecial; }
  void SetSpecial(bool v) { Look(FSpecial, v); }
  bool GetUseGradients() const { return FUseGradients; }
  void SetUseGradients(bool v) { Look(FUseGradients, v); }

  TVyCanCloseEvent OnCanClose;
  TVyCanOpenEvent OnCanOpen;
  TNotifyEvent OnClose;
  TNotifyEvent OnOpen;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TVyMouseOverItemEvent OnMouseOverItem;
  TVyGroupItemPopupMenuEvent OnItemPopupMenu;

  // The item at the selected index, or nullptr.
  TVyGroupItem* GetSelectedItem() const;
  int GetSelectedIndex() const { return FSelectedIndex; }
  // The first item shown (the outlook style scrolls the items).
  int GetFirstShownItem() const { return FFirstShownItem; }
  // The item the item menu was last shown for (nullptr once it is deleted).
  TVyGroupItem* GetPopupItem() const { return FPopupItem; }
  // 0 normal, 1 under the pointer, 2 pressed.
  int GetCaptionState() const { return FCaptionState; }
  TVyGroupBarStyle GetGroupStyle() const { return FStyle; }
  void SetGroupStyle(TVyGroupBarStyle v);
  // What the group needs open at a width: its caption and its items.
  int ContentHeight(int width);
  // The small and large image lists in use: the group's own, else the bar's.
  TCustomImageList* SmallImageList() const;
  TCustomImageList* LargeImageList() const;
  // Where small captions start: past the images when any item shows one.
  virtual int GetItemLeft() const;
  // Asks OnCanClose / OnCanOpen and turns the group over.
  virtual void ToggleOpened();
  void ScrollItemsUp(TObject* = nullptr);
  void ScrollItemsDown(TObject* = nullptr);
  TVyRapidFireButton* GetScrollUpButton() const { return FScrollUp.get(); }
  TVyRapidFireButton* GetScrollDownButton() const { return FScrollDown.get(); }
  // The item under a client point (visible, enabled), or nullptr.
  TVyGroupItem* ItemAt(TPoint p, bool needsClick) const;

  void SetParent(TWinControl* parent) override;
  void SetParentComponent(TComponent* value) override;
  void Loaded() override;
  void InitiateAction() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void ChangeScale(int M, int D) override;

  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMHintShow(TMessage& m);
  void CMItemSelected(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMSize(TMessage& m);
  void WMEraseBkgnd(TMessage& m) { m.Result = 1; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void DoContextPopup(TPoint mousePos, bool& handled) override;
  void DragOver(TObject* source, int x, int y, TDragState state, bool& accept) override;
  void DoEndDrag(TObject* target, int x, int y) override;
  virtual void DoMouseOverItem(TVyGroupItem* item) {
    if (OnMouseOverItem) OnMouseOverItem(this, item);
  }
  virtual void ItemDeleted(int index);

  // Painting (VyGroupBarPaint.win.cpp).
  virtual void DrawItems(TCanvas* c);
  virtual void DrawCaptionButton(TCanvas* c, bool opened, int x, TColor chevron, TColor ring, int y);
  virtual void DrawCategoryView(TCanvas* c);
  virtual void DrawThemedCategoryView(TCanvas* c);
  virtual void DrawOutlookView(TCanvas* c);
  virtual void DrawTaskListView(TCanvas* c);

 private:
  friend class TVyGroupBar;
  friend class TVyGroupItem;
  friend class TVyGroupItems;
  friend class TVyGroupController;
  static void Publish(TPublisher<TVyGroup>& p);
  template <class T>
  void Look(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <class T>
  void Layout(T& field, T value) {
    if (field == value) return;
    field = value;
    UpdateLayout();
    Invalidate();
  }
  bool Loading() const;
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool HasController() const { return FGroupController != nullptr; }
  bool IsCaptionColorStored() const { return !HasController() && !FCaptionColorDefault; }
  bool IsColorStored() const { return !HasController() && !FColorDefault; }
  bool IsCaptionFontStored() const { return !HasController() && FCaptionFontChanged; }
  bool IsItemStaticFontStored() const { return !HasController() && FItemStaticFontChanged; }
  bool IsControllerFree() const { return !HasController(); }
  // The values a style gives while ColorDefault / CaptionColorDefault hold.
  TColor StyleColor() const;
  TColor StyleCaptionColor() const;
  void CaptionFontChanged(TObject*);
  void ItemStaticFontChanged(TObject*);
  void ImagesChanged(TObject*);
  // Lays the bar out again (the group's height follows its items).
  void UpdateLayout();
  void UpdateScrollButtons();
  void PlaceScrollButtons();
  void ItemChanged();
  void ItemActionChanged(int delta);
  void PopupItemMenu(TVyGroupItem* item, TPoint client);
  std::vector<TGroupItemEntry> ItemEntries() const;
  TGroupItemsMetrics ItemMetrics(TCanvas* c, int width) const;
  TGroupItemsWalk WalkItems(TCanvas* c, int width) const;
  void ApplyItemFont(TCanvas* c, const TVyGroupItem& item) const;
  void DrawImage(TCanvas* c, TCustomImageList* images, int x, int y, const TVyGroupItem& item) const;
  void DrawDivider(TCanvas* c, int y);
  // The caption's image at the left; returns where the text starts.
  int DrawLeftCaptionImage(TCanvas* c);
  // The caption's text from x, clear of the caption button.
  void DrawLeftCaption(TCanvas* c, int x);
  bool GradientsOn() const;
  TCanvas* MeasureCanvas() const;

  TVyGroupBar* FGroupBar = nullptr;  // the bar this group is in, not owned
  TVyGroupBarStyle FStyle = gbsCategoryView;
  std::unique_ptr<TVyGroupItems> FItems;
  TColor FBorderColor = clBtnHighlight;
  bool FCanClose = true;
  TColor FCaptionColor = clHighlightText;
  bool FCaptionColorDefault = true;
  std::unique_ptr<TFont> FCaptionFont;
  int FCaptionHeight = 20;
  TColor FCaptionHotColor = clHotLight;
  int FCaptionImageIndex = -1;
  bool FColorDefault = true;
  TColor FDividerColor = clHighlight;
  bool FDividerVisible = false;
  TVyGroupController* FGroupController = nullptr;  // not owned; cleared when it goes
  int FItemHeight = 20;
  TColor FItemHotColor = clHotLight;
  int FItemIndent = 20;
  TVyItemStyle FItemStyle = isSmall;
  std::unique_ptr<TFont> FItemStaticFont;
  TPopupMenu* FItemPopupMenu = nullptr;      // not owned; cleared when it goes
  TCustomImageList* FLargeImages = nullptr;  // not owned; cleared when it goes
  TCustomImageList* FSmallImages = nullptr;  // not owned; cleared when it goes
  bool FOpened = true;
  int FOpenedHeight = 50;
  TColor FSelectionColor = clHighlight;
  bool FShowItemSelection = false;
  bool FSpecial = false;
  bool FUseGradients = true;

  int FFirstShownItem = 0;
  int FSelectedIndex = -1;
  int FCaptionState = 0;
  bool FCaptionPressed = false;
  int FActionItems = 0;
  bool FFontChanged = false;
  bool FCaptionFontChanged = false;
  bool FItemStaticFontChanged = false;
  bool FApplyingStyle = false;
  TVyGroupItem* FPopupItem = nullptr;  // one of FItems, cleared when deleted
  TColor FThemedTextColor = clNone;    // the theme's item text colour while it paints
  std::unique_ptr<TChangeLink> FSmallLink;
  std::unique_ptr<TChangeLink> FLargeLink;
  std::unique_ptr<TVyRapidFireButton> FScrollUp;
  std::unique_ptr<TVyRapidFireButton> FScrollDown;
  mutable std::unique_ptr<TBitmap> FMeasure;
};

class TVyGroupBar : public TCustomControl {
  QORN_CLASS(TVyGroupBar, TCustomControl)
 public:
  explicit TVyGroupBar(TComponent* AOwner);
  ~TVyGroupBar() override;

  // Raises the list error outside 0..count-1.
  virtual TVyGroup* GetGroup(int index) const;
  virtual int GetGroupCount() const { return int(FGroups.size()); }

  bool GetExclusiveMode() const { return FExclusiveMode; }
  // Only the category view has it; switching it on leaves the first group open.
  void SetExclusiveMode(bool v);
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v);
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v) { Frame(FBevelWidth, v); }
  TFrameStyleEx GetBorderInner() const { return FBorderInner; }
  void SetBorderInner(TFrameStyleEx v) { Frame(FBorderInner, v); }
  TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
  void SetBorderOuter(TFrameStyleEx v) { Frame(FBorderOuter, v); }
  TSides GetBorderSides() const { return FBorderSides; }
  void SetBorderSides(TSides v) { Frame(FBorderSides, v); }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Frame(FBorderColor, v); }
  TColor GetBorderHighlight() const { return FBorderHighlight; }
  void SetBorderHighlight(TColor v) { Frame(FBorderHighlight, v); }
  TColor GetBorderShadow() const { return FBorderShadow; }
  void SetBorderShadow(TColor v) { Frame(FBorderShadow, v); }
  int GetColorAdjustment() const { return FColorAdjustment; }
  void SetColorAdjustment(int v) { Frame(FColorAdjustment, v); }
  TVyGroupBarGradientPath GetGradientPath() const { return FGradientPath; }
  void SetGradientPath(TVyGroupBarGradientPath v);
  int GetGroupBorderSize() const { return FGroupBorderSize; }
  void SetGroupBorderSize(int v) { Frame(FGroupBorderSize, v); }
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v) { Frame(FFlatColor, v); }
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v) { Frame(FFlatColorAdjustment, v); }
  TCustomImageList* GetLargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* v);
  TCustomImageList* GetSmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* v);
  TVyGroupBarStyle GetStyle() const { return FStyle; }
  void SetStyle(TVyGroupBarStyle v);
  bool GetThemeAware() const { return FThemeAware; }
  void SetThemeAware(bool v);
  bool GetUseGradients() const { return FUseGradients; }
  void SetUseGradients(bool v);
  // Themes are in use for the bar: ThemeAware and the platform's styles on.
  bool Themed() const;

  // Pixels by which the first group is moved up.
  int GetScrollPosition() const { return FScrollPosition; }
  void SetScrollPosition(int v);
  virtual void UpdateScrollBar();
  // Lays the groups out where they belong now.
  void PositionGroups();

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;
  void Loaded() override;
  void AlignControls(TControl* control, TRect& rect) override;

  void WMVScroll(TMessage& m);
  void WMNCCalcSize(TMessage& m);
  void WMNCPaint(TMessage& m);
  void WMNCHitTest(TMessage& m);
  void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
  void CMColorChanged(TMessage& m);
  void CMFocusChanged(TMessage& m);
  void CMItemSelected(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
  bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

 private:
  friend class TVyGroup;
  static void Publish(TPublisher<TVyGroupBar>& p);
  template <class T>
  void Frame(T& field, T value) {
    if (field == value) return;
    field = value;
    FrameChanged();
  }
  void FrameChanged();
  void ImagesChanged(TObject*);
  bool Loading() const;
  void AddGroup(TVyGroup* group);
  void RemoveGroup(TVyGroup* group);
  void MoveGroup(TVyGroup* group, int index);
  // Scrolls the groups down by delta (up when negative).
  void ScrollGroups(int delta);
  void FillGap();
  void ScrollInView(TVyGroup* group);
  // The group's height as the layout gives it.
  TGroupSlot SlotOf(TVyGroup* group);
  void InvalidateGroups();
  int ContentHeight();
  void CloseOthers(TVyGroup* open);
  // The realignment a group asks for when it opens or closes.
  void RealignFor(TControl* control);
  bool HasVerticalScrollBar() const;
  int BorderWidthOf(TFrameStyleEx style) const;

  std::vector<TVyGroup*> FGroups;  // the group order; the groups belong to the form
  // Where the last layout put each group. The scroll sums read these, not the windows:
  // a window's position stops at 16 bits, a long bar's groups do not.
  std::vector<TRect> FPlaces;
  bool FExclusiveMode = false;
  int FBorderWidth = 0;
  int FBevelWidth = 1;
  TFrameStyleEx FBorderInner = fsNone;
  TFrameStyleEx FBorderOuter = fsNone;
  TSides FBorderSides = AllSides;
  TColor FBorderColor = clBtnFace;
  TColor FBorderHighlight = clBtnHighlight;
  TColor FBorderShadow = clBtnShadow;
  int FColorAdjustment = 30;
  TVyGroupBarGradientPath FGradientPath = gpTopToBottom;
  int FGroupBorderSize = 8;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  TCustomImageList* FLargeImages = nullptr;  // not owned; cleared when it goes
  TCustomImageList* FSmallImages = nullptr;  // not owned; cleared when it goes
  TVyGroupBarStyle FStyle = gbsCategoryView;
  bool FThemeAware = true;
  bool FUseGradients = true;
  int FScrollPosition = 0;
  bool FScrolling = false;
  bool FReordering = false;
  bool FAligning = false;
  bool FClosingOthers = false;
  std::unique_ptr<TChangeLink> FSmallLink;
  std::unique_ptr<TChangeLink> FLargeLink;
};

// One look for many groups: each group that names the controller gets its values, and
// does not store them in its form.
class TVyGroupController : public TComponent {
  QORN_CLASS(TVyGroupController, TComponent)
 public:
  explicit TVyGroupController(TComponent* AOwner);
  // Every group still registered forgets the controller.
  ~TVyGroupController() override;

  // Which value UpdateGroup pushes (gcAll: every one).
  enum TWhich {
    gcAll,
    gcBorderColor,
    gcCaptionColor,
    gcCaptionFont,
    gcCaptionHeight,
    gcCaptionHotColor,
    gcColor,
    gcParentColor,
    gcDividerColor,
    gcDividerVisible,
    gcFont,
    gcParentFont,
    gcItemHeight,
    gcItemHotColor,
    gcItemIndent,
    gcItemStaticFont,
    gcSelectionColor,
    gcShowItemSelection,
    gcUseGradients,
  };

  // A group joins once and gets every value; an empty list is dropped.
  void Register(TVyGroup* group);
  void Unregister(TVyGroup* group);
  int GroupCount() const { return int(FGroups.size()); }
  virtual void UpdateGroup(TVyGroup* group, TWhich which);
  virtual void UpdateGroups(TWhich which);
  void BeginUpdate() { ++FUpdateCount; }
  // The last one pushes every value; a count below 0 counts as 0.
  void EndUpdate();
  void Assign(const TPersistent* Source) override;
  void Loaded() override;

  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Change(FBorderColor, v, gcBorderColor); }
  TColor GetCaptionColor() const { return FCaptionColor; }
  void SetCaptionColor(TColor v) { Change(FCaptionColor, v, gcCaptionColor); }
  TFont* GetCaptionFont() const { return FCaptionFont.get(); }
  void SetCaptionFont(TFont* v) { FCaptionFont->Assign(v); }
  int GetCaptionHeight() const { return FCaptionHeight; }
  void SetCaptionHeight(int v) { Change(FCaptionHeight, std::max(v, 16), gcCaptionHeight); }
  TColor GetCaptionHotColor() const { return FCaptionHotColor; }
  void SetCaptionHotColor(TColor v) { Change(FCaptionHotColor, v, gcCaptionHotColor); }
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) { Change(FColor, v, gcColor); }
  TColor GetDividerColor() const { return FDividerColor; }
  void SetDividerColor(TColor v) { Change(FDividerColor, v, gcDividerColor); }
  bool GetDividerVisible() const { return FDividerVisible; }
  void SetDividerVisible(bool v) { Change(FDividerVisible, v, gcDividerVisible); }
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }
  int GetItemHeight() const { return FItemHeight; }
  void SetItemHeight(int v) { Change(FItemHeight, v, gcItemHeight); }
  TColor GetItemHotColor() const { return FItemHotColor; }
  void SetItemHotColor(TColor v) { Change(FItemHotColor, v, gcItemHotColor); }
  int GetItemIndent() const { return FItemIndent; }
  void SetItemIndent(std::uint8_t v) { Change(FItemIndent, int(v), gcItemIndent); }
  TFont* GetItemStaticFont() const { return FItemStaticFont.get(); }
  void SetItemStaticFont(TFont* v) { FItemStaticFont->Assign(v); }
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool v);
  TColor GetSelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor v) { Change(FSelectionColor, v, gcSelectionColor); }
  bool GetShowItemSelection() const { return FShowItemSelection; }
  void SetShowItemSelection(bool v) { Change(FShowItemSelection, v, gcShowItemSelection); }
  bool GetUseGradients() const { return FUseGradients; }
  void SetUseGradients(bool v) { Change(FUseGradients, v, gcUseGradients); }
  TVyRegIniFile* GetRegIniFile() const { return FRegIniFile; }
  void SetRegIniFile(TVyRegIniFile* v);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  static void Publish(TPublisher<TVyGroupController>& p);
  template <class T>
  void Change(T& field, T value, TWhich which) {
    if (field == value) return;
    field = value;
    UpdateGroups(which);
  }
  void FontChanged(TObject*);
  void CaptionFontChanged(TObject*);
  void ItemStaticFontChanged(TObject*);
  void FollowFont();
  bool IsColorStored() const { return !FParentColor; }
  bool IsFontStored() const { return !FParentFont; }

  std::vector<TVyGroup*> FGroups;  // registered groups, not owned: each leaves when freed
  int FUpdateCount = 0;
  TColor FBorderColor = clBtnHighlight;
  TColor FCaptionColor = clHighlightText;
  std::unique_ptr<TFont> FCaptionFont;
  int FCaptionHeight = 20;
  TColor FCaptionHotColor = clHotLight;
  TColor FColor = clBtnFace;
  TColor FDividerColor = clHighlight;
  bool FDividerVisible = false;
  std::unique_ptr<TFont> FFont;
  int FItemHeight = 20;
  TColor FItemHotColor = clHotLight;
  int FItemIndent = 20;
  std::unique_ptr<TFont> FItemStaticFont;
  bool FParentColor = false;
  bool FParentFont = true;
  TColor FSelectionColor = clHighlight;
  bool FShowItemSelection = false;
  bool FUseGradients = true;
  TVyRegIniFile* FRegIniFile = nullptr;  // not owned; cleared when it goes
  bool FFontChanged = false;
  bool FCaptionFontChanged = false;
  bool FItemStaticFontChanged = false;
};

}  // namespace Vy
