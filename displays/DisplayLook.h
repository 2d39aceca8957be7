// Settings the displays share in how they draw.
#pragma once
#include "vcl/Controls.h"

namespace Displays {

// Font slot 0 of the settings (the text display's font) on font, when the slot is
// there; a missing slot leaves the font as it is.
void ApplyTextDisplayFont(TFont* font);
// The same for any font slot (1: the popup's caption, 2: its texts).
void ApplyFontSlot(TFont* font, std::size_t slot);
// A colour setting: -1 means "not chosen", which leaves the current colour.
inline bool ColorChosen(std::int32_t value) { return value != -1; }

}  // namespace Displays
