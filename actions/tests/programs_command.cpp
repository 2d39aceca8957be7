// Reading a Programs binding: command lines split as the shell must get them, both
// parameter forms, and the list entries.
#include <gtest/gtest.h>

#include "actions/ProgramsCommand.h"

namespace {

struct SplitCase {
  const char* command;
  const char* program;
  const char* arguments;
};

TEST(ProgramsCommand, SplitsTheProgramFromItsArguments) {
  const SplitCase cases[] = {
      // A quoted program keeps its quotes; the arguments keep their leading blank.
      {R"("C:\Program Files\a.exe" -x "y z")", R"("C:\Program Files\a.exe")", R"( -x "y z")"},
      {R"("C:\a.exe"/s)", R"("C:\a.exe")", "/s"},
      // Unquoted: the whole command is the program, blanks and all.
      {R"(C:\Program Files\a.exe -x)", R"(C:\Program Files\a.exe -x)", ""},
      // A closing quote only at the very end, or none at all: the whole command.
      {R"("C:\a b\c.exe")", R"("C:\a b\c.exe")", ""},
      {R"("C:\a b\c.exe -x)", R"("C:\a b\c.exe -x)", ""},
      {R"("")", R"("")", ""},
      {R"(" ")", R"(" ")", ""},
      {R"("" x)", R"("")", " x"},
      // One character, or nothing, is no program.
      {"\"", "", ""},
      {"a", "", ""},
      {"", "", ""},
      {"ab", "ab", ""},
  };
  for (const auto& c : cases) {
    const TCommandLine line = SplitCommandLine(c.command);
    EXPECT_EQ(line.Program, c.program) << c.command;
    EXPECT_EQ(line.Arguments, c.arguments) << c.command;
  }
}

TEST(ProgramsCommand, TheShellGetsTheProgramWithoutItsQuotes) {
  EXPECT_EQ(UnquotedProgram(R"("C:\a b\c.exe")"), R"(C:\a b\c.exe)");
  EXPECT_EQ(UnquotedProgram(R"(C:\a.exe)"), R"(C:\a.exe)");
  EXPECT_EQ(UnquotedProgram(R"("C:\a.exe)"), R"("C:\a.exe)") << "an unpaired quote is part of the name";
  EXPECT_EQ(UnquotedProgram(R"("")"), "");
  EXPECT_EQ(UnquotedProgram("\""), "\"");
}

struct ParamsCase {
  const char* params;
  TShowCommand show;
  const char* command;  // nullptr: no command line
  int index;
  bool switchToLoaded;
};

TEST(ProgramsCommand, ReadsBothParameterForms) {
  const ParamsCase cases[] = {
      {"exectype:1;exectype|exefile:\"C:\\a.exe\" -x;exefile|switchtoloaded:1;switchtoloaded|", ShowMaximized,
       "\"C:\\a.exe\" -x", -1, true},
      {"exectype:2;exectype|exefile:x;exefile|", ShowMinimized, "x", -1, false},
      {"exectype:3;exectype|execombo:4;execombo|", ShowMinNoActive, nullptr, 4, false},
      // Any mode that is not 1, 2 or 3 (a letter, none, 4, 12) shows the window normally.
      {"exectype:x;exectype|exefile:a.exe;exefile|", ShowNormal, "a.exe", -1, false},
      {"exectype:12;exectype|execombo:x;execombo|", ShowNormal, nullptr, -1, false},
      {"exefile:a.exe;exefile|switchtoloaded:yes;switchtoloaded|", ShowNormal, "a.exe", -1, false},
      {"exectype:;exectype|execombo:-3;execombo|", ShowNormal, nullptr, -3, false},
      // The older plain form: the mode digit, then the command or the index.
      {"1C:\\x y\\a.exe", ShowMaximized, "C:\\x y\\a.exe", -1, false},
      {"32", ShowMinNoActive, "2", 2, false},
      {"x\"C:\\a.exe\"", ShowNormal, "\"C:\\a.exe\"", -1, false},
      {"4", ShowNormal, "", -1, false},
      {"", ShowNormal, "", -1, false},
  };
  for (const auto& c : cases) {
    const TProgramsParams p = ReadProgramsParams(c.params);
    EXPECT_EQ(p.Show, c.show) << c.params;
    ASSERT_EQ(p.Command.has_value(), c.command != nullptr) << c.params;
    if (c.command) {
      EXPECT_EQ(*p.Command, c.command) << c.params;
    }
    EXPECT_EQ(p.ListIndex, c.index) << c.params;
    EXPECT_EQ(p.SwitchToLoaded, c.switchToLoaded) << c.params;
  }
}

TEST(ProgramsCommand, ListsEndAtTheirLastEntry) {
  EXPECT_EQ(StandardProgramAt(0), "notepad.exe");
  EXPECT_EQ(StandardProgramAt(6), "regedit.exe");
  EXPECT_EQ(ControlPanelAppletAt(0), "timedate.cpl");
  EXPECT_EQ(ControlPanelAppletAt(8), "inetcpl.cpl");
  for (int outside : {-1, 7, 255, -2147483647 - 1}) EXPECT_FALSE(StandardProgramAt(outside)) << outside;
  for (int outside : {-1, 9, 1000}) EXPECT_FALSE(ControlPanelAppletAt(outside)) << outside;
}

TEST(ProgramsCommand, OfficeProgramsSitInTheFolderTheRegistryNames) {
  const auto word = OfficeAppOf(2);
  ASSERT_TRUE(word);
  EXPECT_EQ(word->ProgramFile, "WINWORD.exe");
  EXPECT_EQ(OfficeAppOf(3)->ProgramFile, "EXCEL.exe");
  EXPECT_FALSE(OfficeAppOf(1));
  EXPECT_EQ(OfficeProgramPath("C:\\Office\\", "WINWORD.exe"), "C:\\Office\\WINWORD.exe");
  EXPECT_EQ(OfficeProgramPath("C:\\Office", "WINWORD.exe"), "C:\\Office\\WINWORD.exe") << "a folder without its backslash";
  EXPECT_EQ(FolderOfFile("C:\\dir\\a.exe"), "C:\\dir\\");
  EXPECT_EQ(FolderOfFile("mailto:"), "") << "a URL has no folder to start in";
  EXPECT_EQ(FolderOfFile("CONTROL.EXE"), "");
  // Wide paths keep what no code page holds.
  EXPECT_EQ(OfficeProgramPath(std::wstring_view(L"C:\\\u041e\u0444\u0438\u0441"), L"EXCEL.exe"),
            L"C:\\\u041e\u0444\u0438\u0441\\EXCEL.exe");
  EXPECT_EQ(FolderOfFile(std::wstring_view(L"D:\\\u65e5\\a.doc")), L"D:\\\u65e5\\");
}

}  // namespace
