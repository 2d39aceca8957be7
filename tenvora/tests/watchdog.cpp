// Noticing a keyboard hook that the system removed: raw keys the hook did not see.
#include <gtest/gtest.h>

#include <vector>

#include "tenvora/HookWatchdog.h"

namespace {

using qorn::tenvora::HookWatchdog;

struct Step {
  char kind;  // 'i' installed, 'h' hook called, 'r' raw key
  std::uint32_t time;
  bool reinstall;  // for 'r': the watchdog asks for a new hook
};

TEST(HookWatchdog, AsksForANewHookOnlyForRawKeysTheHookMissed) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"every raw key follows its hook call",
       {{'i', 1000, false}, {'h', 5000, false}, {'r', 5001, false}, {'h', 9000, false}, {'r', 9150, false}}},
      {"a long pause, then a key the hook saw", {{'i', 0, false}, {'h', 600000, false}, {'r', 600002, false}}},
      {"keys go on after the hook's last call",
       {{'i', 0, false}, {'h', 2000, false}, {'r', 2001, false}, {'r', 2900, false}, {'r', 3500, true}}},
      {"no hook call since it was installed", {{'i', 100, false}, {'r', 900, false}, {'r', 1101, true}}},
      {"installed again: the next keys are fine", {{'i', 0, false}, {'r', 5000, true}, {'i', 5000, false}, {'r', 5400, false}}},
      {"a raw stamp a little before the hook call", {{'i', 0, false}, {'h', 8000, false}, {'r', 7990, false}}},
      {"the tick count wraps",
       {{'i', 0xFFFFFF00u, false}, {'h', 0xFFFFFFF0u, false}, {'r', 0x10u, false}, {'r', 0x500u, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HookWatchdog watchdog;
    for (const auto& s : c.steps) {
      if (s.kind == 'i') watchdog.HookInstalled(s.time);
      if (s.kind == 'h') watchdog.HookCalled(s.time);
      if (s.kind == 'r') {
        EXPECT_EQ(watchdog.RawKey(s.time), s.reinstall) << "raw key at " << s.time;
      }
    }
  }
}

}  // namespace
