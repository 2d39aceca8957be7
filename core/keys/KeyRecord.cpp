#include "core/keys/KeyRecord.h"

#include <algorithm>

namespace {

void putInt32(std::uint8_t* out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t getInt32(const std::uint8_t* in) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return static_cast<std::int32_t>(u);
}

}  // namespace

void TKeyRecord::Store(std::uint8_t* out) const {
  Name.store(out + 0);
  OsdText.store(out + 26);
  out[77] = Code2;
  out[78] = Vk;
  out[79] = Extra;
  putInt32(out + 80, Msg);
  Modifiers.store(out + 84);
  out[93] = RepeatRate;
  out[94] = ActionCode;
  Params.store(out + 95);
  out[351] = Disabled;
  PluginKeyName.store(out + 352);
  out[608] = 0;  // reserved: always written 0
  putInt32(out + 609, 0);
}

std::array<std::uint8_t, TKeyRecord::StoredSize> TKeyRecord::Bytes() const {
  std::array<std::uint8_t, StoredSize> b{};
  Store(b.data());
  return b;
}

TKeyRecord TKeyRecord::Load(const std::uint8_t* in) {
  TKeyRecord r;
  r.Name.load(in + 0);
  r.OsdText.load(in + 26);
  r.Code2 = in[77];
  r.Vk = in[78];
  r.Extra = in[79];
  r.Msg = getInt32(in + 80);
  r.Modifiers.load(in + 84);
  r.RepeatRate = in[93];
  r.ActionCode = in[94];
  r.Params.load(in + 95);
  r.Disabled = in[351];
  r.PluginKeyName.load(in + 352);
  r.Reserved1 = in[608];
  r.Reserved2 = getInt32(in + 609);
  return r;
}

void TKeyTable::Clear() {
  for (auto& slot : Slots) slot.Clear();
  Count = 0;
}

bool TKeyTable::Add(const TKeyRecord& record) {
  if (Full()) return false;
  Slots[Count] = record;
  ++Count;
  return true;
}

bool TKeyTable::Delete(std::size_t index) {
  if (index >= Count) return false;
  std::move(Slots.begin() + static_cast<std::ptrdiff_t>(index) + 1, Slots.begin() + Count,
            Slots.begin() + static_cast<std::ptrdiff_t>(index));
  --Count;
  Slots[Count].Clear();
  return true;
}
