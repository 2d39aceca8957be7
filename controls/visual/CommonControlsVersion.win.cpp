#include "controls/visual/CommonControlsVersion.h"

#include "vcl/Win.h"

namespace Flat {

namespace {

// What a library's DllGetVersion fills in.
struct TDllVersionInfo {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
};
using TDllGetVersion = HRESULT(CALLBACK*)(TDllVersionInfo*);

unsigned SystemMajorVersion() {
  HMODULE module = GetModuleHandleW(L"comctl32.dll");
  if (!module) module = LoadLibraryW(L"comctl32.dll");
  if (!module) return 5;
  auto getVersion = reinterpret_cast<TDllGetVersion>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
  if (!getVersion) return 4;
  TDllVersionInfo info{};
  info.cbSize = sizeof(info);
  if (FAILED(getVersion(&info))) return 5;
  return info.dwMajorVersion;
}

// 0: none installed.
unsigned overrideVersion = 0;

}  // namespace

unsigned CommonControlsMajorVersion() {
  if (overrideVersion) return overrideVersion;
  static const unsigned version = SystemMajorVersion();
  return version;
}

TCommonControlsVersionOverride::TCommonControlsVersionOverride(unsigned major) : previous_(overrideVersion) {
  overrideVersion = major;
}

TCommonControlsVersionOverride::~TCommonControlsVersionOverride() { overrideVersion = previous_; }

}  // namespace Flat
