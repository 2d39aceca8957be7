// "pluginsfailed.db": the records of plug-ins left out.
#include <gtest/gtest.h>

#include "core/plugins/PluginFailures.h"

namespace {

TEST(PluginFailures, RoundTripAndDamagedLines) {
  const std::string text =
      "a.dll\tGetName\tcrash\ttold\r\n"
      "\xd0\x9f.dll\tDisable\thang\tnew\r\n"  // a Cyrillic file name, UTF-8
      "too\tfew\tfields\r\n"
      "\tEnable\tcrash\ttold\r\n"  // no file name
      "a\tb\tc\td\te\r\n"
      "\n";
  auto records = ParsePluginFailures(text);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].file, "a.dll");
  EXPECT_TRUE(records[0].told);
  EXPECT_EQ(records[1].exportName, "Disable");
  EXPECT_EQ(records[1].what, "hang");
  EXPECT_FALSE(records[1].told);
  EXPECT_EQ(FormatPluginFailures(records), "a.dll\tGetName\tcrash\ttold\r\n\xd0\x9f.dll\tDisable\thang\tnew\r\n");
}

TEST(PluginFailures, OneRecordPerFileWhateverTheLetterCase) {
  std::vector<TPluginFailure> records;
  RecordPluginFailure(records, {"Bad.dll", "GetName", "crash", true});
  RecordPluginFailure(records, {"bad.DLL", "Enable", "hang", false});
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].exportName, "Enable");
  EXPECT_NE(FindPluginFailure(records, "BAD.dll"), nullptr);
  EXPECT_EQ(FindPluginFailure(records, "bad.dl"), nullptr);
  EXPECT_FALSE(ForgetPluginFailure(records, "other.dll"));
  EXPECT_TRUE(ForgetPluginFailure(records, "bad.dll"));
  EXPECT_TRUE(records.empty());
}

TEST(PluginFailures, SeparatorsInAFieldCannotSplitTheLine) {
  const std::string text = FormatPluginFailures({{"odd\tname\r\n.dll", "GetName", "crash", true}});
  const auto back = ParsePluginFailures(text);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0].file, "odd name  .dll");
}

}  // namespace
