#include "vcl/Menus.h"

#include "vcl/ActnList.h"
#include "vcl/Canvas.h"
#include "vcl/Forms.h"
#include "vcl/WindowHost.h"

#include <algorithm>
#include <cwctype>

namespace {

// Command ids go to WM_COMMAND's low word. Each item keeps its id for life, so a
// posted command reaches the item chosen, not one made since; ids come round
// again only after 65535 items.
UINT NewCommand() {
  static UINT next = 0;
  next = next % 0xFFFF + 1;
  return next;
}

// Layout of owner-drawn items, in pixels.
constexpr int kImageMargin = 3;    // around the picture column
constexpr int kTextGap = 6;        // between the picture column and the caption
constexpr int kShortCutGap = 18;   // between the caption and the short-cut text
constexpr int kRightMargin = 10;
constexpr int kSeparatorHeight = 8;
constexpr int kDefaultImageSize = 16;

// The letter after the caption's accelerator mark, upper case; 0 for none.
wchar_t AcceleratorOf(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    ++i;
  }
  return 0;
}

}  // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
  TShortCut result = static_cast<TShortCut>(key & 0xFF);
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
  key = ShortCutKey(shortCut);
  shift = {};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

// --- menu item

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(NewCommand()) {}

TMenuItem::~TMenuItem() {
  // Each item leaves this list as it goes.
  while (!FItems.empty()) delete FItems.back();
  if (FParent) FParent->Remove(this);
  if (FOwnsHandle && FHandle) DestroyMenu(FHandle);
}

void TMenuItem::Publish(TPublisher<TMenuItem>& p) {
  p.Property(L"Caption", &TMenuItem::GetCaption, &TMenuItem::SetCaption);
  p.Property(L"Checked", &TMenuItem::GetChecked, &TMenuItem::SetChecked).Default(false);
  p.Property(L"Default", &TMenuItem::GetDefault, &TMenuItem::SetDefault).Default(false);
  p.Property(L"Enabled", &TMenuItem::GetEnabled, &TMenuItem::SetEnabled).Default(true);
  p.Property(L"Visible", &TMenuItem::GetVisible, &TMenuItem::SetVisible).Default(true);
  p.Property(L"ImageIndex", &TMenuItem::GetImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  p.Property(L"ShortCut", &TMenuItem::GetShortCut, &TMenuItem::SetShortCut).Default(0);
  p.Property(L"Hint", &TMenuItem::GetHint, &TMenuItem::SetHint);
  p.Property(L"SubMenuImages", &TMenuItem::GetSubMenuImages, &TMenuItem::SetSubMenuImages);
  p.Property(L"Action", &TMenuItem::GetAction, &TMenuItem::SetAction);
  p.Property(L"OnClick", &TMenuItem::OnClick);
}

void TMenuItem::Changed() { Top()->FStale = true; }

TMenuItem* TMenuItem::Top() {
  TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::SetCaption(const std::wstring& v) {
  if (FCaption == v) return;
  FCaption = v;
  Changed();
}

void TMenuItem::SetChecked(bool v) {
  if (FChecked == v) return;
  FChecked = v;
  Changed();
}

void TMenuItem::SetDefault(bool v) {
  if (FDefault == v) return;
  // One default item per submenu, as the system menu allows.
  if (v && FParent)
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this) sibling->FDefault = false;
  FDefault = v;
  Changed();
}

void TMenuItem::SetEnabled(bool v) {
  if (FEnabled == v) return;
  FEnabled = v;
  Changed();
}

void TMenuItem::SetVisible(bool v) {
  if (FVisible == v) return;
  FVisible = v;
  Changed();
}

void TMenuItem::SetImageIndex(int v) {
  if (FImageIndex == v) return;
  FImageIndex = v;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut v) {
  if (FShortCut == v) return;
  FShortCut = v;
  Changed();
}

void TMenuItem::SetSubMenuImages(TCustomImageList* v) {
  if (FSubMenuImages == v) return;
  if (FSubMenuImages) FSubMenuImages->RemoveFreeNotification(this);
  FSubMenuImages = v;
  if (v) v->FreeNotification(this);
  Changed();
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FSubMenuImages) {
    FSubMenuImages = nullptr;
    Changed();
  }
}

