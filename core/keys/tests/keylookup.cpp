#include "core/keys/KeyLookup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct MatchCase {
  const char* record;
  const char* event;
  bool sided;
  bool sideAgnostic;
};

TEST(ModifiersMatch, InBothOptionStates) {
  const MatchCase cases[] = {
      {"00000000", "00000000", true, true},
      {"01000000", "01000000", true, true},
      {"01000000", "00000010", false, true},   // left Ctrl binding, right Ctrl held
      {"00000010", "01000010", false, true},   // both Ctrls held
      {"01000000", "01010000", false, false},  // an extra Alt
      {"01010000", "01000000", false, false},  // a missing Alt
      {"10000000", "00000001", false, true},
      {"00100000", "00000100", false, true},
      {"00010000", "00001000", false, true},
      {"11110000", "00001111", false, true},
      {"00000000", "10000000", false, false},
      // Damaged states never match, even against themselves.
      {"", "", false, false},
      {"0100000", "0100000", false, false},
      {"010000000", "010000000", false, false},
      {"0100000x", "0100000x", false, false},
      {"01000000", "0100000", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ModifiersMatch(c.record, c.event, false), c.sided) << c.record << " / " << c.event;
    EXPECT_EQ(ModifiersMatch(c.record, c.event, true), c.sideAgnostic) << c.record << " / " << c.event;
  }
}

TKeyRecord binding(const char* name, std::uint8_t vk, std::int32_t msg = KeyMsgDown,
                   const char* modifiers = "00000000") {
  TKeyRecord r;
  r.Name = name;
  r.Vk = vk;
  r.Code2 = 0x30;
  r.Msg = msg;
  r.Modifiers = modifiers;
  r.ActionCode = 21;
  return r;
}

TKeyEvent keyDown(std::uint8_t vk, const char* modifiers = "00000000") {
  TKeyEvent e;
  e.Vk = vk;
  e.Code2 = 0x30;
  e.Msg = KeyMsgDown;
  e.Modifiers = modifiers;
  return e;
}

std::vector<std::string> names(const TLookupResult& r) {
  std::vector<std::string> out;
  for (const auto& m : r.Matches) out.push_back(m.Name.str());
  return out;
}

TKeyTable table(std::initializer_list<TKeyRecord> records) {
  TKeyTable t;
  for (const auto& r : records) t.Add(r);
  return t;
}

TEST(BindingMatches, EveryComparedFieldMatters) {
  const TKeyRecord base = binding("b", 176);
  const TKeyEvent event = keyDown(176);
  ASSERT_TRUE(BindingMatches(base, event, false));

  struct Change {
    const char* what;
    void (*apply)(TKeyRecord&);
    bool matches;
  };
  const Change changes[] = {
      {"second code", [](TKeyRecord& r) { r.Code2 = 0x31; }, false},
      {"virtual key", [](TKeyRecord& r) { r.Vk = 177; }, false},
      {"message", [](TKeyRecord& r) { r.Msg = KeyMsgUp; }, false},
      {"modifiers", [](TKeyRecord& r) { r.Modifiers = "01000000"; }, false},
      {"plug-in name", [](TKeyRecord& r) { r.PluginKeyName = "KEY_1"; }, false},
      {"disabled", [](TKeyRecord& r) { r.Disabled = 1; }, false},
      {"third value", [](TKeyRecord& r) { r.Extra = 5; }, true},
      {"name", [](TKeyRecord& r) { r.Name = "other"; }, true},
  };
  for (const auto& c : changes) {
    TKeyRecord r = base;
    c.apply(r);
    EXPECT_EQ(BindingMatches(r, event, false), c.matches) << c.what;
  }
}

TEST(BindingMatches, PluginNamesAreCaseSensitive) {
  TKeyRecord r = binding("ir", 1, 0);
  r.Code2 = 1;
  r.PluginKeyName = "KEY_POWER";
  TKeyEvent e;
  e.Vk = 1;
  e.Code2 = 1;
  e.Msg = 0;
  e.PluginKeyName = "KEY_POWER";
  EXPECT_TRUE(BindingMatches(r, e, false));
  e.PluginKeyName = "key_power";
  EXPECT_FALSE(BindingMatches(r, e, false));
}

