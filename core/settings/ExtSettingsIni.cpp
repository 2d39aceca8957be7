#include "core/settings/ExtSettingsIni.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameTextAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// "[name]" (blanks allowed around), giving the name; false for any other line.
bool SectionHeaderName(std::string_view line, std::string& name) {
  const std::string_view t = TrimIniBlanks(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return false;
  name = std::string(TrimIniBlanks(t.substr(1, close - 1)));
  return true;
}

std::string NameValue(std::string_view name, std::string_view value) {
  std::string line;
  line.reserve(name.size() + 1 + value.size());
  line.append(name).append("=").append(value);
  return line;
}

}  // namespace

std::string_view TrimIniBlanks(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

TIniDocument TIniDocument::Parse(std::string_view bytes) {
  TIniDocument doc;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = end + 1;
    std::string name;
    if (SectionHeaderName(line, name)) {
      doc.sections_.push_back(Section{std::string(line), name, {}});
    } else {
      doc.sections_.back().Lines.emplace_back(line);
    }
  }
  return doc;
}

TSettingsLines TIniDocument::ReadSection(std::string_view section) const {
  TSettingsLines out;
  std::vector<std::string> seen;
  for (const Section& s : sections_) {
    if (s.Header.empty() || !SameTextAscii(s.Name, section)) continue;
    for (const std::string& raw : s.Lines) {
      const std::string_view line = TrimIniBlanks(raw);
      if (line.empty() || line.front() == ';') continue;
      const std::size_t eq = line.find('=');
      const std::string_view name = TrimIniBlanks(line.substr(0, eq));
      const std::string_view value = eq == std::string_view::npos ? std::string_view{} : TrimIniBlanks(line.substr(eq + 1));
      if (name.empty()) continue;
      const bool again = std::any_of(seen.begin(), seen.end(), [&](const std::string& n) { return SameTextAscii(n, name); });
      if (again) continue;
      seen.emplace_back(name);
      out.push_back(NameValue(name, value));
    }
    break;  // the first section of that name is the one that is read
  }
  return out;
}

void TIniDocument::WriteSection(std::string_view section, const TSettingsLines& list) {
  std::erase_if(sections_, [&](const Section& s) { return !s.Header.empty() && SameTextAscii(s.Name, section); });

  // A blank line between the previous section and the new one, as other versions write it.
  Section& last = sections_.back();
  const bool hasContent = sections_.size() > 1 || !last.Lines.empty();
  if (hasContent && (last.Lines.empty() || !TrimIniBlanks(last.Lines.back()).empty()))
    last.Lines.emplace_back();

  std::string header = "[";
  header.append(section).append("]");
  Section fresh{std::move(header), std::string(section), {}};
  std::vector<std::string> names;
  for (const std::string& line : list) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    const std::string name = line.substr(0, eq);
    std::string entry = NameValue(name, std::string_view(line).substr(eq + 1));
    // A raw line break would end the line early and turn the rest into another entry.
    std::string safe;
    for (std::size_t i = 0; i < entry.size(); ++i) {
      if (entry[i] == '\r' || entry[i] == '\n') {
        if (entry[i] == '\r' && i + 1 < entry.size() && entry[i + 1] == '\n') ++i;
        safe += "\\n";
      } else {
        safe += entry[i];
      }
    }
    entry = std::move(safe);
    const auto at = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return SameTextAscii(n, name); });
    if (at != names.end()) {
      // As the platform's writer: the value changes, the name stays as first written.
      fresh.Lines[static_cast<std::size_t>(at - names.begin())] = NameValue(*at, std::string_view(entry).substr(name.size() + 1));
    } else {
      names.push_back(name);
      fresh.Lines.push_back(entry);
    }
  }
  sections_.push_back(std::move(fresh));
}

std::string TIniDocument::Bytes() const {
  std::string out;
  for (const Section& s : sections_) {
    if (!s.Header.empty()) out.append(s.Header).append("\r\n");
    for (const std::string& line : s.Lines) out.append(line).append("\r\n");
  }
  return out;
}
