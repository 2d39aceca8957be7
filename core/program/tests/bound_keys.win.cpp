// Bound keys through the real Qorn.exe under wine: keys pressed with SendInput go
// through the hook library into Qorn, a bound key (alone or as a chord) starts its
// program and never reaches the window in front, every other key does, the
// program in front selects its own profile, a bound key's notice shows in the
// text display without taking the keyboard, and the presses are counted into
// "stg.db" when Qorn closes.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "core/language/Language.h"
#include "core/mainwindow/FrameProfile.h"
#include "core/program/tests/MarkerKey.h"
#include "core/program/tests/QornInstall.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"
#include "tenvora/Tenvora.h"
#include "vcl/System.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

const fs::path Dist = fs::path(QORN_BINARY_DIR) / "dist";
const fs::path MarkerProgram = fs::path(QORN_BINARY_DIR) / "bin" / "programs_marker.exe";

std::string WinPath(const fs::path& p) {
  std::string s = p.string();
  for (auto& c : s)
    if (c == '/') c = '\\';
  return s;
}

std::vector<std::string> Lines(const fs::path& file) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileBytes(file));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The second code the hook reports for a key we send with this scan code.
std::uint8_t Code2Of(WORD vk) { return static_cast<std::uint8_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0x7F); }

bool Send(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_RCONTROL ? KEYEVENTF_EXTENDEDKEY : 0);
  return SendInput(1, &input, sizeof input) == 1;
}
bool Press(WORD vk) { return Send(vk, false) && Send(vk, true); }

// Whether a copy of the marker program runs now (a program Qorn starts may take the
// activation while it does; one that runs has not always written its line yet).
bool MarkerProgramRunning() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool running = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !running; more = Process32NextW(snapshot, &entry))
    running = lstrcmpiW(entry.szExeFile, L"programs_marker.exe") == 0;
  CloseHandle(snapshot);
  return running;
}

// The program in front: it records the key-downs that reach it.
struct FrontWindow {
  std::vector<WPARAM> keyDowns;
  std::vector<WPARAM> keyUps;
  // Keys and focus changes in order: a key missing after a "lost focus" went to
  // another window (the test's fault), one missing without it was lost on the road.
  std::vector<std::string> events;
  HWND hwnd = nullptr;

  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<FrontWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg == WM_KILLFOCUS) self->events.push_back("lost focus");
    if (self && msg == WM_SETFOCUS) self->events.push_back("focus");
    if (self && (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)) {
      self->events.push_back("key " + std::to_string(wp));
      if (wp == MarkerVk) {
        self->markerSeen = true;
        return 0;
      }
      self->keyDowns.push_back(wp);
      // Launch keys stop here: their default handling would ask the shell to act.
      if (wp == VK_BROWSER_HOME || wp == VK_LAUNCH_MAIL) return 0;
    }
    if (self && (msg == WM_KEYUP || msg == WM_SYSKEYUP)) self->keyUps.push_back(wp);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  explicit FrontWindow(bool fullScreen = false) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QornBoundKeysFront";
    RegisterClassW(&wc);
    const int w = fullScreen ? GetSystemMetrics(SM_CXSCREEN) : 300;
    const int h = fullScreen ? GetSystemMetrics(SM_CYSCREEN) : 200;
    const int at = fullScreen ? 0 : 30;
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"in front", WS_POPUP | WS_VISIBLE, at, at, w, h, nullptr, nullptr,
                           wc.hInstance, nullptr);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    activate();
  }
  // A program Qorn started may take the activation while it runs (the marker opens
  // no console for that reason), so the window in front is brought back before the
  // keys that must reach it.
  bool activate() {
    WaitFor([] { return !MarkerProgramRunning(); }, 30s);
    return BringToFrontWithFocus(hwnd);
  }
  ~FrontWindow() { DestroyWindow(hwnd); }
  // Sends the marker and waits until it arrived.
  bool settle() {
    markerSeen = false;
    return SendMarker() && WaitFor([&] { return markerSeen; }, 30s);
  }
  std::string history() const {
    std::string text;
    for (const auto& e : events) text += e + "; ";
    return text;
  }
  bool markerSeen = false;
  // Keys other than the modifiers.
  std::vector<WPARAM> plainKeyDowns() const {
    std::vector<WPARAM> keys;
    for (WPARAM k : keyDowns)
      if (k != VK_CONTROL && k != VK_LCONTROL && k != VK_RCONTROL && k != MarkerVk) keys.push_back(k);
    return keys;
  }
};

