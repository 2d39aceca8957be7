// Format: the platform's formatting of text with typed arguments.
//
//   Format(L"%d of %s", {3, name})          "%" [index ":"] ["-"] [width] ["." precision] type
//
// Types: d (integer; precision = least digits), u (unsigned), x (hex, upper case;
// precision = least digits), s (text; precision = most characters), f (fixed;
// precision = decimals, 2 by default), n (as f with thousands separators), %% (a
// percent sign). Width and precision may be "*", taken from the next integer
// argument. Every argument is checked against its type: a mismatch, a missing
// argument or a malformed specifier raises EConvertError, so a format string that is
// user data (a caption) can never read what was not passed.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <variant>

#include "vcl/FormatSettings.h"
#include "vcl/System.h"

class TVarRec {
 public:
  template <class I>
    requires(std::is_integral_v<I> && !std::is_same_v<I, bool> && !std::is_same_v<I, wchar_t> &&
             !std::is_same_v<I, char>)
  TVarRec(I v) {  // NOLINT: arguments convert implicitly, as in an open array
    if constexpr (std::is_signed_v<I>)
      value_ = static_cast<std::int64_t>(v);
    else
      value_ = static_cast<std::uint64_t>(v);
    wide_ = sizeof(I) > 4;
  }
  TVarRec(double v) : value_(v) {}                      // NOLINT
  TVarRec(const wchar_t* v) : value_(String(v ? v : L"")) {}  // NOLINT
  TVarRec(String v) : value_(std::move(v)) {}           // NOLINT
  TVarRec(std::wstring_view v) : value_(String(v)) {}  // NOLINT
  TVarRec(wchar_t c) : value_(String(1, c)) {}          // NOLINT
  TVarRec(bool) = delete;  // a boolean is no number of any format

  using Value = std::variant<std::int64_t, std::uint64_t, double, String>;
  const Value& value() const { return value_; }
  // True for a 64-bit integer (%u of a negative 32-bit value wraps at 32 bits).
  bool wide() const { return wide_; }

 private:
  Value value_;
  bool wide_ = false;
};

using TVarRecs = std::initializer_list<TVarRec>;

String Format(const String& format, TVarRecs args);
String Format(const String& format, TVarRecs args, const TFormatSettings& settings);
