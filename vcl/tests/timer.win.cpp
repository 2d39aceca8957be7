// TTimer over real window timers: when it fires, restarts, and stopping or freeing
// it from inside its own OnTimer.
#include <gtest/gtest.h>

#include "testing/PumpApplication.h"
#include "vcl/Clock.h"
#include "vcl/Exceptions.h"
#include "vcl/Timer.h"
#include "vcl/Win.h"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct FireCase {
  const char* name;
  bool enabled;
  unsigned interval;
  bool assignHandler;
  bool fires;
};

class TimerFires : public ::testing::TestWithParam<FireCase> {};

TEST_P(TimerFires, OnlyWhileEnabledWithAnIntervalAndAHandler) {
  const FireCase& c = GetParam();
  TTimer timer(nullptr);
  int count = 0;
  timer.SetInterval(c.interval);
  if (c.assignHandler) timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    ++count;
  };
  timer.SetEnabled(c.enabled);
  if (c.fires) {
    EXPECT_TRUE(PumpUntil([&] { return count >= 3; }, 20s)) << c.name;
  } else {
    Pump(300ms);  // fifteen intervals
    EXPECT_EQ(count, 0) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TimerFires,
                         ::testing::Values(FireCase{"running", true, 20, true, true},
                                           FireCase{"disabled", false, 20, true, false},
                                           FireCase{"zero interval", true, 0, true, false},
                                           FireCase{"no handler", true, 20, false, false}),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (auto& ch : n)
                             if (ch == ' ') ch = '_';
                           return n;
                         });

TEST(Timer, HandlerAssignedAfterEnablingStillRuns) {
  TTimer timer(nullptr);
  timer.SetInterval(20);
  int count = 0;
  timer.OnTimer = [&](TObject*) { ++count; };
  EXPECT_TRUE(PumpUntil([&] { return count >= 2; }, 20s));
}

TEST(Timer, DisablingInsideItsOwnHandlerStopsIt) {
  TTimer timer(nullptr);
  timer.SetInterval(10);
  int count = 0;
  timer.OnTimer = [&](TObject*) {
    ++count;
    timer.SetEnabled(false);
  };
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return count == 1; }, 20s));
  Pump(250ms);  // 25 intervals
  EXPECT_EQ(count, 1);
  EXPECT_FALSE(timer.Running());
}

TEST(Timer, FreedInsideItsOwnHandlerNeverFiresAgain) {
  auto* doomed = new TTimer(nullptr);
  TTimer witness(nullptr);
  int doomedCount = 0, witnessCount = 0;
  doomed->SetInterval(10);
  doomed->OnTimer = [&](TObject* sender) {
    ++doomedCount;
    delete static_cast<TTimer*>(sender);
  };
  witness.SetInterval(10);
  witness.OnTimer = [&](TObject*) { ++witnessCount; };
  // Five ticks of a timer of the same interval: a doomed timer still alive would
  // have fired again meanwhile (a busy machine may take its time over them).
  EXPECT_TRUE(PumpUntil([&] { return witnessCount >= 5; }, 20s)) << "other timers keep running";
  EXPECT_EQ(doomedCount, 1);
}

TEST(Timer, OwnedTimerGoesWithItsOwner) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* timer = new TTimer(owner.get());
  int count = 0;
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject*) { ++count; };
  ASSERT_TRUE(PumpUntil([&] { return count > 0; }, 20s));
  owner.reset();
  const int before = count;
  Pump(100ms);
  EXPECT_EQ(count, before);
}

TEST(Timer, ChangingTheIntervalRestartsTheCount) {
  // Every tick must come a whole interval after the last change, however late a
  // loaded machine lets this loop run: lateness only makes ticks later. A timer
  // that kept its first start would tick 400 ms after it, 200 ms after a change.
  TTimer timer(nullptr);
  std::vector<std::uint64_t> sinceChange;
  std::uint64_t changedAt = ClockNowMs();
  timer.SetInterval(400);
  timer.OnTimer = [&](TObject*) { sinceChange.push_back(ClockNowMs() - changedAt); };
  for (int i = 0; i < 12; ++i) {
    Pump(50ms);
    changedAt = ClockNowMs();
    timer.SetInterval(i % 2 ? 400 : 401);
  }
  const auto end = ClockNowMs() + 10'000;
  while (sinceChange.empty() && ClockNowMs() < end) Pump(5ms);
  ASSERT_FALSE(sinceChange.empty()) << "the timer never ticked";
  for (std::uint64_t ms : sinceChange) EXPECT_GE(ms, 390u) << "a tick before a whole interval had passed";
}

TEST(Timer, AnExceptionInOnTimerStaysInsideTheLoop) {
  TTimer timer(nullptr);
  int count = 0;
  timer.SetInterval(10);
  timer.OnTimer = [&](TObject*) {
    ++count;
    timer.SetEnabled(false);
    throw EAbort();
  };
  ASSERT_TRUE(PumpUntil([&] { return count == 1; }, 20s));
  Pump(100ms);  // ten intervals
  EXPECT_EQ(count, 1);
}

TEST(Timer, UnderATestsClockFiresWhenThatClockReachesTheDeadline) {
  TManualClock clock;
  TClockOverride use(clock);
  TTimer timer(nullptr);
  int count = 0;
  timer.SetInterval(20);
  timer.OnTimer = [&](TObject*) { ++count; };
  Pump(200ms);  // ten intervals of real time
  EXPECT_EQ(count, 0);
  clock.Advance(19);
  Pump(50ms);
  PumpDueTimers();
  EXPECT_EQ(count, 0);
  clock.Advance(1);
  ASSERT_TRUE(PumpUntil([&] { return count == 1; }));
  // A jump over five intervals fires once, and the next deadline counts from then.
  clock.Advance(100);
  ASSERT_TRUE(PumpUntil([&] { return count == 2; }));
  clock.Advance(19);
  Pump(50ms);
  PumpDueTimers();
  EXPECT_EQ(count, 2);
}

}  // namespace
