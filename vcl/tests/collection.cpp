// Collections report changes only about whole items.
#include <gtest/gtest.h>

#include "vcl/Collection.h"

#include <vector>

namespace {

// An item with fields of its own, set by its constructor.
class TLabelledItem : public TCollectionItem {
  QORN_CLASS(TLabelledItem, TCollectionItem)
 public:
  explicit TLabelledItem(TCollection* c) : TCollectionItem(c) {}
  int Ready = 42;
  std::wstring Label = L"new";
};

TEST(Collections, ANewItemIsReportedOnceItIsWhole) {
  TCollection items(TLabelledItem::StaticClass());
  std::vector<int> seen;
  items.OnUpdate = [&](TCollection* sender, TCollectionItem*) {
    for (int i = 0; i < sender->Count(); ++i) {
      auto* item = sender->ItemAs<TLabelledItem>(i);
      seen.push_back(item->Ready);
      EXPECT_EQ(item->Label, L"new");
    }
  };
  items.Add();
  items.Insert(0);
  EXPECT_EQ(items.Count(), 2);
  // One report per Add (one item), one per Insert (two items).
  EXPECT_EQ(seen, (std::vector<int>{42, 42, 42}));
}

// An item whose making fails while Fail is set: a field that cannot be read.
class TFailingItem : public TCollectionItem {
  QORN_CLASS(TFailingItem, TCollectionItem)
 public:
  explicit TFailingItem(TCollection* c) : TCollectionItem(c) {
    if (Fail) throw EClassesError(L"item cannot be made");
  }
  static inline bool Fail = false;
};

TEST(Collections, AnItemThatCannotBeMadeLeavesTheCollectionReporting) {
  TCollection items(TFailingItem::StaticClass());
  int reports = 0;
  items.OnUpdate = [&](TCollection*, TCollectionItem*) { ++reports; };
  TFailingItem::Fail = true;
  EXPECT_THROW(items.Add(), EClassesError);
  EXPECT_THROW(items.Insert(0), EClassesError);
  TFailingItem::Fail = false;
  EXPECT_EQ(items.Count(), 0);
  const int before = reports;
  items.Add();
  EXPECT_EQ(items.Count(), 1);
  EXPECT_GT(reports, before) << "a failed Add left the collection inside an update";
}

}  // namespace
QORN_REGISTER_CLASS(TLabelledItem);
QORN_REGISTER_CLASS(TFailingItem);
