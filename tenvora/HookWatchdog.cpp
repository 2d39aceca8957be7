#include "tenvora/HookWatchdog.h"

namespace qorn::tenvora {

namespace {
// Signed difference of two tick counts, right across a wrap.
std::int32_t Since(std::uint32_t later, std::uint32_t earlier) { return static_cast<std::int32_t>(later - earlier); }
}  // namespace

void HookWatchdog::HookInstalled(std::uint32_t now) {
  lastCall_ = now;
  unmatchedRaw_.reset();
}

void HookWatchdog::HookCalled(std::uint32_t now) {
  lastCall_ = now;
  if (unmatchedRaw_ && Since(now, *unmatchedRaw_) >= -static_cast<std::int32_t>(LeadMs)) unmatchedRaw_.reset();
}

void HookWatchdog::RawKey(std::uint32_t eventTime) {
  if (Since(eventTime, lastCall_) <= static_cast<std::int32_t>(LeadMs)) return;  // its hook call came first
  if (!unmatchedRaw_) unmatchedRaw_ = eventTime;
}

bool HookWatchdog::HookMissedKeys(std::uint32_t now) {
  if (!unmatchedRaw_ || Since(now, *unmatchedRaw_) <= static_cast<std::int32_t>(GraceMs)) return false;
  unmatchedRaw_.reset();
  return true;
}

}  // namespace qorn::tenvora
