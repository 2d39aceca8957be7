// The key capture dialog over the main window in this process (a settings folder of
// its own): a key reaches it through the key engine's callback, every way of
// closing it ends capture mode, its texts are as long as the record holds, and the
// dimming overlay comes and goes with it.
// ctest-lock: main-window
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "vcl/Win.h"

#include <chrono>
#include <exception>
#include <functional>
#include <string>

#include "core/mainwindow/MainWindow.h"
#include "core/settings/SettingsFolder.h"
#include "displays/DimmingOverlay.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

namespace {

using namespace std::chrono_literals;

// What the test does once the modal dialog is up: run from a timer of the dialog's
// own message loop.
std::function<void()> whileOpen;
void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto action = std::move(whileOpen);
  whileOpen = nullptr;
  // Nothing may unwind through the system's timer call; a failure ends the dialog.
  try {
    if (action) action();
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
    if (MainForm) MainForm->InputDialog().SetModalResult(mrAbort);
  }
}
// A dialog the test failed to close ends instead of hanging the run.
void CALLBACK AbortDialog(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (MainForm) MainForm->InputDialog().SetModalResult(mrAbort);
}

struct CountingExecutor : IActionExecutor {
  int runs = 0;
  void Execute(int, int, TActionContext&) override { ++runs; }
};

struct InputDialog : ::testing::Test {
  qorn::testing::TempDir dir{"inputform"};
  TMainForm* form = nullptr;
  CountingExecutor tools;

  void SetUp() override {
    SettingsFolder = FolderText(dir.path());
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
    form->Executors.Set(TActionFamily::OtherTools, &tools);
    form->SetBounds(100, 80, 640, 460);
    form->Show();
  }
  void TearDown() override {
    delete form;
    SettingsFolder.clear();
  }
  TInputForm& dialog() { return form->InputDialog(); }
  TKeyEngine& engine() { return form->Engine(); }

  // Opens the dialog through `show`, runs `action` once it is up, and returns what
  // `show` returned.
  template <typename Show>
  auto WithDialog(std::function<void()> action, Show show) {
    whileOpen = std::move(action);
    SetTimer(nullptr, 0, 30, RunWhileOpen);
    const UINT_PTR guard = SetTimer(nullptr, 0, 10'000, AbortDialog);
    auto result = show();
    KillTimer(nullptr, guard);
    return result;
  }
  TModalResult Open(std::uint8_t mode, std::function<void()> action) {
    return WithDialog(std::move(action), [&] { return form->ShowInputForm(mode); });
  }
  std::optional<TKeyEvent> CaptureWhile(std::function<void()> action) {
    return WithDialog(std::move(action), [&] { return form->CaptureNewKey(); });
  }
  // The overlay is finished with once its fade-out ran.
  static bool OverlayGone() {
    return qorn::testing::WaitFor([] { return !Form_Fog || Form_Fog->Phase() == TForm_Fog::TPhase::Hidden; }, 3s);
  }
  TKeyRecord Binding(std::uint8_t vk) {
    TKeyRecord r;
    r.Name = "Tool key";
    r.Vk = vk;
    r.Code2 = 0x64;
    r.Msg = KeyMsgDown;
    r.Modifiers = std::string(NoModifiers);
    r.ActionCode = 101;
    return r;
  }
};

TEST_F(InputDialog, AKeyPressedIsCapturedNotRunAndShownOverTheDimmedWindow) {
  ASSERT_TRUE(engine().GlobalTable().Add(Binding(VK_F13)));
  bool captureModeWhileOpen = false;
  bool dimmedWhileOpen = false;
  bool showingWhileOpen = false;
  const std::optional<TKeyEvent> captured = CaptureWhile([&] {
    captureModeWhileOpen = engine().CaptureMode();
    showingWhileOpen = dialog().Showing() && dialog().GetVisible();
    dimmedWhileOpen =
        qorn::testing::WaitFor([] { return Form_Fog && Form_Fog->Phase() == TForm_Fog::TPhase::Shown; }, 3s);
    // The dialog alone, then the screen with the dimmed window under it (a shot
    // of the main window would lift it above both).
    qorn::testing::SaveWindowShot(dialog().GetHandle(), qorn::testing::ScreenshotDir() / "input_form_capture.png");
    qorn::testing::SaveScreenshot(qorn::testing::ScreenshotDir() / "input_form_over_main.png");
    EXPECT_EQ(engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgDown), KeyTaken);
  });
  EXPECT_TRUE(captureModeWhileOpen);
  EXPECT_TRUE(showingWhileOpen);
  EXPECT_TRUE(dimmedWhileOpen);
  ASSERT_TRUE(captured.has_value());
  EXPECT_EQ(captured->Vk, VK_F13);
  EXPECT_EQ(captured->Code2, 0x64);
  EXPECT_EQ(tools.runs, 0) << "the captured key is not also run as its binding";
  EXPECT_FALSE(engine().CaptureMode());
  EXPECT_FALSE(dialog().Showing());
  EXPECT_TRUE(OverlayGone()) << "the overlay goes with the dialog";

  // Once the dialog is gone the same key runs its binding again.
  engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgDown);
  engine().RunPending();
  EXPECT_EQ(tools.runs, 1);
}

