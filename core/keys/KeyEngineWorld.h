// What the key engine needs of the world around it, each behind the smallest
// interface its caller needs: the Windows glue, and later the main form, the
// displays, the language and the settings, provide them; tests provide fakes.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyRecord.h"
#include "core/keys/KeysToAsk.h"

struct TKeyEvent;

// The options of the settings pages that the key road reads on every event.
struct TKeyEngineOptions {
  bool optexceptonfullscreen = false;  // the program is off while a full-screen program is in front
  bool osdshfs = false;                // no displays or notices over full-screen programs
  bool optlrmodif = false;             // one modifier of either side (Ctrl, not LCtrl/RCtrl)
  bool optmultiact = false;            // every matching binding runs
  bool optmb = false;                  // RavodOzezadori chords are taken
  bool osdkeyspressed = false;         // show names and actions of pressed keys
  bool washowpopup = false;            // notices in the popup (else in the text display, washowosd)
  bool osdshowlocks = false;           // show Caps/Num/Scroll Lock switching
  bool locksAsPopup = true;            // rbtn_locks_showaspopup (else rbtn_locks_showastray)
  bool trayshowlocks = false;          // lock-key state in the tray icon
};

class IEngineOptions {
 public:
  virtual ~IEngineOptions() = default;
  virtual TKeyEngineOptions Options() const = 0;
};

// The window in front and the program that owns it.
class IForeground {
 public:
  virtual ~IForeground() = default;
  virtual std::uintptr_t Window() = 0;
  // Lower-cased full path of the executable owning the window; empty when unknown.
  virtual std::string ExePath(std::uintptr_t window) = 0;
  // The foreground window's rectangle against its screen; both false for the desktop
  // and the "Program Manager" window.
  virtual bool CoversScreenExactly() = 0;
  virtual bool CoversScreenAtLeast() = 0;
};

// Per-program profiles and the ignored programs. The key road asks these while a
// key waits: they answer from memory, never from a file or a window.
class IProgramProfiles {
 public:
  virtual ~IProgramProfiles() = default;
  virtual bool IsIgnoredProgram(const std::string& exePath) = 0;
  // The name of the per-program profile bound to the program; empty when none.
  virtual std::string ProfileForProgram(const std::string& exePath) = 0;
  // Copies the profile into `into` (a cleared table); false when its file could
  // not be read, which ReportUnreadableProfile then tells the user.
  virtual bool LoadPerProgramProfile(const std::string& name, TKeyTable& into) = 0;
  // From the main loop, outside any callback.
  virtual void ReportUnreadableProfile(const std::string& name) = 0;
  // The bindings of every per-program profile, since any program may come to the front.
  virtual void AddProgramProfileKeys(TKeysToAsk& keys) = 0;
};

class IRepeatTimer {
 public:
  virtual ~IRepeatTimer() = default;
  virtual void Start(unsigned intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

class ILockKeys {
 public:
  virtual ~ILockKeys() = default;
  // Whether Caps Lock (20), Num Lock (144) or Scroll Lock (145) is switched on.
  virtual bool IsToggled(std::uint8_t vk) = 0;
};

class ILanguage {
 public:
  virtual ~ILanguage() = default;
  virtual std::wstring GetLngString(const std::string& key, const std::wstring& defaultText) = 0;
};

// The text display, the popup and the tray indicator, as far as the key road shows them.
class INoticeDisplays {
 public:
  virtual ~INoticeDisplays() = default;
  // TOSDtForm.showing
  virtual void ShowText(int kind, const std::wstring& text) = 0;
  // TPopupForm.showing
  virtual void ShowPopup(const std::wstring& caption, const std::wstring& second, const std::wstring& third,
                         const std::wstring& text, int a, int b, int c) = 0;
  // TMainForm.IndicateInTrayIcon
  virtual void IndicateInTrayIcon(const std::string& indicator, int durationMs) = 0;
};

// The key capture dialog.
class ICaptureDialog {
 public:
  virtual ~ICaptureDialog() = default;
  virtual bool Showing() = 0;
  virtual void setk(const TKeyEvent& captured) = 0;
  virtual void EscPress() = 0;
};

// The list view of the key test on the settings page.
class IKeyTestList {
 public:
  virtual ~IKeyTestList() = default;
  virtual std::size_t RowCount() = 0;
  virtual void DeleteFirstRow() = 0;
  virtual void AddRow(const std::vector<std::wstring>& columns) = 0;
};

// What plain Esc also closes or stops, besides being looked up like any key.
class IEscTargets {
 public:
  virtual ~IEscTargets() = default;
  virtual bool UpdateWindowInFront() = 0;
  virtual void CloseUpdateWindow() = 0;  // TUpdateForm.CloseButtonClick
  virtual bool CountdownLastMinute() = 0;
  virtual void StopOffTimer() = 0;
};

// The key-press counter of the main form (TMainForm.WMCount).
class IKeyCounter {
 public:
  virtual ~IKeyCounter() = default;
  virtual void WMCount() = 0;
};
