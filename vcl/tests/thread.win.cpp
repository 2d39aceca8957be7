// TThread: Synchronize and OnTerminate run on the GUI thread, serviced by a plain
// message loop; FreeOnTerminate; destroying a running thread ends it.
#include <gtest/gtest.h>

#include "testing/PumpApplication.h"
#include "vcl/Exceptions.h"
#include "vcl/Thread.h"
#include "vcl/Win.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;

class TWorker : public TThread {
 public:
  explicit TWorker(std::function<void(TWorker&)> body) : TThread(true), body_(std::move(body)) {}
  using TThread::Synchronize;

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TWorker&)> body_;
};

TEST(Thread, SynchronizeRunsOnTheGuiThreadWhileTheWorkerWaits) {
  const DWORD gui = GetCurrentThreadId();
  std::atomic<DWORD> ranOn{0};
  std::atomic<bool> afterSync{false};
  int value = 0;
  TWorker worker([&](TWorker& self) {
    self.Synchronize([&] {
      ranOn = GetCurrentThreadId();
      value = 42;
    });
    // The call is done when Synchronize returns.
    afterSync = value == 42;
  });
  worker.Resume();
  ASSERT_TRUE(PumpUntil([&] { return worker.Finished(); }, 5s));
  EXPECT_EQ(ranOn, gui);
  EXPECT_TRUE(afterSync);
}

TEST(Thread, AnExceptionInASynchronizedCallReachesTheWorker) {
  std::atomic<bool> caught{false};
  TWorker worker([&](TWorker& self) {
    try {
      self.Synchronize([] { throw EConvertError(L"bad"); });
    } catch (const EConvertError& e) {
      caught = e.Message() == L"bad";
    }
  });
  worker.Resume();
  ASSERT_TRUE(PumpUntil([&] { return worker.Finished(); }, 5s));
  EXPECT_TRUE(caught);
}

TEST(Thread, FreeOnTerminateRunsOnTerminateOnTheGuiThreadThenFrees) {
  const DWORD gui = GetCurrentThreadId();
  DWORD terminateOn = 0;
  bool terminated = false;
  auto* worker = new TWorker([](TWorker&) {});
  worker->FreeOnTerminate = true;
  worker->OnTerminate = [&](TObject*) {
    terminateOn = GetCurrentThreadId();
    terminated = true;
  };
  worker->Resume();
  ASSERT_TRUE(PumpUntil([&] { return terminated; }, 5s));
  EXPECT_EQ(terminateOn, gui);
}

TEST(Thread, DestroyingARunningThreadTerminatesAndWaitsForIt) {
  std::atomic<bool> started{false}, sawTerminated{false};
  {
    TWorker worker([&](TWorker& self) {
      started = true;
      while (!self.Terminated()) std::this_thread::sleep_for(1ms);
      sawTerminated = true;
    });
    worker.Resume();
    ASSERT_TRUE(PumpUntil([&] { return started.load(); }, 5s));
  }
  EXPECT_TRUE(sawTerminated);
}

TEST(Thread, WaitForOnTheGuiThreadKeepsSynchronizeRunning) {
  // The worker needs the GUI thread while the GUI thread waits for it.
  int value = 0;
  TWorker worker([&](TWorker& self) {
    self.Synchronize([&] { value = 7; });
    self.ReturnValue = 3;
  });
  worker.Resume();
  EXPECT_EQ(worker.WaitFor(), 3);
  EXPECT_EQ(value, 7);
}

TEST(Thread, SuspendedThreadDoesNotRunUntilResumed) {
  std::atomic<bool> ran{false};
  TWorker worker([&](TWorker&) { ran = true; });
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(ran);
  worker.Resume();
  worker.WaitFor();
  EXPECT_TRUE(ran);
}

}  // namespace
