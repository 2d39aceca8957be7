#include "tenvora/HookWatchdog.h"

namespace qorn::tenvora {

void HookWatchdog::HookInstalled(std::uint32_t now) { lastSeen_ = now; }

void HookWatchdog::HookCalled(std::uint32_t now) { lastSeen_ = now; }

bool HookWatchdog::RawKey(std::uint32_t eventTime) const {
  // Signed difference: a raw event stamped before the last hook call (its hook call
  // came later, or the stamps of the two clocks differ slightly) is no miss.
  const auto late = static_cast<std::int32_t>(eventTime - lastSeen_);
  return late > static_cast<std::int32_t>(GraceMs);
}

}  // namespace qorn::tenvora
