// Lists of ID lists: TVyPidlList, (ID list, data) entries kept in order of the shell
// folder's CompareIDs (or of their bytes), and TVyIdListArray, one ID list taken
// apart item by item.
#pragma once
#include "controls/extended/VyShellUtils.h"
#include "vcl/Classes.h"
#include "vcl/StringList.h"

#include <vector>

namespace Vy {

class TVyPidlList : public TObject {
 public:
  TVyPidlList() = default;
  ~TVyPidlList() override { Clear(); }
  TVyPidlList(const TVyPidlList&) = delete;
  TVyPidlList& operator=(const TVyPidlList&) = delete;

  // The list takes the ID list as it is; it frees it only when Malloc is set.
  int Add(ITEMIDLIST* list) { return AddObject(list, nullptr); }
  // Sorted: placed by Find; an equal entry is kept (dupIgnore: its index), refused
  // (dupError: "TVyPidlList: Duplicate PIDL") or joined (dupAccept).
  int AddObject(ITEMIDLIST* list, void* data);
  // Where the list is or would go; among equal entries the first.
  bool Find(const ITEMIDLIST* list, int& index) const;
  int IndexOf(const ITEMIDLIST* list) const;
  void Delete(int index);
  void Clear();
  void Sort();

  int Count() const { return int(FEntries.size()); }
  int GetCapacity() const { return int(FEntries.capacity()); }
  void SetCapacity(int value);
  ITEMIDLIST* IdList(int index) const { return Entry(index).List; }
  void* Data(int index) const { return Entry(index).Data; }

  bool GetSorted() const { return FSorted; }
  void SetSorted(bool value);
  TDuplicates Duplicates = dupError;
  // Compares with its CompareIDs (column 0) when set; else byte by byte.
  TComPtr<IShellFolder> ShellFolder;
  // Frees the ID lists of deleted entries when set.
  IMalloc* Malloc = nullptr;

  // The entries' order: <0, 0, >0.
  int CompareLists(const ITEMIDLIST* a, const ITEMIDLIST* b) const;

 private:
  struct TEntry {
    ITEMIDLIST* List;
    void* Data;
  };
  const TEntry& Entry(int index) const;

  std::vector<TEntry> FEntries;
  bool FSorted = false;
};

// One absolute ID list taken apart. Each result is kept by the array until the next
// call or its end; callers that keep one copy it. A null list has no items.
class TVyIdListArray : public TObject {
 public:
  explicit TVyIdListArray(const ITEMIDLIST* list) : FList(list) {}

  int Count() const;
  // A one-item list of item i; null when out of range.
  const ITEMIDLIST* Item(int i);
  // The first Count() - n items (n = 1: the parent folder's list); null when the
  // list is shorter than n.
  const ITEMIDLIST* ParentList(int n);

 private:
  const ITEMIDLIST* FList;
  TIdList FLast;
};

}  // namespace Vy
