// The per-program profiles in memory, so that the key road switches to the one of
// the program in front without reading a file: every profile bound to a program is
// read once, from the main loop, whenever the profile table is loaded. A profile
// whose file could not be read is kept as such and reported once when the road
// first needs it.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyRecord.h"
#include "core/keys/KeysToAsk.h"

class TProgramProfileCache {
 public:
  // A program path in the one letter case that comparisons use.
  using Fold = std::function<std::string(std::string_view path)>;
  // The bytes of a per-program profile's file; empty when there is no file (an empty
  // profile), nullopt when it exists but cannot be read.
  using Read = std::function<std::optional<std::string>(const std::string& name)>;

  struct TBinding {
    std::string Program;  // the bound program's full path, as the profile table keeps it
    std::string Name;     // the profile
  };

  explicit TProgramProfileCache(Fold fold) : fold_(std::move(fold)) {}

  // Reads every profile of the list afresh; the first binding of a program wins.
  void Load(const std::vector<TBinding>& bindings, const Read& read);

  // The profile bound to the program, whatever the letter case of either path.
  std::string ProfileForProgram(std::string_view exePath) const;
  // Copies the profile into `into`; false when its file could not be read (or the
  // profile is not known), and `into` is left as it was.
  bool CopyProfile(const std::string& name, TKeyTable& into) const;
  // True the first time an unreadable profile is asked to be reported after Load.
  bool TakeReport(const std::string& name);
  void AddKeys(TKeysToAsk& keys) const;

 private:
  Fold fold_;
  std::map<std::string, std::string> profileOfProgram_;  // folded path -> name
  std::map<std::string, std::unique_ptr<TKeyTable>> tables_;
  std::set<std::string> unreadable_;
  std::set<std::string> reported_;
};
