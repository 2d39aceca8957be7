// A group of the group bar: its look per style, opening and closing, selection, the
// outlook item scrolling and the mouse.
#include "controls/extended/VyGroupBar.h"

#include "vcl/Exceptions.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Themes.h"

#include <algorithm>

namespace Vy {

namespace {

const wchar_t* const kNotInBar = L"TVyGroup components can only be placed in a TVyGroupBar component";
const wchar_t* const kBadGroupIndex = L"%d is an invalid GroupIndex value. GroupIndex must be between 0 and %d";

// The explorer-bar theme's normal group background and its fill colour.
constexpr int kExplorerBarNormalGroupBackground = 5;
constexpr int kThemeFillColor = 3802;  // TMT_FILLCOLOR

}  // namespace

// --- group --------------------------------------------------------------------------

TVyGroup::TVyGroup(TComponent* AOwner)
    : TCustomControl(AOwner),
      FItems(std::make_unique<TVyGroupItems>(this)),
      FCaptionFont(std::make_unique<TFont>()),
      FItemStaticFont(std::make_unique<TFont>()),
      FSmallLink(std::make_unique<TChangeLink>()),
      FLargeLink(std::make_unique<TChangeLink>()) {
  {
    FApplyingStyle = true;
    const TOnExit applied([this] { FApplyingStyle = false; });
    ControlStyle << csAcceptsControls << csSetCaption << csCaptureMouse;
    DoubleBuffered = true;
    SetParentColor(false);
    GetFont()->SetColor(clWindowText);
    FCaptionFont->Assign(GetFont());
    FCaptionFont->SetStyle(TFontStyles{fsBold});
    FCaptionFont->SetColor(clHighlight);
    FItemStaticFont->Assign(GetFont());
    SetBounds(0, 0, 100, 50);
  }
  FCaptionFont->OnChange = TNotifyEvent(this, &TVyGroup::CaptionFontChanged);
  FItemStaticFont->OnChange = TNotifyEvent(this, &TVyGroup::ItemStaticFontChanged);
  FSmallLink->OnChange = TNotifyEvent(this, &TVyGroup::ImagesChanged);
  FLargeLink->OnChange = TNotifyEvent(this, &TVyGroup::ImagesChanged);
  for (auto* slot : {&FScrollUp, &FScrollDown}) {
    *slot = std::make_unique<TVyRapidFireButton>(nullptr);
    (*slot)->ControlStyle << csNoDesignVisible;
    (*slot)->SetVisible(false);
    (*slot)->SetBounds(0, 0, 17, 17);
    (*slot)->SetParent(this);
  }
  FScrollUp->SetScrollStyle(scsUp);
  FScrollDown->SetScrollStyle(scsDown);
  FScrollUp->OnClick = TNotifyEvent(this, &TVyGroup::ScrollItemsUp);
  FScrollDown->OnClick = TNotifyEvent(this, &TVyGroup::ScrollItemsDown);
}

TVyGroup::~TVyGroup() {
  SetGroupController(nullptr);
  if (FGroupBar) FGroupBar->RemoveGroup(this);
  FCaptionFont->OnChange = nullptr;
  FItemStaticFont->OnChange = nullptr;
  // The items see no group while they go.
  FItems.reset();
  SetImageListSlot(FSmallImages, nullptr, nullptr, FSmallLink.get(), this);
  SetImageListSlot(FLargeImages, nullptr, nullptr, FLargeLink.get(), this);
}

void TVyGroup::Publish(TPublisher<TVyGroup>& p) {
  using T = TVyGroup;
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_TEXTCHANGED, &T::CMTextChanged);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_HINTSHOW, &T::CMHintShow);
  p.Message(CM_VYITEMSELECTED, &T::CMItemSelected);
  p.Message(WM_SETCURSOR, &T::WMSetCursor);
  p.Message(WM_SIZE, &T::WMSize);
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption);
  p.Property(L"Left", &T::GetLeft, &T::SetLeft).Stored(false);
  p.Property(L"Top", &T::GetTop, &T::SetTop).Stored(false);
  p.Property(L"Width", &T::GetWidth, &T::SetWidth).Stored(false);
  p.Property(L"Height", &T::GetHeight, &T::SetHeight).Stored(false);
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor)
      .Default(clBtnHighlight)
      .Idents(ColorIdents)
      .Stored(&T::IsControllerFree);
  p.Property(L"CanClose", &T::GetCanClose, &T::SetCanClose).Default(true);
  p.Property(L"Color", &T::GetGroupColor, &T::SetGroupColor).Idents(ColorIdents).Stored(&T::IsColorStored);
  p.Property(L"ColorDefault", &T::GetColorDefault, &T::SetColorDefault).Default(true).Stored(&T::IsControllerFree);
  p.Property(L"CaptionColor", &T::GetCaptionColor, &T::SetCaptionColor)
      .Idents(ColorIdents)
      .Stored(&T::IsCaptionColorStored);
  p.Property(L"CaptionColorDefault", &T::GetCaptionColorDefault, &T::SetCaptionColorDefault)
      .Default(true)
      .Stored(&T::IsControllerFree);
  p.Property(L"CaptionFont", &T::GetCaptionFont, &T::SetCaptionFont).Stored(&T::IsCaptionFontStored);
  p.Property(L"CaptionHeight", &T::GetCaptionHeight, &T::SetCaptionHeight).Default(20).Stored(&T::IsControllerFree);
  p.Property(L"CaptionHotColor", &T::GetCaptionHotColor, &T::SetCaptionHotColor)
      .Default(clHotLight)
      .Idents(ColorIdents)
      .Stored(&T::IsControllerFree);
  p.Property(L"CaptionImageIndex", &T::GetCaptionImageIndex, &T::SetCaptionImageIndex).Default(-1);
  p.Property(L"DividerColor", &T::GetDividerColor, &T::SetDividerColor)
      .Default(clHighlight)
      .Idents(ColorIdents)
      .Stored(&T::IsControllerFree);
  p.Property(L"DividerVisible", &T::GetDividerVisible, &T::SetDividerVisible)
      .Default(false)
      .Stored(&T::IsControllerFree);
  p.Property(L"GroupController", &T::GetGroupController, &T::SetGroupController);
  p.Property(L"GroupIndex", &T::GetGroupIndex, &T::SetGroupIndex).Stored(false);
  p.Property(L"ItemHeight", &T::GetItemHeight, &T::SetItemHeight).Default(20).Stored(&T::IsControllerFree);
  p.Property(L"ItemHotColor", &T::GetItemHotColor, &T::SetItemHotColor)
      .Default(clHotLight)
      .Idents(ColorIdents)
      .Stored(&T::IsControllerFree);
  p.Property(L"ItemIndent", &T::GetItemIndent, &T::SetItemIndent).Default(20).Stored(&T::IsControllerFree);
  p.Property(L"ItemPopupMenu", &T::GetItemPopupMenu, &T::SetItemPopupMenu);
  p.Property(L"ItemStaticFont", &T::GetItemStaticFont, &T::SetItemStaticFont).Stored(&T::IsItemStaticFontStored);
  p.Property(L"ItemStyle", &T::GetItemStyle, &T::SetItemStyle).Default(isSmall).Stored(&T::IsControllerFree);
  p.Property(L"Items", &T::GetItems, &T::SetItems);
  p.Property(L"LargeImages", &T::GetLargeImages, &T::SetLargeImages);
  p.Property(L"Opened", &T::GetOpened, &T::SetOpened);
  p.Property(L"OpenedHeight", &T::GetOpenedHeight, &T::SetOpenedHeight).Default(50);
  p.Property(L"SelectionColor", &T::GetSelectionColor, &T::SetSelectionColor)
      .Default(clHighlight)
      .Idents(ColorIdents)
      .Stored(&T::IsControllerFree);
  p.Property(L"ShowItemSelection", &T::GetShowItemSelection, &T::SetShowItemSelection)
      .Default(false)
      .Stored(&T::IsControllerFree);
  p.Property(L"SmallImages", &T::GetSmallImages, &T::SetSmallImages);
  p.Property(L"Special", &T::GetSpecial, &T::SetSpecial).Default(false).Stored(&T::IsControllerFree);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients).Stored(&T::IsControllerFree);
  p.Property(L"OnCanClose", &T::OnCanClose);
  p.Property(L"OnCanOpen", &T::OnCanOpen);
  p.Property(L"OnClose", &T::OnClose);
  p.Property(L"OnOpen", &T::OnOpen);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
  p.Property(L"OnMouseOverItem", &T::OnMouseOverItem);
  p.Property(L"OnItemPopupMenu", &T::OnItemPopupMenu);
}

