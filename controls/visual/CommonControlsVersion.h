// The major version of the common controls library the program runs with: 6 when
// its manifest asks for them, else 5, whose image lists know masks but not alpha.
// Code that builds images for the system's image lists by that version reads it
// here; tests install the version they want with TCommonControlsVersionOverride.
#pragma once

namespace Flat {

unsigned CommonControlsMajorVersion();

// Installs a version for the guard's lifetime (main thread only).
class TCommonControlsVersionOverride {
 public:
  explicit TCommonControlsVersionOverride(unsigned major);
  ~TCommonControlsVersionOverride();
  TCommonControlsVersionOverride(const TCommonControlsVersionOverride&) = delete;
  TCommonControlsVersionOverride& operator=(const TCommonControlsVersionOverride&) = delete;

 private:
  unsigned previous_;
};

}  // namespace Flat
