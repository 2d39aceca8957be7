// The byte formats the shell controls exchange with the outside: the locator's "Pidl"
// form data, the shell's "Shell IDList Array" block (a CIDA) and the CF_HDROP block.
//
// Readers take the bytes as untrusted: every count, offset and list walk is checked
// against the bytes given, and a block that fails a check is refused as a whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Vy {

// ---- "Pidl": kind byte; kind 1: the special-folder number; kind 0: the 32-bit
// little-endian size of the list (terminator included) and the list's bytes.
struct TLocatorData {
  std::uint8_t Kind = 0;
  std::uint8_t SpecialFolder = 0;
  // Kind 0 only: the whole list with its terminator; empty for no list.
  std::vector<std::uint8_t> IdList;
};

// A kind 0 locator writes the list (which may be null); kind 1 its number.
std::vector<std::uint8_t> EncodeLocator(std::uint8_t kind, std::uint8_t specialFolder, const void* idList);
// Raises EReadError when the data ends early, carries bytes beyond its list, or holds a
// list that is larger than kMaxIdListBytes or does not walk to its terminator exactly
// at the given size. A size of 0 reads as kind 1, special folder 0 (the desktop).
TLocatorData DecodeLocator(const std::vector<std::uint8_t>& data);

// ---- "Shell IDList Array": count n, n + 1 offsets (parent, then items), the lists.
// A null parent is written as the empty list (the desktop).
std::vector<std::uint8_t> BuildIdListArray(const void* parent, const std::vector<const void*>& items);

struct TIdListArrayView {
  const std::uint8_t* Parent = nullptr;
  std::vector<const std::uint8_t*> Items;
};
// The lists inside a block of `size` bytes; false when the count, an offset or a list
// walk leaves the block.
bool ParseIdListArray(const std::uint8_t* data, std::size_t size, TIdListArrayView& out);

// ---- CF_HDROP: the 20-byte DROPFILES header (names at 20, wide) and each name as
// zero-terminated UTF-16, one more zero at the end.
constexpr std::size_t kDropFilesHeaderBytes = 20;
std::vector<std::uint8_t> BuildDropFiles(const std::vector<std::u16string>& names);

}  // namespace Vy
