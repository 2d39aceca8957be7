#include "services/CodePage.h"

#include <array>

namespace {

// Bytes 0x80..0xFF; the lower half of every table here is ASCII.
constexpr std::array<char16_t, 128> kUpper1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr std::array<char16_t, 64> kUpper1251Head = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

struct Tables {
  std::array<char16_t, 256> cp1252{};
  std::array<char16_t, 256> cp1251{};
  std::array<char16_t, 256> latin1{};

  constexpr Tables() {
    for (int b = 0; b < 128; ++b) {
      cp1252[b] = cp1251[b] = latin1[b] = static_cast<char16_t>(b);
    }
    for (int b = 128; b < 256; ++b) {
      cp1252[b] = kUpper1252[b - 128];
      latin1[b] = static_cast<char16_t>(b);
      // After the 64 irregular bytes, 0xC0..0xFF run through А..я in order.
      cp1251[b] = b < 0xC0 ? kUpper1251Head[b - 128] : static_cast<char16_t>(0x0410 + (b - 0xC0));
    }
  }
};

constexpr Tables kTables;

}  // namespace

const char16_t* SingleByteCodePageTable(std::uint16_t codePage) {
  switch (codePage) {
    case 1251: return kTables.cp1251.data();
    case 1252: return kTables.cp1252.data();
    case 28591: return kTables.latin1.data();
    default: return nullptr;
  }
}

#ifndef _WIN32

namespace {

constexpr std::uint16_t kUtf8 = 65001;

// Invalid, overlong, surrogate or truncated sequences give one U+FFFD per
// offending byte run, so any input decodes without reading past its end.
std::wstring DecodeUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      out.push_back(static_cast<wchar_t>(b));
      ++i;
      continue;
    }
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1F; min = 0x80; }
    else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0F; min = 0x800; }
    else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07; min = 0x10000; }
    std::size_t used = 1;
    bool ok = len != 0 && i + len <= n;
    for (std::size_t k = 1; ok && k < len; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (p[i + k] & 0x3F);
      used = k + 1;
    }
    if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
    if (ok) {
      out.push_back(static_cast<wchar_t>(cp));
      i += len;
    } else {
      out.push_back(static_cast<wchar_t>(0xFFFD));
      i += used;
    }
  }
  return out;
}

}  // namespace

bool IsCodePageSupported(std::uint16_t codePage) {
  return codePage == kUtf8 || SingleByteCodePageTable(codePage) != nullptr;
}

std::wstring MultiByteToWideString(std::string_view text, std::uint16_t codePage) {
  if (text.empty()) return {};
  if (codePage == kUtf8) return DecodeUtf8(text);
  const char16_t* table = SingleByteCodePageTable(codePage);
  if (table == nullptr) return {};
  std::wstring out(text.size(), L'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<wchar_t>(table[static_cast<unsigned char>(text[i])]);
  }
  return out;
}

#endif
