// The table of plug-ins and their file "plugins.db" (one line per plug-in:
// its name, a blank, then "=1" for enabled or "=0").
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "vcl/ShortString.h"

inline constexpr std::size_t kMaxPlugins = 21;

struct TPluginEntry {
  TShortString<50> name;   // what the plug-in's GetName returned
  TShortString<255> path;  // full path of the library
  std::uint8_t loaded = 0;   // 1 while the host has it enabled
  std::uint8_t enabled = 0;  // the user's choice
  void* module = nullptr;    // the handle EnablePlugin returned, or none
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
std::string FormatPluginsDb(const TPluginTable& table);