TCustomImageList* TMenuItem::ImagesOfItems() const {
  if (FSubMenuImages) return FSubMenuImages;
  const TMenu* menu = GetParentMenu();
  return menu ? menu->GetImages() : nullptr;
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw EMenuError(L"Menu index out of range");
  return FItems[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  if (item->FParent) throw EMenuError(L"Menu inserted twice");
  if (index < 0 || index > Count()) throw EMenuError(L"Menu index out of range");
  for (const TMenuItem* up = this; up; up = up->FParent)
    if (up == item) throw EMenuError(L"Sub-menu is not in menu");
  if (item->FOwnsHandle) {
    // A menu of its own until now: from here on this tree's native menu holds it.
    if (item->FHandle) DestroyMenu(item->FHandle);
    item->FOwnsHandle = false;
    item->ForgetHandles();
  }
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  if (item->FDefault)
    for (TMenuItem* sibling : FItems)
      if (sibling != item) sibling->FDefault = false;
  Changed();
}

void TMenuItem::Delete(int index) {
  TMenuItem* item = Items(index);
  FItems.erase(FItems.begin() + index);
  item->FParent = nullptr;
  // Its submenu belonged to this tree's native menu, which the next refill destroys.
  item->ForgetHandles();
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::FindItem(UINT command) {
  if (FCommand == command && FParent) return this;
  for (TMenuItem* item : FItems)
    if (TMenuItem* found = item->FindItem(command)) return found;
  return nullptr;
}

HMENU TMenuItem::GetHandle() {
  TMenuItem* top = Top();
  if (!top->FHandle) {
    top->FHandle = CreatePopupMenu();
    top->FOwnsHandle = true;
    top->FStale = true;
  }
  if (top->FStale) {
    top->FStale = false;
    top->FillMenu(top->FHandle);
  }
  return FHandle;
}

void TMenuItem::ForgetHandles() {
  if (!FOwnsHandle) FHandle = nullptr;
  for (TMenuItem* item : FItems) item->ForgetHandles();
}

void TMenuItem::FillMenu(HMENU menu) {
  // Deleting the entries destroys the old submenus with them.
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
  // A submenu with pictures of its own is drawn by us even in a plain menu.
  const TMenu* owner = GetParentMenu();
  const bool ownerDraw = (owner && owner->IsOwnerDraw()) || FSubMenuImages;
  for (TMenuItem* item : FItems) {
    item->ForgetHandles();
    if (!item->FVisible) continue;
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    mi.wID = item->FCommand;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    std::wstring text = item->FCaption;
    if (item->FShortCut) {
      const std::wstring keys = ShortCutToText(item->FShortCut);
      if (!keys.empty()) text += L"\t" + keys;
    }
    if (item->IsLine()) {
      mi.fType = ownerDraw ? MFT_SEPARATOR | MFT_OWNERDRAW : MFT_SEPARATOR;
    } else if (ownerDraw) {
      mi.fType = MFT_OWNERDRAW;
    } else {
      mi.fType = MFT_STRING;
      mi.fMask |= MIIM_STRING;
      mi.dwTypeData = text.data();
    }
    if (item->FChecked) mi.fState |= MFS_CHECKED;
    if (!item->FEnabled) mi.fState |= MFS_GRAYED;
    if (item->FDefault) mi.fState |= MFS_DEFAULT;
    if (!item->FItems.empty()) {
      item->FHandle = CreatePopupMenu();
      item->FillMenu(item->FHandle);
      mi.fMask |= MIIM_SUBMENU;
      mi.hSubMenu = item->FHandle;
    }
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &mi);
  }
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  // The action runs through the link unless the item has an OnClick of its own.
  TBasicAction* action = GetAction();
  if (OnClick && (!action || OnClick != action->GetOnExecute())) {
    OnClick(this);
  } else if (action) {
    FActionLink->Execute(this);
  } else if (OnClick) {
    OnClick(this);
  }
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(value)) menu->GetItems()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(value)) item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TMenuItem* item : FItems) proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order) {
  auto* item = dynamic_cast<TMenuItem*>(child);
  const int index = IndexOf(item);
  if (index < 0) return;
  FItems.erase(FItems.begin() + index);
  order = std::clamp(order, 0, Count());
  FItems.insert(FItems.begin() + order, item);
  Changed();
}

// --- drawing of owner-drawn items

namespace {

TSize ImageSize(const TCustomImageList* images) {
  if (!images) return {kDefaultImageSize, kDefaultImageSize};
  return {images->GetWidth(), images->GetHeight()};
}

// The menu font, bold for the default item.
void SelectMenuFont(TCanvas& canvas, bool bold) {
  canvas.SetFont(Screen->GetMenuFont());
  TFontStyles style = canvas.GetFont()->GetStyle();
  if (bold) style.Include(fsBold);
  canvas.GetFont()->SetStyle(style);
}

// A check mark of two strokes in the middle of a box.
void DrawCheckMark(TCanvas& canvas, const TRect& box, TColor color) {
  const int cx = (box.Left + box.Right) / 2;
  const int cy = (box.Top + box.Bottom) / 2;
  canvas.GetPen()->SetColor(color);
  canvas.GetPen()->SetWidth(1);
  for (int d = 0; d < 2; ++d) canvas.Polyline({{cx - 4, cy - 1 + d}, {cx - 1, cy + 2 + d}, {cx + 5, cy - 4 + d}});
}

}  // namespace

