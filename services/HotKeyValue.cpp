#include "services/HotKeyValue.h"

THotKeyParts SplitHotKeyValue(THotKeyValue value) {
  THotKeyParts parts;
  parts.VirtualKey = value & 0xFF;
  if (value & HotKeyAlt) parts.Modifiers |= HotKeyModAlt;
  if (value & HotKeyCtrl) parts.Modifiers |= HotKeyModControl;
  if (value & HotKeyShift) parts.Modifiers |= HotKeyModShift;
  if (value & HotKeyWin) parts.Modifiers |= HotKeyModWin;
  return parts;
}

THotKeyValue HotKeyValueFromParts(unsigned modifiers, unsigned virtualKey) {
  THotKeyValue value = virtualKey & 0xFF;
  if (modifiers & HotKeyModShift) value += HotKeyShift;
  if (modifiers & HotKeyModControl) value += HotKeyCtrl;
  if (modifiers & HotKeyModAlt) value += HotKeyAlt;
  if (modifiers & HotKeyModWin) value += HotKeyWin;
  return value;
}

std::wstring HotKeyAtomName(THotKeyValue value) { return L"HotKeyManagerHotKey" + std::to_wstring(value); }

std::wstring HotKeyModifierPrefix(THotKeyValue value, const THotKeyModifierNames& names) {
  std::wstring prefix;
  if (value & HotKeyCtrl) prefix += names.Ctrl + L"+";
  if (value & HotKeyShift) prefix += names.Shift + L"+";
  if (value & HotKeyAlt) prefix += names.Alt + L"+";
  if (value & HotKeyWin) prefix += names.Win + L"+";
  return prefix;
}

std::int32_t HotKeyNameParameter(unsigned virtualKey, unsigned scanCode) {
  std::int32_t parameter = static_cast<std::int32_t>((scanCode & 0xFF) << 16);
  const bool navigation = (virtualKey >= 33 && virtualKey <= 40) || virtualKey == 45 || virtualKey == 46;
  if (navigation) parameter |= 0x1000000;
  return parameter;
}

std::wstring MediaKeyName(unsigned virtualKey) {
  static const wchar_t* const names[] = {
      L"Browser Back",     L"Browser Forward", L"Browser Refresh",     L"Browser Stop",
      L"Browser Search",   L"Browser Favorites", L"Browser Start/Home", L"Volume Mute",
      L"Volume Down",      L"Volume Up",       L"Next Track",          L"Previous Track",
      L"Stop Media",       L"Play/Pause Media", L"Start Mail",         L"Select Media",
      L"Start Application 1", L"Start Application 2"};
  if (virtualKey < 166 || virtualKey > 183) return {};
  return names[virtualKey - 166];
}

std::wstring HotKeyKeyName(unsigned virtualKey, const std::wstring& layoutName) {
  if (layoutName.size() <= 1) {
    std::wstring fixed = MediaKeyName(virtualKey);
    if (!fixed.empty()) return fixed;
  }
  return layoutName;
}
