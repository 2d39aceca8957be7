#include "core/settings/GlobalProfileStep.h"

#include <algorithm>

namespace {
bool IsNamedGlobal(const TProfileEntry& e) { return e.Kind.str() == GlobalProfileKind && !e.Name.str().empty(); }
}  // namespace

std::optional<TGlobalProfileStep> StepGlobalProfile(const TProfileTable& table, std::string_view active,
                                                    int direction) {
  const std::size_t count = std::min<std::size_t>(table.Count, TProfileTable::MaxProfiles);
  std::size_t current = 0;
  for (std::size_t i = 1; i <= count; ++i)
    if (table.Entries[i].Name.str() == active) {
      current = i;
      break;
    }
  // Next: after the current entry, then from the first up to it. Previous: before
  // it going down, then from the last down to it. (No current entry: all of them.)
  std::optional<std::size_t> found;
  auto look = [&](std::size_t i) {
    if (!found && i != current && IsNamedGlobal(table.Entries[i])) found = i;
  };
  if (direction > 0) {
    for (std::size_t i = current + 1; i <= count; ++i) look(i);
    for (std::size_t i = 1; i < current; ++i) look(i);
  } else {
    for (std::size_t i = current; i > 1; --i) look(i - 1);
    for (std::size_t i = count; i > current; --i) look(i);
  }
  if (!found) return std::nullopt;
  TGlobalProfileStep result;
  result.Entry = *found;
  for (std::size_t i = 1; i <= count; ++i) {
    if (!IsNamedGlobal(table.Entries[i])) continue;
    ++result.Count;
    if (i <= *found) result.Position = result.Count;
  }
  return result;
}
