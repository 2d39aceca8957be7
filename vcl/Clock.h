// The program's one clock: monotonic 64-bit milliseconds from an arbitrary start.
//
// Rule: everything that measures or waits for time (display fades and holds, key
// repeat, watchdogs, delays, timeouts that decide behaviour) reads ClockNowMs(),
// never GetTickCount, timeGetTime or std::chrono directly. Tests install a
// TManualClock through TClockOverride and move time forward by hand, so no test
// depends on how fast the machine is.
//
// The installed clock is read from any thread; install and remove it only while no
// other thread of the test reads it (the override is a scope guard).
#pragma once
#include <atomic>
#include <cstdint>

class TClock {
 public:
  virtual ~TClock() = default;
  virtual std::uint64_t NowMs() const = 0;
};

// The system's monotonic clock.
TClock& SystemClock();

// The clock in use: the system clock unless a test installed another.
TClock& CurrentClock();
inline std::uint64_t ClockNowMs() { return CurrentClock().NowMs(); }

// A clock that moves only when told to.
class TManualClock final : public TClock {
 public:
  explicit TManualClock(std::uint64_t startMs = 1'000'000) : now_(startMs) {}
  std::uint64_t NowMs() const override { return now_.load(std::memory_order_acquire); }
  void Set(std::uint64_t ms) { now_.store(ms, std::memory_order_release); }
  void Advance(std::uint64_t ms) { now_.fetch_add(ms, std::memory_order_acq_rel); }

 private:
  std::atomic<std::uint64_t> now_;
};

// Installs clock for the lifetime of the guard, restoring the previous one after.
class TClockOverride {
 public:
  explicit TClockOverride(TClock& clock);
  ~TClockOverride();
  TClockOverride(const TClockOverride&) = delete;
  TClockOverride& operator=(const TClockOverride&) = delete;

 private:
  TClock* previous_;
};
