#include "plugin-ir/LircLines.h"

#include <cctype>
#include <cstdio>

namespace ranlowe {
namespace {

bool Kept(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ' || c == ',' ||
         c == '-' || c == '.' || c == '_';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

// A decimal integer as the whole field, else 0 (as the count's reader always did).
long DecimalOrZero(std::string_view field) {
  if (field.empty() || field.size() > 9) return 0;
  long v = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
  }
  return v;
}

}  // namespace

std::string EscapeLine(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (unsigned char c : raw) {
    if (Kept(c)) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%.2X", c);
      out += hex;
    }
  }
  return out;
}

void LineSplitter::Feed(std::string_view bytes, const std::function<void(std::string_view)>& onLine) {
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    const std::string_view piece = bytes.substr(0, lf);
    if (!dropping_) {
      if (partial_.size() + piece.size() > kMaxLineLength) {
        partial_.clear();
        dropping_ = true;
      } else {
        partial_.append(piece);
      }
    }
    if (lf == std::string_view::npos) return;
    if (!dropping_) onLine(partial_);
    partial_.clear();
    dropping_ = false;
    bytes.remove_prefix(lf + 1);
  }
}

void LineSplitter::Reset() {
  partial_.clear();
  dropping_ = false;
}

std::optional<std::string> KeyFilter::KeyOf(std::string_view rawLine) {
  const std::string line = EscapeLine(rawLine);
  // Replies may end in CR LF; the CR escapes to "%0D".
  std::string_view bare = line;
  if (bare.size() >= 3 && bare.substr(bare.size() - 3) == "%0D") bare.remove_suffix(3);
  if (EqualsNoCase(bare, "BEGIN")) {
    inReply_ = true;
    return std::nullopt;
  }
  if (inReply_) {
    if (EqualsNoCase(bare, "END")) inReply_ = false;
    return std::nullopt;
  }

  const std::string_view view = line;
  const std::size_t blank = view.find(' ');
  const std::string_view key = view.substr(0, blank);
  std::string_view count;
  if (blank != std::string_view::npos) {
    count = view.substr(blank + 1);
    count = count.substr(0, count.find(' '));
  }
  const long repeat = DecimalOrZero(count);
  if (repeat >= 1 && repeat <= 5) return std::nullopt;
  if (key.empty() || key.size() > kMaxKeyName) return std::nullopt;
  return std::string(key);
}

}  // namespace ranlowe