// The caption and class of the window in front, to tell which window took the keys.
std::string WindowInFront() {
  wchar_t caption[200] = {}, cls[200] = {};
  GetWindowTextW(GetForegroundWindow(), caption, 200);
  GetClassNameW(GetForegroundWindow(), cls, 200);
  return StringToAnsi(std::wstring(caption) + L" (" + cls + L")");
}

// This program as the per-program lookup sees the program in front.
std::string OwnExePath() {
  wchar_t buf[MAX_PATH * 2];
  DWORD size = static_cast<DWORD>(std::size(buf));
  if (!QueryFullProcessImageNameW(GetCurrentProcess(), 0, buf, &size)) return {};
  std::wstring path(buf, size);
  CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  return StringToAnsi(path);
}

std::int32_t KeyPressCountIn(const std::string& stg) {
  std::int32_t count = -1;
  if (stg.size() >= 20) std::memcpy(&count, stg.data() + 16, 4);
  return count;
}

struct BoundKeys : ::testing::Test {
  TempDir dir{"keys"};
  TQornInstall qorn{dir / "Qorn", Dist};
  fs::path marker = dir / "marker.txt";

  void SetUp() override {
    ASSERT_TRUE(TQornInstall::NoOtherQorn()) << "another Qorn is still running";
    fs::copy_file(MarkerProgram, qorn.Root() / "programs_marker.exe");
    // Qorn and the programs it starts inherit where the marker goes.
    SetEnvironmentVariableW(L"QORN_MARKER_FILE", AnsiToString(WinPath(marker)).c_str());
    qorn.WriteSettings(BaseSettings());
  }
  // A settings file of a user who has run Qorn before, with no update checks.
  static TSettingsRecords BaseSettings() {
    TSettingsRecords settings;
    settings.Main.KeyPressCount = 41;
    settings.Main.optchecknewver = 0;
    settings.Main.optauto = 0;
    settings.Main.CB_SettingsSave = 1;
    settings.Strings.LanguageName = "English";
    settings.Strings.InstallationId = "01x0123456789abcdef0123456789abcdef";
    CreateDefaultFonts(settings.Fonts);
    return settings;
  }
  void TearDown() override {
    qorn.Kill();
    SetEnvironmentVariableW(L"QORN_MARKER_FILE", nullptr);
  }
  std::string RunMarker(const std::string& word) const {
    std::string command = "\"";
    command += WinPath(qorn.Root() / "programs_marker.exe");
    command += "\" ";
    command += word;
    return RunCommandParams(command);
  }
  bool WaitForMarkerLines(std::size_t n) const {
    return WaitFor([&] { return Lines(marker).size() >= n; }, 20s);
  }
  std::size_t MarkerLinesOf(const std::string& word) const {
    const auto lines = Lines(marker);
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), word));
  }
  // Installs the plug-in that stalls Qorn's main thread on demand; call before
  // Start. Its log (one line per Enable and per stall) is the returned file.
  fs::path InstallStallPlugin() {
    fs::create_directories(qorn.Root() / "plugins");
    fs::copy_file(fs::path(QORN_BINARY_DIR) / "bin" / "testdlls" / "mainstall.dll",
                  qorn.Root() / "plugins" / "mainstall.dll");
    qorn.WritePluginsDb({{"Main Stall", true}});
    return dir / "stall.log";
  }
  bool StartWithPluginLog(const fs::path& log) {
    SetEnvironmentVariableW(L"QORN_PLUGIN_LOG", log.wstring().c_str());
    const bool started = qorn.Start();
    SetEnvironmentVariableW(L"QORN_PLUGIN_LOG", nullptr);
    return started && WaitFor([&] { return !Lines(log).empty(); }, 20s);
  }
  // Presses the key until the binding that writes `word` has run `n` times: a
  // press while Qorn's main thread is held passes (the keyboard must not wait),
  // so it runs nothing and is pressed again once the thread may be free. Every
  // press adds one to `presses`.
  bool PressUntilRun(WORD vk, const std::string& word, std::size_t n, int& presses) {
    for (int attempt = 0; attempt < 30; ++attempt) {
      if (!Press(vk)) return false;
      ++presses;
      if (WaitFor([&] { return MarkerLinesOf(word) >= n; }, 2s)) return true;
    }
    return false;
  }
};