TEST_F(InputDialog, EveryWayOfClosingEndsCaptureMode) {
  ASSERT_TRUE(engine().GlobalTable().Add(Binding(VK_F14)));
  auto dialogWindow = [this] { return dialog().GetHandle(); };
  struct Case {
    const char* way;
    std::uint8_t mode;
    std::function<void()> close;
    TModalResult expected;
  };
  const Case cases[] = {
      {"a plain Esc captured on the key page", 1, [&] { engine().KeyCallback(VK_ESCAPE, 0x01, 0, KeyMsgDown); },
       TInputForm::ResultKeyCaptured},
      {"Esc on the name page", 2, [&] { engine().KeyCallback(VK_ESCAPE, 0x01, 0, KeyMsgDown); },
       TInputForm::ResultEscaped},
      {"the close box", 1, [&] { PostMessageW(dialogWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }, mrCancel},
      {"Alt+F4", 1, [&] { PostMessageW(dialogWindow(), WM_SYSKEYDOWN, VK_F4, (1 << 29) | 1); }, mrCancel},
      {"OK on the name page", 0,
       [&] {
         dialog().NewKeyName->SetText(L"Mail");
         dialog().InputTab->SetActivePage(dialog().KeyTab);
         EXPECT_TRUE(engine().CaptureMode()) << "the key page switches capture mode on";
         dialog().InputTab->SetActivePage(dialog().NameTab);
         EXPECT_FALSE(engine().CaptureMode());
         dialog().InputTab->SetActivePage(dialog().KeyTab);
         EXPECT_TRUE(engine().CaptureMode());
         dialog().InputTab->SetActivePage(dialog().NameTab);
         dialog().FlatButton1->Click();
       },
       TInputForm::ResultNameOk},
      {"OK on the options page", 3, [&] { dialog().FlatButton2->Click(); }, TInputForm::ResultOptionsOk},
      {"the main window closing", 1, [&] { form->N5Click(nullptr); }, mrCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.way);
    form->Show();
    bool captureModeWhileOpen = false;
    EXPECT_EQ(Open(c.mode,
                   [&] {
                     captureModeWhileOpen = engine().CaptureMode();
                     c.close();
                   }),
              c.expected);
    EXPECT_EQ(captureModeWhileOpen, c.mode == 1);
    EXPECT_FALSE(engine().CaptureMode()) << "the next key would be swallowed";
    EXPECT_FALSE(dialog().Showing());
    EXPECT_FALSE(dialog().GetVisible());
    EXPECT_TRUE(OverlayGone());
    // The next key is looked up again and runs its binding.
    const int before = tools.runs;
    EXPECT_EQ(engine().KeyCallback(VK_F14, 0x64, 0, KeyMsgDown), KeyTaken);
    engine().RunPending();
    EXPECT_EQ(tools.runs, before + 1);
  }
}

TEST_F(InputDialog, APlainEscIsNoKeyToBindButShiftEscIs) {
  const auto captureWith = [&](const char* modifiers) {
    return [this, modifiers] {
      // The hook's modifier state as it is while Shift is held (or not).
      for (int i = 0; i < 8; ++i)
        if (modifiers[i] == '1') engine().ModifierCallback((i + 1) * 10 + 1);
      engine().KeyCallback(VK_ESCAPE, 0x01, 0, KeyMsgDown);
    };
  };
  EXPECT_FALSE(CaptureWhile(captureWith("00000000")).has_value()) << "a plain Esc cancels";
  engine().ResetModifierState();
  const std::optional<TKeyEvent> shiftEsc = CaptureWhile(captureWith("10000000"));
  ASSERT_TRUE(shiftEsc.has_value());
  EXPECT_EQ(shiftEsc->Vk, VK_ESCAPE);
  EXPECT_NE(shiftEsc->Modifiers, std::string(NoModifiers));
}

TEST_F(InputDialog, TextsAreAsLongAsTheBindingHolds) {
  struct Case {
    Vy::TVyTabSheet* page;
    Vy::TVyEdit* edit;
    std::size_t limit;
  };
  const Case cases[] = {{dialog().NameTab, dialog().NewKeyName, 25}, {dialog().SettingTab, dialog().OSDkeyName, 50}};
  EXPECT_EQ(Open(0,
                 [&] {
                   for (const Case& c : cases) {
                     dialog().InputTab->SetActivePage(c.page);
                     c.edit->SetText(L"");
                     c.edit->SetFocus();
                     // Typed, as the user would, one more character than fits.
                     for (std::size_t i = 0; i <= c.limit; ++i)
                       SendMessageW(c.edit->GetHandle(), WM_CHAR, L'a' + static_cast<wchar_t>(i % 26), 1);
                     EXPECT_EQ(c.edit->GetText().size(), c.limit);
                   }
                   dialog().SetModalResult(mrCancel);
                 }),
            mrCancel);
}

TEST_F(InputDialog, TheNamePageConfirmsOnlyANameAndTheSpeedReadsPerSecond) {
  EXPECT_EQ(Open(2,
                 [&] {
                   dialog().NewKeyName->SetText(L"");
                   EXPECT_FALSE(dialog().FlatButton1->GetEnabled());
                   dialog().NewKeyName->SetText(L"Calculator");
                   EXPECT_TRUE(dialog().FlatButton1->GetEnabled());
                   dialog().keyoptautopressspeed->SetPosition(19);
                   EXPECT_EQ(dialog().labelspeed->GetCaption(), L"20 / sec");
                   SendMessageW(dialog().NewKeyName->GetHandle(), WM_CHAR, VK_RETURN, 1);
                 }),
            TInputForm::ResultNameOk)
      << "Enter in the name confirms it";
}

}  // namespace
