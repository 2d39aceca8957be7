#include "core/language/LanguageFile.h"

#include <fstream>
#include <system_error>

#include "services/CodePage.h"

namespace {

// Calls f(line) for each line of text; lines end at CR LF, LF or a lone CR.
template <typename Char, typename F>
void ForEachLine(std::basic_string_view<Char> text, F&& f) {
  std::size_t start = 0;
  const std::size_t n = text.size();
  while (start < n) {
    std::size_t end = start;
    while (end < n && text[end] != Char('\r') && text[end] != Char('\n')) ++end;
    f(text.substr(start, end - start));
    if (end < n && text[end] == Char('\r') && end + 1 < n && text[end + 1] == Char('\n')) ++end;
    start = end + 1;
  }
}

constexpr std::string_view kCodePageKey = "lngcodepage=";

bool StartsWithAsciiNoCase(std::string_view line, std::string_view lowerPrefix) {
  if (line.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    char c = line[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerPrefix[i]) return false;
  }
  return true;
}

// The code page has to be known before the texts can be decoded, so it is read
// from the raw bytes; every code page a language file can use keeps ASCII as is.
std::uint16_t DeclaredCodePage(std::string_view bytes) {
  std::optional<std::uint16_t> found;
  ForEachLine(bytes, [&](std::string_view line) {
    if (found || !StartsWithAsciiNoCase(line, kCodePageKey)) return;
    const std::string_view value = line.substr(kCodePageKey.size());
    std::wstring wide(value.begin(), value.end());
    const auto number = LngParseDecimal(wide);
    found = number && *number > 0 && *number <= 0xFFFF ? static_cast<std::uint16_t>(*number)
                                                        : DefaultTextCodePage;
  });
  const std::uint16_t cp = found.value_or(DefaultTextCodePage);
  return IsCodePageSupported(cp) ? cp : DefaultTextCodePage;
}

wchar_t FoldChar(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 0x20);
  if (c < 0x80) return c;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<wchar_t>(c + 0x20);
  if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 0x20);  // А..Я
  if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 0x50);  // Ѐ..Џ
  if (c == 0x490) return 0x491;                                          // Ґ
  return c;
}

}  // namespace

std::wstring LngFoldKey(std::wstring_view key) {
  std::wstring out(key);
  for (auto& c : out) c = FoldChar(c);
  return out;
}

std::optional<std::int64_t> LngParseDecimal(std::wstring_view text) {
  auto isBlank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::int64_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  if (value > 0x7FFFFFFF) return std::nullopt;
  return negative ? -value : value;
}

TLanguageFile TLanguageFile::Parse(std::string_view bytes) {
  TLanguageFile file;
  // A file saved by an editor as UTF-8 says so with its byte-order mark, whatever
  // its "LngCodePage" says; the mark is no part of the first key.
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
    file.codePage_ = 65001;
  } else {
    file.codePage_ = DeclaredCodePage(bytes);
  }
  const std::wstring text = MultiByteToWideString(bytes, file.codePage_);
  ForEachLine(std::wstring_view(text), [&](std::wstring_view line) {
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos || eq == 0) return;
    const std::wstring_view key = line.substr(0, eq);
    auto [it, added] = file.index_.emplace(LngFoldKey(key), file.entries_.size());
    if (!added) {
      file.duplicates_.emplace_back(key);
      return;
    }
    file.entries_.emplace_back(std::wstring(key), std::wstring(line.substr(eq + 1)));
  });
  if (const std::wstring* id = file.Find(L"LngID")) {
    const auto number = LngParseDecimal(*id);
    file.lngId_ = number ? static_cast<std::int32_t>(*number) : 0;
  }
  return file;
}

std::optional<TLanguageFile> TLanguageFile::Load(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size == 0 || size > MaxFileSize) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  TLanguageFile file = Parse(bytes);
  if (file.entries_.empty()) return std::nullopt;
  return file;
}

const std::wstring* TLanguageFile::Find(std::wstring_view key) const {
  if (!key.empty() && key.back() == L'=') key.remove_suffix(1);
  if (key.empty()) return nullptr;
  const auto it = index_.find(LngFoldKey(key));
  return it == index_.end() ? nullptr : &entries_[it->second].second;
}

bool TLanguageFile::HasKeyWithPrefix(std::wstring_view prefix) const {
  const std::wstring folded = LngFoldKey(prefix);
  for (const auto& [key, index] : index_) {
    if (key.compare(0, folded.size(), folded) == 0) return true;
  }
  return false;
}
