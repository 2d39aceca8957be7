#include "vcl/Clock.h"

#include <gtest/gtest.h>

TEST(Clock, AnOverrideIsReadUntilItsScopeEndsThenTheSystemClockIsBack) {
  TManualClock manual(5000);
  {
    TClockOverride use(manual);
    EXPECT_EQ(ClockNowMs(), 5000u);
    manual.Advance(250);
    EXPECT_EQ(ClockNowMs(), 5250u);
    TManualClock inner(7);
    {
      TClockOverride nested(inner);
      EXPECT_EQ(ClockNowMs(), 7u);
    }
    EXPECT_EQ(ClockNowMs(), 5250u);
  }
  EXPECT_EQ(&CurrentClock(), &SystemClock());
}

TEST(Clock, TheSystemClockNeverGoesBack) {
  std::uint64_t last = SystemClock().NowMs();
  for (int i = 0; i < 10000; ++i) {
    const std::uint64_t now = SystemClock().NowMs();
    ASSERT_GE(now, last);
    last = now;
  }
}
