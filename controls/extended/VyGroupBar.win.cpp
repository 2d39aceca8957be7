#include "controls/extended/VyGroupBar.h"

#include "vcl/Forms.h"
#include "vcl/Format.h"
#include "vcl/ScopeGuards.h"
#include "vcl/ShortCuts.h"
#include "vcl/Themes.h"

#include <algorithm>

namespace Vy {

namespace {

const wchar_t* const kNotInBar = L"TVyGroup components can only be placed in a TVyGroupBar component";
const wchar_t* const kBadGroupIndex =
    L"%d is an invalid GroupIndex value. GroupIndex must be between 0 and %d";

// The explorer-bar theme's normal group background and its fill colour.
constexpr int kExplorerBarNormalGroupBackground = 5;
constexpr int kThemeFillColor = 3802;  // TMT_FILLCOLOR

}  // namespace

// --- action link ------------------------------------------------------------------

TVyGroupItemActionLink::TVyGroupItemActionLink(TVyGroupItem* AClient) : TActionLink(AClient), FItem(AClient) {}

bool TVyGroupItemActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && FItem->GetCaption() == CustomAction()->GetCaption();
}
bool TVyGroupItemActionLink::IsCheckedLinked() const {
  TVyGroup* group = FItem->GetGroup();
  return TActionLink::IsCheckedLinked() && group && group->GetShowItemSelection() &&
         FItem->GetSelected() == CustomAction()->GetChecked();
}
bool TVyGroupItemActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FItem->GetEnabled() == CustomAction()->GetEnabled();
}
bool TVyGroupItemActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && FItem->GetHint() == CustomAction()->GetHint();
}
bool TVyGroupItemActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() && FItem->GetImageIndex() == CustomAction()->GetImageIndex();
}
bool TVyGroupItemActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FItem->GetVisible() == CustomAction()->GetVisible();
}
bool TVyGroupItemActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && FItem->OnClick == GetAction()->GetOnExecute();
}
void TVyGroupItemActionLink::SetCaption(const std::wstring& Value) {
  if (IsCaptionLinked()) FItem->SetCaption(Value);
}
void TVyGroupItemActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FItem->SetSelected(Value);
}
void TVyGroupItemActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FItem->SetEnabled(Value);
}
void TVyGroupItemActionLink::SetHint(const std::wstring& Value) {
  if (IsHintLinked()) FItem->SetHint(Value);
}
void TVyGroupItemActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FItem->SetImageIndex(Value);
}
void TVyGroupItemActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FItem->SetVisible(Value);
}
void TVyGroupItemActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FItem->OnClick = Value;
}

std::wstring TVyGroupItemActionLink::HintWithShortCut(const std::wstring& hint) const {
  TCustomAction* action = CustomAction();
  if (!action || !Application || !Application->HintShortCuts || action->GetShortCut() == 0) return hint;
  return Format(L"%s (%s)", {hint, ShortCutToText(action->GetShortCut())});
}

// --- items --------------------------------------------------------------------------

TVyGroupItem::TVyGroupItem(TCollection* Collection) : TCollectionItem(Collection) {}

TVyGroupItem::~TVyGroupItem() {
  if (TVyGroup* group = GetGroup()) {
    group->ItemDeleted(Index());
    if (GetAction()) group->ItemActionChanged(-1);
  }
}

void TVyGroupItem::Publish(TPublisher<TVyGroupItem>& p) {
  using T = TVyGroupItem;
  p.Property(L"Action", &T::GetAction, &T::SetAction);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption).Stored(&T::IsCaptionStored);
  p.Property(L"DisabledIndex", &T::GetDisabledIndex, &T::SetDisabledIndex).Default(-1);
  p.Property(L"Enabled", &T::GetEnabled, &T::SetEnabled).Default(true);
  p.Property(L"FontColor", &T::GetFontColor, &T::SetFontColor).Default(clNone).Idents(ColorIdents);
  p.Property(L"FontStyle", &T::GetFontStyle, &T::SetFontStyle).Default(TFontStyles{});
  p.Property(L"Hint", &T::GetHint, &T::SetHint);
  p.Property(L"ImageIndex", &T::GetImageIndex, &T::SetImageIndex).Default(-1);
  p.Property(L"IndentLevel", &T::GetIndentLevel, &T::SetIndentLevel).Default(0);
  p.Property(L"Selected", &T::GetSelected, &T::SetSelected).Default(false);
  p.Property(L"Tag", &T::GetTag, &T::SetTag).Default(0);
  p.Property(L"Visible", &T::GetVisible, &T::SetVisible).Default(true);
  p.Property(L"OnClick", &T::OnClick);
}

