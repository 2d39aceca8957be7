#include "tenvora/KeyExchange.h"

#include <utility>

namespace qorn::tenvora {

void KeyExchange::AbandonCurrent() {
  if (state_ == State::Queued || state_ == State::Claimed) state_ = State::Abandoned;
  changed_.notify_all();
}

std::uint64_t KeyExchange::Open(TKeyCallback key, TModifierCallback modifier, Wake wake) {
  std::lock_guard lock(mutex_);
  key_ = key;
  modifier_ = modifier;
  wake_ = std::move(wake);
  queue_.clear();
  AbandonCurrent();
  open_ = true;
  return ++opened_;
}

void KeyExchange::Close() {
  std::lock_guard lock(mutex_);
  open_ = false;
  key_ = nullptr;
  modifier_ = nullptr;
  wake_ = nullptr;
  queue_.clear();
  AbandonCurrent();
}

void KeyExchange::WaitIdle() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !inCallback_; });
}

bool KeyExchange::IsOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

std::optional<std::int32_t> KeyExchange::Submit(const KeyEvent& event, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  std::unique_lock lock(mutex_);
  if (!open_) return std::nullopt;
  const std::uint64_t seq = ++lastSeq_;
  // Only the first event of a batch wakes the owner: a drain goes on until the queue
  // is empty, and an owner that does not drain is not flooded with messages. Now and
  // then it is woken again, in case a wake went astray.
  const auto now = std::chrono::steady_clock::now();
  const bool wakeNeeded = queue_.empty() || now - wokenAt_ >= WakeAgainAfter;
  if (queue_.size() >= MaxQueued) queue_.pop_front();
  queue_.push_back({seq, event});
  currentSeq_ = seq;
  state_ = State::Queued;
  if (wakeNeeded) {
    wokenAt_ = now;
    const Wake wake = wake_;
    const std::uint64_t opened = opened_;
    lock.unlock();
    const bool woken = wake && wake(opened);
    lock.lock();
    if (!woken) {
      // Nobody will drain: do not let this or later keys wait for nothing.
      queue_.clear();
      if (currentSeq_ == seq) state_ = State::Abandoned;
      return std::nullopt;
    }
  }
  changed_.wait_until(lock, deadline, [&] {
    return currentSeq_ != seq || state_ == State::Answered || state_ == State::Abandoned;
  });
  if (currentSeq_ != seq) return std::nullopt;
  if (state_ == State::Answered) {
    state_ = State::Idle;
    return answer_;
  }
  state_ = State::Abandoned;
  return std::nullopt;
}

void KeyExchange::Drain(std::uint64_t opened) {
  std::unique_lock lock(mutex_);
  if (draining_ || opened != opened_) return;
  draining_ = true;
  const auto current = [&] { return open_ && opened == opened_; };
  while (current() && !queue_.empty()) {
    const Entry entry = queue_.front();
    queue_.pop_front();
    const bool waitedFor = entry.seq == currentSeq_ && state_ == State::Queued;
    if (waitedFor) state_ = State::Claimed;
    const auto stillWaited = [&] { return current() && entry.seq == currentSeq_ && state_ == State::Claimed; };

    inCallback_ = true;
    if (entry.event.modifier != 0 && modifier_ && current()) {
      const TModifierCallback modifier = modifier_;
      lock.unlock();
      modifier(entry.event.modifier);
      lock.lock();
    }
    // The modifier callback may have taken long, or closed the exchange.
    if (waitedFor && key_ && stillWaited()) {
      const TKeyCallback key = key_;
      lock.unlock();
      const std::int32_t answer = key(entry.event.vk, entry.event.code2, entry.event.extra, entry.event.message);
      lock.lock();
      if (stillWaited()) {
        answer_ = answer;
        state_ = State::Answered;
      }
    } else if (stillWaited()) {
      answer_ = TENVORA_PASS;
      state_ = State::Answered;
    }
    inCallback_ = false;
    changed_.notify_all();
  }
  draining_ = false;
}

}  // namespace qorn::tenvora
