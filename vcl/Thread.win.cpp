#include "vcl/Thread.h"

#include "vcl/WindowHost.h"
#include "vcl/Win.h"

#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <stdexcept>


namespace {

// One queued Synchronize call; the worker waits on done.
struct SyncCall {
  const std::function<void()>* method = nullptr;
  std::exception_ptr error;
  HANDLE done = nullptr;
};

// The GUI thread's side of Synchronize: the queue and the hidden window that
// services it. Made once, on the first thread that asks (the GUI thread: the
// application object and TThread constructors ask).
class SyncQueue {
 public:
  static SyncQueue& Get() {
    static SyncQueue queue;
    return queue;
  }

  bool IsMainThread() const { return GetCurrentThreadId() == mainThread_; }
  HANDLE Signal() const { return signal_; }

  void Post(SyncCall* call) {
    {
      std::lock_guard lock(mutex_);
      calls_.push_back(call);
    }
    SetEvent(signal_);
    PostMessageW(window_, CM_SYNCHRONIZE, 0, 0);
  }

  bool RunQueued() {
    bool ran = false;
    for (;;) {
      SyncCall* call = nullptr;
      {
        std::lock_guard lock(mutex_);
        if (calls_.empty()) {
          ResetEvent(signal_);
          break;
        }
        call = calls_.front();
        calls_.pop_front();
      }
      try {
        (*call->method)();
      } catch (...) {
        call->error = std::current_exception();
      }
      SetEvent(call->done);
      ran = true;
    }
    return ran;
  }

 private:
  SyncQueue() : mainThread_(GetCurrentThreadId()), signal_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    window_ = AllocateHWnd([this](TMessage& m) {
      if (m.Msg == CM_SYNCHRONIZE)
        RunQueued();
      else
        DefaultWindowMessage(window_, m);
    });
  }

  DWORD mainThread_;
  HANDLE signal_;
  HWND window_ = nullptr;
  std::mutex mutex_;
  std::deque<SyncCall*> calls_;
};

}  // namespace

TThread::TThread(bool createSuspended) {
  SyncQueue::Get();
  suspended_ = createSuspended;
  DWORD id = 0;
  handle_.reset(CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id));
  id_ = id;
  if (!handle_) throw std::runtime_error("Thread creation error");
  if (!createSuspended) ResumeThread(handle_.get());
}

TThread::~TThread() {
  // A FreeOnTerminate thread frees itself on its own thread, after it finished.
  if (handle_ && GetCurrentThreadId() != id_) {
    if (!finished_) {
      Terminate();
      while (suspended_) Resume();
      WaitFor();
    }
  }
}

void TThread::Resume() {
  if (!suspended_) return;
  suspended_ = false;
  ResumeThread(handle_.get());
}

void TThread::Suspend() {
  suspended_ = true;
  SuspendThread(handle_.get());
}

int TThread::WaitFor() {
  auto& queue = SyncQueue::Get();
  if (queue.IsMainThread()) {
    // The worker may be waiting in Synchronize for this very thread.
    HANDLE handles[2] = {handle_.get(), queue.Signal()};
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) queue.RunQueued();
  } else {
    WaitForSingleObject(handle_.get(), INFINITE);
  }
  return ReturnValue;
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

unsigned long __stdcall TThread::ThreadProc(void* param) {
  auto* self = static_cast<TThread*>(param);
  // No exception may leave a thread routine; an escaped one ends Execute quietly.
  try {
    if (!self->terminated_) self->Execute();
  } catch (...) {
  }
  const bool freeSelf = self->FreeOnTerminate;
  try {
    self->DoTerminate();
  } catch (...) {
  }
  const int result = self->ReturnValue;
  self->finished_ = true;
  if (freeSelf) delete self;
  return static_cast<unsigned long>(result);
}

void TThread::Synchronize(const std::function<void()>& method) {
  auto& queue = SyncQueue::Get();
  if (queue.IsMainThread()) {
    method();
    return;
  }
  SyncCall call;
  call.method = &method;
  const TUniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  call.done = done.get();
  queue.Post(&call);
  WaitForSingleObject(call.done, INFINITE);
  if (call.error) std::rethrow_exception(call.error);
}

bool TThread::CheckSynchronize() {
  auto& queue = SyncQueue::Get();
  // Queued calls belong to the GUI thread only.
  return queue.IsMainThread() && queue.RunQueued();
}

bool TThread::IsMainThread() { return SyncQueue::Get().IsMainThread(); }

