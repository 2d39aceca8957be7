// The plug-in host: finds the libraries in "plugins\" that export GetName, keeps
// the table with the user's choice in "plugins.db", enables and disables them, and
// suspends them with the keyboard hook while the session is locked.
//
// A library is never freed once Enable may have started its threads; only the
// short queries (name, version, info...) load and free a library around one call.
// Switched off by the user (enabled = 0) and suspended by a lock are kept apart:
// an unlock resumes only what was loaded at the lock and is still switched on.
//
// Plug-ins are other people's code, so every call into one goes through
// PluginCall.h: the queries on a worker with a bound, Enable and Disable on this
// thread with a watchdog. A library whose call crashed or never returned is
// recorded in "pluginsfailed.db", left out from then on (listed, never called)
// until the user switches it on again, and the user is told which and why.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/plugins/PluginCall.h"
#include "core/plugins/PluginFailures.h"
#include "core/plugins/PluginTable.h"

class TPluginHost {
 public:
  struct Hooks {
    std::function<void()> removeKeyboardHook;
    std::function<bool()> setKeyboardHook;  // false: "Unable to set hook" is shown by the caller
    std::function<void(int kind)> errorMsg;  // ErrorMsg(1) hook, ErrorMsg(2) plug-in
    std::function<void()> listChanged;       // the settings page redraws its check list
    // A plug-in was left out: "Can`t load plugin", its file name and why. Without
    // it errorMsg(2) says the first part.
    std::function<void(const std::wstring& text)> pluginFailed;
    // On the watchdog's thread, after the record is written: a call on the main
    // thread never returned, and the main thread is still inside it.
    std::function<void()> callOverran;
  };

  TPluginHost(std::filesystem::path pluginFolder, std::filesystem::path settingsFolder, Hooks hooks);
  ~TPluginHost();

  // Builds the table at start-up and enables what "plugins.db" switches on;
  // the user is told of every library left out that was not told of before.
  void loadpluginslist();
  bool savepluginslist() const;  // false: the file could not be written

  // Loads the library (it stays loaded) and calls Enable: the handle, or none
  // when the library is missing or Enable is missing, says false or crashed.
  void* EnablePlugin(const std::filesystem::path& path);
  // Calls Disable (loading the library first when no handle is known).
  bool DisablePlugin(const std::filesystem::path& path, void* handle);

  // Queries that load the library for one call: nullopt when the export is
  // missing, or the call crashed or overran (then the plug-in is left out).
  std::optional<std::string> QueryText(const std::filesystem::path& path, const char* exportName);
  std::optional<std::uint8_t> QueryByte(const std::filesystem::path& path, const char* exportName);

  // The user ticks or unticks entry i on the settings page or in the chooser.
  // Ticking a plug-in that was left out forgets its failure and tries it again.
  void SetEnabled(std::size_t i, bool enabled);

  void UnloadPluginList();  // at close: Disable every loaded plug-in
  void ResumePluginList();
  void DisableAllPlugins();  // session lock, console disconnect
  void ResumeAllPlugins();   // session unlock, console connect

  const TPluginTable& table() const { return table_; }
  bool suspended() const { return PluginsSuspended; }
  const std::filesystem::path& pluginFolder() const { return pluginFolder_; }
  // The records of "pluginsfailed.db" as they stand.
  std::vector<TPluginFailure> failures() const;

 private:
  struct QueryAnswer;
  enum class TQueryKind { Text, Byte };
  // Runs one query; a crash or an overrun is recorded and told here.
  std::shared_ptr<QueryAnswer> query(const std::filesystem::path& path, const char* exportName, TQueryKind kind);
  // Runs Enable or Disable of lib on this thread under the watchdog; nullopt when it crashed.
  std::optional<std::uint8_t> callOnMainThread(const std::filesystem::path& path, void* lib, const char* exportName);
  void leaveOut(const std::filesystem::path& path, const std::string& exportName, const TPluginCallResult& result);
  void tell(const TPluginFailure& failure);
  void addFailedEntry(const std::filesystem::path& path);
  void onOverrun(const std::wstring& file, const std::string& exportName);
  bool saveFailuresLocked() const;
  std::filesystem::path failuresFile() const;

  std::filesystem::path pluginFolder_;
  std::filesystem::path settingsFolder_;
  Hooks hooks_;
  TPluginTable table_;
  TPluginTable suspendedCopy_;
  bool PluginsSuspended = false;
  // Shared with the watchdog's thread, which records an overrun while the main
  // thread is inside the plug-in.
  mutable std::mutex failuresLock_;
  std::vector<TPluginFailure> failures_;
  std::unique_ptr<TPluginWatchdog> watchdog_;
};
