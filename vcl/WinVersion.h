// The Windows version the program runs on, as one value tests can replace.
//
// Rule: code that takes a branch by Windows version (visual styles, version-specific
// controls, the "x64" and version texts) reads WindowsVersion() or the platform's
// named globals below, never GetVersionEx or RtlGetVersion itself. A test installs
// the version it wants with TWindowsVersionOverride. The system's value is what
// GetVersionEx reports to this program under its manifest, read once.
#pragma once
#include <cstdint>

// The values of Win32Platform (those of OSVERSIONINFO.dwPlatformId).
inline constexpr int Win32PlatformWin32s = 0;
inline constexpr int Win32PlatformWindows = 1;
inline constexpr int Win32PlatformNT = 2;

struct TWindowsVersion {
  unsigned Major = 0;
  unsigned Minor = 0;
  unsigned Build = 0;
  int Platform = Win32PlatformNT;
  // At least major.minor (6.0 = Vista, 6.1 = 7, 6.2 = 8 or a newer system unmanifested).
  bool AtLeast(unsigned major, unsigned minor) const { return Major > major || (Major == major && Minor >= minor); }
};

// The system's version (a fixed 10.0 in the native build, which has no Windows).
const TWindowsVersion& SystemWindowsVersion();
// The version in use: the system's unless a test installed another.
const TWindowsVersion& WindowsVersion();

inline unsigned Win32MajorVersion() { return WindowsVersion().Major; }
inline unsigned Win32MinorVersion() { return WindowsVersion().Minor; }
inline unsigned Win32BuildNumber() { return WindowsVersion().Build; }
inline int Win32Platform() { return WindowsVersion().Platform; }

// Installs a version for the lifetime of the guard, restoring the previous one after.
// Install and remove it only while no other thread of the test reads the version.
class TWindowsVersionOverride {
 public:
  explicit TWindowsVersionOverride(const TWindowsVersion& version);
  ~TWindowsVersionOverride();
  TWindowsVersionOverride(const TWindowsVersionOverride&) = delete;
  TWindowsVersionOverride& operator=(const TWindowsVersionOverride&) = delete;

 private:
  TWindowsVersion version_;
  const TWindowsVersion* previous_;
};
