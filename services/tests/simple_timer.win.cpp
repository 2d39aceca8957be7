// The simple timer on its shared hidden window: ticks on the injectable clock, the
// interval and event rules, one-shot use, and the window made and freed with the
// timers. Ticks already queued when a timer goes reach nothing.
#include <gtest/gtest.h>

#include "services/SimpleTimer.h"
#include "testing/PumpApplication.h"
#include "vcl/Clock.h"

#include <memory>

namespace {

using namespace std::chrono_literals;

class SimpleTimerTest : public ::testing::Test {
 protected:
  // Moves the clock on and lets the hidden window see its polls.
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(60ms);
    PumpDueTimers();
  }
  TManualClock clock;
  TClockOverride useClock{clock};
  int ticks = 0;
  TNotifyEvent count = [this](TObject*) { ++ticks; };
};

TEST_F(SimpleTimerTest, TicksEveryIntervalOnceStarted) {
  TSimpleTimer timer(500, count);
  Advance(600);
  EXPECT_EQ(ticks, 0) << "a timer ticks only once started";
  ASSERT_TRUE(timer.Start());
  EXPECT_TRUE(timer.GetEnabled());
  Advance(400);
  EXPECT_EQ(ticks, 0);
  Advance(100);
  EXPECT_EQ(ticks, 1);
  Advance(500);
  EXPECT_EQ(ticks, 2);
  timer.SetEnabled(false);
  Advance(1000);
  EXPECT_EQ(ticks, 2);
}

TEST_F(SimpleTimerTest, StartWithIntervalZeroRefusesAndChangesNothing) {
  TSimpleTimer timer(0, count);
  EXPECT_FALSE(timer.Start());
  EXPECT_FALSE(timer.GetEnabled());
  EXPECT_EQ(TSimpleTimer::RunningCount(), 0);
}

TEST_F(SimpleTimerTest, IntervalZeroPausesARunningTimerUntilANewInterval) {
  TSimpleTimer timer(100, count);
  timer.SetEnabled(true);
  timer.SetInterval(0);
  EXPECT_TRUE(timer.GetEnabled()) << "still meant to run";
  EXPECT_EQ(TSimpleTimer::RunningCount(), 0);
  Advance(1000);
  EXPECT_EQ(ticks, 0);
  timer.SetInterval(500);
  EXPECT_EQ(TSimpleTimer::RunningCount(), 1);
  Advance(500);
  EXPECT_EQ(ticks, 1);
}

TEST_F(SimpleTimerTest, ClearingTheEventStopsTheTicksButKeepsItMeantToRun) {
  TSimpleTimer timer(100, count);
  timer.SetEnabled(true);
  timer.SetOnTimer(nullptr);
  EXPECT_TRUE(timer.GetEnabled());
  EXPECT_EQ(TSimpleTimer::RunningCount(), 0);
}

TEST_F(SimpleTimerTest, AutoDisableStopsBeforeTheEventWhichMayStartItAgain) {
  TSimpleTimer timer(200, nullptr);
  timer.AutoDisable = true;
  int restarts = 0;
  timer.SetOnTimer([&](TObject* sender) {
    ++ticks;
    auto* t = static_cast<TSimpleTimer*>(sender);
    EXPECT_FALSE(t->GetEnabled()) << "stopped before its event";
    if (restarts++ == 0) t->Start();
  });
  timer.Start();
  Advance(200);
  Advance(200);
  Advance(200);
  Advance(200);
  EXPECT_EQ(ticks, 2) << "one tick, one restart from the event, then stopped";
  EXPECT_FALSE(timer.GetEnabled());
}

TEST_F(SimpleTimerTest, TheSharedWindowLivesWithTheTimers) {
  ASSERT_EQ(TSimpleTimer::HandlerWindow(), nullptr);
  auto first = std::make_unique<TSimpleTimer>();
  HWND window = TSimpleTimer::HandlerWindow();
  ASSERT_TRUE(IsWindow(window));
  {
    TSimpleTimer second;
    EXPECT_EQ(TSimpleTimer::HandlerWindow(), window) << "one window for every timer";
  }
  EXPECT_TRUE(IsWindow(window));
  first.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(TSimpleTimer::HandlerWindow(), nullptr);
  TSimpleTimer again;
  EXPECT_TRUE(IsWindow(TSimpleTimer::HandlerWindow()));
}

TEST_F(SimpleTimerTest, ATickQueuedBeforeItsTimerWentReachesNothing) {
  TSimpleTimer keeper;  // keeps the shared window alive
  auto doomed = std::make_unique<TSimpleTimer>(100, count);
  const UINT_PTR id = doomed->GetId();
  doomed->Start();
  // The system had already queued a tick for it.
  PostMessageW(TSimpleTimer::HandlerWindow(), WM_TIMER, id, 0);
  doomed.reset();
  clock.Advance(1000);
  Pump(60ms);
  PumpDueTimers();
  EXPECT_EQ(ticks, 0);
}

}  // namespace
