// The values the hook hands to the callbacks, from the system's raw key fields.
#include <gtest/gtest.h>

#include "tenvora/KeyValues.h"

namespace {

using namespace qorn::tenvora;

TEST(KeyValues, SecondCodeIsTheScanCodeWithTheExtendedBit) {
  struct Case {
    std::uint32_t scan, flags;
    std::int32_t code2;
  } cases[] = {
      {0x1C, 0x00, 28},          // Enter
      {0x1C, 0x01, 0x9C},        // keypad Enter
      {0x22, 0x01 | 0x10, 162},  // Play/Pause, injected: only the extended bit counts
      {0x22, 0x80, 0x22},        // a key-up keeps its code
      {0x7F, 0x00, 0x7F},
      {0x21D, 0x00, 0x1D},       // the fake LCtrl of AltGr carries 0x200 in the scan code
      {0xF1, 0x00, 0x71},        // beyond seven bits: folded, never mistaken for extended
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.scan << " " << c.flags);
    EXPECT_EQ(SecondCode(c.scan, c.flags), c.code2);
  }
}

TEST(KeyValues, ExtraIsTheLowFlagByteAndNeverAKeyMessage) {
  for (std::uint32_t flags = 0; flags < 0x400; ++flags) {
    const std::int32_t extra = ExtraValue(flags);
    EXPECT_EQ(extra, static_cast<std::int32_t>(flags & 0xFF));
    EXPECT_FALSE(IsKeyMessage(extra)) << flags;
  }
}

TEST(KeyValues, KeyMessages) {
  struct Case {
    std::int32_t message;
    bool key, down;
  } cases[] = {{256, true, true},  {257, true, false}, {260, true, true}, {261, true, false},
               {258, false, false}, {0, false, false}, {512, false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsKeyMessage(c.message), c.key) << c.message;
    EXPECT_EQ(IsKeyDownMessage(c.message), c.down) << c.message;
  }
}

TEST(KeyValues, ModifierCodesFollowTheOrderOfTheModifierString) {
  struct Case {
    std::uint32_t vk, scan, flags;
    std::int32_t message, code;
  } cases[] = {
      {0xA0, 0x2A, 0x00, 256, 11}, {0xA0, 0x2A, 0x80, 257, 10},  // LShift
      {0xA2, 0x1D, 0x00, 256, 21}, {0x5B, 0x5B, 0x01, 256, 31},  // LCtrl, LWin
      {0xA4, 0x38, 0x20, 260, 41}, {0xA4, 0x38, 0x80, 261, 40},  // LAlt as a system key
      {0xA5, 0x38, 0x01, 256, 51}, {0x5C, 0x5C, 0x01, 257, 60},  // RAlt, RWin
      {0xA3, 0x1D, 0x01, 256, 71}, {0xA1, 0x36, 0x00, 256, 81},  // RCtrl, RShift
      // Sideless codes: the scan code or the extended bit gives the side.
      {0x10, 0x2A, 0x00, 256, 11}, {0x10, 0x36, 0x00, 257, 80},
      {0x11, 0x1D, 0x00, 256, 21}, {0x11, 0x1D, 0x01, 256, 71},
      {0x12, 0x38, 0x00, 260, 41}, {0x12, 0x38, 0x01, 260, 51},
      // Not modifiers, or not key messages.
      {'A', 0x1E, 0x00, 256, 0},   {0x14, 0x3A, 0x00, 256, 0},  // Caps Lock is no modifier
      {0xA0, 0x2A, 0x00, 258, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "vk " << c.vk << " message " << c.message);
    EXPECT_EQ(ModifierCode(c.vk, c.scan, c.flags, c.message), c.code);
  }
}

TEST(KeyValues, AnswerWaitStaysWellUnderTheSystemLimit) {
  struct Case {
    std::optional<std::uint32_t> limit;
    long long waitMs;
  } cases[] = {{std::nullopt, 150}, {300, 150}, {1000, 150}, {200, 100}, {100, 50}, {5, 2}, {1, 1}, {0, 150}};
  for (const auto& c : cases) {
    EXPECT_EQ(AnswerWaitBound(c.limit).count(), c.waitMs) << c.limit.value_or(9999);
  }
}

}  // namespace
