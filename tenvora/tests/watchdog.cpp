// Noticing a keyboard hook that the system removed: raw keys without hook calls.
#include <gtest/gtest.h>

#include <vector>

#include "tenvora/HookWatchdog.h"

namespace {

using qorn::tenvora::HookWatchdog;

struct Step {
  char kind;  // 'i' installed, 'h' hook called, 'r' raw key, 'c' check
  std::uint32_t time;
  bool missed = false;  // for 'c': the watchdog asks for a new hook
};

TEST(HookWatchdog, AsksForANewHookOnlyWhenRawKeysWentWithoutHookCalls) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"hook calls before their raw keys",
       {{'i', 1000}, {'h', 5000}, {'r', 5001}, {'h', 9000}, {'r', 9150}, {'c', 12000, false}}},
      {"raw keys before their hook calls, after a long pause",
       {{'i', 0}, {'r', 600000}, {'h', 600003}, {'c', 602000, false}, {'r', 700000}, {'h', 700200}, {'c', 702000, false}}},
      {"the hook call waited for an answer before the raw key came", {{'i', 0}, {'h', 8000}, {'r', 8290}, {'c', 10000, false}}},
      {"a raw key with no hook call", {{'i', 0}, {'h', 2000}, {'r', 5000}, {'c', 5900, false}, {'c', 6001, true}}},
      {"a hook call long before the raw key is not its call", {{'i', 0}, {'h', 2000}, {'r', 2400}, {'c', 3500, true}}},
      {"asked once, then quiet until keys are missed again",
       {{'i', 0}, {'r', 5000}, {'c', 6500, true}, {'c', 8000, false}, {'r', 9000}, {'c', 10500, true}}},
      {"installed again: the old miss is forgotten", {{'i', 0}, {'r', 5000}, {'i', 5500}, {'c', 7000, false}}},
      {"the tick count wraps",
       {{'i', 0xFFFFFF00u}, {'h', 0xFFFFFFF0u}, {'r', 0x10u}, {'c', 0x800u, false}, {'r', 0x2000u},
        {'c', 0x2500u, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HookWatchdog watchdog;
    for (const auto& s : c.steps) {
      if (s.kind == 'i') watchdog.HookInstalled(s.time);
      if (s.kind == 'h') watchdog.HookCalled(s.time);
      if (s.kind == 'r') watchdog.RawKey(s.time);
      if (s.kind == 'c') {
        EXPECT_EQ(watchdog.HookMissedKeys(s.time), s.missed) << "check at " << s.time;
      }
    }
  }
}

}  // namespace
