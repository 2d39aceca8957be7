#include "core/keys/ProgramProfileCache.h"

#include "core/settings/Profiles.h"

void TProgramProfileCache::Load(const std::vector<TBinding>& bindings, const Read& read) {
  profileOfProgram_.clear();
  tables_.clear();
  unreadable_.clear();
  reported_.clear();
  for (const TBinding& binding : bindings) {
    if (binding.Program.empty() || binding.Name.empty()) continue;
    profileOfProgram_.emplace(fold_(binding.Program), binding.Name);
    if (tables_.count(binding.Name) || unreadable_.count(binding.Name)) continue;
    const std::optional<std::string> bytes = read(binding.Name);
    if (!bytes) {
      unreadable_.insert(binding.Name);
      continue;
    }
    auto table = std::make_unique<TKeyTable>();
    LoadProfileFile(*bytes, *table);
    tables_.emplace(binding.Name, std::move(table));
  }
}

std::string TProgramProfileCache::ProfileForProgram(std::string_view exePath) const {
  if (exePath.empty()) return {};
  const auto it = profileOfProgram_.find(fold_(exePath));
  return it != profileOfProgram_.end() ? it->second : std::string();
}

bool TProgramProfileCache::CopyProfile(const std::string& name, TKeyTable& into) const {
  const auto it = tables_.find(name);
  if (it == tables_.end()) return false;
  into = *it->second;
  return true;
}

bool TProgramProfileCache::TakeReport(const std::string& name) {
  if (!unreadable_.count(name)) return false;
  return reported_.insert(name).second;
}

void TProgramProfileCache::AddKeys(TKeysToAsk& keys) const {
  for (const auto& [name, table] : tables_) keys.AddBindings(*table);
}