bool TVyGroup::Loading() const { return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading); }

void TVyGroup::SetParent(TWinControl* parent) {
  if (parent && !dynamic_cast<TVyGroupBar*>(parent)) throw EVyGroupBarError(kNotInBar);
  TCustomControl::SetParent(parent);
}

void TVyGroup::SetParentComponent(TComponent* value) {
  if (auto* bar = dynamic_cast<TVyGroupBar*>(value)) SetGroupBar(bar);
  else TCustomControl::SetParentComponent(value);
}

void TVyGroup::SetGroupBar(TVyGroupBar* bar) {
  if (bar == FGroupBar) return;
  if (FGroupBar) FGroupBar->RemoveGroup(this);
  if (bar) bar->AddGroup(this);
}

int TVyGroup::GetGroupIndex() const {
  if (!FGroupBar) return -1;
  const auto& groups = FGroupBar->FGroups;
  return int(std::find(groups.begin(), groups.end(), this) - groups.begin());
}

void TVyGroup::SetGroupIndex(int v) {
  if (!FGroupBar) return;
  const int last = FGroupBar->GetGroupCount() - 1;
  if (v < 0 || v > last) throw EListError(kBadGroupIndex, {v, last});
  FGroupBar->MoveGroup(this, v);
}

TColor TVyGroup::StyleColor() const {
  switch (FStyle) {
    case gbsCategoryView:
      if (FGroupBar && FGroupBar->Themed()) {
        const auto part = ThemeServices().GetElementDetails(L"EXPLORERBAR", kExplorerBarNormalGroupBackground, 0);
        return ThemeServices().PartColor(part, kThemeFillColor, clBtnFace);
      }
      return clBtnFace;
    case gbsTaskList: return FGroupBar ? FGroupBar->GetColor() : clWindow;
    case gbsOutlook: return clBtnShadow;
  }
  return clBtnFace;
}

