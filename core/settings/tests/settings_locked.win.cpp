// Settings files held open without sharing by another program (a backup or sync
// tool) while they are read: a short hold is waited out, a long one is reported
// once and the file is never written over while the program runs.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/settings/Profiles.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsStore.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/TempDir.h"
#include "vcl/Win.h"

using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;
using namespace std::chrono_literals;

namespace {
// The file opened with sharing 0, as a backup program holds it.
class THeldFile {
 public:
  explicit THeldFile(const std::filesystem::path& file)
      : h_(CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~THeldFile() { Release(); }
  bool Held() const { return h_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

struct LockedSettings : ::testing::Test {
  TempDir dir{"locked"};
  TSettingsRecords records;
  TExtSettings ext;
  TRecordingReporter reporter;
  TSettingsStore store{dir.path(), records, ext, reporter};
  std::string stg;
  const std::string ini = "[WinAmp]\r\nwapath=C:\\winamp.exe\r\n";

  void SetUp() override {
    TSettingsRecords mine;
    mine.Main.KeyPressCount = 1234;
    mine.Strings.LanguageName = "English";
    FillEmptyFontSlots(mine.Fonts);
    stg = StoreSettingsFile(mine);
    WriteFileBytes(dir / "stg.db", stg);
    WriteFileBytes(dir / "stgex.ini", ini);
  }
};
}  // namespace

TEST_F(LockedSettings, AFileHeldLongIsReportedOnceAndNeverWrittenOver) {
  store.SetReadRetry({3, 10ms});
  THeldFile heldStg(dir / "stg.db"), heldIni(dir / "stgex.ini");
  ASSERT_TRUE(heldStg.Held() && heldIni.Held());
  store.LoadMainSetingsFromFile();
  store.LoadMainSetingsFromFile();
  EXPECT_EQ(records.Main.KeyPressCount, 0) << "the run goes on with defaults";
  ASSERT_EQ(reporter.problems.size(), 2u) << "each file once";
  EXPECT_EQ(reporter.problems[0].File, dir / "stg.db");
  EXPECT_EQ(reporter.problems[1].File, dir / "stgex.ini");

  // Released later: the saves of this run still leave both files alone.
  heldStg.Release();
  heldIni.Release();
  EXPECT_TRUE(store.saveprogramsetting(7));
  EXPECT_TRUE(store.saveprogramsetting(8));
  EXPECT_EQ(ReadFileBytes(dir / "stg.db"), stg);
  EXPECT_EQ(ReadFileBytes(dir / "stgex.ini"), ini);
  EXPECT_TRUE(reporter.errors.empty());
}

TEST_F(LockedSettings, AShortHoldIsWaitedOut) {
  // A hold of 200 ms against the usual wait of about two seconds.
  THeldFile held(dir / "stg.db");
  ASSERT_TRUE(held.Held());
  std::thread release([&] {
    std::this_thread::sleep_for(200ms);
    held.Release();
  });
  store.LoadMainSetingsFromFile();
  release.join();
  EXPECT_EQ(records.Main.KeyPressCount, 1234);
  EXPECT_TRUE(reporter.problems.empty());
  ASSERT_TRUE(store.saveprogramsetting(1300));
  TSettingsRecords again;
  LoadSettingsFile(ReadFileBytes(dir / "stg.db"), again);
  EXPECT_EQ(again.Main.KeyPressCount, 1300);
}

TEST_F(LockedSettings, AHeldProfileTableIsNotReplacedByAFirstRunTable) {
  TKeyTable g, p, e;
  TProfileState state;
  TFakeKeyList keyList;
  TProfileStore profiles(dir.path(), {g, p, e}, state, keyList, reporter);
  profiles.SetReadRetry({3, 10ms});
  TProfileTable table;
  table.Entries[0].Name = "Work";
  table.Entries[1].Name = "Work";
  table.Entries[1].Kind = "-";
  table.Count = 1;
  const std::string bytes = StoreProfileTable(table, 1);
  WriteFileBytes(dir / "profile.db", bytes);
  {
    THeldFile held(dir / "profile.db");
    ASSERT_TRUE(held.Held());
    profiles.loadprofilesbd();
  }
  ASSERT_EQ(reporter.problems.size(), 1u);
  EXPECT_TRUE(profiles.saveprofilesbd());
  EXPECT_EQ(ReadFileBytes(dir / "profile.db"), bytes) << "the user's profiles stay in the table";
}
