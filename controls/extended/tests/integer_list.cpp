// The integer list: each operation against a table of starting lists, the range and the
// sorted order it guards, and its form data read back through the form reader.
#include <gtest/gtest.h>

#include "controls/extended/VyIntLst.h"
#include "vcl/Filer.h"

#include <functional>
#include <string>
#include <vector>

using namespace Vy;

namespace {

using TValues = std::vector<int32_t>;

// A list holding the values, added in order before the sorted mode is set.
struct TList : TVyIntegerList {
  explicit TList(const TValues& values, bool sorted = false, TDuplicates dup = dupIgnore) {
    SetDuplicates(dup);
    for (int32_t v : values) Add(v);
    SetSorted(sorted);
  }
};

std::wstring MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const Exception& e) {
    return e.Message();
  }
  return L"(no error)";
}

TEST(VyIntegerList, SortedAddUnderEachDuplicatesRule) {
  struct Case {
    TDuplicates dup;
    int32_t add;
    int index;
    TValues after;
  } cases[] = {
      {dupIgnore, 5, 1, {3, 5, 5, 9}},     // found: nothing added, the index it met
      {dupAccept, 5, 1, {3, 5, 5, 5, 9}},  // in front of the equal ones
      {dupAccept, 4, 1, {3, 4, 5, 5, 9}}, {dupIgnore, 10, 4, {3, 5, 5, 9, 10}}, {dupIgnore, -1, 0, {-1, 3, 5, 5, 9}},
  };
  for (const Case& c : cases) {
    TList l({9, 5, 3, 5}, true, dupAccept);
    l.SetDuplicates(c.dup);
    EXPECT_EQ(l.Add(c.add), c.index) << c.add;
    EXPECT_EQ(l.Values(), c.after) << c.add;
  }
  TList strict({9, 3}, true, dupError);
  EXPECT_EQ(MessageOf([&] { strict.Add(9); }), L"Duplicates not allowed");
  EXPECT_EQ(strict.Values(), (TValues{3, 9}));
}

TEST(VyIntegerList, FindAndIndexOf) {
  TList l({4, 1, 7, 4}, true, dupAccept);
  ASSERT_EQ(l.Values(), (TValues{1, 4, 4, 7}));
  int at = -1;
  EXPECT_TRUE(l.Find(4, at));
  EXPECT_EQ(at, 1) << "the first of the equal values under dupAccept";
  EXPECT_FALSE(l.Find(5, at));
  EXPECT_EQ(at, 3) << "where it would go";
  EXPECT_FALSE(l.Find(100, at));
  EXPECT_EQ(at, 4);
  EXPECT_EQ(l.IndexOf(7), 3);
  EXPECT_EQ(l.IndexOf(5), -1);
  TList plain({4, 1, 7, 4});
  EXPECT_EQ(plain.IndexOf(4), 0);
  EXPECT_EQ(plain.IndexOf(7), 2);
  EXPECT_EQ(plain.IndexOf(2), -1);
}

