// Hot-key values: the one form in which a global hot key travels between the
// settings, the hot-key dialog and the hot-key manager.
//
// A value is the 16-bit shortcut word of a hot-key edit (low byte the virtual key,
// 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt) widened to 32 bits, with 0x10000 for the
// Windows key. Bits 8-12 and 17-31 take no part in the conversions.
#pragma once
#include <cstdint>
#include <string>

using THotKeyValue = std::uint32_t;

inline constexpr THotKeyValue HotKeyShift = 0x2000;
inline constexpr THotKeyValue HotKeyCtrl = 0x4000;
inline constexpr THotKeyValue HotKeyAlt = 0x8000;
inline constexpr THotKeyValue HotKeyWin = 0x10000;

// The system's modifier bits (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr unsigned HotKeyModAlt = 1;
inline constexpr unsigned HotKeyModControl = 2;
inline constexpr unsigned HotKeyModShift = 4;
inline constexpr unsigned HotKeyModWin = 8;

struct THotKeyParts {
  unsigned Modifiers = 0;  // HotKeyMod* bits
  unsigned VirtualKey = 0;
};

// The value as RegisterHotKey takes it.
THotKeyParts SplitHotKeyValue(THotKeyValue value);
// The value again from what WM_HOTKEY reports (lParam: modifiers low, key high).
THotKeyValue HotKeyValueFromParts(unsigned modifiers, unsigned virtualKey);

// The name of the global atom whose number serves as the hot key's id:
// "HotKeyManagerHotKey" and the whole value in decimal.
std::wstring HotKeyAtomName(THotKeyValue value);

// The names a text uses for the four modifiers.
struct THotKeyModifierNames {
  std::wstring Shift = L"Shift";
  std::wstring Ctrl = L"Ctrl";
  std::wstring Alt = L"Alt";
  std::wstring Win = L"Win";
};

// "Ctrl+Shift+Alt+Win+" for the modifiers present, always in that order.
std::wstring HotKeyModifierPrefix(THotKeyValue value, const THotKeyModifierNames& names);

// The key parameter GetKeyNameText takes for a scan code: the scan code in bits
// 16-23, and the extended-key bit for the navigation keys (page up/down, end,
// home, arrows, insert, delete), whose names differ from the keypad's.
std::int32_t HotKeyNameParameter(unsigned virtualKey, unsigned scanCode);

// The fixed names of the browser, volume, media and launch keys (166-183), which
// many layouts leave unnamed; empty for other keys.
std::wstring MediaKeyName(unsigned virtualKey);

// The key part of a text: the layout's name, or the fixed media-key name when the
// layout gives at most one character for a media key.
std::wstring HotKeyKeyName(unsigned virtualKey, const std::wstring& layoutName);
