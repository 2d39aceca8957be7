// The entry point of every Windows test program: the process starts as Qorn.exe
// does (OLE on the GUI thread) before any test runs, so a test sees the same
// apartment the program's windows live in.
#include <gtest/gtest.h>

#include "vcl/ComObj.h"
#include "vcl/Win.h"

#include <cstdio>

namespace {

// A fault nothing handled: says which test, what and where (the addresses of the
// stack, for `x86_64-w64-mingw32-nm -C --numeric-sort` on the program), and ends
// the program at once. Left to wine, it starts its debugger, which on a loaded
// machine was seen to keep the program until ctest's time-out, telling nothing.
LONG WINAPI ReportUnhandledFault(EXCEPTION_POINTERS* info) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::fprintf(stderr, "\n!! unhandled fault 0x%08lX at %p in %s.%s (program loaded at %p); the stack:\n",
               info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress,
               test ? test->test_suite_name() : "(no test)", test ? test->name() : "", GetModuleHandleW(nullptr));
  CONTEXT context = *info->ContextRecord;
  for (int frame = 0; frame < 32 && context.Rip; ++frame) {
    std::fprintf(stderr, "!!   %p\n", reinterpret_cast<void*>(context.Rip));
    DWORD64 imageBase = 0;
    RUNTIME_FUNCTION* function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
    if (!function) {  // a leaf function: its return address is on top of the stack
      context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
      context.Rsp += 8;
      continue;
    }
    void* handlerData = nullptr;
    DWORD64 establisher = 0;
    RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData, &establisher,
                     nullptr);
  }
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv) {
  SetUnhandledExceptionFilter(&ReportUnhandledFault);
  const TOleInitialization ole;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
