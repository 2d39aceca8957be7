#include "testing/WinTesting.h"

#include <png.h>

#include <thread>
#include <vector>

namespace qorn::testing {

bool WaitFor(const std::function<bool()>& cond, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (cond()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool BringToFront(HWND wnd, std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        if (GetForegroundWindow() != wnd) SetForegroundWindow(wnd);
        return GetForegroundWindow() == wnd;
      },
      timeout);
}

bool BringToFrontWithFocus(HWND wnd, std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        if (GetForegroundWindow() != wnd) SetForegroundWindow(wnd);
        if (GetFocus() != wnd) SetFocus(wnd);
        return GetForegroundWindow() == wnd && GetFocus() == wnd;
      },
      timeout);
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* caption, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindWindowW(className, caption)) != nullptr; }, timeout);
  return found;
}

Process::Process(const std::filesystem::path& exe, const std::wstring& args, const std::filesystem::path& workDir) {
  std::wstring cmd = L"\"" + exe.wstring() + L"\"";
  if (!args.empty()) cmd += L" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  const std::wstring dir = workDir.empty() ? exe.parent_path().wstring() : workDir.wstring();
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &info_))
    info_ = {};
}

Process::~Process() { kill(); }

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = {}; }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    kill();
    info_ = other.info_;
    other.info_ = {};
  }
  return *this;
}

bool Process::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

long Process::wait(std::chrono::milliseconds timeout) {
  if (!info_.hProcess) return -1;
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return static_cast<long>(code);
}

void Process::kill() {
  if (!info_.hProcess) return;
  if (running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

namespace {

bool SaveScreenRect(const RECT& r, const std::filesystem::path& file) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
  const auto* src = static_cast<const unsigned char*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
    rgba[i * 4] = src[i * 4 + 2];
    rgba[i * 4 + 1] = src[i * 4 + 1];
    rgba[i * 4 + 2] = src[i * 4];
    rgba[i * 4 + 3] = 255;
  }
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);

  std::filesystem::create_directories(file.parent_path());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, file.string().c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

}  // namespace

bool SaveScreenshot(const std::filesystem::path& file) {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return SaveScreenRect(r, file);
}

bool SaveWindowShot(HWND wnd, const std::filesystem::path& file) {
  RECT r{};
  if (!GetWindowRect(wnd, &r)) return false;
  // Tests running beside this one show windows too: the window is lifted above them
  // (without taking the activation) and painted afresh before its area is read.
  const bool wasTopmost = (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  constexpr UINT still = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (!wasTopmost) SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, still);
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A window of another thread or program paints on its own turn, and the display
  // shows a window's drawing only once it is flushed: once the window has answered a
  // message sent after the redraw, give its paint a moment to land on the screen.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  WaitFor([] { return false; }, std::chrono::milliseconds(200));
  const bool saved = SaveScreenRect(r, file);
  if (!wasTopmost) SetWindowPos(wnd, HWND_NOTOPMOST, 0, 0, 0, 0, still);
  return saved;
}

std::filesystem::path ScreenshotDir() { return std::filesystem::path(QORN_TESTING_BINARY_DIR) / "screenshots"; }

}  // namespace qorn::testing
