// "stg.db" and "stgex.ini" in a real settings folder: first runs, saves, lost
// files and interrupted saves.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/settings/SafeFile.h"
#include "core/settings/SettingsClose.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/TempDir.h"

using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

namespace {
struct SettingsFolder : ::testing::Test {
  TempDir dir{"settings"};
  TSettingsRecords records;
  TExtSettings ext;
  TRecordingReporter reporter;
  TSettingsStore store{dir.path(), records, ext, reporter};
  SettingsFolder() { store.SetReadRetry({2, std::chrono::milliseconds(1)}); }

  std::filesystem::path Stg() const { return dir / "stg.db"; }
  std::filesystem::path Ini() const { return dir / "stgex.ini"; }

  TSettingsEnvironment Env() const {
    TSettingsEnvironment env;
    env.ScreenWidth = 1920;
    env.ScreenHeight = 1080;
    env.ProgramFolder = dir.path().parent_path() / "elsewhere";
    env.StartupLanguage = "English";
    env.MakeInstallationId = [] { return std::string("fresh-id"); };
    return env;
  }
};
}  // namespace

TEST_F(SettingsFolder, FirstStartWritesNothingUntilTheFirstSave) {
  store.LoadMainSetingsFromFile();
  ASSERT_TRUE(std::filesystem::exists(Stg()));
  EXPECT_EQ(std::filesystem::file_size(Stg()), 0u) << "an empty file marks the first run";
  EXPECT_FALSE(std::filesystem::exists(Ini()));
  EXPECT_TRUE(store.IsFirstRun());

  const TAppliedSettings applied = store.ApplyMainSettings(Env());
  EXPECT_TRUE(applied.FirstRun);
  EXPECT_EQ(applied.LanguageToSelect, "English");
  EXPECT_EQ(records.Strings.InstallationId, "fresh-id");
  EXPECT_EQ(std::filesystem::file_size(Stg()), 0u);

  ASSERT_TRUE(store.saveprogramsetting(42));
  EXPECT_EQ(std::filesystem::file_size(Stg()), SettingsFileSizeAllFonts) << "all ten fonts are written";
  EXPECT_TRUE(std::filesystem::exists(Ini()));
  EXPECT_FALSE(store.IsFirstRun());
  EXPECT_TRUE(reporter.errors.empty());

  TSettingsRecords again;
  TExtSettings againExt;
  TSettingsStore reread(dir.path(), again, againExt, reporter);
  reread.LoadMainSetingsFromFile();
  EXPECT_EQ(again.Main.KeyPressCount, 42) << "the live counter is stored";
  EXPECT_EQ(again.Main.OsdTextTop, 900);
  EXPECT_EQ(again.Strings.InstallationId, "fresh-id");
  EXPECT_EQ(again.Fonts[0].Font.Face(), "Courier New");
  EXPECT_EQ(SettingsLoading, 0) << "cleared after loading";
}

TEST_F(SettingsFolder, LaterStartsReadTheStoredValues) {
  records.Main.osdtr = 77;
  records.Strings.LanguageName = "";
  records.HotKeys.ProgramOnOff = 0x4000 + 'Q';
  records.HotKeys.PrevGlobalProfile = 0x8000 + 'P';
  ext.WallpaperFolders = {"D:\\New Wallpapers", "E:\\y"};
  ASSERT_TRUE(store.saveprogramsetting(0));

  TSettingsRecords again;
  TExtSettings againExt;
  TSettingsStore later(dir.path(), again, againExt, reporter);
  later.LoadMainSetingsFromFile();
  const TAppliedSettings applied = later.ApplyMainSettings(Env());
  EXPECT_FALSE(applied.FirstRun);
  EXPECT_EQ(again.Main.osdtr, 77);
  EXPECT_EQ(applied.LanguageToSelect, "Russian") << "an empty language name";
  EXPECT_EQ(applied.HotKeysToRegister, (std::vector<std::uint16_t>{0x4000 + 'Q', 0x8000 + 'P'}))
      << "a word of 0 registers nothing";
  EXPECT_EQ(againExt.WallpaperFolders, (std::vector<std::string>{"D:\\New Wallpapers", "E:\\y"}));
  EXPECT_EQ(again.Strings.InstallationId, "fresh-id") << "an empty id is made anew";
}

