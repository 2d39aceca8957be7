// The main window's decisions: the key-press counter's milestones and saves, and
// which power broadcasts are refused.
#include <gtest/gtest.h>

#include "core/mainwindow/MainForm.h"

#include <optional>

namespace {
struct CounterTest : ::testing::Test {
  bool gameMode = false;
  int donations = 0, saves = 0;
  TKeyPressCounter counter{{[this] { return gameMode; }, [this] { ++donations; }, [this] { ++saves; }}};
};
}  // namespace

TEST_F(CounterTest, MilestonesShowTheDonationWindowOnce) {
  struct Case {
    std::int32_t start;
    int presses;
    int donations;
  };
  const Case cases[] = {{99998, 1, 0}, {99998, 2, 1}, {99998, 20, 1}, {999999, 1, 1}, {9999999, 1, 1}, {500, 10, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    donations = 0;
    counter.SetCount(c.start);
    for (int i = 0; i < c.presses; ++i) counter.WMCount();
    EXPECT_EQ(donations, c.donations);
  }
}

TEST_F(CounterTest, AFullScreenProgramPutsTheWindowOffInStepsOfTen) {
  counter.SetCount(99999);
  gameMode = true;
  counter.WMCount();  // 100000
  EXPECT_EQ(donations, 0);
  EXPECT_EQ(counter.DonationOffset(), 10);
  for (int i = 0; i < 10; ++i) counter.WMCount();  // 100010, still in a game
  EXPECT_EQ(donations, 0);
  EXPECT_EQ(counter.DonationOffset(), 20);
  gameMode = false;
  for (int i = 0; i < 9; ++i) counter.WMCount();
  EXPECT_EQ(donations, 0);
  counter.WMCount();  // 100020
  EXPECT_EQ(donations, 1);
  EXPECT_EQ(counter.DonationOffset(), 0);
}

TEST_F(CounterTest, SavesEveryThousandAndReturnsTheText) {
  counter.SetCount(998);
  EXPECT_EQ(counter.WMCount(), L"999");
  EXPECT_EQ(saves, 0);
  EXPECT_EQ(counter.WMCount(), L"1.000");
  EXPECT_EQ(saves, 1);
  counter.SetCount(1234566);
  EXPECT_EQ(counter.WMCount(), L"1.234.567");
  EXPECT_EQ(saves, 1);
}

TEST(PowerBroadcast, OnlyASuspendQueryRightAfterASleepKeyIsRefused) {
  struct Case {
    const char* what;
    std::uintptr_t wParam;
    std::optional<std::uint64_t> sleepAt;
    std::uint64_t now;
    bool refused;
  };
  const Case cases[] = {
      {"suspend query just after the key", 0, 10000, 10500, true},
      {"suspend query at the guard's end", 0, 10000, 10000 + SleepKeyGuardMs, true},
      {"suspend query long after the key", 0, 10000, 10001 + SleepKeyGuardMs, false},
      {"suspend query, no Sleep key ran", 0, std::nullopt, 10000, false},
      {"resume notice after the key", 7, 10000, 10500, false},
      {"suspend notice after the key", 4, 10000, 10500, false},
      {"battery notice after the key", 10, 10000, 10500, false},
      {"clock went back", 0, 10000, 9000, false},
  };
  for (const Case& c : cases) EXPECT_EQ(RefusePowerBroadcast(c.wParam, c.sleepAt, c.now), c.refused) << c.what;
}
