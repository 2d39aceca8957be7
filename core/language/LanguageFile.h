// One language file (".lng"), read whole and indexed once.
//
// The file is plain 8-bit text in the code page its own key "LngCodePage" names;
// each line is a key, "=", and the text (everything after the first "=", so a
// text may hold "=" itself). There are no sections and no comments: lines without
// "=" are ignored. A key matches only a line that begins with that key followed by
// "=", compared without regard to case; the first such line wins. An empty text
// means "not translated" and is kept, so that the caller can fall back.
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TLanguageFile {
 public:
  // Files larger than this are taken for damaged, not for a translation.
  static constexpr std::uintmax_t MaxFileSize = 16u << 20;

  TLanguageFile() = default;

  // Parses the bytes of a file. Any bytes give a usable (possibly empty) file.
  static TLanguageFile Parse(std::string_view bytes);

  // The file, or nothing when it is missing, unreadable, too large or holds no
  // key line at all: such a file counts as missing everywhere, so the texts and
  // the current language never disagree.
  static std::optional<TLanguageFile> Load(const std::filesystem::path& file);

  // The text of a key, empty when the line has none; nullptr when no line holds
  // the key. A trailing "=" on the key is ignored ("Msg.X=" finds "Msg.X").
  const std::wstring* Find(std::wstring_view key) const;

  // Whether some key begins with this text, compared without regard to case.
  bool HasKeyWithPrefix(std::wstring_view prefix) const;

  // The code page the texts were decoded with: the value of "LngCodePage" when it
  // is a decimal number this machine can convert, else 1252 (65001 after a UTF-8
  // byte-order mark).
  std::uint16_t CodePage() const { return codePage_; }
  // The value of "LngID" (a Windows language identifier); 0 when it is no number.
  std::int32_t LngID() const { return lngId_; }

  // The keys in file order, each once (as first written), for checks of a file.
  const std::vector<std::pair<std::wstring, std::wstring>>& Entries() const { return entries_; }
  // Lines of the file that hold the same key as an earlier line (never reached).
  const std::vector<std::wstring>& DuplicateKeys() const { return duplicates_; }

 private:
  std::vector<std::pair<std::wstring, std::wstring>> entries_;
  std::unordered_map<std::wstring, std::size_t> index_;  // folded key -> entry
  std::vector<std::wstring> duplicates_;
  std::uint16_t codePage_ = 1252;
  std::int32_t lngId_ = 0;
};

// The form of a key used for comparing: case folded for the Latin and Cyrillic
// letters that language keys and names are written in.
std::wstring LngFoldKey(std::wstring_view key);

// A decimal number with optional blanks around it and an optional sign.
std::optional<std::int64_t> LngParseDecimal(std::wstring_view text);
