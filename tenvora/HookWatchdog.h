// Notices that the system has removed the keyboard hook without a word, as Windows
// does with a hook that overran LowLevelHooksTimeout too often. Raw keyboard input
// reaches the library after the low-level hooks have seen the same key, so a raw key
// long after the hook's last call means the hook no longer sees the keyboard.
#pragma once
#include <cstdint>

namespace qorn::tenvora {

class HookWatchdog {
 public:
  // Longest time between a key's hook call and its raw input, answer wait included.
  static constexpr std::uint32_t GraceMs = 1000;

  // Times are tick counts in milliseconds (they wrap after 49 days; differences do not).
  void HookInstalled(std::uint32_t now);
  void HookCalled(std::uint32_t now);
  // A raw key event stamped at `eventTime`: true when the hook missed it, and so has to
  // be installed again.
  bool RawKey(std::uint32_t eventTime) const;

 private:
  std::uint32_t lastSeen_ = 0;
};

}  // namespace qorn::tenvora
