#include <gtest/gtest.h>

#include "vcl/ShortString.h"

TEST(ShortString, AssignClampsToCapacity) {
  TShortString<5> s;
  s = "abcdefgh";
  EXPECT_EQ(s.view(), "abcde");
  EXPECT_EQ(s.length, 5);
  s = "xy";
  EXPECT_EQ(s.str(), "xy");
  EXPECT_EQ(s.chars[2], '\0') << "a shorter value clears the rest";
}

TEST(ShortString, LoadClampsADamagedLength) {
  std::uint8_t raw[TShortString<3>::StoredSize] = {200, 'a', 'b', 'c'};
  TShortString<3> s;
  s.load(raw);
  EXPECT_EQ(s.view(), "abc");
  std::uint8_t out[4] = {};
  s.store(out);
  EXPECT_EQ(out[0], 3);
  EXPECT_EQ(out[3], 'c');
}
