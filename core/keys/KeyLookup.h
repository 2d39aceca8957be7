// Finding the bindings of a key event in the live tables.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyRecord.h"

// One key event as the hook (or a plug-in) reported it.
struct TKeyEvent {
  std::uint8_t Vk = 0;
  std::uint8_t Code2 = 0;
  std::uint8_t Extra = 0;  // low byte of the third value
  std::int32_t Msg = 0;
  std::string Modifiers{NoModifiers};  // copy of the live modifier state
  std::string PluginKeyName;           // empty for keyboard keys
};

// The modifier test of the lookup. With sideAgnostic (`optlrmodif`) each kind of
// modifier matches either side, but no extra kind may be held. A state that is not
// exactly eight '0'/'1' characters never matches.
bool ModifiersMatch(std::string_view recordModifiers, std::string_view eventModifiers, bool sideAgnostic);

// Whether one binding fires for the event; disabled bindings never do.
bool BindingMatches(const TKeyRecord& record, const TKeyEvent& event, bool sideAgnostic);

struct TLookupOptions {
  bool optlrmodif = false;   // side-agnostic modifiers
  bool optmultiact = false;  // every matching binding runs, not only the first
  bool optmb = false;        // Ctrl+digit chords of the clipboard keys are taken
};

struct TLookupResult {
  bool Found = false;
  // Copies of the matched bindings in table order: the first match, or every match
  // with `optmultiact`. Empty when the key is taken without a binding.
  std::vector<TKeyRecord> Matches;
};

// Searches the per-program table first (when one is active), then the global table;
// a match in the per-program table hides the global one entirely.
TLookupResult getact(const TKeyTable* perProgram, const TKeyTable& global, const TKeyEvent& event,
                     const TLookupOptions& options);
