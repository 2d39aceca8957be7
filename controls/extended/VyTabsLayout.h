// Geometry of the page control's tab strip, as plain arithmetic on measured caption
// sizes: tab sizes per style, rows, placement along the strip, the mapping to client
// coordinates for each orientation, tab outlines and the card under the tabs.
// Strip coordinates: x along the strip from its start, y across it from the outer edge
// (0) to the card edge.
#pragma once
#include "vcl/TypInfo.h"
#include "vcl/Types.h"

#include <vector>

namespace Vy {

enum class TVyTabOrientation { toTop, toLeft, toBottom, toRight };
QORN_ENUM_INFO(TVyTabOrientation, toTop, toLeft, toBottom, toRight);
enum class TVyTabSequence { tsStandard, tsReverse };
QORN_ENUM_INFO(TVyTabSequence, tsStandard, tsReverse);
enum class TVyTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners };
QORN_ENUM_INFO(TVyTabStyle, tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners);

struct TVyTabLayoutSettings {
  TVyTabStyle Style = TVyTabStyle::tsSingleSlant;
  TVyTabOrientation Orientation = TVyTabOrientation::toTop;
  TVyTabSequence Sequence = TVyTabSequence::tsStandard;
  bool VerticalText = false;  // captions turned a quarter round
  int TabHeight = 0;  // 0: automatic
  int TabWidth = 0;   // 0: automatic
  int CutCornerSize = 6;
  int Margin = 0;
  int RowIndent = 5;
  int RowOverlap = 5;
  bool MultiLine = false;
  bool AlignTabs = false;
};

struct TVyTabBox {
  TPoint Content;  // what the tab shows (caption and image), in screen width and height
  bool Visible = true;
  TRect Rect;  // laid out: strip coordinates
  int Row = 0;  // 0 is the front row, next to the card
};

struct TVyTabLayout {
  int FixedDimension = 0;  // the thickness of one row
  int RowCount = 1;
};

inline bool IsVerticalStrip(TVyTabOrientation o) {
  return o == TVyTabOrientation::toLeft || o == TVyTabOrientation::toRight;
}

// How far a slanted tab leans over its neighbour for a tab of thickness h; -1 for the
// styles that leave a free pixel between tabs.
int TabSlant(TVyTabStyle style, int h);
// The outer size of a tab (screen width and height) around its content.
TPoint TabOuterSize(const TVyTabLayoutSettings& s, TPoint content);
// Lays every visible tab out along a strip of the given length; minTab is the smallest
// content a tab may have (the extent of a sample caption in the tab font).
TVyTabLayout LayoutTabs(const TVyTabLayoutSettings& s, std::vector<TVyTabBox>& tabs, int stripLength, TPoint minTab);
// Moves the row of tab `selected` to the front, turning the others round behind it.
void BringRowToFront(const TVyTabLayoutSettings& s, const TVyTabLayout& layout, std::vector<TVyTabBox>& tabs,
                     int selected);
// The thickness of the whole strip, every row with its overlap.
int StripThickness(const TVyTabLayoutSettings& s, const TVyTabLayout& layout);
// The band of the client area (bounds 0..width-1, 0..height-1) the strip takes.
TRect TabAreaRect(const TVyTabLayoutSettings& s, const TVyTabLayout& layout, int width, int height, bool shadow);
// A strip point in client coordinates; scroll is the strip x shown at the area's start.
// Tabs in reverse sequence start at the far end of the strip and grow backwards.
TPoint StripToClient(const TVyTabLayoutSettings& s, TPoint p, const TRect& area, int scroll);
TRect StripRectToClient(const TVyTabLayoutSettings& s, const TRect& r, const TRect& area, int scroll);
// A tab's rectangle in strip coordinates as drawn and hit: moved by its row's indent,
// and the selected round-cornered tab grown on three sides.
TRect TabStripRect(const TVyTabLayoutSettings& s, const TVyTabBox& tab, bool selected);
// The outline of a tab (strip coordinates), from the card side round to the card side.
std::vector<TPoint> TabOutline(const TVyTabLayoutSettings& s, const TRect& r);
// The card of row k in a client area of the given size; empty when nothing is left.
TRect CardRect(const TVyTabLayoutSettings& s, const TVyTabLayout& layout, int k, int width, int height,
               bool anyTab);

}  // namespace Vy
