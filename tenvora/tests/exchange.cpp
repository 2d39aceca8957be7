// Handing key events from the hook thread to the owner thread: bounded waits, no late
// answers, no event handled twice, modifier changes never lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "tenvora/KeyExchange.h"

namespace {

using namespace std::chrono_literals;
using qorn::tenvora::KeyEvent;
using qorn::tenvora::KeyExchange;

// The callbacks get no context: what they saw and how they behave live here.
struct Owner {
  std::mutex mutex;
  std::vector<int> keys;       // vk of every key callback
  std::vector<int> modifiers;  // code of every modifier callback
  int answer = TENVORA_TAKE;
  std::chrono::milliseconds keyDelay{0};
  KeyExchange* nestedDrain = nullptr;  // drained again from inside the key callback
  std::uint64_t opened = 0;
  int depth = 0, deepest = 0;  // key callbacks running at once
} g_owner;

int32_t TENVORA_CALL OnKey(int32_t vk, int32_t, int32_t, int32_t) {
  {
    std::lock_guard lock(g_owner.mutex);
    g_owner.keys.push_back(vk);
    g_owner.deepest = std::max(g_owner.deepest, ++g_owner.depth);
  }
  std::this_thread::sleep_for(g_owner.keyDelay);
  if (g_owner.nestedDrain) g_owner.nestedDrain->Drain(g_owner.opened);
  std::lock_guard lock(g_owner.mutex);
  --g_owner.depth;
  return g_owner.answer;
}

void TENVORA_CALL OnModifier(int32_t code) {
  std::lock_guard lock(g_owner.mutex);
  g_owner.modifiers.push_back(code);
}

KeyEvent Key(int vk, int modifier = 0) { return KeyEvent{vk, vk, 0x10, 256, modifier}; }

class Exchange : public ::testing::Test {
 protected:
  void SetUp() override {
    std::lock_guard lock(g_owner.mutex);
    g_owner.keys.clear();
    g_owner.modifiers.clear();
    g_owner.answer = TENVORA_TAKE;
    g_owner.keyDelay = 0ms;
    g_owner.nestedDrain = nullptr;
    g_owner.depth = g_owner.deepest = 0;
  }
  void TearDown() override { exchange.Close(); }

  void Open(bool reachable = true) {
    g_owner.opened = exchange.Open(&OnKey, &OnModifier, [this, reachable](std::uint64_t opened) {
      ++wakes;
      wokenWith = opened;
      return reachable;
    });
  }
  // The hook thread's side: one event, answered or not within `bound`.
  std::future<std::optional<int32_t>> SubmitLater(KeyEvent event, std::chrono::milliseconds bound) {
    return std::async(std::launch::async, [this, event, bound] { return exchange.Submit(event, bound); });
  }
  void WaitForWakes(int count) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    while (wakes < count && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(1ms);
    ASSERT_GE(wakes.load(), count);
  }
  static std::vector<int> Keys() {
    std::lock_guard lock(g_owner.mutex);
    return g_owner.keys;
  }
  static std::vector<int> Modifiers() {
    std::lock_guard lock(g_owner.mutex);
    return g_owner.modifiers;
  }

  KeyExchange exchange;
  std::atomic<int> wakes{0};
  std::atomic<std::uint64_t> wokenWith{0};
};

TEST_F(Exchange, TheOwnersAnswerReachesTheHook) {
  for (int32_t answer : {TENVORA_TAKE, TENVORA_PASS}) {
    g_owner.answer = answer;
    Open();
    const int before = wakes;
    auto result = SubmitLater(Key('A', 21), 5s);
    WaitForWakes(before + 1);
    EXPECT_EQ(wokenWith.load(), g_owner.opened);
    exchange.Drain(g_owner.opened);
    ASSERT_EQ(result.get(), std::optional<int32_t>(answer));
  }
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'A'}));
  EXPECT_EQ(Modifiers(), (std::vector<int>{21, 21}));
}

TEST_F(Exchange, AnEventNotDrainedInTimePassesAndIsNeverLookedUpLate) {
  Open();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(exchange.Submit(Key('A', 11), 50ms), std::nullopt);
  EXPECT_EQ(exchange.Submit(Key('B'), 50ms), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  exchange.Drain(g_owner.opened);
  EXPECT_TRUE(Keys().empty());
  EXPECT_EQ(Modifiers(), (std::vector<int>{11}));
  // The exchange still works for the next key.
  auto result = SubmitLater(Key('C'), 5s);
  WaitForWakes(2);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(result.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'C'}));
}

