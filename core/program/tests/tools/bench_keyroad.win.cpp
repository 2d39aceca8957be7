// Benchmark of the key road (not a test): how long a key Qorn does not take needs
// from SendInput to another program's low-level hook, with Qorn's hook in the chain
// (255 global bindings, none on the measured key), with a bare hook of our own in
// another process instead (bare_hook.exe: the cost of any second hook), and with
// neither, side by side. Then how soon a bound key's action starts after Qorn's
// hook answered.
//
//   bench_keyroad DIST-FOLDER WORK-FOLDER [KEYS]
// Qorn runs from a portable copy in WORK-FOLDER for the whole run; its hook goes
// away and comes back with a session lock and unlock, so blocks of each side
// alternate under the same conditions. Prints the medians, the p99s and their ratios.
#include "vcl/Win.h"

#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/program/tests/QornInstall.h"

using namespace qorn::testing;

namespace {

constexpr WORD MeasuredVk = VK_F23;
// Bound to "press the browser key" (code 56), which the action sends at once.
constexpr WORD BoundVk = VK_F22;
constexpr WORD ActionVk = VK_BROWSER_HOME;
HANDLE g_arrived = nullptr;
LARGE_INTEGER g_arrivedAt{};
HANDLE g_actionCame = nullptr;
LARGE_INTEGER g_boundAnswered{}, g_actionAt{};

double Micros(LONGLONG ticks) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// A hook put in front of Qorn's: it sees when Qorn's hook answered the bound key
// (its CallNextHookEx returns) and when the action's key arrives, which it keeps
// from going further.
LRESULT CALLBACK FrontHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (k->vkCode == ActionVk) {
      if (wParam == WM_KEYDOWN) {
        QueryPerformanceCounter(&g_actionAt);
        SetEvent(g_actionCame);
      }
      return 1;
    }
    if (k->vkCode == BoundVk && wParam == WM_KEYDOWN) {
      const LRESULT answer = CallNextHookEx(nullptr, code, wParam, lParam);
      QueryPerformanceCounter(&g_boundAnswered);
      return answer;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI FrontHookThread(void* ready) {
  SetWindowsHookExW(WH_KEYBOARD_LL, FrontHook, GetModuleHandleW(nullptr), 0);
  SetEvent(ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    if (k->vkCode == MeasuredVk) {
      QueryPerformanceCounter(&g_arrivedAt);
      SetEvent(g_arrived);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

DWORD WINAPI HookThread(void* ready) {
  SetWindowsHookExW(WH_KEYBOARD_LL, Hook, GetModuleHandleW(nullptr), 0);
  SetEvent(ready);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

// Microseconds from SendInput to the hook, for one key-down and its key-up.
bool SendOne(bool up, double& micros) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = MeasuredVk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ResetEvent(g_arrived);
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  SendInput(1, &input, sizeof input);
  if (WaitForSingleObject(g_arrived, 5000) != WAIT_OBJECT_0) return false;
  micros = Micros(g_arrivedAt.QuadPart - start.QuadPart);
  return true;
}

bool SendBound(bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = BoundVk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(BoundVk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &input, sizeof input) == 1;
}

// The bare hook of another process, put in and taken out as Qorn's is.
class TBareHook {
 public:
  explicit TBareHook(const std::wstring& program) {
    const std::wstring name = L"QornBenchBareHook" + std::to_wstring(GetCurrentProcessId());
    done_ = CreateEventW(nullptr, FALSE, FALSE, name.c_str());
    std::wstring cmd = L"\"" + program + L"\" " + name;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
      ok_ = Wait();
  }
  ~TBareHook() {
    if (process_.hProcess) {
      PostThreadMessageW(process_.dwThreadId, WM_QUIT, 0, 0);
      if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 0);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    CloseHandle(done_);
  }
  bool Set(bool on) { return ok_ && PostThreadMessageW(process_.dwThreadId, on ? WM_APP : WM_APP + 1, 0, 0) && Wait(); }

 private:
  bool Wait() {
    const HANDLE waits[] = {done_, process_.hProcess};
    return WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
  }
  PROCESS_INFORMATION process_{};
  HANDLE done_ = nullptr;
  bool ok_ = false;
};

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 2;
  const int keys = argc > 3 ? _wtoi(argv[3]) : 400;
  g_arrived = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  g_actionCame = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring bareHook = (std::filesystem::path(self).parent_path() / L"bare_hook.exe").wstring();
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CreateThread(nullptr, 0, HookThread, ready, 0, nullptr);
  WaitForSingleObject(ready, 10000);

  TQornInstall qorn(std::filesystem::path(argv[2]) / L"Qorn", argv[1]);
  TSettingsRecords settings;
  settings.Main.optchecknewver = 0;
  settings.Strings.LanguageName = "English";
  CreateDefaultFonts(settings.Fonts);
  qorn.WriteSettings(settings);
  std::vector<TKeyRecord> bindings;
  for (int vk = 1; bindings.size() < 255 && vk < 256; ++vk) {
    if (vk == MeasuredVk) continue;
    if (vk == BoundVk) {
      bindings.push_back(KeyBinding("bound", BoundVk, static_cast<std::uint8_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0x7F),
                                    "00000000", 56, ""));
      continue;
    }
    bindings.push_back(KeyBinding("b" + std::to_string(vk), static_cast<std::uint8_t>(vk),
                                  static_cast<std::uint8_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0x7F), "01000000", 0, ""));
  }
  qorn.WriteProfiles("bench", {{"bench", "-", bindings}});
  if (!qorn.Start()) {
    std::fprintf(stderr, "Qorn did not start\n");
    return 3;
  }
  const HWND main = qorn.Window();
  auto session = [&](WPARAM change) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main, WM_WTSSESSION_CHANGE, change, 0, SMTO_NORMAL, 10000, &result);
    Sleep(200);  // the hook is (re)installed by then; nothing is measured meanwhile
  };
  enum Side { sideWithout, sideBare, sideQorn };
  std::vector<double> times[3];
  TBareHook bare(bareHook);
  const int block = 50;
  for (int done = 0; done < keys; done += block) {
    for (Side side : {sideWithout, sideBare, sideQorn}) {
      session(side == sideQorn ? WTS_SESSION_UNLOCK : WTS_SESSION_LOCK);
      if (!bare.Set(side == sideBare)) {
        std::fprintf(stderr, "the bare hook did not answer\n");
        return 5;
      }
      for (int i = 0; i < block; ++i) {
        double down = 0, up = 0;
        if (!SendOne(false, down) || !SendOne(true, up)) {
          std::fprintf(stderr, "a key never arrived (side %d, block at %d)\n", static_cast<int>(side), done);
          return 4;
        }
        times[side].push_back(down);
      }
    }
  }

