#include "core/mainwindow/ActionPages.h"

#include <algorithm>

#include "core/keys/ActionParams.h"

const TActionPage* PageOfActionCode(std::uint8_t code) {
  auto it = std::find_if(ActionPages.begin(), ActionPages.end(),
                         [code](const TActionPage& p) { return code >= p.FirstCode && code <= p.LastCode; });
  return it == ActionPages.end() ? nullptr : &*it;
}

const TActionPage* PageOfPageCode(std::uint8_t pageCode) {
  auto it = std::find_if(ActionPages.begin(), ActionPages.end(),
                         [pageCode](const TActionPage& p) { return p.PageCode == pageCode; });
  return it == ActionPages.end() ? nullptr : &*it;
}

const TActionPage* PageOfGroupItem(int group, int item) {
  auto it = std::find_if(ActionPages.begin(), ActionPages.end(),
                         [&](const TActionPage& p) { return p.Group == group && p.Item == item; });
  return it == ActionPages.end() ? nullptr : &*it;
}

std::string GroupCaptionKey(const TActionPage& page) { return "Groups.Group" + std::to_string(page.GroupNumber); }

TActionTextKeys ActionTextKeys(std::uint8_t code, std::string_view params) {
  TActionTextKeys keys;
  // The group follows the pages' own ranges, so every code a page sets (110 the
  // documents, 126..129 the keys) is shown under the page that sets it.
  if (const TActionPage* page = PageOfActionCode(code)) keys.Group = GroupCaptionKey(*page);
  keys.Action = "Str.Ext_Tabl_" + std::to_string(code);
  if (code == 80 || code == 81 || code == 83 || code == 89) {
    keys.Action += "-" + GetParamOnAct(params, "actex", "0");
  } else if (code == 103) {
    const std::string paste = GetParamOnAct(params, "specpaste");
    if (paste == "1cdkey") keys.Action += "-1";
    if (paste == "2time") keys.Action += "-2";
  }
  return keys;
}

int GetCategImageID(std::uint8_t code) {
  struct TRange {
    std::uint8_t first, last;
    int picture;
  };
  static constexpr TRange pictures[] = {
      {10, 20, 1},    {21, 24, 0},    {31, 37, 3},    {41, 48, 7},    {51, 59, 8},    {61, 68, 5},
      {71, 79, 2},    {80, 89, 4},    {91, 99, 6},    {101, 109, 10}, {110, 120, 11}, {121, 129, 12},
      {131, 139, 14}, {141, 149, 15}, {151, 159, 13}, {161, 169, 16}, {171, 179, 17}, {181, 189, 19},
  };
  for (const TRange& r : pictures)
    if (code >= r.first && code <= r.last) return r.picture;
  return 18;
}