TEST_F(Exchange, ALateAnswerIsDroppedAndTheNextKeyIsAnsweredAgain) {
  Open();
  g_owner.keyDelay = 600ms;
  auto slow = SubmitLater(Key('A'), 150ms);
  WaitForWakes(1);
  const auto start = std::chrono::steady_clock::now();
  std::thread owner([&] { exchange.Drain(g_owner.opened); });
  EXPECT_EQ(slow.get(), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << "the hook waited for the slow callback";
  owner.join();
  g_owner.keyDelay = 0ms;
  auto next = SubmitLater(Key('B'), 5s);
  WaitForWakes(2);
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(next.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'B'}));
}

TEST_F(Exchange, AClosedExchangeAnswersNothingAndCallsNothing) {
  Open();
  EXPECT_EQ(exchange.Submit(Key('A', 11), 10ms), std::nullopt);  // queued, not drained
  const std::uint64_t opened = g_owner.opened;
  exchange.Close();
  EXPECT_FALSE(exchange.IsOpen());
  exchange.Drain(opened);
  const int wakesBefore = wakes;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(exchange.Submit(Key('B', 21), 5s), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "a closed exchange made the hook wait";
  EXPECT_EQ(wakes.load(), wakesBefore);
  EXPECT_TRUE(Keys().empty());
  EXPECT_TRUE(Modifiers().empty());
}

TEST_F(Exchange, ClosingReleasesAHookThatWaits) {
  Open();
  auto waiting = SubmitLater(Key('A'), 10s);
  WaitForWakes(1);
  const auto start = std::chrono::steady_clock::now();
  exchange.Close();
  EXPECT_EQ(waiting.get(), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(Exchange, AnUnreachableOwnerCostsNoWait) {
  Open(/*reachable=*/false);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(exchange.Submit(Key('A'), 5s), std::nullopt);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
  EXPECT_EQ(wakes.load(), 3);
}

TEST_F(Exchange, AnOwnerThatDoesNotDrainIsWokenOnceNotPerKey) {
  Open();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(exchange.Submit(Key('A' + i), 10ms), std::nullopt);
  EXPECT_EQ(wakes.load(), 1);
  std::this_thread::sleep_for(KeyExchange::WakeAgainAfter + 50ms);
  EXPECT_EQ(exchange.Submit(Key('Z'), 10ms), std::nullopt);
  EXPECT_EQ(wakes.load(), 2) << "a wake that went astray is never repeated";
}

TEST_F(Exchange, ADrainForAnEarlierOpeningDoesNothing) {
  Open();
  const std::uint64_t first = g_owner.opened;
  Open();
  ASSERT_NE(first, g_owner.opened);
  auto result = SubmitLater(Key('A', 31), 5s);
  WaitForWakes(1);
  exchange.Drain(first);
  EXPECT_TRUE(Keys().empty());
  EXPECT_TRUE(Modifiers().empty());
  exchange.Drain(g_owner.opened);
  EXPECT_EQ(result.get(), std::optional<int32_t>(TENVORA_TAKE));
}

TEST_F(Exchange, CallbacksNeverNestWhenACallbackPumpsMessages) {
  Open();
  g_owner.nestedDrain = &exchange;
  g_owner.keyDelay = 800ms;
  // A's callback outlives A's wait; the hook goes on with B, and A's callback then
  // pumps messages (drains again) while B waits.
  auto first = SubmitLater(Key('A'), 200ms);
  WaitForWakes(1);
  std::thread owner([&] { exchange.Drain(g_owner.opened); });
  EXPECT_EQ(first.get(), std::nullopt);
  auto second = SubmitLater(Key('B', 41), 3s);
  owner.join();
  // B ran after A had returned, still in time for its wait.
  EXPECT_EQ(second.get(), std::optional<int32_t>(TENVORA_TAKE));
  EXPECT_EQ(Keys(), (std::vector<int>{'A', 'B'}));
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
  EXPECT_TRUE(Keys().empty());
}

}  // namespace
