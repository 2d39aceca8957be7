#include "core/keys/BindingAccess.h"

namespace {
constexpr std::uint8_t NoSelection = 255;
}

TBindingAccess::TBindingAccess(TKeyTable& editList, TKeyTable& liveGlobal, TProfileState& state,
                               IKeyListView& keyList)
    : editList_(editList), liveGlobal_(liveGlobal), state_(state), keyList_(keyList) {}

std::optional<std::size_t> TBindingAccess::Selected() const {
  const auto index = static_cast<std::uint8_t>(keyList_.ItemIndex());
  if (editList_.Count == 0 || index == NoSelection || index >= editList_.Count) return std::nullopt;
  return index;
}

TKeyRecord* TBindingAccess::Mirror(std::size_t index) {
  if (state_.ActiveGlobalProfile != state_.EditedProfile || index >= liveGlobal_.Count) return nullptr;
  return &liveGlobal_.Slots[index];
}

void TBindingAccess::MarkModified() {
  state_.ProfileModified = 1;
  keyList_.EnableSaveButton();
}

std::uint8_t TBindingAccess::getkey() {
  const auto i = Selected();
  LastReadActionCode = i ? editList_.Slots[*i].ActionCode : 0;
  return LastReadActionCode;
}

std::uint8_t TBindingAccess::getkeybyindex(std::uint8_t index) {
  const bool valid = editList_.Count > 0 && index != NoSelection && index < editList_.Count;
  LastReadActionCode = valid ? editList_.Slots[index].ActionCode : 0;
  return LastReadActionCode;
}

std::string TBindingAccess::getkeydop() {
  const auto i = Selected();
  LastReadParams = i ? editList_.Slots[*i].Params.str() : std::string();
  return LastReadParams;
}

void TBindingAccess::setkey(std::uint8_t code) {
  const auto i = Selected();
  if (!i) return;
  TKeyRecord& record = editList_.Slots[*i];
  const bool changed = record.ActionCode != code;
  record.ActionCode = code;
  if (TKeyRecord* live = Mirror(*i)) live->ActionCode = code;
  if (changed) MarkModified();
}

void TBindingAccess::setkeydop(std::string_view params) {
  const auto i = Selected();
  if (!i) return;
  const TShortString<255> stored(params);
  TKeyRecord& record = editList_.Slots[*i];
  const bool changed = !(record.Params == stored);
  record.Params = stored;
  if (TKeyRecord* live = Mirror(*i)) live->Params = stored;
  if (changed) MarkModified();
}
