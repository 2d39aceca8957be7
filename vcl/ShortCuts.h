// Keyboard short-cuts as one 16-bit word: the virtual-key code in the low byte plus
// scShift, scCtrl and scAlt. The same word is stored in settings files (the global
// hot keys) and shown by the hot-key control, so the bit values are fixed.
//
// The text form is the menus' own: "Ctrl+Shift+F5" is written "Shift+Ctrl+F5"
// (always Shift, Ctrl, Alt in that order), letters and digits as themselves, and
// the named keys as "BkSp", "Tab", "Enter", "Esc", "Space", "PgUp", "PgDn", "End",
// "Home", "Left", "Up", "Right", "Down", "Ins", "Del", "F1".."F24". Reading accepts
// the prefixes in any order and case, and "^" for "Ctrl+".
#pragma once
#include <cstdint>
#include <string>

using TShortCut = std::uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut scNone = 0;

// The modifier bits of a short-cut (a set of them, by the bit values above).
inline constexpr TShortCut ShortCutModifiers(TShortCut shortCut) { return shortCut & (scShift | scCtrl | scAlt); }
inline constexpr std::uint8_t ShortCutKey(TShortCut shortCut) { return static_cast<std::uint8_t>(shortCut & 0xFF); }

// The key's name alone ("F5", "A", "PgUp"); empty for a key without one.
std::wstring ShortCutKeyName(std::uint8_t key);
// "" for 0 and for a key without a name, so a word read from a file that names no
// known key shows nothing rather than a half text.
std::wstring ShortCutToText(TShortCut shortCut);
// 0 when the text names no key (an empty text, a bare prefix, an unknown name).
TShortCut TextToShortCut(const std::wstring& text);

// A menu caption without its accelerator marks: "&Open" gives "Open", "&&" gives "&".
std::wstring StripHotkey(const std::wstring& text);
