#include "controls/extended/VyShellDeviceChange.h"

#include <dbt.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "vcl/WindowHost.h"

namespace Vy {

namespace {

constexpr std::size_t kMaxBroadcastBytes = 64 * 1024;

// The events whose lParam points to a DEV_BROADCAST_* block.
bool CarriesBlock(uintptr_t event) {
  switch (event) {
    case DBT_DEVICEARRIVAL:
    case DBT_DEVICEQUERYREMOVE:
    case DBT_DEVICEQUERYREMOVEFAILED:
    case DBT_DEVICEREMOVEPENDING:
    case DBT_DEVICEREMOVECOMPLETE:
    case DBT_DEVICETYPESPECIFIC:
    case DBT_CUSTOMEVENT:
    case DBT_USERDEFINED: return true;
    default: return false;
  }
}

}  // namespace

TVyDeviceChangeHandler::TVyDeviceChangeHandler() {
  FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TVyDeviceChangeHandler::~TVyDeviceChangeHandler() { DeallocateHWnd(FWindow); }

void TVyDeviceChangeHandler::RemoveNotify(const TVyDeviceChangeEvent& method) {
  const auto it = std::find(FNotifies.begin(), FNotifies.end(), method);
  if (it != FNotifies.end()) FNotifies.erase(it);
}

void TVyDeviceChangeHandler::WndProc(TMessage& message) {
  if (message.Msg == WM_DEVICECHANGE) {
    TPending pending{message.WParam, {}};
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(message.LParam);
    if (header && CarriesBlock(message.WParam) && header->dbch_size >= sizeof(DEV_BROADCAST_HDR) &&
        header->dbch_size <= kMaxBroadcastBytes) {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(header);
      pending.Block.assign(bytes, bytes + header->dbch_size);
    }
    FPending.push_back(std::move(pending));
    PostMessageW(FWindow, WM_DEVICECHANGE_RELAY, 0, 0);
    DefaultWindowMessage(FWindow, message);
  } else if (message.Msg == WM_DEVICECHANGE_RELAY) {
    Relay();
  } else {
    DefaultWindowMessage(FWindow, message);
  }
}

void TVyDeviceChangeHandler::Relay() {
  if (FPending.empty()) return;
  const TPending pending = std::move(FPending.front());
  FPending.pop_front();
  if (!Active) return;
  TMessage message;
  message.Msg = WM_DEVICECHANGE;
  message.WParam = pending.WParam;
  message.LParam = pending.Block.empty() ? 0 : reinterpret_cast<intptr_t>(pending.Block.data());
  // A method may add or remove methods: walk a copy. One that fails is reported and
  // the next one still runs.
  const std::vector<TVyDeviceChangeEvent> notifies = FNotifies;
  for (const TVyDeviceChangeEvent& notify : notifies) GuardCallback([&] { notify(this, message); });
}

TVyDeviceChangeHandler& DeviceChangeHandler() {
  static const std::unique_ptr<TVyDeviceChangeHandler> handler = std::make_unique<TVyDeviceChangeHandler>();
  return *handler;
}

}  // namespace Vy
