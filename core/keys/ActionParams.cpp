#include "core/keys/ActionParams.h"

#include <vector>

namespace {

struct Entry {
  std::string_view name;
  std::string_view value;
};

struct Parsed {
  std::vector<Entry> entries;
  std::string_view rest;  // the part that is no run of entries (empty for a clean string)
};

bool validName(std::string_view name) {
  return !name.empty() && name.find_first_of(":;|") == std::string_view::npos;
}

std::string closingTag(std::string_view name) {
  std::string tag;
  tag.reserve(name.size() + 2);
  tag += ';';
  tag += name;
  tag += '|';
  return tag;
}

// Reads entries from the left while they are well formed: the name runs up to the
// first ':', the value up to the first closing tag of that name.
Parsed parse(std::string_view params) {
  Parsed p;
  std::size_t at = 0;
  while (at < params.size()) {
    const std::size_t colon = params.find(':', at);
    if (colon == std::string_view::npos) break;
    const std::string_view name = params.substr(at, colon - at);
    if (!validName(name)) break;
    const std::size_t close = params.find(closingTag(name), colon + 1);
    if (close == std::string_view::npos) break;
    p.entries.push_back({name, params.substr(colon + 1, close - colon - 1)});
    at = close + name.size() + 2;
  }
  p.rest = params.substr(at);
  return p;
}

void appendEntry(std::string& out, std::string_view name, std::string_view value) {
  out += name;
  out += ':';
  out += value;
  out += closingTag(name);
}

}  // namespace

std::optional<std::string> SetParamOnAct(std::string_view params, std::string_view name,
                                         std::string_view value) {
  if (!validName(name) || value.find(closingTag(name)) != std::string_view::npos) return std::nullopt;
  const Parsed p = parse(params);
  std::string out;
  bool stored = false;
  for (const Entry& e : p.entries) {
    if (e.name == name && !stored) {
      appendEntry(out, name, value);
      stored = true;
    } else {
      appendEntry(out, e.name, e.value);
    }
  }
  if (!stored) appendEntry(out, name, value);
  out += p.rest;
  if (out.size() > ParamsCapacity) return std::nullopt;
  return out;
}

std::string GetParamOnAct(std::string_view params, std::string_view name, std::string_view defaultValue) {
  for (const Entry& e : parse(params).entries)
    if (e.name == name) return std::string(e.value);
  return std::string(defaultValue.empty() ? ParamAbsent : defaultValue);
}

bool IsParamOnAct(std::string_view params) {
  const std::size_t p1 = params.find(':');
  if (p1 == std::string_view::npos) return false;
  const std::size_t p2 = params.find(';', p1);
  if (p2 == std::string_view::npos) return false;
  const std::size_t p3 = params.find('|', p2);
  if (p3 == std::string_view::npos) return false;
  const std::string_view closingName = params.substr(p2 + 1, p3 - p2 - 1);
  if (closingName.empty() || closingName.size() > p1) return false;
  return params.substr(p1 - closingName.size(), closingName.size()) == closingName;
}