TEST_F(BoundKeys, ABoundKeyRunsItsProgramAndNeverReachesTheWindowInFront) {
  qorn.WriteProfiles("keys", {{"keys", "-",
                               {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("f13")),
                                KeyBinding("Ctrl+F14", VK_F14, Code2Of(VK_F14), "01000000", 51, RunMarker("ctrl-f14"))}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());

  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(1)) << "the bound key started nothing";
  EXPECT_EQ(Lines(marker), std::vector<std::string>{"f13"});

  // The chord runs its own binding; the key alone is not bound and arrives.
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Send(VK_CONTROL, false) && Press(VK_F14) && Send(VK_CONTROL, true));
  ASSERT_TRUE(WaitForMarkerLines(2)) << "the chord started nothing";
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F14) && Press(VK_F15));
  ASSERT_TRUE(front.settle()) << "the marker key never came: " << front.history();
  EXPECT_EQ(Lines(marker), (std::vector<std::string>{"f13", "ctrl-f14"}));
  EXPECT_EQ(front.plainKeyDowns(), (std::vector<WPARAM>{VK_F14, VK_F15}))
      << "bound keys must be swallowed, the others must arrive; the window saw: " << front.history();

  ASSERT_EQ(qorn.Close(), 0);
  // Every key-up counts: F13, Ctrl, F14 (twice), F15.
  EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + 5);
}

TEST_F(BoundKeys, QuickPressesOfALaunchKeyEachRunAndNoneLeaks) {
  // Starting a program takes a while; the keys pressed meanwhile must still be
  // answered by Qorn in time, or they would slip past it to the window in front.
  qorn.WriteProfiles("quick", {{"quick", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("f13"))}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(Press(VK_F13));
  EXPECT_TRUE(WaitForMarkerLines(4));
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(front.settle()) << front.history();
  EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>{}) << "a press slipped past Qorn: " << front.history();
  ASSERT_EQ(qorn.Close(), 0);
  // Every start Qorn made is done once it has closed: no fifth run came.
  EXPECT_EQ(Lines(marker).size(), 4u);
  EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + 4);
}

TEST_F(BoundKeys, TheProgramInFrontHasItsOwnProfile) {
  const std::string self = OwnExePath();
  ASSERT_FALSE(self.empty());
  qorn.WriteProfiles("everywhere",
                     {{"everywhere", "-",
                       {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("global-f13")),
                        KeyBinding("F16", VK_F16, Code2Of(VK_F16), "00000000", 51, RunMarker("global-f16"))}},
                      {"tester", self, {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("own-f13"))}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());

  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(1));
  ASSERT_TRUE(front.activate()) << "the per-program profile follows the program in front";
  // A key the program's own profile does not bind falls through to the global one.
  ASSERT_TRUE(Press(VK_F16));
  ASSERT_TRUE(WaitForMarkerLines(2));
  EXPECT_EQ(Lines(marker), (std::vector<std::string>{"own-f13", "global-f16"}));
  EXPECT_TRUE(front.plainKeyDowns().empty());
  EXPECT_EQ(qorn.Close(), 0);
}

TEST_F(BoundKeys, AKeyBoundToPressItselfRunsOnce) {
  // The browser key bound to "press the browser key" (code 56): Qorn's own key
  // must pass its hook untouched, or the binding would fire again and again.
  qorn.WriteProfiles("self", {{"self", "-",
                               {KeyBinding("Home", VK_BROWSER_HOME, Code2Of(VK_BROWSER_HOME), "00000000", 56, "")}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_BROWSER_HOME));
  EXPECT_TRUE(WaitFor([&] { return !front.keyDowns.empty(); }, 30s)) << "the emulated key never came";
  ASSERT_TRUE(front.settle()) << front.history();
  EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>{VK_BROWSER_HOME})
      << "one key-down: Qorn's own, the pressed one swallowed, no repeats of it";
  ASSERT_EQ(qorn.Close(), 0);
  EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + 1) << "only the real key-up counts";
}

