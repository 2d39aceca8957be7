#include "core/keys/KeyRecord.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::array<std::uint8_t, 613>;

void putShort(Bytes& b, std::size_t at, std::string_view s) {
  b[at] = static_cast<std::uint8_t>(s.size());
  std::memcpy(b.data() + at + 1, s.data(), s.size());
}

// A record as a profile file holds it, laid out by hand at the documented offsets.
Bytes handMadeRecord() {
  Bytes b{};
  putShort(b, 0, "Play");
  putShort(b, 26, "Now playing");
  b[77] = 0x22;                       // second code
  b[78] = 179;                        // virtual key: play/pause
  b[79] = 0x80;                       // third value
  b[80] = 0x01; b[81] = 0x01; b[82] = 0x00; b[83] = 0x00;  // 257, little-endian
  putShort(b, 84, "01000010");
  b[93] = 4;                          // repeat rate
  b[94] = 31;                         // action code
  putShort(b, 95, "exefile:c:\\x.exe;exefile|");
  b[351] = 1;                         // disabled
  putShort(b, 352, "KEY_POWER");
  return b;
}

TEST(KeyRecord, ReadsEveryFieldOfAHandMadeRecord) {
  const Bytes file = handMadeRecord();
  const TKeyRecord r = TKeyRecord::Load(file.data());
  EXPECT_EQ(r.Name.str(), "Play");
  EXPECT_EQ(r.OsdText.str(), "Now playing");
  EXPECT_EQ(r.Code2, 0x22);
  EXPECT_EQ(r.Vk, 179);
  EXPECT_EQ(r.Extra, 0x80);
  EXPECT_EQ(r.Msg, 257);
  EXPECT_EQ(r.Modifiers.str(), "01000010");
  EXPECT_EQ(r.RepeatRate, 4);
  EXPECT_EQ(r.ActionCode, 31);
  EXPECT_EQ(r.Params.str(), "exefile:c:\\x.exe;exefile|");
  EXPECT_EQ(r.Disabled, 1);
  EXPECT_EQ(r.PluginKeyName.str(), "KEY_POWER");
}

TEST(KeyRecord, WritesTheHandMadeRecordBackByteForByte) {
  const Bytes file = handMadeRecord();
  EXPECT_EQ(TKeyRecord::Load(file.data()).Bytes(), file);
}

TEST(KeyRecord, MemoryImageIsTheFileImage) {
  // Profile files and the live tables share the layout: a raw copy must agree too.
  const Bytes file = handMadeRecord();
  const TKeyRecord r = TKeyRecord::Load(file.data());
  Bytes raw{};
  std::memcpy(raw.data(), &r, sizeof r);
  EXPECT_EQ(raw, file);
}

TEST(KeyRecord, NegativeAndLargeMessagesSurviveTheRoundTrip) {
  for (std::int32_t msg : {0, 256, 261, -1, 0x12345678, INT32_MIN}) {
    TKeyRecord r;
    r.Msg = msg;
    const auto bytes = r.Bytes();
    EXPECT_EQ(TKeyRecord::Load(bytes.data()).Msg, msg) << msg;
  }
}

TEST(KeyRecord, ClearedRecordHasOnlyTheThirdValueSet) {
  TKeyRecord r = TKeyRecord::Load(handMadeRecord().data());
  r.Clear();
  Bytes expected{};
  expected[79] = 111;
  EXPECT_EQ(r.Bytes(), expected);
}

TEST(KeyRecord, ReservedBytesAreWrittenZero) {
  Bytes file = handMadeRecord();
  file[608] = 0xAA;
  file[609] = 0x01; file[612] = 0xFF;
  const auto written = TKeyRecord::Load(file.data()).Bytes();
  for (std::size_t i = 608; i < 613; ++i) EXPECT_EQ(written[i], 0) << i;
}

// A damaged file may carry any length byte; reading must stay inside each field.
TEST(KeyRecord, LengthBytesBeyondCapacityAreClamped) {
  struct Case {
    std::size_t offset;
    std::size_t capacity;
    std::size_t (*size)(const TKeyRecord&);
  };
  const Case cases[] = {
      {0, 25, [](const TKeyRecord& r) { return r.Name.size(); }},
      {26, 50, [](const TKeyRecord& r) { return r.OsdText.size(); }},
      {84, 8, [](const TKeyRecord& r) { return r.Modifiers.size(); }},
      {95, 255, [](const TKeyRecord& r) { return r.Params.size(); }},
      {352, 255, [](const TKeyRecord& r) { return r.PluginKeyName.size(); }},
  };
  for (const auto& c : cases) {
    Bytes file = handMadeRecord();
    file[c.offset] = 0xFF;
    EXPECT_EQ(c.size(TKeyRecord::Load(file.data())), c.capacity) << "field at " << c.offset;
  }
}

TEST(KeyTable, ClearResetsEverySlot) {
  TKeyTable t;
  const TKeyRecord r = TKeyRecord::Load(handMadeRecord().data());
  ASSERT_TRUE(t.Add(r));
  t.Slots[200] = r;  // stale data beyond the count must go too
  t.Clear();
  EXPECT_EQ(t.Count, 0);
  TKeyRecord cleared;
  for (const auto& slot : t.Slots) EXPECT_EQ(slot.Bytes(), cleared.Bytes());
}

TEST(KeyTable, HoldsAtMost255Bindings) {
  TKeyTable t;
  TKeyRecord r;
  for (int i = 0; i < 255; ++i) {
    r.Vk = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(t.Add(r)) << i;
  }
  EXPECT_EQ(t.Count, 255);
  r.Vk = 7;
  r.Name = "one too many";
  EXPECT_FALSE(t.Add(r));
  EXPECT_EQ(t.Count, 255);
  EXPECT_EQ(t.Slots[255].Bytes(), TKeyRecord{}.Bytes());
  EXPECT_EQ(t.Slots[254].Vk, 254);
}

TEST(KeyTable, DeleteMovesLaterBindingsUpAndClearsTheFreedSlot) {
  TKeyTable t;
  for (const char* name : {"a", "b", "c"}) {
    TKeyRecord r;
    r.Name = name;
    t.Add(r);
  }
  EXPECT_FALSE(t.Delete(3));
  ASSERT_TRUE(t.Delete(0));
  EXPECT_EQ(t.Count, 2);
  EXPECT_EQ(t.Slots[0].Name.str(), "b");
  EXPECT_EQ(t.Slots[1].Name.str(), "c");
  EXPECT_EQ(t.Slots[2].Bytes(), TKeyRecord{}.Bytes());
}

}  // namespace
