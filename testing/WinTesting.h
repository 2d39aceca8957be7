// Helpers for tests under wine: start programs, wait for windows, take screenshots.
#pragma once
#include "vcl/Win.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace qorn::testing {

// Polls cond (pumping this thread's messages) until it holds or the time is up.
bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds timeout);

// Makes wnd the foreground window. A window of another test's program may take the
// front for a moment, so it asks until wnd holds it; whether it does.
bool BringToFront(HWND wnd, std::chrono::milliseconds timeout = std::chrono::seconds(30));
// The same, and wnd holds the keyboard focus: in front is not enough for keys.
bool BringToFrontWithFocus(HWND wnd, std::chrono::milliseconds timeout = std::chrono::seconds(30));

// Waits for a top-level window of that class and caption.
HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, std::chrono::milliseconds timeout);

// A child process, ended (and waited for) when the object goes.
class Process {
 public:
  Process() = default;
  Process(const std::filesystem::path& exe, const std::wstring& args = L"",
          const std::filesystem::path& workDir = {});
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  bool running() const;
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  // Exit code, or -1 when it did not end in time.
  long wait(std::chrono::milliseconds timeout);
  void kill();

 private:
  PROCESS_INFORMATION info_{};
};

// Saves the whole screen as a PNG file; false when it could not.
bool SaveScreenshot(const std::filesystem::path& file);
// Saves one window's area of the screen.
bool SaveWindowShot(HWND wnd, const std::filesystem::path& file);

// Where test screenshots go: <build>/screenshots.
std::filesystem::path ScreenshotDir();

}  // namespace qorn::testing
