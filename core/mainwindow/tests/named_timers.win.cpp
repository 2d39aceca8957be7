// The named timers on real window timers, run from this thread's message loop.
#include <gtest/gtest.h>

#include "core/mainwindow/NamedTimers.h"
#include "testing/WinTesting.h"
#include "vcl/Classes.h"

#include <memory>
#include <string>

using namespace std::chrono_literals;
using qorn::testing::WaitFor;

namespace {
struct NamedTimersTest : ::testing::Test {
  TComponent owner{nullptr};
  TNamedTimers timers{&owner};
};
}  // namespace

TEST_F(NamedTimersTest, ATimerRepeatsUntilDeleted) {
  int ticks = 0;
  ASSERT_TRUE(timers.Timers_Add(L"tick", 10, [&] { ++ticks; }));
  EXPECT_TRUE(timers.Timers_IsActive(L"tick"));
  EXPECT_FALSE(timers.Timers_IsActive(L"Tick")) << "names match exactly";
  EXPECT_TRUE(WaitFor([&] { return ticks >= 3; }, 3000ms));
  timers.Timers_Del(L"tick");
  EXPECT_FALSE(timers.Timers_IsActive(L"tick"));
  const int after = ticks;
  WaitFor([] { return false; }, 100ms);
  EXPECT_EQ(ticks, after);
}

TEST_F(NamedTimersTest, AFullTableRefusesAndDeletingAnAbsentNameChangesNothing) {
  int ticks[TNamedTimers::SlotCount] = {};
  for (int i = 0; i < TNamedTimers::SlotCount; ++i)
    ASSERT_TRUE(timers.Timers_Add(L"t" + std::to_wstring(i), 10, [&ticks, i] { ++ticks[i]; }));
  int eleventh = 0;
  EXPECT_FALSE(timers.Timers_Add(L"eleventh", 10, [&] { ++eleventh; }));
  EXPECT_FALSE(timers.Timers_IsActive(L"eleventh"));
  timers.Timers_Del(L"absent");
  EXPECT_TRUE(WaitFor(
      [&] {
        for (int i = 0; i < TNamedTimers::SlotCount; ++i)
          if (ticks[i] == 0) return false;
        return true;
      },
      3000ms));
  EXPECT_EQ(eleventh, 0);
  // A freed slot takes the next add.
  timers.Timers_Del(L"t4");
  EXPECT_TRUE(timers.Timers_Add(L"eleventh", 10, [&] { ++eleventh; }));
  EXPECT_TRUE(WaitFor([&] { return eleventh > 0; }, 3000ms));
}

TEST_F(NamedTimersTest, ADuplicateNameTakesASecondSlotAndDeleteTakesTheFirst) {
  int first = 0, second = 0;
  ASSERT_TRUE(timers.Timers_Add(L"dup", 10, [&] { ++first; }));
  ASSERT_TRUE(timers.Timers_Add(L"dup", 10, [&] { ++second; }));
  timers.Timers_Del(L"dup");
  EXPECT_TRUE(timers.Timers_IsActive(L"dup"));
  const int firstAfter = first;
  EXPECT_TRUE(WaitFor([&] { return second >= 3; }, 3000ms));
  EXPECT_EQ(first, firstAfter);
}

TEST_F(NamedTimersTest, ACallbackDeletesAndAddsItsOwnName) {
  // The callback's own captures must survive its deletion (a single shot that
  // re-arms itself with a new interval, as the update check does).
  auto shots = std::make_shared<int>(0);
  int rearmed = 0;
  ASSERT_TRUE(timers.Timers_Add(L"self", 10, [this, shots, &rearmed] {
    ++*shots;
    timers.Timers_Del(L"self");
    EXPECT_EQ(*shots, 1) << "captures still readable after the delete";
    EXPECT_TRUE(timers.Timers_Add(L"self", 20, [&rearmed] { ++rearmed; }));
  }));
  EXPECT_TRUE(WaitFor([&] { return rearmed >= 2; }, 3000ms));
  EXPECT_EQ(*shots, 1);
  EXPECT_TRUE(timers.Timers_IsActive(L"self"));
}

TEST_F(NamedTimersTest, ASingleShotDeletesItself) {
  int shots = 0;
  ASSERT_TRUE(timers.Timers_Add(L"once", 10, [&] {
    ++shots;
    timers.Timers_Del(L"once");
  }));
  EXPECT_TRUE(WaitFor([&] { return shots > 0; }, 3000ms));
  WaitFor([] { return false; }, 100ms);
  EXPECT_EQ(shots, 1);
  EXPECT_FALSE(timers.Timers_IsActive(L"once"));
}
