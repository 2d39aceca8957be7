// Every display appears over another program's window without taking the keyboard
// from it: a program (typing_window.exe) is in front with the focus in its edit box;
// while the text display, the volume display, the information display, the mute
// picture and the dimming overlay appear in turn, the window in front never changes
// and the keys typed meanwhile all reach that program.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "core/settings/Settings.h"
#include "displays/DimmingOverlay.h"
#include "displays/InfoDisplay.h"
#include "displays/MutePicture.h"
#include "displays/TextDisplay.h"
#include "displays/VolumeDisplay.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"

#include <chrono>
#include <cwctype>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

using namespace std::chrono_literals;
using qorn::testing::WaitFor;

namespace {

const std::filesystem::path TypingProgram = std::filesystem::path(QORN_BINARY_DIR) / "bin" / "typing_window.exe";

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

// Shown over the other program without touching it: the window below the overlay
// and the overlay's dialog, as another part of this program would have them.
void ShowAside(TForm* form, int left, int top, int width, int height) {
  form->SetBounds(left, top, width, height);
  SetWindowPos(form->GetHandle(), HWND_TOP, left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

struct TDisplayCase {
  const char* name;
  std::function<HWND()> show;
};

class DisplaysOverAnotherProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecords = TSettingsRecords{};
    DisplayPlacementMode = 0;
    MainSettings.OsdTextLeft = 500;
    MainSettings.OsdTextTop = 120;
    MainSettings.OsdVolLeft = 300;
    MainSettings.OsdVolTop = 420;
    MainSettings.OsdVolWidth = 576;
    MainSettings.OsdVolHeight = 46;
    typing = qorn::testing::Process(TypingProgram);
    ASSERT_TRUE(WaitFor(
        [&] {
          program = FindWindowW(L"QornTypingWindow", nullptr);
          return program && (edit = GetDlgItem(program, 1)) != nullptr;
        },
        20s))
        << "the other program did not start";
    ASSERT_TRUE(qorn::testing::BringToFront(program)) << "the other program never came to the front";
  }
  void TearDown() override {
    if (program) PostMessageW(program, WM_CLOSE, 0, 0);
    typing.wait(10s);
    SettingsRecords = TSettingsRecords{};
    Pump(10ms);
  }
  std::wstring Typed() {
    wchar_t text[128] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &length);
    return text;
  }

  TManualClock clock;
  TClockOverride useClock{clock};
  qorn::testing::Process typing;
  HWND program = nullptr;
  HWND edit = nullptr;
};

TEST_F(DisplaysOverAnotherProgram, NeitherTheForegroundNorTheTypedKeysMove) {
  std::unique_ptr<TOSDtForm> text(CreateForm<TOSDtForm>(Application));
  std::unique_ptr<TOSDvForm> volume(CreateForm<TOSDvForm>(Application));
  std::unique_ptr<TOSDinfo> info(CreateForm<TOSDinfo>(Application));
  std::unique_ptr<TOSDmForm> mute(CreateForm<TOSDmForm>(Application));
  std::unique_ptr<TForm> below(CreateFormNew<TForm>(Application));
  std::unique_ptr<TForm> dialog(CreateFormNew<TForm>(Application));
  const TDisplayCase cases[] = {
      {"text display",
       [&] {
         text->showing(tkNotice, L"Volume up");
         return text->WindowHandle();
       }},
      {"volume display",
       [&] {
         volume->ShowLevel(50);
         return volume->WindowHandle();
       }},
      {"information display",
       [&] {
         info->showinfoosd(L"Power off in 4 s", L"4", false, L"TimerOff", 1, 4000);
         return info->WindowHandle();
       }},
      {"mute picture",
       [&] {
         mute->showw(1);
         return mute->WindowHandle();
       }},
      {"dimming overlay",
       [&] {
         below->SetCaption(L"Settings");
         ShowAside(below.get(), 520, 300, 460, 340);
         dialog->SetBorderStyle(bsDialog);
         dialog->SetCaption(L"Press a key");
         ShowAside(dialog.get(), 640, 400, 240, 140);
         ShowFogged(dialog.get(), below.get(), false, clBlack, 50, 200);
         for (int step = 0; step < 10; ++step) {
           clock.Advance(20);
           Pump(25ms);
           PumpDueTimers();
         }
         return Form_Fog->WindowHandle();
       }},
  };
  std::wstring expected;
  WORD letter = 'A';
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HWND display = c.show();
    Pump(50ms);
    ASSERT_TRUE(display && IsWindowVisible(display)) << "not shown";
    EXPECT_EQ(GetForegroundWindow(), program) << "the window in front changed";
    ASSERT_TRUE(Press(letter));
    expected += static_cast<wchar_t>(std::towlower(letter++));
    const bool arrived = WaitFor([&] { return Typed() == expected; }, 10s);
    const std::wstring typed = Typed();
    EXPECT_TRUE(arrived) << "typed so far: " << std::string(typed.begin(), typed.end());
    EXPECT_EQ(GetForegroundWindow(), program);
    EXPECT_TRUE(IsWindowVisible(display)) << "gone while the user typed";
  }
  EXPECT_TRUE(qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "displays_over_another_program.png"));
  delete Form_Fog;
}

}  // namespace
