// Profile files and the profile table in a real settings folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/Profiles.h"
#include "core/settings/SafeFile.h"
#include "core/settings/SettingsClose.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/TempDir.h"

using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

namespace {
constexpr std::size_t RecordSize = 613;
constexpr std::size_t EntrySize = 303;

// One binding record laid out by hand.
std::string Binding(std::string_view name, std::uint8_t vk, std::uint8_t code, std::string_view params,
                    std::string_view pluginKey = "") {
  std::string b(RecordSize, '\0');
  PutShort(b, 0, name);
  PutShort(b, 26, "osd");
  Put8(b, 77, 1);     // second key code
  Put8(b, 78, vk);
  Put8(b, 79, 111);
  Put32(b, 80, 256);  // key down
  PutShort(b, 84, "01000000");
  Put8(b, 93, 0);
  Put8(b, 94, code);
  PutShort(b, 95, params);
  PutShort(b, 352, pluginKey);
  return b;
}

std::string ThreeBindings() {
  return Binding("Play", 179, 11, "") + Binding("Mail", 180, 72, "exefile:c:\\m.exe;exefile|") +
         Binding("Remote OK", 1, 21, "5", "KEY_OK");
}

std::string Entry(std::string_view name, std::string_view kind, std::uint8_t reservedByte = 0) {
  std::string b(EntrySize, '\0');
  PutShort(b, 0, name);
  PutShort(b, 26, kind);
  Put8(b, 302, reservedByte);
  return b;
}

std::string Numbered(std::string_view prefix, int n) {
  std::string s(prefix);
  s += std::to_string(n);
  return s;
}

struct ProfileFolder : ::testing::Test {
  TempDir dir{"profiles"};
  TKeyTable liveGlobal, livePerProgram, editList;
  TProfileState state;
  TFakeKeyList keyList;
  TRecordingReporter reporter;
  TProfileStore store{dir.path(), {liveGlobal, livePerProgram, editList}, state, keyList, reporter};

  void SetUp() override {
    std::filesystem::create_directories(dir / "profiles");
    store.SetReadRetry({2, std::chrono::milliseconds(1)});  // a folder in a file's place never becomes readable
  }
  std::filesystem::path Profile(const std::string& file) const { return dir / "profiles" / file; }
  void AddToEditList(std::initializer_list<std::string_view> names) {
    for (std::string_view n : names) {
      TKeyRecord r;
      r.Name = n;
      editList.Add(r);
      keyList.Add(n);
    }
  }
};
}  // namespace

