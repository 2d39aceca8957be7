#include "core/keys/ActionParams.h"

#include <vector>

namespace {

struct Entry {
  std::string_view name;
  std::string_view value;
};

struct Parsed {
  std::string_view plain;  // the plain value an older version left before the entries
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

// The entry that starts at `at`: the name runs up to the first ':', the value up
// to the first closing tag of that name. Its end, or npos when there is none.
std::size_t readEntry(std::string_view params, std::size_t at, Entry& entry) {
  const std::size_t colon = params.find(':', at);
  if (colon == std::string_view::npos) return std::string_view::npos;
  const std::string_view name = params.substr(at, colon - at);
  if (!validName(name)) return std::string_view::npos;
  const std::size_t close = params.find(closingTag(name), colon + 1);
  if (close == std::string_view::npos) return std::string_view::npos;
  entry = {name, params.substr(colon + 1, close - colon - 1)};
  return close + name.size() + 2;
}

// Where the entries begin in a string that does not start with one: earlier
// versions appended entries to a plain value ("4notepad.exe" + "exetype:4;exetype|").
// The first place that starts an entry wins, so the longest name is taken there
// ("dblclick", never the "click" inside it). npos when nothing starts an entry.
std::size_t firstEntryAfterPlainValue(std::string_view params) {
  Entry ignored;
  for (std::size_t at = 1; at < params.size(); ++at)
    if (readEntry(params, at, ignored) != std::string_view::npos) return at;
  return std::string_view::npos;
}

// Reads entries from the left while they are well formed.
Parsed parse(std::string_view params) {
  Parsed p;
  std::size_t at = 0;
  Entry entry;
  if (readEntry(params, 0, entry) == std::string_view::npos) {
    at = firstEntryAfterPlainValue(params);
    if (at == std::string_view::npos) at = 0;
    p.plain = params.substr(0, at);
  }
  while (at < params.size()) {
    const std::size_t end = readEntry(params, at, entry);
    if (end == std::string_view::npos) break;
    p.entries.push_back(entry);
    at = end;
  }
  p.rest = params.substr(at);
  return p;
}

bool sameEntries(const std::vector<Entry>& a, const std::vector<Entry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].name != b[i].name || a[i].value != b[i].value) return false;
  return true;
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
  std::string out(p.plain);
  std::vector<Entry> expected;
  bool stored = false;
  for (const Entry& e : p.entries) {
    if (e.name == name && !stored) {
      expected.push_back({name, value});
      stored = true;
    } else {
      expected.push_back(e);
    }
  }
  if (!stored) expected.push_back({name, value});
  for (const Entry& e : expected) appendEntry(out, e.name, e.value);
  out += p.rest;
  if (out.size() > ParamsCapacity) return std::nullopt;
  // A plain value kept in front could take part of the new entry for one of its
  // own (a value ending in "name:"); then the string is left as it was.
  if (!p.plain.empty() && !sameEntries(parse(out).entries, expected)) return std::nullopt;
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