TVyGroup* TVyGroupItem::GetGroup() const {
  auto* items = dynamic_cast<TVyGroupItems*>(Collection());
  return items ? items->GetGroup() : nullptr;
}

TBasicAction* TVyGroupItem::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TVyGroupItem::SetAction(TBasicAction* v) {
  TVyGroup* group = GetGroup();
  if (!v) {
    if (GetAction() && group) group->ItemActionChanged(-1);
    FActionLink.reset();
    return;
  }
  if (v == GetAction()) return;
  const bool had = GetAction() != nullptr;
  if (!FActionLink) FActionLink = std::make_unique<TVyGroupItemActionLink>(this);
  FActionLink->SetAction(v);
  if (!had && group) group->ItemActionChanged(+1);
  ActionChange(v, group && group->Loading());
}

void TVyGroupItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || !FCaptionChanged) {
    SetCaption(action->GetCaption());
    FCaptionChanged = false;
  }
  if (!CheckDefaults || FEnabled) SetEnabled(action->GetEnabled());
  if (!CheckDefaults || FHint.empty()) SetHint(action->GetHint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(action->GetImageIndex());
  if (!CheckDefaults || FVisible) SetVisible(action->GetVisible());
  if (!CheckDefaults || !OnClick) OnClick = action->GetOnExecute();
}

bool TVyGroupItem::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }

void TVyGroupItem::SetCaption(const std::wstring& v) {
  FCaptionChanged = true;
  Change(FCaption, v);
}

void TVyGroupItem::SetSelected(bool v) {
  FSelected = v;
  TVyGroup* group = GetGroup();
  if (group) {
    if (v && group->FGroupBar && group->FGroupBar->GetParent()) {
      TMessage m{CM_VYITEMSELECTED, 0, reinterpret_cast<LPARAM>(this), 0};
      group->CMItemSelected(m);
    } else if (!v && group->FSelectedIndex == Index()) {
      group->FSelectedIndex = -1;
    }
  }
  Changed(false);
}

void TVyGroupItem::Click() {
  TBasicAction* action = GetAction();
  if (OnClick && action && OnClick != action->GetOnExecute()) {
    OnClick(this);
  } else if (!FActionLink || !action) {
    if (OnClick) OnClick(this);
  } else {
    FActionLink->Execute(GetGroup());
  }
}

std::wstring TVyGroupItem::GetDisplayName() const {
  return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

void TVyGroupItem::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyGroupItem*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  SetAction(src->GetAction());
  SetCaption(src->FCaption);
  SetDisabledIndex(src->FDisabledIndex);
  SetEnabled(src->FEnabled);
  SetFontColor(src->FFontColor);
  SetFontStyle(src->FFontStyle);
  SetHint(src->FHint);
  SetImageIndex(src->FImageIndex);
  SetVisible(src->FVisible);
  OnClick = src->OnClick;
}

TVyGroupItems::TVyGroupItems(TVyGroup* group) : TCollection(TVyGroupItem::StaticClass(), group), FGroup(group) {
  SetPropName(L"Items");
}

void TVyGroupItems::Update(TCollectionItem*) { FGroup->ItemChanged(); }

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
  p.Property(L"ColorDefault", &T::GetColorDefault, &T::SetColorDefault)
      .Default(true)
      .Stored(&T::IsControllerFree);
  p.Property(L"CaptionColor", &T::GetCaptionColor, &T::SetCaptionColor)
      .Idents(ColorIdents)
      .Stored(&T::IsCaptionColorStored);
  p.Property(L"CaptionColorDefault", &T::GetCaptionColorDefault, &T::SetCaptionColorDefault)
      .Default(true)
      .Stored(&T::IsControllerFree);
  p.Property(L"CaptionFont", &T::GetCaptionFont, &T::SetCaptionFont).Stored(&T::IsCaptionFontStored);
  p.Property(L"CaptionHeight", &T::GetCaptionHeight, &T::SetCaptionHeight)
      .Default(20)
      .Stored(&T::IsControllerFree);
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
  p.Property(L"ItemStaticFont", &T::GetItemStaticFont, &T::SetItemStaticFont)
      .Stored(&T::IsItemStaticFontStored);
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

