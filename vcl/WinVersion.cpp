#include "vcl/WinVersion.h"

#include <atomic>

namespace {

std::atomic<const TWindowsVersion*>& Installed() {
  static std::atomic<const TWindowsVersion*> installed{nullptr};
  return installed;
}

}  // namespace

const TWindowsVersion& WindowsVersion() {
  const TWindowsVersion* v = Installed().load(std::memory_order_acquire);
  return v ? *v : SystemWindowsVersion();
}

TWindowsVersionOverride::TWindowsVersionOverride(const TWindowsVersion& version)
    : version_(version), previous_(Installed().exchange(&version_, std::memory_order_acq_rel)) {}

TWindowsVersionOverride::~TWindowsVersionOverride() { Installed().store(previous_, std::memory_order_release); }

#ifndef _WIN32
const TWindowsVersion& SystemWindowsVersion() {
  static const TWindowsVersion fixed{10, 0, 0, Win32PlatformNT};
  return fixed;
}
#endif