  auto line = [&](const char* what, const std::vector<double>& v) {
    std::printf("%-16s median %8.1f us   p99 %8.1f us\n", what, Percentile(v, 0.5), Percentile(v, 0.99));
  };
  auto ratio = [&](const char* what, const std::vector<double>& v) {
    const auto& o = times[sideWithout];
    std::printf("%-16s median %8.2f      p99 %8.2f\n", what, Percentile(v, 0.5) / Percentile(o, 0.5),
                Percentile(v, 0.99) / Percentile(o, 0.99));
  };
  std::printf("keys per side    %zu\n", times[sideQorn].size());
  line("without Qorn", times[sideWithout]);
  line("bare second hook", times[sideBare]);
  line("with Qorn", times[sideQorn]);
  ratio("ratio bare", times[sideBare]);
  ratio("ratio Qorn", times[sideQorn]);
  std::fflush(stdout);

  // The bound key, with our hook in front of Qorn's.
  bare.Set(false);
  session(WTS_SESSION_UNLOCK);
  HANDLE frontReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  CreateThread(nullptr, 0, FrontHookThread, frontReady, 0, nullptr);
  WaitForSingleObject(frontReady, 10000);
  Sleep(1000);  // Qorn's main thread is done with the unlock
  std::vector<double> actionAfterAnswer;
  int missed = 0;
  for (int i = 0; i < keys / 4; ++i) {
    ResetEvent(g_actionCame);
    // A key whose answer came too late passes, and its action does not run.
    if (!SendBound(false) || WaitForSingleObject(g_actionCame, 1000) != WAIT_OBJECT_0) {
      ++missed;
      SendBound(true);
      continue;
    }
    actionAfterAnswer.push_back(Micros(g_actionAt.QuadPart - g_boundAnswered.QuadPart));
    SendBound(true);
    Sleep(20);  // the key-up is through; the action's key-up too
  }
  qorn.Close();

  // Includes the action key's own way from SendInput to the first hook (about the
  // "without Qorn" time above).
  std::printf("bound key: action's key at the first hook after Qorn's answer (%zu keys, %d passed unanswered)\n",
              actionAfterAnswer.size(), missed);
  if (!actionAfterAnswer.empty()) line("action start", actionAfterAnswer);
  return 0;
}
