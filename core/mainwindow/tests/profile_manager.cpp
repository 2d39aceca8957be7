// The profile manager's operations on real profile files in a temporary settings
// folder, with the user's answers scripted.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "core/mainwindow/ProfileManager.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/TempDir.h"

using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;

namespace {
namespace fs = std::filesystem;

struct TScriptedDialogs final : IProfileDialogs {
  std::deque<TSaveChangesAnswer> saveAnswers;
  std::deque<std::optional<std::string>> names;
  std::deque<bool> overwriteAnswers;
  std::vector<std::string> asked;  // what the user was asked, in order
  std::vector<std::wstring> told;

  TSaveChangesAnswer AskSaveChanges(const std::string& profile) override {
    asked.push_back("save " + profile);
    return take(saveAnswers, TSaveChangesAnswer::Cancel);
  }
  std::optional<std::string> AskProfileName() override {
    asked.push_back("name");
    return take(names, std::optional<std::string>());
  }
  bool AskOverwrite(const std::string& profile) override {
    asked.push_back("overwrite " + profile);
    return take(overwriteAnswers, false);
  }
  void Tell(std::wstring_view message, const std::string&) override { told.emplace_back(message); }

  template <class T>
  static T take(std::deque<T>& q, T otherwise) {
    if (q.empty()) return otherwise;
    T v = q.front();
    q.pop_front();
    return v;
  }
};

struct ProfileManagerTest : ::testing::Test {
  TempDir dir{"profilemanager"};
  TKeyTable liveGlobal, livePerProgram, editList;
  TProfileState state;
  TFakeKeyList keyList;
  TRecordingReporter reporter;
  TProfileStore store{dir.path(), {liveGlobal, livePerProgram, editList}, state, keyList, reporter};
  TScriptedDialogs dialogs;
  TProfileManager manager{store, state, dialogs};

  void SetUp() override { fs::create_directories(dir / "profiles"); }

  fs::path File(const std::string& name) const { return dir / "profiles" / name; }
  static TKeyRecord Binding(std::string_view name) {
    TKeyRecord r;
    r.Name = name;
    return r;
  }
  // Saves a global profile holding the named bindings; the last one saved first is active.
  void SaveGlobal(const std::string& name, std::initializer_list<std::string_view> bindings) {
    editList.Clear();
    for (auto b : bindings) editList.Add(Binding(b));
    ASSERT_TRUE(store.savepfl(name, "-", 2));
  }
  void SaveForProgram(const std::string& name, const std::string& program) {
    editList.Clear();
    editList.Add(Binding("Per"));
    ASSERT_TRUE(store.savepfl(name, program, 2));
  }
  // Edits the edit list as the key list would: the change waits to be saved.
  void EditBinding(std::string_view newName) {
    editList.Slots[0].Name = newName;
    if (state.EditedProfile == state.ActiveGlobalProfile) liveGlobal.Slots[0].Name = newName;
    state.ProfileModified = 1;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TProfileRow& r : manager.Rows()) names.push_back(r.Name);
    return names;
  }
  // The table as the next start reads it.
  TProfileTable Reread() const { return LoadProfileTable(ReadFileBytes(dir / "profile.db")); }
};

TEST_F(ProfileManagerTest, ACreatedProfileTakesTheFirstFreeNumber) {
  SaveGlobal("main", {"A"});
  SaveGlobal("newprofile1", {});
  SaveGlobal("newprofile2", {});
  EXPECT_EQ(manager.NewProfileName(), "newprofile3");
  store.loadpfl("main", 1, 1);
  const TProfileEffects e = manager.Create();
  EXPECT_TRUE(e.ClosePage);
  EXPECT_EQ(state.EditedProfile, "newprofile3");
  EXPECT_EQ(editList.Count, 0);
  EXPECT_FALSE(fs::exists(File("newprofile3.gpf"))) << "nothing is written before the first save";
  // The first save makes it a global profile.
  editList.Add(Binding("New"));
  state.ProfileModified = 1;
  manager.Save();
  EXPECT_TRUE(fs::exists(File("newprofile3.gpf")));
  EXPECT_EQ(store.getprofiletipe("newprofile3"), "-");
  EXPECT_EQ(state.ProfileModified, 0);
}

