// The key list's edits on the binding tables: the live global table follows the
// edit list exactly while it holds the same profile, and never otherwise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mainwindow/KeyListEditing.h"

namespace {

TKeyEvent Key(std::uint8_t vk, std::string modifiers = std::string(NoModifiers), std::string plugin = {}) {
  TKeyEvent k;
  k.Vk = vk;
  k.Code2 = static_cast<std::uint8_t>(vk + 1);
  k.Msg = KeyMsgDown;
  k.Modifiers = std::move(modifiers);
  k.PluginKeyName = std::move(plugin);
  return k;
}

struct Tables : ::testing::Test {
  TKeyTable edit, live;
  TProfileState state{"Main", "", "Main", 0};
  TKeyListEditing editing{edit, live, state};

  void AddKeys(std::initializer_list<std::uint8_t> vks) {
    for (std::uint8_t vk : vks) ASSERT_TRUE(editing.Append(Key(vk), "k" + std::to_string(vk)));
  }
  std::vector<std::string> Names(const TKeyTable& t) const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < t.Count; ++i) names.push_back(t.Slots[i].Name.str());
    return names;
  }
};

TEST_F(Tables, AnAddedKeyIsANewBindingWithoutActionInBothTables) {
  TKeyEvent k = Key(65, "01000000");
  k.Extra = 7;
  const auto index = editing.Append(k, std::string(40, 'n'));
  ASSERT_EQ(index, 0u);
  const TKeyRecord& r = edit.Slots[0];
  EXPECT_EQ(r.Name.str(), std::string(25, 'n'));
  EXPECT_EQ(r.Vk, 65);
  EXPECT_EQ(r.Code2, 66);
  EXPECT_EQ(r.Extra, 7);
  EXPECT_EQ(r.Modifiers.str(), "01000000");
  EXPECT_EQ(r.ActionCode, 0);
  EXPECT_EQ(r.RepeatRate, 0);
  EXPECT_EQ(live.Count, 1);
  EXPECT_EQ(live.Slots[0].Bytes(), r.Bytes());
}

TEST_F(Tables, AnotherProfileBeingEditedLeavesTheLiveTableAlone) {
  state.EditedProfile = "Games";
  AddKeys({65, 66, 67});
  editing.Rename(1, "x");
  editing.Move(0, 2);
  editing.Delete(0);
  EXPECT_EQ(live.Count, 0);
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"k67", "k65"}));
}

TEST_F(Tables, AFullReceivingTableRefusesOnlyWhileItReceives) {
  for (int i = 0; i < 255; ++i) live.Add(TKeyRecord{});
  EXPECT_FALSE(editing.CanAdd());
  EXPECT_FALSE(editing.Append(Key(65), "a"));
  EXPECT_EQ(edit.Count, 0);
  state.EditedProfile = "Games";  // the full live table receives nothing now
  EXPECT_TRUE(editing.CanAdd());
  for (int i = 0; i < 255; ++i) ASSERT_TRUE(editing.Append(Key(static_cast<std::uint8_t>(i)), "k"));
  EXPECT_FALSE(editing.CanAdd());
  EXPECT_FALSE(editing.Append(Key(1), "k"));
  EXPECT_EQ(edit.Count, 255);
}

TEST_F(Tables, TheSameKeyIsFoundWhateverItsBindingDoes) {
  AddKeys({65, 66});
  editing.SetDisabled(1, true);
  EXPECT_EQ(editing.FindSameKey(Key(66), false), 1u);
  EXPECT_EQ(editing.FindSameKey(Key(67), false), std::nullopt);
  // Another message, modifier or plug-in button is another key.
  TKeyEvent up = Key(65);
  up.Msg = KeyMsgUp;
  EXPECT_EQ(editing.FindSameKey(up, false), std::nullopt);
  EXPECT_EQ(editing.FindSameKey(Key(65, "01000000"), false), std::nullopt);
  EXPECT_EQ(editing.FindSameKey(Key(65, std::string(NoModifiers), "POWER"), false), std::nullopt);
  // Right Ctrl matches left Ctrl only when the sides are not told apart.
  ASSERT_TRUE(editing.Append(Key(70, "01000000"), "lctrl"));
  EXPECT_EQ(editing.FindSameKey(Key(70, "00000010"), false), std::nullopt);
  EXPECT_EQ(editing.FindSameKey(Key(70, "00000010"), true), 2u);
}

TEST_F(Tables, DraggingMovesOneBindingAndShiftsTheOthers) {
  AddKeys({1, 2, 3, 4, 5});
  EXPECT_TRUE(editing.Move(3, 1));
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"k1", "k4", "k2", "k3", "k5"}));
  EXPECT_TRUE(editing.Move(0, 4));
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"k4", "k2", "k3", "k5", "k1"}));
  EXPECT_EQ(Names(live), Names(edit));
  // Below the last binding, onto itself, or with nothing selected: nothing moves.
  EXPECT_FALSE(editing.Move(1, 5));
  EXPECT_FALSE(editing.Move(2, 2));
  EXPECT_FALSE(editing.Move(255, 0));
  EXPECT_EQ(Names(edit), (std::vector<std::string>{"k4", "k2", "k3", "k5", "k1"}));
}

TEST_F(Tables, DeletingTheLastBindingLeavesClearedSlots) {
  AddKeys({1, 2});
  EXPECT_TRUE(editing.Delete(1));
  EXPECT_TRUE(editing.Delete(0));
  EXPECT_FALSE(editing.Delete(0));
  EXPECT_EQ(edit.Count, 0);
  EXPECT_EQ(live.Count, 0);
  EXPECT_EQ(edit.Slots[0].Bytes(), TKeyRecord{}.Bytes());
}

TEST_F(Tables, ALiveTableOutOfStepIsNeverWrittenPastItsEnd) {
  AddKeys({1, 2, 3});
  live.Clear();  // reloaded from an older file meanwhile
  EXPECT_TRUE(editing.Delete(1));
  EXPECT_EQ(live.Count, 0);
  EXPECT_TRUE(editing.Move(0, 1));
  EXPECT_EQ(live.Count, 0);
}

TEST_F(Tables, OptionsAndKeysChangeBothTables) {
  AddKeys({1});
  EXPECT_TRUE(editing.SetOptions(0, std::string(60, 'o'), 4));
  EXPECT_TRUE(editing.SetKey(0, Key(9, "10000000")));
  EXPECT_TRUE(editing.SetDisabled(0, true));
  EXPECT_EQ(edit.Slots[0].OsdText.str(), std::string(50, 'o'));
  EXPECT_EQ(edit.Slots[0].RepeatRate, 4);
  EXPECT_EQ(edit.Slots[0].Vk, 9);
  EXPECT_EQ(edit.Slots[0].Disabled, 1);
  EXPECT_EQ(live.Slots[0].Bytes(), edit.Slots[0].Bytes());
  EXPECT_FALSE(editing.SetOptions(1, "", 0));
}

}  // namespace
