#include "tenvora/KeyValues.h"

#include <algorithm>

namespace qorn::tenvora {

namespace {
constexpr std::int32_t KeyDown = 256, KeyUp = 257, SysKeyDown = 260, SysKeyUp = 261;

// Virtual-key codes of the modifier keys.
constexpr std::uint32_t VkShift = 0x10, VkControl = 0x11, VkMenu = 0x12;
constexpr std::uint32_t VkLWin = 0x5B, VkRWin = 0x5C;
constexpr std::uint32_t VkLShift = 0xA0, VkRShift = 0xA1, VkLControl = 0xA2, VkRControl = 0xA3,
                        VkLMenu = 0xA4, VkRMenu = 0xA5;
constexpr std::uint32_t ScanRightShift = 0x36;
}  // namespace

bool IsKeyMessage(std::int32_t message) {
  return message == KeyDown || message == KeyUp || message == SysKeyDown || message == SysKeyUp;
}

bool IsKeyDownMessage(std::int32_t message) { return message == KeyDown || message == SysKeyDown; }

std::int32_t SecondCode(std::uint32_t scanCode, std::uint32_t flags) {
  return static_cast<std::int32_t>((scanCode & 0x7F) | ((flags & FlagExtended) ? 0x80 : 0));
}

std::int32_t ExtraValue(std::uint32_t flags) { return static_cast<std::int32_t>(flags & 0xFF); }

int ModifierPosition(std::uint32_t vk, std::uint32_t scanCode, std::uint32_t flags) {
  const bool extended = (flags & FlagExtended) != 0;
  switch (vk) {
    case VkLShift: return 1;
    case VkLControl: return 2;
    case VkLWin: return 3;
    case VkLMenu: return 4;
    case VkRMenu: return 5;
    case VkRWin: return 6;
    case VkRControl: return 7;
    case VkRShift: return 8;
    // Injected input may name only the kind of key; the scan code or the extended
    // flag then tells the side, as the keyboard itself would.
    case VkShift: return (scanCode & 0x7F) == ScanRightShift ? 8 : 1;
    case VkControl: return extended ? 7 : 2;
    case VkMenu: return extended ? 5 : 4;
    default: return 0;
  }
}

std::int32_t ModifierCode(std::uint32_t vk, std::uint32_t scanCode, std::uint32_t flags,
                          std::int32_t message) {
  if (!IsKeyMessage(message)) return 0;
  const int position = ModifierPosition(vk, scanCode, flags);
  if (position == 0) return 0;
  return position * 10 + (IsKeyDownMessage(message) ? 1 : 0);
}

std::chrono::milliseconds AnswerWaitBound(std::optional<std::uint32_t> lowLevelHooksTimeoutMs) {
  constexpr std::uint32_t Longest = 150;
  // Zero is no limit the system would apply; it keeps its default then.
  const std::uint32_t limit = lowLevelHooksTimeoutMs.value_or(0) != 0 ? *lowLevelHooksTimeoutMs : 300;
  return std::chrono::milliseconds(std::clamp<std::uint32_t>(limit / 2, 1, Longest));
}

}  // namespace qorn::tenvora
