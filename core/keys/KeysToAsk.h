// The keys the program may take right now, which the hook library asks the main
// thread about; every other key passes at once and is reported afterwards. The set
// errs on the side of asking: a key the program would take but that is missing here
// reaches the program in front, while an extra key only costs it a short wait.
#pragma once
#include <bitset>
#include <cstdint>

#include "core/keys/KeyRecord.h"

struct TKeysToAsk {
  std::bitset<256> Downs;  // key-downs (messages 256, 260)
  std::bitset<256> Ups;    // key-ups (257, 261)
  bool All = false;        // every key, whatever the sets say

  static TKeysToAsk Everything() {
    TKeysToAsk keys;
    keys.All = true;
    return keys;
  }
  // Both halves of the key: down and up.
  void AddKey(std::uint8_t vk);
  // The key and message each binding fires on, disabled ones too (they can be
  // switched on without the tables being loaded again).
  void AddBindings(const TKeyTable& table);
  bool Asks(std::uint8_t vk, std::int32_t msg) const;
  friend bool operator==(const TKeysToAsk&, const TKeysToAsk&) = default;
};
