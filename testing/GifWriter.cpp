#include "testing/GifWriter.h"

#include <gif_lib.h>

namespace qorn::testing {

std::vector<std::uint8_t> WriteAnimatedGif(int screenW, int screenH, const std::vector<TGifFrame>& frames,
                                           int backgroundIndex) {
  std::vector<std::uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(
      &out,
      [](GifFileType* g, const GifByteType* data, int n) {
        auto* v = static_cast<std::vector<std::uint8_t>*>(g->UserData);
        v->insert(v->end(), data, data + n);
        return n;
      },
      &error);
  if (!gif) return out;  // empty: the test that reads it fails on it
  GifColorType colors[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  ColorMapObject* map = GifMakeMapObject(4, colors);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, screenW, screenH, 2, backgroundIndex, map);
  for (const TGifFrame& f : frames) {
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    gcb.DelayTime = f.delay;
    GifByteType ext[4];
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, int(EGifGCBToExtension(&gcb, ext)), ext);
    EGifPutImageDesc(gif, f.left, f.top, f.w, f.h, false, nullptr);
    std::vector<GifPixelType> line(f.w, f.index);
    for (int y = 0; y < f.h; ++y) EGifPutLine(gif, line.data(), f.w);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

}  // namespace qorn::testing
