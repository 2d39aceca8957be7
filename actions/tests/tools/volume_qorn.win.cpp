// The Qorn side of the volume-keys test (actions/tests/volume_keys.win.sh): a
// portable Qorn that wine runs as Windows XP, so that the winmm mixer of the
// private sound server is its mixer, with volume keys bound. Keys are injected
// from this process while a window of its own is in front:
//   F13          set the volume to 20 %        -> the volume display at 20 %
//   volume up    three presses of a 10 % step  -> the volume display at 50 %
//   volume mute  twice                         -> the user's "sound off" picture, then the
//                                                 built-in "sound on" picture
// After each step it writes "shot-NAME" into the folder and waits for the script
// to write "shot-NAME-taken" (a screenshot of the screen). Exit code 0 when every
// display came, at its level, and the window in front kept the focus.
//   volume_qorn.exe <folder> <dist folder>
#include "core/program/tests/QornInstall.h"
#include "vcl/Win.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

template <class F>
bool WaitUntil(F cond, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!cond()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

std::uint8_t Code2Of(WORD vk) { return static_cast<std::uint8_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC) & 0x7F); }

bool Press(WORD vk) {
  INPUT inputs[2] = {};
  for (int i = 0; i < 2; ++i) {
    inputs[i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = vk;
    inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    inputs[i].ki.dwFlags = i ? KEYEVENTF_KEYUP : 0;
  }
  return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

// The program the user types in: it must keep the focus through every display.
struct FrontWindow {
  HWND hwnd = nullptr;
  FrontWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"QornVolumeKeysFront";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"in front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 60, 400, 250,
                           nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~FrontWindow() { DestroyWindow(hwnd); }
  bool activate() {
    return WaitUntil(
        [&] {
          if (GetForegroundWindow() != hwnd) SetForegroundWindow(hwnd);
          if (GetFocus() != hwnd) SetFocus(hwnd);
          return GetForegroundWindow() == hwnd && GetFocus() == hwnd;
        },
        30s);
  }
  bool inFront() const { return GetForegroundWindow() == hwnd; }
};

// The volume bar's colour at a fraction of its width, half way down: the level's
// part is drawn in green shades, the rest in its red-to-lime back gradient.
COLORREF BarPixel(HWND display, double fraction) {
  RECT r{};
  GetWindowRect(display, &r);
  HDC screen = GetDC(nullptr);
  const int x = r.left + static_cast<int>((r.right - r.left) * fraction);
  const COLORREF c = GetPixel(screen, x, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return c;
}
// Which picture the mute picture shows: the red cross of the sound switched off,
// the green waves of the sound switched on, or the user's own (plain blue).
std::string MutePictureShown(HWND picture) {
  RECT r{};
  GetWindowRect(picture, &r);
  HDC screen = GetDC(nullptr);
  bool red = false, green = false, blue = false;
  for (int y = r.top; y < r.bottom; y += 2)
    for (int x = (r.left + r.right) / 2; x < r.right; x += 2) {
      const COLORREF c = GetPixel(screen, x, y);
      red = red || (GetRValue(c) > 150 && GetGValue(c) < 80);
      green = green || (GetGValue(c) > 100 && GetRValue(c) < 80 && GetBValue(c) < 100);
      blue = blue || (GetBValue(c) > 200 && GetRValue(c) < 50 && GetGValue(c) < 50);
    }
  ReleaseDC(nullptr, screen);
  if (red + green + blue != 1) return "unclear";
  return red ? "sound off" : green ? "sound on" : "the user's picture";
}

// A plain blue 96 x 96 bitmap: the user's own picture for the sound switched off.
void WriteUserPicture(const fs::path& file) {
  constexpr int side = 96;
  constexpr int row = side * 3;
  BITMAPFILEHEADER header{};
  BITMAPINFOHEADER info{};
  header.bfType = 0x4D42;
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + row * side;
  info.biSize = sizeof info;
  info.biWidth = side;
  info.biHeight = side;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::string pixels;
  for (int i = 0; i < side * side; ++i) pixels += std::string("\xFF\x00\x00", 3);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out << pixels;
}

bool IsLevelColour(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) > 90 && GetBValue(c) < 60; }
std::string ColourText(COLORREF c) {
  return std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," + std::to_string(GetBValue(c));
}

class TTest {
 public:
  TTest(fs::path folder, const fs::path& dist) : folder_(std::move(folder)), qorn_(folder_ / "Qorn", dist) {}

  void TakeShot(const std::string& name) {
    const fs::path request = folder_ / ("shot-" + name);
    std::ofstream(request).put('\n');
    fs::path taken = request;
    taken += "-taken";
    Check(WaitUntil([&] { return fs::exists(taken); }, 20s), "screenshot " + name);
  }

  HWND Display(const wchar_t* cls) const { return qorn_.FindOwnWindow(cls, nullptr); }
  bool Shown(const wchar_t* cls) const {
    HWND w = Display(cls);
    return w && IsWindowVisible(w);
  }

  // Presses until the level shows at that fraction: a display already up is
  // repainted at the new level, so the colours tell when the press has run.
  void CheckLevel(const std::string& what, double inside, double outside) {
    // Looked up anew each time: the display's window is made again when its frame changes.
    HWND bar = nullptr;
    const bool shown = WaitUntil(
        [&] {
          bar = Display(L"TOSDvForm");
          return bar && IsWindowVisible(bar) && IsLevelColour(BarPixel(bar, inside)) &&
                 !IsLevelColour(BarPixel(bar, outside));
        },
        10s);
    RECT r{};
    if (bar) GetWindowRect(bar, &r);
    std::printf("info: %s: display %s, visible %d, at %ld,%ld-%ld,%ld\n", what.c_str(), bar ? "made" : "missing",
                bar ? IsWindowVisible(bar) : 0, r.left, r.top, r.right, r.bottom);
    Check(shown, what + ": the volume display shows the level up to " + std::to_string(inside) + " and not at " +
                     std::to_string(outside) + " (colours " + ColourText(BarPixel(bar, inside)) + " / " +
                     ColourText(BarPixel(bar, outside)) + ")");
  }

  int Run() {
    qorn_.RenameProgram(L"QornOnXp.exe");
    TSettingsRecords settings;
    settings.Main.KeyPressCount = 10;
    settings.Main.optchecknewver = 0;
    settings.Main.optauto = 0;
    settings.Main.CB_SettingsSave = 1;
    settings.Main.osdshw = 1;
    settings.Main.volshowosd = 1;
    settings.Main.osdsh = 3000;  // 4 s on screen: time for the screenshot
    settings.Main.osdtr = 255;
    settings.Main.OsdVolTop = 420;
    settings.Main.OsdVolLeft = 120;
    settings.Main.OsdVolHeight = 46;
    settings.Main.OsdVolWidth = 576;
    settings.Strings.LanguageName = "English";
    settings.Strings.InstallationId = "01x0123456789abcdef0123456789abcdef";
    CreateDefaultFonts(settings.Fonts);
    qorn_.WriteSettings(settings);
    const fs::path userPicture = qorn_.Settings() / "muted.bmp";
    WriteUserPicture(userPicture);
    qorn_.WriteFile("stgex.ini", "[QornMain]\r\nUserPictMuteOff=" + userPicture.string() + "\r\n");
    qorn_.WriteProfiles("volume",
                        {{"volume",
                          "-",
                          {KeyBinding("F13", VK_F13, Code2Of(VK_F13), NoModifiers, 24, "00000020"),
                           KeyBinding("Volume up", VK_VOLUME_UP, Code2Of(VK_VOLUME_UP), NoModifiers, 21, "00000010"),
                           KeyBinding("Mute", VK_VOLUME_MUTE, Code2Of(VK_VOLUME_MUTE), NoModifiers, 23, "00000002")}}});
    if (!qorn_.Start()) {
      Check(false, "Qorn started");
      return 1;
    }
    FrontWindow front;
    Check(front.activate(), "the window in front has the focus");

    Check(Press(VK_F13), "F13 sent");
    CheckLevel("set 20 %", 0.12, 0.35);
    Check(front.inFront(), "set 20 %: the window in front kept the focus");
    TakeShot("set20");

    for (int i = 0; i < 3; ++i) Check(Press(VK_VOLUME_UP), "volume up sent");
    CheckLevel("volume up to 50 %", 0.42, 0.65);
    Check(front.inFront(), "volume up: the window in front kept the focus");
    TakeShot("up50");

    for (const std::string expected : {"the user's picture", "sound on"}) {
      Check(Press(VK_VOLUME_MUTE), "mute sent");
      std::string picture;
      const bool shown = WaitUntil(
          [&] {
            HWND w = Display(L"TOSDmForm");
            picture = w && IsWindowVisible(w) ? MutePictureShown(w) : "none";
            return picture == expected;
          },
          10s);
      Check(shown, "mute: the mute picture shows " + expected + " (seen: " + picture + ")");
      Check(front.inFront(), "mute: the window in front kept the focus");
      TakeShot(expected == "sound on" ? "unmute" : "mute");
    }

    Check(qorn_.Close() == 0, "Qorn closed");
    return failures == 0 ? 0 : 1;
  }

 private:
  fs::path folder_;
  TQornInstall qorn_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: volume_qorn.exe <folder> <dist folder>\n");
    return 2;
  }
  if (!TQornInstall::NoOtherQorn()) {
    std::printf("FAIL: another Qorn is running\n");
    return 1;
  }
  // Wine reports Windows XP to this copy of Qorn alone (its own file name).
  const wchar_t* key = L"Software\\Wine\\AppDefaults\\QornOnXp.exe";
  RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Version", REG_SZ, L"winxp64", sizeof(L"winxp64"));
  TTest test{fs::path(argv[1]), fs::path(argv[2])};
  const int rc = test.Run();
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
  return rc;
}
