// The folder-change watch thread on private folders under C:\: a change is posted to
// the owner window with its slot, all 63 slots fill and a 64th watch is refused
// without leaking its handle, removed slots are reused, and the thread's end closes
// every handle.
// Sixty-odd folder watches load wine's server, which every other test program waits
// on for its windows: this one runs alone.
// ctest-serial
#include <gtest/gtest.h>

#include "controls/extended/tests/ShellTestTree.h"
#include "controls/extended/VyShellWatch.h"
#include "testing/PumpApplication.h"
#include "vcl/WindowHost.h"

#include <algorithm>
#include <memory>
#include <vector>

using namespace Vy;
using Vy::testing::TShellTestTree;

namespace {

constexpr DWORD kNames = FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_FILE_NAME;

// A hidden window that records the slots posted to it.
class TChangeWindow {
 public:
  TChangeWindow()
      : wnd_(AllocateHWnd([this](TMessage& m) {
          if (m.Msg == WM_SHELLCHANGE) {
            slots.push_back(int(m.WParam));
            EXPECT_EQ(m.LParam, 0);
          } else {
            DefaultWindowMessage(wnd_, m);
          }
        })) {}
  ~TChangeWindow() { DeallocateHWnd(wnd_); }
  HWND Handle() const { return wnd_; }
  std::vector<int> slots;

 private:
  HWND wnd_;
};

TEST(VyShellWatch, ChangeIsPostedWithItsSlot) {
  TShellTestTree tree("watch");
  TChangeWindow window;
  const int before = TChangeHandlerThread::OpenChangeHandles();
  {
    TChangeHandlerThread thread(window.Handle());
    int slot = -1;
    EXPECT_FALSE(thread.AddWatch(L"", kNames, slot, false));
    EXPECT_EQ(slot, -1);
    EXPECT_FALSE(thread.AddWatch(tree.Path(L"missing"), kNames, slot, false));
    EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before);
    ASSERT_TRUE(thread.AddWatch(tree.Folder(L"a"), kNames, slot, false));
    EXPECT_EQ(slot, 0);
    ASSERT_TRUE(thread.AddWatch(tree.Folder(L"b"), kNames, slot, true));
    EXPECT_EQ(slot, 1);
    tree.File(L"b\\deep\\new.txt");
    ASSERT_TRUE(PumpUntil([&] { return !window.slots.empty(); }));
    EXPECT_EQ(window.slots.front(), 1) << "the subtree of b changed";
    // b may wake once more for the same burst; a's own change comes with slot 0.
    tree.File(L"a\\new.txt");
    ASSERT_TRUE(PumpUntil([&] { return std::count(window.slots.begin(), window.slots.end(), 0) > 0; }));
    EXPECT_TRUE(std::all_of(window.slots.begin(), window.slots.end(), [](int s) { return s == 0 || s == 1; }));

    thread.RemoveWatch(0);
    EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before + 1);
    ASSERT_TRUE(thread.AddWatch(tree.Path(L"a"), kNames, slot, false));
    EXPECT_EQ(slot, 0) << "a freed slot is used again";
    thread.RemoveAllWatches();
    EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before);
    ASSERT_TRUE(thread.AddWatch(tree.Path(L"b"), kNames, slot, false));
    EXPECT_EQ(slot, 0);
  }
  EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before) << "the thread's end closes what it held";
}

TEST(VyShellWatch, SixtyThreeSlotsAndNoLeakBeyond) {
  TShellTestTree tree("watch-full");
  TChangeWindow window;
  const int before = TChangeHandlerThread::OpenChangeHandles();
  {
    TChangeHandlerThread thread(window.Handle());
    for (int i = 0; i < TChangeHandlerThread::kSlotCount; ++i) {
      int slot = -1;
      ASSERT_TRUE(thread.AddWatch(tree.Folder(std::to_wstring(i)), kNames, slot, false)) << i;
      EXPECT_EQ(slot, i);
    }
    EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before + 63);
    int slot = 0;
    EXPECT_FALSE(thread.AddWatch(tree.Folder(L"one too many"), kNames, slot, false));
    EXPECT_EQ(slot, -1);
    EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before + 63) << "the handle that found no slot is closed";
    // The last slot still reports: the wait set holds all 64 handles.
    tree.File(L"62\\x.txt");
    ASSERT_TRUE(PumpUntil([&] { return !window.slots.empty(); }));
    EXPECT_EQ(window.slots.front(), 62);
  }
  EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before);
}

TEST(VyShellWatch, EndsWhileWaitingWithoutAnOwner) {
  TShellTestTree tree("watch-end");
  const int before = TChangeHandlerThread::OpenChangeHandles();
  auto thread = std::make_unique<TChangeHandlerThread>(nullptr);
  int slot = -1;
  ASSERT_TRUE(thread->AddWatch(tree.Folder(L"a"), kNames, slot, true));
  tree.File(L"a\\x.txt");  // a change nobody hears of
  thread.reset();
  EXPECT_EQ(TChangeHandlerThread::OpenChangeHandles(), before);
}

}  // namespace
