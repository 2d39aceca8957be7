// The executor of the Programs family (codes 51-59): start the user's command
// line, Word or Excel, a standard program or a control-panel applet, press the
// browser or mail launch key, open a new mail message, start the task manager.
// It works from the binding's parameters alone, whether or not a settings page exists.
#pragma once
#include <cstdint>
#include <string>

#include "core/ActionExecutors.h"

class TProgramsExecutor : public IActionExecutor {
 public:
  // subCode = code - 50.
  void Execute(int subCode, int held, TActionContext& context) override;
};

#ifdef _WIN32
// Opens a file, a document or a URL with the shell's "open" verb, in the file's
// own folder. Nothing happens for an empty file.
void ShellOpenFile(const std::wstring& file, const std::wstring& arguments, int showCommand);
// Starts a program through the shell; the new process's id, 0 when nothing started.
std::uint32_t ShellLaunch(const std::wstring& file, const std::wstring& arguments, int showCommand);
// Starts the program and brings its window forward; with switchToLoaded, a running
// copy's window is restored and brought forward instead, and nothing starts.
void RunProgram(const std::wstring& file, const std::wstring& arguments, int showCommand, bool switchToLoaded);
// The folder an App Paths key of HKEY_LOCAL_MACHINE names in its "Path" value;
// false when the value is missing or empty.
bool ReadOfficeAppPath(const std::wstring& key, std::wstring& folder);
#endif
