#include "controls/extended/VyShellWatch.h"

#include <vector>

#include "vcl/Exceptions.h"

namespace Vy {

std::atomic<int> TChangeHandlerThread::openHandles_{0};

TChangeHandlerThread::TChangeHandlerThread(HWND ownerWindow, unsigned changeMessage)
    : TThread(true),
      FActionEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      FActionDoneEvent(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      FOwnerWindow(ownerWindow),
      FChangeMessage(changeMessage) {
  FHandleSlots.fill(INVALID_HANDLE_VALUE);
  if (!FActionEvent || !FActionDoneEvent) RaiseLastOSError();
  Resume();
}

TChangeHandlerThread::~TChangeHandlerThread() {
  if (Handle() && !Finished()) {
    FAction = TAction::End;
    SetEvent(FActionEvent.get());
    WaitFor();
  }
  for (HANDLE& h : FHandleSlots) CloseChangeHandle(std::exchange(h, INVALID_HANDLE_VALUE));
  CloseChangeHandle(std::exchange(FPendingHandle, INVALID_HANDLE_VALUE));
}

void TChangeHandlerThread::CloseChangeHandle(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE || !handle) return;
  FindCloseChangeNotification(handle);
  --openHandles_;
}

void TChangeHandlerThread::CloseSlot(int slot) {
  CloseChangeHandle(std::exchange(FHandleSlots[std::size_t(slot)], INVALID_HANDLE_VALUE));
}

bool TChangeHandlerThread::Request(TAction action) {
  FAction = action;
  ResetEvent(FActionDoneEvent.get());
  SetEvent(FActionEvent.get());
  HANDLE waits[2] = {FActionDoneEvent.get(), Handle()};
  return WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0;
}

bool TChangeHandlerThread::AddWatch(const std::wstring& path, DWORD filter, int& slot, bool watchSubtree) {
  slot = -1;
  if (path.empty()) return false;
  HANDLE handle = FindFirstChangeNotificationW(path.c_str(), watchSubtree, filter);
  if (handle == INVALID_HANDLE_VALUE || !handle) return false;
  ++openHandles_;
  FPendingHandle = handle;
  if (!Request(TAction::Add)) {
    // The worker is gone: the handle never reached it.
    CloseChangeHandle(std::exchange(FPendingHandle, INVALID_HANDLE_VALUE));
    return false;
  }
  slot = FNewHandleIndex;
  return slot != -1;
}

void TChangeHandlerThread::RemoveWatch(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  FPendingRemoveIndex = slot;
  Request(TAction::Remove);
}

void TChangeHandlerThread::RemoveAllWatches() { Request(TAction::RemoveAll); }

void TChangeHandlerThread::Execute() {
  std::vector<HANDLE> waits;
  std::vector<int> slotOf;
  // Terminated only when the constructor failed before any request could come.
  while (!Terminated()) {
    waits.assign(1, FActionEvent.get());
    slotOf.assign(1, -1);
    for (int s = 0; s < kSlotCount; ++s) {
      if (FHandleSlots[std::size_t(s)] == INVALID_HANDLE_VALUE) continue;
      waits.push_back(FHandleSlots[std::size_t(s)]);
      slotOf.push_back(s);
    }
    const DWORD count = DWORD(waits.size());
    const DWORD result = WaitForMultipleObjects(count, waits.data(), FALSE, INFINITE);
    if (result == WAIT_OBJECT_0) {
      switch (FAction) {
        case TAction::Add: {
          FNewHandleIndex = -1;
          for (int s = 0; s < kSlotCount && FNewHandleIndex < 0; ++s)
            if (FHandleSlots[std::size_t(s)] == INVALID_HANDLE_VALUE) FNewHandleIndex = s;
          HANDLE pending = std::exchange(FPendingHandle, INVALID_HANDLE_VALUE);
          if (FNewHandleIndex >= 0) FHandleSlots[std::size_t(FNewHandleIndex)] = pending;
          else CloseChangeHandle(pending);  // no room: it must not leak
          break;
        }
        case TAction::Remove:
          if (FPendingRemoveIndex >= 0 && FPendingRemoveIndex < kSlotCount) CloseSlot(FPendingRemoveIndex);
          break;
        case TAction::RemoveAll:
          for (int s = 0; s < kSlotCount; ++s) CloseSlot(s);
          break;
        case TAction::End: return;
      }
      SetEvent(FActionDoneEvent.get());
    } else if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
      const int slot = slotOf[result - WAIT_OBJECT_0];
      if (FOwnerWindow) PostMessageW(FOwnerWindow, FChangeMessage, WPARAM(slot), 0);
      if (!FindNextChangeNotification(FHandleSlots[std::size_t(slot)])) CloseSlot(slot);
    } else if (result > WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count) {
      CloseSlot(slotOf[result - WAIT_ABANDONED_0]);
    }
  }
}

}  // namespace Vy