bool TVyGroup::Loading() const {
  return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

void TVyGroup::SetParent(TWinControl* parent) {
  if (parent && !dynamic_cast<TVyGroupBar*>(parent)) throw EVyGroupBarError(kNotInBar);
  TCustomControl::SetParent(parent);
}

void TVyGroup::SetParentComponent(TComponent* value) {
  if (auto* bar = dynamic_cast<TVyGroupBar*>(value))
    SetGroupBar(bar);
  else
    TCustomControl::SetParentComponent(value);
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
  if (FSelectedIndex == index)
    FSelectedIndex = -1;
  else if (index < FSelectedIndex)
    --FSelectedIndex;
  if (FPopupItem == item) FPopupItem = nullptr;
  // What stays after the deletion must still be shown from a real item.
  const int remaining = FItems->Count() - 1;
  FFirstShownItem = std::clamp(FFirstShownItem, 0, std::max(0, remaining - 1));
}

void TVyGroup::ItemActionChanged(int delta) {
  FActionItems = std::max(0, FActionItems + delta);
  if (FActionItems > 0)
    ControlStyle << csActionClient;
  else
    ControlStyle >> csActionClient;
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
  if (FOpened && GetVisible() && FStyle == gbsCategoryView && FItems->Count() == 0)
    FOpenedHeight = GetHeight();
}

// --- bar ----------------------------------------------------------------------------

TVyGroupBar::TVyGroupBar(TComponent* AOwner)
    : TCustomControl(AOwner), FSmallLink(std::make_unique<TChangeLink>()), FLargeLink(std::make_unique<TChangeLink>()) {
  ControlStyle >> csAcceptsControls;
  ControlStyle >> csSetCaption;
  DoubleBuffered = true;
  SetColor(clBtnShadow);
  SetParentColor(false);
  SetTabStop(false);
  SetBounds(0, 0, 160, 200);
  SetAlign(alLeft);
  FSmallLink->OnChange = TNotifyEvent(this, &TVyGroupBar::ImagesChanged);
  FLargeLink->OnChange = TNotifyEvent(this, &TVyGroupBar::ImagesChanged);
}

TVyGroupBar::~TVyGroupBar() {
  for (TVyGroup* g : FGroups) g->FGroupBar = nullptr;
  FGroups.clear();
  SetImageListSlot(FSmallImages, nullptr, nullptr, FSmallLink.get(), this);
  SetImageListSlot(FLargeImages, nullptr, nullptr, FLargeLink.get(), this);
}

void TVyGroupBar::Publish(TPublisher<TVyGroupBar>& p) {
  using T = TVyGroupBar;
  p.Message(WM_VSCROLL, &T::WMVScroll);
  p.Message(WM_NCCALCSIZE, &T::WMNCCalcSize);
  p.Message(WM_NCPAINT, &T::WMNCPaint);
  p.Message(WM_NCHITTEST, &T::WMNCHitTest);
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(CM_COLORCHANGED, &T::CMColorChanged);
  p.Message(CM_FOCUSCHANGED, &T::CMFocusChanged);
  p.Message(CM_VYITEMSELECTED, &T::CMItemSelected);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption);
  p.Property(L"Align", &T::GetAlign, &T::SetAlign).Default(alLeft);
  p.Property(L"Width", &T::GetWidth, &T::SetWidth).Default(160);
  p.Property(L"TabStop", &T::GetTabStop, &T::SetTabStop).Default(false);
  p.Property(L"BevelWidth", &T::GetBevelWidth, &T::SetBevelWidth).Default(1);
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"BorderHighlight", &T::GetBorderHighlight, &T::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"BorderInner", &T::GetBorderInner, &T::SetBorderInner).Default(fsNone);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsNone);
  p.Property(L"BorderShadow", &T::GetBorderShadow, &T::SetBorderShadow).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"BorderSides", &T::GetBorderSides, &T::SetBorderSides).Default(AllSides);
  p.Property(L"BorderWidth", &T::GetBorderWidth, &T::SetBorderWidth).Default(0);
  p.Property(L"ColorAdjustment", &T::GetColorAdjustment, &T::SetColorAdjustment).Default(30);
  p.Property(L"ExclusiveMode", &T::GetExclusiveMode, &T::SetExclusiveMode).Default(false);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(30);
  p.Property(L"GradientPath", &T::GetGradientPath, &T::SetGradientPath).Default(gpTopToBottom);
  p.Property(L"GroupBorderSize", &T::GetGroupBorderSize, &T::SetGroupBorderSize);
  p.Property(L"LargeImages", &T::GetLargeImages, &T::SetLargeImages);
  p.Property(L"SmallImages", &T::GetSmallImages, &T::SetSmallImages);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients);
  // After GroupBorderSize and UseGradients, before Color: the style's border size and
  // gradient flag win, the form's own Color wins.
  p.Property(L"Style", &T::GetStyle, &T::SetStyle).Default(gbsCategoryView);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Idents(ColorIdents);
  p.Property(L"ThemeAware", &T::GetThemeAware, &T::SetThemeAware).Default(true);
}

bool TVyGroupBar::Loading() const {
  auto loading = [](const TComponent* c) {
    return c->ComponentState().Contains(csLoading) || c->ComponentState().Contains(csReading);
  };
  return loading(this) || (GetParent() && loading(GetParent()));
}

