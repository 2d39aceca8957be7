// What the hook reports to the callbacks for one low-level key event: the second
// code, the extra value and the modifier code, from the system's raw fields. Kept
// free of Win32 so the rules stand on their own (see Tenvora.h for their meaning).
#pragma once
#include <chrono>
#include <cstdint>
#include <optional>

namespace qorn::tenvora {

// The flag bits of a low-level key event that the values below use.
inline constexpr std::uint32_t FlagExtended = 0x01;
inline constexpr std::uint32_t FlagInjected = 0x10;
inline constexpr std::uint32_t FlagUp = 0x80;

// True for the four keyboard messages a key event can carry (256, 257, 260, 261).
bool IsKeyMessage(std::int32_t message);
bool IsKeyDownMessage(std::int32_t message);

// Scan code's low seven bits, 0x80 added for an extended key.
std::int32_t SecondCode(std::uint32_t scanCode, std::uint32_t flags);

// The low byte of the flags: never one of the key messages.
std::int32_t ExtraValue(std::uint32_t flags);

// 1..8 in the order LShift, LCtrl, LWin, LAlt, RAlt, RWin, RCtrl, RShift; 0 for a key
// that is no modifier.
int ModifierPosition(std::uint32_t vk, std::uint32_t scanCode, std::uint32_t flags);

// n*10+1 for a key-down of modifier n, n*10 for its key-up, 0 when there is no change
// to report (not a modifier, or not a key message).
std::int32_t ModifierCode(std::uint32_t vk, std::uint32_t scanCode, std::uint32_t flags,
                          std::int32_t message);

// How long the hook waits for an answer, given the system's LowLevelHooksTimeout in
// milliseconds (none or 0 when unset, so the system uses 300 ms): half the limit, at
// most 150 ms, so a slow answer costs a key, never the hook.
std::chrono::milliseconds AnswerWaitBound(std::optional<std::uint32_t> lowLevelHooksTimeoutMs);

}  // namespace qorn::tenvora
