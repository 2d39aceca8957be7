#include "core/settings/ExtSettingsIni.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>
#include <unordered_set>

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

// The key under which names are compared: ASCII case folded, as Windows compares them.
std::string FoldedName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
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
  // Hashed, so a section of a hundred thousand names reads in linear time.
  std::unordered_set<std::string> seen;
  for (const Section& s : sections_) {
    if (s.Header.empty() || !SameTextAscii(s.Name, section)) continue;
    for (const std::string& raw : s.Lines) {
      const std::string_view line = TrimIniBlanks(raw);
      if (line.empty() || line.front() == ';') continue;
      const std::size_t eq = line.find('=');
      const std::string_view name = TrimIniBlanks(line.substr(0, eq));
      const std::string_view value = eq == std::string_view::npos ? std::string_view{} : TrimIniBlanks(line.substr(eq + 1));
      if (name.empty()) continue;
      if (!seen.insert(FoldedName(name)).second) continue;
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
  // Folded name -> its line in the fresh section.
  std::unordered_map<std::string, std::size_t> lineOfName;
  lineOfName.reserve(list.size());
  fresh.Lines.reserve(list.size());
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
    const auto [at, isNew] = lineOfName.try_emplace(FoldedName(name), fresh.Lines.size());
    if (isNew) {
      fresh.Lines.push_back(std::move(entry));
    } else {
      // As the platform's writer: the value changes, the name stays as first written.
      std::string& kept = fresh.Lines[at->second];
      const std::size_t keptEq = kept.find('=');
      kept = NameValue(std::string_view(kept).substr(0, keptEq), std::string_view(entry).substr(name.size() + 1));
    }
  }
  sections_.push_back(std::move(fresh));
}

std::string TIniDocument::Bytes() const {
  std::string out;
  std::size_t total = 0;
  for (const Section& s : sections_) {
    total += s.Header.size() + 2;
    for (const std::string& line : s.Lines) total += line.size() + 2;
  }
  out.reserve(total);
  for (const Section& s : sections_) {
    if (!s.Header.empty()) out.append(s.Header).append("\r\n");
    for (const std::string& line : s.Lines) out.append(line).append("\r\n");
  }
  return out;
}
