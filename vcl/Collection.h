// Collections: an owned list of items of one class (list-view columns, group items,
// PNG images). Read and written in forms as "Columns = < item ... end >".
//
//   class TListColumn : public TCollectionItem {
//     QORN_CLASS(TListColumn, TCollectionItem)
//    public:
//     explicit TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}
//     ...
//   };
//   FColumns = new TCollection(TListColumn::StaticClass(), this);  // owner: the list view
//
// Items are created by the collection (Add, Insert) or by `new TItem(collection)`, and
// freed with it, by Delete/Clear, or by deleting the item. Update(Item) runs after a
// change (Item nullptr: the whole collection); BeginUpdate/EndUpdate batch them.
#pragma once
#include <string>
#include <vector>

#include "vcl/Classes.h"

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  QORN_CLASS(TCollectionItem, TPersistent)
 public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (nullptr: none).
  virtual void SetCollection(TCollection* Value);
  int Index() const;
  virtual void SetIndex(int Value);
  int ID() const { return FID; }
  // The text an editor shows for the item; the class name unless overridden.
  virtual std::wstring GetDisplayName() const;
  virtual void SetDisplayName(const std::wstring& Value);

  TPersistent* GetOwner() const override;
  std::wstring GetNamePath() const override;

 protected:
  // Tells the collection this item (or, with AllItems, every item) changed.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  QORN_CLASS(TCollection, TPersistent)
 public:
  // `ItemClass` must be creatable from a collection (a TCollectionItem(TCollection*) constructor).
  explicit TCollection(const TClassInfo& ItemClass, TPersistent* Owner = nullptr);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return *FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Throws EListError for a bad index.
  TCollectionItem* Items(int Index) const;
  template <class I>
  I* ItemAs(int Index) const {
    return dynamic_cast<I*>(Items(Index));
  }
  // Assigns Value to the item at Index.
  void SetItem(int Index, const TCollectionItem* Value);

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Copies the items of another collection of a compatible item class.
  void Assign(const TPersistent* Source) override;
  TPersistent* GetOwner() const override { return FOwner; }
  std::wstring GetNamePath() const override;
  // The name of the property the collection is published as, for GetNamePath.
  void SetPropName(const std::wstring& Value) { FPropName = Value; }

  // Called when an item or (nullptr) the whole collection changed.
  TEvent<void(TCollection* Sender, TCollectionItem* Item)> OnUpdate;

 protected:
  friend class TCollectionItem;
  // Runs after changes unless inside BeginUpdate/EndUpdate; fires OnUpdate.
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  // Changed(): the whole collection changed.
  void Changed();

 private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  const TClassInfo* FItemClass;
  TPersistent* FOwner;
  std::vector<TCollectionItem*> FItems;
  std::wstring FPropName;
  int FUpdateCount = 0;
  int FNextID = 0;
};
