// The engine of tagged text: lays out, measures, hit-tests and draws the small
// HTML-like markup of the HTML label (<B>, <FONT COLOR="clRed">, <A href="...">,
// <IMG src="IDX:0">, <UL><LI>, <P ALIGN="right">...).
//
// Rule: the engine holds no state between calls and knows no device. Everything it
// needs comes in as THTMLTextInput and a THTMLSurface that measures and paints; all
// it finds goes out in THTMLTextOutput. The Windows side (HTMLDraw.h) gives it a
// surface over a TCanvas; tests and the fuzz target give it a fixed measurer.
//
// Tagged text is input from anywhere (track titles reach it through the popup):
// a tag without its ">" ends the text, colour values are checked before they are
// read, entities are decoded once, and text is never read for prefix characters.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "vcl/Color.h"
#include "vcl/Types.h"

namespace Flat {

// The font the engine asks the surface to measure and draw with.
struct THTMLFont {
  std::wstring Name;
  int Size = 8;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int Escapement = 0;  // tenths of a degree (the <R> tag)
  TColor Color = clBlack;
  friend bool operator==(const THTMLFont&, const THTMLFont&) = default;
};

// Where a picture comes from, as its SRC names it.
enum class THTMLPictureKind { ImageIndex, SmallSystemIcon, LargeSystemIcon, Named, Url };

struct THTMLPictureSource {
  THTMLPictureKind Kind = THTMLPictureKind::Named;
  std::wstring Name;  // file, name or address (SYS sources: a path, or empty with Index)
  int Index = -1;     // IDX: n, or a system image index
  friend bool operator==(const THTMLPictureSource&, const THTMLPictureSource&) = default;
};

// A found picture's size (device independent pixels at 96 dpi). For an animation it
// is the whole animation's, so the text around it stays put while frames change; the
// picture draws its frame at the frame's own place in the rectangle it is given.
struct THTMLPictureInfo {
  int Width = 0;
  int Height = 0;
};

enum class THTMLPictureFit { Natural, Stretch, Tile };

class THTMLSurface {
 public:
  virtual ~THTMLSurface() = default;
  // Size of a single line of text in the font (no prefix characters, tabs expanded).
  virtual TSize MeasureText(const THTMLFont& font, std::wstring_view text) = 0;
  // Draws text bottom-aligned in the rectangle; background clNone draws it transparent.
  virtual void DrawText(const THTMLFont& font, TColor background, const TRect& rect, std::wstring_view text,
                        bool endEllipsis) = 0;
  virtual void FillRect(const TRect& rect, TColor color) = 0;
  virtual void Polyline(const std::vector<TPoint>& points, TColor color) = 0;
  virtual void FocusRect(const TRect& rect) = 0;
  // The bullet of a list item, drawn with its left at x and its bottom at bottom.
  virtual void DrawBullet(const THTMLFont& font, int x, int bottom, bool filled) = 0;
  // False when the source names no picture (unknown, empty or out of range).
  virtual bool FindPicture(const THTMLPictureSource& source, THTMLPictureInfo& info) = 0;
  virtual void DrawPicture(const THTMLPictureSource& source, const TRect& rect, THTMLPictureFit fit) = 0;
  // Pixels per inch of the target (pictures are scaled by it / 96).
  virtual int PixelsPerInchX() { return 96; }
  virtual int PixelsPerInchY() { return 96; }
  // A plain 0x00BBGGRR colour for gradient arithmetic (system colours resolved).
  virtual TColor ToRGB(TColor color) { return color & 0xFFFFFF; }
};

struct THTMLTextInput {
  std::wstring Text;
  TRect Rect;
  THTMLFont Font;            // the starting font (its colour is the text colour)
  TColor Brush = clNone;     // the background colour behind the text at the start
  TPoint Point{-1, -1};      // the point to hit-test, in the rectangle's coordinates
  int FocusLink = -1;        // anchor (from 0) that gets a focus rectangle
  int HoverLink = -1;        // anchor number (from 1) under the mouse
  int ShadowOffset = 2;
  bool MeasureOnly = false;  // measure all the text: nothing drawn, nothing cut off
  bool HitTestOnly = false;  // lay out and hit-test, draw nothing
  bool Print = false;
  bool Selected = false;
  bool BlinkPhase = false;
  bool HoverStyle = false;   // underline and hover colours only on the hovered anchor
  double ResFactor = 1.0;
  TColor URLColor = clBlue;
  TColor HoverColor = clNone;
  TColor HoverFontColor = clNone;
  TColor ShadowColor = clGray;
  int LineSpacing = 0;
  bool Ellipsis = false;
};

struct THTMLTextOutput {
  bool OverAnchor = false;
  std::wstring AnchorValue;
  std::wstring StrippedText;
  std::wstring FocusAnchor;
  int TextWidth = 0;
  int TextHeight = 0;
  int LinkCount = 0;
  int LinkUnderPoint = -1;
  TRect LinkRect{-1, -1, -1, -1};
};

// Lays out (and unless measuring or hit-testing, draws) the text; true when the
// point lies over an anchor.
bool LayoutHTMLText(const THTMLTextInput& input, THTMLSurface& surface, THTMLTextOutput& output);

// Plain text of tagged text: <BR> and <HR> become CR LF, <Z>...</Z> is dropped,
// every other tag is dropped.
std::wstring StripHTMLTags(std::wstring_view text);
// What tagged text reads as without its look: tags stripped, then entities decoded.
std::wstring HTMLToPlainText(std::wstring_view text);
// Plain text (a track title, a file name) as tagged text that shows it as it is:
// "&", "<" and ">" become entities, so nothing in it is read as a tag.
std::wstring EscapeHTMLText(std::wstring_view text);
// "clred", "clbtnface"...: the colour of that name; black for any other.
TColor HTMLColorByName(std::wstring_view lowerCaseName);
// "#RRGGBB" (hex digits in either case); `fallback` for anything else.
TColor HexToColor(std::wstring_view value, TColor fallback = clBlack);
// A tag's colour value: "#RRGGBB" or a colour name.
TColor HTMLColorValue(std::wstring_view value, TColor fallback = clBlack);

struct TGradientBand {
  TRect Rect;
  TColor Color;
};
// The bands of a gradient from one plain colour to another over the rectangle.
std::vector<TGradientBand> GradientBands(TColor from, TColor to, bool horizontal, const TRect& rect, int steps);

}  // namespace Flat