TColor TVyGroup::StyleCaptionColor() const {
  switch (FStyle) {
    case gbsCategoryView: return clHighlightText;
    case gbsTaskList: return clWindow;
    case gbsOutlook: return clBtnFace;
  }
  return clHighlightText;
}

void TVyGroup::SetGroupStyle(TVyGroupBarStyle v) {
  const TVyGroupBarStyle old = FStyle;
  FStyle = v;
  {
    FApplyingStyle = true;
    const TOnExit applied([this] { FApplyingStyle = false; });
    if (FColorDefault) {
      TCustomControl::SetColor(StyleColor());
      SetParentColor(v == gbsTaskList);
    }
    if (FCaptionColorDefault) FCaptionColor = StyleCaptionColor();
    if (!FFontChanged) GetFont()->SetColor(clWindowText);
    if (!FCaptionFontChanged) {
      FCaptionFont->SetStyle(v == gbsOutlook ? TFontStyles{} : TFontStyles{fsBold});
      FCaptionFont->SetColor(v == gbsCategoryView ? clHighlight : clWindowText);
    }
  }
  const bool onlyButtons = FItems->Count() == 0 && ControlCount() <= 2;
  switch (v) {
    case gbsCategoryView:
      FDividerColor = clHighlight;
      if (old != v) FDividerVisible = false;
      if (old == gbsTaskList) FCanClose = true;
      break;
    case gbsTaskList:
      FDividerVisible = true;
      FDividerColor = clHighlight;
      FCanClose = false;
      FOpened = true;  // a task-list section cannot be closed, so none stays closed
      break;
    case gbsOutlook:
      FCanClose = true;
      if (!Loading()) FOpened = GetGroupIndex() == 0;
      break;
  }
  if (old == gbsOutlook && v != gbsOutlook) {
    FOpened = true;
    if (onlyButtons) FOpenedHeight = 50;
  }
  UpdateScrollButtons();
  Invalidate();
}

