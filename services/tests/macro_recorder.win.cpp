// TMacroRecorder with real journal hooks and the real macro file. Wine installs
// journal hooks but never calls them with real input, so the tests call the
// hook procedures with the system's codes and records, as the system would.
// Every test ends its session, so no journal hook is left installed.
// desktop-input: one test makes its own window the foreground window.
#include <gtest/gtest.h>

#include "testing/RecordedMessages.h"
#include "testing/WinTesting.h"

#include "services/MacroRecorder.h"
#include "testing/TempDir.h"
#include "vcl/Clock.h"
#include "vcl/Dialogs.h"
#include "vcl/StringList.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Message boxes are answered at once and remembered.
using TShownMessages = qorn::testing::TRecordedMessages;

// What the system would hand the record hook.
LRESULT Record(UINT message, UINT paramL, UINT paramH, DWORD time) {
  EVENTMSG m{message, paramL, paramH, time, nullptr};
  return TMacroRecorder::RecordHook(HC_ACTION, 0, reinterpret_cast<LPARAM>(&m));
}

class MacroRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm>(nullptr);
    recorder = new TMacroRecorder(form.get());  // owned by the form
    recorder->SetFileName((dir.path() / "quick.mcr").wstring());
    recorder->OnRecordFinished = [this](TObject*) { ++recordFinished; };
    recorder->OnPlaybackFinished = [this](TObject*) { ++playbackFinished; };
    recorder->OnPlaybackCancelled = [this](TObject*) { ++playbackCancelled; };
    recorder->OnRecordCancelled = [this](TObject*) { ++recordCancelled; };
  }
  void TearDown() override {
    form.reset();  // the recorder goes with its form and ends any session
    EXPECT_FALSE(SessionHookAlive());
  }
  // Whether a session of the process still holds a journal hook.
  static bool SessionHookAlive();
  std::vector<std::wstring> FileLines() {
    TStringList l;
    l.LoadFromFile(recorder->GetFileName());
    std::vector<std::wstring> lines;
    for (int i = 0; i < l.Count(); ++i) lines.push_back(l.Strings(i));
    return lines;
  }
  void WriteFile(const std::vector<std::wstring>& lines) {
    TStringList l;
    for (const auto& s : lines) l.Add(s);
    l.SaveToFile(recorder->GetFileName());
  }

  qorn::testing::TempDir dir{"macro"};
  TShownMessages shown;
  TDialogServiceOverride answer{shown};
  std::unique_ptr<TForm> form;
  TMacroRecorder* recorder = nullptr;
  int recordFinished = 0, playbackFinished = 0, playbackCancelled = 0, recordCancelled = 0;
};

TEST_F(MacroRecorderTest, WineInstallsTheJournalHooks) {
  recorder->StartRecording();
  EXPECT_TRUE(shown.texts.empty()) << testing::PrintToString(shown.texts);
  EXPECT_TRUE(recorder->Recording());
  EXPECT_TRUE(TMacroRecorder::HookInstalled());
  recorder->StopRecording();
  EXPECT_FALSE(recorder->Recording());
  EXPECT_FALSE(TMacroRecorder::HookInstalled());
  EXPECT_EQ(recordFinished, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "quick.mcr")) << "no events: no file";
}

TEST_F(MacroRecorderTest, RecordsWhatTheHookIsGivenIntoTheFile) {
  recorder->Options = {roMouseMove};
  recorder->StartRecording();
  ASSERT_TRUE(recorder->Recording());
  Record(WM_KEYDOWN, 4439, 1, 10000);
  Record(WM_KEYUP, 4439, 1, 10040);
  Record(WM_MOUSEMOVE, 300, 200, 10100);
  Record(WM_KEYDOWN, 0x0B30, 1, 10200);  // the 0 key
  recorder->StopRecording();
  const std::vector<std::wstring> expected = {
      L"MessageCount=4", L"KEYDOWN=256,ParamL=w,ParamH=1,Time=0,hwnd=0", L"KEYUP=257,ParamL=w,ParamH=1,Time=40,hwnd=0",
      L"MOUSEMOVE=512,ParamL=300,ParamH=200,Time=100,hwnd=0", L"KEYDOWN=256,ParamL=2864,ParamH=1,Time=200,hwnd=0"};
  EXPECT_EQ(FileLines(), expected);
  EXPECT_EQ(recordFinished, 1);
}

TEST_F(MacroRecorderTest, MovesAreLeftOutWithoutTheMoveOption) {
  recorder->Options = {};
  recorder->StartRecording();
  Record(WM_MOUSEMOVE, 1, 2, 0);
  Record(WM_LBUTTONDOWN, 1, 2, 5);
  Record(WM_MOUSEMOVE, 3, 4, 6);
  recorder->StopRecording();
  EXPECT_EQ(FileLines(), (std::vector<std::wstring>{L"MessageCount=1", L"LBUTTONDOWN=513,ParamL=1,ParamH=2,Time=0,hwnd=0"}));
}

