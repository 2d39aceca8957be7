// The action frames' access to the selected binding.
#include <gtest/gtest.h>

#include "core/keys/BindingAccess.h"
#include "core/settings/tests/SettingsTestSupport.h"

namespace {
struct Bindings : ::testing::Test {
  TKeyTable editList, liveGlobal;
  TProfileState state;
  TFakeKeyList keyList;
  TBindingAccess access{editList, liveGlobal, state, keyList};

  void SetUp() override {
    const std::pair<std::uint8_t, const char*> rows[] = {{11, "a"}, {51, "exefile:c:\\x.exe;exefile|"}, {72, ""}};
    for (const auto& [code, params] : rows) {
      TKeyRecord r;
      r.ActionCode = code;
      r.Params = params;
      editList.Add(r);
      liveGlobal.Add(r);
      keyList.Add("k");
    }
    state.ActiveGlobalProfile = "Main";
    state.EditedProfile = "Main";
  }
};
}  // namespace

TEST_F(Bindings, GettersReadTheSelectedBinding) {
  keyList.selected = 1;
  EXPECT_EQ(access.getkey(), 51);
  EXPECT_EQ(access.LastReadActionCode, 51);
  EXPECT_EQ(access.getkeydop(), "exefile:c:\\x.exe;exefile|");
  EXPECT_EQ(access.getkeybyindex(2), 72);
  EXPECT_EQ(access.getkeybyindex(255), 0);
  EXPECT_EQ(access.getkeybyindex(3), 0) << "past the bindings";
}

TEST_F(Bindings, NothingSelectedOrAnEmptyListIsInert) {
  struct Case { int selected; bool emptyList; };
  const Case cases[] = {{-1, false}, {255, false}, {3, false}, {200, false}, {0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selected);
    TKeyTable list = editList, live = liveGlobal;
    if (c.emptyList) list.Clear();
    TProfileState s = state;
    TFakeKeyList view;
    view.selected = c.selected;
    TBindingAccess a(list, live, s, view);
    EXPECT_EQ(a.getkey(), 0);
    EXPECT_EQ(a.getkeydop(), "");
    a.setkey(99);
    a.setkeydop("changed");
    EXPECT_EQ(s.ProfileModified, 0);
    EXPECT_EQ(view.saveButtonEnabled, 0);
    for (std::size_t i = 0; i < 256; ++i) {
      ASSERT_NE(list.Slots[i].ActionCode, 99) << i;
      ASSERT_NE(live.Slots[i].ActionCode, 99) << i;
    }
  }
}

TEST_F(Bindings, ModifiedExactlyWhenTheStoredValueChanges) {
  keyList.selected = 0;
  access.getkey();
  access.setkey(11);  // the sub-action the binding already has
  EXPECT_EQ(state.ProfileModified, 0);
  EXPECT_EQ(keyList.saveButtonEnabled, 0);
  access.setkey(12);
  EXPECT_EQ(state.ProfileModified, 1);
  EXPECT_EQ(keyList.saveButtonEnabled, 1);
  EXPECT_EQ(editList.Slots[0].ActionCode, 12);
}

TEST_F(Bindings, ARepaintOfTheListCannotHideAnEdit) {
  keyList.selected = 0;
  access.getkey();             // the frame reads 11
  access.getkeybyindex(2);     // the list draws the icon of binding 2: code 72
  access.setkey(72);           // the user picks 72 for binding 0
  EXPECT_EQ(state.ProfileModified, 1) << "binding 0 changed from 11 to 72";
  EXPECT_EQ(editList.Slots[0].ActionCode, 72);

  state.ProfileModified = 0;
  keyList.selected = 2;
  access.getkeydop();          // reads ""
  keyList.selected = 1;
  access.setkeydop("");        // binding 1 held a path
  EXPECT_EQ(state.ProfileModified, 1);
}

TEST_F(Bindings, ParametersAreCutTo255Characters) {
  keyList.selected = 2;
  const std::string longText(300, 'p');
  access.setkeydop(longText);
  EXPECT_EQ(editList.Slots[2].Params.str(), longText.substr(0, 255));
  EXPECT_EQ(liveGlobal.Slots[2].Params.str(), longText.substr(0, 255));
  state.ProfileModified = 0;
  access.setkeydop(longText + "more");
  EXPECT_EQ(state.ProfileModified, 0) << "the same 255 characters are stored";
}

TEST_F(Bindings, EditsWorkAtOnceOnlyInTheActiveGlobalProfile) {
  struct Case { const char* active; const char* edited; bool live; };
  const Case cases[] = {{"Main", "Main", true}, {"Main", "Other", false}, {"main", "Main", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.active) + "/" + c.edited);
    TKeyTable list = editList, live = liveGlobal;
    TProfileState s;
    s.ActiveGlobalProfile = c.active;
    s.EditedProfile = c.edited;
    TFakeKeyList view;
    view.selected = 1;
    TBindingAccess a(list, live, s, view);
    a.setkey(55);
    a.setkeydop("new");
    EXPECT_EQ(list.Slots[1].ActionCode, 55);
    EXPECT_EQ(live.Slots[1].ActionCode, c.live ? 55 : 51);
    EXPECT_EQ(live.Slots[1].Params, c.live ? "new" : "exefile:c:\\x.exe;exefile|");
    EXPECT_EQ(live.Slots[0].ActionCode, 11) << "other bindings stay";
  }
}

TEST_F(Bindings, ALiveTableShorterThanTheListGetsNoStrayRecord) {
  liveGlobal.Delete(2);
  keyList.selected = 2;
  access.setkey(99);
  EXPECT_EQ(editList.Slots[2].ActionCode, 99);
  EXPECT_EQ(liveGlobal.Slots[2].ActionCode, 0);
  EXPECT_EQ(liveGlobal.Slots[2].Extra, 111) << "a free slot stays cleared";
}
