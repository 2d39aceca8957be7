// Handing key events from the hook thread to the owner thread: bounded waits, no late
// answers, no event handled twice, modifier changes never lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "tenvora/KeyExchange.h"

namespace {

using namespace std::chrono_literals;
using qorn::tenvora::KeyEvent;
using qorn::tenvora::AskedKeys;
using qorn::tenvora::KeyExchange;

// The callbacks get no context: what they saw and how they behave live here.
struct Owner {
  std::mutex mutex;
  std::condition_variable released;
  std::vector<int> keys;       // vk of every key callback
  std::vector<bool> passed;    // whether each key came marked as passed already
  std::vector<int> modifiers;  // code of every modifier callback
  int answer = TENVORA_TAKE;
  int holdVk = -1;             // the key callback for this key waits until Release()
  bool held = false, release = false;
  KeyExchange* nestedDrain = nullptr;  // drained again from inside the key callback
  std::uint64_t opened = 0;
  int depth = 0, deepest = 0;  // key callbacks running at once
} g_owner;

int32_t TENVORA_CALL OnKey(int32_t vk, int32_t, int32_t extra, int32_t) {
  std::unique_lock lock(g_owner.mutex);
  g_owner.keys.push_back(vk);
  g_owner.passed.push_back((extra & TENVORA_PASSED) != 0);
  g_owner.deepest = std::max(g_owner.deepest, ++g_owner.depth);
  if (vk == g_owner.holdVk) {
    g_owner.held = true;
    g_owner.released.notify_all();
    g_owner.released.wait(lock, [] { return g_owner.release; });
  }
  if (g_owner.nestedDrain) {
    lock.unlock();
    g_owner.nestedDrain->Drain(g_owner.opened);
    lock.lock();
  }
  --g_owner.depth;
  return g_owner.answer;
}

void TENVORA_CALL OnModifier(int32_t code) {
  std::lock_guard lock(g_owner.mutex);
  g_owner.modifiers.push_back(code);
}

KeyEvent Key(int vk, int modifier = 0, int message = 256) { return KeyEvent{vk, vk, 0x10, message, modifier}; }

// A wait this long never runs out on a loaded machine; one that must run out is short.
constexpr auto Long = 30s;
constexpr auto Short = 20ms;

class Exchange : public ::testing::Test {
 protected:
  void SetUp() override {
    std::lock_guard lock(g_owner.mutex);
    g_owner.keys.clear();
    g_owner.passed.clear();
    g_owner.modifiers.clear();
    g_owner.answer = TENVORA_TAKE;
    g_owner.holdVk = -1;
    g_owner.held = g_owner.release = false;
    g_owner.nestedDrain = nullptr;
    g_owner.depth = g_owner.deepest = 0;
    exchange.SetClock([this] { return now; });
  }
  void TearDown() override {
    Release();
    exchange.Close();
  }

