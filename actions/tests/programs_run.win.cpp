// The Programs executor under wine, starting real programs: a marker program that
// records its arguments, a running copy brought forward instead of a second start,
// Word found through the registry, the launch keys (sent with keybd_event, key-down
// only) and the task manager.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "actions/ProgramsAction.h"
#include "core/utils/myUtils.h"
#include "tenvora/Tenvora.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/System.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WaitFor;

namespace {

std::string WinPath(const fs::path& p) {
  std::string s = p.string();
  for (auto& c : s)
    if (c == '/') c = '\\';
  return s;
}

const fs::path MarkerProgram = fs::path(QORN_BINARY_DIR) / "bin" / "programs_marker.exe";

std::vector<std::string> Lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileBytes(file));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct ProgramsRun : ::testing::Test {
  TempDir dir{"programs"};
  fs::path marker = dir / "marker.txt";
  TProgramsExecutor executor;

  void SetUp() override { SetEnvironmentVariableW(L"QORN_MARKER_FILE", AnsiToString(WinPath(marker)).c_str()); }
  void TearDown() override {
    qorn::testing::WriteFileBytes(dir / "marker.txt.stop", "");
    SetEnvironmentVariableW(L"QORN_MARKER_FILE", nullptr);
  }

  // Runs the action and waits until the executor has made its shell calls.
  void Run(int code, const std::string& params) {
    TActionContext context{params, {}};
    executor.Execute(code - 50, 0, context);
    executor.WaitIdle();
  }
  bool WaitForLines(std::size_t n) {
    return WaitFor([&] { return Lines(marker).size() >= n; }, 20s);
  }
};

TEST_F(ProgramsRun, StartsTheCommandLineAsTheBindingGivesIt) {
  const std::string exe = WinPath(MarkerProgram);
  SetEnvironmentVariableW(L"QORN_TEST_BIN", AnsiToString(WinPath(MarkerProgram.parent_path())).c_str());
  struct Case {
    std::string params;
    std::string line;  // the arguments the program saw
  } cases[] = {
      {"exectype:4;exectype|exefile:\"" + exe + "\" one \"two three\";exefile|", "one|two three"},
      {"2\"" + exe + "\" plain", "plain"},
      // Variables are expanded in the program part; an unquoted command has no arguments.
      {"exefile:%QORN_TEST_BIN%\\programs_marker.exe;exefile|", ""},
      {"exefile:\"%QORN_TEST_BIN%\\programs_marker.exe\" %QORN_TEST_BIN%;exefile|", "%QORN_TEST_BIN%"},
  };
  std::size_t expected = 0;
  for (const auto& c : cases) {
    Run(51, c.params);
    ASSERT_TRUE(WaitForLines(++expected)) << c.params;
    EXPECT_EQ(Lines(marker).back(), c.line) << c.params;
  }
  // The parameters are in the system code page, as the records hold them.
  const fs::path accented = dir.path() / L"caf\u00e9 \u00e0 la cr\u00e8me";
  fs::create_directories(accented);
  fs::copy_file(MarkerProgram, accented / "programs_marker.exe");
  Run(51, "exefile:\"" + StringToAnsi((accented / "programs_marker.exe").wstring()) + "\" accented;exefile|");
  ASSERT_TRUE(WaitForLines(++expected)) << "a path in the system code page did not start";
  EXPECT_EQ(Lines(marker).back(), "accented");

  // Nothing to start: no exefile, a lone quote, an empty plain command.
  for (const char* params : {"exectype:1;exectype|", "exefile:\";exefile|", "4"}) Run(51, params);
  WaitFor([] { return false; }, 1500ms);
  EXPECT_EQ(Lines(marker).size(), expected);
}

HWND FindMarkerWindow() { return FindWindowW(L"QornTestMarker", L"Qorn test marker"); }

TEST_F(ProgramsRun, BringsTheRunningCopyForwardInsteadOfStartingAnother) {
  qorn::testing::Process running(MarkerProgram, L"--stay first");
  HWND wnd = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (wnd = FindMarkerWindow()) != nullptr; }, 20s));
  ShowWindow(wnd, SW_MINIMIZE);
  ASSERT_TRUE(WaitFor([&] { return IsIconic(wnd) != 0; }, 5s));

  const std::string exe = WinPath(MarkerProgram);
  Run(51, "exefile:\"" + exe + "\" second;exefile|switchtoloaded:1;switchtoloaded|");
  EXPECT_TRUE(WaitFor([&] { return !IsIconic(wnd); }, 5s)) << "the running copy was not restored";
  WaitFor([] { return false; }, 1500ms);
  EXPECT_EQ(Lines(marker), std::vector<std::string>{"first"}) << "a second copy started";

  // Without the switch a second copy starts beside the first.
  Run(51, "exefile:\"" + exe + "\" second;exefile|switchtoloaded:0;switchtoloaded|");
  ASSERT_TRUE(WaitForLines(2));
  EXPECT_EQ(Lines(marker).back(), "second");
}

std::vector<DWORD> ProcessesNamed(const std::wstring& tail) {
  std::vector<DWORD> ids;
  for (const auto& p : GetProcessList()) {
    std::wstring path = p.path;
    CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    if (path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0)
      ids.push_back(p.id);
  }
  return ids;
}

void EndProcesses(const std::vector<DWORD>& ids) {
  for (DWORD id : ids)
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
}