struct LookupCase {
  const char* what;
  bool perProgramActive;
  TLookupOptions options;
  std::vector<std::string> expected;
};

TEST(GetAct, PerProgramShadowingFirstMatchAndMultiAction) {
  TKeyRecord disabled = binding("g-disabled", 176);
  disabled.Disabled = 1;
  const TKeyTable global = table({binding("g-other", 177), disabled, binding("g1", 176),
                                  binding("g2", 176), binding("g3", 176)});
  const TKeyTable perProgram = table({binding("p-other", 175), binding("p1", 176), binding("p2", 176)});

  const LookupCase cases[] = {
      {"global, first match", false, {}, {"g1"}},
      {"global, multi-action in table order", false, {false, true, false}, {"g1", "g2", "g3"}},
      {"per-program shadows global", true, {}, {"p1"}},
      {"per-program shadows global with multi-action", true, {false, true, false}, {"p1", "p2"}},
  };
  for (const auto& c : cases) {
    const auto r = getact(c.perProgramActive ? &perProgram : nullptr, global, keyDown(176), c.options);
    EXPECT_TRUE(r.Found) << c.what;
    EXPECT_EQ(names(r), c.expected) << c.what;
  }
}

TEST(GetAct, FallsBackToGlobalWhenThePerProgramTableHasNoMatch) {
  const TKeyTable global = table({binding("g1", 176)});
  const TKeyTable perProgram = table({binding("p1", 177)});
  const auto r = getact(&perProgram, global, keyDown(176), {});
  EXPECT_EQ(names(r), std::vector<std::string>{"g1"});
}

TEST(GetAct, ADisabledBindingGivesWayToTheNextOne) {
  TKeyRecord off = binding("off", 176);
  off.Disabled = 1;
  EXPECT_EQ(names(getact(nullptr, table({off, binding("on", 176)}), keyDown(176), {})),
            std::vector<std::string>{"on"});
  const auto none = getact(nullptr, table({off}), keyDown(176), {});
  EXPECT_FALSE(none.Found);
  EXPECT_TRUE(none.Matches.empty());
}

TEST(GetAct, OnlySlotsBelowTheCountAreSearched) {
  TKeyTable t = table({binding("g1", 177)});
  t.Slots[5] = binding("stale", 176);
  EXPECT_FALSE(getact(nullptr, t, keyDown(176), {}).Found);
}

TEST(GetAct, MatchesAreCopiesWithTheirOwnParameters) {
  TKeyRecord a = binding("a", 176);
  a.Params = "first";
  TKeyRecord b = binding("b", 176);
  b.Params = "second";
  TKeyTable t = table({a, b});
  const auto r = getact(nullptr, t, keyDown(176), {false, true, false});
  t.Clear();  // the table may be reloaded before the actions run
  ASSERT_EQ(r.Matches.size(), 2u);
  EXPECT_EQ(r.Matches[0].Params.str(), "first");
  EXPECT_EQ(r.Matches[1].Params.str(), "second");
}

struct ChordCase {
  std::uint8_t vk;
  const char* modifiers;
  bool optmb;
  bool found;
};

TEST(GetAct, RavodOzezadoriChordsAreTakenWithoutABinding) {
  const TKeyTable empty;
  const ChordCase cases[] = {
      {'0', "01000010", true, true}, {'9', "00100100", true, true}, {'5', "01000010", false, false},
      {'A', "01000010", true, false}, {'5', "01000000", true, false}, {'5', "00100000", true, false},
  };
  for (const auto& c : cases) {
    const auto r = getact(nullptr, empty, keyDown(c.vk, c.modifiers), {false, false, c.optmb});
    EXPECT_EQ(r.Found, c.found) << c.vk << " " << c.modifiers << " " << c.optmb;
    EXPECT_TRUE(r.Matches.empty());
  }
}

}  // namespace
