// The table of plug-ins and their file "plugins.db" (one line per plug-in:
// its name, a blank, then "=1" for enabled or "=0").
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "vcl/ShortString.h"

inline constexpr std::size_t kMaxPlugins = 21;

struct TPluginEntry {
  TShortString<50> name;      // what the plug-in's GetName returned (its file name when left out)
  std::filesystem::path path;  // full path of the library, wide: any program folder will do
  std::uint8_t loaded = 0;     // 1 while the host has it enabled
  std::uint8_t enabled = 0;    // the user's choice
  std::uint8_t failed = 0;     // 1: left out, a call into it crashed or never returned
  void* module = nullptr;      // the handle EnablePlugin returned, or none
};

struct TPluginTable {
  std::array<TPluginEntry, kMaxPlugins> entries{};
  std::uint8_t count = 0;
  bool full() const { return count >= kMaxPlugins; }
};

// The verdict of "plugins.db" for one name: a line belongs to the name when all
// but its last three characters equal the name exactly; "=1" enables, "=0"
// disables, anything else keeps the verdict so far; the last such line wins.
// No file or no line: disabled.
bool PluginEnabledInDb(std::string_view dbText, std::string_view name);

// "plugins.db" as written from the table, in table order, lines ending CR LF.
// Plug-ins left out as failed have no line: their name may be only a file name.
std::string FormatPluginsDb(const TPluginTable& table);
