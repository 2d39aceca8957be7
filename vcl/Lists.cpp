#include "vcl/Lists.h"

#include <algorithm>

TList::~TList() {
  // Notify is virtual: a descendant's destructor clears with its own rules first.
  FItems.clear();
}

void TList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(SListIndexError, {Index});
}

void* TList::Items(int Index) const {
  CheckIndex(Index);
  return FItems[static_cast<std::size_t>(Index)];
}

void TList::SetItems(int Index, void* Item) {
  CheckIndex(Index);
  void*& slot = FItems[static_cast<std::size_t>(Index)];
  if (slot == Item) return;
  void* old = slot;
  slot = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

int TList::Add(void* Item) {
  FItems.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) throw EListError(SListIndexError, {Index});
  FItems.insert(FItems.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  CheckIndex(Index);
  void* item = FItems[static_cast<std::size_t>(Index)];
  FItems.erase(FItems.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* Item) {
  const int index = IndexOf(Item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* Item) {
  const int index = IndexOf(Item);
  if (index < 0) return nullptr;
  FItems.erase(FItems.begin() + index);
  Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(const void* Item) const {
  const auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FItems[static_cast<std::size_t>(Index1)], FItems[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  void* item = FItems[static_cast<std::size_t>(CurIndex)];
  FItems.erase(FItems.begin() + CurIndex);
  FItems.insert(FItems.begin() + NewIndex, item);
}

void TList::Clear() {
  // Take the items out first: a notice may look at (or free into) the list.
  std::vector<void*> items;
  items.swap(FItems);
  for (void* item : items)
    if (item) Notify(item, lnDeleted);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
}
