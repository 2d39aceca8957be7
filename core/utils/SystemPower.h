// The one way out for calls that change the machine itself: monitor power and
// the thread's execution state today, power off, reboot, standby, log-off and
// lock as their actions come. Tests install a recorder so nothing reaches the
// machine; the program uses the real calls.
#pragma once
#include <cstdint>

class ISystemPower {
 public:
  virtual ~ISystemPower() = default;
  // lParam of SC_MONITORPOWER: -1 on, 1 low power, 2 off; sent to window.
  virtual void MonitorPower(std::uintptr_t window, int state) = 0;
  // SetThreadExecutionState flags (ES_CONTINUOUS and friends).
  virtual void SetExecutionState(std::uint32_t flags) = 0;
};

// The real calls unless a test installed its recorder.
ISystemPower& SystemPower();
// Installs a recorder (nullptr: the real calls again).
void SetSystemPower(ISystemPower* power);
