// The shell list's own decisions: masks against file names, the item order (folders
// first, each column both ways, equal items kept in place), the column widths kept
// between lists and read from the explorer's value, and names too long for a folder.
#include <gtest/gtest.h>

#include "controls/extended/VyShellListRules.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace Vy;

namespace {

TEST(VyShellListRules, MasksSplitAndMatchAsTheSystemDoes) {
  EXPECT_EQ(SplitFileMasks(L" *.txt ;;*.doc; "), (std::vector<std::wstring>{L"*.txt", L"*.doc"}));
  EXPECT_TRUE(SplitFileMasks(L" ; ").empty());
  struct {
    const wchar_t* name;
    const wchar_t* mask;
    bool match;
  } cases[] = {
      {L"notes.txt", L"*.txt", true},
      {L"NOTES.TXT", L"*.txt", true},
      {L"notes.txt.bak", L"*.txt", false},
      {L"report.docx", L"*.doc", false},
      {L"a.doc", L"?.doc", true},
      {L"ab.doc", L"?.doc", false},
      {L"readme", L"*.*", true},
      {L"readme", L"*", true},
      {L"readme", L"readme.*", true},
      {L"readme.md", L"readme.*", true},
      {L"readme", L"read*e", true},
      {L"reade", L"read*me", false},
      {L"aaab", L"*a*b", true},
      {L"abc", L"a*c*", true},
      {L"abc", L"", false},
      {L"a|b", L"a|b", false},
      {L"", L"*", false},
      {L"x.txt", L"x.txt", true},
  };
  for (const auto& c : cases) EXPECT_EQ(MatchesFileMask(c.name, c.mask), c.match) << c.name << " / " << c.mask;
}

TEST(VyShellListRules, AnUnusableMaskLeavesTheOthersWorking) {
  const std::vector<std::wstring> masks = SplitFileMasks(L"a<b|;*.txt");
  EXPECT_FALSE(IsUsableFileMask(masks[0]));
  EXPECT_TRUE(MatchesAnyFileMask(L"one.txt", masks));
  EXPECT_FALSE(MatchesAnyFileMask(L"one.doc", masks));
  EXPECT_TRUE(IsEveryFileMask(L" *.* "));
  EXPECT_FALSE(IsEveryFileMask(L"*.txt"));
}

TEST(VyShellListRules, NamesCompareIgnoringCaseWithNumbersByValue) {
  struct {
    const wchar_t* a;
    const wchar_t* b;
    int order;
  } cases[] = {
      {L"file2", L"file10", -1}, {L"File10", L"file2", 1}, {L"abc", L"ABC", 0}, {L"a", L"ab", -1},
      {L"x007", L"x7", 0},       {L"b", L"a9", 1},         {L"9z", L"10a", -1}, {L"", L"a", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(CompareFileNames(c.a, c.b), c.order) << c.a << " / " << c.b;
}

// The names in the order the keys sort to (std::sort is not stable: the order
// itself must keep equal items in place).
std::vector<std::wstring> Sorted(std::vector<TShellSortKey> keys, TShellColumnKind kind, bool descending) {
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i].Position = int(i);
  std::sort(keys.begin(), keys.end(), [&](const TShellSortKey& a, const TShellSortKey& b) {
    return CompareShellSortKeys(a, b, kind, descending) < 0;
  });
  std::vector<std::wstring> names;
  for (const auto& k : keys) names.push_back(k.Name);
  return names;
}

TEST(VyShellListRules, FoldersComeFirstAndEachColumnSortsBothWays) {
  const std::vector<TShellSortKey> keys = {
      {false, L"b.txt", 300, L"Text", 30},  {true, L"zeta", 0, L"Folder", 10},  {false, L"a.txt", 20, L"Text", 20},
      {false, L"c.bmp", 300, L"Image", 10}, {true, L"alpha", 0, L"Folder", 50}, {false, L"d.ini", 1, L"Settings", 40},
  };
  using K = TShellColumnKind;
  using V = std::vector<std::wstring>;
  struct {
    TShellColumnKind kind;
    bool descending;
    V expected;
  } cases[] = {
      {K::Name, false, V{L"alpha", L"zeta", L"a.txt", L"b.txt", L"c.bmp", L"d.ini"}},
      {K::Name, true, V{L"zeta", L"alpha", L"d.ini", L"c.bmp", L"b.txt", L"a.txt"}},
      // Equal sizes keep their earlier order in both directions.
      {K::Size, false, V{L"alpha", L"zeta", L"d.ini", L"a.txt", L"b.txt", L"c.bmp"}},
      {K::Size, true, V{L"zeta", L"alpha", L"b.txt", L"c.bmp", L"a.txt", L"d.ini"}},
      {K::Type, false, V{L"zeta", L"alpha", L"c.bmp", L"d.ini", L"b.txt", L"a.txt"}},
      {K::Modified, true, V{L"alpha", L"zeta", L"d.ini", L"b.txt", L"a.txt", L"c.bmp"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Sorted(keys, c.kind, c.descending), c.expected) << int(c.kind) << (c.descending ? " descending" : "");
}

TEST(VyShellListRules, AnotherColumnFollowsTheShellsOrder) {
  TShellSortKey a, b;
  a.Name = L"a";
  a.Position = 1;
  b.Name = L"b";
  b.Position = 0;
  EXPECT_LT(CompareShellSortKeys(a, b, TShellColumnKind::Other, false, -5), 0);
  EXPECT_GT(CompareShellSortKeys(a, b, TShellColumnKind::Other, true, -5), 0);
  EXPECT_GT(CompareShellSortKeys(a, b, TShellColumnKind::Other, false, 0), 0) << "a tie keeps the earlier place";
}

TEST(VyShellListRules, DirectoryColsNeedsFourWidths) {
  EXPECT_FALSE(ParseDirectoryCols({}));
  EXPECT_FALSE(ParseDirectoryCols({200, 0, 60, 0, 100, 0, 120})) << "seven bytes leave the last width unread";
  const auto widths = ParseDirectoryCols({0x2C, 0x01, 60, 0, 100, 0, 120, 0, 1, 2, 3});
  ASSERT_TRUE(widths);
  EXPECT_EQ(*widths, (std::array<int, 4>{300, 60, 100, 120}));
}

TEST(VyShellListRules, StoredWidthsApplyOnlyWhereBothHaveThem) {
  const std::vector<std::uint8_t> two = StoreColumnWidths({150, 70});
  EXPECT_EQ(two.size(), 12u);
  EXPECT_EQ(ApplyStoredWidths(two, {1, 2, 3, 4}), (std::vector<int>{150, 70, 3, 4}));
  EXPECT_EQ(ApplyStoredWidths(StoreColumnWidths({5, 6, 7, 8, 9}), {1, 2}), (std::vector<int>{5, 6}));
  // A count larger than the block holds reads no further than the block.
  std::vector<std::uint8_t> lying = two;
  lying[0] = 9;
  EXPECT_EQ(ApplyStoredWidths(lying, {1, 2, 3}), (std::vector<int>{150, 70, 3}));
  EXPECT_EQ(ApplyStoredWidths({}, {1, 2}), (std::vector<int>{1, 2}));
}

TEST(VyShellListRules, NetworkPathsBeginWithTwoBackslashes) {
  EXPECT_TRUE(IsNetworkPath(L"\\\\server\\share"));
  EXPECT_FALSE(IsNetworkPath(L"C:\\data"));
  EXPECT_FALSE(IsNetworkPath(L"\\"));
  EXPECT_FALSE(IsNetworkPath(L""));
}

TEST(VyShellListRules, ANameTooLongForItsFolderIsRefused) {
  const std::wstring folder = L"C:\\data";                       // 7 characters
  EXPECT_TRUE(NameFitsFolder(folder, std::wstring(251, L'a')));  // 7 + 1 + 251 + 1 = 260
  EXPECT_FALSE(NameFitsFolder(folder, std::wstring(252, L'a')));
  EXPECT_TRUE(NameFitsFolder(L"C:\\", std::wstring(255, L'a')));
  EXPECT_FALSE(NameFitsFolder(L"", std::wstring(256, L'a'))) << "beyond the longest name of a folder entry";
  EXPECT_FALSE(NameFitsFolder(folder, L""));
}

}  // namespace
