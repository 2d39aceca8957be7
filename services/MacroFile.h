// The macro file ("quick.mcr"): recorded journal events as text.
//
// Line 1 is "MessageCount=n"; then one line per event, the comma text of five
// name=value items: the message's name (without "WM_") with its number, then
// ParamL, ParamH, Time and hwnd:
//   KEYDOWN=256,ParamL=w,ParamH=1,Time=0,hwnd=65626
// ParamL of a key-down or key-up of the 26 letter keys is the lower-case letter
// (scan code x 256 + virtual key of the US layout); other numbers are decimal,
// ParamL and ParamH signed, the rest unsigned. Time counts milliseconds from the
// first event.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "vcl/Exceptions.h"

// One journal message, as the journal hooks pass it.
struct TMacroEvent {
  std::uint32_t Message = 0;
  std::uint32_t ParamL = 0;  // keys: scan code x 256 + virtual key; mouse: x
  std::uint32_t ParamH = 0;  // mouse: y
  std::uint32_t Time = 0;
  std::uint32_t Window = 0;
  friend bool operator==(const TMacroEvent&, const TMacroEvent&) = default;
};

// The most events a recording keeps and a file may hold.
inline constexpr std::size_t MaxMacroEvents = 20001;

inline constexpr std::uint32_t MacroKeyDown = 256;
inline constexpr std::uint32_t MacroKeyUp = 257;
inline constexpr std::uint32_t MacroMouseMove = 512;
inline constexpr std::uint32_t MacroFirstMouse = 512;
inline constexpr std::uint32_t MacroLastMouse = 522;  // WM_MOUSEWHEEL

// A file whose event count is impossible. Numbers that are no numbers raise the
// library's EConvertError.
class EMacroFileError : public Exception {
 public:
  using Exception::Exception;
};

// "KEYDOWN", "MOUSEMOVE"...; "UnKnown" for messages a macro does not name.
std::wstring MacroMessageName(std::uint32_t message);
// The letter of a letter key's ParamL, or 0.
wchar_t MacroLetterOfKey(std::uint32_t paramL);

// The file's lines for these events (at most MaxMacroEvents of them).
std::vector<std::wstring> WriteMacroLines(const std::vector<TMacroEvent>& events);
// The events of a file's lines: MessageCount of them, at most as many as there are
// event lines. Throws EConvertError or EMacroFileError for a malformed file.
std::vector<TMacroEvent> ReadMacroLines(const std::vector<std::wstring>& lines);