// Cancel in the "save changes?" question leaves everything as it was; Save and
// Discard go on, each as it says.
TEST_F(ProfileManagerTest, TheSaveChangesQuestionDecidesWhatHappensToTheEdits) {
  struct Case {
    const char* what;
    TSaveChangesAnswer answer;
    bool goesOn;
    const char* fileHolds;
  };
  for (const Case& c :
       {Case{"cancel", TSaveChangesAnswer::Cancel, false, "A"}, Case{"save", TSaveChangesAnswer::Save, true, "Changed"},
        Case{"discard", TSaveChangesAnswer::Discard, true, "A"}}) {
    for (bool create : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (create ? " create" : " edit"));
      SaveGlobal("main", {"A"});
      SaveGlobal("other", {"B"});
      state.ProfileModified = 0;
      store.loadpfl("main", 1, 0);
      store.loadpfl("main", 1, 1);
      EditBinding("Changed");
      dialogs.saveAnswers = {c.answer};
      const TProfileEffects e = create ? manager.Create() : manager.Edit("other");
      EXPECT_EQ(e.ClosePage, c.goesOn);
      EXPECT_EQ(dialogs.asked.back(), "save main");
      EXPECT_EQ(std::string(ReadFileBytes(File("main.gpf")).substr(1, std::string_view(c.fileHolds).size())),
                c.fileHolds);
      if (!c.goesOn) {
        EXPECT_EQ(state.ProfileModified, 1);
        EXPECT_EQ(state.EditedProfile, "main");
        EXPECT_EQ(editList.Slots[0].Name.str(), "Changed");
      } else {
        EXPECT_EQ(state.ProfileModified, 0);
        EXPECT_EQ(state.EditedProfile, create ? "newprofile1" : "other");
        // The live table runs what the file holds, not the dropped edit.
        EXPECT_EQ(liveGlobal.Slots[0].Name.str(), c.fileHolds);
      }
    }
  }
}

TEST_F(ProfileManagerTest, SaveAsANewNameMakesAGlobalProfileWhateverWasEdited) {
  SaveGlobal("main", {"A"});
  SaveForProgram("player", "c:\\apps\\player.exe");
  store.loadpfl("main", 1, 0);
  store.loadpfl("player", 0, 1);
  state.ProfileModified = 1;
  dialogs.names = {std::string("copy")};
  const TProfileEffects e = manager.SaveAs();
  EXPECT_TRUE(e.EditListSaved);
  EXPECT_TRUE(fs::exists(File("copy.gpf")));
  EXPECT_FALSE(fs::exists(File("copy.lpf")));
  EXPECT_EQ(store.getprofiletipe("copy"), "-");
  EXPECT_EQ(state.EditedProfile, "copy");
  EXPECT_EQ(state.ProfileModified, 0);
  EXPECT_EQ(store.getprofiletipe("player"), "c:\\apps\\player.exe") << "the source keeps its program";
}

TEST_F(ProfileManagerTest, SaveAsOverAnExistingNameAsksAndKeepsItsKind) {
  SaveGlobal("main", {"A"});
  SaveForProgram("player", "c:\\apps\\player.exe");
  SaveGlobal("other", {"B"});
  store.loadpfl("main", 1, 0);
  store.loadpfl("other", 1, 1);
  const std::string playerFile = ReadFileBytes(File("player.lpf"));

  dialogs.names = {std::string("player")};
  dialogs.overwriteAnswers = {false};
  manager.SaveAs();
  EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"name", "overwrite player"}));
  EXPECT_EQ(ReadFileBytes(File("player.lpf")), playerFile) << "a no leaves the profile alone";

  dialogs.names = {std::string("player")};
  dialogs.overwriteAnswers = {true};
  const TProfileEffects e = manager.SaveAs();
  EXPECT_TRUE(e.ProfilesChanged);
  EXPECT_FALSE(fs::exists(File("player.gpf"))) << "no global file beside a program's profile";
  EXPECT_EQ(ReadFileBytes(File("player.lpf")).substr(1, 1), "B");
  EXPECT_EQ(store.getprofiletipe("player"), "c:\\apps\\player.exe");
  EXPECT_EQ(Reread().Count, 3);
}

TEST_F(ProfileManagerTest, SaveAsOverTheActiveProfileRunsWhatWasSaved) {
  SaveGlobal("main", {"A"});
  SaveGlobal("other", {"B"});
  store.loadpfl("main", 1, 0);
  store.loadpfl("other", 1, 1);
  dialogs.names = {std::string("main")};
  dialogs.overwriteAnswers = {true};
  manager.SaveAs();
  EXPECT_EQ(liveGlobal.Slots[0].Name.str(), "B");
  EXPECT_EQ(state.EditedProfile, "main");
}

