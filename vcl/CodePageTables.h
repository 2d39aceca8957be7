// Built-in tables of the single-byte code pages the native build knows. The Windows
// build asks the system instead; its tests compare these tables with it.
#pragma once
#include <cstdint>

namespace vcl::detail {

// The 128 characters of bytes 0x80..0xFF, or nullptr for a code page without a table.
const char16_t* HighHalfTable(unsigned codePage);

}  // namespace vcl::detail