// Every operation that fails leaves the list as it was.
TEST(VyIntegerList, FailingOperationsRaiseAndChangeNothing) {
  struct Case {
    const char* name;
    bool sorted;
    std::function<void(TVyIntegerList&)> op;
    std::wstring message;
  } cases[] = {
      {"Get -1", false, [](TVyIntegerList& l) { l.Get(-1); }, L"List index out of bounds (-1)"},
      {"Get Count", false, [](TVyIntegerList& l) { l.Get(3); }, L"List index out of bounds (3)"},
      {"Put 3", false, [](TVyIntegerList& l) { l.Put(3, 1); }, L"List index out of bounds (3)"},
      {"Delete 3", false, [](TVyIntegerList& l) { l.Delete(3); }, L"List index out of bounds (3)"},
      {"Exchange", false, [](TVyIntegerList& l) { l.Exchange(0, 5); }, L"List index out of bounds (5)"},
      {"Move", false, [](TVyIntegerList& l) { l.Move(-2, 0); }, L"List index out of bounds (-2)"},
      {"Insert -1", false, [](TVyIntegerList& l) { l.Insert(-1, 1); }, L"List index out of bounds (-1)"},
      {"Insert Count+1", false, [](TVyIntegerList& l) { l.Insert(4, 1); }, L"List index out of bounds (4)"},
      {"InsertAt Count+1", false, [](TVyIntegerList& l) { l.InsertAt(4, 1); }, L"List index out of bounds (4)"},
      {"InsertAt -1", true, [](TVyIntegerList& l) { l.InsertAt(-1, 1); }, L"List index out of bounds (-1)"},
      {"Insert sorted", true, [](TVyIntegerList& l) { l.Insert(0, 1); }, L"Operation not allowed on sorted list"},
      {"Put sorted", true, [](TVyIntegerList& l) { l.Put(0, 100); }, L"Operation not allowed on sorted list"},
      {"Exchange sorted", true, [](TVyIntegerList& l) { l.Exchange(0, 2); }, L"Operation not allowed on sorted list"},
      {"Move sorted", true, [](TVyIntegerList& l) { l.Move(0, 2); }, L"Operation not allowed on sorted list"},
  };
  for (const Case& c : cases) {
    TList l({8, 2, 5}, c.sorted);
    const TValues before = l.Values();
    EXPECT_EQ(MessageOf([&] { c.op(l); }), c.message) << c.name;
    EXPECT_EQ(l.Values(), before) << c.name;
  }
}

TEST(VyIntegerList, PlacingOperationsOnAnUnsortedList) {
  TList l({10, 20, 30});
  l.Insert(3, 40);
  l.Insert(0, 5);
  EXPECT_EQ(l.Values(), (TValues{5, 10, 20, 30, 40}));
  l.Move(0, 4);
  EXPECT_EQ(l.Values(), (TValues{10, 20, 30, 40, 5}));
  l.Exchange(0, 4);
  l.Put(1, 99);
  l.Delete(2);
  EXPECT_EQ(l.Values(), (TValues{5, 99, 40, 10}));
  l.Sort();
  EXPECT_EQ(l.Values(), (TValues{5, 10, 40, 99}));
}

TEST(VyIntegerList, TurningSortedOnSortsAndKeepsItSorted) {
  TList l({9, 1, 5, 3});
  l.SetSorted(true);
  EXPECT_EQ(l.Values(), (TValues{1, 3, 5, 9}));
  l.Add(4);
  EXPECT_EQ(l.Values(), (TValues{1, 3, 4, 5, 9}));
  EXPECT_EQ(l.IndexOf(9), 4) << "the binary search finds what the list holds";
  l.SetSorted(false);
  l.Add(2);
  EXPECT_EQ(l.Values().back(), 2) << "unsorted again: appended";
}

TEST(VyIntegerList, Range) {
  TVyIntegerList l;
  l.Add(-5000);
  l.Add(1 << 30);
  EXPECT_EQ(l.Count(), 2) << "0..0: the range is off";
  l.Clear();
  l.SetMax(10);
  EXPECT_EQ(l.GetMin(), 0);
  EXPECT_EQ(l.GetMax(), 10);
  EXPECT_EQ(MessageOf([&] { l.Add(11); }), L"Value must be within 0..10");
  EXPECT_THROW(l.Add(-1), EOutOfRange);
  l.Add(3);
  EXPECT_EQ(MessageOf([&] { l.Put(0, 11); }), L"Value must be within 0..10");
  EXPECT_EQ(l.Get(0), 3);
  EXPECT_EQ(MessageOf([&] { l.SetMin(5); }), L"Unable to set new minimum value.\rList contains values below 5");
  EXPECT_EQ(l.GetMin(), 0);
  EXPECT_EQ(MessageOf([&] { l.SetMax(2); }), L"Unable to set new maximum value.\rList contains values above 2");
  EXPECT_EQ(l.GetMax(), 10);
  l.Clear();
  l.SetMin(20);
  EXPECT_EQ(l.GetMin(), 20);
  EXPECT_EQ(l.GetMax(), 20) << "the maximum follows a minimum above it";
  l.SetMax(-4);
  EXPECT_EQ(l.GetMin(), -4);
  EXPECT_EQ(l.GetMax(), -4);
  l.Add(12345);
  EXPECT_EQ(l.Get(0), 12345) << "Min = Max again: off";
  // An EOutOfRange is a list error too.
  l.SetMax(20000);
  l.SetMin(100);
  EXPECT_THROW(l.Add(50), EListError);
}

