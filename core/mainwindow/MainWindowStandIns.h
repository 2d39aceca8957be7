// What the main window gives the key engine and the profile code in place of
// windows that are not built yet: the key test list, the update window and power countdown that Esc closes, and
// the key list. Each does nothing visible; each is replaced by its own window.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyEngineWorld.h"
#include "core/settings/ProfilesKeyList.h"

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

// Until the key list "keys" and its buttons exist: the names it would show are
// kept, nothing is ever selected.
class TKeyListStandIn final : public IKeyListView {
 public:
  void Clear() override { names_.clear(); }
  void Add(std::string_view name) override { names_.emplace_back(name); }
  int ItemIndex() const override { return -1; }
  void EnableListButton() override {}
  void EnableSaveButton() override {}
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
};
