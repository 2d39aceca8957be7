#include "vcl/Classes.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsIdentifier(const std::wstring& s) {
  if (s.empty()) return false;
  auto alpha = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
  if (!alpha(s[0])) return false;
  return std::all_of(s.begin() + 1, s.end(), [&](wchar_t c) { return alpha(c) || (c >= L'0' && c <= L'9'); });
}

[[noreturn]] void ListIndexError(int index) {
  throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

}  // namespace

// ---------------------------------------------------------------------------------------
const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info(L"TObject", nullptr, nullptr, nullptr, nullptr);
  return info;
}

const TClassInfo& TObject::ClassType() const { return StaticClass(); }

void TObject::Dispatch(void* message) { DispatchAs(ClassType(), message); }

void TObject::DispatchAs(const TClassInfo& cls, void* message) {
  uint32_t id;
  std::memcpy(&id, message, sizeof id);
  if (const auto* entry = cls.FindMessage(id))
    entry->Call(*this, message, entry->Code);
  else
    DefaultHandler(message);
}

void TObject::DefaultHandler(void*) {}

void TObject::operator delete(TObject* p, std::destroying_delete_t) {
  p->BeforeDestruction();
  void* whole = dynamic_cast<void*>(p);
  p->~TObject();
  ::operator delete(whole);
}

// ---------------------------------------------------------------------------------------
void TPersistent::Assign(const TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) const { Dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* Source) const {
  std::wstring from = Source ? Source->ClassName() : std::wstring(L"nil");
  throw EAssignError(L"Cannot assign a " + from + L" to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler&) {}

std::wstring TPersistent::GetNamePath() const {
  std::wstring result = ClassName();
  if (TPersistent* owner = GetOwner()) {
    std::wstring path = owner->GetNamePath();
    if (!path.empty()) result = path + L"." + result;
  }
  return result;
}

// ---------------------------------------------------------------------------------------
void TComponent::Publish(TPublisher<TComponent>& p) {
  p.Property(L"Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  p.Property(L"Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Deleted without BeforeDestruction (a member or stack object): do its work now.
  if (!FComponentState.Contains(csDestroying)) Destroying();
  FTornDown = true;
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!FComponentState.Contains(csDestroying)) Destroying();
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::wstring_view AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameIdent(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError(L"A component named " + AComponent->FName + L" already exists");
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  AComponent->SetReference(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  AComponent->SetReference(false);
  std::erase(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last first; the others hear of each one (opRemove) while they still exist.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    RemoveComponent(c);
    delete c;
  }
}

void TComponent::SetName(const std::wstring& NewName) {
  if (NewName == FName) return;
  if (!NewName.empty() && !IsIdentifier(NewName))
    throw EComponentError(L"'" + NewName + L"' is not a valid component name");
  if (FOwner && !NewName.empty()) {
    TComponent* other = FOwner->FindComponent(NewName);
    if (other && other != this) throw EComponentError(L"A component named " + NewName + L" already exists");
  }
  SetReference(false);
  FName = NewName;
  SetReference(true);
}

void TComponent::SetReference(bool Enable) {
  if (!FOwner || FName.empty()) return;
  const TFieldInfo* f = FOwner->ClassType().FindField(FName);
  if (!f) return;
  if (Enable)
    f->Set(FOwner, this);
  else if (f->Get(FOwner) == this)
    f->Set(FOwner, nullptr);
}

void TComponent::SetComponentState(TComponentStateElem Elem, bool On) {
  if (On)
    FComponentState.Include(Elem);
  else
    FComponentState.Exclude(Elem);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Each owned component hears it too; one may leave the list while it does.
  for (size_t i = FComponents.size(); i-- > 0;) {
    if (i >= FComponents.size()) continue;
    TComponent* c = FComponents[i];
    if (c != AComponent) c->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  // Components of one owner already hear of each other through the owner.
  if (!FOwner || AComponent->FOwner != FOwner) {
    AddNotify(AComponent);
    AComponent->AddNotify(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotify(AComponent);
  AComponent->RemoveNotify(this);
}

void TComponent::AddNotify(TComponent* AComponent) {
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
}

void TComponent::RemoveNotify(TComponent* AComponent) { std::erase(FFreeNotifies, AComponent); }

void TComponent::RemoveFreeNotifications() {
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    c->RemoveNotify(this);
    c->Notification(this, opRemove);
  }
}

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (Root != this) return;
  for (TComponent* c : FComponents)
    if (!c->HasParent()) Proc(c);
}

void TComponent::SetChildOrder(TComponent*, int) {}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }
