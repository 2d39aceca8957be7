// A popup skin's description, "config.skin" in the skin's folder (INI text):
//   [Background] Image (the picture, a file in the skin's folder), Left, Top,
//                Right, Bottom (the picture's fixed border widths), MinHeight,
//                MinWidth (the popup's smallest size)
//   [Labels]     Title-, Pos-, Time- and Text- each with Top, Left, Right, Bottom
//                (where the label goes), and -Align (read and kept).
// Integers are decimal; a key that is absent or no number reads as kSkinNotSet.
//
// Skins come from anyone, so what they say is checked before it is used: the
// picture name must stay inside the skin's folder, and the margins must be set
// and fit the picture. Plain code, no windows: tested natively and fuzzed.
#pragma once
#include <string>
#include <string_view>

#include "displays/SkinImage.h"

namespace Displays {

constexpr int kSkinNotSet = -999;

struct TSkinLabelPlace {
  int Top = kSkinNotSet, Left = kSkinNotSet, Right = kSkinNotSet, Bottom = kSkinNotSet;
  std::string Align;
};

struct TSkinConfig {
  std::string Image;  // as written (the system's code page)
  int Left = kSkinNotSet, Top = kSkinNotSet, Right = kSkinNotSet, Bottom = kSkinNotSet;
  int MinHeight = kSkinNotSet, MinWidth = kSkinNotSet;
  TSkinLabelPlace Title, Pos, Time, Text;

  TSkinMargins Margins() const { return {Left, Top, Right, Bottom}; }
};

TSkinConfig ParseSkinConfig(std::string_view bytes);

// Whether a picture name names a file inside the skin's folder (or a folder in
// it): relative, no drive, no "." or ".." step, nothing Windows would read as
// another place or stream.
bool SkinPictureNameAllowed(std::string_view name);

// Why the skin cannot be drawn with a picture of that size, or empty when it can:
// every margin set and not negative, left and right together no wider than the
// picture, top and bottom no higher.
std::wstring SkinMarginProblem(const TSkinConfig& config, int pictureWidth, int pictureHeight);

// The size of a label, and where it goes.
struct TLabelBox {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

// The popup's labels and bars as the skin places them.
struct TSkinLayout {
  TLabelBox Title, Pos, Time, Text;
  int Width = 0, Height = 0;
  TLabelBox TrackBar, VolumeBar;
};

// Places the labels for a popup of width x height (the caption, position and body
// by that size, the time label by the new one), sizes the popup around the body
// (never below the minimum size, nor below the picture's margins) and lays the
// bars along its bottom edge. Keys not set leave a label where it is.
TSkinLayout LayoutSkinLabels(const TSkinConfig& config, TSkinLayout current);

// The popup's size raised to the skin's minimum and to its margins.
void RaiseToSkinMinimum(const TSkinConfig& config, int& width, int& height);

}  // namespace Displays
