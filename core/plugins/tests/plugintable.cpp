#include <gtest/gtest.h>

#include "core/plugins/PluginTable.h"

TEST(PluginsDb, VerdictForOneName) {
  struct Case { const char* db; bool enabled; };
  const Case cases[] = {
      {"", false},
      {"Ranlowe IRKeys =1\r\n", true},
      {"Ranlowe IRKeys=1\r\n", false},  // no blank: the line names "Ranlowe IRKey"
      {"Ranlowe IRKeys =0\r\n", false},
      {"Ranlowe IRKeys =1\r\nRanlowe IRKeys =0\r\n", false},  // the last line wins
      {"Ranlowe IRKeys =0\r\nRanlowe IRKeys =1", true},       // no line end at the end
      {"Ranlowe IRKeys =1\r\nRanlowe IRKeys =x\r\n", true},   // a bad verdict keeps the last
      {"ranlowe irkeys =1\r\n", false},                       // names match exactly
      {"Other =1\nRanlowe IRKeys =1\n", true},                // LF alone ends a line too
  };
  for (const auto& c : cases) EXPECT_EQ(PluginEnabledInDb(c.db, "Ranlowe IRKeys"), c.enabled) << c.db;
}

TEST(PluginsDb, FormatRoundTripsEveryEntry) {
  TPluginTable t;
  t.entries[0].name = "Ranlowe IRKeys";
  t.entries[0].enabled = 1;
  t.entries[1].name = "Other";
  t.count = 2;
  const std::string db = FormatPluginsDb(t);
  EXPECT_EQ(db, "Ranlowe IRKeys =1\r\nOther =0\r\n");
  EXPECT_TRUE(PluginEnabledInDb(db, "Ranlowe IRKeys"));
  EXPECT_FALSE(PluginEnabledInDb(db, "Other"));
}
