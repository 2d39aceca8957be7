#include "vcl/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "vcl/Exceptions.h"

namespace {

[[noreturn]] void InvalidFormat(const String& format) { throw EConvertError(SInvalidFormat, {format}); }

String Digits(std::uint64_t v, int base) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  String s;
  do {
    s.insert(s.begin(), kDigits[v % base]);
    v /= base;
  } while (v);
  return s;
}

// Decimal digits of |v| rounded half away from zero at `decimals` places, from the
// shortest text that reads back as v: 2.675 gives "2.68", as the user typed it, not
// the "2.67" of its binary neighbour.
String FixedDigits(double v, int decimals, wchar_t decimalSeparator, wchar_t thousandSeparator,
                   bool groups) {
  if (std::isnan(v)) return L"NAN";
  if (std::isinf(v)) return v < 0 ? L"-INF" : L"INF";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific);
  const std::string sci(buf, r.ptr);
  const auto e = sci.find('e');
  std::string mant;
  for (char c : sci.substr(0, e))
    if (c != '.') mant.push_back(c);
  const int exp10 = std::stoi(sci.substr(e + 1));
  // digits: mant with the decimal point after position exp10 + 1.
  int pointPos = exp10 + 1;
  std::string intPart, fracPart;
  if (pointPos <= 0) {
    intPart = "0";
    fracPart = std::string(static_cast<std::size_t>(-pointPos), '0') + mant;
  } else if (pointPos >= static_cast<int>(mant.size())) {
    intPart = mant + std::string(static_cast<std::size_t>(pointPos - static_cast<int>(mant.size())), '0');
  } else {
    intPart = mant.substr(0, static_cast<std::size_t>(pointPos));
    fracPart = mant.substr(static_cast<std::size_t>(pointPos));
  }
  bool roundUp = static_cast<int>(fracPart.size()) > decimals && fracPart[static_cast<std::size_t>(decimals)] >= '5';
  fracPart.resize(static_cast<std::size_t>(decimals), '0');
  if (roundUp) {
    std::string all = intPart + fracPart;
    int i = static_cast<int>(all.size()) - 1;
    while (i >= 0 && all[static_cast<std::size_t>(i)] == '9') all[static_cast<std::size_t>(i--)] = '0';
    if (i < 0)
      all.insert(all.begin(), '1');
    else
      ++all[static_cast<std::size_t>(i)];
    intPart = all.substr(0, all.size() - static_cast<std::size_t>(decimals));
    fracPart = all.substr(all.size() - static_cast<std::size_t>(decimals));
  }
  String out;
  const bool zero = intPart.find_first_not_of('0') == std::string::npos &&
                    fracPart.find_first_not_of('0') == std::string::npos;
  if (v < 0 && !zero) out.push_back(L'-');
  for (std::size_t i = 0; i < intPart.size(); ++i) {
    if (groups && i > 0 && (intPart.size() - i) % 3 == 0 && thousandSeparator) out.push_back(thousandSeparator);
    out.push_back(static_cast<wchar_t>(intPart[i]));
  }
  if (decimals > 0) {
    out.push_back(decimalSeparator);
    for (char c : fracPart) out.push_back(static_cast<wchar_t>(c));
  }
  return out;
}

class Formatter {
 public:
  Formatter(const String& format, TVarRecs args, const TFormatSettings& fs)
      : format_(format), args_(args.begin(), args.end()), fs_(fs) {}

  String Run() {
    String out;
    std::size_t i = 0;
    const std::size_t n = format_.size();
    while (i < n) {
      const wchar_t c = format_[i];
      if (c != L'%') {
        out.push_back(c);
        ++i;
        continue;
      }
      ++i;
      if (i < n && format_[i] == L'%') {
        out.push_back(L'%');
        ++i;
        continue;
      }
      out += Spec(i);
    }
    return out;
  }

 private:
  // Reads a number or "*" at i; -1 when there is neither.
  int Number(std::size_t& i) {
    if (i < format_.size() && format_[i] == L'*') {
      ++i;
      return static_cast<int>(IntArg());
    }
    if (i >= format_.size() || format_[i] < L'0' || format_[i] > L'9') return -1;
    long long v = 0;
    while (i < format_.size() && format_[i] >= L'0' && format_[i] <= L'9') {
      v = v * 10 + (format_[i] - L'0');
      if (v > 1'000'000) InvalidFormat(format_);  // no sane width; refuse to allocate it
      ++i;
    }
    return static_cast<int>(v);
  }

