// How the action settings frames read and change the binding selected in the key
// list: its action code and its parameter string. Every change goes to the edit
// list and, while the edited profile is the active global one, to the same slot of
// the live global table, so that it works at once.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/keys/KeyRecord.h"
#include "core/settings/Profiles.h"
#include "core/settings/ProfilesKeyList.h"

class TBindingAccess {
 public:
  TBindingAccess(TKeyTable& editList, TKeyTable& liveGlobal, TProfileState& state, IKeyListView& keyList);

  // The selected binding's action code; 0 when the list is empty or nothing is selected.
  std::uint8_t getkey();
  // The action code of edit-list record Index (the key list's drawing); 0 for an
  // empty list, Index 255 (no selection) or an index past the bindings.
  std::uint8_t getkeybyindex(std::uint8_t index);
  // The selected binding's parameter string; empty when nothing is selected.
  std::string getkeydop();

  // Store into the selected binding. The profile counts as modified exactly when
  // the stored value changes: the comparison is with the binding itself, never
  // with whatever was read last (the list's drawing reads other bindings).
  void setkey(std::uint8_t code);
  // Params is cut to 255 characters.
  void setkeydop(std::string_view params);

  std::uint8_t LastReadActionCode = 0;
  std::string LastReadParams;

 private:
  // The selected edit-list index; none for -1 (taken as the byte 255), an empty
  // list, or an index past the bindings.
  std::optional<std::size_t> Selected() const;
  // The live global slot that mirrors edit-list slot `index`, when the edited
  // profile is the active one.
  TKeyRecord* Mirror(std::size_t index);
  void MarkModified();

  TKeyTable& editList_;
  TKeyTable& liveGlobal_;
  TProfileState& state_;
  IKeyListView& keyList_;
};
