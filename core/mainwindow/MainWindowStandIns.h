// What the main window gives the key engine in place of windows that are not built
// yet: the key test list, and the update window and power countdown that Esc
// closes. Each does nothing visible; each is replaced by its own window.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyEngineWorld.h"

// Until the key test list view of the settings page exists.
class TKeyTestListStandIn final : public IKeyTestList {
 public:
  std::size_t RowCount() override { return 0; }
  void DeleteFirstRow() override {}
  void AddRow(const std::vector<std::wstring>&) override {}
};

// Until the update window and the power countdown exist.
class TEscTargetsStandIn final : public IEscTargets {
 public:
  bool UpdateWindowInFront() override { return false; }
  void CloseUpdateWindow() override {}
  bool CountdownLastMinute() override { return false; }
  void StopOffTimer() override {}
};
