// The shell tree following the file system through its watch thread, over wine's
// shell32 and private folders under C:\: a change arrives as a notice, the refresh
// waits for the burst to settle, and a change while the item's context menu is open
// is applied once the menu closes, never lost.
// The watch thread waits on wine's server, which every other test program's windows
// wait on too: this one runs alone.
// ctest-serial
#include "controls/extended/tests/ShellTreeTest.h"
#include "vcl/Clock.h"

#include <chrono>

using namespace Vy;
using namespace Vy::testing;

namespace {

constexpr TVyShellTreeOptions kWatchingOptions = kTestTreeOptions + TVyShellTreeOptions{stoDynamicRefresh};

class VyShellTreeWatch : public ShellTreeTest {
 protected:
  VyShellTreeWatch() : ShellTreeTest(kWatchingOptions) {}
};

TEST_F(VyShellTreeWatch, AChangeOnDiskIsMergedOnceTheBurstSettles) {
  TManualClock clock;
  TClockOverride useClock(clock);
  ASSERT_NE(Root(), nullptr);
  disk.Folder(L"d");
  ASSERT_TRUE(PumpUntil([&] { return tree->changes > 0; })) << "the watch thread tells";
  disk.Folder(L"e");
  Pump(std::chrono::milliseconds(30));
  EXPECT_EQ(Node(L"d"), nullptr) << "the refresh waits for the burst to end";
  clock.Advance(2000);
  ASSERT_TRUE(PumpUntil([&] { return Node(L"d") != nullptr; }));
  EXPECT_EQ(Texts(Root()), (std::vector<std::wstring>{L"a", L"b", L"d", L"e"}));
}

// Closes the open menu once the tree put a refresh off (or after a bound).
int ticks = 0;
TTestShellTree* menuTree = nullptr;
TShellTestTree* menuDisk = nullptr;
void CALLBACK WhileTheMenuIsOpen(HWND, UINT, UINT_PTR id, DWORD) {
  if (++ticks == 1) menuDisk->Folder(L"made during the menu");
  if (menuTree->RefreshRequested() || ticks > 300) {
    KillTimer(nullptr, id);
    EndMenu();
  }
}

TEST_F(VyShellTreeWatch, AChangeDuringTheContextMenuIsAppliedAfterIt) {
  TTreeNode* b = Node(L"b");
  ASSERT_NE(b, nullptr);
  const TRect r = b->DisplayRect(true);
  const TPoint screen = tree->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  ticks = 0;
  menuTree = tree;
  menuDisk = &disk;
  SetTimer(nullptr, 0, 10, &WhileTheMenuIsOpen);
  tree->Perform(WM_CONTEXTMENU, reinterpret_cast<uintptr_t>(tree->GetHandle()),
                static_cast<intptr_t>(MAKELPARAM(WORD(screen.X), WORD(screen.Y))));
  EXPECT_GT(ticks, 1) << "the menu was open";
  EXPECT_FALSE(tree->InMenuOrDrag());
  EXPECT_FALSE(tree->RefreshRequested());
  EXPECT_NE(Node(L"made during the menu"), nullptr) << "applied when the menu closed";
}

}  // namespace
