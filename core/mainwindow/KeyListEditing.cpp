#include "core/mainwindow/KeyListEditing.h"

#include <algorithm>

std::optional<std::size_t> TKeyListEditing::FindSameKey(const TKeyEvent& key, bool sideAgnostic) const {
  for (std::size_t i = 0; i < editList_.Count; ++i) {
    const TKeyRecord& r = editList_.Slots[i];
    if (r.Code2 == key.Code2 && r.Vk == key.Vk && r.Msg == key.Msg && r.PluginKeyName.str() == key.PluginKeyName &&
        ModifiersMatch(r.Modifiers.str(), key.Modifiers, sideAgnostic))
      return i;
  }
  return std::nullopt;
}

namespace {
void StoreKey(TKeyRecord& r, const TKeyEvent& key) {
  r.Code2 = key.Code2;
  r.Vk = key.Vk;
  r.Extra = key.Extra;
  r.Msg = key.Msg;
  r.Modifiers = key.Modifiers;
  r.PluginKeyName = key.PluginKeyName;
}
}  // namespace

std::optional<std::size_t> TKeyListEditing::Append(const TKeyEvent& key, std::string_view name) {
  if (!CanAdd()) return std::nullopt;
  TKeyRecord r;
  StoreKey(r, key);
  r.Name = name;
  // Index 0 of an empty list is the live table's first slot too only when the two
  // hold the same bindings; the live table gets its own next slot.
  const std::size_t index = editList_.Count;
  editList_.Add(r);
  if (Mirrored()) liveGlobal_.Add(r);
  return index;
}

bool TKeyListEditing::Delete(std::size_t index) {
  if (!Valid(index)) return false;
  editList_.Delete(index);
  // A live table out of step (fewer bindings) loses nothing that is not there.
  if (Mirrored()) liveGlobal_.Delete(index);
  return true;
}

void TKeyListEditing::Mirror(std::size_t index) {
  if (!Mirrored()) return;
  if (index < liveGlobal_.Count) {
    liveGlobal_.Slots[index] = editList_.Slots[index];
  } else if (index == liveGlobal_.Count && !liveGlobal_.Full()) {
    liveGlobal_.Add(editList_.Slots[index]);
  }
}

bool TKeyListEditing::SetKey(std::size_t index, const TKeyEvent& key) {
  if (!Valid(index)) return false;
  StoreKey(editList_.Slots[index], key);
  Mirror(index);
  return true;
}

bool TKeyListEditing::Rename(std::size_t index, std::string_view name) {
  if (!Valid(index)) return false;
  editList_.Slots[index].Name = name;
  Mirror(index);
  return true;
}

bool TKeyListEditing::SetOptions(std::size_t index, std::string_view osdText, std::uint8_t repeatRate) {
  if (!Valid(index)) return false;
  editList_.Slots[index].OsdText = osdText;
  editList_.Slots[index].RepeatRate = repeatRate;
  Mirror(index);
  return true;
}

bool TKeyListEditing::SetDisabled(std::size_t index, bool disabled) {
  if (!Valid(index)) return false;
  editList_.Slots[index].Disabled = disabled ? 1 : 0;
  Mirror(index);
  return true;
}

bool TKeyListEditing::Move(std::size_t source, std::size_t target) {
  if (!Valid(source) || !Valid(target) || source == target) return false;
  auto move = [&](TKeyTable& t) {
    auto first = t.Slots.begin();
    if (target < source) std::rotate(first + target, first + source, first + source + 1);
    else std::rotate(first + source, first + source + 1, first + target + 1);
  };
  move(editList_);
  if (Mirrored() && source < liveGlobal_.Count && target < liveGlobal_.Count) move(liveGlobal_);
  return true;
}
