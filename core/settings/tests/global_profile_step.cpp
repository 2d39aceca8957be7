// Stepping through the global profiles: per-program profiles and empty names are
// passed over, the walk wraps round, and entries past the table's count (left by
// deletes) are never taken.
#include <gtest/gtest.h>

#include "core/settings/GlobalProfileStep.h"

#include <string>
#include <vector>

namespace {

struct TEntry {
  std::string name;
  std::string kind;
};

TProfileTable TableOf(const std::vector<TEntry>& entries) {
  TProfileTable table;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    table.Entries[i + 1].Name = entries[i].name;
    table.Entries[i + 1].Kind = entries[i].kind;
  }
  table.Count = static_cast<std::uint8_t>(entries.size());
  return table;
}

struct TStepCase {
  const char* what;
  std::vector<TEntry> entries;
  std::string active;
  int direction;
  std::size_t entry;  // 0: nothing happens
  std::size_t position;
  std::size_t count;
};

const std::vector<TEntry> kABC = {{"A", "-"}, {"B", "c:\\tools\\b.exe"}, {"C", "-"}};

class GlobalProfileStep : public ::testing::TestWithParam<TStepCase> {};

TEST_P(GlobalProfileStep, FindsTheProfileAndItsPlace) {
  const TStepCase& c = GetParam();
  const auto step = StepGlobalProfile(TableOf(c.entries), c.active, c.direction);
  if (c.entry == 0) {
    EXPECT_FALSE(step) << c.what;
    return;
  }
  ASSERT_TRUE(step) << c.what;
  EXPECT_EQ(step->Entry, c.entry) << c.what;
  EXPECT_EQ(step->Position, c.position) << c.what;
  EXPECT_EQ(step->Count, c.count) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, GlobalProfileStep,
    ::testing::Values(TStepCase{"next passes the per-program profile", kABC, "A", 1, 3, 2, 2},
                      TStepCase{"next wraps round", kABC, "C", 1, 1, 1, 2},
                      TStepCase{"previous wraps round", kABC, "A", -1, 3, 2, 2},
                      TStepCase{"previous", kABC, "C", -1, 1, 1, 2},
                      TStepCase{"the only global profile stays", {{"A", "-"}, {"B", "c:\\b.exe"}}, "A", 1, 0, 0, 0},
                      TStepCase{"an unknown active profile starts at the first", kABC, "Z", 1, 1, 1, 2},
                      TStepCase{"an unknown active profile steps back from the last", kABC, "Z", -1, 3, 2, 2},
                      TStepCase{"an empty name is no profile", {{"A", "-"}, {"", "-"}, {"C", "-"}}, "A", 1, 3, 2, 2},
                      TStepCase{"an empty table", {}, "A", 1, 0, 0, 0}));

TEST(GlobalProfileStepTable, EntriesPastTheCountAreLeftOvers) {
  TProfileTable table = TableOf(kABC);
  // A profile deleted from the end leaves its entry behind the count.
  table.Entries[4].Name = "Deleted";
  table.Entries[4].Kind = "-";
  const auto step = StepGlobalProfile(table, "C", 1);
  ASSERT_TRUE(step);
  EXPECT_EQ(step->Entry, 1u);
  EXPECT_EQ(step->Count, 2u);
}

}  // namespace
