// Drawing routines of the gradient bar: bevel frames, banded gradients and text in
// raised, recessed, shadowed or outlined styles. All draw on a device context.
#pragma once
#include "controls/visual/GlColors.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Win.h"

namespace Flat {

using TBevelCut = TPanelBevel;

QORN_ENUM(TglTextStyle, fstNone, fstRaised, fstRecessed, fstPushed, fstShadow, fstVolumetric);

// Sides of a bevel frame, combined by or.
enum TglSide : unsigned { glsLeft = 1, glsTop = 2, glsRight = 4, glsBottom = 8, glsAll = 15 };

// The colour depth gradients check; below 16 bits a ramp would only dither.
int DisplayBitsPerPixel(HDC dc);

// Tests set the depth the drawing routines see (a 256-colour display cannot be had under Xvfb).
class TDisplayDepthOverride {
 public:
  explicit TDisplayDepthOverride(int bits);
  ~TDisplayDepthOverride();
  TDisplayDepthOverride(const TDisplayDepthOverride&) = delete;
  TDisplayDepthOverride& operator=(const TDisplayDepthOverride&) = delete;

 private:
  int saved_;
};

// `rect` holds its right and bottom lines (inclusive). Draws the outer then the inner
// bevel on the given sides, moves those sides inwards past the lines drawn, and unless
// transparent fills what is left with `background`.
void DrawBevelFrame(HDC dc, TRect& rect, unsigned sides, TBevelCut outer, TBevelCut inner, bool bold,
                    bool transparent, TColor background);

// The first PercentFilling per cent of the gradient's bands over `rect`; nothing when it
// is inactive, has one step, or the display has fewer than 16 bits per pixel.
void DrawGradient(HDC dc, const TRect& rect, const TGradient& gradient);

struct TglTextColors {
  TColor Text, Shadow, Highlight, Delineate;
};

// `text` at (x, y) in `style`, clipped to `clip`, in the DC's selected font.
void DrawStyledText(HDC dc, int x, int y, const TglTextColors& colors, bool delineated, TglTextStyle style,
                    const std::wstring& text, const TRect& clip);

}  // namespace Flat
