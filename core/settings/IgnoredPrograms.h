// The ignored programs: while one of them is in front, the key engine leaves every
// key alone. The list lives in the extended settings (TExtSettings::IgnoredPrograms,
// full paths in the order added, and IgnoredProgramsInUse, set once the list was
// loaded non-empty or an entry added) and is stored ";"-joined under
// "IgnoredPrograms", the form earlier settings files have.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/ExtSettings.h"

// Why a path cannot be an entry.
enum class TIgnoredPathRefusal {
  None,
  Empty,
  // The stored form joins the entries with ";": such a path would come back as
  // two entries naming no program.
  HasSeparator,
};

TIgnoredPathRefusal CheckIgnoredProgramPath(std::string_view path);

// A path folded to one letter case, as the platform compares program paths.
using TPathFold = std::function<std::wstring(std::string_view)>;

class TIgnoredPrograms {
 public:
  explicit TIgnoredPrograms(TExtSettings& ext) : ext_(ext) {}

  bool InUse() const { return ext_.IgnoredProgramsInUse; }
  const std::vector<std::string>& Entries() const { return ext_.IgnoredPrograms; }

  // Appends the path (the same path may be listed twice) and sets the in-use flag;
  // a refused path changes nothing.
  TIgnoredPathRefusal Add(const std::string& path);
  // Deletes the entry at index; false (nothing changes) for an index outside the
  // list. Once the list is empty the in-use flag is cleared: the caller clears the
  // key engine's foreground flag with it, so ignoring stops at once.
  bool Delete(int index);
  // Whether the program is listed, letter case aside; never while the list is not in use.
  bool Contains(std::string_view path, const TPathFold& fold) const;

 private:
  TExtSettings& ext_;
};
