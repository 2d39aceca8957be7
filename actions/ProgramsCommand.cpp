#include "actions/ProgramsCommand.h"

#include <array>
#include <charconv>

#include "core/keys/ActionParams.h"

namespace {

std::optional<int> wholeNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

constexpr std::array<std::string_view, 7> standardPrograms = {
    "notepad.exe", "wordpad.exe", "calc.exe", "mspaint.exe", "cmd.exe", "explorer.scf", "regedit.exe"};

constexpr std::array<std::string_view, 9> applets = {
    "timedate.cpl", "ncpa.cpl", "appwiz.cpl", "desk.cpl", "mmsys.cpl",
    "sysdm.cpl", "main.cpl", "telephon.cpl", "inetcpl.cpl"};

template <std::size_t N>
std::optional<std::string_view> at(const std::array<std::string_view, N>& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) return std::nullopt;
  return list[static_cast<std::size_t>(index)];
}

}  // namespace

TShowCommand ShowCommandOfMode(std::string_view mode) {
  switch (wholeNumber(mode).value_or(4)) {
    case 1: return ShowMaximized;
    case 2: return ShowMinimized;
    case 3: return ShowMinNoActive;
    default: return ShowNormal;
  }
}

TProgramsParams ReadProgramsParams(std::string_view params) {
  TProgramsParams out;
  if (IsParamOnAct(params)) {
    out.Show = ShowCommandOfMode(GetParamOnAct(params, "exectype", "4"));
    if (std::string file = GetParamOnAct(params, "exefile"); file != ParamAbsent) out.Command = std::move(file);
    out.ListIndex = wholeNumber(GetParamOnAct(params, "execombo", "-1")).value_or(-1);
    out.SwitchToLoaded = GetParamOnAct(params, "switchtoloaded", "0") == "1";
    return out;
  }
  // The older plain form: a mode digit, then the command or the list index.
  if (!params.empty()) out.Show = ShowCommandOfMode(params.substr(0, 1));
  const std::string_view rest = params.empty() ? params : params.substr(1);
  out.Command = std::string(rest);
  out.ListIndex = wholeNumber(rest).value_or(-1);
  return out;
}

TCommandLine SplitCommandLine(std::string_view command) {
  if (command.size() < 2) return {};
  if (command.front() == '"') {
    const std::size_t close = command.find('"', 1);
    if (close != std::string_view::npos && close + 1 < command.size())
      return {std::string(command.substr(0, close + 1)), std::string(command.substr(close + 1))};
  }
  return {std::string(command), {}};
}

std::string UnquotedProgram(std::string_view program) {
  if (program.size() >= 2 && program.front() == '"' && program.back() == '"')
    program = program.substr(1, program.size() - 2);
  return std::string(program);
}

namespace {
template <class Char>
std::basic_string<Char> folderOf(std::basic_string_view<Char> file) {
  const Char separators[] = {Char('\\'), Char('/'), Char(0)};
  const std::size_t slash = file.find_last_of(separators);
  return slash == file.npos ? std::basic_string<Char>() : std::basic_string<Char>(file.substr(0, slash + 1));
}

template <class Char>
std::basic_string<Char> joinOffice(std::basic_string_view<Char> folder, std::basic_string_view<Char> programFile) {
  std::basic_string<Char> path(folder);
  if (!path.empty() && path.back() != Char('\\') && path.back() != Char('/')) path += Char('\\');
  return path.append(programFile);
}
}  // namespace

std::string FolderOfFile(std::string_view file) { return folderOf(file); }
std::wstring FolderOfFile(std::wstring_view file) { return folderOf(file); }

std::optional<std::string_view> StandardProgramAt(int index) { return at(standardPrograms, index); }
std::optional<std::string_view> ControlPanelAppletAt(int index) { return at(applets, index); }

std::optional<TOfficeApp> OfficeAppOf(int subCode) {
  if (subCode == 2) return TOfficeApp{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe", "WINWORD.exe"};
  if (subCode == 3) return TOfficeApp{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Excel.exe", "EXCEL.exe"};
  return std::nullopt;
}

std::string OfficeProgramPath(std::string_view folder, std::string_view programFile) {
  return joinOffice(folder, programFile);
}
std::wstring OfficeProgramPath(std::wstring_view folder, std::wstring_view programFile) {
  return joinOffice(folder, programFile);
}
