// Choosing the settings folder on real folders: portable, application data, and
// the fallback when the application-data folder cannot be made.
#include <gtest/gtest.h>

#include "core/settings/SettingsFolder.h"
#include "testing/TempDir.h"

#include <filesystem>

namespace fs = std::filesystem;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

namespace {
struct SettingsFolderTest : ::testing::Test {
  TempDir dir{"stgfolder"};
  fs::path program = dir / "program";
  fs::path appData = dir / "appdata";
  void SetUp() override {
    fs::create_directories(program);
    fs::create_directories(appData);
  }
  static void ExpectSubfolders(const fs::path& folder) {
    EXPECT_TRUE(fs::is_directory(folder / "macros"));
    EXPECT_TRUE(fs::is_directory(folder / "profiles"));
  }
};
}  // namespace

TEST_F(SettingsFolderTest, TheMarkerBesideTheProgramWins) {
  fs::create_directories(program / "AppData");
  WriteFileBytes(program / "AppData" / "portable_on", "");
  const fs::path folder = ChooseSettingsFolder(program, appData);
  EXPECT_EQ(folder, program / "AppData");
  EXPECT_FALSE(fs::exists(appData / "Qorn")) << "nothing is made in the user's folder";
  ExpectSubfolders(folder);
}

TEST_F(SettingsFolderTest, ApplicationDataFolderIsMadeWhenMissing) {
  const fs::path folder = ChooseSettingsFolder(program, appData);
  EXPECT_EQ(folder, appData / "Qorn");
  ExpectSubfolders(folder);
  EXPECT_FALSE(fs::exists(program / "AppData"));
  // An AppData folder without the marker is not portable mode.
  fs::create_directories(program / "AppData");
  EXPECT_EQ(ChooseSettingsFolder(program, appData), appData / "Qorn");
}

TEST_F(SettingsFolderTest, FallsBackBesideTheProgramForGood) {
  struct Case {
    const char* what;
    bool blockWithFile;  // a file where the folder should be
    bool noAppData;      // the system gave no folder
  };
  const Case cases[] = {{"a file in the folder's place", true, false}, {"no application-data folder", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(program / "AppData");
    fs::remove_all(appData / "Qorn");
    if (c.blockWithFile) WriteFileBytes(appData / "Qorn", "not a folder");
    const fs::path folder =
        ChooseSettingsFolder(program, c.noAppData ? std::nullopt : std::optional<fs::path>(appData));
    EXPECT_EQ(folder, program / "AppData");
    EXPECT_TRUE(fs::is_regular_file(program / "AppData" / "portable_on"));
    ExpectSubfolders(folder);
    if (c.blockWithFile) {
      EXPECT_TRUE(fs::is_regular_file(appData / "Qorn")) << "the file is left alone";
    }
    // The next start takes the portable way even when the user's folder works again.
    fs::remove_all(appData / "Qorn");
    EXPECT_EQ(ChooseSettingsFolder(program, appData), program / "AppData");
    EXPECT_FALSE(fs::exists(appData / "Qorn"));
  }
}

TEST(SettingsFolderText, EndsWithOneSeparator) {
  const std::wstring sep(1, fs::path::preferred_separator);
  EXPECT_EQ(FolderText(fs::path(L"x") / L"Qorn"), L"x" + sep + L"Qorn" + sep);
  EXPECT_EQ(FolderText(fs::path(L"x") / L""), L"x" + sep);
}
