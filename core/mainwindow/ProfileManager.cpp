#include "core/mainwindow/ProfileManager.h"

#include <filesystem>
#include <system_error>

std::vector<TProfileRow> TProfileManager::Rows() const {
  std::vector<TProfileRow> rows;
  const TProfileTable& table = store_.Table();
  for (std::size_t i = 1; i <= table.Count; ++i)
    rows.push_back({table.Entries[i].Name.str(), table.Entries[i].Kind.str()});
  return rows;
}

std::string TProfileManager::NewProfileName() const {
  for (int n = 1;; ++n) {
    std::string name = std::string(NewProfilePrefix) + std::to_string(n);
    if (!store_.ispflexists(name)) return name;
  }
}

const TProfileEntry* TProfileManager::find(const std::string& name) const {
  const TProfileTable& table = store_.Table();
  for (std::size_t i = 1; i <= table.Count; ++i)
    if (table.Entries[i].Name == name) return &table.Entries[i];
  return nullptr;
}

TProfileEntry* TProfileManager::find(const std::string& name) {
  return const_cast<TProfileEntry*>(static_cast<const TProfileManager*>(this)->find(name));
}

bool TProfileManager::settlePendingChanges(TProfileEffects& effects) {
  if (state_.ProfileModified != 1) return true;
  switch (dialogs_.AskSaveChanges(state_.EditedProfile)) {
    case TSaveChangesAnswer::Cancel: return false;
    case TSaveChangesAnswer::Save:
      if (!store_.savepfl(state_.EditedProfile, store_.getprofiletipe(state_.EditedProfile), 2)) return false;
      markEditListClean(effects, false);
      return true;
    case TSaveChangesAnswer::Discard: markEditListClean(effects, true); return true;
  }
  return false;
}

void TProfileManager::markEditListClean(TProfileEffects& effects, bool editsDropped) {
  state_.ProfileModified = 0;
  effects.EditListSaved = true;
  effects.ProfilesChanged = true;
  // Every edit of the active profile went into the live table as well: dropped
  // edits must leave it too, or keys would keep running what was never saved.
  if (editsDropped && state_.EditedProfile == state_.ActiveGlobalProfile)
    store_.loadpfl(state_.ActiveGlobalProfile, 1, 0);
}

TProfileEffects TProfileManager::SetActive(const std::string& name) {
  TProfileEffects effects;
  const TProfileEntry* entry = find(name);
  if (!entry || entry->Kind != GlobalProfileKind) return effects;
  store_.loadpfl(name, 1, 0);
  effects.ProfilesChanged = true;
  return effects;
}

TProfileEffects TProfileManager::Save() {
  TProfileEffects effects;
  store_.saveprofilesbd();
  if (!store_.savepfl(state_.EditedProfile, store_.getprofiletipe(state_.EditedProfile), 2)) return effects;
  markEditListClean(effects, false);
  return effects;
}

TProfileEffects TProfileManager::SaveAs() {
  TProfileEffects effects;
  if (tableFull()) {
    dialogs_.Tell(L"AlreadyMaxProfiles", {});
    return effects;
  }
  const std::optional<std::string> name = dialogs_.AskProfileName();
  if (!name || name->empty()) return effects;
  if (!IsValidProfileName(*name)) {
    dialogs_.Tell(L"BadProfileName", *name);
    return effects;
  }
  // A new name makes a global profile. An existing one is written over only when
  // the user says so, and keeps its kind: a program's profile stays bound to its
  // program (its file is the ".lpf"; a ".gpf" beside it would belong to nothing).
  std::string kind(GlobalProfileKind);
  if (const TProfileEntry* existing = find(*name)) {
    if (!dialogs_.AskOverwrite(*name)) return effects;
    kind = existing->Kind.str();
  }
  if (!store_.savepfl(*name, kind, 2)) return effects;
  state_.EditedProfile = *name;
  markEditListClean(effects, false);
  // Written over the active profile: the keys run what was saved.
  if (*name == state_.ActiveGlobalProfile) store_.loadpfl(*name, 1, 0);
  return effects;
}

TProfileEffects TProfileManager::Create() {
  TProfileEffects effects;
  if (tableFull()) {
    dialogs_.Tell(L"AlreadyMaxProfiles", {});
    return effects;
  }
  if (!settlePendingChanges(effects)) return effects;
  state_.ProfileModified = 0;
  store_.clearpfl(2);
  // Nothing is written yet: the first save makes it a global profile.
  state_.EditedProfile = NewProfileName();
  effects.EditListSaved = true;
  effects.ClosePage = true;
  return effects;
}

TProfileEffects TProfileManager::Edit(const std::string& name) {
  TProfileEffects effects;
  const TProfileEntry* entry = find(name);
  if (!entry) return effects;
  const bool global = entry->Kind == GlobalProfileKind;
  if (!settlePendingChanges(effects)) return effects;
  std::error_code ec;
  if (IsValidProfileName(name) && std::filesystem::exists(store_.ProfileFilePath(name, global), ec)) {
    store_.loadpfl(name, global ? 1 : 0, 1);
  } else {
    // Listed but never saved (the first run's profile): an empty profile to fill.
    store_.clearpfl(2);
    state_.EditedProfile = name;
  }
  state_.ProfileModified = 0;
  effects.EditListSaved = true;
  effects.ClosePage = true;
  return effects;
}

TProfileEffects TProfileManager::Delete(const std::string& name) {
  TProfileEffects effects;
  if (name == state_.ActiveGlobalProfile) {
    dialogs_.Tell(L"CantDeleteProfile", name);
    return effects;
  }
  if (!find(name)) return effects;
  store_.deletepfl(name);
  if (find(name)) return effects;  // the last profile stays
  effects.ProfilesChanged = true;
  if (name == state_.EditedProfile) {
    // The edit list held the deleted profile: saving it later (the Save button,
    // closing the window) would bring the profile back. The active profile is
    // edited instead.
    state_.ProfileModified = 0;
    store_.clearpfl(2);
    state_.EditedProfile = state_.ActiveGlobalProfile;
    store_.loadpfl(state_.ActiveGlobalProfile, 1, 1);
    store_.saveprofilesbd();
    effects.EditListSaved = true;
  }
  return effects;
}

TProfileEffects TProfileManager::BindToProgram(const std::string& name, const std::string& program) {
  TProfileEffects effects;
  TProfileEntry* entry = find(name);
  if (!entry || program.empty() || program.size() > decltype(entry->Kind)::Capacity) return effects;
  if (entry->Kind != GlobalProfileKind) {
    entry->Kind = program;
    store_.saveprofilesbd();
    effects.ProfilesChanged = true;
    return effects;
  }
  if (name == state_.ActiveGlobalProfile) {
    dialogs_.Tell(L"ErrorProfileUsed", name);
    return effects;
  }
  if (!IsValidProfileName(name)) return effects;
  const std::filesystem::path global = store_.ProfileFilePath(name, true);
  const std::filesystem::path perProgram = store_.ProfileFilePath(name, false);
  std::error_code ec;
  if (!std::filesystem::exists(global, ec)) return effects;
  std::filesystem::remove(perProgram, ec);
  std::filesystem::rename(global, perProgram, ec);
  if (ec) return effects;  // still the global profile it was
  entry->Kind = program;
  store_.saveprofilesbd();
  effects.ProfilesChanged = true;
  return effects;
}
