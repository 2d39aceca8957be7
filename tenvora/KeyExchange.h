// Hands key events from the hook thread to the thread that owns the callbacks and,
// for the keys the owner may take, brings the answer back within a bounded wait.
//
// The hook thread submits one event at a time. A key the owner asked about waits for
// its answer; any other key passes at once and only joins the queue, and so does a
// key while the owner is unresponsive (it let a wait run out, or left an event
// undrained for StuckAfter). The owner thread, woken by `wake` (a sent window message
// in the library), drains the queue in order: a modifier change always reaches the
// modifier callback, and every key reaches the key callback exactly once, marked with
// TENVORA_PASSED unless the hook still waits for its answer. An answer that comes too
// late is dropped. Nothing here blocks the owner thread.
#pragma once
#include <bitset>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

#include "tenvora/Tenvora.h"

namespace qorn::tenvora {

struct KeyEvent {
  std::int32_t vk = 0;
  std::int32_t code2 = 0;
  std::int32_t extra = 0;
  std::int32_t message = 0;
  std::int32_t modifier = 0;  // modifier callback code, 0 when none
};

// The keys the owner may take, key-downs and key-ups apart.
struct AskedKeys {
  std::bitset<256> downs;
  std::bitset<256> ups;
  // From the two byte sets of SetKeysToAsk.
  static AskedKeys FromBytes(const std::uint8_t* downs, const std::uint8_t* ups);
  bool Asks(std::int32_t vk, std::int32_t message) const;
};

class KeyExchange {
 public:
  using Clock = std::chrono::steady_clock;
  // Asks the owner thread to call Drain(opened); false when it cannot be reached.
  // Urgent: a key waits for the answer, so at once. Otherwise only keys that passed
  // are queued, and the owner may be woken a little later, out of the way of the
  // keys that are on their way through the hooks right now.
  using Wake = std::function<bool(std::uint64_t opened, bool urgent)>;

  // An owner that was woken but has not drained for this long is woken again.
  static constexpr std::chrono::milliseconds WakeAgainAfter{500};
  // An owner that left an event undrained this long is stuck: no key waits for it.
  // An owner that is only slow (a build running beside it keeps its thread waiting
  // for a CPU for a tenth of a second and more) must still get the keys it asked
  // for; one that hangs costs at most one bounded wait before the missed answer
  // lets every key pass.
  static constexpr std::chrono::milliseconds StuckAfter{500};

  // Events kept for an owner thread that does not drain (it hangs or is gone); the
  // oldest go first.
  static constexpr std::size_t MaxQueued = 1024;

  // Tests drive the times the exchange judges by (not the hook's bounded wait).
  void SetClock(std::function<Clock::time_point()> now);

  // Starts (or restarts with new callbacks) handing events over. Events of before
  // are dropped. Returns the number that the owner passes to Drain, so that a wake
  // meant for an owner of before drains nothing.
  std::uint64_t Open(TKeyCallback key, TModifierCallback modifier, Wake wake);
  // Stops: no callback starts after this returns. A callback running on another
  // thread may still be finishing; WaitIdle waits for it.
  void Close();
  void WaitIdle();
  bool IsOpen() const;

  // Which keys wait for an answer; none given (the start): every key.
  void SetAskedKeys(std::optional<AskedKeys> keys);

  // Hook thread: the owner's answer, or none when the key passes (not asked about,
  // owner unresponsive, closed, unreachable or too late).
  std::optional<std::int32_t> Submit(const KeyEvent& event, std::chrono::milliseconds bound);

  // Owner thread: runs the callbacks of the queued events, in order. A call made
  // from inside a callback (the callback pumped messages) returns at once; the outer
  // call goes on with the rest, so callbacks never nest.
  void Drain(std::uint64_t opened);

 private:
  enum class State { Idle, Queued, Claimed, Answered, Abandoned };
  struct Entry {
    std::uint64_t seq;
    KeyEvent event;
    Clock::time_point queuedAt;
  };

  void AbandonCurrent();
  bool OwnerUnresponsive(Clock::time_point now) const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::function<Clock::time_point()> now_ = [] { return Clock::now(); };
  bool open_ = false;
  std::uint64_t opened_ = 0;
  bool draining_ = false;
  bool inCallback_ = false;
  TKeyCallback key_ = nullptr;
  TModifierCallback modifier_ = nullptr;
  Wake wake_;
  std::optional<AskedKeys> asked_;
  std::deque<Entry> queue_;
  std::uint64_t lastSeq_ = 0;
  Clock::time_point wokenAt_{};
  // Woken urgently since the last drain began: a waiting key need not wake again.
  bool urgentWake_ = false;
  // Set when a wait ran out; cleared when the owner drains again.
  bool missedAnswer_ = false;
  // The event the hook thread waits for, and where it stands.
  std::uint64_t currentSeq_ = 0;
  State state_ = State::Idle;
  std::int32_t answer_ = TENVORA_PASS;
};

}  // namespace qorn::tenvora