void TVyGroup::SetCanClose(bool v) {
  if (v == FCanClose || FStyle != gbsCategoryView) return;
  FCanClose = v;
  if (!v && !FOpened) {
    FOpened = true;
    if (FGroupBar) FGroupBar->Realign();
  }
  Invalidate();
}

void TVyGroup::SetCaptionColor(TColor v) {
  FCaptionColorDefault = false;
  Look(FCaptionColor, v);
}

void TVyGroup::SetCaptionColorDefault(bool v) {
  FCaptionColorDefault = v;
  if (v) FCaptionColor = StyleCaptionColor();
  Invalidate();
}

void TVyGroup::SetCaptionHeight(int v) { Layout(FCaptionHeight, std::max(v, 16)); }

void TVyGroup::SetCaptionHotColor(TColor v) { Look(FCaptionHotColor, v); }

void TVyGroup::SetItemHotColor(TColor v) { Look(FItemHotColor, v); }

void TVyGroup::SetGroupColor(TColor v) {
  FColorDefault = false;
  TCustomControl::SetColor(v);
}

void TVyGroup::SetColorDefault(bool v) {
  if (v) TCustomControl::SetColor(StyleColor());
  FColorDefault = v;
}

void TVyGroup::SetGroupController(TVyGroupController* v) {
  if (v == FGroupController) return;
  if (FGroupController) {
    FGroupController->RemoveFreeNotification(this);
    FGroupController->Unregister(this);
  }
  FGroupController = v;
  if (v) {
    v->FreeNotification(this);
    v->Register(this);
  }
}

void TVyGroup::SetItemPopupMenu(TPopupMenu* v) {
  if (v == FItemPopupMenu) return;
  if (FItemPopupMenu) FItemPopupMenu->RemoveFreeNotification(this);
  FItemPopupMenu = v;
  if (v) v->FreeNotification(this);
}

void TVyGroup::SetSmallImages(TCustomImageList* v) {
  if (SetImageListSlot(FSmallImages, v, FLargeImages, FSmallLink.get(), this)) ImagesChanged(nullptr);
}

void TVyGroup::SetLargeImages(TCustomImageList* v) {
  if (SetImageListSlot(FLargeImages, v, FSmallImages, FLargeLink.get(), this)) ImagesChanged(nullptr);
}

void TVyGroup::ImagesChanged(TObject*) {
  UpdateLayout();
  Invalidate();
}

TCustomImageList* TVyGroup::SmallImageList() const {
  if (FSmallImages) return FSmallImages;
  return FGroupBar ? FGroupBar->GetSmallImages() : nullptr;
}

TCustomImageList* TVyGroup::LargeImageList() const {
  if (FLargeImages) return FLargeImages;
  return FGroupBar ? FGroupBar->GetLargeImages() : nullptr;
}

int TVyGroup::GetItemLeft() const {
  TCustomImageList* images = SmallImageList();
  if (!images) return 8;
  for (int i = 0; i < FItems->Count(); ++i) {
    if (FItems->GetItem(i)->GetImageIndex() != -1) return images->GetWidth() + 12;
  }
  return 8;
}

