#include "vcl/SysUtils.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <mutex>
#include <random>

namespace {

template <class S>
S TrimImpl(const S& s, bool left, bool right) {
  using C = typename S::value_type;
  std::size_t b = 0, e = s.size();
  auto blank = [](C c) { return static_cast<std::make_unsigned_t<C>>(c) <= static_cast<unsigned>(' '); };
  if (left)
    while (b < e && blank(s[b])) ++b;
  if (right)
    while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

template <class C>
C AsciiUpper(C c) {
  return (c >= 'a' && c <= 'z') ? static_cast<C>(c - 'a' + 'A') : c;
}
template <class C>
C AsciiLower(C c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<C>(c - 'A' + 'a') : c;
}

template <class S>
int CompareTextImpl(const S& a, const S& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<typename S::value_type>>(AsciiUpper(a[i])));
    const auto y = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<typename S::value_type>>(AsciiUpper(b[i])));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <class S>
std::size_t PosImpl(const S& sub, const S& s) {
  if (sub.empty()) return 0;
  const auto p = s.find(sub);
  return p == S::npos ? 0 : p + 1;
}

// The 0-based [begin, end) that a 1-based index and a count select, clipped to s.
template <class S>
std::pair<std::size_t, std::size_t> Range(const S& s, std::ptrdiff_t index, std::ptrdiff_t count) {
  const auto size = static_cast<std::ptrdiff_t>(s.size());
  if (index < 1) index = 1;
  if (index > size || count <= 0) return {0, 0};
  const std::ptrdiff_t begin = index - 1;
  const std::ptrdiff_t end = count > size - begin ? size : begin + count;
  return {static_cast<std::size_t>(begin), static_cast<std::size_t>(end)};
}

template <class S>
S CopyImpl(const S& s, std::ptrdiff_t index, std::ptrdiff_t count) {
  const auto [b, e] = Range(s, index, count);
  return s.substr(b, e - b);
}

template <class S>
void DeleteImpl(S& s, std::ptrdiff_t index, std::ptrdiff_t count) {
  if (index < 1) return;  // the platform deletes nothing before the first character
  const auto [b, e] = Range(s, index, count);
  s.erase(b, e - b);
}

template <class S>
void InsertImpl(const S& sub, S& s, std::ptrdiff_t index) {
  if (index < 1) index = 1;
  const auto at = std::min(static_cast<std::size_t>(index - 1), s.size());
  s.insert(at, sub);
}

template <class S, class Fold>
S ReplaceImpl(const S& s, const S& oldPattern, const S& newPattern, TReplaceFlags flags, Fold fold) {
  if (oldPattern.empty()) return s;
  const bool ignoreCase = flags & rfIgnoreCase;
  const S hay = ignoreCase ? fold(s) : s;
  const S needle = ignoreCase ? fold(oldPattern) : oldPattern;
  S out;
  std::size_t from = 0;
  while (true) {
    const auto p = hay.find(needle, from);
    if (p == S::npos) break;
    out.append(s, from, p - from);
    out += newPattern;
    from = p + oldPattern.size();
    if (!(flags & rfReplaceAll)) break;
  }
  out.append(s, from, S::npos);
  return out;
}

template <class S>
S MapChars(const S& s, typename S::value_type (*f)(typename S::value_type)) {
  S out(s);
  for (auto& c : out) c = f(c);
  return out;
}

}  // namespace

String Trim(const String& s) { return TrimImpl(s, true, true); }
String TrimLeft(const String& s) { return TrimImpl(s, true, false); }
String TrimRight(const String& s) { return TrimImpl(s, false, true); }
std::string Trim(const std::string& s) { return TrimImpl(s, true, true); }
std::string TrimLeft(const std::string& s) { return TrimImpl(s, true, false); }
std::string TrimRight(const std::string& s) { return TrimImpl(s, false, true); }

String UpperCase(const String& s) { return MapChars(s, AsciiUpper<wchar_t>); }
String LowerCase(const String& s) { return MapChars(s, AsciiLower<wchar_t>); }
std::string UpperCase(const std::string& s) { return MapChars(s, AsciiUpper<char>); }
std::string LowerCase(const std::string& s) { return MapChars(s, AsciiLower<char>); }

int CompareStr(const String& a, const String& b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}
int CompareText(const String& a, const String& b) { return CompareTextImpl(a, b); }
int CompareText(const std::string& a, const std::string& b) { return CompareTextImpl(a, b); }
bool SameText(const String& a, const String& b) { return a.size() == b.size() && CompareTextImpl(a, b) == 0; }
bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareTextImpl(a, b) == 0;
}
bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }

