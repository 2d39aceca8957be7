#include "vcl/Clock.h"

#include <chrono>

namespace {

class TSteadyClock final : public TClock {
 public:
  std::uint64_t NowMs() const override {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
};

std::atomic<TClock*>& Installed() {
  static std::atomic<TClock*> installed{nullptr};
  return installed;
}

}  // namespace

TClock& SystemClock() {
  static TSteadyClock clock;
  return clock;
}

TClock& CurrentClock() {
  TClock* c = Installed().load(std::memory_order_acquire);
  return c ? *c : SystemClock();
}

TClockOverride::TClockOverride(TClock& clock) : previous_(Installed().exchange(&clock, std::memory_order_acq_rel)) {}

TClockOverride::~TClockOverride() { Installed().store(previous_, std::memory_order_release); }