void TVyGroup::SetOpened(bool v) {
  if (!FGroupBar || Loading()) {
    FOpened = v;
    return;
  }
  switch (FStyle) {
    case gbsTaskList: FOpened = true; return;
    case gbsOutlook:
      if (!v || FOpened) return;
      FOpened = true;
      if (OnOpen) OnOpen(this);
      for (TVyGroup* g : FGroupBar->FGroups) {
        if (g != this && g->FOpened) {
          g->FOpened = false;
          g->UpdateScrollButtons();
          g->Invalidate();
        }
      }
      FGroupBar->Realign();
      UpdateScrollButtons();
      return;
    case gbsCategoryView:
      if (!FCanClose || v == FOpened) return;
      FOpened = v;
      if (v && OnOpen) OnOpen(this);
      if (!v && OnClose) OnClose(this);
      FGroupBar->RealignFor(this);
      if (v) {
        for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
      }
      return;
  }
}

void TVyGroup::SetOpenedHeight(int v) {
  if (v == FOpenedHeight) return;
  FOpenedHeight = v;
  UpdateLayout();
}

void TVyGroup::ToggleOpened() {
  bool allowed = true;
  if (FOpened) {
    if (OnCanClose) OnCanClose(this, allowed);
  } else if (OnCanOpen) {
    OnCanOpen(this, allowed);
  }
  if (allowed) SetOpened(!FOpened);
}

TVyGroupItem* TVyGroup::GetSelectedItem() const {
  if (FSelectedIndex < 0 || FSelectedIndex >= FItems->Count()) return nullptr;
  return FItems->GetItem(FSelectedIndex);
}

void TVyGroup::CMItemSelected(TMessage& m) {
  auto* selected = reinterpret_cast<TVyGroupItem*>(m.LParam);
  for (int i = 0; i < FItems->Count(); ++i) {
    TVyGroupItem* item = FItems->GetItem(i);
    if (item != selected && item->FSelected) item->SetSelected(false);
  }
  if (selected && selected->GetGroup() == this) FSelectedIndex = selected->Index();
}

void TVyGroup::ItemDeleted(int index) {
  if (!FItems) return;
  TVyGroupItem* item = FItems->GetItem(index);
  if (FSelectedIndex == index) FSelectedIndex = -1;
  else if (index < FSelectedIndex) --FSelectedIndex;
  if (FPopupItem == item) FPopupItem = nullptr;
  // What stays after the deletion must still be shown from a real item.
  const int remaining = FItems->Count() - 1;
  FFirstShownItem = std::clamp(FFirstShownItem, 0, std::max(0, remaining - 1));
}

void TVyGroup::ItemActionChanged(int delta) {
  FActionItems = std::max(0, FActionItems + delta);
  if (FActionItems > 0) ControlStyle << csActionClient;
  else ControlStyle >> csActionClient;
}

void TVyGroup::ItemChanged() {
  if (!FItems) return;
  UpdateLayout();
  Invalidate();
}

void TVyGroup::UpdateLayout() {
  if (FGroupBar && !Loading() && !FGroupBar->Loading()) {
    FGroupBar->PositionGroups();
    FGroupBar->UpdateScrollBar();
  }
  UpdateScrollButtons();
}

void TVyGroup::ScrollItemsUp(TObject*) {
  FFirstShownItem = std::max(0, FFirstShownItem - 1);
  UpdateScrollButtons();
  Invalidate();
}

void TVyGroup::ScrollItemsDown(TObject*) {
  FFirstShownItem = std::min(std::max(0, FItems->Count() - 1), FFirstShownItem + 1);
  UpdateScrollButtons();
  Invalidate();
}

void TVyGroup::UpdateScrollButtons() {
  if (!FScrollUp || !FScrollDown || !FItems) return;
  const bool open = FGroupBar && FStyle == gbsOutlook && FOpened;
  PlaceScrollButtons();
  FScrollUp->SetVisible(open && FFirstShownItem > 0);
  FScrollDown->SetVisible(open && FItems->Count() > 0 && ContentHeight(GetClientWidth()) > GetClientHeight());
}

void TVyGroup::PlaceScrollButtons() {
  if (!FScrollUp || !FScrollDown) return;  // still being made
  const int x = GetClientWidth() - 21;
  FScrollUp->SetBounds(x, FCaptionHeight + 4, 17, 17);
  FScrollDown->SetBounds(x, FOpened ? GetClientHeight() - 21 : FCaptionHeight + 4, 17, 17);
}