std::size_t Pos(const String& sub, const String& s) { return PosImpl(sub, s); }
std::size_t Pos(const std::string& sub, const std::string& s) { return PosImpl(sub, s); }
String Copy(const String& s, std::ptrdiff_t index, std::ptrdiff_t count) { return CopyImpl(s, index, count); }
std::string Copy(const std::string& s, std::ptrdiff_t index, std::ptrdiff_t count) {
  return CopyImpl(s, index, count);
}
void Delete(String& s, std::ptrdiff_t index, std::ptrdiff_t count) { DeleteImpl(s, index, count); }
void Delete(std::string& s, std::ptrdiff_t index, std::ptrdiff_t count) { DeleteImpl(s, index, count); }
void Insert(const String& sub, String& s, std::ptrdiff_t index) { InsertImpl(sub, s, index); }
void Insert(const std::string& sub, std::string& s, std::ptrdiff_t index) { InsertImpl(sub, s, index); }

String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags) {
  return ReplaceImpl(s, oldPattern, newPattern, flags, [](const String& x) { return AnsiUpperCase(x); });
}
std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
                          TReplaceFlags flags) {
  return ReplaceImpl(s, oldPattern, newPattern, flags, [](const std::string& x) { return UpperCase(x); });
}

String AnsiQuotedStr(const String& s, wchar_t quote) {
  String out(1, quote);
  for (wchar_t c : s) {
    out.push_back(c);
    if (c == quote) out.push_back(c);
  }
  out.push_back(quote);
  return out;
}

// ---- Numbers ------------------------------------------------------------------

String IntToStr(std::int64_t value) { return std::to_wstring(value); }

String IntToHex(std::int64_t value, int digits) {
  std::uint64_t bits = static_cast<std::uint64_t>(value);
  if (value < 0 && value >= INT32_MIN) bits &= 0xFFFFFFFFu;
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  String s;
  do {
    s.insert(s.begin(), kHex[bits & 15]);
    bits >>= 4;
  } while (bits);
  if (digits > static_cast<int>(s.size()) && digits <= 32) s.insert(0, static_cast<std::size_t>(digits) - s.size(), L'0');
  return s;
}

namespace {

// The platform's integer reading. `bits` is 32 or 64; hex may use every bit (so
// "$FFFFFFFF" is -1 as a 32-bit value), decimal must fit the signed range.
bool ParseInteger(const String& s, int bits, std::int64_t& out) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) negative = s[i++] == L'-';
  bool hex = false;
  if (i < s.size() && s[i] == L'$') {
    hex = true, ++i;
  } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    hex = true, i += 2;
  } else if (i < s.size() && (s[i] == L'x' || s[i] == L'X')) {
    hex = true, ++i;
  }
  if (i >= s.size()) return false;
  const std::uint64_t limit = hex ? (bits == 32 ? 0xFFFFFFFFull : ~0ull)
                                  : (bits == 32 ? (negative ? 0x80000000ull : 0x7FFFFFFFull)
                                                : (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull));
  std::uint64_t v = 0;
  const unsigned base = hex ? 16 : 10;
  for (; i < s.size(); ++i) {
    const wchar_t c = s[i];
    unsigned d;
    if (c >= L'0' && c <= L'9')
      d = static_cast<unsigned>(c - L'0');
    else if (hex && c >= L'a' && c <= L'f')
      d = static_cast<unsigned>(c - L'a' + 10);
    else if (hex && c >= L'A' && c <= L'F')
      d = static_cast<unsigned>(c - L'A' + 10);
    else
      return false;
    if (v > (limit - d) / base) return false;
    v = v * base + d;
  }
  if (bits == 32 && hex) v = static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v))));
  out = negative ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
  return true;
}

}  // namespace

bool TryStrToInt(const String& s, int& value) {
  std::int64_t v;
  if (!ParseInteger(s, 32, v)) return false;
  value = static_cast<int>(v);
  return true;
}
int StrToInt(const String& s) {
  int v;
  if (!TryStrToInt(s, v)) throw EConvertError(SInvalidInteger, {s});
  return v;
}
int StrToIntDef(const String& s, int defaultValue) {
  int v;
  return TryStrToInt(s, v) ? v : defaultValue;
}
bool TryStrToInt64(const String& s, std::int64_t& value) { return ParseInteger(s, 64, value); }
std::int64_t StrToInt64(const String& s) {
  std::int64_t v;
  if (!TryStrToInt64(s, v)) throw EConvertError(SInvalidInteger, {s});
  return v;
}
std::int64_t StrToInt64Def(const String& s, std::int64_t defaultValue) {
  std::int64_t v;
  return TryStrToInt64(s, v) ? v : defaultValue;
}