TEST_F(SettingsFolder, FirstRunPositionsFollowTheScreen) {
  struct Case { int w, h, textTop, textLeft, volTop, volLeft; };
  const Case cases[] = {
      {1920, 1080, 900, 640, 840, 668},
      {1024, 768, 640, 341, 580, 220},
      {1366, 768, 640, 455, 580, 391},
      {1280, 1023, 850, 427, 790, 348},  // 1023 / 6 = 170.5 goes to the even 170
      {1025, 1029, 860, 342, 795, 220},  // 1029 / 6 = 171.5 goes to 172; 441 / 2 = 220.5 to 220
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.w);
    TSettingsRecords r;
    TSettingsStore s(dir.path(), r, ext, reporter);
    TSettingsEnvironment env = Env();
    env.ScreenWidth = c.w;
    env.ScreenHeight = c.h;
    s.ApplyMainSettings(env);
    EXPECT_EQ(r.Main.OsdTextTop, c.textTop);
    EXPECT_EQ(r.Main.OsdTextLeft, c.textLeft);
    EXPECT_EQ(r.Main.OsdVolTop, c.volTop);
    EXPECT_EQ(r.Main.OsdVolLeft, c.volLeft);
    EXPECT_EQ(r.Main.OsdVolHeight, 46);
    EXPECT_EQ(r.Main.OsdVolWidth, 576);
  }
}

TEST_F(SettingsFolder, SettingsFolderInsideTheProgramFolderChoosesTheProgramFolder) {
  struct Case { std::filesystem::path program; int expected; };
  const std::filesystem::path folder = dir.path();
  const Case cases[] = {
      {folder.parent_path(), 1},
      {folder, 1},
      {folder.parent_path() / "else", 0},
      // The same text without a component boundary is another folder.
      {std::filesystem::path(folder.string().substr(0, folder.string().size() - 2)), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program.string());
    TSettingsRecords r;
    TSettingsStore s(folder, r, ext, reporter);
    TSettingsEnvironment env = Env();
    env.ProgramFolder = c.program;
    s.ApplyMainSettings(env);
    EXPECT_EQ(r.Main.CB_SettingsSave, c.expected);
  }
}

