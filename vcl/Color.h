// Colours as the controls and form resources hold them: 0x00BBGGRR for a plain
// colour, 0xFF0000nn for system colour nn (resolved with GetSysColor when drawn),
// clNone for "no colour" and clDefault for "the control's own default".
#pragma once
#include <cstdint>
#include <string>

#include "vcl/TypInfo.h"

using TColor = std::uint32_t;

constexpr TColor clSystemColor = 0xFF000000u;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: the index is the GetSysColor index (COLOR_BTNFACE is 15...).
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr bool IsSystemColor(TColor c) { return (c & clSystemColor) == clSystemColor; }

constexpr TColor RGBToColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
// The Win32 headers define these as macros that do the same.
#ifndef GetRValue
constexpr std::uint8_t GetRValue(TColor c) { return std::uint8_t(c & 0xFF); }
constexpr std::uint8_t GetGValue(TColor c) { return std::uint8_t((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(TColor c) { return std::uint8_t((c >> 16) & 0xFF); }
#endif

// A system colour turned into its current plain value (GetSysColor on Windows; the
// classic Windows scheme in the native build). Other colours come back unchanged,
// clNone and clDefault included.
TColor ColorToRGB(TColor c);
// The plain value of one system colour index; the native build's fixed scheme.
TColor SysColorValue(int index);

// "clRed", "clBtnFace" for named colours, otherwise "$00BBGGRR".
std::wstring ColorToString(TColor c);
// Name to colour ("clBtnFace", case ignored); false for an unknown name.
bool IdentToColor(const std::wstring& ident, TColor& out);
// The colour's name; false when it has none.
bool ColorToIdent(TColor c, std::wstring& out);
// A name, "$hex" or a decimal number (negative numbers as the 32-bit pattern);
// false for anything else.
bool TryStringToColor(const std::wstring& text, TColor& out);

// Colours in form resources are written by name where they have one ("clBtnFace"):
// `.Idents(ColorIdents)` on a published colour property.
extern const TIdentMap ColorIdents;
