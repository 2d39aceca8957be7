// Actions and their links; the action side of TControl and TMenuItem.
#include "vcl/ActnList.h"

#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>

// --- links -----------------------------------------------------------------------

TBasicActionLink::TBasicActionLink(TObject* AClient) : FClient(AClient) {}

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  // Cleared again however the handler leaves, so no later call sees a stale client.
  TBasicAction* action = FAction;
  action->SetActionComponent(AComponent);
  const TOnExit cleared([action] { action->SetActionComponent(nullptr); });
  return FAction->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(GetAction()); }
bool TActionLink::IsCaptionLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() const { return CustomAction() != nullptr; }
bool TActionLink::IsOnExecuteLinked() const { return GetAction() != nullptr; }

bool TControlActionLink::IsCaptionLinked() const {
  if (!TActionLink::IsCaptionLinked()) return false;
  const std::wstring mine = FControl->GetCaption(), theirs = CustomAction()->GetCaption();
  return mine == theirs;
}
bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FControl->GetEnabled() == CustomAction()->GetEnabled();
}
bool TControlActionLink::IsHintLinked() const {
  if (!TActionLink::IsHintLinked()) return false;
  const std::wstring mine = FControl->GetHint(), theirs = CustomAction()->GetHint();
  return mine == theirs;
}
bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FControl->GetVisible() == CustomAction()->GetVisible();
}
bool TControlActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && FControl->OnClick == GetAction()->GetOnExecute();
}
void TControlActionLink::SetCaption(const std::wstring& Value) {
  if (IsCaptionLinked()) FControl->SetCaption(Value);
}
void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FControl->SetEnabled(Value);
}
void TControlActionLink::SetHint(const std::wstring& Value) {
  if (IsHintLinked()) FControl->SetHint(Value);
}
void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FControl->SetVisible(Value);
}
void TControlActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FControl->OnClick = Value;
}

bool TMenuActionLink::IsCaptionLinked() const {
  if (!TActionLink::IsCaptionLinked()) return false;
  const std::wstring mine = FItem->GetCaption(), theirs = CustomAction()->GetCaption();
  return mine == theirs;
}
bool TMenuActionLink::IsCheckedLinked() const {
  return TActionLink::IsCheckedLinked() && FItem->GetChecked() == CustomAction()->GetChecked();
}
bool TMenuActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && FItem->GetEnabled() == CustomAction()->GetEnabled();
}
bool TMenuActionLink::IsHintLinked() const {
  if (!TActionLink::IsHintLinked()) return false;
  const std::wstring mine = FItem->GetHint(), theirs = CustomAction()->GetHint();
  return mine == theirs;
}
bool TMenuActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() && FItem->GetImageIndex() == CustomAction()->GetImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() const {
  return TActionLink::IsShortCutLinked() && FItem->GetShortCut() == CustomAction()->GetShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && FItem->GetVisible() == CustomAction()->GetVisible();
}
bool TMenuActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && FItem->OnClick == GetAction()->GetOnExecute();
}
void TMenuActionLink::SetCaption(const std::wstring& Value) {
  if (IsCaptionLinked()) FItem->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FItem->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FItem->SetEnabled(Value);
}
void TMenuActionLink::SetHint(const std::wstring& Value) {
  if (IsHintLinked()) FItem->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FItem->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FItem->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FItem->SetVisible(Value);
}
void TMenuActionLink::SetOnExecute(const TNotifyEvent& Value) {
  if (IsOnExecuteLinked()) FItem->OnClick = Value;
}

// --- actions ---------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  // The clients stay; their links no longer point here.
  for (TBasicActionLink* link : FClients) link->FAction = nullptr;
  FClients.clear();
}

void TBasicAction::Publish(TPublisher<TBasicAction>& p) {
  p.Property(L"OnExecute", &TBasicAction::FOnExecute);
  p.Property(L"OnUpdate", &TBasicAction::OnUpdate);
}

