// What the calendar and the clock time picker share: measuring their font, and their
// push buttons (Today, Clear, Set).
#pragma once
#include "controls/extended/VyPanel.h"
#include "vcl/Canvas.h"
#include "vcl/Font.h"

namespace Vy {

struct TVyTextSize {
  int Width = 0, Height = 0;
};

// The size of each text in the font, measured on the screen.
std::vector<TVyTextSize> MeasureTexts(TFont* font, const std::vector<std::wstring>& texts);

// The look both start with: a lowered frame on the window colour, focusable, painted
// off-screen.
void UsePickerLook(TVyCustomPanel* picker);

// A push button with its caption centred: sunken while pressed, etched on a flat
// frame, raised otherwise.
void PaintPickerButton(TCanvas* canvas, TRect rect, const std::wstring& caption, bool pressed, bool flat);

}  // namespace Vy
