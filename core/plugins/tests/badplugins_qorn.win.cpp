// The real Qorn.exe, in a portable folder of its own, with plug-ins that crash or
// never return: Qorn starts, answers, closes within a bound, and the next start
// works, leaves the bad plug-in out and has told the user which and why. The
// message sink (QORN_MESSAGE_SINK) records the message boxes instead of showing them.
// ctest-lock: main-window
#include <gtest/gtest.h>

#include "core/program/tests/QornInstall.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "vcl/System.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

fs::path TestDll(const char* name) { return fs::path(QORN_BINARY_DIR) / "bin" / "testdlls" / (std::string(name) + ".dll"); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Sets an environment variable of this process (and so of the Qorn it starts) for a scope.
class EnvScope {
 public:
  EnvScope(const wchar_t* name, const std::wstring& value) : name_(name) { SetEnvironmentVariableW(name, value.c_str()); }
  ~EnvScope() { SetEnvironmentVariableW(name_, nullptr); }

 private:
  const wchar_t* name_;
};

struct BadPluginsTest : ::testing::Test {
  TempDir dir{"badplugins"};
  fs::path sink = dir / "messages.txt";
  fs::path pluginLog = dir / "plugin.log";
  EnvScope sinkEnv{L"QORN_MESSAGE_SINK", sink.wstring()};
  EnvScope logEnv{L"QORN_PLUGIN_LOG", pluginLog.wstring()};

  void SetUp() override { ASSERT_TRUE(TQornInstall::NoOtherQorn()) << "another Qorn is still running"; }

  // The message boxes so far, each "caption<TAB>text"; taken, so the next call sees only new ones.
  std::vector<std::string> TakeMessages() {
    auto lines = Lines(ReadFileBytes(sink));
    fs::remove(sink);
    return lines;
  }
  std::vector<std::string> TakePluginLog() {
    auto lines = Lines(ReadFileBytes(pluginLog));
    fs::remove(pluginLog);
    return lines;
  }
};

struct BadPlugin {
  const char* dll;
  const char* name;     // its GetName, as "plugins.db" switches it on
  const char* message;  // what the user is told, after the file name
  bool toldAtFirstStart;  // else at the next start (the first run could not say it any more)
};

TEST_F(BadPluginsTest, QornStartsClosesAndStartsAgainWithoutTheBadPlugin) {
  const BadPlugin cases[] = {
      {"crashingname", "Crashing Name", "bad.dll: GetName crashed", true},
      {"crashingenable", "Crashing Enable", "bad.dll: Enable crashed", true},
      {"hangingname", "Hanging Name", "bad.dll: GetName did not return within 5 seconds", true},
      {"hangingdisable", "Hanging Disable", "bad.dll: Disable did not return within 5 seconds", false},
  };
  for (const BadPlugin& c : cases) {
    SCOPED_TRACE(c.dll);
    TQornInstall qorn(dir / c.dll, fs::path(QORN_BINARY_DIR) / "dist");
    fs::copy_file(TestDll(c.dll), qorn.Root() / "plugins" / "bad.dll");
    fs::copy_file(TestDll("sessionrecorder"), qorn.Root() / "plugins" / "recorder.dll");
    qorn.WritePluginsDb({{c.name, true}, {"Session Recorder", true}});
    TakeMessages();
    TakePluginLog();

    ASSERT_TRUE(qorn.Start()) << "the first start did not answer WM_GETKEYCALLBACK; told: " << ReadFileBytes(sink);
    EXPECT_EQ(qorn.Close(40s), 0) << "did not close in time";
    const auto first = TakeMessages();
    EXPECT_EQ(TakePluginLog().front(), "Enable") << "the good plug-in beside it ran";

    ASSERT_TRUE(qorn.Start()) << "the next start did not answer; told: " << ReadFileBytes(sink);
    EXPECT_EQ(qorn.Close(40s), 0);
    const auto second = TakeMessages();
    EXPECT_EQ(TakePluginLog(), (std::vector<std::string>{"Enable", "Disable"}));

    const auto& told = c.toldAtFirstStart ? first : second;
    const auto& quiet = c.toldAtFirstStart ? second : first;
    ASSERT_EQ(told.size(), 1u) << "the user must be told once";
    EXPECT_EQ(told[0].rfind("Error !\tCan`t load plugin", 0), 0u) << told[0];
    EXPECT_NE(told[0].find(c.message), std::string::npos) << told[0];
    EXPECT_TRUE(quiet.empty()) << quiet.front();
    EXPECT_NE(qorn.ReadFile("pluginsfailed.db").find("bad.dll\t"), std::string::npos);
  }
}

// Without the sink the user gets a real message box, owned by Qorn, that names
// the plug-in; Qorn goes on once it is answered.
TEST_F(BadPluginsTest, WithoutTheSinkTheUserSeesAMessageBox) {
  SetEnvironmentVariableW(L"QORN_MESSAGE_SINK", nullptr);
  TQornInstall qorn(dir / "box", fs::path(QORN_BINARY_DIR) / "dist");
  fs::copy_file(TestDll("crashingname"), qorn.Root() / "plugins" / "bad.dll");
  EXPECT_FALSE(qorn.Start(0s)) << "too soon for an answer";  // starts it; the box comes during start-up
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = qorn.FindOwnWindow(L"#32770", L"Error !")) != nullptr; }, 40s));
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);
  EXPECT_EQ(std::wstring(text).rfind(L"Can`t load plugin", 0), 0u);
  EXPECT_NE(std::wstring(text).find(L"bad.dll: GetName crashed"), std::wstring::npos);
  SaveWindowShot(box, ScreenshotDir() / "plugin_left_out_box.png");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = qorn.FindOwnWindow(L"TMainForm", L"Qorn")) != nullptr; }, 10s));
  DWORD_PTR callback = 0;
  EXPECT_TRUE(WaitFor([&] { return SendMessageTimeoutW(main, WM_GETKEYCALLBACK, 0, 0, SMTO_NORMAL, 1000, &callback) && callback; }, 30s));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(qorn.WaitForExit(30s), 0);
}

// Enable never returns: the window cannot answer, so a fresh Qorn takes over
// within a bound, without that plug-in, and says why.
TEST_F(BadPluginsTest, AnEnableThatNeverReturnsGivesWayToAFreshStart) {
  TQornInstall qorn(dir / "hangingenable", fs::path(QORN_BINARY_DIR) / "dist");
  fs::copy_file(TestDll("hangingenable"), qorn.Root() / "plugins" / "bad.dll");
  qorn.WritePluginsDb({{"Hanging Enable", true}});
  qorn.Start(30s);  // its window never answers once Enable runs
  const DWORD firstPid = qorn.ProcessId();
  HWND fresh = nullptr;
  DWORD freshPid = 0;
  ASSERT_TRUE(WaitFor(
      [&] {
        fresh = FindWindowW(L"TMainForm", L"Qorn");
        freshPid = 0;
        if (fresh) GetWindowThreadProcessId(fresh, &freshPid);
        DWORD_PTR callback = 0;
        return fresh && freshPid != firstPid &&
               SendMessageTimeoutW(fresh, WM_GETKEYCALLBACK, 0, 0, SMTO_NORMAL, 1000, &callback) && callback;
      },
      60s))
      << "no fresh Qorn answered";
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, freshPid);
  ASSERT_NE(process, nullptr);
  PostMessageW(fresh, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0) << "the fresh Qorn did not close";
  CloseHandle(process);
  const auto told = TakeMessages();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find("bad.dll: Enable did not return within 5 seconds"), std::string::npos) << told[0];
}

// The program folder's name is outside the system code page: the plug-in loads all the same.
TEST_F(BadPluginsTest, APluginLoadsFromAFolderNamedOutsideTheCodePage) {
  const std::wstring folder = L"\u041f\u0440\u043e\u0433\u0440\u0430\u043c\u043c\u044b";  // "Программы"
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, folder.c_str(), -1, nullptr, 0, nullptr, &lossy);
  ASSERT_TRUE(lossy) << "code page " << GetACP() << " holds Cyrillic: this test needs one that does not (1252)";
  TQornInstall qorn(dir.path() / folder / L"Qorn", fs::path(QORN_BINARY_DIR) / "dist");
  fs::copy_file(TestDll("sessionrecorder"), qorn.Root() / "plugins" / "recorder.dll");
  qorn.WritePluginsDb({{"Session Recorder", true}});
  ASSERT_TRUE(qorn.Start());
  EXPECT_EQ(qorn.Close(), 0);
  EXPECT_EQ(TakePluginLog(), (std::vector<std::string>{"Enable", "Disable"}));
  EXPECT_TRUE(TakeMessages().empty());
}

// A Qorn that holds the mutex and whose window never answers (or that has none):
// a second start says so instead of ending without a word.
TEST_F(BadPluginsTest, ASecondStartTellsOfARunningQornThatDoesNotAnswer) {
  TQornInstall qorn(dir / "second", fs::path(QORN_BINARY_DIR) / "dist");
  for (bool withWindow : {true, false}) {
    SCOPED_TRACE(withWindow ? "a window that does not answer" : "no window");
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"QornMutex");
    ASSERT_NE(mutex, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
      HWND w = nullptr;
      if (withWindow) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TMainForm";
        RegisterClassW(&wc);
        w = CreateWindowExW(0, L"TMainForm", L"Qorn", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
      }
      SetEvent(made);
      WaitForSingleObject(release, INFINITE);  // takes no messages meanwhile
      if (w) DestroyWindow(w);
    });
    WaitForSingleObject(made, INFINITE);
    Process second(qorn.Program());
    EXPECT_EQ(second.wait(60s), 0) << "the second start must end by itself";
    SetEvent(release);
    hung.join();
    CloseHandle(release);
    CloseHandle(made);
    CloseHandle(mutex);
    const auto told = TakeMessages();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].rfind("Qorn\tQorn is already running, but it does not answer.", 0), 0u) << told[0];
  }
}

}  // namespace
