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

}  // namespace
QORN_REGISTER_CLASS(TLabelledItem);