bool TBasicAction::Execute() {
  if (!FOnExecute) return false;
  FOnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value) {
  if (Value == FOnExecute) return;
  for (TBasicActionLink* link : std::vector(FClients)) {
    if (auto* l = dynamic_cast<TActionLink*>(link)) l->SetOnExecute(Value);
  }
  FOnExecute = Value;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) {
  if (std::find(FClients.begin(), FClients.end(), Link) == FClients.end()) FClients.push_back(Link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
  std::erase(FClients, Link);
}

TCustomAction::TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TCustomAction::~TCustomAction() { SetActionList(nullptr); }

void TCustomAction::Publish(TPublisher<TCustomAction>& p) {
  p.Property(L"Caption", &TCustomAction::GetCaption, &TCustomAction::SetCaption);
  p.Property(L"Category", &TCustomAction::GetCategory, &TCustomAction::SetCategory);
  p.Property(L"Checked", &TCustomAction::GetChecked, &TCustomAction::SetChecked).Default(false);
  p.Property(L"Enabled", &TCustomAction::GetEnabled, &TCustomAction::SetEnabled).Default(true);
  p.Property(L"Hint", &TCustomAction::GetHint, &TCustomAction::SetHint);
  p.Property(L"ImageIndex", &TCustomAction::GetImageIndex, &TCustomAction::SetImageIndex).Default(-1);
  p.Property(L"ShortCut", &TCustomAction::GetShortCut, &TCustomAction::SetShortCut).Default(0);
  p.Property(L"Visible", &TCustomAction::GetVisible, &TCustomAction::SetVisible).Default(true);
}

template <class Set, class V>
void TCustomAction::ToLinks(Set set, const V& value) {
  for (TBasicActionLink* link : std::vector(Clients())) {
    if (auto* l = dynamic_cast<TActionLink*>(link)) (l->*set)(value);
  }
}

void TCustomAction::SetCaption(const std::wstring& Value) {
  if (Value == FCaption) return;
  ToLinks(&TActionLink::SetCaption, Value);
  FCaption = Value;
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == FChecked) return;
  ToLinks(&TActionLink::SetChecked, Value);
  FChecked = Value;
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  ToLinks(&TActionLink::SetEnabled, Value);
  FEnabled = Value;
}

void TCustomAction::SetHint(const std::wstring& Value) {
  if (Value == FHint) return;
  ToLinks(&TActionLink::SetHint, Value);
  FHint = Value;
}

void TCustomAction::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  ToLinks(&TActionLink::SetImageIndex, Value);
  FImageIndex = Value;
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  ToLinks(&TActionLink::SetShortCut, Value);
  FShortCut = Value;
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  ToLinks(&TActionLink::SetVisible, Value);
  FVisible = Value;
}

void TCustomAction::SetActionList(TActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) std::erase(FActionList->FActions, this);
  FActionList = Value;
  if (FActionList) FActionList->FActions.push_back(this);
}

TCustomImageList* TCustomAction::GetImages() const { return FActionList ? FActionList->GetImages() : nullptr; }

bool TCustomAction::Execute() {
  Update();
  return FEnabled && TBasicAction::Execute();
}

TComponent* TCustomAction::GetParentComponent() const { return FActionList; }

void TCustomAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TActionList*>(Value)) SetActionList(list);
}

// --- the list --------------------------------------------------------------------

TActionList::TActionList(TComponent* AOwner) : TComponent(AOwner) {}

TActionList::~TActionList() {
  while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
}

void TActionList::Publish(TPublisher<TActionList>& p) {
  p.Property(L"Images", &TActionList::GetImages, &TActionList::SetImages);
}

TCustomAction* TActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount()) throw EListError(SListIndexError, {Index});
  return FActions[static_cast<size_t>(Index)];
}

void TActionList::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TActionList::UpdateActions() {
  for (TCustomAction* action : std::vector(FActions)) action->Update();
}

void TActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TCustomAction* action : FActions) {
    if (action->Owner() == Root) Proc(action);
  }
}

void TActionList::SetChildOrder(TComponent* Child, int Order) {
  auto it = std::find(FActions.begin(), FActions.end(), Child);
  if (it == FActions.end()) return;
  TCustomAction* action = *it;
  FActions.erase(it);
  const auto at = static_cast<size_t>(std::clamp(Order, 0, ActionCount()));
  FActions.insert(FActions.begin() + static_cast<std::ptrdiff_t>(at), action);
}

void TActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

// --- the action side of a control --------------------------------------------------

void TControl::TActionLinkDeleter::operator()(TControlActionLink* link) const { delete link; }

TBasicAction* TControl::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

TControlActionLink* TControl::CreateActionLink() { return new TControlActionLink(this); }

void TControl::SetAction(TBasicAction* v) {
  if (!v) {
    FActionLink.reset();
    ControlStyle >> csActionClient;
    return;
  }
  if (v == GetAction()) return;
  if (!FActionLink) FActionLink.reset(CreateActionLink());
  FActionLink->SetAction(v);
  // While loading only defaults are filled; Loaded repeats it once the form is whole.
  ActionChange(v, ComponentState().Contains(csLoading));
  ControlStyle << csActionClient;
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || GetCaption().empty()) SetCaption(action->GetCaption());
  if (!CheckDefaults || GetEnabled()) SetEnabled(action->GetEnabled());
  if (!CheckDefaults || GetHint().empty()) SetHint(action->GetHint());
  if (!CheckDefaults || GetVisible()) SetVisible(action->GetVisible());
  if (!CheckDefaults || !OnClick) OnClick = action->GetOnExecute();
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

// --- the action side of a menu item ------------------------------------------------

void TMenuItem::TActionLinkDeleter::operator()(TMenuActionLink* link) const { delete link; }

TBasicAction* TMenuItem::GetAction() const { return FActionLink ? FActionLink->GetAction() : nullptr; }

void TMenuItem::SetAction(TBasicAction* v) {
  if (!v) {
    FActionLink.reset();
    return;
  }
  if (v == GetAction()) return;
  if (!FActionLink) FActionLink.reset(new TMenuActionLink(this));
  FActionLink->SetAction(v);
  ActionChange(v, ComponentState().Contains(csLoading));
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || GetCaption().empty()) SetCaption(action->GetCaption());
  if (!CheckDefaults || !GetChecked()) SetChecked(action->GetChecked());
  if (!CheckDefaults || GetEnabled()) SetEnabled(action->GetEnabled());
  if (!CheckDefaults || GetHint().empty()) SetHint(action->GetHint());
  if (!CheckDefaults || GetImageIndex() == -1) SetImageIndex(action->GetImageIndex());
  if (!CheckDefaults || GetShortCut() == 0) SetShortCut(action->GetShortCut());
  if (!CheckDefaults || GetVisible()) SetVisible(action->GetVisible());
  if (!CheckDefaults || !OnClick) OnClick = action->GetOnExecute();
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = GetAction()) ActionChange(action, true);
}

// --- the idle update -------------------------------------------------------------

namespace {

void InitiateActions(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* control = parent->Controls(i);
    if (!control->GetVisible()) continue;
    if (control->ControlStyle.Contains(csActionClient)) control->InitiateAction();
    if (auto* container = dynamic_cast<TWinControl*>(control)) InitiateActions(container);
  }
}

}  // namespace

void UpdateFormActions(TCustomForm* Form) {
  if (!Form || !Form->Showing()) return;
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    if (auto* list = dynamic_cast<TActionList*>(Form->Components(i))) list->UpdateActions();
  }
  InitiateActions(Form);
}

QORN_REGISTER_CLASS(TAction);
QORN_REGISTER_CLASS(TActionList);
