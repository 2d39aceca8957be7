// Item ID lists of the shell namespace, walked as bytes.
//
// An ID list is a run of items, each led by its 16-bit little-endian byte count
// (counting those two bytes), ended by a 16-bit zero. The empty list (the terminator
// alone) is the desktop; a null list has size 0.
//
// Two kinds of walk: the plain ones trust the list (the shell made it, or it passed
// CheckedIdListSize); the checked one takes bytes from outside (a form resource, another
// program's clipboard block) and never reads past the bytes it was given.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace Vy {

// Larger lists are refused when read from outside: no real path comes near it.
constexpr std::size_t kMaxIdListBytes = 64 * 1024;

// The size with the terminator; 0 for null.
std::size_t IdListSize(const void* list);
// The number of items; 0 for null or the empty list.
int IdListItemCount(const void* list);
// The bytes of the first `count` items, without terminator (all of them when fewer).
std::size_t IdListPrefixBytes(const void* list, int count);
// Item `index` (its first byte), null when out of range.
const std::uint8_t* IdListItemAt(const void* list, int index);
// The byte order of the sorted PIDL list: the first differing byte over the shorter
// size decides, then the shorter list comes first. Null counts as size 0.
int CompareIdListBytes(const void* a, const void* b);

// The size of the list at `data` (with terminator) when every item count lies within
// `available` bytes, no item is shorter than its count field, the terminator is there,
// and the whole is at most kMaxIdListBytes; nothing otherwise.
std::optional<std::size_t> CheckedIdListSize(const std::uint8_t* data, std::size_t available);

// A new list: the first `count` items of `list`, then the items of `tail`, one
// terminator. Both may be null (counting as empty).
std::vector<std::uint8_t> JoinIdListBytes(const void* list, int count, const void* tail);

}  // namespace Vy
