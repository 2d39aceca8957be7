// Tagged text of any bytes: the engine ends, and reads and draws within bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "controls/visual/HTMLText.h"

namespace {
class TSurface : public Flat::THTMLSurface {
 public:
  TSize MeasureText(const Flat::THTMLFont& f, std::wstring_view t) override {
    return TSize{int(t.size()) * 7, f.Size % 64 + 4};
  }
  void DrawText(const Flat::THTMLFont&, TColor, const TRect&, std::wstring_view, bool) override {}
  void FillRect(const TRect&, TColor) override {}
  void Polyline(const std::vector<TPoint>&, TColor) override {}
  void FocusRect(const TRect&) override {}
  void DrawBullet(const Flat::THTMLFont&, int, int, bool) override {}
  bool FindPicture(const Flat::THTMLPictureSource& s, Flat::THTMLPictureInfo& info) override {
    info.Width = info.Height = 16;
    return s.Index < 3;
  }
  void DrawPicture(const Flat::THTMLPictureSource&, const TRect&, Flat::THTMLPictureFit) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::wstring text(data + 1, data + size);
  for (int pass = 0; pass < 3; ++pass) {
    Flat::THTMLTextInput in;
    in.Text = text;
    in.Rect = TRect{0, 0, 40 + data[0], 200};
    in.Ellipsis = data[0] & 1;
    in.MeasureOnly = pass == 0;
    in.HitTestOnly = pass == 1;
    in.Point = TPoint{data[0] % 50, data[0] % 30};
    in.HoverLink = 1;
    TSurface s;
    Flat::THTMLTextOutput out;
    Flat::LayoutHTMLText(in, s, out);
  }
  Flat::StripHTMLTags(text);
  return 0;
}
