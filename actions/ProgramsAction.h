// The executor of the Programs family (codes 51-59): start the user's command
// line, Word or Excel, a standard program or a control-panel applet, press the
// browser or mail launch key, open a new mail message, start the task manager.
// It works from the binding's parameters alone, whether or not a settings page exists.
//
// Starting a program through the shell can take long (a first start loads half the
// shell, a document may wait for its program's DDE answer). The keyboard hook must
// be answered meanwhile, or the keys pressed in that time slip past Qorn; so the
// shell calls run, in the order they were asked for, on a thread of the executor.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "actions/ActionExecutors.h"

class TProgramsExecutor : public IActionExecutor {
 public:
  TProgramsExecutor();
  // Waits a little for a start under way; one that hangs in the shell is left behind.
  ~TProgramsExecutor() override;
  TProgramsExecutor(const TProgramsExecutor&) = delete;
  TProgramsExecutor& operator=(const TProgramsExecutor&) = delete;

  // subCode = code - 50.
  void Execute(int subCode, int held, TActionContext& context) override;
  // Returns once every start asked for so far has been made.
  void WaitIdle();

 private:
  class TLauncher;
  std::shared_ptr<TLauncher> launcher_;
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
