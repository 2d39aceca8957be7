// The Windows side of the utility routines, on real files, processes and windows.
// ctest-lock: main-window
#include <gtest/gtest.h>

#include "core/utils/myUtils.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

#include <filesystem>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {
fs::path Dist() { return fs::path(QORN_BINARY_DIR) / "dist"; }
}  // namespace

TEST(ProgramDescriptionFile, ReadsTheVersionResourceOfARealProgram) {
  EXPECT_EQ(GetProgramDescription((Dist() / "Qorn.exe").wstring()), L"Qorn multimedia keyboard utility");
  // No version resource, or no file: the file name.
  EXPECT_EQ(GetProgramDescription((fs::current_path() / "testdlls" / "fakeplugin.dll").wstring()), L"fakeplugin.dll");
  EXPECT_EQ(GetProgramDescription(L"C:\\nowhere\\missing.exe"), L"missing.exe");
}

TEST(ProgramDescriptionFile, TruncatedProgramsNeverCrash) {
  TempDir dir("desc");
  const std::string whole = ReadFileBytes(Dist() / "Qorn.exe");
  ASSERT_GT(whole.size(), 4096u);
  int described = 0;
  for (std::size_t len = 0; len < whole.size(); len += whole.size() / 97 + 1) {
    const auto text = ReadProgramDescription(std::string_view(whole).substr(0, len));
    if (text) {
      EXPECT_EQ(*text, u"Qorn multimedia keyboard utility");
      ++described;
    }
  }
  EXPECT_LT(described, 97) << "short prefixes lack the resource";
  // The same file with its header offsets bent far out of range.
  std::string bent = whole;
  bent[0x3C] = '\xF0';
  bent[0x3F] = '\x7F';
  EXPECT_FALSE(ReadProgramDescription(bent));
}

TEST(EnvironmentVariables, ExpandAgainstTheRealEnvironment) {
  SetEnvironmentVariableW(L"QORN_TEST_VAR", L"value");
  SetEnvironmentVariableW(L"QORN_TEST_UNSET", nullptr);
  EXPECT_EQ(GetEnvVar(L"QORN_TEST_VAR"), L"value");
  EXPECT_EQ(GetEnvVar(L"QORN_TEST_UNSET"), L"");
  EXPECT_EQ(ExpandEnvVars(L"%QORN_TEST_VAR%\\x %QORN_TEST_UNSET% 50%"), L"value\\x %QORN_TEST_UNSET% 50%");
}

TEST(Processes, FindsItselfAndActivatesARunningProgramByPath) {
  const DWORD self = GetCurrentProcessId();
  bool found = false;
  for (const auto& p : GetProcessList())
    if (p.id == self) found = p.path.find(L"test_core_utils_myutils_windows") != std::wstring::npos;
  EXPECT_TRUE(found);

  // A fresh portable copy: its first run shows the main window, which is what
  // ActivateRunningProgram looks for.
  TempDir copy("activate");
  const fs::path program = copy / "Qorn";
  fs::copy(Dist(), program, fs::copy_options::recursive);
  fs::create_directories(program / "AppData");
  WriteFileBytes(program / "AppData" / "portable_on", "");
  Process qorn(program / "Qorn.exe");
  HWND main = WaitForWindow(L"TMainForm", L"Qorn", 30s);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) != 0; }, 10s));
  // The path in other letter case still finds the running copy.
  std::wstring upper = (program / "Qorn.exe").wstring();
  for (auto& c : upper) c = towupper(c);
  EXPECT_NE(ActivateRunningProgram(L"\"" + upper + L"\"", 0), nullptr);
  {
    // A bare name that is no file here matches the tail of a running program's path.
    TempDir elsewhere("cwd");
    const fs::path before = fs::current_path();
    fs::current_path(elsewhere.path());
    EXPECT_NE(ActivateRunningProgram(L"qorn.exe", 0), nullptr);
    fs::current_path(before);
  }
  EXPECT_NE(ActivateRunningProgram(L"", qorn.id()), nullptr);
  EXPECT_EQ(ActivateRunningProgram(L"C:\\nowhere\\nothing.exe", 0), nullptr);
}

TEST(Files, MoveFilesMovesWithTheShell) {
  TempDir dir("move");
  fs::create_directories(dir / "from");
  fs::create_directories(dir / "to");
  WriteFileBytes(dir / "from" / "a.txt", "a");
  EXPECT_TRUE(MoveFiles((dir / "from" / "*.*").wstring(), (dir / "to").wstring() + L"\\"));
  EXPECT_TRUE(fs::exists(dir / "to" / "a.txt"));
  EXPECT_FALSE(fs::exists(dir / "from" / "a.txt"));
}

TEST(SystemFacts, VersionAndInstallationIdInputs) {
  EXPECT_GE(GetWinMajorVersion(), 5);
  EXPECT_NE(GetWinVersionName(), L"Unknown");
  EXPECT_TRUE(Is64BitWindows());
  EXPECT_EQ(IsWow64(), 0) << "a 64-bit program is no WOW64 process";
  EXPECT_FALSE(GetComputerNameStr().empty());
  EXPECT_LE(GetComputerNameStr().size(), 15u);
  EXPECT_FALSE(GetUserNameStr().empty());
}
