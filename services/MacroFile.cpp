#include "services/MacroFile.h"

#include "vcl/StringList.h"
#include "vcl/SysUtils.h"

#include <algorithm>

namespace {

struct TLetterKey {
  wchar_t letter;
  std::uint32_t paramL;
};
// Scan code x 256 + virtual key of each letter key in the US layout.
constexpr TLetterKey LetterKeys[] = {
    {L'q', 4177},  {L'w', 4439},  {L'e', 4677},  {L'r', 4946},  {L't', 5204},  {L'y', 5465},  {L'u', 5717},
    {L'i', 5961},  {L'o', 6223},  {L'p', 6480},  {L'a', 7745},  {L's', 8019},  {L'd', 8260},  {L'f', 8518},
    {L'g', 8775},  {L'h', 9032},  {L'j', 9290},  {L'k', 9547},  {L'l', 9804},  {L'z', 11354}, {L'x', 11608},
    {L'c', 11843}, {L'v', 12118}, {L'b', 12354}, {L'n', 12622}, {L'm', 12877}};

bool IsKeyMessage(std::uint32_t m) { return m == MacroKeyDown || m == MacroKeyUp; }

// A decimal number that fits 32 bits, signed or not; EConvertError otherwise.
std::uint32_t ReadNumber(const std::wstring& text) {
  const std::int64_t v = StrToInt64(text);
  if (v < -2147483648LL || v > 4294967295LL) throw EConvertError(L"'" + text + L"' is not a valid integer value");
  return static_cast<std::uint32_t>(v);
}

std::wstring Signed(std::uint32_t v) { return std::to_wstring(static_cast<std::int32_t>(v)); }

}  // namespace

std::wstring MacroMessageName(std::uint32_t message) {
  static const wchar_t* const keys[] = {L"KEYDOWN",    L"KEYUP",    L"CHAR",        L"DEADCHAR", L"SYSKEYDOWN",
                                        L"SYSKEYUP",   L"SYSCHAR",  L"SYSDEADCHAR", L"KEYLAST"};
  static const wchar_t* const mouse[] = {L"MOUSEMOVE",     L"LBUTTONDOWN", L"LBUTTONUP",     L"LBUTTONDBLCLK",
                                         L"RBUTTONDOWN",   L"RBUTTONUP",   L"RBUTTONDBLCLK", L"MBUTTONDOWN",
                                         L"MBUTTONUP",     L"MBUTTONDBLCLK", L"MOUSEWHEEL"};
  if (message >= 256 && message <= 264) return keys[message - 256];
  if (message >= 512 && message <= 522) return mouse[message - 512];
  return L"UnKnown";
}

wchar_t MacroLetterOfKey(std::uint32_t paramL) {
  for (const auto& k : LetterKeys)
    if (k.paramL == paramL) return k.letter;
  return 0;
}

std::vector<std::wstring> WriteMacroLines(const std::vector<TMacroEvent>& events) {
  const std::size_t n = std::min(events.size(), MaxMacroEvents);
  std::vector<std::wstring> lines;
  lines.reserve(n + 1);
  lines.push_back(L"MessageCount=" + std::to_wstring(n));
  TStringList items;
  for (std::size_t i = 0; i < n; ++i) {
    const TMacroEvent& e = events[i];
    std::wstring paramL = Signed(e.ParamL);
    if (IsKeyMessage(e.Message)) {
      const wchar_t letter = MacroLetterOfKey(e.ParamL);
      paramL = letter ? std::wstring(1, letter) : std::to_wstring(e.ParamL);
    }
    items.Clear();
    items.Add(MacroMessageName(e.Message) + L"=" + std::to_wstring(e.Message));
    items.Add(L"ParamL=" + paramL);
    items.Add(L"ParamH=" + Signed(e.ParamH));
    items.Add(L"Time=" + std::to_wstring(e.Time));
    items.Add(L"hwnd=" + std::to_wstring(e.Window));
    lines.push_back(items.CommaText());
  }
  return lines;
}

std::vector<TMacroEvent> ReadMacroLines(const std::vector<std::wstring>& lines) {
  std::vector<TMacroEvent> events;
  if (lines.empty()) return events;
  TStringList items;
  items.SetCommaText(lines[0]);
  const std::int64_t count = StrToInt64(items.Values(L"MessageCount"));
  if (count < 0 || count > static_cast<std::int64_t>(MaxMacroEvents))
    throw EMacroFileError(L"Invalid MessageCount " + std::to_wstring(count));
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), lines.size() - 1);
  events.reserve(n);
  for (std::size_t i = 1; i <= n; ++i) {
    items.SetCommaText(lines[i]);
    if (items.Count() == 0) throw EConvertError(L"'' is not a valid integer value");
    TMacroEvent e;
    const std::wstring& first = items.Strings(0);
    const std::size_t eq = first.find(L'=');
    e.Message = ReadNumber(eq == std::wstring::npos ? L"" : first.substr(eq + 1));
    const std::wstring paramL = items.Values(L"ParamL");
    wchar_t letter = 0;
    if (IsKeyMessage(e.Message) && paramL.size() == 1)
      for (const auto& k : LetterKeys)
        if (k.letter == paramL[0]) letter = k.letter, e.ParamL = k.paramL;
    if (!letter) e.ParamL = ReadNumber(paramL);
    e.ParamH = ReadNumber(items.Values(L"ParamH"));
    e.Time = ReadNumber(items.Values(L"Time"));
    e.Window = ReadNumber(items.Values(L"hwnd"));
    events.push_back(e);
  }
  return events;
}
