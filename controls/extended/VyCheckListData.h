// The check list's data without a window: the order in which a toggle moves a line's
// state, and the line format of its streams ("&", enabled 0/1, blank, state 0..2,
// blank, text).
#pragma once
#include <cstdint>
#include <string>

namespace Vy {

// Check states as streamed: 0 unchecked, 1 checked, 2 grayed.
inline bool IsCheckState(int64_t v) { return v >= 0 && v <= 2; }

// Unchecked -> checked (-> grayed first with allowGrayed), checked -> unchecked,
// grayed -> checked.
int NextCheckState(int state, bool allowGrayed);

struct TCheckListLine {
  bool Enabled = true;
  int State = 0;
  std::wstring Text;
  friend bool operator==(const TCheckListLine&, const TCheckListLine&) = default;
};

std::wstring FormatCheckListLine(const TCheckListLine& line);
// A line of the format gives its flag, state and text; any other line (too short, a
// state that is not 0..2) is an unchecked, enabled line of that whole text.
TCheckListLine ParseCheckListLine(const std::wstring& line);

}  // namespace Vy