TEST(SettingsPaths, FolderInsideComparesWholeComponentsWithoutCase) {
  struct Case { const char* folder; const char* parent; bool inside; };
  const Case cases[] = {
      {"/q/Qorn/AppData/", "/q/Qorn", true},
      {"/q/Qorn/AppData", "/q/qorn/", true},
      {"/q/Qorn", "/q/Qorn", true},
      {"/q/Qorn data/AppData", "/q/Qorn", false},
      {"/q/Qorn", "/q/Qorn/AppData", false},
      {"/q/x/../Qorn/AppData", "/q/Qorn", true},
      {"/q/Qorn", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsFolderInside(c.folder, c.parent), c.inside) << c.folder << " in " << c.parent;
}

TEST(SettingsPaths, RoundingGoesToEvenOnHalves) {
  struct Case { long long n, d; int expected; };
  const Case cases[] = {{5, 2, 2}, {7, 2, 4}, {9, 2, 4}, {10, 3, 3}, {11, 3, 4}, {-5, 2, -2}, {-7, 2, -4}, {-10, 3, -3},
                        {0, 6, 0}};
  for (const Case& c : cases) EXPECT_EQ(RoundDivHalfEven(c.n, c.d), c.expected) << c.n << "/" << c.d;
}

TEST_F(SettingsFolder, ALostSettingsFileDoesNotEraseTheExtendedSettings) {
  WriteFileBytes(Ini(),
                 "[WinAmp]\r\nwapath=D:\\New Music\\winamp.exe\r\n[QornMain]\r\nIgnoredPrograms=c:\\g.exe\r\n"
                 "[MediaPlayers]\r\nKMPlayer_path=C:\\k.exe\r\n[Wallpapers]\r\nWallpapersFoldersList=D:\\New Wallpapers\r\n"
                 "[Foreign]\r\nx=1\r\n");
  store.LoadMainSetingsFromFile();  // no "stg.db"
  EXPECT_EQ(GetIniStg(&ext.WinAmpSettings, "wapath"), "D:\\New Music\\winamp.exe");
  store.ApplyMainSettings(Env());
  ASSERT_TRUE(store.saveprogramsetting(0));

  TSettingsRecords r;
  TExtSettings reread;
  TSettingsStore s(dir.path(), r, reread, reporter);
  s.LoadMainSetingsFromFile();
  EXPECT_EQ(GetIniStg(&reread.WinAmpSettings, "wapath"), "D:\\New Music\\winamp.exe");
  EXPECT_EQ(GetIniStg(&reread.MediaPlayerSettings, "KMPlayer_path"), "C:\\k.exe");
  EXPECT_EQ(GetIniStg(&reread.WallpaperSettings, "WallpapersFoldersList"), "D:\\New Wallpapers");
  EXPECT_NE(ReadFileBytes(Ini()).find("[Foreign]\r\nx=1\r\n"), std::string::npos) << "sections of others are kept";
}

TEST_F(SettingsFolder, AMissingSettingsFileIsCreatedOnSave) {
  store.LoadMainSetingsFromFile();
  std::filesystem::remove(Stg());
  records.Main.osdwa = 0;
  ASSERT_TRUE(store.saveprogramsetting(5));
  ASSERT_TRUE(std::filesystem::exists(Stg()));
  TSettingsRecords r;
  LoadSettingsFile(ReadFileBytes(Stg()), r);
  EXPECT_EQ(r.Main.osdwa, 0);
  EXPECT_EQ(r.Main.KeyPressCount, 5);
}

TEST_F(SettingsFolder, AnInterruptedSaveLeavesTheOldFile) {
  records.Main.osdtr = 11;
  ASSERT_TRUE(store.saveprogramsetting(1));
  const std::string before = ReadFileBytes(Stg());

  // The program dies after writing the new file and before replacing the old one.
  records.Main.osdtr = 99;
  ASSERT_TRUE(WriteSafeFileTemporary(Stg(), StoreSettingsFile(records).substr(0, 3000)));
  EXPECT_EQ(ReadFileBytes(Stg()), before);

  TSettingsRecords r;
  TExtSettings e;
  TSettingsStore next(dir.path(), r, e, reporter);
  next.LoadMainSetingsFromFile();
  EXPECT_EQ(r.Main.osdtr, 11) << "the next start reads the last complete save";

  ASSERT_TRUE(next.saveprogramsetting(2)) << "a stale temporary file does not block the next save";
  EXPECT_FALSE(std::filesystem::exists(SafeFileTemporaryPath(Stg())));
  EXPECT_EQ(std::filesystem::file_size(Stg()), before.size());
}

TEST_F(SettingsFolder, AFailedSaveReportsAndKeepsTheOldFile) {
  ASSERT_TRUE(store.saveprogramsetting(1));
  const std::string before = ReadFileBytes(Stg());
  // A folder where the temporary file must go makes the write fail.
  std::filesystem::create_directory(SafeFileTemporaryPath(Stg()));
  std::filesystem::create_directory(SafeFileTemporaryPath(Stg()) / "busy");
  EXPECT_FALSE(store.saveprogramsetting(2));
  EXPECT_EQ(reporter.errors, std::vector<int>{ErrorSaveSettings});
  EXPECT_EQ(ReadFileBytes(Stg()), before);
}

TEST_F(SettingsFolder, SavesEveryThousandKeyPresses) {
  store.LoadMainSetingsFromFile();
  store.KeyPressCounted(999);
  EXPECT_EQ(std::filesystem::file_size(Stg()), 0u);
  store.KeyPressCounted(1000);
  ASSERT_EQ(std::filesystem::file_size(Stg()), 5496u) << "no fonts were made: ten tag-0 slots";
  TSettingsRecords r;
  LoadSettingsFile(ReadFileBytes(Stg()), r);
  EXPECT_EQ(r.Main.KeyPressCount, 1000);
  store.KeyPressCounted(1001);
  LoadSettingsFile(ReadFileBytes(Stg()), r);
  EXPECT_EQ(r.Main.KeyPressCount, 1000);
}

// A close asked for while the settings are read or applied is refused (a save then
// would write half-applied settings); once they are, closing goes ahead. A load
// inside a longer one (the program's forms being made) leaves the refusal to the
// longer one.
TEST_F(SettingsFolder, AClosingIsRefusedWhileTheSettingsLoad) {
  SettingsLoading = 0;
  std::vector<TCloseDecision> during;
  TSettingsEnvironment env = Env();
  env.MakeInstallationId = [&] {
    during.push_back(DecideClose(SettingsLoading, 0));
    return std::string("fresh-id");
  };
  store.LoadMainSetingsFromFile();
  EXPECT_EQ(DecideClose(SettingsLoading, 0), TCloseDecision::Proceed);
  store.ApplyMainSettings(env);
  ASSERT_EQ(during.size(), 1u) << "a first run makes its installation id";
  EXPECT_EQ(during[0], TCloseDecision::Refuse);
  EXPECT_EQ(DecideClose(SettingsLoading, 0), TCloseDecision::Proceed);
  {
    TSettingsLoadingScope makingTheForms;
    store.LoadMainSetingsFromFile();
    EXPECT_EQ(DecideClose(SettingsLoading, 0), TCloseDecision::Refuse);
  }
  EXPECT_EQ(DecideClose(SettingsLoading, 0), TCloseDecision::Proceed);
}

TEST(SettingsClose, RequestsAreRefusedOrNarrowed) {
  struct Case { std::uint8_t loading; int page; TCloseDecision expected; };
  const Case cases[] = {
      {1, 0, TCloseDecision::Refuse},
      {1, ProfileManagerPage, TCloseDecision::Refuse},
      {0, ProfileManagerPage, TCloseDecision::ClosePageOnly},
      {0, HistoryPage, TCloseDecision::ClosePageOnly},
      {0, 0, TCloseDecision::Proceed},
      {0, 5, TCloseDecision::Proceed},
  };
  for (const Case& c : cases) EXPECT_EQ(DecideClose(c.loading, c.page), c.expected) << c.page;
}

// A file read damaged keeps its original beside it before the cleaned form is
// written back; the user is told once, with both names. A well-formed file is
// written back alone.
TEST_F(SettingsFolder, ADamagedSettingsFileIsKeptBesideItBeforeItIsWrittenBack) {
  const std::string whole = StoreSettingsFile(TSettingsRecords{});
  std::string badTag = whole;
  Put32(badTag, 5436, 7);  // the first font slot's tag
  std::string badHeader = whole;
  badHeader[3] = 'X';
  struct Case { const char* what; std::string bytes; bool damaged; };
  const Case cases[] = {
      {"well formed", whole, false},
      {"a font slot without its font", whole.substr(0, 5436 + 4) + std::string(9 * 4 + 20, '\0'), false},
      {"cut inside a record", whole.substr(0, 100), true},
      {"cut inside the fonts", whole.substr(0, 5436 + 30), true},
      {"bytes after the hot keys", whole + "tail", true},
      {"a font tag that is neither 60 nor 0", badTag, true},
      {"a wrong header", badHeader, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(dir / "stg.db.bad");
    WriteFileBytes(Stg(), c.bytes);
    TSettingsRecords r;
    TExtSettings e;
    TRecordingReporter rep;
    TSettingsStore s(dir.path(), r, e, rep);
    s.LoadMainSetingsFromFile();
    s.LoadMainSetingsFromFile();  // a second reading (start-up reads twice) tells nothing new
    ASSERT_TRUE(s.saveprogramsetting(5));
    if (!c.damaged) {
      EXPECT_TRUE(rep.problems.empty());
      EXPECT_FALSE(std::filesystem::exists(dir / "stg.db.bad"));
      continue;
    }
    ASSERT_EQ(rep.problems.size(), 1u);
    EXPECT_EQ(rep.problems[0].Kind, TFileProblemKind::Damaged);
    EXPECT_EQ(rep.problems[0].File, Stg());
    EXPECT_EQ(rep.problems[0].Copy, dir / "stg.db.bad");
    EXPECT_EQ(ReadFileBytes(dir / "stg.db.bad"), c.bytes) << "the original, byte for byte";
    EXPECT_TRUE(IsWellFormedSettingsFile(ReadFileBytes(Stg()))) << "written back in its cleaned form";
  }
}

TEST_F(SettingsFolder, AnEarlierCopyOfOtherBytesIsNotWrittenOver) {
  WriteFileBytes(dir / "stg.db.bad", "an older damaged file");
  WriteFileBytes(Stg(), "short");
  store.LoadMainSetingsFromFile();
  ASSERT_EQ(reporter.problems.size(), 1u);
  EXPECT_EQ(reporter.problems[0].Copy, dir / "stg.db.bad2");
  EXPECT_EQ(ReadFileBytes(dir / "stg.db.bad"), "an older damaged file");
  EXPECT_EQ(ReadFileBytes(dir / "stg.db.bad2"), "short");
}

// A "stgex.ini" that exists but cannot be read (here a folder in its place) is
// reported once and never written over. (Held-open files: settings_locked.)
TEST_F(SettingsFolder, AnUnreadableFileIsReportedOnceAndLeftAlone) {
  std::filesystem::create_directory(Ini());
  store.LoadMainSetingsFromFile();
  store.LoadMainSetingsFromFile();
  ASSERT_EQ(reporter.problems.size(), 1u);
  EXPECT_EQ(reporter.problems[0].File, Ini());
  EXPECT_EQ(reporter.problems[0].Kind, TFileProblemKind::Unreadable);
  ext.WinAmpSettings = {"wapath=C:\\x"};
  EXPECT_TRUE(store.saveprogramsetting(1)) << "nothing failed: the file is left out on purpose";
  EXPECT_TRUE(std::filesystem::is_directory(Ini()));
  EXPECT_EQ(reporter.problems.size(), 1u);
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(SettingsFolder, AnExtendedSettingsFileOverSixteenMebibytesSurvivesASave) {
  std::string big = "[Other]\r\n";
  const std::string line = "key=" + std::string(1000, 'v') + "\r\n";
  while (big.size() < (17u << 20)) big += line;
  big += "[Last]\r\nkept=at the end\r\n";
  WriteFileBytes(Ini(), big);
  store.LoadMainSetingsFromFile();
  ASSERT_TRUE(store.saveprogramsetting(0));
  const std::string after = ReadFileBytes(Ini());
  EXPECT_EQ(after.substr(0, big.size()), big) << "nothing cut, the last section kept";
}
