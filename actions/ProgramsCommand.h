// What a Programs binding (codes 51-59) asks for, read from its parameter string:
// the window mode, the command line split into program and arguments, the list
// entry of a standard program or control-panel applet, and whether an already
// running copy is brought to the front instead of starting another.
#pragma once
#include <optional>
#include <string>
#include <string_view>

// Show commands, as ShowWindow numbers them.
enum TShowCommand : int {
  ShowNormal = 1,         // SW_SHOWNORMAL
  ShowMinimized = 2,      // SW_SHOWMINIMIZED
  ShowMaximized = 3,      // SW_SHOWMAXIMIZED
  ShowMinNoActive = 7,    // SW_SHOWMINNOACTIVE
};

// A window mode digit: "1" maximised, "2" minimised, "3" minimised without
// activation, anything else (also no number at all) normal.
TShowCommand ShowCommandOfMode(std::string_view mode);

struct TProgramsParams {
  TShowCommand Show = ShowNormal;
  std::optional<std::string> Command;  // the command line; absent: nothing to start
  int ListIndex = -1;                  // the standard program or applet
  bool SwitchToLoaded = false;
};

// The tagged form ("exectype", "exefile", "execombo", "switchtoloaded") or the
// older plain form (the mode digit, then the command line or the list index).
TProgramsParams ReadProgramsParams(std::string_view params);

struct TCommandLine {
  std::string Program;    // empty: nothing to start
  std::string Arguments;  // passed as they are, the separating blank included
};

// A command that begins with a double quote: the program runs up to and including
// the closing quote, the arguments are everything after it. Any other command is
// the program alone. One character is no program.
TCommandLine SplitCommandLine(std::string_view command);

// The program without the double quotes around it (the shell wants a file name).
std::string UnquotedProgram(std::string_view program);

// The folder part of a file name with its trailing backslash; empty when there is none.
std::string FolderOfFile(std::string_view file);
std::wstring FolderOfFile(std::wstring_view file);

// The lists of the programs page: nullopt for an index outside the list.
std::optional<std::string_view> StandardProgramAt(int index);
std::optional<std::string_view> ControlPanelAppletAt(int index);

// Word (sub-code 2) and Excel (3): the App Paths key under HKEY_LOCAL_MACHINE and
// the program file in the folder it names.
struct TOfficeApp {
  std::string_view AppPathsKey;
  std::string_view ProgramFile;
};
std::optional<TOfficeApp> OfficeAppOf(int subCode);
// The folder from the registry and the program file, with a backslash between them
// when the folder lacks one.
std::string OfficeProgramPath(std::string_view folder, std::string_view programFile);
std::wstring OfficeProgramPath(std::wstring_view folder, std::wstring_view programFile);