bool TVyGroupBar::Themed() const { return FThemeAware && ThemeServices().ThemesEnabled(); }

TVyGroup* TVyGroupBar::GetGroup(int index) const {
  if (index < 0 || index >= GetGroupCount()) throw EListError(SListIndexError, {index});
  return FGroups[size_t(index)];
}

void TVyGroupBar::AddGroup(TVyGroup* group) {
  FGroups.push_back(group);
  FPlaces.clear();
  group->FGroupBar = this;
  group->SetParent(this);
  group->SetGroupStyle(FStyle);
  group->SetVisible(true);
  Realign();
}

void TVyGroupBar::RemoveGroup(TVyGroup* group) {
  const auto it = std::find(FGroups.begin(), FGroups.end(), group);
  if (it == FGroups.end()) return;
  const bool oneOpen = FStyle == gbsOutlook || (FStyle == gbsCategoryView && FExclusiveMode);
  const int index = int(it - FGroups.begin());
  int firstOpen = -1;
  for (size_t i = 0; i < FGroups.size() && firstOpen < 0; ++i) {
    if (FGroups[i]->FOpened) firstOpen = int(i);
  }
  group->FGroupBar = nullptr;
  if (!group->ComponentState().Contains(csDestroying)) {
    group->SetVisible(false);
    group->SetParent(nullptr);
  }
  FGroups.erase(FGroups.begin() + index);
  FPlaces.clear();
  if (oneOpen && index == firstOpen && !FGroups.empty()) {
    TVyGroup* next = FGroups[size_t(std::max(0, index - 1))];
    next->FOpened = false;
    next->SetOpened(true);
  }
  Realign();
}

void TVyGroupBar::MoveGroup(TVyGroup* group, int index) {
  const auto it = std::find(FGroups.begin(), FGroups.end(), group);
  if (it == FGroups.end()) return;
  FGroups.erase(it);
  index = std::clamp(index, 0, GetGroupCount());
  FGroups.insert(FGroups.begin() + index, group);
  FPlaces.clear();
  FReordering = true;
  const TOnExit done([this] { FReordering = false; });
  Realign();
}

void TVyGroupBar::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TVyGroup* g : FGroups) {
    if (g->Owner() == root) proc(g);
  }
}

void TVyGroupBar::SetChildOrder(TComponent* child, int order) {
  if (auto* group = dynamic_cast<TVyGroup*>(child)) MoveGroup(group, order);
}

void TVyGroupBar::Loaded() {
  TCustomControl::Loaded();
  FReordering = true;
  const TOnExit done([this] { FReordering = false; });
  Realign();
  PositionGroups();
}

void TVyGroupBar::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN | WS_VSCROLL;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TVyGroupBar::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBar();
}

