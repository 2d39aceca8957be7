// The tray icon's picture rules: names to indexes, the normal picture for every
// on/off and lock-display state, and the lock icons.
#include <gtest/gtest.h>

#include "core/mainwindow/TrayPictures.h"

namespace {

TEST(TrayPictures, EveryNameFindsItsOwnIndexAndNoOtherNameFindsOne) {
  for (std::size_t i = 0; i < TrayPictureNames.size(); ++i)
    EXPECT_EQ(TrayPictureIndex(TrayPictureNames[i]), static_cast<int>(i)) << TrayPictureNames[i];
  EXPECT_EQ(TrayPictureIndex("CSN"), -1);
  EXPECT_EQ(TrayPictureIndex("csn000"), -1) << "names match exactly";
  EXPECT_EQ(TrayPictureIndex("C1"), -1);
  EXPECT_EQ(TrayPictureIndex(""), -1);
}

TEST(TrayPictures, TheNormalPictureFollowsTheProgramsStateFirst) {
  struct {
    bool on, showLocks;
    const char* locks;
    const char* picture;
  } cases[] = {
      {true, false, "101", "MainTray1"},
      {true, true, "101", "CSN101"},
      {true, true, "000", "CSN000"},
      {false, true, "101", "MainTray0"},  // off wins over the lock display
      {false, false, "000", "MainTray0"},
  };
  for (const auto& c : cases) {
    const std::string picture = NormalTrayPicture(c.on, c.showLocks, c.locks);
    EXPECT_EQ(picture, c.picture) << c.on << c.showLocks << c.locks;
    EXPECT_GE(TrayPictureIndex(picture), 0) << "every normal picture is in the list";
  }
}

TEST(TrayPictures, EachLockHasItsTipAndPicture) {
  EXPECT_STREQ(LockIconOf('N').Tip, L"Num Lock - ON");
  EXPECT_EQ(TrayPictureNames[LockIconOf('C').Picture], "C1c");
  EXPECT_EQ(TrayPictureNames[LockIconOf('N').Picture], "N1c");
  EXPECT_EQ(TrayPictureNames[LockIconOf('S').Picture], "S1c");
  EXPECT_EQ(LockIconOf('I').Picture, -1);
}

}  // namespace
