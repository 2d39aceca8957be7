// Popup menus: a tree of TMenuItem under a TPopupMenu, shown with Popup(X, Y).
//
// The items live in the object model; the native menu (Handle) is refilled from
// them when it is next needed after a change, so items may be added, hidden or
// re-captioned at any time, also from OnPopup just before the menu shows.
//
// Popup blocks in TrackPopupMenu on the menu's own hidden window. The system posts
// the chosen item's WM_COMMAND to that window, so the item's OnClick runs from the
// message loop after Popup has returned (callers that free things after Popup can
// rely on that order). A submenu's own OnClick runs when the submenu opens, so a
// handler may fill it then.
//
// With Images (or OwnerDraw) every item is drawn by the menu: the picture in a
// left column with its alpha, a check mark (or a frame around the picture) when
// Checked, the Default item in bold, disabled items grey.
#pragma once

#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/ShortCuts.h"

#include <memory>
#include <string>
#include <vector>

class TMenu;
class TMenuItem;
class TBasicAction;
class TMenuActionLink;

// A short-cut from a key and the modifier keys held.
TShortCut ShortCut(WORD key, TShiftState shift);
// The key and the modifier keys of a short-cut.
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);

// How captions get accelerators: the layer never adds any, the names are kept for forms.
QORN_ENUM(TMenuAutoFlag, maAutomatic, maManual, maParent);
QORN_ENUM(TPopupAlignment, paLeft, paRight, paCenter);

class TMenuItem : public TComponent {
  QORN_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // "-" makes the item a separator.
  std::wstring GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& v);
  bool IsLine() const { return FCaption == L"-"; }
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool v);
  // The item a double click on the tray icon runs; drawn bold.
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool v);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut v);
  std::wstring GetHint() const { return FHint; }
  void SetHint(const std::wstring& v) { FHint = v; }
  // Pictures of this item's submenu (instead of the menu's Images).
  TCustomImageList* GetSubMenuImages() const { return FSubMenuImages; }
  void SetSubMenuImages(TCustomImageList* v);

  // --- the submenu
  int Count() const { return static_cast<int>(FItems.size()); }
  // Throws EMenuError for a bad index.
  TMenuItem* Items(int index) const;
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* GetParent() const { return FParent; }
  // The menu this item belongs to (through its parents), or nullptr.
  TMenu* GetParentMenu() const;
  void Add(TMenuItem* item);
  // index may be Count (append); an item already in another submenu is refused.
  void Insert(int index, TMenuItem* item);
  // Takes the item out of the submenu; it stays owned by its owner.
  void Delete(int index);
  void Remove(TMenuItem* item);
  // Frees every item of the submenu.
  void Clear();
  // The item with this command id in this item's tree, or nullptr.
  TMenuItem* FindItem(UINT command);
  UINT Command() const { return FCommand; }
  // The native submenu of an item with items (filled on demand).
  HMENU GetHandle();

  // Runs OnClick (when enabled), or the action (vcl/ActnList.h has the rules).
  virtual void Click();
  TNotifyEvent OnClick;

  // --- the action, through the link the item owns; nullptr clears it.
  TBasicAction* GetAction() const;
  void SetAction(TBasicAction* v);
  TMenuActionLink* GetActionLink() const { return FActionLink.get(); }
  void Loaded() override;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Copies the action's values; with CheckDefaults only into values still at their defaults.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 private:
  friend class TMenu;
  static void Publish(TPublisher<TMenuItem>& p);
  // The top of the tree (no parent): it owns the native menu.
  TMenuItem* Top();
  void Changed();
  // Refills a native menu with this item's visible items.
  void FillMenu(HMENU menu);
  // Drops the submenu handles of this subtree (their native menus are gone).
  void ForgetHandles();
  TCustomImageList* ImagesOfItems() const;

  std::wstring FCaption;
  bool FChecked = false;
  bool FDefault = false;
  bool FEnabled = true;
  bool FVisible = true;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  std::wstring FHint;
  TCustomImageList* FSubMenuImages = nullptr;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu
  UINT FCommand;
  HMENU FHandle = nullptr;
  bool FOwnsHandle = false;
  bool FStale = true;  // on the top item: the native menu needs refilling
  struct TActionLinkDeleter {
    void operator()(TMenuActionLink* link) const;
  };
  std::unique_ptr<TMenuActionLink, TActionLinkDeleter> FActionLink;
};

VCL_DECLARE_EXCEPTION(EMenuError, Exception);

class TMenu : public TComponent {
  QORN_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* GetItems() const { return FItems.get(); }
  HMENU GetHandle() { return FItems->GetHandle(); }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* v);
  bool GetOwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool v);
  TMenuAutoFlag GetAutoHotkeys() const { return FAutoHotkeys; }
  void SetAutoHotkeys(TMenuAutoFlag v) { FAutoHotkeys = v; }
  // Items are drawn by the menu (it has Images, or OwnerDraw).
  bool IsOwnerDraw() const { return FOwnerDraw || FImages; }
  TMenuItem* FindItem(UINT command) { return FItems->FindItem(command); }

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void SetChildOrder(TComponent* child, int order) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // The window that receives the menu's WM_COMMAND and drawing messages.
  HWND WindowHandle();
  // Handles the messages of that window; true when taken.
  virtual bool MenuMessage(TMessage& m);
  virtual void MeasureItem(TMenuItem* item, MEASUREITEMSTRUCT& mis);
  virtual void DrawItem(TMenuItem* item, const DRAWITEMSTRUCT& dis);

 private:
  static void Publish(TPublisher<TMenu>& p);
  void ImagesChanged(TObject* sender);
  static TMenuItem* FindSubMenu(TMenuItem* parent, HMENU handle);
  std::unique_ptr<TMenuItem> FItems;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageLink;
  bool FOwnerDraw = false;
  TMenuAutoFlag FAutoHotkeys = maAutomatic;
  HWND FWindow = nullptr;
};

class TPopupMenu : public TMenu {
  QORN_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point and returns when it closes (chosen or not).
  virtual void Popup(int x, int y);
  bool GetAutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }
  TPopupAlignment GetAlignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment v) { FAlignment = v; }
  // The control (or tray icon) the menu was last shown for.
  TComponent* GetPopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* v);
  // Runs just before the menu shows.
  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* sender);
  void Notification(TComponent* component, TOperation operation) override;

 private:
  static void Publish(TPublisher<TPopupMenu>& p);
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  TComponent* FPopupComponent = nullptr;
};