void TVyGroupBar::SetStyle(TVyGroupBarStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  switch (v) {
    case gbsCategoryView:
      SetColor(clBtnShadow);
      FGroupBorderSize = 8;
      FUseGradients = true;
      break;
    case gbsTaskList:
      SetColor(clWindow);
      FGroupBorderSize = 4;
      FUseGradients = false;
      break;
    case gbsOutlook:
      SetColor(clBtnShadow);
      FGroupBorderSize = 0;
      FUseGradients = false;
      break;
  }
  if (v != gbsCategoryView) FExclusiveMode = false;
  if (v == gbsOutlook) FScrollPosition = 0;
  for (TVyGroup* g : std::vector(FGroups)) g->SetGroupStyle(v);
  Realign();
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::SetExclusiveMode(bool v) {
  if (v == FExclusiveMode || (v && FStyle != gbsCategoryView)) return;
  FExclusiveMode = v;
  if (!v || Loading() || FGroups.empty()) return;
  FGroups.front()->SetOpened(true);
  CloseOthers(FGroups.front());
  Realign();
}

void TVyGroupBar::CloseOthers(TVyGroup* open) {
  if (FClosingOthers) return;
  FClosingOthers = true;
  const TOnExit done([this] { FClosingOthers = false; });
  for (TVyGroup* g : std::vector(FGroups)) {
    if (g != open) g->SetOpened(false);
  }
}

void TVyGroupBar::RealignFor(TControl* control) {
  if (FClosingOthers) return;
  TRect r = GetClientRect();
  AlignControls(control, r);
}

void TVyGroupBar::SetGradientPath(TVyGroupBarGradientPath v) {
  if (v == FGradientPath) return;
  FGradientPath = v;
  Invalidate();
}

void TVyGroupBar::SetThemeAware(bool v) {
  if (v == FThemeAware) return;
  FThemeAware = v;
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::SetUseGradients(bool v) {
  if (v == FUseGradients) return;
  FUseGradients = v;
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::SetSmallImages(TCustomImageList* v) {
  if (SetImageListSlot(FSmallImages, v, FLargeImages, FSmallLink.get(), this)) ImagesChanged(nullptr);
}

void TVyGroupBar::SetLargeImages(TCustomImageList* v) {
  if (SetImageListSlot(FLargeImages, v, FSmallImages, FLargeLink.get(), this)) ImagesChanged(nullptr);
}

void TVyGroupBar::ImagesChanged(TObject*) {
  Realign();
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSmallImages) SetSmallImages(nullptr);
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
}

void TVyGroupBar::InvalidateGroups() {
  for (TVyGroup* g : FGroups) g->Invalidate();
}

void TVyGroupBar::SetBorderWidth(int v) { Frame(FBorderWidth, std::max(v, 0)); }

void TVyGroupBar::FrameChanged() {
  if (HandleAllocated() && GetParent()) {
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  Realign();
}

// --- bar: layout and scrolling

TGroupSlot TVyGroupBar::SlotOf(TVyGroup* group) {
  TGroupSlot slot;
  slot.Visible = group->GetVisible();
  slot.Opened = group->FOpened;
  slot.CaptionHeight = group->FCaptionHeight;
  const int width = GetClientWidth() - 2 * FGroupBorderSize;
  slot.OpenHeight = group->FItems->Count() == 0 ? group->FOpenedHeight : group->ContentHeight(width);
  return slot;
}

void TVyGroupBar::PositionGroups() {
  std::vector<TGroupSlot> slots;
  slots.reserve(FGroups.size());
  for (TVyGroup* g : FGroups) slots.push_back(SlotOf(g));
  FPlaces = Vy::PositionGroups(FStyle, slots, FGroupBorderSize, GetClientWidth(), GetClientHeight(), FScrollPosition);
  for (size_t i = 0; i < FGroups.size(); ++i) {
    if (FGroups[i]->GetBoundsRect() != FPlaces[i]) FGroups[i]->SetBoundsRect(FPlaces[i]);
  }
}

void TVyGroupBar::AlignControls(TControl* control, TRect&) {
  if (FScrolling || FAligning || Loading()) return;
  FAligning = true;
  const TOnExit done([this] { FAligning = false; });
  if (FStyle == gbsOutlook) {
    UpdateScrollBar();
    PositionGroups();
  } else {
    auto* asking = dynamic_cast<TVyGroup*>(control);
    if (FExclusiveMode && asking && asking->FOpened) CloseOthers(asking);
    // The scroll bar takes width from the groups, which may change whether it is needed.
    for (int pass = 0; pass < 3; ++pass) {
      const bool needed = HasVerticalScrollBar();
      PositionGroups();
      FillGap();
      if (asking) ScrollInView(asking);
      UpdateScrollBar();
      if (HasVerticalScrollBar() == needed) break;
    }
  }
  InvalidateGroups();
}

bool TVyGroupBar::HasVerticalScrollBar() const {
  return HandleAllocated() && (GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

int TVyGroupBar::ContentHeight() {
  if (FStyle == gbsOutlook) return GetClientHeight() - 1;
  if (FPlaces.empty()) return 2 * FGroupBorderSize;
  return GroupsContentHeight(FGroupBorderSize, FPlaces.front().Top, FPlaces.back().Bottom, int(FPlaces.size()));
}

void TVyGroupBar::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO now{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(WindowHandle(), SB_VERT, &now);
  const int content = ContentHeight();
  const int page = GetClientHeight();
  if (now.nMin == 0 && now.nMax == content && int(now.nPage) == page && now.nPos == FScrollPosition) return;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, content, UINT(std::max(page, 0)),
                  FScrollPosition, 0};
  SetScrollInfo(WindowHandle(), SB_VERT, &info, TRUE);
  if (content < page) {
    FScrollPosition = 0;
    SetScrollPos(WindowHandle(), SB_VERT, 0, TRUE);
  }
  Invalidate();
}

void TVyGroupBar::SetScrollPosition(int v) {
  if (v == FScrollPosition) return;
  FScrollPosition = v;
  if (Loading()) return;
  FScrollPosition = ClampScrollPosition(v, 0, ContentHeight(), GetClientHeight());
  Realign();
}

void TVyGroupBar::ScrollGroups(int delta) {
  FScrolling = true;
  const TOnExit done([this] { FScrolling = false; });
  FScrollPosition = ClampScrollPosition(FScrollPosition - delta, 0, ContentHeight(), GetClientHeight());
  PositionGroups();
  UpdateScrollBar();
}

void TVyGroupBar::FillGap() {
  if (FPlaces.empty()) return;
  const int delta =
      FillGapDelta(FPlaces.front().Top, FPlaces.back().Bottom, FGroupBorderSize, GetClientHeight(), ContentHeight());
  if (delta) ScrollGroups(delta);
}

void TVyGroupBar::ScrollInView(TVyGroup* group) {
  if (!group->FOpened || group->Loading()) return;
  UpdateScrollBar();
  const int index = group->GetGroupIndex();
  if (index < 0 || index >= int(FPlaces.size())) return;
  const TRect r = FPlaces[size_t(index)];
  const int delta = ScrollInViewDelta(r.Top, r.Bottom, FGroupBorderSize, GetClientHeight());
  if (delta) ScrollGroups(delta);
}

void TVyGroupBar::WMVScroll(TMessage& m) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(GetHandle(), SB_VERT, &info);
  int target = FScrollPosition;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: target -= 10; break;
    case SB_LINEDOWN: target += 10; break;
    case SB_PAGEUP: target -= int(info.nPage); break;
    case SB_PAGEDOWN: target += int(info.nPage); break;
    case SB_TOP: target = info.nMin; break;
    case SB_BOTTOM: target = info.nMax; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      // The message carries 16 bits of the position; the scroll info all 32.
      target = std::clamp(info.nTrackPos, info.nMin, info.nMax);
      break;
    default: return;
  }
  ScrollGroups(FScrollPosition - target);
  m.Result = 0;
}

bool TVyGroupBar::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TCustomControl::DoMouseWheelDown(shift, mousePos);
  ScrollGroups(-10);
  return true;
}

bool TVyGroupBar::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TCustomControl::DoMouseWheelUp(shift, mousePos);
  ScrollGroups(10);
  return true;
}

void TVyGroupBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && GetEnabled() && !ComponentState().Contains(csDesigning) && CanFocus()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
}

void TVyGroupBar::CMColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  FrameChanged();
  InvalidateGroups();
}

void TVyGroupBar::CMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  if (!focused || !GetParent()) return;
  for (TVyGroup* g : FGroups) {
    if (g != focused && g->ContainsControl(focused)) {
      g->SetOpened(true);
      ScrollInView(g);
      return;
    }
  }
}

void TVyGroupBar::CMItemSelected(TMessage& m) {
  for (TVyGroup* g : std::vector(FGroups)) {
    if (g->FShowItemSelection) g->CMItemSelected(m);
  }
}

// --- bar: frame

int TVyGroupBar::BorderWidthOf(TFrameStyleEx style) const {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return FBevelWidth;
    default: return 2;
  }
}

void TVyGroupBar::WMNCCalcSize(TMessage& m) {
  if (m.WParam) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    const int inset = BorderWidthOf(FBorderOuter) + FBorderWidth + BorderWidthOf(FBorderInner);
    RECT& r = params->rgrc[0];
    if (FBorderSides.Contains(sdLeft)) r.left += inset;
    if (FBorderSides.Contains(sdTop)) r.top += inset;
    if (FBorderSides.Contains(sdRight)) r.right -= inset;
    if (FBorderSides.Contains(sdBottom)) r.bottom -= inset;
  }
  QORN_INHERITED(m);
}

void TVyGroupBar::WMNCPaint(TMessage& m) {
  QORN_INHERITED(m);
  HDC dc = GetWindowDC(GetHandle());
  if (!dc) return;
  const TOnExit release([this, dc] { ReleaseDC(WindowHandle(), dc); });
  RECT window{};
  GetWindowRect(WindowHandle(), &window);
  // The frame only: the client area and the scroll bar are left alone.
  POINT origin{0, 0};
  ::ClientToScreen(WindowHandle(), &origin);
  const int cx = origin.x - window.left, cy = origin.y - window.top;
  ExcludeClipRect(dc, cx, cy, cx + GetClientWidth(), cy + GetClientHeight());
  TCanvas canvas;
  canvas.SetHandle(dc);
  const TOnExit detach([&canvas] { canvas.SetHandle(nullptr); });
  TBevelBorder b;
  b.Outer = FBorderOuter;
  b.Inner = FBorderInner;
  b.Sides = FBorderSides;
  b.BevelWidth = FBevelWidth;
  b.BorderWidth = FBorderWidth;
  b.BorderColor = FBorderColor;
  b.HighlightColor = FBorderHighlight;
  b.ShadowColor = FBorderShadow;
  b.FlatColor = FFlatColor;
  b.FlatColorAdjustment = FFlatColorAdjustment;
  b.ControlColor = GetColor();
  b.ParentColor = GetParent() ? GetParent()->GetColor() : GetColor();
  PaintBevelBorder(&canvas, Rect(0, 0, window.right - window.left, window.bottom - window.top), b);
  m.Result = 0;
}

void TVyGroupBar::WMNCHitTest(TMessage& m) { DefWndHandler(m); }