void TVyGroup::Resize() {
  TCustomControl::Resize();
  // Whether the items still fit changes with the height.
  UpdateScrollButtons();
}

void TVyGroup::Loaded() {
  TCustomControl::Loaded();
  for (int i = 0; i < FItems->Count(); ++i) {
    TVyGroupItem* item = FItems->GetItem(i);
    if (TBasicAction* action = item->GetAction()) item->ActionChange(action, true);
  }
  UpdateScrollButtons();
}

void TVyGroup::InitiateAction() {
  TCustomControl::InitiateAction();
  for (int i = 0; i < FItems->Count(); ++i) {
    if (TVyGroupItemActionLink* link = FItems->GetItem(i)->GetActionLink()) link->Update();
  }
}

void TVyGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSmallImages) SetSmallImages(nullptr);
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
  if (AComponent == FGroupController) FGroupController = nullptr;
  if (AComponent == FItemPopupMenu) FItemPopupMenu = nullptr;
  for (int i = 0; FItems && i < FItems->Count(); ++i) {
    TVyGroupItem* item = FItems->GetItem(i);
    if (item->GetAction() == AComponent) item->SetAction(nullptr);
  }
}

void TVyGroup::AlignControls(TControl* control, TRect& rect) {
  rect.Top += FCaptionHeight;
  if (FStyle == gbsCategoryView) {
    rect.Left += 1;
    rect.Right -= 1;
    rect.Bottom -= 1;
  }
  TCustomControl::AlignControls(control, rect);
}

void TVyGroup::ChangeScale(int M, int D) {
  TCustomControl::ChangeScale(M, D);
  if (D != 0) FOpenedHeight = MulDiv(FOpenedHeight, M, D);
}

int TVyGroup::ContentHeight(int width) { return WalkItems(MeasureCanvas(), width).ContentHeight; }

TCanvas* TVyGroup::MeasureCanvas() const {
  if (!FMeasure) FMeasure = std::make_unique<TBitmap>(1, 1);
  return FMeasure->GetCanvas();
}

std::vector<TGroupItemEntry> TVyGroup::ItemEntries() const {
  std::vector<TGroupItemEntry> entries;
  entries.reserve(size_t(FItems->Count()));
  for (int i = 0; i < FItems->Count(); ++i) {
    const TVyGroupItem* item = FItems->GetItem(i);
    entries.push_back({item->FCaption, item->FVisible, item->FIndentLevel});
  }
  return entries;
}

TGroupItemsMetrics TVyGroup::ItemMetrics(TCanvas* c, int width) const {
  TGroupItemsMetrics m;
  m.Style = FItemStyle;
  m.CaptionHeight = FCaptionHeight;
  m.ItemHeight = FItemHeight;
  c->SetFont(GetFont());
  m.LineHeight = c->TextHeight(L"Pp");
  m.Width = width;
  m.ItemLeft = GetItemLeft();
  m.ItemIndent = FItemIndent;
  TCustomImageList* large = LargeImageList();
  m.ImageRow = large ? large->GetHeight() + 2 : 34;
  return m;
}

TGroupItemsWalk TVyGroup::WalkItems(TCanvas* c, int width) const {
  const TGroupItemsMetrics m = ItemMetrics(c, width);
  const UINT format = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | (m.Style == isLarge ? DT_CENTER : 0);
  return WalkGroupItems(ItemEntries(), FFirstShownItem, m, [&](int index, int left, int right) {
    const TVyGroupItem& item = *FItems->GetItem(index);
    ApplyItemFont(c, item);
    TRect r = Rect(left, 0, right, m.ItemHeight);
    c->DrawText(item.FCaption, r, format);
    return r.Height();
  });
}

TVyGroupItem* TVyGroup::ItemAt(TPoint p, bool needsClick) const {
  for (int i = 0; i < FItems->Count(); ++i) {
    TVyGroupItem* item = FItems->GetItem(i);
    if (!item->FEnabled || !item->FVisible) continue;
    if (needsClick && !item->HasClickHandler()) continue;
    if (item->Hits(p)) return item;
  }
  return nullptr;
}

