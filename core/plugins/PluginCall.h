// Calls into plug-in code, which is other people's code: a fault inside a call
// (an access violation, an illegal instruction...) ends that call, not Qorn, and
// a call that does not come back within kPluginCallBoundMs never holds Qorn up.
//
// Two ways in, one per kind of export:
// - CallGuarded runs an export on this thread (Enable and Disable, which the
//   plug-ins expect on the main window's thread); a TPluginWatchdog beside it
//   notices a call that overran, because nothing can take that thread back.
// - CallOnWorker runs a pure query (GetName, GetVer...) on a worker thread and
//   waits a bounded time; a query that never returns is left behind on its worker.
//
// Only faults of the processor are caught; a plug-in that throws its own
// exceptions through an export is not supported. Faults inside DllMain (during
// LoadLibrary) are not caught either: unwinding the loader would leave its lock held.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Long enough for any export that does its job, short enough that a hang shows.
inline constexpr unsigned kPluginCallBoundMs = 5000;

enum class TPluginCallOutcome { Returned, Faulted, Overran };

struct TPluginCallResult {
  TPluginCallOutcome outcome = TPluginCallOutcome::Returned;
  unsigned long faultCode = 0;  // the exception code when Faulted
};

// Runs call on this thread; a processor fault inside it ends it (Faulted). The
// call must not hold objects with destructors across the plug-in's code: a fault
// skips them. Nested guards are fine.
TPluginCallResult CallGuarded(void (*call)(void* context), void* context);

// Runs call on a worker thread (guarded as above) and waits at most boundMs.
// Overran: the worker is left behind; call and what it captured stay alive until
// it ends, if ever, so call must not reach anything of the caller by reference.
TPluginCallResult CallOnWorker(std::function<void()> call, unsigned boundMs = kPluginCallBoundMs);

// Watches calls made on the main thread: Arm before the call, Disarm after it.
// When a call stays armed past its bound, onOverrun runs once, on the watchdog's
// own thread (the main thread is still inside the plug-in then).
class TPluginWatchdog {
 public:
  using OverrunHandler = std::function<void(const std::wstring& file, const std::string& exportName)>;
  explicit TPluginWatchdog(OverrunHandler onOverrun, unsigned boundMs = kPluginCallBoundMs);
  ~TPluginWatchdog();
  TPluginWatchdog(const TPluginWatchdog&) = delete;
  TPluginWatchdog& operator=(const TPluginWatchdog&) = delete;

  void Arm(const std::wstring& file, const std::string& exportName);
  void Disarm();

  // Arms for one scope.
  class Scope {
   public:
    Scope(TPluginWatchdog* dog, const std::wstring& file, const std::string& exportName) : dog_(dog) {
      if (dog_) dog_->Arm(file, exportName);
    }
    ~Scope() {
      if (dog_) dog_->Disarm();
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    TPluginWatchdog* dog_;
  };

 private:
  struct State;
  std::shared_ptr<State> state_;
};
