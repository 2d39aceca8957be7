// The shell list hears of files created, renamed and deleted in its folder through the
// folder-change watch thread, and merges them in: untouched items keep their selection.
// The watch thread loads wine's server, which every other test program waits on for
// its windows: this one runs alone.
// ctest-serial
#include <gtest/gtest.h>

#include "controls/extended/VyShellWatch.h"
#include "controls/extended/tests/VyShellListTest.h"

#include <filesystem>
#include <functional>

using namespace Vy;
using namespace Vy::testing;
using namespace std::chrono_literals;

namespace {

class VyShellListWatch : public ShellListTest {
 protected:
  VyShellListWatch() : ShellListTest(kDefaultShellListOptions) {}
  // Changes arrive from the watch thread and are merged after the list's pause.
  bool Shows(const std::wstring& name, bool shown) {
    return PumpUntil([&] { return (RowOf(name) >= 0) == shown; }, 10s);
  }
};

TEST_F(VyShellListWatch, FileChangesReachTheListAndKeepTheSelection) {
  Tree().File(L"kept.txt");
  Tree().File(L"old.txt");
  Tree().File(L"gone.txt");
  Show(L"");
  ASSERT_EQ(Names(), (std::vector<std::wstring>{L"gone.txt", L"kept.txt", L"old.txt"}));
  SelectOnly(L"kept.txt");
  TListItem* kept = list->GetItems()->Item(RowOf(L"kept.txt"));

  Tree().File(L"new.txt");
  EXPECT_TRUE(Shows(L"new.txt", true));
  std::filesystem::rename(Tree().Path(L"old.txt"), Tree().Path(L"renamed.txt"));
  EXPECT_TRUE(Shows(L"renamed.txt", true));
  EXPECT_TRUE(Shows(L"old.txt", false));
  std::filesystem::remove(Tree().Path(L"gone.txt"));
  EXPECT_TRUE(Shows(L"gone.txt", false));

  EXPECT_EQ(Names(), (std::vector<std::wstring>{L"kept.txt", L"new.txt", L"renamed.txt"})) << "merged in order";
  EXPECT_EQ(list->GetItems()->Item(RowOf(L"kept.txt")), kept) << "the same item, not a new one";
  EXPECT_TRUE(kept->GetSelected());
}

TEST_F(VyShellListWatch, TheWatchFollowsTheFolderAndEndsWithTheWindow) {
  Tree().Folder(L"sub");
  Tree().File(L"sub\\inside.txt");
  // Nothing else in this program watches folders: every handle open is the list's.
  Show(L"");
  EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), 1);
  SelectOnly(L"sub");
  list->OpenSelection();
  ASSERT_EQ(list->FolderPath(), Tree().Path(L"sub"));
  EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), 1) << "one folder watched at a time";
  // A file in the folder left behind changes nothing here.
  Tree().File(L"outside.txt");
  Tree().File(L"sub\\second.txt");
  EXPECT_TRUE(Shows(L"second.txt", true));
  EXPECT_EQ(RowOf(L"outside.txt"), -1);
  form.reset();
  EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), 0);
}

// The steps run inside the list's open context menu: make a file, wait until the
// list's window has been told of the change, note what it shows then, close the menu.
struct TMenuScript {
  static inline HWND list = nullptr;
  static inline std::function<void()> makeFile;
  static inline std::function<bool()> shownInMenu;
  static inline bool fileMade = false, changeSeen = false, shownBeforeClose = true;
  static inline int ticks = 0;

  static LRESULT CALLBACK SeeChange(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && message->hwnd == list && message->message == WM_SHELLCHANGE) changeSeen = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
    if (!fileMade) {
      fileMade = true;
      makeFile();
      return;
    }
    // A bound for a slow machine: the expectations below tell what went wrong.
    if (changeSeen || ticks > 500) {
      shownBeforeClose = shownInMenu();
      EndMenu();
    }
  }
};

TEST_F(VyShellListWatch, AChangeDuringTheContextMenuIsAppliedWhenItCloses) {
  Tree().File(L"clicked.txt");
  Show(L"");
  SelectOnly(L"clicked.txt");
  TMenuScript::list = list->GetHandle();
  TMenuScript::makeFile = [this] { Tree().File(L"made in menu.txt"); };
  TMenuScript::shownInMenu = [this] { return RowOf(L"made in menu.txt") >= 0; };
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &TMenuScript::SeeChange, nullptr, GetCurrentThreadId());
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &TMenuScript::Step);
  const TRect rect = list->GetItems()->Item(0)->DisplayRect(drLabel);
  const TPoint at = list->ClientToScreen(TPoint(rect.Left + 4, rect.Top + 4));
  SendMessageW(list->GetHandle(), WM_CONTEXTMENU, WPARAM(list->GetHandle()), MAKELPARAM(at.X, at.Y));
  KillTimer(nullptr, timer);
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(TMenuScript::fileMade) << "the menu never ran its loop";
  EXPECT_TRUE(TMenuScript::changeSeen);
  EXPECT_FALSE(TMenuScript::shownBeforeClose) << "nothing changes under an open menu";
  EXPECT_GE(RowOf(L"made in menu.txt"), 0) << "applied at once when the menu closed";
}

}  // namespace
