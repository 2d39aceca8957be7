// The plug-ins left out because a call into them crashed or never returned, kept
// in "pluginsfailed.db" beside "plugins.db" (whose format stays as it is for the
// plug-ins that work). One line per library: its file name (UTF-8), a tab, the
// export that failed, a tab, what happened ("crash" or "hang"), a tab, and "told"
// once the user has been told, else "new". Lines end with CR LF.
//
// A library is known by its file name, not by its plug-in name: the name comes
// from GetName, which may be the very call that failed.
#pragma once
#include <string>
#include <string_view>
#include <vector>

inline constexpr const char* PluginFailuresFile = "pluginsfailed.db";

struct TPluginFailure {
  std::string file;        // the library's file name, UTF-8, as in the plug-in folder
  std::string exportName;  // "GetName", "Enable", "Disable"...
  std::string what;        // "crash" or "hang"
  bool told = false;
};

// Lines that do not have all four fields, or whose file name is empty, are left out.
std::vector<TPluginFailure> ParsePluginFailures(std::string_view text);
std::string FormatPluginFailures(const std::vector<TPluginFailure>& failures);

// The record of that file (file names compare without regard to ASCII case, as
// the file system does), or nullptr.
TPluginFailure* FindPluginFailure(std::vector<TPluginFailure>& failures, std::string_view file);
// Adds or replaces the record of failure.file.
void RecordPluginFailure(std::vector<TPluginFailure>& failures, const TPluginFailure& failure);
// True when a record of that file was there.
bool ForgetPluginFailure(std::vector<TPluginFailure>& failures, std::string_view file);
