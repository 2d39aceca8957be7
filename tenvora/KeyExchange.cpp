#include "tenvora/KeyExchange.h"

#include <utility>

namespace qorn::tenvora {

AskedKeys AskedKeys::FromBytes(const std::uint8_t* downs, const std::uint8_t* ups) {
  AskedKeys keys;
  for (std::size_t vk = 0; vk < 256; ++vk) {
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (vk % 8));
    if (downs && (downs[vk / 8] & bit)) keys.downs.set(vk);
    if (ups && (ups[vk / 8] & bit)) keys.ups.set(vk);
  }
  return keys;
}

bool AskedKeys::Asks(std::int32_t vk, std::int32_t message) const {
  if (vk < 0 || vk > 255) return true;
  const bool down = message == 256 || message == 260;
  return down ? downs.test(static_cast<std::size_t>(vk)) : ups.test(static_cast<std::size_t>(vk));
}

void KeyExchange::SetClock(std::function<Clock::time_point()> now) {
  std::lock_guard lock(mutex_);
  now_ = std::move(now);
}

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
  missedAnswer_ = false;
  urgentWake_ = false;
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

void KeyExchange::SetAskedKeys(std::optional<AskedKeys> keys) {
  std::lock_guard lock(mutex_);
  asked_ = std::move(keys);
}

bool KeyExchange::OwnerUnresponsive(Clock::time_point now) const {
  return missedAnswer_ || (!queue_.empty() && now - queue_.front().queuedAt >= StuckAfter);
}

std::optional<std::int32_t> KeyExchange::Submit(const KeyEvent& event, std::chrono::milliseconds bound) {
  // The bounded wait is the system's limit on the hook, so it always runs on real time.
  const auto deadline = std::chrono::steady_clock::now() + bound;
  std::unique_lock lock(mutex_);
  if (!open_) return std::nullopt;
  const auto now = now_();
  const bool asked = !asked_ || asked_->Asks(event.vk, event.message);
  const bool waits = asked && !OwnerUnresponsive(now);
  const std::uint64_t seq = ++lastSeq_;
  // Only the first event of a batch wakes the owner: a drain goes on until the queue
  // is empty, and an owner that does not drain is not flooded with messages. Now and
  // then it is woken again, in case a wake went astray. A key that waits behind
  // passed keys whose wake may come later wakes the owner at once.
  const bool wakeNeeded = queue_.empty() || now - wokenAt_ >= WakeAgainAfter || (waits && !urgentWake_);
  if (queue_.size() >= MaxQueued) queue_.pop_front();
  queue_.push_back({seq, event, now});
  if (waits) {
    currentSeq_ = seq;
    state_ = State::Queued;
  }
  if (wakeNeeded) {
    wokenAt_ = now;
    if (waits) urgentWake_ = true;
    const Wake wake = wake_;
    const std::uint64_t opened = opened_;
    lock.unlock();
    const bool woken = wake && wake(opened, waits);
    lock.lock();
    if (!woken) {
      // Nobody will drain: do not let this or later keys wait for nothing.
      queue_.clear();
      if (currentSeq_ == seq) state_ = State::Abandoned;
      return std::nullopt;
    }
  }
  if (!waits) return std::nullopt;
  changed_.wait_until(lock, deadline, [&] {
    return currentSeq_ != seq || state_ == State::Answered || state_ == State::Abandoned;
  });
  if (currentSeq_ != seq) return std::nullopt;
  if (state_ == State::Answered) {
    state_ = State::Idle;
    return answer_;
  }
  // Too late: the key passes now, and is reported as passed when the owner drains.
  if (state_ != State::Abandoned) missedAnswer_ = true;
  state_ = State::Abandoned;
  return std::nullopt;
}

void KeyExchange::Drain(std::uint64_t opened) {
  std::unique_lock lock(mutex_);
  if (draining_ || opened != opened_) return;
  draining_ = true;
  urgentWake_ = false;
  // The owner answers again: keys may wait for it again.
  missedAnswer_ = false;
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
    if (key_ && current()) {
      const TKeyCallback key = key_;
      const KeyEvent& e = entry.event;
      if (waitedFor && stillWaited()) {
        lock.unlock();
        const std::int32_t answer = key(e.vk, e.code2, e.extra, e.message);
        lock.lock();
        if (stillWaited()) {
          answer_ = answer;
          state_ = State::Answered;
        }
      } else {
        // The key is through already: the callback hears of it, its answer is moot.
        lock.unlock();
        key(e.vk, e.code2, e.extra | TENVORA_PASSED, e.message);
        lock.lock();
      }
    }
    if (stillWaited()) {
      answer_ = TENVORA_PASS;
      state_ = State::Answered;
    }
    inCallback_ = false;
    changed_.notify_all();
  }
  // Caught up: a wait that ran out meanwhile is history.
  if (current()) missedAnswer_ = false;
  draining_ = false;
}

}  // namespace qorn::tenvora