TEST_F(BoundKeys, OptionsFromTheSettingsFileShapeTheLookup) {
  // Left and right modifiers count as one, several bindings may share a key.
  TSettingsRecords settings = BaseSettings();
  settings.Main.optlrmodif = 1;
  settings.Main.optmultiact = 1;
  qorn.WriteSettings(settings);
  TKeyRecord disabled = KeyBinding("F13 off", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("disabled"));
  disabled.Disabled = 1;
  qorn.WriteProfiles("options", {{"options", "-",
                                  {KeyBinding("LCtrl+F14 a", VK_F14, Code2Of(VK_F14), "01000000", 51, RunMarker("a")),
                                   disabled,
                                   KeyBinding("LCtrl+F14 b", VK_F14, Code2Of(VK_F14), "01000000", 51, RunMarker("b"))}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());

  // Recorded with the left Ctrl, pressed with the right one: both bindings run.
  ASSERT_TRUE(Send(VK_RCONTROL, false) && Press(VK_F14) && Send(VK_RCONTROL, true));
  ASSERT_TRUE(WaitForMarkerLines(2)) << "the chord did not run both bindings";
  ASSERT_TRUE(front.activate());
  // A switched-off binding is no binding: its key arrives.
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(front.settle()) << front.history();
  auto lines = Lines(marker);
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>{VK_F13});
  EXPECT_EQ(qorn.Close(), 0);
}

TEST_F(BoundKeys, QornStandsAsideInIgnoredAndFullScreenPrograms) {
  std::string self = OwnExePath();
  ASSERT_FALSE(self.empty());
  for (auto& c : self) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Case {
    const char* what;
    bool exceptOnFullScreen;
    std::string ignored;  // "IgnoredPrograms" of stgex.ini
    bool fullScreen;
    int counted;  // presses counted
  } cases[] = {
      // An ignored program (in any letter case) gets its keys; they still count.
      {"ignored", false, "c:\\other.exe;" + self, false, 1},
      // Keys off over a full-screen program: passed, not even counted.
      {"full screen", true, "", true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSettingsRecords settings = BaseSettings();
    settings.Main.optexceptonfullscreen = c.exceptOnFullScreen ? 1 : 0;
    qorn.WriteSettings(settings);
    qorn.WriteFile("stgex.ini", "[QornMain]\r\nIgnoredPrograms=" + c.ignored + "\r\n");
    qorn.WriteProfiles("aside", {{"aside", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("f13"))}}});
    ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
    {
      FrontWindow front(c.fullScreen);
      ASSERT_TRUE(front.activate());
      ASSERT_TRUE(Press(VK_F13));
      ASSERT_TRUE(front.settle()) << front.history();
      EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>{VK_F13});
    }
    ASSERT_EQ(qorn.Close(), 0);
    EXPECT_TRUE(Lines(marker).empty()) << "the binding ran";
    EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + c.counted);
  }
}

TEST_F(BoundKeys, ABoundKeyDoesNothingWhileAnotherIgnoredProgramIsInFront) {
  // Another program, listed as the ignored-programs page stores it.
  Process ignored(fs::path(QORN_BINARY_DIR) / "bin" / "trayee.exe", L"plain \"Ignored by Qorn\"");
  const HWND ignoredWindow = WaitForWindow(L"QornTrayeeMain", L"Ignored by Qorn", 20s);
  ASSERT_TRUE(ignoredWindow);
  wchar_t path[MAX_PATH * 2];
  DWORD size = static_cast<DWORD>(std::size(path));
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ignored.id());
  ASSERT_TRUE(process && QueryFullProcessImageNameW(process, 0, path, &size));
  CloseHandle(process);
  qorn.WriteFile("stgex.ini", "[QornMain]\r\nIgnoredPrograms=c:\\other.exe;" + StringToAnsi({path, size}) + "\r\n");
  qorn.WriteProfiles("ignoring", {{"ignoring", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("f13"))}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";

  ASSERT_TRUE(BringToFront(ignoredWindow));
  ASSERT_TRUE(Press(VK_F13));
  // Qorn reads the window in front when it answers the key, not when it was sent.
  ASSERT_TRUE(WaitUntilQornAnsweredTheKeysSent());
  // Then in front of a program Qorn does not ignore.
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(1)) << "the bound key ran nothing in front of a program Qorn does not ignore";
  ASSERT_TRUE(front.settle()) << front.history();
  EXPECT_TRUE(front.plainKeyDowns().empty()) << front.history();
  ASSERT_EQ(qorn.Close(), 0);
  EXPECT_EQ(Lines(marker), std::vector<std::string>{"f13"}) << "the binding ran in front of the ignored program";
  EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + 2);
  ignored.kill();
}

