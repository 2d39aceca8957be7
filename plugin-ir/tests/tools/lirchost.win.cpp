// Test host for the real-server test: a window of Qorn's class and caption that
// loads plugins\Ranlowe.dll, records every WM_PLUGINKEY name, and compares them
// with the expected names once the driving script says it is done.
//   lirchost.exe <folder> [stall]   (the folder holds "done" and "expected.txt" when done)
// With "stall" the main thread takes no messages from Enable until the script
// writes "stall-over", as a main window busy elsewhere would.
#include "vcl/Win.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> g_keys;

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 360 && wp == 2) {
    g_keys.emplace_back(reinterpret_cast<const char*>(lp));
    return 0;
  }
  return DefWindowProcW(wnd, msg, wp, lp);
}

void Pump() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string dir = argv[1];
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TMainForm";
  RegisterClassW(&wc);
  HWND host = CreateWindowExW(0, L"TMainForm", L"Qorn", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
  HMODULE lib = LoadLibraryW(L"plugins\\Ranlowe.dll");
  if (!host || !lib) {
    std::printf("lirchost: no window or no plug-in\n");
    return 3;
  }
  auto enable = reinterpret_cast<BYTE(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(lib, "Enable")));
  auto disable = reinterpret_cast<BYTE(__stdcall*)()>(reinterpret_cast<void*>(GetProcAddress(lib, "Disable")));
  enable();
  std::ofstream(dir + "\\enabled").put('1');
  if (argc > 2 && std::string(argv[2]) == "stall") {
    while (!Exists(dir + "\\stall-over")) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(240);
  while (!Exists(dir + "\\done") && std::chrono::steady_clock::now() < deadline) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<std::string> want;
  std::ifstream in(dir + "\\expected.txt");
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) want.push_back(line);
  // The last posts may still be on their way; half a second more shows any extra.
  const auto more = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (g_keys.size() < want.size() && std::chrono::steady_clock::now() < more) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (int i = 0; i < 50; ++i) {
    Pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  disable();
  std::printf("received:");
  for (const auto& k : g_keys) std::printf(" %s", k.c_str());
  std::printf("\nexpected:");
  for (const auto& k : want) std::printf(" %s", k.c_str());
  std::printf("\n");
  DestroyWindow(host);
  return (!want.empty() && g_keys == want) ? 0 : 1;
}
