#include "core/keys/KeysToAsk.h"

void TKeysToAsk::AddKey(std::uint8_t vk) {
  Downs.set(vk);
  Ups.set(vk);
}

void TKeysToAsk::AddBindings(const TKeyTable& table) {
  for (std::size_t i = 0; i < table.Count && i < TKeyTable::SlotCount; ++i) {
    const TKeyRecord& record = table.Slots[i];
    if (record.Msg == KeyMsgDown || record.Msg == KeyMsgSysDown) Downs.set(record.Vk);
    if (record.Msg == KeyMsgUp || record.Msg == KeyMsgSysUp) Ups.set(record.Vk);
  }
}

bool TKeysToAsk::Asks(std::uint8_t vk, std::int32_t msg) const {
  if (All) return true;
  return msg == KeyMsgDown || msg == KeyMsgSysDown ? Downs.test(vk) : Ups.test(vk);
}