void TMenu::MeasureItem(TMenuItem* item, MEASUREITEMSTRUCT& mis) {
  if (item->IsLine()) {
    mis.itemWidth = 10;
    mis.itemHeight = kSeparatorHeight;
    return;
  }
  const TSize image = ImageSize(item->FParent ? item->FParent->ImagesOfItems() : nullptr);
  HDC screen = GetDC(nullptr);
  TCanvas canvas;
  canvas.SetHandle(screen);
  SelectMenuFont(canvas, item->FDefault);
  TRect text(0, 0, 0, 0);
  canvas.DrawText(item->FCaption, text, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
  int width = image.cx + 2 * kImageMargin + kTextGap + text.Width() + kRightMargin;
  if (item->FShortCut) {
    TRect keys(0, 0, 0, 0);
    canvas.DrawText(ShortCutToText(item->FShortCut), keys, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    width += kShortCutGap + keys.Width();
  }
  canvas.SetHandle(nullptr);
  ReleaseDC(nullptr, screen);
  mis.itemWidth = static_cast<UINT>(width);
  mis.itemHeight = static_cast<UINT>(std::max(image.cy + 2 * kImageMargin, text.Height() + 6));
}

void TMenu::DrawItem(TMenuItem* item, const DRAWITEMSTRUCT& dis) {
  const int saved = SaveDC(dis.hDC);
  TCanvas canvas;
  canvas.SetHandle(dis.hDC);
  const TRect rect(dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom);
  const bool selected = (dis.itemState & ODS_SELECTED) != 0;
  const bool disabled = (dis.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  TCustomImageList* images = item->FParent ? item->FParent->ImagesOfItems() : nullptr;
  const TSize image = ImageSize(images);
  const int gutter = image.cx + 2 * kImageMargin;

  canvas.GetBrush()->SetColor(selected && !item->IsLine() ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (item->IsLine()) {
    const int y = (rect.Top + rect.Bottom) / 2 - 1;
    canvas.GetPen()->SetColor(clBtnShadow);
    canvas.MoveTo(rect.Left + gutter, y);
    canvas.LineTo(rect.Right - 2, y);
    canvas.GetPen()->SetColor(clBtnHighlight);
    canvas.MoveTo(rect.Left + gutter, y + 1);
    canvas.LineTo(rect.Right - 2, y + 1);
  } else {
    const TColor textColor = disabled ? clGrayText : selected ? clHighlightText : clMenuText;
    const int x = rect.Left + kImageMargin;
    const int y = rect.Top + (rect.Height() - image.cy) / 2;
    const TRect box(x, y, x + image.cx, y + image.cy);
    const bool hasImage = images && item->FImageIndex >= 0 && item->FImageIndex < images->GetCount();
    if (hasImage) {
      if (item->FChecked) {
        // A checked picture stands in a frame instead of beside a check mark.
        canvas.GetBrush()->SetColor(textColor);
        canvas.FrameRect(TRect(box.Left - 2, box.Top - 2, box.Right + 2, box.Bottom + 2));
      }
      images->Draw(&canvas, x, y, item->FImageIndex, !disabled);
    } else if (item->FChecked) {
      DrawCheckMark(canvas, box, textColor);
    }
    SelectMenuFont(canvas, item->FDefault);
    canvas.GetFont()->SetColor(textColor);
    SetBkMode(canvas.GetHandle(), TRANSPARENT);
    TRect text(rect.Left + gutter + kTextGap, rect.Top, rect.Right - kRightMargin, rect.Bottom);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (dis.itemState & ODS_NOACCEL) format |= DT_HIDEPREFIX;
    canvas.DrawText(item->FCaption, text, format | DT_LEFT);
    if (item->FShortCut) canvas.DrawText(ShortCutToText(item->FShortCut), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  canvas.SetHandle(nullptr);
  RestoreDC(dis.hDC, saved);
}

// --- menu

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)), FImageLink(new TChangeLink) {
  FItems->FMenu = this;
  FImageLink->OnChange = TNotifyEvent(this, &TMenu::ImagesChanged);
}

TMenu::~TMenu() {
  SetImages(nullptr);
  DeallocateHWnd(FWindow);
}

void TMenu::Publish(TPublisher<TMenu>& p) {
  p.Property(L"Images", &TMenu::GetImages, &TMenu::SetImages);
  p.Property(L"OwnerDraw", &TMenu::GetOwnerDraw, &TMenu::SetOwnerDraw).Default(false);
  p.Property(L"AutoHotkeys", &TMenu::GetAutoHotkeys, &TMenu::SetAutoHotkeys).Default(maAutomatic);
}

void TMenu::SetImages(TCustomImageList* v) {
  if (SetImageListSlot(FImages, v, nullptr, FImageLink.get(), this)) FItems->Changed();
}

void TMenu::SetOwnerDraw(bool v) {
  if (FOwnerDraw == v) return;
  FOwnerDraw = v;
  FItems->Changed();
}

void TMenu::ImagesChanged(TObject*) { FItems->Changed(); }

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FImages) {
    FImages = nullptr;
    FItems->Changed();
  }
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { FItems->GetChildren(proc, root); }
void TMenu::SetChildOrder(TComponent* child, int order) { FItems->SetChildOrder(child, order); }

HWND TMenu::WindowHandle() {
  if (!FWindow)
    FWindow = AllocateHWnd([this](TMessage& m) {
      if (!MenuMessage(m)) DefaultWindowMessage(FWindow, m);
    });
  return FWindow;
}

TMenuItem* TMenu::FindSubMenu(TMenuItem* parent, HMENU handle) {
  for (TMenuItem* item : parent->FItems) {
    if (item->FHandle == handle) return item;
    if (TMenuItem* found = FindSubMenu(item, handle)) return found;
  }
  return nullptr;
}

bool TMenu::MenuMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_COMMAND:
      if (HIWORD(m.WParam) == 0)
        if (TMenuItem* item = FindItem(LOWORD(m.WParam))) {
          item->Click();
          return true;
        }
      return false;
    case WM_INITMENUPOPUP: {
      auto menu = reinterpret_cast<HMENU>(m.WParam);
      if (TMenuItem* item = FindSubMenu(FItems.get(), menu)) {
        // A submenu's OnClick may fill it now; what it changed shows at once.
        item->Click();
        item->FillMenu(menu);
      }
      return true;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (!mis || mis->CtlType != ODT_MENU || !mis->itemData) return false;
      MeasureItem(reinterpret_cast<TMenuItem*>(mis->itemData), *mis);
      m.Result = 1;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (!dis || dis->CtlType != ODT_MENU || !dis->itemData) return false;
      DrawItem(reinterpret_cast<TMenuItem*>(dis->itemData), *dis);
      m.Result = 1;
      return true;
    }
    case WM_MENUCHAR: {
      // Owner-drawn items have no text of their own: find the accelerator here.
      const wchar_t key = static_cast<wchar_t>(std::towupper(static_cast<wchar_t>(LOWORD(m.WParam))));
      auto menu = reinterpret_cast<HMENU>(m.LParam);
      const int count = GetMenuItemCount(menu);
      for (int pos = 0; pos < count; ++pos) {
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_DATA;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &mi) || !mi.dwItemData) continue;
        auto* item = reinterpret_cast<TMenuItem*>(mi.dwItemData);
        if (item->GetParentMenu() == this && AcceleratorOf(item->FCaption) == key) {
          m.Result = MAKELRESULT(pos, MNC_EXECUTE);
          return true;
        }
      }
      return false;
    }
    default: return false;
  }
}

