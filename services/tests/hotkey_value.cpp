// Hot-key values to and from the system's form, their atom names and their texts.
#include <gtest/gtest.h>

#include "services/HotKeyValue.h"

namespace {

TEST(HotKeyValue, SplitsIntoTheSystemsModifiersAndKey) {
  const struct {
    THotKeyValue value;
    unsigned modifiers;
    unsigned key;
  } cases[] = {
      {0x4041, HotKeyModControl, 'A'},                      // Ctrl+A = 16449
      {0xA070, HotKeyModAlt | HotKeyModShift, 0x70},        // Alt+Shift+F1
      {0x10000 | 'E', HotKeyModWin, 'E'},                   // the Windows key
      {0x1E000 | 0x41, 15, 'A'},                            // all four
      {0x3F41 | 0xFFFE0000u, HotKeyModShift, 0x41},  // bits 8-12 and 17-31 play no part
      {0, 0, 0},
  };
  for (const auto& c : cases) {
    const THotKeyParts parts = SplitHotKeyValue(c.value);
    EXPECT_EQ(parts.Modifiers, c.modifiers) << std::hex << c.value;
    EXPECT_EQ(parts.VirtualKey, c.key) << std::hex << c.value;
  }
}

TEST(HotKeyValue, ComesBackFromTheReportedModifiersAndKey) {
  EXPECT_EQ(HotKeyValueFromParts(HotKeyModAlt | HotKeyModShift, 0x70), 41072u);
  EXPECT_EQ(HotKeyValueFromParts(HotKeyModControl, 'A'), 16449u);
  EXPECT_EQ(HotKeyValueFromParts(HotKeyModWin, 'E'), 0x10000u + 'E');
  for (THotKeyValue v : {0x4041u, 0xA070u, 0x1E0ADu, 0x2020u}) {
    const THotKeyParts p = SplitHotKeyValue(v);
    EXPECT_EQ(HotKeyValueFromParts(p.Modifiers, p.VirtualKey), v);
  }
}

TEST(HotKeyValue, AtomNameEndsInTheWholeValue) {
  EXPECT_EQ(HotKeyAtomName(16449), L"HotKeyManagerHotKey16449");
  EXPECT_EQ(HotKeyAtomName(0x10000 + 'E'), L"HotKeyManagerHotKey65605");
}

TEST(HotKeyValue, PrefixPutsCtrlBeforeShiftBeforeAltBeforeWin) {
  const THotKeyModifierNames plain;
  EXPECT_EQ(HotKeyModifierPrefix(0x6041, plain), L"Ctrl+Shift+");
  EXPECT_EQ(HotKeyModifierPrefix(0x1E041, plain), L"Ctrl+Shift+Alt+Win+");
  EXPECT_EQ(HotKeyModifierPrefix(0x41, plain), L"");
  THotKeyModifierNames local{L"Umschalt", L"Strg", L"Alt", L"WIN"};
  EXPECT_EQ(HotKeyModifierPrefix(0x1A041, local), L"Umschalt+Alt+WIN+");
}

TEST(HotKeyValue, NameParameterMarksOnlyTheNavigationKeysExtended) {
  EXPECT_EQ(HotKeyNameParameter('A', 0x1E), 0x1E0000);
  for (unsigned vk : {33u, 34u, 35u, 36u, 37u, 38u, 39u, 40u, 45u, 46u})
    EXPECT_EQ(HotKeyNameParameter(vk, 0x48), 0x1480000) << vk;
  for (unsigned vk : {32u, 41u, 44u, 47u}) EXPECT_EQ(HotKeyNameParameter(vk, 0x48), 0x480000) << vk;
  EXPECT_EQ(HotKeyNameParameter('A', 0), 0);
}

TEST(HotKeyValue, MediaKeysWithoutALayoutNameGetTheirFixedNames) {
  EXPECT_EQ(HotKeyKeyName(173, L""), L"Volume Mute");
  EXPECT_EQ(HotKeyKeyName(166, L"?"), L"Browser Back");
  EXPECT_EQ(HotKeyKeyName(183, L""), L"Start Application 2");
  EXPECT_EQ(HotKeyKeyName(179, L"Play"), L"Play") << "a layout's own name stays";
  EXPECT_EQ(HotKeyKeyName(165, L""), L"") << "below the table";
  EXPECT_EQ(HotKeyKeyName(184, L""), L"") << "above the table";
  EXPECT_EQ(HotKeyKeyName('A', L"A"), L"A");
}

}  // namespace
