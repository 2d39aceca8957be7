// Guarded calls into code that faults or never returns, as plug-ins may.
#include <gtest/gtest.h>

#include "core/plugins/PluginCall.h"
#include "testing/WinTesting.h"
#include "vcl/Win.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>

using namespace std::chrono_literals;
using qorn::testing::WaitFor;

namespace {

int* volatile g_nowhere = nullptr;
volatile int g_zero = 0;

void WriteNull(void*) { *g_nowhere = 7; }
void DivideByZero(void* out) { *static_cast<int*>(out) = 10 / g_zero; }
void Illegal(void*) { __builtin_trap(); }
void SetTo42(void* out) { *static_cast<int*>(out) = 42; }

struct Case {
  const char* name;
  void (*call)(void*);
  TPluginCallOutcome outcome;
  unsigned long code;
};

TEST(PluginCall, AFaultEndsTheCallAndTheThreadGoesOn) {
  const Case cases[] = {
      {"returns", SetTo42, TPluginCallOutcome::Returned, 0},
      {"null write", WriteNull, TPluginCallOutcome::Faulted, EXCEPTION_ACCESS_VIOLATION},
      {"divide by zero", DivideByZero, TPluginCallOutcome::Faulted, EXCEPTION_INT_DIVIDE_BY_ZERO},
      {"illegal instruction", Illegal, TPluginCallOutcome::Faulted, EXCEPTION_ILLEGAL_INSTRUCTION},
  };
  for (const Case& c : cases) {
    int out = 0;
    // Twice: a guard that caught a fault is fully undone and works again.
    for (int round = 0; round < 2; ++round) {
      const TPluginCallResult r = CallGuarded(c.call, &out);
      EXPECT_EQ(r.outcome, c.outcome) << c.name;
      EXPECT_EQ(r.faultCode, c.code) << c.name;
    }
    if (c.outcome == TPluginCallOutcome::Returned) {
      EXPECT_EQ(out, 42);
    }
  }
}

TEST(PluginCall, NestedGuardsCatchTheirOwnFaults) {
  int innerFaults = 0;
  const TPluginCallResult outer = CallGuarded(
      [](void* c) {
        int& faults = *static_cast<int*>(c);
        if (CallGuarded(WriteNull, nullptr).outcome == TPluginCallOutcome::Faulted) ++faults;
        *g_nowhere = 1;  // the outer call faults after its inner one was caught
      },
      &innerFaults);
  EXPECT_EQ(innerFaults, 1);
  EXPECT_EQ(outer.outcome, TPluginCallOutcome::Faulted);
  // No guard is left behind: outside any guard a fault of our own would still
  // crash, so only check that a plain guarded call still returns.
  int out = 0;
  EXPECT_EQ(CallGuarded(SetTo42, &out).outcome, TPluginCallOutcome::Returned);
}

TEST(PluginCall, AWorkerCallThatFaultsOrReturnsReportsIt) {
  auto value = std::make_shared<std::atomic<int>>(0);
  EXPECT_EQ(CallOnWorker([value] { *value = 5; }).outcome, TPluginCallOutcome::Returned);
  EXPECT_EQ(*value, 5);
  const TPluginCallResult crashed = CallOnWorker([] { *g_nowhere = 1; });
  EXPECT_EQ(crashed.outcome, TPluginCallOutcome::Faulted);
  EXPECT_EQ(crashed.faultCode, static_cast<unsigned long>(EXCEPTION_ACCESS_VIOLATION));
}

TEST(PluginCall, AWorkerThatNeverReturnsIsLeftBehind) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const TPluginCallResult r = CallOnWorker([release] { WaitForSingleObject(release, INFINITE); }, 500);
  EXPECT_EQ(r.outcome, TPluginCallOutcome::Overran);
  SetEvent(release);  // the worker that was left behind ends by itself
}

TEST(PluginCall, TheWatchdogReportsOnlyACallThatOverran) {
  std::mutex m;
  std::vector<std::wstring> overran;
  TPluginWatchdog dog(
      [&](const std::wstring& file, const std::string& exportName) {
        std::lock_guard<std::mutex> lock(m);
        overran.push_back(file + L"!" + std::wstring(exportName.begin(), exportName.end()));
      },
      300);
  {
    TPluginWatchdog::Scope quick(&dog, L"quick.dll", "Enable");
  }
  // Were the quick call reported, it would come first: its deadline is earlier.
  dog.Arm(L"slow.dll", "Disable");
  EXPECT_TRUE(WaitFor(
      [&] {
        std::lock_guard<std::mutex> lock(m);
        return !overran.empty();
      },
      20s));
  dog.Disarm();
  std::lock_guard<std::mutex> lock(m);
  ASSERT_EQ(overran.size(), 1u);
  EXPECT_EQ(overran[0], L"slow.dll!Disable");
}

}  // namespace