TEST_F(BoundKeys, AKeyPassesAtOnceWhileTheMainThreadIsStuck) {
  // A plug-in that sleeps on Qorn's main thread for 2 s when asked to.
  const fs::path log = InstallStallPlugin();
  qorn.WriteProfiles("stall", {{"stall", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("f13"))}}});
  ASSERT_TRUE(StartWithPluginLog(log)) << "Qorn did not start or the plug-in was not enabled";
  HWND stall = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (stall = FindWindowExW(HWND_MESSAGE, nullptr, L"QornTestStall", nullptr)) != nullptr; }, 10s));
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  // Bound keys are asked about: the first one waits, so no key depends on luck here.
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(1));
  ASSERT_TRUE(front.activate());

  ASSERT_TRUE(PostMessageW(stall, WM_APP, 2000, 0));
  ASSERT_TRUE(WaitFor([&] { return Lines(log).size() >= 2; }, 10s)) << "the main thread never stalled";
  // Twenty presses: were each to wait for the stuck thread even the hook's bounded
  // wait, they would still be on their way when it is free again.
  for (int i = 0; i < 20; ++i) ASSERT_TRUE(Press(VK_F15));
  ASSERT_TRUE(WaitFor([&] { return front.plainKeyDowns().size() >= 20; }, 20s)) << front.history();
  EXPECT_EQ(Lines(log), (std::vector<std::string>{"Enable", "stall"}))
      << "the unbound keys came only once the main thread was free again";
  EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>(20, VK_F15));
  ASSERT_TRUE(WaitFor([&] { return Lines(log).size() >= 3; }, 10s));
  ASSERT_EQ(qorn.Close(), 0);
  // Reported to Qorn once it was free: counted with the bound key.
  EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + 21);
}

// The key-up of a held key comes while its action holds Qorn's main thread. Either
// it is a key Qorn never takes and passes at once, or Qorn may take it (another
// program's profile binds it) and it waits for an answer that comes too late: both
// times it must still reach Qorn and end the repeat.
struct HeldKeyRelease {
  const char* what;
  bool keyUpAsked;
};
void PrintTo(const HeldKeyRelease& release, std::ostream* out) { *out << release.what; }
struct BoundKeysHeld : BoundKeys, ::testing::WithParamInterface<HeldKeyRelease> {};

