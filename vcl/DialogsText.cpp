#include "vcl/DialogsText.h"

#include <vector>

std::wstring FileDialogFilterList(const std::wstring& filter) {
  if (filter.empty()) return {};
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = filter.find(L'|', start);
    parts.push_back(filter.substr(start, bar == std::wstring::npos ? std::wstring::npos : bar - start));
    if (bar == std::wstring::npos) break;
    start = bar + 1;
  }
  std::wstring list;
  for (size_t i = 0; i < parts.size(); i += 2) {
    std::wstring text = parts[i];
    std::wstring mask = i + 1 < parts.size() ? parts[i + 1] : text;
    // A stray bar ("a|*.a|") leaves an empty pair: nothing to offer.
    if (text.empty() && mask.empty()) continue;
    if (mask.empty()) mask = L"*.*";
    if (text.empty()) text = mask;
    list += text;
    list += L'\0';
    list += mask;
    list += L'\0';
  }
  if (list.empty()) return {};
  list += L'\0';
  return list;
}

std::wstring FileDialogDefaultExt(const std::wstring& ext) {
  size_t start = 0;
  while (start < ext.size() && (ext[start] == L'*' || ext[start] == L'.')) ++start;
  std::wstring rest = ext.substr(start);
  // What is left of a pattern ("*.tx?") is no extension to add.
  if (rest.find_first_of(L"*?") != std::wstring::npos) return {};
  return rest;
}