TEST_F(MacroRecorderTest, CtrlBreakEndsTheRecordingAndSavesWithoutItself) {
  recorder->StartRecording();
  Record(WM_KEYDOWN, 4177, 1, 100);
  Record(WM_KEYDOWN, 0x4603, 1, 200);  // VK_CANCEL
  EXPECT_FALSE(TMacroRecorder::HookInstalled()) << "the hook goes at once";
  Record(WM_KEYDOWN, 4439, 1, 300);
  Application->ProcessMessages();  // the file is written after the hook returned
  EXPECT_FALSE(recorder->Recording());
  EXPECT_EQ(recordFinished, 1);
  EXPECT_EQ(FileLines(), (std::vector<std::wstring>{L"MessageCount=1", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0"}));
}

TEST_F(MacroRecorderTest, SettingsCannotChangeDuringARecording) {
  recorder->StartRecording();
  const std::wstring name = recorder->GetFileName();
  try {
    recorder->SetFileName(L"other.mcr");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Can not modify file name while recording Macro.");
  }
  EXPECT_EQ(recorder->GetFileName(), name);
  EXPECT_THROW(recorder->SetRecordingRange(rrApplication), Exception);
  recorder->StartRecording();
  EXPECT_EQ(shown.texts, std::vector<std::wstring>{L"Mouse is already being Journaled, can not restart"});
  recorder->StopRecording();
  recorder->SetFileName(L"");
  EXPECT_THROW(recorder->StartRecording(), Exception);
  EXPECT_THROW(recorder->StartPlayback(), Exception);
}

TEST_F(MacroRecorderTest, TheApplicationRangeSkipsWhatHappensWhileInactive) {
  recorder->SetRecordingRange(rrApplication);
  int chained = 0;
  form.reset();  // a recorder made after another handler chains it
  Application->OnDeactivate = [&](TObject*) { ++chained; };
  form = std::make_unique<TForm>(nullptr);
  recorder = new TMacroRecorder(form.get());
  recorder->SetFileName((dir.path() / "quick.mcr").wstring());
  recorder->SetRecordingRange(rrApplication);
  recorder->StartRecording();
  Record(WM_KEYDOWN, 4177, 1, 0);
  Application->OnDeactivate(Application);
  EXPECT_EQ(chained, 1);
  Record(WM_KEYDOWN, 4439, 1, 10);
  Application->OnActivate(Application);
  Record(WM_KEYDOWN, 4677, 1, 20);
  recorder->StopRecording();
  const auto lines = FileLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[1].find(L"ParamL=q"), std::wstring::npos);
  EXPECT_NE(lines[2].find(L"ParamL=e"), std::wstring::npos);
  form.reset();
  EXPECT_TRUE(Application->OnDeactivate) << "the handler before it is given back";
  Application->OnDeactivate(Application);
  EXPECT_EQ(chained, 2);
  Application->OnDeactivate = nullptr;
}

TEST_F(MacroRecorderTest, TheSystemsCancellationSavesARecording) {
  recorder->StartRecording();
  Record(WM_KEYDOWN, 4177, 1, 0);
  PostThreadMessageW(GetCurrentThreadId(), WM_CANCELJOURNAL, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(recordCancelled, 1);
  EXPECT_EQ(recordFinished, 1);
  EXPECT_FALSE(recorder->Recording());
  EXPECT_EQ(FileLines().size(), 2u);
}

// Plays the file through the playback hook as the system would: asks for each
// event, then skips it, until the recorder reports the end.
std::vector<EVENTMSG> PlayAll(const TMacroRecorder& recorder, std::vector<DWORD>* waits = nullptr) {
  std::vector<EVENTMSG> played;
  for (int guard = 0; recorder.Playing() && guard < 100; ++guard) {
    EVENTMSG m{};
    const LRESULT wait = TMacroRecorder::PlaybackHook(HC_GETNEXT, 0, reinterpret_cast<LPARAM>(&m));
    if (waits) waits->push_back(static_cast<DWORD>(wait));
    played.push_back(m);
    TMacroRecorder::PlaybackHook(HC_SKIP, 0, 0);
  }
  return played;
}

TEST_F(MacroRecorderTest, PlaysEveryEventOfTheFile) {
  WriteFile({L"MessageCount=3", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0",
             L"KEYDOWN=256,ParamL=w,ParamH=1,Time=5,hwnd=0", L"KEYUP=257,ParamL=w,ParamH=1,Time=9,hwnd=0"});
  recorder->PlaybackSpeed = pbFast;
  recorder->StartPlayback();
  ASSERT_TRUE(recorder->Playing());
  EXPECT_TRUE(TMacroRecorder::HookInstalled());
  const auto played = PlayAll(*recorder);
  ASSERT_EQ(played.size(), 3u) << "the last key-up is played too";
  EXPECT_EQ(played[2].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(played[2].paramL, 4439u);
  EXPECT_EQ(playbackFinished, 1);
  EXPECT_FALSE(TMacroRecorder::HookInstalled());
}

TEST_F(MacroRecorderTest, NormalSpeedWaitsForTheRecordedTimes) {
  TManualClock clock(500000);
  TClockOverride use(clock);
  WriteFile({L"MessageCount=2", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0",
             L"KEYUP=257,ParamL=q,ParamH=1,Time=1500,hwnd=0"});
  recorder->StartPlayback();
  EVENTMSG m{};
  EXPECT_EQ(TMacroRecorder::PlaybackHook(HC_GETNEXT, 0, reinterpret_cast<LPARAM>(&m)), 0);
  TMacroRecorder::PlaybackHook(HC_SKIP, 0, 0);
  clock.Advance(100);
  EXPECT_EQ(TMacroRecorder::PlaybackHook(HC_GETNEXT, 0, reinterpret_cast<LPARAM>(&m)), 1400);
  clock.Advance(1400);
  EXPECT_EQ(TMacroRecorder::PlaybackHook(HC_GETNEXT, 0, reinterpret_cast<LPARAM>(&m)), 0);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYUP));
  TMacroRecorder::PlaybackHook(HC_SKIP, 0, 0);
  EXPECT_EQ(playbackFinished, 1);
}

TEST_F(MacroRecorderTest, AMalformedFileRaisesAndLeavesTheRecorderUsable) {
  WriteFile({L"MessageCount=2", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0",
             L"KEYUP=257,ParamL=q,ParamH=oops,Time=5,hwnd=0"});
  EXPECT_THROW(recorder->StartPlayback(), EConvertError);
  EXPECT_FALSE(TMacroRecorder::HookInstalled());
  WriteFile({L"MessageCount=99999", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0"});
  EXPECT_THROW(recorder->StartPlayback(), EMacroFileError);
  WriteFile({L"MessageCount=1", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0"});
  recorder->PlaybackSpeed = pbFast;
  recorder->StartPlayback();
  EXPECT_TRUE(recorder->Playing()) << "a later start still works";
  EXPECT_EQ(PlayAll(*recorder).size(), 1u);
}

TEST_F(MacroRecorderTest, AnEmptyOrMissingFilePlaysNothing) {
  recorder->StartPlayback();
  EXPECT_FALSE(recorder->Playing());
  WriteFile({L"MessageCount=4"});
  recorder->StartPlayback();
  EXPECT_FALSE(recorder->Playing());
  EXPECT_FALSE(TMacroRecorder::HookInstalled());
  EXPECT_EQ(playbackFinished, 0);
}

TEST_F(MacroRecorderTest, TheSystemsCancellationEndsAPlayback) {
  WriteFile({L"MessageCount=2", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=0",
             L"KEYUP=257,ParamL=q,ParamH=1,Time=5,hwnd=0"});
  recorder->StartPlayback();
  ASSERT_TRUE(recorder->Playing());
  PostThreadMessageW(GetCurrentThreadId(), WM_CANCELJOURNAL, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(playbackCancelled, 1);
  EXPECT_EQ(playbackFinished, 0);
  EXPECT_FALSE(recorder->Playing());
}

TEST_F(MacroRecorderTest, RelativeMousePositionsFollowTheForegroundWindow) {
  HWND target = CreateWindowExW(0, L"STATIC", L"macro target", WS_POPUP | WS_VISIBLE, 200, 150, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_TRUE(target);
  // The recording is relative to the window in front.
  const bool inFront = qorn::testing::BringToFront(target);
  if (!inFront) DestroyWindow(target);
  ASSERT_TRUE(inFront) << "another program kept the foreground";
  POINT origin{0, 0};
  ClientToScreen(target, &origin);
  recorder->StartRecording();
  Record(WM_LBUTTONDOWN, origin.x + 30, origin.y + 20, 0);
  recorder->StopRecording();
  EXPECT_NE(FileLines()[1].find(L"ParamL=30,ParamH=20,"), std::wstring::npos) << FileLines()[1];
  recorder->PlaybackSpeed = pbFast;
  recorder->StartPlayback();
  const auto played = PlayAll(*recorder);
  ASSERT_EQ(played.size(), 1u);
  EXPECT_EQ(static_cast<LONG>(played[0].paramL), origin.x + 30);
  EXPECT_EQ(static_cast<LONG>(played[0].paramH), origin.y + 20);
  DestroyWindow(target);
}

TEST(MacroRecorderOwner, MustBeAForm) {
  try {
    TMacroRecorder recorder(nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"Control parent must be a form!");
  }
}

bool MacroRecorderTest::SessionHookAlive() { return TMacroRecorder::HookInstalled(); }

}  // namespace