TEST_P(BoundKeysHeld, AHeldKeyWhoseActionTakesLongStopsRepeatingAtItsRelease) {
  // Every run of the repeating binding holds Qorn's main thread 400 ms (the marker
  // asks the stall plug-in), twice its repeat interval: ticks fall due while the
  // thread is held, and the key-up comes while it is.
  const fs::path log = InstallStallPlugin();
  TKeyRecord repeating = KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("--hold 400 f13"));
  repeating.RepeatRate = 5;
  std::vector<TInstallProfile> profiles{
      {"hold", "-", {repeating, KeyBinding("F16", VK_F16, Code2Of(VK_F16), "00000000", 51, RunMarker("after"))}}};
  if (GetParam().keyUpAsked) {
    TKeyRecord release = KeyBinding("F13 up", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("elsewhere"));
    release.Msg = KeyMsgUp;
    profiles.push_back({"elsewhere", "c:\\nowhere\\elsewhere.exe", {release}});
  }
  qorn.WriteProfiles("hold", profiles);
  ASSERT_TRUE(StartWithPluginLog(log)) << "Qorn did not start or the plug-in was not enabled";
  FrontWindow front;
  ASSERT_TRUE(front.activate());

  ASSERT_TRUE(Send(VK_F13, false));
  const auto holding = [&] {
    const auto holds = Lines(log);
    return std::count(holds.begin(), holds.end(), "stall") > std::count(holds.begin(), holds.end(), "stall end");
  };
  ASSERT_TRUE(WaitFor([&] { return MarkerLinesOf("f13") >= 3 && holding(); }, 30s)) << "the held key did not repeat";
  ASSERT_TRUE(Send(VK_F13, true));
  // The release is Qorn's once the hook has handled it, which it shows by passing
  // the key-up on to the window in front; a busy machine may take a while, and a
  // repeat may rightly start until then.
  ASSERT_TRUE(WaitFor([&] { return std::count(front.keyUps.begin(), front.keyUps.end(), VK_F13) > 0; }, 30s))
      << "the key-up never came through: " << front.history();
  // The runs Qorn had asked for by then: a loaded machine starts programs slowly, and
  // the shell calls take turns on one thread, so several may still wait for theirs.
  // They are all in once no marker program has run and no line has come for 2 s; a
  // lost release keeps asking meanwhile (and may never let that happen), and goes on
  // asking after.
  const std::size_t seenAtRelease = MarkerLinesOf("f13");
  std::size_t atRelease = seenAtRelease;
  auto quietSince = std::chrono::steady_clock::now();
  WaitFor([&] {
    const std::size_t now = MarkerLinesOf("f13");
    if (now != atRelease || MarkerProgramRunning()) {
      atRelease = now;
      quietSince = std::chrono::steady_clock::now();
    }
    return std::chrono::steady_clock::now() - quietSince >= 2s;
  }, 30s);
  // The next key ends a repeat whether the release did or not: before it comes, a
  // lost release gets the time to show itself. It repeats every 0.4-0.6 s on an idle
  // machine (each run holds the main thread 400 ms), so 4 s bring it well past the
  // allowance below; with the release handled, the wait runs out.
  WaitFor([&] { return MarkerLinesOf("f13") > atRelease + 3; }, 4s);

  // A run of F13 that came after the release comes before the first "after" if the
  // key-up was lost (the next key stops a repeat), after it if a tick that fell due
  // while the thread was held still ran. The programs already started have written
  // their lines before F16 goes down.
  ASSERT_TRUE(front.activate());
  int presses = 0;
  ASSERT_TRUE(PressUntilRun(VK_F16, "after", 1, presses)) << "the key pressed after the release never ran";
  ASSERT_TRUE(PressUntilRun(VK_F16, "after", 2, presses));
  ASSERT_TRUE(front.activate());
  const auto lines = Lines(marker);
  const auto firstAfter = std::find(lines.begin(), lines.end(), "after");
  const auto runsBefore = static_cast<std::size_t>(std::count(lines.begin(), firstAfter, "f13"));
  EXPECT_EQ(static_cast<std::size_t>(std::count(firstAfter, lines.end(), "f13")), 0u)
      << "a tick that fell due before the release ran after it";
  // A tick that fell due while the main thread was held may still ask for one run
  // more. A release that was lost repeats for all the time the test waited above:
  // many more.
  EXPECT_LE(runsBefore, atRelease + 3) << "F13 went on repeating after its release (" << seenAtRelease
                                       << " runs had come at the release, " << atRelease << " once they stopped)";
  EXPECT_EQ(MarkerLinesOf("elsewhere"), 0u) << "another program's binding ran";
  const auto holds = Lines(log);
  EXPECT_GE(static_cast<std::size_t>(std::count(holds.begin(), holds.end(), "stall")), 3u)
      << "the runs did not hold the main thread";
  ASSERT_EQ(qorn.Close(), 0);
  EXPECT_EQ(MarkerLinesOf("f13"), runsBefore) << "a run came once Qorn had closed";
  // Key-ups are counted: the late one of F13 reached Qorn, once (a key that comes
  // next would end the repeat all the same, and hide its loss from the runs).
  EXPECT_EQ(KeyPressCountIn(qorn.ReadFile("stg.db")), 41 + 1 + presses);
}

INSTANTIATE_TEST_SUITE_P(, BoundKeysHeld,
                         ::testing::Values(HeldKeyRelease{"KeyUpPassesAtOnce", false},
                                           HeldKeyRelease{"KeyUpWaitsTooLong", true}),
                         [](const ::testing::TestParamInfo<HeldKeyRelease>& info) { return info.param.what; });

