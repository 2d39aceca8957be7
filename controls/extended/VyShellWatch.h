// TChangeHandlerThread: the worker that waits on the file system's change
// notifications of the folders a shell control watches, and posts the control's
// window a message when one of them fires.
//
// Only the worker touches the wait set. The GUI thread makes a change handle and
// hands it over through a request: it writes the request, sets ActionEvent and waits
// for ActionDoneEvent. The worker never blocks anywhere but in its one wait, so the
// GUI thread waits for the answer without a timeout (or until the worker is gone):
// one request is in flight at a time and every answer belongs to its request.
//
// The thread owns every handle it was given: a handle that finds no free slot is
// closed at once, and the rest when the thread object goes, after the worker ended.
#pragma once
#include "vcl/ScopeGuards.h"
#include "vcl/Thread.h"
#include "vcl/Win.h"

#include <array>
#include <atomic>
#include <string>

namespace Vy {

// The message both shell controls receive; wParam is the slot, lParam 0.
constexpr unsigned WM_SHELLCHANGE = WM_USER + 101;

class TChangeHandlerThread : public TThread {
 public:
  // With the action event, the wait set then holds MAXIMUM_WAIT_OBJECTS handles.
  static constexpr int kSlotCount = MAXIMUM_WAIT_OBJECTS - 1;

  TChangeHandlerThread(HWND ownerWindow, unsigned changeMessage = WM_SHELLCHANGE);
  // Ends the worker, waits for it, then closes every handle.
  ~TChangeHandlerThread() override;

  // Watches the folder (and its subtree when asked); false for an empty path, a
  // folder that cannot be watched, or when every slot is taken. `slot` is where it
  // went.
  bool AddWatch(const std::wstring& path, DWORD filter, int& slot, bool watchSubtree);
  void RemoveWatch(int slot);
  void RemoveAllWatches();

  // Change handles open in this process, for tests that check none is left.
  static int OpenChangeHandles() { return openHandles_.load(); }

 protected:
  void Execute() override;

 private:
  enum class TAction : unsigned char { Add, Remove, RemoveAll, End };
  // False when the worker is gone.
  bool Request(TAction action);
  void CloseSlot(int slot);
  static void CloseChangeHandle(HANDLE handle);

  TUniqueHandle FActionEvent;
  TUniqueHandle FActionDoneEvent;
  HANDLE FPendingHandle = INVALID_HANDLE_VALUE;
  int FPendingRemoveIndex = -1;
  HWND FOwnerWindow;
  unsigned FChangeMessage;
  std::array<HANDLE, kSlotCount> FHandleSlots;
  int FNewHandleIndex = -1;
  TAction FAction = TAction::Add;

  static std::atomic<int> openHandles_;
};

}  // namespace Vy
