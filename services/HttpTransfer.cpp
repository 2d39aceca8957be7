#include "services/HttpTransfer.h"

#include <cwctype>

THttpTarget SplitHttpUrl(const std::wstring& url) {
  std::wstring rest = url;
  static const std::wstring scheme = L"http://";
  if (rest.size() >= scheme.size()) {
    bool same = true;
    for (size_t i = 0; i < scheme.size(); ++i) same = same && std::towlower(rest[i]) == scheme[i];
    if (same) rest.erase(0, scheme.size());
  }
  const size_t slash = rest.find(L'/');
  if (slash == std::wstring::npos) return {L"", rest};
  return {rest.substr(0, slash), rest.substr(slash)};
}

std::optional<std::uint64_t> ParseContentLength(const std::string& text) {
  if (text.empty() || text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

bool HttpTransferSucceeded(const THttpOutcome& o) {
  if (o.Stopped || o.ReadFailed) return false;
  if (o.Status < 200 || o.Status > 299) return false;
  if (o.Received == 0) return false;
  if (o.Length && *o.Length != o.Received) return false;
  return true;
}
