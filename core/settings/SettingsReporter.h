// How the settings and profile code tells the user about a failure: numbered
// error boxes ("Error #100" ...) and language messages for refusals. The main
// window shows them in message boxes (SettingsReporter.win.cpp); tests record them.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// A settings file that could not be taken as it was.
enum class TFileProblemKind {
  Unreadable,  // it exists but could not be read: the run goes on without it
  Damaged,     // what could be read is used; Copy holds the original (empty: none could be made)
};
struct TFileProblem {
  TFileProblemKind Kind = TFileProblemKind::Unreadable;
  std::filesystem::path File;
  std::filesystem::path Copy;
};

class ISettingsReporter {
 public:
  virtual ~ISettingsReporter() = default;
  // "Error #<number>: Can not save setting." (numbers 100 to 105).
  virtual void ShowNumberedError(int number) = 0;
  // A refusal: the language message of that name ("Msg." + name in the language file).
  virtual void ShowLanguageMessage(std::wstring_view name) = 0;
  // Which file could not be taken as it was, and what happens to it.
  virtual void ShowFileProblem(const TFileProblem& problem) = 0;
};

std::wstring NumberedErrorText(int number);
std::wstring FileProblemText(const TFileProblem& problem);

// Tells nobody: for the settings read before any window exists (the main window
// reads them again and reports).
class TSilentSettingsReporter final : public ISettingsReporter {
 public:
  void ShowNumberedError(int) override {}
  void ShowLanguageMessage(std::wstring_view) override {}
  void ShowFileProblem(const TFileProblem&) override {}
};

// The numbers of the settings and profile failures.
enum : int {
  ErrorSaveOnClose = 100,      // the profile table or the edited profile at closing
  ErrorSaveSettings = 101,     // "stg.db" or "stgex.ini"
  ErrorShutDown = 102,         // the shut-down steps after saving
};

// Windows: message boxes owned by the main window; the language messages come from
// the language files (the main window passes its GetLngMessage).
std::unique_ptr<ISettingsReporter> MakeMessageBoxReporter(void* ownerWindow,
                                                          std::function<std::wstring(std::wstring_view)> getLngMessage);
