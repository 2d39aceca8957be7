// Free routines of the program: time texts, Windows versions, environment
// variables, program descriptions, processes and windows, the inputs of the
// installation id. The pure ones build natively; the rest are Windows only.
#pragma once
#include "services/ProgramFile.h"
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Pieces of text between occurrences of sep, empty pieces included.
std::vector<std::wstring> SplitString(std::wstring_view text, std::wstring_view sep);

// 'hh:mm:ss', or 'mm:ss' when the hours are 0 and not forced. A negative time
// (a player that does not know its length) reads '--:--'.
std::wstring SecondsToHMS(long long seconds, bool forceHours);
inline std::wstring SecondsToTimeStr(long long seconds, bool forceHours) { return SecondsToHMS(seconds, forceHours); }

// What the system reports about itself, as the version routines need it.
struct TWinVersionInfo {
  bool nt = true;  // the NT family
  unsigned major = 0, minor = 0, build = 0;
  std::wstring servicePack;  // the service-pack text (CSD)
  int productType = 1;       // 1 workstation, otherwise server; 0 unknown
};

// The version code of the about page (0 unknown .. 16 newer than Windows 10).
std::uint8_t WinVersionCode(const TWinVersionInfo& v);
std::wstring WinVersionName(std::uint8_t code);
// At least the named version ("2K", "XP", "Vista", "Seven", "W10") on NT.
bool WinVersionAtLeast(const TWinVersionInfo& v, std::wstring_view name);
std::wstring WinVersionString(const TWinVersionInfo& v, bool details);

// Replaces each %NAME% by the variable's value; an unset name, and a '%'
// without its pair, stay as they are (as Windows expands them), so texts such
// as 'a%20b' or '50%' survive.
std::wstring ExpandEnvVarsWith(std::wstring_view text,
                               const std::function<std::optional<std::wstring>(const std::wstring&)>& lookup);


// The counter as the statistics page writes it: '999', '1.000', '1.234.567'.
std::wstring KeyPressCounterText(std::int32_t count);

// The installation id: "01x" and the MD5 digest, in lower-case hex, of the five
// machine properties joined by " | ".
std::string MakeInstallationId(const std::string& computer, const std::string& user, const std::string& productId,
                               const std::string& volumeSerial, const std::string& biosDate);

#ifdef _WIN32
#include "services/ProcessList.h"
#include "vcl/Win.h"

TWinVersionInfo QueryWinVersion();
int GetWinMajorVersion();
bool IsWinVersion(std::wstring_view name);
std::uint8_t GetWinVersionCode();
std::wstring GetWinVersionName();
std::wstring GetWinVersionString(bool details);
int IsWow64();
bool Is64BitWindows();

bool MoveFiles(const std::wstring& source, const std::wstring& dest);
std::wstring GetEnvVar(const std::wstring& name);
std::wstring ExpandEnvVars(std::wstring_view text);

HICON GetFileIcon(const std::wstring& path, int size);  // the caller destroys it

DWORD GetProcessIdOf(HANDLE process);
void ForceForegroundWindow(HWND wnd);
void RestoreAndActivate(HWND wnd);
// Finds the main window of a running copy of the program; nullptr when none.
HWND ActivateRunningProgram(const std::wstring& exePath, DWORD processId);

std::string GetComputerNameStr();
std::string GetUserNameStr();
std::string GetWindowsProductId();
std::string GetSystemVolumeSerial();
std::string GetBiosDate();
int GetUserUILanguage();
#endif
