// The display text of a key ("LCtrl+Next", "MM101") for the key list, the key test
// list and the key capture dialog.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// modifiers: a TModifierState ("01000000" = left Ctrl). sideAgnostic is the option
// `optlrmodif`: "Ctrl+" for either Ctrl instead of "LCtrl+"/"RCtrl+".
std::wstring keyname(std::uint8_t vk, std::uint8_t code2, std::string_view modifiers, bool sideAgnostic);
