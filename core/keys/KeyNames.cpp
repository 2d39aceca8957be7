#include "core/keys/KeyNames.h"

namespace {

bool held(std::string_view modifiers, std::size_t position) {
  return position <= modifiers.size() && modifiers[position - 1] == '1';
}

const wchar_t* namedKey(std::uint8_t vk) {
  switch (vk) {
    case 8: return L"Backspace";
    case 9: return L"Tab";
    case 12: return L"Clear";
    case 13: return L"Enter";
    case 18: return L"ALT";
    case 19: return L"Pause";
    case 20: return L"Caps Lock";
    case 27: return L"Esc";
    case 32: return L"Spacebar";
    case 33: return L"Page Up";
    case 34: return L"Page Down";
    case 35: return L"End";
    case 36: return L"Home";
    case 37: return L"Left";
    case 38: return L"Up";
    case 39: return L"Right";
    case 40: return L"Down";
    case 41: return L"Select";
    case 42: return L"Print";
    case 43: return L"Execute";
    case 44: return L"Print Screen";
    case 45: return L"Ins";
    case 46: return L"Del";
    case 47: return L"Help";
    case 93: return L"Applications";
    case 95: return L"Sleep";
    case 106: return L"*";
    case 107: return L"+";
    case 108: return L"Separator";
    case 109: return L"-";
    case 110: return L".";
    case 111: return L"/";
    case 144: return L"Num Lock";
    case 145: return L"Scroll Lock";
    case 164: return L"Left MENU";
    case 165: return L"Right MENU";
    case 166: return L"Back";
    case 167: return L"Forward";
    case 168: return L"Refresh";
    case 169: return L"Stop";
    case 170: return L"Search";
    case 171: return L"Favorites";
    case 172: return L"WWW";
    case 173: return L"Mute";
    case 174: return L"Volume Down";
    case 175: return L"Volume Up";
    case 176: return L"Next";
    case 177: return L"Previous";
    case 178: return L"Stop";
    case 179: return L"Play/Pause";
    case 180: return L"Mail";
    case 181: return L"Select Media";
    case 182: return L"App1";
    case 183: return L"App2";
    case 250: return L"Play";
    case 251: return L"Zoom";
    default: return nullptr;
  }
}

std::wstring keyPart(std::uint8_t vk, std::uint8_t code2) {
  if (vk >= '0' && vk <= '9') return std::wstring(1, static_cast<wchar_t>(vk));
  if (vk >= 'A' && vk <= 'Z') return std::wstring(1, static_cast<wchar_t>(vk));
  if (vk >= 96 && vk <= 105) return L"Num" + std::to_wstring(vk - 96);
  if (vk >= 112 && vk <= 123) return L"F" + std::to_wstring(vk - 111);
  if (const wchar_t* name = namedKey(vk)) return name;
  return L"MM" + std::to_wstring(code2);
}

}  // namespace

std::wstring keyname(std::uint8_t vk, std::uint8_t code2, std::string_view modifiers, bool sideAgnostic) {
  std::wstring text;
  if (sideAgnostic) {
    if (held(modifiers, 1) || held(modifiers, 8)) text += L"Shift+";
    if (held(modifiers, 2) || held(modifiers, 7)) text += L"Ctrl+";
    if (held(modifiers, 3) || held(modifiers, 6)) text += L"Win+";
    if (held(modifiers, 4) || held(modifiers, 5)) text += L"Alt+";
  } else {
    static constexpr struct {
      std::size_t position;
      const wchar_t* prefix;
    } sides[] = {{1, L"LShift+"}, {2, L"LCtrl+"}, {3, L"LWin+"}, {4, L"LAlt+"},
                 {8, L"RShift+"}, {7, L"RCtrl+"}, {6, L"RWin+"}, {5, L"RAlt+"}};
    for (const auto& side : sides)
      if (held(modifiers, side.position)) text += side.prefix;
  }
  return text + keyPart(vk, code2);
}