TEST_F(ProfileFolder, AProfileOfThreeBindingsLoadsIntoTheEditList) {
  WriteFileBytes(Profile("Main.gpf"), ThreeBindings());
  store.loadpfl("Main", 1, 1);
  ASSERT_EQ(editList.Count, 3);
  EXPECT_EQ(keyList.items, (std::vector<std::string>{"Play", "Mail", "Remote OK"}));
  EXPECT_EQ(state.EditedProfile, "Main");
  EXPECT_EQ(state.ActiveGlobalProfile, "");
  EXPECT_EQ(keyList.listButtonEnabled, 1);
  EXPECT_EQ(editList.Slots[1].Vk, 180);
  EXPECT_EQ(editList.Slots[1].ActionCode, 72);
  EXPECT_EQ(editList.Slots[1].Params, "exefile:c:\\m.exe;exefile|");
  EXPECT_EQ(editList.Slots[2].PluginKeyName, "KEY_OK");
  EXPECT_EQ(editList.Slots[3].Extra, 111) << "the slots after the bindings are cleared";
  EXPECT_EQ(liveGlobal.Count, 0);
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(ProfileFolder, LiveTablesAndTheirNames) {
  WriteFileBytes(Profile("Main.gpf"), ThreeBindings());
  WriteFileBytes(Profile("Main.lpf"), Binding("Only", 65, 51, "x"));
  store.loadpfl("Main", 1, 0);
  store.loadpfl("Main", 0, 7);  // any target but 1 is the live table of that kind
  EXPECT_EQ(liveGlobal.Count, 3);
  EXPECT_EQ(livePerProgram.Count, 1);
  EXPECT_EQ(livePerProgram.Slots[0].Name, "Only");
  EXPECT_EQ(state.ActiveGlobalProfile, "Main");
  EXPECT_EQ(state.ActivePerProgramProfile, "Main");
  EXPECT_EQ(state.EditedProfile, "");
  EXPECT_TRUE(keyList.items.empty());
}

TEST_F(ProfileFolder, SavingWritesTheRecordsByteForByte) {
  WriteFileBytes(Profile("Main.gpf"), ThreeBindings());
  store.loadpfl("Main", 1, 1);
  ASSERT_TRUE(store.savepfl("Copy", "-", 2));
  EXPECT_EQ(ReadFileBytes(Profile("Copy.gpf")), ThreeBindings());
  ASSERT_TRUE(store.savepfl("ForApp", "c:\\games\\x.exe", 2));
  EXPECT_TRUE(std::filesystem::exists(Profile("ForApp.lpf")));
  EXPECT_FALSE(std::filesystem::exists(Profile("ForApp.gpf")));
}

TEST_F(ProfileFolder, ShortLongAndEmptyFilesLoadWhatFits) {
  std::string many;
  for (int i = 0; i < 300; ++i) many += Binding(Numbered("k", i), 65, 1, "");
  struct Case { std::string bytes; int expected; };
  const Case cases[] = {
      {"", 0},
      {ThreeBindings() + std::string(100, 'x'), 3},  // a trailing partial record is left out
      {ThreeBindings().substr(0, RecordSize - 1), 0},
      {many, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    WriteFileBytes(Profile("P.gpf"), c.bytes);
    keyList.listButtonEnabled = 0;
    store.loadpfl("P", 1, 1);
    EXPECT_EQ(editList.Count, c.expected);
    EXPECT_EQ(keyList.items.size(), static_cast<std::size_t>(c.expected));
    EXPECT_EQ(keyList.listButtonEnabled, c.expected > 0 ? 1 : 0) << "an empty profile keeps the list button off";
    EXPECT_TRUE(editList.Slots[255].Name.empty());
    EXPECT_EQ(editList.Slots[255].Extra, 111);
  }
}

TEST_F(ProfileFolder, AShorterReloadClearsTheFreedSlots) {
  WriteFileBytes(Profile("Long.gpf"), ThreeBindings());
  WriteFileBytes(Profile("Short.gpf"), Binding("One", 66, 5, "p"));
  store.loadpfl("Long", 1, 0);
  store.loadpfl("Short", 1, 0);
  EXPECT_EQ(liveGlobal.Count, 1);
  for (int i = 1; i < 3; ++i) {
    EXPECT_TRUE(liveGlobal.Slots[i].Name.empty()) << i;
    EXPECT_EQ(liveGlobal.Slots[i].ActionCode, 0) << i;
  }
}

TEST_F(ProfileFolder, AMissingProfileChangesNothing) {
  AddToEditList({"kept"});
  store.loadpfl("Nowhere", 1, 1);
  store.loadpfl("Nowhere", 0, 0);
  EXPECT_EQ(editList.Count, 1);
  EXPECT_EQ(keyList.items, std::vector<std::string>{"kept"});
  EXPECT_EQ(state.EditedProfile, "");
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(ProfileFolder, AnUnreadableProfileIsReportedAndKeepsTheTable) {
  std::filesystem::create_directory(Profile("Odd.gpf"));
  std::filesystem::create_directory(Profile("Odd.lpf"));
  AddToEditList({"kept"});
  store.loadpfl("Odd", 1, 1);
  store.loadpfl("Odd", 1, 0);
  store.loadpfl("Odd", 0, 0);
  store.loadpfl("Odd", 0, 0);
  // Each file once, by its name, however often it is asked for.
  ASSERT_EQ(reporter.problems.size(), 2u);
  EXPECT_EQ(reporter.problems[0].File, Profile("Odd.gpf"));
  EXPECT_EQ(reporter.problems[1].File, Profile("Odd.lpf"));
  for (const auto& p : reporter.problems) EXPECT_EQ(p.Kind, TFileProblemKind::Unreadable);
  EXPECT_EQ(editList.Count, 1);
  // The user's file is left as it is, even by an explicit save.
  EXPECT_FALSE(store.savepfl("Odd", "-", 2));
  EXPECT_TRUE(std::filesystem::is_directory(Profile("Odd.gpf")));
}

TEST_F(ProfileFolder, TheProfileTableLoadsFromAHandMadeFile) {
  WriteFileBytes(dir / "profile.db", Entry("Work", "Home", 7) + Entry("Home", "-", 1) + Entry("Work", "-") +
                                          Entry("Game", "c:\\games\\x.exe", 9));
  store.loadprofilesbd();
  const TProfileTable& t = store.Table();
  ASSERT_EQ(t.Count, 3);
  EXPECT_EQ(t.Entries[0].Name, "Work");
  EXPECT_EQ(t.Entries[0].Kind, "Home");
  EXPECT_EQ(t.Entries[3].Name, "Game");
  EXPECT_TRUE(store.ispflexists("Home"));
  EXPECT_FALSE(store.ispflexists("home")) << "names are compared exactly";
  EXPECT_FALSE(store.ispflexists("Work2"));
  EXPECT_EQ(store.getprofiletipe("Game"), "c:\\games\\x.exe");
  EXPECT_EQ(store.getprofiletipe("Unknown"), "-");
  EXPECT_EQ(store.ProfileForProgram("c:\\games\\x.exe"), "Game");
  EXPECT_EQ(store.ProfileForProgram("c:\\other.exe"), "");

  state.ActiveGlobalProfile = "Work";
  state.EditedProfile = "Home";
  ASSERT_TRUE(store.saveprofilesbd());
  EXPECT_EQ(ReadFileBytes(dir / "profile.db"), Entry("Work", "Home", 7) + Entry("Home", "-", 1) + Entry("Work", "-") +
                                                   Entry("Game", "c:\\games\\x.exe", 9))
      << "reserved bytes are written as held";
}

TEST_F(ProfileFolder, TableSizesOutsideTheDataModel) {
  std::string big;
  for (int i = 0; i < 70; ++i) big += Entry(Numbered("p", i), "-");
  struct Case { std::string bytes; int expected; };
  const Case cases[] = {
      {"", 0},
      {Entry("h", "h"), 0},  // the header alone holds no profile
      {Entry("h", "h") + Entry("a", "-") + std::string(10, 'x'), 1},
      {big, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.size());
    WriteFileBytes(dir / "profile.db", c.bytes);
    store.loadprofilesbd();
    EXPECT_EQ(store.Table().Count, c.expected);
    if (c.expected == 0) {
      EXPECT_TRUE(store.Table().Entries[1].Name.empty());
    }
  }
}

TEST_F(ProfileFolder, FirstRunMakesTheFirstRunProfile) {
  std::filesystem::remove_all(dir / "profiles");
  store.loadprofilesbd();
  EXPECT_TRUE(std::filesystem::exists(dir / "profile.db"));
  EXPECT_EQ(std::filesystem::file_size(dir / "profile.db"), 0u);

  TSettingsRecords records;
  TExtSettings ext;
  TSettingsStore settings(dir.path(), records, ext, reporter);
  AddToEditList({"A", "B"});
  state.ProfileModified = 1;
  ASSERT_TRUE(SaveBeforeClose(store, settings, state, reporter, 0));
  EXPECT_EQ(ReadFileBytes(dir / "profile.db"), Entry("firstrun", "firstrun") + Entry("firstrun", "-"));
  ASSERT_TRUE(std::filesystem::exists(Profile("firstrun.gpf")));
  EXPECT_EQ(std::filesystem::file_size(Profile("firstrun.gpf")), 2 * RecordSize);
  EXPECT_EQ(state.ActiveGlobalProfile, "firstrun");
  EXPECT_EQ(state.EditedProfile, "firstrun");
  EXPECT_EQ(state.ProfileModified, 0);
  EXPECT_EQ(store.Table().Count, 1);
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(ProfileFolder, SavingUnderANewGlobalNameMakesItActiveAndLive) {
  WriteFileBytes(Profile("Old.gpf"), Binding("x", 65, 1, ""));
  WriteFileBytes(dir / "profile.db", Entry("Old", "Old") + Entry("Old", "-"));
  store.loadprofilesbd();
  store.loadpfl("Old", 1, 0);
  store.loadpfl("Old", 1, 1);
  AddToEditList({"added"});
  ASSERT_TRUE(store.savepfl("New", "-", 2));
  EXPECT_EQ(store.Table().Count, 2);
  EXPECT_EQ(store.Table().Entries[2].Name, "New");
  EXPECT_EQ(state.ActiveGlobalProfile, "New");
  EXPECT_EQ(state.EditedProfile, "New");
  ASSERT_EQ(liveGlobal.Count, 2) << "the live table holds the profile that is now active";
  EXPECT_EQ(liveGlobal.Slots[1].Name, "added");
  EXPECT_EQ(store.Table().Entries[0].Name, "New") << "profile.db was saved with the new header";
}

TEST_F(ProfileFolder, SavingUnderAnExistingNameKeepsTheEntryAndTheState) {
  WriteFileBytes(dir / "profile.db", Entry("A", "B") + Entry("A", "-") + Entry("B", "-"));
  store.loadprofilesbd();
  state.ActiveGlobalProfile = "A";
  state.EditedProfile = "B";
  AddToEditList({"one", "two"});
  ASSERT_TRUE(store.savepfl("B", store.getprofiletipe("B"), 2));
  EXPECT_EQ(std::filesystem::file_size(Profile("B.gpf")), 2 * RecordSize);
  EXPECT_EQ(store.Table().Count, 2);
  EXPECT_EQ(state.ActiveGlobalProfile, "A");
  EXPECT_EQ(state.EditedProfile, "B");
  EXPECT_EQ(liveGlobal.Count, 0);
}

TEST_F(ProfileFolder, AFullTableTakesNoNewProfile) {
  std::string table = Entry("p1", "p1");
  for (int i = 1; i <= 64; ++i) table += Entry(Numbered("p", i), "-");
  WriteFileBytes(dir / "profile.db", table);
  store.loadprofilesbd();
  ASSERT_EQ(store.Table().Count, 64);
  EXPECT_FALSE(store.savepfl("p65", "-", 2));
  EXPECT_FALSE(std::filesystem::exists(Profile("p65.gpf")));
  EXPECT_TRUE(store.savepfl("p64", "-", 2)) << "an existing profile is still saved";
}

TEST_F(ProfileFolder, DeleteTakesTheFileOfTheEntrysKind) {
  WriteFileBytes(dir / "profile.db", Entry("G", "G") + Entry("G", "-") + Entry("Both", "c:\\a.exe") + Entry("Z", "-"));
  WriteFileBytes(Profile("Both.gpf"), "");
  WriteFileBytes(Profile("Both.lpf"), "");
  store.loadprofilesbd();
  store.deletepfl("Both");
  EXPECT_TRUE(std::filesystem::exists(Profile("Both.gpf")));
  EXPECT_FALSE(std::filesystem::exists(Profile("Both.lpf")));
  ASSERT_EQ(store.Table().Count, 2);
  EXPECT_EQ(store.Table().Entries[2].Name, "Z");
  EXPECT_TRUE(store.Table().Entries[3].Name.empty()) << "the freed slot holds no stale profile";
  store.loadprofilesbd();
  EXPECT_EQ(store.Table().Count, 2) << "profile.db was saved";

  store.deletepfl("G");
  store.deletepfl("Z");
  EXPECT_EQ(store.Table().Count, 1) << "the only profile is not deleted";
  EXPECT_EQ(store.Table().Entries[1].Name, "Z");
}

TEST_F(ProfileFolder, ClearingEachTable) {
  WriteFileBytes(Profile("A.gpf"), ThreeBindings());
  WriteFileBytes(Profile("A.lpf"), ThreeBindings());
  store.loadpfl("A", 1, 0);
  store.loadpfl("A", 0, 0);
  store.loadpfl("A", 1, 1);
  store.clearpfl(0);
  EXPECT_EQ(livePerProgram.Count, 0);
  EXPECT_EQ(liveGlobal.Count, 3);
  store.clearpfl(1);
  EXPECT_EQ(liveGlobal.Count, 0);
  EXPECT_TRUE(liveGlobal.Slots[0].Name.empty());
  EXPECT_EQ(editList.Count, 3);
  store.clearpfl(2);
  EXPECT_EQ(editList.Count, 0);
  EXPECT_TRUE(keyList.items.empty());
}

TEST(ProfileNames, OnlyNamesThatStayInTheProfilesFolder) {
  struct Case { const char* name; bool valid; };
  const Case cases[] = {
      {"firstrun", true},       {"Games 2", true},           {"a.b", true},
      {"Ёлка", true},           {"1234567890123456789012345", true},
      {"", false},              {"12345678901234567890123456", false},
      {"..\\..\\evil", false},  {"../evil", false},          {"a/b", false},
      {"a\\b", false},          {"c:x", false},              {"a*", false},
      {"a?", false},            {"\"q\"", false},            {"<a>", false},
      {"a|b", false},           {"..", false},               {"a..b", false},
      {"name.", false},         {"name ", false},            {"tab\there", false},
      {"CON", false},           {"con", false},              {"nul.txt", false},
      {"COM1", false},          {"lpt9", false},             {"COM10", true},
      {"console", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidProfileName(c.name), c.valid) << c.name;
}

TEST_F(ProfileFolder, HostileNamesAreRefusedAndTouchNoFile) {
  WriteFileBytes(dir / "outside.gpf", ThreeBindings());
  AddToEditList({"x"});
  for (const char* name : {"../outside", "..\\outside", "sub/x", "c:\\x", "CON", "12345678901234567890123456"}) {
    SCOPED_TRACE(name);
    reporter.messages.clear();
    EXPECT_FALSE(store.savepfl(name, "-", 2));
    EXPECT_EQ(reporter.messages, std::vector<std::wstring>{L"BadProfileName"});
    store.loadpfl(name, 1, 1);
    EXPECT_EQ(editList.Count, 1) << "nothing is read from outside the profiles folder";
  }
  EXPECT_EQ(ReadFileBytes(dir / "outside.gpf"), ThreeBindings());
  std::size_t files = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 1u) << "no file was written anywhere";
  EXPECT_EQ(store.Table().Count, 0);
}

TEST_F(ProfileFolder, SwitchingBackToTheEditedProfileKeepsItsUnsavedEdits) {
  // Edit list: profile B with an unsaved extra binding; the live table holds A.
  WriteFileBytes(Profile("A.gpf"), Binding("a", 65, 1, ""));
  WriteFileBytes(Profile("B.gpf"), Binding("b1", 66, 1, ""));
  store.loadpfl("A", 1, 0);
  store.loadpfl("B", 1, 1);
  AddToEditList({"b2"});
  state.ProfileModified = 1;
  store.loadpfl("B", 1, 0);  // the tray switches the global profile to B
  EXPECT_EQ(state.ActiveGlobalProfile, "B");
  ASSERT_EQ(liveGlobal.Count, 2) << "the live table is the edit list, so index mirroring stays true";
  EXPECT_EQ(liveGlobal.Slots[1].Name, "b2");

  state.ProfileModified = 0;
  store.loadpfl("A", 1, 0);
  store.loadpfl("B", 1, 0);
  EXPECT_EQ(liveGlobal.Count, 1) << "without unsaved edits the file is read";
}

TEST_F(ProfileFolder, AnInterruptedProfileSaveLeavesTheOldFile) {
  WriteFileBytes(Profile("A.gpf"), ThreeBindings());
  ASSERT_TRUE(WriteSafeFileTemporary(Profile("A.gpf"), "half"));
  store.loadpfl("A", 1, 1);
  EXPECT_EQ(editList.Count, 3);
  ASSERT_TRUE(store.savepfl("A", "-", 2));
  EXPECT_EQ(ReadFileBytes(Profile("A.gpf")), ThreeBindings());
  EXPECT_FALSE(std::filesystem::exists(SafeFileTemporaryPath(Profile("A.gpf"))));
}

TEST_F(ProfileFolder, AnUnreadableTableIsReportedAndKept) {
  WriteFileBytes(dir / "profile.db", Entry("A", "A") + Entry("A", "-"));
  store.loadprofilesbd();
  std::filesystem::remove(dir / "profile.db");
  std::filesystem::create_directory(dir / "profile.db");
  store.loadprofilesbd();
  ASSERT_EQ(reporter.problems.size(), 1u);
  EXPECT_EQ(reporter.problems[0].File, dir / "profile.db");
  EXPECT_EQ(store.Table().Count, 1);
}

// A "profile.db" or a profile file read damaged keeps its original beside it
// before closing writes the cleaned table back; each is told once.
TEST_F(ProfileFolder, DamagedTablesAndProfilesAreKeptBesideThem) {
  std::string seventy;
  for (int i = 0; i < 70; ++i) seventy += Entry(Numbered("p", i), "-");
  const std::string two = Entry("a", "a") + Entry("a", "-") + Entry("b", "-");
  struct Case { const char* what; std::string table; std::string profile; bool damaged; };
  const Case cases[] = {
      {"well formed", two, ThreeBindings(), false},
      {"a table cut inside an entry", two.substr(0, two.size() - 100), ThreeBindings(), true},
      {"a table beyond its 65 entries", seventy, ThreeBindings(), true},
      {"a profile cut inside a binding", two, ThreeBindings().substr(0, 613 * 2 + 10), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const char* f : {"profile.db.bad", "profiles/a.gpf.bad"}) std::filesystem::remove(dir / f);
    WriteFileBytes(dir / "profile.db", c.table);
    WriteFileBytes(Profile("a.gpf"), c.profile);
    TKeyTable g, p, e;
    TProfileState st;
    TRecordingReporter rep;
    TProfileStore s(dir.path(), {g, p, e}, st, keyList, rep);
    s.loadprofilesbd();
    s.loadpfl("a", 1, 0);
    s.loadpfl("a", 1, 1);
    st.ActiveGlobalProfile = "a";
    ASSERT_TRUE(s.saveprofilesbd());
    if (!c.damaged) {
      EXPECT_TRUE(rep.problems.empty());
      EXPECT_EQ(ReadFileBytes(dir / "profile.db"), c.table);
      continue;
    }
    ASSERT_EQ(rep.problems.size(), 1u);
    const TFileProblem& problem = rep.problems[0];
    EXPECT_EQ(problem.Kind, TFileProblemKind::Damaged);
    const bool table = c.table != two;
    EXPECT_EQ(problem.File, table ? dir / "profile.db" : Profile("a.gpf"));
    EXPECT_EQ(ReadFileBytes(problem.Copy), table ? c.table : c.profile) << "the original, byte for byte";
    EXPECT_EQ(ReadFileBytes(dir / "profile.db").size() % 303, 0u);
  }
}

// Names are bytes of the system code page (1252 here); the file is named by the
// characters they stand for, so the name loads and saves its own file.
TEST_F(ProfileFolder, ANameOutsideAsciiNamesItsFileByItsCharacters) {
  const std::string name = "Jeux\x92";  // "Jeux’"
  AddToEditList({"one", "two"});
  ASSERT_TRUE(store.savepfl(name, "-", 2));
  EXPECT_TRUE(std::filesystem::exists(dir / "profiles" / std::filesystem::path(u8"Jeux\u2019.gpf")));
  store.clearpfl(2);
  store.loadpfl(name, 1, 1);
  EXPECT_EQ(editList.Count, 2);
  EXPECT_EQ(state.EditedProfile, name);
}
