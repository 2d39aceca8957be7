// What the profile manager page does with the profiles, apart from its controls:
// make a global profile active, create, edit, save, save under another name,
// delete, and bind a profile to a program. All file work goes through the
// profile store; what the user is asked or told goes through IProfileDialogs, so
// the decisions are tested with real files and scripted answers.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/Profiles.h"

// The prefix of the names a created profile gets: newprofile1, newprofile2 ...
inline constexpr std::string_view NewProfilePrefix = "newprofile";

enum class TSaveChangesAnswer { Save, Discard, Cancel };

class IProfileDialogs {
 public:
  virtual ~IProfileDialogs() = default;
  // The edit list holds unsaved changes of `profile`: save them, drop them, or
  // leave everything as it is (the operation stops).
  virtual TSaveChangesAnswer AskSaveChanges(const std::string& profile) = 0;
  // The name to save under; nothing when the user cancelled.
  virtual std::optional<std::string> AskProfileName() = 0;
  // A profile of that name exists: true to write over it.
  virtual bool AskOverwrite(const std::string& profile) = 0;
  // The language message of that name, "%n" standing for `profile`.
  virtual void Tell(std::wstring_view message, const std::string& profile) = 0;
};

// What an operation changed beyond the table the page shows.
struct TProfileEffects {
  // Profiles the key road uses changed (a program's profile, the live tables):
  // the per-program profiles are read again.
  bool ProfilesChanged = false;
  // The edit list is what its file holds: nothing is left to save.
  bool EditListSaved = false;
  // The page closes: the key list shows the profile to edit.
  bool ClosePage = false;
};

struct TProfileRow {
  std::string Name;
  std::string Kind;  // "-" global, else the program's path
  bool Global() const { return Kind == GlobalProfileKind; }
};

class TProfileManager {
 public:
  TProfileManager(TProfileStore& store, TProfileState& state, IProfileDialogs& dialogs)
      : store_(store), state_(state), dialogs_(dialogs) {}

  // The profiles in table order.
  std::vector<TProfileRow> Rows() const;
  // newprofile + the smallest n from 1 that no profile has.
  std::string NewProfileName() const;

  TProfileEffects SetActive(const std::string& name);
  TProfileEffects Save();
  TProfileEffects SaveAs();
  TProfileEffects Create();
  TProfileEffects Edit(const std::string& name);
  TProfileEffects Delete(const std::string& name);
  // `program` is the path as the key road compares it (lower-cased full long path
  // of an existing file).
  TProfileEffects BindToProgram(const std::string& name, const std::string& program);

 private:
  // False when the user cancelled or the changes could not be saved: the
  // operation stops and the edits stay.
  bool settlePendingChanges(TProfileEffects& effects);
  // The edit list now matches its file; the live global table follows the file too
  // when the edited profile is the active one (it mirrored the dropped edits).
  void markEditListClean(TProfileEffects& effects, bool editsDropped);
  const TProfileEntry* find(const std::string& name) const;
  TProfileEntry* find(const std::string& name);
  bool tableFull() const { return store_.Table().Count >= TProfileTable::MaxProfiles; }

  TProfileStore& store_;
  TProfileState& state_;
  IProfileDialogs& dialogs_;
};
