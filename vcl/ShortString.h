// Fixed-capacity short string of records and files: a length byte, then N
// single-byte characters in the system code page. The length read from a file is
// clamped to the capacity, so a damaged record never reads past its characters.
// Conversion to UI text (UTF-16) happens at this boundary only (vcl/SysUtils).
#pragma once
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

template <std::size_t N>
struct TShortString {
  static_assert(N >= 1 && N <= 255, "a short string holds 1 to 255 characters");
  static constexpr std::size_t Capacity = N;
  static constexpr std::size_t StoredSize = N + 1;  // bytes in a record or file

  std::uint8_t length = 0;
  std::array<char, N> chars{};

  TShortString() = default;
  TShortString(std::string_view s) { assign(s); }  // NOLINT: records assign from text

  // The characters up to the stored length, never past the capacity.
  std::string_view view() const { return {chars.data(), std::min<std::size_t>(length, N)}; }
  std::string str() const { return std::string(view()); }
  std::size_t size() const { return view().size(); }
  bool empty() const { return size() == 0; }

  // Takes at most N characters of s; the unused characters are cleared.
  void assign(std::string_view s) {
    const std::size_t n = std::min(s.size(), N);
    chars.fill('\0');
    std::memcpy(chars.data(), s.data(), n);
    length = static_cast<std::uint8_t>(n);
  }
  TShortString& operator=(std::string_view s) {
    assign(s);
    return *this;
  }

  // Raw form: exactly StoredSize bytes, as the characters stand (including any
  // bytes past the length, which files keep).
  void store(std::uint8_t* out) const {
    out[0] = length;
    std::memcpy(out + 1, chars.data(), N);
  }
  void load(const std::uint8_t* in) {
    length = static_cast<std::uint8_t>(std::min<std::size_t>(in[0], N));
    std::memcpy(chars.data(), in + 1, N);
  }

  friend bool operator==(const TShortString& a, const TShortString& b) { return a.view() == b.view(); }
  friend bool operator==(const TShortString& a, std::string_view b) { return a.view() == b; }
};