// --- group: mouse

void TVyGroup::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (Designing() || !GetEnabled()) return;
  const TPoint p{x, y};
  if (button == mbLeft) {
    if (FCanClose && Rect(0, 0, GetClientWidth(), FCaptionHeight).Contains(p)) {
      if (FGroupBar && FGroupBar->CanFocus()) FGroupBar->SetFocus();
      SetMouseCapture(true);
      FCaptionState = 2;
      FCaptionPressed = true;
      Invalidate();
      return;
    }
    if (TVyGroupItem* item = ItemAt(p, true)) {
      item->FHotState = 2;
      item->FMouseDown = true;
      item->SetSelected(true);
      Invalidate();
    }
    if (TVyGroupItem* item = ItemAt(p, false)) FSelectedIndex = item->Index();
  } else if (button == mbRight) {
    if (TVyGroupItem* item = ItemAt(p, false)) item->FMouseDown = true;
  }
}

void TVyGroup::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (Designing()) return;
  const TPoint p{x, y};
  bool changed = false;
  const int oldCaption = FCaptionState;
  if (FCanClose && Rect(0, 0, GetClientWidth(), FCaptionHeight).Contains(p)) {
    FCaptionState = FCaptionPressed ? 2 : 1;
  } else {
    FCaptionState = 0;
    TVyGroupItem* over = nullptr;
    for (int i = 0; i < FItems->Count(); ++i) {
      TVyGroupItem* item = FItems->GetItem(i);
      if (!item->FVisible || !item->HasClickHandler()) continue;
      const bool under = item->FEnabled && item->Hits(p);
      if (under) over = item;
      const int wanted = under ? (item->FMouseDown ? 2 : 1) : 0;
      if (wanted != item->FHotState) {
        item->FHotState = wanted;
        changed = true;
      }
    }
    DoMouseOverItem(over);
  }
  if (changed || oldCaption != FCaptionState) Invalidate();
}

void TVyGroup::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (Designing()) return;
  const TPoint p{x, y};
  if (button == mbLeft && FCaptionPressed) {
    FCaptionPressed = false;
    FCaptionState = 1;
    SetMouseCapture(false);
    if (Rect(0, 0, GetClientWidth(), FCaptionHeight).Contains(p)) {
      Repaint();
      ToggleOpened();
    } else {
      Invalidate();
    }
    return;
  }
  for (int i = 0; i < FItems->Count(); ++i) {
    TVyGroupItem* item = FItems->GetItem(i);
    if (!item->FMouseDown) continue;
    item->FMouseDown = false;
    item->FHotState = button == mbLeft ? 1 : 0;
    if (!item->Hits(p)) {
      Invalidate();
    } else if (button == mbLeft) {
      Repaint();
      item->Click();
    } else if (button == mbRight) {
      Repaint();
      PopupItemMenu(item, p);
    }
    return;
  }
}

void TVyGroup::PopupItemMenu(TVyGroupItem* item, TPoint client) {
  FPopupItem = nullptr;
  if (OnItemPopupMenu) OnItemPopupMenu(this, item);
  if (!FItemPopupMenu) return;
  FPopupItem = item;
  FItemPopupMenu->SetPopupComponent(this);
  const TPoint at = ClientToScreen(client);
  FItemPopupMenu->Popup(at.X, at.Y);
}

void TVyGroup::DoContextPopup(TPoint mousePos, bool& handled) {
  for (int i = 0; i < FItems->Count(); ++i) {
    const TVyGroupItem* item = FItems->GetItem(i);
    if (item->FVisible && item->Hits(mousePos)) {
      handled = true;
      return;
    }
  }
  TCustomControl::DoContextPopup(mousePos, handled);
}

void TVyGroup::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  TCustomControl::DragOver(source, x, y, state, accept);
  for (int i = 0; i < FItems->Count(); ++i) FItems->GetItem(i)->FHotState = 0;
  if (GetClientRect().Contains({x, y})) {
    for (int i = 0; i < FItems->Count(); ++i) {
      TVyGroupItem* item = FItems->GetItem(i);
      if (item->Hits({x, y})) {
        item->FHotState = 1;
        break;
      }
    }
  }
  Invalidate();
}

