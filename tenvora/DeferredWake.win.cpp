#include "tenvora/DeferredWake.win.h"

namespace qorn::tenvora {

bool DeferredWake::Start() {
  AcquireSRWLockExclusive(&lock_);
  if (!thread_) thread_ = CreateThread(nullptr, 0, &DeferredWake::ThreadMain, this, 0, nullptr);
  const bool running = thread_ != nullptr;
  ReleaseSRWLockExclusive(&lock_);
  return running;
}

bool DeferredWake::Request(HWND owner, std::uint64_t opened) {
  AcquireSRWLockExclusive(&lock_);
  const bool running = thread_ != nullptr;
  if (running) {
    pending_ = true;
    owner_ = owner;
    opened_ = opened;
  }
  ReleaseSRWLockExclusive(&lock_);
  if (running) WakeConditionVariable(&requested_);
  return running;
}

DWORD WINAPI DeferredWake::ThreadMain(void* self) {
  static_cast<DeferredWake*>(self)->Run();
  return 0;
}

void DeferredWake::Run() {
  for (;;) {
    AcquireSRWLockExclusive(&lock_);
    while (!pending_) SleepConditionVariableSRW(&requested_, &lock_, INFINITE, 0);
    ReleaseSRWLockExclusive(&lock_);
    Sleep(DelayMs);
    AcquireSRWLockExclusive(&lock_);
    pending_ = false;
    const HWND owner = owner_;
    const std::uint64_t opened = opened_;
    ReleaseSRWLockExclusive(&lock_);
    // An owner window gone meanwhile is harmless: the exchange notices an owner
    // that does not drain and lets keys pass.
    SendNotifyMessageW(owner, WM_TENVORA_DRAIN, static_cast<WPARAM>(opened), 0);
  }
}

}  // namespace qorn::tenvora
