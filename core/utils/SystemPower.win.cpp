#include "core/utils/SystemPower.h"

#include "vcl/Win.h"

namespace {
class TRealSystemPower : public ISystemPower {
 public:
  void MonitorPower(std::uintptr_t window, int state) override {
    // Posted: a sent SC_MONITORPOWER can block until the display driver answers.
    PostMessageW(reinterpret_cast<HWND>(window), WM_SYSCOMMAND, SC_MONITORPOWER, static_cast<LPARAM>(state));
  }
  void SetExecutionState(std::uint32_t flags) override {
    SetThreadExecutionState(static_cast<EXECUTION_STATE>(flags));
  }
};

TRealSystemPower realPower;
ISystemPower* installed = nullptr;
}  // namespace

ISystemPower& SystemPower() { return installed ? *installed : realPower; }
void SetSystemPower(ISystemPower* power) { installed = power; }
