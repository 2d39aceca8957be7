#include "actions/ProgramsCommand.h"

#include <array>
#include <charconv>

#include "core/ActionParams.h"

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

std::string FolderOfFile(std::string_view file) {
  const std::size_t slash = file.find_last_of("\\/");
  return slash == std::string_view::npos ? std::string() : std::string(file.substr(0, slash + 1));
}

std::optional<std::string_view> StandardProgramAt(int index) { return at(standardPrograms, index); }
std::optional<std::string_view> ControlPanelAppletAt(int index) { return at(applets, index); }

std::optional<TOfficeApp> OfficeAppOf(int subCode) {
  if (subCode == 2) return TOfficeApp{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe", "WINWORD.exe"};
  if (subCode == 3) return TOfficeApp{"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Excel.exe", "EXCEL.exe"};
  return std::nullopt;
}

std::string OfficeProgramPath(std::string_view folder, std::string_view programFile) {
  std::string path(folder);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  return path + std::string(programFile);
}
