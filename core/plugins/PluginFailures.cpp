#include "core/plugins/PluginFailures.h"

#include <algorithm>

namespace {

bool SameFile(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Tabs and line breaks would break the line apart.
std::string Field(std::string_view s) {
  std::string out(s);
  std::replace_if(out.begin(), out.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return out;
}

}  // namespace

std::vector<TPluginFailure> ParsePluginFailures(std::string_view text) {
  std::vector<TPluginFailure> out;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    std::vector<std::string_view> fields;
    for (;;) {
      const std::size_t tab = line.find('\t');
      fields.push_back(line.substr(0, tab));
      if (tab == std::string_view::npos) break;
      line.remove_prefix(tab + 1);
    }
    if (fields.size() != 4 || fields[0].empty()) continue;
    RecordPluginFailure(out, {std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), fields[3] == "told"});
  }
  return out;
}

std::string FormatPluginFailures(const std::vector<TPluginFailure>& failures) {
  std::string out;
  for (const auto& f : failures) {
    if (f.file.empty()) continue;
    out += Field(f.file) + '\t' + Field(f.exportName) + '\t' + Field(f.what) + '\t' + (f.told ? "told" : "new") + "\r\n";
  }
  return out;
}

TPluginFailure* FindPluginFailure(std::vector<TPluginFailure>& failures, std::string_view file) {
  for (auto& f : failures)
    if (SameFile(f.file, file)) return &f;
  return nullptr;
}

void RecordPluginFailure(std::vector<TPluginFailure>& failures, const TPluginFailure& failure) {
  if (TPluginFailure* known = FindPluginFailure(failures, failure.file)) *known = failure;
  else failures.push_back(failure);
}

bool ForgetPluginFailure(std::vector<TPluginFailure>& failures, std::string_view file) {
  const auto before = failures.size();
  failures.erase(std::remove_if(failures.begin(), failures.end(), [&](const TPluginFailure& f) { return SameFile(f.file, file); }),
                 failures.end());
  return failures.size() != before;
}