// --- controller ---------------------------------------------------------------------

TVyGroupController::TVyGroupController(TComponent* AOwner)
    : TComponent(AOwner),
      FCaptionFont(std::make_unique<TFont>()),
      FFont(std::make_unique<TFont>()),
      FItemStaticFont(std::make_unique<TFont>()) {
  FFont->SetColor(clWindowText);
  FCaptionFont->Assign(FFont.get());
  FCaptionFont->SetStyle(TFontStyles{fsBold});
  FCaptionFont->SetColor(clHighlight);
  FItemStaticFont->Assign(FFont.get());
  FFont->OnChange = TNotifyEvent(this, &TVyGroupController::FontChanged);
  FCaptionFont->OnChange = TNotifyEvent(this, &TVyGroupController::CaptionFontChanged);
  FItemStaticFont->OnChange = TNotifyEvent(this, &TVyGroupController::ItemStaticFontChanged);
}

TVyGroupController::~TVyGroupController() {
  FFont->OnChange = nullptr;
  FCaptionFont->OnChange = nullptr;
  FItemStaticFont->OnChange = nullptr;
  // A group must never keep pointing at a controller that is gone.
  for (TVyGroup* g : std::vector(FGroups)) {
    RemoveFreeNotification(g);
    g->FGroupController = nullptr;
  }
  FGroups.clear();
  SetRegIniFile(nullptr);
}

void TVyGroupController::Publish(TPublisher<TVyGroupController>& p) {
  using T = TVyGroupController;
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnHighlight).Idents(ColorIdents);
  p.Property(L"CaptionColor", &T::GetCaptionColor, &T::SetCaptionColor).Default(clHighlightText).Idents(ColorIdents);
  p.Property(L"CaptionFont", &T::GetCaptionFont, &T::SetCaptionFont);
  p.Property(L"CaptionHeight", &T::GetCaptionHeight, &T::SetCaptionHeight).Default(20);
  p.Property(L"CaptionHotColor", &T::GetCaptionHotColor, &T::SetCaptionHotColor)
      .Default(clHotLight)
      .Idents(ColorIdents);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Idents(ColorIdents).Stored(&T::IsColorStored);
  p.Property(L"DividerColor", &T::GetDividerColor, &T::SetDividerColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"DividerVisible", &T::GetDividerVisible, &T::SetDividerVisible).Default(false);
  p.Property(L"Font", &T::GetFont, &T::SetFont).Stored(&T::IsFontStored);
  p.Property(L"ItemHeight", &T::GetItemHeight, &T::SetItemHeight).Default(20);
  p.Property(L"ItemHotColor", &T::GetItemHotColor, &T::SetItemHotColor).Default(clHotLight).Idents(ColorIdents);
  p.Property(L"ItemIndent", &T::GetItemIndent, &T::SetItemIndent).Default(20);
  p.Property(L"ItemStaticFont", &T::GetItemStaticFont, &T::SetItemStaticFont);
  p.Property(L"ParentColor", &T::GetParentColor, &T::SetParentColor).Default(false);
  p.Property(L"ParentFont", &T::GetParentFont, &T::SetParentFont).Default(true);
  p.Property(L"SelectionColor", &T::GetSelectionColor, &T::SetSelectionColor)
      .Default(clHighlight)
      .Idents(ColorIdents);
  p.Property(L"ShowItemSelection", &T::GetShowItemSelection, &T::SetShowItemSelection).Default(false);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients).Default(true);
  p.Property(L"RegIniFile", &T::GetRegIniFile, &T::SetRegIniFile);
}

void TVyGroupController::Register(TVyGroup* group) {
  if (std::find(FGroups.begin(), FGroups.end(), group) != FGroups.end()) return;
  FGroups.push_back(group);
  FreeNotification(group);
  UpdateGroup(group, gcAll);
}

void TVyGroupController::Unregister(TVyGroup* group) {
  std::erase(FGroups, group);
  RemoveFreeNotification(group);
  if (FGroups.empty()) FGroups.shrink_to_fit();
}

void TVyGroupController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FRegIniFile) FRegIniFile = nullptr;
  std::erase(FGroups, AComponent);
}

