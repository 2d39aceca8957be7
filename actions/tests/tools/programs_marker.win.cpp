// A program for the tests to start: it appends one line to a marker file, its
// arguments joined by '|', so a test sees that it ran and what it was given.
//   programs_marker.exe [--marker FILE] [--stay] [--show] [--hold MS] [ARGS...]
// Without --marker the file is %QORN_MARKER_FILE%. With --stay it shows a window
// titled "Qorn test marker" and runs until that file's name + ".stop" exists
// (or two minutes pass), so a test can find a running copy. With --show the line
// ends with "show=N", the show command it was started with ("show=none" without).
// With --hold, once its line is written it asks the test plug-in's window
// "QornTestStall" (core/program/tests/dlls/mainstall.cpp) in the program that
// started it to hold that program's main thread MS milliseconds, as an action
// that takes that long would.
// test-tool: no-console
#include "vcl/Win.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Several copies may end at once (quick presses of one key): a seek to the end and
// a write would let two of them write over each other's line, so the line goes in
// with one write to a file opened for appending only, which the system puts at
// the end as one piece. A test reading the file at that moment is waited out.
bool AppendLine(const std::string& path, const std::string& text) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() != ERROR_SHARING_VIOLATION) return false;
      Sleep(50);
      continue;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    return ok;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string marker;
  if (const char* env = std::getenv("QORN_MARKER_FILE")) marker = env;
  bool stay = false;
  bool show = false;
  unsigned holdMs = 0;
  std::string line;
  bool first = true;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--marker" && i + 1 < argc) {
      marker = argv[++i];
    } else if (arg == "--stay") {
      stay = true;
    } else if (arg == "--show") {
      show = true;
    } else if (arg == "--hold" && i + 1 < argc) {
      holdMs = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      if (!first) line += '|';
      line += arg;
      first = false;
    }
  }
  if (marker.empty()) return 2;
  if (show) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    if (!first) line += '|';
    line += (si.dwFlags & STARTF_USESHOWWINDOW) ? "show=" + std::to_string(si.wShowWindow) : std::string("show=none");
  }
  line += '\n';
  if (!AppendLine(marker, line)) return 3;
  if (holdMs) {
    HWND stall = FindWindowExW(HWND_MESSAGE, nullptr, L"QornTestStall", nullptr);
    if (!stall || !PostMessageW(stall, WM_APP, holdMs, 0)) return 5;
  }
  if (!stay) return 0;

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QornTestMarker";
  RegisterClassW(&wc);
  HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Qorn test marker", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                             240, 120, nullptr, nullptr, wc.hInstance, nullptr);
  if (!wnd) return 4;
  const std::string stop = marker + ".stop";
  const ULONGLONG deadline = GetTickCount64() + 120000;
  while (!Exists(stop) && GetTickCount64() < deadline) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(20);
  }
  DestroyWindow(wnd);
  return 0;
}
