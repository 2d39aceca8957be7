#include "core/plugins/PluginTable.h"

bool PluginEnabledInDb(std::string_view dbText, std::string_view name) {
  bool enabled = false;
  while (!dbText.empty()) {
    const std::size_t end = dbText.find_first_of("\r\n");
    std::string_view line = dbText.substr(0, end);
    dbText.remove_prefix(end == std::string_view::npos ? dbText.size() : end + 1);
    if (line.size() < 3 || line.substr(0, line.size() - 3) != name) continue;
    const std::string_view verdict = line.substr(line.size() - 2);
    if (verdict == "=1") enabled = true;
    else if (verdict == "=0") enabled = false;
  }
  return enabled;
}

std::string FormatPluginsDb(const TPluginTable& table) {
  std::string out;
  for (std::size_t i = 0; i < table.count && i < kMaxPlugins; ++i) {
    const auto& e = table.entries[i];
    if (e.failed) continue;
    out += e.name.str();
    out += e.enabled == 1 ? " =1\r\n" : " =0\r\n";
  }
  return out;
}
