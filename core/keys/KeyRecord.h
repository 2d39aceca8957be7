// Key bindings as they live in memory and in the profile files (".gpf", ".lpf").
// A binding record is 613 bytes, packed, the same in both places; the profile files
// are plain sequences of such records, so the layout below must never change.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "vcl/ShortString.h"

// The live modifier keys as eight '0'/'1' characters, one per key:
// LShift, LCtrl, LWin, LAlt, RAlt, RWin, RCtrl, RShift (pairs mirrored about the middle).
using TModifierState = TShortString<8>;
inline constexpr std::string_view NoModifiers = "00000000";

// Selects the action of a binding; ranges of codes select the action family.
using TActionCode = std::uint8_t;

// Key messages a binding can fire on (0 for plug-in buttons).
enum : std::int32_t {
  KeyMsgDown = 256,
  KeyMsgUp = 257,
  KeyMsgSysDown = 260,
  KeyMsgSysUp = 261,
};

#pragma pack(push, 1)
struct TKeyRecord {
  static constexpr std::size_t StoredSize = 613;
  static constexpr std::uint8_t ClearedExtra = 111;

  TShortString<25> Name;        // shown in the key list, caption of the popup notice
  TShortString<50> OsdText;     // the binding's own notice; empty = the action's notice
  std::uint8_t Code2 = 0;       // second code of the key event; 1 for plug-in buttons
  std::uint8_t Vk = 0;          // virtual-key code; 1 for plug-in buttons
  std::uint8_t Extra = ClearedExtra;  // low byte of the event's third value; kept, never compared
  std::int32_t Msg = 0;         // the key message that fires the binding
  TModifierState Modifiers;     // modifiers held with the key
  std::uint8_t RepeatRate = 0;  // auto-repeat runs per second while held; 0 = none
  TActionCode ActionCode = 0;   // 0 = no action
  TShortString<255> Params;     // the action's parameter string (plain or tagged)
  std::uint8_t Disabled = 0;    // 1 = switched off, never matched
  TShortString<255> PluginKeyName;  // plug-in button name; empty for keyboard keys
  std::uint8_t Reserved1 = 0;   // written 0, never read
  std::int32_t Reserved2 = 0;   // written 0, never read

  // The state of every free slot: lengths and numbers 0, the third value 111.
  void Clear() { *this = TKeyRecord{}; }

  // Exactly StoredSize bytes, field by field, numbers little-endian.
  void Store(std::uint8_t* out) const;
  std::array<std::uint8_t, StoredSize> Bytes() const;
  // Reads StoredSize bytes; every short-string length is clamped to its capacity.
  static TKeyRecord Load(const std::uint8_t* in);
};
#pragma pack(pop)

static_assert(sizeof(TKeyRecord) == TKeyRecord::StoredSize, "profile files hold 613-byte records");
static_assert(offsetof(TKeyRecord, Name) == 0);
static_assert(offsetof(TKeyRecord, OsdText) == 26);
static_assert(offsetof(TKeyRecord, Code2) == 77);
static_assert(offsetof(TKeyRecord, Vk) == 78);
static_assert(offsetof(TKeyRecord, Extra) == 79);
static_assert(offsetof(TKeyRecord, Msg) == 80);
static_assert(offsetof(TKeyRecord, Modifiers) == 84);
static_assert(offsetof(TKeyRecord, RepeatRate) == 93);
static_assert(offsetof(TKeyRecord, ActionCode) == 94);
static_assert(offsetof(TKeyRecord, Params) == 95);
static_assert(offsetof(TKeyRecord, Disabled) == 351);
static_assert(offsetof(TKeyRecord, PluginKeyName) == 352);
static_assert(offsetof(TKeyRecord, Reserved1) == 608);
static_assert(offsetof(TKeyRecord, Reserved2) == 609);

// 256 slots and a count; slots 0..Count-1 hold the bindings in list order, the rest
// are cleared. At most 255 bindings, so the count byte never wraps.
struct TKeyTable {
  static constexpr std::size_t SlotCount = 256;
  static constexpr std::size_t MaxBindings = 255;

  std::array<TKeyRecord, SlotCount> Slots{};
  std::uint8_t Count = 0;

  // Resets every slot to the cleared record and the count to 0.
  void Clear();
  bool Full() const { return Count >= MaxBindings; }
  // Appends a binding; false (and nothing changes) when the table is full.
  bool Add(const TKeyRecord& record);
  // Removes the binding at index, moving the later ones up; false when out of range.
  bool Delete(std::size_t index);
};
