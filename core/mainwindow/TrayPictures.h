// The pictures of the tray icon and the rules that choose one: the program on or
// off, and the state of Caps, Scroll and Num Lock ("CSN" and three digits).
#pragma once
#include <array>
#include <string>
#include <string_view>

// In the order of the tray's image list.
inline constexpr std::array<std::string_view, 16> TrayPictureNames = {
    "MainTray1", "MainTray0", "C1c",    "C0c",    "N1c",    "N0c",    "S1c",    "S0c",
    "CSN000",    "CSN111",    "CSN001", "CSN010", "CSN011", "CSN100", "CSN101", "CSN110"};

// The index of the picture of that exact name; -1 for any other name.
int TrayPictureIndex(std::string_view name);

// What the icon shows when no lock change is being shown: the lock states (when the
// tray shows them) or the plain picture while the program is on, the "off" picture
// while it is off. lockState is three '0'/'1' characters: Caps, Scroll, Num.
std::string NormalTrayPicture(bool programOn, bool trayShowsLocks, std::string_view lockState);

// A lock's own icon ("C", "N" or "S"): its tip and its picture, which is also the
// icon's id. Nothing (picture -1) for another letter.
struct TLockIcon {
  const wchar_t* Tip = nullptr;
  int Picture = -1;
};
TLockIcon LockIconOf(char lock);
// The locks in the order their icons are added and removed.
inline constexpr std::array<char, 3> LockIconOrder = {'C', 'S', 'N'};
