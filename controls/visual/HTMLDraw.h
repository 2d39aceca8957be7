// DrawHTMLText: the tagged text engine (HTMLText.h) on a TCanvas. The canvas's font
// and brush are the starting font and background; both are as they were afterwards.
// Every font the call creates (bold, sized, rotated by <R>...) is the call's own and
// is deleted before it returns, whatever tags the text holds or lacks.
#pragma once
#include "controls/visual/HTMLText.h"
#include "vcl/Win.h"

class TCanvas;
class TCustomImageList;

namespace Flat {

class THTMLPictureSet;

struct THTMLPictureSources {
  TCustomImageList* Images = nullptr;  // IDX: pictures; not owned
  THTMLPictureSet* Pictures = nullptr;  // named and address pictures; not owned
};

// Fills input.Font and input.Brush from the canvas, then lays out, draws or hit-tests.
bool DrawHTMLText(TCanvas* canvas, THTMLTextInput input, const THTMLPictureSources& sources, THTMLTextOutput& output);

// Tells a watcher (a test) of every font a call creates; nullptr stops watching.
void WatchHTMLFonts(void (*created)(HFONT font));

// Bands of a gradient on the canvas (system colours resolved), and a frame round it
// in borderColor unless that is clNone.
void DrawGradientBands(TCanvas* canvas, TColor from, TColor to, bool horizontal, const TRect& rect, int steps,
                       TColor borderColor = clNone);

// Named and address pictures as the engine looks them up (the label's picture cache
// and container stand behind it).
class THTMLPictureSet {
 public:
  virtual ~THTMLPictureSet() = default;
  virtual bool Find(const THTMLPictureSource& source, THTMLPictureInfo& info) = 0;
  virtual void Draw(TCanvas* canvas, const THTMLPictureSource& source, const TRect& rect, THTMLPictureFit fit) = 0;
};

}  // namespace Flat