void TVyGroup::DoEndDrag(TObject* target, int x, int y) {
  TCustomControl::DoEndDrag(target, x, y);
  for (int i = 0; i < FItems->Count(); ++i) {
    FItems->GetItem(i)->FHotState = 0;
    FItems->GetItem(i)->FMouseDown = false;
  }
  Invalidate();
}

void TVyGroup::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (Designing()) return;
  if (OnMouseEnter) OnMouseEnter(this);
  Refresh();
}

void TVyGroup::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  FCaptionState = 0;
  for (int i = 0; i < FItems->Count(); ++i) FItems->GetItem(i)->FHotState = 0;
  DoMouseOverItem(nullptr);
  if (OnMouseLeave) OnMouseLeave(this);
  Refresh();
}

void TVyGroup::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TVyGroup::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (FApplyingStyle) return;
  FFontChanged = true;
  {
    // Followers, not the user's own choice: their flags stay as they are.
    FApplyingStyle = true;
    const TOnExit applied([this] { FApplyingStyle = false; });
    if (!FCaptionFontChanged) {
      FCaptionFont->SetName(GetFont()->GetName());
      FCaptionFont->SetSize(GetFont()->GetSize());
      FCaptionFont->SetStyle(TFontStyles{fsBold});
    }
    if (!FItemStaticFontChanged) FItemStaticFont->Assign(GetFont());
  }
  UpdateLayout();
  Invalidate();
}

void TVyGroup::CaptionFontChanged(TObject*) {
  if (!FApplyingStyle) FCaptionFontChanged = true;
  Invalidate();
}

void TVyGroup::ItemStaticFontChanged(TObject*) {
  if (!FApplyingStyle) FItemStaticFontChanged = true;
  Invalidate();
}

void TVyGroup::CMHintShow(TMessage& m) {
  auto* info = reinterpret_cast<THintInfo*>(m.LParam);
  if (FCaptionState == 1) {
    info->CursorRect = Rect(0, 0, GetClientWidth(), FCaptionHeight);
    return;
  }
  for (int i = 0; i < FItems->Count(); ++i) {
    const TVyGroupItem* item = FItems->GetItem(i);
    if (item->FHotState != 1) continue;
    std::wstring hint = item->FHint.substr(0, item->FHint.find(L'|'));
    if (item->FActionLink) hint = item->FActionLink->HintWithShortCut(hint);
    info->HintStr = hint;
    info->CursorRect = item->FTextRect;
    return;
  }
  m.Result = 1;
}

void TVyGroup::WMSetCursor(TMessage& m) {
  if (!Designing() && LOWORD(m.LParam) == HTCLIENT) {
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint p = ScreenToClient({screen.x, screen.y});
    bool hand = false;
    if (Rect(0, 0, GetClientWidth(), FCaptionHeight).Contains(p)) {
      hand = FStyle == gbsOutlook || (FStyle == gbsCategoryView && FCanClose);
    } else {
      for (int i = 0; i < FItems->Count() && !hand; ++i) {
        const TVyGroupItem* item = FItems->GetItem(i);
        hand = item->FEnabled && item->FVisible && item->OnClick && item->Hits(p);
      }
    }
    if (hand) {
      // Before the system had a hand cursor, the program brought its own.
      static HCURSOR cursor = (IsWindowsVersion(0) || IsWindowsVersion(1))
                                  ? LoadCursorW(GetModuleHandleW(nullptr), L"VYCOMMON_HANDCURSOR")
                                  : LoadCursorW(nullptr, IDC_HAND);
      ::SetCursor(cursor);
      m.Result = 1;
      return;
    }
  }
  QORN_INHERITED(m);
}

void TVyGroup::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  if (FOpened && GetVisible()) FOpenedHeight = GetHeight();
}

}  // namespace Vy