TEST_F(BoundKeys, ANoticeShowsInTheTextDisplayAndTheWindowInFrontKeepsTheKeyboard) {
  TSettingsRecords settings = BaseSettings();
  settings.Main.osdkeyspressed = 1;
  settings.Main.washowosd = 1;
  settings.Main.osdsh2 = 3000;
  settings.Main.OsdTextLeft = 420;
  settings.Main.OsdTextTop = 300;
  qorn.WriteSettings(settings);
  // A binding that runs nothing and says what the user wrote; one whose notice
  // is its action's.
  TKeyRecord hello = KeyBinding("Hello", VK_F13, Code2Of(VK_F13), "00000000", 0, "");
  hello.OsdText = "Hello & welcome";
  qorn.WriteProfiles("notices", {{"notices", "-", {hello, KeyBinding("F16", VK_F16, Code2Of(VK_F16), "00000000", 51, RunMarker("f16"))}}});
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  const auto shownDisplay = [&] {
    const HWND w = qorn.FindOwnWindow(L"TOSDtForm", nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
  };
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  EXPECT_EQ(shownDisplay(), nullptr);

  ASSERT_TRUE(Press(VK_F13));
  HWND display = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (display = shownDisplay()) != nullptr; }, 20s)) << "no notice came";
  wchar_t text[100] = {};
  GetWindowTextW(display, text, 100);
  EXPECT_STREQ(text, L"Hello & welcome");
  EXPECT_EQ(GetForegroundWindow(), front.hwnd) << "the notice took the foreground: " << WindowInFront();
  const LONG_PTR ex = GetWindowLongPtrW(display, GWL_EXSTYLE);
  EXPECT_TRUE((ex & WS_EX_TOPMOST) && (ex & WS_EX_NOACTIVATE));
  RECT r{};
  GetWindowRect(display, &r);
  EXPECT_EQ(r.left, 420);
  EXPECT_EQ(r.top, 300);
  // The user types on while it shows.
  ASSERT_TRUE(Press(VK_F15));
  ASSERT_TRUE(front.settle()) << front.history();
  EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>{VK_F15}) << front.history();
  EXPECT_TRUE(SaveWindowShot(display, ScreenshotDir() / "qorn_key_notice.png"));

  // The action's own notice: the program group and what it started.
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F16));
  ASSERT_TRUE(WaitForMarkerLines(1));
  ASSERT_TRUE(WaitFor([&] {
    GetWindowTextW(display, text, 100);
    return std::wstring(text).rfind(L"Programs\r", 0) == 0;
  }, 20s)) << "the display shows: " << StringToAnsi(text);
  EXPECT_NE(std::wstring(text).find(L"programs_marker.exe"), std::wstring::npos) << StringToAnsi(text);
  // Gone after its time and a second, by itself.
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(display); }, 20s));
  ASSERT_EQ(qorn.Close(), 0);
}

