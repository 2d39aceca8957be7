// The tables of the action pages: which page an action code opens, which group the
// key table names for it, and which picture the key list draws.
#include <gtest/gtest.h>

#include <set>

#include "core/keys/ActionParams.h"
#include "core/mainwindow/ActionPages.h"

namespace {

TEST(ActionPages, EveryActionCodeOpensThePageThatSetsIt) {
  struct Case {
    int code;
    int page;  // 0: no page
  };
  const Case cases[] = {
      {0, 0},    {9, 0},    {10, 11},  {20, 11},  {21, 12},  {24, 12},  {25, 0},   {30, 0},   {31, 13},  {37, 13},
      {38, 0},   {41, 21},  {48, 21},  {51, 22},  {59, 22},  {61, 23},  {68, 23},  {71, 24},  {79, 24},  {80, 25},
      {89, 25},  {90, 0},   {91, 14},  {99, 14},  {100, 0},  {101, 26}, {105, 26}, {109, 26}, {110, 27}, {120, 27},
      {121, 31}, {129, 31}, {130, 0},  {131, 32}, {139, 32}, {140, 0},  {141, 33}, {149, 33}, {150, 0},  {151, 28},
      {159, 28}, {161, 34}, {169, 34}, {171, 29}, {179, 29}, {181, 30}, {189, 30}, {190, 0},  {255, 0}};
  for (const Case& c : cases) {
    const TActionPage* page = PageOfActionCode(static_cast<std::uint8_t>(c.code));
    EXPECT_EQ(page ? page->PageCode : 0, c.page) << "code " << c.code;
  }
}

TEST(ActionPages, EachGroupBarItemHasOnePage) {
  std::set<std::pair<int, int>> items;
  std::set<int> codes;
  for (const TActionPage& p : ActionPages) {
    EXPECT_TRUE(items.insert({p.Group, p.Item}).second);
    EXPECT_TRUE(codes.insert(p.PageCode).second);
    EXPECT_EQ(PageOfGroupItem(p.Group, p.Item), &p);
    EXPECT_EQ(PageOfPageCode(p.PageCode), &p);
  }
  EXPECT_EQ(PageOfGroupItem(0, 4), nullptr);
  EXPECT_EQ(PageOfGroupItem(1, 10), nullptr);
  EXPECT_EQ(PageOfPageCode(100), nullptr);
}

TEST(ActionPages, TheTableNamesTheGroupThatSetsTheCode) {
  struct Case {
    int code;
    const char* params;
    const char* group;
    const char* action;
  };
  const Case cases[] = {
      {10, "", "Groups.Group10", "Str.Ext_Tabl_10"},
      {23, "", "Groups.Group11", "Str.Ext_Tabl_23"},
      {95, "", "Groups.Group13", "Str.Ext_Tabl_95"},
      {105, "", "Groups.Group25", "Str.Ext_Tabl_105"},
      // The documents' first code and the keys' last ones belong to their own pages.
      {110, "", "Groups.Group26", "Str.Ext_Tabl_110"},
      {126, "", "Groups.Group31", "Str.Ext_Tabl_126"},
      {129, "", "Groups.Group31", "Str.Ext_Tabl_129"},
      {82, "", "Groups.Group24", "Str.Ext_Tabl_82"},
      {81, "actex:4;actex|", "Groups.Group24", "Str.Ext_Tabl_81-4"},
      {80, "", "Groups.Group24", "Str.Ext_Tabl_80-0"},
      {89, "actex:2;actex|", "Groups.Group24", "Str.Ext_Tabl_89-2"},
      {103, "specpaste:1cdkey;specpaste|", "Groups.Group25", "Str.Ext_Tabl_103-1"},
      {103, "specpaste:2time;specpaste|", "Groups.Group25", "Str.Ext_Tabl_103-2"},
      {103, "", "Groups.Group25", "Str.Ext_Tabl_103"},
      {0, "", "", "Str.Ext_Tabl_0"},
      {25, "", "", "Str.Ext_Tabl_25"},
  };
  for (const Case& c : cases) {
    const TActionTextKeys keys = ActionTextKeys(static_cast<std::uint8_t>(c.code), c.params);
    EXPECT_EQ(keys.Group, c.group) << "code " << c.code;
    EXPECT_EQ(keys.Action, c.action) << "code " << c.code;
  }
}

TEST(ActionPages, EachActionKindHasItsPicture) {
  struct Case {
    int first, last, picture;
  };
  const Case cases[] = {{10, 20, 1},    {21, 24, 0},    {31, 37, 3},    {41, 48, 7},    {51, 59, 8},    {61, 68, 5},
                        {71, 79, 2},    {80, 89, 4},    {91, 99, 6},    {101, 109, 10}, {110, 120, 11}, {121, 129, 12},
                        {131, 139, 14}, {141, 149, 15}, {151, 159, 13}, {161, 169, 16}, {171, 179, 17}, {181, 189, 19}};
  std::set<int> inRanges;
  for (const Case& c : cases)
    for (int code = c.first; code <= c.last; ++code) {
      EXPECT_EQ(GetCategImageID(static_cast<std::uint8_t>(code)), c.picture) << "code " << code;
      inRanges.insert(code);
    }
  for (int code = 0; code < 256; ++code) {
    const int picture = GetCategImageID(static_cast<std::uint8_t>(code));
    EXPECT_LT(picture, CategoryPictureCount);
    if (!inRanges.count(code)) EXPECT_EQ(picture, 18) << "code " << code;
  }
}

}  // namespace
