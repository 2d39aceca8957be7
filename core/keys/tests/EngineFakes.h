// Fakes of the world around the key engine, recording what the engine asked of it.
#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyEngineWorld.h"
#include "core/keys/KeyLookup.h"

namespace fakes {

inline std::wstring widen(std::string_view s) { return std::wstring(s.begin(), s.end()); }

struct EngineOptions : IEngineOptions {
  TKeyEngineOptions value;
  TKeyEngineOptions Options() const override { return value; }
};

// Every key reads as "[key]" unless a text is given.
struct Language : ILanguage {
  std::map<std::string, std::wstring> texts;
  std::wstring GetLngString(const std::string& key, const std::wstring&) override {
    const auto it = texts.find(key);
    return it != texts.end() ? it->second : L"[" + widen(key) + L"]";
  }
};

struct Shown {
  std::string where;  // "text", "popup" or "tray"
  std::wstring caption;
  std::wstring text;
  friend bool operator==(const Shown&, const Shown&) = default;
};

struct Displays : INoticeDisplays {
  std::vector<Shown> shown;
  void ShowText(int kind, const std::wstring& text) override {
    shown.push_back({"text" + std::to_string(kind), L"", text});
  }
  void ShowPopup(const std::wstring& caption, const std::wstring&, const std::wstring&, const std::wstring& text,
                 int, int, int) override {
    shown.push_back({"popup", caption, text});
  }
  void IndicateInTrayIcon(const std::string& indicator, int ms) override {
    shown.push_back({"tray" + std::to_string(ms), L"", widen(indicator)});
  }
};

struct Foreground : IForeground {
  std::uintptr_t window = 1;
  std::map<std::uintptr_t, std::string> exes{{1, "c:\\windows\\explorer.exe"}};
  bool exactly = false;
  bool atLeast = false;
  int exeQueries = 0;
  std::uintptr_t Window() override { return window; }
  std::string ExePath(std::uintptr_t w) override {
    ++exeQueries;
    return exes[w];
  }
  bool CoversScreenExactly() override { return exactly; }
  bool CoversScreenAtLeast() override { return atLeast; }
};

struct Profiles : IProgramProfiles {
  std::vector<std::string> ignored;
  std::map<std::string, std::string> profileOfExe;
  std::map<std::string, TKeyTable> profiles;
  std::vector<std::string> loads;
  std::vector<std::string> unreadable;
  std::vector<std::string> reports;
  bool IsIgnoredProgram(const std::string& exe) override {
    for (const auto& i : ignored)
      if (i == exe) return true;
    return false;
  }
  std::string ProfileForProgram(const std::string& exe) override {
    const auto it = profileOfExe.find(exe);
    return it != profileOfExe.end() ? it->second : std::string();
  }
  bool LoadPerProgramProfile(const std::string& name, TKeyTable& into) override {
    loads.push_back(name);
    for (const auto& u : unreadable)
      if (u == name) return false;
    into = profiles[name];
    return true;
  }
  void ReportUnreadableProfile(const std::string& name) override { reports.push_back(name); }
  void AddProgramProfileKeys(TKeysToAsk& keys) override {
    for (const auto& [name, table] : profiles) keys.AddBindings(table);
  }
};

struct RepeatTimer : IRepeatTimer {
  bool running = false;
  std::vector<unsigned> starts;
  int stops = 0;
  void Start(unsigned ms) override {
    running = true;
    starts.push_back(ms);
  }
  void Stop() override {
    running = false;
    ++stops;
  }
  bool Running() const override { return running; }
};

struct LockKeys : ILockKeys {
  std::map<std::uint8_t, bool> on;
  bool IsToggled(std::uint8_t vk) override { return on[vk]; }
};

struct Capture : ICaptureDialog {
  bool showing = false;
  std::vector<TKeyEvent> captured;
  int escPresses = 0;
  bool throwOnSetk = false;
  bool Showing() override { return showing; }
  void setk(const TKeyEvent& e) override {
    if (throwOnSetk) throw std::runtime_error("dialog gone");
    captured.push_back(e);
  }
  void EscPress() override { ++escPresses; }
};

struct KeyTest : IKeyTestList {
  std::vector<std::vector<std::wstring>> rows;
  std::size_t RowCount() override { return rows.size(); }
  void DeleteFirstRow() override { rows.erase(rows.begin()); }
  void AddRow(const std::vector<std::wstring>& columns) override { rows.push_back(columns); }
};

struct Esc : IEscTargets {
  bool updateInFront = false;
  bool lastMinute = false;
  int updateCloses = 0;
  int offTimerStops = 0;
  bool UpdateWindowInFront() override { return updateInFront; }
  void CloseUpdateWindow() override { ++updateCloses; }
  bool CountdownLastMinute() override { return lastMinute; }
  void StopOffTimer() override { ++offTimerStops; }
};

struct Counter : IKeyCounter {
  int count = 0;
  void WMCount() override { ++count; }
};

}  // namespace fakes