TEST_F(ProfileManagerTest, SaveAsRefusesBadNamesAndAFullTable) {
  SaveGlobal("main", {"A"});
  dialogs.names = {std::string("a/b")};
  manager.SaveAs();
  EXPECT_EQ(dialogs.told, std::vector<std::wstring>{L"BadProfileName"});
  dialogs.names = {std::string()};  // an empty name is a cancel
  manager.SaveAs();
  EXPECT_EQ(Names(), std::vector<std::string>{"main"});

  for (int i = 2; i <= 64; ++i) SaveGlobal("p" + std::to_string(i), {});
  dialogs.told.clear();
  dialogs.asked.clear();
  manager.SaveAs();
  manager.Create();
  EXPECT_EQ(dialogs.told, (std::vector<std::wstring>{L"AlreadyMaxProfiles", L"AlreadyMaxProfiles"}));
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ProfileManagerTest, ADeletedProfileNeverComesBack) {
  SaveGlobal("main", {"A"});
  SaveGlobal("gone", {"G"});
  store.loadpfl("main", 1, 0);
  store.loadpfl("gone", 1, 1);
  EditBinding("Edited");

  EXPECT_FALSE(manager.Delete("main").ProfilesChanged);
  EXPECT_EQ(dialogs.told, std::vector<std::wstring>{L"CantDeleteProfile"});

  const TProfileEffects e = manager.Delete("gone");
  EXPECT_TRUE(e.ProfilesChanged);
  EXPECT_FALSE(fs::exists(File("gone.gpf")));
  EXPECT_EQ(Names(), std::vector<std::string>{"main"});
  // The edit list goes back to the active profile, so no later save writes the
  // deleted one again.
  EXPECT_EQ(state.EditedProfile, "main");
  EXPECT_EQ(state.ProfileModified, 0);
  manager.Save();
  EXPECT_FALSE(fs::exists(File("gone.gpf")));
  const TProfileTable next = Reread();
  EXPECT_EQ(next.Count, 1);
  EXPECT_EQ(next.Entries[0].Kind.str(), "main");
  for (const TProfileEntry& entry : store.Table().Entries) EXPECT_NE(entry.Name.str(), "gone");
}

TEST_F(ProfileManagerTest, BindingAGlobalProfileMovesItsFileAndAProgramsProfileOnlyItsPath) {
  SaveGlobal("main", {"A"});
  SaveGlobal("games", {"G"});
  SaveForProgram("player", "c:\\old\\player.exe");
  store.loadpfl("main", 1, 0);

  EXPECT_TRUE(manager.BindToProgram("games", "c:\\games\\game.exe").ProfilesChanged);
  EXPECT_FALSE(fs::exists(File("games.gpf")));
  EXPECT_EQ(ReadFileBytes(File("games.lpf")).substr(1, 1), "G");
  EXPECT_EQ(store.ProfileForProgram("c:\\games\\game.exe"), "games");

  const std::string playerFile = ReadFileBytes(File("player.lpf"));
  EXPECT_TRUE(manager.BindToProgram("player", "c:\\new\\player.exe").ProfilesChanged);
  EXPECT_EQ(ReadFileBytes(File("player.lpf")), playerFile);
  EXPECT_EQ(Reread().Entries[3].Kind.str(), "c:\\new\\player.exe");

  EXPECT_FALSE(manager.BindToProgram("main", "c:\\x.exe").ProfilesChanged);
  EXPECT_EQ(dialogs.told, std::vector<std::wstring>{L"ErrorProfileUsed"});
  EXPECT_TRUE(fs::exists(File("main.gpf")));
  EXPECT_EQ(store.getprofiletipe("main"), "-");
}

TEST_F(ProfileManagerTest, OnlyAGlobalProfileBecomesActive) {
  SaveGlobal("main", {"A"});
  SaveGlobal("other", {"B"});
  SaveForProgram("player", "c:\\p.exe");
  store.loadpfl("main", 1, 0);
  EXPECT_FALSE(manager.SetActive("player").ProfilesChanged);
  EXPECT_EQ(state.ActiveGlobalProfile, "main");
  EXPECT_TRUE(manager.SetActive("other").ProfilesChanged);
  EXPECT_EQ(state.ActiveGlobalProfile, "other");
  EXPECT_EQ(liveGlobal.Slots[0].Name.str(), "B");
}

TEST_F(ProfileManagerTest, EditingAProgramsProfileLoadsItsOwnFile) {
  SaveGlobal("main", {"A"});
  SaveForProgram("player", "c:\\p.exe");
  store.loadpfl("main", 1, 0);
  store.loadpfl("main", 1, 1);
  EXPECT_TRUE(manager.Edit("player").ClosePage);
  EXPECT_EQ(state.EditedProfile, "player");
  EXPECT_EQ(editList.Slots[0].Name.str(), "Per");
  EXPECT_EQ(keyList.items, std::vector<std::string>{"Per"});
}
}  // namespace
