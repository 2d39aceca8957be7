// "stg.db": the byte layout of the settings records, little-endian, no padding:
//   16 header, 200 main, 20 popup, 5120 strings, 80 colours,
//   ten font slots (tag 60 + colour + 60-byte LOGFONTA, or tag 0 alone),
//   20 hot keys.
// 6136 bytes when all ten fonts are present.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "core/settings/Settings.h"

inline constexpr std::size_t SettingsFontTagPresent = 60;
inline constexpr std::size_t SettingsFileSizeAllFonts = 6136;

// The file as the records stand; header bytes 0-8 are written as "Stg v0.1".
std::string StoreSettingsFile(const TSettingsRecords& records);

// Reads what the bytes hold into the records, in file order; fields that the bytes
// do not cover keep their values (defaults for a short file), extra bytes are
// ignored, font slots that are not in the file are left empty. The header is not
// checked.
void LoadSettingsFile(std::string_view bytes, TSettingsRecords& records);

// Whether the bytes are a whole file as this program writes it: the signature in
// header bytes 0-8, every part complete, each font slot tagged 60 or 0, nothing
// after the hot keys. Any other file is damaged, even when the loader can take
// part of it.
bool IsWellFormedSettingsFile(std::string_view bytes);
