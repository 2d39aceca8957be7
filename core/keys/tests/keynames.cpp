#include "core/keys/KeyNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NamedKey {
  int vk;
  const wchar_t* name;
};

TEST(KeyName, NamesEveryKeyOfTheTable) {
  const NamedKey cases[] = {
      {8, L"Backspace"}, {9, L"Tab"}, {12, L"Clear"}, {13, L"Enter"}, {18, L"ALT"},
      {19, L"Pause"}, {20, L"Caps Lock"}, {27, L"Esc"}, {32, L"Spacebar"}, {33, L"Page Up"},
      {34, L"Page Down"}, {35, L"End"}, {36, L"Home"}, {37, L"Left"}, {38, L"Up"},
      {39, L"Right"}, {40, L"Down"}, {41, L"Select"}, {42, L"Print"}, {43, L"Execute"},
      {44, L"Print Screen"}, {45, L"Ins"}, {46, L"Del"}, {47, L"Help"},
      {48, L"0"}, {53, L"5"}, {57, L"9"}, {65, L"A"}, {77, L"M"}, {90, L"Z"},
      {93, L"Applications"}, {95, L"Sleep"}, {96, L"Num0"}, {100, L"Num4"}, {105, L"Num9"},
      {106, L"*"}, {107, L"+"}, {108, L"Separator"}, {109, L"-"}, {110, L"."}, {111, L"/"},
      {112, L"F1"}, {117, L"F6"}, {123, L"F12"}, {144, L"Num Lock"}, {145, L"Scroll Lock"},
      {164, L"Left MENU"}, {165, L"Right MENU"}, {166, L"Back"}, {167, L"Forward"},
      {168, L"Refresh"}, {169, L"Stop"}, {170, L"Search"}, {171, L"Favorites"}, {172, L"WWW"},
      {173, L"Mute"}, {174, L"Volume Down"}, {175, L"Volume Up"}, {176, L"Next"},
      {177, L"Previous"}, {178, L"Stop"}, {179, L"Play/Pause"}, {180, L"Mail"},
      {181, L"Select Media"}, {182, L"App1"}, {183, L"App2"}, {250, L"Play"}, {251, L"Zoom"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(keyname(static_cast<std::uint8_t>(c.vk), 7, "00000000", false), c.name) << c.vk;
}

TEST(KeyName, UnnamedKeysShowTheirSecondCode) {
  const NamedKey cases[] = {{255, L"MM101"}, {0, L"MM101"}, {10, L"MM101"}, {58, L"MM101"},
                            {64, L"MM101"}, {91, L"MM101"}, {124, L"MM101"}, {160, L"MM101"},
                            {184, L"MM101"}, {249, L"MM101"}, {252, L"MM101"}};
  for (const auto& c : cases)
    EXPECT_EQ(keyname(static_cast<std::uint8_t>(c.vk), 101, "00000000", false), c.name) << c.vk;
  EXPECT_EQ(keyname(255, 0, "", false), L"MM0");
}

struct PrefixCase {
  const char* modifiers;
  const wchar_t* sided;
  const wchar_t* sideAgnostic;
};

TEST(KeyName, ModifierPrefixInBothOptionStates) {
  const PrefixCase cases[] = {
      {"00000000", L"Next", L"Next"},
      {"01000000", L"LCtrl+Next", L"Ctrl+Next"},
      {"00000010", L"RCtrl+Next", L"Ctrl+Next"},
      {"10000001", L"LShift+RShift+Next", L"Shift+Next"},
      {"00100000", L"LWin+Next", L"Win+Next"},
      {"00000100", L"RWin+Next", L"Win+Next"},
      {"00010000", L"LAlt+Next", L"Alt+Next"},
      {"00001000", L"RAlt+Next", L"Alt+Next"},
      // The right-hand prefixes follow positions 8, 7, 6, 5.
      {"00001111", L"RShift+RCtrl+RWin+RAlt+Next", L"Shift+Ctrl+Win+Alt+Next"},
      {"11110000", L"LShift+LCtrl+LWin+LAlt+Next", L"Shift+Ctrl+Win+Alt+Next"},
      {"11111111", L"LShift+LCtrl+LWin+LAlt+RShift+RCtrl+RWin+RAlt+Next", L"Shift+Ctrl+Win+Alt+Next"},
      // A short or damaged state never reads past its end.
      {"01", L"LCtrl+Next", L"Ctrl+Next"},
      {"", L"Next", L"Next"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(keyname(176, 0, c.modifiers, false), c.sided) << c.modifiers;
    EXPECT_EQ(keyname(176, 0, c.modifiers, true), c.sideAgnostic) << c.modifiers;
  }
}

}  // namespace
