// A portable Qorn of its own for one test: the program folder as a user gets it
// (build/windows/dist) copied into a folder, "AppData\portable_on" so the settings
// live beside it, the settings files written as the test wants them, and the real
// Qorn.exe started, found by its window and closed the way a user closes it.
//
// Header only, with nothing but the standard library, the core file formats and
// Win32, so that test tools (which link no test support) can use it too.
#pragma once
#include "core/keys/KeyRecord.h"
#include "core/mainwindow/MainForm.h"
#include "core/plugins/PluginTable.h"
#include "core/settings/Profiles.h"
#include "core/settings/SettingsFile.h"
#include "vcl/Win.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qorn::testing {

// One profile file and its entry in "profile.db".
struct TInstallProfile {
  std::string Name;
  std::string Kind = "-";  // "-" global, else the program's lower-cased full path
  std::vector<TKeyRecord> Bindings;
};

class TQornInstall {
 public:
  using Clock = std::chrono::steady_clock;

  // root must not exist yet.
  TQornInstall(std::filesystem::path root, const std::filesystem::path& dist) : root_(std::move(root)) {
    std::filesystem::create_directories(root_.parent_path());
    std::filesystem::copy(dist, root_, std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(Settings() / "profiles");
    WriteFile("portable_on", "");
  }
  ~TQornInstall() { Kill(); }
  TQornInstall(const TQornInstall&) = delete;
  TQornInstall& operator=(const TQornInstall&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Program() const { return root_ / programName_; }
  // Qorn under another file name (wine's per-program settings, such as the Windows
  // version it reports, go by the name).
  void RenameProgram(const std::wstring& name) {
    std::filesystem::rename(Program(), root_ / name);
    programName_ = name;
  }
  std::filesystem::path Settings() const { return root_ / "AppData"; }

  // A file of the settings folder ("stg.db", "profiles\\x.gpf"...).
  void WriteFile(const std::string& relative, std::string_view bytes) const {
    const auto file = Settings() / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string ReadFile(const std::string& relative) const {
    std::ifstream in(Settings() / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(Settings() / relative); }
  void Remove(const std::string& relative) const { std::filesystem::remove(Settings() / relative); }

  void WriteSettings(const TSettingsRecords& records) const { WriteFile("stg.db", StoreSettingsFile(records)); }

  // "profile.db" with the active global profile in its header, and one file per profile.
  void WriteProfiles(const std::string& activeGlobal, const std::vector<TInstallProfile>& profiles) const {
    TProfileTable table;
    table.Entries[0].Name = activeGlobal;
    table.Entries[0].Kind = activeGlobal;
    for (const auto& p : profiles) {
      auto& e = table.Entries[++table.Count];
      e.Name = p.Name;
      e.Kind = p.Kind;
      TKeyTable keys;
      for (const auto& b : p.Bindings) keys.Add(b);
      WriteFile("profiles/" + p.Name + (p.Kind == "-" ? ".gpf" : ".lpf"), StoreProfileFile(keys));
    }
    WriteFile("profile.db", StoreProfileTable(table, table.Count));
  }

  // "plugins.db" enabling (or not) the plug-ins of that name.
  void WritePluginsDb(const std::vector<std::pair<std::string, bool>>& plugins) const {
    TPluginTable table;
    for (const auto& [name, enabled] : plugins) {
      auto& e = table.entries[table.count++];
      e.name = name;
      e.enabled = enabled ? 1 : 0;
    }
    WriteFile("plugins.db", FormatPluginsDb(table));
  }

  // Another Qorn would take our start for a second one (and the one main window).
  // Tests that start a Qorn take turns ("ctest-lock: main-window"), but the one
  // before may still be ending on a busy machine: waits for it to go. False (and
  // the process named) when one stays.
  static bool NoOtherQorn(std::chrono::milliseconds wait = std::chrono::seconds(30)) {
    const auto end = Clock::now() + wait;
    while (HWND other = FindWindowW(L"TMainForm", L"Qorn")) {
      if (Clock::now() > end) {
        DWORD pid = 0;
        GetWindowThreadProcessId(other, &pid);
        std::fprintf(stderr, "another Qorn (process %lu) is still running\n", static_cast<unsigned long>(pid));
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
  }

  // Starts Qorn.exe and waits for its main window; false when it did not come.
  bool Start(std::chrono::milliseconds timeout = std::chrono::seconds(40)) {
    Kill();
    if (!NoOtherQorn()) return false;
    std::wstring cmd = L"\"" + Program().wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const std::wstring dir = root_.wstring();
    // The start itself is the system's, not Qorn's: one that failed (seen once, on a
    // loaded machine, for the first start of a test program) is tried again, with its
    // error said.
    const auto end = Clock::now() + timeout;
    while (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &process_)) {
      process_ = {};
      std::fprintf(stderr, "Qorn.exe could not be started (error %lu)\n", GetLastError());
      if (Clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    while (Clock::now() < end && !(window_ = OurWindow())) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        std::fprintf(stderr, "Qorn ended before its window came (exit code %lu)\n", static_cast<unsigned long>(code));
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!window_) {
      std::fprintf(stderr, "Qorn's window did not come\n");
      return false;
    }
    // The window exists before its start-up is done (hook, bindings, plug-ins). A
    // sent message is answered only once its thread takes messages again, after that.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    DWORD_PTR callback = 0;
    if (SendMessageTimeoutW(window_, WM_GETKEYCALLBACK, 0, 0, SMTO_NORMAL,
                            static_cast<UINT>(std::max<long long>(left.count(), 1000)), &callback) != 0 &&
        callback != 0)
      return true;
    std::fprintf(stderr, "Qorn's window did not answer as started\n");
    return false;
  }
  HWND Window() const { return window_; }
  bool Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

  // Closes the main window as the system does at log-off or a user's WM_CLOSE, and
  // waits for the process to end. Its exit code, or -1 when it did not end in time.
  long Close(std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    RequestClose();
    return WaitForExit(timeout);
  }
  void RequestClose() const {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
  }
  long WaitForExit(std::chrono::milliseconds timeout) {
    if (!process_.hProcess) return -1;
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    release();
    return static_cast<long>(code);
  }
  DWORD ProcessId() const { return process_.dwProcessId; }

  // A top-level window of Qorn's process with that class and caption (a message box
  // is "#32770"), or nullptr.
  HWND FindOwnWindow(const wchar_t* className, const wchar_t* caption) const {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, className, caption));) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == process_.dwProcessId) return w;
    }
    return nullptr;
  }

  void Kill() {
    if (!process_.hProcess) return;
    if (Running()) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    release();
  }

 private:
  HWND OurWindow() const { return FindOwnWindow(L"TMainForm", L"Qorn"); }
  void release() {
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
    window_ = nullptr;
  }

  std::filesystem::path root_;
  std::wstring programName_ = L"Qorn.exe";
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// A binding of a keyboard key, fired on its key-down, as the key capture would record it.
inline TKeyRecord KeyBinding(const std::string& name, std::uint8_t vk, std::uint8_t code2, std::string_view modifiers,
                             TActionCode code, const std::string& params) {
  TKeyRecord r;
  r.Name = name;
  r.Vk = vk;
  r.Code2 = code2;
  r.Msg = KeyMsgDown;
  r.Modifiers = modifiers;
  r.ActionCode = code;
  r.Params = params;
  return r;
}

// A binding of a plug-in button, by the name the plug-in reports.
inline TKeyRecord PluginBinding(const std::string& name, const std::string& keyName, TActionCode code,
                                const std::string& params) {
  TKeyRecord r;
  r.Name = name;
  r.Vk = 1;
  r.Code2 = 1;
  r.Msg = 0;
  r.Modifiers = NoModifiers;
  r.ActionCode = code;
  r.Params = params;
  r.PluginKeyName = keyName;
  return r;
}

// Code 51's parameters: start this command line in a normal window.
inline std::string RunCommandParams(const std::string& commandLine) {
  return "exectype:4;exectype|exefile:" + commandLine + ";exefile|";
}

}  // namespace qorn::testing
