// ID lists as bytes: hand-built lists walked, split, joined and compared, and the
// formats built on them (the locator's "Pidl" data, the shell's ID-list array, the
// drop-files block) written and read back, with damaged copies refused.
#include <gtest/gtest.h>

#include "controls/extended/VyShellFormats.h"
#include "controls/extended/VyShellIdList.h"
#include "vcl/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

using namespace Vy;

namespace {

using TBytes = std::vector<std::uint8_t>;

// A list of items with the given payloads (each item: count, payload), terminated.
TBytes List(const std::vector<TBytes>& payloads) {
  TBytes out;
  for (const TBytes& p : payloads) {
    const std::size_t cb = p.size() + 2;
    out.push_back(static_cast<std::uint8_t>(cb));
    out.push_back(static_cast<std::uint8_t>(cb >> 8));
    out.insert(out.end(), p.begin(), p.end());
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

const TBytes kEmpty = List({});
const TBytes kThree = List({{1, 2, 3}, {4}, {5, 6}});

std::wstring ReadErrorOf(const TBytes& data) {
  try {
    DecodeLocator(data);
  } catch (const EReadError& e) {
    return e.Message();
  }
  return L"(no error)";
}

TEST(VyShellIdList, SizesAndCounts) {
  EXPECT_EQ(IdListSize(nullptr), 0u);
  EXPECT_EQ(IdListSize(kEmpty.data()), 2u);
  EXPECT_EQ(IdListSize(kThree.data()), kThree.size());
  EXPECT_EQ(IdListItemCount(nullptr), 0);
  EXPECT_EQ(IdListItemCount(kEmpty.data()), 0);
  EXPECT_EQ(IdListItemCount(kThree.data()), 3);
}

TEST(VyShellIdList, ItemsAndParentsOfThreeItems) {
  EXPECT_EQ(IdListItemAt(kThree.data(), 0), kThree.data());
  EXPECT_EQ(IdListItemAt(kThree.data(), 2), kThree.data() + 5 + 3);
  EXPECT_EQ(IdListItemAt(kThree.data(), 3), nullptr);
  EXPECT_EQ(IdListItemAt(kThree.data(), -1), nullptr);
  EXPECT_EQ(IdListItemAt(kEmpty.data(), 0), nullptr);
  // the parent: all items but the last
  EXPECT_EQ(JoinIdListBytes(kThree.data(), 2, nullptr), List({{1, 2, 3}, {4}}));
  EXPECT_EQ(JoinIdListBytes(kThree.data(), 0, nullptr), kEmpty);
  EXPECT_EQ(JoinIdListBytes(kEmpty.data(), 5, kThree.data()), kThree);
  EXPECT_EQ(JoinIdListBytes(nullptr, 5, kThree.data()), kThree);
  EXPECT_EQ(JoinIdListBytes(kThree.data(), 1, IdListItemAt(kThree.data(), 2)), List({{1, 2, 3}, {5, 6}}));
}

TEST(VyShellIdList, ByteOrderDecidesByFirstDifferenceThenSize) {
  struct Case {
    TBytes a, b;
    int expected;
  } cases[] = {
      {List({{1}}), List({{1}}), 0},       {List({{1}}), List({{2}}), -1},
      {List({{0x80}}), List({{0x7F}}), 1},  // unsigned bytes
      {List({{1}}), List({{1}, {1}}), -1},  // the count byte decides first here
      {kEmpty, List({{1}}), -1},           {List({{1, 2}}), List({{1}}), 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareIdListBytes(c.a.data(), c.b.data()), c.expected);
    EXPECT_EQ(CompareIdListBytes(c.b.data(), c.a.data()), -c.expected);
  }
  EXPECT_EQ(CompareIdListBytes(nullptr, nullptr), 0);
  EXPECT_EQ(CompareIdListBytes(nullptr, kEmpty.data()), -1);
}

TEST(VyShellIdList, CheckedWalkStaysInsideTheBytes) {
  struct Case {
    const char* what;
    TBytes bytes;
    std::size_t available;
    std::size_t expected;  // 0: refused
  } cases[] = {
      {"empty list", kEmpty, 2, 2},
      {"three items", kThree, kThree.size(), kThree.size()},
      {"more bytes than the list", kThree, kThree.size(), kThree.size()},
      {"terminator cut off", kThree, kThree.size() - 1, 0},
      {"one byte", {0}, 1, 0},
      {"nothing", {}, 0, 0},
      {"count past the end", {9, 0, 1, 0, 0}, 5, 0},
      {"count of one", {1, 0, 0, 0}, 4, 0},
      {"count of two is an empty item", {2, 0, 0, 0}, 4, 4},
  };
  for (const Case& c : cases) {
    const auto size = CheckedIdListSize(c.bytes.data(), c.available);
    EXPECT_EQ(size.value_or(0), c.expected) << c.what;
  }
  // No list may be larger than the cap, whatever the bytes given.
  TBytes huge;
  for (int i = 0; i < 2 * 1024; ++i) {
    const TBytes item = List({TBytes(60, 7)});
    huge.insert(huge.end(), item.begin(), item.end() - 2);
  }
  huge.push_back(0);
  huge.push_back(0);
  EXPECT_FALSE(CheckedIdListSize(huge.data(), huge.size()));
}

TEST(VyShellLocatorData, WritesAndReadsBack) {
  EXPECT_EQ(EncodeLocator(1, 17, nullptr), (TBytes{1, 17}));
  const TBytes written = EncodeLocator(0, 0, kThree.data());
  ASSERT_EQ(written.size(), 5 + kThree.size());
  EXPECT_EQ(written[1], kThree.size());
  const TLocatorData read = DecodeLocator(written);
  EXPECT_EQ(read.Kind, 0);
  EXPECT_EQ(read.IdList, kThree);
  const TLocatorData special = DecodeLocator({1, 5});
  EXPECT_EQ(special.Kind, 1);
  EXPECT_EQ(special.SpecialFolder, 5);
  // any non-zero kind is a special folder
  EXPECT_EQ(DecodeLocator({7, 5}).Kind, 1);
  // size 0: the desktop by number
  const TLocatorData desktop = DecodeLocator({0, 0, 0, 0, 0});
  EXPECT_EQ(desktop.Kind, 1);
  EXPECT_EQ(desktop.SpecialFolder, 0);
}

TEST(VyShellLocatorData, RefusesDamagedData) {
  TBytes good = EncodeLocator(0, 0, kThree.data());
  TBytes longer = good;
  longer.push_back(0);
  TBytes shorter(good.begin(), good.end() - 1);
  TBytes wrongSize = good;
  wrongSize[1] -= 2;  // the terminator falls outside the size
  TBytes badCount = good;
  badCount[5] = 0x40;             // the first item claims more than the list holds
  TBytes huge{0, 0, 0, 0, 0x40};  // 1 GiB declared
  struct Case {
    const char* what;
    TBytes bytes;
    const wchar_t* error;
  } cases[] = {
      {"nothing", {}, L"Stream read error"},
      {"kind only", {1}, L"Stream read error"},
      {"size cut", {0, 4, 0}, L"Stream read error"},
      {"list cut", shorter, L"Stream read error"},
      {"bytes after the list", longer, L"Invalid folder location data"},
      {"size misses the terminator", wrongSize, L"Invalid folder location data"},
      {"item count past the size", badCount, L"Invalid folder location data"},
      {"size beyond the cap", huge, L"Invalid folder location data"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadErrorOf(c.bytes), c.error) << c.what;
}

TEST(VyShellIdListArray, BuildsAndParsesThreeItems) {
  const TBytes parent = List({{9, 9}});
  const TBytes a = List({{1}}), b = List({{2, 2}}), c = List({{3, 3, 3}});
  const TBytes block = BuildIdListArray(parent.data(), {a.data(), b.data(), c.data()});
  ASSERT_EQ(block.size(), 8 + 4 * 3 + parent.size() + a.size() + b.size() + c.size());
  EXPECT_EQ(block[0], 3);
  EXPECT_EQ(block[4], 20);  // the parent right after the four offsets
  TIdListArrayView view;
  ASSERT_TRUE(ParseIdListArray(block.data(), block.size(), view));
  EXPECT_EQ(TBytes(view.Parent, view.Parent + parent.size()), parent);
  ASSERT_EQ(view.Items.size(), 3u);
  EXPECT_EQ(TBytes(view.Items[2], view.Items[2] + c.size()), c);
  // no parent: the desktop
  const TBytes noParent = BuildIdListArray(nullptr, {a.data()});
  ASSERT_TRUE(ParseIdListArray(noParent.data(), noParent.size(), view));
  EXPECT_EQ(IdListSize(view.Parent), 2u);
}

TEST(VyShellIdListArray, RefusesForeignBlocksThatLeaveTheirBytes) {
  const TBytes a = List({{1}});
  const TBytes good = BuildIdListArray(a.data(), {a.data(), a.data()});
  auto with = [&](std::size_t at, std::uint8_t value) {
    TBytes b = good;
    b[at] = value;
    return b;
  };
  struct Case {
    const char* what;
    TBytes bytes;
  } cases[] = {
      {"too short", TBytes(good.begin(), good.begin() + 7)},
      {"count beyond the offsets", with(0, 200)},
      {"count huge", with(3, 0xFF)},
      {"offset past the end", with(8, 200)},
      {"offset into the offsets", with(8, 4)},
      {"list cut by the end", TBytes(good.begin(), good.end() - 1)},
      {"item count past the end", with(good.size() - 5, 0x30)},
  };
  for (const Case& c : cases) {
    TIdListArrayView view;
    EXPECT_FALSE(ParseIdListArray(c.bytes.data(), c.bytes.size(), view)) << c.what;
    EXPECT_TRUE(view.Items.empty()) << c.what;
  }
}

TEST(VyShellDropFiles, WideNamesAfterTheHeader) {
  const TBytes block = BuildDropFiles({u"C:\\a", u"C:\\\u00e9\u4e2d"});
  ASSERT_EQ(block.size(), 20u + 2 * (5 + 6 + 1));
  EXPECT_EQ(block[0], 20);
  EXPECT_EQ(block[16], 1);  // fWide
  std::u16string names;
  for (std::size_t at = 20; at < block.size(); at += 2) names.push_back(char16_t(block[at] | block[at + 1] << 8));
  EXPECT_EQ(names, std::u16string(u"C:\\a\0C:\\\u00e9\u4e2d\0\0", 12));
}

}  // namespace