// --- popup menu

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() { SetPopupComponent(nullptr); }

void TPopupMenu::Publish(TPublisher<TPopupMenu>& p) {
  p.Property(L"AutoPopup", &TPopupMenu::GetAutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
  p.Property(L"Alignment", &TPopupMenu::GetAlignment, &TPopupMenu::SetAlignment).Default(paLeft);
  p.Property(L"OnPopup", &TPopupMenu::OnPopup);
}

void TPopupMenu::SetPopupComponent(TComponent* v) {
  if (FPopupComponent == v) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = v;
  if (v) v->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* sender) {
  if (OnPopup) OnPopup(sender);
}

void TPopupMenu::Popup(int x, int y) {
  DoPopup(this);
  HMENU menu = GetHandle();
  if (GetMenuItemCount(menu) <= 0) return;
  UINT flags = TPM_RIGHTBUTTON;
  if (FAlignment == paRight) flags |= TPM_RIGHTALIGN;
  else if (FAlignment == paCenter) flags |= TPM_CENTERALIGN;
  // Without TPM_RETURNCMD the choice arrives as a posted WM_COMMAND, after this returns.
  TrackPopupMenu(menu, flags, x, y, 0, WindowHandle(), nullptr);
}

namespace {

bool ShowControlPopupMenu(TPopupMenu* menu, TControl* control, TPoint screenPos) {
  if (!menu || !menu->GetAutoPopup()) return false;
  menu->SetPopupComponent(control);
  menu->Popup(screenPos.X, screenPos.Y);
  return true;
}

// Controls reach the menus through this hook, so they need not know the menu classes.
[[maybe_unused]] const bool kPopupHandlerSet = (PopupMenuHandler = &ShowControlPopupMenu, true);

}  // namespace

