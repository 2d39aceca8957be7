#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin-ir/LircLines.h"

using namespace ranlowe;

TEST(EscapeLine, KeepsSafeBytesAndEscapesTheRest) {
  struct Case { std::string raw, escaped; };
  const Case cases[] = {
      {"Az09 ,-._", "Az09 ,-._"},
      {"a#b", "a%23b"},
      {"a\tb", "a%09b"},
      {"x\r", "x%0D"},
      {std::string("\xff\x80", 2), "%FF%80"},
      {std::string("\0", 1), "%00"},
      {"%", "%25"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeLine(c.raw), c.escaped) << c.raw;
}

TEST(KeyFilter, PostsTheFirstPressAndRepeatsFromTheSixth) {
  struct Case { const char* line; const char* posted; };  // nullptr: not posted
  const Case cases[] = {
      {"0000000000f40bf0 00 KEY_X remote", "0000000000f40bf0"},
      {"0000000000f40bf0 03 KEY_X remote", nullptr},
      {"0000000000f40bf0 05 KEY_X remote", nullptr},
      {"0000000000f40bf0 06 KEY_X remote", "0000000000f40bf0"},
      {"0000000000f40bf0 0a KEY_X remote", "0000000000f40bf0"},
      {"0000000000f40bf0 10 KEY_X remote", "0000000000f40bf0"},
      {"lonely", "lonely"},
      {"k#1 00 b r", "k%231"},
      {"k\t1 00 b r", "k%091"},
      {"code 00 b r\r", "code"},
      {" 00 b r", nullptr},  // an empty key field names no key
  };
  for (const auto& c : cases) {
    KeyFilter f;
    auto got = f.KeyOf(c.line);
    if (c.posted) {
      ASSERT_TRUE(got.has_value()) << c.line;
      EXPECT_EQ(*got, c.posted) << c.line;
    } else {
      EXPECT_FALSE(got.has_value()) << c.line;
    }
  }
}

TEST(KeyFilter, SkipsCommandRepliesInAnyCase) {
  KeyFilter f;
  const std::vector<std::string> reply = {"begin", "SIMULATE 0000 00 KEY remote", "SUCCESS", "END"};
  for (const auto& line : reply) EXPECT_FALSE(f.KeyOf(line)) << line;
  EXPECT_EQ(f.KeyOf("0001 00 KEY_A r").value_or(""), "0001") << "keys pass again after END";
  EXPECT_FALSE(f.KeyOf("BeGiN\r"));
  EXPECT_FALSE(f.KeyOf("SIGHUP"));
  EXPECT_FALSE(f.KeyOf("END\r"));
}

TEST(KeyFilter, RefusesANameOverTheKeyLimitAfterEscaping) {
  KeyFilter f;
  EXPECT_TRUE(f.KeyOf(std::string(255, 'k') + " 00 b r"));
  // 90 '#' bytes escape to 270 characters.
  EXPECT_FALSE(f.KeyOf(std::string(90, '#') + " 00 b r"));
}

TEST(LineSplitter, HandlesSplitLinesSeveralLinesAndOverlongLines) {
  LineSplitter s;
  std::vector<std::string> got;
  auto sink = [&](std::string_view l) { got.emplace_back(l); };
  s.Feed("one 00 a r\ntw", sink);
  s.Feed("o 00 b r\nthree 00 c r\n", sink);
  s.Feed(std::string(300, 'x'), sink);
  s.Feed(std::string(10, 'y') + "\nfour", sink);
  s.Feed("\n", sink);
  const std::vector<std::string> want = {"one 00 a r", "two 00 b r", "three 00 c r", "four"};
  EXPECT_EQ(got, want);
}

TEST(LineSplitter, KeepsALineOfExactlyTheLimit) {
  LineSplitter s;
  std::vector<std::string> got;
  s.Feed(std::string(kMaxLineLength, 'a') + "\n" + std::string(kMaxLineLength + 1, 'b') + "\nc\n",
         [&](std::string_view l) { got.emplace_back(l); });
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].size(), kMaxLineLength);
  EXPECT_EQ(got[1], "c");
}
