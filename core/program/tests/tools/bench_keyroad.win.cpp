// Benchmark of the key road (not a test): how long a key Qorn does not take needs
// from SendInput to another program's low-level hook, with Qorn's hook in the chain
// (255 global bindings, none on the measured key) and without it, side by side.
//
//   bench_keyroad DIST-FOLDER WORK-FOLDER [KEYS]
// Qorn runs from a portable copy in WORK-FOLDER for the whole run; its hook goes
// away and comes back with a session lock and unlock, so blocks with and without it
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
HANDLE g_arrived = nullptr;
LARGE_INTEGER g_arrivedAt{};

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
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = MeasuredVk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ResetEvent(g_arrived);
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  SendInput(1, &input, sizeof input);
  if (WaitForSingleObject(g_arrived, 5000) != WAIT_OBJECT_0) return false;
  micros = static_cast<double>(g_arrivedAt.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
  return true;
}

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
  std::vector<double> with, without;
  const int block = 50;
  for (int done = 0; done < keys; done += block) {
    for (bool qornHook : {false, true}) {
      session(qornHook ? WTS_SESSION_UNLOCK : WTS_SESSION_LOCK);
      for (int i = 0; i < block; ++i) {
        double down = 0, up = 0;
        if (!SendOne(false, down) || !SendOne(true, up)) {
          std::fprintf(stderr, "a key never arrived\n");
          return 4;
        }
        (qornHook ? with : without).push_back(down);
      }
    }
  }
  qorn.Close();
  const double mw = Percentile(with, 0.5), mo = Percentile(without, 0.5);
  const double pw = Percentile(with, 0.99), po = Percentile(without, 0.99);
  std::printf("keys per side   %zu\n", with.size());
  std::printf("without Qorn    median %8.1f us   p99 %8.1f us\n", mo, po);
  std::printf("with Qorn       median %8.1f us   p99 %8.1f us\n", mw, pw);
  std::printf("ratio           median %8.2f      p99 %8.2f\n", mw / mo, pw / po);
  return 0;
}
