// The items of a group and their action links.
#include "controls/extended/VyGroupBar.h"

#include "vcl/Forms.h"
#include "vcl/Format.h"
#include "vcl/ShortCuts.h"

namespace Vy {

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

}  // namespace Vy
