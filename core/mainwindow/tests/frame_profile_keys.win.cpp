// The profile manager page hosted by the real main window (TMainFormProfileHost):
// a profile bound to a program there is the one the key road runs while that
// program is in front, whatever letter case the user chose the program in.
// ctest-lock: main-window
// ctest-lock: keyboard
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/mainwindow/FrameProfile.h"
#include "core/mainwindow/MainFormProfileHost.h"
#include "core/mainwindow/MainWindow.h"
#include "core/settings/SettingsFolder.h"
#include "core/settings/tests/SettingsTestSupport.h"
#include "testing/PumpApplication.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct TRecordingWindows final : IActionExecutor {
  std::vector<std::string> params;
  void Execute(int, int, TActionContext& context) override { params.push_back(context.Params); }
};

TKeyRecord F13Runs(const std::string& what) {
  TKeyRecord r;
  r.Name = "F13";
  r.Vk = VK_F13;
  r.Code2 = 0x64;
  r.Msg = KeyMsgDown;
  r.Modifiers = NoModifiers;
  r.ActionCode = 81;
  r.Params = what;
  return r;
}

// The profiles as a user left them: "everywhere" active, "tester" another global one.
void WriteProfiles(const fs::path& folder) {
  TKeyTable live, perProgram, edit;
  TProfileState state;
  TFakeKeyList keys;
  TRecordingReporter reporter;
  TProfileStore store(folder, {live, perProgram, edit}, state, keys, reporter);
  fs::create_directories(folder / "profiles");
  edit.Add(F13Runs("tester"));
  ASSERT_TRUE(store.savepfl("tester", "-", 2));
  edit.Clear();
  edit.Add(F13Runs("everywhere"));
  ASSERT_TRUE(store.savepfl("everywhere", "-", 2));
  ASSERT_TRUE(store.saveprofilesbd());
}

// A window of this program, in front with the keyboard.
struct TFrontWindow {
  HWND hwnd = CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 40, 40, 200, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ~TFrontWindow() { DestroyWindow(hwnd); }
  bool activate() {
    return qorn::testing::BringToFront(hwnd);
  }
};

struct FrameProfileKeys : ::testing::Test {
  qorn::testing::TempDir dir{"frameprofilekeys"};
  TMainForm* form = nullptr;
  TRecordingWindows windowsActions;

  void SetUp() override {
    ProfileState = TProfileState{};
    WriteProfiles(dir.path());
    SettingsFolder = FolderText(dir.path());
    form = CreateForm<TMainForm>(Application);
    ASSERT_EQ(MainForm, form);
    form->Executors.Set(TActionFamily::Windows, &windowsActions);
  }
  void TearDown() override {
    delete form;
    SettingsFolder.clear();
    ProfileState = TProfileState{};
  }
  // F13 pressed with this program in front; what its binding ran.
  std::string PressF13() {
    windowsActions.params.clear();
    form->Engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgDown);
    form->Engine().KeyCallback(VK_F13, 0x64, 0, KeyMsgUp);
    PumpUntil([&] { return !windowsActions.params.empty(); }, 5s);
    return windowsActions.params.empty() ? std::string("nothing") : windowsActions.params.back();
  }
};

TEST_F(FrameProfileKeys, AProfileBoundOnThePageRunsWhileItsProgramIsInFront) {
  TFrontWindow front;
  ASSERT_TRUE(front.activate());
  ASSERT_EQ(ProfileState.ActiveGlobalProfile, "everywhere");
  EXPECT_EQ(PressF13(), "everywhere");

  int closed = 0;
  TMainFormProfileHost host(*form, {}, [&] { ++closed; });
  TFrameProfile* frame = CreateFrame<TFrameProfile>(form);
  frame->Attach(host);
  frame->SetParent(form);
  frame->FillTable();
  // This test program, chosen as the user might type it: upper case, short of nothing.
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring typed = self;
  CharUpperBuffW(typed.data(), static_cast<DWORD>(typed.size()));
  TListItems* rows = frame->pfltable->GetItems();
  for (int i = 0; i < rows->Count(); ++i)
    if (rows->Item(i)->GetCaption() == L"tester") frame->pfltable->SetItemIndex(i);
  Pump(10ms);
  ASSERT_EQ(frame->SelectedProfile(), "tester");
  frame->B_SetToApp->Click();
  frame->VyButtonEdit1->SetText(typed);
  frame->B_Close->Click();
  EXPECT_TRUE(PumpUntil([&] { return closed == 1; }));
  EXPECT_NE(form->ProfileStore().getprofiletipe("tester"), "-");

  ASSERT_TRUE(front.activate());
  EXPECT_EQ(PressF13(), "tester") << "the program's own profile";
  delete frame;
}
}  // namespace
