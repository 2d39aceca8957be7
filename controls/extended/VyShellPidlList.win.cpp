#include "controls/extended/VyShellPidlList.h"

#include <algorithm>

#include "controls/extended/VyShellIdList.h"
#include "vcl/Exceptions.h"

namespace Vy {

int TVyPidlList::CompareLists(const ITEMIDLIST* a, const ITEMIDLIST* b) const {
  if (ShellFolder) return HResultCodeOf(ShellFolder->CompareIDs(0, a, b));
  return CompareIdListBytes(a, b);
}

const TVyPidlList::TEntry& TVyPidlList::Entry(int index) const {
  if (index < 0 || index >= Count()) throw EListError(SListIndexError, {index});
  return FEntries[std::size_t(index)];
}

bool TVyPidlList::Find(const ITEMIDLIST* list, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const int mid = (low + high) / 2;
    const int order = CompareLists(FEntries[std::size_t(mid)].List, list);
    if (order < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (order == 0) {
        found = true;
        if (Duplicates != dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

int TVyPidlList::IndexOf(const ITEMIDLIST* list) const {
  if (FSorted) {
    int index = 0;
    return Find(list, index) ? index : -1;
  }
  for (int i = 0; i < Count(); ++i)
    if (CompareLists(FEntries[std::size_t(i)].List, list) == 0) return i;
  return -1;
}

int TVyPidlList::AddObject(ITEMIDLIST* list, void* data) {
  int index = Count();
  if (FSorted && Find(list, index)) {
    if (Duplicates == dupIgnore) return index;
    if (Duplicates == dupError) throw EListError(L"TVyPidlList: Duplicate PIDL");
  }
  FEntries.insert(FEntries.begin() + index, TEntry{list, data});
  return index;
}

void TVyPidlList::Delete(int index) {
  const TEntry entry = Entry(index);
  FEntries.erase(FEntries.begin() + index);
  if (Malloc && entry.List) Malloc->Free(entry.List);
}

void TVyPidlList::Clear() {
  while (!FEntries.empty()) Delete(Count() - 1);
}

void TVyPidlList::Sort() {
  std::stable_sort(FEntries.begin(), FEntries.end(),
                   [this](const TEntry& a, const TEntry& b) { return CompareLists(a.List, b.List) < 0; });
}

void TVyPidlList::SetSorted(bool value) {
  if (value && !FSorted) Sort();
  FSorted = value;
}

void TVyPidlList::SetCapacity(int value) {
  if (value < Count()) throw EListError(SListIndexError, {value});
  FEntries.reserve(std::size_t(value));
}

int TVyIdListArray::Count() const { return IdListItemCount(FList); }

const ITEMIDLIST* TVyIdListArray::Item(int i) {
  FLast.reset();
  if (!FList) return nullptr;
  // The empty list stands for the desktop: its item 0 is the empty list itself.
  if (i == 0 && Count() == 0) {
    FLast = CopyIdList(FList);
    return FLast.get();
  }
  const std::uint8_t* item = IdListItemAt(FList, i);
  if (!item) return nullptr;
  FLast = IdListFromBytes(JoinIdListBytes(item, 1, nullptr));
  return FLast.get();
}

const ITEMIDLIST* TVyIdListArray::ParentList(int n) {
  FLast.reset();
  const int count = Count();
  if (!FList || n < 0 || n > count) return nullptr;
  FLast = IdListFromBytes(JoinIdListBytes(FList, count - n, nullptr));
  return FLast.get();
}

}  // namespace Vy