TEST_F(BoundKeys, AnUnreadableProgramProfileIsReportedOnceFromTheMainLoop) {
  const std::string self = OwnExePath();
  ASSERT_FALSE(self.empty());
  qorn.WriteProfiles("everywhere", {{"everywhere", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("global"))}},
                                    {"tester", self, {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("own"))}}});
  // Held open without sharing from before Qorn starts to after it closes.
  const fs::path profileFile = qorn.Settings() / "profiles" / "tester.lpf";
  HANDLE locked = CreateFileW(profileFile.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  struct Unlock {
    HANDLE h;
    ~Unlock() { CloseHandle(h); }
  } unlock{locked};
  const fs::path sink = dir / "messages.txt";
  SetEnvironmentVariableW(L"QORN_MESSAGE_SINK", sink.wstring().c_str());
  const bool started = qorn.Start();
  SetEnvironmentVariableW(L"QORN_MESSAGE_SINK", nullptr);
  ASSERT_TRUE(started) << "Qorn did not start";
  EXPECT_TRUE(Lines(sink).empty()) << "reported before any program of that profile was in front";

  FrontWindow front;
  ASSERT_TRUE(front.activate());
  // The switch to the profile comes with the first key: the keys keep reaching the
  // window, and a bound key falls through to the global profile.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(Press(VK_F15));
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(1)) << "the bound key ran nothing; the window saw: " << front.history()
                                     << "; in front: " << WindowInFront() << "; reported: " << ReadFileBytes(sink);
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(front.settle()) << front.history();
  EXPECT_EQ(front.plainKeyDowns(), std::vector<WPARAM>(5, VK_F15)) << front.history();
  ASSERT_TRUE(WaitFor([&] { return !Lines(sink).empty(); }, 20s)) << "the unreadable profile was never reported";

  // Away to another program and back: the profile is still unreadable, and said so once.
  const fs::path otherMarker = dir / "other.txt";
  const std::string otherCommand =
      "\"" + WinPath(qorn.Root() / "programs_marker.exe") + "\" --stay --marker \"" + WinPath(otherMarker) + "\" other";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION other{};
  std::string commandLine = otherCommand;
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &other));
  CloseHandle(other.hThread);
  struct StopOther {
    PROCESS_INFORMATION& p;
    fs::path stop;
    ~StopOther() {
      WriteFileBytes(stop, "");
      if (WaitForSingleObject(p.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(p.hProcess, 1);
      CloseHandle(p.hProcess);
    }
  } stopOther{other, fs::path(otherMarker.string() + ".stop")};
  HWND otherWindow = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (otherWindow = FindWindowW(L"QornTestMarker", L"Qorn test marker")) != nullptr; }, 20s));
  ASSERT_TRUE(BringToFront(otherWindow));
  // A bound key is answered at once, with the program in front as it is now.
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(2));
  WriteFileBytes(stopOther.stop, "");
  ASSERT_EQ(WaitForSingleObject(other.hProcess, 20000), WAIT_OBJECT_0);
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(3));
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(front.settle()) << front.history();
  ASSERT_EQ(qorn.Close(), 0);
  EXPECT_EQ(Lines(marker), (std::vector<std::string>{"global", "global", "global"}));
  const auto reports = Lines(sink);
  ASSERT_EQ(reports.size(), 1u) << "one report for one unreadable profile";
  EXPECT_NE(reports[0].find("tester.lpf"), std::string::npos) << reports[0];
}

// The profile manager page binds a profile to a program as the user picked it (here
// in upper case); the real Qorn.exe, reading what the page wrote, runs that profile
// while the program is in front.
TEST_F(BoundKeys, AProfileBoundOnTheProfilePageFollowsItsProgram) {
  qorn.WriteProfiles("everywhere",
                     {{"everywhere", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("global"))}},
                      {"tester", "-", {KeyBinding("F13", VK_F13, Code2Of(VK_F13), "00000000", 51, RunMarker("own"))}}});
  {
    struct TPageHost final : IProfileFrameHost {
      TProfileStore& store;
      TLanguage language{Dist / "lang"};
      explicit TPageHost(TProfileStore& s) : store(s) { language.SetLanguage(L"English"); }
      TProfileStore& ProfileStore() override { return store; }
      const TLanguage& Language() override { return language; }
      void ProfilesChanged() override {}
      void EditListSaved() override {}
      void ClosePage() override {}
    };
    TKeyTable live, perProgram, edit;
    TFakeKeyList keys;
    TRecordingReporter reporter;
    const TProfileState before = ProfileState;
    TProfileStore store(qorn.Settings(), {live, perProgram, edit}, ProfileState, keys, reporter);
    store.loadprofilesbd();
    store.loadpfl("everywhere", 1, 0);
    TPageHost host(store);
    std::unique_ptr<TForm> page(CreateFormNew<TForm>(Application));
    TFrameProfile* frame = CreateFrame<TFrameProfile>(page.get());
    frame->Attach(host);
    frame->SetParent(page.get());
    frame->FillTable();
    frame->pfltable->SetItemIndex(1);
    ASSERT_EQ(frame->SelectedProfile(), "tester");
    frame->B_SetToApp->Click();
    std::wstring typed = AnsiToString(OwnExePath());
    CharUpperBuffW(typed.data(), static_cast<DWORD>(typed.size()));
    frame->VyButtonEdit1->SetText(typed);
    frame->B_SetToApp->Click();
    EXPECT_EQ(store.getprofiletipe("tester"), OwnExePath());
    ProfileState = before;
  }
  ASSERT_TRUE(qorn.Exists("profiles/tester.lpf"));
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitForMarkerLines(1));
  EXPECT_EQ(Lines(marker), std::vector<std::string>{"own"});
  EXPECT_EQ(qorn.Close(), 0);
}

}  // namespace
