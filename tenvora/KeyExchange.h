// Hands key events from the hook thread to the thread that owns the callbacks and
// brings the answer back, with a bounded wait on the hook's side.
//
// The hook thread submits one event at a time and waits. The owner thread, woken by
// `wake` (a sent window message in the library), drains the events in order: a
// modifier change always reaches the modifier callback; the key callback runs only
// for the event the hook still waits for. An event whose wait ran out has passed
// through already and is never looked up late; an answer that comes too late is
// dropped. Nothing here blocks the owner thread.
#pragma once
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

class KeyExchange {
 public:
  // Asks the owner thread to call Drain(opened) soon; false when it cannot be reached.
  using Wake = std::function<bool(std::uint64_t opened)>;

  // An owner that was woken but has not drained for this long is woken again.
  static constexpr std::chrono::milliseconds WakeAgainAfter{500};

  // Events kept for an owner thread that does not drain (it hangs or is gone); the
  // oldest go first.
  static constexpr std::size_t MaxQueued = 1024;

  // Starts (or restarts with new callbacks) handing events over. Events of before
  // are dropped. Returns the number that the owner passes to Drain, so that a wake
  // meant for an owner of before drains nothing.
  std::uint64_t Open(TKeyCallback key, TModifierCallback modifier, Wake wake);
  // Stops: no callback starts after this returns. A callback running on another
  // thread may still be finishing; WaitIdle waits for it.
  void Close();
  void WaitIdle();
  bool IsOpen() const;

  // Hook thread: the owner's answer, or none when closed, unreachable or too late.
  std::optional<std::int32_t> Submit(const KeyEvent& event, std::chrono::milliseconds bound);

  // Owner thread: runs the callbacks of the waiting events, in order. A call made
  // from inside a callback (the callback pumped messages) returns at once; the outer
  // call goes on with the rest, so callbacks never nest.
  void Drain(std::uint64_t opened);

 private:
  enum class State { Idle, Queued, Claimed, Answered, Abandoned };
  struct Entry {
    std::uint64_t seq;
    KeyEvent event;
  };

  void AbandonCurrent();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  std::uint64_t opened_ = 0;
  bool draining_ = false;
  bool inCallback_ = false;
  TKeyCallback key_ = nullptr;
  TModifierCallback modifier_ = nullptr;
  Wake wake_;
  std::deque<Entry> queue_;
  std::uint64_t lastSeq_ = 0;
  std::chrono::steady_clock::time_point wokenAt_{};
  // The event the hook thread waits for, and where it stands.
  std::uint64_t currentSeq_ = 0;
  State state_ = State::Idle;
  std::int32_t answer_ = TENVORA_PASS;
};

}  // namespace qorn::tenvora
