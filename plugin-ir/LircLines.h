// The text side of the infrared-remote plug-in: lines of a LIRC-protocol server
// ("code repeat button remote"), turned into the key names handed to Qorn.
// No Win32 here, so it is tested natively and fuzzed.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ranlowe {

// The server's own line limit; a longer line is dropped whole.
inline constexpr std::size_t kMaxLineLength = 256;
// Qorn's plug-in key names are short strings of 255 characters.
inline constexpr std::size_t kMaxKeyName = 255;

// Keeps digits, letters, blank, ',', '-', '.', '_'; every other byte becomes
// '%' and two upper-case hex digits ("\r" -> "%0D").
std::string EscapeLine(std::string_view raw);

// Splits a byte stream into lines at LF, keeping a partial line for the next
// receive; lines over kMaxLineLength (and the rest of such a line) are dropped.
class LineSplitter {
 public:
  void Feed(std::string_view bytes, const std::function<void(std::string_view)>& onLine);
  void Reset();

 private:
  std::string partial_;
  bool dropping_ = false;  // inside an overlong line, until its LF
};

// Decides per line what is posted: the first press of a button and, while it is
// held, every repeat from the sixth on (the server writes the count in hex, Qorn
// reads it in decimal, so "0a" counts as 0 and is posted). Command replies, the
// block from "BEGIN" to "END", are never posted.
class KeyFilter {
 public:
  std::optional<std::string> KeyOf(std::string_view rawLine);
  void Reset() { inReply_ = false; }

 private:
  bool inReply_ = false;
};

}  // namespace ranlowe
