#include "vcl/Color.h"

#include <cwctype>
#include <iterator>

namespace {

struct NamedColor {
  TColor value;
  const wchar_t* name;
};

// The first entry of a value names it (clSilver before clLtGray).
constexpr NamedColor kNamedColors[] = {
    {clBlack, L"clBlack"},
    {clMaroon, L"clMaroon"},
    {clGreen, L"clGreen"},
    {clOlive, L"clOlive"},
    {clNavy, L"clNavy"},
    {clPurple, L"clPurple"},
    {clTeal, L"clTeal"},
    {clGray, L"clGray"},
    {clSilver, L"clSilver"},
    {clRed, L"clRed"},
    {clLime, L"clLime"},
    {clYellow, L"clYellow"},
    {clBlue, L"clBlue"},
    {clFuchsia, L"clFuchsia"},
    {clAqua, L"clAqua"},
    {clWhite, L"clWhite"},
    {clMoneyGreen, L"clMoneyGreen"},
    {clSkyBlue, L"clSkyBlue"},
    {clCream, L"clCream"},
    {clMedGray, L"clMedGray"},
    {clActiveBorder, L"clActiveBorder"},
    {clActiveCaption, L"clActiveCaption"},
    {clAppWorkSpace, L"clAppWorkSpace"},
    {clBackground, L"clBackground"},
    {clBtnFace, L"clBtnFace"},
    {clBtnHighlight, L"clBtnHighlight"},
    {clBtnShadow, L"clBtnShadow"},
    {clBtnText, L"clBtnText"},
    {clCaptionText, L"clCaptionText"},
    {clDefault, L"clDefault"},
    {clGradientActiveCaption, L"clGradientActiveCaption"},
    {clGradientInactiveCaption, L"clGradientInactiveCaption"},
    {clGrayText, L"clGrayText"},
    {clHighlight, L"clHighlight"},
    {clHighlightText, L"clHighlightText"},
    {clHotLight, L"clHotLight"},
    {clInactiveBorder, L"clInactiveBorder"},
    {clInactiveCaption, L"clInactiveCaption"},
    {clInactiveCaptionText, L"clInactiveCaptionText"},
    {clInfoBk, L"clInfoBk"},
    {clInfoText, L"clInfoText"},
    {clMenu, L"clMenu"},
    {clMenuBar, L"clMenuBar"},
    {clMenuHighlight, L"clMenuHighlight"},
    {clMenuText, L"clMenuText"},
    {clNone, L"clNone"},
    {clScrollBar, L"clScrollBar"},
    {cl3DDkShadow, L"cl3DDkShadow"},
    {cl3DLight, L"cl3DLight"},
    {clWindow, L"clWindow"},
    {clWindowFrame, L"clWindowFrame"},
    {clWindowText, L"clWindowText"},
    {clLtGray, L"clLtGray"},
    {clDkGray, L"clDkGray"},
};

bool SameIdent(const std::wstring& a, const wchar_t* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return i == a.size() && b[i] == 0;
}

}  // namespace

std::wstring ColorToString(TColor c) {
  std::wstring name;
  if (ColorToIdent(c, name)) return name;
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out = L"$";
  for (int shift = 28; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
  return out;
}

bool ColorToIdent(TColor c, std::wstring& out) {
  for (const auto& n : kNamedColors) {
    if (n.value == c) {
      out = n.name;
      return true;
    }
  }
  return false;
}

bool IdentToColor(const std::wstring& ident, TColor& out) {
  for (const auto& n : kNamedColors) {
    if (SameIdent(ident, n.name)) {
      out = n.value;
      return true;
    }
  }
  return false;
}

bool TryStringToColor(const std::wstring& text, TColor& out) {
  if (IdentToColor(text, out)) return true;
  if (text.empty()) return false;
  size_t i = 0;
  bool negative = false;
  if (text[0] == L'-') {
    negative = true;
    i = 1;
  }
  int base = 10;
  if (i < text.size() && text[i] == L'$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    wchar_t ch = text[i];
    int digit;
    if (ch >= L'0' && ch <= L'9') digit = ch - L'0';
    else if (base == 16 && ch >= L'a' && ch <= L'f') digit = ch - L'a' + 10;
    else if (base == 16 && ch >= L'A' && ch <= L'F') digit = ch - L'A' + 10;
    else return false;
    value = value * base + digit;
    if (value > 0xFFFFFFFFull) return false;
  }
  if (negative) {
    if (value > 0x80000000ull) return false;
    value = (~value + 1) & 0xFFFFFFFFull;
  }
  out = TColor(value);
  return true;
}

#ifndef _WIN32
// The default Windows 7 scheme, so native code that resolves system colours gets the
// values a stock desktop shows.
TColor SysColorValue(int index) {
  static constexpr TColor kClassic[] = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0xB5B5B5, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  if (index < 0 || index >= int(std::size(kClassic))) return clBlack;
  return kClassic[index];
}
#endif

TColor ColorToRGB(TColor c) {
  if (IsSystemColor(c)) return SysColorValue(int(c & 0xFF));
  return c;
}

const TIdentMap ColorIdents = {
    [](int64_t value, std::wstring& ident) { return ColorToIdent(TColor(value), ident); },
    [](std::wstring_view ident, int64_t& value) {
      TColor c;
      if (!IdentToColor(std::wstring(ident), c)) return false;
      value = c;
      return true;
    },
};
