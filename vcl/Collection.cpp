#include "vcl/Collection.h"
#include "vcl/ScopeGuards.h"

#include <algorithm>

namespace {
[[noreturn]] void ListIndexError(int index) {
  throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
}
}  // namespace

// ---------------------------------------------------------------------------------------
TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == FCollection) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int current = Index();
  if (current < 0 || current == Value) return;
  auto& items = FCollection->FItems;
  if (Value < 0 || Value >= static_cast<int>(items.size())) ListIndexError(Value);
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

std::wstring TCollectionItem::GetDisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const std::wstring&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

std::wstring TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + L"[" + std::to_wstring(Index()) + L"]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// ---------------------------------------------------------------------------------------
TCollection::TCollection(const TClassInfo& ItemClass, TPersistent* Owner)
    : FItemClass(&ItemClass), FOwner(Owner) {
  if (!ItemClass.ItemFactory())
    throw EClassesError(L"Class " + ItemClass.Name() + L" cannot be an item of a collection");
}

TCollection::~TCollection() {
  // No Update while going: the owner may be half destroyed.
  ++FUpdateCount;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, const TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
  // The item joins the collection in its base constructor, before a derived item's
  // own fields exist: the collection reports the change once the item is whole.
  BeginUpdate();
  const TOnExit updated([this] { EndUpdate(); });
  return FItemClass->ItemFactory()(this);
}

TCollectionItem* TCollection::Insert(int Index) {
  if (Index < 0 || Index > Count()) ListIndexError(Index);
  BeginUpdate();
  const TOnExit updated([this] { EndUpdate(); });
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  while (!FItems.empty()) {
    TCollectionItem* item = FItems.back();
    Notify(item, cnDeleting);
    delete item;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == ID) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TCollection*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  const TOnExit updated([this] { EndUpdate(); });
  Clear();
  for (TCollectionItem* src : other->FItems) Add()->Assign(src);
}

std::wstring TCollection::GetNamePath() const {
  if (!FOwner) return ClassName();
  std::wstring owner = FOwner->GetNamePath();
  std::wstring prop = FPropName.empty() ? ClassName() : FPropName;
  return owner.empty() ? prop : owner + L"." + prop;
}

void TCollection::Update(TCollectionItem* Item) {
  if (OnUpdate) OnUpdate(this, Item);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  Notify(Item, cnExtracting);
  FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}

