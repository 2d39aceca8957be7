#include "vcl/Masks.h"

#include <utility>
#include <vector>

#include "vcl/SysUtils.h"

namespace {

struct Element {
  enum Kind { Literal, AnyOne, AnyRun, Set };
  explicit Element(Kind k) : kind(k) {}
  Kind kind;
  wchar_t ch = 0;
  bool negate = false;
  std::vector<std::pair<wchar_t, wchar_t>> ranges;  // already upper case

  bool Accepts(wchar_t c) const {
    if (kind == AnyOne) return true;
    if (kind == Literal) return c == ch;
    bool in = false;
    for (const auto& [lo, hi] : ranges)
      if (c >= lo && c <= hi) in = true;
    return in != negate;
  }
};

wchar_t Fold(wchar_t c) {
  const String s = AnsiUpperCase(String(1, c));
  return s.empty() ? c : s[0];
}

std::vector<Element> Compile(const String& mask) {
  std::vector<Element> out;
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const wchar_t c = mask[i];
    if (c == L'*') {
      if (out.empty() || out.back().kind != Element::AnyRun) out.emplace_back(Element::AnyRun);
    } else if (c == L'?') {
      out.emplace_back(Element::AnyOne);
    } else if (c == L'[') {
      Element e(Element::Set);
      const std::size_t start = i;
      ++i;
      if (i < mask.size() && mask[i] == L'!') e.negate = true, ++i;
      while (i < mask.size() && mask[i] != L']') {
        wchar_t lo = Fold(mask[i]), hi = lo;
        if (i + 2 < mask.size() && mask[i + 1] == L'-' && mask[i + 2] != L']') {
          hi = Fold(mask[i + 2]);
          i += 2;
        }
        if (lo > hi) std::swap(lo, hi);
        e.ranges.emplace_back(lo, hi);
        ++i;
      }
      if (i >= mask.size())
        throw EMaskException(L"'%s' is an invalid mask at (%d)", {mask, static_cast<int>(start + 1)});
      out.push_back(std::move(e));
    } else {
      Element e(Element::Literal);
      e.ch = Fold(c);
      out.push_back(std::move(e));
    }
  }
  return out;
}

}  // namespace

bool MatchesMask(const String& fileName, const String& mask) {
  const std::vector<Element> elements = Compile(mask);
  String name = AnsiUpperCase(fileName);
  // Greedy matching with one back-track point per run: linear in practice.
  std::size_t e = 0, n = 0, starE = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (e < elements.size() && elements[e].kind == Element::AnyRun) {
      starE = e++;
      starN = n;
    } else if (e < elements.size() && elements[e].Accepts(name[n])) {
      ++e, ++n;
    } else if (starE != std::string::npos) {
      e = starE + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (e < elements.size() && elements[e].kind == Element::AnyRun) ++e;
  return e == elements.size();
}
