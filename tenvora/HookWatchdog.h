// Notices that the system has removed the keyboard hook without a word, as Windows
// does with a hook that overran LowLevelHooksTimeout too often: raw keyboard input
// still arrives, but the hook is not called for it any more. The raw event and the
// hook call of one key come close together, in either order (the system may post
// the raw input before or after the hooks have run), so a raw key counts as missed
// only when no hook call comes near it within a grace time.
#pragma once
#include <cstdint>
#include <optional>

namespace qorn::tenvora {

class HookWatchdog {
 public:
  // How long a raw key may wait for its hook call.
  static constexpr std::uint32_t GraceMs = 1000;
  // How far before the raw event a hook call may lie and still be that key's: the
  // answer wait comes in between when the hooks run first.
  static constexpr std::uint32_t LeadMs = 300;

  // Times are tick counts in milliseconds (they wrap after 49 days; differences do not).
  void HookInstalled(std::uint32_t now);
  void HookCalled(std::uint32_t now);
  // A raw key event stamped at `eventTime`.
  void RawKey(std::uint32_t eventTime);
  // Called now and then: true when a raw key went without its hook call, and the hook
  // has to be installed again.
  bool HookMissedKeys(std::uint32_t now);

 private:
  std::uint32_t lastCall_ = 0;
  std::optional<std::uint32_t> unmatchedRaw_;  // the oldest raw key not matched yet
};

}  // namespace qorn::tenvora
