// The text form of short-cut words, as menus show them and old forms store them.
#include <gtest/gtest.h>

#include "vcl/ShortCuts.h"

#include <utility>

namespace {

struct TextCase {
  TShortCut shortCut;
  const wchar_t* text;
};

// Every named key, the letters and digits, and each modifier order.
const TextCase kRoundTrips[] = {
    {0x08, L"BkSp"}, {0x09, L"Tab"}, {0x0D, L"Enter"}, {0x1B, L"Esc"}, {0x20, L"Space"},
    {0x21, L"PgUp"}, {0x22, L"PgDn"}, {0x23, L"End"}, {0x24, L"Home"}, {0x25, L"Left"},
    {0x26, L"Up"}, {0x27, L"Right"}, {0x28, L"Down"}, {0x2D, L"Ins"}, {0x2E, L"Del"},
    {'0', L"0"}, {'9', L"9"}, {'A', L"A"}, {'Z', L"Z"},
    {0x70, L"F1"}, {0x73, L"F4"}, {0x7B, L"F12"}, {0x87, L"F24"},
    {scShift | 'A', L"Shift+A"}, {scCtrl | 0x74, L"Ctrl+F5"}, {scAlt | 0x2E, L"Alt+Del"},
    {scShift | scCtrl | 'S', L"Shift+Ctrl+S"}, {scCtrl | scAlt | 0x2E, L"Ctrl+Alt+Del"},
    {scShift | scCtrl | scAlt | 0x09, L"Shift+Ctrl+Alt+Tab"},
};

TEST(ShortCuts, TextAndWordRoundTrip) {
  for (const TextCase& c : kRoundTrips) {
    EXPECT_EQ(ShortCutToText(c.shortCut), c.text) << std::hex << c.shortCut;
    EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
  }
}

TEST(ShortCuts, ReadingAcceptsOtherSpellings) {
  const TextCase cases[] = {
      {scCtrl | 'C', L"^C"},
      {scCtrl | 'C', L"ctrl+c"},
      {scShift | scCtrl | 0x21, L"CTRL+SHIFT+pgup"},  // prefixes in any order
      {scAlt | 0x74, L"alt+f5"},
      {scCtrl | scAlt | 'X', L"Alt+^X"},
      {scShift | 'A', L"Shift+Shift+A"},
      {'5', L"5"},  // the main row's digit, not the number pad's
  };
  for (const TextCase& c : cases) EXPECT_EQ(TextToShortCut(c.text), c.shortCut) << c.text;
}

TEST(ShortCuts, TextsThatNameNoKeyGiveZero) {
  for (const wchar_t* text : {L"", L"Ctrl+", L"Shift+Alt+", L"Ctrl+Foo", L"F25", L"F0", L"Ctrl+ A", L"A+Ctrl",
                              L"Escape", L"+"})
    EXPECT_EQ(TextToShortCut(text), 0) << text;
}

TEST(ShortCuts, WordsWithoutAKeyNameGiveNoText) {
  // Modifiers alone, the mouse buttons, punctuation keys: no half texts like "Ctrl+".
  for (TShortCut s : {TShortCut(0), TShortCut(scCtrl), TShortCut(scCtrl | 0x01), TShortCut(0xBA),
                      TShortCut(scAlt | 0x88), TShortCut(0xFF)})
    EXPECT_EQ(ShortCutToText(s), L"") << std::hex << s;
  // The number pad's digits show as digits; reading the digit gives the main row's key.
  EXPECT_EQ(ShortCutToText(scCtrl | 0x65), L"Ctrl+5");
  EXPECT_EQ(TextToShortCut(L"Ctrl+5"), scCtrl | '5');
}

TEST(ShortCuts, StripHotkeyDropsOnlyTheMarks) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"&Open", L"Open"}, {L"Sa&ve as", L"Save as"}, {L"R&&D", L"R&D"}, {L"&&&X", L"&X"},
      {L"end&", L"end"}, {L"", L""}, {L"plain", L"plain"}, {L"&&", L"&"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(StripHotkey(in), out) << in;
}

}  // namespace
