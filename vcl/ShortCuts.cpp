#include "vcl/ShortCuts.h"

#include <cwctype>
#include <string_view>

namespace {

// Names of the keys 0x21..0x28 in code order.
constexpr const wchar_t* kNavigationNames[] = {L"PgUp", L"PgDn", L"End", L"Home", L"Left", L"Up", L"Right", L"Down"};

constexpr std::wstring_view kShift = L"Shift+";
constexpr std::wstring_view kCtrl = L"Ctrl+";
constexpr std::wstring_view kAlt = L"Alt+";
constexpr std::wstring_view kCaret = L"^";

bool SameLetters(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

// Takes `front` off the start of `text` when it is there (letter case ignored).
bool TakeFront(std::wstring_view& text, std::wstring_view front) {
  if (text.size() < front.size() || !SameLetters(text.substr(0, front.size()), front)) return false;
  text.remove_prefix(front.size());
  return true;
}

}  // namespace

std::wstring ShortCutKeyName(std::uint8_t key) {
  switch (key) {
    case 0x08: return L"BkSp";
    case 0x09: return L"Tab";
    case 0x0D: return L"Enter";
    case 0x1B: return L"Esc";
    case 0x20: return L"Space";
    case 0x2D: return L"Ins";
    case 0x2E: return L"Del";
    default: break;
  }
  if (key >= 0x21 && key <= 0x28) return kNavigationNames[key - 0x21];
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
  // The number pad's digits read as the digits themselves.
  if (key >= 0x60 && key <= 0x69) return std::wstring(1, static_cast<wchar_t>(L'0' + (key - 0x60)));
  if (key >= 0x70 && key <= 0x87) return L"F" + std::to_wstring(key - 0x70 + 1);
  return {};
}

std::wstring ShortCutToText(TShortCut shortCut) {
  const std::wstring name = ShortCutKeyName(ShortCutKey(shortCut));
  if (name.empty()) return {};
  std::wstring text;
  if (shortCut & scShift) text += kShift;
  if (shortCut & scCtrl) text += kCtrl;
  if (shortCut & scAlt) text += kAlt;
  return text + name;
}

TShortCut TextToShortCut(const std::wstring& text) {
  std::wstring_view rest = text;
  TShortCut modifiers = 0;
  for (;;) {
    if (TakeFront(rest, kShift)) modifiers |= scShift;
    else if (TakeFront(rest, kCaret) || TakeFront(rest, kCtrl)) modifiers |= scCtrl;
    else if (TakeFront(rest, kAlt)) modifiers |= scAlt;
    else break;
  }
  if (rest.empty()) return 0;
  // The lowest code of a name wins: "5" is the main row's 5, not the number pad's.
  for (int key = 1; key <= 0xFF; ++key) {
    const std::wstring name = ShortCutKeyName(static_cast<std::uint8_t>(key));
    if (!name.empty() && SameLetters(rest, name)) return static_cast<TShortCut>(key | modifiers);
  }
  return 0;
}

std::wstring StripHotkey(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // "&&" is a literal "&"; a lone "&" only marks the next letter.
    if (text[i] == L'&' && ++i == text.size()) break;
    out += text[i];
  }
  return out;
}
