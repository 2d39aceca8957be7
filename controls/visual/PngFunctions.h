// PNG glyphs shared by the PNG image list and the PNG buttons: the disabled look
// (blended and/or grey), PNG images made from bitmaps, icons and image-list
// entries with an alpha channel, and where a glyph and a caption go in a button.
#pragma once
#include <memory>
#include <string>

#include "vcl/Bitmap.h"
#include "vcl/Buttons.h"
#include "vcl/ImgList.h"
#include "vcl/PngImage.h"

namespace Flat {

QORN_ENUM(TPngOption, pngBlendOnDisabled, pngGrayscaleOnDisabled);
using TPngOptions = TSet<TPngOption>;

// The amounts of the disabled look: half the alpha, fully grey.
inline constexpr int kDisabledBlend = 127;
inline constexpr int kDisabledGray = 255;

// Every alpha value becomes round(alpha * (Amount + 1) / 256): 127 halves it.
// Pictures without an alpha channel get one first (0 for a transparent colour).
void MakeImageBlended(TPngImage* Image, int Amount = kDisabledBlend);
// Colours move towards their grey level by Amount (255: pure grey); grey
// pictures are left as they are.
void MakeImageGrayscale(TPngImage* Image, int Amount = kDisabledGray);
// A copy of Image with the disabled look Options ask for.
std::unique_ptr<TPngImage> DisabledCopy(const TPngImage* Image, TPngOptions Options);

// Draws Image into R: as it is with empty Options, else a copy with that look.
void DrawPNG(TPngImage* Image, TCanvas* Canvas, const TRect& R, TPngOptions Options);

// A PNG image of Bitmap whose alpha is the mask's pixel value at each point
// (inverted when asked: a white mask pixel then means transparent).
std::unique_ptr<TPngImage> PNGFromBitmapAndMask(TBitmap* Bitmap, TBitmap* Mask, bool Inverse);
// Transparent where Bitmap's pixel is MaskColor, opaque elsewhere.
std::unique_ptr<TPngImage> PNGFromMaskColor(TBitmap* Bitmap, TColor MaskColor);
// A copy of a PNG image; a transparent bitmap loses its transparent colour; an
// icon keeps its alpha (or its mask). An alpha channel only when some pixel is
// transparent. nullptr for no graphic.
std::unique_ptr<TPngImage> PNGFromGraphic(const TGraphic* Graphic);
// Entry Index of an image list (a copy of the PNG item of a PNG image list);
// nullptr for a bad index.
std::unique_ptr<TPngImage> PNGFromImageList(TCustomImageList* List, int Index);

// Where a button draws its glyph (top-left corner) and its caption (the text's
// rectangle). TextFlags with DT_RIGHT lay out right to left, swapping
// blGlyphLeft and blGlyphRight; a pressed button moves both by (1, 1).
void CalcButtonLayout(TCanvas* Canvas, TPngImage* Image, const TRect& Client, UINT TextFlags,
                      const std::wstring& Caption, TButtonLayout Layout, int Margin, int Spacing, bool Pressed,
                      TPoint& GlyphPos, TRect& TextRect);

}  // namespace Flat
