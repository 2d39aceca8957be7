// Worker threads with a way back to the GUI thread.
//
//   class TDownload : public TThread {
//    public:
//     TDownload() : TThread(true) { FreeOnTerminate = true; }
//    protected:
//     void Execute() override {
//       while (!Terminated()) { ...; Synchronize([&] { form->Progress(n); }); }
//     }
//   };
//   (new TDownload)->Resume();
//
// Synchronize and OnTerminate run on the GUI thread (the thread that made the
// application object, or else the first thread to use TThread). The calls are
// queued and run from a posted message to a hidden window of that thread, so the
// main loop, every modal loop and even a message box's own loop service them.
#pragma once

#include "vcl/Classes.h"
#include "vcl/ScopeGuards.h"

#include <atomic>
#include <cstdint>
#include <functional>


class TThread : public TObject {
 public:
  explicit TThread(bool createSuspended);
  // Terminates, resumes a suspended thread and waits for it to end.
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts a thread created suspended (or resumes one suspended by Suspend).
  void Resume();
  void Start() { Resume(); }
  void Suspend();
  // Asks Execute to stop: it reads Terminated().
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  bool Suspended() const { return suspended_; }
  // Waits for Execute to end (on the GUI thread, Synchronize calls keep running)
  // and returns ReturnValue.
  int WaitFor();

  void* Handle() const { return handle_.get(); }
  uint32_t ThreadID() const { return id_; }

  // Freed by its own thread once Execute and OnTerminate are done.
  bool FreeOnTerminate = false;
  // Runs on the GUI thread after Execute, before a FreeOnTerminate thread is freed.
  TNotifyEvent OnTerminate;
  int ReturnValue = 0;

  // Runs method on the GUI thread and waits for it; an exception it throws is
  // re-thrown here in the worker. Called on the GUI thread it runs at once.
  static void Synchronize(const std::function<void()>& method);
  // Runs the queued Synchronize calls; the GUI thread's loops call it. Returns
  // whether it ran any.
  static bool CheckSynchronize();
  static bool IsMainThread();

 protected:
  virtual void Execute() = 0;
  virtual void DoTerminate();

 private:
  static unsigned long __stdcall ThreadProc(void* self);

  TUniqueHandle handle_;
  uint32_t id_ = 0;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> suspended_{false};
};

