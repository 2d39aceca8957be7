// The Windows side of the utility routines, on real files, processes and windows.
// ctest-lock: main-window
#include <gtest/gtest.h>

#include "core/utils/myUtils.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

#include <algorithm>
#include <cstdint>
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

// A copy of the program whose resource section is moved to the far end of a file
// bigger than 16 MiB, as in a program that carries a large payload before it.
std::string WithResourcesFarAway(std::string exe, std::size_t farOffset) {
  auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(static_cast<std::uint8_t>(exe[at]) | static_cast<std::uint8_t>(exe[at + 1]) << 8); };
  auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(u16(at) | u16(at + 2) << 16); };
  const std::size_t pe = u32(0x3C), opt = pe + 24;
  const bool plus = u16(opt) == 0x20b;
  const std::uint32_t resRva = u32(opt + (plus ? 112 : 96) + 2 * 8);
  const std::size_t sections = opt + u16(pe + 20);
  for (std::size_t i = 0; i < u16(pe + 6); ++i) {
    const std::size_t s = sections + i * 40;
    const std::uint32_t va = u32(s + 12), rawSize = u32(s + 16), raw = u32(s + 20);
    if (resRva < va || resRva - va >= rawSize) continue;
    const std::string data = exe.substr(raw, rawSize);
    std::fill(exe.begin() + raw, exe.begin() + raw + rawSize, '\0');  // nothing left where it was
    exe.resize(farOffset, '\0');
    exe += data;
    for (int b = 0; b < 4; ++b) exe[s + 20 + b] = static_cast<char>(farOffset >> (8 * b));
    return exe;
  }
  return {};
}

TEST(ProgramDescriptionFile, ReadsTheVersionResourceOfAProgramOfAnySize) {
  TempDir dir("big");
  const std::string big = WithResourcesFarAway(ReadFileBytes(Dist() / "Qorn.exe"), 20u << 20);
  ASSERT_GT(big.size(), 20u << 20) << "no resource section found";
  WriteFileBytes(dir / "big.exe", big);
  EXPECT_EQ(GetProgramDescription((dir / "big.exe").wstring()), L"Qorn multimedia keyboard utility");
  // An empty file has nothing to map: its name.
  WriteFileBytes(dir / "empty.exe", "");
  EXPECT_EQ(GetProgramDescription((dir / "empty.exe").wstring()), L"empty.exe");
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
    // A bare name that is no file here matches the whole file name of a running
    // program, in any letter case, never a tail of it.
    TempDir elsewhere("cwd");
    const fs::path before = fs::current_path();
    fs::current_path(elsewhere.path());
    EXPECT_NE(ActivateRunningProgram(L"qorn.exe", 0), nullptr);
    EXPECT_NE(ActivateRunningProgram(L"QORN.EXE", 0), nullptr);
    EXPECT_EQ(ActivateRunningProgram(L"orn.exe", 0), nullptr);
    EXPECT_EQ(ActivateRunningProgram(L"n.exe", 0), nullptr);
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
