// Free painting routines every flat control calls: lighter and darker shades of a
// colour, 3D frame lines, the parent's background under a transparent control,
// the embossed image of a disabled glyph and the layout of a glyph beside a
// caption. They hold no state.
//
// The colour and layout arithmetic builds natively (FlatUtilitys.cpp); what draws
// needs a canvas (FlatUtilitys.win.cpp).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "vcl/Color.h"
#include "vcl/Types.h"

#ifdef _WIN32
#include "vcl/Buttons.h"
#include "vcl/Win.h"
class TCanvas;
class TControl;
class TBitmap;
class TFont;
#endif

namespace Flat {

// Percentage (0..100) by which a flat control lightens or darkens its colour.
using TAdvColors = std::uint8_t;
inline constexpr TAdvColors kMaxAdvColors = 100;

enum class TColorCalcType { Lighten, Darken };

// The fallback when percent is 0; otherwise base (a system colour is resolved)
// with its luminance moved by percent on the 0..240 scale, after adding 10, and
// held within 0..100 of that scale. The low ceiling means lightening turns a
// light colour grey: that is the look the forms were drawn with.
TColor AdjustColorLightness(TColor base, TColor fallback, std::uint8_t percent, TColorCalcType direction);

// Which side of the caption the glyph goes (the order of TButtonLayout).
enum class TGlyphSide { Left, Right, Top, Bottom };

struct TGlyphAndCaption {
  TPoint GlyphPos;
  TRect TextRect;
};

// Places a glyph of glyphSize and a caption of textSize (0, 0 when empty) in
// client, moved by offset. margin and spacing -1 mean automatic.
TGlyphAndCaption LayoutGlyphAndCaptionSizes(const TRect& client, TPoint offset, TSize glyphSize, TSize textSize,
                                            int margin, int spacing, TGlyphSide side);

// The value whose low 16 bits, read unsigned, are smaller (the second when equal).
std::uint32_t MinWord(std::uint32_t a, std::uint32_t b);
bool RectsIntersect(const TRect& a, const TRect& b);

#ifdef _WIN32
// A frame of `width` 1-pixel rings inside rect: top and left in topColor, bottom
// and right in bottomColor.
void DrawFrame3D(TCanvas* canvas, TRect rect, TColor topColor, TColor bottomColor, int width);

// Paints what the control's parent shows under the control (the parent itself,
// not the siblings), in the control's coordinates. Nothing without a parent.
void PaintParentBehind(TControl* control, TCanvas* canvas);

// The disabled look of glyph: back colour where the glyph shows transparent,
// the rest embossed in highlight (one pixel down-right) and shadow. The caller
// owns the result. An empty glyph gives an empty bitmap.
std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap* glyph, TColor transparent, TColor back, TColor highlight,
                                             TColor shadow, bool drawHighlight);

// As LayoutGlyphAndCaptionSizes, measuring the caption on canvas and the glyph's
// cell (glyph width / cells; 0 cells counts as 1) from glyph (nullptr: none).
TGlyphAndCaption LayoutGlyphAndCaption(TCanvas* canvas, const TRect& client, TPoint offset,
                                       const std::wstring& caption, TBitmap* glyph, int cells, int margin,
                                       int spacing, TButtonLayout layout);

// Draws text with a clear brush in the canvas's font colour; disabled, engraved:
// once in clBtnHighlight one pixel down-right, then in clBtnShadow. The font
// colour is left as it was.
void DrawFlatCaption(TCanvas* canvas, const std::wstring& text, const TRect& rect, unsigned flags, bool enabled);

// The small triangle of an arrow button, filled and outlined in color; disabled,
// engraved: once in white one pixel down-right, then in grey (0x808080) in place.
void DrawFlatArrow(HDC dc, const POINT (&points)[3], TColor color, bool enabled);

TEXTMETRICW GetFontTextMetrics(TFont* font);
// The font's line height with an eighth of leading.
int GetFontHeight(TFont* font);
#endif

}  // namespace Flat
