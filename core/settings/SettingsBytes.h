// Little-endian field codec for the fixed-size records of the settings files.
// The reader takes a field only when the whole field is still in the input; a
// field cut by the end of a short file keeps its current value, and so do all
// fields after it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "vcl/ShortString.h"

class TByteWriter {
 public:
  void U8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(std::uint16_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void I32(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) U8(static_cast<std::uint8_t>(u >> (8 * i)));
  }
  void Raw(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }
  template <std::size_t N>
  void Short(const TShortString<N>& s) {
    std::uint8_t raw[TShortString<N>::StoredSize];
    s.store(raw);
    Raw(raw, sizeof raw);
  }
  const std::string& Bytes() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

class TByteReader {
 public:
  explicit TByteReader(std::string_view in) : in_(in) {}

  std::size_t Left() const { return in_.size() - pos_; }
  std::size_t Position() const { return pos_; }
  // Nothing more is taken after this (the rest of the input is not trusted).
  void Stop() { pos_ = in_.size(); }

  bool U8(std::uint8_t& v) {
    if (Left() < 1) return false;
    v = Byte(pos_++);
    return true;
  }
  bool U16(std::uint16_t& v) {
    if (Left() < 2) return Stopped();
    v = static_cast<std::uint16_t>(Byte(pos_) | (Byte(pos_ + 1) << 8));
    pos_ += 2;
    return true;
  }
  bool I32(std::int32_t& v) {
    if (Left() < 4) return Stopped();
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(Byte(pos_ + i)) << (8 * i);
    v = static_cast<std::int32_t>(u);
    pos_ += 4;
    return true;
  }
  bool Raw(void* p, std::size_t n) {
    if (Left() < n) return Stopped();
    std::memcpy(p, in_.data() + pos_, n);
    pos_ += n;
    return true;
  }
  template <std::size_t N>
  bool Short(TShortString<N>& s) {
    if (Left() < TShortString<N>::StoredSize) return Stopped();
    s.load(reinterpret_cast<const std::uint8_t*>(in_.data() + pos_));
    pos_ += TShortString<N>::StoredSize;
    return true;
  }

 private:
  std::uint8_t Byte(std::size_t i) const { return static_cast<std::uint8_t>(in_[i]); }
  // A field cut by the end of the input: the partial bytes are not taken, and the
  // fields after it must not be read from a shifted position either.
  bool Stopped() {
    Stop();
    return false;
  }

  std::string_view in_;
  std::size_t pos_ = 0;
};
