// Lists of pointers (TList) and of objects that the list may own (TObjectList).
// A bad index raises EListError "List index out of bounds (N)".
#pragma once
#include <functional>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/Exceptions.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// < 0, 0 or > 0, as Item1 sorts before, with or after Item2.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
  QORN_CLASS(TList, TObject)
 public:
  TList() = default;
  ~TList() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Deletes the first occurrence; its former index, or -1 when absent.
  int Remove(void* Item);
  // Takes the item out without the deletion notice (an owning list does not free it).
  void* Extract(void* Item);
  int IndexOf(const void* Item) const;
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  virtual void Clear();
  // Stable: equal items keep their order.
  void Sort(const TListSortCompare& Compare);

 protected:
  // Every item that comes in or goes out passes here.
  virtual void Notify(void* /*Ptr*/, TListNotification /*Action*/) {}
  void CheckIndex(int Index) const;

 private:
  std::vector<void*> FItems;
};

class TObjectList : public TList {
  QORN_CLASS(TObjectList, TList)
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  TObject* operator[](int Index) const { return Items(Index); }
  int Add(TObject* Item) { return TList::Add(Item); }
  void Insert(int Index, TObject* Item) { TList::Insert(Index, Item); }
  int Remove(TObject* Item) { return TList::Remove(Item); }
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
  int IndexOf(const TObject* Item) const { return TList::IndexOf(Item); }

  // Whether deleting, removing, replacing or clearing frees the objects.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  bool FOwnsObjects;
};