TEST(VyIntegerList, AssignKeepsItsOwnRulesAndChangesNothingWhenItFails) {
  TList target({7, 8});
  target.SetMin(1);
  target.SetMax(10);
  target.SetSorted(true);
  TList source({9, 2, 12, 4});
  EXPECT_THROW(target.Assign(&source), EOutOfRange);
  EXPECT_EQ(target.Values(), (TValues{7, 8})) << "no partial list";
  source.Delete(2);
  target.Assign(&source);
  EXPECT_EQ(target.Values(), (TValues{2, 4, 9})) << "sorted by the target's own order";
  EXPECT_TRUE(target.Equals(TList({2, 4, 9})));
  EXPECT_FALSE(target.Equals(TList({2, 4})));
  EXPECT_FALSE(target.Equals(TList({2, 9, 4})));
  TList strict({1}, true, dupError);
  TList twice({3, 3});
  EXPECT_THROW(strict.Assign(&twice), EListError);
  EXPECT_EQ(strict.Values(), (TValues{1}));
  target.AddIntegers(target);
  EXPECT_EQ(target.Values(), (TValues{2, 4, 9})) << "adding itself under dupIgnore";
}

// A component that keeps tab stops, as the tabbed list box does.
class TStopsHolder : public TComponent {
  QORN_CLASS(TStopsHolder, TComponent)
 public:
  explicit TStopsHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TVyIntegerList* GetStops() const { return FStops.get(); }
  void SetStops(TVyIntegerList* v) { FStops->Assign(v); }

 private:
  static void Publish(TPublisher<TStopsHolder>& p) {
    p.Property(L"Stops", &TStopsHolder::GetStops, &TStopsHolder::SetStops);
  }
  std::unique_ptr<TVyIntegerList> FStops = std::make_unique<TVyIntegerList>();
};
QORN_REGISTER_CLASS(TStopsHolder);

TEST(VyIntegerList, FormDataRoundTrip) {
  TStopsHolder empty(nullptr);
  empty.SetName(L"H");
  const std::string plain = WriteComponentToText(&empty);
  EXPECT_EQ(plain.find("Stops."), std::string::npos) << "an empty 0..0 list writes nothing:\n" << plain;

  TStopsHolder h(nullptr);
  h.SetName(L"H");
  h.GetStops()->SetMax(500);
  h.GetStops()->SetMin(-3);
  for (int v : {40, -3, 120, 40}) h.GetStops()->Add(v);
  const std::string text = WriteComponentToText(&h);
  EXPECT_NE(text.find("Stops.Min = -3"), std::string::npos) << text;
  EXPECT_NE(text.find("Stops.Max = 500"), std::string::npos) << text;
  EXPECT_NE(text.find("Stops.Integers"), std::string::npos) << text;

  TStopsHolder back(nullptr);
  ReadComponentFromText(&back, text, L"TEST");
  EXPECT_EQ(back.GetStops()->Values(), (TValues{40, -3, 120, 40}));
  EXPECT_EQ(back.GetStops()->GetMin(), -3);
  EXPECT_EQ(back.GetStops()->GetMax(), 500);
}

TEST(VyIntegerList, ReadingAppliesTheRangeReadBeforeTheValues) {
  TStopsHolder h(nullptr);
  EXPECT_THROW(ReadComponentFromText(&h, R"(object H: TStopsHolder
  Stops.Max = 10
  Stops.Integers = (
    4
    11)
end
)",
                                     L"TEST"),
               Exception);
  TStopsHolder sorted(nullptr);
  sorted.GetStops()->SetSorted(true);
  ReadComponentFromText(&sorted, R"(object H: TStopsHolder
  Stops.Integers = (
    30
    10
    20
    10)
end
)",
                        L"TEST");
  EXPECT_EQ(sorted.GetStops()->Values(), (TValues{10, 20, 30})) << "read through Add: sorted, duplicate ignored";
}

}  // namespace
