#include "vcl/WinVersion.h"

#include "vcl/Win.h"

namespace {

TWindowsVersion ReadSystemVersion() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  TWindowsVersion v;
  // What the program's manifest lets it see, as the platform's globals report it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL read = GetVersionExW(&info);
#pragma GCC diagnostic pop
  if (read) {
    v.Major = info.dwMajorVersion;
    v.Minor = info.dwMinorVersion;
    v.Build = info.dwBuildNumber;
    v.Platform = static_cast<int>(info.dwPlatformId);
  }
  return v;
}

}  // namespace

const TWindowsVersion& SystemWindowsVersion() {
  static const TWindowsVersion system = ReadSystemVersion();
  return system;
}
