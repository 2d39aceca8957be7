#include "core/plugins/PluginCall.h"

#include "vcl/Win.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// One guarded call in progress on a thread: where to resume after a fault.
struct GuardFrame {
  CONTEXT resume;
  volatile LONG faulted;
  volatile DWORD code;
  GuardFrame* outer;
};

DWORD g_guardSlot = TLS_OUT_OF_INDEXES;
std::once_flag g_installOnce;

bool IsProcessorFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_STACK_OVERFLOW:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_INEXACT_RESULT: return true;
    default: return false;
  }
}

// First in line for every exception of the process; it only acts on a processor
// fault of a thread that is inside a guarded call, and resumes that thread where
// the call began, as if the call had returned.
LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
  auto* frame = static_cast<GuardFrame*>(TlsGetValue(g_guardSlot));
  if (!frame || !IsProcessorFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
  frame->faulted = 1;
  frame->code = info->ExceptionRecord->ExceptionCode;
  TlsSetValue(g_guardSlot, frame->outer);
  *info->ContextRecord = frame->resume;
  return EXCEPTION_CONTINUE_EXECUTION;
}

void InstallOnce() {
  std::call_once(g_installOnce, [] {
    g_guardSlot = TlsAlloc();
    AddVectoredExceptionHandler(1, OnException);
  });
}

}  // namespace

// Not inlined: the resume point must be this function's own frame.
__attribute__((noinline)) TPluginCallResult CallGuarded(void (*call)(void*), void* context) {
  InstallOnce();
  GuardFrame frame{};
  frame.outer = static_cast<GuardFrame*>(TlsGetValue(g_guardSlot));
  RtlCaptureContext(&frame.resume);
  // A fault comes back here with every register as it was at the capture.
  if (frame.faulted) return {TPluginCallOutcome::Faulted, frame.code};
  TlsSetValue(g_guardSlot, &frame);
  call(context);
  TlsSetValue(g_guardSlot, frame.outer);
  return {TPluginCallOutcome::Returned, 0};
}

namespace {

struct WorkerCall {
  std::function<void()> call;
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  TPluginCallResult result;
  ~WorkerCall() { CloseHandle(done); }
};

DWORD WINAPI RunWorker(LPVOID param) {
  // The worker holds its own share: a caller that stopped waiting may be gone.
  std::shared_ptr<WorkerCall> work(*static_cast<std::shared_ptr<WorkerCall>*>(param));
  delete static_cast<std::shared_ptr<WorkerCall>*>(param);
  work->result = CallGuarded([](void* c) { (*static_cast<std::function<void()>*>(c))(); }, &work->call);
  SetEvent(work->done);
  return 0;
}

}  // namespace

TPluginCallResult CallOnWorker(std::function<void()> call, unsigned boundMs) {
  auto work = std::make_shared<WorkerCall>();
  work->call = std::move(call);
  auto* param = new std::shared_ptr<WorkerCall>(work);
  HANDLE thread = CreateThread(nullptr, 0, RunWorker, param, 0, nullptr);
  if (!thread) {
    delete param;
    // No thread to spare: the call runs here, still guarded against faults.
    return CallGuarded([](void* c) { (*static_cast<std::function<void()>*>(c))(); }, &work->call);
  }
  CloseHandle(thread);
  // A plain wait: messages sent to this thread meanwhile wait too, so nothing
  // runs half-way through what called the plug-in (start-up, a settings page).
  if (WaitForSingleObject(work->done, boundMs) != WAIT_OBJECT_0) return {TPluginCallOutcome::Overran, 0};
  return work->result;
}

// --- the watchdog

struct TPluginWatchdog::State {
  OverrunHandler onOverrun;
  std::chrono::milliseconds bound;
  std::mutex m;
  std::condition_variable changed;
  bool stop = false;
  bool armed = false;
  std::uint64_t ticket = 0;  // tells one armed call from the next
  std::chrono::steady_clock::time_point deadline;
  std::wstring file;
  std::string exportName;

  void Run() {
    std::unique_lock<std::mutex> lock(m);
    while (!stop) {
      if (!armed) {
        changed.wait(lock);
        continue;
      }
      const std::uint64_t watched = ticket;
      if (changed.wait_until(lock, deadline) != std::cv_status::timeout) continue;
      if (stop || !armed || ticket != watched) continue;
      armed = false;  // once per call
      const std::wstring f = file;
      const std::string e = exportName;
      lock.unlock();
      if (onOverrun) onOverrun(f, e);
      lock.lock();
    }
  }
};

TPluginWatchdog::TPluginWatchdog(OverrunHandler onOverrun, unsigned boundMs) : state_(std::make_shared<State>()) {
  state_->onOverrun = std::move(onOverrun);
  state_->bound = std::chrono::milliseconds(boundMs);
  // Detached with its own share of the state: at the end of the process it may be
  // the one thread still busy (ending the process for a hung plug-in).
  std::thread([s = state_] { s->Run(); }).detach();
}

TPluginWatchdog::~TPluginWatchdog() {
  std::lock_guard<std::mutex> lock(state_->m);
  state_->stop = true;
  state_->changed.notify_all();
}

void TPluginWatchdog::Arm(const std::wstring& file, const std::string& exportName) {
  std::lock_guard<std::mutex> lock(state_->m);
  state_->armed = true;
  ++state_->ticket;
  state_->deadline = std::chrono::steady_clock::now() + state_->bound;
  state_->file = file;
  state_->exportName = exportName;
  state_->changed.notify_all();
}

void TPluginWatchdog::Disarm() {
  std::lock_guard<std::mutex> lock(state_->m);
  state_->armed = false;
  state_->changed.notify_all();
}