  void Open(bool reachable = true) {
    g_owner.opened = exchange.Open(&OnKey, &OnModifier, [this, reachable](std::uint64_t opened, bool urgent) {
      ++wakes;
      if (urgent) ++urgentWakes;
      wokenWith = opened;
      return reachable;
    });
  }
  // The hook thread's side: one event, answered or not within `bound`.
  std::future<std::optional<int32_t>> SubmitLater(KeyEvent event, std::chrono::milliseconds bound) {
    return std::async(std::launch::async, [this, event, bound] { return exchange.Submit(event, bound); });
  }
  void WaitForWakes(int count) {
    const auto end = std::chrono::steady_clock::now() + Long;
    while (wakes < count && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
    ASSERT_GE(wakes.load(), count);
  }
  static void WaitUntilHeld() {
    std::unique_lock lock(g_owner.mutex);
    ASSERT_TRUE(g_owner.released.wait_for(lock, Long, [] { return g_owner.held; }));
  }
  static void Release() {
    std::lock_guard lock(g_owner.mutex);
    g_owner.release = true;
    g_owner.released.notify_all();
  }
  static std::vector<int> Keys() {
    std::lock_guard lock(g_owner.mutex);
    return g_owner.keys;
  }
  static std::vector<bool> Passed() {
    std::lock_guard lock(g_owner.mutex);
    return g_owner.passed;
  }
  static std::vector<int> Modifiers() {
    std::lock_guard lock(g_owner.mutex);
    return g_owner.modifiers;
  }
  // Submits A from the hook's side with a bound that runs out while A's callback is
  // held on the owner's side: the callback must have begun before the hook gave up.
  // A loaded machine may start the owner thread after a short bound, so a start that
  // came too late is undone and tried again with a longer bound. Returns the hook's
  // pending answer for A, with the owner thread draining (joined by the caller).
  std::future<std::optional<int32_t>> SubmitAWhoseCallbackOutlivesItsWait(std::thread& owner) {
    for (auto bound = Short;; bound *= 4) {
      Open();
      g_owner.holdVk = 'A';
      const int before = wakes;
      auto pending = SubmitLater(Key('A'), bound);
      WaitForWakes(before + 1);
      owner = std::thread([this] { exchange.Drain(g_owner.opened); });
      WaitUntilHeld();
      if (!Passed().front() || bound > Long) return pending;
      // The hook had given up before the callback began: nothing of what follows
      // would be tested. Start over from a clean owner.
      Release();
      owner.join();
      pending.get();
      exchange.Close();
      KeyExchange* const nested = g_owner.nestedDrain;
      SetUp();
      g_owner.nestedDrain = nested;
    }
  }
  void AskOnly(std::initializer_list<int> downs) {
    AskedKeys keys;
    for (int vk : downs) keys.downs.set(static_cast<std::size_t>(vk));
    exchange.SetAskedKeys(keys);
  }

  KeyExchange exchange;
  KeyExchange::Clock::time_point now{};
  std::atomic<int> wakes{0};
  std::atomic<int> urgentWakes{0};
  std::atomic<std::uint64_t> wokenWith{0};
};

TEST_F(Exchange, TheOwnersAnswerReachesTheHook) {
  for (int32_t answer : {TENVORA_TAKE, TENVORA_PASS}) {
    g_owner.answer = answer;
    Open();
    const int before = wakes;
    auto result = SubmitLater(Key('A', 21), Long);
    WaitForWakes(before + 1);
    EXPECT_EQ(wokenWith.load(), g_owner.opened);
    exchange.Drain(g_owner.opened);
    ASSERT_EQ(result.get(), std::optional<int32_t>(answer));
  }
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'A'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{false, false}));
  EXPECT_EQ(Modifiers(), (std::vector<int>{21, 21}));
}

TEST_F(Exchange, KeysNotAskedAboutPassAtOnceAndAreReportedInOrder) {
  Open();
  AskOnly({'B'});
  // Nobody drains yet: a key that waited would wait the whole long bound.
  EXPECT_EQ(exchange.Submit(Key('A', 11), Long), std::nullopt);
  EXPECT_EQ(exchange.Submit(Key('A', 0, 257), Long), std::nullopt);
  EXPECT_EQ(exchange.Submit(Key('B', 0, 257), Long), std::nullopt) << "only B's key-down is asked about";
  EXPECT_EQ(wakes.load(), 1);
  exchange.Drain(g_owner.opened);
  auto asked = SubmitLater(Key('B'), Long);
  WaitForWakes(2);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(asked.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'A', 'B', 'B'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(Modifiers(), (std::vector<int>{11}));

  // Asking about every key again.
  exchange.SetAskedKeys(std::nullopt);
  auto again = SubmitLater(Key('A'), Long);
  WaitForWakes(3);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(again.get(), std::optional<int32_t>(TENVORA_TAKE));
}

TEST_F(Exchange, OnlyAKeyThatWaitsWakesTheOwnerUrgently) {
  Open();
  AskOnly({'B'});
  // Passed keys: one wake for the batch, which may come late.
  EXPECT_EQ(exchange.Submit(Key('A'), Long), std::nullopt);
  EXPECT_EQ(exchange.Submit(Key('C'), Long), std::nullopt);
  EXPECT_EQ(wakes.load(), 1);
  EXPECT_EQ(urgentWakes.load(), 0);
  // A key that waits behind them wakes the owner at once, and only once.
  auto asked = SubmitLater(Key('B'), Long);
  WaitForWakes(2);
  EXPECT_EQ(urgentWakes.load(), 1);
  EXPECT_EQ(exchange.Submit(Key('D'), Short), std::nullopt);
  EXPECT_EQ(wakes.load(), 2);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(asked.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'C', 'B', 'D'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{true, true, false, true}));
}

