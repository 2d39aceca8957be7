#include "core/utils/ProgramRestart.h"

#include "vcl/Win.h"

#include <cwchar>
#include <string>

namespace {
// The old process is ending already; this only bounds a system that will not let it.
constexpr DWORD kPredecessorWaitMs = 30000;
}

void EndThisProcessNow() {
  // Not ExitProcess: it would wait for the loader lock, which the lost thread may hold.
  TerminateProcess(GetCurrentProcess(), 0);
  for (;;) Sleep(INFINITE);
}

void RestartThisProgram() {
  wchar_t exe[32768];
  const DWORD n = GetModuleFileNameW(nullptr, exe, 32768);
  if (n > 0 && n < 32768) {
    std::wstring cmd = L"\"" + std::wstring(exe, n) + L"\" --after " + std::to_wstring(GetCurrentProcessId());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  EndThisProcessNow();
}

std::optional<unsigned long> PredecessorOnCommandLine(std::wstring_view commandLine) {
  constexpr std::wstring_view flag = L"--after ";
  const std::size_t at = commandLine.find(flag);
  if (at == std::wstring_view::npos) return std::nullopt;
  const std::wstring digits(commandLine.substr(at + flag.size()));
  wchar_t* end = nullptr;
  const unsigned long id = std::wcstoul(digits.c_str(), &end, 10);
  if (end == digits.c_str() || id == 0) return std::nullopt;
  return id;
}

void WaitForPredecessor(unsigned long processId) {
  HANDLE old = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!old) return;  // gone already
  WaitForSingleObject(old, kPredecessorWaitMs);
  CloseHandle(old);
}