  const TVarRec& NextArg() {
    if (next_ >= args_.size()) throw EConvertError(SArgumentMissing, {format_});
    return args_[next_++];
  }

  std::int64_t IntArg() {
    const auto& v = NextArg().value();
    if (auto p = std::get_if<std::int64_t>(&v)) return *p;
    if (auto p = std::get_if<std::uint64_t>(&v)) return static_cast<std::int64_t>(*p);
    InvalidFormat(format_);
  }

  String Spec(std::size_t& i) {
    const std::size_t n = format_.size();
    int width = Number(i);
    // "index:" selects the argument; the ones after it follow on from there.
    if (width >= 0 && i < n && format_[i] == L':') {
      next_ = static_cast<std::size_t>(width);
      ++i;
      width = -1;
    }
    bool left = false;
    if (width < 0) {
      if (i < n && format_[i] == L'-') {
        left = true;
        ++i;
      }
      width = Number(i);
    }
    return Body(i, left, width);
  }

  String Body(std::size_t& i, bool left, int width) {
    const std::size_t n = format_.size();
    int precision = -1;
    if (i < n && format_[i] == L'.') {
      ++i;
      precision = Number(i);
      if (precision < 0) precision = 0;
    }
    if (i >= n) InvalidFormat(format_);
    const wchar_t type = static_cast<wchar_t>(format_[i] | 0x20);  // types ignore case
    ++i;
    String text = Convert(type, precision);
    if (width > 0 && static_cast<int>(text.size()) < width) {
      const String pad(static_cast<std::size_t>(width) - text.size(), L' ');
      text = left ? text + pad : pad + text;
    }
    return text;
  }

  String Convert(wchar_t type, int precision) {
    const TVarRec& arg = NextArg();
    const auto& v = arg.value();
    switch (type) {
      case L'd': {
        std::int64_t x;
        if (auto p = std::get_if<std::int64_t>(&v))
          x = *p;
        else if (auto q = std::get_if<std::uint64_t>(&v))
          x = static_cast<std::int64_t>(*q);
        else
          InvalidFormat(format_);
        const bool negative = x < 0;
        const std::uint64_t mag = negative ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
        String digits = Digits(mag, 10);
        if (precision > static_cast<int>(digits.size()))
          digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), L'0');
        return negative ? L"-" + digits : digits;
      }
      case L'u':
      case L'x': {
        std::uint64_t x;
        if (auto p = std::get_if<std::uint64_t>(&v))
          x = *p;
        else if (auto q = std::get_if<std::int64_t>(&v))
          x = (*q < 0 && !arg.wide()) ? static_cast<std::uint32_t>(*q) : static_cast<std::uint64_t>(*q);
        else
          InvalidFormat(format_);
        String digits = Digits(x, type == L'u' ? 10 : 16);
        if (precision > static_cast<int>(digits.size()))
          digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), L'0');
        return digits;
      }
      case L's': {
        auto p = std::get_if<String>(&v);
        if (!p) InvalidFormat(format_);
        if (precision >= 0 && static_cast<std::size_t>(precision) < p->size())
          return p->substr(0, static_cast<std::size_t>(precision));
        return *p;
      }
      case L'f':
      case L'n': {
        auto p = std::get_if<double>(&v);
        if (!p) InvalidFormat(format_);
        const int decimals = precision < 0 ? 2 : std::min(precision, 18);
        return FixedDigits(*p, decimals, fs_.DecimalSeparator, fs_.ThousandSeparator, type == L'n');
      }
      default:
        InvalidFormat(format_);
    }
  }

  const String& format_;
  std::vector<TVarRec> args_;
  const TFormatSettings& fs_;
  std::size_t next_ = 0;
};

}  // namespace

String Format(const String& format, TVarRecs args, const TFormatSettings& settings) {
  return Formatter(format, args, settings).Run();
}

String Format(const String& format, TVarRecs args) { return Format(format, args, FormatSettings()); }