TEST_F(Exchange, AKeyNotDrainedInTimePassesAndIsReportedAsPassedOnce) {
  Open();
  EXPECT_EQ(exchange.Submit(Key('A', 11), Short), std::nullopt);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(Keys(), (std::vector<int>{'A'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{true}));
  EXPECT_EQ(Modifiers(), (std::vector<int>{11}));
  // The exchange still works for the next key, and nothing is reported twice.
  auto result = SubmitLater(Key('C'), Long);
  WaitForWakes(2);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(result.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'C'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{true, false}));
}

TEST_F(Exchange, AnOwnerThatMissedAnAnswerMakesNoKeyWaitUntilItDrainsAgain) {
  Open();
  EXPECT_EQ(exchange.Submit(Key('A'), Short), std::nullopt);
  // Asked about, but the owner is behind: a key that waited would wait 30 s.
  for (int vk : {'B', 'C'}) EXPECT_EQ(exchange.Submit(Key(vk), Long), std::nullopt);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'B', 'C'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{true, true, true}));
  auto answered = SubmitLater(Key('D'), Long);
  WaitForWakes(2);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(answered.get(), std::optional<int32_t>(TENVORA_TAKE));
}

TEST_F(Exchange, AnOwnerThatLeavesPassedKeysUndrainedCountsAsStuck) {
  Open();
  AskOnly({'B'});
  EXPECT_EQ(exchange.Submit(Key('A'), Long), std::nullopt);
  now += KeyExchange::StuckAfter;
  EXPECT_EQ(exchange.Submit(Key('B'), Long), std::nullopt) << "B waited for an owner that is stuck";
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'B'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{true, true}));
}

TEST_F(Exchange, ALateAnswerIsDroppedAndTheNextKeyIsAnsweredAgain) {
  std::thread owner;
  auto slow = SubmitAWhoseCallbackOutlivesItsWait(owner);
  // The callback is held until the hook has given up on it: its answer comes too late.
  EXPECT_EQ(slow.get(), std::nullopt);
  Release();
  owner.join();
  const int before = wakes;
  auto next = SubmitLater(Key('B'), Long);
  WaitForWakes(before + 1);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(next.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'B'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{false, false}));
}

TEST_F(Exchange, AClosedExchangeAnswersNothingAndCallsNothing) {
  Open();
  EXPECT_EQ(exchange.Submit(Key('A', 11), Short), std::nullopt);  // queued, not drained
  const std::uint64_t opened = g_owner.opened;
  exchange.Close();
  EXPECT_FALSE(exchange.IsOpen());
  exchange.Drain(opened);
  const int wakesBefore = wakes;
  // A closed exchange that made the hook wait would keep this call for 30 s.
  EXPECT_EQ(exchange.Submit(Key('B', 21), Long), std::nullopt);
  EXPECT_EQ(wakes.load(), wakesBefore);
  EXPECT_TRUE(Keys().empty());
  EXPECT_TRUE(Modifiers().empty());
}

TEST_F(Exchange, ClosingReleasesAHookThatWaits) {
  Open();
  auto waiting = SubmitLater(Key('A'), 10 * Long);
  WaitForWakes(1);
  exchange.Close();
  ASSERT_EQ(waiting.wait_for(Long), std::future_status::ready) << "the hook still waits after closing";
  EXPECT_EQ(waiting.get(), std::nullopt);
}

