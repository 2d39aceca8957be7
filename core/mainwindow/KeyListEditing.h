// The edits of the key list on the binding tables: every change goes to the edit
// list and, while the edited profile is the active global one, to the same slot of
// the live global table, so that it works at once. The window (KeysPage) asks the
// user and shows the result; the modified flag and the Save button are its part.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/keys/KeyLookup.h"
#include "core/keys/KeyRecord.h"
#include "core/settings/Profiles.h"

class TKeyListEditing {
 public:
  TKeyListEditing(TKeyTable& editList, TKeyTable& liveGlobal, TProfileState& state)
      : editList_(editList), liveGlobal_(liveGlobal), state_(state) {}

  // Whether the live global table follows the edit list (same profile).
  bool Mirrored() const { return state_.ActiveGlobalProfile == state_.EditedProfile; }
  std::size_t Count() const { return editList_.Count; }
  const TKeyRecord& Binding(std::size_t index) const { return editList_.Slots[index]; }

  // Room for one more binding in every table that receives it: the edit list, and
  // the live table only while it follows the edit list.
  bool CanAdd() const { return !editList_.Full() && !(Mirrored() && liveGlobal_.Full()); }
  // The first binding of the same key (same codes, message, plug-in name, and
  // modifiers under the lookup's rule); nullopt for none. Disabled bindings count.
  std::optional<std::size_t> FindSameKey(const TKeyEvent& key, bool sideAgnostic) const;

  // Appends a binding of the key with the name (cut to 25) and no action; its index,
  // nullopt when a table is full.
  std::optional<std::size_t> Append(const TKeyEvent& key, std::string_view name);
  // False when the index holds no binding.
  bool Delete(std::size_t index);
  // The binding fires on this key now.
  bool SetKey(std::size_t index, const TKeyEvent& key);
  bool Rename(std::size_t index, std::string_view name);
  // The notice text (cut to 50) and the auto-repeat rate (0 none).
  bool SetOptions(std::size_t index, std::string_view osdText, std::uint8_t repeatRate);
  bool SetDisabled(std::size_t index, bool disabled);
  // Moves the binding at source to target, the ones between shifting by one; false
  // (nothing moves) when either is no binding or they are the same.
  bool Move(std::size_t source, std::size_t target);

 private:
  bool Valid(std::size_t index) const { return index < editList_.Count; }
  // Copies the edit list's record to the live table when it follows.
  void Mirror(std::size_t index);

  TKeyTable& editList_;
  TKeyTable& liveGlobal_;
  TProfileState& state_;
};
