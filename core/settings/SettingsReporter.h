// How the settings and profile code tells the user about a failure: numbered
// error boxes ("Error #100" ...) and language messages for refusals. The main
// window shows them in message boxes (SettingsReporter.win.cpp); tests record them.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class ISettingsReporter {
 public:
  virtual ~ISettingsReporter() = default;
  // "Error #<number>: Can not save setting." (numbers 100 to 105).
  virtual void ShowNumberedError(int number) = 0;
  // A refusal: the language message of that name ("Msg." + name in the language file).
  virtual void ShowLanguageMessage(std::wstring_view name) = 0;
};

std::wstring NumberedErrorText(int number);

// The numbers of the settings and profile failures.
enum : int {
  ErrorSaveOnClose = 100,      // the profile table or the edited profile at closing
  ErrorSaveSettings = 101,     // "stg.db" or "stgex.ini"
  ErrorShutDown = 102,         // the shut-down steps after saving
  ErrorReadGlobalProfile = 103,
  ErrorReadProgramProfile = 104,
  ErrorReadProfileTable = 105,
};

// The language message shown when a name cannot be a profile's file name.

// Windows: message boxes owned by the main window; the language messages come from
// the language files (the main window passes its GetLngMessage).
std::unique_ptr<ISettingsReporter> MakeMessageBoxReporter(void* ownerWindow,
                                                          std::function<std::wstring(std::wstring_view)> getLngMessage);
