// The main window's private messages and the small pieces of its handlers that
// decide something: the key-press counter, the answer to a power broadcast, and
// reading a plug-in's button name safely.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

inline constexpr unsigned WM_RESTOREMAIN = 0x400 + 350;     // a second start asks us to show ourselves
inline constexpr unsigned WM_PLUGINKEY = 0x400 + 360;       // a plug-in's button: wParam 2, lParam its name
inline constexpr unsigned WM_GETKEYCALLBACK = 0x400 + 370;  // answers KeyCallback's address
inline constexpr unsigned WM_TRAYSTART = 0x400 + 371;       // the tray's pictures once start-up is over
inline constexpr std::uintptr_t PluginKeyEvent = 2;
// The longest plug-in button name taken; a longer text is cut there.
inline constexpr std::size_t PluginKeyNameMax = 255;

// The key-press counter (TMainForm.WMCount): the donation window at 100 000,
// 1 000 000 and 10 000 000 presses, put off by 10 presses at a time while a
// full-screen program is in front, and the settings saved every 1000 presses.
class TKeyPressCounter {
 public:
  struct THooks {
    std::function<bool()> isGameMode;
    std::function<void()> showDonation;
    std::function<void()> saveSettings;
  };
  explicit TKeyPressCounter(THooks hooks) : hooks_(std::move(hooks)) {}
  void SetCount(std::int32_t count) { count_ = count; }
  std::int32_t Count() const { return count_; }
  std::int32_t DonationOffset() const { return donationOffset_; }
  // Counts one press; returns the counter text for the statistics label.
  std::wstring WMCount();

 private:
  THooks hooks_;
  std::int32_t count_ = 0;
  std::int32_t donationOffset_ = 0;
};

// WM_POWERBROADCAST: only a suspend query is refused, and only when a bound Sleep
// key ran within the last few seconds (the keyboard's own Sleep key then means
// "run my action", not "sleep"). Every other broadcast is a notice to accept.
inline constexpr std::uint64_t SleepKeyGuardMs = 5000;
bool RefusePowerBroadcast(std::uintptr_t wParam, std::optional<std::uint64_t> sleepKeyRanAtMs, std::uint64_t nowMs);

#ifdef _WIN32
#include "vcl/Win.h"
// The button name a plug-in of this process posted: read only from committed,
// readable memory of our own process, never past the end of that region, at most
// PluginKeyNameMax characters. nullopt when lParam points anywhere else.
std::optional<std::string> ReadPluginKeyName(LPARAM lParam);
// The installation id of this machine and user ("01x" and 32 hex digits).
std::string F_Genuid();
// The size of the file opened read-only; -1 when it cannot be opened.
std::int64_t GetFileSize(const std::wstring& fileName);
// The screen's logical pixels per inch.
int GetSystemFontSize();
#endif
