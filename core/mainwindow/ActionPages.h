// The action pages beside the key list: which page (and which item of the group
// bar) belongs to which action codes, the language keys the key table shows for a
// binding, and the picture the key list draws before a binding's name.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One page: its code (CurrentPage), its place in the group bar and the action
// codes it sets. GroupNumber names its caption, the language key "Groups.Group" + it.
struct TActionPage {
  std::uint8_t PageCode;
  int Group;  // 0 multimedia, 1 actions, 2 keyboard
  int Item;
  std::uint8_t FirstCode;
  std::uint8_t LastCode;
  int GroupNumber;
};

inline constexpr std::array<TActionPage, 18> ActionPages{{
    {11, 0, 0, 10, 20, 10},    // Winamp
    {12, 0, 1, 21, 24, 11},    // volume
    {13, 0, 2, 31, 37, 12},    // media players
    {14, 0, 3, 91, 99, 13},    // audio CD
    {21, 1, 0, 41, 48, 20},    // folders
    {22, 1, 1, 51, 59, 21},    // programs
    {23, 1, 2, 61, 68, 22},    // power
    {24, 1, 3, 71, 79, 23},    // web
    {25, 1, 4, 80, 89, 24},    // windows
    {26, 1, 5, 101, 109, 25},  // other tools
    {27, 1, 6, 110, 120, 26},  // documents
    {28, 1, 7, 151, 159, 27},  // network
    {29, 1, 8, 171, 179, 28},  // wallpaper
    {30, 1, 9, 181, 189, 29},  // display brightness
    {31, 2, 0, 121, 129, 31},  // keys and layouts
    {32, 2, 1, 131, 139, 32},  // scrolling
    {33, 2, 2, 141, 149, 33},  // macros
    {34, 2, 3, 161, 169, 34},  // mouse cursor
}};

inline constexpr std::uint8_t ProfilePageCode = 100;
inline constexpr std::uint8_t HistoryPageCode = 101;
inline constexpr std::uint8_t UpdatePageCode = 102;

// The page that sets this action code; nullptr for 0 and for codes of no page.
const TActionPage* PageOfActionCode(std::uint8_t code);
// The page of this page code; nullptr for any other code.
const TActionPage* PageOfPageCode(std::uint8_t pageCode);
// The page of this group-bar item; nullptr when the bar has no such item.
const TActionPage* PageOfGroupItem(int group, int item);

// "Groups.Group10" ...: the caption of a page's group-bar item.
std::string GroupCaptionKey(const TActionPage& page);

// The language keys of the action column of the key table: the group of the code
// (empty for a code of no page) and the action itself ("Str.Ext_Tabl_" + code, with
// the variant of the windows and special-paste actions read off the parameters).
struct TActionTextKeys {
  std::string Group;
  std::string Action;
};
TActionTextKeys ActionTextKeys(std::uint8_t code, std::string_view params);

// The picture of CategoriesImageList drawn before a binding of this code.
int GetCategImageID(std::uint8_t code);
inline constexpr int CategoryPictureCount = 20;
