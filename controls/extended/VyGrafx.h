// Shared drawing of the extended controls: frames side by side, the bevelled border
// (outer bevel, border band, inner bevel), two-colour gradients in ten shapes and
// the two progress-bar looks.
//
// Rule: every frame routine takes the outer rectangle and the sides to draw and
// returns the rectangle left inside what it drew (right- and bottom-exclusive). The
// routines keep no state; they leave the canvas's pen width 1 and its brush solid.
// Colour sums are in VyGrafxColor.h.
#pragma once
#include "controls/extended/VyGrafxColor.h"
#include "vcl/Canvas.h"
#include "vcl/Controls.h"
#include "vcl/TypInfo.h"

namespace Vy {

// fsFlatRounded is the extended style (TFrameStyleEx); properties of type
// TFrameStyle leave it to the controls that know it.
QORN_ENUM(TFrameStyle, fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus,
          fsPopup, fsFlatBold, fsFlatRounded);
using TFrameStyleEx = TFrameStyle;

QORN_ENUM(TSide, sdLeft, sdTop, sdRight, sdBottom);
using TSides = TSet<TSide>;
inline const TSides AllSides{sdLeft, sdTop, sdRight, sdBottom};

QORN_ENUM(TGradientDirection, gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox,
          gdVerticalEnd, gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox);

QORN_ENUM(TOrientation, orHorizontal, orVertical);

// How a hot colour is used: as it is, or its complement (the hue turned half way round).
enum class TVyHotTrackColorType { htctComplement, htctActual };
QORN_ENUM_INFO(TVyHotTrackColorType, htctComplement, htctActual);

// Text drawn plain, raised or recessed (a light and a dark copy), or over its shadow.
enum class TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
QORN_ENUM_INFO(TTextStyle, tsNormal, tsRaised, tsRecessed, tsShadow);

// --- frames
// A colour of clNone leaves its sides undrawn; the result shrinks on every chosen side anyway.
TRect PaintSides(TCanvas* canvas, TRect rect, TColor ulColor, TSides sides, TColor lrColor);
TRect PaintBevel(TCanvas* canvas, TRect rect, TColor ulColor, TSides sides, int rings, TColor lrColor);
TRect Paint3DEdgeSides(TCanvas* canvas, TRect rect, bool sunken, TSides sides);
TRect PaintButtonEdge(TCanvas* canvas, TRect rect, bool down, TSides sides = AllSides);
TRect PaintColorButtonEdge(TCanvas* canvas, TRect rect, TColor base, bool down, TSides sides = AllSides);
// In the system 3D colours.
TRect PaintFrame(TCanvas* canvas, TRect rect, TFrameStyle style, TSides sides = AllSides);
// In shades of one base colour.
TRect PaintColorFrame(TCanvas* canvas, TRect rect, TColor base, TFrameStyle style, TSides sides = AllSides);
// One pixel wide with cut corners; 2 pixels in on each chosen side.
TRect PaintRoundedFlatFrame(TCanvas* canvas, TRect rect, TColor color, TSides sides);

// The frame of a framed window control over its whole window (0, 0, width, height),
// drawn on its window DC: unless keepRing, two rings in the control's colour first
// (they erase what the system drew there); then the frame in `style`.
void PaintNonClientFrame(TCanvas* canvas, int width, int height, bool keepRing, TSides sides, TColor frameColor,
                         TColor controlColor, TFrameStyle style);

// Pixels each side of a frame style takes (fsStatus and fsPopup take the bevel width).
int FrameStyleWidth(TFrameStyle style, int bevelWidth);

struct TBevelBorder {
  TFrameStyleEx Outer = fsNone;
  TFrameStyleEx Inner = fsNone;
  bool CutCorners = false;          // an inner fsFlat frame stops one pixel short of the corners
  bool TransparentCorners = false;  // cut corners show what lies behind instead of ParentColor
  TColor ParentColor = clBtnFace;
  TColor ControlColor = clBtnFace;
  int FlatColorAdjustment = 30;
  TColor FlatColor = clBtnShadow;
  TColor ShadowColor = clBtnShadow;
  TColor HighlightColor = clBtnHighlight;
  TColor BorderColor = clBtnFace;
  int BevelWidth = 1;
  TSides Sides = AllSides;
  int BorderWidth = 0;
};
// The border of a framed graphic control; returns the client rectangle inside it.
TRect PaintBevelBorder(TCanvas* canvas, TRect rect, const TBevelBorder& border);

// --- gradients
// Into an off-screen bitmap of the rect's size, drawn at its top-left. An empty rect
// paints nothing; a band setting below 1 counts as 1.
void PaintGradient(TCanvas* canvas, const TRect& rect, TGradientDirection direction, int bandSetting, TColor first,
                   TColor second);

// --- progress bars
// LED style: a row of segments, the first FilledSegments(percent, ...) in the bar colour.
void PaintSegmentedProgress(TCanvas* canvas, const TRect& rect, bool vertical, bool themed, int percent, int count,
                            TColor backColor, TColor barColor);
// A filled part and the percentage, in the back colour over the bar and the bar colour
// over the rest. Percents above 100 draw as 100.
void PaintTraditionalProgress(TCanvas* canvas, const TRect& rect, bool vertical, bool showPercent, int percent,
                              TColor backColor, TColor barColor);

// --- lines and focus
// Every second pixel in black, from one pixel after `from` to before `to`.
void DottedHorzLine(TCanvas* canvas, int y, int from, int to);
void DottedVertLine(TCanvas* canvas, int x, int from, int to);
void DottedHorzLine(TCanvas* canvas, int y, int from, int to, TColor color);
void DottedVertLine(TCanvas* canvas, int x, int from, int to, TColor color);
// A dotted frame on the rect's edges; returns the rect one pixel in.
TRect PaintFocusRect(TCanvas* canvas, TRect rect);

// --- fonts
// A font like `font` turned by `angle` degrees counter-clockwise (escapement); the
// handle deletes it.
TGdiHandle<HFONT> CreateRotatedFont(TFont* font, int angle);
// Only TrueType fonts can be turned.
bool IsTrueTypeFont(TFont* font);
// Text height + 2.
int FontLineHeight(TCanvas* canvas);
int AverageCharWidth(TCanvas* canvas);

// --- misc
// The screen has no palette (more than 256 colours).
bool HasTrueColorScreen();
// The graphic repeated from the rect's top-left, the last row and column clipped.
// An empty graphic (or one with a zero side) draws nothing.
void TileImage(TCanvas* canvas, TGraphic* graphic, const TRect& rect);
// Fills (0, 0, width, height) of the DC by doubling copies of its painted top-left
// tile (tileWidth x tileHeight): first across, then down. A zero tile does nothing.
void ExpandStrip(HDC dc, int width, int height, int tileWidth, int tileHeight);
// What the control's parent shows behind the control, drawn into dc (whose origin is
// the control's top-left): the parent's erase and paint, clipped to its client area.
// A parent that is neither a custom control nor a form is invalidated when asked.
// Nothing for a control without a parent.
void PaintParentBackground(TControl* control, HDC dc, bool invalidateParent);

}  // namespace Vy
