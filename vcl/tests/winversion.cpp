#include "vcl/WinVersion.h"

#include <gtest/gtest.h>

TEST(WinVersion, AnOverrideIsReadUntilItsScopeEndsThenTheSystemsVersionIsBack) {
  const TWindowsVersion system = SystemWindowsVersion();
  {
    TWindowsVersionOverride xp({5, 1, 2600, Win32PlatformNT});
    EXPECT_EQ(Win32MajorVersion(), 5u);
    EXPECT_EQ(Win32MinorVersion(), 1u);
    EXPECT_EQ(Win32BuildNumber(), 2600u);
    {
      TWindowsVersionOverride me({4, 90, 3000, Win32PlatformWindows});
      EXPECT_EQ(Win32Platform(), Win32PlatformWindows);
      EXPECT_EQ(Win32MinorVersion(), 90u);
    }
    EXPECT_EQ(Win32MinorVersion(), 1u);
  }
  EXPECT_EQ(&WindowsVersion(), &SystemWindowsVersion());
  EXPECT_EQ(Win32MajorVersion(), system.Major);
  EXPECT_EQ(Win32Platform(), Win32PlatformNT);
  EXPECT_GE(system.Major, 5u);
}

TEST(WinVersion, AtLeastComparesMajorThenMinor) {
  struct Case {
    TWindowsVersion v;
    unsigned major, minor;
    bool atLeast;
  };
  const Case cases[] = {
      {{6, 1}, 6, 0, true}, {{6, 0}, 6, 0, true}, {{5, 2}, 6, 0, false},
      {{10, 0}, 6, 2, true}, {{6, 1}, 6, 2, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.v.AtLeast(c.major, c.minor), c.atLeast) << c.v.Major << "." << c.v.Minor << " vs " << c.major << "." << c.minor;
}
