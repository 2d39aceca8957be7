// Drawing the edits and buttons of the extended library share: the drop-down arrow
// and the frame a framed window control paints in its non-client area.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/Canvas.h"

namespace Vy {

// A downward arrow centred in rect: a filled triangle, or in XP style a chevron;
// clBtnShadow when disabled, one pixel right and down when pressed.
void PaintDropDownArrow(TCanvas* canvas, const TRect& rect, bool xpStyle, bool enabled, bool pressed);

// Fills rect with an 8 x 8 checker: pixels whose x and y have the same parity in `even`,
// the others in `odd` (the down pattern of grouped buttons).
void FillChecker(TCanvas* canvas, const TRect& rect, TColor even, TColor odd);

// Whether the mouse pointer is over the control now (false while it has no parent window).
bool PointerOver(TControl* control);

// Tells the other controls of sender's parent that sender went down in its group: each
// gets msg (WParam the group, LParam the sender) through its own message road, so only
// the library's controls hear of it, never a foreign window.
void TellGroup(TControl* sender, unsigned msg, int group);

}  // namespace Vy
