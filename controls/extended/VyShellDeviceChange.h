// The process-wide relay of device changes (drives and media coming and going) to
// the shell controls. The system's WM_DEVICECHANGE broadcast is answered at once;
// the controls hear of it afterwards, from a posted message, so none of them runs
// inside the broadcast. The broadcast's DEV_BROADCAST_* block lives only while the
// broadcast does: the relay hands on its own copy (LParam 0 when there is none).
#pragma once
#include "vcl/Classes.h"
#include "vcl/Messages.h"
#include "vcl/Win.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace Vy {

// The relay's own message to its window.
constexpr unsigned WM_DEVICECHANGE_RELAY = WM_USER + 100;

class TVyDeviceChangeHandler;
using TVyDeviceChangeEvent = TEvent<void(TVyDeviceChangeHandler* Sender, TMessage& Message)>;

class TVyDeviceChangeHandler : public TObject {
 public:
  TVyDeviceChangeHandler();
  ~TVyDeviceChangeHandler() override;
  TVyDeviceChangeHandler(const TVyDeviceChangeHandler&) = delete;
  TVyDeviceChangeHandler& operator=(const TVyDeviceChangeHandler&) = delete;

  void AddNotify(const TVyDeviceChangeEvent& method) { FNotifies.push_back(method); }
  // Removes the first entry naming the same method of the same object.
  void RemoveNotify(const TVyDeviceChangeEvent& method);
  HWND Handle() const { return FWindow; }
  // While false, relayed changes reach nobody.
  bool Active = true;

 private:
  struct TPending {
    uintptr_t WParam;
    std::vector<std::uint8_t> Block;
  };
  void WndProc(TMessage& message);
  void Relay();

  HWND FWindow = nullptr;
  std::vector<TVyDeviceChangeEvent> FNotifies;
  std::deque<TPending> FPending;
};

// The one handler of the process, made on first use.
TVyDeviceChangeHandler& DeviceChangeHandler();

}  // namespace Vy
