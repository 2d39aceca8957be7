// What the parts of the shell list share inside the library: the hourglass of its
// longer steps, quiet critical errors, and its private message and constants.
#pragma once
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/Win.h"

#include <shlobj.h>

#include <string>

namespace Vy::shell_list {

// Posted to itself: a refresh held back during a label edit.
constexpr UINT WM_RUNPOSTPONED = WM_USER + 104;

// The shell's rename flags as the explorer passes them.
constexpr SHGDNF kSetNameFlags = 0x20;

// Drag scrolling: edges and pace.
constexpr int kScrollEdgeX = 26, kScrollEdgeY = 20;
constexpr DWORD kScrollPaceMs = 100;

class THourglass {
 public:
  THourglass() : previous_(Screen->GetCursor()) { Screen->SetCursor(crHourGlass); }
  ~THourglass() { Screen->SetCursor(previous_); }

 private:
  TCursor previous_;
};

// Drives without media answer with an error, never with a box.
class TQuietErrors {
 public:
  TQuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TQuietErrors() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

inline std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace Vy::shell_list
