// Reading a text off the screen, for windows of another process whose texts have
// no window of their own to ask (labels and other windowless controls are painted
// by their parent): what the user reads is what the test reads.
#pragma once
#include "vcl/Win.h"

#include <string>

namespace qorn::testing {

// Whether the window shows text with its top left at that client point, drawn in
// the named font of that height (negative: character height in pixels). The ink on
// the screen is compared with the same text drawn here in the same font, allowing
// a pixel or two of offset; the window must be on top where the text is.
bool ShowsText(HWND wnd, POINT clientTopLeft, const std::wstring& text, const wchar_t* fontName, int fontHeight);

}  // namespace qorn::testing
