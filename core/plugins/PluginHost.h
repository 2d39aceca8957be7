// The plug-in host: finds the libraries in "plugins\" that export GetName, keeps
// the table with the user's choice in "plugins.db", enables and disables them, and
// suspends them with the keyboard hook while the session is locked.
//
// A library is never freed once Enable may have started its threads; only the
// short queries (name, version, info...) load and free a library around one call.
// Switched off by the user (enabled = 0) and suspended by a lock are kept apart:
// an unlock resumes only what was loaded at the lock and is still switched on.
#pragma once
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/plugins/PluginTable.h"

class TPluginHost {
 public:
  struct Hooks {
    std::function<void()> removeKeyboardHook;
    std::function<bool()> setKeyboardHook;  // false: "Unable to set hook" is shown by the caller
    std::function<void(int kind)> errorMsg;  // ErrorMsg(1) hook, ErrorMsg(2) plug-in
    std::function<void()> listChanged;       // the settings page redraws its check list
  };

  TPluginHost(std::filesystem::path pluginFolder, std::filesystem::path settingsFolder, Hooks hooks);

  // Builds the table at start-up and enables what "plugins.db" switches on.
  void loadpluginslist();
  bool savepluginslist() const;  // false: the file could not be written

  // Loads the library (it stays loaded) and calls Enable: the handle, or none
  // when the library is missing or Enable is missing or says false.
  void* EnablePlugin(const std::string& path);
  // Calls Disable (loading the library first when no handle is known).
  bool DisablePlugin(const std::string& path, void* handle);

  // Queries that load the library for one call: nullopt when the export is missing.
  std::optional<std::string> QueryText(const std::string& path, const char* exportName) const;
  std::optional<std::uint8_t> QueryByte(const std::string& path, const char* exportName) const;

  // The user ticks or unticks entry i on the settings page or in the chooser.
  void SetEnabled(std::size_t i, bool enabled);

  void UnloadPluginList();  // at close: Disable every loaded plug-in
  void ResumePluginList();
  void DisableAllPlugins();  // session lock, console disconnect
  void ResumeAllPlugins();   // session unlock, console connect

  const TPluginTable& table() const { return table_; }
  bool suspended() const { return PluginsSuspended; }
  const std::filesystem::path& pluginFolder() const { return pluginFolder_; }

 private:
  std::filesystem::path pluginFolder_;
  std::filesystem::path settingsFolder_;
  Hooks hooks_;
  TPluginTable table_;
  TPluginTable suspendedCopy_;
  bool PluginsSuspended = false;
};