TEST_F(ProgramsRun, AStandardProgramRunningAlreadyIsFoundByItsName) {
  ASSERT_TRUE(ProcessesNamed(L"\\notepad.exe").empty()) << "a notepad is already running";
  const std::string params = "exectype:4;exectype|execombo:0;execombo|switchtoloaded:1;switchtoloaded|";
  Run(54, params);
  std::vector<DWORD> running;
  ASSERT_TRUE(WaitFor([&] { return (running = ProcessesNamed(L"\\notepad.exe")).size() == 1; }, 20s));
  // The list names no folder: the running copy is matched by its file name.
  ASSERT_TRUE(WaitFor([&] { return ActivateRunningProgram(L"notepad.exe", 0) != nullptr; }, 20s));
  Run(54, params);
  WaitFor([] { return false; }, 1500ms);
  const std::vector<DWORD> after = ProcessesNamed(L"\\notepad.exe");
  EndProcesses(after);
  EXPECT_EQ(after, running) << "a second copy started";
}

TEST_F(ProgramsRun, TheWindowModeReachesTheStartedProgram) {
  const std::string exe = WinPath(MarkerProgram);
  const std::pair<const char*, const char*> cases[] = {
      {"1", "show=3"},  // SW_SHOWMAXIMIZED
      {"2", "show=2"},  // SW_SHOWMINIMIZED
      {"3", "show=7"},  // SW_SHOWMINNOACTIVE
      {"4", "show=1"},  // SW_SHOWNORMAL
      {"x", "show=1"},
  };
  std::size_t expected = 0;
  for (const auto& [mode, show] : cases) {
    Run(51, std::string("exectype:") + mode + ";exectype|exefile:\"" + exe + "\" --show;exefile|");
    ASSERT_TRUE(WaitForLines(++expected)) << mode;
    EXPECT_EQ(Lines(marker).back(), show) << "window mode " << mode;
  }
}

struct AppPathsKey {
  HKEY key = nullptr;
  static constexpr const wchar_t* Path = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Winword.exe";
  explicit AppPathsKey(const std::wstring& folder) {
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) == 0)
      RegSetValueExW(key, L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  ~AppPathsKey() {
    if (key) RegCloseKey(key);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, Path);
  }
};

TEST_F(ProgramsRun, StartsWordFromTheFolderTheRegistryNames) {
  const fs::path office = dir / "Office";
  fs::create_directories(office);
  {
    // The folder named, but no program in it: nothing starts.
    AppPathsKey key(AnsiToString(WinPath(office)) + L"\\");
    ASSERT_NE(key.key, nullptr);
    Run(52, "exectype:4;exectype|");
    WaitFor([] { return false; }, 1000ms);
    EXPECT_TRUE(Lines(marker).empty());
  }
  fs::copy_file(MarkerProgram, office / "WINWORD.exe");
  // With and without the folder's closing backslash.
  for (const std::wstring end : {L"\\", L""}) {
    AppPathsKey key(AnsiToString(WinPath(office)) + end);
    const std::size_t before = Lines(marker).size();
    Run(52, "exectype:4;exectype|");
    EXPECT_TRUE(WaitForLines(before + 1)) << "Word did not start";
  }
  // No App Paths entry at all: nothing, and no error box.
  const std::size_t before = Lines(marker).size();
  Run(52, "");
  WaitFor([] { return false; }, 1000ms);
  EXPECT_EQ(Lines(marker).size(), before);
}

// Launch keys as a low-level hook of this process sees them.
struct SeenKey {
  DWORD vk;
  bool up;
  bool ours;  // marked as Qorn's own input, which the hook library lets through
  friend bool operator==(const SeenKey&, const SeenKey&) = default;
};
std::vector<SeenKey> g_keys;
LRESULT CALLBACK RecordKeys(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    if (k->vkCode == VK_BROWSER_HOME || k->vkCode == VK_LAUNCH_MAIL)
      g_keys.push_back({k->vkCode, wp == WM_KEYUP || wp == WM_SYSKEYUP, k->dwExtraInfo == TENVORA_OWN_INPUT});
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

TEST_F(ProgramsRun, LaunchKeysArePressedAndReleased) {
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, RecordKeys, GetModuleHandleW(nullptr), 0);
  ASSERT_NE(hook, nullptr);
  g_keys.clear();
  Run(56, "");
  Run(57, "");
  WaitFor([] { return g_keys.size() >= 4; }, 3s);
  WaitFor([] { return false; }, 300ms);  // nothing more may come
  UnhookWindowsHookEx(hook);
  const std::vector<SeenKey> want = {{VK_BROWSER_HOME, false, true}, {VK_BROWSER_HOME, true, true},
                                     {VK_LAUNCH_MAIL, false, true}, {VK_LAUNCH_MAIL, true, true}};
  EXPECT_EQ(g_keys, want);
  EXPECT_FALSE(GetAsyncKeyState(VK_BROWSER_HOME) & 0x8000) << "the browser key is left held";
  EXPECT_FALSE(GetAsyncKeyState(VK_LAUNCH_MAIL) & 0x8000) << "the mail key is left held";
}

TEST_F(ProgramsRun, StartsTheTaskManager) {
  ASSERT_TRUE(ProcessesNamed(L"taskmgr.exe").empty()) << "a task manager is already running";
  Run(59, "");
  std::vector<DWORD> started;
  EXPECT_TRUE(WaitFor([&] { return !(started = ProcessesNamed(L"taskmgr.exe")).empty(); }, 20s));
  EndProcesses(started);
}

}  // namespace
