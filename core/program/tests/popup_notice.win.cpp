// A bound key's notice in the popup through the real Qorn.exe: a key pressed with
// SendInput runs its binding, and the binding's notice shows in the popup at its
// place, skinned with the program's own skin or plain, without taking the focus
// from the window in front; with notices set to the text display it shows there.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "core/program/tests/QornInstall.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

#include <fstream>
#include <string>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

const fs::path Dist = fs::path(QORN_BINARY_DIR) / "dist";

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

// A window the user types in, in front.
struct FrontWindow {
  HWND hwnd = nullptr;
  FrontWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QornPopupNoticeFront";
    RegisterClassW(&wc);
    hwnd = CreateWindowExW(0, wc.lpszClassName, L"in front", WS_POPUP | WS_VISIBLE, 30, 30, 300, 200, nullptr, nullptr,
                           wc.hInstance, nullptr);
  }
  bool activate() {
    return BringToFront(hwnd);
  }
  ~FrontWindow() { DestroyWindow(hwnd); }
};

bool Visible(HWND w) { return w && IsWindowVisible(w); }
RECT RectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

struct PopupNotice : ::testing::Test {
  TempDir dir{"popup"};
  TQornInstall qorn{dir / "Qorn", Dist};
  fs::path messages = dir / "messages.txt";

  void SetUp() override {
    ASSERT_TRUE(TQornInstall::NoOtherQorn()) << "another Qorn is still running";
    SetEnvironmentVariableW(L"QORN_MESSAGE_SINK", messages.wstring().c_str());
    // Code 0 runs nothing and shows the binding's own notice.
    TKeyRecord hello = KeyBinding("Greeting", VK_F13, Code2Of(VK_F13), "00000000", 0, "");
    hello.OsdText = "Hello & <b>welcome</b>";
    qorn.WriteProfiles("notices", {{"notices", "-", {hello}}});
  }
  void TearDown() override {
    qorn.Kill();
    SetEnvironmentVariableW(L"QORN_MESSAGE_SINK", nullptr);
  }
  // A user who has run Qorn before, notices of pressed keys on, in the popup.
  static TSettingsRecords Settings(bool skinned) {
    TSettingsRecords s;
    s.Main.optchecknewver = 0;
    s.Main.optauto = 0;
    s.Main.osdkeyspressed = 1;
    s.Main.washowosd = 0;
    s.Strings.LanguageName = "English";
    s.Strings.InstallationId = "01x0123456789abcdef0123456789abcdef";
    s.Popup.popupfade = 0;
    s.Popup.popupanim = 0;
    s.Popup.popupopauqe = 255;
    s.Popup.popupdelay = 50;
    s.Popup.PopupPosition = 6;
    s.Popup.popupuseskin = skinned ? 1 : 0;
    s.Strings.PopupSkinName = "Glass";
    CreateDefaultFonts(s.Fonts);
    return s;
  }
  HWND Popup() const { return qorn.FindOwnWindow(L"TPopupForm", nullptr); }
  HWND SkinWindow() const { return qorn.FindOwnWindow(L"TPopupSkinWindow", nullptr); }
  std::string Messages() const { return ReadFileBytes(messages); }
};

TEST_F(PopupNotice, ABoundKeysNoticeShowsInTheSkinnedPopup) {
  qorn.WriteSettings(Settings(true));
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  EXPECT_FALSE(Visible(Popup()));
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitFor([&] { return Visible(SkinWindow()) && Visible(Popup()); }, 20s)) << "no skinned popup came";
  const RECT popup = RectOf(Popup());
  const RECT skin = RectOf(SkinWindow());
  EXPECT_TRUE(EqualRect(&popup, &skin)) << "the skin lies over the popup: " << popup.left << "," << popup.top << " "
                                        << popup.right << "," << popup.bottom << " and " << skin.left << "," << skin.top
                                        << " " << skin.right << "," << skin.bottom;
  EXPECT_EQ(skin.right, GetSystemMetrics(SM_CXSCREEN) - 2) << "bottom right, 2 pixels in";
  EXPECT_GE(skin.right - skin.left, 286) << "the skin's minimum width";
  EXPECT_TRUE(GetWindowLongPtrW(SkinWindow(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(GetForegroundWindow(), front.hwnd) << "the popup never takes the focus";
  EXPECT_EQ(Messages(), "") << "the program's own skin is good";
  EXPECT_TRUE(SaveWindowShot(SkinWindow(), ScreenshotDir() / "qorn_popup_notice_skinned.png"));
  EXPECT_EQ(qorn.Close(), 0);
}

TEST_F(PopupNotice, ABrokenSkinIsReportedOnceAndTheNoticeShowsPlain) {
  // A skin from elsewhere whose picture lies outside its folder.
  const fs::path broken = qorn.Root() / "skins" / "Popup" / "Broken";
  fs::create_directories(broken);
  std::ofstream(broken / "config.skin") << "[Background]\r\nImage=..\\Glass\\back.png\r\nLeft=1\r\nTop=1\r\n"
                                           "Right=1\r\nBottom=1\r\n";
  TSettingsRecords settings = Settings(true);
  settings.Strings.PopupSkinName = "Broken";
  qorn.WriteSettings(settings);
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  for (int press = 0; press < 2; ++press) {
    ASSERT_TRUE(Press(VK_F13));
    ASSERT_TRUE(WaitFor([&] { return Visible(Popup()); }, 20s)) << "no popup came";
  }
  EXPECT_FALSE(Visible(SkinWindow()));
  EXPECT_EQ(Messages(), "Qorn\tSkin Broken: the picture \"..\\Glass\\back.png\" is not in the skin's folder.\n")
      << "told once, through the message seam";
  EXPECT_EQ(qorn.Close(), 0);
}

TEST_F(PopupNotice, ABoundKeysNoticeShowsInThePlainPopupOrTheTextDisplay) {
  qorn.WriteSettings(Settings(false));
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  FrontWindow front;
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitFor([&] { return Visible(Popup()); }, 20s)) << "no popup came";
  EXPECT_FALSE(Visible(SkinWindow()));
  EXPECT_EQ(GetForegroundWindow(), front.hwnd);
  EXPECT_TRUE(SaveWindowShot(Popup(), ScreenshotDir() / "qorn_popup_notice_plain.png"));
  EXPECT_EQ(qorn.Close(), 0);

  // Notices set to the text display: the popup stays away.
  TSettingsRecords osd = Settings(false);
  osd.Main.washowosd = 1;
  qorn.WriteSettings(osd);
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start again";
  ASSERT_TRUE(front.activate());
  ASSERT_TRUE(Press(VK_F13));
  ASSERT_TRUE(WaitFor([&] { return Visible(qorn.FindOwnWindow(L"TOSDtForm", nullptr)); }, 20s))
      << "the text display did not show the notice";
  EXPECT_FALSE(Visible(Popup()));
  EXPECT_EQ(qorn.Close(), 0);
}

}  // namespace
