// The process list against real processes under wine: a program started after the
// last refresh is found through one refresh, the key road's question reads only the
// one process it needs, every process is named with its full path, and the kinds,
// captions and descriptions of the records.
#include <gtest/gtest.h>

#include "services/ProcessList.h"
#include "testing/WinTesting.h"
#include "vcl/WinVersion.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace {

using namespace std::chrono_literals;

std::filesystem::path Trayee() { return std::filesystem::path(QORN_BINARY_DIR) / "bin" / "trayee.exe"; }

bool SamePath(const std::wstring& a, const std::filesystem::path& b) {
  std::error_code ec;
  return std::filesystem::equivalent(std::filesystem::path(a), b, ec);
}

class ProcessListTest : public ::testing::Test {
 protected:
  void Start(const wchar_t* title) {
    program = qorn::testing::Process(Trayee(), std::wstring(L"plain \"") + title + L"\"");
    window = qorn::testing::WaitForWindow(L"QornTrayeeMain", title, 20s);
    ASSERT_TRUE(window);
  }
  void TearDown() override { Processes().Clear(); }
  qorn::testing::Process program;
  HWND window = nullptr;
};

TEST_F(ProcessListTest, AWindowMadeAfterTheRefreshIsFoundThroughOneRefresh) {
  Processes().Refresh();
  ASSERT_GT(Processes().Count(), 0);
  Start(L"Process list: late window");
  EXPECT_EQ(Processes().FindByID(program.id(), false), nullptr) << "not there before the refresh";
  EXPECT_TRUE(SamePath(Processes().FindFileByWindow(window), Trayee()));
  TacProcess* record = Processes().FindByID(program.id(), false);
  ASSERT_NE(record, nullptr);
  EXPECT_GE(record->WindowCount(), 2) << "its main and tool windows";
  EXPECT_NE(std::find(record->GetWindows().begin(), record->GetWindows().end(), window), record->GetWindows().end());
  EXPECT_EQ(record->GetKind(), TProcessKind::VisibleWindow);
  // The caption is the first text of a visible window, in the system's order.
  std::wstring first;
  for (HWND w : record->GetWindows())
    if (IsWindowVisible(w) && first.empty()) first = WindowText(w);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(record->GetCaption(), first);
  EXPECT_EQ(Processes().FindFileByWindow(nullptr), L"");
}

TEST_F(ProcessListTest, TheKeyRoadsQuestionReadsOnlyTheProcessItNeeds) {
  Start(L"Process list: key road");
  Processes().Clear();
  EXPECT_TRUE(SamePath(Processes().ProcessPathOfWindow(window), Trayee()));
  EXPECT_EQ(Processes().Count(), 1) << "no listing of every process for one window";
  // Asked again, it answers from what it holds.
  EXPECT_TRUE(SamePath(Processes().ProcessPathOfWindow(window), Trayee()));
  EXPECT_EQ(Processes().Count(), 1);
  EXPECT_EQ(Processes().ProcessPathOfWindow(nullptr), L"");
}

TEST_F(ProcessListTest, AWindowOfAnotherProcessUnderAnOldHandleIsNotTakenForTheOldOne) {
  Start(L"Process list: handle reuse");
  Processes().Clear();
  // A record that claims the window for a process that no longer owns it.
  auto stale = std::make_unique<TacProcess>(0x7FFF0, L"C:\\gone\\old.exe");
  ASSERT_EQ(Processes().Add(std::move(stale)), 0);
  Processes().ProcessPathOfWindow(window);  // lists trayee with the window
  Processes().Items(0);                     // the stale one is still first
  EXPECT_TRUE(SamePath(Processes().ProcessPathOfWindow(window), Trayee()));
}

TEST(ProcessRecords, ADuplicateProcessIdIsRefused) {
  TacProcesses list;
  EXPECT_EQ(list.Add(std::make_unique<TacProcess>(42, L"C:\\a.exe")), 0);
  EXPECT_EQ(list.Add(std::make_unique<TacProcess>(42, L"C:\\b.exe")), -1);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0)->GetExePath(), L"C:\\a.exe");
  EXPECT_THROW(list.Items(1), EListError);
  EXPECT_THROW(list.Items(-1), EListError);
}

TEST(ProcessRecords, KindAndCaptionFromTheProgramsNameAndWindows) {
  TacProcess explorer(1, L"C:\\windows\\explorer.exe");
  EXPECT_EQ(explorer.GetKind(), TProcessKind::Explorer);
  EXPECT_EQ(explorer.GetCaption(), L"Windows Explorer");
  TacProcess capital(2, L"C:\\windows\\Explorer.exe");
  EXPECT_EQ(capital.GetKind(), TProcessKind::NoWindows) << "the name is compared as written";
  TacProcess tray(3, L"C:\\windows\\systray.exe");
  EXPECT_EQ(tray.GetCaption(), L"System tray");
}

TEST(ProcessRecords, AProgramWithoutADescriptionIsDescribedByItsName) {
  TacProcess missing(5, L"C:\\nowhere\\missing.exe");
  EXPECT_EQ(missing.GetDescription(), L"missing.exe");
}

TEST(ProcessEnumeration, EveryProcessIsNamedWithItsFullPathAndOnlyOnce) {
  const auto list = GetProcessList();
  ASSERT_FALSE(list.empty());
  const DWORD self = GetCurrentProcessId();
  const auto me = std::find_if(list.begin(), list.end(), [&](const TProcessEntry& e) { return e.id == self; });
  ASSERT_NE(me, list.end());
  wchar_t own[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH);
  EXPECT_TRUE(SamePath(me->path, own));
  for (std::size_t i = 0; i < list.size(); ++i)
    for (std::size_t j = i + 1; j < list.size(); ++j) EXPECT_NE(list[i].id, list[j].id);
}

// The NT family is told by its platform, not by a version number: 5.2 (XP x64,
// Server 2003) gets full paths too; only the old family gets the snapshot's names.
TEST(ProcessEnumeration, ThePlatformNotTheVersionChoosesHowProcessesAreNamed) {
  {
    const TWindowsVersionOverride xp64({5, 2, 3790, Win32PlatformNT});
    const auto list = GetProcessList();
    ASSERT_FALSE(list.empty());
    EXPECT_TRUE(std::all_of(list.begin(), list.end(), [](const TProcessEntry& e) {
      return e.path.find(L'\\') != std::wstring::npos;
    })) << "full paths on the NT family";
  }
  const TWindowsVersionOverride old({4, 10, 2222, Win32PlatformWindows});
  const auto list = GetProcessList();
  ASSERT_FALSE(list.empty());
  EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](const TProcessEntry& e) {
    return e.path.find(L'\\') != std::wstring::npos;
  })) << "bare program names from the snapshot";
}

}  // namespace
