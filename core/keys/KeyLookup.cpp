#include "core/keys/KeyLookup.h"

namespace {

bool validState(std::string_view s) {
  if (s.size() != 8) return false;
  for (char c : s)
    if (c != '0' && c != '1') return false;
  return true;
}

// Scans slots 0..Count-1; false when nothing matched.
bool scan(const TKeyTable& table, const TKeyEvent& event, const TLookupOptions& options,
          TLookupResult& result) {
  bool found = false;
  for (std::size_t i = 0; i < table.Count; ++i) {
    const TKeyRecord& record = table.Slots[i];
    if (!BindingMatches(record, event, options.optlrmodif)) continue;
    found = true;
    result.Matches.push_back(record);
    if (!options.optmultiact) break;
  }
  return found;
}

}  // namespace

bool ModifiersMatch(std::string_view recordModifiers, std::string_view eventModifiers, bool sideAgnostic) {
  if (!validState(recordModifiers) || !validState(eventModifiers)) return false;
  if (!sideAgnostic) return recordModifiers == eventModifiers;
  // Pairs of one kind lie mirrored about the middle: 1/8, 2/7, 3/6, 4/5.
  for (std::size_t left = 0; left < 4; ++left) {
    const std::size_t right = 7 - left;
    const bool eventHeld = eventModifiers[left] == '1' || eventModifiers[right] == '1';
    const bool recordHeld = recordModifiers[left] == '1' || recordModifiers[right] == '1';
    if (eventHeld != recordHeld) return false;
  }
  return true;
}

bool BindingMatches(const TKeyRecord& record, const TKeyEvent& event, bool sideAgnostic) {
  return record.Disabled == 0 && record.Code2 == event.Code2 && record.Vk == event.Vk &&
         record.Msg == event.Msg && record.PluginKeyName.view() == event.PluginKeyName &&
         ModifiersMatch(record.Modifiers.view(), event.Modifiers, sideAgnostic);
}

TLookupResult getact(const TKeyTable* perProgram, const TKeyTable& global, const TKeyEvent& event,
                     const TLookupOptions& options) {
  TLookupResult result;
  if (perProgram && scan(*perProgram, event, options, result)) {
    result.Found = true;
    return result;
  }
  result.Found = scan(global, event, options, result);
  // The RavodOzezadori chords (a digit with both Ctrl keys or both Win keys) are taken
  // even when unbound; no binding runs for them then.
  if (!result.Found && options.optmb && event.Vk >= '0' && event.Vk <= '9' &&
      (event.Modifiers == "01000010" || event.Modifiers == "00100100"))
    result.Found = true;
  return result;
}
