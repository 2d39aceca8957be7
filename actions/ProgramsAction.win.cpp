#include "actions/ProgramsAction.h"

#include "actions/ProgramsCommand.h"
#include "core/utils/myUtils.h"
#include "tenvora/Tenvora.h"
#include "vcl/ComObj.h"
#include "vcl/Registry.h"
#include "vcl/System.h"
#include "vcl/Win.h"

#include <shellapi.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace {

// Wait for a DDE conversation to finish and never show the shell's own error
// boxes: a key press that starts nothing must stay silent.
constexpr ULONG ShellMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_FLAG_NO_UI;

const wchar_t* orNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }

// A launch key as the keyboard sends it, down and up: a key-down alone would leave
// the key held for every program that asks. Marked as Qorn's own input, so the
// hook lets it through instead of running a binding on it again.
void pressLaunchKey(BYTE vk) {
  keybd_event(vk, 0, KEYEVENTF_EXTENDEDKEY, TENVORA_OWN_INPUT);
  keybd_event(vk, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, TENVORA_OWN_INPUT);
}

void runCommandLine(const TProgramsParams& p) {
  if (!p.Command) return;
  const TCommandLine line = SplitCommandLine(*p.Command);
  if (line.Program.empty()) return;
  const std::wstring program = ExpandEnvVars(AnsiToString(UnquotedProgram(line.Program)));
  if (program.empty()) return;
  RunProgram(program, AnsiToString(line.Arguments), p.Show, p.SwitchToLoaded);
}

void runShellAction(int subCode, const TProgramsParams& p);

void runOfficeApp(int subCode, const TProgramsParams& p) {
  const auto app = OfficeAppOf(subCode);
  std::wstring folder;
  if (!app || !ReadOfficeAppPath(AnsiToString(app->AppPathsKey), folder)) return;
  const std::wstring program = OfficeProgramPath(folder, AnsiToString(app->ProgramFile));
  const DWORD attributes = GetFileAttributesW(program.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  RunProgram(program, L"", p.Show, p.SwitchToLoaded);
}

}  // namespace

void ShellOpenFile(const std::wstring& file, const std::wstring& arguments, int showCommand) {
  if (file.empty()) return;
  const std::wstring folder = FolderOfFile(std::wstring_view(file));
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = ShellMask;
  info.lpVerb = L"open";
  info.lpFile = file.c_str();
  info.lpParameters = orNull(arguments);
  info.lpDirectory = orNull(folder);
  info.nShow = showCommand;
  if (ShellExecuteExW(&info) && info.hProcess) CloseHandle(info.hProcess);
}

std::uint32_t ShellLaunch(const std::wstring& file, const std::wstring& arguments, int showCommand) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = ShellMask;
  info.lpFile = file.c_str();
  info.lpParameters = orNull(arguments);
  info.nShow = showCommand;
  if (!ShellExecuteExW(&info)) return 0;
  if (!info.hProcess) return 0;  // handed to a program that was already running
  const DWORD id = GetProcessIdOf(info.hProcess);
  CloseHandle(info.hProcess);
  return id;
}

void RunProgram(const std::wstring& file, const std::wstring& arguments, int showCommand, bool switchToLoaded) {
  if (switchToLoaded) {
    if (HWND running = ActivateRunningProgram(file, 0)) {
      RestoreAndActivate(running);
      return;
    }
  }
  const std::uint32_t id = ShellLaunch(file, arguments, showCommand);
  if (id == 0) return;
  if (HWND started = ActivateRunningProgram(file, id)) RestoreAndActivate(started);
}

bool ReadOfficeAppPath(const std::wstring& key, std::wstring& folder) {
  TRegistry reg(KEY_READ);
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!reg.OpenKeyReadOnly(L"\\" + key)) return false;
  try {
    folder = reg.ReadString(L"Path");
  } catch (const std::exception&) {
    return false;  // a value that is no text names no folder
  }
  return !folder.empty();
}

// The thread the shell calls run on, and its queue. Shared with the thread, so a
// thread left behind in a hung shell call never touches a freed executor.
class TProgramsExecutor::TLauncher {
 public:
  static std::shared_ptr<TLauncher> Start() {
    auto self = std::make_shared<TLauncher>();
    std::thread([self] { self->run(); }).detach();
    return self;
  }
  void Post(std::function<void()> work) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(work));
    }
    changed_.notify_all();
  }
  // False when the time ran out first.
  bool WaitIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return queue_.empty() && !busy_; });
  }
  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
  }
  bool WaitEnded(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ended_; });
  }

 private:
  void run() {
    RunQueue();
    // Only after the apartment is gone: a waiter may then end the process.
    {
      std::lock_guard lock(mutex_);
      ended_ = true;
    }
    changed_.notify_all();
  }

  void RunQueue() {
    // The shell wants a single-threaded apartment for its handlers.
    const TComApartment apartment;
    for (;;) {
      std::function<void()> work;
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) break;  // stopped, and nothing left to start
        work = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
      }
      try {
        work();
      } catch (...) {
        // A start that fails costs only itself.
      }
      {
        std::lock_guard lock(mutex_);
        busy_ = false;
      }
      changed_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  bool busy_ = false;
  bool stop_ = false;
  bool ended_ = false;
};

TProgramsExecutor::TProgramsExecutor() : launcher_(TLauncher::Start()) {}

TProgramsExecutor::~TProgramsExecutor() {
  launcher_->Stop();
  launcher_->WaitEnded(std::chrono::seconds(5));
}

void TProgramsExecutor::WaitIdle() { launcher_->WaitIdle(std::chrono::seconds(60)); }

void TProgramsExecutor::Execute(int subCode, int, TActionContext& context) {
  const TProgramsParams p = ReadProgramsParams(context.Params);
  // The launch keys are quick and belong to the key stream in order: sent at once.
  if (subCode == 6) return pressLaunchKey(VK_BROWSER_HOME);
  if (subCode == 7) return pressLaunchKey(VK_LAUNCH_MAIL);
  launcher_->Post([subCode, p] { runShellAction(subCode, p); });
}

namespace {

void runShellAction(int subCode, const TProgramsParams& p) {
  switch (subCode) {
    case 1:
      runCommandLine(p);
      break;
    case 2:
    case 3:
      runOfficeApp(subCode, p);
      break;
    case 4:
      if (const auto program = StandardProgramAt(p.ListIndex))
        RunProgram(AnsiToString(*program), L"", p.Show, p.SwitchToLoaded);
      break;
    case 5:
      if (const auto applet = ControlPanelAppletAt(p.ListIndex)) ShellOpenFile(L"CONTROL.EXE", AnsiToString(*applet), p.Show);
      break;
    case 8:
      ShellOpenFile(L"mailto:", L"", p.Show);
      break;
    case 9:
      ShellExecuteW(nullptr, L"open", L"taskmgr", L"", L"", SW_SHOWNORMAL);
      break;
    default:
      break;
  }
}

}  // namespace
