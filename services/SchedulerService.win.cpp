// The system side of the task scheduler component: the "Schedule" service, the
// Windows version and the administrator test.
#include "services/TaskScheduler.h"

#include <thread>
#include "vcl/Clock.h"

namespace {

struct TServiceHandle {
  explicit TServiceHandle(SC_HANDLE h) : handle(h) {}
  TServiceHandle(const TServiceHandle&) = delete;
  TServiceHandle& operator=(const TServiceHandle&) = delete;
  ~TServiceHandle() {
    if (handle) CloseServiceHandle(handle);
  }
  SC_HANDLE handle;
};

// The new scheduler's class; the import libraries leave its identifier out.
constexpr CLSID TaskSchedulerClass = {0x0f87369f, 0xa4e5, 0x4cfc, {0xbd, 0x3e, 0x73, 0xe6, 0x15, 0x45, 0x72, 0xdd}};

}  // namespace

bool StartSchedulerService(const wchar_t* serviceName, std::uint64_t waitMs) {
  TServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager.handle) return false;
  TServiceHandle service(OpenServiceW(manager.handle, serviceName, SERVICE_QUERY_STATUS | SERVICE_START));
  // A user who may not start services may still find it running.
  if (!service.handle) service.handle = OpenServiceW(manager.handle, serviceName, SERVICE_QUERY_STATUS);
  if (!service.handle) return false;
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.handle, &status)) return false;
  if (status.dwCurrentState == SERVICE_RUNNING) return true;
  if (status.dwCurrentState != SERVICE_START_PENDING && !StartServiceW(service.handle, 0, nullptr) &&
      GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
    return false;
  }
  // Connecting before the service runs fails, so wait for it. Right after the
  // start it may still report the state and exit code of its last run.
  const std::uint64_t deadline = ClockNowMs() + waitMs;
  for (;;) {
    if (!QueryServiceStatus(service.handle, &status)) return false;
    if (status.dwCurrentState == SERVICE_RUNNING) return true;
    if (ClockNowMs() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

HRESULT RetryWhileTheServiceReads(const std::function<HRESULT()>& call) {
  const std::uint64_t deadline = ClockNowMs() + 1000;
  for (;;) {
    const HRESULT result = call();
    if (result != HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) || ClockNowMs() >= deadline) return result;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

bool IsWindowsVistaOrLater() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExW(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwMajorVersion >= 6;
}

bool IsUserAdmin() {
  using TIsUserAnAdmin = BOOL(WINAPI*)();
  static const TIsUserAnAdmin isAdmin = [] {
    HMODULE shell = GetModuleHandleW(L"shell32.dll");
    if (!shell) shell = LoadLibraryW(L"shell32.dll");
    return shell ? reinterpret_cast<TIsUserAnAdmin>(reinterpret_cast<void*>(GetProcAddress(shell, "IsUserAnAdmin")))
                 : nullptr;
  }();
  return !isAdmin || isAdmin();
}

TTaskSchedulerSystem SystemTaskScheduler() {
  TTaskSchedulerSystem system;
  system.HasVersion2 = IsWindowsVistaOrLater();
  system.StartService = [] { return StartSchedulerService(); };
  system.CreateTaskService = [] {
    TComPtr<ITaskService> service;
    OleCheck(CoCreateInstance(TaskSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                              service.PutVoid()));
    return service;
  };
  system.CreateTaskScheduler1 = [] {
    TComPtr<ITaskScheduler> scheduler;
    OleCheck(CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              scheduler.PutVoid()));
    return scheduler;
  };
  return system;
}
