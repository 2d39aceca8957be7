#include "core/keys/ActionParams.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct SetCase {
  const char* params;
  const char* name;
  const char* value;
  std::optional<std::string> expected;
};

TEST(SetParamOnAct, StoresReplacesAndAppendsAtEntryBoundaries) {
  const SetCase cases[] = {
      {"", "a", "1", "a:1;a|"},
      {"a:1;a|", "a", "22", "a:22;a|"},
      {"a:1;a|b:2;b|", "b", "", "a:1;a|b:;b|"},
      {"a:1;a|b:2;b|", "a", "x", "a:x;a|b:2;b|"},
      {"a:1;a|", "b", "2", "a:1;a|b:2;b|"},
      // One name ending another must not touch the other's entry.
      {"dblclick:0;dblclick|", "click", "2", "dblclick:0;dblclick|click:2;click|"},
      {"click:1;click|dblclick:0;dblclick|", "click", "5", "click:5;click|dblclick:0;dblclick|"},
      {"dblclick:0;dblclick|click:2;click|", "dblclick", "9", "dblclick:9;dblclick|click:2;click|"},
      // Values may hold ':' and '|' and another name's closing tag.
      {"", "p", "c:\\a|b", "p:c:\\a|b;p|"},
      {"", "p", "x;q|y", "p:x;q|y;p|"},
      // A lone opening tag no longer eats the write: the value is stored first.
      {"a:1;", "a", "5", "a:5;a|a:1;"},
      {"k:1;k|a:1;", "a", "5", "k:1;k|a:5;a|a:1;"},
      // Entries an earlier version appended to a plain value: the value stays in front.
      {"4notepad.exeexetype:4;exetype|", "exetype", "1", "4notepad.exeexetype:1;exetype|"},
      {"4notepad.exeexetype:4;exetype|", "switchtoloaded", "1",
       "4notepad.exeexetype:4;exetype|switchtoloaded:1;switchtoloaded|"},
      {"1c:\\x.exex:1;x|", "y", "2", "1c:\\x.exex:1;x|y:2;y|"},
      // ... unless the plain value would read the new entry as part of one of its own.
      {"zn:a:1;a|", "n", "5", std::nullopt},
      // Refused: the value would end its own entry early, or the name is no name.
      {"", "a", "x;a|y", std::nullopt},
      {"", "", "1", std::nullopt},
      {"", "a:b", "1", std::nullopt},
      {"", "a|", "1", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SetParamOnAct(c.params, c.name, c.value), c.expected)
        << "'" << c.params << "' " << c.name << "=" << c.value;
  }
}

TEST(SetParamOnAct, RefusesAStringBeyondTheFieldInsteadOfCuttingItsTag) {
  const std::string base = "a:" + std::string(240, 'x') + ";a|";  // 245 characters
  ASSERT_EQ(base.size(), 245u);
  EXPECT_EQ(SetParamOnAct(base, "b", "123456"), std::nullopt);     // 256 characters
  const auto fits = SetParamOnAct(base, "b", "12345");             // exactly 255
  ASSERT_TRUE(fits);
  EXPECT_EQ(fits->size(), 255u);
  EXPECT_EQ(GetParamOnAct(*fits, "b"), "12345");
}

struct GetCase {
  const char* params;
  const char* name;
  const char* defaultValue;
  const char* expected;
};

TEST(GetParamOnAct, ReadsOnlyWholeEntries) {
  const GetCase cases[] = {
      {"a:1;a|b:2;b|", "b", "", "2"},
      {"a:1;a|b:2;b|", "a", "", "1"},
      {"a:1;a|b:2;b|", "c", "", "-nil-"},
      {"a:1;a|b:2;b|", "c", "0", "0"},
      {"a:;a|", "a", "7", ""},  // present but empty is not absent
      // A name inside another entry's value is not an entry.
      {"x:a:5;x|", "a", "", "-nil-"},
      {"dblclick:0;dblclick|click:2;click|", "click", "", "2"},
      {"dblclick:0;dblclick|", "click", "d", "d"},
      {"click:2;click|dblclick:0;dblclick|", "dblclick", "", "0"},
      {"p:c:\\a|b;p|", "p", "", "c:\\a|b"},
      {"", "a", "", "-nil-"},
      {"a:1;", "a", "", "-nil-"},
      {"1c:\\x.exe", "exefile", "", "-nil-"},
      // Entries after a plain value, as earlier versions wrote them.
      {"4notepad.exeexetype:4;exetype|switchtoloaded:1;switchtoloaded|", "exetype", "", "4"},
      {"4notepad.exeexetype:4;exetype|switchtoloaded:1;switchtoloaded|", "switchtoloaded", "", "1"},
      {"1c:\\music\\showosd:1;showosd|", "showosd", "", "1"},
      {"xdblclick:0;dblclick|click:2;click|", "dblclick", "", "0"},
      {"xdblclick:0;dblclick|click:2;click|", "click", "", "2"},
      {"4notepad.exeexetype:4;exetype|", "exefile", "", "-nil-"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetParamOnAct(c.params, c.name, c.defaultValue), c.expected)
        << "'" << c.params << "' " << c.name;
  }
}

TEST(ParamOnAct, EveryWriteReadsBack) {
  std::string params;
  const std::pair<const char*, const char*> writes[] = {
      {"click", "1"}, {"dblclick", "0"}, {"x", "10"}, {"click", "2"}, {"dblclick", ""}, {"y", "a:b|c"}};
  for (const auto& [name, value] : writes) {
    const auto next = SetParamOnAct(params, name, value);
    ASSERT_TRUE(next) << name;
    params = *next;
    EXPECT_EQ(GetParamOnAct(params, name, "?"), value) << params;
  }
  EXPECT_EQ(params, "click:2;click|dblclick:;dblclick|x:10;x|y:a:b|c;y|");
}

TEST(IsParamOnAct, TellsTaggedFromPlain) {
  const std::pair<const char*, bool> cases[] = {
      {"exefile:c:\\x.exe;exefile|", true},
      {"a:1;a|", true},
      {"1c:\\x.exe", false},
      {"b:1;a|", false},         // the first ':' is not preceded by the closing name
      {"a:1;|", false},          // no closing name
      {"a:1a|", false},          // no ';'
      {"a:1;a", false},          // no '|'
      {"", false},
      {":1;abc|", false},        // closing name longer than the text before ':'
      {"xa:1;a|", true},
  };
  for (const auto& [params, tagged] : cases) EXPECT_EQ(IsParamOnAct(params), tagged) << params;
}

}  // namespace