void TVyGroupController::UpdateGroup(TVyGroup* g, TWhich which) {
  const bool all = which == gcAll;
  if (all || which == gcParentColor) g->SetParentColor(FParentColor);
  if ((all && !FParentColor) || which == gcColor) g->SetGroupColor(FColor);
  if (all || which == gcParentFont) g->SetParentFont(FParentFont);
  if ((all && !FParentFont) || which == gcFont) g->SetFont(FFont.get());
  if (all || which == gcBorderColor) g->SetBorderColor(FBorderColor);
  if (all || which == gcCaptionColor) g->SetCaptionColor(FCaptionColor);
  if (all || which == gcCaptionFont) g->SetCaptionFont(FCaptionFont.get());
  if (all || which == gcCaptionHeight) g->SetCaptionHeight(FCaptionHeight);
  if (all || which == gcCaptionHotColor) g->SetCaptionHotColor(FCaptionHotColor);
  if (all || which == gcDividerColor) g->SetDividerColor(FDividerColor);
  if (all || which == gcDividerVisible) g->SetDividerVisible(FDividerVisible);
  if (all || which == gcItemHeight) g->SetItemHeight(FItemHeight);
  if (all || which == gcItemHotColor) g->SetItemHotColor(FItemHotColor);
  if (all || which == gcItemIndent) g->SetItemIndent(std::uint8_t(FItemIndent));
  if (all || which == gcItemStaticFont) g->SetItemStaticFont(FItemStaticFont.get());
  if (all || which == gcSelectionColor) g->SetSelectionColor(FSelectionColor);
  if (all || which == gcShowItemSelection) g->SetShowItemSelection(FShowItemSelection);
  if (all || which == gcUseGradients) g->SetUseGradients(FUseGradients);
}

void TVyGroupController::UpdateGroups(TWhich which) {
  if (FUpdateCount > 0) return;
  for (TVyGroup* g : std::vector(FGroups)) UpdateGroup(g, which);
}

void TVyGroupController::EndUpdate() {
  if (--FUpdateCount > 0) return;
  FUpdateCount = 0;
  UpdateGroups(gcAll);
}

void TVyGroupController::Loaded() {
  TComponent::Loaded();
  UpdateGroups(gcAll);
}

void TVyGroupController::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyGroupController*>(Source);
  if (!src) return TComponent::Assign(Source);
  BeginUpdate();
  const TOnExit pushed([this] { EndUpdate(); });
  SetBorderColor(src->FBorderColor);
  SetCaptionColor(src->FCaptionColor);
  FCaptionFont->Assign(src->FCaptionFont.get());
  SetCaptionHeight(src->FCaptionHeight);
  SetCaptionHotColor(src->FCaptionHotColor);
  SetColor(src->FColor);
  SetDividerColor(src->FDividerColor);
  SetDividerVisible(src->FDividerVisible);
  FFont->Assign(src->FFont.get());
  SetItemHeight(src->FItemHeight);
  SetItemHotColor(src->FItemHotColor);
  SetItemIndent(std::uint8_t(src->FItemIndent));
  FItemStaticFont->Assign(src->FItemStaticFont.get());
  SetParentColor(src->FParentColor);
  SetParentFont(src->FParentFont);
  SetSelectionColor(src->FSelectionColor);
  SetShowItemSelection(src->FShowItemSelection);
  SetUseGradients(src->FUseGradients);
}

void TVyGroupController::SetParentColor(bool v) {
  if (v == FParentColor) return;
  FParentColor = v;
  UpdateGroups(gcParentColor);
  if (!v) UpdateGroups(gcColor);
}

void TVyGroupController::SetParentFont(bool v) {
  if (v == FParentFont) return;
  FParentFont = v;
  UpdateGroups(gcParentFont);
  if (!v) UpdateGroups(gcFont);
}

void TVyGroupController::SetRegIniFile(TVyRegIniFile* v) {
  if (v == FRegIniFile) return;
  if (FRegIniFile) FRegIniFile->RemoveFreeNotification(this);
  FRegIniFile = v;
  if (v) v->FreeNotification(this);
}

void TVyGroupController::FontChanged(TObject*) {
  FFontChanged = true;
  {
    // The followers change with Font without becoming the user's own choice.
    FCaptionFont->OnChange = nullptr;
    FItemStaticFont->OnChange = nullptr;
    const TOnExit relinked([this] {
      FCaptionFont->OnChange = TNotifyEvent(this, &TVyGroupController::CaptionFontChanged);
      FItemStaticFont->OnChange = TNotifyEvent(this, &TVyGroupController::ItemStaticFontChanged);
    });
    if (!FCaptionFontChanged) {
      FCaptionFont->SetName(FFont->GetName());
      FCaptionFont->SetSize(FFont->GetSize());
      FCaptionFont->SetStyle(TFontStyles{fsBold});
    }
    if (!FItemStaticFontChanged) FItemStaticFont->Assign(FFont.get());
  }
  UpdateGroups(gcFont);
}

void TVyGroupController::CaptionFontChanged(TObject*) {
  FCaptionFontChanged = true;
  UpdateGroups(gcCaptionFont);
}

void TVyGroupController::ItemStaticFontChanged(TObject*) {
  FItemStaticFontChanged = true;
  UpdateGroups(gcItemStaticFont);
}

}  // namespace Vy
