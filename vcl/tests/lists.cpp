#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "vcl/Lists.h"

namespace {

void* P(std::intptr_t v) { return reinterpret_cast<void*>(v); }

// Counts the live instances, so a test sees what an owning list freed.
class TCounted : public TObject {
 public:
  explicit TCounted(int& live, int id = 0) : FLive(live), Id(id) { ++FLive; }
  ~TCounted() override { --FLive; }
  int& FLive;
  int Id;
};

TEST(Lists, BadIndexRaisesWithTheIndex) {
  TList list;
  list.Add(P(1));
  struct Case {
    const char* what;
    std::function<void()> call;
    const wchar_t* message;
  };
  const std::vector<Case> cases = {
      {"Items", [&] { list.Items(1); }, L"List index out of bounds (1)"},
      {"Items -1", [&] { list.Items(-1); }, L"List index out of bounds (-1)"},
      {"SetItems", [&] { list.SetItems(2, nullptr); }, L"List index out of bounds (2)"},
      {"Insert", [&] { list.Insert(3, P(2)); }, L"List index out of bounds (3)"},
      {"Delete", [&] { list.Delete(1); }, L"List index out of bounds (1)"},
      {"Exchange", [&] { list.Exchange(0, 4); }, L"List index out of bounds (4)"},
      {"Move", [&] { list.Move(7, 0); }, L"List index out of bounds (7)"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  TList empty;
  EXPECT_THROW(empty.First(), EListError);
  EXPECT_THROW(empty.Last(), EListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(Lists, EditAndSort) {
  TList list;
  for (std::intptr_t v : {5, 3, 9, 3, 1}) list.Add(P(v));
  EXPECT_EQ(list.IndexOf(P(3)), 1);
  EXPECT_EQ(list.Remove(P(3)), 1);
  EXPECT_EQ(list.IndexOf(P(3)), 2) << "only the first was removed";
  EXPECT_EQ(list.Remove(P(42)), -1);
  list.Insert(0, P(7));
  list.Move(0, 3);
  list.Exchange(0, 1);
  std::vector<std::intptr_t> got;
  for (int i = 0; i < list.Count(); ++i) got.push_back(reinterpret_cast<std::intptr_t>(list[i]));
  EXPECT_EQ(got, (std::vector<std::intptr_t>{9, 5, 3, 7, 1}));
  list.Sort([](void* a, void* b) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(a) - reinterpret_cast<std::intptr_t>(b));
  });
  got.clear();
  for (int i = 0; i < list.Count(); ++i) got.push_back(reinterpret_cast<std::intptr_t>(list[i]));
  EXPECT_EQ(got, (std::vector<std::intptr_t>{1, 3, 5, 7, 9}));
  EXPECT_EQ(list.First(), P(1));
  EXPECT_EQ(list.Last(), P(9));
}

TEST(Lists, AnOwningListFreesWhatLeavesIt) {
  int live = 0;
  {
    TObjectList list;
    auto* a = new TCounted(live, 1);
    auto* b = new TCounted(live, 2);
    auto* c = new TCounted(live, 3);
    auto* d = new TCounted(live, 4);
    list.Add(a);
    list.Add(b);
    list.Add(c);
    list.Add(d);
    EXPECT_EQ(live, 4);
    list.Delete(0);
    EXPECT_EQ(live, 3) << "Delete frees";
    list.Remove(b);
    EXPECT_EQ(live, 2) << "Remove frees";
    EXPECT_EQ(list.Extract(c), c);
    EXPECT_EQ(live, 2) << "Extract hands the object back";
    delete c;
    list.SetItems(0, new TCounted(live, 5));
    EXPECT_EQ(live, 1) << "replacing frees the old object (d)";
    list.Add(new TCounted(live, 6));
    EXPECT_EQ(live, 2);
  }
  EXPECT_EQ(live, 0) << "the list frees the rest when it goes";

  int kept = 0;
  auto* x = new TCounted(kept);
  {
    TObjectList borrowed(false);
    borrowed.Add(x);
    borrowed.Clear();
    borrowed.Add(x);
  }
  EXPECT_EQ(kept, 1) << "a list that does not own frees nothing";
  delete x;
}

}  // namespace
