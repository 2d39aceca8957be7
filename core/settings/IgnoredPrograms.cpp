#include "core/settings/IgnoredPrograms.h"

#include <algorithm>

TIgnoredPathRefusal CheckIgnoredProgramPath(std::string_view path) {
  if (path.empty()) return TIgnoredPathRefusal::Empty;
  if (path.find(';') != std::string_view::npos) return TIgnoredPathRefusal::HasSeparator;
  return TIgnoredPathRefusal::None;
}

TIgnoredPathRefusal TIgnoredPrograms::Add(const std::string& path) {
  const TIgnoredPathRefusal refusal = CheckIgnoredProgramPath(path);
  if (refusal != TIgnoredPathRefusal::None) return refusal;
  ext_.IgnoredPrograms.push_back(path);
  ext_.IgnoredProgramsInUse = true;
  return TIgnoredPathRefusal::None;
}

bool TIgnoredPrograms::Delete(int index) {
  auto& entries = ext_.IgnoredPrograms;
  if (index < 0 || index >= static_cast<int>(entries.size())) return false;
  entries.erase(entries.begin() + index);
  if (entries.empty()) ext_.IgnoredProgramsInUse = false;
  return true;
}

bool TIgnoredPrograms::Contains(std::string_view path, const TPathFold& fold) const {
  if (!InUse()) return false;
  const std::wstring wanted = fold(path);
  return std::any_of(Entries().begin(), Entries().end(),
                     [&](const std::string& entry) { return fold(entry) == wanted; });
}