TEST_F(Exchange, AnUnreachableOwnerCostsNoWait) {
  Open(/*reachable=*/false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(exchange.Submit(Key('A'), Long), std::nullopt);
  EXPECT_EQ(wakes.load(), 3);
}

TEST_F(Exchange, AnOwnerThatDoesNotDrainIsWokenOnceNotPerKey) {
  Open();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(exchange.Submit(Key('A' + i), Short), std::nullopt);
  EXPECT_EQ(wakes.load(), 1);
  now += KeyExchange::WakeAgainAfter - 1ms;
  EXPECT_EQ(exchange.Submit(Key('Y'), Short), std::nullopt);
  EXPECT_EQ(wakes.load(), 1);
  now += 1ms;
  EXPECT_EQ(exchange.Submit(Key('Z'), Short), std::nullopt);
  EXPECT_EQ(wakes.load(), 2) << "a wake that went astray is never repeated";
}

TEST_F(Exchange, ADrainForAnEarlierOpeningDoesNothing) {
  Open();
  const std::uint64_t first = g_owner.opened;
  Open();
  ASSERT_NE(first, g_owner.opened);
  auto result = SubmitLater(Key('A', 31), Long);
  WaitForWakes(1);
  exchange.Drain(first);
  EXPECT_TRUE(Keys().empty());
  EXPECT_TRUE(Modifiers().empty());
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(result.get(), std::optional<int32_t>(TENVORA_TAKE));
}

TEST_F(Exchange, CallbacksNeverNestWhenACallbackPumpsMessages) {
  g_owner.nestedDrain = &exchange;
  // A's callback outlives A's wait; the hook goes on with B, and A's callback then
  // pumps messages (drains again) while B is queued.
  std::thread owner;
  auto first = SubmitAWhoseCallbackOutlivesItsWait(owner);
  EXPECT_EQ(first.get(), std::nullopt);
  EXPECT_EQ(exchange.Submit(Key('B', 41), Long), std::nullopt) << "B waited for an owner busy with A";
  Release();
  owner.join();
  // B ran after A had returned, reported as passed.
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'B'}));
  EXPECT_EQ(Passed(), (std::vector<bool>{false, true}));
  EXPECT_EQ(Modifiers(), (std::vector<int>{41}));
  EXPECT_EQ(g_owner.deepest, 1);
}

TEST_F(Exchange, AHungOwnerKeepsOnlyTheNewestEvents) {
  Open();
  const int total = static_cast<int>(KeyExchange::MaxQueued) + 10;
  for (int i = 0; i < total; ++i) exchange.Submit(Key('A', i), 0ms);
  exchange.Drain(g_owner.opened);
  const auto codes = Modifiers();
  ASSERT_EQ(codes.size(), KeyExchange::MaxQueued);
  EXPECT_EQ(codes.front(), 10);
  EXPECT_EQ(codes.back(), total - 1);
  EXPECT_EQ(Keys().size(), KeyExchange::MaxQueued);
}

TEST(AskedKeys, BytesNameKeyDownsAndKeyUpsApart) {
  std::uint8_t downs[TENVORA_KEY_SET_BYTES] = {}, ups[TENVORA_KEY_SET_BYTES] = {};
  downs[65 / 8] |= 1 << (65 % 8);
  ups[255 / 8] |= 1 << (255 % 8);
  const AskedKeys keys = AskedKeys::FromBytes(downs, ups);
  struct Case {
    int vk, message;
    bool asked;
  } cases[] = {{65, 256, true}, {65, 260, true}, {65, 257, false}, {66, 256, false},
               {255, 257, true}, {255, 261, true}, {255, 256, false}, {0, 256, false}};
  for (const auto& c : cases) EXPECT_EQ(keys.Asks(c.vk, c.message), c.asked) << c.vk << " " << c.message;
}

}  // namespace