namespace {
void CheckIntegerRange(double v) {
  // 2^63 is the first double past the range; NaN fails both tests.
  if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0)) throw ERangeError(SRangeError);
}
}  // namespace

std::int64_t Round(double value) {
  const double r = std::nearbyint(value);  // the default rounding mode: ties to even
  CheckIntegerRange(r);
  return static_cast<std::int64_t>(r);
}
std::int64_t Trunc(double value) {
  const double t = std::trunc(value);
  CheckIntegerRange(t);
  return static_cast<std::int64_t>(t);
}
double Frac(double value) { return value - std::trunc(value); }

#ifndef _WIN32
int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::int64_t mag = ((p < 0 ? -p : p) + (c < 0 ? -static_cast<std::int64_t>(c) : c) / 2) /
                           (c < 0 ? -static_cast<std::int64_t>(c) : c);
  const std::int64_t r = ((p < 0) != (c < 0)) ? -mag : mag;
  if (r > INT_MAX || r < INT_MIN) return -1;
  return static_cast<int>(r);
}
#endif

namespace {
std::mutex& RandomMutex() {
  static std::mutex m;
  return m;
}
std::mt19937& Generator() {
  static std::mt19937 g(0);  // unseeded until Randomize, as the platform's
  return g;
}
}  // namespace

int Random(int n) {
  if (n <= 0) return 0;
  std::lock_guard lock(RandomMutex());
  return std::uniform_int_distribution<int>(0, n - 1)(Generator());
}
double Random() {
  std::lock_guard lock(RandomMutex());
  return std::uniform_real_distribution<double>(0.0, 1.0)(Generator());
}
void Randomize() {
  SetRandSeed(static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}
void SetRandSeed(std::uint32_t seed) {
  std::lock_guard lock(RandomMutex());
  Generator().seed(seed);
}

// ---- File names ---------------------------------------------------------------

namespace {
bool IsDelim(wchar_t c) { return c == L'\\' || c == L'/'; }
// Index one past the last folder separator or drive colon, 0 when there is none.
std::size_t NameStart(const String& f) {
  for (std::size_t i = f.size(); i > 0; --i)
    if (IsDelim(f[i - 1]) || f[i - 1] == L':') return i;
  return 0;
}
}  // namespace

String ExtractFilePath(const String& fileName) { return fileName.substr(0, NameStart(fileName)); }

String ExtractFileDir(const String& fileName) {
  std::size_t i = NameStart(fileName);
  // Keep the separator of a root ("C:\", "\", "/").
  if (i > 1 && IsDelim(fileName[i - 1]) && !IsDelim(fileName[i - 2]) && fileName[i - 2] != L':') --i;
  return fileName.substr(0, i);
}

String ExtractFileName(const String& fileName) { return fileName.substr(NameStart(fileName)); }

String ExtractFileExt(const String& fileName) {
  const std::size_t start = NameStart(fileName);
  const std::size_t dot = fileName.rfind(L'.');
  if (dot == String::npos || dot < start) return {};
  return fileName.substr(dot);
}

String ChangeFileExt(const String& fileName, const String& extension) {
  const std::size_t start = NameStart(fileName);
  const std::size_t dot = fileName.rfind(L'.');
  if (dot == String::npos || dot < start) return fileName + extension;
  return fileName.substr(0, dot) + extension;
}

String IncludeTrailingPathDelimiter(const String& path) {
  if (!path.empty() && IsDelim(path.back())) return path;
  return path + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& path) {
  if (!path.empty() && IsDelim(path.back())) return path.substr(0, path.size() - 1);
  return path;
}

bool ForceDirectories(const String& dir) {
  if (dir.empty()) return false;
  if (DirectoryExists(dir)) return true;
  const String self = ExcludeTrailingPathDelimiter(dir);
  if (self.empty()) return false;
  const String parent = ExtractFilePath(self);
  if (!parent.empty() && parent != self && !ForceDirectories(parent)) return false;
  return CreateDir(self) || DirectoryExists(self);
}

